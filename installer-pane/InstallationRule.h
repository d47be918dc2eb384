#ifndef PATHWARDEN_INSTALLATIONRULE_H
#define PATHWARDEN_INSTALLATIONRULE_H

#include <QString>

class Bundle;

// What to look for, from the "Application Rule" dictionary of the package's
// "InstallScript" resource. Absent keys stay null.
class InstallationRule
{
public:
    // False when the package has no rule or its rule is not a dictionary.
    bool isValid = false;
    QString bundleNameRegex;
    QString infoPlistPredicate;
    QString scriptName;
    QString vpdEntryRegex;

    static InstallationRule fromPackage(const Bundle &package);
};

#endif // PATHWARDEN_INSTALLATIONRULE_H
