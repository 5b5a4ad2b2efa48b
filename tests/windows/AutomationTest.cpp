#include <gtest/gtest.h>

#include <functional>

#include "platform/Error.h"
#include "platform/win32/Win32Platform.h"
#include "sendto/ErrorText.h"
#include "tests/windows/ScopedCom.h"
#include "tests/windows/ShellLink.h"
#include "tests/windows/TempFolder.h"

namespace vantrel {
namespace {

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

    testing::ScopedCom com;
    win32::Win32Platform platform{L"Vantrel"};
    testing::TempFolder folder;
};

// The add's calls on Windows's own objects: the base name it is named after, then the
// shortcut made, pointed and saved.
TEST_F(Win32Automation, NamesAndSavesAShortcutAsTheAddDoes) {
    const auto fileSystem = platform.CreateObject(L"Scripting.FileSystemObject");
    EXPECT_EQ(fileSystem->CallForText(L"GetBaseName", L"C:\\Data\\Photos"), L"Photos");
    EXPECT_EQ(fileSystem->CallForText(L"GetBaseName", L"\\\\server\\share\\记事本 😀.final.exe"),
              L"记事本 😀.final");
    const std::wstring target = folder.AddFile(L"工具\\editor.exe");
    const std::wstring path = folder.path() + L"\\编辑器.lnk";
    const auto shortcut =
        platform.CreateObject(L"Wscript.shell")->CallForObject(L"CreateShortcut", path);
    shortcut->PutText(L"TargetPath", target);
    shortcut->Call(L"Save");
    EXPECT_EQ(testing::ShortcutTarget(path), target);
}

TEST_F(Win32Automation, FailuresCarryTheSystemsCode) {
    EXPECT_NE(FailureCode([&] { platform.CreateObject(L"Vantrel.NoSuchObject"); }), 0u);
    const auto fileSystem = platform.CreateObject(L"Scripting.FileSystemObject");
    EXPECT_EQ(FailureCode([&] { fileSystem->CallForText(L"NoSuchMember", L"x"); }),
              static_cast<std::uint32_t>(DISP_E_UNKNOWNNAME));
    EXPECT_EQ(FailureCode([&] { fileSystem->CallForObject(L"GetBaseName", L"C:\\x.exe"); }),
              static_cast<std::uint32_t>(DISP_E_TYPEMISMATCH));

    const std::wstring path = folder.path() + L"\\no such folder\\editor.lnk";
    const auto shortcut =
        platform.CreateObject(L"Wscript.shell")->CallForObject(L"CreateShortcut", path);
    shortcut->PutText(L"TargetPath", folder.AddFile(L"editor.exe"));
    // The cause, not the wrapper Windows's objects raise it in.
    const std::uint32_t saved = FailureCode([&] { shortcut->Call(L"Save"); });
    EXPECT_NE(saved, 0u);
    EXPECT_NE(saved, static_cast<std::uint32_t>(DISP_E_EXCEPTION));
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace vantrel
