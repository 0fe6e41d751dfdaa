#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "codec/ClassicBitmap.h"

// PNG files, read with libpng and rewritten as the classic bitmap of the same picture.

// A PNG file can hold long ancillary chunks; no more than this is read of one.
inline constexpr std::size_t MAX_PNG_FILE_BYTES = std::size_t{16} << 20;

// Whether `file` starts with the PNG signature.
bool IsPng(std::span<const std::uint8_t> file);

// An indexed PNG (1, 2, 4 or 8 bits) becomes a 4-bit (up to 4 bits) or 8-bit bitmap with its
// palette, in its order, and its indices; grey, grey+alpha, RGB and RGBA PNG become a 16-bit
// X1R5G5B5 bitmap of each pixel's channels cut to 5 bits (16-bit channels by their high byte),
// alpha ignored but reported in `translucent`. Interlaced files are read too. Refusals: TooLarge
// (more pixels than the bitmap of that kind may have, checked before any pixel is read), BadPng
// with libpng's reason in `reason`.
ClassicBitmap PngToClassicBitmap(std::span<const std::uint8_t> file);
