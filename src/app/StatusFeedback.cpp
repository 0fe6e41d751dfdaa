#include "app/StatusFeedback.h"

#include <QStatusBar>
#include <QWidget>

#include "app/DialogTemplate.h"

void ShowFeedback(QWidget* window, const std::string& text) {
    if (auto* bar = window->findChild<QStatusBar*>()) {
        bar->showMessage(QString::fromStdString(text));
    }
}

void ShowRomTitle(QWidget* window, const std::filesystem::path& rom) {
    // "[*]" is where Qt draws the modified mark.
    window->setWindowTitle(QString::fromStdString(rom.filename().string()) +
                           QStringLiteral("[*] - ") +
                           QString::fromUtf8(MainDialogTemplate().caption));
}

void ShowUnsaved(QWidget* window, bool unsaved) {
    window->setWindowModified(unsaved);
}
