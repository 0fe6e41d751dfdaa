#include "app/QtWindowServices.h"

#include <QDialog>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <algorithm>
#include <climits>

#include "app/RememberedFolders.h"

namespace {

std::optional<QString> RunFileDialog(QWidget* owner, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode, int* chosenType = nullptr) {
    QFileDialog dialog(owner);
    dialog.setAcceptMode(mode);
    // An open dialog also accepts names that do not exist: the commands check that themselves
    // and say so.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultExtension);
    const QStringList filters = ToQtNameFilters(request.filter);
    dialog.setNameFilters(filters);
    // A name typed without an extension takes that of the type chosen, not always the first's.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& f) {
        const qsizetype star = f.lastIndexOf(QStringLiteral("(*."));
        if (star >= 0) {
            QString suffix = f.mid(star + 3);
            qsizetype end = 0;
            while (end < suffix.size() && suffix[end] != QLatin1Char(' ') &&
                   suffix[end] != QLatin1Char(')')) {
                ++end;
            }
            dialog.setDefaultSuffix(suffix.left(end));
        }
    });
    // The descriptions already show their patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    if (mode == QFileDialog::AcceptSave) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite,
                         (request.options & FILE_DIALOG_OVERWRITE_PROMPT) == 0);
    }
    const QString folder = RememberedFolder(request);
    if (!folder.isEmpty()) {
        dialog.setDirectory(folder);
    }
    dialog.selectFile(request.defaultFileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    RememberFolder(request, dialog.selectedFiles().first());
    if (chosenType != nullptr) {
        *chosenType =
            static_cast<int>(std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter())));
    }
    return dialog.selectedFiles().first();
}

}  // namespace

QStringList ToQtNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'))) {
            const QString trimmed = pattern.trimmed();
            if (!trimmed.isEmpty()) {
                patterns << trimmed;
            }
        }
        if (patterns.isEmpty()) {
            continue;
        }
        result << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    }
    return result;
}

void QtWindowServices::ShowMessage(QWidget* owner, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    // Messages quote file names and descriptions, which are never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtWindowServices::AskYesNo(QWidget* owner, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    owner);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

int QtWindowServices::AskChoice(QWidget* owner, const QString& text, const QString& caption,
                                const QStringList& buttons) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    QList<QAbstractButton*> added;
    for (const QString& button : buttons) {
        added << box.addButton(button, QMessageBox::ActionRole);
    }
    if (added.isEmpty()) {
        return -1;
    }
    box.setDefaultButton(qobject_cast<QPushButton*>(added.first()));
    box.setEscapeButton(added.last());
    box.exec();
    const qsizetype chosen = added.indexOf(box.clickedButton());
    return static_cast<int>(chosen < 0 ? added.size() - 1 : chosen);
}

std::optional<QString> QtWindowServices::ChooseFileToOpen(QWidget* owner,
                                                          const FileDialogRequest& request) {
    return RunFileDialog(owner, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtWindowServices::ChooseFileToSave(QWidget* owner,
                                                          const FileDialogRequest& request,
                                                          int* chosenType) {
    return RunFileDialog(owner, request, QFileDialog::AcceptSave, chosenType);
}

int QtWindowServices::RunModal(QDialog& dialog) {
    return dialog.exec();
}

void QtWindowServices::RunPopupMenu(QMenu& menu, const QPoint& screenPosition) {
    menu.exec(screenPosition);
}

namespace {

class QtProgressDialog : public ProgressDialogService {
public:
    QtProgressDialog(QWidget* owner, const QString& text, const QString& caption)
        : m_dialog(text, QStringLiteral("Cancel"), 0, 1, owner) {
        m_dialog.setWindowTitle(caption);
        m_dialog.setWindowModality(Qt::WindowModal);
        m_dialog.setMinimumDuration(0);
        m_dialog.setAutoReset(false);
        m_dialog.setValue(0);
    }
    bool Advance(std::size_t done, std::size_t total) override {
        // A window-modal dialog takes the user's events while its value is set.
        m_dialog.setMaximum(static_cast<int>(std::min<std::size_t>(total, INT_MAX)));
        m_dialog.setValue(static_cast<int>(std::min(done, total)));
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

}  // namespace

std::unique_ptr<ProgressDialogService> QtWindowServices::OpenProgress(QWidget* owner,
                                                                      const QString& text,
                                                                      const QString& caption) {
    return std::make_unique<QtProgressDialog>(owner, text, caption);
}
