#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "codec/ExhaustiveSearchOracle.h"
#include "codec/MatchFinder.h"
#include "codec/TextureCompressor.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool SANITIZED = true;
#else
constexpr bool SANITIZED = false;
#endif
// The oracle is quadratic; sanitized builds check the same families on shorter data.
constexpr std::size_t LONG = 4097;
constexpr std::size_t MEDIUM = SANITIZED ? 700 : 1500;
constexpr std::size_t SHORT = SANITIZED ? 160 : 400;  // per-position comparisons

// Inflates a raw DEFLATE stream; `ended` tells whether the inflater saw the end of the block.
Bytes Inflate(const Bytes& stream, std::size_t room, bool& ended) {
    Bytes out(room + 16);
    z_stream z{};
    ended = false;
    if (inflateInit2(&z, -15) != Z_OK) {
        return {};
    }
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    ended = inflate(&z, Z_FINISH) == Z_STREAM_END;
    out.resize(z.total_out);
    inflateEnd(&z);
    return out;
}

void ExpectInflatesTo(const Bytes& stream, const Bytes& data) {
    bool ended = false;
    const Bytes inflated = Inflate(stream, data.size(), ended);
    EXPECT_TRUE(ended) << "no end of block";
    EXPECT_TRUE(inflated == data) << "inflated " << inflated.size() << " bytes, expected "
                                  << data.size();
}

// The fast compressor against the literal one, and the stream against zlib.
void ExpectSameAsOracle(const Bytes& data, const std::string& what) {
    SCOPED_TRACE(what + ", " + std::to_string(data.size()) + " bytes");
    const Bytes fast = CompressTextureData(data);
    const Bytes slow = oracle::CompressData(data);
    ASSERT_EQ(fast.size(), slow.size());
    const auto mismatch = std::mismatch(fast.begin(), fast.end(), slow.begin());
    ASSERT_TRUE(mismatch.first == fast.end())
        << "first difference at stream byte " << (mismatch.first - fast.begin());
    ExpectInflatesTo(fast, data);
}

// The finder against the exhaustive search at every position, not only where the greedy
// walk stops, with each choice of chained key lengths.
void ExpectSameMatchesEverywhere(const Bytes& data, const std::string& what) {
    SCOPED_TRACE(what + ", " + std::to_string(data.size()) + " bytes");
    for (const auto keys :
         {MatchFinder::Keys::Adaptive, MatchFinder::Keys::ShortestOnly, MatchFinder::Keys::All}) {
        SCOPED_TRACE("keys " + std::to_string(static_cast<int>(keys)));
        MatchFinder finder(data, keys);
        for (std::size_t p = 0; p < data.size(); ++p) {
            const oracle::Match slow = oracle::ExhaustiveSearch(data, static_cast<int>(p));
            const EarlierMatch fast = finder.Find(p);
            const bool match = slow.length >= 3;
            ASSERT_EQ(fast.length, match ? static_cast<std::size_t>(slow.length) : 0) << "at " << p;
            ASSERT_EQ(fast.distance, match ? static_cast<std::size_t>(slow.distance) : 0)
                << "at " << p;
        }
    }
}

Bytes RandomBytes(std::size_t n, unsigned seed, unsigned symbols = 256) {
    std::mt19937 rng(seed);
    Bytes data(n);
    for (auto& b : data) {
        b = static_cast<std::uint8_t>(rng() % symbols);
    }
    return data;
}

Bytes Periodic(std::size_t n, std::size_t period, unsigned seed) {
    const Bytes pattern = RandomBytes(period, seed);
    Bytes data(n);
    for (std::size_t i = 0; i < n; ++i) {
        data[i] = pattern[i % period];
    }
    return data;
}

// Runs of random length (1 to maxRun) of values drawn from `symbols` values.
Bytes Runs(std::size_t n, unsigned seed, unsigned maxRun, unsigned symbols) {
    std::mt19937 rng(seed);
    Bytes data;
    while (data.size() < n) {
        const auto value = static_cast<std::uint8_t>(rng() % symbols);
        const std::size_t run = 1 + rng() % maxRun;
        data.insert(data.end(), std::min(run, n - data.size()), value);
    }
    return data;
}

// Concatenated copies of a few short tokens, each copy followed by one random byte of a small
// set: lots of equally long candidates at many distances.
Bytes Tokens(std::size_t n, unsigned seed, unsigned tokenCount, unsigned tokenLength,
             unsigned symbols) {
    std::mt19937 rng(seed);
    std::vector<Bytes> tokens;
    for (unsigned t = 0; t < tokenCount; ++t) {
        tokens.push_back(RandomBytes(tokenLength, seed * 31 + t, symbols));
    }
    Bytes data;
    while (data.size() < n) {
        const Bytes& token = tokens[rng() % tokenCount];
        data.insert(data.end(), token.begin(), token.end());
        data.push_back(static_cast<std::uint8_t>(rng() % 4));
    }
    data.resize(n);
    return data;
}

// Words holding `data` four bytes a word, earliest byte most significant, zero-padded.
std::vector<std::uint32_t> ToWords(const Bytes& data, std::size_t wordCount) {
    std::vector<std::uint32_t> words(wordCount, 0);
    for (std::size_t i = 0; i < data.size(); ++i) {
        words[i / 4] |= std::uint32_t{data[i]} << (24 - 8 * (i % 4));
    }
    return words;
}

Bytes StreamOf(const Bytes& record, int count) {
    return Bytes(record.begin() + 6 + 2 * count, record.end());
}

std::vector<std::uint16_t> Palette(int count) {
    std::vector<std::uint16_t> palette(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        palette[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(0x1234 + 0x0101 * i);
    }
    return palette;
}

Bytes Compress(int width, int height, const Bytes& data, int count, const char* letter = "N") {
    const auto words = ToWords(data, (data.size() + 3) / 4);
    return CompressTexture(TEXTURE_STREAM_MAGIC, FIXED_BLOCK_HEADER, width, height, words,
                           Palette(count), count, letter);
}

}  // namespace

// ---- Worked examples, byte for byte ----

TEST(CompressorWorkedExamples, FourByTwoRecord) {
    const std::vector<std::uint32_t> words{0x12341234};
    const std::vector<std::uint16_t> palette{0x0001, 0xF800, 0x07C0};
    const Bytes record = CompressTexture(0x1172, "110", 4, 2, words, palette, 3, "N");
    EXPECT_EQ(record, (Bytes{0x0A, 0x02, 0x00, 0x01, 0xF8, 0x00, 0x07, 0xC0, 0x04, 0x02, 0x11, 0x72,
                             0x13, 0x32, 0x11, 0x32, 0x01, 0x00, 0x23}));
    EXPECT_EQ(record.size(), 19u);
}

TEST(CompressorWorkedExamples, StreamsOfSmallData) {
    const struct {
        Bytes data;
        Bytes stream;
    } cases[] = {
        {{1, 2, 3, 1, 2, 3, 1, 2, 3, 4}, {0x63, 0x64, 0x62, 0x86, 0x20, 0x16, 0x00, 0x30, 0x02}},
        {Bytes(8, 0), {0x63, 0x80, 0x02, 0x00, 0x30, 0x02}},
        {Bytes(259, 5), {0x63, 0x1D, 0x05, 0x00, 0x60, 0x04}},
        {Bytes(300, 5), {0x63, 0x1D, 0x05, 0x44, 0x03, 0x00, 0x30, 0x02}},
        {{9}, {0xE3, 0x04, 0x00, 0x23}},
        // The earlier 12 34 at position 2 matches only 2 bytes before the end: all literals.
        {{0x12, 0x34, 0x12, 0x34}, {0x13, 0x32, 0x11, 0x32, 0x01, 0x00, 0x23}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.data.size()) + " bytes");
        EXPECT_EQ(CompressTextureData(c.data), c.stream);
        ExpectInflatesTo(c.stream, c.data);
    }
}

// ---- Record header fields and depth ----

TEST(TextureRecordLayout, FormatCodeFollowsLetterAndDepth) {
    const Bytes data = RandomBytes(64, 7);
    EXPECT_EQ(Compress(8, 16, data, 15, "N").at(0), 0x0A);
    EXPECT_EQ(Compress(8, 16, data, 15, "G").at(0), 0x0C);
    EXPECT_EQ(Compress(8, 8, data, 16, "N").at(0), 0x09);
    EXPECT_EQ(Compress(8, 8, data, 16, "G").at(0), 0x0B);
    EXPECT_EQ(Compress(8, 8, data, 16, "").at(0), 0x09);
    EXPECT_EQ(Compress(8, 8, data, 16, "g").at(0), 0x09);
}

// Header fields, palette byte order, dimension low bytes, packing below 16 entries and the
// dropped odd pixel, all against the step-by-step record and zlib.
TEST(TextureRecordLayout, RecordEqualsTheStepByStepRecord) {
    EXPECT_EQ(TextureDataLength(16, 32, 15), 256u);
    EXPECT_EQ(TextureDataLength(16, 32, 16), 512u);
    EXPECT_EQ(TextureDataLength(0x21, 0x21, 4), 544u);
    struct Case {
        int width, height, count;
        const char* letter;
    } cases[] = {{8, 8, 16, "N"},     {8, 8, 15, "G"},     {32, 32, 256, "G"}, {33, 33, 4, "N"},
                 {64, 17, 200, "N"},  {128, 12, 2, "G"},   {38, 38, 16, "N"},  {1, 2, 1, "N"},
                 {64, 64, 8, "N"},    {128, 16, 256, "N"}, {3, 1, 16, "G"},    {0x80, 2, 16, "N"},
                 {0x121, 1, 16, "N"}, {16, 32, 15, "N"},   {16, 16, 256, "N"}};
    unsigned seed = 100;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " count " +
                     std::to_string(c.count));
        const std::size_t pixels = static_cast<std::size_t>(c.width * c.height);
        const Bytes data = seed % 2 ? RandomBytes(pixels + 1, seed, c.count < 16 ? 16 : 256)
                                    : Runs(pixels + 1, seed, 6, 5);
        ++seed;
        const auto words = ToWords(data, (data.size() + 3) / 4);
        const auto palette = Palette(c.count);
        const Bytes record = CompressTexture(TEXTURE_STREAM_MAGIC, FIXED_BLOCK_HEADER, c.width,
                                             c.height, words, palette, c.count, c.letter);
        EXPECT_EQ(record,
                  oracle::CompressRecord(c.width, c.height, words, palette, c.count, c.letter));
        const std::size_t n = TextureDataLength(c.width, c.height, c.count);
        ExpectInflatesTo(StreamOf(record, c.count),
                         Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n)));
    }
}

// ---- Refusals ----

TEST(TextureRecordRefusals, BadHeaderCountOrSizeGivesNoRecord) {
    const std::vector<std::uint32_t> words(2048, 0x01020304);                 // 8192 bytes
    const std::vector<std::uint32_t> w16(words.begin(), words.begin() + 16);  // 64 bytes
    const struct {
        std::uint16_t magic;
        const char* header;
        int width, height;
        std::span<const std::uint32_t> words;
        int paletteSize, count;
        bool refused;
    } cases[] = {
        {0x1172, "110", 4, 4, w16, 16, 16, false},
        {0x1173, "110", 4, 4, w16, 16, 16, true},
        {0x7211, "110", 4, 4, w16, 16, 16, true},
        {0x1172, "111", 4, 4, w16, 16, 16, true},
        {0x1172, "", 4, 4, w16, 16, 16, true},
        {0x1172, "1100", 4, 4, w16, 16, 16, true},
        // Palette count out of range or longer than the palette.
        {0x1172, "110", 8, 8, w16, 256, 0, true},
        {0x1172, "110", 8, 8, w16, 257, 257, true},
        {0x1172, "110", 8, 8, w16, 256, -1, true},
        {0x1172, "110", 8, 8, w16, 15, 16, true},
        {0x1172, "110", 8, 8, w16, 256, 256, false},
        // Data beyond the words is never read (4-bit: 16 x 8 pixels are 64 bytes).
        {0x1172, "110", 8, 9, w16, 16, 16, true},
        {0x1172, "110", 65, 1, w16, 16, 16, true},
        {0x1172, "110", 16, 8, w16, 16, 15, false},
        {0x1172, "110", 16, 9, w16, 16, 15, true},
        {0x1172, "110", 8, 8, {}, 16, 16, true},
        // Data length zero, negative or above the limit.
        {0x1172, "110", 4097, 1, words, 16, 16, false},
        {0x1172, "110", 4098, 1, words, 16, 16, true},
        {0x1172, "110", 8194, 1, words, 16, 15, false},
        {0x1172, "110", 8196, 1, words, 16, 15, true},
        {0x1172, "110", 0, 8, words, 16, 16, true},
        {0x1172, "110", 1, 1, words, 16, 15, true},
        {0x1172, "110", -4, 4, words, 16, 16, true},
        {0x1172, "110", 65536, 65536, words, 16, 16, true},
        {0x1172, "110", INT32_MIN, 1, words, 16, 16, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompressTexture(c.magic, c.header, c.width, c.height, c.words,
                                  Palette(c.paletteSize), c.count, "N")
                      .empty(),
                  c.refused)
            << std::hex << c.magic << " " << c.header << " " << std::dec << c.width << "x"
            << c.height << " count " << c.count;
    }
    EXPECT_TRUE(CompressTextureData({}).empty());
    EXPECT_TRUE(CompressTextureData(Bytes(4098, 1)).empty());
    EXPECT_FALSE(CompressTextureData(Bytes(4097, 1)).empty());
}

// ---- The fast search picks the exhaustive search's match at every position ----

TEST(MatchSearchEquivalence, RandomAndFewSymbols) {
    for (unsigned symbols : {2u, 3u, 4u, 256u}) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            ExpectSameMatchesEverywhere(RandomBytes(SHORT, seed, symbols),
                                        std::to_string(symbols) + " symbols");
        }
    }
}

TEST(MatchSearchEquivalence, RunsAndPeriods) {
    ExpectSameMatchesEverywhere(Bytes(SHORT, 7), "one value");
    for (std::size_t period : {2u, 3u, 5u, 7u, 16u, 17u}) {
        ExpectSameMatchesEverywhere(Periodic(SHORT, period, static_cast<unsigned>(period)),
                                    "period " + std::to_string(period));
    }
    for (unsigned seed = 1; seed <= 4; ++seed) {
        ExpectSameMatchesEverywhere(Runs(SHORT, seed, 12, 2), "short runs of 2 values");
        ExpectSameMatchesEverywhere(Runs(SHORT, seed, 40, 3), "runs of 3 values");
        ExpectSameMatchesEverywhere(Runs(SHORT, seed, 9, 1 + seed), "runs, hash collisions");
    }
}

TEST(MatchSearchEquivalence, ManyEquallyLongCandidates) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        ExpectSameMatchesEverywhere(Tokens(SHORT, seed, 3, 5, 256), "tokens");
        ExpectSameMatchesEverywhere(Tokens(SHORT, seed, 4, 6, 2), "two-symbol tokens");
    }
}

// Runs that end the same distance before their ends, separated by other bytes: the run logic's
// three cases (shorter run, longer run, run of exactly the same length with more after it).
TEST(MatchSearchEquivalence, RunsOfEqualLengthFollowedByDifferentBytes) {
    Bytes data;
    const std::uint8_t tails[] = {1, 2, 1, 3, 1, 2, 2, 1};
    for (int round = 0; round < 3; ++round) {
        for (std::uint8_t tail : tails) {
            data.insert(data.end(), 5 + round, 0);
            data.push_back(tail);
            data.push_back(static_cast<std::uint8_t>(tail + round));
            data.insert(data.end(), 4, 0);
            data.push_back(9);
        }
    }
    ExpectSameMatchesEverywhere(data, "equal runs");
}

// ---- Whole streams equal the literal compressor's and inflate to the data ----

TEST(CompressedStreamEquivalence, RandomBytesOfManyLengths) {
    const std::size_t lengths[] = {1,  2,   3,   4,   5,    7,    8,        9,
                                   31, 255, 256, 257, 1000, 2048, LONG - 1, LONG};
    unsigned seed = 1;
    for (std::size_t n : lengths) {
        ExpectSameAsOracle(RandomBytes(n, seed++), "random");
    }
    ExpectSameAsOracle(RandomBytes(4096, 77), "random");
    for (unsigned symbols : {2u, 3u}) {
        ExpectSameAsOracle(RandomBytes(LONG, symbols, symbols),
                           std::to_string(symbols) + " symbols");
        ExpectSameAsOracle(RandomBytes(MEDIUM, symbols + 10, symbols),
                           std::to_string(symbols) + " symbols");
    }
}

TEST(CompressedStreamEquivalence, RunsLongerThanTheLongestMatch) {
    for (std::size_t n : {258u, 259u, 260u, 300u, 516u, 517u, 518u}) {
        ExpectSameAsOracle(Bytes(n, 0xA5), "equal bytes");
    }
    ExpectSameAsOracle(Bytes(LONG, 0), "equal bytes");
    ExpectSameAsOracle(Runs(LONG, 5, 300, 3), "long runs");
    ExpectSameAsOracle(Runs(MEDIUM, 6, 600, 2), "long runs of 2 values");
}

TEST(CompressedStreamEquivalence, PeriodicData) {
    for (std::size_t period = 1; period <= 17; ++period) {
        ExpectSameAsOracle(Periodic(MEDIUM, period, static_cast<unsigned>(period)),
                           "period " + std::to_string(period));
    }
    for (std::size_t period : {64u, 255u, 256u, 257u}) {
        ExpectSameAsOracle(Periodic(LONG, period, static_cast<unsigned>(period)),
                           "period " + std::to_string(period));
    }
    ExpectSameAsOracle(Periodic(LONG, 3, 3), "period 3");
}

TEST(CompressedStreamEquivalence, ManyEquallyLongCandidates) {
    ExpectSameAsOracle(Tokens(LONG, 1, 3, 5, 256), "tokens");
    ExpectSameAsOracle(Tokens(MEDIUM, 2, 8, 12, 256), "tokens");
    ExpectSameAsOracle(Tokens(MEDIUM, 3, 4, 6, 2), "two-symbol tokens");
}

// A nearer match of 270 bytes and a farther one of 300: both are cut to 258, and the farther one
// must be taken because its full length is greater.
TEST(CompressedStreamEquivalence, FartherMatchLongerThan258BeatsNearerOne) {
    const Bytes a = RandomBytes(300, 42);
    Bytes data(a);
    data.push_back(0xE1);
    data.insert(data.end(), a.begin(), a.begin() + 270);
    data.push_back(static_cast<std::uint8_t>(a[270] ^ 0xFF));
    const std::size_t p = data.size();
    data.insert(data.end(), a.begin(), a.end());
    data.push_back(0xE2);

    const oracle::Match slow = oracle::ExhaustiveSearch(data, static_cast<int>(p));
    ASSERT_EQ(slow.length, 300);
    ASSERT_EQ(slow.distance, static_cast<int>(p));
    const EarlierMatch fast = MatchFinder(data).Find(p);
    EXPECT_EQ(fast.length, 300u);
    EXPECT_EQ(fast.distance, p);
    ExpectSameAsOracle(data, "farther longer match");

    // The same with runs: a nearer run of 270 and a farther one of 300.
    Bytes runs(300, 7);
    runs.push_back(1);
    runs.insert(runs.end(), 270, 7);
    runs.push_back(2);
    const std::size_t q = runs.size();
    runs.insert(runs.end(), 300, 7);
    runs.push_back(3);
    const EarlierMatch inRun = MatchFinder(runs).Find(q);
    EXPECT_EQ(inRun.length, 300u);
    EXPECT_EQ(inRun.distance, q);
    ExpectSameAsOracle(runs, "farther longer run");
}

// ---- zlib agrees on what the streams hold ----

TEST(CompressedStreamInflates, EveryLengthUpToTheLimit) {
    for (std::size_t n = 1; n <= MAX_TEXTURE_DATA; n += (n < 64 ? 1 : 97)) {
        const Bytes data = Runs(n, static_cast<unsigned>(n), 8, 6);
        ExpectInflatesTo(CompressTextureData(data), data);
    }
    for (const Bytes& data : {Bytes(4097, 0), RandomBytes(4097, 5), RandomBytes(4096, 6, 2),
                              Periodic(4097, 258, 1), Periodic(4097, 4000, 2)}) {
        ExpectInflatesTo(CompressTextureData(data), data);
    }
}
