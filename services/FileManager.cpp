#include "services/FileManager.h"

#include <QDir>
#include <QStandardPaths>

namespace Velmar {

QString FileManager::getSystemAppDataPath()
{
    // The user's own writable folder comes first; the entries after it are
    // shared by every user of the machine.
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString &folder : folders) {
        if (folder.isEmpty() || folder == userFolder)
            continue;
        return QDir().mkpath(folder) ? folder : QString();
    }
    return QString();
}

QString FileManager::getPluginAppDataPath()
{
    return pluginAppDataPathIn(getSystemAppDataPath());
}

QString FileManager::pluginAppDataPathIn(const QString &systemAppDataPath)
{
    // One arg() call: a folder name holding "%2" must not be filled again.
    return QStringLiteral("%1%2Tavo Rindel%2Hueform%2SQLite").arg(systemAppDataPath, QString(QDir::separator()));
}

} // namespace Velmar
