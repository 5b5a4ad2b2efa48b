#include <gtest/gtest.h>

#include <optional>

#include "app/Layout.h"
#include "app/ScopedInitialization.h"
#include "app/StartArgument.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/FormActions.h"
#include "tests/e2e/VantrelRun.h"
#include "tests/e2e/Wait.h"
#include "tests/e2e/WindowQueries.h"
#include "tests/windows/ShellLink.h"

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

TEST_F(AddThroughTheWindow, TakenNameGetsANumberAndTheOldFileStays) {
    const std::string oldBytes = "an earlier editor shortcut";
    const std::wstring old = AddEntry(L"editor.lnk", FILE_ATTRIBUTE_NORMAL, oldBytes);
    const std::wstring program = MakeProgram(L"Tools\\editor.exe");
    StartAndWaitForWindow();

    EXPECT_EQ(AddAndExpectCreated(program, L"editor (2).lnk"), program);
    EXPECT_EQ(FileBytes(old), oldBytes);
    EXPECT_TRUE(Lists(Process().FindMainWindow(), L"editor.lnk"));
}

struct TargetCase {
    const char* name;
    const wchar_t* relative;  // below APPDATA
    bool folder;
    const wchar_t* before;  // typed around the path
    const wchar_t* after;
    const wchar_t* shortcut;
    bool sent = false;  // handed on the command line, as Explorer's "Send to" does, not typed
    bool relativeToCaller = false;  // sent as `relative`, from APPDATA as the current folder
};

class AddTarget : public AddThroughTheWindow, public ::testing::WithParamInterface<TargetCase> {};

TEST_P(AddTarget, BecomesAShortcutNamedAfterIt) {
    const TargetCase& c = GetParam();
    const std::wstring target =
        c.folder ? AppDataFolder().AddFolder(c.relative) : MakeProgram(c.relative);
    MakeSendToFolder();
    const std::wstring text = c.before + (c.relativeToCaller ? c.relative : target) + c.after;
    const HWND form =
        Start(ChildEnvironment::Current().Set(L"APPDATA", AppData()), SW_SHOWDEFAULT,
              c.sent ? text : std::wstring(), c.relativeToCaller ? AppData() : std::wstring())
            .WaitForMainWindow();
    ASSERT_NE(form, nullptr);
    if (c.sent) {
        EXPECT_EQ(Text(GetDlgItem(form, app::kText1)), target);
    }

    const auto typed = c.sent ? std::nullopt : std::optional(text);
    EXPECT_EQ(AddAndExpectCreated(typed, c.shortcut), target);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, AddTarget,
    ::testing::Values(
        TargetCase{"Folder", L"Data\\Photos", true, L"", L"", L"Photos.lnk"},
        // The shortcut points at the dropped shortcut itself, not at what it points to.
        TargetCase{"Shortcut", L"Links\\Notes.lnk", false, L"", L"", L"Notes.lnk"},
        TargetCase{"QuotedWithSpaces", L"My Tools\\x.exe", false, L"  \"", L"\" ", L"x.lnk"},
        TargetCase{"UnicodeName", L"工具\\记事本.exe", false, L"", L"", L"记事本.lnk"},
        // Quoted for its space; of several files, the first is taken.
        TargetCase{"SentToVantrel", L"My Tools\\x.exe", false, L"\"", L"\" C:\\other.exe", L"x.lnk",
                   true},
        // Typed in a console in the program's folder: shown in full, added with one press.
        TargetCase{"SentRelativeToTheCallersFolder", L"Tools\\tool.exe", false, L"", L"",
                   L"tool.lnk", true, true}),
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

}  // namespace
}  // namespace vantrel::testing
