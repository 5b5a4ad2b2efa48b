#include <gtest/gtest.h>

#include "app/Layout.h"
#include "sendto/Texts.h"
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

}  // namespace
}  // namespace vantrel::testing
