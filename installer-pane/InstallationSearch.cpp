#include "InstallationSearch.h"

#include "Bundle.h"
#include "InstallerException.h"
#include "NTSynchronousTask.h"
#include "PathwardenConstants.h"
#include "Predicate.h"
#include "RegularExpression.h"
#include "RegularFile.h"
#include "SystemLog.h"
#include "SystemPaths.h"
#include "TaskStopper.h"

#include <QDir>
#include <QFileInfo>

#include <functional>

namespace {

const QString LsregisterSeparator = QStringLiteral("^\\s*----------.+$");
const QString LsregisterBundleId = QStringLiteral("^\\s*bundle\\s*id\\:\\s*.+$");

// Runs one source; an exception from it is logged and ends only that source.
void trySource(QList<InstallationCandidate> &candidates, const std::function<QList<InstallationCandidate>()> &source)
{
    try {
        candidates += source();
    } catch (const InstallerException &exception) {
        SystemLog::log(exception.description());
    }
}

// The search's own last resort: a log that fails here too is ignored, as
// nothing may leave the search.
void logLastWords(const QString &message) noexcept
{
    try {
        SystemLog::log(message);
    } catch (...) {
    }
}

bool stopped(const TaskStopper *stopper)
{
    return stopper && stopper->isStopped();
}

QString walk(const QString &root, const QString &relative, const QString &pattern, const TaskStopper *stopper)
{
    const QDir dir(relative.isEmpty() ? root : root + QLatin1Char('/') + relative);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (stopped(stopper))
            return QString();
        const QString path = relative.isEmpty() ? entry.fileName() : relative + QLatin1Char('/') + entry.fileName();
        if (RegularExpression::matches(pattern, path))
            return path;
        if (entry.isDir() && !entry.isSymLink()) {
            const QString found = walk(root, path, pattern, stopper);
            if (!found.isNull())
                return found;
        }
    }
    return QString();
}

// The tool's output when it ends well; a tool ended early is logged, as
// its output is cut short.
std::optional<QByteArray> runTool(const QString &tool, const QString &argument, const TaskStopper *stopper)
{
    if (tool.isEmpty())
        return std::nullopt;
    std::optional<QByteArray> output;
    const int status = NTSynchronousTask::task(tool, QString(), {argument}, std::nullopt, &output, stopper);
    if (status == NTSynchronousTask::StoppedStatus)
        SystemLog::log(QStringLiteral("%1 was stopped before it ended").arg(tool));
    else if (status == NTSynchronousTask::OutputTooLargeStatus)
        SystemLog::log(QStringLiteral("%1 printed more than %2 bytes and was stopped; its output is not used")
                           .arg(tool)
                           .arg(NTSynchronousTask::DefaultOutputLimit));
    if (status != 0)
        return std::nullopt;
    return output;
}

} // namespace

quint64 InstallationSearch::packedVersion(const QString &version)
{
    QStringList parts = version.split(QLatin1Char('.'));
    while (parts.size() < 4)
        parts.append(QStringLiteral("0"));
    quint64 packed = 0;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const qint64 part = parts.at(i).trimmed().toLongLong(&ok);
        // Unsigned arithmetic: a part of 65536 or more carries into the part
        // before, as it always has.
        packed = packed * 65536u + (ok ? quint64(part) : 0u);
    }
    return packed;
}

QStringList InstallationSearch::textLines(const QByteArray &bytes)
{
    QString text = QString::fromUtf8(bytes);
    for (const QChar newline : {QChar(u'\r'), QChar(0x0085), QChar(0x2028), QChar(0x2029)})
        text.replace(newline, QLatin1Char('\n'));
    return text.split(QLatin1Char('\n'));
}

QStringList InstallationSearch::vpdFolders(const QStringList &lines, const QString &vpdEntryRegex)
{
    QStringList folders;
    for (const QString &line : lines) {
        if (!RegularExpression::matches(vpdEntryRegex, line))
            continue;
        const QString folder = RegularExpression::firstMatchGroup(vpdEntryRegex, line, 1);
        if (!folder.isEmpty())
            folders.append(folder);
    }
    return folders;
}

QString InstallationSearch::firstBundleBelow(const QString &folder, const QString &bundleNameRegex,
                                             const TaskStopper *stopper)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return QString();
    return walk(folder, QString(), bundleNameRegex, stopper);
}

QList<InstallationCandidate> InstallationSearch::vpdCandidates(const QString &vpdFile, const QString &vpdEntryRegex,
                                                               const QString &bundleNameRegex,
                                                               const TaskStopper *stopper)
{
    QList<InstallationCandidate> candidates;
    if (vpdEntryRegex.isNull())
        return candidates;
    const std::optional<QByteArray> bytes = RegularFile::read(vpdFile);
    if (!bytes)
        return candidates;
    for (const QString &folder : vpdFolders(textLines(*bytes), vpdEntryRegex)) {
        const QString bundleName = firstBundleBelow(folder, bundleNameRegex, stopper);
        if (!bundleName.isNull())
            candidates.append({folder, bundleName});
    }
    return candidates;
}

QList<InstallationCandidate> InstallationSearch::systemProfilerCandidates(const QStringList &lines,
                                                                          const QString &bundleNameRegex)
{
    // The "?" after the bundle pattern is how rule files have always been
    // matched; it stays.
    const QString pattern = QStringLiteral("^\\s*Location\\:\\s+(.+)/(") + bundleNameRegex + QStringLiteral("?)$");
    QList<InstallationCandidate> candidates;
    for (const QString &line : lines) {
        if (RegularExpression::matches(pattern, line))
            candidates.append({RegularExpression::firstMatchGroup(pattern, line, 1),
                               RegularExpression::firstMatchGroup(pattern, line, 2)});
    }
    return candidates;
}

QList<InstallationCandidate> InstallationSearch::lsregisterCandidates(const QStringList &lines,
                                                                      const QString &bundleNameRegex)
{
    const QString pathPattern = QStringLiteral("^\\s+path\\:\\s*(.+)/(") + bundleNameRegex + QStringLiteral(")/?$");
    QList<InstallationCandidate> candidates;
    bool insideBundleRecord = false;
    for (const QString &line : lines) {
        if (RegularExpression::matches(LsregisterSeparator, line)) {
            insideBundleRecord = false;
        } else if (RegularExpression::matches(LsregisterBundleId, line)) {
            insideBundleRecord = true;
        } else if (insideBundleRecord && RegularExpression::matches(pathPattern, line)) {
            candidates.append({RegularExpression::firstMatchGroup(pathPattern, line, 1),
                               RegularExpression::firstMatchGroup(pathPattern, line, 2)});
        }
    }
    return candidates;
}

QVariantMap InstallationSearch::comparableInfo(const QVariantMap &info)
{
    QVariantMap comparable = info;
    for (const QString &key : {PWTInfoPlist_CFBundleShortVersionString, PWTInfoPlist_CFBundleVersion}) {
        const auto found = comparable.find(key);
        if (found != comparable.end() && found.value().typeId() == QMetaType::QString)
            found.value() = QVariant::fromValue<quint64>(packedVersion(found.value().toString()));
    }
    return comparable;
}

bool InstallationSearch::satisfiesRule(const InstallationCandidate &candidate, const QString &predicateFormat)
{
    const Bundle bundle = Bundle::bundleWithPath(candidate.folder + QLatin1Char('/') + candidate.bundleName);
    if (!bundle.isValid())
        return false;
    // An Info.plist that cannot be read is not an empty one: the bundle
    // cannot be tested, so it does not pass.
    QString error;
    const QVariantMap info = bundle.infoDictionary(&error);
    if (!error.isEmpty())
        throw InstallerException(QStringLiteral("NSInvalidArgumentException"), error);
    const Predicate predicate = Predicate::predicateWithFormat(predicateFormat);
    return predicate.evaluateWithObject(comparableInfo(info));
}

QList<InstallationCandidate> InstallationSearch::filter(QList<InstallationCandidate> candidates,
                                                        const QString &predicateFormat)
{
    return filter(std::move(candidates), [&predicateFormat](const InstallationCandidate &candidate) {
        return satisfiesRule(candidate, predicateFormat);
    });
}

QList<InstallationCandidate> InstallationSearch::filter(QList<InstallationCandidate> candidates,
                                                        const std::function<bool(const InstallationCandidate &)> &passes)
{
    // From the last to the first, so that a removal moves none still to come.
    for (qsizetype i = candidates.size() - 1; i >= 0; --i) {
        bool keep = false;
        try {
            keep = passes(candidates.at(i));
        } catch (const InstallerException &exception) {
            SystemLog::log(exception.description());
        } catch (const std::exception &exception) {
            SystemLog::log(QStringLiteral("Dropped %1: %2").arg(candidates.at(i).folder, QString::fromUtf8(exception.what())));
        } catch (...) {
            SystemLog::log(QStringLiteral("Dropped %1: unknown exception").arg(candidates.at(i).folder));
        }
        if (!keep)
            candidates.removeAt(i);
    }
    return candidates;
}

InstallationSearchResult InstallationSearch::run(const Bundle &package, const SystemPaths &paths,
                                                 const TaskStopper *stopper)
{
    InstallationSearchResult result;
    try {
        result.rule = InstallationRule::fromPackage(package);
        if (!result.rule.isValid)
            return result;
        const InstallationRule &rule = result.rule;
        QList<InstallationCandidate> candidates;

        trySource(candidates, [&] {
            return vpdCandidates(paths.vpdFile, rule.vpdEntryRegex, rule.bundleNameRegex, stopper);
        });
        if (candidates.isEmpty() && !stopped(stopper)) {
            trySource(candidates, [&] {
                const std::optional<QByteArray> output =
                    runTool(paths.systemProfiler, PWT_SystemProfilerApplicationsDataType, stopper);
                return output ? systemProfilerCandidates(textLines(*output), rule.bundleNameRegex)
                              : QList<InstallationCandidate>();
            });
        }
        if (candidates.isEmpty() && !stopped(stopper)) {
            trySource(candidates, [&] {
                const std::optional<QByteArray> output = runTool(paths.lsregister, QStringLiteral("-dump"), stopper);
                return output && !output->isEmpty() ? lsregisterCandidates(textLines(*output), rule.bundleNameRegex)
                                                    : QList<InstallationCandidate>();
            });
        }
        if (stopped(stopper)) {
            SystemLog::log(QStringLiteral("The installation search was stopped"));
            return result;
        }
        // Only what the filter hands back is a candidate: a failure that ends
        // the filter step leaves none, never the untested list.
        result.candidates = filter(candidates, rule.infoPlistPredicate);
    } catch (const std::exception &exception) {
        logLastWords(QString::fromUtf8(exception.what()));
    } catch (...) {
        logLastWords(QStringLiteral("The installation search ended on an unknown exception"));
    }
    return result;
}
