#ifndef PATHWARDEN_INSTALLATIONSEARCH_H
#define PATHWARDEN_INSTALLATIONSEARCH_H

#include "InstallationCandidate.h"
#include "InstallationSearchResult.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class Bundle;
class SystemPaths;
class TaskStopper;

// Finds installations of the host application by the package's rule. The
// candidates come from the first of three sources that yields any: the VPD
// file, the applications report of system_profiler, and the LaunchServices
// dump; each must then hold a bundle whose Info.plist satisfies the rule's
// predicate. Touches no widget, so it can run on any thread.
class InstallationSearch
{
public:
    // The whole search. Nothing escapes it: failures are logged and give
    // fewer candidates. Once stopper (when given) is stopped, the program
    // running is ended and the search returns without candidates.
    static InstallationSearchResult run(const Bundle &package, const SystemPaths &paths,
                                        const TaskStopper *stopper = nullptr);

    // "13.1.2" as 13 * 2^48 + 1 * 2^32 + 2 * 2^16: four 16-bit parts, missing
    // ones 0, extra ones dropped, a part that is no number 0. A part above
    // 65535 is not masked and carries into the part before.
    static quint64 packedVersion(const QString &version);
    // Program output and the VPD file as text lines: UTF-8, split at every
    // newline character.
    static QStringList textLines(const QByteArray &bytes);

    // Source 1: the installation folders named by the VPD lines that match
    // vpdEntryRegex (its capture group 1).
    static QStringList vpdFolders(const QStringList &lines, const QString &vpdEntryRegex);
    // The first path below folder, relative to it, that matches
    // bundleNameRegex; folders are walked depth first, entries in name
    // order, without following links. Null when none matches, or when
    // stopper is stopped during the walk.
    static QString firstBundleBelow(const QString &folder, const QString &bundleNameRegex,
                                    const TaskStopper *stopper = nullptr);
    static QList<InstallationCandidate> vpdCandidates(const QString &vpdFile, const QString &vpdEntryRegex,
                                                      const QString &bundleNameRegex,
                                                      const TaskStopper *stopper = nullptr);
    // Source 2: the Location lines of the applications report.
    static QList<InstallationCandidate> systemProfilerCandidates(const QStringList &lines,
                                                                 const QString &bundleNameRegex);
    // Source 3: the path lines inside bundle records of the dump.
    static QList<InstallationCandidate> lsregisterCandidates(const QStringList &lines, const QString &bundleNameRegex);

    // info with its version texts replaced by their packed numbers.
    static QVariantMap comparableInfo(const QVariantMap &info);
    // Whether the candidate holds a bundle that satisfies predicateFormat;
    // raises InstallerException for a predicate that cannot be used or an
    // Info.plist that cannot be read.
    static bool satisfiesRule(const InstallationCandidate &candidate, const QString &predicateFormat);
    // The candidates that pass; each one dropped for an error is logged.
    static QList<InstallationCandidate> filter(QList<InstallationCandidate> candidates, const QString &predicateFormat);
    // The candidates for which passes returns true. A candidate whose check
    // fails in any way, whatever it throws, is logged and dropped.
    static QList<InstallationCandidate> filter(QList<InstallationCandidate> candidates,
                                               const std::function<bool(const InstallationCandidate &)> &passes);

private:
    InstallationSearch() = default;
};

#endif // PATHWARDEN_INSTALLATIONSEARCH_H
