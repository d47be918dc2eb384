#ifndef VELMAR_FILEREPLACER_H
#define VELMAR_FILEREPLACER_H

#include <QByteArray>
#include <QString>

namespace Velmar {

// Puts new bytes into a file the user chose, keeping the old file wherever
// the write fails. Through a temporary file beside it that then replaces it
// whole; where the folder takes no new file but the file itself may be
// written (a shared folder the user cannot write, over their own file), the
// file is written in place and its old bytes put back when that fails.
class FileReplacer
{
public:
    // True once every byte is in the file. False when nothing could be
    // written, and then the old file, if there was one, is as it was.
    static bool replace(const QString &path, const QByteArray &bytes);

    // An old file written in place is kept in memory until the new bytes
    // are in; one larger than this is left alone instead.
    static const qint64 s_largestRestorableFile;

private:
    FileReplacer() = default;

    static bool replaceInPlace(const QString &path, const QByteArray &bytes);
};

} // namespace Velmar

#endif // VELMAR_FILEREPLACER_H
