#pragma once

#include "app/WindowServices.h"

// The file dialogs the window's commands open.
namespace file_dialogs {

inline constexpr unsigned SAVE_OPTIONS = FILE_DIALOG_HIDE_READ_ONLY | FILE_DIALOG_OVERWRITE_PROMPT;

inline FileDialogRequest LoadRom() {
    return {QStringLiteral("rom"), QStringLiteral("MOONGLASS.ROM"),
            QStringLiteral("Moonglass's ROM (*.rom, *.v64)|*.rom; *.v64|"),
            FILE_DIALOG_HIDE_READ_ONLY};
}
inline FileDialogRequest UserImage() {
    return {QStringLiteral("bmp"), QStringLiteral("face.bmp"),
            QStringLiteral("Windows Bitmap (*.bmp)|*.bmp|"), SAVE_OPTIONS};
}
inline FileDialogRequest NewRom() {
    return {QStringLiteral("rom"), QStringLiteral("DIVUZAVOZIRIDODU.VOR"),
            QStringLiteral("Moonglass's ROM (*.rom, *.v64)|*.rom; *.v64|"), SAVE_OPTIONS};
}
inline FileDialogRequest Patch() {
    return {QStringLiteral("pat"), QStringLiteral("MGTexturePatch.pat"),
            QStringLiteral("Custom ROM Patch (*.pat)|*.pat|"), SAVE_OPTIONS};
}
inline FileDialogRequest PatchedRom() {
    return {QStringLiteral("rom"), QStringLiteral("MGPatched.rom"),
            QStringLiteral("Patched MG ROM (*.rom)|*.rom|"), SAVE_OPTIONS};
}

}  // namespace file_dialogs
