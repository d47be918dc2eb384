#include "NTSynchronousTask.h"

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
#include <sys/wait.h>
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

} // namespace

void NTSynchronousTask::run(const QString &toolPath, const QString &directory, const QStringList &arguments,
                            const std::optional<QByteArray> &input)
{
    m_launched = false;
    m_done = false;
    m_output.clear();
    m_result = LaunchFailedStatus;

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
    // whatever this thread has.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

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

    {
        SigpipeGuard guard;
        QElapsedTimer sinceTurn;
        sinceTurn.start();
        char buffer[65536];
        while (readEnd >= 0) {
            pollfd fds[2];
            nfds_t count = 0;
            fds[count++] = pollfd{readEnd, POLLIN, 0};
            if (writeEnd >= 0)
                fds[count++] = pollfd{writeEnd, POLLOUT, 0};
            const int ready = ::poll(fds, count, 1000);
            if (ready < 0 && errno != EINTR)
                break;
            if (ready > 0 && (fds[0].revents & (POLLIN | POLLHUP | POLLERR))) {
                const ssize_t got = ::read(readEnd, buffer, sizeof buffer);
                if (got > 0)
                    m_output.append(buffer, qsizetype(got));
                else if (got == 0 || (errno != EINTR && errno != EAGAIN))
                    closeIfOpen(readEnd);
            }
            if (ready > 0 && writeEnd >= 0 && count == 2 && fds[1].revents) {
                // A child that stopped reading simply gets no more input.
                bool stop = !(fds[1].revents & POLLOUT);
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
        closeIfOpen(readEnd);
    }
    m_done = true;

    // Reaped only now, after the end of the output: the status is the
    // child's own, never a guess.
    int status = 0;
    pid_t waited;
    do {
        waited = ::waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited != child)
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
                                                  const QStringList &arguments, const std::optional<QByteArray> &input)
{
    std::optional<QByteArray> output;
    if (task(toolPath, directory, arguments, input, &output) != 0)
        return std::nullopt;
    return output;
}

int NTSynchronousTask::task(const QString &toolPath, const QString &directory, const QStringList &arguments,
                            const std::optional<QByteArray> &input, std::optional<QByteArray> *output)
{
    if (output)
        output->reset();
    NTSynchronousTask runner;
    runner.run(toolPath, directory, arguments, input);
    if (!runner.launched())
        return LaunchFailedStatus;
    if (output)
        *output = runner.output();
    return runner.result();
}
