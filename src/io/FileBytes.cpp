#include "io/FileBytes.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <system_error>

namespace {

// A whole ROM image read into fresh memory costs thousands of page faults, each dearer than
// reading its 4 KiB; backed by huge pages, where the system offers them, it takes a handful.
void AdviseHugePages(std::vector<std::uint8_t>& bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t HUGE_PAGE = std::uintptr_t{2} << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t begin = (start + HUGE_PAGE - 1) & ~(HUGE_PAGE - 1);
    const std::uintptr_t end = (start + bytes.capacity()) & ~(HUGE_PAGE - 1);
    if (end > begin) {
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    }
#else
    (void)bytes;
#endif
}

}  // namespace

FileHandle OpenFileForReading(const std::filesystem::path& path) {
    FileHandle file(std::fopen(path.string().c_str(), "rb"));
    if (file) {
        // Reads go straight into the caller's buffer, with no stream buffer of their own.
        std::setvbuf(file.get(), nullptr, _IONBF, 0);
    }
    return file;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::filesystem::path& path,
                                                       std::size_t maxBytes) {
    // Only a regular file has a size: a folder or a missing file fails here.
    std::error_code error;
    const std::uintmax_t hint = std::filesystem::file_size(path, error);
    if (error) {
        return std::nullopt;
    }
    const FileHandle file = OpenFileForReading(path);
    if (!file) {
        return std::nullopt;
    }
    // The size is only a hint (the file may change while it is read): read up to it in one go,
    // then on in chunks until the end.
    const auto wanted = static_cast<std::size_t>(std::min<std::uintmax_t>(hint, maxBytes));
    std::vector<std::uint8_t> bytes;
    bytes.reserve(wanted);
    AdviseHugePages(bytes);
    bytes.resize(wanted);
    if (!bytes.empty()) {
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    }
    constexpr std::size_t CHUNK = 1 << 16;
    // Only a file that grew since its size was taken has more; most end right here.
    while (bytes.size() < maxBytes && !std::ferror(file.get())) {
        const int next = std::fgetc(file.get());
        if (next == EOF) {
            break;
        }
        bytes.push_back(static_cast<std::uint8_t>(next));
        const std::size_t have = bytes.size();
        bytes.resize(have + std::min(CHUNK, maxBytes - have));
        bytes.resize(have + std::fread(bytes.data() + have, 1, bytes.size() - have, file.get()));
    }
    if (std::ferror(file.get())) {
        return std::nullopt;
    }
    return bytes;
}

bool ReadWholeFileInto(const std::filesystem::path& path, std::span<std::uint8_t> into) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    const FileHandle file = OpenFileForReading(path);
    if (!file ||
        (!into.empty() && std::fread(into.data(), 1, into.size(), file.get()) != into.size())) {
        return false;
    }
    // Exactly that long: nothing may follow.
    return std::fgetc(file.get()) == EOF && !std::ferror(file.get());
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
