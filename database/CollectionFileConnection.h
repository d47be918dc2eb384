#ifndef VELMAR_COLLECTIONFILECONNECTION_H
#define VELMAR_COLLECTIONFILECONNECTION_H

#include "database/CollectionFileState.h"

#include <QHash>
#include <QMutex>
#include <QSqlDatabase>
#include <QString>

namespace Velmar {

// Connections on collection files that read them where they lie, as SQLite
// itself would, also while another process writes them, and create, write
// or remove nothing beside them, in a folder the user can write or not
// (GuardedVfs):
// - a file in the rollback-journal mode read-only, with SQLite's locks;
// - a file with a log and an index beside through that index, as SQLite's
//   readers do that cannot write it, so that a writer at work keeps its
//   checkpoints off what they read;
// - a file with a log and no index beside (no writer can be at work on it)
//   with an index of SQLite's own in memory;
// - a file in the log mode with no log beside as immutable.
// The two last are read without the locks of a writer: each use looks
// whether the file changed, and opens it again when it did.
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
    // False when the file does not open.
    static bool open(QSqlDatabase &database);
    // Opens the connection again when it was closed, or when its file
    // changed in a way SQLite does not see on this connection: a file read
    // without a writer's locks changed, its journal mode changed, or it was
    // replaced. True when what the connection reads may differ from what it
    // read before: it was opened again, or a writer committed meanwhile.
    static bool reopenIfChanged(QSqlDatabase &database);
    // A number that changes whenever what the connection reads may have
    // changed since: it was opened again, or a writer committed to its file.
    // 0 for a connection that is not open.
    static quint64 generation(const QSqlDatabase &database);

    // Whether a connection on the file would build the index of a log left
    // beside it in its own memory, reading the whole log, as each other
    // connection on it would again.
    static bool indexesTheLogItself(const QString &filePath);

    // A URI of the file for SQLite: its path with every character that a
    // URI reserves percent-encoded, and the query.
    static QString uriFor(const QString &filePath, const QString &query);

private:
    CollectionFileConnection() = default;

    enum class Mode { ReadOnly, Immutable, SharedIndex, OwnIndex };

    struct OpenedFile {
        QString path;
        // The file itself, links resolved when it was opened.
        QString resolvedPath;
        Mode mode = Mode::ReadOnly;
        // Of the file, taken before it was opened and at each use since.
        CollectionFileState state;
        // SQLite's count of the commits other connections made, as last seen.
        qint64 dataVersion = -1;
        quint64 generation = 0;
    };

    static Mode modeFor(const CollectionFileState &state);
    static QString queryFor(Mode mode);
    static QString resolved(const QString &path);
    static bool openNoThrow(QSqlDatabase &database);
    // A new generation for the connection, with what was seen of its file.
    static void recordChange(const QString &connectionName, const CollectionFileState &state, qint64 dataVersion);

    // By connection name; connections of worker threads are kept here too.
    static QHash<QString, OpenedFile> s_files;
    static quint64 s_lastGeneration;
    static QMutex s_lock;
};

} // namespace Velmar

#endif // VELMAR_COLLECTIONFILECONNECTION_H
