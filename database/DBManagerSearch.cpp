// Search and colour look-up of DBManager: chips by phrase, code, colour,
// id and Dizeviz name, the search suggestions, and the Lab values of every
// chip for nearest-colour matching.

#include "database/DBManager.h"

#include "database/CollectionQuery.h"
#include "database/DBStructure.h"
#include "database/InterfaceIdleGate.h"
#include "database/StartsWithFunction.h"
#include "database/SuggestionSelectFunction.h"
#include "database/SuggestionOrder.h"
#include "services/CollectionSettings.h"

#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <numeric>

namespace Velmar {

namespace {

// Only the ten name columns exist; other entries of an order list are skipped.
QStringList nameColumns(const QString &pattern, const QVector<qint64> &order)
{
    QStringList columns;
    for (qint64 column : order) {
        if (column >= 0 && column <= 9)
            columns << pattern.arg(column);
    }
    return columns;
}

// Empty texts and blobs are no suggestion.
bool isSuggestion(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return !static_cast<const QString *>(value.constData())->isEmpty();
    case QMetaType::QByteArray:
        return !static_cast<const QByteArray *>(value.constData())->isEmpty();
    default:
        return true;
    }
}

// Whether the bound text equals one of the columns, letters compared without
// regard to case as Qt upper-cases them (the search field sends "CRÈME
// BRÛLÉE" for "Crème brûlée"), through the collation of every collection
// connection; it needs no upper-cased copy of every column of every row.
QString equalsAnyColumn(const QString &placeholder, const QStringList &columns)
{
    QStringList tests;
    for (const QString &column : columns)
        tests << QStringLiteral("%1 = %2 COLLATE VELMAR_UPPER").arg(column, placeholder);
    return QStringLiteral("(%1)").arg(tests.join(QStringLiteral(" OR ")));
}

// Whether one of the columns may start with the bound prefix; SQLite tests
// each row, once for all its columns, before Qt reads it.
QString startsWithAnyColumn(const QString &placeholder, const QStringList &columns)
{
    return columns.isEmpty() ? QStringLiteral(" AND 0")
                             : QStringLiteral(" AND %1(%2, %3)").arg(StartsWithFunction::Name, placeholder, columns.join(QLatin1Char(',')));
}

bool isBlank(const QString &text)
{
    return text.trimmed().isEmpty();
}

// The same test as the discovery scan: a collection that is not installed
// must not answer a look-up that runs across the collections of a file.
const QString enabledCollections =
    QStringLiteral("SELECT S.COLLECTION_ID FROM SETTING S WHERE S.NAME = 'collection.enabled' COLLATE VELMAR_UPPER AND S.VALUE = 1");

// A chip's card may be owned by one collection and lent to others through
// the map: a chip found through the map belongs to the collection of the map
// row that matched. The first column of a name counts, so it comes before
// the chip's own COLLECTION_ID.
const QString collectionOfTheMap = QStringLiteral("CMAP.COLLECTION_ID AS COLLECTION_ID");

// The view lists a collection once for each of its "dizeviz.priority" rows,
// and the files already installed hold it so: each collection counts once,
// with its lowest priority.
const QString dizevizCollections =
    QStringLiteral("(SELECT COLLECTION_ID, MIN(PRIORITY) AS PRIORITY FROM DIZEVIZ_COLLECTION_IDS_BY_PRIORITY "
                   "GROUP BY COLLECTION_ID)");

// A thread asked to stop looks at that no more often than this many rows.
const int s_rowsBetweenStopChecks = 256;

// The collection's cards that exist: a map row may name a card the file
// does not have, whose chips the whole list, joined to the cards, leaves out.
const QString cardsOfTheMap = QStringLiteral("(SELECT P.ID FROM COLLECTION_PAGE_MAP CMAP CROSS JOIN PAGE P "
                                             "WHERE CMAP.COLLECTION_ID = %1 AND P.ID = CMAP.PAGE_ID)");

// Numbers and blobs in the order of their values, each value once: of equal
// ones the one the sort leaves first, as the whole list keeps it.
void sortDistinctOthers(QVector<QVariant> &others)
{
    std::sort(others.begin(), others.end(), [](const QVariant &left, const QVariant &right) {
        return SuggestionOrder::compareValues(left, right, false) < 0;
    });
    others.erase(std::unique(others.begin(), others.end(),
                             [](const QVariant &left, const QVariant &right) {
                                 return SuggestionOrder::compareValues(left, right, false) == 0;
                             }),
                 others.end());
}

const QString chipsOfCards = QStringLiteral(" FROM     \"ROW\" R     JOIN PAGE P ON R.PAGE_ID = P.ID     "
                                            "JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID ");

} // namespace

int DBManager::SearchForPhrase(const QUuid &collection, const QString &phrase, int &pageIndex, int &rowIndex,
                               int &segment, Mood &mood, bool &exterior)
{
    pageIndex = -1;
    rowIndex = -1;
    segment = -1;
    mood = MoodNone;
    exterior = false;
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    // An empty field sends an empty phrase; it must not find an empty name.
    if (isBlank(phrase))
        return -6;

    // Card names first, then chip names and codes; a card counts only when
    // it holds a chip, as a card without chips cannot be shown. Cards and
    // chips are walked in file order and their names compared before their
    // collection is looked up: reaching each of them through the map and an
    // index costs more than the comparisons themselves.
    const QString phrasePlaceholder = QStringLiteral(":PHRASE");
    const QVariantMap values{{phrasePlaceholder, phrase}};
    const QString collectionId = QString::number(GetCollectionIdByUuid(collection));
    const QStringList pageColumns = nameColumns(QStringLiteral("P.NAME%1"), s_page_name_search_order);
    const QSqlDatabase database = connectionFor(collection);
    QSqlRecord record;
    if (!pageColumns.isEmpty()) {
        const QString cards =
            QStringLiteral("SELECT     P.SEGMENT AS PAGE_SEGMENT,     P.PAGE_INDEX,     P.MOOD AS PAGE_MOOD,     "
                           "P.EXTERIOR AS PAGE_EXTERIOR FROM     PAGE P     CROSS JOIN COLLECTION_PAGE_MAP CMAP "
                           "WHERE     %2     AND CMAP.PAGE_ID = P.ID     AND CMAP.COLLECTION_ID = %1     "
                           "AND EXISTS (SELECT 1 FROM \"ROW\" R WHERE R.PAGE_ID = P.ID) LIMIT     1 ")
                .arg(collectionId, equalsAnyColumn(phrasePlaceholder, pageColumns));
        const int found = CollectionQuery::firstRow(database, cards, values, record);
        if (found < 0)
            return -1;
        if (found == 1) {
            pageIndex = record.value(QStringLiteral("PAGE_INDEX")).toInt();
            segment = record.value(QStringLiteral("PAGE_SEGMENT")).toInt();
            mood = toMood(record.value(QStringLiteral("PAGE_MOOD")).toInt());
            exterior = record.value(QStringLiteral("PAGE_EXTERIOR")).toInt() != 0;
            return 0;
        }
    }

    const QStringList chipColumns =
        nameColumns(QStringLiteral("R.NAME%1"), s_row_name_search_order) + QStringList{QStringLiteral("R.CODE")};
    const QString chips =
        QStringLiteral("SELECT     P.SEGMENT AS PAGE_SEGMENT,     P.PAGE_INDEX,     R.ROW_INDEX,     P.MOOD AS PAGE_MOOD,     "
                       "P.EXTERIOR AS PAGE_EXTERIOR FROM     \"ROW\" R     CROSS JOIN PAGE P     "
                       "CROSS JOIN COLLECTION_PAGE_MAP CMAP WHERE     %2     AND R.PAGE_ID = P.ID     "
                       "AND CMAP.PAGE_ID = P.ID     AND CMAP.COLLECTION_ID = %1 LIMIT     1 ")
            .arg(collectionId, equalsAnyColumn(phrasePlaceholder, chipColumns));
    const int found = CollectionQuery::firstRow(database, chips, values, record);
    if (found < 0)
        return -1;
    if (found == 0)
        return -6;

    pageIndex = record.value(QStringLiteral("PAGE_INDEX")).toInt();
    rowIndex = record.value(QStringLiteral("ROW_INDEX")).toInt();
    segment = record.value(QStringLiteral("PAGE_SEGMENT")).toInt();
    mood = toMood(record.value(QStringLiteral("PAGE_MOOD")).toInt());
    exterior = record.value(QStringLiteral("PAGE_EXTERIOR")).toInt() != 0;
    return 0;
}

int DBManager::GetAvailableSearchSuggestions(const QUuid &collection, QStringList &out)
{
    out.clear();
    SuggestionList list;
    const int status = GetAvailableSearchSuggestions(collection, list);
    out = list.toStringList();
    return status;
}

int DBManager::GetAvailableSearchSuggestions(const QUuid &collection, SuggestionList &out)
{
    out = SuggestionList();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    return GetAvailableSearchSuggestions(connectionFor(collection), GetCollectionIdByUuid(collection),
                                         s_page_name_search_order, s_row_name_search_order, out);
}

int DBManager::GetSearchSuggestionsStartingWith(const QUuid &collection, const QString &prefix, QStringList &out,
                                                bool &firstKnown, bool &orderKnown)
{
    out.clear();
    firstKnown = false;
    orderKnown = false;
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    if (prefix.isEmpty())
        return -6;
    SuggestionList found;
    if (readSuggestions(connectionFor(collection), GetCollectionIdByUuid(collection), s_page_name_search_order,
                        s_row_name_search_order, prefix, found)
        != 0)
        return -1;
    out = found.toStringList();
    SuggestionOrder::orderOfCaseTies(out, firstKnown, orderKnown);
    return 0;
}

bool DBManager::stopRequested()
{
    // A thread that reads ahead for the interface also pauses here while
    // the interface is busy.
    return InterfaceIdleGate::stopRequested();
}

int DBManager::GetAvailableSearchSuggestions(const QSqlDatabase &file, qint64 id,
                                             const QVector<qint64> &pageSearchOrder,
                                             const QVector<qint64> &rowSearchOrder, QStringList &out)
{
    out.clear();
    SuggestionList list;
    const int status = GetAvailableSearchSuggestions(file, id, pageSearchOrder, rowSearchOrder, list);
    out = list.toStringList();
    return status;
}

int DBManager::GetAvailableSearchSuggestions(const QSqlDatabase &file, qint64 id,
                                             const QVector<qint64> &pageSearchOrder,
                                             const QVector<qint64> &rowSearchOrder, SuggestionList &out)
{
    out = SuggestionList();
    if (readSuggestions(file, id, pageSearchOrder, rowSearchOrder, QString(), out) != 0) {
        out = SuggestionList();
        return -1;
    }
    return out.isEmpty() ? -1 : 0;
}

int DBManager::readSuggestions(const QSqlDatabase &file, qint64 id, const QVector<qint64> &pageSearchOrder,
                               const QVector<qint64> &rowSearchOrder, const QString &prefix, SuggestionList &out)
{
    out.clear();
    // The collection's own cards and chips, each read once through the map
    // and the indexes, so that other decks of the same file cost nothing.
    const QString collectionId = QString::number(id);
    const QStringList pageColumns = nameColumns(QStringLiteral("P.NAME%1"), pageSearchOrder);
    const QStringList rowColumns = nameColumns(QStringLiteral("R.NAME%1"), rowSearchOrder);
    QString cards = QStringLiteral("SELECT %2 FROM COLLECTION_PAGE_MAP CMAP CROSS JOIN PAGE P "
                                   "WHERE CMAP.COLLECTION_ID = %1 AND P.ID = CMAP.PAGE_ID");
    QString chips = QStringLiteral("SELECT R.ID, R.COLLECTION_ID, R.CODE%2 FROM COLLECTION_PAGE_MAP CMAP "
                                   "CROSS JOIN PAGE P CROSS JOIN \"ROW\" R "
                                   "WHERE CMAP.COLLECTION_ID = %1 AND P.ID = CMAP.PAGE_ID AND R.PAGE_ID = P.ID");
    // With a prefix, SQLite passes over the rows none of whose columns start
    // with it, and what it lets through is tested again as it is read.
    const bool bounded = !prefix.isEmpty();
    QVariantMap values;
    if (bounded) {
        const QString placeholder = QStringLiteral(":PREFIX");
        values.insert(placeholder, prefix);
        // The collection's cards in the order the map gives them (by card
        // id), in one pass over the stored cards.
        cards = QStringLiteral("SELECT %2 FROM PAGE P WHERE 1") + startsWithAnyColumn(placeholder, pageColumns)
            + QStringLiteral(" AND +P.ID IN (SELECT CMAP.PAGE_ID FROM COLLECTION_PAGE_MAP CMAP "
                             "WHERE CMAP.COLLECTION_ID = %1)");
        // One pass over the file's chips as they are stored, the test first,
        // rather than a look-up of each chip through its card: the first key
        // typed must not wait for a hundred thousand of them. The chips then
        // come in another order, which only the rare numbers and blobs feel;
        // those are put back in the order of the map and the cards below.
        chips = QStringLiteral("SELECT R.ID, R.COLLECTION_ID, R.CODE%2, R.PAGE_ID FROM \"ROW\" R WHERE 1")
            + startsWithAnyColumn(placeholder, rowColumns + QStringList{QStringLiteral("R.CODE")})
            + QStringLiteral(" AND +R.PAGE_ID IN ") + cardsOfTheMap;
    }
    const auto accepted = [bounded, &prefix](const QString &text) {
        return !bounded || text.startsWith(prefix, Qt::CaseInsensitive);
    };
    // The texts kept in the list's blocks, which never move them.
    QVector<QStringView> texts;

    if (pageColumns.isEmpty() && rowColumns.isEmpty()) {
        QVector<QVariant> codes;
        if (!distinctCodesInIndexOrder(file, chips.arg(collectionId, QString()), values, codes))
            return -1;
        // In the index's order, whatever their kinds.
        for (const QVariant &code : qAsConst(codes)) {
            const QString text = code.toString();
            if (isSuggestion(code) && accepted(text))
                texts.append(out.keep(text));
        }
        codes.clear();
        if (!SuggestionOrder::sortCaseInsensitively(texts) || stopRequested())
            return -1;
        out.setRows(std::move(texts));
        return 0;
    }

    // Texts, as names and codes are, apart from the rare number or blob:
    // the distinct ones in the order of the file's collation. Every name and
    // code column at once, distinct as a UNION of the columns finds them
    // under the BINARY collation of its first one.
    QVector<QVariant> others;
    // Where each chip's number or blob stands in the order of the map and
    // the cards (page, chip, column), when the chips come in another.
    struct OtherPlace {
        qint64 page;
        qint64 chip;
        int column;
        bool operator<(const OtherPlace &other) const
        {
            return page != other.page ? page < other.page : (chip != other.chip ? chip < other.chip : column < other.column);
        }
    };
    QVector<OtherPlace> otherPlaces;
    bool stopped = false;
    // The values are the columns from the first one on; the chips' page
    // comes last in a pass over the stored chips.
    const auto collect = [&](int firstColumn, bool withPage) {
        return [&, firstColumn, withPage, row = 0, columns = -1](const QSqlQuery &query) mutable {
            if (++row % s_rowsBetweenStopChecks == 0 && stopRequested()) {
                stopped = true;
                return false;
            }
            if (columns < 0)
                columns = query.record().count() - (withPage ? 1 : 0);
            for (int i = firstColumn; i < columns; ++i) {
                if (query.isNull(i))
                    continue;
                const QVariant value = query.value(i);
                if (value.typeId() != QMetaType::QString) {
                    others.append(value);
                    if (withPage)
                        otherPlaces.append({query.value(columns).toLongLong(), query.value(0).toLongLong(), i});
                } else if (const QString &text = *static_cast<const QString *>(value.constData());
                           !text.isEmpty() && accepted(text)) {
                    texts.append(out.keep(text));
                }
            }
            return true;
        };
    };
    // Read again from the start, what the first reading gave is forgotten.
    const auto restart = [&out, &texts, &others, &otherPlaces] {
        out.clear();
        texts.clear();
        others.clear();
        otherPlaces.clear();
    };
    if (!pageColumns.isEmpty()) {
        if (!CollectionQuery::forEachRow(file, cards.arg(collectionId, pageColumns.join(QLatin1Char(','))), values,
                                         restart, collect(0, false))
            || stopped)
            return -1;
    }
    // The page texts stay when only the chips are read again; the chips'
    // texts kept before stay in the blocks unused.
    const qsizetype pageTexts = texts.size();
    const qsizetype pageOthers = others.size();
    const auto restartChips = [&texts, &others, &otherPlaces, pageTexts, pageOthers] {
        texts.resize(pageTexts);
        others.resize(pageOthers);
        otherPlaces.clear();
    };
    const QString rowList = rowColumns.isEmpty() ? QString() : QLatin1Char(',') + rowColumns.join(QLatin1Char(','));
    if (!CollectionQuery::forEachRow(file, chips.arg(collectionId, rowList), values, restartChips, collect(2, bounded))
        || stopped || stopRequested())
        return -1;
    if (bounded) {
        // The chips' numbers and blobs in the order the whole list meets
        // them, which decides which of equal ones the sort below keeps.
        QVector<qsizetype> order(otherPlaces.size());
        std::iota(order.begin(), order.end(), qsizetype(0));
        std::stable_sort(order.begin(), order.end(),
                         [&otherPlaces](qsizetype left, qsizetype right) { return otherPlaces.at(left) < otherPlaces.at(right); });
        QVector<QVariant> chipOthers;
        chipOthers.reserve(order.size());
        for (qsizetype place : qAsConst(order))
            chipOthers.append(others.at(pageOthers + place));
        others.resize(pageOthers);
        others.append(chipOthers);
    }
    otherPlaces = QVector<OtherPlace>();
    if (!SuggestionOrder::sortDistinctByCodePoint(texts))
        return -1;
    sortDistinctOthers(others);

    // Numbers come before texts, blobs after them.
    QVector<QStringView> numbers;
    QVector<QStringView> blobs;
    for (const QVariant &value : qAsConst(others)) {
        if (!isSuggestion(value))
            continue;
        const QString text = value.toString();
        if (accepted(text))
            (value.typeId() == QMetaType::QByteArray ? blobs : numbers).append(out.keep(text));
    }
    others = QVector<QVariant>();
    if (!numbers.isEmpty() || !blobs.isEmpty())
        texts = numbers + texts + blobs;
    if (!SuggestionOrder::sortCaseInsensitively(texts) || stopRequested())
        return -1;
    out.setRows(std::move(texts));
    return 0;
}

int DBManager::GetSearchSuggestionWindow(const QUuid &collection, const QString &prefix, int limit,
                                         const QString &after, const QString &before, SuggestionSelection::Window &out)
{
    out = SuggestionSelection::Window();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    SuggestionSelection texts(limit, after, before);
    QStringList others;
    if (selectSuggestions(connectionFor(collection), GetCollectionIdByUuid(collection), s_page_name_search_order,
                          s_row_name_search_order, prefix, texts, others)
        != 0)
        return -1;
    out = texts.window(others);
    return 0;
}

int DBManager::selectSuggestions(const QSqlDatabase &file, qint64 id, const QVector<qint64> &pageSearchOrder,
                                 const QVector<qint64> &rowSearchOrder, const QString &prefix,
                                 SuggestionSelection &texts, QStringList &others)
{
    const QStringList pageColumns = nameColumns(QStringLiteral("P.NAME%1"), pageSearchOrder);
    const QStringList rowColumns = nameColumns(QStringLiteral("R.NAME%1"), rowSearchOrder);
    if (pageColumns.isEmpty() && rowColumns.isEmpty()) {
        // Codes alone are made distinct as the file's code index orders
        // them, which a pass in file order cannot tell: read them all.
        SuggestionList all;
        if (readSuggestions(file, id, pageSearchOrder, rowSearchOrder, prefix, all) != 0)
            return -1;
        for (int row = 0; row < all.size(); ++row) {
            if (texts.withinBounds(all.at(row)))
                others.append(all.at(row).toString());
        }
        return 0;
    }

    const QString collectionId = QString::number(id);
    const QString placeholder = QStringLiteral(":PREFIX");
    QVariantMap values{{placeholder, prefix},
                       {QStringLiteral(":AFTER"), texts.after()},
                       {QStringLiteral(":BEFORE"), texts.before()}};
    const QString select = QStringLiteral("SELECT %1(:PREFIX, %2, :AFTER, :BEFORE, ")
                               .arg(SuggestionSelectFunction::Name)
                               .arg(texts.limit());
    QVector<SuggestionSelectFunction::Other> cardOthers;
    QVector<SuggestionSelectFunction::Other> chipOthers;
    // Each statement gives one row: what the function kept of the rows
    // SQLite let through, in one pass over the stored cards or chips.
    const auto readSelection = [&](const QString &statement, QVector<SuggestionSelectFunction::Other> &found) {
        bool read = false;
        SuggestionSelection selected(texts.limit(), QString(), QString());
        const bool ran = CollectionQuery::forEachRow(
            file, statement, values,
            [&found, &read] {
                found.clear();
                read = false;
            },
            [&found, &read, &selected](const QSqlQuery &query) {
                selected = SuggestionSelection(selected.limit(), QString(), QString());
                found.clear();
                read = SuggestionSelectFunction::read(query.value(0).toByteArray(), selected, found);
                return read;
            });
        if (!ran || !read)
            return false;
        texts.merge(selected);
        return true;
    };
    // The ids of the collection's cards, read first: the function finds
    // each card or chip's card among them at a fraction of what a look-up
    // in the statement costs when every chip matches.
    QSqlRecord cardIds;
    if (CollectionQuery::firstRow(file, QStringLiteral("SELECT COALESCE(GROUP_CONCAT(ID), '') FROM ")
                                            + cardsOfTheMap.arg(collectionId),
                                  cardIds)
        != 1)
        return -1;
    values.insert(QStringLiteral(":CARDS"), cardIds.value(0).toString());
    if (!pageColumns.isEmpty()) {
        const QString cards = select + QStringLiteral("P.ID, 0, :CARDS, %1) FROM PAGE P WHERE 1").arg(pageColumns.join(QLatin1Char(',')))
            + startsWithAnyColumn(placeholder, pageColumns);
        if (!readSelection(cards, cardOthers))
            return -1;
    }
    // The chips whose codes or names may start with the prefix; the code
    // first, as a letter that begins many begins the codes.
    const QStringList chipColumns = QStringList{QStringLiteral("R.CODE")} + rowColumns;
    const QString chips = select
        + QStringLiteral("R.PAGE_ID, R.ID, :CARDS, %1) FROM \"ROW\" R WHERE 1").arg(chipColumns.join(QLatin1Char(',')))
        + startsWithAnyColumn(placeholder, chipColumns);
    if (!readSelection(chips, chipOthers))
        return -1;

    // The numbers and blobs as the whole list meets them: the cards' in
    // the order of the map, the chips' by card, chip and column.
    std::stable_sort(chipOthers.begin(), chipOthers.end(),
                     [](const SuggestionSelectFunction::Other &left, const SuggestionSelectFunction::Other &right) {
                         return left.page != right.page ? left.page < right.page
                                                        : (left.chip != right.chip ? left.chip < right.chip
                                                                                   : left.column < right.column);
                     });
    QVector<QVariant> otherValues;
    otherValues.reserve(cardOthers.size() + chipOthers.size());
    for (const SuggestionSelectFunction::Other &other : qAsConst(cardOthers))
        otherValues.append(other.value);
    for (const SuggestionSelectFunction::Other &other : qAsConst(chipOthers))
        otherValues.append(other.value);
    sortDistinctOthers(otherValues);
    for (const QVariant &value : qAsConst(otherValues)) {
        if (!isSuggestion(value))
            continue;
        const QString text = value.toString();
        if (text.startsWith(prefix, Qt::CaseInsensitive) && texts.withinBounds(text))
            others.append(text);
    }
    return 0;
}

bool DBManager::distinctCodesInIndexOrder(const QSqlDatabase &file, const QString &statement,
                                          const QVariantMap &values, QVector<QVariant> &out)
{
    // Alone, the code column keeps its NOCASE collation: of the codes that
    // differ only in the case of A to Z the first one in the file's code
    // index (by owning collection, code, id) stands for all of them, and
    // they come in that index's order.
    struct Code {
        qint64 owner;
        qint64 id;
        QVariant code;
    };
    QVector<Code> codes;
    bool stopped = false;
    if (!CollectionQuery::forEachRow(file, statement, values, [&codes] { codes.clear(); },
                                     [&codes, &stopped, row = 0](const QSqlQuery &query) mutable {
                                         if (++row % s_rowsBetweenStopChecks == 0 && stopRequested()) {
                                             stopped = true;
                                             return false;
                                         }
                                         if (!query.isNull(2))
                                             codes.append({query.value(1).toLongLong(), query.value(0).toLongLong(),
                                                           query.value(2)});
                                         return true;
                                     })
        || stopped)
        return false;
    std::sort(codes.begin(), codes.end(), [](const Code &left, const Code &right) {
        if (left.owner != right.owner)
            return left.owner < right.owner;
        const int order = SuggestionOrder::compareValues(left.code, right.code, true);
        return order != 0 ? order < 0 : left.id < right.id;
    });
    QSet<QString> seen;
    for (const Code &code : qAsConst(codes)) {
        const QString key = SuggestionOrder::distinctKey(code.code, true);
        if (!seen.contains(key)) {
            seen.insert(key);
            out.append(code.code);
        }
    }
    return true;
}

int DBManager::findChipInEnabledCollections(const QString &condition, const QVariantMap &values, const QUuid &current,
                                            DB::ColorEntry &out)
{
    out.reset();
    const int loaded = EnsureCollectionLoaded(DBStructure::SystemWideCollectionUuid);
    if (loaded < 0)
        return loaded;
    const QSqlDatabase database = connectionFor(DBStructure::SystemWideCollectionUuid);
    const QString statement = QStringLiteral("SELECT     %1,     R.*").arg(collectionOfTheMap) + chipsOfCards
        + QStringLiteral("WHERE     CMAP.COLLECTION_ID IN (%1)     AND %2 ").arg(enabledCollections, condition);

    // A card may be lent to several collections: its chip is the current
    // collection's when that one holds it, so that a drop does not switch
    // away from the deck being browsed; only a collection of the searched
    // file can hold it.
    const auto currentInfo = s_installed_collections.constFind(current);
    const QString searchedFile = s_installed_collections.value(DBStructure::SystemWideCollectionUuid).databaseName;
    if (currentInfo != s_installed_collections.constEnd() && current != DBStructure::SystemWideCollectionUuid
        && currentInfo->databaseName == searchedFile) {
        const QString ofCurrent = QStringLiteral("    AND CMAP.COLLECTION_ID = %1 LIMIT 1 ").arg(currentInfo->id);
        QSqlRecord chip;
        const int found = CollectionQuery::firstRow(database, statement + ofCurrent, values, chip);
        if (found < 0)
            return -1;
        if (found == 1) {
            out.fromSqlRecord(chip);
            return 0;
        }
    }

    QSqlRecord chip;
    if (CollectionQuery::firstRow(database, statement + QStringLiteral("LIMIT 1 "), values, chip) != 1)
        return -1;
    out.fromSqlRecord(chip);
    return 0;
}

int DBManager::GetColorEntryByColorCode(const QString &code, DB::ColorEntry &out, const QUuid &current)
{
    // A trend colour without a name must not pick a chip stored without code.
    if (isBlank(code)) {
        out.reset();
        return -1;
    }
    return findChipInEnabledCollections(QStringLiteral("R.CODE = :CODE COLLATE VELMAR_UPPER"),
                                        {{QStringLiteral(":CODE"), code}}, current, out);
}

int DBManager::GetColorEntryByColor(const QColor &color, DB::ColorEntry &out, const QUuid &current)
{
    return findChipInEnabledCollections(QStringLiteral("R.RED = %1 AND R.GREEN = %2 AND R.BLUE = %3")
                                            .arg(color.red())
                                            .arg(color.green())
                                            .arg(color.blue()),
                                        {}, current, out);
}

int DBManager::GetColorEntryByColor(const QUuid &collection, const QColor &color, DB::ColorEntry &out)
{
    out.reset();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    return GetColorEntryByColor(connectionFor(collection), GetCollectionIdByUuid(collection), color, out);
}

int DBManager::GetColorEntryByColor(const QSqlDatabase &file, qint64 collectionId, const QColor &color,
                                    DB::ColorEntry &out)
{
    out.reset();
    // Of the chips within the tolerance the closest one, so that an identical
    // chip always wins over one two steps away.
    const QString statement = QStringLiteral("SELECT     %1,     R.*").arg(collectionOfTheMap) + chipsOfCards
        + QStringLiteral("WHERE     CMAP.COLLECTION_ID = %1     AND ABS(R.RED - %2) <= 2     AND ABS(R.GREEN - %3) <= 2     "
                         "AND ABS(R.BLUE - %4) <= 2 ORDER BY (R.RED - %2) * (R.RED - %2) + (R.GREEN - %3) * (R.GREEN - %3) "
                         "+ (R.BLUE - %4) * (R.BLUE - %4), R.ID LIMIT 1 ")
              .arg(QString::number(collectionId), QString::number(color.red()),
                   QString::number(color.green()), QString::number(color.blue()));
    QSqlRecord chip;
    if (CollectionQuery::firstRow(file, statement, chip) != 1)
        return -1;
    out.fromSqlRecord(chip);
    return 0;
}

int DBManager::GetColorEntryById(const QUuid &collection, qint64 rowId, DB::ColorEntry &out)
{
    out.reset();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QSqlRecord chip;
    if (CollectionQuery::firstRow(connectionFor(collection),
                                  QStringLiteral("SELECT    R.*,    %1 AS COLLECTION_ID FROM    \"ROW\" R WHERE     R.ID = %2 ")
                                      .arg(QString::number(GetCollectionIdByUuid(collection)), QString::number(rowId)),
                                  chip)
        != 1)
        return -1;
    out.fromSqlRecord(chip);
    return 0;
}

int DBManager::GetAllColorMatchEntryFor(const QUuid &collection, QVector<ColorMatchEntry> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    // A statement that failed, also part-way, leaves nothing to match
    // against, and is no failure.
    GetAllColorMatchEntryFor(connectionFor(collection), GetCollectionIdByUuid(collection), out);
    return 0;
}

int DBManager::GetAllColorMatchEntryFor(const QSqlDatabase &file, qint64 collectionId, QVector<ColorMatchEntry> &out)
{
    out.clear();
    bool stopped = false;
    const bool read = CollectionQuery::forEachRow(
        file,
        // Only what matching reads: a big deck's hundred thousand rows cost
        // Qt a value for every column.
        QStringLiteral("SELECT R.ID,R.L,R.A,R.B  FROM \"ROW\" R       "
                       "JOIN PAGE P ON R.PAGE_ID = P.ID       JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID  "
                       "WHERE CMAP.COLLECTION_ID = %1 ")
            .arg(collectionId),
        [&out] { out.clear(); },
        [&](const QSqlQuery &query) {
            if ((out.size() + 1) % s_rowsBetweenStopChecks == 0 && stopRequested()) {
                stopped = true;
                return false;
            }
            // The columns in the order the statement names them.
            ColorMatchEntry entry;
            entry.rowId = query.value(0).toLongLong();
            entry.L = query.value(1).toDouble();
            entry.a = query.value(2).toDouble();
            entry.b = query.value(3).toDouble();
            out.append(entry);
            return true;
        });
    if (!read || stopped) {
        out.clear();
        return -1;
    }
    return 0;
}

QString DBManager::BuildToolTipForColorEntry(const QUuid &collection, qint64 rowId, bool html)
{
    const bool showsCollectionName = CollectionSettings::tooltipShowsCollectionName(collection);
    const bool showsPageName = CollectionSettings::tooltipShowsPageName(collection);
    const bool showsRowCode = CollectionSettings::tooltipShowsRowCode(collection);
    const bool showsRowName = CollectionSettings::tooltipShowsRowName(collection);
    const bool showsRowAuxiliaryInfo = CollectionSettings::tooltipShowsRowAuxiliaryInfo(collection);
    const bool showsPageIndex = CollectionSettings::tooltipShowsPageIndex(collection);
    const bool showsRowIndex = CollectionSettings::tooltipShowsRowIndex(collection);

    DB::ColorEntry entry;
    if (GetColorEntryById(collection, rowId, entry) != 0)
        return QString();

    QStringList lines;
    auto appendNonEmpty = [&lines](const QString &line, const QString &pattern) {
        if (!line.isEmpty())
            lines << pattern.arg(line);
    };
    // An order list may name any number; only the ten columns exist.
    auto itemAt = [](const QStringList &items, qint64 column) {
        return column >= 0 && column < items.size() ? items.at(int(column)) : QString();
    };
    const QString plain = QStringLiteral("%1");
    if (showsCollectionName) {
        QSharedPointer<DB::Collection> record;
        if (GetCollectionByUuid(collection, record) == 0)
            lines << record->name;
    }
    if (showsPageName) {
        DB::ColorPage page;
        if (GetColorPageById(collection, entry.pageId, true, page) == 0) {
            for (qint64 column : qAsConst(s_page_name_display_order))
                appendNonEmpty(itemAt(page.names, column), plain);
        }
    }
    if (showsRowCode)
        appendNonEmpty(entry.code, plain);
    if (showsRowName) {
        for (qint64 column : qAsConst(s_row_name_display_order))
            appendNonEmpty(itemAt(entry.names, column), plain);
    }
    if (showsRowAuxiliaryInfo) {
        const QString pattern = html ? QStringLiteral("<span style=\"font-style:italic;\">%1</span>") : plain;
        for (qint64 column : qAsConst(s_row_extrainfo_display_order))
            appendNonEmpty(itemAt(entry.extras, column), pattern);
    }
    if (showsPageIndex) {
        DB::ColorPage page;
        if (GetColorPageById(collection, entry.pageId, true, page) == 0)
            lines << QString::number(page.pageIndex);
    }
    if (showsRowIndex)
        lines << QString::number(entry.rowIndex);

    if (html)
        return QStringLiteral("<div style=\"margin:2px;\">%1</div>").arg(lines.join(QStringLiteral("<br/>")));
    return lines.join(QLatin1Char('\n'));
}

int DBManager::SearchForDizevizColorEntries(const QString &name, QVector<DB::ColorEntry> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(DBStructure::SystemWideCollectionUuid);
    if (loaded < 0)
        return loaded;
    if (isBlank(name))
        return 0;
    const QStringList columns = nameColumns(QStringLiteral("R.NAME%1"), s_row_name_search_order)
        + QStringList{QStringLiteral("R.CODE")};
    const QString statement = QStringLiteral("SELECT     %1,     R.*").arg(collectionOfTheMap) + chipsOfCards
        + QStringLiteral("    JOIN %3 D ON D.COLLECTION_ID = CMAP.COLLECTION_ID "
                         "WHERE     CMAP.COLLECTION_ID IN (%1)     AND %2 ORDER BY     D.PRIORITY ASC ")
              .arg(enabledCollections, equalsAnyColumn(QStringLiteral(":NAME"), columns), dizevizCollections);
    if (!CollectionQuery::forEachRow(connectionFor(DBStructure::SystemWideCollectionUuid), statement,
                                     {{QStringLiteral(":NAME"), name}}, [&out] { out.clear(); },
                                     [&out](const QSqlQuery &query) {
                                         out.append(DB::ColorEntry(query.record()));
                                         return true;
                                     })) {
        out.clear();
        return -1;
    }
    return 0;
}

int DBManager::GetCapsurableCollectionIdsInOrder(QVector<qint64> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(DBStructure::SystemWideCollectionUuid);
    if (loaded < 0)
        return loaded;
    if (!CollectionQuery::forEachRow(connectionFor(DBStructure::SystemWideCollectionUuid),
                                     QStringLiteral("SELECT     D.COLLECTION_ID, D.PRIORITY FROM     %1 D "
                                                    "ORDER BY D.PRIORITY ASC, D.COLLECTION_ID ASC")
                                         .arg(dizevizCollections),
                                     [&out] { out.clear(); },
                                     [&out](const QSqlQuery &query) {
                                         out.append(query.value(0).toLongLong());
                                         return true;
                                     })) {
        out.clear();
        return -1;
    }
    return 0;
}

} // namespace Velmar
