#pragma once

#include <string>

#include "catalogue/CatalogueScan.h"
#include "catalogue/RomCheck.h"
#include "codec/BitmapConversion.h"
#include "replace/ReplaceDecision.h"
#include "romio/NewRom.h"
#include "romio/Patch.h"

// Every reason mgromtool prints, each written once and keyed by the core's results. Where the
// editor's window has words for the same refusal, the tool says the same.
namespace tool_texts {

inline constexpr const char* FILE_NOT_FOUND = "Invalid File Specified";
inline constexpr const char* NO_CHANGES = "No changes!";
inline constexpr const char* OUTPUT_IS_WORKING_ROM =
    "The new ROM cannot be saved over the working ROM it is made from. Please choose another "
    "file name.";
inline constexpr const char* NATIVE_ORDER =
    "is in native byte order; these commands work on swapped-order images (convert it with "
    "\"mgromtool swap\")";

// A refused ROM file, as `check` reports it; empty for Native and Swapped.
std::string RomFile(const RomFileCheck& check);
// Why the scan left out a User bitmap: the reason and the file name.
std::string UserRefusal(const UserBitmapRefusalEntry& refusal);
// A bitmap the codec refuses; empty for Ok.
std::string Convert(ConvertResult result);
// A refused replacement pair; `decision` gives the room, `size` the source's size.
std::string Replace(const ReplaceDecision& decision, std::uint32_t size);
// Refused or failed build, diff and apply; empty for None. An overlap names both replacements.
std::string NewRom(const NewRomResult& result);
std::string PatchFile(const PatchFileResult& result);
std::string PatchApply(const PatchApplyResult& result);

}  // namespace tool_texts
