#pragma once

#include <cstdint>
#include <span>

// CRC-32 as zlib, PNG, ZIP and the IPS/BPS tools compute it: polynomial 0x04C11DB7 reflected
// (0xEDB88320), register preset to 0xFFFFFFFF, result inverted. ROM dump lists identify images by
// this value, and BPS patches carry it for their source, target and own bytes.

// Continues a CRC over `bytes`: `crc` is the finished CRC of everything before them (0 for
// nothing yet), and the result is the finished CRC of everything so far, so that
// Crc32Update(Crc32Update(0, a), b) == Crc32(a followed by b). Any length and alignment; reads
// nothing outside `bytes`.
std::uint32_t Crc32Update(std::uint32_t crc, std::span<const std::uint8_t> bytes);

// The CRC-32 of `bytes` alone: Crc32Update(0, bytes).
inline std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
    return Crc32Update(0, bytes);
}
