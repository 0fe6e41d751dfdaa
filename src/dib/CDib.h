#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// One entry of a logical palette: a colour and the platform's palette-entry flags (always 0 here).
struct PaletteEntry {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t flags = 0;
};

// A logical palette as plain data; the GUI layer turns it into its own colour table.
struct LogicalPalette {
    // Palette format version; always 0x300.
    std::uint16_t version = 0x300;
    // The colours in colour-table order; never more than the info block holds past offset 40.
    std::vector<PaletteEntry> entries;
};

// A bitmap (.bmp) file held in memory in the layout that device-independent drawing takes: an
// info block (info header and colour table), a pixel block, and a logical palette made from the
// colour table. The object is either empty (no block held) or holds both blocks; nothing in the
// blocks is validated on reading, so every consumer of the header fields must bound-check
// against the blocks (the accessors below do).
class CDib {
public:
    // Size of the packed bitmap file header that precedes the info block in a file.
    static constexpr std::uint32_t FILE_HEADER_SIZE = 14;
    // Size of the info header whose fields the accessors read; the palette starts right after it.
    static constexpr std::uint32_t INFO_HEADER_SIZE = 40;
    // Zero bytes appended to the info block so that a full 256-entry colour table can always be
    // read from it, even when the file stores a shorter one.
    static constexpr std::uint32_t SPARE_INFO_BYTES = 1024;

    // Reads a whole bitmap file. `file` is every byte of the file, from its start. On success the
    // object holds the bytes [14, bfOffBits) followed by 1024 zero bytes as the info block, the
    // bytes [bfOffBits, end) as the pixel block (possibly empty), and the palette that
    // MakePalette builds; the result is the file's length. On failure (fewer than 14 bytes, no
    // "BM" signature, bfOffBits below 14 or beyond the end, a file of 4 GiB or more, or no
    // memory) the result is 0 and the object is empty. Any bitmap held before is dropped first.
    std::uint32_t Read(std::span<const std::uint8_t> file);

    // Reads the file at `path` and passes its bytes to Read. Returns Read's result, or 0 with the
    // object empty when the file cannot be opened or read.
    std::uint32_t ReadFile(const std::filesystem::path& path);

    // Returns the bytes of a bitmap file for the held bitmap: file header, the first biSize
    // bytes of the info block, 4 × (low 16 bits of the colour count) colour-table bytes taken
    // from info-block offset biSize, then the image bytes (|biHeight| rows of the padded stride,
    // or biSizeImage bytes when biCompression is 1 or 2, run-length encoded). For an
    // uncompressed bitmap the written biSizeImage is the computed image size; the held info
    // block is left unchanged, so Save stays const. Returns an empty vector when the object is
    // empty, when biSize is below 40, when biWidth is negative, when the header claims more
    // colour-table or image bytes than the blocks hold, or when a size does not fit 32 bits.
    std::vector<std::uint8_t> Save() const;

    // Drops the pixel block, the info block and the palette, in that order. Safe on an empty
    // object.
    void Free();

    // 4 × the colour count, truncated to 16 bits; 0 when no info block is held.
    std::uint16_t PaletteSize() const;

    // Rebuilds the palette from the colour table at info-block offset 40 (whatever biSize says).
    // Returns false when no info block is held. Returns true without a palette when the bitmap
    // has no colour table (colour count 0 or a multiple of 0x10000). Otherwise the palette gets
    // the low 16 bits of the colour count as entries, but never more than the info block holds
    // past offset 40, and the result is true.
    bool MakePalette();

    // True when the object holds a bitmap (both blocks).
    bool IsHeld() const { return m_infoBlock.has_value() && m_pixelBlock.has_value(); }
    // The info block: info header, colour table, then the 1024 spare zero bytes.
    const std::optional<std::vector<std::uint8_t>>& InfoBlock() const { return m_infoBlock; }
    // The pixel block: every file byte from bfOffBits to the end.
    const std::optional<std::vector<std::uint8_t>>& PixelBlock() const { return m_pixelBlock; }
    // The logical palette; absent when the bitmap has no colour table or none is held.
    const std::optional<LogicalPalette>& Palette() const { return m_palette; }

    // Info-header fields, read little-endian from the info block; 0 when no bitmap is held.
    std::uint32_t HeaderSize() const;
    std::int32_t Width() const;
    // Negative for a top-down bitmap.
    std::int32_t Height() const;
    std::uint16_t BitCount() const;
    std::uint32_t Compression() const;
    std::uint32_t SizeImage() const;
    std::uint32_t ClrUsed() const;

    // biClrUsed when not 0; otherwise 2, 16 or 256 for 1, 4 or 8 bits per pixel; otherwise 0.
    std::uint32_t ColourCount() const;

    // Bytes per pixel row, padded to a multiple of 4: ((biBitCount × biWidth + 31) / 32) × 4,
    // computed without wrapping. 0 when no bitmap is held or biWidth is negative.
    std::uint64_t RowStride() const;

    // Colour-table entry `index` as the drawing operations read it, at info-block offset
    // biSize + 4 × index (stored blue, green, red, reserved; flags are 0). Absent when `index`
    // is not below ColourCount() or the entry lies outside the info block.
    std::optional<PaletteEntry> TableColour(std::uint32_t index) const;

private:
    // The palette built by MakePalette; absent when there is no colour table. Its entry count
    // never exceeds (info block size − 40) / 4.
    std::optional<LogicalPalette> m_palette;
    // Every file byte from bfOffBits to the end of the file; may be empty while held. Set iff
    // m_infoBlock is set.
    std::optional<std::vector<std::uint8_t>> m_pixelBlock;
    // File bytes [14, bfOffBits) followed by SPARE_INFO_BYTES zero bytes, so it is never shorter
    // than SPARE_INFO_BYTES (and thus always covers the 40-byte header). Set iff m_pixelBlock is
    // set.
    std::optional<std::vector<std::uint8_t>> m_infoBlock;
};
