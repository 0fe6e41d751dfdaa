#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <vector>

// A file open for reading, closed when the handle goes.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// Opens a file for unbuffered binary reading; empty when it cannot be opened.
FileHandle OpenFileForReading(const std::filesystem::path& path);

// Reads up to `maxBytes` bytes from the start of the regular file at `path`. Returns nullopt when
// the path is not a regular file (missing, a folder) or cannot be opened or read. Never throws
// for input or output errors.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(
    const std::filesystem::path& path,
    std::size_t maxBytes = std::numeric_limits<std::size_t>::max());

// Fills `into` with the whole content of the regular file at `path`, which must be exactly
// into.size() bytes long. Lets a caller read a large file into storage it did not have to clear
// first. Returns false, with `into` holding whatever was read, when the file is missing, cannot
// be read, or is shorter or longer.
bool ReadWholeFileInto(const std::filesystem::path& path, std::span<std::uint8_t> into);

// Whether two paths name one file: the same path once made absolute and normalised, or, when both
// exist, one file reached by two names (links, another spelling of the folder). Never throws.
bool SameFile(const std::filesystem::path& first, const std::filesystem::path& second);
