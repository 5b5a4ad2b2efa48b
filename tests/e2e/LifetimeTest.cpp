#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/VantrelRun.h"

namespace vantrel::testing {
namespace {

enum class AppDataGiven { kNone, kEmpty, kWithoutSendTo };

struct StartupFailureCase {
    const char* name;
    AppDataGiven appData;
    std::wstring message;  // the whole text, or its start when it names the folder
    bool namesTheFolder;
};

void PrintTo(const StartupFailureCase& value, std::ostream* out) {
    *out << value.name;
}

class StartupFailureTest : public VantrelRun,
                           public ::testing::WithParamInterface<StartupFailureCase> {};

TEST_P(StartupFailureTest, SaysWhyAndEndsWithCode1WithoutShowingTheWindow) {
    const StartupFailureCase& failure = GetParam();
    const std::optional<std::wstring> appData =
        failure.appData == AppDataGiven::kNone    ? std::nullopt
        : failure.appData == AppDataGiven::kEmpty ? std::optional<std::wstring>(L"")
                                                  : std::optional<std::wstring>(AppData());
    VantrelProcess& vantrel = StartWithAppData(appData);

    const HWND box = vantrel.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no message box; exit code "
                            << vantrel.WaitForExit(std::chrono::milliseconds(0)).value_or(-1);
    const std::wstring text = MessageBoxText(box);
    if (failure.namesTheFolder) {
        EXPECT_TRUE(text.starts_with(failure.message)) << ::testing::PrintToString(text);
        EXPECT_NE(text.find(SendToFolder()), std::wstring::npos) << ::testing::PrintToString(text);
    } else {
        EXPECT_EQ(text, failure.message);
    }
    EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "a box with more than OK";
    EXPECT_EQ(vantrel.FindMainWindow(), nullptr) << "the window outlives its failed load";

    DismissMessageBox(box);
    EXPECT_EQ(vantrel.WaitForExit(), std::optional<DWORD>(1));
    EXPECT_FALSE(vantrel.MainWindowSeen());
}

INSTANTIATE_TEST_SUITE_P(Failures, StartupFailureTest,
                         ::testing::Values(StartupFailureCase{"NoAppData", AppDataGiven::kNone,
                                                              texts::kAppDataMissing, false},
                                           StartupFailureCase{"EmptyAppData", AppDataGiven::kEmpty,
                                                              texts::kAppDataEmpty, false},
                                           StartupFailureCase{"NoSendToFolder",
                                                              AppDataGiven::kWithoutSendTo,
                                                              texts::kFolderUnreadable, true}),
                         CaseName);

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
