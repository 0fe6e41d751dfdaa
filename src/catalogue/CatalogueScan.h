#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "catalogue/SizeClassTable.h"

// Bitmap name pattern of every class folder. "*.bmp*" also takes names such as "wall.bmp.old",
// and matching ignores letter case.
inline constexpr const char* BITMAP_PATTERN = "*.bmp*";
// The User class also lists PNG pictures.
inline constexpr const char* PNG_PATTERN = "*.png";

// Why a User bitmap is not loaded.
enum class UserBitmapReason {
    Accepted,           // the bitmap is loaded; never part of a report
    CannotRead,         // the file cannot be read
    BadSize,            // a width or height that no texture has
    NotFourOrEightBit,  // a size that fits, but not 4 or 8 bits per pixel
    Pad28x26,           // 0x26 x 0x26: the game's size needs padding to 0x28 x 0x26
    Pad48x11,           // 0x41 x 0x11: the game's size needs padding to 0x48 x 0x11
    Pad28x21,           // 0x21 x 0x21: the game's size needs padding to 0x28 x 0x21
};

// A User bitmap left out by the scan.
struct UserBitmapRefusalEntry {
    std::string fileName;
    UserBitmapReason reason = UserBitmapReason::CannotRead;
};

// What the user must be told after a catalogue scan, in the order it happened.
struct ScanReport {
    // Game classes (0 to 22) whose folder yielded no bitmap, in class order.
    std::vector<int> classesWithoutBitmaps;
    // The User bitmaps that were not loaded, in name order.
    std::vector<UserBitmapRefusalEntry> userRefusals;
    // Classes that held more bitmaps than a class can take, with how many were left out.
    struct Overflow {
        int sizeClass;
        std::size_t leftOut;
    };
    std::vector<Overflow> overflows;
};

// Why a User bitmap is refused, judged from its header's width, height and bit count (each
// the low 16 bits of its field); Accepted when it is loaded. Widths 0x26, 0x41 and 0x21 are
// sizes of the game that need padding.
UserBitmapReason UserBitmapRefusal(std::uint16_t width, std::uint16_t height,
                                   std::uint16_t bitCount);

// The width, height and bit count fields of a bitmap's first 48 bytes; missing bytes read 0.
struct UserBitmapHeader {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t bitCount = 0;
};
UserBitmapHeader ReadUserBitmapHeader(std::span<const std::uint8_t> leadingBytes);

// Rebuilds the catalogue from the class folders below `programFolder`. `table` must have been
// reset for load. For each class in order: a missing description file is created empty (game
// classes), the folder's bitmaps are appended in name order (at most MAX_CLASS_ENTRIES), User
// bitmaps are checked by their headers, and the description lines are given to the entries
// whose offset matches. Every slot of the game classes that ends without a description reads
// NO_DESCRIPTION. Folders or files that cannot be read are skipped; the scan always completes.
ScanReport ScanCatalogue(const std::filesystem::path& programFolder, SizeClassTable& table);
