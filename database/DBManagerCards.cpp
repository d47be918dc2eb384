// Card queries and navigation of DBManager: which card comes next under the
// mood and exterior filters, the first card of a wheel segment, and whole
// cards and chips by index or id.

#include "database/DBManager.h"

#include "database/CollectionFileConnection.h"
#include "database/CollectionQuery.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace Velmar {

QHash<QString, DBManager::Ownership> DBManager::s_owns_all_its_cards;

namespace {

const QString cardsOfCollection =
    QStringLiteral(" FROM PAGE P       LEFT JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID  WHERE CMAP.COLLECTION_ID = %1 ");
// The same cards when the collection owns every one of them: walked in page
// order through the index of page indexes by owner, so that a statement
// with LIMIT 1 stops at the first card that passes, and a card by page
// index is one look-up. The columns are the same, in the same order.
const QString ownCardsOfCollection =
    QStringLiteral(" FROM PAGE P CROSS JOIN COLLECTION_PAGE_MAP CMAP WHERE P.COLLECTION_ID = %1 AND CMAP.COLLECTION_ID = %1 "
                   "AND CMAP.PAGE_ID = P.ID ");

QString moodExcludingOffwhiteAndNeutral()
{
    return QStringLiteral(" AND P.MOOD != %1 AND P.MOOD != %2 ").arg(int(MoodOffwhite)).arg(int(MoodNeutral));
}

} // namespace

QString DBManager::BuildFindCardByIndexQuery(const QUuid &collection, const QString &selectList, Direction direction,
                                             int pageIndex, Mood mood, bool exterior)
{
    Q_UNUSED(pageIndex) // the caller fills the comparison
    const QString cards = ownsAllItsCards(collection) ? ownCardsOfCollection : cardsOfCollection;
    QString statement = QStringLiteral(" SELECT %1 ").arg(selectList) + cards.arg(GetCollectionIdByUuid(collection))
        + QStringLiteral(" AND P.PAGE_INDEX %1 %2 ");
    if (mood != MoodAll) {
        statement += QStringLiteral(" AND P.MOOD = %1 ").arg(int(mood));
        if (exterior)
            statement += QStringLiteral(" AND P.EXTERIOR = 1 ");
    } else if (exterior) {
        // Every exterior card, offwhite and neutral ones included.
        statement += QStringLiteral(" AND P.EXTERIOR = 1 ");
    } else {
        statement += moodExcludingOffwhiteAndNeutral();
    }
    statement += direction == DirectionForward ? QStringLiteral(" ORDER BY P.PAGE_INDEX ASC LIMIT 1 ")
                                               : QStringLiteral(" ORDER BY P.PAGE_INDEX DESC LIMIT 1 ");
    return statement;
}

QString DBManager::BuildFindFirstCardInSegmentQuery(const QUuid &collection, const QString &selectList, int segment,
                                                    Mood mood, bool exterior)
{
    Q_UNUSED(segment) // the caller fills the comparison
    QString statement = QStringLiteral(" SELECT %1 ").arg(selectList)
        + cardsOfCollection.arg(GetCollectionIdByUuid(collection)) + QStringLiteral(" AND ")
        + QStringLiteral(" P.SEGMENT %1 %2 ");
    if (mood == MoodAll)
        statement += moodExcludingOffwhiteAndNeutral();
    else
        statement += QStringLiteral(" AND P.MOOD = %1 ").arg(int(mood));
    if (exterior)
        statement += QStringLiteral(" AND P.EXTERIOR = 1 ");
    statement += QStringLiteral(" ORDER BY P.SEGMENT ASC, P.PAGE_INDEX ASC LIMIT 1 ");
    return statement;
}

bool DBManager::ownsAllItsCards(const QUuid &collection)
{
    const auto installed = s_installed_collections.constFind(collection);
    if (installed == s_installed_collections.constEnd())
        return false;
    const QSqlDatabase database = connectionFor(collection);
    const quint64 generation = CollectionFileConnection::generation(database);
    const QString key = connectionNameFor(installed->databaseName) + QLatin1Char('/') + QString::number(installed->id);
    const auto known = s_owns_all_its_cards.constFind(key);
    if (known != s_owns_all_its_cards.constEnd() && known->generation == generation)
        return known->owns;
    // A card lent by another collection of the file is reached only through
    // the map; a collection with such a card keeps the walk of its map.
    QSqlRecord lent;
    const int found = CollectionQuery::firstRow(
        database,
        QStringLiteral("SELECT 1 FROM COLLECTION_PAGE_MAP CMAP CROSS JOIN PAGE P WHERE CMAP.COLLECTION_ID = %1 "
                       "AND P.ID = CMAP.PAGE_ID AND P.COLLECTION_ID IS NOT %1 LIMIT 1")
            .arg(installed->id),
        lent);
    if (found < 0)
        return false;
    const bool owns = found == 0;
    s_owns_all_its_cards.insert(key, Ownership{generation, owns});
    return owns;
}

int DBManager::findNextCard(const QUuid &collection, int pageIndex, Direction direction, Mood mood, bool exterior,
                            const QString &selectList, QSqlRecord &out)
{
    const QString statement = BuildFindCardByIndexQuery(collection, selectList, direction, pageIndex, mood, exterior);
    const bool forward = direction == DirectionForward;
    const QString index = QString::number(pageIndex);
    const QSqlDatabase database = connectionFor(collection);
    // Strictly past the current card; when nothing lies that way, wrap
    // around to the other end of the deck.
    if (CollectionQuery::firstRow(database, statement.arg(forward ? QStringLiteral(">") : QStringLiteral("<"), index), out)
        == 1)
        return 0;
    if (CollectionQuery::firstRow(database, statement.arg(forward ? QStringLiteral("<") : QStringLiteral(">"), index), out)
        == 1)
        return 0;
    return -6;
}

int DBManager::FindNextCardByIndex(const QUuid &collection, int pageIndex, Direction direction, Mood mood,
                                   bool exterior, int &outPageIndex)
{
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QSqlRecord card;
    const int found = findNextCard(collection, pageIndex, direction, mood, exterior, QStringLiteral("PAGE_INDEX"), card);
    if (found != 0)
        return found;
    outPageIndex = card.value(0).toInt();
    return 0;
}

int DBManager::FindNextCardByIndex(const QUuid &collection, int pageIndex, Direction direction, Mood mood,
                                   bool exterior, DB::ColorPage &out)
{
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QSqlRecord card;
    const int found = findNextCard(collection, pageIndex, direction, mood, exterior, QStringLiteral("*"), card);
    if (found != 0)
        return found;
    DB::ColorPage page(card);
    loadEntries(connectionFor(collection),
                QStringLiteral("SELECT     R.*,     %1 AS COLLECTION_ID FROM     \"ROW\" R WHERE        R.PAGE_ID = %2 ")
                    .arg(QString::number(GetCollectionIdByUuid(collection)), QString::number(page.id)),
                page);
    out = page;
    return 0;
}

int DBManager::findFirstCardInSegment(const QUuid &collection, int segment, Mood mood, bool exterior,
                                      const QString &selectList, QSqlRecord &out)
{
    const QString statement = BuildFindFirstCardInSegmentQuery(collection, selectList, segment, mood, exterior);
    const QString value = QString::number(segment);
    const QSqlDatabase database = connectionFor(collection);
    // At or above the segment; else wrap to the start of the wheel.
    if (CollectionQuery::firstRow(database, statement.arg(QStringLiteral(">="), value), out) == 1)
        return 0;
    if (CollectionQuery::firstRow(database, statement.arg(QStringLiteral("<"), value), out) == 1)
        return 0;
    return -6;
}

int DBManager::FindFirstCardInSegment(const QUuid &collection, int segment, Mood mood, bool exterior,
                                      int &outPageIndex)
{
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QSqlRecord card;
    const int found = findFirstCardInSegment(collection, segment, mood, exterior, QStringLiteral("PAGE_INDEX"), card);
    if (found != 0)
        return found;
    outPageIndex = card.value(0).toInt();
    return 0;
}

int DBManager::FindFirstCardInSegment(const QUuid &collection, int segment, Mood mood, bool exterior,
                                      DB::ColorPage &out)
{
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QSqlRecord card;
    const int found = findFirstCardInSegment(collection, segment, mood, exterior, QStringLiteral("*"), card);
    if (found != 0)
        return found;
    DB::ColorPage page(card);
    loadEntries(connectionFor(collection), QStringLiteral("SELECT * FROM \"ROW\" R  WHERE        R.PAGE_ID = %1 ").arg(page.id), page);
    out = page;
    return 0;
}

int DBManager::FindFirstCardInSegmentAndCorrectSegmentIfNecessary(const QUuid &collection, int segment, Mood mood,
                                                                  bool exterior, int &outSegment)
{
    outSegment = segment;
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QSqlRecord card;
    const int found = findFirstCardInSegment(collection, segment, mood, exterior, QStringLiteral("SEGMENT"), card);
    if (found != 0)
        return found;
    outSegment = card.value(0).toInt();
    return 0;
}

void DBManager::loadEntries(const QSqlDatabase &database, const QString &statement, DB::ColorPage &page)
{
    // A card with part of its chips would show holes where chips are.
    const auto restart = [&page] { page.entries.clear(); };
    if (!CollectionQuery::forEachRow(database, statement, restart, [&page](const QSqlQuery &query) {
            page.entries.append(DB::ColorEntry(query.record()));
            return true;
        }))
        page.entries.clear();
    std::sort(page.entries.begin(), page.entries.end(), RowOrder);
}

int DBManager::GetValidSegments(const QUuid &collection, QVector<int> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    if (!CollectionQuery::forEachRow(
            connectionFor(collection),
            QStringLiteral("SELECT DISTINCT     P.SEGMENT FROM     PAGE P     LEFT JOIN COLLECTION_PAGE_MAP CMAP "
                           "ON P.ID = CMAP.PAGE_ID WHERE     CMAP.COLLECTION_ID = %1 ")
                .arg(GetCollectionIdByUuid(collection)),
            [&out] { out.clear(); },
            [&out](const QSqlQuery &query) {
                out.append(query.value(0).toInt());
                return true;
            }))
        out.clear();
    std::sort(out.begin(), out.end());
    return out.isEmpty() ? -1 : 0;
}

bool DBManager::countIsNotZero(const QUuid &collection, const QString &statement)
{
    if (EnsureCollectionLoaded(collection) != 0)
        return false;
    QSqlRecord counted;
    if (CollectionQuery::firstRow(connectionFor(collection), statement, counted) != 1)
        return false;
    bool converted = false;
    const int count = counted.value(0).toInt(&converted);
    return converted && count != 0;
}

namespace {

QString countCardsWithMood(qint64 collectionId, Mood mood)
{
    return QStringLiteral("SELECT COUNT(*) FROM PAGE P LEFT JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                          "WHERE CMAP.COLLECTION_ID = %1 AND P.MOOD = %2 ")
        .arg(QString::number(collectionId), QString::number(int(mood)));
}

} // namespace

bool DBManager::hasPageWithMood(const QUuid &collection, Mood mood)
{
    return countIsNotZero(collection, countCardsWithMood(GetCollectionIdByUuid(collection), mood));
}

bool DBManager::hasPageWithNonExteriorMood(const QUuid &collection, Mood mood)
{
    return countIsNotZero(collection,
                          countCardsWithMood(GetCollectionIdByUuid(collection), mood) + QStringLiteral(" AND P.EXTERIOR = 0 "));
}

bool DBManager::hasPageWithExteriorMood(const QUuid &collection, Mood mood)
{
    return countIsNotZero(collection,
                          countCardsWithMood(GetCollectionIdByUuid(collection), mood) + QStringLiteral(" AND P.EXTERIOR = 1 "));
}

int DBManager::GetColorPageById(const QUuid &collection, qint64 pageId, bool withoutEntries, DB::ColorPage &out)
{
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    const QString collectionId = QString::number(GetCollectionIdByUuid(collection));
    const QSqlDatabase database = connectionFor(collection);
    QSqlRecord card;
    if (CollectionQuery::firstRow(database,
                                  QStringLiteral("SELECT * FROM PAGE P JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                                                 "WHERE CMAP.COLLECTION_ID = %1 AND P.ID = %2 ")
                                      .arg(collectionId, QString::number(pageId)),
                                  card)
        != 1)
        return -1;
    DB::ColorPage page(card);
    if (!withoutEntries) {
        // The chip's own columns come first, so they win over the card's.
        loadEntries(database,
                    QStringLiteral("SELECT * FROM \"ROW\" R JOIN PAGE P ON R.PAGE_ID = P.ID "
                                   "JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                                   "WHERE CMAP.COLLECTION_ID = %1 AND R.PAGE_ID = %2 ")
                        .arg(collectionId, QString::number(pageId)),
                    page);
    }
    out = page;
    return 0;
}

int DBManager::GetColorPageByIndex(const QUuid &collection, int pageIndex, DB::ColorPage &out)
{
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    const QString collectionId = QString::number(GetCollectionIdByUuid(collection));
    const QString statement = ownsAllItsCards(collection)
        ? QStringLiteral("SELECT *") + ownCardsOfCollection + QStringLiteral("AND P.PAGE_INDEX = %2 ")
        : QStringLiteral("SELECT * FROM     PAGE P     LEFT JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                         "WHERE     CMAP.COLLECTION_ID = %1 AND P.PAGE_INDEX = %2 ");
    const QSqlDatabase database = connectionFor(collection);
    QSqlRecord card;
    QSqlError error;
    const int found = CollectionQuery::firstRow(database, statement.arg(collectionId, QString::number(pageIndex)), card, &error);
    if (found < 0 && error.isValid()) {
        qDebug() << error.driverText();
        qDebug() << error.databaseText();
    }
    if (found != 1)
        return -1;
    DB::ColorPage page(card);
    loadEntries(database,
                QStringLiteral("SELECT     R.*,     %1 AS COLLECTION_ID FROM     \"ROW\" R WHERE     R.PAGE_ID = %2 ")
                    .arg(collectionId, QString::number(page.id)),
                page);
    out = page;
    return 0;
}

int DBManager::GetColorEntryByPageAndRowIndex(const QUuid &collection, int pageIndex, int rowIndex,
                                              DB::ColorEntry &out)
{
    out.reset();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    // The chip's columns first, then the card's and the map's, either way.
    const QString statement = ownsAllItsCards(collection)
        ? QStringLiteral("SELECT R.*, P.*, CMAP.* FROM PAGE P CROSS JOIN COLLECTION_PAGE_MAP CMAP CROSS JOIN \"ROW\" R "
                         "WHERE P.COLLECTION_ID = %1 AND CMAP.COLLECTION_ID = %1 AND CMAP.PAGE_ID = P.ID "
                         "AND P.PAGE_INDEX = %2 AND R.PAGE_ID = P.ID AND R.ROW_INDEX = %3 LIMIT 1 ")
        : QStringLiteral("SELECT * FROM \"ROW\" R JOIN PAGE P ON R.PAGE_ID = P.ID "
                         "JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                         "WHERE CMAP.COLLECTION_ID = %1 AND P.PAGE_INDEX = %2 AND R.ROW_INDEX = %3 LIMIT 1 ");
    QSqlRecord chip;
    if (CollectionQuery::firstRow(connectionFor(collection),
                                  statement.arg(QString::number(GetCollectionIdByUuid(collection)),
                                                QString::number(pageIndex), QString::number(rowIndex)),
                                  chip)
        != 1)
        return -1;
    out.fromSqlRecord(chip);
    return 0;
}

} // namespace Velmar
