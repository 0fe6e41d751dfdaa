// Save New ROM, the patch it may write, and Apply Patch.

#include "editor/Editor.h"
#include "io/ByteOrder.h"
#include "io/FileBytes.h"
#include "io/RomImage.h"

namespace {

// Whether the working ROM still reads as a swapped-order image; the commands that write new
// images end silently when it does not.
bool WorkingRomIsSwapped(const std::filesystem::path& workingRom) {
    const auto header = ReadFileBytes(workingRom, MARKER_OFFSET + 4);
    return header && ReadMarker(*header) == RomMarker::Swapped;
}

}  // namespace

RomReadiness Editor::CheckSave() const {
    if (m_workingRomPath.empty()) {
        return RomReadiness::NoRomOpened;
    }
    if (CollectPendingReplacements(m_table).empty()) {
        return RomReadiness::NoChanges;
    }
    return WorkingRomIsSwapped(m_workingRomPath) ? RomReadiness::Ready : RomReadiness::NotSwapped;
}

NewRomResult Editor::SaveNewRom(const std::filesystem::path& output) const {
    return SaveNewRomFile(m_workingRomPath, output, CollectPendingReplacements(m_table),
                          UserRecordsFromCatalogue(m_table));
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
    return WorkingRomIsSwapped(m_workingRomPath) ? RomReadiness::Ready : RomReadiness::NotSwapped;
}

PatchReadResult Editor::CheckPatch(const std::filesystem::path& patchPath) const {
    const auto patch = ReadPatchFile(patchPath);
    if (!patch) {
        return {};
    }
    if (DetectPatchFormat(*patch) == PatchFormat::Custom) {
        return ReadPatch(*patch);
    }
    // IPS and BPS are judged against the image they would change.
    const auto working = ReadFileBytes(m_workingRomPath, ROM_IMAGE_SIZE + 1);
    if (!working || working->size() != ROM_IMAGE_SIZE) {
        return {};
    }
    return CheckAnyPatch(*patch, *working);
}

PatchApplyResult Editor::ApplyPatch(const std::filesystem::path& patchPath,
                                    const std::filesystem::path& output) const {
    return ApplyAnyPatchFile(m_workingRomPath, patchPath, output);
}
