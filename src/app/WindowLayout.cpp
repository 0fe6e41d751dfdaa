#include "app/WindowLayout.h"

#include <QEvent>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace {

class PanelLayout : public QObject {
public:
    PanelLayout(QWidget* panel, QWidget* textureList)
        : QObject(panel), m_panel(panel), m_designSize(panel->size()) {
        const QRect list = textureList->geometry();
        for (QWidget* child : panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QRect design = child->geometry();
            Anchor anchor = Anchor::Fixed;
            if (child == textureList) {
                anchor = Anchor::Grows;
            } else if (design.top() > list.bottom()) {
                anchor = design.left() > list.right() ? Anchor::BottomRight : Anchor::Bottom;
            } else if (design.left() > list.right()) {
                anchor = Anchor::Right;
            }
            m_controls.push_back({child, design, anchor});
        }
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest) {
            Arrange();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    enum class Anchor {
        Fixed,        // left of the list's right edge and not below it: stays
        Grows,        // the texture list: takes the extra width and height
        Right,        // the column right of the list: keeps to the right edge
        Bottom,       // the lines below the list: keep to the bottom edge, widen
        BottomRight,  // below the list and right of it: keeps to the bottom-right corner
    };
    struct Control {
        QWidget* widget;
        QRect design;
        Anchor anchor;
    };

    void Arrange() {
        const int dx = m_panel->width() - m_designSize.width();
        const int dy = std::max(0, m_panel->height() - m_designSize.height());
        for (const Control& control : m_controls) {
            QRect r = control.design;
            switch (control.anchor) {
                case Anchor::Fixed:
                    break;
                case Anchor::Grows:
                    r.adjust(0, 0, dx, dy);
                    break;
                case Anchor::Right:
                    r.translate(dx, 0);
                    break;
                case Anchor::Bottom:
                    r.translate(0, dy);
                    r.setWidth(r.width() + dx);
                    break;
                case Anchor::BottomRight:
                    r.translate(dx, dy);
                    break;
            }
            auto* label = qobject_cast<QLabel*>(control.widget);
            if (label != nullptr && label->wordWrap()) {
                r.setHeight(std::max(r.height(), label->heightForWidth(r.width())));
            }
            if (control.widget->geometry() != r) {
                control.widget->setGeometry(r);
            }
        }
    }

    QWidget* m_panel;
    QSize m_designSize;
    std::vector<Control> m_controls;
};

// A panel that asks for its designed size, so that the window opens at it.
class DesignPanel : public QWidget {
public:
    DesignPanel(QWidget* parent, QSize design) : QWidget(parent), m_design(design) {
        resize(design);
    }
    QSize sizeHint() const override { return m_design; }

private:
    QSize m_design;
};

}  // namespace

QWidget* NewDesignPanel(QWidget* parent, QSize design) {
    return new DesignPanel(parent, design);
}

void MakePanelResizable(QWidget* panel, QWidget* textureList) {
    // Narrower screens may take the list down to this width; the controls above the bottom lines
    // leave no height to give.
    constexpr int MIN_LIST_WIDTH = 256;
    panel->setMinimumSize(panel->width() - std::max(0, textureList->width() - MIN_LIST_WIDTH),
                          panel->height());
    panel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    panel->installEventFilter(new PanelLayout(panel, textureList));
}
