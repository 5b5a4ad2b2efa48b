#include <windows.h>

#include "app/Form1.h"
#include "app/ScopedOle.h"
#include "platform/Error.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/Win32Platform.h"
#include "sendto/ErrorText.h"
#include "sendto/Texts.h"

namespace {

// DLLs come from System32 only, never from the folder the exe was downloaded to.
void RestrictDllSearch() {
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefault =
        reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");
}

int RunMessageLoop(const vantrel::app::Form1& form) {
    MSG message{};
    for (;;) {
        const BOOL received = GetMessageW(&message, nullptr, 0, 0);
        if (received == 0) break;
        if (received == -1) return 1;
        // Tab moves between the controls; the reload cycle may have replaced the window.
        const HWND window = form.Window();
        if (window && IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int nShowCmd) {
    RestrictDllSearch();
    vantrel::win32::Win32Platform platform(vantrel::texts::kTitle);
    try {
        const vantrel::app::ScopedOle ole;
        vantrel::win32::ThrowIfFailed(ole.Result());
        vantrel::app::Form1 form(instance, platform);
        const vantrel::win32::MessageOwnerScope owner(platform,
                                                      [&form] { return form.MessageOwner(); });
        form.Load();
        form.Show(nShowCmd);
        return RunMessageLoop(form);
    } catch (const vantrel::Error& e) {
        platform.ShowMessage(vantrel::ErrorText(e));
    } catch (const std::exception&) {
        platform.ShowMessage(vantrel::texts::kStartFailure);
    }
    return 1;
}
