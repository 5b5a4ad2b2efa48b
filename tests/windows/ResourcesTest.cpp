// Reads the icon, the version information and the manifest back from the built program.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "tests/windows/InspectedExecutable.h"

namespace vantrel {
namespace {

using testing::InspectedExecutablePath;

// ---- version information ----

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

TEST(VersionInformation, FixedPartIsVersion1000OfAWin32Application) {
    const auto info = VersionInfo();
    UINT length = 0;
    const void* fixed = VersionValue(info, L"\\", length);
    ASSERT_NE(fixed, nullptr);
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO values;
    std::memcpy(&values, fixed, sizeof values);

    EXPECT_EQ(values.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(values.dwFileVersionMS, 0x00010000u) << "file version 1.0.x.x";
    EXPECT_EQ(values.dwFileVersionLS, 0u) << "file version x.x.0.0";
    EXPECT_EQ(values.dwProductVersionMS, 0x00010000u) << "product version 1.0.x.x";
    EXPECT_EQ(values.dwProductVersionLS, 0u) << "product version x.x.0.0";
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
        {L"ProductName", L"Vantrel"},          {L"InternalName", L"Vantrel"},
        {L"OriginalFilename", L"Vantrel.exe"}, {L"FileVersion", L"1.00"},
        {L"ProductVersion", L"1.00"},          {L"CompanyName", L"Pelgrin软件"},
        {L"FileDescription", L"Vantrel"},
    };
    const auto info = VersionInfo();
    for (const auto& c : cases) {
        EXPECT_EQ(VersionString(info, std::wstring(L"\\StringFileInfo\\080404B0\\") + c.key),
                  c.expected)
            << c.key;
    }
}

// ---- resources read as data ----

struct ModuleFreer {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

// The program mapped for its resources only: none of its code runs or is bound.
UniqueModule LoadResourcesOnly() {
    UniqueModule module(LoadLibraryExW(InspectedExecutablePath().c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module) ADD_FAILURE() << "cannot map the program, error " << GetLastError();
    return module;
}

// The bytes of one resource; empty when it is missing.
std::string_view ResourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name) {
    HRSRC found = module ? FindResourceW(module, name, type) : nullptr;
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const char*>(bytes), SizeofResource(module, found)};
}

template <typename T>
T ReadAt(std::string_view bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

// ---- icon ----

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

TEST(ApplicationIcon, GroupOneHoldsTheEightImagesInOrder) {
    const struct {
        int size;
        int bitsPerPixel;
    } expected[] = {{48, 8}, {32, 8}, {16, 8}, {256, 32}, {96, 32}, {48, 32}, {32, 32}, {16, 32}};
    const UniqueModule module = LoadResourcesOnly();
    const auto entries = IconGroup(ResourceBytes(module.get(), RT_GROUP_ICON, MAKEINTRESOURCEW(1)));
    ASSERT_EQ(entries.size(), std::size(expected));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        SCOPED_TRACE("image " + std::to_string(i + 1));
        EXPECT_EQ(entries[i].width, expected[i].size);
        EXPECT_EQ(entries[i].height, expected[i].size);
        EXPECT_EQ(entries[i].bitsPerPixel, expected[i].bitsPerPixel);
        EXPECT_EQ(entries[i].planes, 1);
        EXPECT_EQ(entries[i].colours, 0) << "256 colours or more are written as 0";
    }
}

TEST(ApplicationIcon, EveryImageIsAnUncompressedBitmapWithItsMask) {
    const UniqueModule module = LoadResourcesOnly();
    const auto entries = IconGroup(ResourceBytes(module.get(), RT_GROUP_ICON, MAKEINTRESOURCEW(1)));
    ASSERT_FALSE(entries.empty());
    for (const GroupEntry& entry : entries) {
        SCOPED_TRACE(std::to_string(entry.width) + " px, " + std::to_string(entry.bitsPerPixel) +
                     " bpp");
        const std::string_view image =
            ResourceBytes(module.get(), RT_ICON, MAKEINTRESOURCEW(entry.id));
        ASSERT_EQ(image.size(), entry.bytes);
        ASSERT_NE(image.substr(0, 4), "\x89PNG");
        const auto header = ReadAt<BITMAPINFOHEADER>(image, 0);
        EXPECT_EQ(header.biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(header.biWidth, entry.width);
        EXPECT_EQ(header.biHeight, 2 * entry.height) << "colour bits and AND mask";
        EXPECT_EQ(header.biBitCount, entry.bitsPerPixel);
        EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));

        const std::size_t palette = entry.bitsPerPixel == 8 ? 256 * sizeof(RGBQUAD) : 0;
        const std::size_t colourRow = (entry.width * entry.bitsPerPixel / 8 + 3) / 4 * 4;
        const std::size_t maskRow = ((entry.width + 7) / 8 + 3) / 4 * 4;
        EXPECT_EQ(image.size(), sizeof(BITMAPINFOHEADER) + palette +
                                    (colourRow + maskRow) * static_cast<std::size_t>(entry.height));
    }
}

struct IconDestroyer {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

// How many pixels of a 32-bit image are clear, partly covered and opaque.
std::array<int, 3> AlphaCounts(std::string_view image, int size) {
    std::array<int, 3> counts{};
    for (int pixel = 0; pixel < size * size; ++pixel) {
        const auto alpha = ReadAt<BYTE>(image, sizeof(BITMAPINFOHEADER) + 4 * pixel + 3);
        ++counts[alpha == 0 ? 0 : alpha == 255 ? 2 : 1];
    }
    return counts;
}

// How many pixels the AND mask of an 8-bit image shows and hides.
std::array<int, 2> MaskCounts(std::string_view image, int size) {
    std::array<int, 2> counts{};
    const std::size_t mask = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) +
                             static_cast<std::size_t>((size + 3) / 4 * 4 * size);
    const int row = ((size + 7) / 8 + 3) / 4 * 4;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const auto bits = ReadAt<BYTE>(image, mask + y * row + x / 8);
            ++counts[(bits & (0x80 >> (x % 8))) ? 1 : 0];
        }
    }
    return counts;
}

TEST(ApplicationIcon, EveryImageIsDrawnOnATransparentGroundAndTheSystemTakesIt) {
    const UniqueModule module = LoadResourcesOnly();
    const auto entries = IconGroup(ResourceBytes(module.get(), RT_GROUP_ICON, MAKEINTRESOURCEW(1)));
    ASSERT_FALSE(entries.empty());
    for (const GroupEntry& entry : entries) {
        SCOPED_TRACE(std::to_string(entry.width) + " px, " + std::to_string(entry.bitsPerPixel) +
                     " bpp");
        const std::string_view image =
            ResourceBytes(module.get(), RT_ICON, MAKEINTRESOURCEW(entry.id));
        ASSERT_EQ(image.size(), entry.bytes);
        if (entry.bitsPerPixel == 32) {
            const auto [clear, partial, opaque] = AlphaCounts(image, entry.width);
            EXPECT_GT(clear, 0);
            EXPECT_GT(partial, 0) << "anti-aliased edges";
            EXPECT_GT(opaque, entry.width * entry.width / 2) << "the artwork fills the image";
        } else {
            const auto [shown, hidden] = MaskCounts(image, entry.width);
            EXPECT_GT(hidden, 0);
            EXPECT_GT(shown, entry.width * entry.width / 2) << "the artwork fills the image";
        }
        const UniqueIcon icon(
            CreateIconFromResourceEx(reinterpret_cast<PBYTE>(const_cast<char*>(image.data())),
                                     static_cast<DWORD>(image.size()), TRUE, 0x00030000,
                                     entry.width, entry.height, LR_DEFAULTCOLOR));
        EXPECT_NE(icon, nullptr) << "error " << GetLastError();
    }
}

// ---- manifest ----

BOOL CALLBACK CountLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

BOOL CALLBACK CountName(HMODULE, LPCWSTR, LPWSTR, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

TEST(ApplicationManifest, IsTheOnlyManifestAndInOneLanguage) {
    const UniqueModule module = LoadResourcesOnly();
    int names = 0;
    int languages = 0;
    EnumResourceNamesW(module.get(), RT_MANIFEST, CountName, reinterpret_cast<LONG_PTR>(&names));
    EnumResourceLanguagesW(module.get(), RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID,
                           CountLanguage, reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(names, 1) << "no second manifest added by the toolchain";
    EXPECT_EQ(languages, 1);
}

TEST(ApplicationManifest, DeclaresWhatTheProgramNeeds) {
    const struct {
        const char* what;
        const char* text;
    } cases[] = {
        {"identity", R"(name="Vantrel" version="1.0.0.0")"},
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
    const UniqueModule module = LoadResourcesOnly();
    const std::string_view manifest =
        ResourceBytes(module.get(), RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
    ASSERT_FALSE(manifest.empty());
    for (const auto& c : cases) {
        EXPECT_NE(manifest.find(c.text), std::string_view::npos) << c.what << ": " << c.text;
    }
}

TEST(ApplicationManifest, LoaderAcceptsIt) {
    const std::wstring path = InspectedExecutablePath();
    ACTCTXW context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    const HANDLE activation = CreateActCtxW(&context);
    EXPECT_NE(activation, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    if (activation != INVALID_HANDLE_VALUE) ReleaseActCtx(activation);
}

}  // namespace
}  // namespace vantrel
