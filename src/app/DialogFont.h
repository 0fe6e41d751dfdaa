#pragma once

#include <QFont>

// The dialogs were laid out for an 8-point font; a larger system font would clip their labels.
inline QFont DialogFont(QFont font) {
    font.setPointSize(8);
    return font;
}
