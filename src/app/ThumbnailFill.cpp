#include "app/ThumbnailFill.h"

#include <QPixmap>

#include "app/ListReflow.h"
#include "app/Thumbnail.h"
#include "app/ThumbnailList.h"

namespace {

// Where the preview's one item sits in its list.
constexpr QPoint PREVIEW_POSITION(4, 4);

}  // namespace

void FillTextureList(ThumbnailList* list, const SizeClassRecord& record, QSize thumbnail,
                     const QString& upperFilter,
                     const std::function<std::filesystem::path()>& placeholder) {
    list->setUpdatesEnabled(false);
    list->clear();
    list->setIconSize(thumbnail);
    std::filesystem::path placeholderPath;
    for (std::uint32_t k = 0; k < record.entryCount; ++k) {
        std::filesystem::path bitmap = record.imagePath[k];
        if (!upperFilter.isEmpty() &&
            !QString::fromStdString(record.description[k]).toUpper().contains(upperFilter)) {
            if (placeholderPath.empty()) {
                placeholderPath = placeholder();
            }
            bitmap = placeholderPath;
        }
        QImage image = LoadThumbnail(bitmap, thumbnail.width(), thumbnail.height());
        list->addItem(new QListWidgetItem(QIcon(QPixmap::fromImage(std::move(image))), QString()));
    }
    ReflowGrid(list);
    list->setUpdatesEnabled(true);
}

void FillPreview(ThumbnailList* preview, const std::filesystem::path& bitmap, QSize size) {
    preview->clear();
    preview->setIconSize(size);
    const QImage image = LoadThumbnail(bitmap, size.width(), size.height());
    preview->addItem(new QListWidgetItem(QIcon(QPixmap::fromImage(image)), QString()));
    preview->PlaceItem(0, PREVIEW_POSITION);
}
