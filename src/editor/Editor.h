#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "catalogue/CatalogueScan.h"
#include "catalogue/RomCheck.h"
#include "catalogue/SizeClassTable.h"
#include "codec/BitmapConversion.h"
#include "codec/TextureRecordDecode.h"
#include "extract/CatalogueBuild.h"
#include "replace/PendingSlot.h"
#include "replace/ReplaceDecision.h"
#include "replace/ReplacementSource.h"
#include "romio/NewRom.h"
#include "romio/Patch.h"
#include "romio/SharedPatch.h"

// How a load ended.
enum class LoadOutcome {
    Loaded,                 // the ROM is loaded and the catalogue rebuilt
    RomRefused,             // the chosen file is no usable ROM (see the check's verdict)
    WorkingCopyNotWritten,  // the swapped working copy of a native ROM could not be written
};

// What a load did, in the order the user is told.
struct LoadResult {
    LoadOutcome outcome = LoadOutcome::RomRefused;
    RomFileCheck check;                      // the chosen file's verdict
    std::filesystem::path workingCopy;       // WorkingCopyNotWritten: the copy's path
    std::string writeError;                  // WorkingCopyNotWritten: what failed
    bool imageTableMissing = false;          // Loaded: rooms default, as no image table was found
    bool imageTableUnreadable = false;       // Loaded: rooms default, as the table cannot be read
    ScanReport scan;                         // Loaded: the catalogue scan's report
    std::optional<std::uint32_t> nativeCrc;  // the image's CRC32 in native order, when read
};

// What the editor knows of one catalogue entry.
struct TextureFacts {
    bool user = false;  // a User bitmap rather than a game texture
    // Game textures: the native ROM offset, the room, and the palette byte (absent when the ROM
    // cannot be read there).
    std::uint32_t offset = 0;
    std::uint32_t room = 0;
    std::optional<std::uint8_t> paletteByte;
    // User bitmaps: the conversion's result and, when Ok, the converted texture's facts.
    ConvertResult convert = ConvertResult::Ok;
    int entries = 0;
    std::uint32_t compressedSize = 0;
    int width = 0;
    int height = 0;
    int colours = 0;          // of a picture refused for its reduced colours
    std::string reason = {};  // libpng's, for a refused PNG
};

// Whether a command that needs the working ROM may go on.
enum class RomReadiness {
    Ready,        // a swapped-order working ROM is loaded
    NoRomOpened,  // nothing was loaded
    NoChanges,    // Save New ROM only: no replacement is pending
    NotSwapped,   // the working ROM no longer reads as swapped order: the command ends silently
    Unreadable,   // the working ROM is missing or cannot be read
};

// How Insert User Image ended.
enum class InsertOutcome {
    Written,     // compressed.bin and output8.bmp were written
    NotBmpName,  // the name ends in neither ".bmp" nor ".png": nothing happens
    Refused,     // the codec refused the bitmap (see `convert`)
    NotWritten,  // a file could not be written (see `writeError`)
};
struct InsertResult {
    InsertOutcome outcome = InsertOutcome::Written;
    ConvertResult convert = ConvertResult::Ok;
    std::string writeError;
    int colours = 0;          // as in TextureFacts
    std::string reason = {};  // as in TextureFacts
};

// How Build Catalogue from ROM ended: the ROM's verdict (only Native and Swapped are built
// from; CannotRead also when the image cannot be read whole) and the build's result.
struct CatalogueFromRom {
    RomFileCheck check;
    CatalogueBuildResult build;
};

// How Export Texture ended.
enum class ExportOutcome {
    Written,      // the bitmap was written
    NoRomOpened,  // nothing was loaded
    UserBitmap,   // the entry is a User bitmap, a file of its own already
    NoRecord,     // the record at the texture's offset does not decode (see `decoded`)
    NotWritten,   // the working ROM or the bitmap could not be read or written (`error`)
};
struct ExportResult {
    ExportOutcome outcome = ExportOutcome::Written;
    std::uint32_t offset = 0;
    RecordDecodeOutcome decoded;
    std::string error;
};

// The editor without its window: the state of a run and every command's flow. Commands take the
// user's answers as arguments and return what happened; commands whose dialogs come in the
// middle are split into steps that the window calls in order.
class Editor {
public:
    explicit Editor(std::filesystem::path programFolder);

    const std::filesystem::path& ProgramFolder() const { return m_programFolder; }
    const std::filesystem::path& WorkingRomPath() const { return m_workingRomPath; }
    const std::filesystem::path& WorkingCopyPath() const { return m_workingCopyPath; }
    const SizeClassTable& Table() const { return m_table; }
    const ReplacementSource& Source() const { return m_source; }
    // The CRC32 of the loaded image in native order, as ROM dump lists give it; nullopt before
    // a load.
    std::optional<std::uint32_t> NativeCrc32() const {
        return m_workingRomPath.empty() ? std::nullopt : m_nativeCrc;
    }

    // Load ROM: checks the chosen file, makes the swapped working copy of a native image,
    // resets the editing state and rebuilds the catalogue. A refused load changes nothing, except
    // that a working copy of ours that a failed write may have damaged is no longer used.
    LoadResult Load(const std::filesystem::path& chosen);

    // Whether Load ROM should first offer to build the catalogue from `chosen`: it is an
    // accepted ROM and no game class folder holds a bitmap.
    bool OffersCatalogueBuild(const std::filesystem::path& chosen) const;
    // Build Catalogue from ROM: builds the catalogue beside the program from `rom`
    // (BuildCatalogue); a later load shows it.
    CatalogueFromRom BuildCatalogueFromRom(const std::filesystem::path& rom, bool force,
                                           const BuildProgress& progress) const;
    // The name an exported texture is offered under: its offset, as its catalogue bitmap.
    std::string ExportName(int sizeClass, int entry) const;
    // Export Texture: the record at the entry's offset in the working ROM, as a bitmap file.
    ExportResult ExportTexture(int sizeClass, int entry, const std::filesystem::path& output) const;

    // The facts shown for entry `entry` of class `sizeClass`.
    TextureFacts Inspect(int sizeClass, int entry) const;
    // The room of a game texture: what Inspect reports, without reading the ROM.
    std::uint32_t Room(int sizeClass, int entry) const;
    // Makes the entry the replacement source, unless it is a User bitmap the codec refuses.
    TextureFacts ChooseSource(int sizeClass, int entry);
    // Replace: judges and, when accepted, records the source on the target. `forcedSizeHex`
    // holds the forced-size field when sizes are forced. When recorded, `previous` (if given)
    // receives the target slot as it was, which RestoreSlot puts back.
    ReplaceDecision Replace(int sizeClass, int entry,
                            const std::optional<std::string>& forcedSizeHex,
                            ReplacementSlot* previous = nullptr);

    // A slot's replacement as it stands, and putting back one read earlier: what undoing and
    // redoing a Replace need.
    ReplacementSlot Slot(int sizeClass, int entry) const;
    void RestoreSlot(int sizeClass, int entry, const ReplacementSlot& slot);
    // The pending replacement of an entry, as the user knows it; nullopt when it has none.
    std::optional<PendingSource> Pending(int sizeClass, int entry) const;
    // The number of pending replacements.
    std::size_t PendingCount() const;
    // Whether replacements are pending that the last successful Save New ROM did not write
    // (false when none are pending).
    bool HasUnsavedReplacements() const;

    // Save New ROM, first step: whether it may ask for the output.
    RomReadiness CheckSave() const;
    // Save New ROM, second step: writes the new image to `output`; its image feeds WritePatch.
    // A success counts the pending replacements as saved.
    NewRomResult SaveNewRom(const std::filesystem::path& output);
    // Writes the patch from the working ROM to `newSwapped` (the saved image) in `format`; IPS
    // and BPS describe the change between the native-order images.
    PatchFileResult WritePatch(std::span<const std::uint8_t> newSwapped,
                               const std::filesystem::path& patchPath,
                               PatchFormat format = PatchFormat::Custom) const;

    // Apply Patch, once the patch is chosen: whether it may go on.
    RomReadiness CheckApply() const;
    // Judges the patch, in any of the three formats (told apart by content), before the output
    // is asked for; CannotRead when the patch (or for IPS and BPS the working ROM) cannot be read.
    PatchReadResult CheckPatch(const std::filesystem::path& patchPath) const;
    PatchApplyResult ApplyPatch(const std::filesystem::path& patchPath,
                                const std::filesystem::path& output) const;

    // Insert User Image: converts the bitmap into compressed.bin and output8.bmp in the current
    // folder.
    InsertResult InsertUserImage(const std::filesystem::path& bitmap) const;

    // Writes the white bitmap that stands for entries the filter hides; returns its path.
    std::filesystem::path WritePlaceholder() const;

    // Removes the working copy this program wrote, never a user's file of that name.
    void RemoveWorkingCopy();

private:
    bool WriteWorkingCopy(const std::filesystem::path& chosen, LoadResult& result);

    // Folder of the program's executable: the catalogue and the image table lie below it.
    std::filesystem::path m_programFolder;
    // The swapped-order ROM every command reads; empty until a ROM has been loaded.
    std::filesystem::path m_workingRomPath;
    // The swapped working copy this program wrote for a native-order ROM; empty when none.
    std::filesystem::path m_workingCopyPath;
    // The texture catalogue, rebuilt by each load.
    SizeClassTable m_table;
    // The texture chosen as the source of replacements.
    ReplacementSource m_source = NO_SOURCE;
    // The replacements the last successful Save New ROM wrote, since the last load.
    std::vector<PendingReplacement> m_saved;
    // The loaded image's native-order CRC32, computed once by each load.
    std::optional<std::uint32_t> m_nativeCrc;
};
