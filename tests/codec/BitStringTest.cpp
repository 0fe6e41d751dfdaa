#include "codec/BitString.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "RecordInflater.h"
#include "codec/ExhaustiveSearchOracle.h"

using Bytes = std::vector<std::uint8_t>;

// Bits and refusals the inflater cannot check, joined with '|' so one comparison shows them all.
TEST(BitStrings, NumbersMirrorsAndRefusals) {
    const std::string got =
        NumberToBits(5, 3) + '|' + NumberToBits(300, 8) + '|' + NumberToBits(-2, 16) + '|' +
        NumberToBits(INT_MIN, 16) + '|' + NumberToBits(0, 17) + '|' + NumberToBits(1, 0) + '|' +
        NumberToBits(65536, 16) + '|' + ReverseBitString("00101100") + '|' + LengthToBits(2) + '|' +
        LengthToBits(0) + '|' + LengthToBits(259) + '|' + LengthToBits(-1) + '|' +
        DistanceToBits(0) + '|' + DistanceToBits(4097) + '|' + DistanceToBits(-1);
    EXPECT_EQ(got,
              "101|00101100|1111111111111110|0000000000000000|ERROR|ERROR|ERROR|00110100|"
              "ERROR|ERROR|||00000||");
}

// One fixed-code block holding every literal, every length and every distance up to 4096,
// read back by zlib and compared with copying the matches by hand.
TEST(BitStrings, EveryCodeInflatesWithZlib) {
    std::mt19937 rng(5);
    Bytes expected(4096);
    std::string bits(FIXED_BLOCK_HEADER);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expected[i] = static_cast<std::uint8_t>(i < 256 ? i : rng());
        bits += LiteralToBits(expected[i]);
        EXPECT_EQ(HighNibbleCodes()[expected[i] / 16] + LowNibbleCodes()[expected[i] % 16],
                  LiteralToBits(expected[i]));
    }
    auto match = [&](int length, int distance) {
        bits += LengthToBits(length) + DistanceToBits(distance);
        for (int k = 0; k < length; ++k)
            expected.push_back(expected[expected.size() - distance]);
    };
    for (int length = 3; length <= 258; ++length)
        match(length, length * 13 % 4096 + 1);
    for (int distance = 1; distance <= 4096; ++distance)
        match(3, distance);
    Bytes stream;
    oracle::AppendPacked(bits + "0000000", stream);  // the end-of-block code
    EXPECT_EQ(InflateRaw(stream), expected);
}
