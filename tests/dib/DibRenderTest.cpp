#include "dib/DibRender.h"

#include <gtest/gtest.h>

#include "TestBitmaps.h"

namespace {

using Picture = std::vector<std::uint32_t>;

// Colours 0 to 3 and 15 of DistinctTable.
constexpr std::uint32_t R = 0xFF080880, G = 0xFF100880, B = 0xFF180880, W = 0xFF200880,
                        F = 0xFF800880;

// Draws a bitmap over the first 16 colours of DistinctTable at `to` pixels; nullopt when refused.
std::optional<Picture> Render(std::int32_t width, std::int32_t height, std::uint16_t bitCount,
                              const Bytes& pixels, std::pair<int, int> to) {
    TestBitmap b{.width = width, .height = height, .bitCount = bitCount, .pixels = pixels};
    b.table = DistinctTable(16);
    CDib dib;
    dib.Read(b.Build());
    return RenderScaled(dib, to.first, to.second);
}

}  // namespace

// Bottom-up rows come out top first; pixels are repeated or dropped, never blended; short
// pixels, unknown formats and empty sizes are refused.
TEST(DibRender, RowOrderNearestPixelScalingAndRefusals) {
    const Bytes rows = {0, 1, 0, 0, 2, 3, 0, 0};  // R G, B W, each padded to 4 bytes
    EXPECT_EQ(Render(2, 2, 8, rows, {2, 2}), (Picture{B, W, R, G}));
    EXPECT_EQ(Render(2, -2, 8, rows, {2, 2}), (Picture{R, G, B, W}));
    EXPECT_EQ(Render(2, 2, 8, rows, {4, 1}), (Picture{B, B, W, W}));
    EXPECT_EQ(Render(2, 1, 4, {0x0F, 0, 0, 0}, {2, 1}), (Picture{R, F}));
    EXPECT_EQ(Render(1, 1, 24, {0x30, 0x20, 0x10, 0}, {1, 1}), Picture{0xFF102030});
    // An index beyond the file's colour table is drawn black.
    EXPECT_EQ(Render(1, 1, 8, {200, 0, 0, 0}, {1, 1}), Picture{0xFF000000});
    EXPECT_FALSE(Render(2, 2, 8, Bytes(7), {2, 2}) || Render(2, 2, 12, Bytes(16), {2, 2}) ||
                 Render(2, 2, 8, rows, {0, 2}) || RenderScaled(CDib(), 2, 2));
}

namespace {

// Masks as the bytes that follow a 40-byte header.
Bytes MaskBytes(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    Bytes out;
    for (const std::uint32_t mask : {red, green, blue}) {
        for (int i = 0; i < 4; ++i)
            out.push_back(static_cast<std::uint8_t>(mask >> (8 * i)));
    }
    return out;
}

std::optional<Picture> Draw(const TestBitmap& bitmap) {
    CDib dib;
    dib.Read(bitmap.Build());
    return RenderScaled(dib, bitmap.width, bitmap.height);
}

}  // namespace

// Run-length and bit-field bitmaps draw exactly as their uncompressed equivalents.
TEST(DibRender, CompressedAndMaskedBitmapsMatchTheirPlainEquivalents) {
    const Bytes table = DistinctTable(16);
    struct Case {
        const char* name;
        TestBitmap compressed, plain;
    };
    const Case cases[] = {
        {"RLE8: run, absolute run cut at the row's end, end of line, delta, end of bitmap",
         {.width = 4,
          .height = 2,
          .bitCount = 8,
          .compression = 1,
          .table = table,
          .pixels = {2, 5, 0, 3, 7, 8, 9, 0, 0, 0, 0, 2, 1, 0, 1, 3, 0, 1}},
         {.width = 4,
          .height = 2,
          .bitCount = 8,
          .table = table,
          .pixels = {5, 5, 7, 8, 0, 3, 0, 0}}},
        {"RLE4: absolute run of 3 nibbles, run of alternating nibbles, delta",
         {.width = 5,
          .height = 2,
          .bitCount = 4,
          .compression = 2,
          .table = table,
          .pixels = {0, 3, 0x34, 0x50, 2, 0x12, 0, 0, 0, 2, 2, 0, 1, 0xF0, 0, 1}},
         {.width = 5,
          .height = 2,
          .bitCount = 4,
          .table = table,
          .pixels = {0x34, 0x51, 0x20, 0, 0x00, 0xF0, 0, 0}}},
        {"16-bit 5-6-5 bit fields: black, red, green, blue, the middle grey",
         {.width = 5,
          .height = 1,
          .bitCount = 16,
          .compression = 3,
          .headerTail = MaskBytes(0xF800, 0x07E0, 0x001F),
          .pixels = Pixels16({0x0000, 0xF800, 0x07E0, 0x001F, 0x8410, 0})},
         {.width = 5,
          .height = 1,
          .bitCount = 24,
          .pixels = {0, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0x84, 0x82, 0x84, 0}}},
        {"32-bit bit fields, red in the low byte",
         {.width = 2,
          .height = 1,
          .bitCount = 32,
          .compression = 3,
          .headerTail = MaskBytes(0xFF, 0xFF00, 0xFF0000),
          .pixels = {0x10, 0x20, 0x30, 0, 0xFF, 0, 0x01, 0}},
         {.width = 2,
          .height = 1,
          .bitCount = 24,
          .pixels = {0x30, 0x20, 0x10, 0x01, 0, 0xFF, 0, 0}}},
    };
    for (const Case& c : cases) {
        const std::optional<Picture> plain = Draw(c.plain);
        ASSERT_TRUE(plain) << c.name;
        EXPECT_EQ(Draw(c.compressed), plain) << c.name;
    }
    // A top-down run-length bitmap does not exist: refused rather than drawn upside down.
    TestBitmap topDown = cases[0].compressed;
    topDown.height = -2;
    EXPECT_FALSE(Draw(topDown));
}
