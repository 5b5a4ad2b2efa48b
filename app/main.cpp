#include <windows.h>

#include <cstdlib>
#include <exception>
#include <string>

#include "app/Form1.h"
#include "app/ScopedInitialization.h"
#include "app/StartArgument.h"
#include "platform/Error.h"
#include "platform/win32/SystemError.h"
#include "platform/win32/SystemLibrary.h"
#include "platform/win32/Win32Platform.h"
#include "sendto/ErrorText.h"
#include "sendto/Texts.h"

namespace {

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

// Nothing may leave wWinMain: a message box that cannot show leaves the exit code alone.
void TellStartFailure(vantrel::win32::Win32Platform& platform,
                      const std::exception_ptr& failure) noexcept {
    try {
        try {
            std::rethrow_exception(failure);
        } catch (const vantrel::Error& e) {
            platform.ShowMessage(vantrel::ErrorText(e));
        } catch (...) {
            platform.ShowMessage(vantrel::texts::kStartFailure);
        }
    } catch (...) {
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int nShowCmd) {
    // A file sent to the program waits in Text1 for the add button, at this start only; read
    // first, while the current folder is still the caller's. The C runtime split it already.
    const std::wstring sent = vantrel::app::FirstArgument(__argc, __wargv);
    vantrel::win32::RestrictDllSearch();
    vantrel::win32::Win32Platform platform(vantrel::texts::kTitle);
    try {
        const vantrel::app::ScopedCom com;
        vantrel::win32::ThrowIfFailed(com.Result());
        vantrel::app::Form1 form(instance, platform);
        const vantrel::win32::MessageOwnerScope owner(platform,
                                                      [&form] { return form.MessageOwner(); });
        form.Load();
        if (!sent.empty()) form.SetText1Text(sent);
        form.Show(nShowCmd);
        return RunMessageLoop(form);
    } catch (...) {
        TellStartFailure(platform, std::current_exception());
    }
    return 1;
}
