#include "catalogue/ImageTable.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "io/FileBytes.h"
#include "io/LittleEndian.h"

ImageTable ParseImageTable(std::span<const std::uint8_t> fileBytes) {
    ImageTable table;
    const std::size_t count = std::min(fileBytes.size() / 4, IMAGE_TABLE_LENGTH);
    table.values.resize(count);
    if (count == 0) {
        return table;
    }
    if constexpr (std::endian::native == std::endian::little) {
        // The file's layout is the host's: every click on a texture reads the table.
        std::memcpy(table.values.data(), fileBytes.data(), 4 * count);
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            table.values[i] = LoadU32(fileBytes, 4 * i);
        }
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
