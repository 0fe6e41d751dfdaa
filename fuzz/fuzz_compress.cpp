// Compresses arbitrary data and checks the result against the literal exhaustive compressor for
// small inputs (larger ones only run, for the sanitizers); also builds a texture record from a
// few leading parameter bytes and compares it with the step-by-step record.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "codec/ExhaustiveSearchOracle.h"
#include "codec/MatchFinder.h"
#include "codec/TextureCompressor.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

constexpr std::size_t ORACLE_LIMIT = 600;        // bytes compared with the whole oracle stream
constexpr std::size_t PER_POSITION_LIMIT = 120;  // bytes compared position by position

void CheckStream(std::span<const std::uint8_t> data) {
    const std::vector<std::uint8_t> stream = CompressTextureData(data);
    if (data.empty() || data.size() > MAX_TEXTURE_DATA) {
        Require(stream.empty());
        return;
    }
    // Nine bits a byte at most, plus the 3 header and 20 tail bits.
    Require(!stream.empty() && stream.size() <= (9 * data.size() + 30) / 8);
    if (data.size() <= ORACLE_LIMIT) {
        Require(stream == oracle::CompressData(data));
    }
    if (data.size() <= PER_POSITION_LIMIT) {
        for (const auto keys : {MatchFinder::Keys::Adaptive, MatchFinder::Keys::ShortestOnly,
                                MatchFinder::Keys::All}) {
            MatchFinder finder(data, keys);
            for (std::size_t p = 0; p < data.size(); ++p) {
                const oracle::Match slow = oracle::ExhaustiveSearch(data, static_cast<int>(p));
                const EarlierMatch fast = finder.Find(p);
                const bool match = slow.length >= 3;
                Require(fast.length == (match ? static_cast<std::size_t>(slow.length) : 0));
                Require(fast.distance == (match ? static_cast<std::size_t>(slow.distance) : 0));
            }
        }
    }
}

// Bytes 0 to 3: width, height, palette count - 1, format letter; the rest are index bytes.
void CheckRecord(std::span<const std::uint8_t> data) {
    if (data.size() < 4) {
        return;
    }
    const int width = data[0] % 48 + 1;
    const int height = data[1] % 48 + 1;
    const int count = data[2] + 1;
    const char* letter = (data[3] & 1) != 0 ? "G" : "N";
    const std::span<const std::uint8_t> indices = data.subspan(4);
    std::vector<std::uint32_t> words((indices.size() + 3) / 4, 0);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        words[i / 4] |= std::uint32_t{indices[i]} << (24 - 8 * (i % 4));
    }
    std::vector<std::uint16_t> palette(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < palette.size(); ++i) {
        palette[i] = static_cast<std::uint16_t>(0x8421 * (i + 1));
    }
    const std::vector<std::uint8_t> record = CompressTexture(
        TEXTURE_STREAM_MAGIC, FIXED_BLOCK_HEADER, width, height, words, palette, count, letter);
    const std::size_t n = TextureDataLength(width, height, count);
    const std::size_t pixels = static_cast<std::size_t>(width * height);
    if (n == 0 || n > words.size() * 4) {
        Require(record.empty());
        return;
    }
    Require(record.size() > 6 + 2 * palette.size());
    if (pixels <= words.size() * 4 && n <= ORACLE_LIMIT) {
        Require(record == oracle::CompressRecord(width, height, words, palette, count, letter));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data,
                                              std::min<std::size_t>(size, MAX_TEXTURE_DATA + 1));
    CheckStream(bytes);
    CheckRecord(bytes);
    return 0;
}
