#include "app/CatalogueWindowTexts.h"

#include "texts/ExtractTexts.h"

namespace window_texts {

WindowText OfferCatalogueBuild(const std::string& folder) {
    return {"No texture bitmaps were found in the catalogue folder \"" + folder +
                "\". Build the catalogue there from this ROM's own textures now?",
            BUILD_CATALOGUE_CAPTION};
}

WindowText OverwriteCatalogue(const std::string& path) {
    return {"\"" + path +
                "\" exists already. Write over the catalogue's bitmaps and the image table with "
                "those of this ROM?",
            BUILD_CATALOGUE_CAPTION};
}

WindowText CatalogueBuilt(const CatalogueBuildResult& result, bool loaded) {
    return {extract_texts::BuildDone(result) +
                (loaded ? " Load the ROM again to browse the new catalogue." : ""),
            BUILD_CATALOGUE_CAPTION};
}

WindowText CatalogueNotBuilt(const CatalogueBuildResult& result) {
    return {extract_texts::BuildRefusal(result), result.error == CatalogueBuildError::CannotWrite
                                                     ? "Cannot write file"
                                                     : BUILD_CATALOGUE_CAPTION};
}

WindowText ExportRefused(const ExportResult& result) {
    switch (result.outcome) {
        case ExportOutcome::Written:
            return {};
        case ExportOutcome::NoRomOpened:
            return NoRomOpened();
        case ExportOutcome::UserBitmap:
            return {
                "A user bitmap is a file of its own already; there is no texture of the ROM "
                "to export.",
                "Export Texture"};
        case ExportOutcome::NoRecord:
            return {extract_texts::NoTextureAt(result.offset, result.decoded), "Export Texture"};
        case ExportOutcome::NotWritten:
            return {"The bitmap could not be written: " + result.error + ".", "Cannot write file"};
    }
    return {};
}

}  // namespace window_texts
