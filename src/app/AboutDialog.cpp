#include "app/AboutDialog.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "app/DialogFont.h"
#include "app/DialogTemplate.h"

AboutDialog::AboutDialog(const QIcon& icon, QWidget* parent) : QDialog(parent) {
    const DialogTemplate& dialogTemplate = AboutDialogTemplate();
    setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    setFont(DialogFont(font()));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    const DialogRect size =
        DialogUnitsToPixels({0, 0, dialogTemplate.widthUnits, dialogTemplate.heightUnits});
    setFixedSize(size.width, size.height);

    for (const ControlTemplate& control : dialogTemplate.controls) {
        const DialogRect pixels = DialogUnitsToPixels(control.units);
        const QRect geometry(pixels.x, pixels.y, pixels.width, pixels.height);
        QWidget* widget = nullptr;
        if (control.kind == ControlKind::DefaultPushButton) {
            auto* button = new QPushButton(QString::fromUtf8(control.text), this);
            button->setDefault(true);
            connect(button, &QPushButton::clicked, this, &QDialog::accept);
            widget = button;
        } else if (control.kind == ControlKind::Icon) {
            auto* picture = new QLabel(this);
            picture->setPixmap(icon.pixmap(geometry.size()));
            widget = picture;
        } else {
            auto* label = new QLabel(QString::fromUtf8(control.text), this);
            label->setWordWrap(true);
            widget = label;
        }
        if (control.id != ids::STATIC) {
            widget->setObjectName(QString::number(control.id));
        }
        widget->setGeometry(geometry);
    }
}
