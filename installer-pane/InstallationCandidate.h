#ifndef PATHWARDEN_INSTALLATIONCANDIDATE_H
#define PATHWARDEN_INSTALLATIONCANDIDATE_H

#include <QString>

// A folder that may hold the application, with the name of the bundle found
// in it (a path relative to the folder).
class InstallationCandidate
{
public:
    QString folder;
    QString bundleName;

    bool operator==(const InstallationCandidate &other) const
    {
        return folder == other.folder && bundleName == other.bundleName;
    }
};

#endif // PATHWARDEN_INSTALLATIONCANDIDATE_H
