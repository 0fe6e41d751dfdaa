#include "app/FeedbackTexts.h"

#include <cstdio>

#include "catalogue/ParseHex.h"

namespace window_texts {

namespace {

// A texture offset as its bitmap and description line name it: six hexadecimal digits.
std::string OffsetName(std::uint32_t offset) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%06X", offset);
    return buffer;
}

std::string SourceName(const PendingSource& source) {
    return source.user ? source.fileName : OffsetName(source.offset);
}

std::string Count(std::size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

}  // namespace

WindowText ImageTableUnreadable() {
    return {"The image table tableBinary.bin exists but cannot be read.",
            "Images defaulted to low 0x200"};
}

WindowText WorkingRomUnreadable(const std::string& path) {
    return {"The working ROM " + path +
                " is missing or cannot be read, so nothing was written. Please load the ROM "
                "again.",
            "Cannot open file"};
}

WindowText UnsavedReplacements(std::size_t count) {
    // The count is of all pending replacements: a ROM saved earlier may hold some of them, but
    // no ROM holds this set.
    return {Count(count, "replacement") +
                " pending, and no new ROM with them was saved: they will be lost. Save a new ROM "
                "with them first?",
            "Unsaved Replacements"};
}

WindowText LoadPatchedRom(const std::string& path, bool unsavedDropped) {
    return {"Load the patched ROM " + path + " now?" +
                (unsavedDropped ? " The replacements not written by Save New ROM will be dropped."
                                : ""),
            "Load Patched ROM?"};
}

std::string Replaced(std::uint32_t targetOffset, const PendingSource& source) {
    return OffsetName(targetOffset) + " will be replaced by " + SourceName(source) + " (0x" +
           HexText(source.size) + " bytes) when a new ROM is saved.";
}

std::string ReplaceRefused(const ReplaceDecision& decision) {
    if (decision.verdict == ReplaceVerdict::TooLarge) {
        return "Not replaced: the source needs 0x" + HexText(decision.sourceSize) +
               " bytes, the room is 0x" + HexText(decision.room) + ".";
    }
    return "Not replaced: " + Replace(decision.verdict).text;
}

std::string NewRomSaved(const std::string& path, std::size_t replacements) {
    return "New ROM saved to " + path + " with " + Count(replacements, "replacement") + ".";
}

std::string PatchSaved(const std::string& path) {
    return "Patch saved to " + path + ".";
}

std::string PatchedRomSaved(const std::string& path) {
    return "Patched ROM saved to " + path + ".";
}

std::string UserImageInserted(const std::string& bitmapName, const std::string& folder) {
    return bitmapName + " converted: compressed.bin and output8.bmp written to " + folder + ".";
}

std::string ReplaceStep(std::uint32_t targetOffset) {
    return "Replace " + OffsetName(targetOffset);
}

std::string Undone(const std::string& step) {
    return "Undone: " + step + ".";
}

std::string Redone(const std::string& step) {
    return "Redone: " + step + ".";
}

std::string PendingLine(const PendingSource& source) {
    return "Pending: " + SourceName(source) + " (0x" + HexText(source.size) +
           " bytes), written by Save New ROM; until then the ROM holds this texture's own data.";
}

std::string TileToolTip(const TileFacts& facts) {
    if (facts.user) {
        return "User bitmap " + std::to_string(facts.offset) + " (" + facts.sizeClass +
               "), not part of the ROM\n" + facts.description;
    }
    std::string tip = "Offset " + OffsetName(facts.offset) + " (" + facts.sizeClass + "), room 0x" +
                      HexText(facts.room) + "\n" + facts.description;
    if (facts.pending) {
        tip += "\n" + PendingLine(*facts.pending);
    }
    return tip;
}

}  // namespace window_texts
