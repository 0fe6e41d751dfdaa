#include "catalogue/SizeClasses.h"

#include "catalogue/FolderListing.h"
#include "catalogue/ParseHex.h"

namespace {

constexpr std::array<SizeClassInfo, SIZE_CLASS_COUNT> kSizeClasses = {{
    {"08 x 08", "\\romimages\\08 08\\", "0808.ini", "N"},
    {"08 x 80", "\\romimages\\08 80\\", "0880.ini", "N"},
    {"10 x 10", "\\romimages\\10 10\\", "1010.ini", "N"},
    {"10 x 10G", "\\romimages\\10 10G\\", "1010G.ini", "G"},
    {"10 x 20", "\\romimages\\10 20\\", "1020.ini", "N"},
    {"10 x 20G", "\\romimages\\10 20G\\", "1020G.ini", "G"},
    {"10 x 40", "\\romimages\\10 40\\", "1040.ini", "N"},
    {"20 x 20", "\\romimages\\20 20\\", "2020.ini", "N"},
    {"20 x 20G", "\\romimages\\20 20G\\", "2020G.ini", "G"},
    {"21 x 21", "\\romimages\\21 21\\", "2121.ini", "N"},
    {"26 x 26", "\\romimages\\26 26\\", "2626.ini", "N"},
    {"20 x 30", "\\romimages\\20 30\\", "2030.ini", "N"},
    {"20 x 40", "\\romimages\\20 40\\", "2040.ini", "N"},
    {"20 x 40G", "\\romimages\\20 40G\\", "2040G.ini", "G"},
    {"30 x 20", "\\romimages\\30 20\\", "3020.ini", "N"},
    {"40 x 10", "\\romimages\\40 10\\", "4010.ini", "N"},
    {"40 x 11", "\\romimages\\40 11\\", "4011.ini", "N"},
    {"40 x 20", "\\romimages\\40 20\\", "4020.ini", "N"},
    {"80 x 08", "\\romimages\\80 08\\", "8008.ini", "N"},
    {"80 x 09", "\\romimages\\80 09\\", "8009.ini", "N"},
    {"80 x 0B", "\\romimages\\80 0B\\", "800B.ini", "N"},
    {"80 x 0C", "\\romimages\\80 0C\\", "800C.ini", "N"},
    {"80 x 10G", "\\romimages\\80 10G\\", "8010G.ini", "G"},
    {"User", "\\romimages\\User\\", "User.ini", "N"},
}};

}  // namespace

const std::array<SizeClassInfo, SIZE_CLASS_COUNT>& SizeClasses() {
    return kSizeClasses;
}

std::uint32_t ClassWidth(int sizeClass) {
    if (sizeClass == USER_CLASS) {
        return 0;
    }
    return ParseHex(kSizeClasses.at(sizeClass).descriptionFile.substr(0, 2));
}

std::uint32_t ClassHeight(int sizeClass) {
    if (sizeClass == USER_CLASS) {
        return 0;
    }
    return ParseHex(kSizeClasses.at(sizeClass).descriptionFile.substr(2, 2));
}

std::filesystem::path ClassFolderPath(const std::filesystem::path& programFolder, int sizeClass) {
    return ResolvePathIgnoringCase(programFolder, kSizeClasses.at(sizeClass).folder);
}

std::filesystem::path DescriptionFilePath(const std::filesystem::path& programFolder,
                                          int sizeClass) {
    return ResolvePathIgnoringCase(ClassFolderPath(programFolder, sizeClass),
                                   kSizeClasses.at(sizeClass).descriptionFile);
}
