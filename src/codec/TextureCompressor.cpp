#include "codec/TextureCompressor.h"

#include <algorithm>
#include <array>

#include "codec/MatchFinder.h"

// Format notes. The stream is one final DEFLATE block with the fixed Huffman code (RFC 1951):
// the header bits 1, 1, 0 (BFINAL, then BTYPE = 01 least significant bit first), data byte 0 as a
// literal, then greedily at each position the longest earlier match of 3 bytes or more (cut to
// 258, nearest among equally long, compared before the cut), else a literal. After the last code
// come the 20 tail bits 0000000 0000001100010: the end-of-block code, then thirteen fixed bits
// that lie past the end of the block (a standard inflater ignores them). Bits fill each byte from
// bit 0 up, Huffman codes most significant bit first, extra bits least significant first; the last
// byte is padded with 0. There is no window limit: data is at most 4097 bytes, so distances stay
// within 4096.

namespace {

constexpr std::size_t MAX_MATCH = 258;
constexpr std::size_t MAX_DISTANCE = 4096;

// A code ready for the LSB-first writer: Huffman part already bit-reversed, extra bits above it.
struct Code {
    std::uint32_t bits = 0;
    std::uint8_t count = 0;
};

constexpr std::uint32_t Reversed(std::uint32_t value, int width) {
    std::uint32_t out = 0;
    for (int i = 0; i < width; ++i) {
        out |= ((value >> i) & 1u) << (width - 1 - i);
    }
    return out;
}

constexpr Code Combine(std::uint32_t huffman, int huffmanBits, std::uint32_t extra, int extraBits) {
    return Code{Reversed(huffman, huffmanBits) | (extra << huffmanBits),
                static_cast<std::uint8_t>(huffmanBits + extraBits)};
}

struct CodeTables {
    std::array<Code, 256> literal{};
    std::array<Code, MAX_MATCH + 1> length{};
    std::array<Code, MAX_DISTANCE + 1> distance{};
};

constexpr CodeTables BuildCodeTables() {
    CodeTables tables;
    for (std::uint32_t b = 0; b < 256; ++b) {
        tables.literal[b] = b < 144 ? Combine(0x30 + b, 8, 0, 0) : Combine(0x100 + b, 9, 0, 0);
    }
    // Length symbols 257 to 284: 4 symbols per extra-bit count after the first 8; 258 is 285.
    std::uint32_t symbol = 257;
    std::uint32_t base = 3;
    while (symbol <= 284) {
        const int extraBits = symbol < 265 ? 0 : static_cast<int>((symbol - 261) / 4);
        const std::uint32_t top = symbol == 284 ? 257 : base + (1u << extraBits) - 1;
        for (std::uint32_t length = base; length <= top; ++length) {
            tables.length[length] = symbol <= 279
                                        ? Combine(symbol - 256, 7, length - base, extraBits)
                                        : Combine(symbol - 280 + 0xC0, 8, length - base, extraBits);
        }
        base = top + 1;
        ++symbol;
    }
    tables.length[258] = Combine(285 - 280 + 0xC0, 8, 0, 0);
    // Distance symbols 0 to 23: two symbols per extra-bit count after the first 4.
    symbol = 0;
    base = 1;
    while (symbol <= 23) {
        const int extraBits = symbol < 4 ? 0 : static_cast<int>((symbol - 2) / 2);
        for (std::uint32_t d = base; d < base + (1u << extraBits); ++d) {
            tables.distance[d] = Combine(symbol, 5, d - base, extraBits);
        }
        base += 1u << extraBits;
        ++symbol;
    }
    return tables;
}

const CodeTables& Tables() {
    static constexpr CodeTables tables = BuildCodeTables();
    return tables;
}

// Appends bits to a byte vector, filling each byte from bit 0 up. The vector is grown ahead by
// `expectedBytes` so that the loop only stores; it grows further if ever needed.
class BitWriter {
public:
    BitWriter(std::vector<std::uint8_t>& output, std::size_t expectedBytes)
        : m_output(output), m_position(output.size()) {
        m_output.resize(m_position + expectedBytes);
    }

    // `bits` holds exactly `count` (at most 32) significant bits.
    void Put(std::uint32_t bits, unsigned count) {
        m_pending |= std::uint64_t{bits} << m_filled;
        m_filled += count;
        if (m_filled >= 32) {
            Store(4);
        }
    }
    void Put(Code code) { Put(code.bits, code.count); }

    // Writes what is pending, the unused high bits of the last byte 0, and trims the vector.
    void Finish() {
        while (m_filled > 0) {
            Store(1);
        }
        m_output.resize(m_position);
    }

private:
    void Store(unsigned byteCount) {
        if (m_output.size() < m_position + byteCount) {
            m_output.resize(m_position + byteCount);
        }
        for (unsigned i = 0; i < byteCount; ++i) {
            m_output[m_position++] = static_cast<std::uint8_t>(m_pending);
            m_pending >>= 8;
        }
        m_filled = m_filled > 8 * byteCount ? m_filled - 8 * byteCount : 0;
    }

    std::vector<std::uint8_t>& m_output;
    std::size_t m_position;
    std::uint64_t m_pending = 0;
    unsigned m_filled = 0;
};

constexpr Code BLOCK_HEADER_CODE{0b011, 3};  // the bits 1, 1, 0
// The bits 00000000000001100010 in stream order (bit i of the value is bit i of the tail).
constexpr Code STREAM_TAIL_CODE{(1u << 13) | (1u << 14) | (1u << 18), 20};

void AppendStream(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& output) {
    const CodeTables& tables = Tables();
    MatchFinder finder(data);
    // Nine bits a byte at most (a literal; every match codes in fewer), plus header and tail.
    BitWriter writer(output, (9 * data.size() + 3 + 20 + 7) / 8);
    writer.Put(BLOCK_HEADER_CODE);
    writer.Put(tables.literal[data[0]]);
    std::size_t p = 1;
    while (p < data.size()) {
        const EarlierMatch match = finder.Find(p);
        if (match.length >= 3) {
            const std::size_t length = std::min(match.length, MAX_MATCH);
            const Code lengthCode = tables.length[length];
            const Code distanceCode = tables.distance[match.distance];
            writer.Put(lengthCode.bits | (distanceCode.bits << lengthCode.count),
                       unsigned{lengthCode.count} + distanceCode.count);
            p += length;
        } else {
            writer.Put(tables.literal[data[p]]);
            ++p;
        }
    }
    writer.Put(STREAM_TAIL_CODE);
    writer.Finish();
}

std::uint8_t FormatCode(std::string_view formatLetter, bool fourBit) {
    const bool g = formatLetter == "G";
    if (fourBit) {
        return g ? 0x0C : 0x0A;
    }
    return g ? 0x0B : 0x09;
}

}  // namespace

std::size_t TextureDataLength(std::int32_t width, std::int32_t height, int count) {
    const std::int64_t pixels = std::int64_t{width} * height;
    if (pixels < 0) {
        return 0;
    }
    return static_cast<std::size_t>(count < 16 ? pixels / 2 : pixels);
}

std::vector<std::uint8_t> CompressTextureData(std::span<const std::uint8_t> data) {
    if (data.empty() || data.size() > MAX_TEXTURE_DATA) {
        return {};
    }
    std::vector<std::uint8_t> stream;
    AppendStream(data, stream);
    return stream;
}

std::vector<std::uint8_t> CompressTexture(std::uint16_t streamMagic, std::string_view blockHeader,
                                          std::int32_t width, std::int32_t height,
                                          std::span<const std::uint32_t> indexWords,
                                          std::span<const std::uint16_t> palette, int count,
                                          std::string_view formatLetter) {
    if (streamMagic != TEXTURE_STREAM_MAGIC || blockHeader != FIXED_BLOCK_HEADER) {
        return {};
    }
    if (count < 1 || count > 256 || palette.size() < static_cast<std::size_t>(count)) {
        return {};
    }
    const std::size_t n = TextureDataLength(width, height, count);
    if (n == 0 || n > MAX_TEXTURE_DATA || n > indexWords.size() * 4) {
        return {};
    }

    std::vector<std::uint8_t> data(n);
    for (std::size_t i = 0; i < n; ++i) {
        data[i] = static_cast<std::uint8_t>(indexWords[i / 4] >> (24 - 8 * (i % 4)));
    }

    std::vector<std::uint8_t> record;
    record.reserve(6 + 2 * static_cast<std::size_t>(count) + n * 9 / 8 + 8);
    record.push_back(FormatCode(formatLetter, count < 16));
    record.push_back(static_cast<std::uint8_t>(count - 1));
    for (int i = 0; i < count; ++i) {
        record.push_back(static_cast<std::uint8_t>(palette[static_cast<std::size_t>(i)] >> 8));
        record.push_back(static_cast<std::uint8_t>(palette[static_cast<std::size_t>(i)]));
    }
    record.push_back(static_cast<std::uint8_t>(width));
    record.push_back(static_cast<std::uint8_t>(height));
    record.push_back(static_cast<std::uint8_t>(TEXTURE_STREAM_MAGIC >> 8));
    record.push_back(static_cast<std::uint8_t>(TEXTURE_STREAM_MAGIC));
    AppendStream(data, record);
    return record;
}
