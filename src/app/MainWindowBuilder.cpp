#include "app/MainWindowBuilder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/DialogFont.h"
#include "app/DialogTemplate.h"
#include "app/ListReflow.h"
#include "app/MenuResources.h"
#include "app/MenuShortcuts.h"
#include "app/RomIdentityBar.h"
#include "app/ThumbnailList.h"
#include "app/WindowLayout.h"
#include "app/WindowTexts.h"
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

void AddMenuItems(QMenu* menu, const PopupTemplate& popup, const CommandRoute& route) {
    for (const MenuItemTemplate& item : popup.items) {
        if (item.command == 0) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::number(item.command));
        action->setShortcut(MenuShortcut(item.command));
        const int command = item.command;
        QObject::connect(action, &QAction::triggered, [route, command] { route(command); });
    }
}

}  // namespace

MainControls BuildMainControls(QWidget* panel, const QIcon& icon, const CommandRoute& route) {
    MainControls controls;
    for (const ControlTemplate& control : MainDialogTemplate().controls) {
        const QString text = QString::fromUtf8(control.text);
        QWidget* widget = nullptr;
        switch (control.kind) {
            case ControlKind::IconList:
            case ControlKind::IconListNoScroll: {
                ThumbnailList* list = CreateIconList(panel, control.kind == ControlKind::IconList);
                if (control.id == ids::TEXTURE_LIST) {
                    controls.textureList = list;
                } else {
                    controls.previewList = list;
                }
                widget = list;
                break;
            }
            case ControlKind::DropDownList: {
                auto* combo = new QComboBox(panel);
                for (const SizeClassInfo& sizeClass : SizeClasses()) {
                    combo->addItem(QString::fromUtf8(sizeClass.comboLabel.data(),
                                                     sizeClass.comboLabel.size()));
                }
                combo->setMaxVisibleItems(SIZE_CLASS_COUNT);
                controls.sizeCombo = combo;
                widget = combo;
                break;
            }
            case ControlKind::Label:
            case ControlKind::RightLabel: {
                auto* label = new QLabel(text, panel);
                // Descriptions and file names are shown as they are, never as markup.
                label->setTextFormat(Qt::PlainText);
                if (control.kind == ControlKind::RightLabel) {
                    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
                } else {
                    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                }
                if (control.id == ids::STATUS_TEXT) {
                    controls.status = label;
                } else if (control.id == ids::REPLACEMENT_TEXT) {
                    // A long caption breaks into a second line rather than being cut off.
                    label->setWordWrap(true);
                    controls.replacement = label;
                } else if (control.id == ids::DESCRIPTION_TEXT) {
                    controls.description = label;
                }
                widget = label;
                break;
            }
            case ControlKind::Edit: {
                auto* edit = new QLineEdit(text, panel);
                if (control.id == ids::FORCED_SIZE_EDIT) {
                    edit->setMaxLength(3);
                    controls.forcedSize = edit;
                } else {
                    controls.filter = edit;
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
                QObject::connect(button, &QPushButton::clicked, [route, id] { route(id); });
                widget = button;
                break;
            }
            case ControlKind::LeftTextCheckBox: {
                controls.forceSize = new QCheckBox(text, panel);
                controls.forceSize->setLayoutDirection(Qt::RightToLeft);
                widget = controls.forceSize;
                break;
            }
            case ControlKind::Icon: {
                auto* picture = new QLabel(panel);
                picture->setPixmap(icon.pixmap(ToQRect(control.units).size()));
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
    return controls;
}

void BuildMenuBar(QMenuBar* menuBar, const CommandRoute& route) {
    for (const PopupTemplate& popup : FindMenuTemplate(ids::MENU_MAIN)->popups) {
        AddMenuItems(menuBar->addMenu(QString::fromUtf8(popup.title)), popup, route);
    }
}

QMenu* BuildPopupMenu(int menuId, QWidget* parent, const CommandRoute& route) {
    const MenuTemplate* menuTemplate = FindMenuTemplate(menuId);
    if (menuTemplate == nullptr || menuTemplate->popups.empty()) {
        return nullptr;
    }
    const PopupTemplate& popup = menuTemplate->popups.front();
    auto* menu = new QMenu(QString::fromUtf8(popup.title), parent);
    AddMenuItems(menu, popup, route);
    return menu;
}

void BuildSystemMenuSubstitute(QWidget* panel, const CommandRoute& route) {
    panel->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* separator = new QAction(panel);
    separator->setSeparator(true);
    panel->addAction(separator);
    auto* about = new QAction(QString::fromUtf8(window_texts::ABOUT_MENU_TEXT), panel);
    about->setObjectName(QString::number(ids::CMD_SYSTEM_ABOUT));
    QObject::connect(about, &QAction::triggered, [route] { route(ids::CMD_SYSTEM_ABOUT); });
    panel->addAction(about);
}

MainControls BuildMainWindow(QDialog* window, const QIcon& icon, const CommandRoute& route,
                             QMenuBar** menuBar) {
    const DialogTemplate& dialogTemplate = MainDialogTemplate();
    window->setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    window->setFont(DialogFont(window->font()));
    // A top-level window rather than a dialog, so that every window manager lets it be maximised.
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                           Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    *menuBar = new QMenuBar(window);
    BuildMenuBar(*menuBar, route);
    layout->setMenuBar(*menuBar);

    const DialogRect size =
        DialogUnitsToPixels({0, 0, dialogTemplate.widthUnits, dialogTemplate.heightUnits});
    QWidget* panel = NewDesignPanel(window, QSize(size.width, size.height));
    panel->setObjectName(QStringLiteral("panel"));
    MainControls controls = BuildMainControls(panel, icon, route);
    BuildSystemMenuSubstitute(panel, route);
    MakePanelResizable(panel, controls.textureList);
    KeepGridReflowed(controls.textureList);
    layout->addWidget(panel);
    AddRomIdentityBar(window, layout);
    // The designed size, or a narrower window where the screen is smaller.
    window->resize(window->sizeHint().boundedTo(window->screen()->availableSize()));
    return controls;
}
