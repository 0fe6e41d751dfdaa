#pragma once

#include <cstdint>
#include <string>

#include "catalogue/CatalogueScan.h"
#include "codec/BitmapConversion.h"
#include "codec/UserImage.h"
#include "romio/NewRom.h"
#include "romio/Patch.h"

// The sentences that explain a refused file, bitmap, new ROM or patch, which the window and the
// tool both show, each written once. The window puts them in message boxes under its own
// captions; the tool prints them.
namespace refusal_texts {

inline constexpr const char* CANNOT_READ_ROM = "The ROM image cannot be opened or read.";
inline constexpr const char* OUTPUT_IS_WORKING_ROM =
    "The new ROM cannot be saved over the working ROM it is made from. Please choose another "
    "file name.";
inline constexpr const char* TOO_FAR = "Bad Forcing Amount - Too Far";

// A file whose header is accepted but whose length is not that of a ROM image.
std::string WrongSize(std::uint64_t fileLength);
// A bitmap the codec refuses; empty for Ok.
std::string Convert(ConvertResult result);
// A user image refused, with what the image adds: its colour count, or libpng's reason.
std::string UserImageRefusal(const UserImage& image);
// The note for an accepted image whose transparency was dropped; empty for an opaque one.
std::string TranslucencyNote(const UserImage& image);
// The start of a load report's line for a User bitmap left out, before its file name.
const char* UserRefusalPrefix(UserBitmapReason reason);
// A refused or failed new ROM; empty for None. An overlap is TOO_FAR alone: the window shows
// just that, and the tool adds OverlapDetail.
std::string NewRom(const NewRomResult& result);
// Which two replacements run into each other.
std::string OverlapDetail(const NewRomResult& result);
// Whether a patch result is about one of the files (size, byte order, same file, read or
// write) rather than the patch's content.
bool IsFileFault(PatchError error);
// A patch refused or not written, and a refused Apply; empty for None.
std::string PatchRead(const PatchReadResult& result);
std::string PatchFile(const PatchFileResult& result);
std::string PatchApply(const PatchApplyResult& result);
// An IPS or BPS patch its reader refused, without the closing "Nothing was written.".
std::string IpsRefusal(const IpsApplyResult& result);
std::string BpsRefusal(const BpsApplyResult& result);
// A CRC32 as ROM dump lists write it: eight upper-case hexadecimal digits.
std::string Crc32Text(std::uint32_t crc);

}  // namespace refusal_texts
