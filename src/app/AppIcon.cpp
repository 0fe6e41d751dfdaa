#include "app/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

QPixmap DrawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1b, 0x26, 0x4f));
    painter.drawRoundedRect(QRectF(0, 0, s, s), s * 0.18, s * 0.18);

    QPainterPath moon;
    moon.addEllipse(QRectF(s * 0.18, s * 0.14, s * 0.64, s * 0.64));
    QPainterPath bite;
    bite.addEllipse(QRectF(s * 0.36, s * 0.06, s * 0.60, s * 0.60));
    painter.setBrush(QColor(0xf2, 0xe8, 0xb8));
    painter.drawPath(moon.subtracted(bite));

    // A glint of glass at the bottom edge.
    painter.setBrush(QColor(0x8f, 0xd3, 0xe8));
    painter.drawRect(QRectF(s * 0.18, s * 0.84, s * 0.64, s * 0.06));
    return pixmap;
}

}  // namespace

QIcon MakeAppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(DrawIcon(size));
    }
    return icon;
}
