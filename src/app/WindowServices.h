#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <memory>
#include <optional>

class QDialog;
class QMenu;
class QPoint;
class QWidget;

// Options of the file dialogs, as flag bits.
enum FileDialogOption : unsigned {
    FILE_DIALOG_OVERWRITE_PROMPT = 0x2,  // ask before replacing an existing file (save dialogs)
    FILE_DIALOG_HIDE_READ_ONLY = 0x4,    // no "open read-only" choice
};

// What a command asks of a file dialog.
struct FileDialogRequest {
    QString defaultExtension;  // appended when the user types a name without one
    QString defaultFileName;   // proposed in the name field
    QString filter;            // pairs of "description|patterns|", patterns separated by ';'
    unsigned options = 0;      // FileDialogOption bits
};

// A progress dialog with a Cancel button, open while a long command runs; it closes when
// destroyed.
class ProgressDialogService {
public:
    virtual ~ProgressDialogService() = default;
    // Shows `done` of `total` steps; false once the user has cancelled.
    virtual bool Advance(std::size_t done, std::size_t total) = 0;
};

// Everything the handlers need from the windowing system that a user answers: message boxes,
// questions, file dialogs and other modal dialogs. The editor uses the Qt implementation; tests
// use a scripted one that answers in order and records what was shown.
class WindowServices {
public:
    virtual ~WindowServices() = default;

    // A modal message box with an OK button, owned by `owner`.
    virtual void ShowMessage(QWidget* owner, const QString& text, const QString& caption) = 0;
    // A modal question with Yes and No; true for Yes.
    virtual bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) = 0;
    // A modal question with one button per entry of `buttons`, the first the default and the
    // last the one Escape presses; the index of the button chosen.
    virtual int AskChoice(QWidget* owner, const QString& text, const QString& caption,
                          const QStringList& buttons) = 0;
    // File-open and file-save dialogs: the chosen full path, or nullopt when cancelled. A save
    // dialog also gives, in `chosenType` when asked, the index of the filter pair the user chose
    // (0 for the first).
    virtual std::optional<QString> ChooseFileToOpen(QWidget* owner,
                                                    const FileDialogRequest& request) = 0;
    virtual std::optional<QString> ChooseFileToSave(QWidget* owner,
                                                    const FileDialogRequest& request,
                                                    int* chosenType = nullptr) = 0;
    // Runs a dialog modally and returns its result code.
    virtual int RunModal(QDialog& dialog) = 0;
    // Shows a pop-up menu at a screen position until the user chooses an item or dismisses it;
    // a chosen item is triggered.
    virtual void RunPopupMenu(QMenu& menu, const QPoint& screenPosition) = 0;
    // Opens a modal progress dialog owned by `owner`, saying `text`.
    virtual std::unique_ptr<ProgressDialogService> OpenProgress(QWidget* owner, const QString& text,
                                                                const QString& caption) = 0;
};

// Turns a filter written as "description|patterns|..." into Qt's name filters, one per pair:
// "Moonglass's ROM (*.rom, *.v64)|*.rom; *.v64|" becomes
// "Moonglass's ROM (*.rom, *.v64) (*.rom *.v64)". The patterns go last in parentheses because
// that is where Qt looks for them.
QStringList ToQtNameFilters(const QString& filter);
