#pragma once

#include <string>

class Editor;
class ThumbnailList;

// What the texture list tells of each tile besides its picture: a tooltip with the entry's
// offset, size class, room, description and pending replacement, and a mark under tiles whose
// replacement is pending (their picture is already the replacement's).

// Lets `list` draw the marks; done once, before items are placed, as a new delegate lays the
// items out afresh.
void InstallPendingMarks(ThumbnailList* list);
// Gives every tile of `list`, which shows class `sizeClass`, its tooltip and mark.
void ShowTileTips(ThumbnailList* list, const Editor& editor, int sizeClass);

// The status bar's line for a clicked entry: what is pending for it, or empty when nothing is.
std::string PendingInfo(const Editor& editor, int sizeClass, int entry);
