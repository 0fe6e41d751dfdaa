#pragma once

#include <QListWidget>

// An icon-mode list whose items can be placed at pixel positions of our choosing.
class ThumbnailList : public QListWidget {
    Q_OBJECT

public:
    using QListWidget::QListWidget;

    // Places item `row` with its top-left corner at `position` in the list's content area.
    void PlaceItem(int row, QPoint position) {
        setPositionForIndex(position, model()->index(row, 0));
    }
};
