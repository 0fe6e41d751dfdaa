#include "codec/Inflate.h"

#include <gtest/gtest.h>

#include <bit>
#include <tuple>

#include "RecordInflater.h"
#include "codec/ExhaustiveSearchOracle.h"
#include "codec/TextureRecordSamples.h"

namespace {

using R = InflateResult;

std::string F(unsigned value, int bits) {  // a header field, least significant bit first
    return ReverseBitString(NumberToBits(static_cast<std::int32_t>(value), bits));
}

}  // namespace

TEST(Inflate, ZlibStreamsOfEveryLevelAndStrategyInflateToTheirData) {
    Bytes skewed(30000);  // bytes of geometric frequencies: the rarest get codes of 11 to 15 bits
    std::mt19937 rng(7);
    for (auto& b : skewed)
        b = static_cast<std::uint8_t>(std::countr_zero(rng() | 0x80000000u) * 7);
    for (const Bytes& data :
         {Bytes{}, Bytes{7}, Data(5000, 1, 256, 1), skewed, Data(70000, 3, 4, 400)})
        for (int level = 0; level <= 9; ++level)
            for (int strategy : {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED})
                for (int memLevel : {1, 9}) {
                    const Bytes stream = Deflate(data, level, strategy, memLevel);
                    const InflateOutcome ours = InflateRaw(stream, data.size());
                    ASSERT_TRUE(ours.result == R::Ok && ours.output == data &&
                                (ours.bitsUsed + 7) / 8 == stream.size())
                        << data.size() << " level " << level << " strategy " << strategy;
                }
}

// Every cut and every single flipped bit of a stored, a fixed-code, a dynamic-code and our
// compressor's stream: we refuse exactly where zlib does, and agree where both accept.
TEST(Inflate, DamagedStreamsRefusedWhereZlibRefuses) {
    const Bytes data = Data(300, 6, 10, 5);
    for (const Bytes& stream : {Deflate(data, 0, 0), Deflate(data, 6, Z_FIXED), Deflate(data, 9, 0),
                                CompressTextureData(data)}) {
        const std::size_t end = (InflateRaw(stream, data.size()).bitsUsed + 7) / 8;
        for (std::size_t n = 0; n < stream.size(); ++n)
            EXPECT_EQ(InflateRaw(Bytes(stream.begin(), stream.begin() + n), 1 << 16).result,
                      n < end ? R::InputEnded : R::Ok);
        for (std::size_t bit = 0; bit < 8 * stream.size(); ++bit) {
            Bytes flipped = stream;
            flipped[bit / 8] ^= static_cast<std::uint8_t>(1 << bit % 8);
            const InflateOutcome ours = InflateRaw(flipped, 1 << 16);
            const auto zlib = InflateRaw(std::span(flipped));  // zlib's
            ASSERT_TRUE(ours.result == R::Ok ? zlib == ours.output : !zlib) << bit;
        }
    }
}

TEST(Inflate, MalformedStreamsRefusedWithTheirReason) {
    const std::string a = LiteralToBits('a'), end = "0000000", stored = "1" + F(0, 2) + "00000";
    const std::string dyn = "1" + F(2, 2) + F(0, 5) + F(0, 5);  // 257 and 1 codes
    const std::string codes = dyn + F(0, 4) + F(1, 3) + F(2, 3) + F(2, 3) + F(0, 3);  // 16: 0,
    const std::string zeros258 = "11" + F(127, 7) + "11" + F(109, 7);  // 17: 10, 18: 11
    // 1-bit codes for lengths 1 (0) and 18 (1); then 256 zero lengths and two lengths of 1.
    const std::string one = dyn + F(14, 4) + F(0, 6) + F(1, 3) + std::string(42, '0') + F(1, 3) +
                            "1" + F(127, 7) + "1" + F(107, 7) + "00";
    // Stream bits, result, output limit.
    const std::tuple<std::string, R, std::size_t> cases[] = {
        {"110" + a, R::InputEnded, 9},                                           // no end of block
        {"0" + F(0, 2) + "00000" + F(0, 16) + F(0xFFFF, 16), R::InputEnded, 9},  // no final block
        {"1" + F(3, 2), R::BadBlockType, 9},
        {stored + F(1, 16) + F(1, 16) + F('a', 8), R::BadStoredLength, 9},
        {stored + F(2, 16) + F(0xFFFD, 16) + F('a', 16), R::OutputPastLimit, 1},
        {"110" + a + "11000110", R::BadSymbol, 9},                 // literal/length 286
        {"110" + a + LengthToBits(3) + "11110", R::BadSymbol, 9},  // distance 30
        {"110" + a + LengthToBits(3) + DistanceToBits(2) + end, R::DistanceTooFar, 9},
        {"110" + a + a + end, R::OutputPastLimit, 1},
        {"110" + a + LengthToBits(3) + DistanceToBits(1) + end, R::OutputPastLimit, 3},
        {"110" + a + LengthToBits(3) + DistanceToBits(1) + end, R::Ok, 4},
        {"1" + F(2, 2) + F(30, 5) + F(0, 5) + F(0, 4), R::BadCodeLengths, 9},  // 287 codes
        {"1" + F(2, 2) + F(0, 5) + F(30, 5) + F(0, 4), R::BadCodeLengths, 9},  // 31 distances
        {dyn + F(0, 4) + F(1, 3) + F(1, 3) + F(1, 3) + F(0, 3), R::BadCodeLengths, 9},  // too many
        {dyn + F(0, 4) + F(1, 3) + F(0, 9), R::BadCodeLengths, 9},  // incomplete length code
        {codes + "0" + F(0, 2), R::BadCodeLengths, 9},              // repeat of nothing
        {codes + zeros258, R::BadCodeLengths, 9},                   // no end-of-block code
        {codes + "11" + F(127, 7) + "11" + F(110, 7), R::BadCodeLengths, 9},  // past the codes
        {one + "0", R::Ok, 9},
        {one + "1", R::BadSymbol, 9},  // the pattern the single 1-bit code leaves
    };
    for (const auto& [bits, expected, limit] : cases) {
        Bytes stream;
        if (!bits.empty())
            oracle::AppendPacked(bits, stream);
        EXPECT_EQ(InflateRaw(stream, limit).result, expected) << bits;
        const auto zlib = InflateRaw(std::span(stream));  // zlib's, with no limit of ours
        EXPECT_EQ(zlib && zlib->size() <= limit, expected == R::Ok) << bits;
    }
}
