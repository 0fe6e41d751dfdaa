#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "codec/TextureRecordDecode.h"

// Checking the catalogue against the ROM: every catalogued texture's record must decode, and
// its picture must be the one its bitmap shows.

enum class TextureVerdict {
    Sound,             // the record decodes to the bitmap's picture
    DoesNotDecode,     // the record at the texture's offset does not decode (see `decode`)
    BitmapUnreadable,  // the bitmap cannot be read or drawn
    SizeDiffers,       // the bitmap's width or height is not the record's
    PixelsDiffer,      // a pixel's colour differs (see `x`, `y`)
};

struct TextureCheck {
    TextureVerdict verdict = TextureVerdict::Sound;
    RecordDecodeResult decode = RecordDecodeResult::Ok;  // DoesNotDecode: why
    InflateResult inflate = InflateResult::Ok;           // DoesNotDecode with StreamFault: why
    int x = 0;  // PixelsDiffer: the first pixel that differs, counted from the top left
    int y = 0;
};

// Compares a decoded texture with a bitmap file: same width and height, and every pixel's
// colour, each channel cut to five bits as the texture keeps it, equal to its palette colour
// (the alpha bit, which a bitmap cannot show, is not compared). The data's first row is the
// bitmap's bottom row. The last pixel of a 4-bit texture with an odd pixel count, which the
// record does not store, is not compared.
TextureCheck CompareTextureWithBitmap(const DecodedTexture& texture,
                                      std::span<const std::uint8_t> bitmapFile);

struct VerifyFinding {
    int sizeClass = 0;
    std::uint32_t offset = 0;
    std::filesystem::path bitmap;
    TextureCheck check;
};

struct VerifyReport {
    std::size_t texturesChecked = 0;
    std::vector<VerifyFinding> findings;  // the textures that are not sound, in catalogue order
};

// Decodes, for every bitmap of the game classes below `programFolder` (listed as Load ROM lists
// them, the offset taken from the name), the record at that offset of `image` (either byte
// order) and compares it with the bitmap. Nothing is written.
VerifyReport VerifyCatalogue(std::span<const std::uint8_t> image,
                             const std::filesystem::path& programFolder);
