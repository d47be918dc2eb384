#ifndef VELMAR_COLLECTIONFILECONNECTION_H
#define VELMAR_COLLECTIONFILECONNECTION_H

#include "database/CollectionFileState.h"
#include "database/CollectionSnapshot.h"

#include <QHash>
#include <QMutex>
#include <QSharedPointer>
#include <QSqlDatabase>
#include <QString>

namespace Velmar {

// Connections on collection files that read them as SQLite itself would,
// also while another process writes them, and create nothing beside them,
// in a folder the user can write or not. Files nobody is writing are read
// where they lie: one in the rollback-journal mode read-only, with SQLite's
// locking; one in the write-ahead-log mode with no log beside as immutable.
// A file with a log beside, or with a writer at work on its log, is read
// from a copy that SQLite recovers as it would the file (CollectionSnapshot).
class CollectionFileConnection
{
public:
    // A connection of Qt's SQLite driver under the name, on the file (an
    // absolute path), not yet open. Safe from any thread; the connection
    // belongs to the calling thread.
    static QSqlDatabase add(const QString &connectionName, const QString &filePath);
    // Closes the connection of the calling thread and removes it from Qt's
    // registry and from what is kept of its file.
    static void remove(const QString &connectionName);

    // Opens the connection and registers the comparison of names on it.
    // False when the file does not open, or when it has a log beside and no
    // copy of it could be taken that a commit left.
    static bool open(QSqlDatabase &database);
    // Opens the connection again when it was closed, or when its file
    // changed in a way SQLite does not see on this connection: a file read
    // as immutable or from a copy, or one whose journal mode changed.
    static void reopenIfChanged(QSqlDatabase &database);
    // A number that changes whenever what the connection reads may have
    // changed since: it was opened again, or a writer committed to its file.
    // 0 for a connection that is not open.
    static quint64 generation(const QSqlDatabase &database);

    // A URI of the file for SQLite: its path with every character that a
    // URI reserves percent-encoded, and the query.
    static QString uriFor(const QString &filePath, const QString &query);

private:
    CollectionFileConnection() = default;

    enum class Mode { ReadOnly, Immutable, Copy };

    struct OpenedFile {
        QString path;
        // The file itself, links resolved when it was opened.
        QString resolvedPath;
        Mode mode = Mode::ReadOnly;
        // Of the file the connection reads from, taken before it was opened.
        CollectionFileState state;
        QSharedPointer<CollectionSnapshot> snapshot;
        quint64 generation = 0;
    };

    static Mode modeFor(const CollectionFileState &state);
    // The newest copy of the file: the one kept when it still shows the
    // file's state, else a new one, else (the file changing all the time)
    // the one kept. Null when there is none.
    static QSharedPointer<CollectionSnapshot> snapshotFor(const QString &resolvedPath,
                                                          const CollectionFileState &state);
    static QString resolved(const QString &path);
    // Opens the connection on `taken` when the file is read from a copy and
    // one was just taken for it, else as open() does.
    static bool openWith(QSqlDatabase &database, const QSharedPointer<CollectionSnapshot> &taken);
    static bool openNoThrow(QSqlDatabase &database, const QSharedPointer<CollectionSnapshot> &taken);

    // By connection name; connections of worker threads are kept here too.
    static QHash<QString, OpenedFile> s_files;
    // The newest copy of each file, by its path with links resolved.
    static QHash<QString, QSharedPointer<CollectionSnapshot>> s_snapshots;
    static quint64 s_lastGeneration;
    static QMutex s_lock;
};

} // namespace Velmar

#endif // VELMAR_COLLECTIONFILECONNECTION_H
