#pragma once

#include <QPoint>
#include <QSize>

class ThumbnailList;

// The texture list's grid: rows of rowWidth / (width + 8) + 1 thumbnails, spaced width + 7 and
// height + 7 apart from (24, 4). At the window's designed size the row width is 400 pixels; a
// wider list lends its extra width to the rows (a narrower one takes it from them), so the same
// rule fills it.
inline constexpr int DESIGN_ROW_WIDTH = 400;

// Top-left pixel position of thumbnail `item` in the list.
QPoint ThumbnailPosition(int item, QSize thumbnail, int rowWidth = DESIGN_ROW_WIDTH);

// The row width for a texture list `listWidth` pixels wide.
int GridRowWidth(int listWidth);

// Places every item of the texture list `list` on the grid for its current width, its
// thumbnails being its icon size.
void ReflowGrid(ThumbnailList* list);

// Reflows `list` whenever a resize changes its row width.
void KeepGridReflowed(ThumbnailList* list);
