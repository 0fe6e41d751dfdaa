#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <random>
#include <vector>

#include "io/Crc32.h"

namespace {

// zlib's own CRC-32, the independent reference.
std::uint32_t Zlib(const std::uint8_t* data, std::size_t size) {
    return static_cast<std::uint32_t>(crc32(0, data, static_cast<uInt>(size)));
}

}  // namespace

TEST(Crc32, CheckValue) {
    const std::uint8_t text[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc32(text), 0xCBF43926u);
    EXPECT_EQ(Crc32({}), 0u);
}

TEST(Crc32, EqualsZlibAtEveryLengthAndAlignment) {
    std::mt19937 rng(7);
    std::vector<std::uint8_t> bytes(1 << 20);
    for (std::uint8_t& b : bytes) {
        b = static_cast<std::uint8_t>(rng());
    }
    // Every length through each processor path's minimum and loop, and some long ones.
    std::vector<std::size_t> lengths = {992, 4087, 65528, 65591, (1u << 20) - 8};
    for (std::size_t n = 0; n <= 600; ++n) {
        lengths.push_back(n);
    }
    for (std::size_t start = 0; start < 8; ++start) {
        for (std::size_t n : lengths) {
            EXPECT_EQ(Crc32({bytes.data() + start, n}), Zlib(bytes.data() + start, n))
                << start << " " << n;
        }
    }
    // Continued in pieces of every size from 1 to 99 bytes, below and above the wide path's
    // minimum.
    std::uint32_t crc = 0;
    std::size_t at = 0;
    for (std::size_t piece = 1; at + piece <= bytes.size() && piece < 100; at += piece++) {
        crc = Crc32Update(crc, {bytes.data() + at, piece});
    }
    EXPECT_EQ(crc, Zlib(bytes.data(), at));
    EXPECT_EQ(Crc32Update(crc, {bytes.data() + at, bytes.size() - at}),
              Zlib(bytes.data(), bytes.size()));
}
