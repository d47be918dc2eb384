#include "PickerHostRunner.h"

#include "DemoCollection.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

bool PickerHostRunner::setUp(QString *error)
{
    if (!m_machine.isValid() || !m_emptyMachine.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    return DemoCollection::write(lookupFolder(), error);
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

PickerHostRunner::Result PickerHostRunner::run(const QStringList &arguments, bool withCollection) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome());
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home() + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), withCollection ? m_machine.path() : m_emptyMachine.path());
    environment.remove(QStringLiteral("QT_PLUGIN_PATH"));
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
