#pragma once

#include <cstdint>
#include <span>
#include <vector>

// IPS patches: the changes between two native-order ROM images as records of offsets and bytes,
// in the layout every common patcher applies. The layout is described above the writer and the
// reader in IpsPatch.cpp.

// The largest offset a record can name (three bytes), and the one it must never start at: those
// three bytes would read "EOF", the end marker.
inline constexpr std::uint32_t IPS_OFFSET_LIMIT = 0x1000000;
inline constexpr std::uint32_t IPS_EOF_OFFSET = 0x454F46;
// The most bytes one record can carry (two-byte length).
inline constexpr std::uint32_t IPS_MAX_RECORD = 0xFFFF;

// Makes the IPS patch that turns `oldNative` into `newNative`, both native-order images of
// ROM_IMAGE_SIZE bytes. Changed stretches become records of at most IPS_MAX_RECORD bytes, with
// unchanged gaps shorter than a record header kept inside them; runs of one byte value long
// enough to save space become run-length records. No record starts at IPS_EOF_OFFSET: such a
// record starts one byte earlier, carrying that unchanged byte too. Equal images give the 8-byte
// patch "PATCHEOF". Returns an empty buffer (no valid patch) when either image is not
// ROM_IMAGE_SIZE bytes long.
std::vector<std::uint8_t> MakeIpsPatch(std::span<const std::uint8_t> oldNative,
                                       std::span<const std::uint8_t> newNative);

enum class IpsCode {
    Ok,                  // the patch was applied; `image` holds the result
    SourceWrongSize,     // the source image is not ROM_IMAGE_SIZE bytes
    NotIps,              // the patch does not start with "PATCH"
    RecordCutShort,      // the patch ends inside a record's header, run or bytes
    RecordOutsideImage,  // a record reaches past the end of the image
    MissingEof,          // the patch ends where the next record or "EOF" should start
    TrailingBytes,       // bytes after "EOF" that are not a three-byte truncation size
    BadTruncationSize,   // a truncation size after "EOF" other than ROM_IMAGE_SIZE
};

struct IpsApplyResult {
    IpsCode code = IpsCode::Ok;
    // The record a record fault is about: its position in the patch file and the image offset
    // it names (RecordCutShort, RecordOutsideImage).
    std::uint64_t patchOffset = 0;
    std::uint32_t imageOffset = 0;
    // BadTruncationSize: the size the patch asks for.
    std::uint32_t truncationSize = 0;
    // The patched native-order image, ROM_IMAGE_SIZE bytes; empty unless code is Ok.
    std::vector<std::uint8_t> image;
};

// Applies an IPS patch to a native-order image of ROM_IMAGE_SIZE bytes. The whole patch is
// checked before anything is produced: it starts with "PATCH"; every record is complete and lies
// inside the image (offset + length <= ROM_IMAGE_SIZE); the records end with "EOF", followed by
// nothing or by a three-byte big-endian truncation size equal to ROM_IMAGE_SIZE. The first fault
// found, in file order, is returned with an empty image. Otherwise the result is the source with
// the records written over it in file order (a later record wins where two overlap). Whether the
// source really is in native order is the caller's concern.
IpsApplyResult ApplyIpsPatch(std::span<const std::uint8_t> patch,
                             std::span<const std::uint8_t> sourceNative);
