#pragma once

#include <filesystem>

#include "catalogue/SizeClassTable.h"

// The values that live for the whole run and that every command shares.
struct EditorState {
    // Folder of the program's executable: the catalogue and the image table lie below it.
    std::filesystem::path programFolder;
    // The swapped-order ROM every command reads; empty until a ROM has been loaded.
    std::filesystem::path workingRomPath;
    // The texture catalogue, rebuilt by each load.
    SizeClassTable sizeClassTable;
};
