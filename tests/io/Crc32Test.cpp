#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <vector>

#include "io/Crc32.h"

TEST(Crc32, EqualsZlibAtEveryLengthAndAlignment) {
    std::mt19937 rng(7);
    std::vector<std::uint8_t> bytes(1 << 20);
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<std::uint8_t>(rng()); });
    auto zlib = [&](std::size_t start, std::size_t n) {
        return static_cast<std::uint32_t>(crc32(0, bytes.data() + start, static_cast<uInt>(n)));
    };
    // Every length through each processor path's minimum and loop, and some long ones.
    std::vector<std::size_t> lengths(601);
    std::iota(lengths.begin(), lengths.end(), 0);
    lengths.insert(lengths.end(), {992, 4087, 65528, 65591, (1u << 20) - 8});
    for (std::size_t start = 0; start < 8; ++start) {
        for (std::size_t n : lengths) {
            EXPECT_EQ(Crc32({bytes.data() + start, n}), zlib(start, n)) << start << " " << n;
        }
    }
    // Continued in pieces of 1 to 99 bytes, below and above the wide path's minimum.
    std::uint32_t crc = 0;
    std::size_t at = 0;
    for (std::size_t piece = 1; piece < 100; at += piece++) {
        crc = Crc32Update(crc, {bytes.data() + at, piece});
    }
    EXPECT_EQ(crc, zlib(0, at));
    EXPECT_EQ(Crc32Update(crc, {bytes.data() + at, bytes.size() - at}), zlib(0, bytes.size()));
}
