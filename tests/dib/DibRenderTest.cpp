#include <gtest/gtest.h>

#include "TestBitmaps.h"
#include "dib/CDib.h"
#include "dib/DibRender.h"

namespace {

constexpr std::uint32_t RED = 0xFFFF0000;
constexpr std::uint32_t GREEN = 0xFF00FF00;
constexpr std::uint32_t BLUE = 0xFF0000FF;
constexpr std::uint32_t WHITE = 0xFFFFFFFF;

CDib Held(const Bytes& file) {
    CDib dib;
    EXPECT_NE(dib.Read(file), 0u);
    return dib;
}

// A 2 x 2 8-bit bitmap: stored bottom row first, rows padded to 4 bytes.
Bytes TwoByTwo(std::int32_t height) {
    TestBitmap bitmap;
    bitmap.width = 2;
    bitmap.height = height;
    bitmap.bitCount = 8;
    for (auto entry : {Bgr0(255, 0, 0), Bgr0(0, 255, 0), Bgr0(0, 0, 255), Bgr0(255, 255, 255)}) {
        bitmap.table.insert(bitmap.table.end(), entry.begin(), entry.end());
    }
    bitmap.pixels = {0, 1, 0, 0,   // first stored row: red, green
                     2, 3, 0, 0};  // second stored row: blue, white
    return bitmap.Build();
}

}  // namespace

TEST(DibRenderScaling, BottomUpRowsComeOutTopFirst) {
    const auto picture = RenderScaled(Held(TwoByTwo(2)), 2, 2);
    ASSERT_TRUE(picture);
    EXPECT_EQ(*picture, (std::vector<std::uint32_t>{BLUE, WHITE, RED, GREEN}));
}

TEST(DibRenderScaling, TopDownRowsStayInOrder) {
    const auto picture = RenderScaled(Held(TwoByTwo(-2)), 2, 2);
    ASSERT_TRUE(picture);
    EXPECT_EQ(*picture, (std::vector<std::uint32_t>{RED, GREEN, BLUE, WHITE}));
}

TEST(DibRenderScaling, PixelsAreRepeatedOrDroppedNeverBlended) {
    const auto larger = RenderScaled(Held(TwoByTwo(2)), 4, 2);
    ASSERT_TRUE(larger);
    EXPECT_EQ(*larger,
              (std::vector<std::uint32_t>{BLUE, BLUE, WHITE, WHITE, RED, RED, GREEN, GREEN}));
    const auto smaller = RenderScaled(Held(TwoByTwo(2)), 1, 1);
    ASSERT_TRUE(smaller);
    EXPECT_EQ(*smaller, std::vector<std::uint32_t>{BLUE});
}

TEST(DibRenderScaling, FourAndTwentyFourBitPixels) {
    TestBitmap four;
    four.width = 2;
    four.height = 1;
    four.bitCount = 4;
    four.table = DistinctTable(16);
    four.pixels = {0x0F, 0, 0, 0};
    const auto fourPicture = RenderScaled(Held(four.Build()), 2, 1);
    ASSERT_TRUE(fourPicture);
    const CDib fourDib = Held(four.Build());
    const auto last = *fourDib.TableColour(15);
    EXPECT_EQ((*fourPicture)[1], 0xFF000000u | last.red << 16 | last.green << 8 | last.blue);

    TestBitmap rgb;
    rgb.width = 1;
    rgb.height = 1;
    rgb.bitCount = 24;
    rgb.pixels = {0x30, 0x20, 0x10, 0};  // blue, green, red, row padding
    const auto rgbPicture = RenderScaled(Held(rgb.Build()), 1, 1);
    ASSERT_TRUE(rgbPicture);
    EXPECT_EQ((*rgbPicture)[0], 0xFF102030u);
}

TEST(DibRenderRefusals, ShortPixelsUnknownFormatsAndEmptySizes) {
    Bytes cut = TwoByTwo(2);
    cut.pop_back();
    EXPECT_FALSE(RenderScaled(Held(cut), 2, 2));
    TestBitmap twelve;
    twelve.bitCount = 12;
    twelve.pixels = Bytes(16, 0);
    EXPECT_FALSE(RenderScaled(Held(twelve.Build()), 2, 2));
    EXPECT_FALSE(RenderScaled(Held(TwoByTwo(2)), 0, 2));
    EXPECT_FALSE(RenderScaled(CDib(), 2, 2));
    // An index the file's colour table does not hold is drawn black.
    TestBitmap small;
    small.width = 1;
    small.height = 1;
    small.table = DistinctTable(2);
    small.pixels = {200, 0, 0, 0};
    const auto picture = RenderScaled(Held(small.Build()), 1, 1);
    ASSERT_TRUE(picture);
    EXPECT_EQ((*picture)[0], 0xFF000000u);
}
