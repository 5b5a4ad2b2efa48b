#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Dpi.h"
#include "app/WorkAreaPlacement.h"
#include "tests/CaseName.h"
#include "tests/e2e/Form1InProcess.h"
#include "tests/e2e/WindowDesign.h"
#include "tests/e2e/WindowQueries.h"

namespace vantrel::testing {
namespace {

// Each control's designed font, at a DPI that arrives as a change, as on a move to a
// monitor of another scale.
class ControlAt144Dpi : public Form1InProcess,
                        public ::testing::WithParamInterface<ControlDesignCase> {
  protected:
    static constexpr int kDpi = 144;
    void SetUp() override {
        Form1InProcess::SetUp();
        ChangeDpi(kDpi);
    }
};

TEST_P(ControlAt144Dpi, HasTheDesignedFontScaledForTheDpi) {
    const LOGFONTW font = FontOf(Control(GetParam().id));
    EXPECT_STREQ(font.lfFaceName, kDesignedFace);
    EXPECT_EQ(font.lfHeight, -MulDiv(GetParam().tenthsOfPoint, kDpi, 720));
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfCharSet, 134);
    EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlAt144Dpi, ::testing::ValuesIn(DesignedControls()),
                         CaseName);

TEST_F(Form1InProcess, DpiChangeTakesTheSuggestedRectangleOfTheSizeItProposed) {
    SIZE proposed{};
    ASSERT_TRUE(
        SendMessageW(Window(), WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&proposed)));
    ChangeDpi(144, {40, 30, 40 + proposed.cx, 30 + proposed.cy});
    EXPECT_EQ(BoxOf(RectInParent(Window())), (Box{40, 30, proposed.cx, proposed.cy}));
}

// Made on the second of two monitors of different DPI, the window is centred there and
// laid out for it before it is shown: its DPI change would come before it is known.
class Form1OnSecondMonitor : public Form1InProcess {
  protected:
    static constexpr RECT kSecondWork{0, 0, 1280, 984};  // holds where the system makes it
    void SetUp() override {
        monitors_ = {{{-1920, 0, 0, 1080}, {-1920, 0, 0, 1040}, 96},
                     {{0, 0, 1280, 1024}, kSecondWork, 144}};
        Form1InProcess::SetUp();
    }
};

TEST_F(Form1OnSecondMonitor, IsCentredThereAtItsDpi) {
    EXPECT_EQ(FontOf(Control(app::kList1)).lfHeight, -MulDiv(150, 144, 720));
    const SIZE frame = DesignedFrame(144);
    EXPECT_EQ(BoxOf(RectInParent(Window())),
              (Box{(kSecondWork.right - frame.cx) / 2, (kSecondWork.bottom - frame.cy) / 2,
                   frame.cx, frame.cy}));
}

struct WindowDpiCase {
    const char* name;
    UINT ownDpi;     // what GetDpiForWindow answers; 0: Windows has no such function
    UINT secondDpi;  // the DPI of the monitor the window is on, 0 when unknown
    UINT expected;
};

class WindowDpi : public ::testing::TestWithParam<WindowDpiCase> {};

// The DPI the window is laid out at, on Windows 8.1 too: two monitors of 96 and 144 DPI.
TEST_P(WindowDpi, IsItsOwnElseItsMonitorsElseTheSystems) {
    const WindowDpiCase& c = GetParam();
    const HWND window = GetDesktopWindow();
    const auto first = reinterpret_cast<HMONITOR>(1);
    const auto second = reinterpret_cast<HMONITOR>(2);
    app::DpiLookups lookups;
    if (c.ownDpi) lookups.window = [&](HWND) { return c.ownDpi; };
    lookups.monitorOf = [&](HWND on) { return on == window ? second : first; };
    lookups.monitor = [&](HMONITOR monitor) { return monitor == second ? c.secondDpi : 96u; };
    lookups.screen = [] { return 120u; };
    EXPECT_EQ(app::DpiForWindow(window, lookups), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Dpi, WindowDpi,
                         ::testing::Values(WindowDpiCase{"ItsOwn", 168, 144, 168},
                                           WindowDpiCase{"ItsMonitorsWithoutItsOwn", 0, 144, 144},
                                           WindowDpiCase{"TheSystemsWithoutEither", 0, 0, 120}),
                         CaseName);

// Windows keeps a minimized window's icon off every screen: a DPI change moves nothing,
// and the window comes back laid out and sized for the new DPI.
TEST_F(Form1InProcess, DpiChangeWhileMinimizedKeepsItMinimizedAndRestoresAtTheNewSize) {
    ShowWindow(Window(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(Window()));
    const Box minimized = BoxOf(RectInParent(Window()));

    ChangeDpi(144);

    EXPECT_TRUE(IsIconic(Window()));
    EXPECT_EQ(BoxOf(RectInParent(Window())), minimized);
    ShowWindow(Window(), SW_RESTORE);
    const Box restored = BoxOf(RectInParent(Window()));
    const SIZE frame = DesignedFrame(144);
    EXPECT_EQ(restored.width, frame.cx);
    EXPECT_EQ(restored.height, frame.cy);
    EXPECT_EQ(FontOf(Control(app::kList1)).lfHeight, -MulDiv(150, 144, 720));
}

class DpiChangeWithoutFonts : public Form1InProcess, public ::testing::WithParamInterface<int> {};

// The window goes on as it was, with fonts that are still alive, and takes the next change.
TEST_P(DpiChangeWithoutFonts, KeepsEveryOldFontAndPlace) {
    const UINT dpi = app::DpiForWindow(Window());
    const Box frame = BoxOf(RectInParent(Window()));
    std::vector<LRESULT> fonts;
    std::vector<Box> places;
    for (const auto& control : DesignedControls()) {
        fonts.push_back(SendMessageW(Control(control.id), WM_GETFONT, 0, 0));
        places.push_back(BoxOf(RectInParent(Control(control.id))));
    }

    fontsBeforeFailure_ = GetParam();
    ChangeDpi(dpi * 2);

    EXPECT_EQ(BoxOf(RectInParent(Window())), frame);
    for (std::size_t i = 0; i < fonts.size(); ++i) {
        const ControlDesignCase& control = DesignedControls()[i];
        EXPECT_EQ(SendMessageW(Control(control.id), WM_GETFONT, 0, 0), fonts[i]) << control.name;
        EXPECT_EQ(FontOf(Control(control.id)).lfHeight,
                  -MulDiv(control.tenthsOfPoint, static_cast<int>(dpi), 720))
            << control.name;
        EXPECT_EQ(BoxOf(RectInParent(Control(control.id))), places[i]) << control.name;
    }

    fontsBeforeFailure_ = -1;
    ChangeDpi(dpi * 2);
    EXPECT_EQ(FontOf(Control(app::kList1)).lfHeight, -MulDiv(150, static_cast<int>(dpi) * 2, 720));
}

INSTANTIATE_TEST_SUITE_P(Dpi, DpiChangeWithoutFonts,
                         ::testing::Values(0, static_cast<int>(app::kControls.size()) - 1),
                         [](const auto& test) {
                             return test.param == 0 ? std::string("FirstFontFails")
                                                    : std::string("LastFontFails");
                         });

struct WorkAreaCase {
    const char* name;
    UINT dpi;                 // 0: a reload
    bool beyondBottomRight;   // else above and left of the work area
    bool afterADrag = false;  // one that has ended leaves the rule as it was
};

void PrintTo(const WorkAreaCase& value, std::ostream* out) {
    *out << value.name;
}

class TopLeftOnWorkArea : public Form1InProcess,
                          public ::testing::WithParamInterface<WorkAreaCase> {};

// On a screen smaller than the window, the caption must stay within reach.
TEST_P(TopLeftOnWorkArea, KeepsTheCaptionReachable) {
    const WorkAreaCase& c = GetParam();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(Window(), MONITOR_DEFAULTTONEAREST), &monitor));
    const RECT& work = monitor.rcWork;
    const POINT at = c.beyondBottomRight ? POINT{work.right + 10, work.bottom + 10}
                                         : POINT{work.left - 107, work.top - 23};
    if (c.dpi == 0) {
        ASSERT_TRUE(SetWindowPos(Window(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
        form_->Reload();
    } else {
        const SIZE frame = DesignedFrame(c.dpi);
        if (c.afterADrag) {
            SendMessageW(Window(), WM_ENTERSIZEMOVE, 0, 0);
            SendMessageW(Window(), WM_EXITSIZEMOVE, 0, 0);
        }
        ChangeDpi(c.dpi, {at.x, at.y, at.x + frame.cx, at.y + frame.cy});
    }
    const Box placed = BoxOf(RectInParent(Window()));
    EXPECT_TRUE(PtInRect(&work, {placed.left, placed.top})) << placed;
}

INSTANTIATE_TEST_SUITE_P(Screen, TopLeftOnWorkArea,
                         // 240 DPI: larger than the 1280 x 1024 screen of the tests' Wine session.
                         ::testing::Values(WorkAreaCase{"ReloadAboveLeft", 0, false},
                                           WorkAreaCase{"DpiChangeAboveLeft", 240, false},
                                           WorkAreaCase{"DpiChangeBelowRightAfterADrag", 240, true,
                                                        true}),
                         CaseName);

// A drag across monitors of different scale: the window stays under the pointer.
TEST_F(Form1InProcess, DpiChangeWhileTheUserDragsTakesTheSuggestedRectangleAsItIs) {
    const SIZE frame = DesignedFrame(144);
    const RECT suggested{-3000, -2000, -3000 + frame.cx, -2000 + frame.cy};
    SendMessageW(Window(), WM_ENTERSIZEMOVE, 0, 0);
    ChangeDpi(144, suggested);
    SendMessageW(Window(), WM_EXITSIZEMOVE, 0, 0);
    EXPECT_EQ(BoxOf(RectInParent(Window())), (Box{-3000, -2000, frame.cx, frame.cy}));
}

}  // namespace
}  // namespace vantrel::testing
