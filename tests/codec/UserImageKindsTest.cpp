#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <string>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "codec/UserImage.h"
#include "texts/RefusalTexts.h"

namespace {

// Converting `newer` gives exactly what converting `classic` gives: record, preview and sizes.
void ExpectSameTexture(const Bytes& newer, const Bytes& classic) {
    const UserImage a = PrepareUserImage(newer, "N"), b = PrepareUserImage(classic, "N");
    ASSERT_EQ(b.result, ConvertResult::Ok);
    EXPECT_EQ(a.result, ConvertResult::Ok) << a.reason;
    EXPECT_TRUE(a.width == b.width && a.height == b.height && a.entries == b.entries &&
                a.depthMode == b.depthMode);
    EXPECT_EQ(a.record, b.record);
    EXPECT_EQ(MakePreviewBitmap(a), MakePreviewBitmap(b));
}

// Every channel a 5-bit k widened as k << 3 | 7, which ImageMagick's 16-bit files (floor of
// v x 31 / 255) and our cut to 5 bits both take back to k. Every colour appears.
std::string Picture(int width, int height, int colours, bool grey) {
    std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (int i = 0; i < width * height; ++i) {
        const int c = (i < colours ? i : i * 7 % colours) * 37 + 5;
        for (const int k : {c % 32, grey ? c % 32 : c / 32 % 32, grey ? c % 32 : c * 3 % 32})
            ppm += static_cast<char>(k << 3 | 7);
    }
    return ppm;
}

// ImageMagick's file from in.ppm; `arguments` end with the output, FORMAT:name.
Bytes Magick(const TempFolder& folder, const std::string& arguments) {
    const std::string command =
        "cd '" + folder.Path().string() + "' && convert in.ppm " + arguments;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return ReadAllBytes(folder / arguments.substr(arguments.rfind(':') + 1));
}

// An indexed PNG written by libpng, its palette in the table's order (ImageMagick reorders
// palettes); the bit depth follows the entry count (1 bit for 2 entries ... 8 for over 16).
Bytes IndexedPng(int width, int height, Bytes table, const Bytes& indices) {
    for (std::size_t i = table.size() / 4; i-- > 0;)  // blue, green, red
        table.erase(table.begin() + 4 * i + 3);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGR_COLORMAP;
    image.colormap_entries = static_cast<png_uint_32>(table.size() / 3);
    png_alloc_size_t size = 1 << 16;
    Bytes out(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, indices.data(), width,
                                          table.data()));
    out.resize(size);
    return out;
}

// Indices as a bitmap's rows: bottom row first, padded to 4 bytes.
Bytes BitmapRows(int width, int height, int bitCount, const Bytes& indices) {
    const std::size_t rowBytes = (width * bitCount + 31) / 32 * 4;
    Bytes out(rowBytes * height);
    for (int i = 0; i < width * height; ++i) {
        const std::size_t at = (height - 1 - i / width) * rowBytes + i % width * bitCount / 8;
        out[at] |= static_cast<std::uint8_t>(bitCount == 8 || i % width % 2 ? indices[i]
                                                                            : indices[i] << 4);
    }
    return out;
}

}  // namespace

// Longer headers, masks, true colour and true-colour PNG as ImageMagick writes them, against the
// classic file of the same picture (BMP3 with a colour table, or X1R5G5B5 pixels).
TEST(UserImageKinds, ImageMagickFilesEqualTheirClassicCounterparts) {
    const std::string palette = "-type Palette BMP3:c.bmp",
                      x555 = "-define bmp:subtype=RGB555 BMP3:c.bmp";
    const std::tuple<int, int, int, std::string, std::string> cases[] = {
        {8, 4, 10, "-type Palette BMP:n.bmp", palette},   // 4-bit, V5 header
        {7, 3, 10, "-type Palette BMP:n.bmp", palette},   // rows padded
        {16, 8, 40, "-type Palette BMP:n.bmp", palette},  // 8-bit
        {8, 4, 10, "-define bmp:subtype=RGB565 BMP:n.bmp", x555},
        {7, 3, 40, "-define bmp:subtype=RGB555 BMP:n.bmp", x555},  // masks in a V5 header
        {7, 3, 40, "-type truecolor BMP3:n.bmp", x555},
        {16, 8, 40, "-type truecolor BMP:n.bmp", x555},
        {16, 8, 40, "-type truecolormatte BMP:n.bmp", x555},  // 32-bit
        {11, 7, 40, "PNG24:n.png", x555},
        {11, 7, 40, "-interlace PNG PNG24:n.png", x555},
        {11, 7, 40, "-depth 16 PNG48:n.png", x555},
        {11, 7, 40, "-alpha set -channel A -evaluate set 50% +channel PNG32:n.png", x555},
        {11, 7, 0, "-colorspace Gray PNG:n.png", x555}};  // 0: a grey picture of 40 greys
    for (const auto& [width, height, colours, newer, classic] : cases) {
        SCOPED_TRACE(newer + " " + std::to_string(width));
        TempFolder folder;
        folder.WriteText("in.ppm", Picture(width, height, colours ? colours : 40, colours == 0));
        const Bytes file = Magick(folder, newer);
        ExpectSameTexture(file, Magick(folder, classic));
        EXPECT_EQ(PrepareUserImage(file, "N").translucent, newer.find("50%") != std::string::npos);
    }
}

// What ImageMagick does not write: V4 headers, top-down rows, masks after a 40-byte header,
// indexed PNG with a known palette order, at 1, 2, 4 and 8 bits.
TEST(UserImageKinds, BuiltFilesEqualTheirClassicCounterparts) {
    const Bytes rows4 = {0x01, 0x23, 0, 0, 0x45, 0x67, 0, 0, 0x89, 0xAB, 0, 0};  // 4 x 3, 4-bit
    const TestBitmap four{.height = 3, .bitCount = 4, .table = DistinctTable(12), .pixels = rows4};
    TestBitmap v4 = four, topDown = four;
    v4.infoHeaderSize = 108;
    v4.headerTail = Bytes(68, 0x5A);
    topDown.height = -3;
    topDown.pixels = {0x89, 0xAB, 0, 0, 0x45, 0x67, 0, 0, 0x01, 0x23, 0, 0};
    // 16-bit: X1R5G5B5, and top-down RGB565 with masks after a 40-byte header.
    const Bytes masks = Pixels16({0xF800, 0, 0x07E0, 0, 0x001F, 0});  // 32-bit each
    TestBitmap x555{.width = 2, .height = 2, .bitCount = 16}, r565 = x555;
    x555.pixels = Pixels16({0x7C00, 0x03E0, 0x001F, 0x4210});
    r565 = {.width = 2, .height = -2, .bitCount = 16, .compression = 3, .headerTail = masks};
    r565.pixels = Pixels16({0x001F, 0x8410, 0xF800, 0x07E0});
    std::vector<std::pair<Bytes, Bytes>> cases = {
        {v4.Build(), four.Build()}, {topDown.Build(), four.Build()}, {r565.Build(), x555.Build()}};
    for (const int colours : {2, 4, 16, 40}) {
        Bytes indices;
        for (int i = 0; i < 13 * 9; ++i)
            indices.push_back(static_cast<std::uint8_t>((i * 7 + i / 13) % colours));
        const auto bits = static_cast<std::uint16_t>(colours <= 16 ? 4 : 8);
        TestBitmap bitmap{.width = 13, .height = 9, .bitCount = bits};
        bitmap.table = DistinctTable(colours);
        bitmap.pixels = BitmapRows(13, 9, bits, indices);
        cases.emplace_back(IndexedPng(13, 9, bitmap.table, indices), bitmap.Build());
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        ExpectSameTexture(cases[i].first, cases[i].second);
    }
}

TEST(UserImageKinds, Refusals) {
    using R = ConvertResult;
    Bytes many(900);  // 300 colours of 24 bits, distinct after the cut to 5 bits
    for (int i = 0; i < 300; ++i)
        std::tie(many[3 * i], many[3 * i + 1]) = std::pair(i % 32 * 8, i / 32 * 8);
    const Bytes v5 = TestBitmap{
        .infoHeaderSize = 124,
        .headerTail = Bytes(84),
        .table = DistinctTable(4),
        .pixels = {0, 1, 2,
                   3}}.Build();
    const Bytes png = IndexedPng(4, 2, DistinctTable(2), Bytes(8, 1));
    Bytes badCrc = png;
    badCrc[30] ^= 1;  // inside IHDR's CRC
    const std::pair<Bytes, ConvertResult> cases[] = {
        {TestBitmap{.width = 300, .bitCount = 24, .pixels = many}.Build(), R::TooManyReducedColors},
        {Bytes(v5.begin(), v5.end() - 1), R::CutShort},
        {Bytes(v5.begin(), v5.begin() + 138), R::CutShort},  // the headers alone
        {TestBitmap{.infoHeaderSize = 124, .pixelDataOffset = 100}.Build(),
         R::UnsupportedInfoHeader},  // a header running into the pixels
        {TestBitmap{.width = 2, .bitCount = 24, .compression = 4}.Build(), R::NotBitmap},
        {badCrc, R::BadPng},
        {Bytes(png.begin(), png.end() - 20), R::BadPng},
        {IndexedPng(4097, 1, DistinctTable(2), Bytes(4097, 0)), R::TooLarge}};
    for (const auto& [file, expected] : cases)
        EXPECT_EQ(PrepareUserImage(file, "N").result, expected);
    EXPECT_EQ(refusal_texts::UserImageRefusal(PrepareUserImage(cases[0].first, "N")),
              "Too many colors - with each color cut to 5 bits of red, green and blue, the "
              "picture still has 300 colors, and a texture holds at most 256.");
}
