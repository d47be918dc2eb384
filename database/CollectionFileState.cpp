#include "database/CollectionFileState.h"

#include "database/GuardedVfs.h"

#include <QFile>

#include <sqlite3.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace Velmar {

namespace {

const char databaseHeader[] = "SQLite format 3";
const int headerSize = 100;

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
    state.m_logLook = lookOf(filePath + QStringLiteral("-wal"), state.m_log, size);
    state.m_indexLook = lookOf(filePath + QStringLiteral("-shm"), state.m_index, size);
    return state;
}

bool CollectionFileState::operator==(const CollectionFileState &other) const
{
    return m_fileLook == other.m_fileLook && m_header == other.m_header && m_journalLook == other.m_journalLook
        && m_logLook == other.m_logLook && m_indexLook == other.m_indexLook;
}

bool CollectionFileState::headerNamesTheLog() const
{
    // Bytes 18 and 19: the file format versions to write and to read, 2 for
    // the write-ahead log.
    return m_header.size() >= 20 && std::memcmp(m_header.constData(), databaseHeader, sizeof databaseHeader) == 0
        && (m_header.at(18) == 2 || m_header.at(19) == 2);
}

} // namespace Velmar
