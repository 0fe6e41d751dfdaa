#pragma once

#include <QString>

struct FileDialogRequest;

// The file dialogs remember, between runs, the folder of the last file chosen in a dialog of
// each kind (told by its default extension: ROMs, patches, images). The folders are all the
// editor stores; they live in the application's settings (QSettings, named by the application
// object's organisation and application names).

// The folder a dialog of `request`'s kind last chose from; empty when none is known or it is
// gone.
QString RememberedFolder(const FileDialogRequest& request);

// Remembers the folder of `chosenFile` for dialogs of `request`'s kind.
void RememberFolder(const FileDialogRequest& request, const QString& chosenFile);
