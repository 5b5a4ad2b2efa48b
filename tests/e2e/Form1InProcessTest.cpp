#include <gtest/gtest.h>

#include <wrl/client.h>

#include <memory>
#include <thread>

#include "app/Dpi.h"
#include "app/Form1.h"
#include "app/ReadableColour.h"
#include "app/SchemeColours.h"
#include "app/ScopedInitialization.h"
#include "app/WorkAreaPlacement.h"
#include "platform/Error.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/Accessible.h"
#include "tests/e2e/DropDataObject.h"
#include "tests/e2e/SessionColours.h"
#include "tests/e2e/Wait.h"
#include "tests/e2e/WindowDesign.h"
#include "tests/e2e/WindowQueries.h"
#include "tests/fakes/FakePlatform.h"
#include "tests/windows/Wine.h"

namespace vantrel::testing {
namespace {

constexpr wchar_t kSendTo[] = L"C:\\用户\\AppData\\Microsoft\\Windows\\SendTo";

int FormWindowsOfThisProcess() {
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

class ControlAtDpi : public Form1InProcess,
                     public ::testing::WithParamInterface<std::tuple<ControlDesignCase, UINT>> {
  protected:
    const ControlDesignCase& Design() const { return std::get<0>(GetParam()); }
    UINT Dpi() const { return std::get<1>(GetParam()); }

    void SetUp() override {
        Form1InProcess::SetUp();
        // The window is created at the system's DPI; any other arrives as a change.
        if (Dpi() != app::DpiForWindow(Window())) ChangeDpi(Dpi());
    }
};

TEST_P(ControlAtDpi, HasTheDesignedFontScaledForTheDpi) {
    const LOGFONTW font = FontOf(Control(Design().id));
    EXPECT_STREQ(font.lfFaceName, kDesignedFace);
    EXPECT_EQ(font.lfHeight, -MulDiv(Design().tenthsOfPoint, static_cast<int>(Dpi()), 720));
    EXPECT_EQ(font.lfWeight, FW_NORMAL);
    EXPECT_EQ(font.lfCharSet, 134);
    EXPECT_FALSE(font.lfItalic || font.lfUnderline || font.lfStrikeOut);
}

TEST_P(ControlAtDpi, IsPlacedFromTheDesignAtTheDpi) {
    EXPECT_EQ(BoxOf(RectInParent(Control(Design().id))), ScaledTwips(Design().twips, Dpi()));
}

class TextAtDpi : public ControlAtDpi {};

TEST_P(TextAtDpi, FitsOnOneLine) {
    const HWND control = Control(Design().id);
    const HDC dc = GetDC(control);
    ASSERT_NE(dc, nullptr);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE extent{};
    const BOOL measured = GetTextExtentPoint32W(dc, Design().text.c_str(),
                                                static_cast<int>(Design().text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    ASSERT_TRUE(measured);
    EXPECT_LE(extent.cx, ClientSize(control).cx);
    EXPECT_LE(extent.cy, ClientSize(control).cy);
}

std::string ControlAtDpiName(
    const ::testing::TestParamInfo<std::tuple<ControlDesignCase, UINT>>& info) {
    return std::string(std::get<0>(info.param).name) + "At" +
           std::to_string(std::get<1>(info.param));
}

std::vector<ControlDesignCase> ControlsWithText() {
    std::vector<ControlDesignCase> controls = DesignedControls();
    std::erase_if(controls, [](const ControlDesignCase& control) { return control.text.empty(); });
    return controls;
}

INSTANTIATE_TEST_SUITE_P(Controls, ControlAtDpi,
                         ::testing::Combine(::testing::ValuesIn(DesignedControls()),
                                            ::testing::Values(96u, 144u)),
                         ControlAtDpiName);
INSTANTIATE_TEST_SUITE_P(Controls, TextAtDpi,
                         ::testing::Combine(::testing::ValuesIn(ControlsWithText()),
                                            ::testing::Values(96u, 144u)),
                         ControlAtDpiName);

TEST_F(Form1InProcess, DpiChangeTakesTheSuggestedRectangleOfTheSizeItProposed) {
    SIZE proposed{};
    ASSERT_TRUE(
        SendMessageW(Window(), WM_GETDPISCALEDSIZE, 144, reinterpret_cast<LPARAM>(&proposed)));
    ChangeDpi(144, {40, 30, 40 + proposed.cx, 30 + proposed.cy});
    EXPECT_EQ(BoxOf(RectInParent(Window())), (Box{40, 30, proposed.cx, proposed.cy}));
}

// Showing the window puts the focus in Text1, and a screen reader asks for its name at
// once, before the program handles any message: at start and after every reload.
class Form1FirstFocus : public Form1InProcess {
  protected:
    void SetUp() override { StartForm(); }
};

TEST_F(Form1FirstFocus, Text1IsNamedWhenItTakesTheFocus) {
    if (RunningOnWine()) GTEST_SKIP() << "Wine's oleacc does not implement dynamic annotation";
    for (const bool reloaded : {false, true}) {
        if (reloaded) form_->Reload();
        ASSERT_EQ(GetFocus(), Control(app::kText1));
        const std::optional<Heard> heard = HeardOf(Control(app::kText1));
        ASSERT_TRUE(heard);
        EXPECT_EQ(heard->name, L"要添加的文件夹、程序或快捷方式的路径") << "reloaded " << reloaded;
    }
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
        highContrast_ = GetParam().startsInHighContrast;
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

struct SchemeCase {
    const char* name;
    app::ColouredPart part;
    bool highContrast;
    int text;
    int background;
};

void PrintTo(const SchemeCase& value, std::ostream* out) {
    *out << value.name;
}

class SchemeColoursTest : public ::testing::TestWithParam<SchemeCase> {};

// Under High Contrast only the pairs contrast themes promise, never a design colour
// beside a theme colour.
TEST_P(SchemeColoursTest, AreTheDesignsOrThePairsContrastThemesPromise) {
    const SchemeCase& c = GetParam();
    const app::SystemColourPair pair = app::SchemeColours(c.part, c.highContrast);
    EXPECT_EQ(pair.text, c.text);
    EXPECT_EQ(pair.background, c.background);
}

INSTANTIATE_TEST_SUITE_P(
    Parts, SchemeColoursTest,
    ::testing::Values(SchemeCase{"Label1", app::ColouredPart::Label1, false, COLOR_HIGHLIGHT,
                                 COLOR_INACTIVECAPTION},
                      SchemeCase{"HighContrastWindow", app::ColouredPart::Window, true,
                                 COLOR_WINDOWTEXT, COLOR_WINDOW},
                      SchemeCase{"HighContrastList1", app::ColouredPart::List1, true,
                                 COLOR_WINDOWTEXT, COLOR_WINDOW},
                      SchemeCase{"HighContrastLabel1IsTheHyperlinkPair", app::ColouredPart::Label1,
                                 true, COLOR_HOTLIGHT, COLOR_WINDOW}),
    CaseName);

struct ColourCase {
    const char* name;
    int id;
    UINT message;
    std::vector<std::pair<int, COLORREF>> scheme;
    COLORREF text;
    COLORREF background;
    int brush;
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

INSTANTIATE_TEST_SUITE_P(
    Controls, ControlColour,
    ::testing::Values(
        // Windows 10's default scheme.
        ColourCase{"Label1HighlightOnInactiveCaption",
                   app::kLabel1,
                   WM_CTLCOLORSTATIC,
                   {{COLOR_HIGHLIGHT, RGB(0, 120, 215)},
                    {COLOR_INACTIVECAPTION, RGB(191, 205, 219)},
                    {COLOR_WINDOWTEXT, kBlack}},
                   RGB(0, 120, 215),
                   RGB(191, 205, 219),
                   COLOR_INACTIVECAPTION},
        ColourCase{"List1DesktopColourText",
                   app::kList1,
                   WM_CTLCOLORLISTBOX,
                   {{COLOR_BACKGROUND, RGB(0, 99, 177)},
                    {COLOR_WINDOW, kWhite},
                    {COLOR_WINDOWTEXT, kNavy}},
                   RGB(0, 99, 177),
                   kWhite,
                   COLOR_WINDOW},
        ColourCase{"List1OnADesktopColouredLikeItTakesTheWindowText",
                   app::kList1,
                   WM_CTLCOLORLISTBOX,
                   {{COLOR_BACKGROUND, kWhite}, {COLOR_WINDOW, kWhite}, {COLOR_WINDOWTEXT, kNavy}},
                   kNavy,
                   kWhite,
                   COLOR_WINDOW}),
    CaseName);

TEST_F(Form1InProcess, PointerOverLabel1IsTheHelpSelectArrowAndElsewhereNot) {
    const HCURSOR help = LoadCursorW(nullptr, IDC_HELP);
    SendMessageW(Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(app::kLabel1)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), help);
    SendMessageW(Control(app::kList1), WM_SETCURSOR, reinterpret_cast<WPARAM>(Control(app::kList1)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), help);
}

// The press as the label gets it: only its notify style and the window's wiring turn it into
// the page being opened.
TEST_F(Form1InProcess, ClickOnLabel1OpensTheMakersPage) {
    SendMessageW(Control(app::kLabel1), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(Control(app::kLabel1), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(platform_.explorerArguments, std::vector<std::wstring>{L"http://pelgrin.example"});
}

TEST_F(Form1InProcess, ReloadReplacesTheWindowInPlaceWithFreshControls) {
    const HWND before = Window();
    ASSERT_TRUE(SetWindowPos(before, nullptr, 123, 87, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
    SetWindowTextW(Control(app::kText1), L"C:\\Tools\\editor.exe");
    SendMessageW(Control(app::kList1), LB_SETCURSEL, 1, 0);
    platform_.folders[kSendTo].push_back(L"editor.lnk");

    form_->Reload();

    const HWND after = Window();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_TRUE(IsWindowVisible(after));
    EXPECT_EQ(BoxOf(RectInParent(after)).left, 123);
    EXPECT_EQ(BoxOf(RectInParent(after)).top, 87);
    EXPECT_EQ(Text(Control(app::kText1)), texts::kPlaceholder);
    EXPECT_EQ(ListItems(Control(app::kList1)),
              (std::vector<std::wstring>{L"a.lnk", L"b.lnk", L"editor.lnk"}));
    EXPECT_EQ(ListSelection(Control(app::kList1)), -1);
    EXPECT_EQ(GetFocus(), Control(app::kText1));
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE))
        << "the reload ended the message loop";
}

TEST_F(Form1InProcess, ReloadOfAMinimizedWindowKeepsItsPlaceForTheRestore) {
    ASSERT_TRUE(SetWindowPos(Window(), nullptr, 123, 87, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
    ShowWindow(Window(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(Window()));

    form_->Reload();

    EXPECT_TRUE(IsIconic(Window())) << "the reload restored the window";
    ShowWindow(Window(), SW_RESTORE);
    EXPECT_EQ(BoxOf(RectInParent(Window())).left, 123);
    EXPECT_EQ(BoxOf(RectInParent(Window())).top, 87);
    EXPECT_EQ(GetFocus(), Control(app::kText1));
}

// Windows replaces the first show of a program started "Maximized": the window must not
// grow for the moment until it is restored.
TEST_F(Form1InProcess, MaximizedStaysInPlaceAndReloadShowsItAsDesigned) {
    const Box normal = BoxOf(RectInParent(Window()));
    ShowWindow(Window(), SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(Window()));
    EXPECT_EQ(BoxOf(RectInParent(Window())), normal);

    form_->Reload();

    EXPECT_FALSE(IsZoomed(Window()));
    EXPECT_EQ(ClientBox(Window()), DesignedClientBox(app::DpiForWindow(Window())));
}

struct WorkAreaCase {
    const char* name;
    UINT dpi;                // 0: a reload
    bool beyondBottomRight;  // else above and left of the work area
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
        ChangeDpi(c.dpi, {at.x, at.y, at.x + frame.cx, at.y + frame.cy});
    }
    const Box placed = BoxOf(RectInParent(Window()));
    EXPECT_TRUE(PtInRect(&work, {placed.left, placed.top})) << placed;
}

INSTANTIATE_TEST_SUITE_P(Screen, TopLeftOnWorkArea,
                         // 240 DPI: larger than the 1280 x 1024 screen of the tests' Wine session.
                         ::testing::Values(WorkAreaCase{"ReloadAboveLeft", 0, false},
                                           WorkAreaCase{"DpiChangeAboveLeft", 240, false},
                                           WorkAreaCase{"DpiChangeBelowRight", 240, true}),
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

struct PlacementCase {
    const char* name;
    std::vector<RECT> workAreas;  // the monitors' whole areas are not read
    POINT corner;                 // of a window of 850 x 520
    POINT placed;
};

void PrintTo(const PlacementCase& value, std::ostream* out) {
    *out << value.name;
}

class PlaceOnWorkAreasTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlaceOnWorkAreasTest, KeepsACornerOnAWorkAreaAndMovesOneOffAllAsLittleAsNeeded) {
    const PlacementCase& c = GetParam();
    const RECT frame{c.corner.x, c.corner.y, c.corner.x + 850, c.corner.y + 520};
    std::vector<app::MonitorArea> monitors;
    for (const RECT& work : c.workAreas) monitors.push_back({{}, work, 96});
    const POINT placed = app::PlaceOnWorkAreas(frame, monitors);
    EXPECT_EQ(placed.x, c.placed.x);
    EXPECT_EQ(placed.y, c.placed.y);
}

// Work areas as Windows gives them, the primary monitor's first, the taskbar below.
const RECT kPrimary{0, 0, 1920, 1040};
const RECT kRightOfPrimary{1920, 0, 3840, 2120};
const RECT kAboveLeftOfPrimary{-1280, -1024, 0, -40};

INSTANTIATE_TEST_SUITE_P(
    Layouts, PlaceOnWorkAreasTest,
    ::testing::Values(
        PlacementCase{
            "CornerOnTheLeftMostOnTheRight", {kPrimary, kRightOfPrimary}, {1500, 100}, {1500, 100}},
        PlacementCase{
            "CornerOnTheSecondMonitor", {kPrimary, kRightOfPrimary}, {2000, 1500}, {2000, 1500}},
        PlacementCase{"CornerOffEveryMonitorGoesToTheNearest",
                      {kPrimary, kRightOfPrimary},
                      {4000, 300},
                      {2990, 300}},
        PlacementCase{"CornerOnAMonitorAboveLeftOfThePrimary",
                      {kPrimary, kAboveLeftOfPrimary},
                      {-600, -500},
                      {-600, -500}},
        PlacementCase{"CornerBeyondAMonitorAboveLeftOfThePrimary",
                      {kPrimary, kAboveLeftOfPrimary},
                      {-1500, -1100},
                      {-1280, -1024}},
        PlacementCase{"ScreenSmallerThanTheWindowKeepsTheCaptionOnIt",
                      {RECT{0, 0, 800, 600}},
                      {900, 700},
                      {0, 80}}),
    CaseName);

struct DropCase {
    const char* name;
    std::vector<std::wstring> files;  // none: a file list that cannot be read
    std::wstring text1;
    std::size_t boxes;
};

void PrintTo(const DropCase& value, std::ostream* out) {
    *out << value.name;
}

class DropOnForm : public Form1InProcess, public ::testing::WithParamInterface<DropCase> {};

// The drag source waits in its drag loop until Drop returns: a box shown inside
// it would sit behind that program.
TEST_P(DropOnForm, RunsTheHandlerOnlyAfterTheDropReturned) {
    const DropCase& c = GetParam();
    const auto target = Text1Target();
    ASSERT_NE(target, nullptr);
    const auto data = c.files.empty() ? MakeUnreadableFileList() : MakeDropDataObject(c.files);
    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(target->DragEnter(data.Get(), MK_LBUTTON, {0, 0}, &effect), S_OK);
    ASSERT_EQ(target->Drop(data.Get(), 0, {0, 0}, &effect), S_OK);

    EXPECT_TRUE(platform_.messages.empty()) << "a box inside the drop";
    EXPECT_EQ(Text(Control(app::kText1)), texts::kPlaceholder);
    DispatchPosted();
    EXPECT_EQ(platform_.messages.size(), c.boxes);
    EXPECT_EQ(Text(Control(app::kText1)), c.text1);
}

INSTANTIATE_TEST_SUITE_P(
    Drop, DropOnForm,
    ::testing::Values(DropCase{"File", {L"C:\\Tools\\editor.exe"}, L"C:\\Tools\\editor.exe", 0},
                      DropCase{"UnreadableFileListFails", {}, texts::kPlaceholder, 1}),
    CaseName);

// Before, only replacing the window revoked it: a closed window's registration
// held the target until OLE shut down.
TEST_F(Form1InProcess, ClosingTheWindowRevokesText1sDropTarget) {
    const auto target = Text1Target();
    ASSERT_NE(target, nullptr);
    const auto references = [&target] {
        target->AddRef();
        return target->Release();
    };
    const ULONG registered = references();

    SendMessageW(Window(), WM_CLOSE, 0, 0);

    ASSERT_EQ(Window(), nullptr);
    EXPECT_LT(references(), registered);
    MSG quit;
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the program goes on";
}

TEST_F(Form1InProcess, FailedReloadLeavesTheWindowAsItWas) {
    const HWND before = Window();
    const RECT placed = RectInParent(before);
    SetWindowTextW(Control(app::kText1), L"C:\\Tools\\editor.exe");
    SendMessageW(Control(app::kList1), LB_SETCURSEL, 1, 0);
    platform_.folders.erase(kSendTo);

    EXPECT_THROW(form_->Reload(), Error);

    EXPECT_EQ(Window(), before);
    EXPECT_TRUE(IsWindowVisible(before));
    EXPECT_EQ(BoxOf(RectInParent(before)), BoxOf(placed));
    EXPECT_EQ(Text(Control(app::kText1)), L"C:\\Tools\\editor.exe");
    EXPECT_EQ(ListItems(Control(app::kList1)), (std::vector<std::wstring>{L"a.lnk", L"b.lnk"}));
    EXPECT_EQ(ListSelection(Control(app::kList1)), 1);
    EXPECT_EQ(FormWindowsOfThisProcess(), 1) << "the failed load left a second window";
}

// Handles this thread's messages for a while, as the message loop would.
void RunMessagesFor(DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    while (GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

// OLE cannot start on a thread COM made multithreaded: the window works on without
// drops, and says so once, not again at each reload.
TEST(Form1WithoutOle, SaysSoOnce) {
    FakePlatform platform;
    platform.environment = {L"APPDATA=C:\\用户\\AppData"};
    platform.folders[kSendTo] = {L"a.lnk"};
    bool reloaded = false;
    std::thread([&] {
        if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return;
        try {
            app::Form1 form(GetModuleHandleW(nullptr), platform);
            form.Load();
            form.Show(SW_SHOWNOACTIVATE);
            for (int reload = 0; reload < 2; ++reload) {
                RunMessagesFor(300);
                form.Reload();
            }
            RunMessagesFor(300);
            reloaded = true;
        } catch (const std::exception&) {
        }
        CoUninitialize();
    }).join();
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(platform.messages.size(), 1u);
}

}  // namespace
}  // namespace vantrel::testing
