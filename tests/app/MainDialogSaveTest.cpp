#include <QTest>

#include "DialogHarness.h"
#include "io/ByteOrder.h"

namespace {

// Class 7 holds textures at 0x20000, 0x20050 and 0x20100. The table gives 0x20000 and 0x20050
// a room of 0x7F each (more than lies between them) and 0x20100 a room of 0x40.
const std::vector<std::uint32_t> kTable = {0x1FFFF, 0x2007F, 0x2004F, 0x200CF, 0x200FF, 0x20140};

}  // namespace

// Save New ROM, the patch question, and Apply Patch, through the window.
class MainDialogSaveTest : public QObject, public DialogHarness {
    Q_OBJECT

private:
    std::filesystem::path m_rom;

    void Answer(const std::filesystem::path& path) {
        m_services->fileAnswers.push_back(QString::fromStdString(path.string()));
    }
    // The native image of a swapped-order file.
    static Bytes Native(const std::filesystem::path& file) {
        Bytes bytes = ReadAllBytes(file);
        SwapBytePairs(bytes);
        return bytes;
    }

private slots:
    void init() {
        SetUpHarness();
        m_catalogue->FillGameClasses({7});
        m_catalogue->AddTexture(7, 0x20000, " a", 0x10, 0x11);
        m_catalogue->AddTexture(7, 0x20050, " b", 0x20, 0x22);
        m_catalogue->AddTexture(7, 0x20100, " c", 0x30, 0x33);
        m_catalogue->WriteImageTable(kTable);
        m_rom = m_catalogue->WriteRom("work/working.rom", true);
        Load(m_rom);
        QCOMPARE(Messages(), QStringList());
        ChooseClass(7);
    }
    void cleanup() { QCOMPARE(TearDownHarness(), QStringList()); }

    void withNothingPendingThereAreNoChanges() {
        m_dialog->OnCommand(32773);
        QCOMPARE(Messages(), QStringList{"No changes! / No changes."});
        QVERIFY(m_services->fileDialogs.size() == 1);  // only the load's
    }

    void theWholeRoadSaveThenPatchThenApply() {
        DoubleClick(2);  // room 0x40
        ReplaceAt(0);
        const Bytes before = ReadAllBytes(m_rom);
        const auto output = WorkFolder() / "new.v64";
        const auto patch = WorkFolder() / "changes.pat";
        Answer(output);
        Answer(patch);
        m_services->yesNoAnswers.push_back(true);
        m_dialog->OnCommand(32773);

        const auto& saveDialog = m_services->fileDialogs.at(1);
        QVERIFY(saveDialog.save);
        QCOMPARE(saveDialog.request.defaultExtension, QStringLiteral("rom"));
        QCOMPARE(saveDialog.request.defaultFileName, QStringLiteral("DIVUZAVOZIRIDODU.VOR"));
        QCOMPARE(saveDialog.request.filter,
                 QStringLiteral("Moonglass's ROM (*.rom, *.v64)|*.rom; *.v64|"));
        QCOMPARE(saveDialog.request.options, 6u);
        QCOMPARE(Messages(), QStringList{"Save as a custom ROM Patch? / Custom ROM Patch?"});
        QVERIFY(m_services->messages[0].question);
        const auto& patchDialog = m_services->fileDialogs.at(2);
        QVERIFY(patchDialog.save);
        QCOMPARE(patchDialog.request.defaultFileName, QStringLiteral("MGTexturePatch.pat"));
        QCOMPARE(patchDialog.request.filter, QStringLiteral("Custom ROM Patch (*.pat)|*.pat|"));

        // The target's 0x40 bytes are the source's, everything else is the working ROM's.
        Bytes expected = Native(m_rom);
        std::copy_n(expected.begin() + 0x20100, 0x40, expected.begin() + 0x20000);
        QVERIFY(Native(output) == expected);
        QVERIFY(ReadAllBytes(m_rom) == before);
        QCOMPARE(Record(7).replacementIndex[0], 2u);

        // Applying the patch to the working ROM gives the saved image again.
        const auto patched = WorkFolder() / "patched.rom";
        Answer(patch);
        Answer(patched);
        m_dialog->OnCommand(32777);
        QCOMPARE(m_services->fileDialogs.at(4).request.defaultFileName,
                 QStringLiteral("MGPatched.rom"));
        QCOMPARE(m_services->fileDialogs.at(4).request.filter,
                 QStringLiteral("Patched MG ROM (*.rom)|*.rom|"));
        QVERIFY(ReadAllBytes(patched) == ReadAllBytes(output));
        QCOMPARE(m_services->messages.size(), size_t(1));

        // Saving again writes the same image; the replacements are still pending.
        const auto again = WorkFolder() / "again";
        Answer(again);
        m_services->yesNoAnswers.push_back(false);
        m_dialog->OnCommand(32773);
        QVERIFY(ReadAllBytes(again) == ReadAllBytes(output));
        QCOMPARE(m_services->fileDialogs.size(), size_t(6));  // no patch dialog after No
    }

    void overlappingReplacementsAreRefusedAndNothingIsLost() {
        DoubleClick(2);
        ReplaceAt(1);
        m_folder->WriteText("work/existing.rom", "keep me");
        // 0x20000 takes 0x7F bytes, running into the replaced texture at 0x20050.
        m_state->sizeClassTable[7].replacementIndex[0] = 1;
        m_state->sizeClassTable[7].replacementClass[0] = 7;
        m_state->sizeClassTable[7].replacementSize[0] = 0x7F;
        Answer(WorkFolder() / "existing.rom");
        m_dialog->OnCommand(32773);
        QCOMPARE(m_services->messages.size(), size_t(1));
        QCOMPARE(m_services->messages[0].caption, QStringLiteral("Redo it"));
        QVERIFY(m_services->messages[0].text.startsWith(
            QStringLiteral("Bad Forcing Amount - Too Far")));
        QCOMPARE(ReadAllBytes(WorkFolder() / "existing.rom"),
                 (Bytes{'k', 'e', 'e', 'p', ' ', 'm', 'e'}));
        // No temporary file is left behind.
        int files = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(WorkFolder())) {
            ++files;
        }
        QCOMPARE(files, 2);  // the working ROM and existing.rom
    }

    void theWorkingRomCannotBeTheOutput() {
        DoubleClick(2);
        ReplaceAt(0);
        const Bytes before = ReadAllBytes(m_rom);
        Answer(m_rom);
        m_dialog->OnCommand(32773);
        QCOMPARE(m_services->messages.size(), size_t(1));
        QCOMPARE(m_services->messages[0].caption, QStringLiteral("Choose another file"));
        QVERIFY(ReadAllBytes(m_rom) == before);
    }

    void cancellingTheSaveDialogWritesNothing() {
        DoubleClick(2);
        ReplaceAt(0);
        m_services->fileAnswers.push_back(QString());
        m_dialog->OnCommand(32773);
        QCOMPARE(Messages(), QStringList());
    }

    void aBadPatchIsRefusedBeforeTheResultIsChosen() {
        const auto patch = m_folder->Write("work/bad.pat", {1, 0, 0, 0, 0, 0, 2, 0});  // cut
        Answer(patch);
        m_dialog->OnCommand(32777);
        QCOMPARE(m_services->messages.size(), size_t(1));
        QCOMPARE(m_services->fileDialogs.size(), size_t(2));  // the load's and the patch's
        QCOMPARE(m_services->fileDialogs.back().request.defaultFileName,
                 QStringLiteral("MGTexturePatch.pat"));
        QVERIFY(!m_services->fileDialogs.back().save);
    }

    void anEmptyPatchGivesACopy() {
        const auto patch = m_folder->Write("work/empty.pat", {0, 0, 0, 0});
        const auto output = WorkFolder() / "copy.rom";
        Answer(patch);
        Answer(output);
        m_dialog->OnCommand(32777);
        QCOMPARE(Messages(), QStringList());
        QVERIFY(ReadAllBytes(output) == ReadAllBytes(m_rom));
    }
};

QTEST_MAIN(MainDialogSaveTest)
#include "MainDialogSaveTest.moc"
