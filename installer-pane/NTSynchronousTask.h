#ifndef PATHWARDEN_NTSYNCHRONOUSTASK_H
#define PATHWARDEN_NTSYNCHRONOUSTASK_H

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class TaskStopper;

// Runs one program to its end and hands back everything it printed on
// standard output and standard error, as one block, with its exit status.
// The calling thread keeps turning its event loop in one-second slices
// while it waits; there is no time limit. A TaskStopper ends the program
// early from another thread, and so does printing more than the output
// limit: the program and the processes it started are asked to terminate
// and killed after a short grace period. What the program printed before
// it was stopped is kept.
class NTSynchronousTask
{
public:
    // The status of a program that could not be started.
    static constexpr int LaunchFailedStatus = -32000;
    // The status of a run ended by its stopper; also when the stopper was
    // stopped before, and the program never started.
    static constexpr int StoppedStatus = -32001;
    // The status of a program that printed more than the output limit.
    static constexpr int OutputTooLargeStatus = -32002;
    // A full LaunchServices dump runs to tens of megabytes; a program that
    // prints this much is taken to print without end.
    static constexpr qsizetype DefaultOutputLimit = qsizetype(256) * 1024 * 1024;
    // How long an ended program has to go before it is killed.
    static constexpr int TerminateGraceMs = 500;

    NTSynchronousTask() = default;

    // The stopper that the next runs watch; null for none. It must outlive
    // the runs.
    void setStopper(const TaskStopper *stopper);
    // The most output the next runs take.
    void setOutputLimit(qsizetype limit);

    // Runs toolPath (a path, not looked up on PATH) with arguments, in
    // directory when it is not empty. Without input the program's standard
    // input is closed at once; with input it is written while the output
    // is read, then closed.
    void run(const QString &toolPath, const QString &directory, const QStringList &arguments,
             const std::optional<QByteArray> &input);

    // Whether the program was started.
    bool launched() const;
    // Whether its output was read to the end.
    bool isDone() const;
    // What was read; at most the output limit.
    const QByteArray &output() const;
    // The exit status, or the number of the signal that ended the program;
    // LaunchFailedStatus when it did not start, StoppedStatus or
    // OutputTooLargeStatus when it was ended early.
    int result() const;

    // The output when the program exits with status 0; nothing otherwise.
    static std::optional<QByteArray> task(const QString &toolPath, const QString &directory,
                                          const QStringList &arguments, const std::optional<QByteArray> &input,
                                          const TaskStopper *stopper = nullptr,
                                          qsizetype outputLimit = DefaultOutputLimit);
    // The status; *output (when given) gets the output whatever the status,
    // and stays empty when the program was not started.
    static int task(const QString &toolPath, const QString &directory, const QStringList &arguments,
                    const std::optional<QByteArray> &input, std::optional<QByteArray> *output,
                    const TaskStopper *stopper = nullptr, qsizetype outputLimit = DefaultOutputLimit);

private:
    bool isStopped() const;

    const TaskStopper *m_stopper = nullptr;
    qsizetype m_outputLimit = DefaultOutputLimit;
    bool m_launched = false;
    bool m_done = false;
    QByteArray m_output;
    int m_result = LaunchFailedStatus;
};

#endif // PATHWARDEN_NTSYNCHRONOUSTASK_H
