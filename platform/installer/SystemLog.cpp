#include "SystemLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

#include <cstdio>
#include <unistd.h>

namespace {

QMutex &logMutex()
{
    static QMutex mutex;
    return mutex;
}

SystemLog::Sink &currentSink()
{
    static SystemLog::Sink sink;
    return sink;
}

} // namespace

void SystemLog::log(const QString &message)
{
    QMutexLocker lock(&logMutex());
    if (currentSink()) {
        currentSink()(message);
        return;
    }
    const QByteArray line = formatLine(message).toUtf8() + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

void SystemLog::setSink(const Sink &sink)
{
    QMutexLocker lock(&logMutex());
    currentSink() = sink;
}

QString SystemLog::formatLine(const QString &message)
{
    QString program = QCoreApplication::instance() ? QFileInfo(QCoreApplication::applicationFilePath()).fileName()
                                                   : QStringLiteral("installer");
    // One message is one line, whatever it holds.
    QString flat = message;
    flat.replace(QLatin1Char('\n'), QLatin1Char(' '));
    flat.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")) + QLatin1Char(' ')
        + program + QLatin1Char('[') + QString::number(qint64(::getpid())) + QStringLiteral("] ") + flat;
}
