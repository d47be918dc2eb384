#include "database/DBManager.h"

#include "database/CollectionFileConnection.h"
#include "database/CollectionQuery.h"
#include "database/DBStructure.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace Velmar {

QString DBManager::s_preferredLookupFolder;
QHash<QUuid, DBManager::CollectionInfo> DBManager::s_installed_collections;
QVector<qint64> DBManager::s_page_name_search_order;
QVector<qint64> DBManager::s_page_name_display_order;
QVector<qint64> DBManager::s_page_extrainfo_display_order;
QVector<qint64> DBManager::s_row_name_search_order;
QVector<qint64> DBManager::s_row_name_display_order;
QVector<qint64> DBManager::s_row_extrainfo_display_order;
QSet<QUuid> DBManager::s_uninstalled_collections;
QString DBManager::s_uninstalled_lookup_folder;

namespace {

const QString enumeratorConnection = QStringLiteral("collectionEnumerator");
const QString probeConnection = QStringLiteral("tmpCheckAvailability");
const QString collectionFolder = QStringLiteral("Contents/Resources");

// Whether the UUID column holds the uuid, written with braces or without.
QString uuidMatches(const QUuid &uuid)
{
    return QStringLiteral("(C.UUID = '%1' COLLATE NOCASE OR C.UUID = '%2' COLLATE NOCASE)")
        .arg(uuid.toString(QUuid::WithBraces), uuid.toString(QUuid::WithoutBraces));
}

} // namespace

QString DBManager::connectionNameFor(const QString &databaseName)
{
    // The path as found: "Deck.db" and "deck.db" are two files where names
    // differ by case, and where they cannot, one file has only one name.
    return databaseName;
}

QSqlDatabase DBManager::connectionFor(const QUuid &collection)
{
    QSqlDatabase database =
        QSqlDatabase::database(connectionNameFor(s_installed_collections.value(collection).databaseName), false);
    // Opened again as at first: with a log left beside applied, and with our
    // collation on its new handle.
    CollectionFileConnection::reopenIfChanged(database);
    return database;
}

void DBManager::logSqlError(const QSqlError &error)
{
    if (error.isValid())
        qDebug() << error.nativeErrorCode().toInt() << " : " << error.text();
}

bool DBManager::firstRowLogged(const QSqlDatabase &database, const QString &statement, const QVariantMap &values,
                               QSqlRecord &row)
{
    QSqlError error;
    const int found = CollectionQuery::firstRow(database, statement, values, row, &error);
    if (found < 0)
        logSqlError(error);
    return found == 1;
}

int DBManager::GetInstalledCollections(QHash<QUuid, CollectionInfo> &out, bool clearFirst)
{
    if (clearFirst) {
        out.clear();
        s_uninstalled_collections.clear();
        s_owns_all_its_cards.clear();
    }

    const QDir lookupFolder(s_preferredLookupFolder);
    if (s_preferredLookupFolder.isEmpty() || !lookupFolder.exists(collectionFolder))
        return 0;

    QString path = QDir::toNativeSeparators(lookupFolder.path());
    if (!path.endsWith(QDir::separator()))
        path += QDir::separator();
    path = QDir::toNativeSeparators(path + collectionFolder);

    // Name order, so that "the first file wins" is the same on every machine.
    const QFileInfoList files = QDir(path).entryInfoList({QStringLiteral("*.db")}, QDir::Files, QDir::Name);
    const QString statement =
        QStringLiteral("SELECT     DISTINCT C.* FROM     COLLECTION C     LEFT JOIN SETTING S ON S.COLLECTION_ID = C.ID "
                       "WHERE     %1 OR     (S.NAME = '%2' COLLATE VELMAR_UPPER AND S.VALUE = 1)")
            .arg(uuidMatches(DBStructure::SystemWideCollectionUuid), QStringLiteral("collection.enabled"));

    for (const QFileInfo &file : files) {
        const QString filePath = file.absoluteFilePath();
        // A log left beside without an index is read whole into the index
        // each connection builds of it: the file is looked at through the
        // connection its decks will use, which then stays.
        const bool throughTheFilesOwn = CollectionFileConnection::indexesTheLogItself(filePath);
        const QString connectionName = throughTheFilesOwn ? connectionNameFor(filePath) : enumeratorConnection;
        const bool hadConnection = throughTheFilesOwn && QSqlDatabase::contains(connectionName);
        // A file read part-way adds none of its collections.
        QVector<CollectionInfo> found;
        bool read = false;
        {
            QSqlDatabase database = hadConnection ? QSqlDatabase::database(connectionName, false)
                                                  : CollectionFileConnection::add(connectionName, filePath);
            const auto collect = [&found, &filePath](const QSqlQuery &query) {
                const QSqlRecord record = query.record();
                CollectionInfo info;
                info.uuid = QUuid::fromString(record.value(QStringLiteral("UUID")).toString());
                info.id = record.value(QStringLiteral("ID")).toLongLong();
                info.order = record.value(QStringLiteral("ORDER")).toInt();
                info.databaseName = filePath;
                info.systemId = record.value(QStringLiteral("SYSTEMID")).toString();
                found.append(info);
                return true;
            };
            if (hadConnection)
                CollectionFileConnection::reopenIfChanged(database);
            // Its tables and its collections in one look, which a commit
            // meanwhile makes run again whole.
            read = (database.isOpen() || CollectionFileConnection::open(database))
                && CollectionQuery::runWhole(database, [&](const QSqlDatabase &connection) {
                       found.clear();
                       return connection.tables().contains(DBStructure::TABLE_COLLECTION, Qt::CaseInsensitive)
                           && CollectionQuery::forEachRowOnce(connection, statement, QVariantMap(), collect);
                   });
        }
        bool installed = false;
        if (read) {
            for (const CollectionInfo &info : qAsConst(found)) {
                if (!info.uuid.isNull() && !out.contains(info.uuid)) {
                    out.insert(info.uuid, info);
                    installed = true;
                }
            }
        }
        // The scan's own connection goes, and the file's when nothing of it
        // was installed.
        if (!throughTheFilesOwn || (!installed && !hadConnection))
            CollectionFileConnection::remove(connectionName);
    }
    return 0;
}

int DBManager::EnsureCollectionLoaded(const QUuid &collection)
{
    if (collection.isNull())
        return -2;
    if (!s_installed_collections.contains(collection)) {
        if (s_uninstalled_lookup_folder != s_preferredLookupFolder) {
            s_uninstalled_collections.clear();
            s_uninstalled_lookup_folder = s_preferredLookupFolder;
        }
        // My palette asks for every cell on each paint: scanning every file
        // each time for a collection that is not there would stall it.
        if (s_uninstalled_collections.contains(collection))
            return -4;
        GetInstalledCollections(s_installed_collections, false);
        if (!s_installed_collections.contains(collection)) {
            s_uninstalled_collections.insert(collection);
            return -4;
        }
    }

    // Asked every time: the registry is emptied with each application object.
    const QString databaseName = s_installed_collections.value(collection).databaseName;
    const QString connectionName = connectionNameFor(databaseName);
    if (QSqlDatabase::contains(connectionName))
        return 0;

    bool available = false;
    {
        QSqlDatabase probe = CollectionFileConnection::add(probeConnection, databaseName);
        available = CollectionFileConnection::open(probe);
        probe.close();
    }
    QSqlDatabase::removeDatabase(probeConnection);
    if (!available)
        return -5;

    QSqlDatabase database = CollectionFileConnection::add(connectionName, databaseName);
    CollectionFileConnection::open(database);
    return 0;
}

quint64 DBManager::GetCollectionFileVersion(const QUuid &collection)
{
    if (EnsureCollectionLoaded(collection) != 0)
        return 0;
    return CollectionFileConnection::generation(connectionFor(collection));
}

qint64 DBManager::GetCollectionIdByUuid(const QUuid &collection)
{
    const auto found = s_installed_collections.constFind(collection);
    return found == s_installed_collections.constEnd() ? -1 : found->id;
}

int DBManager::GetCollectionUuidBySystemId(const QString &systemId, QUuid &out)
{
    for (const CollectionInfo &info : qAsConst(s_installed_collections)) {
        if (info.systemId.compare(systemId, Qt::CaseInsensitive) == 0) {
            out = info.uuid;
            return 0;
        }
    }
    return -1;
}

QUuid DBManager::GetCollectionUuidById(const QString &databaseName, qint64 id)
{
    for (const CollectionInfo &info : qAsConst(s_installed_collections)) {
        if (info.id == id && info.databaseName == databaseName)
            return info.uuid;
    }
    return QUuid();
}

QUuid DBManager::GetCollectionUuidById(const QUuid &sameFileAs, qint64 id)
{
    const auto file = s_installed_collections.constFind(sameFileAs);
    return file == s_installed_collections.constEnd() ? QUuid() : GetCollectionUuidById(file->databaseName, id);
}

int DBManager::GetCollectionByUuid(const QUuid &collection, QSharedPointer<DB::Collection> &out)
{
    out.clear();
    const int loaded = EnsureCollectionLoaded(collection);
    if (loaded < 0)
        return loaded;
    QSqlRecord record;
    if (CollectionQuery::firstRow(connectionFor(collection),
                                  QStringLiteral(" SELECT *  FROM COLLECTION C  WHERE %1").arg(uuidMatches(collection)), record)
        != 1)
        return -1;
    out.reset(new DB::Collection(record));
    return 0;
}

int DBManager::HasInstalledCollections()
{
    if (s_installed_collections.isEmpty())
        GetInstalledCollections(s_installed_collections, true);
    return s_installed_collections.isEmpty() ? 2 : 1;
}

QList<QUuid> DBManager::GetInstalledCollectionUuidsInOrder()
{
    if (s_installed_collections.isEmpty())
        GetInstalledCollections(s_installed_collections, true);

    // ORDER is unique only within one file: collections of two files may
    // share it, and every one of them must stay selectable.
    QVector<CollectionInfo> collections;
    for (const CollectionInfo &info : qAsConst(s_installed_collections)) {
        if (info.uuid != DBStructure::SystemWideCollectionUuid)
            collections.append(info);
    }
    std::sort(collections.begin(), collections.end(), [](const CollectionInfo &left, const CollectionInfo &right) {
        if (left.order != right.order)
            return left.order < right.order;
        if (left.databaseName != right.databaseName)
            return left.databaseName < right.databaseName;
        return left.id < right.id;
    });
    QList<QUuid> uuids;
    for (const CollectionInfo &info : qAsConst(collections))
        uuids.append(info.uuid);
    return uuids;
}

void DBManager::selectedCollectionChanged(const QUuid &collection)
{
    QVector<qint64> *const lists[] = {&s_page_name_search_order, &s_page_name_display_order,
                                      &s_page_extrainfo_display_order, &s_row_name_search_order,
                                      &s_row_name_display_order, &s_row_extrainfo_display_order};
    const char *const keys[] = {"page.name.search.order", "page.name.display.order", "page.extra.display.order",
                                "row.name.search.order", "row.name.display.order", "row.extra.display.order"};
    for (QVector<qint64> *list : lists)
        list->clear();
    s_uninstalled_collections.clear();
    s_owns_all_its_cards.clear();

    if (EnsureCollectionLoaded(collection) != 0)
        return;

    const qint64 collectionId = GetCollectionIdByUuid(collection);
    const QSqlDatabase database = connectionFor(collection);
    for (int i = 0; i < 6; ++i) {
        const QString statement =
            QStringLiteral("SELECT     S.VALUE FROM     SETTING S WHERE     S.COLLECTION_ID = %1 AND     "
                           "S.NAME = '%2' COLLATE VELMAR_UPPER ORDER BY     S.VALUE_INDEX ASC")
                .arg(QString::number(collectionId), QLatin1String(keys[i]));
        QVector<qint64> &list = *lists[i];
        // Part of an order would search or show other columns than asked.
        if (!CollectionQuery::forEachRow(database, statement, [&list] { list.clear(); },
                                         [&list](const QSqlQuery &query) {
                                             list.append(query.value(0).toLongLong());
                                             return true;
                                         }))
            list.clear();
    }
}

Mood DBManager::toMood(int value)
{
    return value >= MoodFresh && value <= MoodNeutral ? static_cast<Mood>(value) : MoodNone;
}

bool DBManager::RowOrder(const DB::ColorEntry &left, const DB::ColorEntry &right)
{
    return left.rowIndex < right.rowIndex;
}

} // namespace Velmar
