#include "app/ReplaceUndo.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QUndoCommand>
#include <QUndoStack>

#include "app/FeedbackTexts.h"
#include "app/StatusFeedback.h"
#include "editor/Editor.h"

namespace {

// One Replace: the target slot as it was and as the Replace left it.
class ReplaceCommand : public QUndoCommand {
public:
    ReplaceCommand(Editor& editor, int sizeClass, int entry, ReplacementSlot before,
                   QWidget* window, const std::function<void()>& changed)
        : m_editor(editor),
          m_sizeClass(sizeClass),
          m_entry(entry),
          m_before(std::move(before)),
          m_after(editor.Slot(sizeClass, entry)),
          m_window(window),
          m_changed(changed) {
        m_step = window_texts::ReplaceStep(editor.Table()[sizeClass].romOffset[entry]);
        setText(QString::fromStdString(m_step));
    }

    void undo() override { Put(m_before, window_texts::Undone(m_step)); }

    void redo() override {
        // The first redo comes as the step is recorded: the Replace is done already.
        if (m_recorded) {
            Put(m_after, window_texts::Redone(m_step));
        }
        m_recorded = true;
    }

private:
    void Put(const ReplacementSlot& slot, const std::string& feedback) {
        m_editor.RestoreSlot(m_sizeClass, m_entry, slot);
        m_changed();
        ShowFeedback(m_window, feedback);
    }

    Editor& m_editor;
    int m_sizeClass;
    int m_entry;
    ReplacementSlot m_before;
    ReplacementSlot m_after;
    QWidget* m_window;
    std::function<void()> m_changed;
    std::string m_step;
    bool m_recorded = false;
};

}  // namespace

ReplaceHistory::ReplaceHistory(Editor& editor, QWidget* window, std::function<void()> changed)
    : QObject(window),
      m_editor(editor),
      m_window(window),
      m_changed(std::move(changed)),
      m_stack(new QUndoStack(this)) {}

ReplaceHistory::~ReplaceHistory() = default;

void ReplaceHistory::AddEditMenu(QMenuBar* menuBar) {
    auto* edit = new QMenu(QStringLiteral("&Edit"), menuBar);
    QAction* undo = m_stack->createUndoAction(edit, QStringLiteral("&Undo"));
    undo->setShortcut(QKeySequence::Undo);
    undo->setObjectName(QStringLiteral("undo"));
    QAction* redo = m_stack->createRedoAction(edit, QStringLiteral("&Redo"));
    redo->setShortcut(QKeySequence::Redo);
    redo->setObjectName(QStringLiteral("redo"));
    edit->addActions({undo, redo});
    const QList<QAction*> menus = menuBar->actions();
    menuBar->insertMenu(menus.size() > 1 ? menus[1] : nullptr, edit);
}

void ReplaceHistory::Recorded(int sizeClass, int entry, const ReplacementSlot& before) {
    m_stack->push(new ReplaceCommand(m_editor, sizeClass, entry, before, m_window, m_changed));
    m_changed();
    ShowFeedback(m_window, window_texts::Replaced(
                               m_editor.Table()[sizeClass].romOffset[entry],
                               m_editor.Pending(sizeClass, entry).value_or(PendingSource{})));
}

void ReplaceHistory::Clear() {
    m_stack->clear();
}
