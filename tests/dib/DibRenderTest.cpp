#include "dib/DibRender.h"

#include <gtest/gtest.h>

#include "TestBitmaps.h"

namespace {

constexpr std::uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, W = 0xFFFFFFFF;

// Draws the file at width x height; nullopt when refused.
std::optional<std::vector<std::uint32_t>> Render(const TestBitmap& bitmap, int width, int height,
                                                 std::size_t cut = 0) {
    Bytes file = bitmap.Build();
    file.resize(file.size() - cut);
    CDib dib;
    dib.Read(file);
    return RenderScaled(dib, width, height);
}

// 2 x 2, 8 bits: stored rows red green, blue white, each padded to 4 bytes.
TestBitmap TwoByTwo(std::int32_t height) {
    TestBitmap b{.width = 2, .height = height, .pixels = {0, 1, 0, 0, 2, 3, 0, 0}};
    for (auto entry : {Bgr0(255, 0, 0), Bgr0(0, 255, 0), Bgr0(0, 0, 255), Bgr0(255, 255, 255)}) {
        b.table.insert(b.table.end(), entry.begin(), entry.end());
    }
    return b;
}

}  // namespace

// Bottom-up rows come out top first; pixels are repeated or dropped, never blended.
TEST(DibRender, RowOrderAndNearestPixelScaling) {
    using Picture = std::vector<std::uint32_t>;
    EXPECT_EQ(Render(TwoByTwo(2), 2, 2), (Picture{B, W, R, G}));
    EXPECT_EQ(Render(TwoByTwo(-2), 2, 2), (Picture{R, G, B, W}));
    EXPECT_EQ(Render(TwoByTwo(2), 4, 2), (Picture{B, B, W, W, R, R, G, G}));
    EXPECT_EQ(Render(TwoByTwo(2), 1, 1), Picture{B});
    EXPECT_EQ(
        Render({.width = 2, .bitCount = 4, .table = DistinctTable(16), .pixels = {0x0F, 0, 0, 0}},
               2, 1),
        (Picture{0xFF080880, 0xFF800880}));
    EXPECT_EQ(Render({.width = 1, .bitCount = 24, .pixels = {0x30, 0x20, 0x10, 0}}, 1, 1),
              Picture{0xFF102030});
    // An index beyond the file's colour table is drawn black.
    EXPECT_EQ(Render({.width = 1, .table = DistinctTable(2), .pixels = {200, 0, 0, 0}}, 1, 1),
              Picture{0xFF000000});
}

TEST(DibRender, ShortPixelsUnknownFormatsAndEmptySizesAreRefused) {
    EXPECT_FALSE(Render(TwoByTwo(2), 2, 2, 1));
    EXPECT_FALSE(Render({.bitCount = 12, .pixels = Bytes(16, 0)}, 2, 2));
    EXPECT_FALSE(Render(TwoByTwo(2), 0, 2));
    EXPECT_FALSE(RenderScaled(CDib(), 2, 2));
}
