#include "romio/Patch.h"

#include <algorithm>
#include <cstring>

#include "io/AtomicFile.h"
#include "io/ByteOrder.h"
#include "io/FileBytes.h"
#include "io/LittleEndian.h"
#include "romio/NewRom.h"

namespace {

// Coarse to fine steps for skipping equal stretches.
constexpr std::size_t SKIP_CHUNK = 4096;
constexpr std::size_t SKIP_LINE = 256;
constexpr std::size_t SKIP_WORD = 8;

std::uint32_t RoundUpTo4(std::uint64_t value) {
    return static_cast<std::uint32_t>((value + 3) & ~std::uint64_t{3});
}

// The buffer position of native byte p.
template <ImageOrder ORDER>
std::size_t At(std::size_t p) {
    return ORDER == ImageOrder::Swapped ? (p ^ 1u) : p;
}

// The first buffer position at or after p where the two buffers differ, or size. Long equal
// stretches go by memcmp in chunks and then lines; each step only moves forward, so no byte is
// compared more than a few times.
std::size_t NextDifference(const std::uint8_t* before, const std::uint8_t* after, std::size_t p,
                           std::size_t size) {
    while (p < size && p % SKIP_WORD != 0) {
        if (before[p] != after[p]) {
            return p;
        }
        ++p;
    }
    while (p + SKIP_CHUNK <= size && std::memcmp(before + p, after + p, SKIP_CHUNK) == 0) {
        p += SKIP_CHUNK;
    }
    while (p + SKIP_LINE <= size && std::memcmp(before + p, after + p, SKIP_LINE) == 0) {
        p += SKIP_LINE;
    }
    while (p + SKIP_WORD <= size && std::memcmp(before + p, after + p, SKIP_WORD) == 0) {
        p += SKIP_WORD;
    }
    while (p < size && before[p] == after[p]) {
        ++p;
    }
    return p;
}

// A pair holds the same two native positions in either order, so the search for the next change
// may start at the pair of the first differing buffer byte in both.
template <ImageOrder ORDER>
std::vector<PatchRecord> FindRecords(const std::uint8_t* before, const std::uint8_t* after,
                                     std::size_t size) {
    auto changed = [&](std::size_t p) { return before[At<ORDER>(p)] != after[At<ORDER>(p)]; };
    std::vector<PatchRecord> records;
    std::size_t p = 0;
    while (p < size) {
        const std::size_t next = NextDifference(before, after, p & ~std::size_t{1}, size);
        if (next >= size) {
            break;
        }
        p = std::max(p, next & ~std::size_t{1});
        if (!changed(p)) {
            ++p;
            continue;
        }
        // The record runs to the first unchanged pair inside the image, or to the image's end.
        std::size_t raw = size - p;
        for (std::size_t x = p + 1; x + 1 < size; ++x) {
            if (!changed(x) && !changed(x + 1)) {
                raw = x + 1 - p;
                break;
            }
        }
        const std::uint32_t length =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(RoundUpTo4(raw), size - p));
        records.push_back({static_cast<std::uint32_t>(p), length});
        p += length;
    }
    return records;
}

// Native byte p of an image in `order`.
std::uint8_t NativeByte(std::span<const std::uint8_t> image, ImageOrder order, std::size_t p) {
    return image[order == ImageOrder::Swapped ? (p ^ 1u) : p];
}

// Block byte j of a block of `length` bytes holds the record's native byte j XOR 1; an odd last
// byte has no partner and holds its own.
std::uint32_t NativeIndexOfBlockByte(std::uint32_t j, std::uint32_t length) {
    return (j ^ 1u) < length ? (j ^ 1u) : j;
}

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

PatchReadResult ReadFault(PatchError error, std::uint32_t count) {
    PatchReadResult result;
    result.error = error;
    result.count = count;
    return result;
}

}  // namespace

std::optional<std::vector<PatchRecord>> DiffImages(std::span<const std::uint8_t> oldImage,
                                                   std::span<const std::uint8_t> newImage,
                                                   ImageOrder order) {
    if (oldImage.size() != newImage.size() ||
        (order == ImageOrder::Swapped && oldImage.size() % 2 != 0) ||
        oldImage.size() > std::size_t{0xFFFFFFFF}) {
        return std::nullopt;
    }
    if (order == ImageOrder::Swapped) {
        return FindRecords<ImageOrder::Swapped>(oldImage.data(), newImage.data(), oldImage.size());
    }
    return FindRecords<ImageOrder::Native>(oldImage.data(), newImage.data(), oldImage.size());
}

// Format notes (".pat"; every number unsigned 32-bit little-endian):
//   0          n, the number of records (at most MAX_PATCH_RECORDS)
//   4 + 8i     offset of record i: the native position of its first byte in the image
//   8 + 8i     length of record i in bytes
//   4 + 8n     the data block of each record in record order, each right behind the previous
// Nothing follows the last block, so the file is 4 + 8n + the sum of the lengths bytes long; no
// magic number, version or checksum. Block byte 2m holds native byte offset + 2m + 1 and block
// byte 2m + 1 native byte offset + 2m (pairs exchanged, counted from the block's start); an odd
// last byte holds its own native byte. Our records ascend without overlapping, start at a changed
// byte, and all but a last record cut at the image's end have lengths that are multiples of 4, so
// every block starts at an even file position and exchanging the pairs of the whole file gives
// the same bytes as exchanging them per block.
PatchBytesResult WritePatch(const std::vector<PatchRecord>& records,
                            std::span<const std::uint8_t> newImage, ImageOrder order) {
    PatchBytesResult result;
    if (records.size() > MAX_PATCH_RECORDS) {
        result.error = PatchError::TooManyRecords;
        result.recordCount = records.size();
        return result;
    }
    const bool swappedOddSize = order == ImageOrder::Swapped && newImage.size() % 2 != 0;
    std::uint64_t total = PATCH_COUNT_BYTES + PATCH_ENTRY_BYTES * records.size();
    for (const PatchRecord& record : records) {
        if (swappedOddSize || std::uint64_t{record.offset} + record.length > newImage.size()) {
            result.error = PatchError::DifferentImages;
            result.record = record;
            return result;
        }
        total += record.length;
    }

    std::vector<std::uint8_t>& out = result.bytes;
    out.reserve(static_cast<std::size_t>(total));
    AppendU32(out, static_cast<std::uint32_t>(records.size()));
    for (const PatchRecord& record : records) {
        AppendU32(out, record.offset);
        AppendU32(out, record.length);
    }
    for (const PatchRecord& record : records) {
        for (std::uint32_t j = 0; j < record.length; ++j) {
            out.push_back(NativeByte(newImage, order,
                                     record.offset + NativeIndexOfBlockByte(j, record.length)));
        }
    }
    return result;
}

PatchBytesResult MakePatch(std::span<const std::uint8_t> oldImage,
                           std::span<const std::uint8_t> newImage, ImageOrder order) {
    const auto records = DiffImages(oldImage, newImage, order);
    if (!records) {
        PatchBytesResult result;
        result.error = PatchError::DifferentImages;
        return result;
    }
    return WritePatch(*records, newImage, order);
}

// Format notes: the layout is the one above WritePatch. The reader trusts nothing: it checks
// the count, the table, every record and the file's exact size before a byte is applied. Blocks
// at odd file positions are refused because a reader that exchanges the pairs of the whole file
// and one that exchanges them per block would read different bytes there.
PatchReadResult ReadPatch(std::span<const std::uint8_t> patch, std::uint32_t imageSize) {
    if (patch.size() < PATCH_COUNT_BYTES) {
        PatchReadResult result = ReadFault(PatchError::NoRecordCount, 0);
        result.fileSize = patch.size();
        return result;
    }
    const std::uint32_t count = LoadU32(patch, 0);
    if (count > MAX_PATCH_RECORDS) {
        return ReadFault(PatchError::TooManyRecords, count);
    }
    const std::size_t firstBlock = PATCH_COUNT_BYTES + PATCH_ENTRY_BYTES * count;
    if (patch.size() < firstBlock) {
        PatchReadResult result = ReadFault(PatchError::TableCut, count);
        result.expectedSize = firstBlock;
        result.fileSize = patch.size();
        return result;
    }

    PatchReadResult result;
    result.count = count;
    result.records.reserve(count);
    std::uint64_t total = firstBlock;
    for (std::uint32_t i = 0; i < count; ++i) {
        const PatchRecord record{LoadU32(patch, PATCH_COUNT_BYTES + PATCH_ENTRY_BYTES * i),
                                 LoadU32(patch, PATCH_COUNT_BYTES + PATCH_ENTRY_BYTES * i + 4)};
        auto fault = [&](PatchError error) {
            PatchReadResult faulty = ReadFault(error, count);
            faulty.recordIndex = i;
            faulty.record = record;
            faulty.previous = i > 0 ? result.records.back() : PatchRecord{};
            return faulty;
        };
        if (record.length == 0) {
            return fault(PatchError::EmptyRecord);
        }
        if (std::uint64_t{record.offset} + record.length > imageSize) {
            return fault(PatchError::PastImage);
        }
        if (i > 0) {
            const PatchRecord& previous = result.records.back();
            if (record.offset < previous.offset) {
                return fault(PatchError::Unordered);
            }
            if (record.offset < std::uint64_t{previous.offset} + previous.length) {
                return fault(PatchError::Overlapping);
            }
            if (previous.length % 2 != 0) {
                PatchReadResult odd = fault(PatchError::OddBlock);
                odd.recordIndex = i - 1;
                odd.record = previous;
                return odd;
            }
        }
        result.records.push_back(record);
        total += record.length;
    }
    if (total != patch.size()) {
        PatchReadResult wrong = ReadFault(PatchError::WrongFileSize, count);
        wrong.expectedSize = total;
        wrong.fileSize = patch.size();
        return wrong;
    }
    result.firstBlock = firstBlock;
    return result;
}

namespace {

// Every check of applying, made before any byte is copied or written.
PatchApplyResult CheckBeforeApplying(std::span<const std::uint8_t> workingSwapped,
                                     std::span<const std::uint8_t> patch) {
    PatchApplyResult result;
    if (workingSwapped.size() != ROM_IMAGE_SIZE) {
        result.error = PatchError::ImageWrongSize;
        result.imageLength = workingSwapped.size();
        return result;
    }
    if (ReadMarker(workingSwapped) != RomMarker::Swapped) {
        result.error = PatchError::ImageNotSwapped;
        return result;
    }
    result.patch = ReadPatch(patch, ROM_IMAGE_SIZE);
    result.error = result.patch.error;
    return result;
}

// Writes the blocks of a patch that ReadPatch accepted into the swapped image.
void WriteBlocks(std::vector<std::uint8_t>& image, const PatchReadResult& read,
                 std::span<const std::uint8_t> patch) {
    std::size_t block = read.firstBlock;
    for (const PatchRecord& record : read.records) {
        const std::uint8_t* data = patch.data() + block;
        std::uint32_t done = 0;
        if (record.offset % 2 == 0) {
            // From an even offset the block's whole pairs are the swapped image's bytes as stored.
            done = record.length & ~1u;
            std::memcpy(image.data() + record.offset, data, done);
        }
        for (std::uint32_t j = done; j < record.length; ++j) {
            image[(record.offset + NativeIndexOfBlockByte(j, record.length)) ^ 1u] = data[j];
        }
        block += record.length;
    }
}

}  // namespace

PatchApplyResult ApplyPatch(std::span<const std::uint8_t> workingSwapped,
                            std::span<const std::uint8_t> patch) {
    PatchApplyResult result = CheckBeforeApplying(workingSwapped, patch);
    if (result.error != PatchError::None) {
        return result;
    }
    std::vector<std::uint8_t> image(workingSwapped.begin(), workingSwapped.end());
    WriteBlocks(image, result.patch, patch);
    result.image = std::move(image);
    return result;
}

PatchApplyResult ApplyPatch(std::vector<std::uint8_t>&& workingSwapped,
                            std::span<const std::uint8_t> patch) {
    std::vector<std::uint8_t> image = std::move(workingSwapped);
    PatchApplyResult result = CheckBeforeApplying(image, patch);
    if (result.error != PatchError::None) {
        return result;
    }
    WriteBlocks(image, result.patch, patch);
    result.image = std::move(image);
    return result;
}

std::optional<std::vector<std::uint8_t>> ReadPatchFile(const std::filesystem::path& path) {
    return ReadFileBytes(path, static_cast<std::size_t>(MAX_PATCH_FILE_SIZE + 1));
}

std::optional<std::vector<std::uint8_t>> ReadSwappedRomFile(const std::filesystem::path& path,
                                                            PatchError& error,
                                                            std::uint64_t& imageLength,
                                                            std::string& detail) {
    std::uint64_t length = 0;
    auto image = ReadRomImageFile(path, &length);
    if (!image) {
        error = PatchError::CannotRead;
        detail = "cannot read " + Quoted(path);
        return std::nullopt;
    }
    if (image->size() != ROM_IMAGE_SIZE || length != ROM_IMAGE_SIZE) {
        error = PatchError::ImageWrongSize;
        imageLength = length;
        detail = Quoted(path);
        return std::nullopt;
    }
    if (ReadMarker(*image) != RomMarker::Swapped) {
        error = PatchError::ImageNotSwapped;
        detail = Quoted(path);
        return std::nullopt;
    }
    return image;
}

namespace {

// Reads a swapped-order ROM image file for the patch commands, reporting a fault in `result`.
template <typename Result>
std::optional<std::vector<std::uint8_t>> ReadSwappedImage(const std::filesystem::path& path,
                                                          Result& result) {
    return ReadSwappedRomFile(path, result.error, result.imageLength, result.detail);
}

PatchFileResult WritePatchBetween(std::span<const std::uint8_t> oldSwapped,
                                  std::span<const std::uint8_t> newSwapped,
                                  const std::filesystem::path& patchPath) {
    PatchFileResult result;
    PatchBytesResult patch = MakePatch(oldSwapped, newSwapped, ImageOrder::Swapped);
    if (patch.error != PatchError::None) {
        result.error = patch.error;
        result.recordCount = patch.recordCount;
        return result;
    }
    const FileWriteResult written = WriteFileAtomically(patchPath, patch.bytes);
    if (!written.ok) {
        result.error = PatchError::CannotWrite;
        result.detail = written.error;
        return result;
    }
    result.recordCount = LoadU32(patch.bytes, 0);
    result.bytes = std::move(patch.bytes);
    return result;
}

}  // namespace

PatchFileResult WritePatchFile(const std::filesystem::path& oldRom,
                               const std::filesystem::path& newRom,
                               const std::filesystem::path& patchPath) {
    PatchFileResult result;
    if (SameFile(patchPath, oldRom) || SameFile(patchPath, newRom)) {
        result.error = PatchError::SameAsInput;
        result.detail = patchPath.string();
        return result;
    }
    const auto newImage = ReadSwappedImage(newRom, result);
    if (!newImage) {
        return result;
    }
    return WritePatchFile(oldRom, *newImage, patchPath);
}

bool CheckPatchTargets(const std::filesystem::path& oldRom,
                       std::span<const std::uint8_t> newSwapped,
                       const std::filesystem::path& patchPath, PatchFileResult& result) {
    if (SameFile(patchPath, oldRom)) {
        result.error = PatchError::SameAsInput;
        result.detail = patchPath.string();
        return false;
    }
    if (newSwapped.size() != ROM_IMAGE_SIZE) {
        result.error = PatchError::ImageWrongSize;
        result.imageLength = newSwapped.size();
        result.detail = "The new image";
        return false;
    }
    return true;
}

PatchFileResult WritePatchFile(const std::filesystem::path& oldRom,
                               std::span<const std::uint8_t> newSwapped,
                               const std::filesystem::path& patchPath) {
    PatchFileResult result;
    if (!CheckPatchTargets(oldRom, newSwapped, patchPath, result)) {
        return result;
    }
    const auto oldImage = ReadSwappedImage(oldRom, result);
    if (!oldImage) {
        return result;
    }
    return WritePatchBetween(*oldImage, newSwapped, patchPath);
}

PatchApplyResult ApplyPatchFile(const std::filesystem::path& workingRom,
                                const std::filesystem::path& patchPath,
                                const std::filesystem::path& output) {
    return ApplyPatchFileWith(
        workingRom, patchPath, output,
        [](std::vector<std::uint8_t>&& working, std::span<const std::uint8_t> patch) {
            return ApplyPatch(std::move(working), patch);
        });
}

PatchApplyResult ApplyPatchFileWith(const std::filesystem::path& workingRom,
                                    const std::filesystem::path& patchPath,
                                    const std::filesystem::path& output, PatchApplier apply) {
    PatchApplyResult result;
    if (SameFile(output, workingRom) || SameFile(output, patchPath)) {
        result.error = PatchError::SameAsInput;
        result.detail = output.string();
        return result;
    }
    auto working = ReadSwappedImage(workingRom, result);
    if (!working) {
        return result;
    }
    const auto patch = ReadPatchFile(patchPath);
    if (!patch) {
        result.error = PatchError::CannotRead;
        result.detail = "cannot read " + Quoted(patchPath);
        return result;
    }
    result = apply(std::move(*working), *patch);
    if (result.error != PatchError::None) {
        return result;
    }
    const FileWriteResult written = WriteFileAtomically(output, result.image);
    if (!written.ok) {
        PatchApplyResult failed;
        failed.error = PatchError::CannotWrite;
        failed.detail = written.error;
        return failed;
    }
    return result;
}
