#include "app/ImageEditorApp.h"

#include <QTimer>
#include <memory>

#include "app/CommandLine.h"
#include "app/MainDialog.h"
#include "app/QtWindowServices.h"
#include "catalogue/CatalogueLocation.h"
#include "editor/Editor.h"

ImageEditorApp::ImageEditorApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The settings (the file dialogs' folders, nothing else) are filed under these names.
    setOrganizationName(QStringLiteral("MGROMImageEditor"));
    setApplicationName(QStringLiteral("MGROMImageEditor"));
    // Ties the window to its installed launcher and icon on Wayland.
    setDesktopFileName(QStringLiteral("org.mgromimageeditor.MGROMImageEditor"));
}

int ImageEditorApp::InitInstance() {
    const std::optional<QString> rom = RomFromCommandLine(arguments());
    // The catalogue is several megabytes: keep it off the stack.
    auto editor =
        std::make_unique<Editor>(FindCatalogueFolderFor(applicationDirPath().toStdString()));
    QtWindowServices services;
    MainDialog dialog(*editor, services);
    if (rom) {
        // Loaded once the window shows, so that its messages have their owner on screen.
        QTimer::singleShot(0, &dialog, [&dialog, path = *rom] { dialog.LoadRomFile(path); });
    }
    dialog.exec();
    return 0;
}
