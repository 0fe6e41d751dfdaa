#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Decodes the run-length encoded pixels `data` of a width x height bitmap (biCompression 1 with
// 8 bits per pixel, 2 with 4 bits) into the rows the same bitmap stores uncompressed: bottom-up,
// each padded to a multiple of 4 bytes. Runs that pass a row's end are cut there, moves past
// the last row end the decoding, and pixels the stream does not reach keep index 0.
// nullopt when `bitCount` is neither 4 nor 8, a size is not positive, or the rows would take
// more than 64 MiB.
std::optional<std::vector<std::uint8_t>> DecodeRunLength(std::span<const std::uint8_t> data,
                                                         std::uint16_t bitCount, std::int32_t width,
                                                         std::int32_t height);
