#ifndef PATHWARDEN_SYSTEMPATHS_H
#define PATHWARDEN_SYSTEMPATHS_H

#include <QString>

// Where the machine keeps the system programs and files that an installer
// pane reads, and the folder for scripts handed to the package. The
// defaults are the system's own places; tests and the driver program point
// them at fake programs and temporary folders.
class SystemPaths
{
public:
    QString systemProfiler = QStringLiteral("/usr/sbin/system_profiler");
    QString lsregister = QStringLiteral(
        "/System/Library/Frameworks/CoreServices.framework/Frameworks/LaunchServices.framework/Support/lsregister");
    QString vpdFile = QStringLiteral("/Applications/.vpd.properties");
    QString systemVersionFile = QStringLiteral("/System/Library/CoreServices/SystemVersion.plist");
    QString scriptFolder = QStringLiteral("/tmp");
};

#endif // PATHWARDEN_SYSTEMPATHS_H
