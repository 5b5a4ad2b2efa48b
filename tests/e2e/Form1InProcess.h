#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <wrl/client.h>

#include <memory>
#include <vector>

#include "app/Dpi.h"
#include "app/Form1.h"
#include "app/ScopedInitialization.h"
#include "app/WorkAreaPlacement.h"
#include "tests/fakes/FakePlatform.h"

namespace vantrel::testing {

inline constexpr wchar_t kSendTo[] = L"C:\\用户\\AppData\\Microsoft\\Windows\\SendTo";

inline int FormWindowsOfThisProcess() {
    int count = 0;
    for (HWND window = FindWindowExW(nullptr, nullptr, app::Form1::kClassName, nullptr); window;
         window = FindWindowExW(nullptr, window, app::Form1::kClassName, nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) ++count;
    }
    return count;
}

// Form1 in this process, on a fake machine, for what only its handles show:
// fonts, colours and pointer, the DPI handler and the reload cycle.
class Form1InProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        StartForm();
        // Text1 takes drops once the window has painted.
        for (int wait = 0; !Text1Target() && wait < 100; ++wait) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            DispatchPosted();
        }
        ASSERT_NE(Text1Target(), nullptr);
    }
    // Loaded and shown as the program starts it, on COM only: OLE is the form's to start.
    void StartForm() {
        ASSERT_EQ(com_.Result(), S_OK);
        platform_.environment = {L"APPDATA=C:\\用户\\AppData"};
        platform_.folders[kSendTo] = {L"a.lnk", L"b.lnk"};
        form_ = std::make_unique<app::Form1>(
            GetModuleHandleW(nullptr), platform_,
            [this](const LOGFONTW& font) {
                if (fontsBeforeFailure_ == 0) {
                    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                    return app::UniqueFont();
                }
                if (fontsBeforeFailure_ > 0) --fontsBeforeFailure_;
                return app::MakeFont(font);
            },
            [this] { return monitors_.empty() ? app::CurrentMonitors() : monitors_; },
            [this] { return highContrast_; });
        form_->Load();
        form_->Show(SW_SHOWNORMAL);
    }
    void TearDown() override {
        form_.reset();
        MSG quit;
        EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            << "destroying the form ended the message loop";
    }

    HWND Window() const { return form_->Window(); }
    HWND Control(int id) const { return GetDlgItem(form_->Window(), id); }

    void ChangeDpi(UINT dpi, RECT suggested = {40, 30, 40 + 1300, 30 + 800}) {
        SendMessageW(Window(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }

    // The target registered for Text1, where OLE keeps it for a window.
    Microsoft::WRL::ComPtr<IDropTarget> Text1Target() const {
        return static_cast<IDropTarget*>(GetPropW(Control(app::kText1), L"OleDropTargetInterface"));
    }

    // Handles what has been posted to the window, as the message loop would.
    void DispatchPosted() {
        MSG message;
        while (PeekMessageW(&message, Window(), 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }

    app::ScopedCom com_;
    FakePlatform platform_;
    int fontsBeforeFailure_ = -1;  // how many fonts are made before one fails; -1: none fails
    std::vector<app::MonitorArea> monitors_;  // none: the monitors attached
    bool highContrast_ = false;               // what the form is told of the user's scheme
    std::unique_ptr<app::Form1> form_;
};

}  // namespace vantrel::testing
