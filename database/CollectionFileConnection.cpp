#include "database/CollectionFileConnection.h"

#include "database/GuardedVfs.h"
#include "database/SqliteHandle.h"
#include "database/UpperCaseCollation.h"

#include <QDebug>
#include <QFileInfo>

#include <sqlite3.h>

#include <new>

namespace Velmar {

QHash<QString, CollectionFileConnection::OpenedFile> CollectionFileConnection::s_files;
QHash<QString, QSharedPointer<CollectionSnapshot>> CollectionFileConnection::s_snapshots;
quint64 CollectionFileConnection::s_lastGeneration = 0;
QMutex CollectionFileConnection::s_lock;

namespace {

const QString driverName = QStringLiteral("QSQLITE");
const QString readOnly = QStringLiteral("QSQLITE_OPEN_READONLY");
const QString readOnlyUri = QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");

// Attempts at a first copy of a file that changes while it is copied; once
// one is kept, one attempt a use, so that a busy writer costs each query
// at most one copy.
const int firstCopyAttempts = 5;

} // namespace

QString CollectionFileConnection::uriFor(const QString &filePath, const QString &query)
{
    // "?" and "#" would end the path, and "%" starts an escape.
    return QStringLiteral("file:%1?%2").arg(QString::fromLatin1(filePath.toUtf8().toPercentEncoding("/")), query);
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
    QMutexLocker locker(&s_lock);
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
    QMutexLocker locker(&s_lock);
    s_files.remove(connectionName);
}

QString CollectionFileConnection::resolved(const QString &path)
{
    // SQLite looks beside the file a symbolic link names, and so must we.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

CollectionFileConnection::Mode CollectionFileConnection::modeFor(const CollectionFileState &state)
{
    if (state.hasLog())
        return Mode::Copy;
    if (state.headerNamesTheLog()) {
        // A log or an index of a writer at work, or of one that stopped.
        if (state.log() == CollectionFileState::Kind::File || state.index() == CollectionFileState::Kind::File)
            return Mode::Copy;
        return Mode::Immutable;
    }
    // A link, a pipe or a folder under the log's name: SQLite would not read
    // it as the log, nor read the file in its presence. The file alone.
    if (state.log() == CollectionFileState::Kind::Other)
        return Mode::Immutable;
    return Mode::ReadOnly;
}

QSharedPointer<CollectionSnapshot> CollectionFileConnection::snapshotFor(const QString &resolvedPath,
                                                                         const CollectionFileState &state)
{
    QSharedPointer<CollectionSnapshot> kept;
    {
        QMutexLocker locker(&s_lock);
        kept = s_snapshots.value(resolvedPath);
    }
    if (kept && kept->state() == state)
        return kept;
    const QSharedPointer<CollectionSnapshot> fresh = CollectionSnapshot::take(resolvedPath, kept ? 1 : firstCopyAttempts);
    if (!fresh)
        return kept;
    QMutexLocker locker(&s_lock);
    s_snapshots.insert(resolvedPath, fresh);
    return fresh;
}

bool CollectionFileConnection::open(QSqlDatabase &database)
{
    return openWith(database, QSharedPointer<CollectionSnapshot>());
}

bool CollectionFileConnection::openWith(QSqlDatabase &database, const QSharedPointer<CollectionSnapshot> &taken)
{
    try {
        return openNoThrow(database, taken);
    } catch (const std::bad_alloc &) {
        qDebug() << "Out of memory while opening" << database.connectionName();
        database.close();
        return false;
    }
}

bool CollectionFileConnection::openNoThrow(QSqlDatabase &database, const QSharedPointer<CollectionSnapshot> &taken)
{
    QString path;
    {
        QMutexLocker locker(&s_lock);
        OpenedFile &file = s_files[database.connectionName()];
        if (file.path.isEmpty())
            file.path = database.databaseName();
        path = file.path;
    }
    const QString file = resolved(path);
    // Taken before the file is opened, so that a change while it opens is
    // seen at the next use.
    const CollectionFileState state = CollectionFileState::of(file);
    const Mode mode = modeFor(state);
    const QString guarded = QStringLiteral("&vfs=") + QLatin1String(GuardedVfs::name());
    QSharedPointer<CollectionSnapshot> snapshot;
    switch (mode) {
    case Mode::ReadOnly:
        database.setDatabaseName(uriFor(file, QStringLiteral("mode=ro") + guarded));
        break;
    case Mode::Immutable:
        database.setDatabaseName(uriFor(file, QStringLiteral("immutable=1") + guarded));
        break;
    case Mode::Copy:
        snapshot = taken ? taken : snapshotFor(file, state);
        if (!snapshot) {
            qDebug() << "Left out" << path << "changing while it was copied, until its next use";
            return false;
        }
        database.setDatabaseName(uriFor(snapshot->filePath(), QStringLiteral("mode=ro")));
        break;
    }
    database.setConnectOptions(readOnlyUri);
    const bool isOpen = database.open();
    // The connection goes by the file's path as found, whatever it reads.
    database.setDatabaseName(path);
    database.setConnectOptions(readOnly);
    if (!isOpen)
        return false;
    UpperCaseCollation::ensureRegistered(database);

    QMutexLocker locker(&s_lock);
    if (mode != Mode::Copy)
        s_snapshots.remove(file);
    OpenedFile &opened = s_files[database.connectionName()];
    opened.resolvedPath = file;
    opened.mode = mode;
    opened.state = snapshot ? snapshot->state() : state;
    opened.snapshot = snapshot;
    opened.generation = ++s_lastGeneration;
    return true;
}

void CollectionFileConnection::reopenIfChanged(QSqlDatabase &database)
{
    if (!database.isValid())
        return;
    if (!database.isOpen()) {
        open(database);
        return;
    }
    try {
        OpenedFile file;
        {
            QMutexLocker locker(&s_lock);
            const auto found = s_files.constFind(database.connectionName());
            if (found == s_files.constEnd())
                return;
            file = *found;
        }
        const QString &path = file.resolvedPath;
        // A link that names another file now: that file is opened.
        const bool relinked = file.path != path && resolved(file.path) != path;
        // A file read where it lies has its header read through the
        // connection's own handle: no other descriptor opened and closed.
        sqlite3_file *handle = nullptr;
        sqlite3 *const connection = SqliteHandle::of(database);
        if (file.mode != Mode::Copy && connection)
            sqlite3_file_control(connection, "main", SQLITE_FCNTL_FILE_POINTER, &handle);
        const CollectionFileState current = CollectionFileState::of(path, handle);
        if (current == file.state && !relinked)
            return;
        if (!relinked) {
            const Mode mode = modeFor(current);
            if (file.mode == Mode::ReadOnly && mode == Mode::ReadOnly) {
                // SQLite sees the commits of a writer in the rollback mode
                // itself; what is kept of the file's contents elsewhere is out
                // of date.
                QMutexLocker locker(&s_lock);
                OpenedFile &opened = s_files[database.connectionName()];
                opened.state = current;
                opened.generation = ++s_lastGeneration;
                return;
            }
            if (mode == Mode::Copy) {
                const QSharedPointer<CollectionSnapshot> newer = snapshotFor(path, current);
                // Still changing, and no newer copy could be taken: the one
                // read stays, until the next use.
                if (file.mode == Mode::Copy && newer == file.snapshot)
                    return;
                // None that a commit left: the next use tries again.
                database.close();
                if (newer)
                    openWith(database, newer);
                return;
            }
        }
    } catch (const std::bad_alloc &) {
        qDebug() << "Out of memory while looking at" << database.connectionName();
        return;
    }
    database.close();
    open(database);
}

quint64 CollectionFileConnection::generation(const QSqlDatabase &database)
{
    if (!database.isOpen())
        return 0;
    QMutexLocker locker(&s_lock);
    return s_files.value(database.connectionName()).generation;
}

} // namespace Velmar
