#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

// What Load ROM makes of a chosen file, judged by its header and its length.
enum class RomVerdict {
    Native,       // the accepted ROM in native order: it needs a swapped working copy
    Swapped,      // the accepted ROM in swapped order: it is used in place
    WrongGame,    // another game, another version, or not a ROM at all
    WrongRegion,  // this game, but a PAL or Japanese cartridge
    WrongSize,    // an accepted header on a file that is not exactly one ROM image long
    NotFound,     // nothing exists at the path
    NotAFile,     // something exists at the path, but no regular file (a folder, a device)
    CannotRead,   // the file cannot be opened, read or measured
};

// Judges a file from its first bytes (at least 0x40 of them when the file has them; missing
// bytes count as 0) and its length. The header decides first, so a file that is no ROM at all is
// "another game" whatever its length.
//
// The accepted cartridge has country code 0x45 ('E') and version 0x00: in native order the
// bytes at 0x3E and 0x3F are 45 00, in swapped order 00 45. Version 0 with country 0x50 ('P') or
// 0x4A ('J') is the wrong region: bytes 50/4A 00 in a native file, 00 50/4A in any other.
RomVerdict CheckRomFile(std::span<const std::uint8_t> leadingBytes, std::uint64_t fileLength);

// A file judged by CheckRomPath: the verdict and the file's length in bytes (0 when unknown).
struct RomFileCheck {
    RomVerdict verdict = RomVerdict::NotFound;
    std::uint64_t length = 0;
};

// Judges the file at `path`: it must exist, be a regular file and be readable; then its header
// and length decide as in CheckRomFile. Never throws for input or output errors.
RomFileCheck CheckRomPath(const std::filesystem::path& path);
