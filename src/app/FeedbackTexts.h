#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "app/WindowTexts.h"
#include "replace/PendingSlot.h"
#include "replace/ReplaceDecision.h"

// The texts the window adds to its own messages: the lines of its status bar, its tooltips, and
// the questions that keep a user's work from being lost.
namespace window_texts {

// Message boxes and questions.
WindowText ImageTableUnreadable();
WindowText WorkingRomUnreadable(const std::string& path);
// Closing with pending replacements that no Save New ROM wrote as they are; `count` of them
// pending. Answered with UNSAVED_BUTTONS.
WindowText UnsavedReplacements(std::size_t count);
inline constexpr const char* UNSAVED_BUTTONS[] = {"Save New ROM", "Discard", "Cancel"};
// After Apply Patch: whether to load its result, and what that drops.
WindowText LoadPatchedRom(const std::string& path, bool unsavedDropped);

// The status bar after each command.
std::string Replaced(std::uint32_t targetOffset, const PendingSource& source);
std::string ReplaceRefused(const ReplaceDecision& decision);
std::string NewRomSaved(const std::string& path, std::size_t replacements);
std::string PatchSaved(const std::string& path);
std::string PatchedRomSaved(const std::string& path);
std::string UserImageInserted(const std::string& bitmapName, const std::string& folder);
// An undo step's name ("Replace 010018"), and the line after undoing or redoing it.
std::string ReplaceStep(std::uint32_t targetOffset);
std::string Undone(const std::string& step);
std::string Redone(const std::string& step);

// What a replaced texture will receive, and what the ROM holds until then.
std::string PendingLine(const PendingSource& source);

// What a tile's tooltip tells of its entry; `room` and `pending` only for game textures.
struct TileFacts {
    bool user = false;
    std::uint32_t offset = 0;
    std::string sizeClass;  // the combo's label of the class
    std::uint32_t room = 0;
    std::string description;  // as displayed
    std::optional<PendingSource> pending;
};
std::string TileToolTip(const TileFacts& facts);

}  // namespace window_texts
