#pragma once

#include <filesystem>

#include "catalogue/SizeClassTable.h"
#include "replace/ReplacementSource.h"

// The values that live for the whole run and that every command shares.
struct EditorState {
    // Folder of the program's executable: the catalogue and the image table lie below it.
    std::filesystem::path programFolder;
    // The swapped-order ROM every command reads; empty until a ROM has been loaded.
    std::filesystem::path workingRomPath;
    // The swapped working copy this program wrote for a native-order ROM; empty when it wrote
    // none. Only this file is removed when the window closes, never a user's file of that name.
    std::filesystem::path workingCopyPath;
    // The texture catalogue, rebuilt by each load.
    SizeClassTable sizeClassTable;
    // The texture chosen as the source of replacements.
    ReplacementSource replacementSource;
};
