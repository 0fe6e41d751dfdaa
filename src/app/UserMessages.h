#pragma once

// Every text the editor shows in a message box, each written once.
struct UserMessage {
    const char* text;
    const char* caption;
};

namespace messages {

inline constexpr UserMessage NO_ROM_OPENED{"No ROM Opened", "Open Moonglass ROM"};

}  // namespace messages

// Texts of the main window and its About box.
inline constexpr const char* PROGRAM_TITLE = "Moonglass ROM Image Changer 1.1";
inline constexpr const char* ABOUT_MENU_TEXT = "&About MGROMImageEditor...";
inline constexpr const char* ABOUT_CAPTION = "About MGROMImageEditor";
