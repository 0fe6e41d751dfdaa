#include "app/StatusFeedback.h"

#include <QStatusBar>
#include <QTextDocument>
#include <QWidget>

#include "app/DialogTemplate.h"

void ShowFeedback(QWidget* window, const std::string& text) {
    if (auto* bar = window->findChild<QStatusBar*>()) {
        bar->showMessage(QString::fromStdString(text));
        // A long line (a deep path) may not fit the bar: the whole of it is a hover away.
        bar->setToolTip(text.empty() ? QString() : Qt::convertFromPlainText(bar->currentMessage()));
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
