#pragma once

#include "app/WindowServices.h"

// Window services backed by Qt's own message boxes and file dialogs.
class QtWindowServices : public WindowServices {
public:
    void ShowMessage(QWidget* owner, const QString& text, const QString& caption) override;
    bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) override;
    int AskChoice(QWidget* owner, const QString& text, const QString& caption,
                  const QStringList& buttons) override;
    std::optional<QString> ChooseFileToOpen(QWidget* owner,
                                            const FileDialogRequest& request) override;
    std::optional<QString> ChooseFileToSave(QWidget* owner, const FileDialogRequest& request,
                                            int* chosenType = nullptr) override;
    int RunModal(QDialog& dialog) override;
    void RunPopupMenu(QMenu& menu, const QPoint& screenPosition) override;
    std::unique_ptr<ProgressDialogService> OpenProgress(QWidget* owner, const QString& text,
                                                        const QString& caption) override;
};
