#include "app/MainDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QVBoxLayout>

#include "app/AboutDialog.h"
#include "app/AppIcon.h"
#include "app/DialogFont.h"
#include "app/DialogTemplate.h"
#include "app/RomIdentityBar.h"
#include "app/ThumbnailList.h"
#include "app/WindowServices.h"
#include "app/WindowTexts.h"
#include "editor/Editor.h"

MainDialog::MainDialog(Editor& editor, WindowServices& services, QWidget* parent)
    : QDialog(parent), m_editor(editor), m_services(services), m_icon(MakeAppIcon()) {
    const DialogTemplate& dialogTemplate = MainDialogTemplate();
    setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    setFont(DialogFont(font()));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    const CommandRoute route = [this](int command) { OnCommand(command); };
    auto* menuBar = new QMenuBar(this);
    BuildMenuBar(menuBar, route);
    layout->setMenuBar(menuBar);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panel"));
    const DialogRect size =
        DialogUnitsToPixels({0, 0, dialogTemplate.widthUnits, dialogTemplate.heightUnits});
    panel->setFixedSize(size.width, size.height);
    m_controls = BuildMainControls(panel, m_icon, route);
    BuildSystemMenuSubstitute(panel, route);
    layout->addWidget(panel);
    AddRomIdentityBar(this, layout);

    // Only the user's own choices switch the class; the program's do not.
    connect(m_controls.sizeCombo, &QComboBox::activated, this, &MainDialog::OnSizeClassChanged);
    // A click and the change of the current item both show the texture's summary.
    ThumbnailList* list = m_controls.textureList;
    connect(list, &QListWidget::itemClicked, this, [this] { ShowTextureInfo(); });
    connect(list, &QListWidget::currentItemChanged, this, [this] {
        if (!m_movingSelectionMark) {
            ShowTextureInfo();
        }
    });
    connect(list, &QListWidget::itemDoubleClicked, this, [this] { ChooseReplacementSource(); });
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list, &QWidget::customContextMenuRequested, this, &MainDialog::ShowTextureMenu);
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
    ReadControls();
    accept();
}

void MainDialog::ShowAboutDialog() {
    AboutDialog about(m_icon, this);
    m_services.RunModal(about);
}

// Closing the window (not Quit or OK) also removes the working copy that a load wrote.
void MainDialog::closeEvent(QCloseEvent* event) {
    m_editor.RemoveWorkingCopy();
    QDialog::closeEvent(event);
}
