#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "DialogHarness.h"
#include "app/AboutDialog.h"
#include "app/AppIcon.h"
#include "app/EditorState.h"
#include "app/MainDialog.h"

namespace {

const QStringList kComboRows = {
    "08 x 08",  "08 x 80", "10 x 10", "10 x 10G", "10 x 20", "10 x 20G", "10 x 40",  "20 x 20",
    "20 x 20G", "21 x 21", "26 x 26", "20 x 30",  "20 x 40", "20 x 40G", "30 x 20",  "40 x 10",
    "40 x 11",  "40 x 20", "80 x 08", "80 x 09",  "80 x 0B", "80 x 0C",  "80 x 10G", "User"};

QStringList ActionTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-")
                                        : action->text() + QLatin1Char('=') + action->objectName());
    }
    return texts;
}

}  // namespace

class MainDialogTest : public QObject, public DialogHarness {
    Q_OBJECT

private:
    QAction* Command(int id) { return m_dialog->findChild<QAction*>(QString::number(id)); }
    QString ScratchPath() const {
        return QString::fromStdString((WorkFolder() / "rightFlippedROM.rom").string());
    }
    void WriteScratchFile() {
        QFile file(ScratchPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("OMNO");
    }

private slots:
    void init() { SetUpHarness(); }
    void cleanup() { QCOMPARE(TearDownHarness(), QStringList()); }

    void initialFieldsAfterInitialisation() {
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Moonglass ROM Image Changer 1.1"));
        QCOMPARE(Control<QLabel>(1004)->text(), QStringLiteral("Moonglass ROM Image Changer 1.1"));
        // Writing the empty fields replaced the template's placeholder texts.
        QCOMPARE(Control<QLabel>(1005)->text(), QString());
        QCOMPARE(Control<QLabel>(1008)->text(), QString());
        QCOMPARE(Control<QLineEdit>(1006)->text(), QStringLiteral("9B2"));
        QCOMPARE(Control<QLineEdit>(1009)->text(), QString());
        QVERIFY(!Control<QCheckBox>(1007)->isChecked());
        QCOMPARE(Control<QListWidget>(1000)->count(), 0);
        QCOMPARE(Control<QListWidget>(1002)->count(), 0);
        QCOMPARE(Control<QPushButton>(1011)->text(), QStringLiteral("Update Filter"));
        QVERIFY(Control<QPushButton>(1011)->isDefault());
    }

    void comboListsTheTwentyFourSizeClasses() {
        auto* combo = Control<QComboBox>(1003);
        QVERIFY(combo);
        QStringList rows;
        for (int i = 0; i < combo->count(); ++i) {
            rows << combo->itemText(i);
        }
        QCOMPARE(rows, kComboRows);
        QCOMPARE(combo->currentIndex(), 0);
    }

    void controlsSitAtTheirConvertedPositions() {
        // x and width times 1.5, y and height times 1.625, rounded.
        QCOMPARE(Control<QListWidget>(1000)->geometry(), QRect(11, 11, 512, 322));
        QCOMPARE(Control<QListWidget>(1002)->geometry(), QRect(581, 37, 96, 81));
        QCOMPARE(Control<QLabel>(1004)->geometry(), QRect(11, 343, 608, 15));
        QCOMPARE(Control<QLabel>(1008)->geometry(), QRect(11, 361, 609, 16));
        QCOMPARE(Control<QLineEdit>(1009)->geometry(), QRect(551, 180, 126, 20));
        QCOMPARE(Control<QComboBox>(1003)->geometry().topLeft(), QPoint(581, 306));
        QCOMPARE(m_dialog->findChild<QWidget*>(QStringLiteral("panel"))->size(), QSize(687, 387));
    }

    void hiddenControlsNeverAppear() {
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        for (int id : {1006, 1007, 1001, 1}) {
            QWidget* control = Control<QWidget>(id);
            QVERIFY2(control, qPrintable(QString::number(id)));
            QVERIFY2(!control->isVisible(), qPrintable(QString::number(id)));
        }
        for (int id : {1000, 1002, 1003, 1004, 1005, 1008, 1009, 1011}) {
            QVERIFY2(Control<QWidget>(id)->isVisible(), qPrintable(QString::number(id)));
        }
        QVERIFY(!Control<QPushButton>(1001)->isEnabled());
        QVERIFY(!Control<QPushButton>(1)->isEnabled());
        // Commands that write the controls do not bring them back.
        Command(32773)->trigger();
        Command(32775)->trigger();
        for (int id : {1006, 1007, 1001, 1}) {
            QVERIFY(!Control<QWidget>(id)->isVisible());
        }
        m_dialog->hide();
    }

    void forcedSizeFieldHoldsThreeCharacters() {
        auto* edit = Control<QLineEdit>(1006);
        edit->setText(QStringLiteral("ABCD"));
        m_dialog->ReadControls();
        QCOMPARE(m_dialog->m_forcedSizeText, QStringLiteral("ABC"));
    }

    void typingInTheFilterChangesNoField() {
        QTest::keyClicks(Control<QLineEdit>(1009), QStringLiteral("brick"));
        QCOMPARE(m_dialog->m_filterText, QString());
        QCOMPARE(Control<QLabel>(1004)->text(), QStringLiteral("Moonglass ROM Image Changer 1.1"));
        m_dialog->ReadControls();
        QCOMPARE(m_dialog->m_filterText, QStringLiteral("brick"));
    }

    void menuBarHoldsMenu130() {
        auto* menuBar = m_dialog->findChild<QMenuBar*>();
        QVERIFY(menuBar);
        QStringList titles;
        QList<QMenu*> menus;
        for (QAction* action : menuBar->actions()) {
            titles << action->text();
            menus << action->menu();
        }
        QCOMPARE(titles, (QStringList{"&File", "&Patches", "&Help"}));
        QCOMPARE(ActionTexts(menus[0]), (QStringList{"&Load Moonglass ROM=32771",
                                                     "&Save New ROM=32773", "-", "&Quit=32774"}));
        QCOMPARE(ActionTexts(menus[1]), QStringList{"&Apply Patch=32777"});
        QCOMPARE(ActionTexts(menus[2]), QStringList{"&About=32775"});
    }

    void contextMenusHoldTheirCommands() {
        std::unique_ptr<QMenu> replace(m_dialog->CreatePopupMenu(4));
        QCOMPARE(replace->title(), QStringLiteral("Right Click"));
        QCOMPARE(ActionTexts(replace.get()), QStringList{"Replace=32772"});
        std::unique_ptr<QMenu> insert(m_dialog->CreatePopupMenu(132));
        QCOMPARE(insert->title(), QStringLiteral("Right Click Small"));
        QCOMPARE(ActionTexts(insert.get()), QStringList{"Insert User Image=32776"});
        QCOMPARE(m_dialog->CreatePopupMenu(5), nullptr);
    }

    void helpAboutAndTheWindowMenuOpenTheAboutBox() {
        Command(32775)->trigger();
        QCOMPARE(m_services->modalDialogTitles, QStringList{"About MGROMImageEditor"});
        auto* windowAbout = Command(16);
        QVERIFY(windowAbout);
        QCOMPARE(windowAbout->text(), QStringLiteral("&About MGROMImageEditor..."));
        windowAbout->trigger();
        QCOMPARE(m_services->modalDialogTitles,
                 (QStringList{"About MGROMImageEditor", "About MGROMImageEditor"}));
        QVERIFY(m_services->messages.empty());
    }

    void aboutBoxShowsItsTextsAndClosesWithOk() {
        AboutDialog about(MakeAppIcon());
        QCOMPARE(about.windowTitle(), QStringLiteral("About MGROMImageEditor"));
        QStringList texts;
        for (const QLabel* label : about.findChildren<QLabel*>()) {
            texts << label->text();
        }
        QVERIFY(texts.contains(QStringLiteral("Moonglass ROM Image Editor 1.1")));
        QVERIFY(texts.contains(QStringLiteral("Dec 6, 2004")));
        QCOMPARE(about.size(), QSize(353, 179));
        auto* ok = about.findChild<QPushButton*>(QStringLiteral("1"));
        QVERIFY(ok && ok->isDefault());
        about.show();
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(about.result(), int(QDialog::Accepted));
    }

    void saveNewRomWithoutRomSaysNoRomOpened() {
        Command(32773)->trigger();
        QCOMPARE(m_services->messages.size(), size_t(1));
        QCOMPARE(m_services->messages[0].text, QStringLiteral("No ROM Opened"));
        QCOMPARE(m_services->messages[0].caption, QStringLiteral("Open Moonglass ROM"));
        QVERIFY(m_services->fileDialogs.empty());
    }

    void applyPatchAsksForThePatchBeforeSayingNoRomOpened() {
        m_services->fileAnswers = {QString(), QStringLiteral("some.pat")};
        Command(32777)->trigger();  // cancelled: nothing said
        QVERIFY(m_services->messages.empty());
        Command(32777)->trigger();
        QCOMPARE(m_services->fileDialogs.size(), size_t(2));
        const auto& dialog = m_services->fileDialogs[0];
        QVERIFY(!dialog.save);
        QCOMPARE(dialog.request.defaultExtension, QStringLiteral("pat"));
        QCOMPARE(dialog.request.defaultFileName, QStringLiteral("MGTexturePatch.pat"));
        QCOMPARE(dialog.request.filter, QStringLiteral("Custom ROM Patch (*.pat)|*.pat|"));
        QCOMPARE(dialog.request.options, 6u);
        QCOMPARE(m_services->messages.size(), size_t(1));
        QCOMPARE(m_services->messages[0].text, QStringLiteral("No ROM Opened"));
        QCOMPARE(m_services->messages[0].caption, QStringLiteral("Open Moonglass ROM"));
    }

    void quitAndOkKeepTheWorkingCopy() {
        WriteScratchFile();
        m_dialog->show();
        Command(32774)->trigger();
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(QFile::exists(ScratchPath()));

        MainDialog second(*m_state, *m_services);
        second.show();
        second.OnCommand(1);
        QCOMPARE(second.result(), int(QDialog::Accepted));
        QVERIFY(QFile::exists(ScratchPath()));
    }

    void escapeKeepsTheWorkingCopy() {
        WriteScratchFile();
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
        QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(QFile::exists(ScratchPath()));
    }

    void closingWithoutALoadRemovesNothing() {
        // Only a working copy that a load wrote is removed; this one is the user's.
        WriteScratchFile();
        m_dialog->show();
        QVERIFY(m_dialog->close());
        QCOMPARE(m_dialog->result(), int(QDialog::Rejected));
        QVERIFY(QFile::exists(ScratchPath()));
        QVERIFY(m_services->messages.empty());
    }
};

QTEST_MAIN(MainDialogTest)
#include "MainDialogTest.moc"
