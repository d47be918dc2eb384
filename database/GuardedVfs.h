#ifndef VELMAR_GUARDEDVFS_H
#define VELMAR_GUARDEDVFS_H

#include <QByteArray>
#include <QString>

namespace Velmar {

// SQLite's own file layer with a guard around it, for connections that read
// collection files where they lie. Through it SQLite reads the file and, for
// a hot-journal check, its rollback journal, and writes, creates or deletes
// nothing beside them. It offers no shared memory, so SQLite never joins a
// write-ahead log there: a file that another process switches to that mode
// fails to read, cleanly, instead of getting a "-wal" and a "-shm" beside it.
// A file opened as immutable is read without locks, so every read first
// checks that the file and its neighbours still look as at the open, and
// fails when they do not: what was cached may no longer match the file.
class GuardedVfs
{
public:
    // The name to give as "vfs=" in a URI; registered at the first call, from
    // any thread.
    static const char *name();

    // The first bytes of the file, up to `length`, read through SQLite's own
    // file layer, which keeps the locks other connections of this process
    // hold on the file when it closes it (a plain close would drop them all).
    // Empty when the file cannot be read.
    static QByteArray readPrefix(const QString &filePath, int length);
    // Copies the whole file so, into `destination` (created or truncated);
    // false when either side fails.
    static bool copyTo(const QString &filePath, const QString &destination);

private:
    GuardedVfs() = default;
};

} // namespace Velmar

#endif // VELMAR_GUARDEDVFS_H
