#pragma once

#include "codec/BitmapConversion.h"

// What the user is told when a bitmap cannot be turned into a texture: the editor's message
// boxes and the command-line tool use the same words.
struct ConvertMessage {
    const char* text;
    const char* caption;
};

// The message for a conversion result; empty texts for Ok, which is never reported.
constexpr ConvertMessage ConvertResultMessage(ConvertResult result) {
    switch (result) {
        case ConvertResult::Ok:
            return {"", ""};
        case ConvertResult::NotBitmap:
            return {"Not a bitmap!", "Bad file"};
        case ConvertResult::TooManyColors:
            return {"Invalid 16-bit Bitmap - too many colors present", "Too many colors"};
        case ConvertResult::CannotOpen:
            return {"The bitmap file cannot be opened or read.", "Cannot open file"};
        case ConvertResult::TooShort:
            return {"The bitmap file is too short to hold its headers - it may have been cut off.",
                    "Bad file"};
        case ConvertResult::BadPaletteCount:
            return {
                "Invalid bitmap - its header gives a color table of fewer than 1 or more "
                "than 256 colors.",
                "Bad file"};
        case ConvertResult::TooLarge:
            return {
                "Image too large - a 4-bit or 8-bit bitmap may have at most 4096 pixels, a "
                "16-bit bitmap at most 2048.",
                "Image too large"};
        case ConvertResult::UnsupportedInfoHeader:
            return {
                "This bitmap uses a newer header format whose colors cannot be read. Please "
                "save the picture as a classic Windows 3 bitmap (BMP with a 40-byte header) "
                "and try again.",
                "Unsupported bitmap"};
        case ConvertResult::NoPixels:
            return {"Image too small - the bitmap has too few pixels to make a texture.",
                    "Image too small"};
    }
    return {"The bitmap cannot be converted.", "Bad file"};
}
