#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

// Image table format ("tableBinary.bin" beside the program): IMAGE_TABLE_LENGTH unsigned 32-bit
// little-endian ROM positions, no header. A texture at ROM offset X is found as the value X - 1;
// the value after it bounds the room of that texture's data.
inline constexpr std::size_t IMAGE_TABLE_LENGTH = 2699;
inline constexpr const char* IMAGE_TABLE_FILE = "tableBinary.bin";

struct ImageTable {
    // The values actually present: at most IMAGE_TABLE_LENGTH, fewer when the file is short (a
    // trailing partial value is not used). Extra bytes beyond the table are ignored.
    std::vector<std::uint32_t> values;
};

// Decodes the table from the file's bytes.
ImageTable ParseImageTable(std::span<const std::uint8_t> fileBytes);

// Reads the table file; nullopt when it does not exist or cannot be opened.
std::optional<ImageTable> ReadImageTable(const std::filesystem::path& path);
