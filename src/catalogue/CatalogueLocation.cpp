#include "catalogue/CatalogueLocation.h"

#include <cstdlib>
#include <system_error>

#include <unistd.h>

#include "catalogue/FolderListing.h"

namespace {

std::string_view Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

bool SameFolder(const std::filesystem::path& a, const std::filesystem::path& b) {
    return (a / "").lexically_normal() == (b / "").lexically_normal();
}

bool IsAbsolute(std::string_view value) {
    return !value.empty() && std::filesystem::path(value).is_absolute();
}

}  // namespace

std::optional<std::filesystem::path> UserDataFolder(std::string_view xdgDataHome,
                                                    std::string_view home) {
    if (IsAbsolute(xdgDataHome)) {
        return std::filesystem::path(xdgDataHome) / USER_DATA_FOLDER_NAME;
    }
    if (IsAbsolute(home)) {
        return std::filesystem::path(home) / ".local" / "share" / USER_DATA_FOLDER_NAME;
    }
    return std::nullopt;
}

std::vector<std::filesystem::path> CatalogueCandidates(
    const std::filesystem::path& executableFolder, std::string_view xdgDataHome,
    std::string_view home) {
    std::vector<std::filesystem::path> candidates{executableFolder};
    const auto userFolder = UserDataFolder(xdgDataHome, home);
    if (userFolder && !SameFolder(*userFolder, executableFolder)) {
        candidates.push_back(*userFolder);
    }
    return candidates;
}

std::filesystem::path FindCatalogueFolder(const std::filesystem::path& executableFolder,
                                          std::string_view xdgDataHome, std::string_view home,
                                          bool executableFolderWritable) {
    for (const auto& candidate : CatalogueCandidates(executableFolder, xdgDataHome, home)) {
        std::error_code error;
        if (std::filesystem::is_directory(ResolvePathIgnoringCase(candidate, "romimages"), error)) {
            return candidate;
        }
    }
    if (!executableFolderWritable) {
        return UserDataFolder(xdgDataHome, home).value_or(executableFolder);
    }
    return executableFolder;
}

std::optional<std::filesystem::path> ThisUserDataFolder() {
    return UserDataFolder(Environment("XDG_DATA_HOME"), Environment("HOME"));
}

std::filesystem::path FindCatalogueFolderFor(const std::filesystem::path& executableFolder) {
    const bool writable = ::access(executableFolder.c_str(), W_OK) == 0;
    return FindCatalogueFolder(executableFolder, Environment("XDG_DATA_HOME"), Environment("HOME"),
                               writable);
}
