#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "codec/BitmapConversion.h"

// Bitmap files built field by field for the conversion tests.

using Bytes = std::vector<std::uint8_t>;

struct TestBitmap {
    std::uint16_t signature = 0x4D42;  // "BM"
    std::uint32_t infoHeaderSize = 40;
    std::int32_t width = 4, height = 1;
    std::uint16_t bitCount = 8;
    std::uint32_t compression = 0;  // 3: bit-field masks
    Bytes headerTail = {};  // after the first 40 header bytes: the rest of a V4/V5 header, masks
    std::optional<std::uint32_t> pixelDataOffset = {};  // default: right after the colour table
    Bytes table = {};                                   // colour table, 4 bytes an entry
    Bytes pixels = {};  // everything after the headers, the table and any gap up to the offset

    Bytes Build() const {
        const auto offset = pixelDataOffset.value_or(
            static_cast<std::uint32_t>(54 + headerTail.size() + table.size()));
        const auto size = static_cast<std::uint32_t>(offset + pixels.size());
        const auto w = static_cast<std::uint32_t>(width), h = static_cast<std::uint32_t>(height);
        // Each field: value, byte count; from the signature to the important-colour count.
        const std::uint32_t fields[] = {
            signature, 2, size,        4, 0, 4, offset, 4, infoHeaderSize, 4, w, 4, h, 4, 1, 2,
            bitCount,  2, compression, 4, 0, 4, 2835,   4, 2835,           4, 0, 4, 0, 4};
        Bytes out;
        for (std::size_t f = 0; f < std::size(fields); f += 2) {
            for (std::uint32_t i = 0; i < fields[f + 1]; ++i)
                out.push_back(static_cast<std::uint8_t>(fields[f] >> (8 * i)));
        }
        out.insert(out.end(), headerTail.begin(), headerTail.end());
        out.insert(out.end(), table.begin(), table.end());
        out.resize(std::max<std::size_t>(out.size(), offset), 0);  // a gap; a smaller offset: none
        out.insert(out.end(), pixels.begin(), pixels.end());
        return out;
    }
};

// A colour-table entry as the file stores it.
inline std::array<std::uint8_t, 4> Bgr0(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return {blue, green, red, 0};
}

// A colour table of `entries` entries (blue, green, red, 0), entry i a distinct non-zero colour.
inline Bytes DistinctTable(int entries) {
    Bytes table;
    for (int i = 0; i < entries; ++i) {
        table.insert(table.end(), {0x80, static_cast<std::uint8_t>(i / 32 * 8 + 8),
                                   static_cast<std::uint8_t>(8 * (i % 32) + 8), 0});
    }
    return table;
}

// Little-endian 16-bit pixels of a 16-bit bitmap.
inline Bytes Pixels16(const std::vector<std::uint16_t>& values) {
    Bytes out;
    for (const auto v : values)
        out.insert(out.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
    return out;
}

// The first `count` bytes of the index stream held in the words, earliest byte first.
inline Bytes StreamBytes(const TextureData& texture, std::size_t count) {
    Bytes out;
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(static_cast<std::uint8_t>(texture.indexWords[i / 4] >> (24 - 8 * (i % 4))));
    return out;
}

// A 4 or 8-bit bitmap read without the project's code: the palette in RGBA5551 and the index
// stream in stored row order, two pixels a byte below 16 colours.
inline std::pair<std::vector<std::uint16_t>, Bytes> ReadIndexedBitmap(const Bytes& file) {
    auto u32 = [&](std::size_t at) {
        return file.at(at) | file.at(at + 1) << 8 | file.at(at + 2) << 16 | file.at(at + 3) << 24;
    };
    const int width = u32(18), bitCount = file.at(28), stride = (width * bitCount + 31) / 32 * 4;
    std::vector<std::uint16_t> palette;
    for (int at = 54; at < u32(10); at += 4)
        palette.push_back(static_cast<std::uint16_t>(
            (file[at + 2] >> 3) << 11 | (file[at + 1] >> 3) << 6 | (file[at] >> 3) << 1));
    const int perByte = palette.size() < 16 ? 2 : 1;
    Bytes stream(width * u32(22) / perByte);  // an odd last pixel is dropped
    for (int i = 0; i < static_cast<int>(stream.size()) * perByte; ++i) {
        const int x = i % width;
        const std::uint8_t byte = file.at(u32(10) + i / width * stride + x * bitCount / 8);
        const int index = bitCount == 8 ? byte : x % 2 ? byte & 0x0F : byte >> 4;
        stream[i / perByte] |=
            static_cast<std::uint8_t>(perByte == 2 && i % 2 == 0 ? index << 4 : index);
    }
    return {palette, stream};
}
