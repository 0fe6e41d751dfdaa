#include <QTest>

#include "app/WindowServices.h"

class WindowServicesTest : public QObject {
    Q_OBJECT

private slots:
    void filtersBecomeQtNameFilters() {
        QCOMPARE(ToQtNameFilters("Moonglass's ROM (*.rom, *.v64)|*.rom; *.v64|"),
                 QStringList{"Moonglass's ROM (*.rom, *.v64) (*.rom *.v64)"});
        QCOMPARE(ToQtNameFilters("Bitmaps|*.bmp|All files|*.*|"),
                 (QStringList{"Bitmaps (*.bmp)", "All files (*.*)"}));
        QCOMPARE(ToQtNameFilters("Patched MG ROM (*.rom)|*.rom"),
                 QStringList{"Patched MG ROM (*.rom) (*.rom)"});
        QCOMPARE(ToQtNameFilters(""), QStringList());
        QCOMPARE(ToQtNameFilters("Bitmaps|"), QStringList());
    }
};

QTEST_MAIN(WindowServicesTest)
#include "WindowServicesTest.moc"
