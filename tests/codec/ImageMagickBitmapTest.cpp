// Bitmaps written by software we did not write: pictures made here are saved by ImageMagick's
// `convert` as classic 4 and 8-bit files, converted by our code, and every pixel's colour is
// compared with the picture, in the converted stream and in the record as zlib inflates it.

#include <gtest/gtest.h>

#include <cstdlib>

#include "RecordInflater.h"
#include "TempFolder.h"
#include "TestBitmaps.h"
#include "codec/UserImage.h"

namespace {

struct Shape {
    int width, height, colours;  // width a multiple of 8 (no row padding); at most 216 colours
    std::uint16_t bits;          // what ImageMagick is expected to choose
};

class ImageMagickBitmap : public ::testing::TestWithParam<Shape> {};

}  // namespace

TEST_P(ImageMagickBitmap, EveryPixelKeepsItsColour) {
    ASSERT_EQ(std::system("convert -version > /dev/null 2>&1"), 0)
        << "ImageMagick's `convert` is needed (scripts/install-deps.sh installs it)";
    const auto [width, height, colours, bits] = GetParam();
    // Far-apart points of a 6 x 6 x 6 cube, as ImageMagick merges nearly equal colours; every
    // colour appears, the rest pseudo-random. Expected RGBA5551 per stream pixel, bottom row first.
    std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    std::vector<std::uint16_t> expected(width * height);
    std::uint32_t state = colours;
    for (int i = 0; i < width * height; ++i) {
        state = state * 1664525u + 1013904223u;
        const int point = (i < colours ? i : (state >> 8) % colours) * 97 % 216;
        const int rgb[3] = {point % 6 * 51, point / 6 % 6 * 51, point / 36 * 51};
        for (int c : rgb)
            ppm += static_cast<char>(c);
        expected[(height - 1 - i / width) * width + i % width] = static_cast<std::uint16_t>(
            (rgb[0] >> 3) << 11 | (rgb[1] >> 3) << 6 | (rgb[2] >> 3) << 1);
    }
    TempFolder folder;
    folder.WriteText("in.ppm", ppm);
    // -type Palette keeps a colour table, -compress None and BMP3: a classic uncompressed file.
    const std::string command =
        "convert '" + (folder / "in.ppm").string() +
        "' -type Palette -compress None 'BMP3:" + (folder / "out.bmp").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const Bytes file = ReadAllBytes(folder / "out.bmp");
    const BitmapHeader header = ReadBitmapHeader(file);
    ASSERT_EQ(header.bitCount, bits);
    ASSERT_EQ(header.infoHeaderSize, 40u);
    ASSERT_EQ(file.at(30) | file.at(31), 0) << "compressed pixels";

    // The pipeline: header entry count and matching format code, the record read as the game
    // would, the letter changing only the format code, the preview of the first 1024 pixels.
    const UserImage image = PrepareUserImage(file, "N");
    const Bytes& record = image.record;
    ASSERT_GT(record.size(), 8u);
    EXPECT_EQ(record[1] + 1, ColourTableEntries(header));
    const bool fourBit = record[1] < 15;
    EXPECT_EQ(record[0], fourBit ? 0x0A : 0x09);
    EXPECT_EQ(record[4 + 2 * record[1]] << 8 | record[5 + 2 * record[1]], width << 8 | height);
    const auto stream = InflateRecord(record);
    ASSERT_TRUE(stream && stream->size() == expected.size() / (fourBit ? 2 : 1));
    for (std::size_t k = 0; k < expected.size(); ++k) {  // two pixels a byte: the first high
        const std::uint8_t byte = (*stream)[fourBit ? k / 2 : k];
        const int index = !fourBit ? byte : k % 2 ? byte & 0x0F : byte >> 4;
        ASSERT_TRUE(index <= record[1] &&
                    (record[2 + 2 * index] << 8 | record[3 + 2 * index]) == expected[k])
            << "pixel " << k;
    }
    Bytes lettered = PrepareUserImage(file, "G").record;
    EXPECT_EQ(lettered[0], fourBit ? 0x0C : 0x0B);
    lettered[0] = record[0];
    EXPECT_EQ(lettered, record);
    EXPECT_EQ(MakePreviewBitmap(image), WriteTextureBitmap(32, 32, 16, image.texture.indexWords,
                                                           image.texture.palette, image.depthMode));
}

// A full 16-entry table; a 16-entry table with a zero tail (trimmed); most of a 256-entry table;
// a 256-entry table with a zero tail (trimmed), 64 x 16 to preview only its first pixels.
INSTANTIATE_TEST_SUITE_P(ClassicBitmaps, ImageMagickBitmap,
                         ::testing::Values(Shape{16, 8, 16, 4}, Shape{8, 4, 10, 4},
                                           Shape{32, 16, 200, 8}, Shape{64, 16, 40, 8}));
