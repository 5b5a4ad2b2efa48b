#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/Error.h"
#include "platform/win32/Win32Platform.h"
#include "sendto/ErrorText.h"
#include "tests/CaseName.h"
#include "tests/windows/ScopedCom.h"
#include "tests/windows/ShellLink.h"
#include "tests/windows/TempFolder.h"

namespace vantrel {
namespace {

using testing::ScopedCom;
using testing::TempFolder;

class Win32Automation : public ::testing::Test {
  protected:
    std::uint32_t FailureCode(const std::function<void()>& step) {
        try {
            step();
        } catch (const Error& e) {
            EXPECT_FALSE(ErrorText(e).empty());
            return e.SystemCode();
        }
        ADD_FAILURE() << "the step succeeded";
        return 0;
    }

    // An unsaved shortcut at `path` to `target`, made as the add button makes it.
    std::unique_ptr<AutomationObject> ShortcutTo(const std::wstring& path,
                                                 const std::wstring& target) {
        const auto shell = platform.CreateObject(L"Wscript.shell");
        auto shortcut = shell->CallForObject(L"CreateShortcut", path);
        shortcut->PutText(L"TargetPath", target);
        return shortcut;
    }

    ScopedCom com;
    win32::Win32Platform platform{L"Vantrel"};
    TempFolder folder;
};

struct BaseNameCase {
    const char* name;
    std::wstring path;
    std::wstring baseName;
};

class Win32BaseName : public Win32Automation, public ::testing::WithParamInterface<BaseNameCase> {};

TEST_P(Win32BaseName, IsTheLastComponentWithoutItsExtension) {
    const auto fileSystem = platform.CreateObject(L"Scripting.FileSystemObject");
    EXPECT_EQ(fileSystem->CallForText(L"GetBaseName", GetParam().path), GetParam().baseName);
}

INSTANTIATE_TEST_SUITE_P(
    Path, Win32BaseName,
    ::testing::Values(BaseNameCase{"Program", L"C:\\Tools\\editor.exe", L"editor"},
                      BaseNameCase{"Folder", L"C:\\Data\\Photos", L"Photos"},
                      BaseNameCase{"Shortcut", L"D:\\Links\\Notes.lnk", L"Notes"},
                      BaseNameCase{"OnlyTheLastExtension", L"C:\\a\\report.final.txt",
                                   L"report.final"},
                      BaseNameCase{"Unc", L"\\\\server\\share\\tool.exe", L"tool"},
                      BaseNameCase{"Unicode", L"C:\\工具\\记事本 😀.exe", L"记事本 😀"}),
    CaseName);

TEST_F(Win32Automation, SavedShortcutPointsAtTheTarget) {
    const std::wstring target = folder.AddFile(L"工具\\editor.exe");
    const std::wstring path = folder.path() + L"\\编辑器.lnk";
    ShortcutTo(path, target)->Call(L"Save");

    EXPECT_EQ(testing::ShortcutTarget(path), target);
}

TEST_F(Win32Automation, SaveIntoAMissingFolderFails) {
    const std::wstring path = folder.path() + L"\\no such folder\\editor.lnk";
    const auto shortcut = ShortcutTo(path, folder.AddFile(L"editor.exe"));
    EXPECT_NE(FailureCode([&] { shortcut->Call(L"Save"); }), 0u);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Win32Automation, UnknownProgIdFails) {
    EXPECT_NE(FailureCode([&] { platform.CreateObject(L"Vantrel.NoSuchObject"); }), 0u);
}

TEST_F(Win32Automation, UnknownMemberFails) {
    const auto fileSystem = platform.CreateObject(L"Scripting.FileSystemObject");
    EXPECT_EQ(FailureCode([&] { fileSystem->CallForText(L"NoSuchMember", L"x"); }),
              static_cast<std::uint32_t>(DISP_E_UNKNOWNNAME));
}

TEST_F(Win32Automation, TextResultWhereAnObjectIsExpectedFails) {
    const auto fileSystem = platform.CreateObject(L"Scripting.FileSystemObject");
    EXPECT_EQ(FailureCode([&] { fileSystem->CallForObject(L"GetBaseName", L"C:\\x.exe"); }),
              static_cast<std::uint32_t>(DISP_E_TYPEMISMATCH));
}

}  // namespace
}  // namespace vantrel
