#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "sendto/Texts.h"
#include "tests/e2e/VantrelRun.h"

namespace vantrel::testing {
namespace {

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
