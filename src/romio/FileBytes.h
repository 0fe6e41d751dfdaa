#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <vector>

// Reads up to `maxBytes` bytes from the start of the regular file at `path`. Returns nullopt when
// the path is not a regular file (missing, a folder) or cannot be opened or read. Never throws
// for input or output errors.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(
    const std::filesystem::path& path,
    std::size_t maxBytes = std::numeric_limits<std::size_t>::max());
