#include "services/FileManager.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Velmar {

QString FileManager::getSystemAppDataPath()
{
    // The user's own writable folder comes first. Desktops may list folders
    // of per-user packages below the home next; the entries outside it are
    // shared by every user of the machine. Nothing is made inside the home.
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    const QString home = QDir::homePath();
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    for (const QString &folder : folders) {
        if (folder.isEmpty() || folder == userFolder || liesInside(folder, home))
            continue;
        if (QDir().mkpath(folder))
            return folder;
    }
    return QString();
}

bool FileManager::liesInside(const QString &path, const QString &folder)
{
    // By whole folder names: "/home/user2" does not lie inside "/home/u".
    // The root folder holds everything and so tells nothing apart.
    const auto within = [](const QString &inner, const QString &outer) {
        if (inner.isEmpty() || outer.isEmpty() || outer == QLatin1String("/"))
            return false;
        return inner == outer || inner.startsWith(outer + QLatin1Char('/'));
    };
    if (within(QDir::cleanPath(path), QDir::cleanPath(folder)))
        return true;
    // Reached through a symbolic link, or the home through one: the nearest
    // part of the path that exists, resolved.
    QString existing = QDir::cleanPath(path);
    while (!existing.isEmpty() && !QFileInfo::exists(existing) && existing != QLatin1String("/"))
        existing = QFileInfo(existing).path();
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    const QString canonicalExisting = QFileInfo(existing).canonicalFilePath();
    return within(canonicalExisting, canonicalFolder);
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
