#include <gtest/gtest.h>

#include <optional>

#include "platform/win32/NativeSystemPath.h"
#include "platform/win32/Win32Platform.h"
#include "tests/CaseName.h"

namespace vantrel {
namespace {

struct NativePathCase {
    const char* name;
    friend void PrintTo(const NativePathCase& c, std::ostream* os) { *os << c.name; }
    const wchar_t* path;
    std::optional<std::wstring> native;  // nullopt: names nothing
    const wchar_t* windows = L"C:\\Windows";
};

class Win32NativeSystemPath : public ::testing::TestWithParam<NativePathCase> {};

TEST_P(Win32NativeSystemPath, LooksAtSystem32ThroughSysnative) {
    EXPECT_EQ(win32::NativeSystemPath(GetParam().path, GetParam().windows), GetParam().native);
}

INSTANTIATE_TEST_SUITE_P(
    Path, Win32NativeSystemPath,
    ::testing::Values(NativePathCase{"BelowSystem32", L"C:\\Windows\\System32\\OpenSSH\\ssh.exe",
                                     L"C:\\Windows\\Sysnative\\OpenSSH\\ssh.exe"},
                      NativePathCase{"CaseIgnored", L"c:\\WINDOWS\\system32\\ssh.exe",
                                     L"C:\\Windows\\Sysnative\\ssh.exe"},
                      NativePathCase{"SlashesAndDots", L"C:/Windows/./System32//ssh.exe",
                                     L"C:\\Windows\\Sysnative\\ssh.exe"},
                      NativePathCase{"ExtendedForm", L"\\\\?\\C:\\Windows\\System32\\ssh.exe",
                                     L"\\\\?\\C:\\Windows\\Sysnative\\ssh.exe"},
                      NativePathCase{"OnlyStartsLikeIt", L"C:\\Windows\\System32x\\a.exe",
                                     L"C:\\Windows\\System32x\\a.exe"},
                      NativePathCase{"AnotherWindowsFolder", L"D:\\Windows\\System32\\a.exe",
                                     L"D:\\Windows\\System32\\a.exe"},
                      NativePathCase{"WindowsFolderOfThisSystem", L"D:\\WinNT\\System32\\a.exe",
                                     L"D:\\WinNT\\Sysnative\\a.exe", L"D:\\WinNT"},
                      NativePathCase{"SysnativeNamesNothing",
                                     L"\\\\?\\C:\\windows\\SYSNATIVE\\ssh.exe", std::nullopt}),
    CaseName);

// WOW64's own DLLs live only in the 64-bit System32, on Windows and in Wine's prefix:
// an x86 run that looked at SysWOW64 would not find them; 64-bit Explorer does.
TEST(Win32Exists, SeesTheSystemFolderAsExplorerDoes) {
    if (sizeof(void*) == 4 && !win32::RunsUnderWow64()) GTEST_SKIP() << "a 32-bit Windows";
    const win32::Win32Platform platform(L"Vantrel");
    const std::wstring windows = win32::SystemWindowsFolder();
    EXPECT_TRUE(platform.Exists(windows + L"\\System32\\wow64.dll"));
    EXPECT_FALSE(platform.Exists(windows + L"\\Sysnative\\wow64.dll"));
}

}  // namespace
}  // namespace vantrel
