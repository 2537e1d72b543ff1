// The banner is loaded as a bitmap resource with an 11-entry, 4-bit colour table; check the committed file has
// exactly that layout, so a regenerated picture cannot silently change it.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kColourCount = 11;
constexpr std::size_t kColourTableSize = kColourCount * 4;
constexpr std::size_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize + kColourTableSize;
constexpr std::int32_t kWidth = 325;
constexpr std::int32_t kHeight = 165;
constexpr std::size_t kRowStride = 164;
constexpr std::size_t kImageSize = kRowStride * kHeight;
constexpr std::size_t kFileSize = kPixelOffset + kImageSize;

class BannerFormat : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ifstream file(std::string(QUORVANE_SOURCE_DIR) + "/resources/banner.bmp", std::ios::binary);
        ASSERT_TRUE(file) << "resources/banner.bmp cannot be opened";
        bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        ASSERT_EQ(bytes_.size(), kFileSize);
    }

    std::uint32_t u16(std::size_t at) const { return bytes_[at] | bytes_[at + 1] << 8; }
    std::uint32_t u32(std::size_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::int32_t s32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }

    unsigned pixelIndex(std::size_t row, std::size_t column) const {
        const unsigned char packed = bytes_[kPixelOffset + row * kRowStride + column / 2];
        return column % 2 == 0 ? packed >> 4 : packed & 0x0F;
    }

    std::vector<unsigned char> bytes_;
};

TEST_F(BannerFormat, FileHeaderPointsAtPixelsAfterElevenColours) {
    EXPECT_EQ(bytes_[0], 'B');
    EXPECT_EQ(bytes_[1], 'M');
    EXPECT_EQ(u32(2), kFileSize);
    EXPECT_EQ(u32(10), kPixelOffset);
    // What the resource compiler embeds: the file without its file header.
    EXPECT_EQ(u32(2) - kFileHeaderSize, 27144u);
}

TEST_F(BannerFormat, InfoHeaderDescribesBottomUpFourBitPicture) {
    constexpr std::size_t info = kFileHeaderSize;
    EXPECT_EQ(u32(info), kInfoHeaderSize);
    EXPECT_EQ(s32(info + 4), kWidth);
    EXPECT_EQ(s32(info + 8), kHeight);
    EXPECT_EQ(u16(info + 12), 1u);
    EXPECT_EQ(u16(info + 14), 4u);
    EXPECT_EQ(u32(info + 16), 0u) << "must be uncompressed (BI_RGB)";
    EXPECT_EQ(u32(info + 20), kImageSize);
    EXPECT_EQ(u32(info + 32), kColourCount);
    EXPECT_EQ(u32(info + 36), kColourCount);
}

TEST_F(BannerFormat, ColourEntriesHaveZeroReservedByte) {
    for (std::size_t entry = 0; entry < kColourCount; ++entry)
        EXPECT_EQ(bytes_[kFileHeaderSize + kInfoHeaderSize + entry * 4 + 3], 0) << "colour " << entry;
}

TEST_F(BannerFormat, EveryPixelUsesADefinedColourAndPictureIsNotBlank) {
    std::set<unsigned> used;
    for (std::size_t row = 0; row < static_cast<std::size_t>(kHeight); ++row) {
        for (std::size_t column = 0; column < static_cast<std::size_t>(kWidth); ++column) {
            const unsigned index = pixelIndex(row, column);
            ASSERT_LT(index, kColourCount) << "row " << row << ", column " << column;
            used.insert(index);
        }
    }
    EXPECT_GE(used.size(), kColourCount / 2) << "the picture should use most of its palette";
}

} // namespace
