#ifndef HUEFORM_PROCESSRUN_H
#define HUEFORM_PROCESSRUN_H

#include <QString>
#include <QStringList>

class QProcess;

// How a program run to its end in a process of its own ended, and what it
// printed: for the tests that run the tools and scripts.
class ProcessRun
{
public:
    int exitCode = -1; // -1 also when it crashed, or hung and was killed
    QString output;
    QString errors;

    // Starts the program on the process as set up (environment, working
    // folder) and waits up to timeoutMs for it to end.
    static ProcessRun of(QProcess &process, const QString &program, const QStringList &arguments,
                         int timeoutMs = 60000);
};

#endif // HUEFORM_PROCESSRUN_H
