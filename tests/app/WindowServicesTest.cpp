#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include "TempFolder.h"
#include "TestBitmaps.h"
#include "app/FileDialogs.h"
#include "app/RememberedFolders.h"
#include "app/Thumbnail.h"
#include "app/WindowServices.h"

class WindowServicesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Settings go to a test folder, never the user's own.
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("MGROMImageEditorTest"));
    }
    void fileDialogsRememberTheirFolderByKind() {
        TempFolder folder;
        const QString roms = QString::fromStdString((folder / "roms").string());
        QDir().mkpath(roms);
        QCOMPARE(RememberedFolder(file_dialogs::LoadRom()), QString());
        RememberFolder(file_dialogs::NewRom(), roms + "/new.rom");
        QCOMPARE(RememberedFolder(file_dialogs::LoadRom()), roms);  // ROM dialogs share one
        QCOMPARE(RememberedFolder(file_dialogs::Patch()), QString());
        QDir(roms).removeRecursively();
        QCOMPARE(RememberedFolder(file_dialogs::LoadRom()), QString());  // gone
        QFile::remove(QSettings().fileName());
    }
    void filtersBecomeQtNameFilters() {
        QCOMPARE(ToQtNameFilters("Moonglass's ROM (*.rom, *.v64)|*.rom; *.v64|"),
                 QStringList{"Moonglass's ROM (*.rom, *.v64) (*.rom *.v64)"});
        QCOMPARE(ToQtNameFilters("Bitmaps|*.bmp|All files|*.*|"),
                 (QStringList{"Bitmaps (*.bmp)", "All files (*.*)"}));
        QCOMPARE(ToQtNameFilters("Patched MG ROM (*.rom)|*.rom"),
                 QStringList{"Patched MG ROM (*.rom) (*.rom)"});
        QCOMPARE(ToQtNameFilters(""), QStringList());
        QCOMPARE(ToQtNameFilters("Bitmaps|"), QStringList());
        // Insert User Image offers bitmaps and PNG pictures under one filter.
        QCOMPARE(ToQtNameFilters(file_dialogs::UserImage().filter),
                 QStringList{"Images (*.bmp *.png)"});
    }
    void userImageThumbnailsShowWhatIsConverted() {
        // A 2 x 1 24-bit bitmap: its colours cut to 5 bits, as the texture will hold them.
        TempFolder folder;
        const Bytes pixels = {0x07, 0x0F, 0xFF, 0xFF, 0x00, 0x00, 0, 0};
        const Bytes file = TestBitmap{.width = 2, .bitCount = 24, .pixels = pixels}.Build();
        const QImage image = LoadThumbnail(folder.Write("t.bmp", file), 2, 1);
        QCOMPARE(image.pixel(0, 0), qRgb(0xFF, 0x08, 0x00));  // not 0x0F, 0x07
        QCOMPARE(image.pixel(1, 0), qRgb(0, 0, 0xFF));
    }
    // Run-length and bit-field bitmaps are drawn, not shown as the unreadable marker.
    void compressedAndBitFieldThumbnailsAreDrawn() {
        TempFolder folder;
        const Bytes table = {0, 0, 0, 0, 0x08, 0x80, 0xF8, 0};
        const Bytes rle8 = {2, 1, 0, 1};  // a run of two index-1 pixels, end of bitmap
        const QImage run = LoadThumbnail(
            folder.Write(
                "r.bmp",
                TestBitmap{.width = 2, .compression = 1, .table = table, .pixels = rle8}.Build()),
            2, 1);
        QCOMPARE(run.pixel(0, 0), qRgb(0xF8, 0x80, 0x08));
        QCOMPARE(run.pixel(1, 0), qRgb(0xF8, 0x80, 0x08));
        const Bytes masks = {0, 0xF8, 0, 0, 0xE0, 7, 0, 0, 0x1F, 0, 0, 0};  // 5-6-5
        const TestBitmap green{.width = 2,
                               .bitCount = 16,
                               .compression = 3,
                               .headerTail = masks,
                               .pixels = {0xE0, 7, 0xE0, 7}};
        const QImage fields = LoadThumbnail(folder.Write("f.bmp", green.Build()), 2, 1);
        QCOMPARE(qRed(fields.pixel(0, 0)) | qBlue(fields.pixel(0, 0)), 0);
        QVERIFY(qGreen(fields.pixel(0, 0)) >= 0xF8);
    }
};

QTEST_MAIN(WindowServicesTest)
#include "WindowServicesTest.moc"
