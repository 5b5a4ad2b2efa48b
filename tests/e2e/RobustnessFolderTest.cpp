#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/Layout.h"
#include "platform/win32/UniqueHandle.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/FolderSnapshot.h"
#include "tests/e2e/FormActions.h"
#include "tests/e2e/VantrelRun.h"
#include "tests/e2e/WindowQueries.h"
#include "tests/windows/RecycleBin.h"
#include "tests/windows/Wine.h"

namespace vantrel::testing {
namespace {

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
