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
