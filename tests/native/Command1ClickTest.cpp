#include <gtest/gtest.h>

#include <algorithm>

#include "sendto/SendToForm.h"
#include "sendto/Texts.h"
#include "tests/CaseName.h"
#include "tests/fakes/FakeAutomation.h"
#include "tests/fakes/FakeFormControls.h"
#include "tests/fakes/FakePlatform.h"

namespace vantrel {
namespace {

using testing::AutomationLog;
using testing::FakeFormControls;
using testing::FakePlatform;
using Calls = std::vector<std::wstring>;

constexpr wchar_t kSendTo[] = L"C:\\Users\\u\\AppData\\Roaming\\Microsoft\\Windows\\SendTo";

// A Send To folder with one entry, and a machine holding a few items to link to.
class Command1Click : public ::testing::Test {
  protected:
    Command1Click() {
        platform.environment = {L"APPDATA=C:\\Users\\u\\AppData\\Roaming"};
        platform.folders[kSendTo] = {L"existing.lnk"};
        platform.folders[L"C:\\Tools"] = {L"editor.exe"};
        platform.folders[L"C:\\Data\\Photos"] = {};
        platform.folders[L"D:\\Links"] = {L"Notes.lnk"};
        platform.folders[L"C:\\repo"] = {L".gitignore"};
        // The relative ones are there from the current folder: only their form refuses them.
        platform.otherItems = {L"C:\\",
                               L"C:\\直接拖拽文件夹、EXE或快捷方式至此",
                               L"Tools\\editor.exe",
                               L"C:editor.exe",
                               L"\\Tools\\editor.exe",
                               L"\\\\server"};
        platform.objectFactory = log.Factory();
        form.Form_Load();
    }

    void Click(const std::wstring& text) {
        controls.text1 = text;
        form.Command1_Click();
    }

    FakePlatform platform;
    FakeFormControls controls;
    SendToForm form{platform, controls};
    AutomationLog log;
};

struct CreatesCase {
    const char* name;
    // Listed by name, not as raw bytes.
    friend void PrintTo(const CreatesCase& c, std::ostream* os) { *os << c.name; }
    std::wstring text;
    std::wstring baseName;  // the file-system object's answer
    std::vector<std::wstring> alsoInSendTo;
    std::wstring shortcutName;
    std::wstring target;
};

class Command1Creates : public Command1Click, public ::testing::WithParamInterface<CreatesCase> {};

TEST_P(Command1Creates, ShortcutToTheTrimmedPath) {
    const auto& c = GetParam();
    for (const auto& name : c.alsoInSendTo) platform.folders[kSendTo].push_back(name);
    log.baseName = [&c](const std::wstring&) { return c.baseName; };
    Click(c.text);

    const std::wstring shortcut = std::wstring(kSendTo) + L"\\" + c.shortcutName;
    EXPECT_EQ(log.calls.at(2), L"Scripting.FileSystemObject.GetBaseName(" + c.target + L")");
    EXPECT_EQ(log.calls.at(4), L"Wscript.shell.CreateShortcut(" + shortcut + L")");
    EXPECT_EQ(log.calls.at(5), L"shortcut.TargetPath=" + c.target);
    EXPECT_EQ(log.calls.at(6), L"shortcut.Save()");
    EXPECT_EQ(platform.messages, Calls{texts::kCreated});
    EXPECT_EQ(controls.reloads, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Text1, Command1Creates,
    ::testing::Values(CreatesCase{"DroppedShortcutIsTheTarget",
                                  L"D:\\Links\\Notes.lnk",
                                  L"Notes",
                                  {},
                                  L"Notes.lnk",
                                  L"D:\\Links\\Notes.lnk"},
                      CreatesCase{"QuotesAndWhiteSpace",
                                  L" \"C:\\Data\\Photos\" ",
                                  L"Photos",
                                  {},
                                  L"Photos.lnk",
                                  L"C:\\Data\\Photos"},
                      CreatesCase{"NameTakenGetsTwo",
                                  L"C:\\Tools\\editor.exe",
                                  L"editor",
                                  {L"editor.lnk"},
                                  L"editor (2).lnk",
                                  L"C:\\Tools\\editor.exe"},
                      CreatesCase{
                          "DriveRootIsNamedAfterItsLetter", L"C:\\", L"", {}, L"C.lnk", L"C:\\"},
                      CreatesCase{"EmptyBaseNameUsesTheWholeName",
                                  L"C:\\repo\\.gitignore",
                                  L"",
                                  {},
                                  L".gitignore.lnk",
                                  L"C:\\repo\\.gitignore"},
                      CreatesCase{"PlaceholderInOtherCaseIsAPathLikeAnyOther",
                                  L"C:\\直接拖拽文件夹、EXE或快捷方式至此",
                                  L"直接拖拽文件夹、EXE或快捷方式至此",
                                  {},
                                  L"直接拖拽文件夹、EXE或快捷方式至此.lnk",
                                  L"C:\\直接拖拽文件夹、EXE或快捷方式至此"}),
    CaseName);

struct RefusesCase {
    const char* name;
    // Listed by name, not as raw bytes.
    friend void PrintTo(const RefusesCase& c, std::ostream* os) { *os << c.name; }
    std::wstring text;
};

class Command1Refuses : public Command1Click, public ::testing::WithParamInterface<RefusesCase> {};

TEST_P(Command1Refuses, WithoutTouchingAnyObject) {
    Click(GetParam().text);
    EXPECT_EQ(platform.messages, Calls{texts::kEnterValidPath});
    EXPECT_EQ(controls.text1Focused, 1) << "the focus is not back where the path is typed";
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(controls.reloads, 0);
    EXPECT_EQ(platform.folders[kSendTo], Calls{L"existing.lnk"});
}

INSTANTIATE_TEST_SUITE_P(
    Text1, Command1Refuses,
    ::testing::Values(
        RefusesCase{"Placeholder", texts::kPlaceholder},
        RefusesCase{"PlaceholderInOtherCaseIsNoPath", L"直接拖拽文件夹、EXE或快捷方式至此"},
        RefusesCase{"QuotedPlaceholder", std::wstring(L"\"") + texts::kPlaceholder + L"\""},
        RefusesCase{"Empty", L""}, RefusesCase{"EmptyQuotes", L"\"\""},
        RefusesCase{"Relative", L"Tools\\editor.exe"},
        RefusesCase{"DriveRelative", L"C:editor.exe"},
        RefusesCase{"RootedWithoutDrive", L"\\Tools\\editor.exe"},
        RefusesCase{"Nonexistent", L"C:\\Tools\\missing.exe"},
        RefusesCase{"ServerOnly", L"\\\\server"}),
    CaseName);

class Command1Fails : public Command1Click, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(Command1Fails, ReportsTheCauseReleasesEverythingAndDoesNotReload) {
    log.failing = GetParam();
    log.baseName = [](const std::wstring&) { return std::wstring(L"editor"); };
    Click(L"C:\\Tools\\editor.exe");

    EXPECT_EQ(platform.messages, Calls{std::wstring(texts::kCreateFailed) +
                                       AutomationLog::kFailure + L"（错误代码 0x80020009）"});
    EXPECT_EQ(controls.reloads, 0);
    const auto count = [this](std::wstring_view prefix) {
        return std::ranges::count_if(
            log.calls, [prefix](const auto& call) { return call.starts_with(prefix); });
    };
    EXPECT_EQ(count(L"release "), count(L"create ") + count(L"Wscript.shell.CreateShortcut"))
        << "an object was not released";
    // The failing step was reached and nothing but releases came after it.
    const auto failed = std::ranges::find_if(
        log.calls, [](const auto& call) { return call.starts_with(AutomationLog::kFailedMark); });
    ASSERT_NE(failed, log.calls.end());
    EXPECT_NE(failed->find(GetParam()), std::wstring::npos) << *failed;
    EXPECT_TRUE(std::all_of(failed + 1, log.calls.end(),
                            [](const auto& call) { return call.starts_with(L"release "); }));
}

INSTANTIATE_TEST_SUITE_P(Step, Command1Fails,
                         ::testing::Values(L"Wscript.shell", L"Scripting.FileSystemObject",
                                           L"GetBaseName", L"CreateShortcut", L"TargetPath",
                                           L"Save"),
                         [](const auto& test) {
                             std::string name;
                             for (const wchar_t* c = test.param; *c; ++c) {
                                 if (*c != L'.') name += static_cast<char>(*c);
                             }
                             return name;
                         });

}  // namespace
}  // namespace vantrel
