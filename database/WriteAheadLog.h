#ifndef VELMAR_WRITEAHEADLOG_H
#define VELMAR_WRITEAHEADLOG_H

#include <QByteArray>
#include <QtGlobal>

namespace Velmar {

// The "-wal" file that an SQLite writer leaves beside its database when it
// stops before a checkpoint. SQLite applies it only through a "-shm" file
// created beside the database; the collection files are read without
// creating anything there, so the log is applied here, to a copy of the
// database in memory, the way SQLite's own recovery applies it.
class WriteAheadLog
{
public:
    // Applies to image, the bytes of the database file, every transaction of
    // the log up to its last commit whose frames all carry the log's salts
    // and checksums; the frames after it belong to a transaction that never
    // committed, or was torn, and are dropped whole. The number of frames
    // applied; 0 when the log commits nothing (image unchanged); -1 when the
    // log cannot belong to the image (unknown header, another page size,
    // pages far beyond both files), image unchanged.
    static int applyCommitted(const QByteArray &log, QByteArray &image);

    // The database header's journal mode bytes set back to the rollback
    // journal, so that SQLite reads the applied image as a whole file.
    static void markAsRollbackJournal(QByteArray &image);

private:
    WriteAheadLog() = default;

    // SQLite's running checksum over the 32-bit words of data, in the byte
    // order the log's magic number names.
    static void checksum(const char *data, int size, bool bigEndianWords, quint32 &first, quint32 &second);
    static int databasePageSize(const QByteArray &image);
};

} // namespace Velmar

#endif // VELMAR_WRITEAHEADLOG_H
