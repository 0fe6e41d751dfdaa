#pragma once

#include <QPoint>
#include <functional>

class ThumbnailList;

// What the texture list's user actions run. Each acts on the list's selection mark (its
// current item).
struct TextureListHandlers {
    std::function<void()> click;                    // a click
    std::function<void()> currentChanged;           // the current item changed
    std::function<void()> doubleClick;              // a double click, or Return
    std::function<void(const QPoint&)> rightClick;  // a right click at a viewport position
};

// Connects the texture list's clicks, double clicks, Return and right clicks to `handlers`.
// Clicks and double clicks on the list's empty area act on the marked item, as on the item
// itself, and leave the mark and selection as they were.
void WireTextureList(ThumbnailList* list, const TextureListHandlers& handlers);
