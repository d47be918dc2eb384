#ifndef VELMAR_GUARDEDVFS_H
#define VELMAR_GUARDEDVFS_H

#include <QByteArray>
#include <QString>

namespace Velmar {

// SQLite's own file layer with a guard around it, for connections that read
// collection files where they lie. Through it SQLite reads the file, its
// rollback journal for a hot-journal check and, where the URI asks for it,
// its write-ahead log, and writes, creates or deletes nothing beside them.
// What the URI of a connection asks for:
// - nothing more: the rollback-journal mode with SQLite's locks; no shared
//   memory is offered, so SQLite refuses the log rather than creating it;
// - "readonly_shm=1": the log read through the index of the writer at work
//   (or, with none, as SQLite reads a log whose index it cannot trust), the
//   index mapped read-only, never created;
// - ownLogParameter(): the log read with an index of SQLite's own in memory,
//   which it keeps when the connection is in the exclusive locking mode; the
//   file's lock goes no further than shared, which keeps out a writer in the
//   rollback mode, and every read checks that the file and its neighbours
//   still look as at the open (a writer at work on the log would have made an
//   index beside it first), but for the reads of the whole log that build the
//   index, which the next read of a page checks;
// - "immutable=1": the file alone, read without locks, each read checked so.
class GuardedVfs
{
public:
    // The name to give as "vfs=" in a URI; registered at the first call, from
    // any thread.
    static const char *name();
    // The URI parameter, "=1", of a connection that reads the log with an
    // index of its own.
    static const char *ownLogParameter();

    // The first bytes of the file, up to `length`, read through SQLite's own
    // file layer, which keeps the locks other connections of this process
    // hold on the file when it closes it (a plain close would drop them all).
    // Empty when the file cannot be read.
    static QByteArray readPrefix(const QString &filePath, int length);

    // For tests: called after each read through this layer, before the read
    // is checked, with the path of the file read; a read it answers false
    // for fails as an I/O error would. Null for none; the hook must not be
    // changed while connections read.
    using ReadHook = bool (*)(const char *path);
    static void setReadHook(ReadHook hook);

private:
    GuardedVfs() = default;
};

} // namespace Velmar

#endif // VELMAR_GUARDEDVFS_H
