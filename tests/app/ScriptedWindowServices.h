#pragma once

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "app/WindowServices.h"

// Window services for tests: every dialog is answered from a script, in order, and everything
// shown is recorded. A dialog with no scripted answer is answered with Cancel (or No) and
// recorded as unexpected, so a test can tell it asked more than it meant to.
class ScriptedWindowServices : public WindowServices {
public:
    struct Message {
        QString text;
        QString caption;
        bool question = false;
    };
    struct FileDialog {
        bool save = false;
        FileDialogRequest request;
    };

    // Answers, taken from the front.
    std::deque<bool> yesNoAnswers;
    std::deque<QString> fileAnswers;  // a null QString answers Cancel
    std::deque<QString> menuAnswers;  // the text of the item to choose; a null QString dismisses

    // What was shown.
    std::vector<Message> messages;
    std::vector<FileDialog> fileDialogs;
    QStringList modalDialogTitles;
    std::vector<QStringList> menus;  // the item texts of every menu shown
    QStringList unexpected;

    void ShowMessage(QWidget*, const QString& text, const QString& caption) override {
        messages.push_back({text, caption, false});
    }
    bool AskYesNo(QWidget*, const QString& text, const QString& caption) override {
        messages.push_back({text, caption, true});
        if (yesNoAnswers.empty()) {
            unexpected.push_back(QStringLiteral("question: ") + text);
            return false;
        }
        const bool answer = yesNoAnswers.front();
        yesNoAnswers.pop_front();
        return answer;
    }
    std::optional<QString> ChooseFileToOpen(QWidget*, const FileDialogRequest& request) override {
        return NextFile(false, request);
    }
    std::optional<QString> ChooseFileToSave(QWidget*, const FileDialogRequest& request) override {
        return NextFile(true, request);
    }
    int RunModal(QDialog& dialog) override {
        modalDialogTitles.push_back(dialog.windowTitle());
        return QDialog::Accepted;
    }
    void RunPopupMenu(QMenu& menu, const QPoint&) override {
        QStringList texts;
        for (const QAction* action : menu.actions()) {
            texts << action->text();
        }
        menus.push_back(texts);
        if (menuAnswers.empty()) {
            unexpected.push_back(QStringLiteral("menu: ") + texts.join(QLatin1Char(',')));
            return;
        }
        const QString answer = menuAnswers.front();
        menuAnswers.pop_front();
        for (QAction* action : menu.actions()) {
            if (!answer.isNull() && action->text() == answer) {
                action->trigger();
            }
        }
    }

private:
    std::optional<QString> NextFile(bool save, const FileDialogRequest& request) {
        fileDialogs.push_back({save, request});
        if (fileAnswers.empty()) {
            unexpected.push_back(QStringLiteral("file dialog: ") + request.defaultFileName);
            return std::nullopt;
        }
        const QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        if (answer.isNull()) {
            return std::nullopt;
        }
        return answer;
    }
};
