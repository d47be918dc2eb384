#ifndef PATHWARDEN_HEADLESSRUN_H
#define PATHWARDEN_HEADLESSRUN_H

#include <QString>
#include <QTextStream>

#include <limits>

class InstallerHost;

// Drives the installer without a window: moves on to the pane, waits for it
// to settle, optionally picks a row as the user would, and prints what the
// pane shows and the script it left.
class HeadlessRun
{
public:
    // ScriptNotWritten: the pane lists the installations it found but keeps
    // Next off, because the script for the chosen one could not be written.
    enum Status { Finished = 0, TimedOut = 3, NoSuchRow = 4, ScriptNotWritten = 6 };
    // The longest wait, in seconds, whose milliseconds a timer can count.
    static constexpr int MaxTimeoutSeconds = std::numeric_limits<int>::max() / 1000;

    // Waits up to timeoutSeconds (1 to MaxTimeoutSeconds) for the pane;
    // pickRow < 0 picks nothing.
    static Status run(InstallerHost &host, int pickRow, int timeoutSeconds, const QString &scriptPath,
                      QTextStream &out);
    // The pane has settled when it let the user go back, or moved on.
    static bool paneSettled(const InstallerHost &host);

private:
    static void print(const InstallerHost &host, const QString &scriptPath, QTextStream &out);
    // Whether the pane found installations and still lets nobody go on.
    static bool targetWithheld(const InstallerHost &host);
    HeadlessRun() = default;
};

#endif // PATHWARDEN_HEADLESSRUN_H
