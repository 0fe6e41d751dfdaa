#pragma once

#include <span>

// Menus as data: a menu holds pop-ups, a pop-up holds items. An item with command 0 is a
// separator. The command identifier is what reaches the main window's routing.
struct MenuItemTemplate {
    const char* text;
    int command;
};

struct PopupTemplate {
    const char* title;
    std::span<const MenuItemTemplate> items;
};

struct MenuTemplate {
    int id;
    std::span<const PopupTemplate> popups;
};

// Menu 130 (the menu bar), 4 (the texture list's context menu) or 132 (the preview's context
// menu); nullptr for any other identifier.
const MenuTemplate* FindMenuTemplate(int menuId);
