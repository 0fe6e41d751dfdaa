#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// The demo kit: a complete set-up for trying the editor without any of the game's own data. It
// holds a native-order ROM image "MOONGLASS.ROM" whose header passes every check of Load ROM and
// whose texture records are made by the project's own compressor from generated pictures, one
// folder of bitmaps and a description file per size class, the image table "tableBinary.bin"
// that bounds the room of every texture, a few user bitmaps, and a README.txt that says where
// everything is and which user bitmaps fit which textures. The kit is the same, byte for byte,
// every time it is made.

inline constexpr const char* DEMO_ROM_NAME = "MOONGLASS.ROM";
inline constexpr const char* DEMO_README_NAME = "README.txt";
// The internal name written at offset 0x20, padded with spaces to 20 bytes.
inline constexpr const char* DEMO_INTERNAL_NAME = "MOONGLASS";
// Textures lie at this offset and above, clear of the header and of the offsets below 0x10000
// that the editor gives to user bitmaps.
inline constexpr std::uint32_t DEMO_FIRST_TEXTURE = 0x10000;

// One file of the kit: its path below the kit's folder ('/' separated) and its bytes.
struct KitFile {
    std::string relativePath;
    std::vector<std::uint8_t> bytes;
};

struct DemoKitContents {
    bool ok = false;
    std::string error;  // why the kit could not be built; empty when ok
    std::vector<KitFile> files;
    int textureCount = 0;     // game textures placed in the image
    int userBitmapCount = 0;  // bitmaps in the User folder
};

// Builds every file of the kit in memory, in a fixed order: the ROM image, the image table, the
// class folders' bitmaps and description files, the user bitmaps, README.txt. Fails only when a
// picture cannot be turned into a texture record, which the kit's own pictures never cause.
DemoKitContents BuildDemoKit();

struct DemoKitResult {
    bool ok = false;
    std::string message;  // what was written, or what failed
};

// Builds the kit and writes it into `dir`, creating the folder and its sub-folders as needed.
// Each file is written as WriteFileAtomically writes (whole, forced to the disk, renamed over any
// existing file of that name), so a file of the kit is never seen half written. Files of `dir`
// that the kit does not contain are left alone. Stops at the first file that cannot be written;
// the message names it.
DemoKitResult MakeDemoKit(const std::filesystem::path& dir);
