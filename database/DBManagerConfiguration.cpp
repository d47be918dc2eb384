// The per-collection configuration rows of DBManager: settings, localised
// texts and theme items by name or key.

#include "database/DBManager.h"

#include <QSqlQuery>

namespace Velmar {

namespace {

// The name or key is bound, never pasted: a key may hold any character.
QVariantMap keyValue(const QString &key)
{
    return {{QStringLiteral(":KEY"), key}};
}

} // namespace

QVariant DBManager::GetSettingsEntry(const QUuid &collection, const QString &name, const QVariant &defaultValue)
{
    if (EnsureCollectionLoaded(collection) < 0)
        return defaultValue;
    QSqlQuery query(connectionFor(collection));
    if (!execBound(query,
                   QStringLiteral("SELECT S.VALUE FROM SETTING S WHERE S.COLLECTION_ID = %1 AND       "
                                  "S.NAME = :KEY COLLATE VELMAR_UPPER AND       S.VALUE_INDEX = 0 ")
                       .arg(GetCollectionIdByUuid(collection)),
                   keyValue(name))) {
        logSqlError(query);
        return defaultValue;
    }
    if (!query.next())
        return defaultValue;
    // A NULL value names no setting; the driver would give it as a null text.
    const QVariant value = query.value(0);
    return value.isNull() ? defaultValue : value;
}

QList<QVariant> DBManager::GetSettingsEntries(const QUuid &collection, const QString &name, unsigned long unused,
                                              const QVariant &unusedDefault)
{
    Q_UNUSED(unused)
    Q_UNUSED(unusedDefault)
    QList<QVariant> values;
    if (EnsureCollectionLoaded(collection) < 0)
        return values;
    QSqlQuery query(connectionFor(collection));
    if (!execBound(query,
                   QStringLiteral("SELECT S.VALUE FROM SETTING S WHERE S.COLLECTION_ID = %1 AND       "
                                  "S.NAME = :KEY COLLATE VELMAR_UPPER ORDER BY S.VALUE_INDEX ASC ")
                       .arg(GetCollectionIdByUuid(collection)),
                   keyValue(name)))
        return values;
    while (query.next())
        values.append(query.value(0));
    return values;
}

QString DBManager::GetLocaleEntry(const QUuid &collection, const QString &key)
{
    if (EnsureCollectionLoaded(collection) < 0)
        return key;
    QSqlQuery query(connectionFor(collection));
    if (!execBound(query,
                   QStringLiteral("SELECT L.STRING FROM LOCALE L WHERE L.COLLECTION_ID = %1 AND       "
                                  "L.\"KEY\" = :KEY COLLATE VELMAR_UPPER")
                       .arg(GetCollectionIdByUuid(collection)),
                   keyValue(key))) {
        logSqlError(query);
        return key;
    }
    if (!query.next())
        return key;
    const QVariant text = query.value(0);
    return text.typeId() == QMetaType::QString && !text.isNull() ? text.toString() : key;
}

int DBManager::GetThemeEntry(const QUuid &collection, const QString &key, QByteArray &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QSqlQuery query(connectionFor(collection));
    if (!execBound(query,
                   QStringLiteral("SELECT T.ITEM_DATA FROM THEME T WHERE T.COLLECTION_ID = %1 AND        "
                                  "T.ITEM_KEY = :KEY COLLATE VELMAR_UPPER")
                       .arg(GetCollectionIdByUuid(collection)),
                   keyValue(key))) {
        logSqlError(query);
        return -1;
    }
    if (!query.next())
        return -1;
    const QVariant data = query.value(0);
    if (data.typeId() != QMetaType::QByteArray)
        return -1;
    out.append(data.toByteArray());
    return 0;
}

} // namespace Velmar
