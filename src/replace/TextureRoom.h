#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

#include "catalogue/ImageTable.h"

// Room assumed for a texture the image table does not bound.
inline constexpr std::uint32_t DEFAULT_ROOM = 0x200;

// The room a texture at native ROM offset `offset` may occupy: the table holds offset - 1 as
// entry j (the first such entry; unsigned arithmetic, so offset 0 looks for 0xFFFFFFFF), and the
// room is entry j + 1 - entry j - 1, in 32-bit arithmetic. DEFAULT_ROOM when there is no table,
// no such entry, or the match is the table's last value present (nothing follows to bound it).
std::uint32_t AvailableRoom(const std::optional<ImageTable>& table, std::uint32_t offset);

// Reads `count` bytes of the native image starting at native position `offset` from a
// swapped-order ROM file, reading only the pairs that hold them. Stops at the end of the image
// (ROM_IMAGE_SIZE) and at the end of the file: the result holds only bytes actually read, so it
// may be shorter than `count`. nullopt when the file cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadRomBytes(const std::filesystem::path& swappedRom,
                                                      std::uint32_t offset, std::size_t count);

// The byte that gives a texture's palette size: byte 1 of its record (entries - 1). nullopt when
// the ROM cannot be read there.
std::optional<std::uint8_t> PaletteByte(const std::filesystem::path& swappedRom,
                                        std::uint32_t offset);
