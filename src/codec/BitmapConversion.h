#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// Bitmap-to-texture conversion: a 4, 8 or 16-bit BMP becomes a palette of RGBA5551 colours and
// an index stream, held in index words (four stream bytes a word, earliest byte most significant).

// Index buffer and palette capacity of a converted texture.
inline constexpr std::size_t INDEX_BUFFER_BYTES = 4096;
inline constexpr std::size_t PALETTE_CAPACITY = 256;

// Depth modes: which index width the caller wants.
inline constexpr int DEPTH_MODE_4BIT = 8;
inline constexpr int DEPTH_MODE_8BIT = 9;

// Limits of what the conversion accepts, so that the index data always fits INDEX_BUFFER_BYTES.
inline constexpr std::size_t MAX_INDEXED_BITMAP_PIXELS = 4096;  // 4 and 8-bit files
inline constexpr std::size_t MAX_16BIT_BITMAP_PIXELS = 2048;    // 16-bit files

// Where the conversion reads: the classic headers end and the colour table (4/8-bit) or the
// pixels (16-bit) begin at this file offset.
inline constexpr std::size_t BITMAP_COLOUR_TABLE_OFFSET = 54;
// Only the classic info header puts the colour table at BITMAP_COLOUR_TABLE_OFFSET.
inline constexpr std::uint32_t CLASSIC_INFO_HEADER_SIZE = 40;
// No byte past this many from the start of a file is ever read by the conversion: the pixel
// data offset has 16 bits, and the rows of 4096 pixels, one a row, take at most 16 KiB.
inline constexpr std::size_t BITMAP_BYTES_EXAMINED = 0xFFFF + 4 * INDEX_BUFFER_BYTES;

enum class ConvertResult {
    Ok = 0,                 // converted
    NotBitmap = 1,          // no "BM" signature, or not 4, 8 or 16 bits per pixel
    TooManyColors = 2,      // a 16-bit bitmap with more than 256 distinct colours
    CannotOpen,             // the file cannot be opened or read
    TooShort,               // the file is too short to hold its headers
    BadPaletteCount,        // a 4/8-bit header whose pixel-data offset gives < 1 or > 256 entries
    TooLarge,               // the index data would not fit INDEX_BUFFER_BYTES
    UnsupportedInfoHeader,  // a 4/8-bit bitmap whose info header is not the 40-byte kind
    NoPixels,               // the index stream would hold no byte (too few pixels)
    CutShort,               // the file ends before its pixel data or the bytes the conversion needs
    TooManyReducedColors,   // a true-colour picture with over 256 colours once cut to 5 bits
    BadPng,                 // a PNG file that libpng refuses
};

// A converted texture. Buffers start zero-filled, so every output is deterministic.
struct TextureData {
    std::array<std::uint32_t, INDEX_BUFFER_BYTES / 4> indexWords{};
    std::array<std::uint16_t, PALETTE_CAPACITY> palette{};
    int count = 0;  // palette entries written
    // DEPTH_MODE_4BIT or DEPTH_MODE_8BIT after a conversion: the index width of indexWords;
    // 0 while nothing has been converted.
    int depthMode = 0;
};

// The header fields of a bitmap file that the conversion uses, taken from the first 48 bytes
// (bytes past the end of a shorter file read as zero), little-endian.
struct BitmapHeader {
    std::uint16_t signature = 0;        // offset 0; 0x4D42 ("BM") for a bitmap
    std::uint16_t pixelDataOffset = 0;  // offset 10, low 16 bits
    std::uint32_t infoHeaderSize = 0;   // offset 14; 40 for the classic info header
    std::uint16_t width = 0;            // offset 18, low 16 bits
    std::uint16_t height = 0;           // offset 22, low 16 bits
    std::uint16_t bitCount = 0;         // offset 28
    std::size_t fileSize = 0;           // length of the bytes the header was read from
};

// Reads the header fields of `file` (every byte of a bitmap file, or its first
// BITMAP_BYTES_EXAMINED bytes). Never fails; a short or foreign file gives zeros.
BitmapHeader ReadBitmapHeader(std::span<const std::uint8_t> file);

// Colour-table entries that a 4/8-bit header announces: (pixel data offset - 54) / 4, rounded
// toward zero; negative for offsets below 54.
int ColourTableEntries(const BitmapHeader& header);

// Reads the part of a bitmap file that the conversion examines: its first
// BITMAP_BYTES_EXAMINED bytes, or all of a shorter file (a longer PNG file: up to
// MAX_PNG_FILE_BYTES). nullopt when the path is not a regular
// file or cannot be opened or read. Converting these bytes gives the same result as converting
// the whole file.
std::optional<std::vector<std::uint8_t>> ReadBitmapFile(const std::filesystem::path& path);

// Converts a 4, 8 or 16-bit bitmap file into a palette and an index stream. Other bitmaps that
// ToClassicBitmap rewrites (longer headers, top-down rows, bit-field masks, 24 and 32 bits) are
// converted as the classic file it gives, after its refusals; a rewritten true-colour picture
// with more than 256 colours gives TooManyReducedColors instead of TooManyColors.
//
// `file` holds the file's bytes from its start (all of them, or at least the first
// BITMAP_BYTES_EXAMINED). `depthMode` asks for 4-bit indices when its low four bits are 8
// (DEPTH_MODE_4BIT) and for 8-bit indices otherwise; it is ignored for 16-bit files.
//
// The file is refused, with `out` left as it was, for these results, checked in this order:
//   NotBitmap              no "BM" signature, or bits per pixel not 4, 8 or 16
//   TooShort               fewer than 54 bytes (the 14-byte file header and 40-byte info header)
//   TooLarge               16-bit: more than 2048 pixels
//   NoPixels               16-bit: fewer than 2 pixels (one pixel, one colour: packs to no byte)
//   UnsupportedInfoHeader  4/8-bit: the info header size at offset 14 is not 40, so the colour
//                          table would not be at offset 54
//   BadPaletteCount        4/8-bit: (pixel data offset - 54) / 4 is below 1 or above 256
//   TooLarge               4/8-bit: more than 4096 pixels (width x height bytes are read)
//   NoPixels               4/8-bit: no pixel, or a single pixel asked for at 4-bit depth
//   CutShort               the file ends before the bytes read: 16-bit, width x height pixels
//                          from offset 54; 4/8-bit, from the pixel data offset, the smaller of
//                          the pixel count rounded down to 4 and the rows padded to 4 bytes
// Width and height are the low 16 bits of the header fields; the pixel count is their product.
//
// Otherwise the result is Ok and `out` is replaced, everything the conversion does not write
// being zero; only a 16-bit file with more than 256 distinct colours gives TooManyColors, with
// `out` left as it was. An indexed file's reads past its rows (4-bit files) read as zero.
//
// 4/8-bit files: the palette is the colour table at offset 54 in RGBA5551, `count` entries, where
// count is the announced entry count except that a full table is trimmed to one zero entry after
// its last non-zero one when entries 14 and 15 (4-bit, offset 118) or 152 and 153 (8-bit, offset
// 1078) are both zero. The pixel count rounded down to a multiple of 4 is the number of bytes
// read from the pixel data offset, as one run (rows are neither flipped nor unpadded); at 8-bit
// depth from an 8-bit file and 4-bit depth from a 4-bit file they stay as read. An 8-bit file at
// 4-bit depth has its pixels' low nibbles packed two a byte, first pixel high, in place, in
// whole words covering pixels / 2 bytes; the read bytes beyond stay. A 4-bit file at 8-bit depth
// has each nibble of its first pixels / 2 bytes, high nibble first, widened to a byte, in whole
// words. out.depthMode is the depth chosen.
//
// 16-bit files: the first width x height 16-bit pixels from offset 54 (pixel data offset
// ignored) build the palette by first appearance, each value shifted left by one bit into
// RGBA5551; count is the number of distinct colours. The index width follows the palette so
// that a texture record's format code, palette count and data always agree: with 16 or more
// colours one byte a pixel (out.depthMode 8-bit); with fewer, two pixels a byte, first pixel in
// the high nibble (out.depthMode 4-bit), exactly like a 4-bit bitmap, an odd last pixel dropped.
ConvertResult ConvertBitmapToTexture(std::span<const std::uint8_t> file, int depthMode,
                                     TextureData& out);

// Reads the bitmap at `path` (ReadBitmapFile) and converts it as above; CannotOpen, with `out`
// left as it was, when the file cannot be opened or read.
ConvertResult ConvertBitmapToTexture(const std::filesystem::path& path, int depthMode,
                                     TextureData& out);

// Writes an index stream out as a 16-bit bitmap file and returns its bytes: a 14-byte file
// header, a 40-byte info header (width, height, `bitCount` as given, no compression, image size
// 2 x width x height, 2834 pixels per metre both ways) and, for each of the width x height
// pixels in index-stream order, palette[index] >> 1 as a little-endian 16-bit value, with no row
// padding. `depthMode` reads one nibble a pixel, high nibble first, when its low four bits are 8
// and one byte a pixel otherwise.
//
// Returns an empty vector when width or height is negative, when there are more than 4096
// pixels, when `indexWords` holds fewer index bytes than the pixels need, or when `palette` has
// fewer entries than an index can address (16 at 4-bit depth, 256 at 8-bit depth).
std::vector<std::uint8_t> WriteTextureBitmap(std::int32_t width, std::int32_t height,
                                             std::uint16_t bitCount,
                                             std::span<const std::uint32_t> indexWords,
                                             std::span<const std::uint16_t> palette, int depthMode);

// Writes WriteTextureBitmap's bytes to `path`, replacing the file only when all of it has been
// written (WriteFileAtomically). Returns false, leaving `path` untouched, when the arguments are
// refused or the file cannot be written.
bool WriteTextureBitmapFile(const std::filesystem::path& path, std::int32_t width,
                            std::int32_t height, std::uint16_t bitCount,
                            std::span<const std::uint32_t> indexWords,
                            std::span<const std::uint16_t> palette, int depthMode);
