# Waits up to 30 seconds for a window of a process named Vantrel whose text box shows TEXT,
# then closes it and waits for the program to end:
#   window-shows.ps1 TEXT
# Exits 0 when it did, 1 saying what the text boxes held when not. Windows PowerShell 5.1.
param([Parameter(Mandatory = $true)][string]$Text)
$ErrorActionPreference = 'Stop'
Add-Type -AssemblyName UIAutomationClient, UIAutomationTypes
$automation = [System.Windows.Automation.AutomationElement]
$editBoxes = New-Object System.Windows.Automation.PropertyCondition(
    $automation::ControlTypeProperty, [System.Windows.Automation.ControlType]::Edit)
$seen = @()
$deadline = (Get-Date).AddSeconds(30)
while ((Get-Date) -lt $deadline) {
    # Scoop's shim is a process of the same name, without a window of its own.
    foreach ($process in Get-Process -Name Vantrel -ErrorAction SilentlyContinue) {
        if ($process.MainWindowHandle -eq [IntPtr]::Zero) { continue }
        $window = $automation::FromHandle($process.MainWindowHandle)
        foreach ($box in $window.FindAll([System.Windows.Automation.TreeScope]::Descendants, $editBoxes)) {
            $value = $box.GetCurrentPattern([System.Windows.Automation.ValuePattern]::Pattern).Current.Value
            if ($value -ne $Text) {
                $seen += $value
                continue
            }
            Write-Output "Vantrel's window shows $Text"
            if (-not $process.CloseMainWindow() -or -not $process.WaitForExit(10000)) {
                Write-Output "Vantrel did not close when asked"
                exit 1
            }
            exit 0
        }
    }
    Start-Sleep -Milliseconds 500
}
Write-Output "No Vantrel window showed $Text within 30 seconds; its text boxes held: $(($seen | Select-Object -Unique) -join ' | ')"
exit 1
