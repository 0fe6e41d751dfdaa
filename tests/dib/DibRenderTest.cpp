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
