#pragma once

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <filesystem>
#include <memory>

#include "ScriptedWindowServices.h"
#include "TestCatalogue.h"
#include "app/EditorState.h"
#include "app/MainDialog.h"

// The main window on a temporary installation: a program folder for the catalogue, a work folder
// that is the current folder while a test runs, and scripted window services. Window tests
// derive from it next to QObject and call SetUpHarness and TearDownHarness from init and cleanup.
class DialogHarness {
protected:
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<TestCatalogue> m_catalogue;
    std::unique_ptr<EditorState> m_state;
    std::unique_ptr<ScriptedWindowServices> m_services;
    std::unique_ptr<MainDialog> m_dialog;
    QString m_previousFolder;

    void SetUpHarness() {
        m_folder = std::make_unique<TempFolder>();
        m_catalogue = std::make_unique<TestCatalogue>(*m_folder);
        std::filesystem::create_directories(WorkFolder());
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(WorkFolder().string()));
        m_state = std::make_unique<EditorState>();
        m_state->programFolder = m_catalogue->ProgramFolder();
        m_services = std::make_unique<ScriptedWindowServices>();
        m_dialog = std::make_unique<MainDialog>(*m_state, *m_services);
    }
    // Ends the test's window; returns the dialogs a test left unanswered (expected empty).
    QStringList TearDownHarness() {
        m_dialog.reset();
        const QStringList unexpected = m_services->unexpected;
        QDir::setCurrent(m_previousFolder);
        m_folder.reset();
        return unexpected;
    }

    template <typename T>
    T* Control(int id) {
        return m_dialog->findChild<T*>(QString::number(id));
    }
    QListWidget* List() { return Control<QListWidget>(1000); }
    QString Status() { return Control<QLabel>(1004)->text(); }
    QString Description() { return Control<QLabel>(1008)->text(); }
    std::filesystem::path WorkFolder() const { return *m_folder / "work"; }
    const SizeClassRecord& Record(int sizeClass) { return m_state->sizeClassTable[sizeClass]; }

    // Load ROM with the file dialog answered by `rom`.
    void Load(const std::filesystem::path& rom) {
        m_services->fileAnswers.push_back(QString::fromStdString(rom.string()));
        m_dialog->OnCommand(32771);
    }
    // The user picks a row of the size-class combo box.
    void ChooseClass(int sizeClass) {
        QComboBox* combo = Control<QComboBox>(1003);
        combo->setCurrentIndex(sizeClass);
        emit combo->activated(sizeClass);
    }
    // The user's mouse on item `item` of the texture list.
    QPoint ItemCentre(int item) { return List()->visualItemRect(List()->item(item)).center(); }
    void Click(int item) {
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, ItemCentre(item));
    }
    void DoubleClick(int item) {
        Click(item);
        QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, ItemCentre(item));
    }
    // Selects the target and chooses Replace from its context menu.
    void ReplaceAt(int item) {
        Click(item);
        m_services->menuAnswers.push_back(QStringLiteral("Replace"));
        emit List()->customContextMenuRequested(ItemCentre(item));
    }

    // Every message shown so far, as "text / caption".
    QStringList Messages() const {
        QStringList texts;
        for (const auto& message : m_services->messages) {
            texts << message.text + QStringLiteral(" / ") + message.caption;
        }
        return texts;
    }
};
