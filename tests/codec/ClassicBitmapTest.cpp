#include "codec/ClassicBitmap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "codec/UserImage.h"
#include "texts/RefusalTexts.h"

namespace {

// Converting `newer` gives exactly what converting `classic` gives: record, preview and sizes.
void ExpectSameTexture(const Bytes& newer, const Bytes& classic) {
    const UserImage a = PrepareUserImage(newer, "N");
    const UserImage b = PrepareUserImage(classic, "N");
    ASSERT_EQ(b.result, ConvertResult::Ok);
    EXPECT_EQ(a.result, ConvertResult::Ok);
    EXPECT_TRUE(a.width == b.width && a.height == b.height && a.entries == b.entries &&
                a.depthMode == b.depthMode);
    EXPECT_EQ(a.record, b.record);
    EXPECT_EQ(MakePreviewBitmap(a), MakePreviewBitmap(b));
}

// A width x height picture of `colours` colours; each channel is a 5-bit value k widened as
// k << 3 | 7, which both ImageMagick's scaling (floor(v x 31 / 255) in its 16-bit files) and our
// cut to 5 bits take back to k. Every colour appears.
std::string Picture(int width, int height, int colours) {
    std::string ppm = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (int i = 0; i < width * height; ++i) {
        const int c = (i < colours ? i : i * 7 % colours) * 37 + 5;
        for (const int k : {c % 32, c / 32 % 32, c * 3 % 32})
            ppm += static_cast<char>(k << 3 | 7);
    }
    return ppm;
}

Bytes ImageMagick(const TempFolder& folder, const std::string& arguments) {
    const std::string command =
        "cd '" + folder.Path().string() + "' && convert in.ppm " + arguments + "out.bmp";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return ReadAllBytes(folder / "out.bmp");
}

// A picture's rows in the other order, rows of `rowBytes`.
Bytes Flipped(const Bytes& rows, std::size_t rowBytes) {
    Bytes out;
    for (std::size_t at = rows.size(); at >= rowBytes; at -= rowBytes)
        out.insert(out.end(), rows.begin() + static_cast<std::ptrdiff_t>(at - rowBytes),
                   rows.begin() + static_cast<std::ptrdiff_t>(at));
    return out;
}

}  // namespace

// Longer headers, bit-field masks and true colour as ImageMagick writes them, each against the
// classic file of the same picture (BMP3 with a colour table, or X1R5G5B5 pixels).
TEST(NewerBitmaps, ImageMagickFilesEqualTheirClassicCounterparts) {
    const std::string classic16 = "-define bmp:subtype=RGB555 BMP3:";
    const std::tuple<int, int, int, std::string, std::string> cases[] = {
        {8, 4, 10, "-type Palette BMP:", "-type Palette BMP3:"},   // 4-bit, V5 header
        {7, 3, 10, "-type Palette BMP:", "-type Palette BMP3:"},   // rows padded
        {16, 8, 40, "-type Palette BMP:", "-type Palette BMP3:"},  // 8-bit, V5 header
        {8, 4, 10, "-define bmp:subtype=RGB565 BMP:", classic16},
        {7, 3, 40, "-define bmp:subtype=RGB555 BMP:", classic16},
        {7, 3, 40, "-type truecolor BMP3:", classic16},
        {16, 8, 40, "-type truecolor BMP:", classic16},
        {16, 8, 40, "-type truecolormatte BMP:", classic16}};  // 32-bit, alpha mask
    for (const auto& [width, height, colours, newer, classic] : cases) {
        SCOPED_TRACE(newer + " " + std::to_string(width));
        TempFolder folder;
        folder.WriteText("in.ppm", Picture(width, height, colours));
        ExpectSameTexture(ImageMagick(folder, newer), ImageMagick(folder, classic));
    }
}

// What ImageMagick does not write: V4 headers, top-down rows, masks after a 40-byte header.
TEST(NewerBitmaps, BuiltFilesEqualTheirClassicCounterparts) {
    const Bytes rows4 = {0x01, 0x23, 0, 0, 0x45, 0x67, 0, 0, 0x89, 0xAB, 0, 0};  // 4 x 3, 4-bit
    const TestBitmap four{.height = 3, .bitCount = 4, .table = DistinctTable(12), .pixels = rows4};
    TestBitmap v4 = four, topDown = four;
    v4.infoHeaderSize = 108;
    v4.headerTail = Bytes(68, 0x5A);
    topDown.height = -3;
    topDown.pixels = Flipped(rows4, 4);
    const Bytes rows8 = {1, 2, 3, 0, 4, 5, 6, 0};  // 3 x 2, 8-bit
    const TestBitmap eight{.width = 3, .height = 2, .table = DistinctTable(7), .pixels = rows8};
    TestBitmap eightDown = eight;
    eightDown.height = -2;
    eightDown.pixels = Flipped(rows8, 4);
    // 16-bit: 565 pixels with masks after the header, and the X1R5G5B5 file of the same colours.
    const TestBitmap x555{.width = 2,
                          .height = 2,
                          .bitCount = 16,
                          .pixels = Pixels16({0x7C00, 0x03E0, 0x001F, 0x4210})};
    const TestBitmap r565{.width = 2,
                          .height = -2,
                          .bitCount = 16,
                          .compression = 3,
                          .headerTail = Words32({0xF800, 0x07E0, 0x001F}),
                          .pixels = Pixels16({0x001F, 0x8410, 0xF800, 0x07E0})};
    const TestBitmap rgb24{.width = 2,
                           .height = 2,
                           .bitCount = 24,
                           .pixels = {0, 0, 0xFF, 0, 0xFF, 0, 0, 0,          // red, green
                                      0xFF, 0, 0, 0x87, 0x80, 0x80, 0, 0}};  // blue, grey
    const std::pair<TestBitmap, TestBitmap> cases[] = {
        {v4, four}, {topDown, four}, {eightDown, eight}, {r565, x555}, {rgb24, x555}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        ExpectSameTexture(cases[i].first.Build(), cases[i].second.Build());
    }
}

TEST(NewerBitmaps, Refusals) {
    using R = ConvertResult;
    Bytes many;  // 300 colours of 24 bits, distinct after the cut to 5 bits
    for (int i = 0; i < 300; ++i)
        many.insert(many.end(), {static_cast<std::uint8_t>(i % 32 * 8),
                                 static_cast<std::uint8_t>(i / 32 * 8), 0});
    const TestBitmap v5{.infoHeaderSize = 124,
                        .headerTail = Bytes(84),
                        .table = DistinctTable(4),
                        .pixels = {0, 1, 2, 3}};
    TestBitmap overlapping = v5;
    overlapping.pixelDataOffset = 100;
    const Bytes whole = v5.Build();
    const std::pair<Bytes, ConvertResult> cases[] = {
        {TestBitmap{.width = 300, .bitCount = 24, .pixels = many}.Build(), R::TooManyReducedColors},
        {Bytes(whole.begin(), whole.end() - 1), R::CutShort},
        {Bytes(whole.begin(), whole.begin() + 138), R::CutShort},
        {overlapping.Build(), R::UnsupportedInfoHeader},
        {TestBitmap{.width = 2, .bitCount = 32, .compression = 3}.Build(), R::CutShort},
        {TestBitmap{.width = 2, .bitCount = 24, .compression = 4}.Build(), R::NotBitmap}};
    for (const auto& [file, expected] : cases) {
        TextureData out;
        EXPECT_EQ(ConvertBitmapToTexture(file, DEPTH_MODE_8BIT, out), expected);
        EXPECT_EQ(PrepareUserImage(file, "N").result, expected);
    }
    const std::string text = refusal_texts::UserImageRefusal(PrepareUserImage(cases[0].first, "N"));
    EXPECT_NE(text.find("still has 300 colors"), std::string::npos) << text;
}
