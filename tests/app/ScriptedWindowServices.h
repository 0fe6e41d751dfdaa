#pragma once

#include <QAction>
#include <QDialog>
#include <QMenu>
#include <cstdint>
#include <deque>
#include <memory>

#include "app/WindowServices.h"

// Window services for tests: every dialog is answered from a script, in order, and everything
// shown is recorded as "text / caption". A dialog without a scripted answer is answered with
// Cancel (or No) and recorded as unexpected.
class ScriptedWindowServices : public WindowServices {
public:
    std::deque<bool> yesNoAnswers;
    std::deque<int> choiceAnswers;    // the index of the button chosen; the last (Cancel) if none
    std::deque<QString> fileAnswers;  // a null QString answers Cancel
    std::deque<int> typeAnswers;      // the filter pair chosen in save dialogs; the first if none
    std::deque<QString> menuAnswers;  // the text of the item to choose
    QStringList messages;
    QStringList fileDialogs;  // the default file names offered
    QStringList fileFilters;  // the filters offered
    QStringList modalDialogTitles;
    QStringList unexpected;
    QStringList progressTexts;             // the progress dialogs opened
    std::deque<std::size_t> cancelAtStep;  // each dialog is cancelled at that step; never if none
    std::size_t progressSteps = 0;         // steps shown, over all dialogs

    void ShowMessage(QWidget*, const QString& text, const QString& caption) override {
        messages << text + QStringLiteral(" / ") + caption;
    }
    bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) override {
        ShowMessage(owner, text, caption);
        return Next(yesNoAnswers, QStringLiteral("question"), false);
    }
    int AskChoice(QWidget* owner, const QString& text, const QString& caption,
                  const QStringList& buttons) override {
        ShowMessage(owner, text + QStringLiteral(" [") + buttons.join('|') + ']', caption);
        return Next(choiceAnswers, QStringLiteral("choice"), int(buttons.size()) - 1);
    }
    std::optional<QString> ChooseFileToOpen(QWidget*, const FileDialogRequest& request) override {
        fileDialogs << request.defaultFileName;
        fileFilters << request.filter;
        const QString answer = Next(fileAnswers, request.defaultFileName, QString());
        return answer.isNull() ? std::nullopt : std::optional(answer);
    }
    std::optional<QString> ChooseFileToSave(QWidget* owner, const FileDialogRequest& request,
                                            int* chosenType = nullptr) override {
        if (chosenType != nullptr) {
            *chosenType = typeAnswers.empty() ? 0 : typeAnswers.front();
            if (!typeAnswers.empty()) {
                typeAnswers.pop_front();
            }
        }
        return ChooseFileToOpen(owner, request);
    }
    int RunModal(QDialog& dialog) override {
        modalDialogTitles << dialog.windowTitle();
        return QDialog::Accepted;
    }
    void RunPopupMenu(QMenu& menu, const QPoint&) override {
        const QString answer = Next(menuAnswers, QStringLiteral("menu"), QString());
        for (QAction* action : menu.actions()) {
            if (!answer.isNull() && action->text() == answer) {
                action->trigger();
            }
        }
    }
    std::unique_ptr<ProgressDialogService> OpenProgress(QWidget*, const QString& text,
                                                        const QString&) override {
        progressTexts << text;
        std::size_t cancelAt = SIZE_MAX;
        if (!cancelAtStep.empty()) {
            cancelAt = cancelAtStep.front();
            cancelAtStep.pop_front();
        }
        return std::make_unique<ScriptedProgress>(*this, cancelAt);
    }

private:
    class ScriptedProgress : public ProgressDialogService {
    public:
        ScriptedProgress(ScriptedWindowServices& services, std::size_t cancelAt)
            : m_services(services), m_cancelAt(cancelAt) {}
        bool Advance(std::size_t done, std::size_t) override {
            ++m_services.progressSteps;
            return done < m_cancelAt;
        }

    private:
        ScriptedWindowServices& m_services;
        std::size_t m_cancelAt;
    };

    template <typename T>
    T Next(std::deque<T>& answers, const QString& what, T cancel) {
        if (answers.empty()) {
            unexpected << what;
            return cancel;
        }
        const T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
