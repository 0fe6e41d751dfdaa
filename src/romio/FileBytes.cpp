#include "romio/FileBytes.h"

#include <algorithm>
#include <exception>
#include <fstream>
#include <system_error>

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t maxBytes) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::is_regular_file(status)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return std::nullopt;
    }
    // The size is only a hint (the file may change while it is read): read up to it in one go,
    // then on in chunks until the end.
    const std::streamoff hint = in.tellg();
    in.seekg(0);
    std::vector<std::uint8_t> bytes(
        hint > 0 ? static_cast<std::size_t>(std::min<std::uintmax_t>(hint, maxBytes)) : 0);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    constexpr std::size_t CHUNK = 1 << 16;
    // Only a file that grew since its size was taken has more; most end right here.
    while (in && bytes.size() < maxBytes && in.peek() != std::ifstream::traits_type::eof()) {
        const std::size_t have = bytes.size();
        bytes.resize(have + std::min(CHUNK, maxBytes - have));
        in.read(reinterpret_cast<char*>(bytes.data() + have),
                static_cast<std::streamsize>(bytes.size() - have));
        bytes.resize(have + static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

bool ReadWholeFileInto(const std::filesystem::path& path, std::span<std::uint8_t> into) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(into.data()), static_cast<std::streamsize>(into.size()));
    if (!in || static_cast<std::size_t>(in.gcount()) != into.size()) {
        return false;
    }
    // Exactly that long: nothing may follow.
    return in.peek() == std::ifstream::traits_type::eof() && !in.bad();
}

bool SameFile(const std::filesystem::path& first, const std::filesystem::path& second) {
    try {
        std::error_code firstError;
        std::error_code secondError;
        const auto a = std::filesystem::weakly_canonical(first, firstError);
        const auto b = std::filesystem::weakly_canonical(second, secondError);
        if (!firstError && !secondError && a == b) {
            return true;
        }
        std::error_code error;
        if (!std::filesystem::exists(first, error) || !std::filesystem::exists(second, error)) {
            return false;
        }
        return std::filesystem::equivalent(first, second, error) && !error;
    } catch (const std::exception&) {
        return false;  // only an allocation failure gets here; "different" writes nothing wrong
    }
}
