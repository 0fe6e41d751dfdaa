// Save New ROM, the patch it may write, and Apply Patch.

#include <QString>

#include "app/EditorState.h"
#include "app/MainDialog.h"
#include "app/UserMessages.h"
#include "app/WindowServices.h"
#include "io/ByteOrder.h"
#include "io/FileBytes.h"
#include "romio/NewRom.h"
#include "romio/Patch.h"
#include "romio/RomOutputMessages.h"

namespace {

constexpr unsigned SAVE_OPTIONS = FILE_DIALOG_HIDE_READ_ONLY | FILE_DIALOG_OVERWRITE_PROMPT;

const FileDialogRequest NEW_ROM_DIALOG{
    QStringLiteral("rom"), QStringLiteral("DIVUZAVOZIRIDODU.VOR"),
    QStringLiteral("Moonglass's ROM (*.rom, *.v64)|*.rom; *.v64|"), SAVE_OPTIONS};
const FileDialogRequest PATCH_DIALOG{QStringLiteral("pat"), QStringLiteral("MGTexturePatch.pat"),
                                     QStringLiteral("Custom ROM Patch (*.pat)|*.pat|"),
                                     SAVE_OPTIONS};
const FileDialogRequest PATCHED_ROM_DIALOG{QStringLiteral("rom"), QStringLiteral("MGPatched.rom"),
                                           QStringLiteral("Patched MG ROM (*.rom)|*.rom|"),
                                           SAVE_OPTIONS};

// Whether the working ROM still reads as a swapped-order image; the commands that write new
// images end silently when it does not.
bool WorkingRomIsSwapped(const std::filesystem::path& workingRom) {
    const auto header = ReadFileBytes(workingRom, MARKER_OFFSET + 4);
    return header && ReadMarker(*header) == RomMarker::Swapped;
}

std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

}  // namespace

void MainDialog::ShowRomMessage(const RomMessage& message) {
    m_services.ShowMessage(this, QString::fromStdString(message.text),
                           QString::fromStdString(message.caption));
}

void MainDialog::SaveNewRom() {
    if (m_state.workingRomPath.empty()) {
        ShowMessage(messages::NO_ROM_OPENED.text, messages::NO_ROM_OPENED.caption);
        return;
    }
    const std::vector<PendingReplacement> pending =
        CollectPendingReplacements(m_state.sizeClassTable);
    if (pending.empty()) {
        ShowMessage(rom_output_messages::NO_CHANGES.text, rom_output_messages::NO_CHANGES.caption);
        return;
    }
    const bool swapped = WorkingRomIsSwapped(m_state.workingRomPath);
    const std::optional<QString> output = m_services.ChooseFileToSave(this, NEW_ROM_DIALOG);
    if (!output || !swapped) {
        return;
    }
    const NewRomResult saved = SaveNewRomFile(m_state.workingRomPath, ToPath(*output), pending,
                                              UserRecordsFromCatalogue(m_state.sizeClassTable));
    if (saved.error != NewRomError::None) {
        ShowRomMessage(NewRomMessage(saved));
        return;
    }
    if (!m_services.AskYesNo(this, QString::fromUtf8(rom_output_messages::PATCH_QUESTION.text),
                             QString::fromUtf8(rom_output_messages::PATCH_QUESTION.caption))) {
        return;
    }
    WritePatchFor(saved.image);
}

void MainDialog::WritePatchFor(std::span<const std::uint8_t> newSwapped) {
    const std::optional<QString> patchPath = m_services.ChooseFileToSave(this, PATCH_DIALOG);
    if (!patchPath) {
        return;
    }
    const PatchFileResult written =
        WritePatchFile(m_state.workingRomPath, newSwapped, ToPath(*patchPath));
    if (written.error != PatchError::None) {
        ShowRomMessage(PatchFileMessage(written));
    }
}

void MainDialog::ApplyPatch() {
    const std::optional<QString> patchPath = m_services.ChooseFileToOpen(this, PATCH_DIALOG);
    if (!patchPath) {
        return;
    }
    if (m_state.workingRomPath.empty()) {
        ShowMessage(messages::NO_ROM_OPENED.text, messages::NO_ROM_OPENED.caption);
        return;
    }
    if (!WorkingRomIsSwapped(m_state.workingRomPath)) {
        return;
    }
    // A patch that cannot be applied is refused before the user picks where its result goes.
    const auto patch = ReadPatchFile(ToPath(*patchPath));
    if (patch) {
        const PatchReadResult read = ReadPatch(*patch);
        if (read.error != PatchError::None) {
            ShowRomMessage(PatchReadMessage(read));
            return;
        }
    }
    const std::optional<QString> output = m_services.ChooseFileToSave(this, PATCHED_ROM_DIALOG);
    if (!output) {
        return;
    }
    const PatchApplyResult applied =
        ApplyPatchFile(m_state.workingRomPath, ToPath(*patchPath), ToPath(*output));
    if (applied.error != PatchError::None) {
        ShowRomMessage(PatchApplyMessage(applied));
    }
}
