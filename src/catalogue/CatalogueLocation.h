#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

// Where the catalogue (romimages/ and tableBinary.bin) is looked for. A copy beside the
// executable comes first, as in a build folder or an unpacked kit; an installed program's folder
// is not the user's to write, so the user's data folder comes next.

// Name of the program's folder inside the user's data folder.
inline constexpr const char* USER_DATA_FOLDER_NAME = "MGROMImageEditor";

// The program's folder in the user's data folder: $XDG_DATA_HOME/MGROMImageEditor, or
// $HOME/.local/share/MGROMImageEditor when XDG_DATA_HOME is unset, empty or not an absolute path
// (such a value is ignored). nullopt when neither gives an absolute path. The arguments are the
// variables' values, empty when unset.
std::optional<std::filesystem::path> UserDataFolder(std::string_view xdgDataHome,
                                                    std::string_view home);

// The folders searched for the catalogue, in order: `executableFolder`, then UserDataFolder
// (when there is one and it differs).
std::vector<std::filesystem::path> CatalogueCandidates(
    const std::filesystem::path& executableFolder, std::string_view xdgDataHome,
    std::string_view home);

// The first candidate that holds a "romimages" folder (any letter case). When none does:
// `executableFolder`, so that a missing catalogue is reported where it is expected first, unless
// the user may not write there (an installed program): then the user's data folder, where a
// catalogue built from the user's ROM can be written and is found on the next start.
std::filesystem::path FindCatalogueFolder(const std::filesystem::path& executableFolder,
                                          std::string_view xdgDataHome, std::string_view home,
                                          bool executableFolderWritable = true);

// The same for this process: reads XDG_DATA_HOME and HOME from the environment, and asks the
// system whether the executable's folder may be written.
std::optional<std::filesystem::path> ThisUserDataFolder();
std::filesystem::path FindCatalogueFolderFor(const std::filesystem::path& executableFolder);
