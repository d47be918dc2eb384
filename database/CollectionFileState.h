#ifndef VELMAR_COLLECTIONFILESTATE_H
#define VELMAR_COLLECTIONFILESTATE_H

#include <QByteArray>
#include <QString>

struct sqlite3_file;

namespace Velmar {

// How a collection file and the files SQLite keeps beside it look at one
// moment, taken without opening any of those beside it: closing a descriptor
// of the index would drop the locks this process holds on it. The file's
// header is read through SQLite's own file layer. Two states differ when
// anybody wrote, replaced, created or removed one of them in between, within
// the grain of the file times (a commit in the rollback mode also changes the
// header's change counter).
class CollectionFileState
{
public:
    enum class Kind { Absent, File, Other };

    // Of the file (a path with links resolved); its header read through
    // `openFile`, SQLite's own handle on it, when one is given.
    static CollectionFileState of(const QString &filePath, sqlite3_file *openFile = nullptr);

    bool operator==(const CollectionFileState &other) const;
    bool operator!=(const CollectionFileState &other) const { return !(*this == other); }

    Kind log() const { return m_log; }
    Kind index() const { return m_index; }
    // The header names the write-ahead log as the file's journal mode.
    bool headerNamesTheLog() const;
    // Device and inode of the file; empty when it cannot be looked at.
    QByteArray identity() const { return m_fileIdentity; }

private:
    // Kind, identity, mode, size and times of a file, as one comparable text.
    static QByteArray lookOf(const QString &path, Kind &kind, qint64 &size, QByteArray *identity = nullptr);

    QByteArray m_fileIdentity;
    QByteArray m_fileLook;
    QByteArray m_header;
    QByteArray m_journalLook;
    Kind m_log = Kind::Absent;
    QByteArray m_logLook;
    Kind m_index = Kind::Absent;
    QByteArray m_indexLook;
};

} // namespace Velmar

#endif // VELMAR_COLLECTIONFILESTATE_H
