#include "app/MenuShortcuts.h"

#include "app/DialogTemplate.h"

namespace {

// The platform's key for `standard`, or `fallback` where the platform has none (some key
// schemes leave Quit and Help unbound).
QKeySequence StandardOr(QKeySequence::StandardKey standard, QKeyCombination fallback) {
    const QKeySequence key(standard);
    return key.isEmpty() ? QKeySequence(fallback) : key;
}

}  // namespace

QKeySequence MenuShortcut(int command) {
    switch (command) {
        case ids::CMD_LOAD_ROM:
            return StandardOr(QKeySequence::Open, Qt::CTRL | Qt::Key_O);
        case ids::CMD_SAVE_NEW_ROM:
            return StandardOr(QKeySequence::Save, Qt::CTRL | Qt::Key_S);
        case ids::CMD_QUIT:
            return StandardOr(QKeySequence::Quit, Qt::CTRL | Qt::Key_Q);
        case ids::CMD_APPLY_PATCH:
            return QKeySequence(Qt::CTRL | Qt::Key_P);
        case ids::CMD_ABOUT:
            return QKeySequence(Qt::Key_F1);
        default:
            return QKeySequence();
    }
}
