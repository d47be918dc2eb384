#include "database/CollectionSnapshot.h"

#include "database/GuardedVfs.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <new>

namespace Velmar {

namespace {

const QString copyName = QStringLiteral("collection.db");

QString processFolderPrefix(qint64 pid)
{
    return QString::number(pid) + QLatin1Char('-');
}

} // namespace

CollectionSnapshot::~CollectionSnapshot()
{
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
}

QString CollectionSnapshot::folderOfProcess()
{
    static QMutex lock;
    static std::unique_ptr<QTemporaryDir> folder;
    QMutexLocker locker(&lock);
    if (folder && folder->isValid())
        return folder->path();
    // In the user's cache, which holds large files better than the runtime
    // folder in memory; in the temporary folder when the cache is not ours
    // to write.
    const QStringList roots{
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
            + QStringLiteral("/Tavo Rindel/hueform/collection-copies"),
        QDir::tempPath() + QStringLiteral("/hueform-collection-copies-") + QString::number(::getuid())};
    for (const QString &root : roots) {
        if (!QDir().mkpath(root))
            continue;
        removeAbandonedFolders(root);
        folder = std::make_unique<QTemporaryDir>(root + QLatin1Char('/')
                                                 + processFolderPrefix(QCoreApplication::applicationPid())
                                                 + QStringLiteral("XXXXXX"));
        if (folder->isValid())
            return folder->path();
    }
    folder.reset();
    return QString();
}

void CollectionSnapshot::removeAbandonedFolders(const QString &root)
{
    const QStringList names = QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        bool isNumber = false;
        const qint64 pid = name.section(QLatin1Char('-'), 0, 0).toLongLong(&isNumber);
        if (!isNumber || pid <= 0 || pid == QCoreApplication::applicationPid())
            continue;
        if (::kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue;
        QDir(root + QLatin1Char('/') + name).removeRecursively();
    }
}

bool CollectionSnapshot::copyNeighbour(const QString &path, const QString &destination)
{
    // A file beside the collection file is never followed as a link and
    // never waited for as a pipe.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return errno == ENOENT;
    struct stat info;
    bool copied = ::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
    if (copied) {
        QFile out(destination);
        const int chunk = 1 << 20;
        std::unique_ptr<char[]> buffer(new (std::nothrow) char[chunk]);
        copied = buffer && out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        for (off_t offset = 0; copied;) {
            const ssize_t got = ::pread(descriptor, buffer.get(), chunk, offset);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                copied = got == 0;
                break;
            }
            copied = out.write(buffer.get(), got) == got;
            offset += got;
        }
        copied = copied && out.flush();
    }
    ::close(descriptor);
    return copied;
}

bool CollectionSnapshot::copyInto(const QString &filePath, const CollectionFileState &state, const QString &folder)
{
    const QString copy = folder + QLatin1Char('/') + copyName;
    if (!GuardedVfs::copyTo(filePath, copy))
        return false;
    if (state.log() == CollectionFileState::Kind::File
        && !copyNeighbour(filePath + QStringLiteral("-wal"), copy + QStringLiteral("-wal")))
        return false;
    // A journal that a writer left unfinished keeps the copy as unreadable as
    // the file itself.
    return copyNeighbour(filePath + QStringLiteral("-journal"), copy + QStringLiteral("-journal"));
}

QSharedPointer<CollectionSnapshot> CollectionSnapshot::take(const QString &filePath, int attempts)
{
    static std::atomic<quint64> taken{0};
    try {
        const QString processFolder = folderOfProcess();
        if (processFolder.isEmpty()) {
            qDebug() << "No private folder for a copy of" << filePath;
            return {};
        }
        for (int attempt = 0; attempt < attempts; ++attempt) {
            if (attempt > 0)
                QThread::usleep(1000UL << qMin(attempt - 1, 4));
            QSharedPointer<CollectionSnapshot> snapshot(new CollectionSnapshot);
            snapshot->m_folder = processFolder + QLatin1Char('/') + QString::number(++taken);
            if (!QDir().mkpath(snapshot->m_folder))
                return {};
            snapshot->m_filePath = snapshot->m_folder + QLatin1Char('/') + copyName;
            // The file first, then its log: a page that a checkpoint was
            // copying into the file meanwhile is still in the log, unless the
            // log started again, which its header shows.
            snapshot->m_state = CollectionFileState::of(filePath);
            const bool copied = copyInto(filePath, snapshot->m_state, snapshot->m_folder);
            const CollectionFileState after = CollectionFileState::of(filePath);
            if (copied && after.continues(snapshot->m_state))
                return snapshot;
            if (!copied && after == snapshot->m_state) {
                qDebug() << "Could not copy" << filePath << "into" << snapshot->m_folder;
                return {};
            }
        }
    } catch (const std::bad_alloc &) {
        qDebug() << "Out of memory while copying" << filePath;
    }
    return {};
}

} // namespace Velmar
