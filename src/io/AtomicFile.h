#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

// Outcome of WriteFileAtomically.
struct FileWriteResult {
    bool ok = false;
    std::string error;  // what failed, naming the file; empty exactly when ok
};

// Replaces `destination` with `bytes` so that the file is either left as it was or holds all of
// them, also after a power loss: the bytes go to a new, uniquely named temporary file in the
// destination's folder, which is forced to the disk (fsync) and closed; the old file keeps a
// second name for the moment; the temporary file is renamed over the destination and the folder
// forced to the disk; then the second name goes. Every step is checked. On any failure the
// temporary file is removed, the old file (or its absence) is put back, and the error names the
// file, the step and the system's reason. A new file takes the permissions of the file it
// replaces. The destination's folder must exist; a symbolic link at `destination` is itself
// replaced, not the file it names.
FileWriteResult WriteFileAtomically(const std::filesystem::path& destination,
                                    std::span<const std::uint8_t> bytes);

// Writes `bytes` over the existing file `destination` in place, without truncating or replacing
// it, and forces them to the disk: far cheaper than a new file for a large scratch file that is
// rewritten again and again.
// Fails, writing nothing, unless the file exists and is exactly as long as `bytes`. A failure
// part-way through can leave the file with a mix of old and new bytes, so use it only for files
// the caller can afford to rewrite whole afterwards.
FileWriteResult OverwriteFileInPlace(const std::filesystem::path& destination,
                                     std::span<const std::uint8_t> bytes);

// Creates `folder` and any missing folders above it, each forced into its parent on the disk.
// Succeeds when the folder already exists.
FileWriteResult CreateFolders(const std::filesystem::path& folder);

// Creates an empty file at `path` unless something of that name exists already; fails, changing
// nothing, when its folder is missing. Nothing is forced to the disk: an empty file lost in a
// power loss is simply made again.
FileWriteResult CreateEmptyFileIfMissing(const std::filesystem::path& path);
