#include <windows.h>

#include "platform/win32/SystemError.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace vantrel::win32 {
namespace {

std::wstring WindowsFolder() {
    std::wstring folder(MAX_PATH, L'\0');
    for (;;) {
        const UINT length = GetWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
        if (length == 0) ThrowLastError();
        if (length < folder.size()) {
            folder.resize(length);
            return folder;
        }
        folder.resize(length);
    }
}

}  // namespace

void Win32Platform::ShowMessage(const std::wstring& text) {
    // Owned by the active window, so the box is modal to it.
    const HWND owner = GetActiveWindow();
    if (!MessageBoxW(owner, text.c_str(), title_.c_str(), MB_OK | (owner ? 0 : MB_TASKMODAL))) {
        ThrowLastError();
    }
}

void Win32Platform::StartExplorer(const std::wstring& argument) {
    // By full path: never a planted explorer.exe from the current or program folder.
    const std::wstring program = WindowsFolder() + L"\\explorer.exe";
    std::wstring commandLine = L"\"" + program + L"\" " + argument;

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &started)) {
        ThrowLastError();
    }
    const UniqueKernelHandle process(started.hProcess);
    const UniqueKernelHandle thread(started.hThread);
}

}  // namespace vantrel::win32
