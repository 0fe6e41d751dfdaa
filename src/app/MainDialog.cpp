#include "app/MainDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "app/AboutDialog.h"
#include "app/AppIcon.h"
#include "app/CloseGuard.h"
#include "app/DialogTemplate.h"
#include "app/ListInput.h"
#include "app/OutputCommands.h"
#include "app/PendingTooltips.h"
#include "app/ReplaceUndo.h"
#include "app/RomDrop.h"
#include "app/RomIdentityBar.h"
#include "app/StatusFeedback.h"
#include "app/ThumbnailList.h"
#include "app/WindowServices.h"
#include "app/WindowTexts.h"
#include "app/ZoomMenu.h"
#include "editor/Editor.h"

MainDialog::MainDialog(Editor& editor, WindowServices& services, QWidget* parent)
    : QDialog(parent), m_editor(editor), m_services(services), m_icon(MakeAppIcon()) {
    const CommandRoute route = [this](int command) { OnCommand(command); };
    QMenuBar* menuBar = nullptr;
    m_controls = BuildMainWindow(this, m_icon, route, &menuBar);
    m_zoom = new ZoomMenu(menuBar, [this] { ApplyZoom(); });
    AcceptRomDrops(this, [this](const QString& rom) {
        if (MayEnd()) {
            LoadRomFile(rom);
        }
    });
    m_history = std::make_unique<ReplaceHistory>(m_editor, this, [this] {
        RefillTextureList();
        ShowUnsaved(this, m_editor.HasUnsavedReplacements());
    });
    m_history->AddEditMenu(menuBar);
    m_output = std::make_unique<OutputCommands>(this, m_editor, m_services);

    // Only the user's own choices switch the class; the program's do not.
    connect(m_controls.sizeCombo, &QComboBox::activated, this, &MainDialog::OnSizeClassChanged);
    // A click and the change of the current item both show the texture's summary.
    InstallTileFacts(m_controls.textureList, m_editor,
                     [this] { return m_controls.sizeCombo->currentIndex(); });
    WireTextureList(m_controls.textureList, {[this] { ShowTextureInfo(); },
                                             [this] {
                                                 if (!m_movingSelectionMark) {
                                                     ShowTextureInfo();
                                                 }
                                             },
                                             [this] { ChooseReplacementSource(); },
                                             [this](const QPoint& at) { ShowTextureMenu(at); }});
    // Insert User Image is offered on the replacement preview.
    m_controls.previewList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_controls.previewList, &QWidget::customContextMenuRequested, this,
            &MainDialog::ShowPreviewMenu);

    WriteControls();
    setWindowIcon(m_icon);
    m_forcedSizeText = QString::asprintf("%X", DEFAULT_FORCED_SIZE);
    m_controls.sizeCombo->setCurrentIndex(0);
    m_statusText = QString::fromUtf8(window_texts::PROGRAM_TITLE);
    WriteControls();
}

MainDialog::~MainDialog() = default;

void MainDialog::ReadControls() {
    m_statusText = m_controls.status->text();
    m_replacementText = m_controls.replacement->text();
    m_forceSize = m_controls.forceSize->isChecked();
    m_forcedSizeText = m_controls.forcedSize->text().left(3);
    m_descriptionText = m_controls.description->text();
    m_filterText = m_controls.filter->text();
}

void MainDialog::WriteControls() {
    m_controls.status->setText(m_statusText);
    m_controls.replacement->setText(m_replacementText);
    m_controls.forceSize->setChecked(m_forceSize);
    m_controls.forcedSize->setText(m_forcedSizeText);
    m_controls.description->setText(m_descriptionText);
    m_controls.filter->setText(m_filterText);
}

void MainDialog::OnCommand(int commandId) {
    struct Route {
        int command;
        void (MainDialog::*handler)();
    };
    static constexpr Route kRoutes[] = {
        {ids::CMD_LOAD_ROM, &MainDialog::LoadRom},
        {ids::CMD_REPLACE, &MainDialog::ReplaceTexture},
        {ids::CMD_INSERT_USER_IMAGE, &MainDialog::InsertUserImage},
        {ids::SWITCH_IMAGE_SIZE, &MainDialog::SwitchImageSize},
        {ids::UPDATE_FILTER, &MainDialog::RefillTextureList},
        {ids::CMD_SAVE_NEW_ROM, &MainDialog::SaveNewRom},
        {ids::CMD_APPLY_PATCH, &MainDialog::ApplyPatch},
        {ids::CMD_BUILD_CATALOGUE, &MainDialog::BuildCatalogue},
        {ids::CMD_EXPORT_TEXTURE, &MainDialog::ExportTexture},
        {ids::CMD_QUIT, &MainDialog::EndWithOk},
        {ids::OK, &MainDialog::EndWithOk},
        {ids::CMD_ABOUT, &MainDialog::ShowAboutDialog},
        {ids::CMD_SYSTEM_ABOUT, &MainDialog::ShowAboutDialog},
    };
    for (const Route& route : kRoutes) {
        if (route.command == commandId) {
            (this->*route.handler)();
            return;
        }
    }
}

void MainDialog::ShowText(const WindowText& text) {
    m_services.ShowMessage(this, QString::fromStdString(text.text),
                           QString::fromStdString(text.caption));
}

void MainDialog::EndWithOk() {
    if (MayEnd()) {
        ReadControls();
        accept();
    }
}

void MainDialog::SaveNewRom() {
    m_output->SaveNewRom();
}

void MainDialog::ApplyPatch() {
    if (const std::optional<QString> result = m_output->ApplyPatch()) {
        LoadRomFile(*result);
    }
}

bool MainDialog::MayEnd() {
    return AskBeforeEnding(this, m_editor, m_services, [this] { return m_output->SaveNewRom(); });
}

void MainDialog::reject() {
    if (m_endAgreed || MayEnd()) {
        QDialog::reject();
    }
}

void MainDialog::ShowAboutDialog() {
    AboutDialog about(m_icon, this);
    m_services.RunModal(about);
}

// Closing the window (not Quit or OK) also removes the working copy that a load wrote.
void MainDialog::closeEvent(QCloseEvent* event) {
    if (!MayEnd()) {
        event->ignore();
        return;
    }
    m_endAgreed = true;
    m_editor.RemoveWorkingCopy();
    QDialog::closeEvent(event);
    m_endAgreed = false;
}
