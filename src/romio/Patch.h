#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "io/RomImage.h"
#include "romio/BpsPatch.h"
#include "romio/IpsPatch.h"
#include "romio/PatchFormat.h"

// Custom ROM patches (".pat"): the changes between a working ROM and a ROM made from it, as
// records of native offsets and the new bytes, so that the same changes can be handed on without
// the whole image. Offsets are native-order positions; the record layout is described above
// WritePatch and ReadPatch in Patch.cpp.

// The most records a patch may hold: the tables of every reader of the format hold this many.
inline constexpr std::size_t MAX_PATCH_RECORDS = 4096;
// Size of the record count and of one table entry (offset, length) in the file.
inline constexpr std::size_t PATCH_COUNT_BYTES = 4;
inline constexpr std::size_t PATCH_ENTRY_BYTES = 8;
// The largest file a valid patch for a ROM image can be: a full table and blocks covering the
// whole image.
inline constexpr std::uint64_t MAX_PATCH_FILE_SIZE =
    PATCH_COUNT_BYTES + PATCH_ENTRY_BYTES * MAX_PATCH_RECORDS + std::uint64_t{ROM_IMAGE_SIZE};

// Which byte order an image buffer is in.
enum class ImageOrder {
    Native,   // the cartridge's order: buffer byte p is native byte p
    Swapped,  // the files' order: buffer byte p is native byte p XOR 1 (size must be even)
};

// One changed stretch of the image.
struct PatchRecord {
    std::uint32_t offset = 0;  // native position of the record's first byte
    std::uint32_t length = 0;  // number of bytes, at least 1; offset + length within the image

    bool operator==(const PatchRecord&) const = default;
};

// Finds the records between two images of equal size, given in the same `order`.
//
// With p running from 0 over native positions: an unchanged byte is passed over; a changed byte
// at p starts a record. Its raw length is x + 1 - p for the smallest x > p such that native bytes
// x and x + 1 are both unchanged and x + 1 is inside the image, or size - p when there is no such
// x; its length is the raw length rounded up to a multiple of 4 (counted from p), cut at the end
// of the image. The scan goes on at p + length. So single unchanged bytes inside a run of changes
// stay in its record, two unchanged bytes end it, every record starts at a changed byte, records
// ascend without overlapping, and every length is a multiple of 4 except that of a record cut at
// the image's end (which may also be shorter than 4). Equal stretches are skipped with memcmp
// in chunks, then lines, then words. nullopt when the sizes differ or a swapped-order buffer has an
// odd size.
std::optional<std::vector<PatchRecord>> DiffImages(std::span<const std::uint8_t> oldImage,
                                                   std::span<const std::uint8_t> newImage,
                                                   ImageOrder order = ImageOrder::Native);

enum class PatchError {
    None,
    // Writing a patch.
    TooManyRecords,   // more than MAX_PATCH_RECORDS records (writer or reader)
    DifferentImages,  // images of different sizes, or a record outside the new image
    // Reading a patch.
    NoRecordCount,  // shorter than its 4-byte record count
    TableCut,       // shorter than its record table
    EmptyRecord,    // a record of length 0
    PastImage,      // a record reaching past the end of the image
    Unordered,      // a record starting before the previous record
    Overlapping,    // a record starting inside the previous record
    OddBlock,       // a record other than the last of odd length: later blocks at odd positions
    WrongFileSize,  // the file is not exactly 4 + 8n + the sum of the lengths bytes long
    IpsRefused,     // an IPS patch its reader refuses (the verdict is in `ips`)
    BpsRefused,     // a BPS patch its reader refuses (the verdict is in `bps`)
    // Applying, and the file work around all of these.
    ImageWrongSize,   // a ROM image (working, old or new) is not exactly ROM_IMAGE_SIZE bytes
    ImageNotSwapped,  // a ROM image does not read "OMNO" at its marker
    SameAsInput,      // the output names one of the input files
    CannotRead,       // an input file cannot be read
    CannotWrite,      // the output file could not be written
};

// What ReadPatch found.
struct PatchReadResult {
    PatchError error = PatchError::None;
    // The record count stored in the file (0 when it has none).
    std::uint32_t count = 0;
    // The record a record fault is about (EmptyRecord to OddBlock), and for Unordered and
    // Overlapping the previous record.
    std::size_t recordIndex = 0;
    PatchRecord record;
    PatchRecord previous;
    // WrongFileSize: the size the table calls for, and the size the file has.
    std::uint64_t expectedSize = 0;
    std::uint64_t fileSize = 0;
    // The records, in file order, when error is None; their blocks start at `firstBlock` and
    // follow each other without a gap.
    std::vector<PatchRecord> records;
    std::size_t firstBlock = 0;
    // Which reader judged the patch; IpsRefused and BpsRefused keep that reader's verdict (its
    // image left empty).
    PatchFormat format = PatchFormat::Custom;
    IpsApplyResult ips;
    BpsApplyResult bps;
};

// Reads and validates a patch for an image of `imageSize` bytes before anything is written. The
// file must hold its count n (at most MAX_PATCH_RECORDS) and its n table entries; every record
// must have a length of at least 1, lie inside the image, start at or after the end of the
// previous record, and every record but the last must have an even length, so that every block
// starts at an even file position (there pairs exchanged within a block and pairs exchanged
// across the whole file agree); finally the file must be exactly 4 + 8n + the sum of the lengths
// bytes long. The first fault found, in that order, is returned. n = 0 with a 4-byte file is a
// valid patch that changes nothing.
PatchReadResult ReadPatch(std::span<const std::uint8_t> patch,
                          std::uint32_t imageSize = ROM_IMAGE_SIZE);

struct PatchBytesResult {
    PatchError error = PatchError::None;
    // TooManyRecords: how many records the changes need.
    std::size_t recordCount = 0;
    // DifferentImages: the record that lies outside the new image.
    PatchRecord record;
    // The patch file's bytes when error is None: 4 + 8n + the sum of the lengths.
    std::vector<std::uint8_t> bytes;
};

// Builds the patch file for `records` (as DiffImages gives them) from the new image in `order`:
// the count, the table, then each record's block, which holds the new image's native bytes of the
// record with the two bytes of every pair exchanged, pairs counted from the block's start (an odd
// last byte stays where it is). Refused with TooManyRecords above MAX_PATCH_RECORDS records and
// with DifferentImages for a record outside the image. No records give the 4-byte patch n = 0.
PatchBytesResult WritePatch(const std::vector<PatchRecord>& records,
                            std::span<const std::uint8_t> newImage,
                            ImageOrder order = ImageOrder::Native);

// DiffImages followed by WritePatch; DifferentImages when DiffImages refuses the two images.
PatchBytesResult MakePatch(std::span<const std::uint8_t> oldImage,
                           std::span<const std::uint8_t> newImage,
                           ImageOrder order = ImageOrder::Native);

struct PatchApplyResult {
    PatchError error = PatchError::None;
    // How the patch was read: the fault details of a refused patch, its records otherwise.
    PatchReadResult patch;
    // ImageWrongSize: the working image's or file's length.
    std::uint64_t imageLength = 0;
    // CannotRead, CannotWrite, and for files ImageWrongSize and ImageNotSwapped: the file.
    std::string detail;
    // The patched image in swapped order, exactly ROM_IMAGE_SIZE bytes; empty unless error is
    // None.
    std::vector<std::uint8_t> image;
};

// Applies a patch to the swapped-order working image: the working image must be exactly
// ROM_IMAGE_SIZE bytes and read "OMNO"; the patch is validated whole by ReadPatch first. The
// result is the working image with each record's native bytes replaced by its block's bytes put
// back in native order; n = 0 gives a copy of the working image.
PatchApplyResult ApplyPatch(std::span<const std::uint8_t> workingSwapped,
                            std::span<const std::uint8_t> patch);

// The same, writing the blocks into the working image's own buffer, which it takes over.
PatchApplyResult ApplyPatch(std::vector<std::uint8_t>&& workingSwapped,
                            std::span<const std::uint8_t> patch);

// Reads a patch file: at most MAX_PATCH_FILE_SIZE + 1 bytes, enough to show that a longer file
// is no valid patch. nullopt when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadPatchFile(const std::filesystem::path& path);

// Reads a swapped-order ROM image file for the patch commands: exactly ROM_IMAGE_SIZE bytes
// reading "OMNO". Otherwise nullopt, with CannotRead, ImageWrongSize (and the file's length) or
// ImageNotSwapped in `error` and the file in `detail`.
std::optional<std::vector<std::uint8_t>> ReadSwappedRomFile(const std::filesystem::path& path,
                                                            PatchError& error,
                                                            std::uint64_t& imageLength,
                                                            std::string& detail);

// File work of writing a patch between two swapped-order ROM files (the working ROM and a ROM
// made from it): refuses an output that is one of the inputs, reads both images whole (each
// must be exactly ROM_IMAGE_SIZE bytes and read "OMNO"; the first that does not is named), makes
// the patch and writes it with WriteFileAtomically. Nothing is written on any refusal.
struct PatchFileResult {
    PatchError error = PatchError::None;
    std::size_t recordCount = 0;      // TooManyRecords: the records the changes need
    std::uint64_t imageLength = 0;    // ImageWrongSize: that file's length
    std::string detail;               // every file fault: the file, or what failed
    std::vector<std::uint8_t> bytes;  // the patch written, when error is None
};
PatchFileResult WritePatchFile(const std::filesystem::path& oldRom,
                               const std::filesystem::path& newRom,
                               const std::filesystem::path& patchPath);

// What every patch writer checks before it reads anything: the patch is not written over the
// working ROM, and the new image is a whole image. False, with the refusal in `result`, when
// either fails.
bool CheckPatchTargets(const std::filesystem::path& oldRom,
                       std::span<const std::uint8_t> newSwapped,
                       const std::filesystem::path& patchPath, PatchFileResult& result);

// Writes a patch made from an image already in memory (Save New ROM's new image) and the
// working ROM file, both swapped order; otherwise as WritePatchFile.
PatchFileResult WritePatchFile(const std::filesystem::path& oldRom,
                               std::span<const std::uint8_t> newSwapped,
                               const std::filesystem::path& patchPath);

// Apply Patch's file work: refuses an output that is the working ROM or the patch itself, reads
// both, applies (ApplyPatch) and writes the result with WriteFileAtomically; on any refusal or
// failure nothing is written and an existing output is untouched.
PatchApplyResult ApplyPatchFile(const std::filesystem::path& workingRom,
                                const std::filesystem::path& patchPath,
                                const std::filesystem::path& output);

// The same file work with the patch's bytes applied by `apply`, which takes the swapped-order
// working image (its own to change) and returns the result as ApplyPatch does.
using PatchApplier = PatchApplyResult (*)(std::vector<std::uint8_t>&& workingSwapped,
                                          std::span<const std::uint8_t> patch);
PatchApplyResult ApplyPatchFileWith(const std::filesystem::path& workingRom,
                                    const std::filesystem::path& patchPath,
                                    const std::filesystem::path& output, PatchApplier apply);
