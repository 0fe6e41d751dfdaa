#pragma once

#include <filesystem>
#include <string>

class QWidget;

// Feedback that asks for no answer: a line in the window's status bar saying what the last
// command did, and the window title naming the loaded ROM with a mark while replacements are
// not saved.

// Shows `text` in `window`'s status bar until the next feedback; an empty text clears it.
void ShowFeedback(QWidget* window, const std::string& text);

// Titles `window` with the loaded ROM's file name before its own caption.
void ShowRomTitle(QWidget* window, const std::filesystem::path& rom);
// Marks the title while replacements are not saved.
void ShowUnsaved(QWidget* window, bool unsaved);
