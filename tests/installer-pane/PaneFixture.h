#ifndef PATHWARDEN_PANEFIXTURE_H
#define PATHWARDEN_PANEFIXTURE_H

#include "SystemPaths.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariantMap>

// A machine in a temporary folder for the pane's tests: an installer
// package with its pane bundle, application bundles, fake system programs
// and a script folder, and the system paths that point at them.
class PaneFixture
{
public:
    PaneFixture();

    bool isValid() const;
    QString root() const;
    QString path(const QString &relative) const;

    // The package at root/Test.pkg with rule as its "Application Rule" (no
    // rule file when rule is invalid) and strings as its English table.
    QString makePackage(const QVariant &rule, const QByteArray &strings);
    QString packagePath() const;
    QString pluginBundlePath() const;

    // folder/bundleName/Contents/Info.plist holding info.
    void makeApp(const QString &folder, const QString &bundleName, const QVariantMap &info);
    // A #!/bin/sh program at root/bin/name printing output and exiting with
    // status; each run leaves a line in ranLog().
    QString makeProgram(const QString &name, const QByteArray &output, int status = 0, const QString &extra = QString());
    // The programs that ran, in order.
    QStringList ranLog() const;

    void writeFile(const QString &relative, const QByteArray &bytes);
    // Puts something at relative that is no plain readable file: "fifo" (a
    // named pipe nobody writes), "link to /dev/zero", "link to a fifo",
    // "folder", or "too large" (bytes followed by XML comments up to one byte
    // over the 16 MiB that readers take). "regular file" and "link to a
    // regular file" hold bytes. False when it could not be made.
    bool plant(const QString &relative, const QString &kind, const QByteArray &bytes = QByteArray());
    SystemPaths &paths();
    QString scriptPath(const QString &name) const;

    // The processes of process group `group` that still run; zombies, which
    // their new parent may take a while to reap, do not count.
    static int livingProcessesInGroup(qint64 group);

    // A rule dictionary with the usual keys.
    static QVariantMap rule(const QString &bundleRegex, const QString &predicate, const QString &scriptName,
                            const QString &vpdRegex = QString());
    static QVariantMap appInfo(const QString &identifier, const QString &version);
    // An XML property list of value (maps, lists, texts, numbers, booleans).
    static QByteArray plistXml(const QVariant &value);
    // A strings table with each key's text set to "<key> text".
    static QByteArray englishStrings();

private:
    QTemporaryDir m_dir;
    SystemPaths m_paths;
};

#endif // PATHWARDEN_PANEFIXTURE_H
