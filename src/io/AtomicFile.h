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
// them: the bytes go to a new, uniquely named temporary file in the destination's folder, which
// is flushed and closed, every step checked, and then renamed over the destination. On any
// failure the temporary file is removed and the destination is untouched. A new file takes the
// permissions of the file it replaces. The destination's folder must exist; a symbolic link at
// `destination` is itself replaced, not the file it names. Durability across a power loss is
// not attempted (standard C++ cannot force data to the disk).
FileWriteResult WriteFileAtomically(const std::filesystem::path& destination,
                                    std::span<const std::uint8_t> bytes);

// Writes `bytes` over the existing file `destination` in place, without truncating or replacing
// it: far cheaper than a new file for a large scratch file that is rewritten again and again.
// Fails, writing nothing, unless the file exists and is exactly as long as `bytes`. A failure
// part-way through can leave the file with a mix of old and new bytes, so use it only for files
// the caller can afford to rewrite whole afterwards.
FileWriteResult OverwriteFileInPlace(const std::filesystem::path& destination,
                                     std::span<const std::uint8_t> bytes);
