#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "codec/BitmapConversion.h"

// Rewrites the bitmaps that paint programs write today as the classic bitmap holding the same
// picture, so that one conversion serves them all and gives them the classic file's bytes.

struct ClassicBitmap {
    ConvertResult result = ConvertResult::Ok;
    // The classic file; empty when the input already is one (or is refused).
    std::vector<std::uint8_t> bytes;
    bool reduced = false;      // true-colour pixels were cut to X1R5G5B5
    bool translucent = false;  // a PNG with a pixel that is not fully opaque (alpha ignored)
    std::string reason = {};   // libpng's reason for refusing a PNG
};

// PNG files are rewritten by PngToClassicBitmap. Classic files (40-byte info header, bottom-up
// rows; 4 or 8 bits, or 16 bits without bit-field masks) come back empty with Ok, and so do files
// that are no bitmap at all: the conversion refuses those itself. Otherwise:
//   4/8-bit with a longer info header or top-down rows: the same colour table and rows, the
//     table moved to offset 54 (its count taken from behind the header) and rows bottom-up.
//   16-bit with bit-field masks or a longer header, 24 and 32-bit: a 16-bit X1R5G5B5 file, each
//     channel cut to its 5 high bits by its mask, rows bottom-up and padded to 4 bytes.
// Refusals: UnsupportedInfoHeader (header under 40 bytes, or a colour table it would overlap),
// BadPaletteCount, TooLarge, NoPixels as the conversion checks them, NotBitmap for compressed
// true-colour files, and CutShort when the file ends before its masks or its last pixel row.
ClassicBitmap ToClassicBitmap(std::span<const std::uint8_t> file);
