#include "app/CloseGuard.h"

#include <QStringList>

#include "app/FeedbackTexts.h"
#include "app/WindowServices.h"
#include "editor/Editor.h"

bool AskBeforeEnding(QWidget* window, const Editor& editor, WindowServices& services,
                     const std::function<bool()>& save) {
    if (!editor.HasUnsavedReplacements()) {
        return true;
    }
    enum Choice { SAVE, DISCARD, CANCEL };
    QStringList buttons;
    for (const char* button : window_texts::UNSAVED_BUTTONS) {
        buttons << QString::fromUtf8(button);
    }
    const WindowText question = window_texts::UnsavedReplacements(editor.PendingCount());
    switch (services.AskChoice(window, QString::fromStdString(question.text),
                               QString::fromStdString(question.caption), buttons)) {
        case SAVE:
            return save();
        case DISCARD:
            return true;
        default:
            return false;
    }
}
