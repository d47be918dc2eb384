// Chips read several at a time, for views that show chips of any
// collection at once.

#include "database/DBManager.h"

#include "database/CollectionQuery.h"
#include "database/DBStructure.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace Velmar {

int DBManager::GetColorEntriesByIds(const QUuid &collection, const QVector<qint64> &rowIds,
                                    QHash<qint64, DB::ColorEntry> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    if (rowIds.isEmpty())
        return 0;
    QStringList ids;
    ids.reserve(rowIds.size());
    for (qint64 id : rowIds)
        ids.append(QString::number(id));
    QSqlError error;
    if (!CollectionQuery::forEachRow(connectionFor(collection),
                                     DBStructure::_scrSelectChipsByIds.arg(QString::number(GetCollectionIdByUuid(collection)),
                                                                           ids.join(QLatin1Char(','))),
                                     [&out] { out.clear(); },
                                     [&out](const QSqlQuery &query) {
                                         const DB::ColorEntry entry(query.record());
                                         out.insert(entry.id, entry);
                                         return true;
                                     },
                                     &error)) {
        logSqlError(error);
        out.clear();
        return -1;
    }
    return 0;
}

} // namespace Velmar
