#include "ReferenceStatements.h"

#include "database/DBManager.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

using namespace Velmar;

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

QString findCardByIndexQuery(qint64 collectionId, const QString &selectList, Direction direction, Mood mood,
                             bool exterior)
{
    QString statement = QStringLiteral(" SELECT %1 ").arg(selectList)
        + QStringLiteral(" FROM PAGE P       LEFT JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID  WHERE CMAP.COLLECTION_ID = %1 ")
              .arg(collectionId)
        + QStringLiteral(" AND P.PAGE_INDEX %1 %2 ");
    const QString offwhiteAndNeutral = QStringLiteral(" AND P.MOOD != %1 AND P.MOOD != %2 ").arg(5).arg(6);
    if (mood != MoodAll) {
        statement += QStringLiteral(" AND P.MOOD = %1 ").arg(int(mood));
        if (exterior)
            statement += QStringLiteral(" AND P.EXTERIOR = 1 ");
    } else if (exterior) {
        statement += QStringLiteral(" AND P.EXTERIOR = 1 ");
    } else {
        statement += offwhiteAndNeutral;
    }
    statement += direction == DirectionForward ? QStringLiteral(" ORDER BY P.PAGE_INDEX ASC LIMIT 1 ")
                                               : QStringLiteral(" ORDER BY P.PAGE_INDEX DESC LIMIT 1 ");
    return statement;
}

void loadEntries(QSqlQuery &query, const QString &statement, DB::ColorPage &page)
{
    query.clear();
    if (query.exec(statement)) {
        while (query.next())
            page.entries.append(DB::ColorEntry(query.record()));
    }
    std::sort(page.entries.begin(), page.entries.end(), DBManager::RowOrder);
}

} // namespace

QStringList ReferenceStatements::suggestions(const QSqlDatabase &file, qint64 collectionId,
                                             const QVector<qint64> &pageOrder, const QVector<qint64> &rowOrder)
{
    QStringList out;
    const QString id = QString::number(collectionId);
    QStringList parts;
    for (const QString &column : nameColumns(QStringLiteral("P.NAME%1"), pageOrder)) {
        parts << QStringLiteral("SELECT DISTINCT %2 AS ENTRY FROM PAGE P LEFT JOIN COLLECTION_PAGE_MAP CMAP "
                                "ON P.ID = CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %1")
                     .arg(id, column);
    }
    QStringList rowColumns = nameColumns(QStringLiteral("R.NAME%1"), rowOrder);
    rowColumns << QStringLiteral("R.CODE");
    for (const QString &column : qAsConst(rowColumns)) {
        parts << QStringLiteral("SELECT DISTINCT %2 AS ENTRY FROM \"ROW\" R LEFT JOIN PAGE P ON R.PAGE_ID = P.ID "
                                "LEFT JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %1")
                     .arg(id, column);
    }
    QSqlQuery query(file);
    if (query.exec(QStringLiteral("SELECT DISTINCT ENTRY FROM (%1) WHERE ENTRY IS NOT NULL AND LENGTH(ENTRY) > 0")
                       .arg(parts.join(QStringLiteral(" UNION "))))) {
        while (query.next())
            out.append(query.value(0).toString());
    }
    std::sort(out.begin(), out.end(), [](const QString &left, const QString &right) {
        return left.compare(right, Qt::CaseInsensitive) < 0;
    });
    return out;
}

int ReferenceStatements::nextCard(const QSqlDatabase &file, qint64 collectionId, int pageIndex, Direction direction,
                                  Mood mood, bool exterior, DB::ColorPage &out)
{
    const QString statement = findCardByIndexQuery(collectionId, QStringLiteral("*"), direction, mood, exterior);
    const bool forward = direction == DirectionForward;
    const QString index = QString::number(pageIndex);
    QSqlQuery query(file);
    if (!(query.exec(statement.arg(forward ? QStringLiteral(">") : QStringLiteral("<"), index)) && query.next())) {
        query.clear();
        if (!(query.exec(statement.arg(forward ? QStringLiteral("<") : QStringLiteral(">"), index)) && query.next()))
            return -6;
    }
    DB::ColorPage page(query.record());
    loadEntries(query,
                         QStringLiteral("SELECT     R.*,     %1 AS COLLECTION_ID FROM     \"ROW\" R WHERE        R.PAGE_ID = %2 ")
                             .arg(QString::number(collectionId), QString::number(page.id)),
                         page);
    out = page;
    return 0;
}

int ReferenceStatements::cardByIndex(const QSqlDatabase &file, qint64 collectionId, int pageIndex, DB::ColorPage &out)
{
    const QString id = QString::number(collectionId);
    QSqlQuery query(file);
    if (!query.exec(QStringLiteral("SELECT * FROM     PAGE P     LEFT JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                                   "WHERE     CMAP.COLLECTION_ID = %1 AND P.PAGE_INDEX = %2 ")
                        .arg(id, QString::number(pageIndex)))
        || !query.next())
        return -1;
    DB::ColorPage page(query.record());
    loadEntries(query,
                         QStringLiteral("SELECT     R.*,     %1 AS COLLECTION_ID FROM     \"ROW\" R WHERE     R.PAGE_ID = %2 ")
                             .arg(id, QString::number(page.id)),
                         page);
    out = page;
    return 0;
}

int ReferenceStatements::chip(const QSqlDatabase &file, qint64 collectionId, int pageIndex, int rowIndex,
                              DB::ColorEntry &out)
{
    out.reset();
    QSqlQuery query(file);
    if (!query.exec(QStringLiteral("SELECT * FROM \"ROW\" R JOIN PAGE P ON R.PAGE_ID = P.ID "
                                   "JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                                   "WHERE CMAP.COLLECTION_ID = %1 AND P.PAGE_INDEX = %2 AND R.ROW_INDEX = %3 LIMIT 1 ")
                        .arg(QString::number(collectionId), QString::number(pageIndex), QString::number(rowIndex)))
        || !query.next())
        return -1;
    out.fromSqlRecord(query.record());
    return 0;
}
