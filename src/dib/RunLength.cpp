#include "dib/RunLength.h"

// Format notes: the stream is a sequence of byte pairs, rows from the bottom one up.
//   n > 0, c      a run of n pixels: with 8 bits n times index c; with 4 bits the two nibbles
//                 of c in turn, the high one first
//   0, 0          end of line: on to the start of the next row
//   0, 1          end of bitmap
//   0, 2, dx, dy  delta: dx pixels to the right and dy rows up
//   0, n >= 3     absolute run: n indices follow, one a byte with 8 bits or one a nibble (high
//                 first) with 4 bits, padded to an even number of bytes

namespace {

constexpr std::uint64_t MAX_DECODED_BYTES = 64u << 20;

class Rows {
public:
    Rows(std::uint16_t bitCount, std::uint64_t width, std::uint64_t height, std::uint64_t stride)
        : m_bitCount(bitCount),
          m_width(width),
          m_height(height),
          m_stride(stride),
          m_bytes(stride * height, 0) {}

    // Sets the next pixel of the current row and moves right; pixels past the row are dropped.
    void Put(std::uint8_t index) {
        if (m_x < m_width && m_y < m_height) {
            std::uint8_t& byte = m_bytes[m_y * m_stride + (m_bitCount == 8 ? m_x : m_x / 2)];
            if (m_bitCount == 8) {
                byte = index;
            } else if (m_x % 2 == 0) {
                byte = static_cast<std::uint8_t>((byte & 0x0F) | index << 4);
            } else {
                byte = static_cast<std::uint8_t>((byte & 0xF0) | (index & 0x0F));
            }
        }
        ++m_x;
    }
    void NextRow() {
        m_x = 0;
        ++m_y;
    }
    void Move(std::uint64_t dx, std::uint64_t dy) {
        m_x += dx;
        m_y += dy;
    }
    bool Done() const { return m_y >= m_height; }
    std::vector<std::uint8_t> Take() { return std::move(m_bytes); }

private:
    std::uint16_t m_bitCount;
    std::uint64_t m_width, m_height;
    std::uint64_t m_stride;
    std::uint64_t m_x = 0;
    std::uint64_t m_y = 0;
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace

std::optional<std::vector<std::uint8_t>> DecodeRunLength(std::span<const std::uint8_t> data,
                                                         std::uint16_t bitCount, std::int32_t width,
                                                         std::int32_t height) {
    if ((bitCount != 4 && bitCount != 8) || width <= 0 || height <= 0) {
        return std::nullopt;
    }
    const std::uint64_t stride =
        (std::uint64_t{bitCount} * static_cast<std::uint32_t>(width) + 31) / 32 * 4;
    if (stride * static_cast<std::uint64_t>(height) > MAX_DECODED_BYTES) {
        return std::nullopt;
    }
    Rows rows(bitCount, static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height),
              stride);
    // Index `i` of a run: the byte itself with 8 bits, its nibbles in turn with 4.
    auto nibble = [bitCount](std::uint8_t value, std::uint64_t i) -> std::uint8_t {
        return bitCount == 8 ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F);
    };
    std::size_t at = 0;
    while (at + 2 <= data.size() && !rows.Done()) {
        const std::uint8_t first = data[at];
        const std::uint8_t second = data[at + 1];
        at += 2;
        if (first > 0) {
            for (std::uint64_t i = 0; i < first; ++i) {
                rows.Put(nibble(second, i));
            }
        } else if (second == 0) {
            rows.NextRow();
        } else if (second == 1) {
            break;
        } else if (second == 2) {
            if (at + 2 > data.size()) {
                break;
            }
            rows.Move(data[at], data[at + 1]);
            at += 2;
        } else {
            const std::size_t bytes = bitCount == 8 ? second : (second + 1u) / 2;
            if (at + bytes > data.size()) {
                break;
            }
            for (std::uint64_t i = 0; i < second; ++i) {
                rows.Put(nibble(data[at + (bitCount == 8 ? i : i / 2)], i));
            }
            at += bytes + bytes % 2;
        }
    }
    return rows.Take();
}
