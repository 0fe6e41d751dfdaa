#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "codec/TextureRecordDecode.h"
#include "io/ByteOrder.h"

// A texture record shown as a bitmap file, and the record at an offset of a ROM image.

// The colour the editor shows for an RGBA5551 palette entry, as 0xRRGGBB: each 5-bit channel
// widened to 8 bits by repeating its top bits (the alpha bit is not shown). Reading the colour
// back through a bitmap's colour table gives the same five bits of each channel.
std::uint32_t Rgba5551ToRgb(std::uint16_t colour);

// The texture as a classic 4-bit (palette under 16 entries) or 8-bit bitmap file: its palette as
// the colour table, and its data rows as the file's stored rows, the first data row stored first
// (at the bottom of the picture), as the editor imports a bitmap's rows. Empty when the texture
// does not make a bitmap (no palette, an index past it).
std::vector<std::uint8_t> TextureBitmap(const DecodedTexture& texture);

// The whole image in native order: `image` itself when it is not swapped, otherwise a native
// copy kept in `storage`.
std::span<const std::uint8_t> NativeImage(std::span<const std::uint8_t> image,
                                          std::vector<std::uint8_t>& storage);

// What ExportTexture found.
struct TextureExport {
    RecordDecodeOutcome decoded;       // the record's verdict and texture
    std::vector<std::uint8_t> bitmap;  // the bitmap file; empty unless decoded.result is Ok
};

// Decodes the record at native `offset` of a ROM image in either byte order and gives it as a
// bitmap file. An offset past the image reads as no bytes (TooShort).
TextureExport ExportTexture(std::span<const std::uint8_t> image, std::uint32_t offset);
