#ifndef HUEFORM_FILEBYTES_H
#define HUEFORM_FILEBYTES_H

#include <QByteArray>
#include <QString>

// A file's bytes read or written whole, for tests that compare files.
class FileBytes
{
public:
    // Empty when the file cannot be read.
    static QByteArray read(const QString &path);
    // Replaces the file's content; false when not every byte got in.
    static bool write(const QString &path, const QByteArray &bytes);

private:
    FileBytes() = default;
};

#endif // HUEFORM_FILEBYTES_H
