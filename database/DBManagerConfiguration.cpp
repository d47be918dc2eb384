// The per-collection configuration rows of DBManager: settings, localised
// texts and theme items by name or key.

#include "database/DBManager.h"

#include "database/CollectionQuery.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace Velmar {

namespace {

// The name or key is bound, never pasted: a key may hold any character.
QVariantMap keyValue(const QString &key)
{
    return {{QStringLiteral(":KEY"), key}};
}

} // namespace

bool DBManager::configurationValue(const QUuid &collection, const QString &statement, const QString &key,
                                   QVariant &value)
{
    QSqlRecord row;
    if (!firstRowLogged(connectionFor(collection), statement.arg(GetCollectionIdByUuid(collection)), keyValue(key), row))
        return false;
    value = row.value(0);
    return true;
}

QVariant DBManager::GetSettingsEntry(const QUuid &collection, const QString &name, const QVariant &defaultValue)
{
    if (EnsureCollectionLoaded(collection) < 0)
        return defaultValue;
    QVariant value;
    if (!configurationValue(collection,
                            QStringLiteral("SELECT S.VALUE FROM SETTING S WHERE S.COLLECTION_ID = %1 AND       "
                                           "S.NAME = :KEY COLLATE VELMAR_UPPER AND       S.VALUE_INDEX = 0 "),
                            name, value))
        return defaultValue;
    // A NULL value names no setting; the driver would give it as a null text.
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
    if (!CollectionQuery::forEachRow(connectionFor(collection),
                                     QStringLiteral("SELECT S.VALUE FROM SETTING S WHERE S.COLLECTION_ID = %1 AND       "
                                                    "S.NAME = :KEY COLLATE VELMAR_UPPER ORDER BY S.VALUE_INDEX ASC ")
                                         .arg(GetCollectionIdByUuid(collection)),
                                     keyValue(name), [&values] { values.clear(); },
                                     [&values](const QSqlQuery &query) {
                                         values.append(query.value(0));
                                         return true;
                                     }))
        values.clear();
    return values;
}

QString DBManager::GetLocaleEntry(const QUuid &collection, const QString &key)
{
    if (EnsureCollectionLoaded(collection) < 0)
        return key;
    QVariant text;
    if (!configurationValue(collection,
                            QStringLiteral("SELECT L.STRING FROM LOCALE L WHERE L.COLLECTION_ID = %1 AND       "
                                           "L.\"KEY\" = :KEY COLLATE VELMAR_UPPER"),
                            key, text))
        return key;
    return text.typeId() == QMetaType::QString && !text.isNull() ? text.toString() : key;
}

int DBManager::GetThemeEntry(const QUuid &collection, const QString &key, QByteArray &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QVariant data;
    if (!configurationValue(collection,
                            QStringLiteral("SELECT T.ITEM_DATA FROM THEME T WHERE T.COLLECTION_ID = %1 AND        "
                                           "T.ITEM_KEY = :KEY COLLATE VELMAR_UPPER"),
                            key, data))
        return -1;
    if (data.typeId() != QMetaType::QByteArray)
        return -1;
    out.append(data.toByteArray());
    return 0;
}

} // namespace Velmar
