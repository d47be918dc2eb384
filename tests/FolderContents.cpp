#include "FolderContents.h"

#include "FileBytes.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

QMap<QString, QByteArray> FolderContents::of(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    const QDir dir(folder);
    const QFileInfoList infos = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : infos) {
        QByteArray description;
        if (info.isSymLink())
            description = "link to " + info.symLinkTarget().toUtf8();
        else if (info.isDir())
            description = "folder";
        else if (info.isFile())
            description = QCryptographicHash::hash(FileBytes::read(info.filePath()), QCryptographicHash::Sha1).toHex();
        else
            description = "other";
        entries.insert(info.fileName(), description);
    }
    return entries;
}
