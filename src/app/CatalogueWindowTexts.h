#pragma once

#include <string>

#include "app/WindowTexts.h"
#include "editor/Editor.h"

// The window's texts for building the catalogue from a ROM and exporting a texture.
namespace window_texts {

inline constexpr const char* BUILD_CATALOGUE_CAPTION = "Build Catalogue";
inline constexpr const char* BUILD_PROGRESS_TEXT = "Reading the textures of the ROM...";

// Load ROM's question when the catalogue in `folder` holds no bitmap.
WindowText OfferCatalogueBuild(const std::string& folder);
// The question before writing over an existing bitmap or image table at `path`.
WindowText OverwriteCatalogue(const std::string& path);
// What the build did or why it did not; `loaded` when a ROM is loaded, which must be loaded
// again to show the new catalogue.
WindowText CatalogueBuilt(const CatalogueBuildResult& result, bool loaded);
WindowText CatalogueNotBuilt(const CatalogueBuildResult& result);
// Export Texture refused or failed; empty texts for Written.
WindowText ExportRefused(const ExportResult& result);

}  // namespace window_texts
