#include <gtest/gtest.h>

#include <vector>

#include "app/Layout.h"
#include "sendto/Texts.h"
#include "tests/e2e/UserInput.h"
#include "tests/e2e/VantrelRun.h"
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

struct ListCase {
    const char* name;
    std::vector<Entry> files;
    std::vector<const wchar_t*> subfolders;
    std::vector<std::wstring> shown;
};

void PrintTo(const ListCase& value, std::ostream* out) {
    *out << value.name;
}

class StartListTest : public VantrelRun, public ::testing::WithParamInterface<ListCase> {};

TEST_P(StartListTest, ListsTheFolderWithNothingSelected) {
    const ListCase& folder = GetParam();
    for (const Entry& entry : folder.files) AddEntry(entry.name, entry.attributes);
    for (const wchar_t* subfolder : folder.subfolders) AddSubfolder(subfolder);
    MakeSendToFolder();

    const HWND window = StartAndWaitForWindow();
    ASSERT_NE(window, nullptr);
    const HWND list = GetDlgItem(window, kList1);
    EXPECT_EQ(ListItems(list), folder.shown);
    EXPECT_EQ(ListSelection(list), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, StartListTest,
    ::testing::Values(ListCase{"VisibleFilesByNameWithoutCase",
                               {{L"b.lnk"},
                                {L"A.lnk"},
                                {L"记事本.lnk"},
                                {L"😀 表情.lnk"},
                                {L"report.final.lnk"},
                                {L"readonly.lnk", FILE_ATTRIBUTE_READONLY},
                                {L"hidden.lnk", FILE_ATTRIBUTE_HIDDEN},
                                {L"system.lnk", FILE_ATTRIBUTE_SYSTEM},
                                {L"desktop.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM}},
                               {L"subfolder", L"folder.lnk"},
                               {L"A.lnk", L"b.lnk", L"readonly.lnk", L"report.final.lnk",
                                L"记事本.lnk", L"😀 表情.lnk"}},
                      ListCase{"EmptyFolder", {}, {}, {}},
                      ListCase{"OnlySubfolders", {}, {L"one", L"two"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

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

  private:
    HWND window_ = nullptr;
};

TEST_F(StartKeyboardTest, FocusStartsInText1ShowingThePlaceholder) {
    EXPECT_TRUE(WaitUntil([&] { return Process().Focus() == Control(kText1); }));
    EXPECT_EQ(Text(Control(kText1)), L"直接拖拽文件夹、exe或快捷方式至此");
}

TEST_F(StartKeyboardTest, TabCyclesThroughTheFourControlsInDesignOrder) {
    ASSERT_TRUE(WaitUntil([&] { return Process().Focus() == Control(kText1); }));
    for (const int id : {kCommand1, kCommand2, kList1, kText1, kCommand1}) {
        EXPECT_TRUE(TabTo(id)) << "focus did not reach control " << id;
    }
}

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
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartKeyboardTest, ClickSelectsOneItemAtATime) {
    const HWND list = Control(kList1);
    const auto itemHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(itemHeight, 0);
    for (const int item : {1, 0}) {
        Click(list, {20, item * itemHeight + itemHeight / 2});
        EXPECT_TRUE(WaitUntil([&] { return ListSelection(list) == item; }))
            << "item " << item << " was not selected";
    }
    EXPECT_EQ(SendMessageW(list, LB_GETSELCOUNT, 0, 0), LB_ERR) << "a multiple-selection list";
}

struct KeyCase {
    const char* name;
    int focused;  // the control that has the focus when the key is pressed
    WORD key;
    int next;  // where Tab goes from there
};

void PrintTo(const KeyCase& value, std::ostream* out) {
    *out << value.name;
}

class NoButtonKeyTest : public StartKeyboardTest, public ::testing::WithParamInterface<KeyCase> {};

// Nothing the program does shows until its handlers run; Tab after the key proves
// the key was handled, since input is taken in order.
TEST_P(NoButtonKeyTest, PressesNoButton) {
    const KeyCase& press = GetParam();
    ASSERT_TRUE(WaitUntil([&] { return Process().Focus() == Control(kText1); }));
    for (const int id : {kCommand1, kCommand2, kList1}) {
        if (Process().Focus() == Control(press.focused)) break;
        ASSERT_TRUE(TabTo(id));
    }
    const std::vector<std::wstring> items = ListItems(Control(kList1));
    const std::wstring text = Text(Control(kText1));

    PressKey(Window(), press.key);
    EXPECT_TRUE(TabTo(press.next)) << "the key took the focus away";
    EXPECT_EQ(Process().FindMessageBox(), nullptr);
    EXPECT_EQ(Process().FindMainWindow(), Window());
    EXPECT_TRUE(IsWindowVisible(Window()));
    EXPECT_EQ(ListItems(Control(kList1)), items);
    EXPECT_EQ(Text(Control(kText1)), text);
}

INSTANTIATE_TEST_SUITE_P(Keys, NoButtonKeyTest,
                         ::testing::Values(KeyCase{"EnterInText1", kText1, VK_RETURN, kCommand1},
                                           KeyCase{"EscInText1", kText1, VK_ESCAPE, kCommand1},
                                           KeyCase{"EscOnCommand1", kCommand1, VK_ESCAPE,
                                                   kCommand2},
                                           KeyCase{"EscOnCommand2", kCommand2, VK_ESCAPE, kList1},
                                           KeyCase{"EscInList1", kList1, VK_ESCAPE, kText1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vantrel::testing
