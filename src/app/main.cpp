#include <QCoreApplication>
#include <string_view>

#include "app/CommandLine.h"
#include "app/ImageEditorApp.h"

namespace {

bool AsksForHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help" || argument == "-?" ||
            argument == "--help-all") {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (AsksForHelp(argc, argv)) {
        // The usage is printed before any window system starts, so it works without a display.
        QCoreApplication reader(argc, argv);
        RomFromCommandLine(QCoreApplication::arguments());
        return 0;
    }
    ImageEditorApp app(argc, argv);
    return app.InitInstance();
}
