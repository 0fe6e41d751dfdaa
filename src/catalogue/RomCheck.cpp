#include "catalogue/RomCheck.h"

#include <system_error>

#include "io/ByteOrder.h"
#include "io/FileBytes.h"

namespace {

// Enough of the header for every check.
constexpr std::size_t ROM_HEADER_BYTES = 0x40;

constexpr std::uint32_t COUNTRY_OFFSET = 0x3E;
constexpr std::uint8_t COUNTRY_NORTH_AMERICA = 0x45;
constexpr std::uint8_t COUNTRY_EUROPE = 0x50;
constexpr std::uint8_t COUNTRY_JAPAN = 0x4A;

bool IsOtherRegion(std::uint8_t country) {
    return country == COUNTRY_EUROPE || country == COUNTRY_JAPAN;
}

}  // namespace

RomVerdict CheckRomFile(std::span<const std::uint8_t> leadingBytes, std::uint64_t fileLength) {
    auto byteAt = [&](std::uint32_t offset) -> std::uint8_t {
        return offset < leadingBytes.size() ? leadingBytes[offset] : 0;
    };
    const std::uint8_t first = byteAt(COUNTRY_OFFSET);
    const std::uint8_t second = byteAt(COUNTRY_OFFSET + 1);
    const RomMarker marker = ReadMarker(leadingBytes);

    RomVerdict verdict = RomVerdict::WrongGame;
    if (marker == RomMarker::Native) {
        if (first == COUNTRY_NORTH_AMERICA && second == 0) {
            verdict = RomVerdict::Native;
        } else if (IsOtherRegion(first) && second == 0) {
            verdict = RomVerdict::WrongRegion;
        }
    } else if (first == 0 && second == COUNTRY_NORTH_AMERICA && marker == RomMarker::Swapped) {
        verdict = RomVerdict::Swapped;
    } else if (first == 0 && IsOtherRegion(second)) {
        verdict = RomVerdict::WrongRegion;
    }

    const bool accepted = verdict == RomVerdict::Native || verdict == RomVerdict::Swapped;
    if (accepted && fileLength != ROM_IMAGE_SIZE) {
        return RomVerdict::WrongSize;
    }
    return verdict;
}

RomFileCheck CheckRomPath(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return {RomVerdict::NotFound, 0};
    }
    if (!std::filesystem::is_regular_file(path, error)) {
        return {RomVerdict::NotAFile, 0};
    }
    const auto header = ReadFileBytes(path, ROM_HEADER_BYTES);
    const std::uintmax_t length = std::filesystem::file_size(path, error);
    if (!header || error) {
        return {RomVerdict::CannotRead, 0};
    }
    return {CheckRomFile(*header, length), length};
}
