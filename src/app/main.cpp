#include "app/ImageEditorApp.h"

int main(int argc, char** argv) {
    ImageEditorApp app(argc, argv);
    return app.InitInstance();
}
