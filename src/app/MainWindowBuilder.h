#pragma once

#include <QPoint>
#include <QSize>
#include <functional>

class QCheckBox;
class QComboBox;
class QDialog;
class QIcon;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QWidget;
class ThumbnailList;

// The main window's controls that its code addresses.
struct MainControls {
    ThumbnailList* textureList = nullptr;  // 1000
    ThumbnailList* previewList = nullptr;  // 1002
    QComboBox* sizeCombo = nullptr;        // 1003
    QLabel* status = nullptr;              // 1004
    QLabel* replacement = nullptr;         // 1005
    QLineEdit* forcedSize = nullptr;       // 1006
    QCheckBox* forceSize = nullptr;        // 1007
    QLabel* description = nullptr;         // 1008
    QLineEdit* filter = nullptr;           // 1009
};

// Routes a command identifier (menu item, button or system-menu item) to the window.
using CommandRoute = std::function<void(int)>;

// Builds every control of the main window's template on `panel`, named by its identifier;
// buttons send their identifier to `route`.
MainControls BuildMainControls(QWidget* panel, const QIcon& icon, const CommandRoute& route);

// Builds the main window `window` from dialog template 102: its title, font and frame (which
// can be resized and maximised), the menu bar from menu 130 (returned in `menuBar`), the panel
// with every control at its designed place, and the status bar below. Returns the controls.
MainControls BuildMainWindow(QDialog* window, const QIcon& icon, const CommandRoute& route,
                             QMenuBar** menuBar);

// Fills the menu bar from menu 130, its items sent to `route`.
void BuildMenuBar(QMenuBar* menuBar, const CommandRoute& route);

// The first pop-up of menu `menuId` (4 or 132), owned by the caller; nullptr for other menus.
QMenu* BuildPopupMenu(int menuId, QWidget* parent, const CommandRoute& route);

// Window managers do not let a program add items to the title bar's menu, so its About item is
// offered where a right click lands on the window itself rather than on a control.
void BuildSystemMenuSubstitute(QWidget* panel, const CommandRoute& route);
