#include "catalogue/CatalogueScan.h"

#include <algorithm>
#include <iterator>
#include <system_error>

#include "catalogue/DescriptionFile.h"
#include "catalogue/FolderListing.h"
#include "catalogue/ParseHex.h"
#include "io/AtomicFile.h"
#include "io/FileBytes.h"
#include "io/LittleEndian.h"

namespace {

constexpr std::size_t USER_HEADER_BYTES = 48;

// Format notes (PNG start): the signature 89 'P' 'N' 'G' 0D 0A 1A 0A, then the IHDR chunk
// (length 13, "IHDR"): width and height big-endian 32-bit at offsets 16 and 20, bit depth at 24,
// colour type at 25 (3: indexed).
constexpr std::uint8_t PNG_SIGNATURE[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t PNG_IHDR_END = 26;
constexpr std::uint8_t PNG_INDEXED = 3;

bool IsPngStart(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= PNG_IHDR_END &&
           std::equal(std::begin(PNG_SIGNATURE), std::end(PNG_SIGNATURE), bytes.begin());
}

std::uint32_t LoadBigU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

// A PNG side too long for the 16-bit size rules stays too long.
std::uint16_t SixteenBits(std::uint32_t side) {
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(side, 0xFFFF));
}

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
    // One listing in name order, bitmaps and PNG pictures alike.
    const FolderListing listing = ListMatching(ClassFolderPath(programFolder, USER_CLASS), "*");
    std::size_t leftOut = 0;
    for (const FolderMatch& match : listing.matches) {
        if (!WildcardMatch(BITMAP_PATTERN, match.name) && !WildcardMatch(PNG_PATTERN, match.name)) {
            continue;
        }
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
    if (IsPngStart(leadingBytes)) {
        // Indexed pictures convert as 4 or 8-bit bitmaps; other kinds as true colour.
        const std::uint8_t depth = leadingBytes[24];
        const bool indexed = leadingBytes[25] == PNG_INDEXED;
        return {SixteenBits(LoadBigU32(leadingBytes, 16)),
                SixteenBits(LoadBigU32(leadingBytes, 20)),
                static_cast<std::uint16_t>(!indexed     ? 24
                                           : depth <= 4 ? 4
                                                        : 8)};
    }
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
