// The texture menu's Export Texture As Bitmap.

#include <QComboBox>

#include "app/CatalogueWindowTexts.h"
#include "app/FileDialogs.h"
#include "app/MainDialog.h"
#include "app/WindowServices.h"
#include "editor/Editor.h"

void MainDialog::ExportTexture() {
    const int entry = SelectionMark();
    const int sizeClass = m_controls.sizeCombo->currentIndex();
    if (entry < 0) {
        return;
    }
    ExportResult result;
    result.outcome = m_editor.WorkingRomPath().empty() ? ExportOutcome::NoRomOpened
                     : sizeClass >= USER_CLASS         ? ExportOutcome::UserBitmap
                                                       : ExportOutcome::Written;
    if (result.outcome == ExportOutcome::Written) {
        const FileDialogRequest request = {
            QStringLiteral("bmp"), QString::fromStdString(m_editor.ExportName(sizeClass, entry)),
            QStringLiteral("Bitmap (*.bmp)|*.bmp|"), file_dialogs::SAVE_OPTIONS};
        const std::optional<QString> output = m_services.ChooseFileToSave(this, request);
        if (!output) {
            return;
        }
        result = m_editor.ExportTexture(sizeClass, entry, output->toStdString());
    }
    if (result.outcome != ExportOutcome::Written) {
        ShowText(window_texts::ExportRefused(result));
    }
}
