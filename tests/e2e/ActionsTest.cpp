#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/Layout.h"
#include "app/ScopedInitialization.h"
#include "app/StartArgument.h"
#include "platform/win32/UniqueHandle.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/FolderSnapshot.h"
#include "tests/e2e/FormActions.h"
#include "tests/e2e/VantrelRun.h"
#include "tests/e2e/Wait.h"
#include "tests/e2e/WindowQueries.h"
#include "tests/windows/RecycleBin.h"
#include "tests/windows/ShellLink.h"
#include "tests/windows/Wine.h"

namespace vantrel::testing {
namespace {

bool Lists(HWND form, const std::wstring& item) {
    return EntryIndex(form, item) >= 0;
}

// The add button through the real window. COM is up for reading shortcuts back.
class AddThroughTheWindow : public VantrelRun {
  protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(ole_.Result())); }

    std::wstring MakeProgram(const std::wstring& relative) {
        return AppDataFolder().AddFile(relative, FILE_ATTRIBUTE_NORMAL, "MZ");
    }

    // Adds `text`, or what Text1 holds for nullopt, and expects success: the window rebuilt
    // where it was, Text1 back to the placeholder and `shortcut` listed. Returns the
    // shortcut's target.
    std::wstring AddAndExpectCreated(const std::optional<std::wstring>& text,
                                     const std::wstring& shortcut) {
        const HWND before = Process().FindMainWindow();
        const RECT place = RectInParent(before);
        if (text) SetText1(before, *text);
        PostClick(before, app::kCommand1);
        EXPECT_EQ(TakeMessage(Process()), texts::kCreated);
        const HWND after = WaitForNewMainWindow(Process(), before);
        if (!after) {
            ADD_FAILURE() << "the window was not rebuilt";
            return {};
        }
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(before); })) << "the old window stayed";
        const RECT now = RectInParent(after);
        EXPECT_EQ(now.left, place.left);
        EXPECT_EQ(now.top, place.top);
        EXPECT_EQ(Text(GetDlgItem(after, app::kText1)), texts::kPlaceholder);
        EXPECT_TRUE(Lists(after, shortcut)) << "the new entry is not listed";
        const std::wstring path = SendToFolder() + L"\\" + shortcut;
        if (!PathExists(path)) {
            ADD_FAILURE() << "no shortcut file was written";
            return {};
        }
        return ShortcutTarget(path);
    }

  private:
    app::ScopedOle ole_;
};

TEST_F(AddThroughTheWindow, ProgramBecomesAShortcutToIt) {
    AddEntry(L"old.lnk");
    const std::wstring program = MakeProgram(L"Tools\\editor.exe");
    StartAndWaitForWindow();

    EXPECT_EQ(AddAndExpectCreated(program, L"editor.lnk"), program);
    EXPECT_TRUE(Lists(Process().FindMainWindow(), L"old.lnk"));
}

// Sent on the command line, as Explorer's "Send to" does: shown in Text1, added with one press.
struct SentCase {
    const char* name;
    const wchar_t* relative;  // the program, below APPDATA
    const wchar_t* before;    // sent around its full path
    const wchar_t* after;
    const wchar_t* shortcut;
    bool relativeToCaller = false;  // sent as `relative`, from APPDATA as the current folder
};

class AddTarget : public AddThroughTheWindow, public ::testing::WithParamInterface<SentCase> {};

TEST_P(AddTarget, BecomesAShortcutNamedAfterIt) {
    const SentCase& c = GetParam();
    const std::wstring target = MakeProgram(c.relative);
    MakeSendToFolder();
    const std::wstring sent = c.before + (c.relativeToCaller ? c.relative : target) + c.after;
    const HWND form = Start(ChildEnvironment::Current().Set(L"APPDATA", AppData()), SW_SHOWDEFAULT,
                            sent, c.relativeToCaller ? AppData() : std::wstring())
                          .WaitForMainWindow();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(Text(GetDlgItem(form, app::kText1)), target);
    EXPECT_EQ(AddAndExpectCreated(std::nullopt, c.shortcut), target);
}

INSTANTIATE_TEST_SUITE_P(Actions, AddTarget,
                         ::testing::Values(
                             // Quoted for its space; of several files, the first is taken.
                             SentCase{"SentToVantrel", L"My Tools\\x.exe", L"\"",
                                      L"\" C:\\other.exe", L"x.lnk"},
                             // Typed in a console in the program's folder.
                             SentCase{"SentRelativeToTheCallersFolder", L"Tools\\tool.exe", L"",
                                      L"", L"tool.lnk", true}),
                         CaseName);

struct ArgumentCase {
    const char* name;
    const wchar_t* argument;  // after the program's name; null for no values at all
    const wchar_t* expected;
};

class StartArgument : public ::testing::TestWithParam<ArgumentCase> {};

// In process: what the C runtime split becomes Text1's text. A relative name is the
// console case above.
TEST_P(StartArgument, IsTheFirstAsItCameOrNone) {
    const ArgumentCase& c = GetParam();
    const wchar_t* const values[] = {L"Vantrel.exe", c.argument, nullptr};
    EXPECT_EQ(app::FirstArgument(2, c.argument ? values : nullptr), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Start, StartArgument,
    ::testing::Values(
        // The runtime could not split the command line: the window opens all the same.
        ArgumentCase{"RuntimeGaveNoValues", nullptr, L""},
        ArgumentCase{"AbsoluteAsItCame", L"C:\\a\\..\\b.exe", L"C:\\a\\..\\b.exe"},
        ArgumentCase{"UncAsItCame", L"\\\\server\\share\\.\\b.exe",
                     L"\\\\server\\share\\.\\b.exe"}),
    CaseName);

// The delete button through the real window.
class DeleteThroughTheWindow : public VantrelRun {
  protected:
    // Deletes `name` by selecting it; returns the answer and, through `after`, the
    // window shown once the click has ended.
    std::wstring DeleteEntry(const std::wstring& name, HWND& after) {
        const HWND before = Process().FindMainWindow();
        const int index = EntryIndex(before, name);
        if (index < 0) {
            ADD_FAILURE() << "the entry is not listed";
            return {};
        }
        std::wstring answer = Delete(Process(), index);
        after = WaitForNewMainWindow(Process(), before);
        return answer;
    }

    void ExpectRecycled(const std::wstring& name, const std::string& bytes) {
        ExpectRecycledThenErase(SendToFolder() + L"\\" + name, bytes);
    }
};

TEST_F(DeleteThroughTheWindow, NothingSelectedAsksForASelection) {
    AddEntry(L"a.lnk", FILE_ATTRIBUTE_NORMAL, "a");
    AddEntry(L"b.lnk", FILE_ATTRIBUTE_NORMAL, "b");
    const FolderSnapshot before = TakeSnapshot(SendToFolder());
    const HWND form = StartAndWaitForWindow();

    EXPECT_EQ(Delete(Process(), -1), texts::kSelectFirst);
    Ask(form, WM_NULL);  // the click has ended by the answer
    EXPECT_EQ(Process().FindMainWindow(), form) << "the window was reloaded";
    EXPECT_EQ(TakeSnapshot(SendToFolder()), before);
}

// Read-only entries go too: the Recycle Bin takes them as the shell does. The entry
// lists second, so the delete must take the selection, not the top entry.
TEST_F(DeleteThroughTheWindow, SelectedEntryGoesToTheRecycleBinAndTheListReloads) {
    const std::wstring name = UniqueName(L"readonly-", L".lnk");
    const std::string bytes = "the shortcut to delete";
    AddEntry(name, FILE_ATTRIBUTE_READONLY, bytes);
    AddEntry(L"neighbour.lnk", FILE_ATTRIBUTE_NORMAL, "neighbour");
    StartAndWaitForWindow();
    const FolderSnapshot before = TakeSnapshot(SendToFolder());

    HWND after = nullptr;
    EXPECT_EQ(DeleteEntry(name, after), texts::kDeleted);
    ASSERT_NE(after, nullptr) << "the window was not rebuilt";
    EXPECT_EQ(ListItems(GetDlgItem(after, app::kList1)),
              std::vector<std::wstring>{L"neighbour.lnk"});
    EXPECT_EQ(ChangedNames(before, TakeSnapshot(SendToFolder())), std::set<std::wstring>{name});
    ExpectRecycled(name, bytes);
}

TEST_F(DeleteThroughTheWindow, UnicodeShortcutAddedThenDeleted) {
    const std::wstring stem = UniqueName(L"记事本-", L"");
    const std::wstring program =
        AppDataFolder().AddFile(L"工具\\" + stem + L".exe", FILE_ATTRIBUTE_NORMAL, "MZ");
    MakeSendToFolder();
    const HWND first = StartAndWaitForWindow();
    EXPECT_EQ(Add(Process(), program), texts::kCreated);
    ASSERT_NE(WaitForNewMainWindow(Process(), first), nullptr);
    const std::string bytes = FileBytes(SendToFolder() + L"\\" + stem + L".lnk");

    HWND after = nullptr;
    EXPECT_EQ(DeleteEntry(stem + L".lnk", after), texts::kDeleted);
    ASSERT_NE(after, nullptr) << "the window was not rebuilt";
    EXPECT_EQ(ListItems(GetDlgItem(after, app::kList1)), std::vector<std::wstring>{});
    ExpectRecycled(stem + L".lnk", bytes);
}

using Names = std::vector<std::wstring>;

// Past MAX_PATH the program must still list, add and delete.
class LongFolderTest : public VantrelRun {};

TEST_F(LongFolderTest, ListsAddsAndDeletesPast260Characters) {
    const std::wstring deep = std::wstring(120, L'p') + L"\\" + std::wstring(120, L'q');
    const std::wstring appData = AppData() + L"\\" + deep;
    const std::wstring sendTo = appData + L"\\" + kSendToBelowAppData;
    ASSERT_GT(sendTo.size(), 260u);
    AddAppDataFile(deep + L"\\" + kSendToBelowAppData + L"\\gone.lnk");
    AddAppDataFile(deep + L"\\" + kSendToBelowAppData + L"\\kept.lnk");
    const std::wstring program = AddAppDataFile(L"Tools\\editor.exe");

    const HWND first = StartWithAppData(appData).WaitForMainWindow();
    ASSERT_NE(first, nullptr) << "message: " << ::testing::PrintToString(TakeMessage(Process()));
    EXPECT_EQ(ListItems(GetDlgItem(first, app::kList1)), (Names{L"gone.lnk", L"kept.lnk"}));

    FolderSnapshot before = TakeSnapshot(sendTo);
    EXPECT_EQ(Add(Process(), program), texts::kCreated);
    const HWND second = WaitForNewMainWindow(Process(), first);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(ListItems(GetDlgItem(second, app::kList1)),
              (Names{L"editor.lnk", L"gone.lnk", L"kept.lnk"}));
    EXPECT_EQ(ChangedNames(before, TakeSnapshot(sendTo)), std::set<std::wstring>{L"editor.lnk"});

    before = TakeSnapshot(sendTo);
    EXPECT_EQ(Delete(Process(), 1), texts::kDeleted);
    const HWND third = WaitForNewMainWindow(Process(), second);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(ListItems(GetDlgItem(third, app::kList1)), (Names{L"editor.lnk", L"kept.lnk"}));
    EXPECT_EQ(ChangedNames(before, TakeSnapshot(sendTo)), std::set<std::wstring>{L"gone.lnk"});
    ExpectRecycledThenErase(sendTo + L"\\gone.lnk");
}

struct DeleteCase {
    const char* name;
    ShellAnswer answer;    // to the shell, for the file this test holds open sharing nothing
    std::wstring message;  // the start of Vantrel's answer; empty: none
};

void PrintTo(const DeleteCase& value, std::ostream* out) {
    *out << value.name;
}

class DeleteFileTest : public VantrelRun, public ::testing::WithParamInterface<DeleteCase> {};

// A file another program holds open stays, and the list with it.
TEST_P(DeleteFileTest, RemovesOnlyTheSelectedFileOrNothing) {
    const DeleteCase& deletion = GetParam();
    if (deletion.answer == ShellAnswer::kDeleteForGood && !RunningOnWine()) {
        GTEST_SKIP() << "Windows offers no deleting a file in use, only Try Again and Cancel";
    }
    AddEntry(L"a.lnk");
    const std::wstring target = AddEntry(L"target.lnk");
    AddEntry(L"z.lnk");
    const win32::UniqueKernelHandle held(CreateFileW(
        target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
    const FolderSnapshot before = TakeSnapshot(SendToFolder());
    const HWND window = StartAndWaitForWindow();
    ASSERT_NE(window, nullptr);

    SelectListItem(window, 1);
    PostClick(window, app::kCommand2);
    // The user learns why the file stays from the shell or from Vantrel, never from neither:
    // after the shell's question cancelled, a message from Vantrel would be one too many.
    EXPECT_EQ(AnswerShellOnAFileInUse(Process(), deletion.answer), window)
        << "the shell's words may open behind the window";
    if (deletion.message.empty()) {
        EXPECT_TRUE(NoMessageFollows(Process())) << MessageBoxText(Process().FindMessageBox());
    } else {
        const std::wstring message = TakeMessage(Process());
        EXPECT_TRUE(message.starts_with(deletion.message)) << ::testing::PrintToString(message);
    }
    EXPECT_TRUE(ChangedNames(before, TakeSnapshot(SendToFolder())).empty());
    EXPECT_EQ(Process().FindMainWindow(), window) << "rebuilt after a failed delete";
    EXPECT_EQ(ListItems(GetDlgItem(window, app::kList1)),
              (Names{L"a.lnk", L"target.lnk", L"z.lnk"}));
}

INSTANTIATE_TEST_SUITE_P(
    Files, DeleteFileTest,
    ::testing::Values(DeleteCase{"HeldOpenAndCancelled", ShellAnswer::kCancel, L""},
                      DeleteCase{"HeldOpenAndDeletedForGood", ShellAnswer::kDeleteForGood,
                                 texts::kDeleteFailed}),
    CaseName);

}  // namespace
}  // namespace vantrel::testing
