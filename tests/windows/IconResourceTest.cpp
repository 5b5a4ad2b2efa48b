// Reads the application icon back from the built program.
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "tests/windows/InspectedExecutable.h"

namespace vantrel {
namespace {

using testing::LoadResourcesOnly;
using testing::ReadAt;
using testing::ResourceBytes;
using testing::UniqueModule;

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

std::string Describe(const GroupEntry& entry) {
    return std::to_string(entry.width) + " px, " + std::to_string(entry.bitsPerPixel) + " bpp";
}

class ApplicationIcon : public ::testing::Test {
  protected:
    std::string_view Image(const GroupEntry& entry) const {
        return ResourceBytes(module_.get(), RT_ICON, MAKEINTRESOURCEW(entry.id));
    }

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

TEST_F(ApplicationIcon, EveryImageIsAnUncompressedBitmapWithItsMask) {
    ASSERT_FALSE(entries_.empty());
    for (const GroupEntry& entry : entries_) {
        SCOPED_TRACE(Describe(entry));
        const std::string_view image = Image(entry);
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
        const auto alpha =
            ReadAt<BYTE>(image, sizeof(BITMAPINFOHEADER) + 4 * static_cast<std::size_t>(pixel) + 3);
        ++counts[alpha == 0 ? 0 : alpha == 255 ? 2 : 1];
    }
    return counts;
}

// How many pixels the AND mask of an 8-bit image shows and hides.
std::array<int, 2> MaskCounts(std::string_view image, int size) {
    std::array<int, 2> counts{};
    const auto side = static_cast<std::size_t>(size);
    const std::size_t mask =
        sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD) + (side + 3) / 4 * 4 * side;
    const std::size_t row = ((side + 7) / 8 + 3) / 4 * 4;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const auto bits = ReadAt<BYTE>(
                image, mask + static_cast<std::size_t>(y) * row + static_cast<std::size_t>(x / 8));
            ++counts[(bits & (0x80 >> (x % 8))) ? 1 : 0];
        }
    }
    return counts;
}

TEST_F(ApplicationIcon, EveryImageIsDrawnOnATransparentGroundAndTheSystemTakesIt) {
    ASSERT_FALSE(entries_.empty());
    for (const GroupEntry& entry : entries_) {
        SCOPED_TRACE(Describe(entry));
        const std::string_view image = Image(entry);
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

}  // namespace
}  // namespace vantrel
