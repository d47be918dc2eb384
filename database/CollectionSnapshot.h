#ifndef VELMAR_COLLECTIONSNAPSHOT_H
#define VELMAR_COLLECTIONSNAPSHOT_H

#include "database/CollectionFileState.h"

#include <QSharedPointer>
#include <QString>

namespace Velmar {

// A copy of a collection file with the logs beside it, in a private folder
// of the user's cache, for SQLite to recover and read there as it would the
// file itself: where the file lies nothing may be created, and a log beside
// it is read by SQLite only through a "-shm" file made beside it. The copy is
// a state some commit left, and stays so while the file changes; its folder
// goes with the last reference to it.
class CollectionSnapshot
{
public:
    ~CollectionSnapshot();
    CollectionSnapshot(const CollectionSnapshot &) = delete;
    CollectionSnapshot &operator=(const CollectionSnapshot &) = delete;

    // Copies the file (a path with links resolved) and its "-wal" and
    // "-journal" files when they are regular files. Null when the copy could
    // not be made, or when the file changed so while it was copied, each
    // time of `attempts`, that the copy might mix two states.
    static QSharedPointer<CollectionSnapshot> take(const QString &filePath, int attempts);

    // The copy of the file, to open read-only.
    QString filePath() const { return m_filePath; }
    // The original as it was when the copy began.
    const CollectionFileState &state() const { return m_state; }

    // Where the copies of this process lie; for tests.
    static QString folderOfProcess();

private:
    CollectionSnapshot() = default;

    // Copies what the state names into the folder; false on a failure.
    static bool copyInto(const QString &filePath, const CollectionFileState &state, const QString &folder);
    static bool copyNeighbour(const QString &path, const QString &destination);
    // Removes the folders of processes that ended without removing theirs.
    static void removeAbandonedFolders(const QString &root);

    QString m_folder;
    QString m_filePath;
    CollectionFileState m_state;
};

} // namespace Velmar

#endif // VELMAR_COLLECTIONSNAPSHOT_H
