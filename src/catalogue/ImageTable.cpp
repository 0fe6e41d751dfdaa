#include "catalogue/ImageTable.h"

#include <algorithm>

#include "romio/FileBytes.h"

ImageTable ParseImageTable(std::span<const std::uint8_t> fileBytes) {
    ImageTable table;
    const std::size_t count = std::min(fileBytes.size() / 4, IMAGE_TABLE_LENGTH);
    table.values.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = fileBytes.data() + 4 * i;
        table.values.push_back(
            static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
            static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
    }
    return table;
}

std::optional<ImageTable> ReadImageTable(const std::filesystem::path& path) {
    // Only the table's own bytes are read, whatever follows them.
    const auto bytes = ReadFileBytes(path, IMAGE_TABLE_LENGTH * 4);
    if (!bytes) {
        return std::nullopt;
    }
    return ParseImageTable(*bytes);
}
