#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "DialogHarness.h"
#include "demo/DemoKit.h"

namespace {

const QString kUsageHint = QStringLiteral(
    "Double click to set replacement texture.  Right click and choose replace to switch it to "
    "selected texture.");

QColor IconColour(const QListWidgetItem* item, QSize size) {
    return item->icon().pixmap(size).toImage().pixelColor(0, 0);
}

}  // namespace

// Load ROM and the texture list, driven through the window with scripted dialogs.
class MainDialogLoadTest : public QObject, public DialogHarness {
    Q_OBJECT

private slots:
    void init() { SetUpHarness(); }
    void cleanup() { QCOMPARE(TearDownHarness(), QStringList()); }

    void theDemoKitLoadsInEitherByteOrder() {
        const auto program = m_catalogue->ProgramFolder();
        QVERIFY(MakeDemoKit(program).ok);
        Load(program / DEMO_ROM_NAME);
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(m_state->workingRomPath, WorkFolder() / "rightFlippedROM.rom");
        for (int c = 0; c < SIZE_CLASS_COUNT; ++c) {
            QVERIFY2(Record(c).entryCount > 0, qPrintable(QString::number(c)));
        }
        QCOMPARE(Description(), QStringLiteral("%1 Textures Found!").arg(Record(0).entryCount));
        QCOMPARE(List()->count(), static_cast<int>(Record(0).entryCount));

        // The same image in swapped order is used in place.
        Bytes swapped = ReadAllBytes(program / DEMO_ROM_NAME);
        SwapBytePairs(swapped);
        const auto swappedRom = m_folder->Write("swapped.v64", swapped);
        Load(swappedRom);
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(m_state->workingRomPath, swappedRom);
        ChooseClass(USER_CLASS);
        QCOMPARE(List()->iconSize(), QSize(32, 64));
        QCOMPARE(Description(),
                 QStringLiteral("%1 Textures Found!").arg(Record(USER_CLASS).entryCount));
    }

    void beforeAnyLoadEveryClassIsEmpty() {
        ChooseClass(7);
        QCOMPARE(Description(), QStringLiteral("0 Textures Found!"));
        QCOMPARE(Status(), kUsageHint);
        QCOMPARE(List()->count(), 0);
    }

    void nativeRomGetsASwappedWorkingCopy() {
        m_catalogue->FillGameClasses();
        m_catalogue->WriteImageTable();
        const auto rom = m_catalogue->WriteRom("MOONGLASS.ROM", false);
        Load(rom);
        QCOMPARE(Messages(), QStringList());
        const auto& dialog = m_services->fileDialogs.at(0);
        QVERIFY(!dialog.save);
        QCOMPARE(dialog.request.defaultExtension, QStringLiteral("rom"));
        QCOMPARE(dialog.request.defaultFileName, QStringLiteral("MOONGLASS.ROM"));
        QCOMPARE(dialog.request.filter,
                 QStringLiteral("Moonglass's ROM (*.rom, *.v64)|*.rom; *.v64|"));

        const auto copy = WorkFolder() / "rightFlippedROM.rom";
        QCOMPARE(m_state->workingRomPath, copy);
        Bytes expected = ReadAllBytes(rom);
        SwapBytePairs(expected);
        QVERIFY(ReadAllBytes(copy) == expected);
        QCOMPARE(Status(), kUsageHint);
        QCOMPARE(Description(), QStringLiteral("1 Textures Found!"));
        QCOMPARE(List()->count(), 1);
        QCOMPARE(Control<QComboBox>(1003)->currentIndex(), 0);
        QCOMPARE(Control<QLineEdit>(1006)->text(), QStringLiteral("9B2"));

        // Closing the window removes the copy this load wrote.
        m_dialog->show();
        QVERIFY(m_dialog->close());
        QVERIFY(!std::filesystem::exists(copy));
    }

    void aSecondNativeLoadRewritesTheWorkingCopy() {
        m_catalogue->FillGameClasses();
        m_catalogue->WriteImageTable();
        Load(m_catalogue->WriteRom("first.rom", false));
        m_catalogue->AddTexture(0, 0x50000, " new", 0x80, 0xAB);  // changes a byte of the image
        const auto second = m_catalogue->WriteRom("second.rom", false);
        Load(second);
        QCOMPARE(Messages(), QStringList());
        Bytes expected = ReadAllBytes(second);
        SwapBytePairs(expected);
        QVERIFY(ReadAllBytes(WorkFolder() / "rightFlippedROM.rom") == expected);
    }

    void quitKeepsTheWorkingCopy() {
        m_catalogue->FillGameClasses();
        m_catalogue->WriteImageTable();
        Load(m_catalogue->WriteRom("MOONGLASS.ROM", false));
        m_dialog->show();
        m_dialog->OnCommand(32774);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(std::filesystem::exists(WorkFolder() / "rightFlippedROM.rom"));
    }

    void swappedRomIsUsedInPlaceAndNeverDeleted() {
        m_catalogue->FillGameClasses();
        m_catalogue->WriteImageTable();
        // The user's own swapped image happens to carry the working copy's name.
        const auto rom = m_catalogue->WriteRom("work/rightFlippedROM.rom", true);
        const Bytes before = ReadAllBytes(rom);
        Load(rom);
        QCOMPARE(Messages(), QStringList());
        QCOMPARE(m_state->workingRomPath, rom);
        m_dialog->show();
        QVERIFY(m_dialog->close());
        QVERIFY(ReadAllBytes(rom) == before);
    }

    void refusalsLeaveTheEarlierLoadAlone_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("swapped");
        QTest::addColumn<int>("country");
        QTest::addColumn<int>("version");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing") << "none.rom" << true << -2 << 0
                                 << "Invalid File Specified / It doesn't exist";
        QTest::newRow("text file")
            << "notes.txt" << true << -3 << 0 << "Not a Moonglass ROM / Wrong Game";
        QTest::newRow("swapped PAL")
            << "pal.rom" << true << 0x00 << 0x50 << "Only NTSC MG ROM Allowed / Wrong Region";
        QTest::newRow("swapped other version")
            << "v1.rom" << true << 0x01 << 0x45 << "Not a Moonglass ROM / Wrong Game";
        QTest::newRow("native Japanese")
            << "jp.rom" << false << 0x4A << 0x00 << "Only NTSC MG ROM Allowed / Wrong Region";
    }
    void refusalsLeaveTheEarlierLoadAlone() {
        QFETCH(QString, name);
        QFETCH(bool, swapped);
        QFETCH(int, country);
        QFETCH(int, version);
        QFETCH(QString, expected);
        m_catalogue->FillGameClasses();
        m_catalogue->WriteImageTable();
        const auto good = m_catalogue->WriteRom("good.rom", true);
        Load(good);
        m_state->sizeClassTable[3].replacementIndex[0] = 0;

        std::filesystem::path chosen = *m_folder / name.toStdString();
        if (country == -3) {
            m_folder->WriteText(name.toStdString(), "just some text\n");
        } else if (country >= 0) {
            chosen = m_catalogue->WriteRom(name.toStdString(), swapped, country, version);
        }
        Load(chosen);
        QCOMPARE(Messages(), QStringList{expected});
        QCOMPARE(m_state->workingRomPath, good);
        QCOMPARE(m_state->sizeClassTable[3].replacementIndex[0], 0u);
        QVERIFY(!std::filesystem::exists(WorkFolder() / "rightFlippedROM.rom"));
    }

    void aFileOfTheWrongLengthIsRefused() {
        const auto rom = m_catalogue->WriteRom("short.rom", true);
        std::filesystem::resize_file(rom, 0x400000);
        Load(rom);
        QCOMPARE(m_services->messages.size(), size_t(1));
        QCOMPARE(m_services->messages[0].caption, QStringLiteral("Wrong size"));
        QVERIFY(m_state->workingRomPath.empty());
    }

    void cancellingKeepsEverything() {
        m_catalogue->FillGameClasses();
        m_catalogue->WriteImageTable();
        Load(m_catalogue->WriteRom("good.rom", true));
        m_state->sizeClassTable[0].replacementIndex[0] = 0;
        m_services->fileAnswers.push_back(QString());
        m_dialog->OnCommand(32771);
        QCOMPARE(m_state->sizeClassTable[0].replacementIndex[0], 0u);
        QCOMPARE(m_state->sizeClassTable[0].entryCount, 1u);
        QCOMPARE(Messages(), QStringList());
    }

    void installProblemsAreReportedAndTheLoadGoesOn() {
        m_catalogue->FillGameClasses({1, 22});
        m_catalogue->AddUserBitmap("big.bmp", TestCatalogue::SolidBitmap(0x26, 0x26, 1, 2, 3));
        m_catalogue->AddUserBitmap("deep.bmp", TestCatalogue::SolidBitmap(32, 8, 1, 2, 3, 24));
        m_catalogue->AddUserBitmap("ok.bmp", TestCatalogue::SolidBitmap(16, 16, 1, 2, 3, 4));
        Load(m_catalogue->WriteRom("good.rom", true));
        QCOMPARE(Messages(),
                 (QStringList{
                     "You need the image table: tableBinary.bin / Images defaulted to low 0x200",
                     "You didn't extract the /romimages/08 80/ images to the right directory / "
                     "Bad install",
                     "You didn't extract the /romimages/80 10G/ images to the right directory / "
                     "Bad install",
                     "The following images will not be loaded:\n\n"
                     "Use 0x28 x 0x26, because of padding, for: big.bmp\n"
                     "Not 4/8-Bit: deep.bmp\n / Errors with User bitmaps!"}));
        QCOMPARE(m_state->sizeClassTable[USER_CLASS].entryCount, 1u);
        QCOMPARE(Description(), QStringLiteral("1 Textures Found!"));
    }

    void thumbnailsAreLaidOutInRows() {
        m_catalogue->FillGameClasses({7});
        for (int i = 0; i < 25; ++i) {
            m_catalogue->AddTexture(7, 0x20000 + 0x100 * i);
        }
        m_catalogue->WriteImageTable();
        Load(m_catalogue->WriteRom("good.rom", true));
        ChooseClass(7);
        QCOMPARE(List()->count(), 25);
        QCOMPARE(Description(), QStringLiteral("25 Textures Found!"));
        QCOMPARE(m_dialog->SelectionMark(), 0);
        QCOMPARE(List()->iconSize(), QSize(32, 32));
        // Eleven to a row, 39 pixels apart, rows 39 pixels apart.
        QCOMPARE(List()->visualItemRect(List()->item(0)).topLeft(), QPoint(24, 4));
        QCOMPARE(List()->visualItemRect(List()->item(1)).topLeft(), QPoint(63, 4));
        QCOMPARE(List()->visualItemRect(List()->item(10)).topLeft(), QPoint(414, 4));
        QCOMPARE(List()->visualItemRect(List()->item(11)).topLeft(), QPoint(24, 43));
        QCOMPARE(List()->visualItemRect(List()->item(24)).topLeft(), QPoint(102, 82));
        QCOMPARE(IconColour(List()->item(3), QSize(32, 32)), QColor(0x80, 0x40, 0x20));

        // An empty class and back: empty, then full again.
        ChooseClass(USER_CLASS);
        QCOMPARE(List()->count(), 0);
        QCOMPARE(Description(), QStringLiteral("0 Textures Found!"));
        ChooseClass(7);
        QCOMPARE(List()->count(), 25);
    }

    void gridPositionsFollowTheThumbnailSize_data() {
        QTest::addColumn<QSize>("thumbnail");
        QTest::addColumn<int>("item");
        QTest::addColumn<QPoint>("position");
        QTest::newRow("8 wide, last of row") << QSize(8, 8) << 25 << QPoint(24 + 25 * 15, 4);
        QTest::newRow("8 wide, next row") << QSize(8, 8) << 26 << QPoint(24, 19);
        QTest::newRow("128 wide") << QSize(128, 16) << 2 << QPoint(294, 4);
        QTest::newRow("128 wide, next row") << QSize(128, 16) << 3 << QPoint(24, 27);
        QTest::newRow("user") << QSize(32, 64) << 11 << QPoint(24, 75);
        QTest::newRow("38 wide") << QSize(38, 38) << 9 << QPoint(24, 49);
    }
    void gridPositionsFollowTheThumbnailSize() {
        QFETCH(QSize, thumbnail);
        QFETCH(int, item);
        QFETCH(QPoint, position);
        QCOMPARE(MainDialog::ThumbnailPosition(item, thumbnail), position);
    }

    void theFilterHidesEntriesBehindPlaceholders() {
        m_catalogue->FillGameClasses({2});
        m_catalogue->AddTexture(2, 0x30000, " a", 0xF0);
        m_catalogue->AddTexture(2, 0x30100, " b", 0xF0);
        m_catalogue->AddTexture(2, 0x30200, " c", 0xF0);
        m_catalogue->SetDescriptions(2, "030000 BRICK wall\n030200 mossy brick\n");
        m_catalogue->WriteImageTable();
        Load(m_catalogue->WriteRom("good.rom", true));
        ChooseClass(2);

        QTest::keyClicks(Control<QLineEdit>(1009), QStringLiteral("Brick"));
        QCOMPARE(IconColour(List()->item(1), QSize(16, 16)), QColor(0xF0, 0x40, 0x20));  // not yet
        QTest::mouseClick(Control<QPushButton>(1011), Qt::LeftButton);
        QCOMPARE(List()->count(), 3);
        QCOMPARE(IconColour(List()->item(0), QSize(16, 16)), QColor(0xF0, 0x40, 0x20));
        QCOMPARE(IconColour(List()->item(1), QSize(16, 16)), QColor(Qt::white));
        QCOMPARE(IconColour(List()->item(2), QSize(16, 16)), QColor(0xF0, 0x40, 0x20));
        const auto blank = m_catalogue->ProgramFolder() / "romimages" / "blank.bmp";
        QCOMPARE(ReadAllBytes(blank).size(), size_t(68));

        // The offset key is part of what the filter sees; "no desc" finds undescribed entries.
        Control<QLineEdit>(1009)->setText(QStringLiteral("no desc"));
        QTest::mouseClick(Control<QPushButton>(1011), Qt::LeftButton);
        QCOMPARE(IconColour(List()->item(0), QSize(16, 16)), QColor(Qt::white));
        QCOMPARE(IconColour(List()->item(1), QSize(16, 16)), QColor(0xF0, 0x40, 0x20));
    }

    void anUnreadableBitmapKeepsItsItemWithAMarker() {
        m_catalogue->FillGameClasses({0});
        m_catalogue->AddTexture(0, 0x40000);
        m_folder->WriteText("program/romimages/08 08/040100 broken.bmp", "not a bitmap");
        m_catalogue->AddTexture(0, 0x40200);
        m_catalogue->WriteImageTable();
        Load(m_catalogue->WriteRom("good.rom", true));
        QCOMPARE(List()->count(), 3);
        QCOMPARE(IconColour(List()->item(1), QSize(8, 8)), QColor(0xC0, 0x10, 0x10));
        QCOMPARE(IconColour(List()->item(2), QSize(8, 8)), QColor(0x80, 0x40, 0x20));
    }
};

QTEST_MAIN(MainDialogLoadTest)
#include "MainDialogLoadTest.moc"
