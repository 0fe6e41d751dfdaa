#pragma once

#include <QApplication>

// The application object: starts the editor's window and ends the process when it closes.
class ImageEditorApp : public QApplication {
    Q_OBJECT

public:
    ImageEditorApp(int& argc, char** argv);

    // Creates the main window, runs it modally and returns the process's exit code once it ends.
    int InitInstance();
};
