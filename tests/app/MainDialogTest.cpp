// The window's wiring: each command reaches the editor and its results appear as messages and
// in the controls. The flows themselves are tested in tests/editor.

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <memory>

#include "ScriptedWindowServices.h"
#include "TempFolder.h"
#include "app/CommandLine.h"
#include "app/ListReflow.h"
#include "app/MainDialog.h"
#include "app/MainWindowBuilder.h"
#include "app/PendingTooltips.h"
#include "catalogue/SizeClassTable.h"
#include "demo/DemoKit.h"
#include "editor/Editor.h"
#include "io/Crc32.h"

namespace fs = std::filesystem;

class MainDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<Editor> m_editor;
    std::unique_ptr<ScriptedWindowServices> m_services;
    std::unique_ptr<MainDialog> m_dialog;
    QString m_previousFolder;

    template <typename T>
    T* Control(int id) {
        return m_dialog->findChild<T*>(QString::number(id));
    }
    QString Text(int id) { return Control<QLabel>(id)->text(); }
    QListWidget* List() { return Control<QListWidget>(1000); }
    fs::path Kit() const { return *m_folder / "kit"; }
    fs::path Work() const { return *m_folder / "work"; }
    void Answer(const fs::path& path) {
        m_services->fileAnswers.push_back(QString::fromStdString(path.string()));
    }
    void Load(const fs::path& rom = {}) {
        Answer(rom.empty() ? Kit() / DEMO_ROM_NAME : rom);
        m_dialog->OnCommand(32771);
    }
    QPoint Centre(int item) { return List()->visualItemRect(List()->item(item)).center(); }
    void Click(int item) {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, Centre(item));
    }
    void Choose(int item) {
        Click(item);
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, Centre(item));
    }
    QRect At(int id) { return m_dialog->findChild<QWidget*>(QString::number(id))->geometry(); }
    void Show() {
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    }
    void Grow(QSize by) {
        m_dialog->resize(m_dialog->sizeHint() + by);
        QTRY_COMPARE(At(1000).size(), QSize(512, 322) + by);
    }
    void Menu(int item, const QString& answer) {
        Click(item);
        m_services->menuAnswers.push_back(answer);
        emit List()->customContextMenuRequested(Centre(item));
    }
    QString Bar() { return m_dialog->findChild<QStatusBar*>()->currentMessage(); }
    QAction* Action(const char* name) { return m_dialog->findChild<QAction*>(name); }

private slots:
    void init() {
        m_folder = std::make_unique<TempFolder>();
        QVERIFY(MakeDemoKit(Kit()).ok);
        fs::create_directories(Work());
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(Work().string()));
        m_editor = std::make_unique<Editor>(Kit());
        m_services = std::make_unique<ScriptedWindowServices>();
        m_dialog = std::make_unique<MainDialog>(*m_editor, *m_services);
    }
    void cleanup() {
        m_dialog.reset();
        QCOMPARE(m_services->unexpected, QStringList());
        QDir::setCurrent(m_previousFolder);
    }

    void startsWithTheTitleMenusAndAbout() {
        QCOMPARE(Text(1004), QStringLiteral("Moonglass ROM Image Changer 1.1"));
        QCOMPARE(Control<QLineEdit>(1006)->text(), QStringLiteral("9B2"));
        m_dialog->findChild<QAction*>(QStringLiteral("32775"))->trigger();
        m_dialog->findChild<QAction*>(QStringLiteral("16"))->trigger();
        QCOMPARE(m_services->modalDialogTitles, QStringList(2, "About MGROMImageEditor"));
    }

    void loadFillsTheListAndClosingRemovesTheWorkingCopy() {
        Load();
        QCOMPARE(m_services->messages, QStringList());
        QVERIFY(Text(1004).startsWith(QStringLiteral("Double click to set replacement texture.")));
        QCOMPARE(Text(1008), QStringLiteral("3 Textures Found!"));
        QCOMPARE(List()->count(), 3);
        m_dialog->OnCommand(32774);  // Quit keeps the working copy; closing removes it
        QVERIFY(fs::exists(Work() / "rightFlippedROM.rom"));
        m_dialog->close();
        QVERIFY(!fs::exists(Work() / "rightFlippedROM.rom"));
    }

    // Rows of 400 / (width + 8) + 1 thumbnails, width + 7 and height + 7 apart from (24, 4).
    void thumbnailsFollowTheGridRule() {
        QCOMPARE(ThumbnailPosition(25, QSize(8, 8)), QPoint(24 + 25 * 15, 4));
        QCOMPARE(ThumbnailPosition(26, QSize(8, 8)), QPoint(24, 4 + 15));
        QCOMPARE(ThumbnailPosition(13, QSize(64, 32)), QPoint(24 + 71, 4 + 2 * 39));
    }

    // At its designed size every control is where the template puts it; a larger window gives
    // the list the extra room, keeps the right column at the right edge and the lines at the
    // bottom, and the list's rows take as many more thumbnails as the position rule fits.
    void theWindowGrowsAndTheGridReflows() {
        for (int copy = 0; copy < 14; ++copy) {
            fs::copy_file(Kit() / "romimages/User/sun 8x8 4-bit.bmp",
                          Kit() / "romimages/User" / ("copy " + std::to_string(copy) + ".bmp"));
        }
        Show();
        const QList<QRect> design = {QRect(11, 11, 512, 322),  QRect(581, 37, 96, 81),
                                     QRect(551, 180, 126, 20), QRect(552, 206, 125, 20),
                                     QRect(11, 343, 608, 15),  QRect(11, 361, 609, 16)};
        auto geometry = [&] {
            return QList{At(1000), At(1002), At(1009), At(1011), At(1004), At(1008)};
        };
        QCOMPARE(geometry(), design);
        QCOMPARE(At(1003).topLeft(), QPoint(581, 306));
        Load();
        Control<QComboBox>(1003)->setCurrentIndex(23);
        emit Control<QComboBox>(1003)->activated(23);
        QCOMPARE(List()->count(), 21);
        auto corner = [&](int item) {
            return List()->visualItemRect(List()->item(item)).topLeft();
        };
        QCOMPARE(corner(11) - corner(0), QPoint(0, 64 + 7));  // 400 / (32 + 8) + 1 a row
        Grow(QSize(300, 200));
        QCOMPARE(At(1009), design[2].translated(300, 0));
        QCOMPARE(At(1004), design[4].translated(0, 200).adjusted(0, 0, 300, 0));
        // 700 / (32 + 8) + 1 a row now.
        QCOMPARE(corner(17) - corner(0), QPoint(17 * 39, 0));
        QCOMPARE(corner(18) - corner(0), QPoint(0, 71));
        Grow(QSize(0, 0));
        QCOMPARE(geometry(), design);
        QCOMPARE(corner(11) - corner(0), QPoint(0, 71));
    }

    // Zoom draws thumbnails 2 and 4 times their size on the same rule, keeping the mark.
    void zoomScalesTheThumbnails() {
        Load();
        Click(1);
        for (int factor : {2, 4, 1}) {
            m_dialog->findChild<QAction*>(QStringLiteral("zoom%1").arg(factor))->trigger();
            QCOMPARE(List()->iconSize(), QSize(8, 8) * factor);
            QCOMPARE(List()->visualItemRect(List()->item(2)).left() -
                         List()->visualItemRect(List()->item(1)).left(),
                     8 * factor + 7);
            QCOMPARE(m_dialog->SelectionMark(), 1);
        }
    }

    void keysReachTheirCommands() {
        Show();
        QTest::keyClick(m_dialog.get(), Qt::Key_O, Qt::ControlModifier);  // cancelled
        QTest::keyClick(m_dialog.get(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(m_dialog.get(), Qt::Key_F1);
        QTest::keyClick(m_dialog.get(), Qt::Key_P, Qt::ControlModifier);  // cancelled
        QCOMPARE(m_services->unexpected, (QStringList{"MOONGLASS.ROM", "MGTexturePatch.pat"}));
        m_services->unexpected.clear();
        QCOMPARE(m_services->messages, QStringList{"No ROM Opened / Open Moonglass ROM"});
        QCOMPARE(m_services->modalDialogTitles, QStringList{"About MGROMImageEditor"});
        Load();
        Click(1);
        QTest::keyClick(List(), Qt::Key_Return);  // chooses, and is no press of Update Filter
        QCOMPARE(Text(1005), QStringLiteral("16 Colors - Size 55"));
        QTest::keyClick(m_dialog.get(), Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
    }

    // Clicks on the empty area act on the marked item and leave the mark and selection alone.
    void emptyAreaClicksActOnTheMarkedItem() {
        Load();
        Click(1);
        const QString summary = Text(1004);
        Control<QLabel>(1004)->clear();
        const QPoint empty(300, 250);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, empty);
        QCOMPARE(Text(1004), summary);
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, empty);
        QCOMPARE(Text(1005), QStringLiteral("16 Colors - Size 55"));
        QCOMPARE(List()->selectedItems(), QList{List()->item(1)});
    }

    // A dropped file and a ROM named on the command line go through Load ROM's checks.
    void dropsAndTheCommandLineLoad() {
        auto drop = [&](const fs::path& file, QWidget* target) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(QString::fromStdString(file.string()))});
            data.setText(data.urls().first().toString());  // as file managers offer it
            QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(target, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(target, &dropped);
        };
        drop(Kit() / "none.rom", m_dialog.get());
        QTRY_COMPARE(m_services->messages,
                     QStringList{"Invalid File Specified / It doesn't exist"});
        drop(Kit() / DEMO_ROM_NAME, Control<QLineEdit>(1009));  // the filter field
        QTRY_COMPARE(List()->count(), 3);
        QCOMPARE(Control<QLineEdit>(1009)->text(), QString());
        QCOMPARE(RomFromCommandLine({"MGROMImageEditor"}), std::nullopt);
        m_dialog->LoadRomFile(*RomFromCommandLine({"MGROMImageEditor", "other.rom"}));
        QCOMPARE(m_services->messages, QStringList(2, "Invalid File Specified / It doesn't exist"));
    }

    // File names and descriptions are never taken for markup.
    void labelsShowPlainText() {
        for (const QLabel* label : m_dialog->findChildren<QLabel*>()) {
            QCOMPARE(label->textFormat(), Qt::PlainText);
        }
    }

    void loadRefusalsAndScanReportsAreShown() {
        Load(Kit() / "none.rom");
        m_folder->Write("kit/romimages/User/a tiny.bmp", {'B', 'M'});
        fs::remove(Kit() / "tableBinary.bin");
        fs::create_directory(Kit() / "tableBinary.bin");
        Load();
        QCOMPARE(m_services->messages,
                 (QStringList{"Invalid File Specified / It doesn't exist",
                              "The image table tableBinary.bin exists but cannot be read. / "
                              "Images defaulted to low 0x200",
                              "The following images will not be loaded:\n\nBad size: a tiny.bmp\n"
                              " / Errors with User bitmaps!"}));
    }

    void clicksChooseAndReplace() {
        Load();
        Click(1);
        QCOMPARE(Text(1004), QStringLiteral("Texture: 16 Colors - Size Available 0x55 Mem 10018 "));
        QCOMPARE(Text(1008), QStringLiteral(" Grey gradient, top to bottom"));
        Choose(0);
        QCOMPARE(Text(1005), QStringLiteral("2 Colors - Size 17"));
        Menu(0, QStringLiteral("Replace"));
        QCOMPARE(m_services->messages, QStringList{"Same image / No Replacement Needed"});
        Menu(1, QStringLiteral("Replace"));
        QCOMPARE(m_editor->Table()[0].replacementSize[1], 0x17);
        Control<QComboBox>(1003)->setCurrentIndex(23);
        emit Control<QComboBox>(1003)->activated(23);
        Menu(0, QStringLiteral("Replace"));
        QCOMPARE(m_services->messages.last(),
                 QStringLiteral("User images cannot be replaced, as they are not part of the "
                                "game. / BAD"));
    }

    // Replace needs a chosen source; what is pending shows in the tile's tooltip, on a click
    // and in the title; the clicked item stays the one described.
    void replaceShowsWhatIsPending() {
        Load();
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("MOONGLASS.ROM[*] - Moonglass ROM Image "
                                                         "Changer 1.1"));
        Menu(1, QStringLiteral("Replace"));
        QVERIFY(m_services->messages.last().endsWith(QStringLiteral(" / No Replacement Chosen")));
        QVERIFY(Bar().startsWith(QStringLiteral("Not replaced: Choose the replacement texture")));
        QVERIFY(!m_dialog->isWindowModified());
        Choose(2);
        Menu(0, QStringLiteral("Replace"));
        QCOMPARE(Bar(), QStringLiteral("Not replaced: the source needs 0x14D bytes, the room is "
                                       "0x17."));
        Choose(0);
        Menu(1, QStringLiteral("Replace"));
        QVERIFY(Bar().startsWith(QStringLiteral("010018 will be replaced by 010000 (0x17 bytes)")));
        QVERIFY(m_dialog->isWindowModified());
        // In a shown window the refilled list took item 0 as current, and the line named it.
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
        QCOMPARE(m_dialog->SelectionMark(), 1);
        QVERIFY(Text(1004).endsWith(QStringLiteral("Mem 10018 ")));
        Click(1);
        QVERIFY(Bar().startsWith(QStringLiteral("Pending: 010000 (0x17 bytes)")));
        const QString tip = TileTip(*m_editor, 0, 1);
        for (const char* part : {"Offset 010018 (08 x 08), room 0x55", "Grey gradient",
                                 "Pending: 010000 (0x17 bytes)"}) {
            QVERIFY2(tip.contains(QLatin1String(part)), qPrintable(tip));
        }
        QVERIFY(!TileTip(*m_editor, 0, 2).contains(QStringLiteral("Pending")));
        Click(2);
        QCOMPARE(Bar(), QString());
    }

    // Any number of steps; a load forgets them.
    void undoAndRedoReplace() {
        Load();
        Choose(0);
        Menu(1, QStringLiteral("Replace"));
        Menu(2, QStringLiteral("Replace"));
        const SizeClassRecord& record = m_editor->Table()[0];
        const std::string own = record.imagePath[0];
        QCOMPARE(Action("undo")->shortcut(), QKeySequence(QKeySequence::Undo));
        QCOMPARE(Action("undo")->text(), QStringLiteral("&Undo Replace 01006E"));
        Action("undo")->trigger();
        Action("undo")->trigger();
        QCOMPARE(Bar(), QStringLiteral("Undone: Replace 010018."));
        QCOMPARE(record.replacementIndex[1], NO_REPLACEMENT);
        QVERIFY(record.imagePath[1] != own && !m_dialog->isWindowModified());
        QVERIFY(!Action("undo")->isEnabled());
        Action("redo")->trigger();
        QCOMPARE(record.replacementIndex[1], 0u);
        QCOMPARE(record.imagePath[1], own);
        QVERIFY(m_dialog->isWindowModified() && Action("redo")->isEnabled());
        m_services->choiceAnswers = {1};  // discard the redone replacement
        Load();
        QVERIFY(!Action("undo")->isEnabled() && !Action("redo")->isEnabled());
    }

    // Quit and close ask only while replacements are unsaved; Cancel and a cancelled save keep
    // the window, Discard and a save that wrote the ROM end it.
    void endingAsksAboutUnsavedReplacements() {
        Load();
        Choose(0);
        Menu(1, QStringLiteral("Replace"));
        m_services->choiceAnswers = {2, 0, 0, 2, 1};
        m_services->fileAnswers.push_back(QString());  // the save dialog cancelled
        QVERIFY(!m_dialog->close());
        m_dialog->OnCommand(32774);
        QCOMPARE(m_dialog->result(), 0);
        const QString question = m_services->messages.last();
        QVERIFY(question.startsWith(QStringLiteral("1 replacement ")));
        QVERIFY(question.endsWith(
            QStringLiteral("[Save New ROM|Discard|Cancel] / Unsaved Replacements")));
        Answer(Work() / "new.rom");
        m_services->yesNoAnswers.push_back(false);
        m_dialog->OnCommand(32774);
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(fs::exists(Work() / "new.rom"));
        Menu(2, QStringLiteral("Replace"));
        m_dialog->reject();  // Escape, cancelled
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(m_dialog->close());  // Discard
        QVERIFY(!fs::exists(Work() / "rightFlippedROM.rom"));
    }

    // Loading another ROM would drop unsaved replacements as ending does, so it asks first.
    void loadingAgainAsksAboutUnsavedReplacements() {
        Load();
        Choose(0);
        Menu(1, QStringLiteral("Replace"));
        m_services->choiceAnswers = {2, 1};
        Load();
        QCOMPARE(m_editor->PendingCount(), std::size_t{1});
        Load();
        QVERIFY(!m_editor->HasUnsavedReplacements());
        QVERIFY(m_services->messages.last().endsWith(QStringLiteral("/ Unsaved Replacements")));
    }

    void saveAndApplyGoThroughTheirDialogs() {
        m_dialog->OnCommand(32773);
        Load();
        m_dialog->OnCommand(32773);
        QCOMPARE(m_services->messages,
                 (QStringList{"No ROM Opened / Open Moonglass ROM", "No changes! / No changes."}));
        Choose(0);
        Menu(1, QStringLiteral("Replace"));
        Answer(Work() / "new.rom");
        Answer(Work() / "p.pat");
        m_services->yesNoAnswers.push_back(true);
        m_dialog->OnCommand(32773);
        QCOMPARE(m_services->messages.last(),
                 QStringLiteral("Save as a custom ROM Patch? / Custom ROM Patch?"));
        QCOMPARE(Bar().toStdString(), "Patch saved to " + (Work() / "p.pat").string() + ".");
        // A bad patch is refused before the output is asked for.
        Answer(m_folder->Write("bad.pat", {1, 0}));
        m_dialog->OnCommand(32777);
        QVERIFY(m_services->messages.last().endsWith(
            QStringLiteral("Nothing was written. / Bad patch")));
        Answer(Work());  // a patch that cannot be read is refused before the result dialog
        m_dialog->OnCommand(32777);
        QVERIFY(m_services->messages.last().endsWith(QStringLiteral(" / Cannot open file")));
        Answer(Work() / "p.pat");
        Answer(Work() / "patched.rom");
        m_services->yesNoAnswers.push_back(true);  // load the result
        m_dialog->OnCommand(32777);
        QVERIFY(ReadAllBytes(Work() / "patched.rom") == ReadAllBytes(Work() / "new.rom"));
        QCOMPARE(m_services->messages.last().toStdString(), "Load the patched ROM " +
                                                                (Work() / "patched.rom").string() +
                                                                " now? / Load Patched ROM?");
        QVERIFY(m_dialog->windowTitle().startsWith(QStringLiteral("patched.rom[*]")));
        QCOMPARE(m_services->fileDialogs,
                 (QStringList{"MOONGLASS.ROM", "DIVUZAVOZIRIDODU.VOR", "MGTexturePatch.pat",
                              "MGTexturePatch.pat", "MGTexturePatch.pat", "MGTexturePatch.pat",
                              "MGPatched.rom"}));
        // A working ROM gone missing is named, not passed over in silence.
        fs::remove(Work() / "patched.rom");
        Choose(0);
        Menu(1, QStringLiteral("Replace"));
        m_dialog->OnCommand(32773);
        QVERIFY(m_services->messages.last().endsWith(
            QStringLiteral("is missing or cannot be read, so nothing was written. Please load "
                           "the ROM again. / Cannot open file")));
    }

    void patchTypesAndTheRomsCrc() {
        Load();
        QCOMPARE(m_dialog->findChild<QLabel*>(QStringLiteral("romIdentity"))->text(),
                 QStringLiteral("MOONGLASS.ROM loaded: CRC32 ") +
                     QString::asprintf("%08X", Crc32(ReadAllBytes(Kit() / DEMO_ROM_NAME))));
        Choose(0);
        Menu(1, QStringLiteral("Replace"));
        Answer(Work() / "new.rom");
        m_services->yesNoAnswers.push_back(false);
        m_dialog->OnCommand(32773);
        QCOMPARE(Bar().toStdString(),
                 "New ROM saved to " + (Work() / "new.rom").string() + " with 1 replacement.");
        Answer(Work() / "new.rom");
        m_services->yesNoAnswers.push_back(true);
        Answer(Work() / "pack");
        m_services->typeAnswers.push_back(2);
        m_dialog->OnCommand(32773);
        const std::vector<std::uint8_t> patch = ReadAllBytes(Work() / "pack");
        QCOMPARE(std::string(patch.begin(), patch.begin() + 4), std::string("BPS1"));
        Answer(Work() / "pack");
        Answer(Work() / "patched.rom");
        m_services->yesNoAnswers.push_back(false);
        m_dialog->OnCommand(32777);
        QCOMPARE(Bar().toStdString(),
                 "Patched ROM saved to " + (Work() / "patched.rom").string() + ".");
        QVERIFY(ReadAllBytes(Work() / "patched.rom") == ReadAllBytes(Work() / "new.rom"));
        const QString three = QStringLiteral(
            "Custom ROM Patch (*.pat)|*.pat|IPS patch (*.ips)|*.ips|BPS patch (*.bps)|*.bps|");
        QCOMPARE(m_services->fileFilters.mid(3, 2), QStringList(2, three));
    }

    void filterAndInsertUserImageWriteTheirFiles() {
        Load();
        Control<QLineEdit>(1009)->setText(QStringLiteral("nothing like it"));
        m_dialog->OnCommand(1011);
        QVERIFY(fs::exists(Kit() / "romimages" / "blank.bmp"));
        Answer(Kit() / "romimages" / "User" / "sun 8x8 4-bit.bmp");
        m_dialog->OnCommand(32776);
        QVERIFY(fs::exists(Work() / "compressed.bin") && fs::exists(Work() / "output8.bmp"));
        QCOMPARE(Bar().toStdString(),
                 "sun 8x8 4-bit.bmp converted: compressed.bin and output8.bmp "
                 "written to " +
                     Work().string() + ".");
    }
};

QTEST_MAIN(MainDialogTest)
#include "MainDialogTest.moc"
