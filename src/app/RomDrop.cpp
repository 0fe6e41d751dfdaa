#include "app/RomDrop.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

class RomDropFilter : public QObject {
public:
    RomDropFilter(QWidget* window, std::function<void(const QString&)> load)
        : QObject(window), m_load(std::move(load)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (DroppedFile(*drag->mimeData())) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            if (const std::optional<QString> file = DroppedFile(*drop->mimeData())) {
                drop->acceptProposedAction();
                // The load may open message boxes: let the drag end first.
                QMetaObject::invokeMethod(
                    this, [this, path = *file] { m_load(path); }, Qt::QueuedConnection);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void(const QString&)> m_load;
};

}  // namespace

std::optional<QString> DroppedFile(const QMimeData& data) {
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return std::nullopt;
}

void AcceptRomDrops(QWidget* window, std::function<void(const QString&)> load) {
    window->setAcceptDrops(true);
    auto* filter = new RomDropFilter(window, std::move(load));
    window->installEventFilter(filter);
    // Edit fields take drops themselves: a dropped file still loads there, dropped text does not.
    for (QLineEdit* field : window->findChildren<QLineEdit*>()) {
        field->installEventFilter(filter);
    }
}
