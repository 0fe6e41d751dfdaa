#include "replace/TextureRoom.h"

#include <algorithm>
#include <cstdio>

#include "io/FileBytes.h"
#include "io/RomImage.h"

std::uint32_t AvailableRoom(const std::optional<ImageTable>& table, std::uint32_t offset) {
    if (!table) {
        return DEFAULT_ROOM;
    }
    const std::vector<std::uint32_t>& values = table->values;
    const std::uint32_t key = offset - 1;
    const auto found = std::find(values.begin(), values.end(), key);
    if (found == values.end() || found + 1 == values.end()) {
        return DEFAULT_ROOM;
    }
    return *(found + 1) - *found - 1;
}

std::optional<std::vector<std::uint8_t>> ReadRomBytes(const std::filesystem::path& swappedRom,
                                                      std::uint32_t offset, std::size_t count) {
    const FileHandle file = OpenFileForReading(swappedRom);
    if (!file) {
        return std::nullopt;
    }
    const std::uint64_t end =
        std::min<std::uint64_t>(std::uint64_t{offset} + count, ROM_IMAGE_SIZE);
    if (offset >= end) {
        return std::vector<std::uint8_t>{};
    }
    // Whole pairs cover the wanted bytes in either order.
    const std::uint64_t first = offset & ~std::uint64_t{1};
    const std::uint64_t last = (end + 1) & ~std::uint64_t{1};
    std::vector<std::uint8_t> pairs(static_cast<std::size_t>(last - first));
    // A seek past the end reads nothing, which the loop below treats as a short file.
    std::size_t got = 0;
    if (std::fseek(file.get(), static_cast<long>(first), SEEK_SET) == 0) {
        got = std::fread(pairs.data(), 1, pairs.size(), file.get());
    }
    if (std::ferror(file.get())) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    for (std::uint64_t p = offset; p < end; ++p) {
        const std::uint64_t stored = (p ^ 1) - first;
        if (stored >= got) {
            break;  // the file ends before this byte
        }
        bytes.push_back(pairs[static_cast<std::size_t>(stored)]);
    }
    return bytes;
}

std::optional<std::uint8_t> PaletteByte(const std::filesystem::path& swappedRom,
                                        std::uint32_t offset) {
    if (offset >= ROM_IMAGE_SIZE - 1) {
        return std::nullopt;
    }
    const auto bytes = ReadRomBytes(swappedRom, offset + 1, 1);
    if (!bytes || bytes->empty()) {
        return std::nullopt;
    }
    return bytes->front();
}
