#include "codec/TextureRecordDecode.h"

#include <gtest/gtest.h>

#include <tuple>

#include "codec/TextureRecordSamples.h"

using RR = RecordDecodeResult;

// Our compressor's records decode to exactly what they were made of, with the tail, also when
// other bytes follow; the same header with a stream zlib made decodes without a tail.
TEST(TextureRecordDecode, RecordsGiveBackWhatTheyWereMadeOf) {
    SampleTexture samples[] = {
        {8, 8, 15, "N", 1, 0},    {16, 32, 7, "G", 4, 0},      {33, 33, 3, "N", 2, 0},
        {2, 1, 1, "N", 1, 0},     {1, 1, 16, "G", 1, 0},       {32, 64, 256, "N", 1, 0},
        {128, 16, 40, "G", 9, 0}, {17, 241, 200, "N", 300, 0}, {64, 64, 2, "G", 500, 0}};
    for (SampleTexture& sample : samples) {
        sample.Make(static_cast<unsigned>(&sample - samples));
        const std::size_t header = 6 + 2 * sample.palette.size();
        Bytes zlibMade(sample.record.begin(), sample.record.begin() + header);
        const Bytes stream = Deflate(sample.data, 9, Z_DEFAULT_STRATEGY);
        zlibMade.insert(zlibMade.end(), stream.begin(), stream.end());
        for (int variant = 0; variant < 3; ++variant) {
            Bytes bytes = variant < 2 ? sample.record : zlibMade;
            if (variant == 1)
                bytes.insert(bytes.end(), {0xFF, 0x00, 0x11});
            const RecordDecodeOutcome outcome = DecodeTextureRecord(bytes);
            const DecodedTexture& t = outcome.texture;
            ASSERT_EQ(outcome.result, RR::Ok) << sample.width << "x" << sample.height;
            EXPECT_TRUE(t.palette == sample.palette && t.data == sample.data &&
                        PixelIndices(t) == sample.pixels && t.width == sample.width &&
                        t.height == sample.height && t.depth == (sample.count < 16 ? 4 : 8) &&
                        t.formatFlag == *sample.letter && t.formatCode == sample.record[0] &&
                        t.hasTail == (variant < 2) &&
                        t.recordSize == (variant < 2 ? sample.record : zlibMade).size())
                << sample.width << "x" << sample.height << " variant " << variant;
        }
    }
}

TEST(TextureRecordDecode, NearMissesRefusedWithTheirReason) {
    // 4-bit: palette at 2 to 7, width 8, height 9, identifier 10 and 11, stream from 12.
    const Bytes four = SampleTexture{5, 4, 3, "N", 1, 0}.Make(1).record;
    // 8-bit: palette at 2 to 33, width 34, height 35, identifier 36 and 37.
    const Bytes eight = SampleTexture{4, 4, 16, "G", 1, 0}.Make(2).record;
    auto with = [](Bytes r, std::size_t at, std::uint8_t value) { return r.at(at) = value, r; };
    using I = InflateResult;
    const std::tuple<Bytes, RR, I> cases[] = {
        {{}, RR::TooShort, I::Ok},
        {Bytes(four.begin(), four.begin() + 7), RR::TooShort, I::Ok},
        {with(four, 0, 0x0D), RR::BadFormatCode, I::Ok},
        {with(eight, 0, 0x0A), RR::BadPaletteCount, I::Ok},  // 16 entries at 4 bits
        {with(four, 0, 0x09), RR::BadPaletteCount, I::Ok},   // 3 entries at 8 bits
        {with(four, 8, 0), RR::ZeroSize, I::Ok},
        {with(four, 11, 0x73), RR::BadStreamMagic, I::Ok},
        {with(four, 12, 0x07), RR::StreamFault, I::BadBlockType},
        {Bytes(four.begin(), four.end() - 3), RR::StreamFault, I::InputEnded},
        {with(four, 9, 5), RR::WrongDataLength, I::Ok},                 // one row more
        {with(eight, 35, 3), RR::WrongDataLength, I::OutputPastLimit},  // one row less
        {SampleTexture{5, 4, 3, "N", 1, 4}.Make(3).record, RR::IndexOutOfRange, I::Ok},
        {SampleTexture{16, 16, 16, "G", 1, 17}.Make(5).record, RR::IndexOutOfRange, I::Ok},
    };
    for (const auto& [record, expected, inflate] : cases) {
        const RecordDecodeOutcome outcome = DecodeTextureRecord(record);
        EXPECT_TRUE(outcome.result == expected && outcome.inflateResult == inflate)
            << &record - &std::get<0>(cases[0]);
    }
}
