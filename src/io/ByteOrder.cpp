#include "io/ByteOrder.h"

#include <algorithm>
#include <cstring>

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
    // Eight bytes at a time: a whole image is swapped at every load and save.
    constexpr std::uint64_t LOW_BYTES = 0x00FF00FF00FF00FFull;
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        word = (word & LOW_BYTES) << 8 | (word >> 8 & LOW_BYTES);
        std::memcpy(bytes.data() + i, &word, 8);
    }
    for (; i + 1 < bytes.size(); i += 2) {
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
