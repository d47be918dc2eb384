// Material that hangs off a collection rather than off its cards: the
// textures and their placings on a card, the trend-colour groups, and the
// products and product groups a chip is made in.

#include "database/DBManager.h"

#include "database/DBStructure.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace Velmar {

namespace {

// The first column of every row as text, in file order.
int namesOfRow(QSqlQuery &query, QVector<QString> &out)
{
    while (query.next())
        out.append(query.value(0).toString());
    return 0;
}

} // namespace

int DBManager::GetTextureMapForPageById(const QUuid &collection, qint64 pageId, QVector<DB::TextureMap> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QSqlQuery query(connectionFor(collection));
    if (!execBound(query, DBStructure::SelectTextureMapForPage, {{QStringLiteral(":PAGE_ID"), pageId}}))
        return -1;
    while (query.next())
        out.append(DB::TextureMap(query.record()));
    return 0;
}

int DBManager::GetTexturesForCollection(const QUuid &collection, QHash<qint64, DB::Texture> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QSqlQuery query(connectionFor(collection));
    if (!query.exec(DBStructure::SelectTexturesOfCollection.arg(GetCollectionIdByUuid(collection))))
        return -1;
    while (query.next()) {
        const DB::Texture texture(query.record());
        out.insert(texture.id, texture);
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
    QSqlQuery groups(database);
    if (!groups.exec(DBStructure::SelectHuecastGroupsOfCollection.arg(GetCollectionIdByUuid(collection))))
        return -1;
    QSqlQuery entries(database);
    while (groups.next()) {
        DB::HuecastGroup group(groups.record());
        // A group whose entries cannot be read is still shown, empty.
        if (entries.exec(DBStructure::SelectHuecastEntriesOfGroup.arg(group.id))) {
            while (entries.next())
                group.entries.append(DB::HuecastEntry(entries.record()));
        }
        entries.finish();
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
    QSqlQuery query(connectionFor(collection));
    if (!execBound(query, DBStructure::SelectProductGroupsOfRow, {{QStringLiteral(":ROW_ID"), rowId}}))
        return -1;
    return namesOfRow(query, out);
}

int DBManager::GetProductsFor(const QUuid &collection, qint64 rowId, QVector<QString> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QSqlQuery query(connectionFor(collection));
    if (!execBound(query, DBStructure::SelectProductsOfRow, {{QStringLiteral(":ROW_ID"), rowId}}))
        return -1;
    return namesOfRow(query, out);
}

} // namespace Velmar
