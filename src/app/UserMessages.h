#pragma once

// Texts the window shows in message boxes and its own lines, each written once. Texts shared
// with the command-line tool live beside the core operations that produce them.
struct UserMessage {
    const char* text;
    const char* caption;
};

namespace messages {

inline constexpr UserMessage NO_ROM_OPENED{"No ROM Opened", "Open Moonglass ROM"};
inline constexpr UserMessage NO_IMAGE_TABLE{"You need the image table: tableBinary.bin",
                                            "Images defaulted to low 0x200"};
// Followed by the class folder and BAD_INSTALL_TEXT_END.
inline constexpr UserMessage BAD_INSTALL{"You didn't extract the ", "Bad install"};
inline constexpr const char* BAD_INSTALL_TEXT_END = " images to the right directory";
// Followed by one line per bitmap left out.
inline constexpr UserMessage USER_BITMAP_ERRORS{"The following images will not be loaded:\n\n",
                                                "Errors with User bitmaps!"};
// Filled with the class folder, the number loaded and the number left out.
inline constexpr UserMessage TOO_MANY_BITMAPS{
    "The folder %1 holds more bitmaps than a size class can show: the first %2 were loaded and "
    "%3 were left out.",
    "Too many bitmaps"};
// Filled with the file's path and the reason.
inline constexpr UserMessage WORKING_COPY_NOT_WRITTEN{
    "The working copy %1 could not be written (%2). Nothing was loaded.", "Cannot load ROM"};

inline constexpr UserMessage USER_NOT_REPLACEABLE{
    "User images cannot be replaced, as they are not part of the game.", "BAD"};
// Filled with what failed.
inline constexpr UserMessage SCRATCH_NOT_WRITTEN{"The converted texture could not be saved: %1",
                                                 "Cannot write file"};

}  // namespace messages

// Texts of the main window and its About box.
inline constexpr const char* PROGRAM_TITLE = "Moonglass ROM Image Changer 1.1";
inline constexpr const char* USAGE_HINT =
    "Double click to set replacement texture.  Right click and choose replace to switch it to "
    "selected texture.";
inline constexpr const char* ABOUT_MENU_TEXT = "&About MGROMImageEditor...";
inline constexpr const char* ABOUT_CAPTION = "About MGROMImageEditor";
