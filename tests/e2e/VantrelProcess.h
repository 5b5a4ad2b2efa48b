#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/UniqueHandle.h"
#include "tests/e2e/ChildEnvironment.h"
#include "tests/e2e/Wait.h"

namespace vantrel::testing {

// The program the environment entry `name` names, with backslashes.
std::wstring ExeNamedBy(const wchar_t* name);
// Vantrel.exe as the test run names it in VANTREL_EXE.
inline std::wstring VantrelExe() {
    return ExeNamedBy(L"VANTREL_EXE");
}

// The class of Vantrel's main window.
inline constexpr wchar_t kVantrelWindowClass[] = L"VantrelForm1";

// The real program, started as a separate process with an environment of the
// test's choosing. Ended by force if it is still running when the object goes.
// Another `exe` may be started in its place, whose main window has `mainWindowClass`.
// A `showState` other than SW_SHOWDEFAULT is handed over as a shortcut's "Run" does;
// `arguments` follow the quoted program name on the command line; `currentFolder`, when
// given, is the program's current folder in place of the test's.
class VantrelProcess {
  public:
    explicit VantrelProcess(const ChildEnvironment& environment,
                            const std::wstring& exe = VantrelExe(),
                            std::wstring mainWindowClass = kVantrelWindowClass,
                            WORD showState = SW_SHOWDEFAULT, const std::wstring& arguments = {},
                            const std::wstring& currentFolder = {});
    ~VantrelProcess();
    VantrelProcess(const VantrelProcess&) = delete;
    VantrelProcess& operator=(const VantrelProcess&) = delete;

    DWORD Id() const { return processId_; }
    HANDLE Handle() const { return process_.get(); }

    // The main window once it is visible; null when it is not within `timeout`.
    HWND WaitForMainWindow(std::chrono::milliseconds timeout = kPatience);
    // The main window now, shown or hidden; null when there is none.
    HWND FindMainWindow() const;

    // A message box of the program ("#32770" captioned "Vantrel"); null when none comes.
    HWND WaitForMessageBox(std::chrono::milliseconds timeout = kPatience);
    HWND FindMessageBox() const;

    // A question the shell asks inside the program (a "#32770" with another
    // caption than Vantrel's); null when none comes.
    HWND WaitForShellQuestion(std::chrono::milliseconds timeout = kPatience);

    // Whether any wait so far saw the main window visible.
    bool MainWindowSeen() const { return mainWindowSeen_; }

    // The window with the keyboard focus in the program's UI thread.
    HWND Focus() const;

    // The exit code, or nullopt when the program is still running after `timeout`.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kPatience);

  private:
    std::vector<HWND> TopLevelWindows() const;
    // A visible "#32770" of the program, captioned Vantrel (its message box) or not (the shell's).
    HWND FindDialog(bool captionedVantrel) const;
    HWND VisibleMainWindow() const;
    // Notes what the program shows while a test waits.
    void Observe();
    template <typename Find>
    HWND WaitForWindow(Find find, std::chrono::milliseconds timeout);

    std::wstring mainWindowClass_;
    win32::UniqueKernelHandle process_;
    win32::UniqueKernelHandle thread_;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    bool mainWindowSeen_ = false;
};

// What a message box says, and its OK button pressed.
std::wstring MessageBoxText(HWND box);
void DismissMessageBox(HWND box);

}  // namespace vantrel::testing
