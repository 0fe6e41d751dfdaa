#pragma once

#include <QString>
#include <functional>
#include <string>

class Editor;
class ThumbnailList;

// What the texture list tells of each tile besides its picture: a tooltip with the entry's
// offset, size class, room, description and pending replacement, and a mark under tiles whose
// replacement is pending (their picture is already the replacement's).

// Lets `list` draw the marks and show the tooltips of the class `shownClass` gives; done once,
// before items are placed, as a new delegate lays the items out afresh. Both are worked out
// when a tile is drawn or hovered, so that filling a list of a thousand tiles costs nothing more.
void InstallTileFacts(ThumbnailList* list, const Editor& editor, std::function<int()> shownClass);
// The tooltip of entry `entry` of class `sizeClass`.
QString TileTip(const Editor& editor, int sizeClass, int entry);

// The status bar's line for a clicked entry: what is pending for it, or empty when nothing is.
std::string PendingInfo(const Editor& editor, int sizeClass, int entry);
