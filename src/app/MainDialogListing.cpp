// The texture list: one thumbnail per catalogue entry of the selected size class.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <fstream>

#include "app/EditorState.h"
#include "app/MainDialog.h"
#include "app/Thumbnail.h"
#include "app/ThumbnailList.h"
#include "app/UserMessages.h"
#include "catalogue/FolderListing.h"
#include "catalogue/Placeholder.h"
#include "catalogue/SizeClasses.h"

namespace {

// Thumbnails of user bitmaps share one size, whatever the bitmaps' own sizes.
constexpr QSize USER_THUMBNAIL_SIZE(32, 64);
// Layout of the thumbnail grid inside the list.
constexpr int GRID_LEFT = 24;
constexpr int GRID_TOP = 4;
constexpr int GRID_GAP = 7;
constexpr int GRID_ROW_WIDTH = 400;

}  // namespace

QString MainDialog::TextureCountText() const {
    const int sizeClass = m_sizeCombo->currentIndex();
    return QString::asprintf("%u Textures Found!", m_state.sizeClassTable[sizeClass].entryCount);
}

QPoint MainDialog::ThumbnailPosition(int item, QSize thumbnail) {
    const int rowLength = GRID_ROW_WIDTH / (thumbnail.width() + 8) + 1;
    const int column = item % rowLength;
    const int row = item / rowLength;
    return QPoint(GRID_LEFT + column * (thumbnail.width() + GRID_GAP),
                  GRID_TOP + row * (thumbnail.height() + GRID_GAP));
}

void MainDialog::RefillTextureList() {
    const int sizeClass = m_sizeCombo->currentIndex();
    const SizeClassRecord& record = m_state.sizeClassTable[sizeClass];
    const QSize thumbnail = sizeClass == USER_CLASS ? USER_THUMBNAIL_SIZE
                                                    : QSize(static_cast<int>(record.width[0]),
                                                            static_cast<int>(record.height[0]));

    m_textureList->setUpdatesEnabled(false);
    m_textureList->clear();
    m_textureList->setIconSize(thumbnail);

    const QString filter = m_filterEdit->text().toUpper();
    const std::filesystem::path placeholderPath =
        ResolvePathIgnoringCase(m_state.programFolder, "romimages") / PLACEHOLDER_BITMAP_NAME;
    bool placeholderWritten = false;
    for (std::uint32_t k = 0; k < record.entryCount; ++k) {
        std::filesystem::path bitmap = record.imagePath[k];
        // An empty filter is found in every description.
        if (!filter.isEmpty() &&
            !QString::fromStdString(record.description[k]).toUpper().contains(filter)) {
            // Hidden entries keep their item, showing the white placeholder.
            if (!placeholderWritten) {
                std::ofstream out(placeholderPath, std::ios::binary | std::ios::trunc);
                out.write(reinterpret_cast<const char*>(PLACEHOLDER_BITMAP.data()),
                          PLACEHOLDER_BITMAP.size());
                placeholderWritten = true;
            }
            bitmap = placeholderPath;
        }
        QImage image = LoadThumbnail(bitmap, thumbnail.width(), thumbnail.height());
        auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(std::move(image))), QString());
        m_textureList->addItem(item);
    }
    for (int k = 0; k < m_textureList->count(); ++k) {
        m_textureList->PlaceItem(k, ThumbnailPosition(k, thumbnail));
    }
    m_textureList->setUpdatesEnabled(true);
}

void MainDialog::SwitchImageSize() {
    RefillTextureList();
    m_statusText = QString::fromUtf8(USAGE_HINT);
    m_descriptionText = TextureCountText();
    WriteControls();
}

void MainDialog::OnSizeClassChanged() {
    SwitchImageSize();
    SetSelectionMark(0);
}

int MainDialog::SelectionMark() const {
    const QModelIndex current = m_textureList->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void MainDialog::SetSelectionMark(int item) {
    // The mark only says which item commands act on; it selects nothing by itself, and moving
    // it is no change of the user's that the summary follows.
    m_movingSelectionMark = true;
    m_textureList->selectionModel()->setCurrentIndex(m_textureList->model()->index(item, 0),
                                                     QItemSelectionModel::NoUpdate);
    m_movingSelectionMark = false;
}
