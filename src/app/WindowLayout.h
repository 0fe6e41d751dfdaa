#pragma once

class QWidget;

// Lets the main window's panel grow beyond its designed size: the texture list takes the extra
// width and height, the controls to its right keep to the right edge, and the lines below it
// keep to the bottom edge and widen with the window. At the designed size every control stays
// where it was built. Word-wrapped labels (the preview caption) take the lines their text needs.
// Call once every control of `panel` is built at its designed place; the panel's current size
// becomes its minimum.
void MakePanelResizable(QWidget* panel, QWidget* textureList);
