#include "codec/BitmapConversion.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "TempFolder.h"
#include "TestBitmaps.h"

namespace {

// X1R5G5B5 pixels of a 16-bit bitmap.
constexpr std::uint16_t BLUE_555 = 0x001F;
constexpr std::uint16_t RED_555 = 0x7C00;
constexpr std::uint16_t GREEN_555 = 0x03E0;

// An indexed bitmap, one row of the given pixel bytes unless changed.
TestBitmap Indexed(std::uint16_t bitCount, int entries, const Bytes& pixels,
                   const std::function<void(TestBitmap&)>& change = {}) {
    TestBitmap bitmap;
    bitmap.bitCount = bitCount;
    bitmap.width = static_cast<std::int32_t>(pixels.size()) * (bitCount == 4 ? 2 : 1);
    bitmap.table = DistinctTable(entries);
    bitmap.pixels = pixels;
    if (change) {
        change(bitmap);
    }
    return bitmap;
}

TestBitmap SixteenBit(std::int32_t width, std::int32_t height,
                      const std::vector<std::uint16_t>& pixels) {
    TestBitmap bitmap;
    bitmap.bitCount = 16;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.pixels = Pixels16(pixels);
    return bitmap;
}

// Converts and returns the first `bytes` bytes of the index stream; empty when refused.
Bytes StreamOf(const TestBitmap& bitmap, int depthMode, std::size_t bytes,
               TextureData* kept = nullptr) {
    TextureData out;
    if (ConvertBitmapToTexture(bitmap.Build(), depthMode, out) != ConvertResult::Ok) {
        return {};
    }
    if (kept) {
        *kept = out;
    }
    return StreamBytes(out, bytes);
}

int CountOf(const TestBitmap& bitmap) {
    TextureData out;
    EXPECT_EQ(ConvertBitmapToTexture(bitmap.Build(), DEPTH_MODE_8BIT, out), ConvertResult::Ok);
    return out.count;
}

}  // namespace

// --- Colours and the trim rule ---------------------------------------------------------------

TEST(PaletteConversion, ComponentsKeepTheirTopFiveBits) {
    TestBitmap bitmap = Indexed(8, 0, {0, 1, 2, 3});
    for (const auto& entry :
         {Bgr0(0xFF, 0, 0), Bgr0(0, 0xFF, 0), Bgr0(0, 0, 0xFF), Bgr0(0xFF, 0xFF, 0xFF),
          Bgr0(0, 0, 0), Bgr0(7, 7, 7), Bgr0(8, 8, 8)}) {
        bitmap.table.insert(bitmap.table.end(), entry.begin(), entry.end());
    }
    TextureData out;
    ASSERT_EQ(ConvertBitmapToTexture(bitmap.Build(), DEPTH_MODE_8BIT, out), ConvertResult::Ok);
    EXPECT_EQ(std::vector<std::uint16_t>(out.palette.begin(), out.palette.begin() + out.count),
              (std::vector<std::uint16_t>{0xF800, 0x07C0, 0x003E, 0xFFFE, 0, 0, 0x0842}));
}

TEST(PaletteConversion, FullFourBitTableKeepsOneZeroEntryAfterItsLast) {
    auto table = [](int nonZero, int extraByte) {
        return Indexed(4, nonZero, {0x01, 0x23}, [=](TestBitmap& b) {
            b.table.resize(16 * 4, 0);  // a 16-entry table: pixel data offset 118
            if (extraByte >= 0) {
                b.table[static_cast<std::size_t>(extraByte)] = 1;
            }
        });
    };
    EXPECT_EQ(CountOf(table(10, -1)), 11);          // entries 10 to 15 zero, entry 9 not
    EXPECT_EQ(CountOf(table(0, -1)), 1);            // all zero
    EXPECT_EQ(CountOf(table(10, 15 * 4 + 2)), 16);  // entry 15's red byte
    EXPECT_EQ(CountOf(table(10, 15 * 4 + 3)), 16);  // entry 15's reserved byte
    EXPECT_EQ(CountOf(table(10, 14 * 4)), 16);      // entry 14's blue byte
}

TEST(PaletteConversion, FullEightBitTableExaminesEntries152And153) {
    TestBitmap bitmap = Indexed(8, 101, {0, 1, 2, 3}, [](TestBitmap& b) {
        b.table.resize(256 * 4, 0);  // offset 1078, last non-zero entry below 152 is 100
        b.table[200 * 4] = 0x40;     // entry 200 non-zero: dropped by the rule
    });
    EXPECT_EQ(CountOf(bitmap), 102);
    bitmap.table[152 * 4 + 1] = 0x40;  // entry 152 non-zero: no trimming
    EXPECT_EQ(CountOf(bitmap), 256);
    // A 17-entry table (offset 122) with a zero tail is not a full table.
    EXPECT_EQ(CountOf(Indexed(8, 3, {0, 1, 2, 3}, [](TestBitmap& b) { b.table.resize(68); })), 17);
}

// --- Index stream: the four depth and mode combinations ---------------------------------------

TEST(IndexRearrangement, EightBitFileAtFourBitDepthPacksLowNibblesInPlace) {
    EXPECT_EQ(StreamOf(Indexed(8, 4, {1, 2, 3, 4, 5, 6, 7, 8}), DEPTH_MODE_4BIT, 4),
              (Bytes{0x12, 0x34, 0x56, 0x78}));
    EXPECT_EQ(StreamOf(Indexed(8, 4, {0xF1, 0x32, 0xA3, 4, 5, 6, 7, 8}), DEPTH_MODE_4BIT, 1),
              Bytes{0x12});  // high nibbles dropped
    // Only the low four bits of the mode count.
    EXPECT_EQ(StreamOf(Indexed(8, 4, {1, 2, 3, 4, 5, 6, 7, 8}), 0x10 | DEPTH_MODE_4BIT, 1),
              Bytes{0x12});
    // Packed in place, in whole words: the read bytes past the packed words stay.
    EXPECT_EQ(StreamOf(Indexed(8, 4, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}), DEPTH_MODE_4BIT, 13),
              (Bytes{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0, 0, 9, 10, 11, 12, 0}));
}

TEST(IndexRearrangement, FourBitFileAtEightBitDepthWidensNibbles) {
    TextureData out;
    EXPECT_EQ(StreamOf(Indexed(4, 16, {0x12, 0x34, 0x56, 0x78}), DEPTH_MODE_8BIT, 9, &out),
              (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 0}));
    EXPECT_EQ(out.depthMode, DEPTH_MODE_8BIT);
}

TEST(IndexRearrangement, UnchangedModesKeepPixelCountBytesRoundedDownToFour) {
    TextureData out;
    StreamOf(Indexed(8, 4, {0x0A, 0x0B, 0x0C, 0x0D}), DEPTH_MODE_8BIT, 0, &out);
    EXPECT_EQ(out.indexWords[0], 0x0A0B0C0Du);
    // 7 pixels: 4 bytes are read.
    EXPECT_EQ(StreamOf(Indexed(8, 4, {1, 2, 3, 4, 5, 6, 7}), DEPTH_MODE_8BIT, 8),
              (Bytes{1, 2, 3, 4, 0, 0, 0, 0}));
    // 8 pixels of a 4-bit file: 8 bytes are read, so the 4 after its pixels come along.
    EXPECT_EQ(StreamOf(Indexed(4, 16, {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0x11},
                               [](TestBitmap& b) { b.width = 8; }),
                       DEPTH_MODE_4BIT, 9),
              (Bytes{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0}));
}

// --- 16-bit files: palette by first appearance, index width by colour count ------------------

TEST(SixteenBitPalette, ColoursAreNumberedByFirstAppearance) {
    TextureData out;
    // Indices 00 01 00 02; fewer than 16 colours pack two a byte, whatever the depth mode.
    EXPECT_EQ(StreamOf(SixteenBit(4, 1, {BLUE_555, RED_555, BLUE_555, GREEN_555}), DEPTH_MODE_8BIT,
                       3, &out),
              (Bytes{0x01, 0x02, 0}));
    EXPECT_EQ(out.count, 3);
    EXPECT_EQ(std::vector<std::uint16_t>(out.palette.begin(), out.palette.begin() + 4),
              (std::vector<std::uint16_t>{0x003E, 0xF800, 0x07C0, 0}));
    EXPECT_EQ(out.depthMode, DEPTH_MODE_4BIT);
    // An odd last pixel is dropped when packed.
    EXPECT_EQ(StreamOf(SixteenBit(3, 1, {BLUE_555, RED_555, GREEN_555}), DEPTH_MODE_8BIT, 2),
              (Bytes{0x01, 0}));
    // The shift drops bit 15: two values read as distinct become equal entries.
    StreamOf(SixteenBit(2, 1, {0xFFFF, 0x7FFF}), DEPTH_MODE_8BIT, 0, &out);
    EXPECT_EQ(out.count, 2);
    EXPECT_EQ(out.palette[1], 0xFFFE);
}

TEST(SixteenBitPalette, SixteenColoursKeepOneBytePerPixel) {
    std::vector<std::uint16_t> pixels;
    for (int i = 0; i < 20; ++i) {
        pixels.push_back(static_cast<std::uint16_t>(0x100 * (i % 16) + 1));
    }
    TextureData out;
    EXPECT_EQ(StreamOf(SixteenBit(5, 4, pixels), DEPTH_MODE_4BIT, 21, &out),
              (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 0}));
    EXPECT_EQ(out.depthMode, DEPTH_MODE_8BIT);
}

TEST(SixteenBitPalette, PixelsAreReadFromOffset54WhateverTheHeaderSays) {
    TestBitmap bitmap = SixteenBit(2, 1, {RED_555, GREEN_555});
    bitmap.pixelDataOffset = 40;  // pointing into the header
    TextureData out;
    StreamOf(bitmap, DEPTH_MODE_8BIT, 0, &out);
    EXPECT_EQ(out.palette[0], 0xF800);
}

TEST(SixteenBitPalette, TheTwoHundredFiftySeventhColourIsRefused) {
    std::vector<std::uint16_t> pixels;
    for (std::uint16_t i = 0; i < 256; ++i) {
        pixels.push_back(i);
    }
    pixels.push_back(0);  // a repeat: still 256 colours
    TextureData out;
    ASSERT_EQ(ConvertBitmapToTexture(SixteenBit(257, 1, pixels).Build(), DEPTH_MODE_8BIT, out),
              ConvertResult::Ok);
    EXPECT_EQ(out.count, 256);
    pixels.back() = 256;
    EXPECT_EQ(ConvertBitmapToTexture(SixteenBit(257, 1, pixels).Build(), DEPTH_MODE_8BIT, out),
              ConvertResult::TooManyColors);
    EXPECT_EQ(out.count, 256);  // left as it was
}

// --- Refusals: every one reported before anything is converted --------------------------------

TEST(Refusals, EachRefusalLeavesTheOutputAsItWas) {
    auto eight = [](const std::function<void(TestBitmap&)>& change) {
        return Indexed(8, 4, {0, 1, 2, 3}, change).Build();
    };
    auto cut = [](TestBitmap bitmap, std::size_t size) {
        Bytes file = bitmap.Build();
        file.resize(size);
        return file;
    };
    TestBitmap headersOnly = Indexed(8, 0, {});  // exactly 54 bytes
    headersOnly.infoHeaderSize = 124;            // also unsupported: shortness is found first
    const struct {
        const char* what;
        Bytes file;
        int depthMode;
        ConvertResult expected;
    } cases[] = {
        // Depth modes: 8 asks for 4-bit indices, 9 for 8-bit ones.
        {"signature BN", eight([](TestBitmap& b) { b.signature = 0x4E42; }), 9,
         ConvertResult::NotBitmap},
        {"1 bit per pixel", eight([](TestBitmap& b) { b.bitCount = 1; }), 9,
         ConvertResult::NotBitmap},
        {"24 bits per pixel", eight([](TestBitmap& b) { b.bitCount = 24; }), 9,
         ConvertResult::NotBitmap},
        {"bare signature, bit count missing", Bytes{'B', 'M'}, 9, ConvertResult::NotBitmap},
        {"empty file", Bytes{}, 9, ConvertResult::NotBitmap},
        {"53 bytes", cut(headersOnly, 53), 9, ConvertResult::TooShort},
        {"30 bytes, 16-bit", cut(SixteenBit(2, 1, {}), 30), 9, ConvertResult::TooShort},
        {"124-byte info header and a bad offset", eight([](TestBitmap& b) {
             b.infoHeaderSize = 124;
             b.pixelDataOffset = 0;
         }),
         9, ConvertResult::UnsupportedInfoHeader},
        {"12-byte info header, 4-bit",
         Indexed(4, 4, {0x01}, [](TestBitmap& b) { b.infoHeaderSize = 12; }).Build(), 8,
         ConvertResult::UnsupportedInfoHeader},
        {"offset 0: -13 entries", eight([](TestBitmap& b) { b.pixelDataOffset = 0; }), 9,
         ConvertResult::BadPaletteCount},
        {"offset 57: 0 entries", eight([](TestBitmap& b) { b.pixelDataOffset = 57; }), 9,
         ConvertResult::BadPaletteCount},
        {"offset 1082: 257 entries", eight([](TestBitmap& b) { b.pixelDataOffset = 1082; }), 9,
         ConvertResult::BadPaletteCount},
        {"4097 pixels, 8-bit", eight([](TestBitmap& b) { b.width = 4097; }), 9,
         ConvertResult::TooLarge},
        // At 4-bit depth 4097 pixels would pack into 2049 bytes, but all 4097 are read first.
        {"4097 pixels, 8-bit at 4-bit depth", eight([](TestBitmap& b) { b.width = 4097; }), 8,
         ConvertResult::TooLarge},
        {"4097 pixels, 4-bit", Indexed(4, 4, {}, [](TestBitmap& b) { b.width = 4097; }).Build(), 8,
         ConvertResult::TooLarge},
        {"2049 pixels, 16-bit", SixteenBit(2049, 1, {}).Build(), 9, ConvertResult::TooLarge},
        {"no pixel", eight([](TestBitmap& b) { b.width = 0; }), 9, ConvertResult::NoPixels},
        {"one pixel at 4-bit depth", eight([](TestBitmap& b) { b.width = 1; }), 8,
         ConvertResult::NoPixels},
        {"one 16-bit pixel", SixteenBit(1, 1, {RED_555}).Build(), 9, ConvertResult::NoPixels},
    };
    for (const auto& refused : cases) {
        TextureData out;
        out.count = 77;
        out.indexWords[0] = 0xDEADBEEF;
        EXPECT_EQ(ConvertBitmapToTexture(refused.file, refused.depthMode, out), refused.expected)
            << refused.what;
        EXPECT_EQ(out.count, 77) << refused.what;
        EXPECT_EQ(out.indexWords[0], 0xDEADBEEFu) << refused.what;
    }

    TempFolder folder;
    TextureData out;
    EXPECT_EQ(ConvertBitmapToTexture(folder / "absent.bmp", DEPTH_MODE_8BIT, out),
              ConvertResult::CannotOpen);
    EXPECT_EQ(ConvertBitmapToTexture(folder.Path(), DEPTH_MODE_8BIT, out),
              ConvertResult::CannotOpen);
}

TEST(Refusals, LimitsThemselvesAreAccepted) {
    auto ok = [](const TestBitmap& bitmap, int depthMode) {
        TextureData out;
        return ConvertBitmapToTexture(bitmap.Build(), depthMode, out) == ConvertResult::Ok;
    };
    EXPECT_TRUE(ok(Indexed(8, 4, {0, 1, 2, 3}, [](TestBitmap& b) { b.pixelDataOffset = 58; }), 9));
    EXPECT_TRUE(
        ok(Indexed(8, 4, {0, 1, 2, 3}, [](TestBitmap& b) { b.pixelDataOffset = 1081; }), 9));
    EXPECT_TRUE(ok(Indexed(8, 4, {},
                           [](TestBitmap& b) {
                               b.width = 64;
                               b.height = 64;
                           }),
                   8));
    // Only the low 16 bits of the size fields count: 0x10040 is 64.
    EXPECT_TRUE(ok(Indexed(8, 4, {},
                           [](TestBitmap& b) {
                               b.width = 0x10040;
                               b.height = 64;
                           }),
                   9));
    EXPECT_TRUE(ok(SixteenBit(1024, 2, {}), 9));
    EXPECT_TRUE(ok(Indexed(8, 4, {5}), 9));  // one pixel at 8-bit depth
}

// --- Short files: what is missing reads as zero -----------------------------------------------

TEST(TruncatedFiles, MissingPixelAndTableBytesReadAsZero) {
    const TestBitmap bitmap = Indexed(8, 4, {1, 2, 3, 4});
    Bytes file = bitmap.Build();
    file.pop_back();
    TextureData out;
    ASSERT_EQ(ConvertBitmapToTexture(file, DEPTH_MODE_8BIT, out), ConvertResult::Ok);
    EXPECT_EQ(StreamBytes(out, 4), (Bytes{1, 2, 3, 0}));

    file.resize(54 + 4 + 2);  // entry 0 whole, entry 1 only blue and green, no pixels
    ASSERT_EQ(ConvertBitmapToTexture(file, DEPTH_MODE_8BIT, out), ConvertResult::Ok);
    EXPECT_EQ(out.count, 4);
    EXPECT_EQ(out.palette[1], 0x0060);  // green 8 and blue 0x80 read, red missing
    EXPECT_EQ(out.palette[2], 0);
    EXPECT_EQ(out.indexWords[0], 0u);

    file = SixteenBit(2, 1, {RED_555, GREEN_555}).Build();
    file.pop_back();  // the high byte of the second pixel
    ASSERT_EQ(ConvertBitmapToTexture(file, DEPTH_MODE_8BIT, out), ConvertResult::Ok);
    EXPECT_EQ(out.palette[1], 0x00E0 << 1);

    // The path overload reads the same bytes.
    TempFolder folder;
    TextureData fromFile;
    ASSERT_EQ(ConvertBitmapToTexture(folder.Write("a.bmp", file), DEPTH_MODE_8BIT, fromFile),
              ConvertResult::Ok);
    EXPECT_EQ(fromFile.palette, out.palette);
}

// --- Writing a texture back as a 16-bit bitmap ------------------------------------------------

TEST(TextureBitmapWriting, PaletteEntriesBecomeX1R5G5B5PixelsAfterTheHeaders) {
    std::vector<std::uint16_t> palette(256, 0);
    palette[1] = 0xF800;
    palette[2] = 0xFFFE;
    const std::vector<std::uint32_t> words = {0x00010200};
    const Bytes file = WriteTextureBitmap(4, 1, 16, words, palette, DEPTH_MODE_8BIT);
    const Bytes expected = {
        'B',  'M',  62, 0,    0,    0,    0, 0, 0, 0, 54, 0, 0, 0,  // signature, size, offset
        40,   0,    0,  0,    4,    0,    0, 0, 1, 0, 0,  0,        // header size, width, height
        1,    0,    16, 0,    0,    0,    0, 0, 8, 0, 0,  0,        // planes, bits, image size
        0x12, 0x0B, 0,  0,    0x12, 0x0B, 0, 0,                     // 2834 pixels per metre
        0,    0,    0,  0,    0,    0,    0, 0,                     // colours used, important
        0,    0,    0,  0x7C, 0xFF, 0x7F, 0, 0};                    // the four pixels
    EXPECT_EQ(file, expected);
    // At 4-bit depth each byte holds two pixels, the first in the high nibble.
    const Bytes packed =
        WriteTextureBitmap(2, 1, 16, std::vector<std::uint32_t>{0x12000000}, palette, 8);
    EXPECT_EQ(Bytes(packed.begin() + 54, packed.end()), (Bytes{0x00, 0x7C, 0xFF, 0x7F}));
    const TextureData texture;
    EXPECT_EQ(WriteTextureBitmap(32, 32, 16, texture.indexWords, texture.palette, 9).size(), 2102u);
}

TEST(TextureBitmapWriting, ArgumentsBeyondTheBuffersAreRefused) {
    const TextureData texture;
    const std::vector<std::uint16_t> shortPalette(15);
    EXPECT_TRUE(WriteTextureBitmap(-1, 4, 16, texture.indexWords, texture.palette, 9).empty());
    EXPECT_TRUE(WriteTextureBitmap(4097, 1, 16, texture.indexWords, texture.palette, 9).empty());
    EXPECT_TRUE(WriteTextureBitmap(2, 1, 16, texture.indexWords, shortPalette, 8).empty());
    EXPECT_TRUE(
        WriteTextureBitmap(5, 1, 16, std::span(texture.indexWords).first(1), texture.palette, 9)
            .empty());
    EXPECT_EQ(WriteTextureBitmap(64, 64, 16, texture.indexWords, texture.palette, 9).size(),
              54u + 8192);

    TempFolder folder;
    EXPECT_TRUE(WriteTextureBitmapFile(folder / "out.bmp", 32, 32, 16, texture.indexWords,
                                       texture.palette, 8));
    EXPECT_EQ(ReadAllBytes(folder / "out.bmp"),
              WriteTextureBitmap(32, 32, 16, texture.indexWords, texture.palette, 8));
    EXPECT_FALSE(WriteTextureBitmapFile(folder / "refused.bmp", -1, 32, 16, texture.indexWords,
                                        texture.palette, 8));
    EXPECT_FALSE(std::filesystem::exists(folder / "refused.bmp"));
}
