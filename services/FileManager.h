#ifndef VELMAR_FILEMANAGER_H
#define VELMAR_FILEMANAGER_H

#include <QString>

namespace Velmar {

// The folders the plug-in reads from: the machine-wide application-data
// folder and, below it, the folder in which collection files are looked for.
class FileManager
{
public:
    // The first shared data folder that lies outside the user's home and
    // exists or can be created; empty when there is none.
    static QString getSystemAppDataPath();
    // The collection lookup folder below the machine-wide folder.
    static QString getPluginAppDataPath();
    // The lookup folder below any given application-data folder.
    static QString pluginAppDataPathIn(const QString &systemAppDataPath);

private:
    FileManager() = default;

    // Whether the path is the folder or lies below it, compared by whole
    // folder names, as written and with symbolic links resolved.
    static bool liesInside(const QString &path, const QString &folder);
};

} // namespace Velmar

#endif // VELMAR_FILEMANAGER_H
