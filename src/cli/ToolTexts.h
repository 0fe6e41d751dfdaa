#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/CatalogueScan.h"
#include "catalogue/RomCheck.h"
#include "codec/BitmapConversion.h"
#include "replace/ReplaceDecision.h"
#include "romio/NewRom.h"
#include "romio/Patch.h"
#include "texts/RefusalTexts.h"

// Every reason mgromtool prints, each written once and keyed by the core's results. Where the
// editor's window has words for the same refusal, the tool says the same.
namespace tool_texts {

inline constexpr const char* FILE_NOT_FOUND = "Invalid File Specified";
inline constexpr const char* NO_CHANGES = "No changes!";
inline constexpr const char* OUTPUT_IS_WORKING_ROM = refusal_texts::OUTPUT_IS_WORKING_ROM;
inline constexpr const char* NATIVE_ORDER =
    "is in native byte order; these commands work on swapped-order images (convert it with "
    "\"mgromtool swap\")";

// The tool's help, printed by --help and after an unknown command.
extern const char* const HELP;

// Usage lines of the commands.
inline constexpr const char* CHECK_USAGE = "check ROM [--crc]";
inline constexpr const char* SWAP_USAGE = "swap IN OUT";
inline constexpr const char* DEMO_KIT_USAGE = "demo-kit [DIR]";
inline constexpr const char* COMPRESS_USAGE = "compress BITMAP OUT.bin [--format N|G]";
inline constexpr const char* PREVIEW_USAGE = "preview BITMAP OUT.bmp";
inline constexpr const char* BUILD_USAGE =
    "build WORKING.rom OUT.rom [--catalogue DIR] --replace TARGET=SOURCE [TARGET=SOURCE ...]";
inline constexpr const char* DIFF_USAGE =
    "diff OLD.rom NEW.rom OUT.pat|OUT.ips|OUT.bps [--format pat|ips|bps]";
inline constexpr const char* APPLY_USAGE = "apply WORKING.rom PATCH.pat|.ips|.bps OUT.rom";
inline constexpr const char* EXTRACT_USAGE = "extract ROM DIR [--force]";
inline constexpr const char* EXPORT_USAGE = "export ROM OFFSET OUT.bmp";
inline constexpr const char* VERIFY_USAGE = "verify ROM [--catalogue DIR]";

// Wrong arguments.
inline constexpr const char* WRONG_ARGUMENTS = "wrong arguments";
inline constexpr const char* NO_USER_DATA_FOLDER =
    "no folder given, and neither XDG_DATA_HOME nor HOME names an absolute folder";
inline constexpr const char* FORMAT_LETTER = "--format takes N or G";
inline constexpr const char* PATCH_FORMAT_NAME = "--format takes pat, ips or bps";
inline constexpr const char* COMPRESS_ARGUMENTS = "compress takes a bitmap and an output file";
inline constexpr const char* PREVIEW_ARGUMENTS = "preview takes a bitmap and an output file";
inline constexpr const char* CATALOGUE_NEEDS_FOLDER = "--catalogue needs a folder";
inline constexpr const char* REPLACE_NEEDS_PAIR = "--replace needs at least one TARGET=SOURCE";
inline constexpr const char* BUILD_ARGUMENTS = "build takes a working ROM and an output file";
inline constexpr const char* DIFF_ARGUMENTS = "diff takes two ROM images and an output file";
inline constexpr const char* APPLY_ARGUMENTS =
    "apply takes a working ROM, a patch and an output file";
inline constexpr const char* EXTRACT_ARGUMENTS = "extract takes a ROM image and a folder";
inline constexpr const char* EXPORT_ARGUMENTS =
    "export takes a ROM image, a texture's offset and an output bitmap";
inline constexpr const char* VERIFY_ARGUMENTS = "verify takes a ROM image";
inline constexpr const char* BAD_OFFSET = "OFFSET must be a hexadecimal ROM offset";
std::string NotAPair(const std::string& argument);
std::string UnknownOption(const std::string& option);
std::string UnknownCommand(const std::string& command);

// swap's refusals.
inline constexpr const char* NO_SUCH_FILE = "no such file";
inline constexpr const char* SWAP_SAME_FILE =
    "is the input file itself; swap writes to a different file";
inline constexpr const char* CANNOT_READ_FILE = "the file cannot be opened or read";
std::string OddLength(std::size_t length);

// build's refusals and its note.
inline constexpr const char* BAD_TARGET = "TARGET must be a hexadecimal ROM offset";
inline constexpr const char* BAD_SOURCE =
    "SOURCE must be a hexadecimal ROM offset or a User bitmap's name";
inline constexpr const char* CATALOGUE_NOT_A_FOLDER =
    "is not a folder: the catalogue cannot be read";
std::string NoTextureAt(const std::string& catalogue, std::uint32_t offset);
// `reason` is the scan's line for that bitmap, or empty.
std::string NoUserBitmap(const std::string& name, const std::string& userFolder,
                         const std::string& reason);
std::string DefaultRooms(const std::string& catalogue);

// extract's and verify's refusals.
inline constexpr const char* EXTRACT_FORCE =
    " Add --force to write over the catalogue's bitmaps and image table.";
inline constexpr const char* NO_CATALOGUED_TEXTURE =
    "holds no bitmap of a game class: there is nothing to verify";

// diff's report: how many records the patch holds.
std::string RecordCount(std::size_t count);
// diff's report for IPS and BPS: the patch's size.
std::string PatchSize(std::size_t bytes);
// check --crc's line: the byte order and the native-order image's CRC32.
std::string OrderAndCrc(const char* order, std::uint32_t crc);

// A refused ROM file, as `check` reports it; empty for Native and Swapped.
std::string RomFile(const RomFileCheck& check);
// Why the scan left out a User bitmap: the reason and the file name.
std::string UserRefusal(const UserBitmapRefusalEntry& refusal);
// A refused replacement pair; `decision` gives the room, `size` the source's size.
std::string Replace(const ReplaceDecision& decision, std::uint32_t size);
// Refused or failed build, diff and apply; empty for None. An overlap names both replacements.
std::string NewRom(const NewRomResult& result);
std::string PatchFile(const PatchFileResult& result);
std::string PatchApply(const PatchApplyResult& result);

}  // namespace tool_texts
