#include "app/ImageEditorApp.h"

#include <memory>

#include "app/MainDialog.h"
#include "app/QtWindowServices.h"
#include "catalogue/CatalogueLocation.h"
#include "editor/Editor.h"

ImageEditorApp::ImageEditorApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("MGROMImageEditor"));
    // Ties the window to its installed launcher and icon on Wayland.
    setDesktopFileName(QStringLiteral("org.mgromimageeditor.MGROMImageEditor"));
}

int ImageEditorApp::InitInstance() {
    // The catalogue is several megabytes: keep it off the stack.
    auto editor =
        std::make_unique<Editor>(FindCatalogueFolderFor(applicationDirPath().toStdString()));
    QtWindowServices services;
    MainDialog dialog(*editor, services);
    dialog.exec();
    return 0;
}
