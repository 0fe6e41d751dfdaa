#pragma once

#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

// Draws a thumbnail as it is, framing it when selected instead of tinting it, so that the
// selection shows and the picture keeps its colours.
class ThumbnailDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem plain(option);
        plain.state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        QStyledItemDelegate::paint(painter, plain, index);
        if (option.state & QStyle::State_Selected) {
            painter->save();
            painter->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
            painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
            painter->restore();
        }
    }
};

// An icon-mode list whose items can be placed at pixel positions of our choosing.
class ThumbnailList : public QListWidget {
    Q_OBJECT

public:
    explicit ThumbnailList(QWidget* parent = nullptr) : QListWidget(parent) {
        setItemDelegate(new ThumbnailDelegate(this));
    }

    // Places item `row` with its top-left corner at `position` in the list's content area.
    void PlaceItem(int row, QPoint position) {
        setPositionForIndex(position, model()->index(row, 0));
    }
};
