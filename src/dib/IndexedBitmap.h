#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Classic palette bitmap files (4 or 8 bits a pixel) as the editor's readers expect them: a
// 14-byte file header, the 40-byte info header, the colour table (blue, green, red, 0 per entry)
// and uncompressed rows stored bottom-up, each padded to a multiple of 4 bytes. A 4-bit row holds
// two pixels a byte, the left one in the high nibble.

// Size of the file header plus the classic info header: where the colour table starts.
inline constexpr std::size_t INDEXED_BITMAP_HEADERS = 54;

// Bytes of one stored row of `width` pixels at `bitCount` bits, padded to a multiple of 4.
// `width` must not be negative.
std::size_t IndexedBitmapStride(std::int32_t width, int bitCount);

// Encodes a palette picture as a bitmap file and returns its bytes.
//
// `colours` is the colour table, one 0xRRGGBB value an entry (the top byte is ignored); it is
// written whole, so the pixel data starts at 54 + 4 x colours.size() and the header announces
// that many colours. `pixels` holds width x height colour indices, the top row first, each row
// left to right. The bitmap is written bottom-up: its first stored row is the picture's bottom
// row.
//
// Returns an empty vector when `bitCount` is not 4 or 8, when width or height is below 1, when
// `pixels` does not hold exactly width x height indices, when the table is empty or has more
// entries than `bitCount` can address, when an index is not below the table's length, or when
// the file would not fit 32-bit sizes.
std::vector<std::uint8_t> EncodeIndexedBitmap(std::int32_t width, std::int32_t height, int bitCount,
                                              std::span<const std::uint32_t> colours,
                                              std::span<const std::uint8_t> pixels);
