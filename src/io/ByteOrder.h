#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "io/RomImage.h"

// ROM images come in two byte orders. Native order is the cartridge's own: the internal name at
// offset 0x20 starts "MOON". Swapped order exchanges the two bytes of every 16-bit pair, so the
// same bytes read "OMNO". The byte at position p of one order is the byte at p XOR 1 of the other.
// Files the editor keeps or writes are in swapped order; every offset it computes with is native.

enum class RomMarker {
    Native,   // "MOON" at 0x20
    Swapped,  // "OMNO" at 0x20
    Other,    // anything else, including a file too short to hold the marker
};

inline constexpr std::uint32_t MARKER_OFFSET = 0x20;

// Reads the four marker bytes at MARKER_OFFSET of a file's leading bytes.
RomMarker ReadMarker(std::span<const std::uint8_t> leadingBytes);

// Exchanges the two bytes of every pair in place; an odd last byte stays where it is.
void SwapBytePairs(std::span<std::uint8_t> bytes);

// The bytes [offset, offset + count) of `image` seen in the other byte order: from a swapped file
// the native bytes at those positions, from a native file the swapped ones, whatever the parity
// of `offset`. `image` must be a whole image (an even number of bytes) with offset + count within
// it; otherwise the result is empty.
std::vector<std::uint8_t> CopySwappedRange(std::span<const std::uint8_t> image, std::uint32_t count,
                                           std::uint32_t offset);
