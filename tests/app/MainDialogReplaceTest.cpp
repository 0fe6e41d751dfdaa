#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <memory>

#include "DialogHarness.h"
#include "codec/UserImage.h"

namespace {

// Class 7 ("20 x 20") holds three textures, class 2 one. The table gives them these rooms:
// 0x20000: 0x7F, 0x20100: 0x7F, 0x20200: 0x80, 0x30000 (class 2): 0x7F.
const std::vector<std::uint32_t> kTable = {0x1FFFF, 0x2007F, 0x200FF, 0x2017F,
                                           0x201FF, 0x20280, 0x2FFFF, 0x3007F};

// A 16 x 16 bitmap whose colour table has `entries` entries (pixel data at 54 + 4 * entries).
Bytes UserBitmap(int entries, std::uint16_t bitCount = 8, std::uint32_t infoHeader = 40) {
    TestBitmap bitmap;
    bitmap.width = 16;
    bitmap.height = 16;
    bitmap.bitCount = bitCount;
    bitmap.infoHeaderSize = infoHeader;
    bitmap.table = DistinctTable(entries);
    bitmap.pixels.resize(bitCount == 4 ? 128 : 256);
    for (std::size_t i = 0; i < bitmap.pixels.size(); ++i) {
        bitmap.pixels[i] = static_cast<std::uint8_t>(i % (bitCount == 4 ? 0x0F : entries));
    }
    return bitmap.Build();
}

}  // namespace

// Inspection, the replacement source, Replace and Insert User Image, through the window.
class MainDialogReplaceTest : public QObject, public DialogHarness {
    Q_OBJECT

private slots:
    void init() {
        SetUpHarness();
        m_catalogue->FillGameClasses({2, 7});
        m_catalogue->AddTexture(7, 0x20000, " a", 0x10, 0x0F);
        m_catalogue->AddTexture(7, 0x20100, " b", 0x20, 0xFF);
        m_catalogue->AddTexture(7, 0x20200, " c", 0x30, 0x00);
        m_catalogue->AddTexture(2, 0x30000, " d", 0x40, 0x07);
        m_catalogue->SetDescriptions(7, "020100 Stone floor\n");
        m_catalogue->AddUserBitmap("fifteen.bmp", UserBitmap(15));
        m_catalogue->AddUserBitmap("sixteen.bmp", UserBitmap(16));
        m_catalogue->AddUserBitmap("zmodern.bmp", UserBitmap(16, 8, 124));
        m_catalogue->WriteImageTable(kTable);

        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        m_services->fileAnswers.push_back(
            QString::fromStdString(m_catalogue->WriteRom("work.rom", true).string()));
        m_dialog->OnCommand(32771);
        QCOMPARE(Messages(), QStringList());
        ChooseClass(7);
    }
    void cleanup() { QCOMPARE(TearDownHarness(), QStringList()); }

    void aClickShowsColoursRoomAndOffset() {
        Click(1);
        QCOMPARE(Status(), QStringLiteral("Texture: 256 Colors - Size Available 0x7F Mem 20100 "));
        QCOMPARE(Description(), QStringLiteral(" Stone floor"));
        Click(2);
        QCOMPARE(Status(), QStringLiteral("Texture: 1 Colors - Size Available 0x80 Mem 20200 "));
        QCOMPARE(Description(), QStringLiteral("No Description"));
        Click(0);
        QCOMPARE(Status(), QStringLiteral("Texture: 16 Colors - Size Available 0x7F Mem 20000 "));
    }

    void withoutTheTableEveryRoomIsTheDefault() {
        std::filesystem::remove(m_catalogue->ProgramFolder() / "tableBinary.bin");
        Click(1);
        QCOMPARE(Status(), QStringLiteral("Texture: 256 Colors - Size Available 0x200 Mem 20100 "));
    }

    void userBitmapsShowTheirCompressedSize() {
        ChooseClass(USER_CLASS);
        for (int item : {0, 1}) {
            Click(item);
            const UserImage image = PrepareUserImage(Record(USER_CLASS).imagePath[item], "N");
            QCOMPARE(image.entries, 15 + item);
            QCOMPARE(Status(),
                     QString::asprintf("Texture: %d Colors - Size Compressed 0x%X  "
                                       "Width 10  x  Height 10",
                                       image.entries, static_cast<unsigned>(image.record.size())));
        }
        QCOMPARE(Description(), QStringLiteral("sixteen"));
        Click(2);
        QVERIFY2(Status().startsWith(QStringLiteral("Texture: cannot be used - This bitmap uses")),
                 qPrintable(Status()));
    }

    void doubleClickChoosesTheSourceWithItsPreview() {
        DoubleClick(2);
        QCOMPARE(Control<QLabel>(1005)->text(), QStringLiteral("1 Colors - Size 80"));
        QListWidget* preview = Control<QListWidget>(1002);
        QCOMPARE(preview->count(), 1);
        QCOMPARE(preview->iconSize(), QSize(32, 32));
        QCOMPARE(preview->visualItemRect(preview->item(0)).topLeft(), QPoint(4, 4));
        QCOMPARE(preview->item(0)->icon().pixmap(32, 32).toImage().pixelColor(0, 0),
                 QColor(0x30, 0x40, 0x20));
        QCOMPARE(m_state->replacementSource.entryIndex, 2u);
        QCOMPARE(m_state->replacementSource.sizeClass, 7u);
        QCOMPARE(m_state->replacementSource.size, 0x80u);
    }

    void replaceRecordsWhatFitsAndRefusesWhatDoesNot() {
        DoubleClick(2);  // room 0x80
        ReplaceAt(0);    // room 0x7F: one byte too small
        QCOMPARE(Messages(), QStringList{"Too large, cannot replace / Too Large"});
        QCOMPARE(Record(7).replacementIndex[0], NO_REPLACEMENT);

        DoubleClick(1);  // room 0x7F: exactly the target's room
        ReplaceAt(0);
        QCOMPARE(m_services->messages.size(), size_t(1));
        QCOMPARE(Record(7).replacementIndex[0], 1u);
        QCOMPARE(Record(7).replacementClass[0], 7u);
        QCOMPARE(Record(7).replacementSize[0], std::uint16_t{0x7F});
        QCOMPARE(Record(7).imagePath[0], Record(7).imagePath[1]);
        QCOMPARE(List()->count(), 3);
        QCOMPARE(List()->item(0)->icon().pixmap(32, 32).toImage().pixelColor(0, 0),
                 QColor(0x20, 0x40, 0x20));

        // A second Replace on the same target overwrites the first.
        ChooseClass(2);
        DoubleClick(0);  // same index as the target, another class: not the same image
        ChooseClass(7);
        ReplaceAt(0);
        QCOMPARE(Record(7).replacementIndex[0], 0u);
        QCOMPARE(Record(7).replacementClass[0], 2u);
        QCOMPARE(m_services->messages.size(), size_t(1));
    }

    void theSameImageNeedsNoReplacement() {
        DoubleClick(1);
        ReplaceAt(1);
        QCOMPARE(Messages(), QStringList{"Same image / No Replacement Needed"});
        QCOMPARE(Record(7).replacementIndex[1], NO_REPLACEMENT);
    }

    void rightAfterLoadTheSourceIsTheFirstTextureWithSizeZero() {
        ReplaceAt(2);
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(Record(7).replacementIndex[2], 0u);
        QCOMPARE(Record(7).replacementClass[2], 0u);
        QCOMPARE(Record(7).replacementSize[2], std::uint16_t{0});
    }

    void userBitmapsAreSourcesButNeverTargets() {
        ChooseClass(USER_CLASS);
        DoubleClick(0);
        const UserImage image = PrepareUserImage(Record(USER_CLASS).imagePath[0], "N");
        QCOMPARE(Control<QLabel>(1005)->text(),
                 QStringLiteral("15 Colors - Size %1")
                     .arg(QString::number(image.record.size(), 16).toUpper()));
        QCOMPARE(m_state->replacementSource.size, static_cast<std::uint32_t>(image.record.size()));
        ReplaceAt(1);
        QCOMPARE(Messages(), QStringList{"User images cannot be replaced, as they are not part "
                                         "of the game. / BAD"});

        // A bitmap the codec refuses cannot become the source.
        DoubleClick(2);
        QCOMPARE(m_services->messages.size(), size_t(2));
        QCOMPARE(m_services->messages[1].caption, QStringLiteral("Unsupported bitmap"));
        QCOMPARE(m_state->replacementSource.entryIndex, 0u);
        QCOMPARE(m_state->replacementSource.sizeClass, std::uint32_t(USER_CLASS));
    }

    void withoutASelectionNothingHappens() {
        QCOMPARE(m_dialog->SelectionMark(), 0);
        List()->setCurrentItem(nullptr);
        QCOMPARE(m_dialog->SelectionMark(), -1);
        const QString status = Status();
        emit List()->customContextMenuRequested(QPoint(300, 300));
        m_dialog->OnCommand(32772);
        emit List()->itemDoubleClicked(nullptr);
        QVERIFY(m_services->menus.empty());
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(Status(), status);
    }

    void theContextMenusOfferReplaceAndInsertUserImage() {
        Click(0);
        m_services->menuAnswers.push_back(QString());
        emit List()->customContextMenuRequested(ItemCentre(0));
        m_services->menuAnswers.push_back(QString());
        emit Control<QListWidget>(1002)->customContextMenuRequested(QPoint(5, 5));
        QCOMPARE(m_services->menus.size(), size_t(2));
        QCOMPARE(m_services->menus[0], QStringList{"Replace"});
        QCOMPARE(m_services->menus[1], QStringList{"Insert User Image"});
        QCOMPARE(Record(7).replacementIndex[0], NO_REPLACEMENT);
    }

    void insertUserImageWritesBothScratchFiles() {
        const auto bitmap = m_folder->Write("pictures/face.bmp", UserBitmap(16));
        m_services->fileAnswers = {QString::fromStdString(bitmap.string())};
        m_services->menuAnswers.push_back(QStringLiteral("Insert User Image"));
        emit Control<QListWidget>(1002)->customContextMenuRequested(QPoint(5, 5));
        const auto& request = m_services->fileDialogs.back().request;
        QCOMPARE(request.defaultExtension, QStringLiteral("bmp"));
        QCOMPARE(request.defaultFileName, QStringLiteral("face.bmp"));
        QCOMPARE(request.filter, QStringLiteral("Windows Bitmap (*.bmp)|*.bmp|"));
        const UserImage image = PrepareUserImage(bitmap, "N");
        QVERIFY(ReadAllBytes(WorkFolder() / "compressed.bin") == image.record);
        QVERIFY(ReadAllBytes(WorkFolder() / "output8.bmp") == MakePreviewBitmap(image));
        QCOMPARE(Messages(), QStringList());
    }

    void insertUserImageIgnoresCapitalsAndRefusesNonBitmaps() {
        m_folder->WriteText("work/compressed.bin", "earlier");
        const auto capitals = m_folder->Write("pictures/FACE.BMP", UserBitmap(16));
        const auto text = m_folder->WriteText("pictures/notes.bmp", "not a picture");
        m_services->fileAnswers = {QString::fromStdString(capitals.string()),
                                   QString::fromStdString(text.string())};
        m_dialog->OnCommand(32776);
        QCOMPARE(Messages(), QStringList());
        m_dialog->OnCommand(32776);
        QCOMPARE(Messages(), QStringList{"Not a bitmap! / Bad file"});
        QCOMPARE(ReadAllBytes(WorkFolder() / "compressed.bin"),
                 (Bytes{'e', 'a', 'r', 'l', 'i', 'e', 'r'}));
        QVERIFY(!std::filesystem::exists(WorkFolder() / "output8.bmp"));
    }
};

QTEST_MAIN(MainDialogReplaceTest)
#include "MainDialogReplaceTest.moc"
