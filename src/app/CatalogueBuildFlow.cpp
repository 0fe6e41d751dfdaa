// File > Build Catalogue from ROM, and Load ROM's offer to build a missing catalogue.

#include "app/CatalogueBuildFlow.h"

#include "app/CatalogueWindowTexts.h"
#include "app/FileDialogs.h"
#include "app/MainDialog.h"
#include "app/WindowServices.h"
#include "editor/Editor.h"

namespace {

void Show(QWidget* owner, WindowServices& services, const WindowText& text) {
    services.ShowMessage(owner, QString::fromStdString(text.text),
                         QString::fromStdString(text.caption));
}

bool Ask(QWidget* owner, WindowServices& services, const WindowText& text) {
    return services.AskYesNo(owner, QString::fromStdString(text.text),
                             QString::fromStdString(text.caption));
}

CatalogueFromRom Build(QWidget* owner, Editor& editor, WindowServices& services,
                       const std::filesystem::path& rom, bool force) {
    const auto progress =
        services.OpenProgress(owner, QString::fromUtf8(window_texts::BUILD_PROGRESS_TEXT),
                              QString::fromUtf8(window_texts::BUILD_CATALOGUE_CAPTION));
    return editor.BuildCatalogueFromRom(rom, force, [&](std::size_t done, std::size_t total) {
        return progress->Advance(done, total);
    });
}

// `loadFollows`: Load ROM goes on with the new catalogue, so the user need not load again.
bool BuildAndTell(QWidget* owner, Editor& editor, WindowServices& services,
                  const std::filesystem::path& rom, bool loadFollows) {
    CatalogueFromRom built = Build(owner, editor, services, rom, false);
    if (built.build.error == CatalogueBuildError::Exists &&
        Ask(owner, services, window_texts::OverwriteCatalogue(built.build.conflict.string()))) {
        built = Build(owner, editor, services, rom, true);
    }
    if (built.check.verdict != RomVerdict::Native && built.check.verdict != RomVerdict::Swapped) {
        Show(owner, services, window_texts::RomFile(built.check));
        return false;
    }
    if (built.build.error != CatalogueBuildError::None) {
        Show(owner, services, window_texts::CatalogueNotBuilt(built.build));
        return false;
    }
    Show(owner, services,
         window_texts::CatalogueBuilt(built.build,
                                      !loadFollows && !editor.WorkingRomPath().empty()));
    return true;
}

}  // namespace

bool RunCatalogueBuild(QWidget* owner, Editor& editor, WindowServices& services,
                       const std::filesystem::path& rom) {
    return BuildAndTell(owner, editor, services, rom, false);
}

void OfferCatalogueBuild(QWidget* owner, Editor& editor, WindowServices& services,
                         const std::filesystem::path& chosen) {
    if (editor.OffersCatalogueBuild(chosen) &&
        Ask(owner, services, window_texts::OfferCatalogueBuild(editor.ProgramFolder().string()))) {
        BuildAndTell(owner, editor, services, chosen, true);
    }
}

void MainDialog::BuildCatalogue() {
    const std::optional<QString> chosen =
        m_services.ChooseFileToOpen(this, file_dialogs::LoadRom());
    if (chosen) {
        RunCatalogueBuild(this, m_editor, m_services, chosen->toStdString());
    }
}
