#include "romio/FileBytes.h"

#include <algorithm>
#include <fstream>
#include <system_error>

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t maxBytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::vector<char> chunk(1 << 16);
    while (bytes.size() < maxBytes && in) {
        const std::size_t want = std::min(chunk.size(), maxBytes - bytes.size());
        in.read(chunk.data(), static_cast<std::streamsize>(want));
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + in.gcount());
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}
