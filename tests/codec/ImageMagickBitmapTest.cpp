// Bitmaps written by software we did not write: pictures generated here are saved by
// ImageMagick's `convert` as classic (BMP3) 4-bit and 8-bit files, then converted by our code,
// and every pixel's colour is compared with the picture it came from.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "RecordInflater.h"
#include "TempFolder.h"
#include "TestBitmaps.h"
#include "codec/BitmapConversion.h"
#include "codec/UserImage.h"

namespace {

using Rgb = std::array<std::uint8_t, 3>;

struct PictureShape {
    int width;  // a multiple of 8, so that no row of a 4 or 8-bit file is padded
    int height;
    int colours;  // at most 216
    std::uint16_t bitsExpected;
};

// A picture, top row first; every colour appears, the rest are pseudo-random.
struct Picture {
    PictureShape shape;
    std::vector<Rgb> pixels;

    explicit Picture(const PictureShape& s) : shape(s) {
        std::vector<Rgb> colours;
        // Points of a 6 x 6 x 6 colour cube, far apart: ImageMagick merges nearly equal colours
        // even when a picture has fewer than 256.
        for (int i = 0; i < s.colours; ++i) {
            const int point = i * 97 % 216;
            colours.push_back({static_cast<std::uint8_t>(point % 6 * 51),
                               static_cast<std::uint8_t>(point / 6 % 6 * 51),
                               static_cast<std::uint8_t>(point / 36 * 51)});
        }
        std::uint32_t state = static_cast<std::uint32_t>(s.colours);
        for (int i = 0; i < s.width * s.height; ++i) {
            state = state * 1664525u + 1013904223u;
            pixels.push_back(colours[static_cast<std::size_t>(
                i < s.colours ? i : static_cast<int>((state >> 8) % s.colours))]);
        }
    }

    Bytes Ppm() const {
        const std::string head =
            "P6\n" + std::to_string(shape.width) + " " + std::to_string(shape.height) + "\n255\n";
        Bytes bytes(head.begin(), head.end());
        for (const Rgb& rgb : pixels) {
            bytes.insert(bytes.end(), rgb.begin(), rgb.end());
        }
        return bytes;
    }

    // RGBA5551 of index-stream pixel k: the file stores the bottom row first.
    std::uint16_t StreamPixelColour(std::size_t k) const {
        const std::size_t width = static_cast<std::size_t>(shape.width);
        const std::size_t row = static_cast<std::size_t>(shape.height) - 1 - k / width;
        const Rgb& rgb = pixels[row * width + k % width];
        return static_cast<std::uint16_t>((rgb[0] >> 3) << 11 | (rgb[1] >> 3) << 6 |
                                          (rgb[2] >> 3) << 1);
    }
};

// Compares every pixel of an index stream (one byte a pixel, or two a byte with the first high)
// and its palette with the picture.
void ExpectColours(const Picture& picture, const Bytes& stream, bool fourBit,
                   const std::vector<std::uint16_t>& palette, const char* what) {
    const std::size_t pixels = picture.pixels.size();
    ASSERT_GE(stream.size(), fourBit ? pixels / 2 : pixels) << what;
    for (std::size_t k = 0; k < pixels; ++k) {
        const std::uint8_t byte = stream[fourBit ? k / 2 : k];
        const std::size_t index = !fourBit ? byte : k % 2 == 0 ? byte >> 4 : byte & 0x0F;
        ASSERT_LT(index, palette.size()) << what << ", pixel " << k;
        ASSERT_EQ(palette[index], picture.StreamPixelColour(k)) << what << ", pixel " << k;
    }
}

class ImageMagickBitmap : public ::testing::TestWithParam<PictureShape> {
protected:
    void SetUp() override {
        if (std::system("convert -version > /dev/null 2>&1") != 0) {
            FAIL() << "ImageMagick's `convert` is not installed or does not run; these tests "
                      "need it (install the imagemagick package, as scripts/install-deps.sh "
                      "does)";
        }
    }

    // Saves the picture as a classic bitmap: -type Palette keeps a colour table (ImageMagick
    // picks 4 bits for up to 16 colours, else 8), -compress None avoids run-length encoding and
    // BMP3: writes the 40-byte info header. Checks with our own parsing that it did.
    Bytes SaveWithImageMagick(const Picture& picture) {
        const auto ppm = m_folder.Write("in.ppm", picture.Ppm());
        const auto bmp = m_folder / "out.bmp";
        const std::string command = "convert '" + ppm.string() +
                                    "' -type Palette -compress None 'BMP3:" + bmp.string() + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        Bytes file = ReadAllBytes(bmp);
        const BitmapHeader header = ReadBitmapHeader(file);
        EXPECT_EQ(header.bitCount, picture.shape.bitsExpected);
        EXPECT_EQ(header.infoHeaderSize, CLASSIC_INFO_HEADER_SIZE);
        EXPECT_EQ(header.width, picture.shape.width);
        EXPECT_EQ(header.height, picture.shape.height);
        EXPECT_TRUE(file.size() > 33 && file[30] == 0 && file[31] == 0) << "compressed pixels";
        return file;
    }

    TempFolder m_folder;
};

}  // namespace

TEST_P(ImageMagickBitmap, EveryPixelKeepsItsColour) {
    const Picture picture(GetParam());
    const Bytes file = SaveWithImageMagick(picture);
    ASSERT_FALSE(HasFailure());

    for (const int depthMode : {DEPTH_MODE_4BIT, DEPTH_MODE_8BIT}) {
        // An 8-bit file's indices only fit nibbles with at most 16 colours.
        if (depthMode == DEPTH_MODE_4BIT && picture.shape.colours > 16) {
            continue;
        }
        TextureData texture;
        ASSERT_EQ(ConvertBitmapToTexture(file, depthMode, texture), ConvertResult::Ok);
        ExpectColours(picture, StreamBytes(texture, picture.pixels.size()),
                      depthMode == DEPTH_MODE_4BIT,
                      {texture.palette.begin(), texture.palette.begin() + texture.count},
                      depthMode == DEPTH_MODE_4BIT ? "4-bit depth" : "8-bit depth");
    }

    // The whole pipeline, the record decoded as the game would.
    const OpenedRecord record = OpenRecord(PrepareUserImage(file, "N").record);
    ASSERT_TRUE(record.data.has_value());
    EXPECT_EQ(record.data->size(),
              record.FourBit() ? picture.pixels.size() / 2 : picture.pixels.size());
    ExpectColours(picture, *record.data, record.FourBit(), record.palette, "record");
}

INSTANTIATE_TEST_SUITE_P(
    ClassicBitmaps, ImageMagickBitmap,
    ::testing::Values(PictureShape{16, 8, 16, 4},    // a full 16-entry table
                      PictureShape{8, 4, 10, 4},     // a 16-entry table with a zero tail: trimmed
                      PictureShape{32, 16, 200, 8},  // most of a 256-entry table
                      PictureShape{64, 16, 40, 8}),  // a 256-entry table with a zero tail: trimmed
    [](const ::testing::TestParamInfo<PictureShape>& info) {
        return std::to_string(info.param.bitsExpected) + "Bit" +
               std::to_string(info.param.colours) + "Colours";
    });
