// The banner image: copying a bitmap out of the resources, its colours, its palette, and refusing
// pictures that could not be read safely. The fake's resource and memory blocks are exactly as large as
// their contents, so AddressSanitizer stops any read past the copy.
#include "tests/fake/fake_platform.h"
#include "tests/host/scenario.h"
#include "ui/resource_dib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using fake::world;

// A packed bitmap: header, tableEntries colours, then every pixel row.
fake::Bytes MakeDib(WORD bitCount, DWORD colorsUsed, size_t tableEntries, LONG width = 5, LONG height = 3,
                    DWORD headerSize = 40) {
    BITMAPINFOHEADER header = {};
    header.biSize = headerSize;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = BI_RGB;
    header.biClrUsed = colorsUsed;
    fake::Bytes bytes(std::max<size_t>(headerSize, sizeof header));
    std::memcpy(bytes.data(), &header, sizeof header);
    for (size_t i = 0; i < tableEntries; ++i) {
        const uint8_t entry[4] = {uint8_t(i), uint8_t(i ^ 0x5A), uint8_t(255 - i), 0}; // blue, green, red
        bytes.insert(bytes.end(), entry, entry + 4);
    }
    const size_t rowBytes = (size_t(width) * bitCount + 31) / 32 * 4;
    const size_t rows = size_t(height < 0 ? -int64_t{height} : height);
    for (size_t i = 0; i < rowBytes * rows; ++i) bytes.push_back(uint8_t(i * 7 + 1));
    return bytes;
}

fake::Bytes Cut(fake::Bytes bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

// The bytes with the header field at offset replaced.
fake::Bytes Patched(fake::Bytes bytes, size_t offset, uint32_t value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
    return bytes;
}
constexpr size_t SizeField = 0, WidthField = 4, HeightField = 8;

fake::Bytes WithFileHeader(const fake::Bytes& dib) {
    fake::Bytes file = {'B', 'M', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

size_t Allocations(size_t bytes) {
    return size_t(std::count(world.record.log.begin(), world.record.log.end(), "GlobalAlloc " + std::to_string(bytes)));
}

const LPCSTR FileType = "BMPFILE";
const fake::Bytes fourBit = MakeDib(4, 11, 11);

class ResourceDibTest : public Scenario {
  protected:
    BOOL Load(ResourceDib& dib, const fake::Bytes& bytes, LPCSTR type = RT_BITMAP) {
        fake::AddResource("picture", type, bytes);
        return dib.LoadFromResource(fake::Instance, "picture", type);
    }
};

struct ColorCase {
    const char* label;
    WORD bitCount;
    DWORD colorsUsed;
    int expected;
};

class ColorCountTest : public ResourceDibTest, public ::testing::WithParamInterface<ColorCase> {};

TEST_P(ColorCountTest, CountsColoursAndBuildsThePaletteFromTheTable) {
    const ColorCase& row = GetParam();
    ResourceDib dib;
    ASSERT_TRUE(Load(dib, MakeDib(row.bitCount, row.colorsUsed, size_t(row.expected))));
    EXPECT_EQ(row.expected, dib.ColorCount());
    EXPECT_EQ(reinterpret_cast<const BYTE*>(dib.Header) + 40 + 4 * row.expected, dib.Bits());

    const HPALETTE palette = dib.GetPalette();
    EXPECT_EQ(1u, world.state.globalBlocks.size()) << "only the copy stays allocated";
    if (row.expected == 0) {
        EXPECT_EQ(nullptr, palette);
        EXPECT_EQ(1, world.record.calls["GlobalAlloc"]) << "no palette block without a colour table";
        EXPECT_EQ(0, world.record.calls["CreatePalette"]);
        return;
    }
    ASSERT_NE(nullptr, palette);
    EXPECT_EQ(1u, Allocations(size_t(row.expected + 8) * 4));
    const fake::PaletteRecord& built = world.state.palettes.at(fake::ValueOf(palette));
    EXPECT_EQ(0x300, built.version);
    ASSERT_EQ(size_t(row.expected), built.entries.size());
    for (int i = 0; i < row.expected; ++i) {
        const PALETTEENTRY& entry = built.entries[size_t(i)];
        EXPECT_EQ(255 - i, entry.peRed) << "entry " << i;
        EXPECT_EQ(i ^ 0x5A, entry.peGreen) << "entry " << i;
        EXPECT_EQ(i, entry.peBlue) << "entry " << i;
        EXPECT_EQ(0, entry.peFlags) << "entry " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, ColorCountTest,
                         ::testing::Values(ColorCase{"ElevenUsedOfFourBits", 4, 11, 11}, ColorCase{"OneBit", 1, 0, 2},
                                           ColorCase{"FourBits", 4, 0, 16}, ColorCase{"EightBits", 8, 0, 256},
                                           ColorCase{"TrueColour", 24, 0, 0}, ColorCase{"HighColour", 16, 0, 0},
                                           ColorCase{"TrueColourWithTable", 24, 3, 3}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ResourceDibTest, PaletteIsBuiltOnceAndKeptUntilDestruction) {
    HPALETTE palette;
    {
        ResourceDib dib;
        ASSERT_TRUE(Load(dib, MakeDib(8, 0, 256)));
        palette = dib.GetPalette();
        ASSERT_NE(nullptr, palette);
        EXPECT_EQ(palette, dib.GetPalette());
        EXPECT_EQ(1, world.record.calls["CreatePalette"]);
    }
    EXPECT_TRUE(world.state.palettes.at(fake::ValueOf(palette)).deleted);
    EXPECT_EQ(0u, world.state.globalBlocks.size());
}

struct PaletteFailure {
    const char* operation;
    int call; // 1-based; the picture's copy took the first allocation and lock
};

class PaletteFailureTest : public ResourceDibTest, public ::testing::WithParamInterface<PaletteFailure> {};

TEST_P(PaletteFailureTest, FailedBuildGivesNullAndIsRetried) {
    ResourceDib dib;
    ASSERT_TRUE(Load(dib, ShippedBanner()));
    world.knobs.failOnCall[GetParam().operation] = {GetParam().call};
    EXPECT_EQ(nullptr, dib.GetPalette());
    EXPECT_EQ(nullptr, dib.Palette);
    EXPECT_EQ(1u, world.state.globalBlocks.size()) << "the palette block is freed";
    const HPALETTE retried = dib.GetPalette();
    ASSERT_NE(nullptr, retried);
    EXPECT_EQ(11u, world.state.palettes.at(fake::ValueOf(retried)).entries.size());
    EXPECT_EQ(retried, dib.GetPalette());
    EXPECT_EQ(1u, world.state.globalBlocks.size());
}

INSTANTIATE_TEST_SUITE_P(Steps, PaletteFailureTest,
                         ::testing::Values(PaletteFailure{"CreatePalette", 1}, PaletteFailure{"GlobalAlloc", 2},
                                           PaletteFailure{"GlobalLock", 2}),
                         [](const auto& info) { return std::string(info.param.operation); });

TEST_F(ResourceDibTest, OnlyBitmapResourcesKeepTheirFirst14Bytes) {
    const fake::Bytes dib = MakeDib(4, 11, 11);
    for (LPCSTR type : std::initializer_list<LPCSTR>{RT_BITMAP, FileType, MAKEINTRESOURCEA(10), MAKEINTRESOURCEA(3)}) {
        ResourceDib picture;
        ASSERT_TRUE(Load(picture, type == RT_BITMAP ? dib : WithFileHeader(dib), type));
        const BYTE* copy = reinterpret_cast<const BYTE*>(picture.Header);
        EXPECT_EQ(dib, fake::Bytes(copy, copy + dib.size()));
    }
    EXPECT_EQ(4u, Allocations(dib.size()));
    EXPECT_EQ(4, world.record.resourcesFreed);

    // The real banner file under another type gives the very bitmap the program carries.
    const fake::Bytes expected = ShippedBanner();
    ResourceDib fromFile;
    ASSERT_TRUE(Load(fromFile, fake::ReadHostFile(QUORVANE_SOURCE_DIR "/resources/banner.bmp"), FileType));
    const BYTE* copy = reinterpret_cast<const BYTE*>(fromFile.Header);
    EXPECT_EQ(expected, fake::Bytes(copy, copy + expected.size()));
}

struct SafetyCase {
    const char* label;
    LPCSTR type;
    fake::Bytes bytes;
    bool accepted;
};

class SafetyTest : public ResourceDibTest, public ::testing::WithParamInterface<SafetyCase> {};

TEST_P(SafetyTest, RefusesWhatCannotBeReadWithinTheCopy) {
    const SafetyCase& row = GetParam();
    {
        ResourceDib dib;
        ASSERT_EQ(row.accepted, bool(Load(dib, row.bytes, row.type)));
        if (!row.accepted) {
            EXPECT_EQ(nullptr, dib.Header);
        } else {
            // Read everything painting reads; ASan checks the bounds.
            dib.GetPalette();
            PAINTSTRUCT paint;
            const HDC dc = platform::BeginPaint(nullptr, &paint);
            EXPECT_NE(0, platform::StretchDIBits(dc, 0, 0, 1, 1, 0, 0, 1, 1, dib.Bits(),
                                                 reinterpret_cast<const BITMAPINFO*>(dib.Header), DIB_RGB_COLORS,
                                                 SRCCOPY));
            platform::EndPaint(nullptr, &paint);
        }
    }
    EXPECT_EQ(0u, world.state.globalBlocks.size());
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, SafetyTest,
    ::testing::Values(
        SafetyCase{"Whole", RT_BITMAP, fourBit, true},
        SafetyCase{"TopDown", RT_BITMAP, MakeDib(8, 0, 256, 7, -4), true},
        SafetyCase{"LargerHeader", RT_BITMAP, MakeDib(24, 2, 2, 3, 2, 124), true},
        SafetyCase{"WholeFile", FileType, WithFileHeader(fourBit), true},
        SafetyCase{"HeaderShort", RT_BITMAP, Cut(fourBit, 39), false}, SafetyCase{"Empty", RT_BITMAP, {}, false},
        SafetyCase{"CoreHeader", RT_BITMAP, Patched(fourBit, SizeField, 12), false},
        SafetyCase{"HeaderSizePastCopy", RT_BITMAP, Patched(fourBit, SizeField, uint32_t(fourBit.size() + 1)), false},
        SafetyCase{"ColourTableCut", RT_BITMAP, Cut(fourBit, 40 + 43), false},
        SafetyCase{"MoreColoursUsedThanPresent", RT_BITMAP, MakeDib(1, 600, 2, 32, 1), false},
        SafetyCase{"TableOfAllColoursCut", RT_BITMAP, Cut(MakeDib(8, 0, 256), 40 + 255 * 4), false},
        SafetyCase{"LastRowShortByOne", RT_BITMAP, Cut(fourBit, fourBit.size() - 1), false},
        SafetyCase{"TopDownShortByOne", RT_BITMAP, Cut(MakeDib(8, 0, 256, 7, -4), 40 + 1024 + 31), false},
        SafetyCase{"LargerHeaderShortByOne", RT_BITMAP, Cut(MakeDib(24, 2, 2, 3, 2, 124), 124 + 8 + 23), false},
        // Rows of 2^33 bytes: a product that overflows 32 bits, and nearly 64.
        SafetyCase{"HugeWidthAndHeight", RT_BITMAP,
                   Patched(Patched(MakeDib(32, 0, 0, 1, 1), WidthField, 0x7FFFFFFF), HeightField, 0x7FFFFFFF), false},
        SafetyCase{"HugeWidthTopDown", RT_BITMAP,
                   Patched(Patched(MakeDib(32, 0, 0, 1, 1), WidthField, 0x7FFFFFFF), HeightField, 0x80000000), false},
        SafetyCase{"FileShorterThanItsHeader", FileType, fake::Bytes(13, 'B'), false},
        SafetyCase{"EmptyFile", FileType, {}, false},
        SafetyCase{"FileWithoutInfoHeader", FileType, Cut(WithFileHeader(fourBit), 14 + 39), false},
        SafetyCase{"FileShortByOne", MAKEINTRESOURCEA(10), Cut(WithFileHeader(fourBit), 14 + fourBit.size() - 1),
                   false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ResourceDibTest, EveryFailedStepReturnsFalseAndLeaksNothing) {
    for (const char* failing : {"LoadResource", "LockResource", "GlobalAlloc", "GlobalLock"}) {
        SetUp();
        {
            ResourceDib dib;
            world.knobs.failing = {failing};
            EXPECT_FALSE(Load(dib, ShippedBanner())) << failing;
            EXPECT_EQ(nullptr, dib.Header) << failing;
        }
        EXPECT_EQ(0u, world.state.globalBlocks.size()) << failing;
    }
    ResourceDib dib;
    EXPECT_FALSE(dib.LoadFromResource(fake::Instance, "absent", RT_BITMAP));
}

} // namespace
