#include "plugin/FileReplacer.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Velmar {

const qint64 FileReplacer::s_largestRestorableFile = 64 * 1024 * 1024;

namespace {

// Written and flushed here: Qt 6.4 does not notice a failure of the flush
// that QSaveFile::commit() makes itself, and would put a truncated file
// in place.
bool writeAll(QFileDevice &file, const QByteArray &bytes)
{
    return file.write(bytes) == bytes.size() && file.flush() && file.error() == QFileDevice::NoError;
}

} // namespace

bool FileReplacer::replace(const QString &path, const QByteArray &bytes)
{
    {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            if (!writeAll(file, bytes)) {
                file.cancelWriting();
                return false;
            }
            return file.commit();
        }
    }
    // No temporary file could be made beside it. Only a file that is there
    // already can be written in place: a new one would need the folder too.
    const QFileInfo existing(path);
    if (!existing.isFile() || !existing.isWritable())
        return false;
    return replaceInPlace(path, bytes);
}

bool FileReplacer::replaceInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    // Not truncated on opening: the old bytes stay until the new ones are in.
    // Unbuffered, so that what a failed write left unwritten is not written
    // again when the old bytes go back.
    if (!file.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    if (file.size() > s_largestRestorableFile)
        return false;
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError || old.size() != file.size())
        return false;

    // Over the old bytes first, so that a full disk needs room only for what
    // the new file has more than the old one; then cut to the new length.
    if (file.seek(0) && writeAll(file, bytes) && file.resize(bytes.size()))
        return true;

    // The old bytes go back over whatever part of the new ones got in.
    file.unsetError();
    if (!file.seek(0) || !writeAll(file, old) || !file.resize(old.size()))
        qWarning("FileReplacer: %s could not be written and may be damaged", qPrintable(path));
    return false;
}

} // namespace Velmar
