#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "app/Dpi.h"
#include "app/Layout.h"
#include "platform/win32/UniqueHandle.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/FormActions.h"
#include "tests/e2e/VantrelRun.h"
#include "tests/e2e/WindowDesign.h"
#include "tests/e2e/WindowQueries.h"

namespace vantrel::testing {
namespace {

using app::kCommand1;
using app::kCommand2;
using app::kList1;
using app::kText1;

struct Entry {
    const wchar_t* name;
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
};

class StartListTest : public VantrelRun {};

// Hidden and system files and folders stay out; the rest comes by name without case.
TEST_F(StartListTest, ListsTheFolderWithNothingSelected) {
    const Entry files[] = {{L"b.lnk"},
                           {L"A.lnk"},
                           {L"记事本.lnk"},
                           {L"😀 表情.lnk"},
                           {L"report.final.lnk"},
                           {L"readonly.lnk", FILE_ATTRIBUTE_READONLY},
                           {L"hidden.lnk", FILE_ATTRIBUTE_HIDDEN},
                           {L"system.lnk", FILE_ATTRIBUTE_SYSTEM},
                           {L"desktop.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}};
    for (const Entry& entry : files) AddEntry(entry.name, entry.attributes);
    for (const wchar_t* subfolder : {L"subfolder", L"folder.lnk"}) AddSubfolder(subfolder);

    const HWND window = StartAndWaitForWindow();
    ASSERT_NE(window, nullptr);
    const HWND list = GetDlgItem(window, kList1);
    EXPECT_EQ(ListItems(list),
              (std::vector<std::wstring>{L"A.lnk", L"b.lnk", L"readonly.lnk", L"report.final.lnk",
                                         L"记事本.lnk", L"😀 表情.lnk"}));
    EXPECT_EQ(ListSelection(list), -1);
}

// A started program with a few entries, for the keyboard tests.
class StartKeyboardTest : public VantrelRun {
  protected:
    void SetUp() override {
        AddEntry(L"a.lnk");
        AddEntry(L"b.lnk");
        window_ = StartAndWaitForWindow();
        ASSERT_NE(window_, nullptr);
    }

    HWND Window() const { return window_; }
    HWND Control(int id) const { return GetDlgItem(window_, id); }

    // Presses Tab and waits for the focus to arrive at `id`.
    bool TabTo(int id) {
        PressKey(window_, VK_TAB);
        return WaitUntil([&] { return Process().Focus() == Control(id); });
    }
    // From Text1, where the focus starts, tabs on until `id` has it.
    void TabFromText1To(int id) {
        ASSERT_TRUE(WaitUntil([&] { return Process().Focus() == Control(kText1); }));
        for (const int next : {kCommand1, kCommand2, kList1}) {
            if (Process().Focus() == Control(id)) return;
            ASSERT_TRUE(TabTo(next));
        }
    }

  private:
    HWND window_ = nullptr;
};

enum class Reach { kAtStart, kByTab, kByClick };

struct TypingCase {
    const char* name;
    Reach reach;  // how Text1 got the focus
};

void PrintTo(const TypingCase& value, std::ostream* out) {
    *out << value.name;
}

class TypingTest : public StartKeyboardTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(TypingTest, ReplacesTheWholePlaceholder) {
    ASSERT_TRUE(WaitUntil([&] { return Process().Focus() == Control(kText1); }));
    if (GetParam().reach != Reach::kAtStart) {
        ASSERT_TRUE(TabTo(kCommand1));
    }
    if (GetParam().reach == Reach::kByTab) {
        for (const int id : {kCommand2, kList1, kText1}) ASSERT_TRUE(TabTo(id));
    }
    if (GetParam().reach == Reach::kByClick) {
        Click(Control(kText1), {40, ClientSize(Control(kText1)).cy / 2});
        ASSERT_TRUE(WaitUntil([&] { return Process().Focus() == Control(kText1); }));
    }
    TypeText(Window(), L"C:\\Tools\\编辑器.exe");
    EXPECT_TRUE(WaitUntil([&] { return Text(Control(kText1)) == L"C:\\Tools\\编辑器.exe"; }))
        << ::testing::PrintToString(Text(Control(kText1)));
}

INSTANTIATE_TEST_SUITE_P(Focus, TypingTest,
                         ::testing::Values(TypingCase{"AtStart", Reach::kAtStart},
                                           TypingCase{"AfterTabbingRound", Reach::kByTab},
                                           TypingCase{"AfterClick", Reach::kByClick}),
                         CaseName);

enum class Leave { kSwitch, kMinimize, kRefusedAdd, kNothingSelected, kLockedDelete };

struct FocusCase {
    const char* name;
    int focused;  // the control that has the focus when the window is left
    Leave leave;
    int back;                      // where the focus is afterwards
    const wchar_t* message = L"";  // the start of the box's text
};

void PrintTo(const FocusCase& value, std::ostream* out) {
    *out << value.name;
}

class FocusComesBackTest : public StartKeyboardTest,
                           public ::testing::WithParamInterface<FocusCase> {};

// Before, the frame kept the focus afterwards, and typing went nowhere.
TEST_P(FocusComesBackTest, ToTheControlThatHadIt) {
    const FocusCase& c = GetParam();
    win32::UniqueKernelHandle lock;
    if (c.leave == Leave::kLockedDelete) {
        SelectListItem(Window(), 0);
        lock.reset(CreateFileW((SendToFolder() + L"\\a.lnk").c_str(), GENERIC_READ, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr));
        ASSERT_NE(lock.get(), INVALID_HANDLE_VALUE);
    }
    TabFromText1To(c.focused);
    if (HasFatalFailure()) return;

    if (c.leave == Leave::kSwitch) {
        SwitchAwayAndBack(Window());
    } else if (c.leave == Leave::kMinimize) {
        // Minimizing can move the focus before the window hears it is deactivated.
        Ask(Window(), WM_SYSCOMMAND, SC_MINIMIZE);
        ASSERT_TRUE(IsIconic(Window()));
        ShowWindow(Window(), SW_RESTORE);
    } else {
        PostClick(Window(), c.leave == Leave::kRefusedAdd ? kCommand1 : kCommand2);
        if (c.leave == Leave::kLockedDelete) {
            CancelShellOnAFileInUse(Process());
        } else {
            const HWND box = Process().WaitForMessageBox();
            ASSERT_NE(box, nullptr);
            EXPECT_TRUE(MessageBoxText(box).starts_with(c.message)) << c.name;
            EXPECT_EQ(GetWindow(box, GW_OWNER), Window()) << "the box has another owner";
            DismissMessageBox(box);
        }
    }
    EXPECT_TRUE(WaitUntil([&] { return Process().Focus() == Control(c.back); }))
        << "the focus is on " << Process().Focus() << ", the frame is " << Window();
    if (c.back == kText1) {
        TypeText(Window(), L"C:\\再试.exe");
        EXPECT_TRUE(WaitUntil([&] { return Text(Control(kText1)) == L"C:\\再试.exe"; }));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Focus, FocusComesBackTest,
    ::testing::Values(
        FocusCase{"SwitchFromText1", kText1, Leave::kSwitch, kText1},
        FocusCase{"SwitchFromCommand2", kCommand2, Leave::kSwitch, kCommand2},
        FocusCase{"SwitchFromList1", kList1, Leave::kSwitch, kList1},
        FocusCase{"MinimizeFromCommand2", kCommand2, Leave::kMinimize, kCommand2},
        // The click gives the button the focus; the refusal sends it where the path is typed.
        FocusCase{"RefusedAdd", kCommand1, Leave::kRefusedAdd, kText1, texts::kEnterValidPath},
        FocusCase{"NothingSelected", kCommand2, Leave::kNothingSelected, kCommand2,
                  texts::kSelectFirst},
        FocusCase{"CancelledDelete", kCommand2, Leave::kLockedDelete, kCommand2}),
    CaseName);

struct ShowStateCase {
    const char* name;
    WORD showState;  // as the program is started with it
    bool minimized;
    bool activated;  // whether the start brings the window to the front
};

void PrintTo(const ShowStateCase& value, std::ostream* out) {
    *out << value.name;
}

class StartShowStateTest : public VantrelRun,
                           public ::testing::WithParamInterface<ShowStateCase> {};

// A shortcut set to run minimized starts the window minimized, one set to run
// maximized shows this fixed-size window as designed, and a start that must not
// activate leaves the front to the program that has it. Brought up, the window
// has the focus in Text1 as after any start.
TEST_P(StartShowStateTest, ShowsTheWindowAsTheProgramWasStarted) {
    const ShowStateCase& c = GetParam();
    MakeSendToFolder();
    VantrelProcess& vantrel = Start(c.showState);
    const HWND window = vantrel.WaitForMainWindow();
    ASSERT_NE(window, nullptr);
    // Windows gives a "Maximized" shortcut's state to the first show (Wine does not): the
    // frame must not grow even for the moment until the window is restored.
    LONG widest = 0;
    const auto watched = std::chrono::steady_clock::now() +
                         std::chrono::milliseconds{c.showState == SW_SHOWMAXIMIZED ? 600 : 0};
    WaitUntil(
        [&] {
            RECT frame{};
            if (GetWindowRect(window, &frame)) widest = std::max(widest, frame.right - frame.left);
            return std::chrono::steady_clock::now() >= watched;
        },
        kPatience, std::chrono::milliseconds{1});
    EXPECT_LE(widest, DesignedFrame(app::DpiForWindow(window)).cx) << "maximized";
    // Idle once the start has done all it does, bringing the window forward included.
    ASSERT_EQ(WaitForInputIdle(vantrel.Handle(), 15000), 0u);
    EXPECT_FALSE(IsZoomed(window)) << "maximized";
    if (!c.activated) {
        EXPECT_NE(GetForegroundWindow(), window) << "activated";
    }
    if (c.minimized) {
        EXPECT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; })) << "not minimized";
        ShowWindow(window, SW_RESTORE);
    } else if (!c.activated) {
        SwitchAwayAndBack(window);
    }
    EXPECT_TRUE(WaitUntil([&] { return vantrel.Focus() == GetDlgItem(window, kText1); }));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_EQ(ClientBox(window), DesignedClientBox(app::DpiForWindow(window)));
}

INSTANTIATE_TEST_SUITE_P(
    Start, StartShowStateTest,
    ::testing::Values(ShowStateCase{"Normal", SW_SHOWNORMAL, false, true},
                      ShowStateCase{"Minimized", SW_SHOWMINIMIZED, true, true},
                      ShowStateCase{"MinimizedInactive", SW_SHOWMINNOACTIVE, true, false},
                      // SW_MAXIMIZE has the same value.
                      ShowStateCase{"Maximized", SW_SHOWMAXIMIZED, false, true},
                      ShowStateCase{"NormalInactive", SW_SHOWNOACTIVATE, false, false},
                      ShowStateCase{"ShownInactive", SW_SHOWNA, false, false}),
    CaseName);

class StartupFailureTest : public VantrelRun {};

// Which failures the start tells apart is the native tables' to check; here, what the
// user sees of one.
TEST_F(StartupFailureTest, SaysWhyAndEndsWithCode1WithoutShowingTheWindow) {
    VantrelProcess& vantrel = Start();  // APPDATA without a Send To folder

    const HWND box = vantrel.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no message box; exit code "
                            << vantrel.WaitForExit(std::chrono::milliseconds(0)).value_or(-1);
    const std::wstring text = MessageBoxText(box);
    EXPECT_TRUE(text.starts_with(texts::kFolderUnreadable)) << ::testing::PrintToString(text);
    EXPECT_NE(text.find(SendToFolder()), std::wstring::npos) << ::testing::PrintToString(text);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "a box with more than OK";
    EXPECT_EQ(vantrel.FindMainWindow(), nullptr) << "the window outlives its failed load";

    DismissMessageBox(box);
    EXPECT_EQ(vantrel.WaitForExit(), std::optional<DWORD>(1));
    EXPECT_FALSE(vantrel.MainWindowSeen());
}

class CloseTest : public VantrelRun {};

TEST_F(CloseTest, ClosingTheWindowEndsTheProgramAtOnceWithCode0) {
    MakeSendToFolder();
    const HWND window = StartAndWaitForWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(PostMessageW(window, WM_CLOSE, 0, 0));
    EXPECT_EQ(Process().WaitForExit(), std::optional<DWORD>(0))
        << "still running; message box: " << (Process().FindMessageBox() != nullptr);
}

}  // namespace
}  // namespace vantrel::testing
