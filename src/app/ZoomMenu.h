#pragma once

#include <QObject>
#include <functional>

class QMenuBar;

// View > Zoom: the texture list's thumbnails drawn at 1, 2 or 4 times their size, pixels
// repeated; 1 is the listing as designed and the choice at start.
class ZoomMenu : public QObject {
public:
    // Adds the View menu before the last menu of `menuBar` (Help); `changed` runs after each
    // change of the factor.
    ZoomMenu(QMenuBar* menuBar, std::function<void()> changed);

    // The chosen factor: 1, 2 or 4.
    int Factor() const { return m_factor; }

private:
    int m_factor = 1;
};
