#include "codec/UserImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "RecordInflater.h"
#include "TempFolder.h"
#include "TestBitmaps.h"

namespace {

// Checks that the record inflates to exactly the bytes its format code, width and height claim,
// and that those are the first bytes of the image's index stream.
void ExpectRecordHoldsItsData(const UserImage& image) {
    ASSERT_EQ(image.result, ConvertResult::Ok);
    const OpenedRecord record = OpenRecord(image.record);
    ASSERT_TRUE(record.data.has_value()) << "the stream does not inflate";
    const bool fourBit = record.FourBit();
    ASSERT_TRUE(fourBit || record.formatCode == 0x09 || record.formatCode == 0x0B);
    EXPECT_EQ(fourBit, record.count < 16);
    const std::size_t pixels = std::size_t{image.width} * image.height;
    const std::size_t n = fourBit ? pixels / 2 : pixels;
    EXPECT_EQ(*record.data, StreamBytes(image.texture, n));
    EXPECT_EQ(record.count, image.entries);
    EXPECT_EQ(record.palette,
              std::vector<std::uint16_t>(image.texture.palette.begin(),
                                         image.texture.palette.begin() + record.count));
    EXPECT_EQ(record.width, image.width & 0xFF);
    EXPECT_EQ(record.height, image.height & 0xFF);
}

// An indexed bitmap of `entries` table entries and the given pixel bytes.
TestBitmap Indexed(std::uint16_t bitCount, int entries, std::int32_t width, std::int32_t height,
                   const Bytes& pixels) {
    TestBitmap bitmap;
    bitmap.bitCount = bitCount;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.table = DistinctTable(entries);
    bitmap.pixels = pixels;
    return bitmap;
}

Bytes Ramp(std::size_t size, int modulo) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i) {
        out[i] = static_cast<std::uint8_t>((i * 7 + i / 13) % static_cast<std::size_t>(modulo));
    }
    return out;
}

}  // namespace

// --- Records: what the stream inflates to agrees with the header -----------------------------

TEST(RecordContents, IndexedBitmapsAtBothDepths) {
    // 8-bit file, 12 entries: 4-bit indices, 16 x 8 / 2 bytes.
    const UserImage small = PrepareUserImage(Indexed(8, 12, 16, 8, Ramp(128, 12)).Build(), "N");
    ExpectRecordHoldsItsData(small);
    EXPECT_EQ(small.depthMode, DEPTH_MODE_4BIT);
    EXPECT_EQ(small.record[0], 0x0A);

    // 4-bit file, 16 entries: 16 already means 8-bit indices, so each nibble becomes a byte.
    const UserImage sixteen = PrepareUserImage(Indexed(4, 16, 16, 8, Ramp(64, 256)).Build(), "N");
    ExpectRecordHoldsItsData(sixteen);
    EXPECT_EQ(sixteen.depthMode, DEPTH_MODE_8BIT);
    EXPECT_EQ(sixteen.record[0], 0x09);

    // 8-bit file, 200 entries, a whole 64 x 64 image.
    ExpectRecordHoldsItsData(
        PrepareUserImage(Indexed(8, 200, 64, 64, Ramp(4096, 200)).Build(), "N"));
}

TEST(RecordContents, RecordKeepsTheHeadersEntryCountWhenTheTableIsTrimmed) {
    TestBitmap bitmap = Indexed(4, 10, 8, 2, {0x01, 0x23, 0x45, 0x67, 0x89, 0x01, 0x23, 0x45});
    bitmap.table.resize(16 * 4, 0);  // offset 118: the conversion trims to 11 entries
    const UserImage image = PrepareUserImage(bitmap.Build(), "N");
    ExpectRecordHoldsItsData(image);
    EXPECT_EQ(image.texture.count, 11);
    EXPECT_EQ(image.entries, 16);
    EXPECT_EQ(image.record[1], 15);
}

TEST(RecordContents, SixteenBitBitmapsTakeTheirColourCountAndMatchingDepth) {
    std::vector<std::uint16_t> few;
    std::vector<std::uint16_t> many;
    for (std::uint16_t i = 0; i < 40; ++i) {
        few.push_back(static_cast<std::uint16_t>(0x0421 * (i % 5)));
        many.push_back(static_cast<std::uint16_t>(0x0421 * (i % 20)));
    }
    TestBitmap bitmap;
    bitmap.bitCount = 16;
    bitmap.width = 8;
    bitmap.height = 5;
    bitmap.pixels = Pixels16(few);
    const UserImage packed = PrepareUserImage(bitmap.Build(), "N");
    ExpectRecordHoldsItsData(packed);
    EXPECT_EQ(packed.entries, 5);
    EXPECT_EQ(packed.depthMode, DEPTH_MODE_4BIT);
    EXPECT_EQ(packed.record[0], 0x0A);

    bitmap.pixels = Pixels16(many);
    const UserImage wide = PrepareUserImage(bitmap.Build(), "G");
    ExpectRecordHoldsItsData(wide);
    EXPECT_EQ(wide.entries, 20);
    EXPECT_EQ(wide.depthMode, DEPTH_MODE_8BIT);
    EXPECT_EQ(wide.record[0], 0x0B);
}

TEST(RecordContents, FormatLetterChangesOnlyTheFormatCode) {
    const Bytes file = Indexed(8, 12, 16, 8, Ramp(128, 12)).Build();
    UserImage n = PrepareUserImage(file, "N");
    const UserImage g = PrepareUserImage(file, "G");
    EXPECT_EQ(g.record[0], 0x0C);
    n.record[0] = 0x0C;
    EXPECT_EQ(n.record, g.record);
}

// --- Refusals: no record for a refused bitmap -------------------------------------------------

TEST(PipelineRefusals, RefusedBitmapsGiveNoRecordAndNoPreview) {
    TestBitmap tooMany;
    tooMany.bitCount = 16;
    tooMany.width = 300;
    std::vector<std::uint16_t> pixels(300);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint16_t>(i);
    }
    tooMany.pixels = Pixels16(pixels);
    TestBitmap notBitmap = Indexed(24, 4, 4, 1, {});
    TestBitmap oneNibble = Indexed(8, 4, 1, 1, {1});  // 4 entries: 4-bit depth, 0 data bytes

    for (const auto& [bitmap, expected] : {std::pair{tooMany, ConvertResult::TooManyColors},
                                           std::pair{notBitmap, ConvertResult::NotBitmap},
                                           std::pair{oneNibble, ConvertResult::NoPixels}}) {
        const UserImage image = PrepareUserImage(bitmap.Build(), "N");
        EXPECT_EQ(image.result, expected);
        EXPECT_TRUE(image.record.empty());
        EXPECT_TRUE(MakePreviewBitmap(image).empty());
    }

    TempFolder folder;
    const UserImage missing = PrepareUserImage(folder / "absent.bmp", "N");
    EXPECT_EQ(missing.result, ConvertResult::CannotOpen);
    EXPECT_TRUE(missing.record.empty());
}

// --- Preview: 32 x 32 pixels from the start of the index stream -------------------------------

TEST(Preview, LargerImageShowsItsFirst1024PixelsWhileTheRecordHoldsAll) {
    TempFolder folder;
    const Bytes pixels = Ramp(64 * 32, 200);
    const auto path = folder.Write("wide.bmp", Indexed(8, 200, 64, 32, pixels).Build());
    const UserImage image = PrepareUserImage(path, "N");
    ExpectRecordHoldsItsData(image);
    EXPECT_EQ(OpenRecord(image.record).data->size(), 64u * 32);

    const Bytes preview = MakePreviewBitmap(image);
    ASSERT_EQ(preview.size(), 2102u);
    const std::vector<std::uint16_t> table = [] {
        std::vector<std::uint16_t> colours;
        const Bytes bytes = DistinctTable(200);
        for (std::size_t i = 0; i < bytes.size(); i += 4) {
            colours.push_back(static_cast<std::uint16_t>(bytes[i + 2] / 8 << 10 |
                                                         bytes[i + 1] / 8 << 5 | bytes[i] / 8));
        }
        return colours;
    }();
    for (std::size_t k = 0; k < 1024; ++k) {
        const auto value =
            static_cast<std::uint16_t>(preview[54 + 2 * k] | preview[55 + 2 * k] << 8);
        ASSERT_EQ(value, table[pixels[k]]) << "pixel " << k;
    }
}

TEST(Preview, FourBitDepthReadsNibbles) {
    const UserImage image = PrepareUserImage(Indexed(8, 12, 16, 8, Ramp(128, 12)).Build(), "N");
    const Bytes preview = MakePreviewBitmap(image);
    ASSERT_EQ(preview.size(), 2102u);
    EXPECT_EQ(preview, WriteTextureBitmap(32, 32, 16, image.texture.indexWords,
                                          image.texture.palette, DEPTH_MODE_4BIT));
    EXPECT_NE(preview, WriteTextureBitmap(32, 32, 16, image.texture.indexWords,
                                          image.texture.palette, DEPTH_MODE_8BIT));
}
