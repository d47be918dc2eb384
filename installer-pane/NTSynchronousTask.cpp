#include "NTSynchronousTask.h"

#include "TaskStopper.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <vector>

extern char **environ;

namespace {

void closeIfOpen(int &fd)
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

// Blocks SIGPIPE on this thread while it writes to the child, so that a
// child that exits before reading all of its input cannot end the whole
// process; a SIGPIPE raised meanwhile is taken off again.
class SigpipeGuard
{
public:
    SigpipeGuard()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_previous);
    }

    ~SigpipeGuard()
    {
        if (!m_wasPending) {
            sigset_t pending;
            sigpending(&pending);
            if (sigismember(&pending, SIGPIPE) == 1) {
                const timespec now{0, 0};
                while (sigtimedwait(&m_pipe, nullptr, &now) < 0 && errno == EINTR) {
                }
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }

    SigpipeGuard(const SigpipeGuard &) = delete;
    SigpipeGuard &operator=(const SigpipeGuard &) = delete;

private:
    sigset_t m_pipe;
    sigset_t m_previous;
    bool m_wasPending = false;
};

void turnEventLoop()
{
    if (QCoreApplication::instance() && QThread::currentThread()->eventDispatcher())
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void pause(int milliseconds)
{
    timespec interval{0, long(milliseconds) * 1000000L};
    while (::nanosleep(&interval, &interval) != 0 && errno == EINTR) {
    }
}

// Reaps child when it has exited; true with *status set, or true with
// *status -1 when the child was reaped elsewhere.
bool reapIfExited(pid_t child, int *status)
{
    for (;;) {
        const pid_t waited = ::waitpid(child, status, WNOHANG);
        if (waited == child)
            return true;
        if (waited == 0)
            return false;
        if (errno != EINTR) {
            *status = -1;
            return true;
        }
    }
}

// Reads and drops what is waiting on fd, waiting up to milliseconds for it;
// closes fd at its end.
void drain(int &fd, int milliseconds)
{
    if (fd < 0) {
        pause(milliseconds);
        return;
    }
    pollfd output{fd, POLLIN, 0};
    if (::poll(&output, 1, milliseconds) <= 0)
        return;
    char buffer[65536];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN))
        closeIfOpen(fd);
}

// Appends to output what fd holds at this moment, up to limit bytes in all;
// waits for nothing more.
void takeWaiting(int fd, QByteArray &output, qsizetype limit)
{
    int waiting = 0;
    if (fd < 0 || ::ioctl(fd, FIONREAD, &waiting) != 0)
        return;
    qsizetype left = qMin(qsizetype(waiting), limit - output.size());
    char buffer[65536];
    while (left > 0) {
        const ssize_t got = ::read(fd, buffer, size_t(qMin(left, qsizetype(sizeof buffer))));
        if (got > 0) {
            output.append(buffer, qsizetype(got));
            left -= got;
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
}

// Ends child and the processes it started, which share its process group:
// asks them to terminate, kills them when the child has not gone within
// the grace period, and reaps the child. Its output is read and dropped
// meanwhile, so that a child tidying up is neither blocked nor ended by a
// closed pipe; readEnd is closed at the end. The wait status, or -1.
int endProcessGroup(pid_t child, int &readEnd, int graceMs)
{
    if (::kill(-child, SIGTERM) != 0)
        ::kill(child, SIGTERM);
    QElapsedTimer grace;
    grace.start();
    int status = -1;
    while (!reapIfExited(child, &status)) {
        if (grace.elapsed() >= graceMs) {
            if (::kill(-child, SIGKILL) != 0)
                ::kill(child, SIGKILL);
            pid_t waited;
            do {
                waited = ::waitpid(child, &status, 0);
            } while (waited < 0 && errno == EINTR);
            if (waited != child)
                status = -1;
            break;
        }
        drain(readEnd, 5);
    }
    // Whatever of the group outlived the child, such as a helper that
    // ignored the request, goes too.
    ::kill(-child, SIGKILL);
    closeIfOpen(readEnd);
    return status;
}

} // namespace

void NTSynchronousTask::setStopper(const TaskStopper *stopper)
{
    m_stopper = stopper;
}

void NTSynchronousTask::setOutputLimit(qsizetype limit)
{
    m_outputLimit = qMax(qsizetype(0), limit);
}

bool NTSynchronousTask::isStopped() const
{
    return m_stopper && m_stopper->isStopped();
}

void NTSynchronousTask::run(const QString &toolPath, const QString &directory, const QStringList &arguments,
                            const std::optional<QByteArray> &input)
{
    m_launched = false;
    m_done = false;
    m_output.clear();
    m_result = LaunchFailedStatus;
    if (isStopped()) {
        m_result = StoppedStatus;
        return;
    }

    int outputPipe[2] = {-1, -1};
    int inputPipe[2] = {-1, -1};
    if (::pipe2(outputPipe, O_CLOEXEC) != 0)
        return;
    if (::pipe2(inputPipe, O_CLOEXEC) != 0) {
        closeIfOpen(outputPipe[0]);
        closeIfOpen(outputPipe[1]);
        return;
    }

    const QByteArray path = QFile::encodeName(toolPath);
    const QByteArray folder = QFile::encodeName(directory);
    std::vector<QByteArray> argumentBytes;
    argumentBytes.push_back(path);
    for (const QString &argument : arguments)
        argumentBytes.push_back(argument.toUtf8());
    std::vector<char *> argv;
    for (QByteArray &argument : argumentBytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inputPipe[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputPipe[1], STDERR_FILENO);
    if (!directory.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.constData());

    // The child starts with no blocked signals and the default SIGPIPE,
    // whatever this thread has, and leads a process group of its own, so
    // that ending it early reaches whatever it started too.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

    pid_t child = -1;
    const int spawned = path.isEmpty()
                            ? ENOENT
                            : posix_spawn(&child, path.constData(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    closeIfOpen(inputPipe[0]);
    closeIfOpen(outputPipe[1]);
    if (spawned != 0) {
        closeIfOpen(inputPipe[1]);
        closeIfOpen(outputPipe[0]);
        return;
    }
    m_launched = true;

    int readEnd = outputPipe[0];
    int writeEnd = inputPipe[1];
    qsizetype written = 0;
    if (!input || input->isEmpty())
        closeIfOpen(writeEnd);
    else
        ::fcntl(writeEnd, F_SETFL, ::fcntl(writeEnd, F_GETFL) | O_NONBLOCK);
    // Without a descriptor to wake on, the stopper is looked at often.
    const int stopDescriptor = m_stopper ? m_stopper->descriptor() : -1;
    const int pollInterval = m_stopper && stopDescriptor < 0 ? 50 : 1000;

    enum class Ending { Finished, Stopped, TooMuchOutput };
    Ending ending = Ending::Finished;
    {
        SigpipeGuard guard;
        QElapsedTimer sinceTurn;
        sinceTurn.start();
        char buffer[65536];
        while (readEnd >= 0) {
            pollfd fds[3];
            nfds_t count = 0;
            fds[count++] = pollfd{readEnd, POLLIN, 0};
            const nfds_t writeIndex = count;
            if (writeEnd >= 0)
                fds[count++] = pollfd{writeEnd, POLLOUT, 0};
            if (stopDescriptor >= 0)
                fds[count++] = pollfd{stopDescriptor, POLLIN, 0};
            const int ready = ::poll(fds, count, pollInterval);
            if (ready < 0 && errno != EINTR)
                break;
            if (isStopped()) {
                // What the program printed before the stop is part of its
                // output, also when the stop is seen first.
                takeWaiting(readEnd, m_output, m_outputLimit);
                ending = Ending::Stopped;
                break;
            }
            if (ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
                const ssize_t got = ::read(readEnd, buffer, sizeof buffer);
                if (got > 0) {
                    if (qsizetype(got) > m_outputLimit - m_output.size()) {
                        m_output.append(buffer, m_outputLimit - m_output.size());
                        ending = Ending::TooMuchOutput;
                        break;
                    }
                    m_output.append(buffer, qsizetype(got));
                } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
                    closeIfOpen(readEnd);
                }
            }
            if (ready > 0 && writeEnd >= 0 && fds[writeIndex].revents) {
                // A child that stopped reading simply gets no more input.
                bool stop = !(fds[writeIndex].revents & POLLOUT);
                if (!stop) {
                    const ssize_t put =
                        ::write(writeEnd, input->constData() + written, size_t(input->size() - written));
                    if (put > 0)
                        written += put;
                    else if (put < 0 && errno != EINTR && errno != EAGAIN)
                        stop = true;
                }
                if (stop || written >= input->size())
                    closeIfOpen(writeEnd);
            }
            if (sinceTurn.elapsed() >= 1000) {
                turnEventLoop();
                sinceTurn.restart();
            }
        }
        closeIfOpen(writeEnd);
        // Still read while a child ended early goes.
        if (ending == Ending::Finished)
            closeIfOpen(readEnd);
    }
    m_done = ending == Ending::Finished;

    // Reaped only now, after the end of the output: the status is the
    // child's own, never a guess. A child that closed its output but lives
    // on can still be stopped meanwhile.
    int status = -1;
    if (ending == Ending::Finished) {
        QElapsedTimer sinceTurn;
        sinceTurn.start();
        int interval = 1;
        while (!reapIfExited(child, &status)) {
            if (isStopped()) {
                ending = Ending::Stopped;
                break;
            }
            if (stopDescriptor >= 0) {
                pollfd stop{stopDescriptor, POLLIN, 0};
                ::poll(&stop, 1, interval);
            } else {
                pause(interval);
            }
            interval = qMin(interval * 2, 50);
            if (sinceTurn.elapsed() >= 1000) {
                turnEventLoop();
                sinceTurn.restart();
            }
        }
    }
    if (ending != Ending::Finished)
        status = endProcessGroup(child, readEnd, TerminateGraceMs);

    if (ending == Ending::Stopped)
        m_result = StoppedStatus;
    else if (ending == Ending::TooMuchOutput)
        m_result = OutputTooLargeStatus;
    else if (status == -1)
        m_result = LaunchFailedStatus;
    else if (WIFEXITED(status))
        m_result = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
        m_result = WTERMSIG(status);
    else
        m_result = LaunchFailedStatus;
}

bool NTSynchronousTask::launched() const
{
    return m_launched;
}

bool NTSynchronousTask::isDone() const
{
    return m_done;
}

const QByteArray &NTSynchronousTask::output() const
{
    return m_output;
}

int NTSynchronousTask::result() const
{
    return m_result;
}

std::optional<QByteArray> NTSynchronousTask::task(const QString &toolPath, const QString &directory,
                                                  const QStringList &arguments, const std::optional<QByteArray> &input,
                                                  const TaskStopper *stopper, qsizetype outputLimit)
{
    std::optional<QByteArray> output;
    if (task(toolPath, directory, arguments, input, &output, stopper, outputLimit) != 0)
        return std::nullopt;
    return output;
}

int NTSynchronousTask::task(const QString &toolPath, const QString &directory, const QStringList &arguments,
                            const std::optional<QByteArray> &input, std::optional<QByteArray> *output,
                            const TaskStopper *stopper, qsizetype outputLimit)
{
    if (output)
        output->reset();
    NTSynchronousTask runner;
    runner.setStopper(stopper);
    runner.setOutputLimit(outputLimit);
    runner.run(toolPath, directory, arguments, input);
    if (!runner.launched())
        return runner.result();
    if (output)
        *output = runner.output();
    return runner.result();
}
