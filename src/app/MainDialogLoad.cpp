// Load ROM: choose the image and show what the load found.

#include <QComboBox>
#include <QListWidget>

#include "app/CatalogueBuildFlow.h"
#include "app/FeedbackTexts.h"
#include "app/FileDialogs.h"
#include "app/MainDialog.h"
#include "app/ReplaceUndo.h"
#include "app/RomIdentityBar.h"
#include "app/ScanReportMessages.h"
#include "app/StatusFeedback.h"
#include "app/ThumbnailList.h"
#include "app/WindowTexts.h"
#include "editor/Editor.h"

void MainDialog::LoadRom() {
    const std::optional<QString> chosen =
        m_services.ChooseFileToOpen(this, file_dialogs::LoadRom());
    // Another load drops the pending replacements, as ending the window does.
    if (chosen && MayEnd()) {
        LoadRomFile(*chosen);
    }
}

void MainDialog::LoadRomFile(const QString& chosen) {
    OfferCatalogueBuild(this, m_editor, m_services, chosen.toStdString());
    const LoadResult loaded = m_editor.Load(chosen.toStdString());
    if (loaded.outcome == LoadOutcome::RomRefused) {
        ShowText(window_texts::RomFile(loaded.check));
        return;
    }
    if (loaded.outcome == LoadOutcome::WorkingCopyNotWritten) {
        ShowText(
            window_texts::WorkingCopyNotWritten(loaded.workingCopy.string(), loaded.writeError));
        return;
    }
    ShowRomIdentity(this, chosen.toStdString(), m_editor.NativeCrc32());
    ShowRomTitle(this, chosen.toStdString());
    ShowUnsaved(this, false);
    ShowFeedback(this, {});
    m_history->Clear();
    if (loaded.imageTableMissing) {
        ShowText(window_texts::NoImageTable());
    } else if (loaded.imageTableUnreadable) {
        ShowText(window_texts::ImageTableUnreadable());
    }

    SetSelectionMark(0);
    m_controls.previewList->clear();
    m_replacementText.clear();
    m_descriptionText.clear();
    m_forcedSizeText = QString::asprintf("%X", DEFAULT_FORCED_SIZE);
    m_controls.sizeCombo->setCurrentIndex(0);
    WriteControls();

    ShowScanReport(this, m_services, loaded.scan);
    m_controls.sizeCombo->setCurrentIndex(0);
    SwitchImageSize();
}
