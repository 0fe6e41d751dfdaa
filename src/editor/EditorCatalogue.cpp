// Build Catalogue from ROM, and Export Texture.

#include "catalogue/CatalogueScan.h"
#include "catalogue/FolderListing.h"
#include "editor/Editor.h"
#include "extract/TextureBitmap.h"
#include "io/AtomicFile.h"

bool Editor::OffersCatalogueBuild(const std::filesystem::path& chosen) const {
    for (int sizeClass = 0; sizeClass < USER_CLASS; ++sizeClass) {
        if (!ListMatching(ClassFolderPath(m_programFolder, sizeClass), BITMAP_PATTERN)
                 .matches.empty()) {
            return false;
        }
    }
    const RomVerdict verdict = CheckRomPath(chosen).verdict;
    return verdict == RomVerdict::Native || verdict == RomVerdict::Swapped;
}

CatalogueFromRom Editor::BuildCatalogueFromRom(const std::filesystem::path& rom, bool force,
                                               const BuildProgress& progress) const {
    CatalogueFromRom result;
    result.check = CheckRomPath(rom);
    if (result.check.verdict != RomVerdict::Native && result.check.verdict != RomVerdict::Swapped) {
        return result;
    }
    const auto image = ReadRomImageFile(rom);
    if (!image || image->size() != ROM_IMAGE_SIZE) {
        result.check.verdict = RomVerdict::CannotRead;
        return result;
    }
    result.build = BuildCatalogue(*image, m_programFolder, force, progress);
    return result;
}

std::string Editor::ExportName(int sizeClass, int entry) const {
    if (sizeClass < 0 || sizeClass >= USER_CLASS || entry < 0 ||
        static_cast<std::uint32_t>(entry) >= m_table[sizeClass].entryCount) {
        return {};
    }
    return TextureBitmapName(m_table[sizeClass].romOffset[static_cast<std::size_t>(entry)]);
}

ExportResult Editor::ExportTexture(int sizeClass, int entry,
                                   const std::filesystem::path& output) const {
    ExportResult result;
    if (m_workingRomPath.empty()) {
        result.outcome = ExportOutcome::NoRomOpened;
        return result;
    }
    if (sizeClass < 0 || sizeClass >= USER_CLASS || entry < 0 ||
        static_cast<std::uint32_t>(entry) >= m_table[sizeClass].entryCount) {
        result.outcome = ExportOutcome::UserBitmap;
        return result;
    }
    result.offset = m_table[sizeClass].romOffset[static_cast<std::size_t>(entry)];
    const auto image = ReadRomImageFile(m_workingRomPath);
    if (!image) {
        result.outcome = ExportOutcome::NotWritten;
        result.error = "cannot read \"" + m_workingRomPath.string() + "\"";
        return result;
    }
    const TextureExport exported = ::ExportTexture(*image, result.offset);
    result.decoded = exported.decoded;
    if (exported.bitmap.empty()) {
        result.outcome = ExportOutcome::NoRecord;
        return result;
    }
    const FileWriteResult written = WriteFileAtomically(output, exported.bitmap);
    if (!written.ok) {
        result.outcome = ExportOutcome::NotWritten;
        result.error = written.error;
    }
    return result;
}
