#ifndef PATHWARDEN_NTSYNCHRONOUSTASK_H
#define PATHWARDEN_NTSYNCHRONOUSTASK_H

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Runs one program to its end and hands back everything it printed on
// standard output and standard error, as one block, with its exit status.
// The calling thread keeps turning its event loop in one-second slices
// while it waits; there is no time limit.
class NTSynchronousTask
{
public:
    // The status of a program that could not be started.
    static constexpr int LaunchFailedStatus = -32000;

    NTSynchronousTask() = default;

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
    const QByteArray &output() const;
    // The exit status, or the number of the signal that ended the program;
    // LaunchFailedStatus when it did not start.
    int result() const;

    // The output when the program exits with status 0; nothing otherwise.
    static std::optional<QByteArray> task(const QString &toolPath, const QString &directory,
                                          const QStringList &arguments, const std::optional<QByteArray> &input);
    // The status; *output (when given) gets the output whatever the status,
    // and stays empty when the program could not be started.
    static int task(const QString &toolPath, const QString &directory, const QStringList &arguments,
                    const std::optional<QByteArray> &input, std::optional<QByteArray> *output);

private:
    bool m_launched = false;
    bool m_done = false;
    QByteArray m_output;
    int m_result = LaunchFailedStatus;
};

#endif // PATHWARDEN_NTSYNCHRONOUSTASK_H
