#include "app/MenuResources.h"

#include <array>

#include "app/DialogTemplate.h"

namespace {

constexpr std::array kFileItems = {
    MenuItemTemplate{"&Load Moonglass ROM", ids::CMD_LOAD_ROM},
    MenuItemTemplate{"&Build Catalogue from ROM...", ids::CMD_BUILD_CATALOGUE},
    MenuItemTemplate{"&Save New ROM", ids::CMD_SAVE_NEW_ROM},
    MenuItemTemplate{"", 0},
    MenuItemTemplate{"&Quit", ids::CMD_QUIT},
};
constexpr std::array kPatchItems = {MenuItemTemplate{"&Apply Patch", ids::CMD_APPLY_PATCH}};
constexpr std::array kHelpItems = {MenuItemTemplate{"&About", ids::CMD_ABOUT}};
constexpr std::array kMainPopups = {
    PopupTemplate{"&File", kFileItems},
    PopupTemplate{"&Patches", kPatchItems},
    PopupTemplate{"&Help", kHelpItems},
};

constexpr std::array kRightClickItems = {
    MenuItemTemplate{"Replace", ids::CMD_REPLACE},
    MenuItemTemplate{"Export Texture As Bitmap...", ids::CMD_EXPORT_TEXTURE}};
constexpr std::array kRightClickPopups = {PopupTemplate{"Right Click", kRightClickItems}};

constexpr std::array kRightClickSmallItems = {
    MenuItemTemplate{"Insert User Image", ids::CMD_INSERT_USER_IMAGE}};
constexpr std::array kRightClickSmallPopups = {
    PopupTemplate{"Right Click Small", kRightClickSmallItems}};

constexpr std::array kMenus = {
    MenuTemplate{ids::MENU_MAIN, kMainPopups},
    MenuTemplate{ids::MENU_RIGHT_CLICK, kRightClickPopups},
    MenuTemplate{ids::MENU_RIGHT_CLICK_SMALL, kRightClickSmallPopups},
};

}  // namespace

const MenuTemplate* FindMenuTemplate(int menuId) {
    for (const MenuTemplate& menu : kMenus) {
        if (menu.id == menuId) {
            return &menu;
        }
    }
    return nullptr;
}
