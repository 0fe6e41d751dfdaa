#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>
#include <cstdint>
#include <optional>
#include <span>

#include "app/DialogTemplate.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class ThumbnailList;
struct EditorState;
struct PopupTemplate;
struct RomMessage;
class WindowServices;

// The editor's one window. It owns the window's fields, builds every control of its template,
// and routes each menu command and control notification to its handler. Handlers gather input
// through the window services and work on the shared EditorState.
class MainDialog : public QDialog {
    Q_OBJECT

public:
    MainDialog(EditorState& state, WindowServices& services, QWidget* parent = nullptr);
    ~MainDialog() override;

    // Routes a command identifier (menu item, button or system-menu item) to its handler.
    // Identifiers without a handler are ignored.
    void OnCommand(int commandId);

    // Builds the first pop-up of menu `menuId` (4 or 132), its items routed like the menu bar's.
    // The caller owns the menu.
    QMenu* CreatePopupMenu(int menuId);

    // Copies every bound control into its field, and every field into its control.
    void ReadControls();
    void WriteControls();

    // The texture list's selection mark: the item commands act on, or -1 for none.
    int SelectionMark() const;
    void SetSelectionMark(int item);

    // Top-left pixel position of thumbnail `item` in the texture list: rows of
    // 400 / (width + 8) + 1 thumbnails, spaced width + 7 and height + 7 apart from (24, 4).
    static QPoint ThumbnailPosition(int item, QSize thumbnail);

    // The forced-size field's value after initialisation and after each load, in bytes.
    static constexpr unsigned DEFAULT_FORCED_SIZE = 2482;

    // Fields bound to controls.
    QString m_statusText;       // 1004: title, usage hint or the selected texture's summary
    QString m_replacementText;  // 1005: label under the replacement preview
    bool m_forceSize = false;   // 1007: "Force Size?" state
    QString m_forcedSizeText;   // 1006: forced size in hexadecimal, at most 3 characters
    QString m_descriptionText;  // 1008: description line or texture count
    QString m_filterText;       // 1009: description filter

    // Bound controls.
    ThumbnailList* m_textureList = nullptr;  // 1000
    QComboBox* m_sizeCombo = nullptr;        // 1003
    ThumbnailList* m_previewList = nullptr;  // 1002
    QCheckBox* m_forceSizeButton = nullptr;

    QIcon m_icon;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void OnInitDialog();
    void BuildControls(QWidget* panel);
    void ConnectLists();
    void BuildMenuBar(QMenuBar* menuBar);
    void AddMenuItems(QMenu* menu, const PopupTemplate& popup);
    void BuildSystemMenuSubstitute(QWidget* panel);
    void ShowMessage(const char* text, const char* caption);

    // "%u Textures Found!" for the selected class.
    QString TextureCountText() const;

    // What the window shows of a game texture: its offset, its room and its palette byte
    // (absent when the ROM cannot be read there).
    struct AvailableRoomResult {
        std::uint32_t offset;
        std::uint32_t room;
        std::optional<std::uint8_t> paletteByte;
    };
    AvailableRoomResult GetAvailableRoom(int sizeClass, int entry) const;

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
    void EndWithOk();
    void WritePatchFor(std::span<const std::uint8_t> newSwapped);
    void ShowRomMessage(const RomMessage& message);
    void ShowAboutDialog();
    void SaveNewRom();
    void ApplyPatch();

    EditorState& m_state;
    WindowServices& m_services;

    QLabel* m_statusLabel = nullptr;
    QLabel* m_replacementLabel = nullptr;
    QLabel* m_descriptionLabel = nullptr;
    QLineEdit* m_forcedSizeEdit = nullptr;
    QLineEdit* m_filterEdit = nullptr;
    // Set while the program itself moves the selection mark.
    bool m_movingSelectionMark = false;
};
