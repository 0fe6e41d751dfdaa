#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "codec/BitString.h"

namespace {

// Binary text of `value` in `width` digits, most significant first.
std::string Binary(std::uint32_t value, int width) {
    std::string text;
    for (int i = width - 1; i >= 0; --i) {
        text += ((value >> i) & 1u) ? '1' : '0';
    }
    return text;
}

// Reads `count` bits from `bits` at `pos` as a number, first bit most significant (Huffman
// order) or least significant (extra-bit order).
std::uint32_t ReadMsbFirst(const std::string& bits, std::size_t& pos, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = (value << 1) | (bits.at(pos++) == '1' ? 1u : 0u);
    }
    return value;
}
std::uint32_t ReadLsbFirst(const std::string& bits, std::size_t& pos, int count) {
    std::uint32_t value = 0;
    for (int i = 0; i < count; ++i) {
        value |= (bits.at(pos++) == '1' ? 1u : 0u) << i;
    }
    return value;
}

// Length and distance symbol tables of the DEFLATE format, RFC 1951 section 3.2.5.
constexpr int LENGTH_BASE[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int LENGTH_EXTRA[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int DISTANCE_BASE[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                   33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                   1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int DISTANCE_EXTRA[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                    6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Decodes a length bit-string with the fixed code; -1 when it is not exactly one length code.
int DecodeLength(const std::string& bits) {
    std::size_t pos = 0;
    std::uint32_t code = ReadMsbFirst(bits, pos, 7);
    int symbol;
    if (code <= 0x17) {
        symbol = 256 + static_cast<int>(code);
    } else {
        code = (code << 1) | ReadMsbFirst(bits, pos, 1);
        if (code < 0xC0 || code > 0xC5) {
            return -1;
        }
        symbol = 280 + static_cast<int>(code - 0xC0);
    }
    if (symbol < 257) {
        return -1;
    }
    const int index = symbol - 257;
    const int length =
        LENGTH_BASE[index] + static_cast<int>(ReadLsbFirst(bits, pos, LENGTH_EXTRA[index]));
    return pos == bits.size() ? length : -1;
}

int DecodeDistance(const std::string& bits) {
    std::size_t pos = 0;
    const auto symbol = static_cast<int>(ReadMsbFirst(bits, pos, 5));
    const int distance =
        DISTANCE_BASE[symbol] + static_cast<int>(ReadLsbFirst(bits, pos, DISTANCE_EXTRA[symbol]));
    return pos == bits.size() ? distance : -1;
}

std::vector<std::uint8_t> Pack(const std::string& bits) {
    std::vector<std::uint8_t> out;
    const std::size_t written = PackBits(BitStringToArray(bits), out);
    EXPECT_EQ(written, out.size());
    return out;
}

}  // namespace

TEST(NumberToBitsRange, KeepsTheLowBitsMostSignificantFirst) {
    EXPECT_EQ(NumberToBits(5, 3), "101");
    EXPECT_EQ(NumberToBits(300, 8), "00101100");
    EXPECT_EQ(NumberToBits(65535, 16), std::string(16, '1'));
    EXPECT_EQ(NumberToBits(0, 1), "0");
    EXPECT_EQ(NumberToBits(1, 16), std::string(15, '0') + "1");
    EXPECT_EQ(NumberToBits(-1, 4), "1111");
    EXPECT_EQ(NumberToBits(-2, 16), std::string(15, '1') + "0");
    EXPECT_EQ(NumberToBits(INT_MIN, 16), std::string(16, '0'));
}

TEST(NumberToBitsRange, RefusesWidthsOutsideOneToSixteenAndValuesAbove65535) {
    EXPECT_EQ(NumberToBits(0, 17), "ERROR");
    EXPECT_EQ(NumberToBits(1, 0), "ERROR");
    EXPECT_EQ(NumberToBits(1, -1), "ERROR");
    EXPECT_EQ(NumberToBits(65536, 16), "ERROR");
    EXPECT_EQ(NumberToBits(INT_MAX, 8), "ERROR");
}

TEST(NumberToBitsRange, ReverseBitStringMirrorsTheText) {
    EXPECT_EQ(ReverseBitString(""), "");
    EXPECT_EQ(ReverseBitString("1"), "1");
    EXPECT_EQ(ReverseBitString("110"), "011");
    EXPECT_EQ(ReverseBitString("00101100"), "00110100");
}

TEST(LiteralCodes, MatchTheFixedHuffmanCodeForEveryByte) {
    for (std::uint32_t b = 0; b < 256; ++b) {
        const std::string expected = b < 144 ? Binary(0x30 + b, 8) : Binary(0x190 + (b - 144), 9);
        EXPECT_EQ(LiteralToBits(static_cast<std::uint8_t>(b)), expected) << "byte " << b;
    }
}

TEST(LiteralCodes, PinnedBytes) {
    EXPECT_EQ(LiteralToBits(0x00), "00110000");
    EXPECT_EQ(LiteralToBits(0x8F), "10111111");
    EXPECT_EQ(LiteralToBits(0x90), "110010000");
    EXPECT_EQ(LiteralToBits(0xFF), "111111111");
}

TEST(LiteralCodes, NibbleTablesSwitchToFiveBitsAtNine) {
    const auto& high = HighNibbleCodes();
    const auto& low = LowNibbleCodes();
    EXPECT_EQ(high[0], "0011");
    EXPECT_EQ(high[8], "1011");
    EXPECT_EQ(high[9], "11001");
    EXPECT_EQ(high[15], "11111");
    EXPECT_EQ(low[0], "0000");
    EXPECT_EQ(low[10], "1010");
    EXPECT_EQ(low[15], "1111");
    // Built once: repeated calls hand out the same tables.
    EXPECT_EQ(&HighNibbleCodes(), &high);
    EXPECT_EQ(&LowNibbleCodes(), &low);
}

TEST(LengthCodes, PinnedLengths) {
    EXPECT_EQ(LengthToBits(3), "0000001");
    EXPECT_EQ(LengthToBits(10), "0001000");
    EXPECT_EQ(LengthToBits(11), "00010010");
    EXPECT_EQ(LengthToBits(12), "00010011");
    EXPECT_EQ(LengthToBits(19), "000110100");
    EXPECT_EQ(LengthToBits(115), "110000000000");
    EXPECT_EQ(LengthToBits(257), "1100010001111");
    EXPECT_EQ(LengthToBits(258), "11000101");
}

TEST(LengthCodes, EveryLengthDecodesBack) {
    for (int length = 3; length <= 258; ++length) {
        EXPECT_EQ(DecodeLength(LengthToBits(length)), length) << LengthToBits(length);
    }
}

TEST(LengthCodes, OutOfRangeLengths) {
    EXPECT_EQ(LengthToBits(0), "ERROR");
    EXPECT_EQ(LengthToBits(1), "ERROR");
    EXPECT_EQ(LengthToBits(2), "ERROR");
    EXPECT_EQ(LengthToBits(259), "");
    EXPECT_EQ(LengthToBits(-1), "");
    EXPECT_EQ(LengthToBits(INT_MIN), "");
    EXPECT_EQ(LengthToBits(INT_MAX), "");
}

TEST(DistanceCodes, PinnedDistances) {
    EXPECT_EQ(DistanceToBits(0), "00000");
    EXPECT_EQ(DistanceToBits(1), "00000");
    EXPECT_EQ(DistanceToBits(4), "00011");
    EXPECT_EQ(DistanceToBits(5), "001000");
    EXPECT_EQ(DistanceToBits(6), "001001");
    EXPECT_EQ(DistanceToBits(9), "0011000");
    EXPECT_EQ(DistanceToBits(4096), "10111" + std::string(10, '1'));
}

TEST(DistanceCodes, EveryDistanceDecodesBack) {
    for (int distance = 1; distance <= 4096; ++distance) {
        ASSERT_EQ(DecodeDistance(DistanceToBits(distance)), distance) << DistanceToBits(distance);
    }
}

TEST(DistanceCodes, DistancesWithoutCode) {
    EXPECT_EQ(DistanceToBits(4097), "");
    EXPECT_EQ(DistanceToBits(32768), "");
    EXPECT_EQ(DistanceToBits(-1), "");
    EXPECT_EQ(DistanceToBits(INT_MIN), "");
}

TEST(BitPacking, ElevenBitExample) {
    std::vector<std::uint8_t> bytes = Pack("11000000001");
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0xC0, 0x20}));
    ReverseBitOrder(bytes, bytes.size(), 0);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x03, 0x04}));
}

TEST(BitPacking, ByteCountRoundsUp) {
    EXPECT_TRUE(Pack("").empty());
    EXPECT_EQ(Pack("1"), (std::vector<std::uint8_t>{0x80}));
    EXPECT_EQ(Pack("10110001"), (std::vector<std::uint8_t>{0xB1}));
    EXPECT_EQ(Pack("101100011"), (std::vector<std::uint8_t>{0xB1, 0x80}));
    EXPECT_EQ(Pack(std::string(16, '1')), (std::vector<std::uint8_t>{0xFF, 0xFF}));
}

TEST(BitPacking, AppendsAfterExistingBytes) {
    std::vector<std::uint8_t> out{0xAA};
    EXPECT_EQ(PackBits(BitStringToArray("0000000011"), out), 2u);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0xAA, 0x00, 0xC0}));
}

TEST(BitPacking, ArrayTreatsAnyOtherCharacterAsOne) {
    EXPECT_EQ(BitStringToArray("01x0"), (std::vector<std::uint8_t>{0, 1, 1, 0}));
    EXPECT_TRUE(BitStringToArray("").empty());
}

TEST(BitPacking, ReverseBitOrderMirrorsEachByte) {
    std::vector<std::uint8_t> bytes{0x01, 0xB1, 0x00, 0xFF, 0x81, 0x0F};
    ReverseBitOrder(bytes, bytes.size(), 0);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x80, 0x8D, 0x00, 0xFF, 0x81, 0xF0}));
}

TEST(BitPacking, ReverseBitOrderTouchesOnlyItsRange) {
    std::vector<std::uint8_t> bytes{0x01, 0x01, 0x01, 0x01};
    ReverseBitOrder(bytes, 3, 1);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x01, 0x80, 0x80, 0x01}));
    ReverseBitOrder(bytes, 1, 3);  // start past end: nothing
    ReverseBitOrder(bytes, 2, 2);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x01, 0x80, 0x80, 0x01}));
    ReverseBitOrder(bytes, 1000, 3);  // end clamped to the buffer
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x01, 0x80, 0x80, 0x80}));
    ReverseBitOrder(bytes, 1000, 900);
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0x01, 0x80, 0x80, 0x80}));
}
