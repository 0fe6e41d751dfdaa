#include "app/RomIdentityBar.h"

#include <QBoxLayout>
#include <QLabel>
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
    // The identity stays on the right while the bar's messages report the commands.
    auto* identity = new QLabel(bar);
    identity->setObjectName(QString::fromLatin1(BAR_NAME));
    identity->setTextFormat(Qt::PlainText);
    bar->addPermanentWidget(identity);
    layout->addWidget(bar);
}

void ShowRomIdentity(QWidget* window, const std::filesystem::path& chosen,
                     std::optional<std::uint32_t> nativeCrc) {
    auto* identity = window->findChild<QLabel*>(QString::fromLatin1(BAR_NAME));
    if (identity == nullptr) {
        return;
    }
    identity->setText(nativeCrc ? QString::fromStdString(window_texts::RomIdentity(
                                      chosen.filename().string(), *nativeCrc))
                                : QString());
}
