#pragma once

#include <QStringList>
#include <optional>

// The editor's command line: "MGROMImageEditor [ROM]". Returns the ROM to load at start, if one
// is named. --help prints the usage and ends the process, as an unknown option does with an
// error.
std::optional<QString> RomFromCommandLine(const QStringList& arguments);
