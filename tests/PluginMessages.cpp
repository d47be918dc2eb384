#include "PluginMessages.h"

#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QVector>

namespace {

struct Reports {
    QMutex mutex;
    std::function<bool(const QString &)> normalWork;
    qint64 count = 0;
    // In the order they first came, each with its count.
    QStringList messages;
    QVector<qint64> counts;
};

Reports &reports()
{
    static Reports instance;
    return instance;
}

} // namespace

void PluginMessages::install(const std::function<bool(const QString &message)> &normalWork)
{
    {
        QMutexLocker lock(&reports().mutex);
        reports().normalWork = normalWork;
    }
    qInstallMessageHandler(&PluginMessages::handle);
}

qint64 PluginMessages::failureCount()
{
    QMutexLocker lock(&reports().mutex);
    return reports().count;
}

void PluginMessages::printFailures(QTextStream &out)
{
    QMutexLocker lock(&reports().mutex);
    if (reports().count == 0)
        return;
    out << "The plug-in reported " << reports().count
        << " failures; the measurements they came in show no figure:\n";
    for (qsizetype i = 0; i < reports().messages.size(); ++i)
        out << "  " << reports().counts.at(i) << " x " << reports().messages.at(i) << '\n';
    out.flush();
}

void PluginMessages::handle(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtFatalMsg) {
        // Qt ends the program after this: said at once, not kept.
        QTextStream(stderr) << message << '\n';
        return;
    }
    Reports &all = reports();
    QMutexLocker lock(&all.mutex);
    if (all.normalWork && all.normalWork(message))
        return;
    ++all.count;
    const qsizetype seen = all.messages.indexOf(message);
    if (seen >= 0) {
        ++all.counts[seen];
    } else {
        all.messages.append(message);
        all.counts.append(1);
    }
}
