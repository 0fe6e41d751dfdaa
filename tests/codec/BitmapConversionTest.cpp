#include "codec/BitmapConversion.h"

#include <gtest/gtest.h>

#include <numeric>

#include "RecordInflater.h"
#include "TempFolder.h"
#include "TestBitmaps.h"
#include "codec/UserImage.h"

namespace {

// The file of `b`: unless changed, a 4 x 1 8-bit picture of a 4-entry table, pixels 0 1 2 3.
Bytes File(TestBitmap b, std::size_t cutTo = SIZE_MAX) {
    if (b.table.empty() && b.bitCount != 16)
        b.table = DistinctTable(4);
    if (b.pixels.empty() && b.bitCount != 16)
        b.pixels = {0, 1, 2, 3};
    Bytes file = b.Build();
    file.resize(std::min(cutTo, file.size()));
    return file;
}

Bytes Sixteen(std::int32_t width, const std::vector<std::uint16_t>& pixels) {
    return File({.width = width, .bitCount = 16, .pixels = Pixels16(pixels)});
}

TextureData Converted(const Bytes& file, int depthMode) {
    TextureData out;
    EXPECT_EQ(ConvertBitmapToTexture(file, depthMode, out), ConvertResult::Ok);
    return out;
}

}  // namespace

// Each result in the order the checks run, the limits themselves accepted, and a refused file
// leaving the output as it was.
TEST(ConversionResults, RefusalsAndLimits) {
    using R = ConvertResult;
    std::vector<std::uint16_t> colours(257);  // 256 colours and a repeat, then a 257th colour
    std::iota(colours.begin(), colours.end() - 1, 0);
    const Bytes repeat = Sixteen(257, colours);
    colours.back() = 256;
    const std::tuple<Bytes, int, ConvertResult> cases[] = {
        {File({.signature = 0x4E42}), 9, R::NotBitmap},
        {File({.bitCount = 1}), 9, R::NotBitmap},
        {File({.bitCount = 24}), 9, R::NotBitmap},
        {Bytes{'B', 'M'}, 9, R::NotBitmap},
        {Bytes{}, 9, R::NotBitmap},
        {File({.infoHeaderSize = 124}, 53), 9, R::TooShort},  // shortness is found first
        {File({.width = 2, .bitCount = 16}, 30), 9, R::TooShort},
        {File({.infoHeaderSize = 124, .pixelDataOffset = 0}), 9, R::UnsupportedInfoHeader},
        {File({.infoHeaderSize = 12, .bitCount = 4}), 8, R::UnsupportedInfoHeader},
        {File({.pixelDataOffset = 0}), 9, R::BadPaletteCount},
        {File({.pixelDataOffset = 57}), 9, R::BadPaletteCount},
        {File({.pixelDataOffset = 1082}), 9, R::BadPaletteCount},
        {File({.pixelDataOffset = 58}), 9, R::Ok},
        {File({.pixelDataOffset = 1081}), 9, R::Ok},
        {File({.width = 4097}), 9, R::TooLarge},
        {File({.width = 4097}), 8, R::TooLarge},  // all 4097 pixels are read before packing
        {File({.width = 4097, .bitCount = 4}), 8, R::TooLarge},
        {File({.width = 64, .height = 64}), 8, R::Ok},
        {File({.width = 0x10040, .height = 64}), 9, R::Ok},  // low 16 bits of the size fields
        {Sixteen(2049, {}), 9, R::TooLarge},
        {Sixteen(1024, {}), 9, R::Ok},
        {File({.width = 0}), 9, R::NoPixels},
        {File({.width = 1}), 8, R::NoPixels},
        {File({.width = 1}), 9, R::Ok},
        {Sixteen(1, {0x7C00}), 9, R::NoPixels},
        {repeat, 9, R::Ok},
        {Sixteen(257, colours), 9, R::TooManyColors},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [file, depthMode, expected] = cases[i];
        TextureData out;
        out.count = 77;
        EXPECT_EQ(ConvertBitmapToTexture(file, depthMode, out), expected) << "case " << i;
        EXPECT_EQ(out.count == 77, expected != R::Ok) << "case " << i;
    }
    TempFolder folder;
    TextureData out;
    EXPECT_EQ(ConvertBitmapToTexture(folder / "absent.bmp", 9, out), R::CannotOpen);
    EXPECT_EQ(ConvertBitmapToTexture(folder.Path(), 9, out), R::CannotOpen);
}

// A full table is cut to one zero entry after its last non-zero one when entries 14 and 15
// (4-bit) or 152 and 153 (8-bit) are zero; any byte of an entry makes it non-zero. Rows: bit
// count, non-zero entries, table entries, byte set to 1 (0: none;
// 62 is entry 15's red, 63 its reserved byte, 56 entry 14's blue), count.
TEST(ColourTables, FullTablesWithAZeroTailAreTrimmed) {
    const std::tuple<std::uint16_t, int, std::size_t, std::size_t, int> cases[] = {
        {4, 10, 16, 0, 11},  {4, 0, 16, 0, 1},        {4, 10, 16, 62, 16},     {4, 10, 16, 63, 16},
        {4, 10, 16, 56, 16}, {8, 101, 256, 800, 102}, {8, 101, 256, 609, 256}, {8, 3, 17, 0, 17}};
    for (const auto& [bitCount, nonZero, entries, poked, count] : cases) {
        TestBitmap b{.bitCount = bitCount, .table = DistinctTable(nonZero), .pixels = {0x01, 0x23}};
        b.table.resize(4 * entries, 0);
        b.table[poked] = poked ? 1 : b.table[0];
        EXPECT_EQ(Converted(b.Build(), 9).count, count) << bitCount << " bits, byte " << poked;
    }
}

TEST(IndexStreams, DepthChangesAndBytesRead) {
    // An 8-bit file at 4-bit depth (only the mode's low four bits count): low nibbles packed in
    // place in whole words, the read bytes beyond kept.
    const Bytes eight =
        File({.width = 12, .pixels = {0xF1, 0x32, 0xA3, 4, 5, 6, 7, 8, 9, 10, 11, 12}});
    EXPECT_EQ(StreamBytes(Converted(eight, 0x10 | DEPTH_MODE_4BIT), 13),
              (Bytes{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0, 0, 9, 10, 11, 12, 0}));
    // Unchanged depth: the pixel count rounded down to four bytes is read, as one run.
    EXPECT_EQ(StreamBytes(Converted(File({.width = 7, .pixels = {1, 2, 3, 4, 5, 6, 7}}), 9), 8),
              (Bytes{1, 2, 3, 4, 0, 0, 0, 0}));
    // 16-bit: colours by first appearance, shifted so bit 15 is lost (0xFC00 and 0x7C00 are
    // two entries of one colour); fewer than 16 pack two a byte, an odd last pixel dropped.
    const TextureData t = Converted(Sixteen(5, {0x001F, 0xFC00, 0x001F, 0x03E0, 0x7C00}), 9);
    EXPECT_EQ(StreamBytes(t, 3), (Bytes{0x01, 0x02, 0}));
    EXPECT_EQ(t.depthMode, DEPTH_MODE_4BIT);
    EXPECT_EQ(std::vector<std::uint16_t>(t.palette.begin(), t.palette.begin() + 5),
              (std::vector<std::uint16_t>{0x003E, 0xF800, 0x07C0, 0xF800, 0}));
    // 16-bit pixels are read from offset 54 whatever the header says.
    const Bytes offset40 =
        File({.width = 2, .bitCount = 16, .pixelDataOffset = 40, .pixels = Pixels16({0x7C00, 0})});
    EXPECT_EQ(Converted(offset40, 9).palette[0], 0xF800);
}

// What a short file lacks reads as zero, from memory and from disk alike.
TEST(IndexStreams, MissingBytesReadAsZero) {
    EXPECT_EQ(StreamBytes(Converted(File({}, 54 + 16 + 3), 9), 4), (Bytes{0, 1, 2, 0}));
    EXPECT_EQ(Converted(File({}, 54 + 4 + 2), 9).palette[1], 0x0060);  // blue 0x80, green 8
    TempFolder folder;
    const Bytes file = Sixteen(2, {0x7C00, 0x03E0});
    TextureData out;
    ASSERT_EQ(
        ConvertBitmapToTexture(folder.Write("a.bmp", Bytes(file.begin(), file.end() - 1)), 9, out),
        ConvertResult::Ok);
    EXPECT_EQ(out.palette[1], 0x00E0 << 1);
}

// A 16-bit picture's record takes its colour count and the depth chosen for it; a refused
// bitmap gives neither record nor preview.
TEST(UserImages, SixteenBitRecordsAndRefusals) {
    for (const int colours : {20, 5}) {
        std::vector<std::uint16_t> pixels;
        for (int i = 0; i < 40; ++i)
            pixels.push_back(static_cast<std::uint16_t>(0x0421 * (i % colours)));
        const UserImage image = PrepareUserImage(Sixteen(40, pixels), "G");
        ASSERT_EQ(image.entries, colours);
        EXPECT_EQ(image.record.at(0), colours < 16 ? 0x0C : 0x0B);
        EXPECT_EQ(image.record.at(1), colours - 1);
        EXPECT_EQ(InflateRecord(image.record), StreamBytes(image.texture, colours < 16 ? 20 : 40));
    }
    std::vector<std::uint16_t> many(300);
    std::iota(many.begin(), many.end(), 0);
    TempFolder folder;
    const std::pair<UserImage, ConvertResult> refused[] = {
        {PrepareUserImage(Sixteen(300, many), "N"), ConvertResult::TooManyColors},
        {PrepareUserImage(File({.bitCount = 24}), "N"), ConvertResult::NotBitmap},
        {PrepareUserImage(File({.width = 1}), "N"), ConvertResult::NoPixels},  // 4-bit depth
        {PrepareUserImage(folder / "absent.bmp", "N"), ConvertResult::CannotOpen}};
    for (const auto& [image, result] : refused) {
        EXPECT_EQ(image.result, result);
        EXPECT_TRUE(image.record.empty() && MakePreviewBitmap(image).empty());
    }
}

TEST(TextureBitmapWriting, SixteenBitPixelsAfterFixedHeaders) {
    std::vector<std::uint16_t> palette(256, 0);
    palette[1] = 0xF800;
    palette[2] = 0xFFFE;
    // Size 62, offset 54; header 40, 4 x 1, 16 bits, image size 8, 2834 pixels a metre.
    EXPECT_EQ(
        WriteTextureBitmap(4, 1, 16, std::vector<std::uint32_t>{0x00010200}, palette, 9),
        (Bytes{'B',  'M',  62, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0, 40, 0,    0,    0,    4,    0, 0,
               0,    1,    0,  0, 0, 1, 0, 16, 0, 0, 0,  0, 0, 8, 0,  0,    0,    0x12, 0x0B, 0, 0,
               0x12, 0x0B, 0,  0, 0, 0, 0, 0,  0, 0, 0,  0, 0, 0, 0,  0x7C, 0xFF, 0x7F, 0,    0}));
    // At 4-bit depth the first pixel is a byte's high nibble.
    const Bytes packed =
        WriteTextureBitmap(2, 1, 16, std::vector<std::uint32_t>{0x12000000}, palette, 8);
    EXPECT_EQ(Bytes(packed.begin() + 54, packed.end()), (Bytes{0x00, 0x7C, 0xFF, 0x7F}));
    const TextureData t;
    EXPECT_EQ(WriteTextureBitmap(64, 64, 16, t.indexWords, t.palette, 9).size(), 54u + 8192);
    EXPECT_TRUE(WriteTextureBitmap(-1, 4, 16, t.indexWords, t.palette, 9).empty());
    EXPECT_TRUE(WriteTextureBitmap(4097, 1, 16, t.indexWords, t.palette, 9).empty());
    EXPECT_TRUE(
        WriteTextureBitmap(2, 1, 16, t.indexWords, std::span(t.palette).first(15), 8).empty());
    EXPECT_TRUE(
        WriteTextureBitmap(5, 1, 16, std::span(t.indexWords).first(1), t.palette, 9).empty());
}
