#ifndef HUEFORM_PLUGINMESSAGES_H
#define HUEFORM_PLUGINMESSAGES_H

#include <QString>
#include <QTextStream>

#include <functional>

// Keeps what the plug-in prints through Qt's messages off a benchmark's
// table. The messages of its normal work (such as the colour a pick starts
// from) are dropped; every other one is a failure report: it is counted, so
// that the measurement it came in gives no figure, and listed once, with
// the number of times it came, after the table.
class PluginMessages
{
public:
    // Installs the handler for the rest of the program; normalWork tells
    // the messages that report no failure. Messages may come from any
    // thread.
    static void install(const std::function<bool(const QString &message)> &normalWork);
    // The failure reports so far.
    static qint64 failureCount();
    // Lists each failure report with its count; nothing when there were none.
    static void printFailures(QTextStream &out);

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message);
    PluginMessages() = default;
};

#endif // HUEFORM_PLUGINMESSAGES_H
