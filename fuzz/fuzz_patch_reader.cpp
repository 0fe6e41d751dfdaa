// Reads and applies arbitrary bytes as a custom ROM patch against one fixed working image. A
// refused patch must give no image and a message; an accepted one must give an image of exactly
// ROM_IMAGE_SIZE bytes that differs from the working image only inside its records, and writing
// those records from that image must give back the very same patch bytes. The input's two
// halves are also diffed as small native images, and the patch made from them must read back.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "PatchFuzzSource.h"
#include "io/ByteOrder.h"
#include "io/RomImage.h"
#include "romio/Patch.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// A swapped-order image whose marker reads "OMNO", with bytes that vary by position.
const std::vector<std::uint8_t>& WorkingImage() {
    static const std::vector<std::uint8_t> image = [] {
        std::vector<std::uint8_t> swapped = PatchFuzzSource();
        SwapBytePairs(swapped);
        return swapped;
    }();
    return image;
}

void CheckRecords(const PatchReadResult& read, std::size_t patchSize, std::uint32_t imageSize) {
    Require(read.records.size() == read.count && read.count <= MAX_PATCH_RECORDS);
    std::uint64_t total = read.firstBlock;
    std::uint64_t end = 0;
    for (std::size_t i = 0; i < read.records.size(); ++i) {
        const PatchRecord& r = read.records[i];
        Require(r.length > 0 && r.offset >= end);
        Require(std::uint64_t{r.offset} + r.length <= imageSize);
        Require(i + 1 == read.records.size() || r.length % 2 == 0);
        end = std::uint64_t{r.offset} + r.length;
        total += r.length;
    }
    Require(total == patchSize);
}

void CheckApply(std::span<const std::uint8_t> patch) {
    const std::vector<std::uint8_t>& working = WorkingImage();
    const PatchReadResult read = ReadPatch(patch);
    const PatchApplyResult applied = ApplyPatch(working, patch);
    Require(applied.error == read.error);
    if (read.error != PatchError::None) {
        Require(applied.image.empty());
        return;
    }
    CheckRecords(read, patch.size(), ROM_IMAGE_SIZE);
    Require(applied.image.size() == ROM_IMAGE_SIZE);

    // Writing the records from the result gives the patch back byte for byte.
    const PatchBytesResult rewritten = WritePatch(read.records, applied.image, ImageOrder::Swapped);
    Require(rewritten.error == PatchError::None);
    Require(std::equal(rewritten.bytes.begin(), rewritten.bytes.end(), patch.begin(), patch.end()));

    // Every change lies inside a record.
    const auto changes = DiffImages(working, applied.image, ImageOrder::Swapped);
    Require(changes.has_value());
    std::size_t r = 0;
    for (const PatchRecord& change : *changes) {
        while (r < read.records.size() &&
               std::uint64_t{read.records[r].offset} + read.records[r].length <= change.offset) {
            ++r;
        }
        Require(r < read.records.size() && read.records[r].offset <= change.offset);
    }
}

void CheckSmallImages(std::span<const std::uint8_t> data) {
    const std::size_t half = data.size() / 2;
    const std::span<const std::uint8_t> before = data.first(half);
    const std::span<const std::uint8_t> after = data.subspan(half, half);
    const auto records = DiffImages(before, after);
    Require(records.has_value());
    const PatchBytesResult patch = WritePatch(*records, after);
    if (records->size() > MAX_PATCH_RECORDS) {
        Require(patch.error == PatchError::TooManyRecords && patch.bytes.empty());
        return;
    }
    Require(patch.error == PatchError::None);
    const PatchReadResult read = ReadPatch(patch.bytes, static_cast<std::uint32_t>(half));
    // Only a record cut at the image's end may be odd, and it is the last.
    Require(read.error == PatchError::None);
    Require(read.records == *records);
    CheckRecords(read, patch.bytes.size(), static_cast<std::uint32_t>(half));
    for (const PatchRecord& record : *records) {
        Require(before[record.offset] != after[record.offset]);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    CheckApply(bytes);
    // The same table read against a tiny image, where most records fall outside.
    const PatchReadResult small = ReadPatch(bytes, 64);
    if (small.error == PatchError::None) {
        CheckRecords(small, size, 64);
    }
    CheckSmallImages(bytes);
    return 0;
}
