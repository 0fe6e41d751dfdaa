#pragma once

#include <QString>
#include <optional>

class Editor;
enum class RomReadiness;
class QWidget;
class WindowServices;
struct WindowText;

// Save New ROM with the patch it may write, Apply Patch and Insert User Image: the window's side
// of the commands that write files. Each asks its dialogs through the window services, runs the
// editor's steps in order, reports refusals in message boxes and successes in the status bar.
class OutputCommands {
public:
    OutputCommands(QWidget* window, Editor& editor, WindowServices& services);

    // Save New ROM; true when the new ROM was written.
    bool SaveNewRom();
    // Apply Patch; the result's path when it was written and the user asked to load it.
    std::optional<QString> ApplyPatch();
    void InsertUserImage();

private:
    void Show(const WindowText& text);
    // Says why the working ROM cannot be used, when it cannot be read; true then.
    bool RefuseUnreadable(RomReadiness readiness);

    QWidget* m_window;
    Editor& m_editor;
    WindowServices& m_services;
};
