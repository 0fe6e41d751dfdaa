#include "catalogue/ImageTable.h"

#include <algorithm>

#include "romio/FileBytes.h"
#include "romio/LittleEndian.h"

ImageTable ParseImageTable(std::span<const std::uint8_t> fileBytes) {
    ImageTable table;
    const std::size_t count = std::min(fileBytes.size() / 4, IMAGE_TABLE_LENGTH);
    table.values.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        table.values.push_back(LoadU32(fileBytes, 4 * i));
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
