#pragma once

#include <filesystem>

class Editor;
class QWidget;
class WindowServices;

// Builds the catalogue beside the program from `rom` under a progress dialog that can be
// cancelled (a cancelled build changes nothing), asking first before writing over an existing
// bitmap or image table, and tells the user how it ended. True when the catalogue was built.
bool RunCatalogueBuild(QWidget* owner, Editor& editor, WindowServices& services,
                       const std::filesystem::path& rom);

// Load ROM's offer, made before the load: when `chosen` is an accepted ROM and no class folder
// holds a bitmap, asks once whether to build the catalogue from it, and builds it on Yes.
void OfferCatalogueBuild(QWidget* owner, Editor& editor, WindowServices& services,
                         const std::filesystem::path& chosen);
