// Material that hangs off a collection rather than off its cards: the
// textures and their placings on a card, the trend-colour groups, and the
// products and product groups a chip is made in.

#include "database/DBManager.h"

#include "database/CollectionQuery.h"
#include "database/DBStructure.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace Velmar {

namespace {

// The first column of every row as text, in file order; -1 and none when
// they could not be read whole.
int namesOfRow(const QSqlDatabase &database, const QString &statement, const QVariantMap &values,
               QVector<QString> &out)
{
    if (CollectionQuery::forEachRow(database, statement, values, [&out] { out.clear(); },
                                    [&out](const QSqlQuery &query) {
                                        out.append(query.value(0).toString());
                                        return true;
                                    }))
        return 0;
    out.clear();
    return -1;
}

} // namespace

int DBManager::GetTextureMapForPageById(const QUuid &collection, qint64 pageId, QVector<DB::TextureMap> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    if (!CollectionQuery::forEachRow(connectionFor(collection), DBStructure::SelectTextureMapForPage,
                                     {{QStringLiteral(":PAGE_ID"), pageId}}, [&out] { out.clear(); },
                                     [&out](const QSqlQuery &query) {
                                         out.append(DB::TextureMap(query.record()));
                                         return true;
                                     })) {
        out.clear();
        return -1;
    }
    return 0;
}

int DBManager::GetTexturesForCollection(const QUuid &collection, QHash<qint64, DB::Texture> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    if (!CollectionQuery::forEachRow(connectionFor(collection),
                                     DBStructure::SelectTexturesOfCollection.arg(GetCollectionIdByUuid(collection)),
                                     [&out] { out.clear(); },
                                     [&out](const QSqlQuery &query) {
                                         const DB::Texture texture(query.record());
                                         out.insert(texture.id, texture);
                                         return true;
                                     })) {
        out.clear();
        return -1;
    }
    return 0;
}

int DBManager::GetHuecastFor(const QUuid &collection, QHash<qint64, DB::HuecastGroup> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    const QSqlDatabase database = connectionFor(collection);
    QList<DB::HuecastGroup> groups;
    if (!CollectionQuery::forEachRow(database,
                                     DBStructure::SelectHuecastGroupsOfCollection.arg(GetCollectionIdByUuid(collection)),
                                     [&groups] { groups.clear(); },
                                     [&groups](const QSqlQuery &query) {
                                         groups.append(DB::HuecastGroup(query.record()));
                                         return true;
                                     }))
        return -1;
    for (DB::HuecastGroup &group : groups) {
        // A group whose entries cannot be read whole is still shown, empty.
        const auto restart = [&group] { group.entries.clear(); };
        if (!CollectionQuery::forEachRow(database, DBStructure::SelectHuecastEntriesOfGroup.arg(group.id), restart,
                                         [&group](const QSqlQuery &query) {
                                             group.entries.append(DB::HuecastEntry(query.record()));
                                             return true;
                                         }))
            group.entries.clear();
        // Stable, so entries of equal order keep the file's order.
        std::stable_sort(group.entries.begin(), group.entries.end(), DB::HuecastEntryLess);
        out.insert(group.id, group);
    }
    return 0;
}

int DBManager::GetProductGroupsFor(const QUuid &collection, qint64 rowId, QVector<QString> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    return namesOfRow(connectionFor(collection), DBStructure::SelectProductGroupsOfRow,
                      {{QStringLiteral(":ROW_ID"), rowId}}, out);
}

int DBManager::GetProductsFor(const QUuid &collection, qint64 rowId, QVector<QString> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    return namesOfRow(connectionFor(collection), DBStructure::SelectProductsOfRow, {{QStringLiteral(":ROW_ID"), rowId}},
                      out);
}

} // namespace Velmar
