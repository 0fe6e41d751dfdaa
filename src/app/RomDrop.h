#pragma once

#include <QString>
#include <functional>
#include <optional>

class QMimeData;
class QWidget;

// The local file that dropped `data` names (the first, when it names several); nullopt when it
// names none.
std::optional<QString> DroppedFile(const QMimeData& data);

// Lets the user drop a file onto `window`, its edit fields included; `load` then runs with the
// file's path.
void AcceptRomDrops(QWidget* window, std::function<void(const QString&)> load);
