#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "io/ByteOrder.h"

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

Bytes WithMarker(const char* marker, std::size_t at = MARKER_OFFSET, std::size_t size = 0x40) {
    Bytes bytes(size, 0);
    std::memcpy(bytes.data() + at, marker, 4);
    return bytes;
}

}  // namespace

TEST(ByteOrderMarker, OnlyTheFourBytesAtOffset0x20Count) {
    EXPECT_EQ(ReadMarker(WithMarker("MOON")), RomMarker::Native);
    EXPECT_EQ(ReadMarker(WithMarker("OMNO")), RomMarker::Swapped);
    EXPECT_EQ(ReadMarker(WithMarker("OMNO", MARKER_OFFSET, MARKER_OFFSET + 4)), RomMarker::Swapped);
    Bytes cut = WithMarker("MOON");
    cut.resize(MARKER_OFFSET + 3);
    // Other spellings, a 32-bit word reversal, a shifted marker, a file too short to hold it.
    for (const Bytes& other : {WithMarker("moon"), WithMarker("NOOM"), WithMarker("MOOM"),
                               WithMarker("MOON", MARKER_OFFSET + 1), cut, Bytes{}}) {
        EXPECT_EQ(ReadMarker(other), RomMarker::Other);
    }
}

TEST(ByteOrderSwap, ExchangesEveryPairOddLastByteStaysOwnInverse) {
    Bytes bytes = {1, 2, 3, 4, 5};
    SwapBytePairs(bytes);
    EXPECT_EQ(bytes, (Bytes{2, 1, 4, 3, 5}));
    SwapBytePairs(bytes);
    EXPECT_EQ(bytes, (Bytes{1, 2, 3, 4, 5}));
}

TEST(ByteOrderRange, EveryRangeOfEitherOrderGivesTheOtherOrdersBytes) {
    const Bytes native = Pattern(64);
    Bytes swapped = native;
    SwapBytePairs(swapped);
    // Offset 5, count 4: native bytes 5, 6, 7 and 8.
    EXPECT_EQ(CopySwappedRange(swapped, 4, 5), (Bytes{native[5], native[6], native[7], native[8]}));
    for (std::uint32_t offset = 0; offset <= 64; ++offset) {
        for (std::uint32_t count = 0; offset + count <= 64; ++count) {
            ASSERT_EQ(CopySwappedRange(swapped, count, offset),
                      Bytes(native.begin() + offset, native.begin() + offset + count));
            ASSERT_EQ(CopySwappedRange(native, count, offset),
                      Bytes(swapped.begin() + offset, swapped.begin() + offset + count));
        }
    }
}

TEST(ByteOrderRange, RefusesRangesBeyondTheImageAndOddImages) {
    const Bytes image = Pattern(16);
    constexpr auto max = std::numeric_limits<std::uint32_t>::max();  // wraps in 32 bits
    const std::uint32_t ranges[][2] = {{17, 0}, {1, 16}, {2, 15}, {0, 17}, {max, 2}, {2, max}};
    for (const auto& range : ranges) {
        EXPECT_TRUE(CopySwappedRange(image, range[0], range[1]).empty()) << range[0];
    }
    // An odd image has no partner for its last byte.
    EXPECT_TRUE(CopySwappedRange(Pattern(15), 2, 0).empty());
}
