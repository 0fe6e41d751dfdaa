// Inspecting a texture, choosing the replacement source, Replace, and Insert User Image.

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QMenu>
#include <memory>

#include "app/EditorState.h"
#include "app/MainDialog.h"
#include "app/Thumbnail.h"
#include "app/ThumbnailList.h"
#include "app/UserMessages.h"
#include "app/WindowServices.h"
#include "catalogue/ImageTable.h"
#include "catalogue/ParseHex.h"
#include "catalogue/SizeClasses.h"
#include "codec/ConvertMessages.h"
#include "codec/UserImage.h"
#include "io/AtomicFile.h"
#include "replace/TextureRoom.h"
#include "romio/RomOutputMessages.h"

namespace {

// Where the preview's one item sits in its list.
constexpr QPoint PREVIEW_POSITION(4, 4);

// Scratch files of Insert User Image, in the current folder.
constexpr const char* COMPRESSED_FILE_NAME = "compressed.bin";
constexpr const char* PREVIEW_FILE_NAME = "output8.bmp";

// A description line as shown: without its six-character offset key and its line break.
QString DisplayedDescription(const std::string& description) {
    QString text = QString::fromStdString(description.size() > 6 ? description.substr(6) : "");
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) {
        text.chop(1);
    }
    return text;
}

QString ColoursText(std::optional<std::uint8_t> paletteByte) {
    return paletteByte ? QString::number(*paletteByte + 1) : QStringLiteral("?");
}

}  // namespace

MainDialog::AvailableRoomResult MainDialog::GetAvailableRoom(int sizeClass, int entry) const {
    const std::uint32_t offset = m_state.sizeClassTable[sizeClass].romOffset[entry];
    const auto table = ReadImageTable(m_state.programFolder / IMAGE_TABLE_FILE);
    return {offset, AvailableRoom(table, offset), PaletteByte(m_state.workingRomPath, offset)};
}

void MainDialog::ShowTextureInfo() {
    ReadControls();
    const bool forceSize = m_forceSize;
    const int k = SelectionMark();
    if (k < 0) {
        return;
    }
    const int c = m_sizeCombo->currentIndex();
    const SizeClassRecord& record = m_state.sizeClassTable[c];
    if (c != USER_CLASS) {
        const AvailableRoomResult facts = GetAvailableRoom(c, k);
        m_descriptionText = DisplayedDescription(record.description[k]);
        m_statusText =
            QString::asprintf("Texture: %s Colors - Size Available 0x%X Mem %X ",
                              qPrintable(ColoursText(facts.paletteByte)), facts.room, facts.offset);
    } else {
        m_descriptionText = QString::fromStdString(record.description[k]);
        const UserImage image = PrepareUserImage(record.imagePath[k], "N");
        if (image.result == ConvertResult::Ok) {
            m_statusText = QString::asprintf(
                "Texture: %d Colors - Size Compressed 0x%X  Width %X  x  Height %X", image.entries,
                static_cast<unsigned>(image.record.size()), image.width, image.height);
        } else {
            m_statusText = QStringLiteral("Texture: cannot be used - %1")
                               .arg(QString::fromUtf8(ConvertResultMessage(image.result).text));
        }
    }
    WriteControls();
    m_forceSizeButton->setChecked(forceSize);
}

void MainDialog::ShowTextureMenu(const QPoint& position) {
    if (SelectionMark() < 0) {
        return;
    }
    const std::unique_ptr<QMenu> menu(CreatePopupMenu(ids::MENU_RIGHT_CLICK));
    m_services.RunPopupMenu(*menu, m_textureList->viewport()->mapToGlobal(position));
}

void MainDialog::ShowPreviewMenu(const QPoint& position) {
    const std::unique_ptr<QMenu> menu(CreatePopupMenu(ids::MENU_RIGHT_CLICK_SMALL));
    m_services.RunPopupMenu(*menu, m_previewList->viewport()->mapToGlobal(position));
}

void MainDialog::ShowReplacementPreview() {
    const int c = m_sizeCombo->currentIndex();
    const int k = SelectionMark();
    const SizeClassRecord& record = m_state.sizeClassTable[c];
    const QSize size(static_cast<int>(record.width[k]), static_cast<int>(record.height[k]));
    m_previewList->clear();
    m_previewList->setIconSize(size);
    const QImage image = LoadThumbnail(record.imagePath[k], size.width(), size.height());
    m_previewList->addItem(new QListWidgetItem(QIcon(QPixmap::fromImage(image)), QString()));
    m_previewList->PlaceItem(0, PREVIEW_POSITION);
}

void MainDialog::ChooseReplacementSource() {
    const int k = SelectionMark();
    if (k < 0) {
        return;
    }
    const int c = m_sizeCombo->currentIndex();
    std::uint32_t size = 0;
    QString colours;
    if (c != USER_CLASS) {
        const AvailableRoomResult facts = GetAvailableRoom(c, k);
        size = facts.room;
        colours = ColoursText(facts.paletteByte);
    } else {
        // A bitmap the codec refuses would end up as garbage in a saved ROM: it cannot be chosen.
        const UserImage image = PrepareUserImage(m_state.sizeClassTable[c].imagePath[k], "N");
        if (image.result != ConvertResult::Ok) {
            const ConvertMessage message = ConvertResultMessage(image.result);
            ShowMessage(message.text, message.caption);
            return;
        }
        size = static_cast<std::uint32_t>(image.record.size());
        colours = QString::number(image.entries);
    }
    ShowReplacementPreview();
    ReadControls();
    m_state.replacementSource = {static_cast<std::uint32_t>(k), static_cast<std::uint32_t>(c),
                                 size};
    m_replacementText =
        QStringLiteral("%1 Colors - Size %2").arg(colours, QString::number(size, 16).toUpper());
    WriteControls();
}

void MainDialog::ReplaceTexture() {
    const int c = m_sizeCombo->currentIndex();
    if (c == USER_CLASS) {
        ShowMessage(messages::USER_NOT_REPLACEABLE.text, messages::USER_NOT_REPLACEABLE.caption);
        return;
    }
    const int k = SelectionMark();
    if (k < 0) {
        return;
    }
    const std::uint32_t room = GetAvailableRoom(c, k).room;
    ReadControls();
    const ReplacementSource& source = m_state.replacementSource;
    if (source.entryIndex == static_cast<std::uint32_t>(k) &&
        source.sizeClass == static_cast<std::uint32_t>(c)) {
        ShowMessage(rom_output_messages::SAME_IMAGE.text, rom_output_messages::SAME_IMAGE.caption);
        return;
    }
    // Sizes compare as signed values, as the table's rooms may be nonsense for odd entries.
    if (static_cast<std::int32_t>(source.size) > static_cast<std::int32_t>(room) && !m_forceSize) {
        ShowMessage(rom_output_messages::TOO_LARGE.text, rom_output_messages::TOO_LARGE.caption);
        return;
    }
    SizeClassRecord& target = m_state.sizeClassTable[c];
    target.replacementIndex[k] = source.entryIndex;
    target.replacementClass[k] = source.sizeClass;
    target.replacementSize[k] = static_cast<std::uint16_t>(
        m_forceSize ? ParseHex(m_forcedSizeText.toStdString()) : source.size);
    target.imagePath[k] =
        m_state.sizeClassTable[static_cast<int>(source.sizeClass)].imagePath[source.entryIndex];
    RefillTextureList();
}

void MainDialog::InsertUserImage() {
    const FileDialogRequest request{QStringLiteral("bmp"), QStringLiteral("face.bmp"),
                                    QStringLiteral("Windows Bitmap (*.bmp)|*.bmp|"),
                                    FILE_DIALOG_HIDE_READ_ONLY | FILE_DIALOG_OVERWRITE_PROMPT};
    const std::optional<QString> chosen = m_services.ChooseFileToOpen(this, request);
    if (!chosen) {
        return;
    }
    const std::filesystem::path path = chosen->toStdString();
    // Only names ending in ".bmp" exactly, in lower case.
    if (path.extension() != ".bmp") {
        return;
    }
    const UserImage image = PrepareUserImage(path, "N");
    if (image.result != ConvertResult::Ok) {
        const ConvertMessage message = ConvertResultMessage(image.result);
        ShowMessage(message.text, message.caption);
        return;
    }
    for (const auto& [name, bytes] : {std::pair{COMPRESSED_FILE_NAME, image.record},
                                      std::pair{PREVIEW_FILE_NAME, MakePreviewBitmap(image)}}) {
        const FileWriteResult written = WriteFileAtomically(name, bytes);
        if (!written.ok) {
            m_services.ShowMessage(this,
                                   QString::fromUtf8(messages::SCRATCH_NOT_WRITTEN.text)
                                       .arg(QString::fromStdString(written.error)),
                                   QString::fromUtf8(messages::SCRATCH_NOT_WRITTEN.caption));
            return;
        }
    }
}
