#include "app/ZoomMenu.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

ZoomMenu::ZoomMenu(QMenuBar* menuBar, std::function<void()> changed) : QObject(menuBar) {
    auto* view = new QMenu(QStringLiteral("&View"), menuBar);
    const QList<QAction*> menus = menuBar->actions();
    menuBar->insertMenu(menus.isEmpty() ? nullptr : menus.last(), view);
    QMenu* zoom = view->addMenu(QStringLiteral("&Zoom"));
    auto* group = new QActionGroup(this);
    for (const int factor : {1, 2, 4}) {
        QAction* action = zoom->addAction(QStringLiteral("&%1\u00D7").arg(factor));
        action->setObjectName(QStringLiteral("zoom%1").arg(factor));
        action->setCheckable(true);
        action->setChecked(factor == m_factor);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, factor, changed] {
            if (factor != m_factor) {
                m_factor = factor;
                changed();
            }
        });
    }
}
