#ifndef PATHWARDEN_SYSTEMLOG_H
#define PATHWARDEN_SYSTEMLOG_H

#include <QString>

#include <functional>

// The system log: one line per message on standard error, stamped with the
// time, the program and its process id. Safe to call from any thread.
class SystemLog
{
public:
    using Sink = std::function<void(const QString &message)>;

    static void log(const QString &message);
    // Sends messages to sink instead of standard error (tests read them
    // there); an empty sink restores standard error.
    static void setSink(const Sink &sink);
    // The line written to standard error for message.
    static QString formatLine(const QString &message);

private:
    SystemLog() = default;
};

#endif // PATHWARDEN_SYSTEMLOG_H
