#include "database/DBManager.h"

#include "database/DBStructure.h"

namespace Velmar {

int DBManager::GetCollectionUuidOfColorEntry(const DB::ColorEntry &entry, const QUuid &preferred, QUuid &out)
{
    out = QUuid();
    if (entry.id <= 0)
        return -1;
    if (s_installed_collections.isEmpty())
        GetInstalledCollections(s_installed_collections, true);

    QList<QUuid> candidates;
    for (const CollectionInfo &info : qAsConst(s_installed_collections)) {
        if (info.id != entry.collectionId || info.uuid == DBStructure::SystemWideCollectionUuid)
            continue;
        if (info.uuid == preferred)
            candidates.prepend(info.uuid);
        else
            candidates.append(info.uuid);
    }
    for (const QUuid &candidate : qAsConst(candidates)) {
        DB::ColorEntry probe;
        if (GetColorEntryById(candidate, entry.id, probe) == 0 && probe.pageId == entry.pageId
            && probe.code == entry.code) {
            out = candidate;
            return 0;
        }
    }
    return -1;
}

} // namespace Velmar
