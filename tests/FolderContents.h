#ifndef HUEFORM_FOLDERCONTENTS_H
#define HUEFORM_FOLDERCONTENTS_H

#include <QByteArray>
#include <QMap>
#include <QString>

// What a folder holds, to show that reading its collection files created or
// changed nothing there.
class FolderContents
{
public:
    // Every entry by name: a regular file with a digest of its bytes, a link
    // with its target, anything else (a pipe, a folder) by its kind alone,
    // never opened.
    static QMap<QString, QByteArray> of(const QString &folder);

private:
    FolderContents() = default;
};

#endif // HUEFORM_FOLDERCONTENTS_H
