// Save New ROM, the patch it may write, and Apply Patch.

#include "editor/Editor.h"
#include "io/ByteOrder.h"
#include "io/FileBytes.h"
#include "io/RomImage.h"

namespace {

PatchReadResult Unreadable() {
    PatchReadResult result;
    result.error = PatchError::CannotRead;
    return result;
}

// Whether the working ROM can be read and still reads as a swapped-order image; the commands
// that write new images end silently when it does not read so.
RomReadiness WorkingRomReadiness(const std::filesystem::path& workingRom) {
    const auto header = ReadFileBytes(workingRom, MARKER_OFFSET + 4);
    if (!header) {
        return RomReadiness::Unreadable;
    }
    return ReadMarker(*header) == RomMarker::Swapped ? RomReadiness::Ready
                                                     : RomReadiness::NotSwapped;
}

}  // namespace

RomReadiness Editor::CheckSave() const {
    if (m_workingRomPath.empty()) {
        return RomReadiness::NoRomOpened;
    }
    if (CollectPendingReplacements(m_table).empty()) {
        return RomReadiness::NoChanges;
    }
    return WorkingRomReadiness(m_workingRomPath);
}

NewRomResult Editor::SaveNewRom(const std::filesystem::path& output) {
    std::vector<PendingReplacement> pending = CollectPendingReplacements(m_table);
    NewRomResult result =
        SaveNewRomFile(m_workingRomPath, output, pending, UserRecordsFromCatalogue(m_table));
    if (result.error == NewRomError::None) {
        m_saved = std::move(pending);
    }
    return result;
}

PatchFileResult Editor::WritePatch(std::span<const std::uint8_t> newSwapped,
                                   const std::filesystem::path& patchPath,
                                   PatchFormat format) const {
    return WritePatchFileAs(format, m_workingRomPath, newSwapped, patchPath);
}

RomReadiness Editor::CheckApply() const {
    if (m_workingRomPath.empty()) {
        return RomReadiness::NoRomOpened;
    }
    return WorkingRomReadiness(m_workingRomPath);
}

PatchReadResult Editor::CheckPatch(const std::filesystem::path& patchPath) const {
    const auto patch = ReadPatchFile(patchPath);
    if (!patch) {
        return Unreadable();
    }
    if (DetectPatchFormat(*patch) == PatchFormat::Custom) {
        return ReadPatch(*patch);
    }
    // IPS and BPS are judged against the image they would change.
    const auto working = ReadFileBytes(m_workingRomPath, ROM_IMAGE_SIZE + 1);
    if (!working) {
        return Unreadable();
    }
    if (working->size() != ROM_IMAGE_SIZE) {
        return {};
    }
    return CheckAnyPatch(*patch, *working);
}

PatchApplyResult Editor::ApplyPatch(const std::filesystem::path& patchPath,
                                    const std::filesystem::path& output) const {
    return ApplyAnyPatchFile(m_workingRomPath, patchPath, output);
}
