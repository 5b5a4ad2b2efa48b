#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/Layout.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/e2e/FolderSnapshot.h"
#include "tests/e2e/VantrelRun.h"
#include "tests/e2e/WindowQueries.h"

namespace vantrel::testing {
namespace {

constexpr wchar_t kSendToSuffix[] = L"\\Microsoft\\Windows\\SendTo";

// Close to the 32,767 characters a variable can hold; a folder this deep cannot
// exist, so the program must name it in its failure instead of crashing.
std::wstring LongMissingAppData() {
    std::wstring value = L"C:\\vantrel-missing";
    while (value.size() < 32000 - 200) value += L"\\" + std::wstring(199, L'd');
    return value;
}

// How a case shapes the environment around this run's APPDATA folder.
using Shape = std::function<void(ChildEnvironment&, const std::wstring& appData)>;

struct EnvironmentCase {
    const char* name;
    Shape shape;
    // Empty: the window opens and lists the folder. Otherwise the start of the message.
    std::wstring message;
    std::wstring named = {};  // what the message must name, when anything
};

void PrintTo(const EnvironmentCase& value, std::ostream* out) {
    *out << value.name;
}

class EnvironmentTest : public VantrelRun, public ::testing::WithParamInterface<EnvironmentCase> {};

TEST_P(EnvironmentTest, OpensOnTheRightFolderOrSaysWhyAndChangesNothing) {
    const EnvironmentCase& environment = GetParam();
    AddEntry(L"a.lnk");
    const FolderSnapshot before = TakeSnapshot(SendToFolder());
    ChildEnvironment child = ChildEnvironment::Current().Set(L"APPDATA", AppData());
    environment.shape(child, AppData());
    VantrelProcess& vantrel = Start(child);

    if (environment.message.empty()) {
        const HWND window = vantrel.WaitForMainWindow();
        ASSERT_NE(window, nullptr)
            << "no window; message box: " << (vantrel.FindMessageBox() != nullptr);
        EXPECT_EQ(ListItems(GetDlgItem(window, app::kList1)), std::vector<std::wstring>{L"a.lnk"});
    } else {
        const HWND box = vantrel.WaitForMessageBox();
        ASSERT_NE(box, nullptr) << "no message box";
        const std::wstring text = MessageBoxText(box);
        EXPECT_TRUE(text.starts_with(environment.message)) << ::testing::PrintToString(text);
        EXPECT_NE(text.find(environment.named), std::wstring::npos)
            << ::testing::PrintToString(text.substr(0, 200));
        DismissMessageBox(box);
        EXPECT_EQ(vantrel.WaitForExit(), std::optional<DWORD>(1));
        EXPECT_FALSE(vantrel.MainWindowSeen());
    }
    EXPECT_TRUE(ChangedNames(before, TakeSnapshot(SendToFolder())).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Environments, EnvironmentTest,
    ::testing::Values(
        EnvironmentCase{"FortyThousandEntries",
                        [](ChildEnvironment& child, const std::wstring&) {
                            for (int i = 0; i < 40000; ++i) {
                                child.Append(L"VANTREL_FILLER_" + std::to_wstring(i) + L"=x");
                            }
                        },
                        {}},
        EnvironmentCase{"AppDataLast",
                        [](ChildEnvironment& child, const std::wstring& appData) {
                            child.Set(L"APPDATA", appData).KeepOrder();
                        },
                        {}},
        EnvironmentCase{"AppDataFirst",
                        [](ChildEnvironment& child, const std::wstring&) {
                            child.MoveToFront(L"APPDATA").KeepOrder();
                        },
                        {}},
        EnvironmentCase{"LowerCaseName",
                        [](ChildEnvironment& child, const std::wstring& appData) {
                            child.Set(L"APPDATA", std::nullopt).Set(L"appdata", appData);
                        },
                        {}},
        // Entries that merely contain the name come first and must not be taken for it.
        EnvironmentCase{"LookalikesBeforeIt",
                        [](ChildEnvironment& child, const std::wstring& appData) {
                            child.Set(L"=C:", L"C:\\")
                                .Set(L"=APPDATA", L"C:\\hidden")
                                .Set(L"LOCALAPPDATA", L"C:\\local")
                                .Set(L"VANTREL_NOTE", L"APPDATA=C:\\note")
                                .Set(L"APPDATA", appData)
                                .KeepOrder();
                        },
                        {}},
        EnvironmentCase{"Absent",
                        [](ChildEnvironment& child, const std::wstring&) {
                            child.Set(L"APPDATA", std::nullopt).Set(L"=APPDATA", L"C:\\hidden");
                        },
                        texts::kAppDataMissing},
        EnvironmentCase{
            "Empty",
            [](ChildEnvironment& child, const std::wstring&) { child.Set(L"APPDATA", L""); },
            texts::kAppDataEmpty},
        EnvironmentCase{"ThirtyTwoThousandCharactersMissing",
                        [](ChildEnvironment& child, const std::wstring&) {
                            child.Set(L"APPDATA", LongMissingAppData());
                        },
                        texts::kFolderUnreadable, LongMissingAppData() + kSendToSuffix}),
    CaseName);

}  // namespace
}  // namespace vantrel::testing
