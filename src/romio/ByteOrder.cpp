#include "romio/ByteOrder.h"

#include <algorithm>

RomMarker ReadMarker(std::span<const std::uint8_t> leadingBytes) {
    if (leadingBytes.size() < MARKER_OFFSET + 4) {
        return RomMarker::Other;
    }
    const auto marker = leadingBytes.subspan(MARKER_OFFSET, 4);
    auto is = [&](const char* text) { return std::equal(marker.begin(), marker.end(), text); };
    if (is("MOON")) {
        return RomMarker::Native;
    }
    if (is("OMNO")) {
        return RomMarker::Swapped;
    }
    return RomMarker::Other;
}

void SwapBytePairs(std::span<std::uint8_t> bytes) {
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        std::swap(bytes[i], bytes[i + 1]);
    }
}

std::vector<std::uint8_t> CopySwappedRange(std::span<const std::uint8_t> image, std::uint32_t count,
                                           std::uint32_t offset) {
    if (image.size() % 2 != 0 || std::uint64_t{offset} + count > image.size()) {
        return {};
    }
    std::vector<std::uint8_t> range(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        range[i] = image[(offset + i) ^ 1u];
    }
    return range;
}
