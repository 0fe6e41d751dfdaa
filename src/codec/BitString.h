#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Bit-strings: text made of '0' and '1', one character per bit, in the order the bits appear in
// a DEFLATE stream (RFC 1951). Huffman codes are written most significant bit first, the extra
// bits after a length or distance symbol least significant bit first.

// The low `width` bits of `value`, most significant first, exactly `width` characters. A negative
// value gives the low bits of its two's complement. "ERROR" when `width` is outside 1 to 16 or
// `value` is above 65535.
std::string NumberToBits(std::int32_t value, std::int32_t width);

// The characters of `bits` in reverse order.
std::string ReverseBitString(std::string_view bits);

// Codes of the high and low nibble of a literal byte: HighNibbleCodes()[b / 16] followed by
// LowNibbleCodes()[b % 16] is the fixed literal code of b. Built on first use, read-only after.
const std::array<std::string, 16>& HighNibbleCodes();
const std::array<std::string, 16>& LowNibbleCodes();

// The fixed Huffman code of the literal `byte`: 8 bits for 0 to 143, 9 bits for 144 to 255.
std::string LiteralToBits(std::uint8_t byte);

// The fixed-code bits of a match length: symbol code, then its extra bits. "ERROR" for 0 to 2,
// the empty bit-string for negative lengths and lengths above 258.
std::string LengthToBits(std::int32_t length);

// The fixed-code bits of a match distance: five-bit symbol code, then its extra bits. 0 gives the
// code of distance 1; negative distances and distances above 4096 give the empty bit-string.
std::string DistanceToBits(std::int32_t distance);

// One element per character of `bits`: 0 for '0', 1 for anything else. The bit count is the
// size of the result.
std::vector<std::uint8_t> BitStringToArray(std::string_view bits);

// Appends `bits` (elements 0 or non-zero) to `output`, eight to a byte, the first bit of each
// group in bit 7; a final partial group leaves its low bits 0. Returns the number of bytes
// appended, the bit count divided by 8 rounded up.
std::size_t PackBits(std::span<const std::uint8_t> bits, std::vector<std::uint8_t>& output);

// Mirrors the eight bits of every byte at positions `start` up to `end` - 1 of `buffer` in place
// (bit k takes the old bit 7 - k). `end` is clamped to the buffer's size; nothing happens when
// `start` is at or past the clamped end. Applied to the bytes of PackBits it gives the RFC 1951
// packing: the first bit of the stream in bit 0 of the first byte.
void ReverseBitOrder(std::span<std::uint8_t> buffer, std::size_t end, std::size_t start);
