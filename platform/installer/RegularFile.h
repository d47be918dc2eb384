#ifndef PATHWARDEN_REGULARFILE_H
#define PATHWARDEN_REGULARFILE_H

#include <QByteArray>
#include <QString>

#include <optional>

// Reads files that a package or the machine may have planted: only regular
// files (links to them are followed), up to a size limit. A named pipe, a
// device or a folder is refused at once instead of blocking the reader or
// feeding it without end.
class RegularFile
{
public:
    // Property lists, strings tables and the VPD file are far smaller.
    static constexpr qsizetype DefaultLimit = 16 * 1024 * 1024;

    // The whole file; nothing, with *error set, when it cannot be opened, is
    // no regular file or holds more than limit bytes.
    static std::optional<QByteArray> read(const QString &path, qsizetype limit = DefaultLimit,
                                          QString *error = nullptr);

private:
    RegularFile() = default;
};

#endif // PATHWARDEN_REGULARFILE_H
