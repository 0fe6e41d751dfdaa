#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// The game's 24 texture size classes. The class index is the row of the size-class combo box and
// is used everywhere to address the catalogue.
inline constexpr int SIZE_CLASS_COUNT = 24;
// Class of the user's own bitmaps: no description file, sizes taken from each bitmap.
inline constexpr int USER_CLASS = 23;

struct SizeClassInfo {
    std::string_view comboLabel;       // row text of the size-class combo box
    std::string_view folder;           // catalogue folder, written as "\romimages\08 08\"
    std::string_view descriptionFile;  // description file inside the folder ("0808.ini")
    std::string_view formatFlag;       // "G" or "N": picks the texture record's format code
};

// The read-only table of the 24 classes, indexed by class.
const std::array<SizeClassInfo, SIZE_CLASS_COUNT>& SizeClasses();

// Width and height of a class's textures, read from the first two and the next two characters of
// its description file's name ("800B.ini" gives 128 x 11). Class USER_CLASS has no fixed size and
// gives 0. `sizeClass` must be a valid class index.
std::uint32_t ClassWidth(int sizeClass);
std::uint32_t ClassHeight(int sizeClass);

// The class folder below `programFolder`, with this host's separators. Folder names are matched
// without regard to letter case, as the catalogue may have been unpacked on a system that ignores
// case: an existing folder whose name differs only in case is returned in its own spelling.
std::filesystem::path ClassFolderPath(const std::filesystem::path& programFolder, int sizeClass);

// The description file of a class (0 to 22) inside its folder, matched like the folder.
std::filesystem::path DescriptionFilePath(const std::filesystem::path& programFolder,
                                          int sizeClass);
