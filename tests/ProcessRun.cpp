#include "ProcessRun.h"

#include <QProcess>

ProcessRun ProcessRun::of(QProcess &process, const QString &program, const QStringList &arguments, int timeoutMs)
{
    process.start(program, arguments);
    ProcessRun result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    result.errors = QString::fromUtf8(process.readAllStandardError());
    return result;
}
