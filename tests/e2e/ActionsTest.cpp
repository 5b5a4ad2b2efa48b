#include <gtest/gtest.h>

#include "app/Layout.h"
#include "sendto/Texts.h"
#include "tests/e2e/FormActions.h"
#include "tests/e2e/VantrelRun.h"
#include "tests/e2e/Wait.h"
#include "tests/e2e/WindowQueries.h"

namespace vantrel::testing {
namespace {

using Actions = VantrelRun;

// The whole add cycle through the real window: message, reload, new entry listed.
TEST_F(Actions, AddingAProgramListsItsShortcutAfterTheReload) {
    AddEntry(L"old.lnk");
    const std::wstring program = AppData() + L"\\Tools\\editor.exe";
    CreateDirectoryW((AppData() + L"\\Tools").c_str(), nullptr);
    CloseHandle(CreateFileW(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    const HWND before = StartAndWaitForWindow();

    EXPECT_EQ(Add(Process(), program), texts::kCreated);
    const HWND after = WaitForNewMainWindow(Process(), before);
    ASSERT_NE(after, nullptr) << "the window was not rebuilt";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(before); })) << "the old window stayed";
    EXPECT_EQ(Text(GetDlgItem(after, app::kText1)), texts::kPlaceholder);
    EXPECT_EQ(ListItems(GetDlgItem(after, app::kList1)),
              (std::vector<std::wstring>{L"editor.lnk", L"old.lnk"}));
}

}  // namespace
}  // namespace vantrel::testing
