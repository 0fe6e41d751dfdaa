#pragma once

#include <QSize>

class QWidget;

// A panel for the main window's controls, `design` pixels large, which the window opens at.
QWidget* NewDesignPanel(QWidget* parent, QSize design);

// Lets the main window's panel grow beyond its designed size: the texture list takes the extra
// width and height, the controls to its right keep to the right edge, and the lines below it
// keep to the bottom edge and widen with the window. For small screens the panel may also be
// narrower than designed, down to a list 256 pixels wide. At the designed size every control
// stays where it was built. Word-wrapped labels (the preview caption) take the lines their text
// needs. Call once every control of `panel` is built at its designed place (the panel's size).
void MakePanelResizable(QWidget* panel, QWidget* textureList);
