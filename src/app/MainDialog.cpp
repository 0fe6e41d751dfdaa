#include "app/MainDialog.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>

#include "app/AboutDialog.h"
#include "app/AppIcon.h"
#include "app/DialogFont.h"
#include "app/EditorState.h"
#include "app/MenuResources.h"
#include "app/ThumbnailList.h"
#include "app/UserMessages.h"
#include "app/WindowServices.h"
#include "catalogue/SizeClasses.h"

namespace {

QRect ToQRect(const DialogRect& units) {
    const DialogRect pixels = DialogUnitsToPixels(units);
    return QRect(pixels.x, pixels.y, pixels.width, pixels.height);
}

ThumbnailList* CreateIconList(QWidget* panel, bool scrolling) {
    auto* list = new ThumbnailList(panel);
    list->setViewMode(QListView::IconMode);
    // Items are placed at computed positions, which needs free movement; dragging stays off.
    list->setMovement(QListView::Free);
    list->setDragDropMode(QAbstractItemView::NoDragDrop);
    list->setDragEnabled(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setIconSize(QSize(32, 32));
    list->setContextMenuPolicy(Qt::PreventContextMenu);
    if (!scrolling) {
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    return list;
}

}  // namespace

MainDialog::MainDialog(EditorState& state, WindowServices& services, QWidget* parent)
    : QDialog(parent), m_icon(MakeAppIcon()), m_state(state), m_services(services) {
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

    auto* menuBar = new QMenuBar(this);
    BuildMenuBar(menuBar);
    layout->setMenuBar(menuBar);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panel"));
    const DialogRect size =
        DialogUnitsToPixels({0, 0, dialogTemplate.widthUnits, dialogTemplate.heightUnits});
    panel->setFixedSize(size.width, size.height);
    BuildControls(panel);
    ConnectLists();
    BuildSystemMenuSubstitute(panel);
    layout->addWidget(panel);

    OnInitDialog();
}

MainDialog::~MainDialog() = default;

void MainDialog::BuildControls(QWidget* panel) {
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        const QString text = QString::fromUtf8(control.text);
        QWidget* widget = nullptr;
        switch (control.kind) {
            case ControlKind::IconList:
            case ControlKind::IconListNoScroll: {
                ThumbnailList* list = CreateIconList(panel, control.kind == ControlKind::IconList);
                if (control.id == ids::TEXTURE_LIST) {
                    m_textureList = list;
                } else {
                    m_previewList = list;
                }
                widget = list;
                break;
            }
            case ControlKind::DropDownList: {
                m_sizeCombo = new QComboBox(panel);
                for (const SizeClassInfo& sizeClass : SizeClasses()) {
                    m_sizeCombo->addItem(QString::fromUtf8(sizeClass.comboLabel.data(),
                                                           sizeClass.comboLabel.size()));
                }
                m_sizeCombo->setMaxVisibleItems(SIZE_CLASS_COUNT);
                // Only the user's own choices switch the class; the program's do not.
                connect(m_sizeCombo, &QComboBox::activated, this, &MainDialog::OnSizeClassChanged);
                widget = m_sizeCombo;
                break;
            }
            case ControlKind::Label:
            case ControlKind::RightLabel: {
                auto* label = new QLabel(text, panel);
                if (control.kind == ControlKind::RightLabel) {
                    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
                } else {
                    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                }
                if (control.id == ids::STATUS_TEXT) {
                    m_statusLabel = label;
                } else if (control.id == ids::REPLACEMENT_TEXT) {
                    m_replacementLabel = label;
                } else if (control.id == ids::DESCRIPTION_TEXT) {
                    m_descriptionLabel = label;
                }
                widget = label;
                break;
            }
            case ControlKind::Edit: {
                auto* edit = new QLineEdit(text, panel);
                if (control.id == ids::FORCED_SIZE_EDIT) {
                    edit->setMaxLength(3);
                    m_forcedSizeEdit = edit;
                } else {
                    m_filterEdit = edit;
                }
                widget = edit;
                break;
            }
            case ControlKind::DefaultPushButton:
            case ControlKind::PushButton: {
                auto* button = new QPushButton(text, panel);
                // Enter presses "Update Filter"; the hidden OK button takes no keys.
                button->setDefault(control.kind == ControlKind::DefaultPushButton &&
                                   control.visible);
                button->setAutoDefault(false);
                const int id = control.id;
                connect(button, &QPushButton::clicked, this, [this, id] { OnCommand(id); });
                widget = button;
                break;
            }
            case ControlKind::LeftTextCheckBox: {
                m_forceSizeButton = new QCheckBox(text, panel);
                m_forceSizeButton->setLayoutDirection(Qt::RightToLeft);
                widget = m_forceSizeButton;
                break;
            }
            case ControlKind::Icon: {
                auto* picture = new QLabel(panel);
                picture->setPixmap(m_icon.pixmap(ToQRect(control.units).size()));
                widget = picture;
                break;
            }
        }
        if (control.id != ids::STATIC) {
            widget->setObjectName(QString::number(control.id));
        }
        QRect geometry = ToQRect(control.units);
        if (control.kind == ControlKind::DropDownList) {
            // The template's height includes the dropped-down list.
            geometry.setHeight(widget->sizeHint().height());
        }
        if (control.id == ids::STATIC && widget->sizeHint().width() > geometry.width()) {
            // Fixed labels get the room their text needs in this font, growing away from the
            // side they are aligned to.
            const int extra = widget->sizeHint().width() - geometry.width();
            geometry.setWidth(geometry.width() + extra);
            if (control.kind == ControlKind::RightLabel) {
                geometry.translate(-extra, 0);
            }
        }
        widget->setGeometry(geometry);
        widget->setEnabled(control.enabled);
        widget->setHidden(!control.visible);
    }
}

void MainDialog::ConnectLists() {
    // A click and the change of the current item both show the texture's summary.
    connect(m_textureList, &QListWidget::itemClicked, this, [this] { ShowTextureInfo(); });
    connect(m_textureList, &QListWidget::currentItemChanged, this, [this] {
        if (!m_movingSelectionMark) {
            ShowTextureInfo();
        }
    });
    connect(m_textureList, &QListWidget::itemDoubleClicked, this,
            [this] { ChooseReplacementSource(); });
    m_textureList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_textureList, &QWidget::customContextMenuRequested, this,
            &MainDialog::ShowTextureMenu);
    // Insert User Image is offered on the replacement preview.
    m_previewList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_previewList, &QWidget::customContextMenuRequested, this,
            &MainDialog::ShowPreviewMenu);
}

void MainDialog::BuildMenuBar(QMenuBar* menuBar) {
    for (const PopupTemplate& popup : FindMenuTemplate(ids::MENU_MAIN)->popups) {
        AddMenuItems(menuBar->addMenu(QString::fromUtf8(popup.title)), popup);
    }
}

QMenu* MainDialog::CreatePopupMenu(int menuId) {
    const MenuTemplate* menuTemplate = FindMenuTemplate(menuId);
    if (menuTemplate == nullptr || menuTemplate->popups.empty()) {
        return nullptr;
    }
    const PopupTemplate& popup = menuTemplate->popups.front();
    auto* menu = new QMenu(QString::fromUtf8(popup.title), this);
    AddMenuItems(menu, popup);
    return menu;
}

void MainDialog::AddMenuItems(QMenu* menu, const PopupTemplate& popup) {
    for (const MenuItemTemplate& item : popup.items) {
        if (item.command == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::number(item.command));
        const int command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { OnCommand(command); });
    }
}

// Window managers do not let a program add items to the title bar's menu, so its About item is
// offered where a right click lands on the window itself rather than on a control.
void MainDialog::BuildSystemMenuSubstitute(QWidget* panel) {
    panel->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* separator = new QAction(panel);
    separator->setSeparator(true);
    panel->addAction(separator);
    auto* about = new QAction(QString::fromUtf8(ABOUT_MENU_TEXT), panel);
    about->setObjectName(QString::number(ids::CMD_SYSTEM_ABOUT));
    connect(about, &QAction::triggered, this, [this] { OnCommand(ids::CMD_SYSTEM_ABOUT); });
    panel->addAction(about);
}

void MainDialog::OnInitDialog() {
    WriteControls();
    setWindowIcon(m_icon);
    m_forcedSizeText = QString::asprintf("%X", DEFAULT_FORCED_SIZE);
    m_sizeCombo->setCurrentIndex(0);
    m_statusText = QString::fromUtf8(PROGRAM_TITLE);
    WriteControls();
}

void MainDialog::ReadControls() {
    m_statusText = m_statusLabel->text();
    m_replacementText = m_replacementLabel->text();
    m_forceSize = m_forceSizeButton->isChecked();
    m_forcedSizeText = m_forcedSizeEdit->text().left(3);
    m_descriptionText = m_descriptionLabel->text();
    m_filterText = m_filterEdit->text();
}

void MainDialog::WriteControls() {
    m_statusLabel->setText(m_statusText);
    m_replacementLabel->setText(m_replacementText);
    m_forceSizeButton->setChecked(m_forceSize);
    m_forcedSizeEdit->setText(m_forcedSizeText);
    m_descriptionLabel->setText(m_descriptionText);
    m_filterEdit->setText(m_filterText);
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

void MainDialog::ShowMessage(const char* text, const char* caption) {
    m_services.ShowMessage(this, QString::fromUtf8(text), QString::fromUtf8(caption));
}

void MainDialog::EndWithOk() {
    ReadControls();
    accept();
}

void MainDialog::ShowAboutDialog() {
    AboutDialog about(m_icon, this);
    m_services.RunModal(about);
}

// Closing the window (not Quit or OK) also removes the working copy that a load wrote. A file
// of that name that the user loaded in place is theirs and stays.
void MainDialog::closeEvent(QCloseEvent* event) {
    if (!m_state.workingCopyPath.empty()) {
        std::error_code ignored;  // a file already gone is no error
        std::filesystem::remove(m_state.workingCopyPath, ignored);
        m_state.workingCopyPath.clear();
    }
    QDialog::closeEvent(event);
}
