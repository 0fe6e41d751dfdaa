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

// The first candidate that holds a "romimages" folder (any letter case); `executableFolder` when
// none does, so that a missing catalogue is reported where it is expected first.
std::filesystem::path FindCatalogueFolder(const std::filesystem::path& executableFolder,
                                          std::string_view xdgDataHome, std::string_view home);

// The same for this process: reads XDG_DATA_HOME and HOME from the environment.
std::optional<std::filesystem::path> ThisUserDataFolder();
std::filesystem::path FindCatalogueFolderFor(const std::filesystem::path& executableFolder);
