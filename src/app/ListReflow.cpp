#include "app/ListReflow.h"

#include <QEvent>
#include <algorithm>

#include "app/DialogTemplate.h"
#include "app/ThumbnailList.h"

namespace {

constexpr int GRID_LEFT = 24;
constexpr int GRID_TOP = 4;
constexpr int GRID_GAP = 7;

// The texture list's width at the designed size, in pixels.
int DesignListWidth() {
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        if (control.id == ids::TEXTURE_LIST) {
            return DialogUnitsToPixels(control.units).width;
        }
    }
    return 0;
}

class GridReflow : public QObject {
public:
    explicit GridReflow(ThumbnailList* list) : QObject(list), m_list(list) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            const int rowWidth = GridRowWidth(m_list->width());
            if (rowWidth != m_rowWidth) {
                m_rowWidth = rowWidth;
                ReflowGrid(m_list);
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    ThumbnailList* m_list;
    int m_rowWidth = DESIGN_ROW_WIDTH;
};

}  // namespace

QPoint ThumbnailPosition(int item, QSize thumbnail, int rowWidth) {
    const int rowLength = rowWidth / (thumbnail.width() + 8) + 1;
    const int column = item % rowLength;
    const int row = item / rowLength;
    return QPoint(GRID_LEFT + column * (thumbnail.width() + GRID_GAP),
                  GRID_TOP + row * (thumbnail.height() + GRID_GAP));
}

int GridRowWidth(int listWidth) {
    return std::max(0, DESIGN_ROW_WIDTH + listWidth - DesignListWidth());
}

void ReflowGrid(ThumbnailList* list) {
    const int rowWidth = GridRowWidth(list->width());
    const QSize thumbnail = list->iconSize();
    for (int k = 0; k < list->count(); ++k) {
        list->PlaceItem(k, ThumbnailPosition(k, thumbnail, rowWidth));
    }
}

void KeepGridReflowed(ThumbnailList* list) {
    list->installEventFilter(new GridReflow(list));
}
