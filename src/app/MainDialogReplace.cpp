// Inspecting a texture, choosing the replacement source, Replace, and Insert User Image.

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <memory>

#include "app/DialogTemplate.h"
#include "app/FeedbackTexts.h"
#include "app/MainDialog.h"
#include "app/OutputCommands.h"
#include "app/PendingTooltips.h"
#include "app/ReplaceUndo.h"
#include "app/StatusFeedback.h"
#include "app/ThumbnailFill.h"
#include "app/ThumbnailList.h"
#include "app/WindowServices.h"
#include "app/WindowTexts.h"
#include "catalogue/SizeClasses.h"
#include "editor/Editor.h"

void MainDialog::ShowTextureInfo() {
    ReadControls();
    const bool forceSize = m_forceSize;
    const int k = SelectionMark();
    if (k < 0) {
        return;
    }
    const int c = m_controls.sizeCombo->currentIndex();
    const std::string& description = m_editor.Table()[c].description[k];
    const TextureFacts facts = m_editor.Inspect(c, k);
    m_descriptionText = QString::fromStdString(
        facts.user ? description : window_texts::DisplayedDescription(description));
    m_statusText = QString::fromStdString(window_texts::TextureSummary(facts));
    WriteControls();
    m_controls.forceSize->setChecked(forceSize);
    ShowFeedback(this, PendingInfo(m_editor, c, k));
}

void MainDialog::ShowTextureMenu(const QPoint& position) {
    if (SelectionMark() < 0) {
        return;
    }
    const std::unique_ptr<QMenu> menu(
        BuildPopupMenu(ids::MENU_RIGHT_CLICK, this, [this](int id) { OnCommand(id); }));
    m_services.RunPopupMenu(*menu, m_controls.textureList->viewport()->mapToGlobal(position));
}

void MainDialog::ShowPreviewMenu(const QPoint& position) {
    const std::unique_ptr<QMenu> menu(
        BuildPopupMenu(ids::MENU_RIGHT_CLICK_SMALL, this, [this](int id) { OnCommand(id); }));
    m_services.RunPopupMenu(*menu, m_controls.previewList->viewport()->mapToGlobal(position));
}

void MainDialog::ShowReplacementPreview() {
    const SizeClassRecord& record = m_editor.Table()[m_controls.sizeCombo->currentIndex()];
    const int k = SelectionMark();
    FillPreview(m_controls.previewList, record.imagePath[k],
                QSize(static_cast<int>(record.width[k]), static_cast<int>(record.height[k])));
}

void MainDialog::ChooseReplacementSource() {
    const int k = SelectionMark();
    if (k < 0) {
        return;
    }
    const TextureFacts facts = m_editor.ChooseSource(m_controls.sizeCombo->currentIndex(), k);
    if (facts.user && facts.convert != ConvertResult::Ok) {
        ShowText(window_texts::Convert(facts.convert, facts.colours, facts.reason));
        return;
    }
    ShowReplacementPreview();
    ReadControls();
    m_replacementText = QString::fromStdString(window_texts::ReplacementLine(facts));
    WriteControls();
}

void MainDialog::ReplaceTexture() {
    const int c = m_controls.sizeCombo->currentIndex();
    const int k = SelectionMark();
    // The fields follow the controls only when there is a game texture to replace.
    if (c != USER_CLASS && k >= 0) {
        ReadControls();
    }
    const std::optional<std::string> forced =
        m_forceSize ? std::optional(m_forcedSizeText.toStdString()) : std::nullopt;
    ReplacementSlot before;
    const ReplaceDecision decision = m_editor.Replace(c, k, forced, &before);
    if (decision.verdict == ReplaceVerdict::Recorded) {
        m_history->Recorded(c, k, before);
    } else if (decision.verdict != ReplaceVerdict::NoTarget) {
        ShowFeedback(this, window_texts::ReplaceRefused(decision));
        ShowText(window_texts::Replace(decision.verdict));
    }
}

void MainDialog::InsertUserImage() {
    m_output->InsertUserImage();
}
