#include "codec/TextureCompressor.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "RecordInflater.h"
#include "codec/BitString.h"
#include "codec/ExhaustiveSearchOracle.h"
#include "codec/MatchFinder.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t SHORT = 400, MEDIUM = 1500;  // the oracle is quadratic

// n bytes of `symbols` values in runs of 1 to maxRun, repeating after `period` bytes if not 0.
Bytes Data(std::size_t n, unsigned seed, unsigned symbols = 256, unsigned maxRun = 1,
           std::size_t period = 0) {
    std::mt19937 rng(seed);
    Bytes data;
    while (data.size() < n) {
        if (period != 0 && data.size() >= period)
            data.push_back(data[data.size() - period]);
        else
            data.insert(data.end(), 1 + rng() % maxRun, static_cast<std::uint8_t>(rng() % symbols));
    }
    data.resize(n);
    return data;
}

// A nearer match (or run) of 270 bytes and a farther one of 300: both cut to 258, the farther
// must win because its full length is greater.
Bytes FartherLonger(bool runs) {
    const Bytes a = runs ? Bytes(300, 7) : Data(300, 42);
    Bytes data(a);
    for (const Bytes& part : {Bytes{1}, Bytes(a.begin(), a.begin() + 270),
                              Bytes{static_cast<std::uint8_t>(a[270] ^ 0xFF)}, a, Bytes{3}})
        data.insert(data.end(), part.begin(), part.end());
    return data;
}

std::vector<std::uint32_t> Words(const Bytes& data) {
    std::vector<std::uint32_t> words((data.size() + 3) / 4, 0);
    for (std::size_t i = 0; i < data.size(); ++i)
        words[i / 4] |= data[i] << (24 - 8 * (i % 4));
    return words;
}

std::vector<std::uint16_t> Palette(int count) {
    std::vector<std::uint16_t> palette;
    for (int i = 0; i < count; ++i)
        palette.push_back(static_cast<std::uint16_t>(0x1234 + 0x0101 * i));
    return palette;
}

}  // namespace

// Bits and refusals the inflater cannot check, joined with '|' so one comparison shows them all.
TEST(BitStrings, RefusalsAndEveryCodeInflatingWithZlib) {
    const std::string got =
        NumberToBits(5, 3) + '|' + NumberToBits(300, 8) + '|' + NumberToBits(-2, 16) + '|' +
        NumberToBits(INT_MIN, 16) + '|' + NumberToBits(0, 17) + '|' + NumberToBits(1, 0) + '|' +
        NumberToBits(65536, 16) + '|' + ReverseBitString("00101100") + '|' + LengthToBits(2) + '|' +
        LengthToBits(0) + '|' + LengthToBits(259) + '|' + LengthToBits(-1) + '|' +
        DistanceToBits(0) + '|' + DistanceToBits(4097) + '|' + DistanceToBits(-1);
    EXPECT_EQ(got,
              "101|00101100|1111111111111110|0000000000000000|ERROR|ERROR|ERROR|00110100|"
              "ERROR|ERROR|||00000||");
    // One fixed-code block holding every literal, every length and every distance up to 4096,
    // read back by zlib and compared with copying the matches by hand.
    std::mt19937 rng(5);
    Bytes expected(4096);
    std::string bits(FIXED_BLOCK_HEADER);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        expected[i] = static_cast<std::uint8_t>(i < 256 ? i : rng());
        bits += LiteralToBits(expected[i]);
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

// Header fields, palette byte order, dimension low bytes, packing below 16 entries and the
// dropped odd pixel, against the step-by-step record and zlib, and pinned byte for byte.
TEST(TextureRecords, EqualTheStepByStepRecordAndInflateToTheirData) {
    const std::tuple<int, int, int, const char*> cases[] = {
        {8, 8, 16, "N"},   {8, 8, 15, "G"},     {32, 32, 256, "G"}, {33, 33, 4, "N"},
        {1, 2, 1, "N"},    {128, 16, 256, "g"}, {3, 1, 16, "G"},    {0x121, 1, 16, "N"},
        {16, 32, 15, "N"}, {64, 17, 200, "N"}};
    for (const auto& [width, height, count, letter] : cases) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + " " + letter);
        const Bytes data = Data(width * height + 1, count, count % 2 ? 256 : 5, count % 2 ? 1 : 6);
        const auto words = Words(data);
        const Bytes record = CompressTexture(TEXTURE_STREAM_MAGIC, FIXED_BLOCK_HEADER, width,
                                             height, words, Palette(count), count, letter);
        EXPECT_EQ(record,
                  oracle::CompressRecord(width, height, words, Palette(count), count, letter));
        const std::size_t n = width * height / (count < 16 ? 2 : 1);
        EXPECT_EQ(InflateRecord(record), Bytes(data.begin(), data.begin() + n));
    }
    // Worked examples, byte for byte.
    EXPECT_EQ(CompressTexture(0x1172, "110", 4, 2, Words({0x12, 0x34, 0x12, 0x34}),
                              std::vector<std::uint16_t>{0x0001, 0xF800, 0x07C0}, 3, "N"),
              (Bytes{0x0A, 0x02, 0x00, 0x01, 0xF8, 0x00, 0x07, 0xC0, 0x04, 0x02, 0x11, 0x72, 0x13,
                     0x32, 0x11, 0x32, 0x01, 0x00, 0x23}));
    const std::pair<Bytes, Bytes> streams[] = {
        {{1, 2, 3, 1, 2, 3, 1, 2, 3, 4}, {0x63, 0x64, 0x62, 0x86, 0x20, 0x16, 0x00, 0x30, 0x02}},
        {Bytes(8, 0), {0x63, 0x80, 0x02, 0x00, 0x30, 0x02}},
        {Bytes(259, 5), {0x63, 0x1D, 0x05, 0x00, 0x60, 0x04}},
        {Bytes(300, 5), {0x63, 0x1D, 0x05, 0x44, 0x03, 0x00, 0x30, 0x02}},
        {{9}, {0xE3, 0x04, 0x00, 0x23}}};
    for (const auto& [data, stream] : streams)
        EXPECT_EQ(CompressTextureData(data), stream);
}

TEST(TextureRecords, RefusedArgumentsGiveNoRecord) {
    const std::vector<std::uint32_t> words(2048, 0x01020304);  // 8192 bytes
    // Width, height, words and palette entries given.
    auto refused = [&](std::uint16_t magic, const char* header, int w, int h, std::size_t n,
                       int entries, int count) {
        const auto given = std::span(words).first(n);
        return CompressTexture(magic, header, w, h, given, Palette(entries), count, "N").empty();
    };
    for (std::uint16_t magic : {0x1173, 0x7211})
        EXPECT_TRUE(refused(magic, "110", 4, 4, 16, 16, 16));
    for (const char* header : {"111", "", "1100"})
        EXPECT_TRUE(refused(0x1172, header, 4, 4, 16, 16, 16));
    // Width, height, words, palette entries, count, refused: a bad count, data beyond the words
    // (4-bit: 16 x 8 pixels are 64 bytes), a data length of zero, below zero or above 4097.
    const int cases[][6] = {
        {8, 8, 16, 256, 0, 1},          {8, 8, 16, 257, 257, 1},    {8, 8, 16, 15, 16, 1},
        {8, 8, 16, 256, 256, 0},        {16, 8, 16, 16, 15, 0},     {16, 9, 16, 16, 15, 1},
        {8, 8, 0, 16, 16, 1},           {4097, 1, 2048, 16, 16, 0}, {4098, 1, 2048, 16, 16, 1},
        {8194, 1, 2048, 16, 15, 0},     {8196, 1, 2048, 16, 15, 1}, {0, 8, 2048, 16, 16, 1},
        {1, 1, 2048, 16, 15, 1},        {-4, 4, 2048, 16, 16, 1},   {65536, 65536, 2048, 16, 16, 1},
        {INT32_MIN, 1, 2048, 16, 16, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(refused(0x1172, "110", c[0], c[1], c[2], c[3], c[4]), c[5] == 1)
            << c[0] << "x" << c[1] << " count " << c[4];
    EXPECT_TRUE(CompressTextureData({}).empty() && CompressTextureData(Bytes(4098, 1)).empty() &&
                !CompressTextureData(Bytes(4097, 1)).empty());
}

// The finder at every position against the exhaustive search, with each choice of key lengths.
TEST(MatchSearch, EqualsTheExhaustiveSearchEverywhere) {
    std::vector<Bytes> sets = {Bytes(SHORT, 7), FartherLonger(false), FartherLonger(true)};
    for (unsigned seed = 1; seed <= 4; ++seed)
        sets.insert(sets.end(),
                    {Data(SHORT, seed, 1 + seed, 9), Data(SHORT, seed), Data(SHORT, seed, 2, 12),
                     Data(SHORT, seed, 3, 40), Data(SHORT, seed, 256, 1, 1 + 4 * seed)});
    for (const Bytes& data : sets)
        for (const auto keys : {MatchFinder::Keys::Adaptive, MatchFinder::Keys::ShortestOnly,
                                MatchFinder::Keys::All}) {
            MatchFinder finder(data, keys);
            for (std::size_t p = 0; p < data.size(); ++p) {
                const oracle::Match slow = oracle::ExhaustiveSearch(data, static_cast<int>(p));
                const EarlierMatch fast = finder.Find(p);
                ASSERT_TRUE(fast.length == (slow.length >= 3 ? slow.length : 0u) &&
                            fast.distance == (slow.length >= 3 ? slow.distance : 0u))
                    << &data - sets.data() << " at " << p;
            }
        }
}

// Whole streams against the literal compressor, and against zlib.
TEST(CompressedStreams, EqualTheOracleAndInflateToTheData) {
    std::vector<Bytes> sets;
    sets.insert(sets.end(),
                {Data(4096, 1), Data(4097, 2, 2), Data(MEDIUM, 3, 3), Data(4097, 5, 3, 300),
                 Data(MEDIUM, 6, 2, 600), Data(4097, 7, 256, 1, 257), Data(MEDIUM, 9, 2, 3, 6),
                 FartherLonger(false), FartherLonger(true)});
    for (std::size_t n : {258, 259, 517, 518, 4097})
        sets.push_back(Bytes(n, 9));
    for (std::size_t period = 1; period <= 17; ++period)
        sets.push_back(Data(MEDIUM, period, 256, 1, period));
    for (std::size_t n = 1; n <= MAX_TEXTURE_DATA; n += (n < 64 ? 1 : 97))
        sets.push_back(Data(n, static_cast<unsigned>(n), n % 2 ? 256 : 6, n % 2 ? 1 : 8));
    for (const Bytes& data : sets) {
        const Bytes fast = CompressTextureData(data);
        ASSERT_EQ(fast, oracle::CompressData(data)) << &data - sets.data();
        EXPECT_EQ(InflateRaw(fast), data) << &data - sets.data();
    }
}
