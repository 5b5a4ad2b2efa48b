#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <thread>

#include "platform/Error.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/DropDataObject.h"
#include "tests/e2e/Form1InProcess.h"
#include "tests/e2e/RecordedAnnotations.h"
#include "tests/e2e/WindowDesign.h"
#include "tests/e2e/WindowQueries.h"
#include "tests/windows/Wine.h"

namespace vantrel::testing {
namespace {

// Showing the window puts the focus in Text1, and a screen reader asks for its name at
// once, before the program handles any message: every control is told first, at start
// and after every reload, and the controls a reload removes are forgotten.
class Form1FirstFocus : public Form1InProcess {
  protected:
    void SetUp() override {
        ASSERT_EQ(annotations_.Registered(), S_OK);
        StartForm();
    }
    RecordedAnnotations::Annotation Told(int id) const {
        const auto found = annotations_.Said().find(Control(id));
        return found == annotations_.Said().end() ? RecordedAnnotations::Annotation{}
                                                  : found->second;
    }
    RecordedAnnotations annotations_;
};

TEST_F(Form1FirstFocus, EveryControlIsToldBeforeText1TakesTheFocus) {
    for (const bool reloaded : {false, true}) {
        if (reloaded) form_->Reload();
        ASSERT_EQ(GetFocus(), Control(app::kText1));
        EXPECT_EQ(Told(app::kText1).name, L"要添加的文件夹、程序或快捷方式的路径") << reloaded;
        EXPECT_FALSE(Told(app::kText1).focusedFirst) << reloaded;
        EXPECT_EQ(Told(app::kList1).name, L"“发送到”文件夹中的项目") << reloaded;
        EXPECT_EQ(Told(app::kLabel1).role, ROLE_SYSTEM_LINK) << reloaded;
        EXPECT_EQ(annotations_.Said().size(), 3u) << reloaded;
    }
}

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

// A failure that is no system error, such as memory running out, still ends in a box.
TEST_F(Form1InProcess, ClickThatFailsUnexpectedlySaysSo) {
    platform_.otherItems.insert(L"C:\\Tools\\editor.exe");
    platform_.objectFactory = [](const std::wstring&) -> std::unique_ptr<AutomationObject> {
        throw std::bad_alloc();
    };
    SetWindowTextW(Control(app::kText1), L"C:\\Tools\\editor.exe");
    SendMessageW(Control(app::kCommand1), BM_CLICK, 0, 0);
    EXPECT_EQ(platform_.messages, std::vector<std::wstring>{texts::kUnexpectedFailure});
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

// Only the hint is selected whole: a click into a typed path leaves the caret where it lands.
TEST_F(Form1InProcess, ClickInATypedPathSelectsNothing) {
    const HWND text1 = Control(app::kText1);
    ASSERT_EQ(GetFocus(), text1);
    SetWindowTextW(text1, L"C:\\Tools\\editor.exe");
    SendMessageW(text1, EM_SETSEL, 3, 3);
    SendMessageW(text1, WM_LBUTTONUP, 0, MAKELPARAM(40, 5));
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(text1, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(end, 3u);
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

struct DropCase {
    const char* name;
    std::optional<std::vector<std::wstring>> files;  // none: a file list that cannot be read
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
    if (c.files && c.files->empty() && RunningOnWine()) {
        GTEST_SKIP() << "Wine counts one nameless file in an empty list";
    }
    const auto target = Text1Target();
    ASSERT_NE(target, nullptr);
    const auto data = c.files ? MakeDropDataObject(*c.files) : MakeUnreadableFileList();
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
    ::testing::Values(DropCase{"File", std::vector<std::wstring>{L"C:\\Tools\\editor.exe"},
                               L"C:\\Tools\\editor.exe", 0},
                      DropCase{"EmptyFileListFails", std::vector<std::wstring>{},
                               texts::kPlaceholder, 1},
                      DropCase{"UnreadableFileListFails", std::nullopt, texts::kPlaceholder, 1}),
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
