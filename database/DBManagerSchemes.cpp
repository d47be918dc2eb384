// Scheme matches of DBManager: the chips a scheme proposes for a chip
// (colour to colour and the powder-coating bands) and the cards a scheme
// links to a card (card to card). The proposals are stored ready-made in the
// collection file; these only read them.

#include "database/DBManager.h"

#include "database/CollectionQuery.h"
#include "database/DBStructure.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace Velmar {

int DBManager::findSourceChip(const QUuid &collection, int pageIndex, int rowIndex, DB::ColorEntry &out)
{
    DB::ColorPage page;
    const int found = GetColorPageByIndex(collection, pageIndex, page);
    if (found < 0)
        return found;
    // Row indexes of a card run 1, 2, 3 ... in the order the card keeps them.
    if (rowIndex < 1 || rowIndex > page.entries.size())
        return -10;
    out = page.entries.at(rowIndex - 1);
    return 0;
}

int DBManager::collectProposedChips(const QUuid &collection, const QString &statement,
                                    std::vector<DB::ColorEntry> &out)
{
    QSqlError error;
    if (!CollectionQuery::forEachRow(connectionFor(collection), statement, [&out] { out.clear(); },
                                     [&out](const QSqlQuery &query) {
                                         out.push_back(DB::ColorEntry(query.record()));
                                         return true;
                                     },
                                     &error)) {
        logSqlError(error);
        out.clear();
        return -1;
    }
    return 0;
}

int DBManager::FindSchemeMatchesForColorToColor(const QUuid &collection, MoodMode moodMode, SchemeKind kind,
                                                int pageIndex, int rowIndex, std::vector<DB::ColorEntry> &out)
{
    // The mood mode is part of the call but changes nothing in the proposals.
    Q_UNUSED(moodMode)
    out.clear();
    DB::ColorEntry source;
    const int found = findSourceChip(collection, pageIndex, rowIndex, source);
    if (found != 0)
        return found;
    // Dramatic schemes exist for neutrals and whites only, complementary
    // neutrals for rich colours only.
    if (kind == SchemeDramatic && !source.neutral && !source.white)
        return 0;
    if (kind == SchemeComplementaryNeutral && source.mood != MoodRich)
        return 0;
    return collectProposedChips(collection,
                                DBStructure::_scrSelectSchemeMatchesForColorToColor.arg(
                                    QString::number(GetCollectionIdByUuid(collection)), QString::number(source.id),
                                    QString::number(int(kind))),
                                out);
}

int DBManager::FindSarnexSchemeMatchesForColor(const QUuid &collection, int pageIndex, int rowIndex,
                                               std::vector<DB::ColorEntry> &out)
{
    out.clear();
    DB::ColorEntry source;
    const int found = findSourceChip(collection, pageIndex, rowIndex, source);
    if (found != 0)
        return found;
    return collectProposedChips(collection,
                                DBStructure::_scrSelectSarnexSchemeMatchesForColor.arg(
                                    QString::number(GetCollectionIdByUuid(collection)), QString::number(source.id)),
                                out);
}

int DBManager::FindSchemeMatchesForCardToCard(const QUuid &collection, int pageIndex, SchemeKind kind,
                                              QList<DB::ColorPage> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QList<int> pageIndexes;
    QSqlError error;
    if (!CollectionQuery::forEachRow(connectionFor(collection),
                                     DBStructure::_scrSelectSchemeMatchesForCardToCard.arg(
                                         QString::number(GetCollectionIdByUuid(collection)), QString::number(pageIndex),
                                         QString::number(int(kind))),
                                     [&pageIndexes] { pageIndexes.clear(); },
                                     [&pageIndexes](const QSqlQuery &query) {
                                         pageIndexes.append(query.value(0).toInt());
                                         return true;
                                     },
                                     &error)) {
        logSqlError(error);
        return -1;
    }
    for (int index : qAsConst(pageIndexes)) {
        DB::ColorPage card;
        // A card that no longer loads is left out, the others still show.
        if (GetColorPageByIndex(collection, index, card) == 0)
            out.append(card);
    }
    return 0;
}

bool DBManager::HasComplementaryNeutralCardToCard(const QUuid &collection, int pageIndex)
{
    if (EnsureCollectionLoaded(collection) != 0)
        return false;
    QSqlRecord counted;
    return firstRowLogged(connectionFor(collection),
                          DBStructure::_scrCountComplementaryNeutralCardToCard.arg(
                              QString::number(GetCollectionIdByUuid(collection)), QString::number(pageIndex)),
                          QVariantMap(), counted)
        && counted.value(0).toInt() != 0;
}

} // namespace Velmar
