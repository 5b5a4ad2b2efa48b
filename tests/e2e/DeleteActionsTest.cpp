#include <gtest/gtest.h>

#include "app/Layout.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/FolderSnapshot.h"
#include "tests/e2e/FormActions.h"
#include "tests/e2e/VantrelRun.h"
#include "tests/e2e/Wait.h"
#include "tests/e2e/WindowQueries.h"
#include "tests/windows/RecycleBin.h"

namespace vantrel::testing {
namespace {

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

TEST_F(DeleteThroughTheWindow, EntryGoneBehindTheListIsReportedAndDropped) {
    const std::wstring gone = AddEntry(L"gone.lnk");
    AddEntry(L"kept.lnk", FILE_ATTRIBUTE_NORMAL, "kept");
    StartAndWaitForWindow();
    ASSERT_TRUE(DeleteFileW(gone.c_str()));
    const FolderSnapshot before = TakeSnapshot(SendToFolder());

    HWND after = nullptr;
    EXPECT_TRUE(DeleteEntry(L"gone.lnk", after).starts_with(texts::kDeleteFailed));
    ASSERT_NE(after, nullptr) << "the list was not reloaded";
    EXPECT_EQ(ListItems(GetDlgItem(after, app::kList1)), std::vector<std::wstring>{L"kept.lnk"});
    EXPECT_EQ(TakeSnapshot(SendToFolder()), before);
}

struct RecycledCase {
    const char* name;
    const wchar_t* stem;
    DWORD attributes;
};

class DeleteSelected : public DeleteThroughTheWindow,
                       public ::testing::WithParamInterface<RecycledCase> {};

// Read-only entries go too: the Recycle Bin takes them as the shell does.
TEST_P(DeleteSelected, MovesTheEntryToTheRecycleBinAndReloads) {
    const RecycledCase& c = GetParam();
    const std::wstring name = UniqueName(c.stem, L".lnk");
    const std::string bytes = "the shortcut to delete";
    AddEntry(name, c.attributes, bytes);
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

INSTANTIATE_TEST_SUITE_P(
    Actions, DeleteSelected,
    ::testing::Values(RecycledCase{"Plain", L"editor-", FILE_ATTRIBUTE_NORMAL},
                      RecycledCase{"ReadOnly", L"readonly-", FILE_ATTRIBUTE_READONLY},
                      RecycledCase{"UnicodeName", L"记事本-", FILE_ATTRIBUTE_NORMAL}),
    CaseName);

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

}  // namespace
}  // namespace vantrel::testing
