#pragma once

#include <cstdint>

// Every ROM image the editor reads or writes is exactly this long.
inline constexpr std::uint32_t ROM_IMAGE_SIZE = 0xC00000;

// Scratch files, kept in the current folder. The working copy holds a native-order ROM converted
// to swapped order; the temporary image is where a new ROM is assembled.
inline constexpr const char* WORKING_COPY_NAME = "rightFlippedROM.rom";
inline constexpr const char* TEMP_IMAGE_NAME = "tempflipped.bin";
