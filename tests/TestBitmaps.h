#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "codec/BitmapConversion.h"

// Bitmap files built field by field for the conversion tests.

using Bytes = std::vector<std::uint8_t>;

struct TestBitmap {
    std::uint16_t signature = 0x4D42;  // "BM"
    std::uint32_t infoHeaderSize = 40;
    std::int32_t width = 4;
    std::int32_t height = 1;
    std::uint16_t bitCount = 8;
    std::optional<std::uint32_t> pixelDataOffset = {};  // default: right after the colour table
    Bytes table = {};                                   // colour table, 4 bytes an entry
    Bytes pixels = {};  // everything after the headers, the table and any gap up to the offset

    Bytes Build() const {
        Bytes out;
        auto put = [&out](std::uint32_t value, int bytes) {
            for (int i = 0; i < bytes; ++i) {
                out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
            }
        };
        const auto offset = pixelDataOffset.value_or(static_cast<std::uint32_t>(54 + table.size()));
        put(signature, 2);                                           // bfType
        put(static_cast<std::uint32_t>(offset + pixels.size()), 4);  // bfSize
        put(0, 4);                                                   // bfReserved1 and 2
        put(offset, 4);                                              // bfOffBits
        put(infoHeaderSize, 4);                                      // biSize
        put(static_cast<std::uint32_t>(width), 4);                   // biWidth
        put(static_cast<std::uint32_t>(height), 4);                  // biHeight
        put(1, 2);                                                   // biPlanes
        put(bitCount, 2);                                            // biBitCount
        put(0, 4);                                                   // biCompression
        put(0, 4);                                                   // biSizeImage
        put(2835, 4);                                                // biXPelsPerMeter
        put(2835, 4);                                                // biYPelsPerMeter
        put(0, 4);                                                   // biClrUsed
        put(0, 4);                                                   // biClrImportant
        out.insert(out.end(), table.begin(), table.end());
        if (out.size() < offset) {
            out.resize(offset, 0);  // a gap before the pixels; a smaller offset leaves none
        }
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

// A colour-table entry as the file stores it.
inline std::array<std::uint8_t, 4> Bgr0(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return {blue, green, red, 0};
}

// A colour table of `entries` entries, entry i a distinct non-zero colour.
inline Bytes DistinctTable(int entries) {
    Bytes table;
    for (int i = 0; i < entries; ++i) {
        const auto entry = Bgr0(static_cast<std::uint8_t>(8 * (i % 32) + 8),
                                static_cast<std::uint8_t>(i / 32 * 8 + 8), 0x80);
        table.insert(table.end(), entry.begin(), entry.end());
    }
    return table;
}

// Little-endian 16-bit pixels of a 16-bit bitmap.
inline Bytes Pixels16(const std::vector<std::uint16_t>& values) {
    Bytes out;
    for (const auto v : values) {
        out.push_back(static_cast<std::uint8_t>(v));
        out.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    return out;
}

// The first `count` bytes of the index stream held in the words, earliest byte first.
inline Bytes StreamBytes(const TextureData& texture, std::size_t count) {
    Bytes out;
    for (std::size_t i = 0; i < count; ++i) {
        out.push_back(static_cast<std::uint8_t>(texture.indexWords[i / 4] >> (24 - 8 * (i % 4))));
    }
    return out;
}
