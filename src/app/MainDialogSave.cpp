// Save New ROM, the patch it may write, and Apply Patch.

#include "app/FileDialogs.h"
#include "app/MainDialog.h"
#include "app/WindowTexts.h"
#include "editor/Editor.h"

void MainDialog::SaveNewRom() {
    const RomReadiness readiness = m_editor.CheckSave();
    if (readiness == RomReadiness::NoRomOpened) {
        ShowText(window_texts::NoRomOpened());
        return;
    }
    if (readiness == RomReadiness::NoChanges) {
        ShowText(window_texts::NoChanges());
        return;
    }
    const std::optional<QString> output = m_services.ChooseFileToSave(this, file_dialogs::NewRom());
    if (!output || readiness != RomReadiness::Ready) {
        return;
    }
    const NewRomResult saved = m_editor.SaveNewRom(output->toStdString());
    if (saved.error != NewRomError::None) {
        ShowText(window_texts::NewRom(saved));
        return;
    }
    const WindowText question = window_texts::PatchQuestion();
    if (!m_services.AskYesNo(this, QString::fromStdString(question.text),
                             QString::fromStdString(question.caption))) {
        return;
    }
    int type = 0;
    const std::optional<QString> patchPath =
        m_services.ChooseFileToSave(this, file_dialogs::Patch(), &type);
    if (!patchPath) {
        return;
    }
    const PatchFileResult written = m_editor.WritePatch(
        saved.image, patchPath->toStdString(), file_dialogs::PatchFormatOf(*patchPath, type));
    if (written.error != PatchError::None) {
        ShowText(window_texts::PatchFile(written));
    }
}

void MainDialog::ApplyPatch() {
    const std::optional<QString> patchPath =
        m_services.ChooseFileToOpen(this, file_dialogs::Patch());
    if (!patchPath) {
        return;
    }
    const RomReadiness readiness = m_editor.CheckApply();
    if (readiness == RomReadiness::NoRomOpened) {
        ShowText(window_texts::NoRomOpened());
    }
    if (readiness != RomReadiness::Ready) {
        return;
    }
    // A patch that cannot be applied is refused before the user picks where its result goes.
    const PatchReadResult read = m_editor.CheckPatch(patchPath->toStdString());
    if (read.error != PatchError::None) {
        ShowText(window_texts::PatchRead(read));
        return;
    }
    const std::optional<QString> output =
        m_services.ChooseFileToSave(this, file_dialogs::PatchedRom());
    if (!output) {
        return;
    }
    const PatchApplyResult applied =
        m_editor.ApplyPatch(patchPath->toStdString(), output->toStdString());
    if (applied.error != PatchError::None) {
        ShowText(window_texts::PatchApply(applied));
    }
}
