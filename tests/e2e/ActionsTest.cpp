#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/Layout.h"
#include "app/ScopedInitialization.h"
#include "app/StartArgument.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/FormActions.h"
#include "tests/e2e/VantrelRun.h"
#include "tests/e2e/Wait.h"
#include "tests/e2e/WindowQueries.h"
#include "tests/windows/RecycleBin.h"
#include "tests/windows/ShellLink.h"

namespace vantrel::testing {
namespace {

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
        EXPECT_GE(EntryIndex(after, shortcut), 0) << "the new entry is not listed";
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

// Sent on the command line, as Explorer's "Send to" does: shown in Text1, added with one press.
struct SentCase {
    const char* name;
    const wchar_t* relative;  // the program, below APPDATA
    const wchar_t* before;    // sent around its full path (or its relative one)
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
    const HWND form = Start(SW_SHOWDEFAULT, sent, c.relativeToCaller ? AppData() : std::wstring())
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
                             SentCase{"SentRelativeToTheCallersFolder", L"Tools\\tool.exe", L".\\",
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

// The delete button through the real window, on a name a wrong locale would garble.
class DeleteThroughTheWindow : public VantrelRun {};

TEST_F(DeleteThroughTheWindow, UnicodeShortcutAddedThenDeleted) {
    const std::wstring stem = UniqueName(L"记事本-", L"");
    const std::wstring shortcut = SendToFolder() + L"\\" + stem + L".lnk";
    const std::wstring program =
        AppDataFolder().AddFile(L"工具\\" + stem + L".exe", FILE_ATTRIBUTE_NORMAL, "MZ");
    MakeSendToFolder();
    const HWND first = StartAndWaitForWindow();
    EXPECT_EQ(Add(Process(), program), texts::kCreated);
    const HWND second = WaitForNewMainWindow(Process(), first);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(EntryIndex(second, stem + L".lnk"), 0);
    const std::string bytes = FileBytes(shortcut);

    EXPECT_EQ(Delete(Process(), 0), texts::kDeleted);
    const HWND third = WaitForNewMainWindow(Process(), second);
    ASSERT_NE(third, nullptr) << "the window was not rebuilt";
    EXPECT_EQ(ListItems(GetDlgItem(third, app::kList1)), std::vector<std::wstring>{});
    ExpectRecycledThenErase(shortcut, bytes);
}

}  // namespace
}  // namespace vantrel::testing
