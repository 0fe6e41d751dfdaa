#include "app/ImageEditorApp.h"

#include <memory>

#include "app/EditorState.h"
#include "app/MainDialog.h"
#include "app/QtWindowServices.h"

ImageEditorApp::ImageEditorApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("MGROMImageEditor"));
}

int ImageEditorApp::InitInstance() {
    // The catalogue is several megabytes: keep it off the stack.
    auto state = std::make_unique<EditorState>();
    state->programFolder = applicationDirPath().toStdString();
    QtWindowServices services;
    MainDialog dialog(*state, services);
    dialog.exec();
    return 0;
}
