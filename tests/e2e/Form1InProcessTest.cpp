#include <gtest/gtest.h>

#include <wrl/client.h>

#include <memory>

#include "app/Dpi.h"
#include "app/Form1.h"
#include "app/ReadableColour.h"
#include "app/ScopedOle.h"
#include "platform/Error.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/DropDataObject.h"
#include "tests/e2e/WindowDesign.h"
#include "tests/e2e/WindowQueries.h"
#include "tests/fakes/FakePlatform.h"

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
        ASSERT_EQ(ole_.Result(), S_OK) << "Text1 takes drops only with OLE initialized";
        platform_.environment = {L"APPDATA=C:\\用户\\AppData"};
        platform_.folders[kSendTo] = {L"a.lnk", L"b.lnk"};
        form_ = std::make_unique<app::Form1>(GetModuleHandleW(nullptr), platform_,
                                             [this](const LOGFONTW& font) {
                                                 if (fontsBeforeFailure_ == 0) {
                                                     SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                                                     return app::UniqueFont();
                                                 }
                                                 if (fontsBeforeFailure_ > 0) --fontsBeforeFailure_;
                                                 return app::MakeFont(font);
                                             });
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

    app::ScopedOle ole_;
    FakePlatform platform_;
    int fontsBeforeFailure_ = -1;  // how many fonts are made before one fails; -1: none fails
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

TEST_F(Form1InProcess, PaintsItsBackgroundInTheInactiveCaptionColour) {
    EXPECT_EQ(GetClassLongPtrW(Window(), GCLP_HBRBACKGROUND), COLOR_INACTIVECAPTION + 1);
}

struct ReadableCase {
    const char* name;
    COLORREF wanted;
    COLORREF background;
    bool highContrast;
    bool keepsWanted;  // else the fallback
};

void PrintTo(const ReadableCase& value, std::ostream* out) {
    *out << value.name;
}

class ReadableTextColourTest : public ::testing::TestWithParam<ReadableCase> {};

TEST_P(ReadableTextColourTest, KeepsTheWantedColourOnlyWhereItReads) {
    const ReadableCase& c = GetParam();
    constexpr COLORREF kFallback = RGB(1, 2, 3);
    EXPECT_EQ(app::ReadableTextColour(c.wanted, c.background, kFallback, c.highContrast),
              c.keepsWanted ? c.wanted : kFallback);
}

// WCAG 2 puts grey 148 on white at 3.03:1 and grey 149 at 2.995:1.
INSTANTIATE_TEST_SUITE_P(
    Pairs, ReadableTextColourTest,
    ::testing::Values(
        ReadableCase{"BlackOnWhite", RGB(0, 0, 0), RGB(255, 255, 255), false, true},
        ReadableCase{"WhiteDesktopOnWhiteList", RGB(255, 255, 255), RGB(255, 255, 255), false,
                     false},
        ReadableCase{"BlackOnBlack", RGB(0, 0, 0), RGB(0, 0, 0), false, false},
        ReadableCase{"GreyJustAbove3To1", RGB(148, 148, 148), RGB(255, 255, 255), false, true},
        ReadableCase{"GreyJustBelow3To1", RGB(149, 149, 149), RGB(255, 255, 255), false, false},
        ReadableCase{"LighterTextOnDarkBackground", RGB(90, 90, 90), RGB(0, 0, 0), false, true},
        ReadableCase{"Windows10HighlightOnInactiveCaption", RGB(0, 120, 215), RGB(191, 205, 219),
                     false, false},
        ReadableCase{"HighContrastOverridesAReadablePair", RGB(0, 0, 0), RGB(255, 255, 255), true,
                     false}),
    CaseName);

struct ColourCase {
    const char* name;
    int id;
    UINT message;
    int textColour;  // the design's, drawn where it reads on the background
    int background;
};

void PrintTo(const ColourCase& value, std::ostream* out) {
    *out << value.name;
}

class ControlColour : public Form1InProcess, public ::testing::WithParamInterface<ColourCase> {};

// Colours are the user's scheme's, looked up when drawn.
TEST_P(ControlColour, DrawsInTheDesignedSystemColoursWhereTheyRead) {
    const ColourCase& colours = GetParam();
    const HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(Window(), colours.message, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(Control(colours.id))));
    const COLORREF text = GetTextColor(dc);
    DeleteDC(dc);
    EXPECT_EQ(text, app::ReadableTextColour(GetSysColor(colours.textColour),
                                            GetSysColor(colours.background),
                                            GetSysColor(COLOR_WINDOWTEXT), app::HighContrastOn()));
    EXPECT_EQ(brush, GetSysColorBrush(colours.background));
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ControlColour,
    ::testing::Values(ColourCase{"Label1HighlightOnInactiveCaption", app::kLabel1,
                                 WM_CTLCOLORSTATIC, COLOR_HIGHLIGHT, COLOR_INACTIVECAPTION},
                      ColourCase{"List1DesktopColourText", app::kList1, WM_CTLCOLORLISTBOX,
                                 COLOR_BACKGROUND, COLOR_WINDOW}),
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

TEST_F(Form1InProcess, ReloadOfAMaximizedWindowShowsItAsDesigned) {
    ShowWindow(Window(), SW_MAXIMIZE);
    ASSERT_TRUE(IsZoomed(Window()));

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
        const SIZE frame = app::FormWindow::FrameSize(c.dpi);
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

}  // namespace
}  // namespace vantrel::testing
