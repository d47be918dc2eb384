#ifndef PATHWARDEN_INSTALLATIONSEARCHRESULT_H
#define PATHWARDEN_INSTALLATIONSEARCHRESULT_H

#include "InstallationCandidate.h"
#include "InstallationRule.h"

#include <QList>

// What one search produced: the rule it followed and the installations
// that passed the rule, in list order.
class InstallationSearchResult
{
public:
    InstallationRule rule;
    QList<InstallationCandidate> candidates;
};

#endif // PATHWARDEN_INSTALLATIONSEARCHRESULT_H
