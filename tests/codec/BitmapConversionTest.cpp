#include "codec/BitmapConversion.h"

#include <gtest/gtest.h>

#include <cstdlib>
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

// A file's bytes or its path.
TextureData Converted(const auto& file, int depthMode) {
    TextureData out;
    EXPECT_EQ(ConvertBitmapToTexture(file, depthMode, out), ConvertResult::Ok);
    return out;
}

}  // namespace

// Each result in the order the checks run (shortness first), the limits themselves accepted (all
// 4097 pixels of an 8-bit file are read before packing; only the low 16 bits of the size fields
// count), and a refused file leaving the output as it was.
TEST(ConversionResults, RefusalsAndLimits) {
    using R = ConvertResult;
    std::vector<std::uint16_t> colours(257);  // 256 colours and a repeat, then a 257th colour
    std::iota(colours.begin(), colours.end() - 1, 0);
    const Bytes repeat = Sixteen(257, colours);
    colours.back() = 256;
    const std::tuple<Bytes, int, ConvertResult> cases[] = {
        {File({.signature = 0x4E42}), 9, R::NotBitmap},
        {File({.bitCount = 2}), 9, R::NotBitmap},
        {File({.bitCount = 24}), 9, R::CutShort},
        {Bytes{'B', 'M'}, 9, R::NotBitmap},
        {File({.infoHeaderSize = 124}, 53), 9, R::TooShort},
        {File({.infoHeaderSize = 124, .pixelDataOffset = 0}), 9, R::UnsupportedInfoHeader},
        {File({.infoHeaderSize = 12, .bitCount = 4}), 8, R::UnsupportedInfoHeader},
        {File({.pixelDataOffset = 57}), 9, R::BadPaletteCount},
        {File({.pixelDataOffset = 1082}), 9, R::BadPaletteCount},
        {File({.pixelDataOffset = 58}), 9, R::Ok},
        {File({.pixelDataOffset = 1081}), 9, R::Ok},
        {File({.width = 4097}), 8, R::TooLarge},
        {File({.width = 64, .height = 64, .pixels = Bytes(4096)}), 8, R::Ok},
        {File({.width = 0x10040, .height = 64, .pixels = Bytes(4096)}), 9, R::Ok},
        {File({.width = 64, .height = 64, .pixels = Bytes(4095)}), 8, R::CutShort},
        {Sixteen(2049, {}), 9, R::TooLarge},
        {File({.width = 0}), 9, R::NoPixels},
        {File({.width = 1}), 8, R::NoPixels},
        {File({.width = 1}), 9, R::Ok},
        {Sixteen(1, {0x7C00}), 9, R::NoPixels},
        {repeat, 9, R::Ok},
        {Sixteen(257, colours), 9, R::TooManyColors}};
    TextureData out;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& [file, depthMode, expected] = cases[i];
        out.count = 77;
        EXPECT_EQ(ConvertBitmapToTexture(file, depthMode, out), expected) << "case " << i;
        EXPECT_EQ(out.count == 77, expected != R::Ok) << "case " << i;
    }
    TempFolder folder;
    for (const auto& path : {folder / "absent.bmp", folder.Path()})
        EXPECT_EQ(ConvertBitmapToTexture(path, 9, out), R::CannotOpen);
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
        TestBitmap b{
            .bitCount = bitCount, .table = DistinctTable(nonZero), .pixels = {0x01, 0x23, 0, 0}};
        b.table.resize(4 * entries, 0);
        b.table[poked] = poked ? 1 : b.table[0];
        EXPECT_EQ(Converted(b.Build(), 9).count, count) << bitCount << " bits, byte " << poked;
    }
}

TEST(IndexStreams, DepthChangesBytesReadMissingBytesAndUserImages) {
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
    EXPECT_EQ(std::vector<std::uint16_t>(t.palette.begin(), t.palette.begin() + 5),
              (std::vector<std::uint16_t>{0x003E, 0xF800, 0x07C0, 0xF800, 0}));
    // A file cut short is refused, from memory and from disk alike, even with its headers whole;
    // 16-bit pixels are read from offset 54 whatever the header says.
    TextureData none;
    EXPECT_EQ(ConvertBitmapToTexture(File({}, 54 + 16 + 3), 9, none), ConvertResult::CutShort);
    EXPECT_EQ(ConvertBitmapToTexture(File({}, 54 + 4 + 2), 9, none), ConvertResult::CutShort);
    TempFolder folder;
    const Bytes file = File(
        {.width = 2, .bitCount = 16, .pixelDataOffset = 40, .pixels = Pixels16({0x7C00, 0x03E0})});
    const TextureData d = Converted(folder.Write("a.bmp", file), 9);
    EXPECT_TRUE(d.palette[0] == 0xF800 && d.palette[1] == 0x07C0);
    EXPECT_EQ(
        ConvertBitmapToTexture(folder.Write("b.bmp", Bytes(file.begin(), file.end() - 1)), 9, none),
        ConvertResult::CutShort);
    // 16 colours of a 16-bit picture keep a byte each.
    const std::vector<std::uint16_t> sixteen = {0, 1, 2,  3,  4,  5,  6,  7,
                                                8, 9, 10, 11, 12, 13, 14, 15};
    EXPECT_EQ(Converted(Sixteen(16, sixteen), 9).depthMode, DEPTH_MODE_8BIT);
    // A refused bitmap gives neither record nor preview (a table of up to 16 entries is read at
    // 4-bit depth, so one pixel is none).
    const UserImage image = PrepareUserImage(File({.width = 1}), "N");
    EXPECT_TRUE(image.result == ConvertResult::NoPixels && image.record.empty() &&
                MakePreviewBitmap(image).empty());
}

TEST(TextureBitmapWriting, SixteenBitPixelsAfterFixedHeaders) {
    std::vector<std::uint16_t> palette = {0, 0xF800, 0xFFFE};
    palette.resize(256);
    // Size 62, offset 54; header 40, 4 x 1, 16 bits, image size 8, 2834 pixels a metre.
    EXPECT_EQ(
        WriteTextureBitmap(4, 1, 16, std::vector<std::uint32_t>{0x00010200}, palette, 9),
        (Bytes{'B',  'M',  62, 0, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0, 40, 0,    0,    0,    4,    0, 0,
               0,    1,    0,  0, 0, 1, 0, 16, 0, 0, 0,  0, 0, 8, 0,  0,    0,    0x12, 0x0B, 0, 0,
               0x12, 0x0B, 0,  0, 0, 0, 0, 0,  0, 0, 0,  0, 0, 0, 0,  0x7C, 0xFF, 0x7F, 0,    0}));
    const TextureData t;
    EXPECT_TRUE(
        WriteTextureBitmap(-1, 4, 16, t.indexWords, t.palette, 9).empty() &&
        WriteTextureBitmap(4097, 1, 16, t.indexWords, t.palette, 9).empty() &&
        WriteTextureBitmap(2, 1, 16, t.indexWords, std::span(t.palette).first(15), 8).empty() &&
        WriteTextureBitmap(5, 1, 16, std::span(t.indexWords).first(1), t.palette, 9).empty());
}

// Bitmaps written by software we did not write: pictures made here are saved by ImageMagick's
// `convert` as classic 4 and 8-bit files, converted by our code, and every pixel's colour is
// compared with the picture, in the converted stream and in the record as zlib inflates it.

// A full 16-entry table; a 16-entry table with a zero tail (trimmed); most of a 256-entry table;
// a 256-entry table with a zero tail (trimmed). Widths are multiples of 8 (no row padding), at
// most 216 colours; the bit count is what ImageMagick is expected to choose.
TEST(ImageMagickBitmaps, EveryPixelKeepsItsColour) {
    for (const auto& [width, height, colours, bits] :
         {std::array{16, 8, 16, 4}, {8, 4, 10, 4}, {32, 16, 200, 8}, {64, 16, 40, 8}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        // Far-apart points of a 6 x 6 x 6 cube, as ImageMagick merges nearly equal colours; every
        // colour appears, the rest pseudo-random. Expected RGBA5551 per stream pixel, bottom row
        // first.
        std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
        std::vector<std::uint16_t> expected(width * height);
        std::uint32_t state = colours;
        for (int i = 0; i < width * height; ++i) {
            state = state * 1664525u + 1013904223u;
            const int point = (i < colours ? i : (state >> 8) % colours) * 97 % 216;
            const int rgb[3] = {point % 6 * 51, point / 6 % 6 * 51, point / 36 * 51};
            ppm +=
                {static_cast<char>(rgb[0]), static_cast<char>(rgb[1]), static_cast<char>(rgb[2])};
            expected[(height - 1 - i / width) * width + i % width] = static_cast<std::uint16_t>(
                (rgb[0] >> 3) << 11 | (rgb[1] >> 3) << 6 | (rgb[2] >> 3) << 1);
        }
        TempFolder folder;
        folder.WriteText("in.ppm", ppm);
        // -type Palette keeps a colour table, -compress None and BMP3: a classic uncompressed file.
        const std::string command = "cd '" + folder.Path().string() +
                                    "' && convert in.ppm -type Palette -compress None BMP3:out.bmp";
        ASSERT_EQ(std::system(command.c_str()), 0)
            << command << " (ImageMagick: scripts/install-deps.sh installs it)";
        const Bytes file = ReadAllBytes(folder / "out.bmp");
        const BitmapHeader header = ReadBitmapHeader(file);
        ASSERT_EQ(header.bitCount, bits);

        // The pipeline: header entry count and matching format code, the record read as the game
        // would.
        const UserImage image = PrepareUserImage(file, "N");
        const Bytes& record = image.record;
        ASSERT_GT(record.size(), 8u);
        EXPECT_EQ(record[1] + 1, ColourTableEntries(header));
        const bool fourBit = record[1] < 15;
        EXPECT_EQ(record[0], fourBit ? 0x0A : 0x09);
        EXPECT_EQ(record[4 + 2 * record[1]] << 8 | record[5 + 2 * record[1]], width << 8 | height);
        const auto stream = InflateRecord(record);
        const Bytes preview = MakePreviewBitmap(image);  // the first 1024 pixels, 16 bits each
        ASSERT_TRUE(stream && stream->size() == expected.size() / (fourBit ? 2 : 1));
        for (std::size_t k = 0; k < expected.size(); ++k) {  // two pixels a byte: the first high
            const std::uint8_t byte = (*stream)[fourBit ? k / 2 : k];
            const int index = !fourBit ? byte : k % 2 ? byte & 0x0F : byte >> 4;
            ASSERT_TRUE(index <= record[1] &&
                        (record[2 + 2 * index] << 8 | record[3 + 2 * index]) == expected[k])
                << "pixel " << k;
            ASSERT_TRUE(k >= 1024 ||
                        (preview.at(54 + 2 * k) | preview.at(55 + 2 * k) << 8) == expected[k] >> 1)
                << k;
        }
    }
}
