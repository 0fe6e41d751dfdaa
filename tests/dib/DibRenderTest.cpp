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

// A bitmap over the first 16 colours of DistinctTable when indexed; `masks` follow the header.
TestBitmap Bmp(int width, int height, std::uint16_t bits, std::uint32_t compression,
               const Bytes& pixels, std::vector<std::uint32_t> masks = {}) {
    TestBitmap b{.width = width,
                 .height = height,
                 .bitCount = bits,
                 .compression = compression,
                 .table = bits <= 8 ? DistinctTable(16) : Bytes{},
                 .pixels = pixels};
    for (const std::uint32_t mask : masks)
        for (int i = 0; i < 4; ++i)
            b.headerTail.push_back(static_cast<std::uint8_t>(mask >> (8 * i)));
    return b;
}

std::optional<Picture> Draw(const TestBitmap& bitmap) {
    CDib dib;
    dib.Read(bitmap.Build());
    return RenderScaled(dib, bitmap.width, bitmap.height);
}

}  // namespace

// Run-length and bit-field bitmaps draw exactly as their uncompressed equivalents.
TEST(DibRender, CompressedAndMaskedBitmapsMatchTheirPlainEquivalents) {
    const struct {
        const char* name;
        TestBitmap compressed, plain;
    } cases[] = {
        {"RLE8: run, absolute run cut at the row's end, end of line, delta, end of bitmap",
         Bmp(4, 2, 8, 1, {2, 5, 0, 3, 7, 8, 9, 0, 0, 0, 0, 2, 1, 0, 1, 3, 0, 1}),
         Bmp(4, 2, 8, 0, {5, 5, 7, 8, 0, 3, 0, 0})},
        {"RLE4: absolute run of 3 nibbles, run of alternating nibbles, delta",
         Bmp(5, 2, 4, 2, {0, 3, 0x34, 0x50, 2, 0x12, 0, 0, 0, 2, 2, 0, 1, 0xF0, 0, 1}),
         Bmp(5, 2, 4, 0, {0x34, 0x51, 0x20, 0, 0x00, 0xF0, 0, 0})},
        {"16-bit 5-6-5 bit fields: black, red, green, blue, the middle grey",
         Bmp(5, 1, 16, 3, Pixels16({0, 0xF800, 0x07E0, 0x001F, 0x8410, 0}), {0xF800, 0x07E0, 0x1F}),
         Bmp(5, 1, 24, 0, {0, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0, 0x84, 0x82, 0x84, 0})},
        {"32-bit bit fields, red in the low byte",
         Bmp(2, 1, 32, 3, {0x10, 0x20, 0x30, 0, 0xFF, 0, 0x01, 0}, {0xFF, 0xFF00, 0xFF0000}),
         Bmp(2, 1, 24, 0, {0x30, 0x20, 0x10, 0x01, 0, 0xFF, 0, 0})},
    };
    for (const auto& c : cases) {
        const std::optional<Picture> plain = Draw(c.plain);
        ASSERT_TRUE(plain) << c.name;
        EXPECT_EQ(Draw(c.compressed), plain) << c.name;
    }
    // A top-down run-length bitmap does not exist: refused rather than drawn upside down.
    EXPECT_FALSE(Draw(Bmp(4, -2, 8, 1, {2, 5, 0, 1})));
}
