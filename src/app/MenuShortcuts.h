#pragma once

#include <QKeySequence>

// The key that triggers menu command `command` from anywhere in the main window, shown beside
// its menu item; empty for commands without one.
QKeySequence MenuShortcut(int command);
