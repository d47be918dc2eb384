#ifndef VELMAR_FILEMANAGER_H
#define VELMAR_FILEMANAGER_H

#include <QString>

namespace Velmar {

// The folders the plug-in reads from: the machine-wide application-data
// folder and, below it, the folder in which collection files are looked for.
class FileManager
{
public:
    // The first machine-wide data folder after the user's own one, created
    // when missing; empty when it cannot be had.
    static QString getSystemAppDataPath();
    // The collection lookup folder below the machine-wide folder.
    static QString getPluginAppDataPath();
    // The lookup folder below any given application-data folder.
    static QString pluginAppDataPathIn(const QString &systemAppDataPath);

private:
    FileManager() = default;
};

} // namespace Velmar

#endif // VELMAR_FILEMANAGER_H
