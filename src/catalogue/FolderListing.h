#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Case-insensitive file lookups. The catalogue's folder and file names come from a platform that
// ignores letter case, so "08 08", "0808.INI" and "WALL.BMP" must be found however they are
// spelled on disk.

// True when `name` matches the wildcard `pattern` ('*' any run, '?' any one character), ignoring
// the case of ASCII letters.
bool WildcardMatch(std::string_view pattern, std::string_view name);

// Joins `relative` (components separated by '/' or '\\') to `base`, replacing each component by
// the spelling of an existing entry that equals it without regard to case (an exact match wins).
// Components with no such entry are kept as written, so the result is also the path at which a
// missing file would be created.
std::filesystem::path ResolvePathIgnoringCase(const std::filesystem::path& base,
                                              std::string_view relative);

struct FolderMatch {
    std::filesystem::path fullPath;
    std::string name;   // file name without folder
    std::string title;  // file name without its last extension
};

struct FolderListing {
    bool readable = false;             // false when the folder is missing or cannot be listed
    std::vector<FolderMatch> matches;  // regular files only, in name order
};

// Lists the regular files of `folder` whose names match `pattern`. Name order: ignoring case,
// then by exact spelling, so the result does not depend on the file system's own order.
FolderListing ListMatching(const std::filesystem::path& folder, std::string_view pattern);
