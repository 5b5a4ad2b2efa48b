#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/ReadableColour.h"
#include "tests/CaseName.h"
#include "tests/e2e/Form1InProcess.h"
#include "tests/e2e/SessionColours.h"
#include "tests/e2e/Wait.h"
#include "tests/e2e/WindowQueries.h"
#include "tests/windows/Wine.h"

namespace vantrel::testing {
namespace {

// One scheme for every case: the design's colours and High Contrast's all differ.
constexpr COLORREF kWindowColour = RGB(0x08, 0x10, 0x18);
constexpr COLORREF kWindowTextColour = RGB(0xF0, 0xF0, 0x20);
constexpr COLORREF kHotLightColour = RGB(0x20, 0xF0, 0xF0);
constexpr COLORREF kHighlightColour = RGB(0x00, 0x78, 0xD7);  // Windows 10's defaults
constexpr COLORREF kInactiveCaptionColour = RGB(0xBF, 0xCD, 0xDB);
constexpr COLORREF kDesktopColour = RGB(0x00, 0x63, 0xB1);

struct Painted {
    COLORREF background;  // most of the window's own client area
    COLORREF label1Text;
    COLORREF list1Text;
    std::vector<COLORREF> nowhere;  // in the whole client area, the controls' included
};
const Painted kDesignColours{
    kInactiveCaptionColour, kHighlightColour, kDesktopColour, {kHotLightColour}};
// Only the pairs contrast themes promise (Text1's selection keeps the highlight).
const Painted kHighContrastColours{
    kWindowColour, kHotLightColour, kWindowTextColour, {kInactiveCaptionColour, kDesktopColour}};

struct PaintedCase {
    const char* name;
    bool startsInHighContrast;
    bool switchesToItWhileOpen;
    const Painted& painted;
};

void PrintTo(const PaintedCase& value, std::ostream* out) {
    *out << value.name;
}

class PaintedColours : public Form1InProcess, public ::testing::WithParamInterface<PaintedCase> {
  protected:
    void SetUp() override {
        if (!RunningOnWine()) GTEST_SKIP() << kSetsSystemColours;
        ASSERT_TRUE(scheme_.Changed());
        // Otherwise the system's own answer, which Wine gives as off.
        highContrast_ = GetParam().startsInHighContrast || app::HighContrastOn();
        Form1InProcess::SetUp();
    }
    // The pixels of `colour` on the screen once the window has painted.
    int PixelsIn(HWND window, COLORREF colour) {
        RedrawWindow(Window(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        DispatchPosted();
        return PixelsOf(window, colour);
    }

    SessionColours scheme_{{{COLOR_WINDOW, kWindowColour},
                            {COLOR_WINDOWTEXT, kWindowTextColour},
                            {COLOR_HOTLIGHT, kHotLightColour},
                            {COLOR_HIGHLIGHT, kHighlightColour},
                            {COLOR_INACTIVECAPTION, kInactiveCaptionColour},
                            {COLOR_BACKGROUND, kDesktopColour}}};
};

// What the screen shows, from the start or from the moment the user turns High Contrast on.
TEST_P(PaintedColours, AreTheSchemesOnTheScreen) {
    const PaintedCase& c = GetParam();
    if (c.switchesToItWhileOpen) {
        highContrast_ = true;
        SendMessageW(Window(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    }
    const Painted& expected = c.painted;
    const SIZE client = ClientSize(Window());
    const HWND label1 = Control(app::kLabel1);
    const HWND list1 = Control(app::kList1);
    // The controls cover two thirds of the client area; the rest is background.
    EXPECT_TRUE(WaitUntil([&] {
        return PixelsIn(Window(), expected.background) > client.cx * client.cy / 4;
    })) << "background";
    EXPECT_TRUE(WaitUntil([&] { return PixelsIn(label1, expected.label1Text) > 20; })) << "Label1";
    EXPECT_TRUE(WaitUntil([&] { return PixelsIn(list1, expected.list1Text) > 20; })) << "List1";
    // Behind their text too: a device context's own background is white.
    EXPECT_EQ(PixelsIn(label1, RGB(0xFF, 0xFF, 0xFF)), 0) << "behind Label1's text";
    EXPECT_EQ(PixelsIn(list1, RGB(0xFF, 0xFF, 0xFF)), 0) << "behind List1's text";
    for (const COLORREF colour : expected.nowhere) {
        EXPECT_EQ(PixelsIn(Window(), colour), 0) << std::hex << colour;
    }
}

INSTANTIATE_TEST_SUITE_P(Schemes, PaintedColours,
                         ::testing::Values(PaintedCase{"Design", false, false, kDesignColours},
                                           PaintedCase{"StartedInHighContrast", true, false,
                                                       kHighContrastColours},
                                           PaintedCase{"HighContrastTurnedOnWhileOpen", false, true,
                                                       kHighContrastColours}),
                         CaseName);

struct ReadableCase {
    const char* name;
    COLORREF wanted;
    COLORREF background;
    COLORREF windowText;
    COLORREF drawn;
};

void PrintTo(const ReadableCase& value, std::ostream* out) {
    *out << value.name;
}

class ReadableTextColourTest : public ::testing::TestWithParam<ReadableCase> {};

TEST_P(ReadableTextColourTest, KeepsTheDesignUnlessItCannotBeSeen) {
    const ReadableCase& c = GetParam();
    EXPECT_EQ(app::ReadableTextColour(c.wanted, c.background, c.windowText), c.drawn);
}

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// WCAG 2 puts grey 210 on white at 1.51:1 and grey 211 at 1.497:1; grey 118 on white at
// 4.54:1 and grey 119 at 4.48:1.
INSTANTIATE_TEST_SUITE_P(Pairs, ReadableTextColourTest,
                         ::testing::Values(
                             // The link's pair on the default schemes.
                             ReadableCase{"Windows10HighlightOnInactiveCaption", RGB(0, 120, 215),
                                          RGB(191, 205, 219), kBlack, RGB(0, 120, 215)},
                             ReadableCase{"Windows7HighlightOnInactiveCaption", RGB(51, 153, 255),
                                          RGB(191, 205, 219), kBlack, RGB(51, 153, 255)},
                             ReadableCase{"GreyJustAbove1Point5To1", RGB(210, 210, 210), kWhite,
                                          kBlack, RGB(210, 210, 210)},
                             ReadableCase{"GreyJustBelow1Point5To1", RGB(211, 211, 211), kWhite,
                                          RGB(118, 118, 118), RGB(118, 118, 118)},
                             ReadableCase{"WindowTextJustBelow4Point5To1GivesBlack", kWhite, kWhite,
                                          RGB(119, 119, 119), kBlack},
                             ReadableCase{"DarkOnDarkGivesWhite", RGB(20, 20, 20), kBlack,
                                          RGB(10, 10, 10), kWhite}),
                         CaseName);

struct ColourCase {
    const char* name;
    int id;
    UINT message;
    std::vector<std::pair<int, COLORREF>> scheme;
    COLORREF text;
    COLORREF background;
    int brush;
    bool highContrast = false;
};

void PrintTo(const ColourCase& value, std::ostream* out) {
    *out << value.name;
}

class ControlColour : public Form1InProcess, public ::testing::WithParamInterface<ColourCase> {};

// Colours are the user's scheme's, looked up when drawn.
TEST_P(ControlColour, DrawsInTheDesignedSystemColoursWhereTheyRead) {
    if (!RunningOnWine()) GTEST_SKIP() << kSetsSystemColours;
    const ColourCase& colours = GetParam();
    const SessionColours scheme(colours.scheme);
    ASSERT_TRUE(scheme.Changed());
    highContrast_ = colours.highContrast;
    SendMessageW(Window(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    const HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(Window(), colours.message, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(Control(colours.id))));
    const COLORREF text = GetTextColor(dc);
    const COLORREF background = GetBkColor(dc);
    DeleteDC(dc);
    EXPECT_EQ(text, colours.text);
    EXPECT_EQ(background, colours.background);
    EXPECT_EQ(brush, GetSysColorBrush(colours.brush));
}

constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr std::pair<int, COLORREF> kActiveCaption{COLOR_ACTIVECAPTION, RGB(153, 180, 209)};

INSTANTIATE_TEST_SUITE_P(
    Controls, ControlColour,
    ::testing::Values(
        ColourCase{"List1OnADesktopColouredLikeItTakesTheWindowText",
                   app::kList1,
                   WM_CTLCOLORLISTBOX,
                   {{COLOR_BACKGROUND, kWhite}, {COLOR_WINDOW, kWhite}, {COLOR_WINDOWTEXT, kNavy}},
                   kNavy,
                   kWhite,
                   COLOR_WINDOW},
        // Buttons get the caption colour around them; the device context is theirs.
        ColourCase{"Command1OnActiveCaption",
                   app::kCommand1,
                   WM_CTLCOLORBTN,
                   {kActiveCaption},
                   kBlack,
                   kWhite,
                   COLOR_ACTIVECAPTION},
        ColourCase{"Command2OnActiveCaption",
                   app::kCommand2,
                   WM_CTLCOLORBTN,
                   {kActiveCaption},
                   kBlack,
                   kWhite,
                   COLOR_ACTIVECAPTION},
        // The theme's own: the system's face and text.
        ColourCase{"Command1InHighContrast",
                   app::kCommand1,
                   WM_CTLCOLORBTN,
                   {kActiveCaption, {COLOR_BTNFACE, kNavy}, {COLOR_WINDOWTEXT, kWhite}},
                   kWhite,
                   kNavy,
                   COLOR_BTNFACE,
                   true}),
    CaseName);

}  // namespace
}  // namespace vantrel::testing
