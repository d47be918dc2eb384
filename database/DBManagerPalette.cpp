// Chips read several at a time, for views that show chips of any
// collection at once.

#include "database/DBManager.h"

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
    QSqlQuery query(connectionFor(collection));
    query.setForwardOnly(true);
    if (!query.exec(DBStructure::_scrSelectChipsByIds.arg(QString::number(GetCollectionIdByUuid(collection)),
                                                          ids.join(QLatin1Char(','))))) {
        logSqlError(query);
        return -1;
    }
    while (query.next()) {
        const DB::ColorEntry entry(query.record());
        out.insert(entry.id, entry);
    }
    return 0;
}

} // namespace Velmar
