// Reads the version information back from the built program.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "tests/windows/InspectedExecutable.h"

namespace vantrel {
namespace {

using testing::InspectedExecutablePath;

std::vector<std::byte> VersionInfo() {
    const std::wstring path = InspectedExecutablePath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<std::byte> info(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, info.data())) {
        ADD_FAILURE() << "no version information, error " << GetLastError();
        info.clear();
    }
    return info;
}

// A value of the version information; its length is in bytes, or in characters for strings.
const void* VersionValue(const std::vector<std::byte>& info, const std::wstring& key,
                         UINT& length) {
    void* value = nullptr;
    length = 0;
    if (info.empty() || !VerQueryValueW(info.data(), key.c_str(), &value, &length)) {
        return nullptr;
    }
    return value;
}

std::wstring VersionString(const std::vector<std::byte>& info, const std::wstring& key) {
    UINT length = 0;
    const auto* text = static_cast<const wchar_t*>(VersionValue(info, key, length));
    return text ? std::wstring(text, wcsnlen(text, length)) : L"(missing)";
}

// The numbers of project(Vantrel VERSION ...), as two 32-bit halves.
constexpr DWORD kVersionMS = (VANTREL_VERSION_MAJOR << 16) | VANTREL_VERSION_MINOR;
constexpr DWORD kVersionLS = VANTREL_VERSION_PATCH << 16;

TEST(VersionInformation, FixedPartIsTheProjectVersionOfAWin32Application) {
    const auto info = VersionInfo();
    UINT length = 0;
    const void* fixed = VersionValue(info, L"\\", length);
    ASSERT_NE(fixed, nullptr);
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO values;
    std::memcpy(&values, fixed, sizeof values);

    EXPECT_EQ(values.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(values.dwFileVersionMS, kVersionMS) << "file version major.minor";
    EXPECT_EQ(values.dwFileVersionLS, kVersionLS) << "file version patch.0";
    EXPECT_EQ(values.dwProductVersionMS, kVersionMS) << "product version major.minor";
    EXPECT_EQ(values.dwProductVersionLS, kVersionLS) << "product version patch.0";
    EXPECT_EQ(values.dwFileFlags & values.dwFileFlagsMask, 0u) << "no debug or pre-release flag";
    EXPECT_EQ(values.dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(values.dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(VersionInformation, TranslationListNamesSimplifiedChineseInUnicode) {
    const auto info = VersionInfo();
    UINT length = 0;
    const void* translations = VersionValue(info, L"\\VarFileInfo\\Translation", length);
    ASSERT_NE(translations, nullptr);
    ASSERT_EQ(length, 2 * sizeof(WORD)) << "exactly one language and code page";
    WORD pair[2];
    std::memcpy(pair, translations, sizeof pair);
    EXPECT_EQ(pair[0], 0x0804) << "Chinese (PRC)";
    EXPECT_EQ(pair[1], 1200) << "UTF-16";
}

TEST(VersionInformation, StringTableOfThatLanguageHoldsEveryName) {
    const struct {
        const wchar_t* key;
        const wchar_t* expected;
    } cases[] = {
        {L"ProductName", L"Vantrel"},
        {L"InternalName", L"Vantrel"},
        {L"OriginalFilename", L"Vantrel.exe"},
        {L"FileVersion", VANTREL_VERSION_TEXT},
        {L"ProductVersion", VANTREL_VERSION_TEXT},
        {L"CompanyName", L"Pelgrin软件"},
        {L"FileDescription", L"Vantrel"},
    };
    const auto info = VersionInfo();
    for (const auto& c : cases) {
        EXPECT_EQ(VersionString(info, std::wstring(L"\\StringFileInfo\\080404B0\\") + c.key),
                  c.expected)
            << c.key;
    }
}

}  // namespace
}  // namespace vantrel
