#ifndef VELMAR_COLLECTIONFILESTATE_H
#define VELMAR_COLLECTIONFILESTATE_H

#include <QByteArray>
#include <QString>

struct sqlite3_file;

namespace Velmar {

// How a collection file and the files SQLite keeps beside it look at one
// moment, read without disturbing anybody: the file's header through
// SQLite's own file layer, the "-wal" and "-shm" files only when they are
// regular files, opened without blocking and without following links. Two
// states differ when anybody committed, checkpointed, started the log again,
// switched the journal mode or replaced a file in between.
class CollectionFileState
{
public:
    enum class Kind { Absent, File, Other };

    // Of the file (a path with links resolved); its header read through
    // `openFile`, SQLite's own handle on it, when one is given.
    static CollectionFileState of(const QString &filePath, sqlite3_file *openFile = nullptr);

    bool operator==(const CollectionFileState &other) const;
    bool operator!=(const CollectionFileState &other) const { return !(*this == other); }

    // A regular "-wal" file with something in it: SQLite would apply it.
    bool hasLog() const { return m_log == Kind::File && m_logSize > 0; }
    Kind log() const { return m_log; }
    Kind index() const { return m_index; }
    // The header names the write-ahead log as the file's journal mode.
    bool headerNamesTheLog() const;

    // Whether a copy of the file taken after `before` and of its log taken
    // before this state holds a state that a commit left: the same file, and
    // its log neither started again nor cut in between, which is what would
    // take away the frames that complete pages a checkpoint was copying into
    // the file. A file in the rollback mode must not have changed at all.
    bool continues(const CollectionFileState &before) const;

private:
    // Kind, identity, size and times of a file, as one comparable text.
    static QByteArray lookOf(const QString &path, Kind &kind, qint64 &size, QByteArray *identity = nullptr);
    // The first bytes of a regular file beside the collection file.
    static QByteArray prefixOfNeighbour(const QString &path, int length);

    QByteArray m_fileIdentity;
    QByteArray m_fileLook;
    QByteArray m_header;
    QByteArray m_journalLook;
    Kind m_log = Kind::Absent;
    qint64 m_logSize = 0;
    QByteArray m_logLook;
    QByteArray m_logHeader;
    Kind m_index = Kind::Absent;
    qint64 m_indexSize = 0;
    QByteArray m_indexLook;
    QByteArray m_indexHeader;
};

} // namespace Velmar

#endif // VELMAR_COLLECTIONFILESTATE_H
