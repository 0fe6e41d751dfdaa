#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>
#include <memory>

#include "app/MainWindowBuilder.h"

class Editor;
class ReplaceHistory;
class OutputCommands;
class WindowServices;
class ZoomMenu;
struct WindowText;

// The editor's one window: it reads its controls, asks the window services for files and
// answers, runs the editor's commands, and shows what they return.
class MainDialog : public QDialog {
    Q_OBJECT

public:
    MainDialog(Editor& editor, WindowServices& services, QWidget* parent = nullptr);
    ~MainDialog() override;

    // Load ROM with `rom` chosen already (dropped or named on the command line).
    void LoadRomFile(const QString& rom);

    // Routes a command identifier (menu item, button or system-menu item) to its handler.
    // Identifiers without a handler are ignored.
    void OnCommand(int commandId);

    // The texture list's selection mark: the item commands act on, or -1 for none.
    int SelectionMark() const;
    void SetSelectionMark(int item);

    // The forced-size field's value after initialisation and after each load, in bytes.
    static constexpr unsigned DEFAULT_FORCED_SIZE = 2482;

    // Ends the dialog as Escape does, unless unsaved replacements keep it open.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Copies every bound control into its field, and every field into its control.
    void ReadControls();
    void WriteControls();
    void ShowText(const WindowText& text);

    // Handlers.
    void LoadRom();
    void ShowTextureInfo();
    void ShowTextureMenu(const QPoint& position);
    void ShowPreviewMenu(const QPoint& position);
    void ShowReplacementPreview();
    void ChooseReplacementSource();
    void ReplaceTexture();
    void InsertUserImage();
    void RefillTextureList();
    void SwitchImageSize();
    void OnSizeClassChanged();
    void ApplyZoom();
    void EndWithOk();
    void ShowAboutDialog();
    void SaveNewRom();
    void ApplyPatch();
    bool MayEnd();
    void BuildCatalogue();  // CatalogueBuildFlow.cpp
    void ExportTexture();   // ExportTextureFlow.cpp

    Editor& m_editor;
    WindowServices& m_services;
    QIcon m_icon;
    MainControls m_controls;
    ZoomMenu* m_zoom = nullptr;

    // Fields bound to controls.
    QString m_statusText;       // 1004: title, usage hint or the selected texture's summary
    QString m_replacementText;  // 1005: label under the replacement preview
    bool m_forceSize = false;   // 1007: "Force Size?" state
    QString m_forcedSizeText;   // 1006: forced size in hexadecimal, at most 3 characters
    QString m_descriptionText;  // 1008: description line or texture count
    QString m_filterText;       // 1009: description filter

    // Set while the program itself moves the selection mark.
    bool m_movingSelectionMark = false;
    // Set once the user agreed to end with replacements unsaved.
    bool m_endAgreed = false;
    std::unique_ptr<ReplaceHistory> m_history;
    std::unique_ptr<OutputCommands> m_output;
};
