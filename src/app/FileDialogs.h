#pragma once

#include "app/WindowServices.h"
#include "romio/SharedPatch.h"

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
            QStringLiteral("Images|*.bmp; *.png|"), SAVE_OPTIONS};
}
inline FileDialogRequest NewRom() {
    return {QStringLiteral("rom"), QStringLiteral("DIVUZAVOZIRIDODU.VOR"),
            QStringLiteral("Moonglass's ROM (*.rom, *.v64)|*.rom; *.v64|"), SAVE_OPTIONS};
}
inline FileDialogRequest Patch() {
    return {QStringLiteral("pat"), QStringLiteral("MGTexturePatch.pat"),
            QStringLiteral("Custom ROM Patch (*.pat)|*.pat|IPS patch (*.ips)|*.ips|"
                           "BPS patch (*.bps)|*.bps|"),
            SAVE_OPTIONS};
}
// The format of a patch to write: the name's extension when it is one of the three, otherwise
// the type chosen in the dialog (the index of its filter pair).
inline PatchFormat PatchFormatOf(const QString& path, int chosenType) {
    const PatchFormat types[] = {PatchFormat::Custom, PatchFormat::Ips, PatchFormat::Bps};
    const PatchFormat chosen =
        chosenType >= 1 && chosenType <= 2 ? types[chosenType] : PatchFormat::Custom;
    return PatchFormatOfName(path.toStdString(), chosen);
}
inline FileDialogRequest PatchedRom() {
    return {QStringLiteral("rom"), QStringLiteral("MGPatched.rom"),
            QStringLiteral("Patched MG ROM (*.rom)|*.rom|"), SAVE_OPTIONS};
}

}  // namespace file_dialogs
