#include "codec/PngPicture.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <string>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "codec/UserImage.h"
#include "texts/RefusalTexts.h"

namespace {

void ExpectSameTexture(const Bytes& png, const Bytes& bitmap) {
    const UserImage a = PrepareUserImage(png, "N");
    const UserImage b = PrepareUserImage(bitmap, "N");
    ASSERT_EQ(b.result, ConvertResult::Ok);
    EXPECT_EQ(a.result, ConvertResult::Ok) << a.reason;
    EXPECT_TRUE(a.width == b.width && a.height == b.height && a.entries == b.entries &&
                a.depthMode == b.depthMode);
    EXPECT_EQ(a.record, b.record);
    EXPECT_EQ(MakePreviewBitmap(a), MakePreviewBitmap(b));
}

void Append(png_structp png, png_bytep data, png_size_t size) {
    auto& out = *static_cast<Bytes*>(png_get_io_ptr(png));
    out.insert(out.end(), data, data + size);
}

// An indexed PNG of `bitDepth` bits, its rows top first, written by libpng: what ImageMagick
// cannot write, as it reorders palettes.
Bytes IndexedPng(int width, int height, int bitDepth, const Bytes& table, const Bytes& indices,
                 bool interlaced, const Bytes& alphas = {}) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, Append, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 bitDepth, PNG_COLOR_TYPE_PALETTE,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (std::size_t i = 0; i + 3 < table.size(); i += 4)
        palette.push_back({table[i + 2], table[i + 1], table[i]});
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!alphas.empty())
        png_set_tRNS(png, info, alphas.data(), static_cast<int>(alphas.size()), nullptr);
    png_write_info(png, info);
    png_set_packing(png);
    std::vector<png_bytep> rows;
    Bytes copy = indices;
    for (int y = 0; y < height; ++y)
        rows.push_back(copy.data() + y * width);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

// The indices packed as a bitmap's rows: bottom row first, padded to 4 bytes.
Bytes BitmapRows(int width, int height, int bitCount, const Bytes& indices) {
    Bytes out;
    const std::size_t rowBytes = (width * bitCount + 31) / 32 * 4;
    for (int y = height - 1; y >= 0; --y) {
        Bytes row(rowBytes, 0);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t index = indices[y * width + x];
            if (bitCount == 8)
                row[x] = index;
            else
                row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? index : index << 4);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::string Picture(int width, int height, int colours, bool grey) {
    std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (int i = 0; i < width * height; ++i) {
        const int c = (i < colours ? i : i * 7 % colours) * 37 + 5;
        for (const int k : {c % 32, grey ? c % 32 : c / 32 % 32, grey ? c % 32 : c * 3 % 32})
            ppm += static_cast<char>(k << 3 | 7);  // ImageMagick's 16-bit files keep k
    }
    return ppm;
}

}  // namespace

// Indexed PNG at 1, 2, 4 and 8 bits, plain and interlaced, against the 4 or 8-bit bitmap of the
// same palette (order kept) and indices.
TEST(PngPictures, IndexedEqualTheBitmapOfTheirPaletteAndIndices) {
    for (const int bitDepth : {1, 2, 4, 8}) {
        for (const bool interlaced : {false, true}) {
            SCOPED_TRACE(std::to_string(bitDepth) + (interlaced ? " interlaced" : ""));
            const int width = 13, height = 9, colours = std::min(1 << bitDepth, 40);
            Bytes indices;
            for (int i = 0; i < width * height; ++i)
                indices.push_back(static_cast<std::uint8_t>((i * 7 + i / width) % colours));
            const Bytes table = DistinctTable(colours);
            const int bitCount = bitDepth <= 4 ? 4 : 8;
            const TestBitmap bitmap{.width = width,
                                    .height = height,
                                    .bitCount = static_cast<std::uint16_t>(bitCount),
                                    .table = table,
                                    .pixels = BitmapRows(width, height, bitCount, indices)};
            ExpectSameTexture(IndexedPng(width, height, bitDepth, table, indices, interlaced),
                              bitmap.Build());
        }
    }
}

// Grey, RGB and RGBA PNG as ImageMagick writes them, plain and interlaced, against the
// X1R5G5B5 bitmap of the same picture; alpha is ignored but reported.
TEST(PngPictures, TrueColourEqualsTheSixteenBitBitmap) {
    const std::tuple<bool, std::string, bool> cases[] = {
        {false, "PNG24:", false},
        {false, "-interlace PNG PNG24:", false},
        {false, "-alpha set -channel A -evaluate set 50% +channel PNG32:", true},
        {true, "-colorspace Gray PNG:", false},
        {false, "-depth 16 PNG48:", false}};
    for (const auto& [grey, arguments, translucent] : cases) {
        SCOPED_TRACE(arguments);
        TempFolder folder;
        folder.WriteText("in.ppm", Picture(11, 7, 40, grey));
        const std::string command = "cd '" + folder.Path().string() + "' && convert in.ppm " +
                                    arguments + "out.png && convert in.ppm -define " +
                                    "bmp:subtype=RGB555 BMP3:out.bmp";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const Bytes png = ReadAllBytes(folder / "out.png");
        ExpectSameTexture(png, ReadAllBytes(folder / "out.bmp"));
        EXPECT_EQ(PrepareUserImage(png, "N").translucent, translucent);
        EXPECT_EQ(PrepareUserImage(folder / "out.png", "N").record,
                  PrepareUserImage(png, "N").record);
    }
}

TEST(PngPictures, Refusals) {
    const Bytes indices(8, 1);
    const Bytes png = IndexedPng(4, 2, 4, DistinctTable(2), indices, false, {255, 128});
    EXPECT_TRUE(PrepareUserImage(png, "N").translucent);  // index 1 is half transparent
    Bytes badCrc = png;
    badCrc[30] ^= 1;  // inside IHDR's CRC
    const UserImage damaged = PrepareUserImage(badCrc, "N");
    EXPECT_EQ(damaged.result, ConvertResult::BadPng);
    EXPECT_NE(refusal_texts::UserImageRefusal(damaged).find("(libpng: IHDR: CRC error)"),
              std::string::npos)
        << damaged.reason;
    const UserImage cut = PrepareUserImage(Bytes(png.begin(), png.end() - 20), "N");
    EXPECT_TRUE(cut.result == ConvertResult::BadPng && !cut.reason.empty());
    const Bytes wide = IndexedPng(4097, 1, 8, DistinctTable(2), Bytes(4097, 0), false);
    EXPECT_EQ(PrepareUserImage(wide, "N").result, ConvertResult::TooLarge);
    TextureData out;
    EXPECT_EQ(ConvertBitmapToTexture(badCrc, DEPTH_MODE_8BIT, out), ConvertResult::BadPng);
}
