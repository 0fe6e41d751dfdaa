#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "io/ByteOrder.h"
#include "io/RomImage.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Bytes whose values all differ from their neighbours, so a misplaced byte always shows.
Bytes Pattern(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return bytes;
}

Bytes WithMarker(const char* marker, std::size_t size = 0x40) {
    Bytes bytes(size, 0);
    std::memcpy(bytes.data() + MARKER_OFFSET, marker, 4);
    return bytes;
}

}  // namespace

// --- Marker recognition ---------------------------------------------------------------------

TEST(ByteOrderMarker, NativeSwappedAndOther) {
    EXPECT_EQ(ReadMarker(WithMarker("MOON")), RomMarker::Native);
    EXPECT_EQ(ReadMarker(WithMarker("OMNO")), RomMarker::Swapped);
    EXPECT_EQ(ReadMarker(WithMarker("MOOM")), RomMarker::Other);
    EXPECT_EQ(ReadMarker(WithMarker("moon")), RomMarker::Other);
    // A 32-bit word reversal is no order the editor knows.
    EXPECT_EQ(ReadMarker(WithMarker("NOOM")), RomMarker::Other);
    EXPECT_EQ(ReadMarker(Bytes(0x40, 0)), RomMarker::Other);
}

TEST(ByteOrderMarker, OnlyTheFourBytesAtOffset0x20Count) {
    Bytes shifted(0x40, 0);
    std::memcpy(shifted.data() + MARKER_OFFSET + 1, "MOON", 4);
    EXPECT_EQ(ReadMarker(shifted), RomMarker::Other);
    Bytes surrounded = WithMarker("OMNO");
    surrounded[MARKER_OFFSET - 1] = 'X';
    surrounded[MARKER_OFFSET + 4] = 'Y';
    EXPECT_EQ(ReadMarker(surrounded), RomMarker::Swapped);
}

TEST(ByteOrderMarker, TooShortToHoldTheMarker) {
    EXPECT_EQ(ReadMarker(WithMarker("MOON", MARKER_OFFSET + 4)), RomMarker::Native);
    Bytes cut = WithMarker("MOON");
    cut.resize(MARKER_OFFSET + 3);
    EXPECT_EQ(ReadMarker(cut), RomMarker::Other);
    EXPECT_EQ(ReadMarker(Bytes{}), RomMarker::Other);
}

// --- Swapping in place ----------------------------------------------------------------------

TEST(ByteOrderSwap, ExchangesEveryPairAndIsItsOwnInverse) {
    Bytes bytes = {1, 2, 3, 4, 5, 6};
    SwapBytePairs(bytes);
    EXPECT_EQ(bytes, (Bytes{2, 1, 4, 3, 6, 5}));
    SwapBytePairs(bytes);
    EXPECT_EQ(bytes, (Bytes{1, 2, 3, 4, 5, 6}));
}

TEST(ByteOrderSwap, OddLastByteStaysAndEmptyIsFine) {
    Bytes odd = {1, 2, 3};
    SwapBytePairs(odd);
    EXPECT_EQ(odd, (Bytes{2, 1, 3}));
    Bytes empty;
    SwapBytePairs(empty);
    EXPECT_TRUE(empty.empty());
}

TEST(ByteOrderSwap, WholeImageRoundTripAndMarkerFlips) {
    Bytes image = Pattern(ROM_IMAGE_SIZE);
    std::memcpy(image.data() + MARKER_OFFSET, "MOON", 4);
    const Bytes original = image;
    SwapBytePairs(image);
    EXPECT_EQ(ReadMarker(image), RomMarker::Swapped);
    for (std::size_t p : {std::size_t{0}, std::size_t{1}, std::size_t{0x3E}, std::size_t{0x3F},
                          std::size_t{ROM_IMAGE_SIZE - 2}, std::size_t{ROM_IMAGE_SIZE - 1}}) {
        EXPECT_EQ(image[p], original[p ^ 1]) << p;
    }
    SwapBytePairs(image);
    EXPECT_EQ(image, original);
}

// --- Ranges in the other order --------------------------------------------------------------

TEST(ByteOrderRange, OddOffsetFromSwappedGivesNativeBytes) {
    const Bytes native = Pattern(64);
    Bytes swapped = native;
    SwapBytePairs(swapped);
    // Offset 5, count 4: native bytes 5, 6, 7 and 8.
    EXPECT_EQ(CopySwappedRange(swapped, 4, 5), (Bytes{native[5], native[6], native[7], native[8]}));
    for (std::uint32_t offset = 0; offset < 64; ++offset) {
        for (std::uint32_t count = 0; offset + count <= 64; count += 5) {
            const Bytes range = CopySwappedRange(swapped, count, offset);
            ASSERT_EQ(range, Bytes(native.begin() + offset, native.begin() + offset + count))
                << offset << " " << count;
        }
    }
}

TEST(ByteOrderRange, FromNativeGivesSwappedBytesAndWholeImageRoundTrips) {
    const Bytes native = Pattern(32);
    Bytes swapped = native;
    SwapBytePairs(swapped);
    EXPECT_EQ(CopySwappedRange(native, 3, 1), (Bytes{swapped[1], swapped[2], swapped[3]}));
    const Bytes once = CopySwappedRange(native, 32, 0);
    EXPECT_EQ(once, swapped);
    EXPECT_EQ(CopySwappedRange(once, 32, 0), native);
}

TEST(ByteOrderRange, EndOfImageAndEmptyRanges) {
    const Bytes native = Pattern(16);
    Bytes swapped = native;
    SwapBytePairs(swapped);
    EXPECT_EQ(CopySwappedRange(swapped, 1, 15), Bytes{native[15]});
    EXPECT_TRUE(CopySwappedRange(swapped, 0, 16).empty());
    EXPECT_TRUE(CopySwappedRange(swapped, 0, 0).empty());
}

TEST(ByteOrderRange, RefusesRangesBeyondTheImageAndOddImages) {
    const Bytes image = Pattern(16);
    EXPECT_TRUE(CopySwappedRange(image, 17, 0).empty());
    EXPECT_TRUE(CopySwappedRange(image, 1, 16).empty());
    EXPECT_TRUE(CopySwappedRange(image, 2, 15).empty());
    EXPECT_TRUE(CopySwappedRange(image, 0, 17).empty());
    // offset + count would wrap in 32 bits.
    constexpr auto max = std::numeric_limits<std::uint32_t>::max();
    EXPECT_TRUE(CopySwappedRange(image, max, 2).empty());
    EXPECT_TRUE(CopySwappedRange(image, 2, max).empty());
    // An odd image has no partner for its last byte.
    EXPECT_TRUE(CopySwappedRange(Pattern(15), 2, 0).empty());
    EXPECT_TRUE(CopySwappedRange(Bytes{}, 0, 0).empty());
}
