#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

// Texture record format, as the game stores a texture in its ROM image:
//
//   offset      size  content
//   0           1     format code: 0x0A/0x0C for 4-bit indices, 0x09/0x0B for 8-bit ("N"/"G")
//   1           1     palette count - 1 (low 8 bits)
//   2           2c    c palette entries, RGBA5551, high byte first
//   2 + 2c      1     width, low 8 bits
//   3 + 2c      1     height, low 8 bits
//   4 + 2c      2     0x11 0x72, the stream identifier
//   6 + 2c      S     one final DEFLATE block with the fixed Huffman code, then the stream tail
//
// A palette of fewer than 16 entries means 4-bit indices (two pixels a byte, first pixel in the
// high nibble, width x height / 2 data bytes rounded down); 16 or more means one byte a pixel.

inline constexpr std::uint16_t TEXTURE_STREAM_MAGIC = 0x1172;
inline constexpr std::string_view FIXED_BLOCK_HEADER = "110";
// Largest amount of data a record may hold: every match distance then stays within 4096.
inline constexpr std::size_t MAX_TEXTURE_DATA = 4097;

// Number of data bytes a width x height texture with `count` palette entries holds; 0 when
// width x height is negative.
std::size_t TextureDataLength(std::int32_t width, std::int32_t height, int count);

// Builds the texture record of a palette and an index stream.
//
// `indexWords` holds the index stream four bytes a word, the earliest byte most significant.
// `palette` holds at least `count` RGBA5551 entries; `count` is 1 to 256; `formatLetter` is "N"
// or "G" ("G" picks the G format codes, anything else the N ones).
//
// Returns the record, or an empty vector when `streamMagic` is not TEXTURE_STREAM_MAGIC or
// `blockHeader` is not FIXED_BLOCK_HEADER, when `count` or the palette is out of range, or when
// the data length is negative, zero (a stream always starts with a literal, so it cannot code
// no bytes: no pixels, or a single pixel at 4 bits), above MAX_TEXTURE_DATA or more than
// `indexWords` holds. Index bytes past the data length are never read.
//
// The compressed stream is exactly that of a greedy exhaustive search: at each position the
// longest earlier match (nearest among equals, lengths compared before the cut to 258) is taken
// when it is at least 3 bytes long, otherwise a literal.
std::vector<std::uint8_t> CompressTexture(std::uint16_t streamMagic, std::string_view blockHeader,
                                          std::int32_t width, std::int32_t height,
                                          std::span<const std::uint32_t> indexWords,
                                          std::span<const std::uint16_t> palette, int count,
                                          std::string_view formatLetter);

// The compressed stream alone (block header, codes and the stream tail, in stream byte order)
// for `data`, which must hold 1 to MAX_TEXTURE_DATA bytes; empty otherwise.
std::vector<std::uint8_t> CompressTextureData(std::span<const std::uint8_t> data);
