#pragma once

#include <span>

// The main window and About box are laid out in dialog units, as they were designed. With the
// dialogs' 8-point font a horizontal unit is 1.5 pixels and a vertical unit 1.625 pixels at 96 dpi.
struct DialogRect {
    int x, y, width, height;
};

// Converts a rectangle from dialog units to pixels, rounding to the nearest pixel.
DialogRect DialogUnitsToPixels(const DialogRect& units);

// Command and control identifiers. Controls keep their identifier as their object name.
namespace ids {
inline constexpr int OK = 1;
inline constexpr int TEXTURE_LIST = 1000;
inline constexpr int SWITCH_IMAGE_SIZE = 1001;
inline constexpr int PREVIEW_LIST = 1002;
inline constexpr int SIZE_COMBO = 1003;
inline constexpr int STATUS_TEXT = 1004;
inline constexpr int REPLACEMENT_TEXT = 1005;
inline constexpr int FORCED_SIZE_EDIT = 1006;
inline constexpr int FORCE_SIZE_CHECK = 1007;
inline constexpr int DESCRIPTION_TEXT = 1008;
inline constexpr int FILTER_EDIT = 1009;
inline constexpr int UPDATE_FILTER = 1011;
inline constexpr int STATIC = -1;  // labels that no code addresses

inline constexpr int CMD_SYSTEM_ABOUT = 16;
inline constexpr int CMD_LOAD_ROM = 32771;
inline constexpr int CMD_REPLACE = 32772;
inline constexpr int CMD_SAVE_NEW_ROM = 32773;
inline constexpr int CMD_QUIT = 32774;
inline constexpr int CMD_ABOUT = 32775;
inline constexpr int CMD_INSERT_USER_IMAGE = 32776;
inline constexpr int CMD_APPLY_PATCH = 32777;
inline constexpr int CMD_BUILD_CATALOGUE = 32790;
inline constexpr int CMD_EXPORT_TEXTURE = 32791;

inline constexpr int MENU_MAIN = 130;
inline constexpr int MENU_RIGHT_CLICK = 4;
inline constexpr int MENU_RIGHT_CLICK_SMALL = 132;
}  // namespace ids

enum class ControlKind {
    IconList,           // list view in icon mode, left-aligned
    IconListNoScroll,   // the same without scrolling
    DropDownList,       // drop-down list combo box with a vertical scroll bar
    Label,              // static text
    RightLabel,         // static text, right-aligned
    Edit,               // single-line edit, scrolling horizontally
    DefaultPushButton,  // push button that Enter presses
    PushButton,
    LeftTextCheckBox,  // check box with its text on the left
    Icon,              // the program icon
};

struct ControlTemplate {
    int id;
    ControlKind kind;
    const char* text;
    DialogRect units;
    bool visible;  // hidden controls are never shown
    bool enabled;
};

struct DialogTemplate {
    const char* caption;
    int widthUnits;
    int heightUnits;
    std::span<const ControlTemplate> controls;
};

// Dialog template 102: the main window.
const DialogTemplate& MainDialogTemplate();
// Dialog template 100: the About box.
const DialogTemplate& AboutDialogTemplate();
