#pragma once

// Reference compressor: the stream is built as text with the bit-string coders, every earlier
// position is tried at every step, and the text is packed with PackBits and ReverseBitOrder.
// Slow but obviously right, so the fast compressor must equal it byte for byte.

#include <algorithm>
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
        int k = 0;
        while (p + k < n && data[q + k] == data[p + k])
            ++k;
        if (k > best.length)
            best = Match{k, p - q};
    }
    return best;
}

// Packs a bit-string the way a record does: PackBits, then the new bytes' bit order mirrored.
inline void AppendPacked(const std::string& bits, std::vector<std::uint8_t>& out) {
    const std::size_t start = out.size();
    PackBits(BitStringToArray(bits), out);
    ReverseBitOrder(out, out.size(), start);
}

// The whole stream of `data` (at least one byte): block header, codes, stream tail.
inline std::vector<std::uint8_t> CompressData(std::span<const std::uint8_t> data) {
    std::string bits = std::string(FIXED_BLOCK_HEADER) + LiteralToBits(data[0]);
    for (int p = 1; p < static_cast<int>(data.size());) {
        const Match m = ExhaustiveSearch(data, p);
        const int length = std::min(m.length, 258);
        bits +=
            length < 3 ? LiteralToBits(data[p]) : LengthToBits(length) + DistanceToBits(m.distance);
        p += length < 3 ? 1 : length;
    }
    std::vector<std::uint8_t> stream;
    AppendPacked(bits + "00000000000001100010", stream);
    return stream;
}

// The texture record step by step. The caller keeps the preconditions: words holding
// width x height bytes, 1 <= count <= 256, palette of count entries, 1 <= data length <= 4097.
inline std::vector<std::uint8_t> CompressRecord(int width, int height,
                                                std::span<const std::uint32_t> words,
                                                std::span<const std::uint16_t> palette, int count,
                                                std::string_view formatLetter) {
    const bool fourBit = count < 16;
    std::vector<std::uint8_t> record{
        static_cast<std::uint8_t>((formatLetter == "G" ? 0x0B : 0x09) + fourBit),
        static_cast<std::uint8_t>(count - 1)};
    for (int i = 0; i < count; ++i)
        record.insert(record.end(), {static_cast<std::uint8_t>(palette[i] >> 8),
                                     static_cast<std::uint8_t>(palette[i])});
    record.insert(record.end(), {static_cast<std::uint8_t>(width),
                                 static_cast<std::uint8_t>(height), 0x11, 0x72});
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width * height / (fourBit ? 2 : 1)));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(words[i / 4] >> (24 - 8 * (i % 4)));
    const std::vector<std::uint8_t> stream = CompressData(bytes);
    record.insert(record.end(), stream.begin(), stream.end());
    return record;
}

}  // namespace oracle
