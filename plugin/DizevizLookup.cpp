#include "plugin/DizevizLookup.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"
#include "services/CollectionSettings.h"

#include <QDir>
#include <QHash>
#include <QSet>

namespace Velmar {

QString DizevizLookup::watchedFilePath(const QUuid &collection)
{
    if (!CollectionSettings::dizevizAvailable(collection))
        return QString();
    // The setting names a macOS folder; elsewhere it is a folder path as well
    // and is taken as it stands, without any translation.
    const QString folder = CollectionSettings::dizevizWatchFolder(collection);
    const QString fileName = CollectionSettings::dizevizWatchFileName(collection);
    if (folder.isEmpty() || fileName.isEmpty())
        return QString();
    return folder + QDir::separator() + fileName;
}

QVector<DB::ColorEntry> DizevizLookup::offerFor(const QStringList &names)
{
    QVector<DB::ColorEntry> offer;
    if (names.isEmpty())
        return offer;
    QVector<qint64> collections;
    if (DBManager::GetCapsurableCollectionIdsInOrder(collections) != 0 || collections.isEmpty())
        return offer;

    QHash<qint64, QVector<DB::ColorEntry>> groups;
    QHash<qint64, QSet<qint64>> seen;
    for (const QString &name : names) {
        QVector<DB::ColorEntry> found;
        if (DBManager::SearchForDizevizColorEntries(name, found) != 0)
            continue;
        for (const DB::ColorEntry &entry : qAsConst(found)) {
            QSet<qint64> &ids = seen[entry.collectionId];
            if (ids.contains(entry.id))
                continue;
            ids.insert(entry.id);
            groups[entry.collectionId].append(entry);
        }
    }
    for (qint64 collection : qAsConst(collections))
        offer += groups.value(collection);
    return offer;
}

QUuid DizevizLookup::collectionUuidOf(const DB::ColorEntry &entry)
{
    // The Dizeviz search runs on the file of the system-wide collection, so
    // the chip's collection id counts within that file alone.
    const QUuid uuid = DBManager::GetCollectionUuidById(DBStructure::SystemWideCollectionUuid, entry.collectionId);
    return uuid == DBStructure::SystemWideCollectionUuid ? QUuid() : uuid;
}

QString DizevizLookup::collectionNameOf(const DB::ColorEntry &entry)
{
    QSharedPointer<DB::Collection> record;
    if (DBManager::GetCollectionByUuid(collectionUuidOf(entry), record) != 0)
        return QString();
    return record->name;
}

} // namespace Velmar
