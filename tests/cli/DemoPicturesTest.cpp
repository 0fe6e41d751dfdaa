#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "cli/DemoPictures.h"
#include "cli/IndexedBitmap.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t U32At(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16) |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t U16At(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

}  // namespace

// --- Bitmap file layout ---------------------------------------------------------------------

TEST(IndexedBitmapLayout, HeadersOfA4BitFile) {
    const std::vector<std::uint32_t> colours = {0x112233, 0xFFEEDD, 0x000080};
    const Bytes pixels(5 * 3, 1);
    const Bytes file = EncodeIndexedBitmap(5, 3, 4, colours, pixels);
    // 5 pixels at 4 bits need 3 bytes, padded to 4 a row.
    ASSERT_EQ(file.size(), 54u + 12 + 3 * 4);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32At(file, 2), file.size());
    EXPECT_EQ(U32At(file, 10), 54u + 12);
    EXPECT_EQ(U32At(file, 14), 40u);
    EXPECT_EQ(U32At(file, 18), 5u);
    EXPECT_EQ(U32At(file, 22), 3u);
    EXPECT_EQ(U16At(file, 26), 1);
    EXPECT_EQ(U16At(file, 28), 4);
    EXPECT_EQ(U32At(file, 30), 0u);
    EXPECT_EQ(U32At(file, 34), 12u);
    EXPECT_EQ(U32At(file, 46), 3u);
    // Colour table entries are blue, green, red, 0.
    EXPECT_EQ((Bytes(file.begin() + 54, file.begin() + 62)),
              (Bytes{0x33, 0x22, 0x11, 0, 0xDD, 0xEE, 0xFF, 0}));
}

TEST(IndexedBitmapLayout, RowsBottomUpNibblesHighFirstAndZeroPadding) {
    const std::vector<std::uint32_t> colours(16, 0x808080);
    // Top row 1 2 3, bottom row 4 5 6.
    const Bytes pixels = {1, 2, 3, 4, 5, 6};
    const Bytes four = EncodeIndexedBitmap(3, 2, 4, colours, pixels);
    ASSERT_EQ(four.size(), 54u + 64 + 8);
    EXPECT_EQ((Bytes(four.begin() + 118, four.end())), (Bytes{0x45, 0x60, 0, 0, 0x12, 0x30, 0, 0}));
    const Bytes eight = EncodeIndexedBitmap(3, 2, 8, colours, pixels);
    ASSERT_EQ(eight.size(), 54u + 64 + 8);
    EXPECT_EQ((Bytes(eight.begin() + 118, eight.end())), (Bytes{4, 5, 6, 0, 1, 2, 3, 0}));
}

// --- Bitmap argument refusals -----------------------------------------------------------------

TEST(IndexedBitmapRefusals, BadDepthSizeTableOrIndex) {
    const std::vector<std::uint32_t> two = {0, 0xFFFFFF};
    const Bytes pixels(4, 1);
    EXPECT_FALSE(EncodeIndexedBitmap(2, 2, 8, two, pixels).empty());
    EXPECT_TRUE(EncodeIndexedBitmap(2, 2, 16, two, pixels).empty());
    EXPECT_TRUE(EncodeIndexedBitmap(2, 2, 1, two, pixels).empty());
    EXPECT_TRUE(EncodeIndexedBitmap(0, 2, 8, two, Bytes{}).empty());
    EXPECT_TRUE(EncodeIndexedBitmap(2, -2, 8, two, pixels).empty());
    EXPECT_TRUE(EncodeIndexedBitmap(2, 2, 8, two, Bytes(3, 1)).empty());
    EXPECT_TRUE(EncodeIndexedBitmap(2, 2, 8, {}, Bytes(4, 0)).empty());
    EXPECT_TRUE(EncodeIndexedBitmap(2, 2, 8, two, Bytes{0, 1, 2, 0}).empty());
    EXPECT_TRUE(EncodeIndexedBitmap(2, 2, 4, std::vector<std::uint32_t>(17, 0), pixels).empty());
}

// --- Font and pictures ------------------------------------------------------------------------

TEST(DemoPictureShapes, GlyphsAreDistinctAndBlankOutside) {
    std::set<std::vector<bool>> seen;
    for (char letter : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")) {
        std::vector<bool> cells;
        int inked = 0;
        for (int y = 0; y < GLYPH_HEIGHT; ++y) {
            for (int x = 0; x < GLYPH_WIDTH; ++x) {
                cells.push_back(GlyphPixel(letter, x, y));
                inked += cells.back() ? 1 : 0;
            }
        }
        EXPECT_GT(inked, 5) << letter;
        EXPECT_TRUE(seen.insert(cells).second) << letter << " repeats another glyph";
    }
    // The A's apex and cross bar, in either case.
    EXPECT_TRUE(GlyphPixel('A', 1, 0));
    EXPECT_FALSE(GlyphPixel('A', 0, 0));
    EXPECT_TRUE(GlyphPixel('a', 4, 3));
    EXPECT_FALSE(GlyphPixel('A', 5, 0));
    EXPECT_FALSE(GlyphPixel('A', 0, 7));
    EXPECT_FALSE(GlyphPixel('A', -1, 2));
    EXPECT_FALSE(GlyphPixel('?', 2, 2));
}

TEST(DemoPictureShapes, CheckerStripesAndGradients) {
    const Picture checker = MakeChecker(4, 4, 2, 0xFF0000, 0x00FF00);
    EXPECT_EQ(checker.pixels, (Bytes{0, 0, 1, 1, 0, 0, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0}));
    const std::vector<std::uint32_t> three = {1, 2, 3};
    EXPECT_EQ(MakeStripes(4, 1, 1, three, Direction::Across).pixels, (Bytes{0, 1, 2, 0}));
    EXPECT_EQ(MakeStripes(1, 4, 2, three, Direction::Down).pixels, (Bytes{0, 0, 1, 1}));
    const Picture gradient = MakeGradient(4, 2, 0x000000, 0x0000FF, 4, Direction::Across);
    EXPECT_EQ(gradient.colours, (std::vector<std::uint32_t>{0x00, 0x55, 0xAA, 0xFF}));
    EXPECT_EQ(gradient.pixels, (Bytes{0, 1, 2, 3, 0, 1, 2, 3}));
}

TEST(DemoPictureShapes, LetteringScalesAndCentres) {
    // A single 5 x 7 glyph at scale 2 in 16 x 16: columns 3 to 12, rows 1 to 14 (with shadow).
    const Picture a = MakeLettering(16, 16, "A", 0xFFFFFF, 0x000000, 0x404040);
    ASSERT_TRUE(a.IsValid());
    EXPECT_EQ(a.pixels[1 * 16 + 5], 2);  // apex, ink
    EXPECT_EQ(a.pixels[1 * 16 + 3], 0);
    EXPECT_EQ(a.pixels[0], 0);
    EXPECT_TRUE(LetteringFits(8, 8, "A"));
    EXPECT_FALSE(LetteringFits(8, 8, "AB"));
    EXPECT_FALSE(LetteringFits(16, 64, "MOONGLASS"));
    EXPECT_TRUE(LetteringFits(8, 128, "MOONGLASS"));
}

// --- Picture argument refusals ----------------------------------------------------------------

TEST(DemoPictureRefusals, OutOfRangeArgumentsGiveEmptyPictures) {
    const std::vector<std::uint32_t> none;
    EXPECT_FALSE(MakeChecker(0, 8, 2, 0, 1).IsValid());
    EXPECT_FALSE(MakeChecker(8, 8, 0, 0, 1).IsValid());
    EXPECT_FALSE(MakeChecker(4097, 1, 1, 0, 1).IsValid());
    EXPECT_FALSE(MakeStripes(8, 8, 1, none, Direction::Down).IsValid());
    EXPECT_FALSE(
        MakeStripes(8, 8, 1, std::vector<std::uint32_t>(257, 0), Direction::Down).IsValid());
    EXPECT_FALSE(MakeGradient(8, 8, 0, 1, 0, Direction::Down).IsValid());
    EXPECT_FALSE(MakeGradient(8, 8, 0, 1, 257, Direction::Down).IsValid());
    EXPECT_FALSE(MakeBlend(8, 8, 0, 0, 0, 0, 17, 16).IsValid());
    EXPECT_FALSE(MakeRadial(8, -1, 0, 0, 4).IsValid());
    EXPECT_FALSE(MakeBricks(8, 8, 2, 3, 0, 0, 0).IsValid());
    EXPECT_FALSE(MakeLettering(8, 8, "", 0, 0, 0).IsValid());
    EXPECT_FALSE(MakeLettering(8, 8, "AB", 0, 0, 0).IsValid());
}

// --- Texture form -----------------------------------------------------------------------------

TEST(DemoPictureTexture, Rgba5551TakesTheTopFiveBits) {
    EXPECT_EQ(ToRgba5551(0xFF0000), 0xF800);
    EXPECT_EQ(ToRgba5551(0x00FF00), 0x07C0);
    EXPECT_EQ(ToRgba5551(0x0000FF), 0x003E);
    EXPECT_EQ(ToRgba5551(0xFFFFFF), 0xFFFE);
    EXPECT_EQ(ToRgba5551(0x070707), 0x0000);
    EXPECT_EQ(ToRgba5551(0x080808), 0x0842);
}

TEST(DemoPictureTexture, IndexStreamBottomRowFirstPackedBelowSixteenColours) {
    Picture picture;
    picture.width = 3;
    picture.height = 2;
    picture.colours.assign(15, 0);
    picture.pixels = {1, 2, 3, 4, 5, 6};
    // Bottom row first; an odd last pixel is dropped.
    EXPECT_EQ(PictureIndexStream(picture), (Bytes{0x45, 0x61, 0x23}));
    picture.width = 5;
    picture.height = 1;
    picture.pixels = {1, 2, 3, 4, 5};
    EXPECT_EQ(PictureIndexStream(picture), (Bytes{0x12, 0x34}));
    picture.colours.assign(16, 0);
    picture.pixels = {1, 2, 3, 4, 15};
    EXPECT_EQ(PictureIndexStream(picture), (Bytes{1, 2, 3, 4, 15}));
    picture.pixels[4] = 16;  // outside the palette
    EXPECT_TRUE(PictureIndexStream(picture).empty());
}
