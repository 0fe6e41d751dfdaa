#include "app/RomIdentityBar.h"

#include <QBoxLayout>
#include <QStatusBar>

#include "app/WindowTexts.h"

namespace {

constexpr const char* BAR_NAME = "romIdentity";

}  // namespace

void AddRomIdentityBar(QWidget* window, QBoxLayout* layout) {
    auto* bar = new QStatusBar(window);
    bar->setObjectName(QString::fromLatin1(BAR_NAME));
    // The bar's corner is where the window is grabbed to resize it.
    bar->setSizeGripEnabled(true);
    layout->addWidget(bar);
}

void ShowRomIdentity(QWidget* window, const std::filesystem::path& chosen,
                     std::optional<std::uint32_t> nativeCrc) {
    auto* bar = window->findChild<QStatusBar*>(QString::fromLatin1(BAR_NAME));
    if (bar == nullptr) {
        return;
    }
    if (!nativeCrc) {
        bar->clearMessage();
        return;
    }
    bar->showMessage(
        QString::fromStdString(window_texts::RomIdentity(chosen.filename().string(), *nativeCrc)));
}
