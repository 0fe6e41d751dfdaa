// The installed icon and ROM file type, checked through Qt's own readers: the icon rendered from
// the SVG must look like the window's drawn icon, and the file type must know the game's ROM by
// its header in either byte order and by its name.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QtTest>

#include "app/AppIcon.h"

class DesktopIntegrationTest : public QObject {
    Q_OBJECT

private slots:
    void renderedIconLooksLikeTheWindowIcon() {
        const QImage drawn =
            MakeAppIcon().pixmap(48).toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage rendered = QImage(ICON_48_PNG).convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(rendered.size(), drawn.size());
        qint64 difference = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x) {
                const QRgb a = drawn.pixel(x, y), b = rendered.pixel(x, y);
                difference += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) +
                              qAbs(qBlue(a) - qBlue(b)) + qAbs(qAlpha(a) - qAlpha(b));
            }
        }
        // Only the edges, antialiased by two different renderers, may differ: half a level per
        // channel on average.
        QVERIFY2(difference < 48 * 48 * 4 / 2, qPrintable(QString::number(difference)));
    }

    void romFileTypeByHeaderAndName() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("share/mime/packages"));
        QVERIFY(QFile::copy(MIME_PACKAGE, dir.filePath("share/mime/packages/rom.xml")));
        qputenv("XDG_DATA_DIRS", dir.filePath("share").toUtf8());
        qputenv("XDG_DATA_HOME", dir.filePath("home").toUtf8());
        const QString romType = "application/x-moonglass-rom";
        const QMimeDatabase mime;
        for (const char* marker : {"MOON", "OMNO", "MOOX"}) {
            QByteArray header(0x40, '\0');
            header.replace(0x20, 4, marker);
            QFile file(dir.filePath(marker));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(header) == header.size());
            file.close();
            const bool rom = marker != QByteArray("MOOX");
            QCOMPARE(mime.mimeTypeForFile(file.fileName(), QMimeDatabase::MatchContent).name() ==
                         romType,
                     rom);
        }
        QCOMPARE(mime.mimeTypeForFile("GAME.ROM", QMimeDatabase::MatchExtension).name(), romType);
    }
};

QTEST_MAIN(DesktopIntegrationTest)
#include "DesktopIntegrationTest.moc"
