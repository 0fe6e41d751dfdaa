#include "app/Thumbnail.h"

#include <QPainter>
#include <QPixmap>

#include "dib/CDib.h"
#include "dib/DibRender.h"

QImage UnreadableMarker(int width, int height) {
    QImage marker(width, height, QImage::Format_RGB32);
    marker.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&marker);
    painter.setPen(QPen(QColor(0xC0, 0x10, 0x10), 1));
    painter.drawLine(0, 0, width - 1, height - 1);
    painter.drawLine(0, height - 1, width - 1, 0);
    return marker;
}

QImage LoadThumbnail(const std::filesystem::path& bitmap, int width, int height) {
    if (width <= 0 || height <= 0) {
        return QImage();
    }
    CDib dib;
    if (dib.ReadFile(bitmap) == 0) {
        return UnreadableMarker(width, height);
    }
    const auto pixels = RenderScaled(dib, width, height);
    if (!pixels) {
        return UnreadableMarker(width, height);
    }
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        std::copy_n(pixels->data() + static_cast<std::size_t>(y) * width, width, line);
    }
    return image;
}

QIcon ThumbnailIcon(const QImage& picture, const QColor& highlight) {
    QIcon icon(QPixmap::fromImage(picture));
    if (picture.isNull()) {
        return icon;
    }
    QImage framed = picture.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&framed);
    painter.setPen(QPen(highlight, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(1, 1, framed.width() - 2, framed.height() - 2));
    icon.addPixmap(QPixmap::fromImage(framed), QIcon::Selected);
    return icon;
}
