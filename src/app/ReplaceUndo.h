#pragma once

#include <QObject>
#include <functional>

#include "replace/PendingSlot.h"

class Editor;
class QMenuBar;
class QUndoStack;
class QWidget;

// Undo and Redo of Replace, any number of steps, offered in an Edit menu. Each step holds the
// target slot before and after its Replace; undoing or redoing puts the one or the other back
// through the editor. A load forgets every step, as it forgets the replacements themselves.
class ReplaceHistory : public QObject {
    Q_OBJECT

public:
    // `changed` runs after every Replace, undo and redo, for the window to show the catalogue
    // again.
    ReplaceHistory(Editor& editor, QWidget* window, std::function<void()> changed);
    ~ReplaceHistory() override;

    // Adds the Edit menu with Undo and Redo before the menu bar's second menu.
    void AddEditMenu(QMenuBar* menuBar);
    // Records a Replace of entry `entry` of `sizeClass`, done already, whose slot held `before`,
    // lets the window show it and says what is now pending.
    void Recorded(int sizeClass, int entry, const ReplacementSlot& before);
    // Forgets every step.
    void Clear();

private:
    Editor& m_editor;
    QWidget* m_window;
    std::function<void()> m_changed;
    QUndoStack* m_stack;
};
