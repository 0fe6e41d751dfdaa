#pragma once

#include <functional>

class Editor;
class QWidget;
class WindowServices;

// Whether the window may end: without replacements that Save New ROM has not written, at once;
// otherwise the user chooses to save them (`save` runs Save New ROM and says whether it wrote
// the new ROM), to discard them, or to cancel and keep everything as it is.
bool AskBeforeEnding(QWidget* window, const Editor& editor, WindowServices& services,
                     const std::function<bool()>& save);
