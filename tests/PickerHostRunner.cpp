#include "PickerHostRunner.h"

#include "DemoCollection.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

bool PickerHostRunner::setUp(QString *error)
{
    if (!m_machine.isValid() || !m_emptyMachine.isValid() || !QDir().mkpath(dizevizFolder())) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    // The demo's decks watch a folder under /tmp that anything on the
    // machine may write into; the runner's watch one only its tests do.
    return DemoCollection::write(lookupFolder(), error, dizevizFolder());
}

QString PickerHostRunner::dizevizFolder() const
{
    return m_machine.filePath(QStringLiteral("dizeviz"));
}

QString PickerHostRunner::lookupFolder() const
{
    return m_machine.filePath(QStringLiteral("Tavo Rindel/Hueform/SQLite"));
}

bool PickerHostRunner::newHome()
{
    m_home = std::make_unique<QTemporaryDir>();
    return m_home->isValid();
}

PickerHostRunner::Result PickerHostRunner::run(const QStringList &arguments, bool withCollection,
                                               const ChildSetUp &childSetUp, const Environment &changes) const
{
    QProcess process;
    if (childSetUp)
        process.setChildProcessModifier(childSetUp);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home() + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), withCollection ? m_machine.path() : m_emptyMachine.path());
    environment.remove(QStringLiteral("QT_PLUGIN_PATH"));
    for (auto change = changes.cbegin(); change != changes.cend(); ++change) {
        if (change.value().isNull())
            environment.remove(change.key());
        else
            environment.insert(change.key(), change.value());
    }
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(PICKER_HOST), arguments);
    Result result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.milliseconds = clock.elapsed();
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    result.errors = QString::fromUtf8(process.readAllStandardError());
    return result;
}

bool PickerHostRunner::childCanWriteInto(const QString &folder, const ChildSetUp &childSetUp) const
{
    QProcess process;
    process.setChildProcessModifier(childSetUp);
    const QString probe = QDir(folder).filePath(QStringLiteral("probe"));
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral(": > \"$0\""), probe});
    if (!process.waitForFinished(10000))
        process.kill();
    const bool written = QFile::exists(probe);
    QFile::remove(probe);
    return written;
}
