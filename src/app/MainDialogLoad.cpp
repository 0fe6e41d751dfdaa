// Load ROM: choose the image, check it, make the swapped working copy, rebuild the catalogue.

#include <QComboBox>
#include <QListWidget>
#include <filesystem>
#include <memory>
#include <span>
#include <system_error>

#include "app/EditorState.h"
#include "app/MainDialog.h"
#include "app/ThumbnailList.h"
#include "app/UserMessages.h"
#include "app/WindowServices.h"
#include "catalogue/CatalogueScan.h"
#include "catalogue/ImageTable.h"
#include "catalogue/RomCheck.h"
#include "catalogue/RomMessages.h"
#include "catalogue/SizeClasses.h"
#include "io/AtomicFile.h"
#include "io/ByteOrder.h"
#include "io/FileBytes.h"

namespace {

// Enough of the header for every check of the chosen file.
constexpr std::size_t ROM_HEADER_BYTES = 0x40;

QString FromPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

// A class folder as the user knows it from the install instructions, with this host's separator.
QString FolderForMessage(int sizeClass) {
    QString folder = QString::fromUtf8(SizeClasses()[sizeClass].folder.data(),
                                       SizeClasses()[sizeClass].folder.size());
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return folder;
}

}  // namespace

void MainDialog::LoadRom() {
    const FileDialogRequest request{QStringLiteral("rom"), QStringLiteral("MOONGLASS.ROM"),
                                    QStringLiteral("Moonglass's ROM (*.rom, *.v64)|*.rom; *.v64|"),
                                    FILE_DIALOG_HIDE_READ_ONLY};
    const std::optional<QString> chosen = m_services.ChooseFileToOpen(this, request);
    if (!chosen) {
        return;
    }
    const std::filesystem::path chosenPath = chosen->toStdString();
    std::error_code error;
    if (!std::filesystem::is_regular_file(chosenPath, error)) {
        ShowMessage(rom_messages::FILE_NOT_FOUND.text, rom_messages::FILE_NOT_FOUND.caption);
        return;
    }

    const auto header = ReadFileBytes(chosenPath, ROM_HEADER_BYTES);
    const auto length = std::filesystem::file_size(chosenPath, error);
    if (!header || error) {
        ShowMessage(rom_messages::CANNOT_READ.text, rom_messages::CANNOT_READ.caption);
        return;
    }
    const RomVerdict verdict = CheckRomFile(*header, length);
    if (verdict != RomVerdict::Native && verdict != RomVerdict::Swapped) {
        const RomMessage message = RomVerdictMessage(verdict, length);
        m_services.ShowMessage(this, QString::fromStdString(message.text),
                               QString::fromStdString(message.caption));
        return;
    }

    std::filesystem::path workingRom = chosenPath;
    std::filesystem::path workingCopy;
    if (verdict == RomVerdict::Native) {
        // The working copy is the chosen image in swapped order, in the current folder. It is
        // replaced only once complete, so a failed load leaves an earlier copy usable.
        const auto storage = std::make_unique_for_overwrite<std::uint8_t[]>(ROM_IMAGE_SIZE);
        const std::span<std::uint8_t> image(storage.get(), ROM_IMAGE_SIZE);
        if (!ReadWholeFileInto(chosenPath, image)) {
            ShowMessage(rom_messages::CANNOT_READ.text, rom_messages::CANNOT_READ.caption);
            return;
        }
        SwapBytePairs(image);
        workingCopy = std::filesystem::absolute(WORKING_COPY_NAME, error);
        // A copy this program wrote before is simply written over: replacing a 12 MiB file
        // costs many times more.
        const bool ours = workingCopy == m_state.workingCopyPath;
        FileWriteResult written =
            ours ? OverwriteFileInPlace(workingCopy, image) : FileWriteResult{false, {}};
        if (!written.ok) {
            written = WriteFileAtomically(workingCopy, image);
        }
        if (!written.ok && ours) {
            // The earlier load's copy may now be part old, part new: it cannot be used.
            m_state.workingRomPath.clear();
        }
        if (!written.ok) {
            m_services.ShowMessage(
                this,
                QString::fromUtf8(messages::WORKING_COPY_NOT_WRITTEN.text)
                    .arg(FromPath(workingCopy), QString::fromStdString(written.error)),
                QString::fromUtf8(messages::WORKING_COPY_NOT_WRITTEN.caption));
            return;
        }
        workingRom = workingCopy;
    }

    if (!std::filesystem::exists(m_state.programFolder / IMAGE_TABLE_FILE, error)) {
        ShowMessage(messages::NO_IMAGE_TABLE.text, messages::NO_IMAGE_TABLE.caption);
    }

    // From here on the earlier editing state is replaced.
    SetSelectionMark(0);
    m_previewList->clear();
    m_replacementText.clear();
    m_descriptionText.clear();
    m_forcedSizeText = QString::asprintf("%X", DEFAULT_FORCED_SIZE);
    m_sizeCombo->setCurrentIndex(0);
    WriteControls();
    m_state.replacementSource = ReplacementSource{};
    m_state.sizeClassTable.ResetForLoad();
    m_state.workingRomPath = workingRom;
    if (!workingCopy.empty()) {
        m_state.workingCopyPath = workingCopy;
    }

    const ScanReport report = ScanCatalogue(m_state.programFolder, m_state.sizeClassTable);
    for (int sizeClass : report.classesWithoutBitmaps) {
        m_services.ShowMessage(this,
                               QString::fromUtf8(messages::BAD_INSTALL.text) +
                                   FolderForMessage(sizeClass) +
                                   QString::fromUtf8(messages::BAD_INSTALL_TEXT_END),
                               QString::fromUtf8(messages::BAD_INSTALL.caption));
    }
    for (const ScanReport::Overflow& overflow : report.overflows) {
        m_services.ShowMessage(this,
                               QString::fromUtf8(messages::TOO_MANY_BITMAPS.text)
                                   .arg(FolderForMessage(overflow.sizeClass))
                                   .arg(MAX_CLASS_ENTRIES)
                                   .arg(overflow.leftOut),
                               QString::fromUtf8(messages::TOO_MANY_BITMAPS.caption));
    }
    if (!report.userReport.empty()) {
        m_services.ShowMessage(this,
                               QString::fromUtf8(messages::USER_BITMAP_ERRORS.text) +
                                   QString::fromStdString(report.userReport),
                               QString::fromUtf8(messages::USER_BITMAP_ERRORS.caption));
    }

    m_sizeCombo->setCurrentIndex(0);
    RefillTextureList();
    m_statusText = QString::fromUtf8(USAGE_HINT);
    m_descriptionText = TextureCountText();
    WriteControls();
}
