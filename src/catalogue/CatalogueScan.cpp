#include "catalogue/CatalogueScan.h"

#include <system_error>

#include "catalogue/DescriptionFile.h"
#include "catalogue/FolderListing.h"
#include "catalogue/ParseHex.h"
#include "io/AtomicFile.h"
#include "io/FileBytes.h"
#include "io/LittleEndian.h"

namespace {

constexpr std::size_t USER_HEADER_BYTES = 48;

void ScanGameClass(const std::filesystem::path& programFolder, int sizeClass, SizeClassTable& table,
                   ScanReport& report) {
    const std::filesystem::path descriptionPath = DescriptionFilePath(programFolder, sizeClass);
    // A folder that is missing or read-only just leaves the class without descriptions.
    CreateEmptyFileIfMissing(descriptionPath);

    const FolderListing listing =
        ListMatching(ClassFolderPath(programFolder, sizeClass), BITMAP_PATTERN);
    if (listing.matches.empty()) {
        report.classesWithoutBitmaps.push_back(sizeClass);
    }
    std::size_t leftOut = 0;
    for (const FolderMatch& match : listing.matches) {
        if (!table.AppendEntry(sizeClass, match.fullPath.string(),
                               ParseHex(std::string_view(match.name).substr(0, 6)),
                               ClassWidth(sizeClass), ClassHeight(sizeClass))) {
            ++leftOut;
        }
    }
    if (leftOut > 0) {
        report.overflows.push_back({sizeClass, leftOut});
    }

    // Entries take this load's lines only: a slot's text from an earlier load would describe
    // whatever texture held that slot then.
    SizeClassRecord& record = table[sizeClass];
    for (std::uint32_t k = 0; k < record.entryCount; ++k) {
        record.description[k].clear();
    }
    if (const auto lines = ReadDescriptionFile(descriptionPath)) {
        AssignDescriptions(record, *lines);
    }
}

void ScanUserClass(const std::filesystem::path& programFolder, SizeClassTable& table,
                   ScanReport& report) {
    const FolderListing listing =
        ListMatching(ClassFolderPath(programFolder, USER_CLASS), BITMAP_PATTERN);
    std::size_t leftOut = 0;
    for (const FolderMatch& match : listing.matches) {
        const auto leading = ReadFileBytes(match.fullPath, USER_HEADER_BYTES);
        if (!leading) {
            report.userRefusals.push_back({match.name, UserBitmapReason::CannotRead});
            continue;
        }
        const UserBitmapHeader header = ReadUserBitmapHeader(*leading);
        const UserBitmapReason reason =
            UserBitmapRefusal(header.width, header.height, header.bitCount);
        if (reason != UserBitmapReason::Accepted) {
            report.userRefusals.push_back({match.name, reason});
            continue;
        }
        const std::uint32_t k = table[USER_CLASS].entryCount;
        if (!table.AppendEntry(USER_CLASS, match.fullPath.string(), k, header.width,
                               header.height)) {
            ++leftOut;
            continue;
        }
        table[USER_CLASS].description[k] = match.title;
    }
    if (leftOut > 0) {
        report.overflows.push_back({USER_CLASS, leftOut});
    }
}

}  // namespace

UserBitmapReason UserBitmapRefusal(std::uint16_t width, std::uint16_t height,
                                   std::uint16_t bitCount) {
    using enum UserBitmapReason;
    switch (width) {
        case 0x26:
            return height == 0x26 ? Pad28x26 : BadSize;
        case 0x41:
            return height == 0x11 ? Pad48x11 : BadSize;
        case 0x21:
            return height == 0x21 ? Pad28x21 : BadSize;
        case 0x08:
        case 0x10:
        case 0x20:
        case 0x28:
        case 0x30:
        case 0x40:
        case 0x48:
            return bitCount == 8 || bitCount == 4 ? Accepted : NotFourOrEightBit;
        default:
            return BadSize;
    }
}

UserBitmapHeader ReadUserBitmapHeader(std::span<const std::uint8_t> leadingBytes) {
    return {LoadU16OrZero(leadingBytes, 18), LoadU16OrZero(leadingBytes, 22),
            LoadU16OrZero(leadingBytes, 28)};
}

ScanReport ScanCatalogue(const std::filesystem::path& programFolder, SizeClassTable& table) {
    ScanReport report;
    for (int sizeClass = 0; sizeClass < SIZE_CLASS_COUNT; ++sizeClass) {
        if (sizeClass == USER_CLASS) {
            ScanUserClass(programFolder, table, report);
        } else {
            ScanGameClass(programFolder, sizeClass, table, report);
        }
    }
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        for (std::string& description : table[sizeClass].description) {
            if (description.empty()) {
                description = NO_DESCRIPTION;
            }
        }
    }
    return report;
}
