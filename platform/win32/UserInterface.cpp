#include <windows.h>

#include "platform/win32/GrowingBuffer.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/UniqueHandle.h"
#include "platform/win32/Win32Platform.h"

namespace vantrel::win32 {
namespace {

std::wstring WindowsFolder() {
    return CallWithGrowingBuffer([](wchar_t* buffer, std::size_t size) {
        return GetWindowsDirectoryW(buffer, static_cast<UINT>(size));
    });
}

}  // namespace

void Win32Platform::ShowMessage(const std::wstring& text) {
    // Owned by the main window explicitly: the active window may be another
    // program's, as during a drop. Without one the box still holds the whole task.
    const HWND owner = MessageOwner();
    UINT style = MB_OK;
    if (!owner) style |= MB_TASKMODAL;
    if (!MessageBoxW(owner, text.c_str(), title_.c_str(), style)) {
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
