#include <gtest/gtest.h>

#include "platform/Error.h"
#include "sendto/SendToForm.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/fakes/FakeFormControls.h"
#include "tests/fakes/FakePlatform.h"

namespace vantrel {
namespace {

using testing::FakeFormControls;
using testing::FakePlatform;
using Names = std::vector<std::wstring>;

constexpr wchar_t kSendTo[] = L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\SendTo";

std::wstring InSendTo(const std::wstring& name) {
    return std::wstring(kSendTo) + L"\\" + name;
}

struct DeleteCase {
    const char* name;
    // Listed by name, not as raw bytes.
    friend void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.name; }
    int selected;
    Names goneBeforeClick = {};  // removed by someone else after the list was filled
    Names locked = {};
    Names keptByUser = {};  // the user said No to the system's question
    Names messages = {};
    Names recycled = {};
    Names folderAfter;
    int reloads = 0;
};

class Command2Click : public ::testing::TestWithParam<DeleteCase> {
  protected:
    Command2Click() {
        platform.environment = {L"APPDATA=C:\\Users\\u\\AppData\\Roaming"};
        platform.folders[kSendTo] = {L"a.lnk", L"editor.lnk", L"z.lnk"};
        form.Form_Load();
    }

    FakePlatform platform;
    FakeFormControls controls;
    SendToForm form{platform, controls};
};

TEST_P(Command2Click, DeletesOnlyTheSelectedFile) {
    const auto& c = GetParam();
    auto& folder = platform.folders[kSendTo];
    for (const auto& name : c.goneBeforeClick) std::erase(folder, name);
    for (const auto& name : c.locked) platform.lockedFiles.insert(InSendTo(name));
    for (const auto& name : c.keptByUser) platform.keptByUser.insert(InSendTo(name));
    controls.listIndex = c.selected;
    Names messagesAtReload;
    controls.onReload = [&] { messagesAtReload = platform.messages; };

    form.Command2_Click();

    EXPECT_EQ(platform.messages, c.messages);
    EXPECT_EQ(platform.recycled, c.recycled);
    EXPECT_EQ(folder, c.folderAfter);
    EXPECT_EQ(controls.reloads, c.reloads);
    if (c.reloads) {
        EXPECT_EQ(messagesAtReload, c.messages) << "reloaded before telling the user";
    }
}

// The system's words with its code, as every failure reads.
const std::wstring kNotFound =
    std::wstring(texts::kDeleteFailed) + L"系统找不到指定的文件。（错误代码 0x00000002）";
const std::wstring kInUse =
    std::wstring(texts::kDeleteFailed) + FakePlatform::kInUse + L"（错误代码 0x00000020）";

const Names kAll = {L"a.lnk", L"editor.lnk", L"z.lnk"};

INSTANTIATE_TEST_SUITE_P(
    Selection, Command2Click,
    ::testing::Values(DeleteCase{.name = "NothingSelected",
                                 .selected = -1,
                                 .messages = {texts::kSelectFirst},
                                 .folderAfter = kAll},
                      DeleteCase{.name = "Selected",
                                 .selected = 1,
                                 .messages = {texts::kDeleted},
                                 .recycled = {InSendTo(L"editor.lnk")},
                                 .folderAfter = {L"a.lnk", L"z.lnk"},
                                 .reloads = 1},
                      DeleteCase{.name = "GoneFileIsReportedAndTheListRefreshed",
                                 .selected = 1,
                                 .goneBeforeClick = {L"editor.lnk"},
                                 .messages = {kNotFound},
                                 .folderAfter = {L"a.lnk", L"z.lnk"},
                                 .reloads = 1},
                      DeleteCase{.name = "FileInUseIsReportedAndKept",
                                 .selected = 2,
                                 .locked = {L"z.lnk"},
                                 .messages = {kInUse},
                                 .folderAfter = kAll},
                      DeleteCase{.name = "NoToThePermanentDeleteSaysNothingMore",
                                 .selected = 1,
                                 .keptByUser = {L"editor.lnk"},
                                 .folderAfter = kAll}),
    CaseName);

TEST(Command2ClickReload, FailureIsNotReportedAsAFailedDelete) {
    FakePlatform platform;
    FakeFormControls controls;
    SendToForm form{platform, controls};
    platform.environment = {L"APPDATA=C:\\Users\\u\\AppData\\Roaming"};
    platform.folders[kSendTo] = {L"editor.lnk"};
    form.Form_Load();
    controls.listIndex = 0;
    controls.onReload = [] { throw Error(L"无法重新加载窗口。"); };

    EXPECT_THROW(form.Command2_Click(), Error);
    EXPECT_EQ(platform.messages, Names{texts::kDeleted});
    EXPECT_EQ(platform.recycled, Names{InSendTo(L"editor.lnk")});
}

}  // namespace
}  // namespace vantrel
