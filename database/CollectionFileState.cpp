#include "database/CollectionFileState.h"

#include "database/GuardedVfs.h"

#include <QFile>

#include <sqlite3.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace Velmar {

namespace {

const char databaseHeader[] = "SQLite format 3";
const int headerSize = 100;
const int logHeaderSize = 32;
// The two copies of the index header, which every commit rewrites.
const int indexHeaderSize = 96;

QByteArray timeText(const timespec &time)
{
    return QByteArray::number(qint64(time.tv_sec)) + '.' + QByteArray::number(qint64(time.tv_nsec));
}

} // namespace

QByteArray CollectionFileState::lookOf(const QString &path, Kind &kind, qint64 &size, QByteArray *identity)
{
    struct stat info;
    size = 0;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        kind = errno == ENOENT || errno == ENOTDIR ? Kind::Absent : Kind::Other;
        return kind == Kind::Absent ? QByteArrayLiteral("absent") : QByteArrayLiteral("unreadable");
    }
    kind = S_ISREG(info.st_mode) ? Kind::File : Kind::Other;
    size = qint64(info.st_size);
    const QByteArray fileIdentity = QByteArray::number(quint64(info.st_dev)) + ':' + QByteArray::number(quint64(info.st_ino));
    if (identity)
        *identity = fileIdentity;
    return fileIdentity + ' ' + QByteArray::number(uint(info.st_mode)) + ' ' + QByteArray::number(size) + ' '
        + timeText(info.st_mtim) + ' ' + timeText(info.st_ctim);
}

QByteArray CollectionFileState::prefixOfNeighbour(const QString &path, int length)
{
    // Never blocks on a pipe and never follows a link: SQLite would refuse
    // either as a log.
    const int descriptor = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0)
        return QByteArray();
    QByteArray prefix;
    struct stat info;
    if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
        prefix.resize(length);
        const ssize_t got = ::pread(descriptor, prefix.data(), size_t(length), 0);
        prefix.resize(got > 0 ? int(got) : 0);
    }
    ::close(descriptor);
    return prefix;
}

CollectionFileState CollectionFileState::of(const QString &filePath, sqlite3_file *openFile)
{
    CollectionFileState state;
    Kind kind = Kind::Absent;
    qint64 size = 0;
    state.m_fileLook = lookOf(filePath, kind, size, &state.m_fileIdentity);
    if (kind == Kind::File && openFile && openFile->pMethods) {
        state.m_header.resize(int(qMin<qint64>(size, headerSize)));
        if (openFile->pMethods->xRead(openFile, state.m_header.data(), int(state.m_header.size()), 0) != SQLITE_OK)
            state.m_header.clear();
    } else if (kind == Kind::File) {
        state.m_header = GuardedVfs::readPrefix(filePath, headerSize);
    }
    state.m_journalLook = lookOf(filePath + QStringLiteral("-journal"), kind, size);
    const QString log = filePath + QStringLiteral("-wal");
    state.m_logLook = lookOf(log, state.m_log, state.m_logSize);
    if (state.m_log == Kind::File)
        state.m_logHeader = prefixOfNeighbour(log, logHeaderSize);
    const QString index = filePath + QStringLiteral("-shm");
    state.m_indexLook = lookOf(index, state.m_index, state.m_indexSize);
    if (state.m_index == Kind::File)
        state.m_indexHeader = prefixOfNeighbour(index, indexHeaderSize);
    return state;
}

bool CollectionFileState::operator==(const CollectionFileState &other) const
{
    return m_fileLook == other.m_fileLook && m_header == other.m_header && m_journalLook == other.m_journalLook
        && m_logLook == other.m_logLook && m_logHeader == other.m_logHeader && m_indexLook == other.m_indexLook
        && m_indexHeader == other.m_indexHeader;
}

bool CollectionFileState::headerNamesTheLog() const
{
    // Bytes 18 and 19: the file format versions to write and to read, 2 for
    // the write-ahead log.
    return m_header.size() >= 20 && std::memcmp(m_header.constData(), databaseHeader, sizeof databaseHeader) == 0
        && (m_header.at(18) == 2 || m_header.at(19) == 2);
}

bool CollectionFileState::continues(const CollectionFileState &before) const
{
    if (m_fileIdentity.isEmpty() || m_fileIdentity != before.m_fileIdentity)
        return false;
    // A log started again gets new salts in its header; one cut to nothing
    // loses it.
    if (m_log != before.m_log || m_logHeader != before.m_logHeader || m_logSize < before.m_logSize)
        return false;
    // A checkpoint may copy pages into a file in the log mode meanwhile: the
    // log still holds each of them. A file in the rollback mode is written
    // in place, its journal beside.
    if (!before.headerNamesTheLog())
        return m_header == before.m_header && m_journalLook == before.m_journalLook;
    return true;
}

} // namespace Velmar
