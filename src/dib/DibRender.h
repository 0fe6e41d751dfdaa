#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "dib/CDib.h"

// Draws a held bitmap into a width x height picture the way colour-on-colour stretching does:
// destination pixel (x, y) takes source pixel (x * sourceWidth / width, y * sourceHeight /
// height), so pixels are dropped or repeated and never blended. Indexed pixels take their
// colour from the bitmap's colour table. Supports uncompressed 1, 4, 8, 16 (5-5-5), 24 and
// 32-bit bitmaps, bottom-up or top-down, run-length encoded 4 and 8-bit ones (bottom-up, as
// they always are), and 16 and 32-bit ones with bit-field masks.
//
// Returns width * height pixels as 0xAARRGGBB (opaque), top row first, or nullopt when the
// object holds no bitmap, the format is not supported, a size is zero or negative, or the
// pixel block is shorter than the header says.
std::optional<std::vector<std::uint32_t>> RenderScaled(const CDib& dib, int width, int height);

// The same, drawn into `picture`, which must hold width * height pixels, with rows `rowPixels`
// apart. Returns false, leaving `picture` as it was, where RenderScaled gives nullopt.
bool RenderScaledInto(const CDib& dib, int width, int height, std::uint32_t* picture,
                      std::size_t rowPixels);
