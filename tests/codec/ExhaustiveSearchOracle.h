#pragma once

// Reference compressor for the tests: the stream is built as text with the bit-string coders,
// every earlier position is tried at every step, and the text is packed with PackBits followed
// by ReverseBitOrder. Slow (quadratic, one character per bit) but obviously right, so the fast
// compressor must equal it byte for byte.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codec/BitString.h"
#include "codec/TextureCompressor.h"

namespace oracle {

struct Match {
    int length = 0;  // full length, not cut to 258; below 3 means a literal
    int distance = 0;
};

// Tries q = p - 1 down to 0 and keeps a candidate only when strictly longer.
inline Match ExhaustiveSearch(std::span<const std::uint8_t> data, int p) {
    const int n = static_cast<int>(data.size());
    Match best;
    for (int q = p - 1; q >= 0; --q) {
        if (data[static_cast<std::size_t>(q)] != data[static_cast<std::size_t>(p)]) {
            continue;
        }
        int k = 0;
        while (p + k < n &&
               data[static_cast<std::size_t>(q + k)] == data[static_cast<std::size_t>(p + k)]) {
            ++k;
        }
        if (k > best.length) {
            best = Match{k, p - q};
        }
    }
    return best;
}

inline constexpr std::string_view STREAM_TAIL = "00000000000001100010";

// The whole stream as a bit-string, header "110" first; `data` holds at least one byte.
inline std::string StreamBits(std::span<const std::uint8_t> data) {
    const int n = static_cast<int>(data.size());
    std::string bits = std::string(FIXED_BLOCK_HEADER) + LiteralToBits(data[0]);
    int p = 1;
    while (p < n) {
        Match match = ExhaustiveSearch(data, p);
        if (match.length >= 3) {
            if (match.length > 258) {
                match.length = 258;
            }
            bits += LengthToBits(match.length);
            bits += DistanceToBits(match.distance);
            p += match.length;
        } else {
            bits += LiteralToBits(data[static_cast<std::size_t>(p)]);
            p += 1;
        }
    }
    bits += STREAM_TAIL;
    return bits;
}

// Packs a bit-string the way the record does: PackBits, then the bit order of the new bytes
// mirrored.
inline void AppendPacked(const std::string& bits, std::vector<std::uint8_t>& record) {
    const std::size_t start = record.size();
    const std::vector<std::uint8_t> array = BitStringToArray(bits);
    PackBits(array, record);
    ReverseBitOrder(record, record.size(), start);
}

inline std::vector<std::uint8_t> CompressData(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> stream;
    AppendPacked(StreamBits(data), stream);
    return stream;
}

// The texture record step by step. The caller keeps the preconditions: words holding
// width x height bytes, 1 <= count <= 256, palette of count entries, 1 <= n <= 4097.
inline std::vector<std::uint8_t> CompressRecord(int width, int height,
                                                std::span<const std::uint32_t> words,
                                                std::span<const std::uint16_t> palette, int count,
                                                std::string_view formatLetter) {
    const bool fourBit = count < 16;
    std::uint8_t format = fourBit ? 0x0A : 0x09;
    if (formatLetter == "G") {
        format = fourBit ? 0x0C : 0x0B;
    }
    std::vector<std::uint8_t> record;
    record.push_back(format);
    record.push_back(static_cast<std::uint8_t>(count - 1));
    for (int i = 0; i < count; ++i) {
        const std::uint16_t colour = palette[static_cast<std::size_t>(i)];
        record.push_back(static_cast<std::uint8_t>(colour >> 8));
        record.push_back(static_cast<std::uint8_t>(colour & 0xFF));
    }
    record.push_back(static_cast<std::uint8_t>(width & 0xFF));
    record.push_back(static_cast<std::uint8_t>(height & 0xFF));
    record.push_back(0x11);
    record.push_back(0x72);

    const int pixels = width * height;
    std::vector<std::uint8_t> scratch(static_cast<std::size_t>(pixels));
    for (int i = 0; i < pixels; ++i) {
        const std::uint32_t word = words[static_cast<std::size_t>(i / 4)];
        scratch[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>((word >> (8 * (3 - i % 4))) & 0xFF);
    }
    const int n = fourBit ? pixels / 2 : pixels;
    AppendPacked(
        StreamBits(std::span<const std::uint8_t>(scratch).first(static_cast<std::size_t>(n))),
        record);
    return record;
}

}  // namespace oracle
