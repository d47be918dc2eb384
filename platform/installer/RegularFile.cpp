#include "RegularFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class Descriptor
{
public:
    explicit Descriptor(int fd)
        : m_fd(fd)
    {
    }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int fd() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

std::optional<QByteArray> RegularFile::read(const QString &path, qsizetype limit, QString *error)
{
    auto failed = [&](const QString &reason) -> std::optional<QByteArray> {
        if (error)
            *error = QStringLiteral("Cannot read %1: %2").arg(path, reason);
        return std::nullopt;
    };
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty())
        return failed(QStringLiteral("no file name"));

    // Opened without blocking, then checked on the open descriptor: a pipe
    // with no writer would block a plain open, and a check by name before
    // opening could be raced by swapping the file.
    int fd;
    do {
        fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    const Descriptor file(fd);
    struct stat status;
    if (::fstat(file.fd(), &status) != 0)
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    if (!S_ISREG(status.st_mode))
        return failed(QStringLiteral("not a regular file"));
    if (status.st_size > limit)
        return failed(QStringLiteral("larger than %1 bytes").arg(limit));

    // The file may grow while it is read; the limit holds all the same.
    QByteArray bytes;
    bytes.reserve(qsizetype(status.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.fd(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failed(QString::fromLocal8Bit(std::strerror(errno)));
        if (got == 0)
            break;
        if (bytes.size() + got > limit)
            return failed(QStringLiteral("larger than %1 bytes").arg(limit));
        bytes.append(buffer, qsizetype(got));
    }
    if (error)
        error->clear();
    return bytes;
}
