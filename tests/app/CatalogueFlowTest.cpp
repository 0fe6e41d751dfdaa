// The window's Build Catalogue from ROM, Load ROM's offer to build a missing catalogue, and
// Export Texture As Bitmap, with the demo kit's ROM beside an empty program folder.

#include <QListWidget>
#include <QTest>
#include <memory>

#include "ScriptedWindowServices.h"
#include "TempFolder.h"
#include "app/MainDialog.h"
#include "demo/DemoKit.h"
#include "editor/Editor.h"
#include "extract/TextureBitmap.h"

namespace fs = std::filesystem;

class CatalogueFlowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<Editor> m_editor;
    std::unique_ptr<ScriptedWindowServices> m_services;
    std::unique_ptr<MainDialog> m_dialog;

    fs::path Program() const { return *m_folder / "program"; }
    fs::path Rom() const { return *m_folder / "kit" / DEMO_ROM_NAME; }
    void Answer(const fs::path& path) {
        m_services->fileAnswers.push_back(QString::fromStdString(path.string()));
    }
    std::size_t FilesIn(const fs::path& folder) {
        std::size_t count = 0;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            count += entry.is_regular_file();
        }
        return count;
    }
    QListWidget* List() { return m_dialog->findChild<QListWidget*>(QStringLiteral("1000")); }

private slots:
    void init() {
        m_folder = std::make_unique<TempFolder>();
        QVERIFY(MakeDemoKit(*m_folder / "kit").ok);
        fs::create_directories(Program());
        fs::current_path(Program());
        m_editor = std::make_unique<Editor>(Program());
        m_services = std::make_unique<ScriptedWindowServices>();
        m_dialog = std::make_unique<MainDialog>(*m_editor, *m_services);
    }
    void cleanup() {
        m_dialog.reset();
        QCOMPARE(m_services->unexpected, QStringList());
        fs::current_path(m_folder->Path());
    }

    // No: today's messages, "Bad install" once per class. Yes: the catalogue is built under a
    // progress dialog and the load shows it.
    void loadOffersToBuildAMissingCatalogueOnce() {
        m_services->yesNoAnswers = {false};
        Answer(Rom());
        m_dialog->OnCommand(32771);
        // The question, no image table, and 23 classes without bitmaps.
        QCOMPARE(m_services->messages.size(), 25);
        QVERIFY(m_services->messages[2].endsWith(QStringLiteral(" / Bad install")));
        m_services->messages.clear();
        m_services->yesNoAnswers = {true};
        Answer(Rom());
        m_dialog->OnCommand(32771);
        QCOMPARE(m_services->progressTexts.size(), 1);
        QVERIFY(m_services->progressSteps > 136);
        QCOMPARE(m_services->messages.size(), 2);  // the question, then what was built
        QVERIFY(m_services->messages[1].startsWith(QStringLiteral("The catalogue now holds 136")));
        QVERIFY(!m_services->messages[1].contains(QStringLiteral("again")));  // the load goes on
        QCOMPARE(List()->count(), 3);
        Answer(Rom());  // a catalogue is there now: no question
        m_dialog->OnCommand(32771);
        QCOMPARE(m_services->messages.size(), 2);
    }

    // Cancelled: nothing written; then built; then again, written over only when asked.
    void buildCatalogueFromTheFileMenu() {
        m_services->cancelAtStep = {40};
        Answer(Rom());
        m_dialog->OnCommand(32790);
        QCOMPARE(FilesIn(Program()), 0u);
        QVERIFY(m_services->messages.last().endsWith(
            QStringLiteral("Nothing was changed. / Build Catalogue")));
        Answer(Rom());
        m_dialog->OnCommand(32790);
        QCOMPARE(FilesIn(Program()), 136u + 23 + 1);
        m_services->yesNoAnswers = {false};
        Answer(Rom());
        m_dialog->OnCommand(32790);
        QVERIFY(m_services->messages.last().contains(
            QStringLiteral("tableBinary.bin\" exists already")));
    }

    // The default name is the texture's offset; the file is the record as a bitmap.
    void exportTextureSavesTheRecordAsABitmap() {
        m_services->yesNoAnswers = {true};
        Answer(Rom());
        m_dialog->OnCommand(32771);
        List()->setCurrentRow(1);
        m_dialog->SetSelectionMark(1);
        Answer(*m_folder / "out.bmp");
        m_services->menuAnswers.push_back(QStringLiteral("Export Texture As Bitmap..."));
        emit List()->customContextMenuRequested(List()->visualItemRect(List()->item(1)).center());
        const std::uint32_t offset = m_editor->Table()[0].romOffset[1];
        QCOMPARE(m_services->fileDialogs.last(), QString::fromStdString(TextureBitmapName(offset)));
        QVERIFY(ReadAllBytes(*m_folder / "out.bmp") ==
                ExportTexture(ReadAllBytes(Rom()), offset).bitmap);
    }
};

QTEST_MAIN(CatalogueFlowTest)
#include "CatalogueFlowTest.moc"
