#include "app/OutputCommands.h"

#include "app/FeedbackTexts.h"
#include "app/FileDialogs.h"
#include "app/StatusFeedback.h"
#include "app/WindowTexts.h"
#include "editor/Editor.h"

OutputCommands::OutputCommands(QWidget* window, Editor& editor, WindowServices& services)
    : m_window(window), m_editor(editor), m_services(services) {}

void OutputCommands::Show(const WindowText& text) {
    m_services.ShowMessage(m_window, QString::fromStdString(text.text),
                           QString::fromStdString(text.caption));
}

bool OutputCommands::RefuseUnreadable(RomReadiness readiness) {
    if (readiness != RomReadiness::Unreadable) {
        return false;
    }
    Show(window_texts::WorkingRomUnreadable(m_editor.WorkingRomPath().string()));
    return true;
}

bool OutputCommands::SaveNewRom() {
    const RomReadiness readiness = m_editor.CheckSave();
    if (readiness == RomReadiness::NoRomOpened) {
        Show(window_texts::NoRomOpened());
        return false;
    }
    if (readiness == RomReadiness::NoChanges) {
        Show(window_texts::NoChanges());
        return false;
    }
    if (RefuseUnreadable(readiness)) {
        return false;
    }
    const std::optional<QString> output =
        m_services.ChooseFileToSave(m_window, file_dialogs::NewRom());
    if (!output || readiness != RomReadiness::Ready) {
        return false;
    }
    const NewRomResult saved = m_editor.SaveNewRom(output->toStdString());
    if (saved.error != NewRomError::None) {
        Show(window_texts::NewRom(saved));
        return false;
    }
    ShowUnsaved(m_window, false);
    ShowFeedback(m_window,
                 window_texts::NewRomSaved(output->toStdString(), m_editor.PendingCount()));
    const WindowText question = window_texts::PatchQuestion();
    if (!m_services.AskYesNo(m_window, QString::fromStdString(question.text),
                             QString::fromStdString(question.caption))) {
        return true;
    }
    int type = 0;
    const std::optional<QString> patchPath =
        m_services.ChooseFileToSave(m_window, file_dialogs::Patch(), &type);
    if (!patchPath) {
        return true;
    }
    const PatchFileResult written = m_editor.WritePatch(
        saved.image, patchPath->toStdString(), file_dialogs::PatchFormatOf(*patchPath, type));
    if (written.error != PatchError::None) {
        Show(window_texts::PatchFile(written));
    } else {
        ShowFeedback(m_window, window_texts::PatchSaved(patchPath->toStdString()));
    }
    return true;
}

std::optional<QString> OutputCommands::ApplyPatch() {
    const std::optional<QString> patchPath =
        m_services.ChooseFileToOpen(m_window, file_dialogs::Patch());
    if (!patchPath) {
        return std::nullopt;
    }
    const RomReadiness readiness = m_editor.CheckApply();
    if (readiness == RomReadiness::NoRomOpened) {
        Show(window_texts::NoRomOpened());
    }
    if (RefuseUnreadable(readiness) || readiness != RomReadiness::Ready) {
        return std::nullopt;
    }
    // A patch that cannot be read or applied is refused before the user picks where its result
    // goes.
    const PatchReadResult read = m_editor.CheckPatch(patchPath->toStdString());
    if (read.error == PatchError::CannotRead) {
        PatchApplyResult unreadable;
        unreadable.error = PatchError::CannotRead;
        unreadable.detail = patchPath->toStdString();
        Show(window_texts::PatchApply(unreadable));
        return std::nullopt;
    }
    if (read.error != PatchError::None) {
        Show(window_texts::PatchRead(read));
        return std::nullopt;
    }
    const std::optional<QString> output =
        m_services.ChooseFileToSave(m_window, file_dialogs::PatchedRom());
    if (!output) {
        return std::nullopt;
    }
    const PatchApplyResult applied =
        m_editor.ApplyPatch(patchPath->toStdString(), output->toStdString());
    if (applied.error != PatchError::None) {
        Show(window_texts::PatchApply(applied));
        return std::nullopt;
    }
    ShowFeedback(m_window, window_texts::PatchedRomSaved(output->toStdString()));
    const WindowText offer =
        window_texts::LoadPatchedRom(output->toStdString(), m_editor.HasUnsavedReplacements());
    if (!m_services.AskYesNo(m_window, QString::fromStdString(offer.text),
                             QString::fromStdString(offer.caption))) {
        return std::nullopt;
    }
    return output;
}

void OutputCommands::InsertUserImage() {
    const std::optional<QString> chosen =
        m_services.ChooseFileToOpen(m_window, file_dialogs::UserImage());
    if (!chosen) {
        return;
    }
    const std::filesystem::path bitmap = chosen->toStdString();
    const InsertResult inserted = m_editor.InsertUserImage(bitmap);
    if (inserted.outcome == InsertOutcome::Refused) {
        Show(window_texts::Convert(inserted.convert, inserted.colours, inserted.reason));
    } else if (inserted.outcome == InsertOutcome::NotWritten) {
        Show(window_texts::ScratchNotWritten(inserted.writeError));
    } else if (inserted.outcome == InsertOutcome::Written) {
        ShowFeedback(m_window,
                     window_texts::UserImageInserted(bitmap.filename().string(),
                                                     std::filesystem::current_path().string()));
    }
}
