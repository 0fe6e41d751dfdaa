#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "catalogue/SizeClassTable.h"
#include "codec/BitmapConversion.h"
#include "codec/UserImage.h"
#include "io/FileBytes.h"

// Save New ROM: the pending replacements of the catalogue become a new ROM image. Every
// replaced texture's bytes are overwritten in place by its replacement's bytes; every other byte
// is the working ROM's. Images go in and come out in swapped order (the order of the files);
// every offset is native.

// A `source` below this is the number of a User bitmap, not a ROM offset: every catalogued
// texture lies at or above it in the image, and User entries use their own index as offset.
inline constexpr std::uint32_t USER_IMAGE_LIMIT = 0x10000;

// The source offset given to a replacement that names a class or slot that does not exist. It
// lies past the image, so building refuses it as a source range past the end.
inline constexpr std::uint32_t UNKNOWN_SOURCE = 0xFFFFFFFF;

// One replacement to write.
struct PendingReplacement {
    // Native position of the first byte written: the target texture's romOffset.
    std::uint32_t targetOffset = 0;
    // At or above USER_IMAGE_LIMIT: native position of the catalogued texture whose bytes are
    // copied (from the unchanged working ROM). Below it: the number of the User bitmap whose
    // record is written.
    std::uint32_t source = 0;
    // Number of bytes written at targetOffset (the recorded replacementSize).
    std::uint32_t length = 0;
    // 'N' or 'G': the format flag of the target's class, which a User record is built with.
    char formatFlag = 'N';

    bool operator==(const PendingReplacement&) const = default;
};

// Collects every pending replacement of the catalogue: all SIZE_CLASS_COUNT classes, each with
// all MAX_CLASS_ENTRIES slots whatever its entryCount, in class then slot order; then sorts them
// by targetOffset (unsigned), stably, so that of equal targets the one collected first comes
// first. A slot is pending when its replacementIndex is not NO_REPLACEMENT. The source is the
// romOffset of slot replacementIndex of class replacementClass; a reference to a class or slot
// that does not exist gets UNKNOWN_SOURCE. There is no limit on the number collected: all of
// them are written.
std::vector<PendingReplacement> CollectPendingReplacements(const SizeClassTable& table);

// What a User record must read back as: the converted texture it was compressed from.
struct ConvertedTexture {
    int width = 0;                       // the bitmap's width, as converted
    int height = 0;                      // the bitmap's height, as converted
    std::vector<std::uint16_t> palette;  // the palette entries the record was given
    std::vector<std::uint8_t> data;      // the data bytes that were compressed
};

// The texture record of a User bitmap, built with a given format flag.
struct UserRecord {
    ConvertResult result = ConvertResult::CannotOpen;  // Ok exactly when `record` is usable
    std::vector<std::uint8_t> record;                  // the record's bytes, native order
    std::string name;            // the bitmap's file name (or its number), for messages
    ConvertedTexture converted;  // Ok: what the record was made from
};

// The User record of a prepared image (PrepareUserImage): its record, and as `converted` its
// width, height, `entries` palette entries and the first width x height (4-bit: half that,
// rounded down) bytes of its index stream.
UserRecord MakeUserRecord(const UserImage& image, std::string name);

// Supplies the record of User bitmap `userIndex` built with format flag `formatFlag`.
using UserRecordSource = std::function<UserRecord(std::uint32_t userIndex, char formatFlag)>;

// Builds User records from the catalogue's User class: entry `userIndex` (below its entryCount)
// is converted and compressed from its imagePath with PrepareUserImage, as Replace measures it.
// A number that names no loaded User bitmap gives CannotOpen. The table must outlive the result.
UserRecordSource UserRecordsFromCatalogue(const SizeClassTable& table);

enum class NewRomError {
    None,
    WorkingWrongSize,   // the working image is not exactly ROM_IMAGE_SIZE bytes
    WorkingNotSwapped,  // the working image does not read "OMNO" at its marker
    TargetPastEnd,      // targetOffset + length reaches past the image
    SourcePastEnd,      // a catalogued source range reaches past the image
    UserBitmap,         // a User bitmap could not be turned into a record
    Overlap,            // a replacement runs into the next target ("Bad Forcing Amount")
    RecordMismatch,     // a User record written does not read back as what was converted
    SameAsWorking,      // the output names the working ROM itself
    CannotReadWorking,  // the working ROM file cannot be read
    CannotWrite,        // the output file could not be written
};

struct NewRomResult {
    NewRomError error = NewRomError::None;
    // The replacement a refusal is about (TargetPastEnd, SourcePastEnd, UserBitmap, Overlap,
    // RecordMismatch).
    PendingReplacement entry;
    // Overlap only: the replacement whose target `entry` runs into.
    PendingReplacement next;
    // UserBitmap: why the bitmap was refused; UserBitmap and RecordMismatch: its name.
    ConvertResult convertResult = ConvertResult::Ok;
    std::string userName;
    // Working image or file length for WorkingWrongSize; 0 otherwise.
    std::uint64_t workingLength = 0;
    // CannotReadWorking, CannotWrite: what failed, naming the file.
    std::string detail;
    // The new image in swapped order, exactly ROM_IMAGE_SIZE bytes; empty unless error is None.
    std::vector<std::uint8_t> image;
};

// Assembles the new image from the swapped-order working image and the sorted pending list.
//
// The result holds, in swapped order, the working image with native bytes [targetOffset,
// targetOffset + length) of each entry overwritten: by native bytes [source, source + length)
// of the unchanged working image for a catalogued source (so A by B and B by A both get the
// other's original bytes), or by the first `length` bytes of the User record built with the
// entry's formatFlag, zeros standing behind a record shorter than `length`. These are the bytes
// the piece-by-piece assembly writes (prefix, each replacement, each gap, the rest).
//
// All entries are examined, in order, before anything is written; the first fault ends the build
// with nothing returned: a target or catalogued source range reaching past ROM_IMAGE_SIZE, a User
// bitmap that cannot be converted (its record is built at most once per bitmap and flag), or an
// entry whose range reaches past the next entry's targetOffset (the gap targetOffset[i+1] -
// targetOffset[i] - length[i] is negative; equal targets overlap unless the first length is 0;
// the last entry has no gap to check). Once assembled, the bytes written for each User source
// (length above 0) are decoded from the new image and must give exactly the record's
// `converted` width, height, palette and data; otherwise the build ends with RecordMismatch and
// nothing returned, as such a record could only be a fault of ours. The list must be sorted as
// CollectPendingReplacements sorts it; an unsorted list's out-of-order entry shows as an overlap.
// An empty list gives a copy of the working image. A working image of another size or not in
// swapped order is refused.
NewRomResult BuildNewImage(std::span<const std::uint8_t> workingSwapped,
                           const std::vector<PendingReplacement>& pending,
                           const UserRecordSource& userRecords);

// The same, building the new image in the working image's own buffer, which it takes over: no
// second image is allocated. The sources are set aside before any target is written.
NewRomResult BuildNewImage(std::vector<std::uint8_t>&& workingSwapped,
                           const std::vector<PendingReplacement>& pending,
                           const UserRecordSource& userRecords);

// Reads a whole ROM image file into memory, exactly as stored. nullopt when the file cannot be
// opened or read. A file longer than ROM_IMAGE_SIZE is read only up to ROM_IMAGE_SIZE + 1 bytes,
// enough to show that it is too long; `fileLength` (when given) receives its real length.
std::optional<std::vector<std::uint8_t>> ReadRomImageFile(const std::filesystem::path& path,
                                                          std::uint64_t* fileLength = nullptr);

// Save New ROM's file work: refuses an `output` that is the working ROM itself (SameFile), reads
// the working ROM, builds the new image (BuildNewImage) and writes it to `output` with
// WriteFileAtomically, so that on any refusal or failure an existing file at `output` is left
// untouched and no temporary file remains. On success the result also holds the image written.
NewRomResult SaveNewRomFile(const std::filesystem::path& workingRom,
                            const std::filesystem::path& output,
                            const std::vector<PendingReplacement>& pending,
                            const UserRecordSource& userRecords);
