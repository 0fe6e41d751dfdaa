#pragma once

#include <QDialog>

class QIcon;

// The About box: the program's name, date and credits, and an OK button.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    AboutDialog(const QIcon& icon, QWidget* parent = nullptr);
};
