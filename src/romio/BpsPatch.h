#pragma once

#include <cstdint>
#include <span>
#include <vector>

// BPS patches: the change from a source image to a target image as a list of copy actions, with
// the CRC-32 of the source, the target and the patch itself, in the layout the common patchers
// apply. Ours go between two native-order ROM images. The layout is described above the writer
// and the reader in BpsPatch.cpp.

// Makes the BPS patch that turns `sourceNative` into `targetNative`, both native-order images of
// ROM_IMAGE_SIZE bytes, with empty metadata. Unchanged stretches are taken from the source in
// place; changed bytes are carried in the patch, with unchanged gaps of a few bytes kept among
// them, and runs of one byte value are spelled out once and then copied from the target itself.
// Returns an empty buffer (no valid patch) when either image is not ROM_IMAGE_SIZE bytes long.
std::vector<std::uint8_t> MakeBpsPatch(std::span<const std::uint8_t> sourceNative,
                                       std::span<const std::uint8_t> targetNative);

enum class BpsCode {
    Ok,                    // the patch was applied; `image` holds the result
    SourceWrongSize,       // the source image given is not ROM_IMAGE_SIZE bytes
    NotBps,                // the patch does not start with "BPS1"
    TooShort,              // too short for its header numbers and three checksums
    NumberOverflow,        // a number does not fit in 64 bits
    NumberCutShort,        // a number runs into the checksums at the end of the patch
    WrongSourceSize,       // the patch is for a source of another size than ROM_IMAGE_SIZE
    WrongTargetSize,       // the patch makes a target of another size than ROM_IMAGE_SIZE
    MetadataCutShort,      // the metadata runs into the checksums at the end of the patch
    PastTargetEnd,         // an action writes past the end of the target
    PastSourceEnd,         // a source action reads past the end (or before the start) of the source
    PastPatchEnd,          // a TargetRead action's bytes run into the checksums
    TargetCopyNotWritten,  // a TargetCopy reads target bytes not yet written (or before the start)
    TargetNotFilled,       // the actions end before the whole target is written
    PatchChecksumMismatch,   // the patch's own CRC-32 does not match its bytes
    SourceChecksumMismatch,  // the source image is not the one the patch was made for
    TargetChecksumMismatch,  // the result is not the target the patch was made for
};

struct BpsApplyResult {
    BpsCode code = BpsCode::Ok;
    // Where in the patch the fault was found: the number, metadata or action concerned.
    std::uint64_t patchOffset = 0;
    // WrongSourceSize, WrongTargetSize: the size the patch names.
    std::uint64_t size = 0;
    // The checksum mismatches: the CRC-32 the patch expects and the one found.
    std::uint32_t expectedCrc = 0;
    std::uint32_t actualCrc = 0;
    // SourceChecksumMismatch: the expected CRC is that of the source with the bytes of every
    // pair exchanged, so the patch fits the same image in the other byte order.
    bool matchesOtherByteOrder = false;
    // The target image, ROM_IMAGE_SIZE bytes; empty unless code is Ok.
    std::vector<std::uint8_t> image;
};

// Applies a BPS patch to a native-order image of ROM_IMAGE_SIZE bytes. Everything is checked
// before a result is given, and the first fault found in this order is returned with an empty
// image: the "BPS1" header; the room for the header numbers and the three trailing checksums;
// each number fitting in 64 bits and ending before the checksums; source and target sizes both
// ROM_IMAGE_SIZE; the metadata inside the patch; each action, in turn, staying inside the
// target, the source and the patch (a TargetCopy reading only bytes already written); the
// actions filling the target exactly; then the patch's own CRC-32, the source's and the
// target's. A source CRC mismatch reports both values and whether the patch matches the source
// in the other byte order.
BpsApplyResult ApplyBpsPatch(std::span<const std::uint8_t> patch,
                             std::span<const std::uint8_t> sourceNative);
