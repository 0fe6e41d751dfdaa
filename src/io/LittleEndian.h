#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Little-endian fields, as bitmap files, the image table and patch files store them.

// Loads a field; the caller guarantees offset + the field's width <= bytes.size().
inline std::uint16_t LoadU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}
inline std::uint32_t LoadU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
           std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

// Loads a field from the leading bytes of a file that may be shorter: missing bytes read 0.
inline std::uint8_t ByteOrZero(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return offset < bytes.size() ? bytes[offset] : 0;
}
inline std::uint16_t LoadU16OrZero(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(ByteOrZero(bytes, offset) | ByteOrZero(bytes, offset + 1)
                                                                      << 8);
}
inline std::uint32_t LoadU32OrZero(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return std::uint32_t{LoadU16OrZero(bytes, offset)} |
           std::uint32_t{LoadU16OrZero(bytes, offset + 2)} << 16;
}

// Stores a field; the caller guarantees it fits.
inline void StoreU16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}
inline void StoreU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

// Appends a field to a growing buffer.
inline void AppendU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}
