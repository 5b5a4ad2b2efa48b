// Reads the manifest, the version information and the icon back from the built program.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "tests/windows/InspectedExecutable.h"

namespace vantrel {
namespace {

using testing::InspectedExecutablePath;
using testing::LoadResourcesOnly;
using testing::ReadAt;
using testing::ResourceBytes;
using testing::UniqueModule;

BOOL CALLBACK CountName(HMODULE, LPCWSTR, LPWSTR, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST(ApplicationManifest, IsTheOnlyOneDeclaresWhatTheProgramNeedsAndLoads) {
    const UniqueModule module = LoadResourcesOnly();
    int names = 0;
    int languages = 0;
    EnumResourceNamesW(module.get(), RT_MANIFEST, CountName, reinterpret_cast<LONG_PTR>(&names));
    EnumResourceLanguagesW(module.get(), RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID,
                           CountLanguage, reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(names, 1) << "no second manifest added by the toolchain";
    EXPECT_EQ(languages, 1);

    const struct {
        const char* what;
        const char* text;
    } cases[] = {
        {"identity", R"(name="Vantrel" version=")" VANTREL_VERSION_QUAD "\""},
        {"no elevation", R"(level="asInvoker" uiAccess="false")"},
        {"visual styles", R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")"},
        {"DPI awareness before Windows 10 1607", ">true/pm</dpiAware>"},
        {"per-monitor DPI awareness v2", ">PerMonitorV2</dpiAwareness>"},
        {"long paths", ">true</longPathAware>"},
        {"Windows 7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
        {"Windows 8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
        {"Windows 8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
        {"Windows 10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
    };
    const std::string_view manifest =
        ResourceBytes(module.get(), RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
    for (const auto& c : cases) {
        EXPECT_NE(manifest.find(c.text), std::string_view::npos) << c.what << ": " << c.text;
    }

    const std::wstring path = InspectedExecutablePath();
    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    const HANDLE activation = CreateActCtxW(&context);
    EXPECT_NE(activation, INVALID_HANDLE_VALUE) << "the loader refuses it: " << GetLastError();
    if (activation != INVALID_HANDLE_VALUE) ReleaseActCtx(activation);
}

// A value of the version information; its length is in bytes, or in characters for strings.
template <typename T>
std::vector<T> VersionValue(const std::vector<std::byte>& info, const std::wstring& key) {
    void* value = nullptr;
    UINT length = 0;
    if (info.empty() || !VerQueryValueW(info.data(), key.c_str(), &value, &length)) return {};
    const auto* first = static_cast<const T*>(value);
    if constexpr (std::is_same_v<T, wchar_t>)
        length = static_cast<UINT>(wcsnlen(first, length));
    else
        length /= sizeof(T);
    return std::vector<T>(first, first + length);
}

TEST(VersionInformation, IsTheProjectVersionOfAWin32ApplicationInSimplifiedChinese) {
    const std::wstring path = InspectedExecutablePath();
    DWORD ignored = 0;
    std::vector<std::byte> info(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    ASSERT_FALSE(info.empty()) << "no version information: " << GetLastError();
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));

    const auto fixed = VersionValue<VS_FIXEDFILEINFO>(info, L"\\");
    ASSERT_EQ(fixed.size(), 1u);
    // The numbers of project(Vantrel VERSION ...), as two 32-bit halves.
    constexpr DWORD kVersionMS = (VANTREL_VERSION_MAJOR << 16) | VANTREL_VERSION_MINOR;
    constexpr DWORD kVersionLS = VANTREL_VERSION_PATCH << 16;
    EXPECT_EQ(fixed[0].dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed[0].dwFileVersionMS, kVersionMS) << "file version major.minor";
    EXPECT_EQ(fixed[0].dwFileVersionLS, kVersionLS) << "file version patch.0";
    EXPECT_EQ(fixed[0].dwProductVersionMS, kVersionMS) << "product version major.minor";
    EXPECT_EQ(fixed[0].dwProductVersionLS, kVersionLS) << "product version patch.0";
    EXPECT_EQ(fixed[0].dwFileFlags & fixed[0].dwFileFlagsMask, 0u) << "debug or pre-release";
    EXPECT_EQ(fixed[0].dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed[0].dwFileType, static_cast<DWORD>(VFT_APP));

    // Exactly one language and code page: Chinese (PRC) in UTF-16.
    EXPECT_EQ(VersionValue<WORD>(info, L"\\VarFileInfo\\Translation"),
              (std::vector<WORD>{0x0804, 1200}));
    const struct {
        const wchar_t* key;
        std::wstring expected;
    } strings[] = {
        {L"ProductName", L"Vantrel"},
        {L"InternalName", L"Vantrel"},
        {L"OriginalFilename", L"Vantrel.exe"},
        {L"FileVersion", VANTREL_VERSION_TEXT},
        {L"ProductVersion", VANTREL_VERSION_TEXT},
        {L"CompanyName", L"Pelgrin软件"},
        {L"FileDescription", L"Vantrel"},
    };
    for (const auto& c : strings) {
        const auto text =
            VersionValue<wchar_t>(info, std::wstring(L"\\StringFileInfo\\080404B0\\") + c.key);
        EXPECT_EQ(std::wstring(text.begin(), text.end()), c.expected) << c.key;
    }
}

// One entry of the icon group as the resource compiler writes it (GRPICONDIRENTRY).
struct GroupEntry {
    int width, height, colours, planes, bitsPerPixel;
    std::uint32_t bytes;
    WORD id;
};

std::vector<GroupEntry> IconGroup(std::string_view group) {
    std::vector<GroupEntry> entries;
    if (group.size() < 6 || ReadAt<WORD>(group, 2) != 1) return entries;  // 1: icons, not cursors
    const WORD count = ReadAt<WORD>(group, 4);
    for (std::size_t at = 6; entries.size() < count && at + 14 <= group.size(); at += 14) {
        const auto pixels = [](BYTE stored) { return stored == 0 ? 256 : stored; };
        entries.push_back({pixels(ReadAt<BYTE>(group, at)), pixels(ReadAt<BYTE>(group, at + 1)),
                           ReadAt<BYTE>(group, at + 2), ReadAt<WORD>(group, at + 4),
                           ReadAt<WORD>(group, at + 6), ReadAt<DWORD>(group, at + 8),
                           ReadAt<WORD>(group, at + 12)});
    }
    return entries;
}

class ApplicationIcon : public ::testing::Test {
  protected:
    UniqueModule module_ = LoadResourcesOnly();
    std::vector<GroupEntry> entries_ =
        IconGroup(ResourceBytes(module_.get(), RT_GROUP_ICON, MAKEINTRESOURCEW(1)));
};

TEST_F(ApplicationIcon, GroupOneHoldsTheEightImagesInOrder) {
    const struct {
        int size;
        int bitsPerPixel;
    } expected[] = {{48, 8}, {32, 8}, {16, 8}, {256, 32}, {96, 32}, {48, 32}, {32, 32}, {16, 32}};
    ASSERT_EQ(entries_.size(), std::size(expected));
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        SCOPED_TRACE("image " + std::to_string(i + 1));
        EXPECT_EQ(entries_[i].width, expected[i].size);
        EXPECT_EQ(entries_[i].height, expected[i].size);
        EXPECT_EQ(entries_[i].bitsPerPixel, expected[i].bitsPerPixel);
        EXPECT_EQ(entries_[i].planes, 1);
        EXPECT_EQ(entries_[i].colours, 0) << "256 colours or more are written as 0";
    }
}

struct IconDestroyer {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

// How many pixels are clear (or hidden by the AND mask), partly covered, and opaque (or shown).
std::array<int, 3> CoverCounts(std::string_view image, const GroupEntry& entry) {
    std::array<int, 3> counts{};
    const auto side = static_cast<std::size_t>(entry.width);
    const std::size_t mask =
        sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + (side + 3) / 4 * 4 * side;
    const std::size_t maskRow = ((side + 7) / 8 + 3) / 4 * 4;
    for (std::size_t y = 0; y < side; ++y) {
        for (std::size_t x = 0; x < side; ++x) {
            if (entry.bitsPerPixel == 32) {
                const auto alpha =
                    ReadAt<BYTE>(image, sizeof(BITMAPINFOHEADER) + 4 * (y * side + x) + 3);
                ++counts[alpha == 0 ? 0 : alpha == 255 ? 2 : 1];
            } else {
                const auto bits = ReadAt<BYTE>(image, mask + y * maskRow + x / 8);
                ++counts[(bits & (0x80 >> (x % 8))) ? 0 : 2];
            }
        }
    }
    return counts;
}

TEST_F(ApplicationIcon, EveryImageIsAnUncompressedBitmapOnATransparentGroundTheSystemTakes) {
    ASSERT_FALSE(entries_.empty());
    for (const GroupEntry& entry : entries_) {
        SCOPED_TRACE(std::to_string(entry.width) + " px, " + std::to_string(entry.bitsPerPixel) +
                     " bpp");
        const std::string_view image =
            ResourceBytes(module_.get(), RT_ICON, MAKEINTRESOURCEW(entry.id));
        ASSERT_EQ(image.size(), entry.bytes);
        ASSERT_NE(image.substr(0, 4), "\x89PNG");
        const auto header = ReadAt<BITMAPINFOHEADER>(image, 0);
        EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(header.biWidth, entry.width);
        EXPECT_EQ(header.biHeight, 2 * entry.height) << "colour bits and AND mask";
        EXPECT_EQ(header.biBitCount, entry.bitsPerPixel);
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
        const std::size_t palette = entry.bitsPerPixel == 8 ? 256 * sizeof(RGBQUAD) : 0;
        const auto width = static_cast<std::size_t>(entry.width);
        const auto bits = static_cast<std::size_t>(entry.bitsPerPixel);
        const std::size_t colourRow = (width * bits / 8 + 3) / 4 * 4;
        const std::size_t maskRow = ((width + 7) / 8 + 3) / 4 * 4;
        EXPECT_EQ(image.size(), sizeof(BITMAPINFOHEADER) + palette +
                                    (colourRow + maskRow) * static_cast<std::size_t>(entry.height));

        const auto [clear, partial, opaque] = CoverCounts(image, entry);
        EXPECT_GT(clear, 0);
        EXPECT_TRUE(entry.bitsPerPixel != 32 || partial > 0) << "anti-aliased edges";
        EXPECT_GT(opaque, entry.width * entry.width / 2) << "the artwork fills the image";
        const UniqueIcon icon(
            CreateIconFromResourceEx(reinterpret_cast<PBYTE>(const_cast<char*>(image.data())),
                                     static_cast<DWORD>(image.size()), TRUE, 0x00030000,
                                     entry.width, entry.height, LR_DEFAULTCOLOR));
        EXPECT_NE(icon, nullptr) << "error " << GetLastError();
    }
}

}  // namespace
}  // namespace vantrel
