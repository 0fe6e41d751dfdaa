#include "codec/TextureRecordScan.h"

#include <gtest/gtest.h>

#include <tuple>

#include "codec/TextureRecordSamples.h"
#include "io/ByteOrder.h"

namespace {

using Found = std::vector<std::tuple<std::uint32_t, std::size_t, bool>>;

// Offset, record size and tail of every record found, in the order the scan gives them (an
// image without a marker is scanned as it is).
Found Scan(std::span<const std::uint8_t> image) {
    Found found;
    for (const FoundRecord& r : ScanTextureRecordsAnyOrder(image))
        found.emplace_back(r.offset, r.texture.recordSize, r.texture.hasTail);
    return found;
}

}  // namespace

// Records at odd and even offsets, one inside another's palette, one whose stream zlib made
// (no tail), one at the end of the image with its last byte cut off; the same
// found in the swapped order.
TEST(TextureRecordScan, FindsEveryRecordInEitherOrder) {
    Bytes image = Data(1 << 20, 1, 256, 1);
    std::copy_n("MOON", 4, image.begin() + MARKER_OFFSET);
    const Bytes odd = SampleTexture{16, 16, 9, "N", 3, 0}.Make(1).record;
    const Bytes even = SampleTexture{32, 32, 256, "G", 5, 0}.Make(2).record;
    const Bytes inner = SampleTexture{8, 8, 2, "N", 2, 0}.Make(3).record;
    SampleTexture outer{8, 16, 256, "N", 1, 0};
    for (std::size_t i = 0; i < inner.size(); i += 2)
        outer.palette.push_back(inner[i] << 8 | (i + 1 < inner.size() ? inner[i + 1] : 0));
    SampleTexture dynamic{32, 16, 40, "N", 7, 0};
    Bytes zlibMade = dynamic.Make(6).record;
    zlibMade.resize(6 + 2 * dynamic.palette.size());
    const Bytes stream = Deflate(dynamic.data, 9, Z_DEFAULT_STRATEGY);
    zlibMade.insert(zlibMade.end(), stream.begin(), stream.end());
    const Bytes last = SampleTexture{64, 16, 5, "G", 2, 0}.Make(4).record;
    const std::size_t lastAt = image.size() - last.size() + 1;
    for (const auto& [at, record] : {std::pair{0x1001ul, odd},
                                     {0x2000ul, even},
                                     {0x3001ul, outer.Make(5).record},
                                     {0x4000ul, zlibMade},
                                     {lastAt, last}})
        std::copy_n(record.begin(), std::min(record.size(), image.size() - at), &image[at]);
    std::size_t cut = last.size() - 1;  // the shortest whole record, by trial
    while (DecodeTextureRecord(std::span(last).first(cut - 1)).result == RecordDecodeResult::Ok)
        --cut;
    const Found expected{{0x1001, odd.size(), true},          {0x2000, even.size(), true},
                         {0x3001, outer.record.size(), true}, {0x3003, inner.size(), true},
                         {0x4000, zlibMade.size(), false},    {lastAt, cut, false}};
    EXPECT_EQ(Scan(image), expected);
    SwapBytePairs(image);
    EXPECT_EQ(Scan(image), expected);
}

// Headers whose streams do not inflate, or inflate to a wrong length, or to an index past the
// palette (2 entries: height at 7, stream from 10), and plain random bytes: nothing.
TEST(TextureRecordScan, NearMissesAndRandomBytesGiveNothing) {
    Bytes image;
    for (unsigned i = 0; image.size() < (1u << 20); ++i) {
        Bytes record = SampleTexture{8, 8, 2, "N", 2, i % 3 == 0 ? 16u : 0u}.Make(i).record;
        if (i % 3 == 1)
            std::fill(record.begin() + 10, record.end(), static_cast<std::uint8_t>(i));
        if (i % 3 == 2)
            record[7] = 9;
        image.insert(image.end(), record.begin(), record.end());
    }
    EXPECT_EQ(Scan(image), Found{});
    EXPECT_EQ(Scan(Data(12 << 20, 2, 256, 1)), Found{});
}
