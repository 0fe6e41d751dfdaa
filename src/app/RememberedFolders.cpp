#include "app/RememberedFolders.h"

#include <QFileInfo>
#include <QSettings>

#include "app/WindowServices.h"

namespace {

QString Key(const FileDialogRequest& request) {
    return QStringLiteral("folders/") + request.defaultExtension;
}

}  // namespace

QString RememberedFolder(const FileDialogRequest& request) {
    const QString folder = QSettings().value(Key(request)).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

void RememberFolder(const FileDialogRequest& request, const QString& chosenFile) {
    QSettings().setValue(Key(request), QFileInfo(chosenFile).absolutePath());
}
