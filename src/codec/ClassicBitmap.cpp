#include "codec/ClassicBitmap.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

#include "codec/PngPicture.h"
#include "io/LittleEndian.h"

// Format notes (what differs from the classic bitmap; fields little-endian):
//   14  u32  info header size: 40 classic, 108 V4, 124 V5; the first 40 bytes are alike in all,
//            and the colour table follows the header, at 14 + size
//   22  i32  height: negative for rows stored top row first
//   30  u32  compression: 3 (or 6) announces bit-field masks, red, green and blue at offsets 54,
//            58 and 62, inside a V4/V5 header or right after a 40-byte one (when the pixel data
//            offset leaves room for them); 0 means the default masks (16-bit X1R5G5B5, 32-bit
//            X8R8G8B8)
// 24-bit pixels are blue, green, red bytes. Every row is padded to a multiple of 4 bytes.

namespace {

constexpr std::size_t CLASSIC_HEADERS = 54;
constexpr std::size_t FILE_HEADER = 14;
constexpr std::size_t MASKS_END = 66;
constexpr std::uint32_t BITFIELDS = 3;
constexpr std::uint32_t ALPHA_BITFIELDS = 6;

std::size_t RowBytes(std::size_t width, std::size_t bitCount) {
    return (width * bitCount + 31) / 32 * 4;
}

// The classic headers of `file` with the fields that differ set.
std::vector<std::uint8_t> ClassicHeaders(std::span<const std::uint8_t> file, std::uint32_t offset,
                                         std::uint32_t rows, std::uint16_t bitCount) {
    std::vector<std::uint8_t> out(file.begin(), file.begin() + CLASSIC_HEADERS);
    StoreU32(out, 10, offset);
    StoreU32(out, 14, CLASSIC_INFO_HEADER_SIZE);
    StoreU32(out, 22, rows);
    StoreU16(out, 28, bitCount);
    StoreU32(out, 30, 0);
    return out;
}

// A channel's value cut (or widened) to 5 bits, its high bits kept.
std::uint32_t FiveBits(std::uint32_t pixel, std::uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    const int shift = std::countr_zero(mask);
    const int bits = std::bit_width(mask >> shift);
    const std::uint32_t value = (pixel & mask) >> shift;
    return bits >= 5 ? value >> (bits - 5) : value << (5 - bits);
}

struct Layout {
    std::size_t width = 0;
    std::size_t rows = 0;
    bool topDown = false;
    std::size_t offset = 0;
    std::size_t rowBytes = 0;
};

// The stored row that becomes the classic file's row `row` (bottom row first).
std::size_t StoredRowStart(const Layout& at, std::size_t row) {
    return at.offset + at.rowBytes * (at.topDown ? at.rows - 1 - row : row);
}

ClassicBitmap Indexed(std::span<const std::uint8_t> file, const Layout& at, std::uint32_t infoSize,
                      std::uint16_t bitCount) {
    const std::size_t headerEnd = FILE_HEADER + infoSize;
    if (infoSize < CLASSIC_INFO_HEADER_SIZE || headerEnd > at.offset) {
        return {ConvertResult::UnsupportedInfoHeader, {}};
    }
    const std::size_t entries = (at.offset - headerEnd) / 4;
    if (entries < 1 || entries > PALETTE_CAPACITY) {
        return {ConvertResult::BadPaletteCount, {}};
    }
    if (at.width * at.rows > MAX_INDEXED_BITMAP_PIXELS) {
        return {ConvertResult::TooLarge, {}};
    }
    if (at.offset + at.rowBytes * at.rows > file.size()) {
        return {ConvertResult::CutShort, {}};
    }
    const auto newOffset = static_cast<std::uint32_t>(at.offset - (infoSize - 40));
    ClassicBitmap out{
        ConvertResult::Ok,
        ClassicHeaders(file, newOffset, static_cast<std::uint32_t>(at.rows), bitCount)};
    out.bytes.insert(out.bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(headerEnd),
                     file.begin() + static_cast<std::ptrdiff_t>(at.offset));
    for (std::size_t row = 0; row < at.rows; ++row) {
        const auto start = file.begin() + static_cast<std::ptrdiff_t>(StoredRowStart(at, row));
        out.bytes.insert(out.bytes.end(), start, start + static_cast<std::ptrdiff_t>(at.rowBytes));
    }
    return out;
}

ClassicBitmap TrueColour(std::span<const std::uint8_t> file, const Layout& at,
                         std::uint32_t infoSize, std::uint16_t bitCount, std::uint32_t compression,
                         bool masked) {
    if (infoSize < CLASSIC_INFO_HEADER_SIZE) {
        return {ConvertResult::UnsupportedInfoHeader, {}};
    }
    const bool maskCode = compression == BITFIELDS || compression == ALPHA_BITFIELDS;
    if ((compression != 0 && !maskCode) || (masked && bitCount == 24)) {
        return {ConvertResult::NotBitmap, {}};
    }
    const std::size_t pixels = at.width * at.rows;
    if (pixels > MAX_16BIT_BITMAP_PIXELS) {
        return {ConvertResult::TooLarge, {}};
    }
    if (pixels < 2) {
        return {ConvertResult::NoPixels, {}};
    }
    if ((masked && file.size() < MASKS_END) || at.offset + at.rowBytes * at.rows > file.size()) {
        return {ConvertResult::CutShort, {}};
    }
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (masked) {
        masks[0] = LoadU32(file, 54);
        masks[1] = LoadU32(file, 58);
        masks[2] = LoadU32(file, 62);
    } else if (bitCount != 16) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
    ClassicBitmap out{ConvertResult::Ok, ClassicHeaders(file, CLASSIC_HEADERS,
                                                        static_cast<std::uint32_t>(at.rows), 16)};
    out.reduced = true;
    const std::size_t outRowBytes = RowBytes(at.width, 16);
    for (std::size_t row = 0; row < at.rows; ++row) {
        const std::size_t start = StoredRowStart(at, row);
        for (std::size_t x = 0; x < at.width; ++x) {
            const std::size_t p = start + x * bitCount / 8;
            std::uint32_t pixel = 0;
            if (bitCount == 16) {
                pixel = LoadU16(file, p);
            } else if (bitCount == 24) {
                pixel = static_cast<std::uint32_t>(file[p + 2]) << 16 | file[p + 1] << 8 | file[p];
            } else {
                pixel = LoadU32(file, p);
            }
            const auto x555 = static_cast<std::uint16_t>(FiveBits(pixel, masks[0]) << 10 |
                                                         FiveBits(pixel, masks[1]) << 5 |
                                                         FiveBits(pixel, masks[2]));
            out.bytes.insert(out.bytes.end(), {static_cast<std::uint8_t>(x555),
                                               static_cast<std::uint8_t>(x555 >> 8)});
        }
        out.bytes.resize(out.bytes.size() + outRowBytes - 2 * at.width, 0);
    }
    return out;
}

}  // namespace

ClassicBitmap ToClassicBitmap(std::span<const std::uint8_t> file) {
    if (IsPng(file)) {
        return PngToClassicBitmap(file);
    }
    const BitmapHeader header = ReadBitmapHeader(file);
    const std::uint16_t bitCount = header.bitCount;
    const bool indexed = bitCount == 4 || bitCount == 8;
    if (header.signature != 0x4D42 ||
        (!indexed && bitCount != 16 && bitCount != 24 && bitCount != 32) ||
        file.size() < CLASSIC_HEADERS) {
        return {};  // the conversion refuses it as it always has
    }
    const std::uint32_t infoSize = header.infoHeaderSize;
    const auto height = static_cast<std::int32_t>(LoadU32(file, 22));
    const std::uint32_t compression = LoadU32(file, 30);
    // Some writers announce masks after a 40-byte header but start the pixels at offset 54.
    const bool masked =
        (compression == BITFIELDS || compression == ALPHA_BITFIELDS) &&
        (infoSize > CLASSIC_INFO_HEADER_SIZE || header.pixelDataOffset >= MASKS_END);
    const bool classic = infoSize == CLASSIC_INFO_HEADER_SIZE && height >= 0 &&
                         (indexed || (bitCount == 16 && !masked));
    if (classic) {
        return {};
    }
    Layout at;
    at.width = header.width;
    at.rows = static_cast<std::size_t>(std::abs(static_cast<std::int64_t>(height)));
    at.topDown = height < 0;
    at.offset = header.pixelDataOffset;
    at.rowBytes = RowBytes(at.width, bitCount);
    if (at.rows > 0xFFFF) {
        return {ConvertResult::TooLarge, {}};
    }
    return indexed ? Indexed(file, at, infoSize, bitCount)
                   : TrueColour(file, at, infoSize, bitCount, compression, masked);
}
