#ifndef VELMAR_COLLECTIONFILECONNECTION_H
#define VELMAR_COLLECTIONFILECONNECTION_H

#include <QByteArray>
#include <QHash>
#include <QMutex>
#include <QSqlDatabase>
#include <QString>

struct sqlite3;

namespace Velmar {

// Connections on collection files that read them and create nothing beside
// them, in a folder the user can write or not, whatever journal mode the
// file was written in. A file in the rollback-journal mode is opened
// read-only, and SQLite creates nothing. Beside a file in write-ahead-log
// mode SQLite would create a "-shm" file (and a "-wal" one), and from a
// read-only folder it could not read such a file with a log left beside it:
// such a file is opened as immutable, which touches nothing, and a log left
// beside is applied here, whole.
class CollectionFileConnection
{
public:
    // A connection of Qt's SQLite driver under the name, on the file (an
    // absolute path), not yet open.
    // Safe from any thread; the connection belongs to the calling thread.
    static QSqlDatabase add(const QString &connectionName, const QString &filePath);
    // Closes the connection of the calling thread and removes it from Qt's
    // registry and from what is kept of its file.
    static void remove(const QString &connectionName);

    // Opens the connection and registers the comparison of names on it. When
    // a write-ahead log with committed transactions lies beside the file, the
    // connection reads the file with all of them applied, from memory; a log
    // that cannot be read or applied is left out, with a debug line. False
    // when the file does not open.
    static bool open(QSqlDatabase &database);
    // Opens the connection as open() does, with the comparison of names,
    // without reading a log left beside: whether the file can be read at all.
    static bool probe(QSqlDatabase &database);
    // Opens the connection again when it was closed, or when it reads an
    // immutable file and the file or the log beside it changed since: SQLite
    // then looks for no change itself.
    static void reopenIfChanged(QSqlDatabase &database);

    // The URI that opens the file read-only and immutable: its path with
    // every character that a URI reserves percent-encoded.
    static QString uriFor(const QString &filePath);

private:
    CollectionFileConnection() = default;

    struct OpenedFile {
        QString path;
        // The file itself, symbolic links resolved: SQLite looks beside it.
        QString resolvedPath;
        bool immutable = false;
        // Of the file and its log, when opened as immutable.
        QByteArray signature;
    };

    static bool openFile(QSqlDatabase &database, bool withLog);
    // Whether SQLite would write beside the file to read it: the header
    // names the write-ahead log, or a log lies beside.
    static bool needsImmutable(const QString &filePath);
    // Sizes and times of the file and of its log, and what a writer rewrites
    // at every commit, to tell that either changed.
    static QByteArray signatureOf(const QString &filePath);
    // Replaces the connection's file by the file with the log applied; the
    // signature of what was read.
    static QByteArray applyLeftoverLog(sqlite3 *handle, const QString &filePath);

    // By connection name; connections of worker threads are kept here too.
    static QHash<QString, OpenedFile> s_files;
    static QMutex s_filesLock;
};

} // namespace Velmar

#endif // VELMAR_COLLECTIONFILECONNECTION_H
