#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "codec/Inflate.h"

// Reading a texture record back: the header (format code, palette, dimensions, stream
// identifier) and the one-block fixed-code stream that our compressor writes, or any valid raw
// DEFLATE stream that inflates to exactly the texture's data bytes.

enum class RecordDecodeResult {
    Ok,
    TooShort,         // the bytes end inside the header
    BadFormatCode,    // byte 0 is not 0x09, 0x0A, 0x0B or 0x0C
    BadPaletteCount,  // the palette count does not suit the depth of the format code
    ZeroSize,         // width or height is 0
    BadStreamMagic,   // the two bytes after the dimensions are not 0x11 0x72
    StreamFault,      // the stream does not inflate (see `inflateResult`)
    WrongDataLength,  // the stream inflates to fewer or more bytes than the texture holds
    IndexOutOfRange,  // a pixel index is not below the palette count
};

struct DecodedTexture {
    std::uint8_t formatCode = 0;         // 0x09 to 0x0C
    char formatFlag = 'N';               // 'N' (0x09, 0x0A) or 'G' (0x0B, 0x0C)
    int depth = 8;                       // 4 (codes 0x0A, 0x0C) or 8 (0x09, 0x0B)
    int width = 0;                       // 1 to 255, as stored
    int height = 0;                      // 1 to 255, as stored
    std::vector<std::uint16_t> palette;  // RGBA5551, 1 to 15 entries (4-bit) or 16 to 256 (8-bit)
    // The texture's data bytes exactly as compressed: width x height / 2 (rounded down) bytes of
    // two pixels each, the first in the high nibble, for 4-bit; width x height bytes for 8-bit.
    std::vector<std::uint8_t> data;
    // Header plus stream: through the tail bits our compressor writes after the end-of-block
    // code when they are there (`hasTail`), else through the byte holding the last stream bit.
    std::size_t recordSize = 0;
    bool hasTail = false;
};

struct RecordDecodeOutcome {
    RecordDecodeResult result = RecordDecodeResult::TooShort;
    InflateResult inflateResult = InflateResult::Ok;  // meaningful for StreamFault
    DecodedTexture texture;                           // complete only when result is Ok
};

// Decodes the record that starts at `bytes[0]` (native order); `bytes` may run on past the
// record, e.g. to the end of the image.
RecordDecodeOutcome DecodeTextureRecord(std::span<const std::uint8_t> bytes);

// The colour index of every pixel, row by row (width x height values; for 4-bit textures of an
// odd pixel count the last pixel, which is not stored, is 0).
std::vector<std::uint8_t> PixelIndices(const DecodedTexture& texture);
