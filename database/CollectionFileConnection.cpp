#include "database/CollectionFileConnection.h"

#include "database/GuardedVfs.h"
#include "database/InterfaceIdleGate.h"
#include "database/SqliteHandle.h"
#include "database/StartsWithFunction.h"
#include "database/UpperCaseCollation.h"

#include <QDebug>
#include <QFileInfo>
#include <QSqlError>
#include <QThread>

#include <sqlite3.h>

#include <new>

namespace Velmar {

QHash<QString, CollectionFileConnection::OpenedFile> CollectionFileConnection::s_files;
quint64 CollectionFileConnection::s_lastGeneration = 0;
QMutex CollectionFileConnection::s_lock;

namespace {

const QString driverName = QStringLiteral("QSQLITE");
const QString readOnly = QStringLiteral("QSQLITE_OPEN_READONLY");
const QString readOnlyUri = QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");

// Attempts at opening a file that changes while it is opened.
const int openAttempts = 3;

// SQLite's count of the commits that other connections made to the file,
// -1 when it cannot be read.
qint64 dataVersionOf(sqlite3 *connection)
{
    if (!connection)
        return -1;
    sqlite3_stmt *statement = nullptr;
    qint64 version = -1;
    if (sqlite3_prepare_v2(connection, "PRAGMA data_version", -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        version = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return version;
}

// SQLite's handle on the connection's main file: its header is read through
// it, with no other descriptor opened and closed.
sqlite3_file *mainFileOf(sqlite3 *connection)
{
    sqlite3_file *handle = nullptr;
    if (connection)
        sqlite3_file_control(connection, "main", SQLITE_FCNTL_FILE_POINTER, &handle);
    return handle;
}

// How long a statement waits for a writer's lock, as Qt's driver lets
// SQLite wait by default.
const int lockWaitMs = 5000;

// Waits for a writer's lock in steps of a few milliseconds, up to the
// driver's time, but gives up at once on a thread asked to stop: the
// picker closing never waits for a writer through a thread's read. A thread
// that reads ahead for the interface pauses here too while it is busy, and
// runs while the interface waits here: it may hold the lock waited for.
int waitForLock(void *, int attempt)
{
    // Steps of 1, 2, ... up to 10 ms: the time waited before this attempt.
    const qint64 waitedMs = attempt < 10 ? qint64(attempt) * (attempt + 1) / 2 : 55 + qint64(attempt - 10) * 10;
    if (waitedMs >= lockWaitMs || InterfaceIdleGate::stopRequested())
        return 0;
    InterfaceIdleGate::interfaceWaitsForLock(true);
    QThread::msleep(ulong(qMin(attempt + 1, 10)));
    InterfaceIdleGate::interfaceWaitsForLock(false);
    return QThread::currentThread()->isInterruptionRequested() ? 0 : 1;
}

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
    // SQLite applies a log beside the file whatever its header says.
    if (state.log() == CollectionFileState::Kind::File) {
        // No writer works on a log without an index: nobody checkpoints it
        // while it is read, and SQLite can keep its index in memory.
        return state.index() == CollectionFileState::Kind::File ? Mode::SharedIndex : Mode::OwnIndex;
    }
    // A link, a pipe or a folder under the log's name: SQLite would not read
    // it as the log, nor read the file in its presence. The file alone.
    if (state.log() == CollectionFileState::Kind::Other || state.headerNamesTheLog())
        return Mode::Immutable;
    return Mode::ReadOnly;
}

bool CollectionFileConnection::indexesTheLogItself(const QString &filePath)
{
    return modeFor(CollectionFileState::of(resolved(filePath))) == Mode::OwnIndex;
}

QString CollectionFileConnection::queryFor(Mode mode)
{
    const QString guarded = QStringLiteral("&vfs=") + QLatin1String(GuardedVfs::name());
    switch (mode) {
    case Mode::ReadOnly:
        break;
    case Mode::Immutable:
        return QStringLiteral("immutable=1") + guarded;
    case Mode::SharedIndex:
        return QStringLiteral("mode=ro&readonly_shm=1") + guarded;
    case Mode::OwnIndex:
        return QStringLiteral("mode=ro&%1=1").arg(QLatin1String(GuardedVfs::ownLogParameter())) + guarded;
    }
    return QStringLiteral("mode=ro") + guarded;
}

bool CollectionFileConnection::open(QSqlDatabase &database)
{
    try {
        return openNoThrow(database);
    } catch (const std::bad_alloc &) {
        qDebug() << "Out of memory while opening" << database.connectionName();
        database.close();
        return false;
    }
}

bool CollectionFileConnection::openNoThrow(QSqlDatabase &database)
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
    CollectionFileState state;
    Mode mode = Mode::ReadOnly;
    bool isOpen = false;
    for (int attempt = 1; !isOpen; ++attempt) {
        // Taken before the file is opened, so that a change while it opens is
        // seen at the next use.
        state = CollectionFileState::of(file);
        mode = modeFor(state);
        database.setDatabaseName(uriFor(file, queryFor(mode)));
        database.setConnectOptions(readOnlyUri);
        isOpen = database.open();
        // The connection goes by the file's path as found, whatever it reads.
        database.setDatabaseName(path);
        database.setConnectOptions(readOnly);
        // Opening reads the file's header, which fails when a writer changed
        // the file meanwhile: opened again as it is now.
        if (!isOpen && (attempt == openAttempts || CollectionFileState::of(file) == state)) {
            qDebug() << "Could not open" << path << database.lastError().text();
            return false;
        }
    }
    sqlite3 *const connection = SqliteHandle::of(database);
    // Before anything is read: the log's index is then kept in memory, and
    // the file's lock (no more than shared) held while the connection lives.
    if (mode == Mode::OwnIndex
        && sqlite3_exec(connection, "PRAGMA locking_mode = EXCLUSIVE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        qDebug() << "Could not keep the log's index in memory for" << path;
        database.close();
        return false;
    }
    UpperCaseCollation::ensureRegistered(database);
    StartsWithFunction::registerOn(database);
    sqlite3_busy_handler(connection, &waitForLock, nullptr);
    const qint64 dataVersion = mode == Mode::SharedIndex ? dataVersionOf(connection) : -1;

    QMutexLocker locker(&s_lock);
    OpenedFile &opened = s_files[database.connectionName()];
    opened.resolvedPath = file;
    opened.mode = mode;
    opened.state = state;
    opened.dataVersion = dataVersion;
    opened.generation = ++s_lastGeneration;
    return true;
}

void CollectionFileConnection::recordChange(const QString &connectionName, const CollectionFileState &state,
                                            qint64 dataVersion)
{
    QMutexLocker locker(&s_lock);
    OpenedFile &opened = s_files[connectionName];
    opened.state = state;
    opened.dataVersion = dataVersion;
    opened.generation = ++s_lastGeneration;
}

bool CollectionFileConnection::reopenIfChanged(QSqlDatabase &database)
{
    if (!database.isValid())
        return false;
    if (!database.isOpen())
        return open(database);
    try {
        OpenedFile file;
        {
            QMutexLocker locker(&s_lock);
            const auto found = s_files.constFind(database.connectionName());
            if (found == s_files.constEnd())
                return false;
            file = *found;
        }
        const QString &path = file.resolvedPath;
        // A link that names another file now: that file is opened.
        const bool relinked = file.path != path && resolved(file.path) != path;
        sqlite3 *const connection = SqliteHandle::of(database);
        const CollectionFileState current = CollectionFileState::of(path, mainFileOf(connection));
        // SQLite reads on through its descriptor of a file replaced meanwhile.
        if (!relinked && current.identity() == file.state.identity() && modeFor(current) == file.mode) {
            switch (file.mode) {
            case Mode::ReadOnly:
                // SQLite sees the commits of a writer in the rollback mode
                // itself, and every one changes the header's change counter.
                if (current == file.state)
                    return false;
                recordChange(database.connectionName(), current, -1);
                return true;
            case Mode::SharedIndex: {
                // As does a reader of the writer's index, which also counts
                // them, also those within the grain of the file times.
                const qint64 dataVersion = dataVersionOf(connection);
                if (dataVersion >= 0 && dataVersion == file.dataVersion)
                    return false;
                recordChange(database.connectionName(), current, dataVersion);
                return true;
            }
            case Mode::Immutable:
            case Mode::OwnIndex:
                if (current == file.state)
                    return false;
                break;
            }
        }
    } catch (const std::bad_alloc &) {
        qDebug() << "Out of memory while looking at" << database.connectionName();
        return false;
    }
    database.close();
    open(database);
    return true;
}

quint64 CollectionFileConnection::generation(const QSqlDatabase &database)
{
    if (!database.isOpen())
        return 0;
    QMutexLocker locker(&s_lock);
    return s_files.value(database.connectionName()).generation;
}

} // namespace Velmar
