// The texture list: one thumbnail per catalogue entry of the selected size class.

#include <QComboBox>
#include <QLineEdit>

#include "app/MainDialog.h"
#include "app/PendingTooltips.h"
#include "app/ThumbnailFill.h"
#include "app/ThumbnailList.h"
#include "app/WindowTexts.h"
#include "app/ZoomMenu.h"
#include "catalogue/SizeClasses.h"
#include "editor/Editor.h"

namespace {

// Thumbnails of user bitmaps share one size, whatever the bitmaps' own sizes.
constexpr QSize USER_THUMBNAIL_SIZE(32, 64);

}  // namespace

void MainDialog::RefillTextureList() {
    const int sizeClass = m_controls.sizeCombo->currentIndex();
    const SizeClassRecord& record = m_editor.Table()[sizeClass];
    const QSize thumbnail =
        m_zoom->Factor() * (sizeClass == USER_CLASS ? USER_THUMBNAIL_SIZE
                                                    : QSize(static_cast<int>(record.width[0]),
                                                            static_cast<int>(record.height[0])));
    // The mark (and selection) stays on its item: what the window describes is what was clicked.
    ThumbnailList* list = m_controls.textureList;
    const int mark = SelectionMark();
    const bool selected = mark >= 0 && list->item(mark)->isSelected();
    FillTextureList(list, record, thumbnail, m_controls.filter->text().toUpper(),
                    [this] { return m_editor.WritePlaceholder(); });
    if (mark >= 0 && mark < list->count()) {
        SetSelectionMark(mark);
        list->item(mark)->setSelected(selected);
    }
}

void MainDialog::ApplyZoom() {
    const int mark = SelectionMark();
    RefillTextureList();
    SetSelectionMark(mark);
}

void MainDialog::SwitchImageSize() {
    RefillTextureList();
    m_statusText = QString::fromUtf8(window_texts::USAGE_HINT);
    m_descriptionText = QString::fromStdString(window_texts::TextureCount(
        m_editor.Table()[m_controls.sizeCombo->currentIndex()].entryCount));
    WriteControls();
}

void MainDialog::OnSizeClassChanged() {
    SwitchImageSize();
    SetSelectionMark(0);
}

int MainDialog::SelectionMark() const {
    const QModelIndex current = m_controls.textureList->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void MainDialog::SetSelectionMark(int item) {
    // The mark only says which item commands act on; it selects nothing by itself, and moving
    // it is no change of the user's that the summary follows.
    m_movingSelectionMark = true;
    ThumbnailList* list = m_controls.textureList;
    list->selectionModel()->setCurrentIndex(list->model()->index(item, 0),
                                            QItemSelectionModel::NoUpdate);
    m_movingSelectionMark = false;
}
