#include <gtest/gtest.h>

#include "platform/Error.h"
#include "sendto/SendToForm.h"
#include "sendto/Texts.h"
#include "tests/fakes/FakeFormControls.h"
#include "tests/fakes/FakePlatform.h"

namespace vantrel {
namespace {

using testing::FakeFormControls;
using testing::FakePlatform;

constexpr wchar_t kSendTo[] = L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\SendTo";

class FormLoad : public ::testing::Test {
  protected:
    FormLoad() {
        platform.environment = {L"APPDATA=C:\\Users\\u\\AppData\\Roaming"};
        platform.folders[kSendTo] = {L"Bluetooth.LNK", L"report.final.lnk", L"记事本.lnk",
                                     L"😀 x .lnk"};
    }

    std::wstring LoadFailure() {
        try {
            form.Form_Load();
        } catch (const Error& e) {
            return e.Message();
        }
        ADD_FAILURE() << "the load succeeded";
        return {};
    }

    FakePlatform platform;
    FakeFormControls controls;
    SendToForm form{platform, controls};
};

TEST_F(FormLoad, EmptyFolderGivesEmptyList) {
    platform.folders[kSendTo].clear();
    controls.list1 = {L"stale.lnk"};
    form.Form_Load();
    EXPECT_TRUE(controls.list1.empty());
}

TEST_F(FormLoad, ReadsTheEnvironmentAfreshAtEveryLoad) {
    form.Form_Load();
    platform.environment = {L"APPDATA=E:\\Moved"};
    platform.folders[L"E:\\Moved\\Microsoft\\Windows\\SendTo"] = {L"new.lnk"};
    form.Form_Load();
    EXPECT_EQ(form.lj(), L"E:\\Moved\\Microsoft\\Windows\\SendTo");
    EXPECT_EQ(controls.list1, std::vector<std::wstring>{L"new.lnk"});
}

TEST_F(FormLoad, MissingFolderNamesThePathAndTheCauseAndChangesNothing) {
    form.Form_Load();
    const auto shown = controls.list1;
    platform.folders.erase(kSendTo);

    const auto message = LoadFailure();
    EXPECT_TRUE(message.starts_with(texts::kFolderUnreadable)) << message.size();
    EXPECT_NE(message.find(kSendTo), std::wstring::npos);
    EXPECT_NE(message.find(L"系统找不到指定的路径。"), std::wstring::npos);
    EXPECT_EQ(form.lj(), kSendTo);
    EXPECT_EQ(controls.list1, shown);
}

TEST_F(FormLoad, MissingAppDataFailsBeforeListing) {
    platform.environment = {L"PATH=C:\\Windows"};
    controls.list1 = {L"kept.lnk"};
    EXPECT_EQ(LoadFailure(), texts::kAppDataMissing);
    EXPECT_EQ(controls.list1, std::vector<std::wstring>{L"kept.lnk"});
    EXPECT_TRUE(form.lj().empty());
}

}  // namespace
}  // namespace vantrel
