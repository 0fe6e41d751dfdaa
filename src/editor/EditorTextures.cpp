// Inspecting textures, choosing the source, Replace, Insert User Image and the placeholder.

#include "catalogue/FolderListing.h"
#include "catalogue/ImageTable.h"
#include "catalogue/Placeholder.h"
#include "catalogue/SizeClasses.h"
#include "codec/UserImage.h"
#include "editor/Editor.h"
#include "io/AtomicFile.h"
#include "replace/TextureRoom.h"

namespace {

// Scratch files of Insert User Image, in the current folder.
constexpr const char* COMPRESSED_FILE_NAME = "compressed.bin";
constexpr const char* PREVIEW_FILE_NAME = "output8.bmp";

}  // namespace

TextureFacts Editor::Inspect(int sizeClass, int entry) const {
    TextureFacts facts;
    const SizeClassRecord& record = m_table[sizeClass];
    if (sizeClass != USER_CLASS) {
        facts.offset = record.romOffset[entry];
        facts.room = Room(sizeClass, entry);
        facts.paletteByte = PaletteByte(m_workingRomPath, facts.offset);
        return facts;
    }
    facts.user = true;
    const UserImage image = PrepareUserImage(record.imagePath[entry], "N");
    facts.convert = image.result;
    facts.colours = image.colours;
    facts.reason = image.reason;
    facts.entries = image.entries;
    facts.compressedSize = static_cast<std::uint32_t>(image.record.size());
    facts.width = image.width;
    facts.height = image.height;
    return facts;
}

std::uint32_t Editor::Room(int sizeClass, int entry) const {
    return AvailableRoom(ReadImageTable(m_programFolder / IMAGE_TABLE_FILE),
                         m_table[sizeClass].romOffset[entry]);
}

TextureFacts Editor::ChooseSource(int sizeClass, int entry) {
    const TextureFacts facts = Inspect(sizeClass, entry);
    // A bitmap the codec refuses would end up as garbage in a saved ROM: it cannot be chosen.
    if (facts.user && facts.convert != ConvertResult::Ok) {
        return facts;
    }
    m_source = {static_cast<std::uint32_t>(entry), static_cast<std::uint32_t>(sizeClass),
                facts.user ? facts.compressedSize : facts.room};
    return facts;
}

ReplaceDecision Editor::Replace(int sizeClass, int entry,
                                const std::optional<std::string>& forcedSizeHex,
                                ReplacementSlot* previous) {
    const ReplaceDecision decision =
        DecideReplacement(m_table, ReadImageTable(m_programFolder / IMAGE_TABLE_FILE), sizeClass,
                          entry, m_source, forcedSizeHex);
    if (decision.verdict == ReplaceVerdict::Recorded) {
        if (previous != nullptr) {
            *previous = Slot(sizeClass, entry);
        }
        RecordReplacement(m_table, sizeClass, entry, decision);
    }
    return decision;
}

ReplacementSlot Editor::Slot(int sizeClass, int entry) const {
    return ReadSlot(m_table, sizeClass, entry);
}

void Editor::RestoreSlot(int sizeClass, int entry, const ReplacementSlot& slot) {
    WriteSlot(m_table, sizeClass, entry, slot);
}

std::optional<PendingSource> Editor::Pending(int sizeClass, int entry) const {
    return DescribePending(m_table, sizeClass, entry);
}

std::size_t Editor::PendingCount() const {
    return CollectPendingReplacements(m_table).size();
}

bool Editor::HasUnsavedReplacements() const {
    const std::vector<PendingReplacement> pending = CollectPendingReplacements(m_table);
    return !pending.empty() && pending != m_saved;
}

InsertResult Editor::InsertUserImage(const std::filesystem::path& bitmap) const {
    // Only names ending in ".bmp" or ".png" exactly, in lower case.
    if (bitmap.extension() != ".bmp" && bitmap.extension() != ".png") {
        return {InsertOutcome::NotBmpName, ConvertResult::Ok, {}};
    }
    const UserImage image = PrepareUserImage(bitmap, "N");
    if (image.result != ConvertResult::Ok) {
        return {InsertOutcome::Refused, image.result, {}, image.colours, image.reason};
    }
    for (const auto& [name, bytes] : {std::pair{COMPRESSED_FILE_NAME, image.record},
                                      std::pair{PREVIEW_FILE_NAME, MakePreviewBitmap(image)}}) {
        const FileWriteResult written = WriteFileAtomically(name, bytes);
        if (!written.ok) {
            return {InsertOutcome::NotWritten, ConvertResult::Ok, written.error};
        }
    }
    return {};
}

std::filesystem::path Editor::WritePlaceholder() const {
    const std::filesystem::path path =
        ResolvePathIgnoringCase(m_programFolder, "romimages") / PLACEHOLDER_BITMAP_NAME;
    // A placeholder that cannot be written just leaves the hidden entries without a picture.
    (void)WriteFileAtomically(path, PLACEHOLDER_BITMAP);
    return path;
}
