// Load ROM and the working copy's lifetime.

#include <algorithm>
#include <memory>
#include <system_error>

#include "catalogue/ImageTable.h"
#include "editor/Editor.h"
#include "io/AtomicFile.h"
#include "io/ByteOrder.h"
#include "io/Crc32.h"
#include "io/FileBytes.h"
#include "io/RomImage.h"

Editor::Editor(std::filesystem::path programFolder) : m_programFolder(std::move(programFolder)) {}

bool Editor::WriteWorkingCopy(const std::filesystem::path& chosen, LoadResult& result) {
    // The working copy is the chosen image in swapped order, in the current folder. It is
    // replaced only once complete, so a failed load leaves an earlier copy usable.
    const auto storage = std::make_unique_for_overwrite<std::uint8_t[]>(ROM_IMAGE_SIZE);
    const std::span<std::uint8_t> image(storage.get(), ROM_IMAGE_SIZE);
    if (!ReadWholeFileInto(chosen, image)) {
        result.check.verdict = RomVerdict::CannotRead;
        return false;
    }
    // The image is in native order here: its CRC32 is taken piece by piece just before each
    // piece is swapped, while the piece is still in the cache.
    constexpr std::size_t PIECE = 256 * 1024;
    std::uint32_t crc = 0;
    for (std::size_t at = 0; at < image.size(); at += PIECE) {
        const auto piece = image.subspan(at, std::min(PIECE, image.size() - at));
        crc = Crc32Update(crc, piece);
        SwapBytePairs(piece);
    }
    result.nativeCrc = crc;
    std::error_code error;
    result.workingCopy = std::filesystem::absolute(WORKING_COPY_NAME, error);
    // A copy this program wrote before is simply written over: replacing a 12 MiB file costs
    // many times more.
    const bool ours = result.workingCopy == m_workingCopyPath;
    FileWriteResult written =
        ours ? OverwriteFileInPlace(result.workingCopy, image) : FileWriteResult{false, {}};
    if (!written.ok) {
        written = WriteFileAtomically(result.workingCopy, image);
    }
    if (!written.ok && ours) {
        // The earlier load's copy may now be part old, part new: it cannot be used.
        m_workingRomPath.clear();
    }
    if (!written.ok) {
        result.outcome = LoadOutcome::WorkingCopyNotWritten;
        result.writeError = written.error;
        return false;
    }
    return true;
}

LoadResult Editor::Load(const std::filesystem::path& chosen) {
    LoadResult result;
    result.check = CheckRomPath(chosen);
    const RomVerdict verdict = result.check.verdict;
    if (verdict != RomVerdict::Native && verdict != RomVerdict::Swapped) {
        return result;
    }
    std::filesystem::path workingRom = chosen;
    if (verdict == RomVerdict::Native) {
        if (!WriteWorkingCopy(chosen, result)) {
            return result;
        }
        workingRom = result.workingCopy;
    }
    std::error_code error;
    const std::filesystem::path imageTable = m_programFolder / IMAGE_TABLE_FILE;
    result.imageTableMissing = !std::filesystem::exists(imageTable, error);
    result.imageTableUnreadable = !result.imageTableMissing && !ReadImageTable(imageTable);

    // From here on the earlier editing state is replaced.
    m_source = NO_SOURCE;
    m_table.ResetForLoad();
    m_saved.clear();
    m_workingRomPath = workingRom;
    if (!result.workingCopy.empty()) {
        m_workingCopyPath = result.workingCopy;
    }
    m_nativeCrc = result.nativeCrc ? result.nativeCrc : NativeCrc32OfFile(m_workingRomPath);
    result.nativeCrc = m_nativeCrc;
    result.scan = ScanCatalogue(m_programFolder, m_table);
    result.outcome = LoadOutcome::Loaded;
    return result;
}

// A file of that name that the user loaded in place is theirs and stays.
void Editor::RemoveWorkingCopy() {
    if (!m_workingCopyPath.empty()) {
        std::error_code ignored;  // a file already gone is no error
        std::filesystem::remove(m_workingCopyPath, ignored);
        m_workingCopyPath.clear();
    }
}
