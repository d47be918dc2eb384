#include "database/CollectionFileConnection.h"

#include "database/SqliteHandle.h"
#include "database/UpperCaseCollation.h"
#include "database/WriteAheadLog.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cstring>

namespace Velmar {

QHash<QString, CollectionFileConnection::OpenedFile> CollectionFileConnection::s_files;
QMutex CollectionFileConnection::s_filesLock;

namespace {

const QString driverName = QStringLiteral("QSQLITE");
const QString readOnly = QStringLiteral("QSQLITE_OPEN_READONLY");
const char databaseHeader[] = "SQLite format 3";

QString logOf(const QString &filePath)
{
    return filePath + QStringLiteral("-wal");
}

} // namespace

QString CollectionFileConnection::uriFor(const QString &filePath)
{
    // "?" and "#" would end the path, and "%" starts an escape.
    return QStringLiteral("file:%1?immutable=1").arg(QString::fromLatin1(filePath.toUtf8().toPercentEncoding("/")));
}

QSqlDatabase CollectionFileConnection::add(const QString &connectionName, const QString &filePath)
{
    // Read-only: a file that vanished must fail to open rather than be
    // re-created empty, and nothing can be written through the connection.
    QSqlDatabase database = QSqlDatabase::addDatabase(driverName, connectionName);
    database.setDatabaseName(filePath);
    database.setConnectOptions(readOnly);
    OpenedFile file;
    file.path = filePath;
    QMutexLocker locker(&s_filesLock);
    s_files.insert(connectionName, file);
    return database;
}

void CollectionFileConnection::remove(const QString &connectionName)
{
    {
        QSqlDatabase database = QSqlDatabase::database(connectionName, false);
        database.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    QMutexLocker locker(&s_filesLock);
    s_files.remove(connectionName);
}

bool CollectionFileConnection::open(QSqlDatabase &database)
{
    return openFile(database, true);
}

bool CollectionFileConnection::probe(QSqlDatabase &database)
{
    return openFile(database, false);
}

void CollectionFileConnection::reopenIfChanged(QSqlDatabase &database)
{
    if (!database.isValid())
        return;
    if (database.isOpen()) {
        QMutexLocker locker(&s_filesLock);
        const auto file = s_files.constFind(database.connectionName());
        if (file == s_files.constEnd() || !file->immutable || file->signature == signatureOf(file->resolvedPath))
            return;
        locker.unlock();
        database.close();
    }
    open(database);
}

bool CollectionFileConnection::openFile(QSqlDatabase &database, bool withLog)
{
    QMutexLocker locker(&s_filesLock);
    OpenedFile &file = s_files[database.connectionName()];
    if (file.path.isEmpty())
        file.path = database.databaseName();
    // The files SQLite would look for beside it lie beside the file a
    // symbolic link names.
    const QString canonical = QFileInfo(file.path).canonicalFilePath();
    const QString path = canonical.isEmpty() ? file.path : canonical;
    file.resolvedPath = path;

    file.immutable = needsImmutable(path);
    file.signature.clear();
    database.setDatabaseName(file.immutable ? uriFor(path) : file.path);
    database.setConnectOptions(file.immutable ? readOnly + QStringLiteral(";QSQLITE_OPEN_URI") : readOnly);
    if (!database.open())
        return false;
    UpperCaseCollation::ensureRegistered(database);
    if (file.immutable)
        file.signature = withLog ? applyLeftoverLog(SqliteHandle::of(database), path) : signatureOf(path);
    return true;
}

bool CollectionFileConnection::needsImmutable(const QString &filePath)
{
    if (QFileInfo(logOf(filePath)).size() > 0)
        return true;
    // Bytes 18 and 19 of the header: the file format versions to write and
    // to read, 2 for the write-ahead log.
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(20);
    return header.size() == 20 && std::memcmp(header.constData(), databaseHeader, sizeof databaseHeader) == 0
        && (header.at(18) == 2 || header.at(19) == 2);
}

QByteArray CollectionFileConnection::signatureOf(const QString &filePath)
{
    QByteArray signature;
    for (const QString &path : {filePath, logOf(filePath)}) {
        const QFileInfo info(path);
        signature += QByteArray::number(info.exists()) + ' ' + QByteArray::number(info.size()) + ' '
            + QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + ' '
            + QByteArray::number(info.metadataChangeTime().toMSecsSinceEpoch()) + ' ';
    }
    // Within the time stamps' grain a writer may write again over the same
    // bytes of its log. What it counts at every commit shows that: the
    // header of its log, with new salts when it starts again, and the first
    // bytes of the index beside it, which every commit rewrites.
    QFile log(logOf(filePath));
    if (log.open(QIODevice::ReadOnly))
        signature += log.read(32);
    QFile index(filePath + QStringLiteral("-shm"));
    if (index.open(QIODevice::ReadOnly))
        signature += index.read(96);
    return signature;
}

QByteArray CollectionFileConnection::applyLeftoverLog(sqlite3 *handle, const QString &filePath)
{
    if (!handle)
        return signatureOf(filePath);
    QFile logFile(logOf(filePath));
    QByteArray log;
    QByteArray image;
    QByteArray signature;
    // A writer may still be at work on the file: what was read counts when
    // neither file changed while it was read.
    for (int attempt = 0;; ++attempt) {
        signature = signatureOf(filePath);
        if (!logFile.exists() || logFile.size() == 0)
            return signature;
        QFile databaseFile(filePath);
        if (!logFile.open(QIODevice::ReadOnly) || !databaseFile.open(QIODevice::ReadOnly)) {
            qDebug() << "Left out the write-ahead log that cannot be read:" << logFile.fileName();
            return signature;
        }
        log = logFile.readAll();
        image = databaseFile.readAll();
        logFile.close();
        if (signatureOf(filePath) == signature)
            break;
        if (attempt == 2) {
            // Asked for again at the next use of the connection.
            qDebug() << "Left out the write-ahead log, changing while read:" << logFile.fileName();
            return QByteArray();
        }
    }

    const int applied = WriteAheadLog::applyCommitted(log, image);
    log.clear();
    if (applied < 0) {
        qDebug() << "Left out the write-ahead log that does not belong to its file:" << logFile.fileName();
        return signature;
    }
    if (applied == 0)
        return signature;

    WriteAheadLog::markAsRollbackJournal(image);
    auto *const buffer = static_cast<unsigned char *>(sqlite3_malloc64(sqlite3_uint64(image.size())));
    if (!buffer) {
        qDebug() << "Left out the write-ahead log, too large to apply:" << logFile.fileName();
        return signature;
    }
    std::memcpy(buffer, image.constData(), size_t(image.size()));
    const sqlite3_int64 size = image.size();
    image.clear();
    // SQLite frees the buffer with the connection, and also when this fails.
    if (sqlite3_deserialize(handle, "main", buffer, size, size,
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY)
        != SQLITE_OK) {
        qDebug() << "Left out the write-ahead log:" << logFile.fileName() << sqlite3_errmsg(handle);
        return signature;
    }
    return signature;
}

} // namespace Velmar
