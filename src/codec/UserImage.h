#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codec/BitmapConversion.h"

// The user-image pipeline: a bitmap file becomes the texture record that the game reads and the
// preview bitmap that shows the converted texture. Every command that turns a user's bitmap into
// a texture goes through PrepareUserImage, so they all agree byte for byte.

// Size and depth of the preview bitmap.
inline constexpr std::int32_t PREVIEW_SIDE = 32;
inline constexpr std::uint16_t PREVIEW_BIT_COUNT = 16;

struct UserImage {
    // Ok exactly when `record` holds a texture record; a default object holds no image.
    ConvertResult result = ConvertResult::NotBitmap;
    std::uint16_t width = 0;   // low 16 bits of the header's width
    std::uint16_t height = 0;  // low 16 bits of the header's height
    // Palette count of the record: the header's colour-table entries, (pixel data offset - 54) / 4
    // rounded toward zero, or for a converted 16-bit bitmap its number of distinct colours.
    int entries = 0;
    // DEPTH_MODE_4BIT when entries < 16, else DEPTH_MODE_8BIT: the depth the bitmap was
    // converted at, which matches the record's format code.
    int depthMode = 0;
    bool translucent = false;  // a PNG with a pixel that is not fully opaque (alpha is ignored)
    int colours = 0;           // distinct colours of a TooManyReducedColors picture
    std::string reason = {};   // libpng's reason when result is BadPng
    TextureData texture;       // the conversion's output; zero when refused
    std::vector<std::uint8_t> record;  // the texture record; empty unless result is Ok
};

// Converts a bitmap and compresses it into a texture record.
//
// `file` holds the bitmap file's bytes from its start (all of them, or at least the first
// BITMAP_BYTES_EXAMINED); `formatLetter` is the texture's format flag, "N" or "G". The header's
// pixel data offset gives `entries` and the depth; ConvertBitmapToTexture converts at that depth
// (its refusals are returned with an empty record), and CompressTexture builds the record with
// `entries` palette entries. A 16-bit bitmap has no colour table: its record takes the number of
// distinct colours and the depth that the conversion chose for them.
UserImage PrepareUserImage(std::span<const std::uint8_t> file, std::string_view formatLetter);

// Reads the bitmap at `path` (ReadBitmapFile) and prepares it as above; result CannotOpen when
// the file cannot be opened or read.
UserImage PrepareUserImage(const std::filesystem::path& path, std::string_view formatLetter);

// The preview of a prepared image: a 32 x 32 bitmap of 16 bits per pixel written by
// WriteTextureBitmap from the image's index words and palette at its depth, whatever the image's
// own size (a larger image shows its first 1024 pixels in stream order). Empty unless
// image.result is Ok.
std::vector<std::uint8_t> MakePreviewBitmap(const UserImage& image);
