#include "codec/TextureRecordScan.h"

#include <algorithm>
#include <cstring>

#include "io/ByteOrder.h"

namespace {

constexpr std::uint8_t MAGIC_HIGH = 0x11;
constexpr std::uint8_t MAGIC_LOW = 0x72;

// The header checks that need no inflating, for a record whose palette has `count` entries and
// that starts at `start`; the stream identifier is known to follow the dimensions.
bool HeaderFits(std::span<const std::uint8_t> image, std::size_t start, unsigned count) {
    const std::uint8_t code = image[start];
    if (code < 0x09 || code > 0x0C || image[start + 1] != count - 1) {
        return false;
    }
    if ((code % 2 == 0) != (count < 16)) {
        return false;
    }
    const std::size_t dims = start + 2 + 2 * std::size_t{count};
    return image[dims] != 0 && image[dims + 1] != 0;
}

// Every record whose stream identifier is the pair at `magic`: one candidate per palette count.
void TryHeadersBefore(std::span<const std::uint8_t> image, std::size_t magic,
                      std::vector<FoundRecord>& found) {
    for (unsigned count = 1; count <= 256; ++count) {
        const std::size_t headerBeforeMagic = 4 + 2 * std::size_t{count};
        if (headerBeforeMagic > magic) {
            break;
        }
        const std::size_t start = magic - headerBeforeMagic;
        if (!HeaderFits(image, start, count)) {
            continue;
        }
        RecordDecodeOutcome outcome = DecodeTextureRecord(image.subspan(start));
        if (outcome.result == RecordDecodeResult::Ok) {
            found.push_back(
                FoundRecord{static_cast<std::uint32_t>(start), std::move(outcome.texture)});
        }
    }
}

}  // namespace

std::vector<FoundRecord> ScanTextureRecords(std::span<const std::uint8_t> nativeImage) {
    std::vector<FoundRecord> found;
    const std::uint8_t* const begin = nativeImage.data();
    const std::uint8_t* const end = begin + nativeImage.size();
    if (nativeImage.size() < 2) {
        return found;
    }
    // memchr runs through the bytes far faster than a loop could; each hit is checked for the
    // second byte of the pair.
    const std::uint8_t* p = begin;
    while (p < end) {
        const void* hit = std::memchr(p, MAGIC_LOW, static_cast<std::size_t>(end - p));
        if (hit == nullptr) {
            break;
        }
        const auto* low = static_cast<const std::uint8_t*>(hit);
        if (low > begin && low[-1] == MAGIC_HIGH) {
            TryHeadersBefore(nativeImage, static_cast<std::size_t>(low - 1 - begin), found);
        }
        p = low + 1;
    }
    // Candidates of one pair come in decreasing offset, and a start offset fixes its palette
    // count and so its pair: sorting leaves each record once, in order.
    std::sort(found.begin(), found.end(),
              [](const FoundRecord& a, const FoundRecord& b) { return a.offset < b.offset; });
    return found;
}

std::vector<FoundRecord> ScanTextureRecordsAnyOrder(std::span<const std::uint8_t> image) {
    if (ReadMarker(image) != RomMarker::Swapped) {
        return ScanTextureRecords(image);
    }
    std::vector<std::uint8_t> native(image.begin(), image.end());
    SwapBytePairs(native);
    return ScanTextureRecords(native);
}
