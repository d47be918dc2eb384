#ifndef PATHWARDEN_HEADLESSRUN_H
#define PATHWARDEN_HEADLESSRUN_H

#include <QString>
#include <QTextStream>

class InstallerHost;

// Drives the installer without a window: moves on to the pane, waits for it
// to settle, optionally picks a row as the user would, and prints what the
// pane shows and the script it left.
class HeadlessRun
{
public:
    enum Status { Finished = 0, TimedOut = 3, NoSuchRow = 4 };

    // Waits up to timeoutSeconds for the pane; pickRow < 0 picks nothing.
    static Status run(InstallerHost &host, int pickRow, int timeoutSeconds, const QString &scriptPath,
                      QTextStream &out);
    // The pane has settled when it let the user go back, or moved on.
    static bool paneSettled(const InstallerHost &host);

private:
    static void print(const InstallerHost &host, const QString &scriptPath, QTextStream &out);
    HeadlessRun() = default;
};

#endif // PATHWARDEN_HEADLESSRUN_H
