#include "database/WriteAheadLog.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace Velmar {

namespace {

const int logHeaderSize = 32;
const int frameHeaderSize = 24;
const quint32 logMagic = 0x377f0682; // the low bit names the checksum byte order
const quint32 logFormatVersion = 3007000;
const char databaseHeader[] = "SQLite format 3";

quint32 bigEndianAt(const char *data)
{
    return qFromBigEndian<quint32>(data);
}

} // namespace

void WriteAheadLog::checksum(const char *data, int size, bool bigEndianWords, quint32 &first, quint32 &second)
{
    for (int i = 0; i + 8 <= size; i += 8) {
        const quint32 a = bigEndianWords ? qFromBigEndian<quint32>(data + i) : qFromLittleEndian<quint32>(data + i);
        const quint32 b =
            bigEndianWords ? qFromBigEndian<quint32>(data + i + 4) : qFromLittleEndian<quint32>(data + i + 4);
        first += a + second;
        second += b + first;
    }
}

int WriteAheadLog::databasePageSize(const QByteArray &image)
{
    if (image.size() < 100 || std::memcmp(image.constData(), databaseHeader, sizeof databaseHeader) != 0)
        return 0;
    const int size = qFromBigEndian<quint16>(image.constData() + 16);
    return size == 1 ? 65536 : size;
}

int WriteAheadLog::applyCommitted(const QByteArray &log, QByteArray &image)
{
    // A log of no more than its header holds no frame: SQLite reads it as empty.
    if (log.size() <= logHeaderSize)
        return 0;
    const char *header = log.constData();
    const quint32 magic = bigEndianAt(header);
    const quint32 pageSize = bigEndianAt(header + 8);
    if ((magic & ~1u) != logMagic || bigEndianAt(header + 4) != logFormatVersion || pageSize < 512
        || pageSize > 65536 || (pageSize & (pageSize - 1)) != 0)
        return -1;
    const bool bigEndianWords = (magic & 1u) != 0;
    quint32 first = 0;
    quint32 second = 0;
    checksum(header, logHeaderSize - 8, bigEndianWords, first, second);
    if (first != bigEndianAt(header + 24) || second != bigEndianAt(header + 28))
        return -1;
    const int imagePageSize = databasePageSize(image);
    if (imagePageSize != 0 && quint32(imagePageSize) != pageSize)
        return -1;

    // Frames count while each carries the header's salts and continues the
    // running checksum; a transaction counts from its commit frame on.
    const qsizetype frameSize = frameHeaderSize + qsizetype(pageSize);
    int frames = 0;
    int committedFrames = 0;
    quint32 committedPages = 0;
    quint32 highestPage = 0;
    quint32 committedHighestPage = 0;
    for (qsizetype offset = logHeaderSize; offset + frameSize <= log.size(); offset += frameSize) {
        const char *frame = header + offset;
        if (std::memcmp(frame + 8, header + 16, 8) != 0)
            break;
        const quint32 page = bigEndianAt(frame);
        if (page == 0)
            break;
        checksum(frame, 8, bigEndianWords, first, second);
        checksum(frame + frameHeaderSize, int(pageSize), bigEndianWords, first, second);
        if (first != bigEndianAt(frame + 16) || second != bigEndianAt(frame + 20))
            break;
        ++frames;
        highestPage = std::max(highestPage, page);
        const quint32 pagesAfterCommit = bigEndianAt(frame + 4);
        if (pagesAfterCommit != 0) {
            committedFrames = frames;
            committedPages = pagesAfterCommit;
            committedHighestPage = highestPage;
        }
    }
    if (committedFrames == 0)
        return 0;

    // A database grows a page at a time, each new page written to the log:
    // a log that reaches further than that cannot belong to this file, and
    // following it would only fill memory.
    const qsizetype imagePages = (image.size() + pageSize - 1) / pageSize;
    const qsizetype reachable = imagePages + committedFrames;
    if (qsizetype(committedHighestPage) > reachable || qsizetype(committedPages) > reachable)
        return -1;

    const qsizetype pagesNeeded = std::max<qsizetype>(imagePages, committedHighestPage);
    if (image.size() < pagesNeeded * qsizetype(pageSize))
        image.append(QByteArray(pagesNeeded * qsizetype(pageSize) - image.size(), '\0'));
    for (int i = 0; i < committedFrames; ++i) {
        const char *frame = header + logHeaderSize + i * frameSize;
        const qsizetype page = bigEndianAt(frame);
        std::memcpy(image.data() + (page - 1) * qsizetype(pageSize), frame + frameHeaderSize, pageSize);
    }
    const qsizetype committedSize = qsizetype(committedPages) * qsizetype(pageSize);
    if (image.size() > committedSize)
        image.truncate(committedSize);
    else if (image.size() < committedSize)
        image.append(QByteArray(committedSize - image.size(), '\0'));
    return committedFrames;
}

void WriteAheadLog::markAsRollbackJournal(QByteArray &image)
{
    // Bytes 18 and 19: the file format versions to write and to read, 2 for
    // the write-ahead log, 1 for the rollback journal.
    if (image.size() < 100 || std::memcmp(image.constData(), databaseHeader, sizeof databaseHeader) != 0)
        return;
    if (image.at(18) == 2)
        image[18] = 1;
    if (image.at(19) == 2)
        image[19] = 1;
}

} // namespace Velmar
