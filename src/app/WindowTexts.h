#pragma once

#include <cstdint>
#include <string>

#include "catalogue/CatalogueScan.h"
#include "catalogue/RomCheck.h"
#include "codec/BitmapConversion.h"
#include "editor/Editor.h"
#include "replace/ReplaceDecision.h"
#include "romio/NewRom.h"
#include "romio/Patch.h"

// Every text the window shows, each written once: message boxes keyed by the core's results,
// and the window's own lines.

// A message box's text and caption.
struct WindowText {
    std::string text;
    std::string caption;
};

namespace window_texts {

// Texts of the main window and its About box.
inline constexpr const char* PROGRAM_TITLE = "Moonglass ROM Image Changer 1.1";
inline constexpr const char* USAGE_HINT =
    "Double click to set replacement texture.  Right click and choose replace to switch it to "
    "selected texture.";
inline constexpr const char* ABOUT_MENU_TEXT = "&About MGROMImageEditor...";
inline constexpr const char* ABOUT_CAPTION = "About MGROMImageEditor";

WindowText NoRomOpened();
WindowText NoImageTable();
WindowText NoChanges();
WindowText PatchQuestion();

// A refused ROM file; empty texts for Native and Swapped, which are accepted.
WindowText RomFile(const RomFileCheck& check);
// The working copy of a native-order ROM could not be written.
WindowText WorkingCopyNotWritten(const std::string& path, const std::string& error);
// A game class whose folder yielded no bitmap; `folder` as the user knows it.
WindowText BadInstall(const std::string& folder);
// A class folder with more bitmaps than a class can show.
WindowText TooManyBitmaps(const std::string& folder, std::size_t loaded, std::size_t leftOut);
// The User bitmaps the scan left out, one line each; empty texts when there are none.
WindowText UserBitmapErrors(const std::vector<UserBitmapRefusalEntry>& refusals);

// A bitmap the codec refuses; empty texts for Ok.
WindowText Convert(ConvertResult result);
// A refused user image with its colour count or libpng's reason, where it has one.
WindowText Convert(ConvertResult result, int colours, const std::string& reason);
// A refused Replace; empty texts for Recorded and NoTarget, which show nothing.
WindowText Replace(ReplaceVerdict verdict);
// Insert User Image could not write one of its files.
WindowText ScratchNotWritten(const std::string& error);

// Refused or failed Save New ROM, patch writes and Apply Patch; empty texts for None.
WindowText NewRom(const NewRomResult& result);
WindowText PatchRead(const PatchReadResult& result);
WindowText PatchFile(const PatchFileResult& result);
WindowText PatchApply(const PatchApplyResult& result);

// The window's own lines.
// The status bar's line after a load: "MOONGLASS.ROM loaded: CRC32 1A2B3C4D".
std::string RomIdentity(const std::string& fileName, std::uint32_t nativeCrc);
// "%u Textures Found!" for a class of `count` entries.
std::string TextureCount(std::uint32_t count);
// A texture's summary: colours, room or compressed size, and offset or size.
std::string TextureSummary(const TextureFacts& facts);
// The line under the replacement preview: colours and size.
std::string ReplacementLine(const TextureFacts& facts);
// A description line as shown: without its six-character offset key and its line break.
std::string DisplayedDescription(const std::string& description);
// A class folder as the user knows it from the install instructions, with '/' between names.
std::string FolderForMessage(int sizeClass);

}  // namespace window_texts
