#include "app/ListInput.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include "app/ThumbnailList.h"

namespace {

// Mouse presses on the empty area would clear the selection and be no click of the list's;
// they become clicks on the marked item instead. Return chooses the marked item rather than
// pressing the window's default button.
class EmptyAreaAndReturn : public QObject {
public:
    EmptyAreaAndReturn(ThumbnailList* list, TextureListHandlers handlers)
        : QObject(list),
          m_list(list),
          m_viewport(list->viewport()),
          m_handlers(std::move(handlers)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_list && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_handlers.doubleClick();
                return true;
            }
            return false;
        }
        // Compared with the viewport kept from the start: events still arrive while the list is
        // being destroyed, when it can no longer be asked for its viewport.
        if (watched != m_viewport) {
            return false;
        }
        switch (event->type()) {
            case QEvent::MouseButtonPress:
                if (OnEmptyArea(event)) {
                    m_list->setFocus(Qt::MouseFocusReason);
                    m_pressedEmpty = true;
                    return true;
                }
                return false;
            case QEvent::MouseButtonRelease:
                if (m_pressedEmpty) {
                    m_pressedEmpty = false;
                    if (!m_afterDoubleClick && OnEmptyArea(event)) {
                        m_handlers.click();
                    }
                    m_afterDoubleClick = false;
                    return true;
                }
                return false;
            case QEvent::MouseButtonDblClick:
                if (OnEmptyArea(event)) {
                    m_pressedEmpty = true;
                    m_afterDoubleClick = true;
                    m_handlers.doubleClick();
                    return true;
                }
                return false;
            default:
                return false;
        }
    }

private:
    bool OnEmptyArea(QEvent* event) const {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        return mouse->button() == Qt::LeftButton &&
               !m_list->indexAt(mouse->position().toPoint()).isValid();
    }

    ThumbnailList* m_list;
    QWidget* m_viewport;
    TextureListHandlers m_handlers;
    bool m_pressedEmpty = false;
    bool m_afterDoubleClick = false;
};

}  // namespace

void WireTextureList(ThumbnailList* list, const TextureListHandlers& handlers) {
    QObject::connect(list, &QListWidget::itemClicked, list, [handlers] { handlers.click(); });
    QObject::connect(list, &QListWidget::currentItemChanged, list,
                     [handlers] { handlers.currentChanged(); });
    QObject::connect(list, &QListWidget::itemDoubleClicked, list,
                     [handlers] { handlers.doubleClick(); });
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(list, &QWidget::customContextMenuRequested, list, handlers.rightClick);
    auto* filter = new EmptyAreaAndReturn(list, handlers);
    list->installEventFilter(filter);
    list->viewport()->installEventFilter(filter);
}
