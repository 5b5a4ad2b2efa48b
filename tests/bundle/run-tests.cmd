@echo off
rem Runs Vantrel's Windows tests from this folder and writes test-report.txt beside
rem this file. Start it with /y to begin at once instead of waiting for a key.
setlocal
set "HERE=%~dp0"
cd /d "%HERE%"
set "VANTREL_EXE=%HERE%Vantrel.exe"
set "VANTREL_SAME_JOB_FLOOR_EXE=%HERE%vantrel_same_job_floor.exe"
set "REPORT=%HERE%test-report.txt"
set "FAILED=0"

rem No parenthesized block here: a folder name with a parenthesis would end it.
if /i "%~1"=="/y" goto report
echo Vantrel's Windows tests are about to run from "%HERE%".
echo The window tests take the mouse and the keyboard for about a minute:
echo please leave both alone until the last line appears.
echo.
pause

:report

> "%REPORT%" echo Vantrel test report
>> "%REPORT%" echo.
>> "%REPORT%" echo The tests work only in their own temporary folders and environment: they touch
>> "%REPORT%" echo no user setting, no Send To folder and nothing in the Recycle Bin but the files
>> "%REPORT%" echo they put there themselves, which they remove again.
>> "%REPORT%" echo.
"%HERE%vantrel_system_report.exe" >> "%REPORT%" 2>&1
>> "%REPORT%" echo Date: %DATE% %TIME%

call :run 1 vantrel_logic_tests
call :run 2 vantrel_windows_tests
call :run 3 vantrel_window_tests

>> "%REPORT%" echo.
if "%FAILED%"=="0" (
    >> "%REPORT%" echo Result: every test program passed.
) else (
    >> "%REPORT%" echo Result: some tests failed, as listed above.
)
echo.
echo The report is "%REPORT%".
echo Please attach it to an issue in Vantrel's tracker.
if /i not "%~1"=="/y" pause
exit /b %FAILED%

rem Runs one test program: its summary, every failure and every skip with its
rem reason go to the report.
:run
echo [%1/3] %2: running
>> "%REPORT%" echo.
>> "%REPORT%" echo ==== %2 ====
"%HERE%%2.exe" --gtest_brief=1 --gtest_color=no >> "%REPORT%" 2>&1
if errorlevel 1 (
    set "FAILED=1"
    echo [%1/3] %2: FAILED, see the report
) else (
    echo [%1/3] %2: passed
)
goto :eof
