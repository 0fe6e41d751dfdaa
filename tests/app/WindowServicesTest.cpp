#include <QTest>

#include "app/WindowServices.h"

class WindowServicesTest : public QObject {
    Q_OBJECT

private slots:
    void filtersBecomeQtNameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("rom") << "Moonglass's ROM (*.rom, *.v64)|*.rom; *.v64|"
                             << QStringList{"Moonglass's ROM (*.rom, *.v64) (*.rom *.v64)"};
        QTest::newRow("patch") << "Custom ROM Patch (*.pat)|*.pat|"
                               << QStringList{"Custom ROM Patch (*.pat) (*.pat)"};
        QTest::newRow("two pairs")
            << "Bitmaps|*.bmp|All files|*.*|" << QStringList{"Bitmaps (*.bmp)", "All files (*.*)"};
        QTest::newRow("no final bar")
            << "Patched MG ROM (*.rom)|*.rom" << QStringList{"Patched MG ROM (*.rom) (*.rom)"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("description without patterns") << "Bitmaps|" << QStringList{};
    }
    void filtersBecomeQtNameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, expected);
        QCOMPARE(ToQtNameFilters(filter), expected);
    }
};

QTEST_MAIN(WindowServicesTest)
#include "WindowServicesTest.moc"
