// Finding the installed collections in the lookup folder and opening one
// read-only connection per collection file.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"
#include "services/ColorManager.h"
#include "DemoCollection.h"
#include "DemoSchemes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace Velmar;

namespace {

const QUuid uuidA(QStringLiteral("{0000000a-0000-0000-0000-000000000001}"));
const QUuid uuidB(QStringLiteral("{0000000b-0000-0000-0000-000000000002}"));
const QUuid uuidC(QStringLiteral("{0000000c-0000-0000-0000-000000000003}"));

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Connections of the registry whose file is the path.
int connectionsTo(const QString &path)
{
    int count = 0;
    for (const QString &name : QSqlDatabase::connectionNames()) {
        if (QSqlDatabase::database(name, false).databaseName() == path)
            ++count;
    }
    return count;
}

} // namespace

class TestDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void enabledSettingDecides_data();
    void enabledSettingDecides();
    void foreignFilesAreSkipped();
    void lowerCaseCollectionTableIsScanned();
    void theFirstFileByNameWins();
    void equalOrdersInTwoFilesAreAllListed();
    void orderedListLeavesOutTheSystemWideCollection();
    void noCollectionsInstalled();
    void ensureLoadedStatuses();
    void aFileAddedLaterIsFoundOnDemand();
    void anUninstalledCollectionIsLookedForOncePerCall();
    void collectionsOfOneFileShareOneConnection();
    void aVanishedFileIsNotRecreated();
    void fileNamesDifferingInCaseGetAConnectionEach();
    void uuidsStoredWithoutBraces();
    void lookUpsBetweenUuidIdAndSystemId();
    void collectionRecordByUuid();
    void collectionIdsAreResolvedWithinTheirFile();
    void columnOrderListsFollowTheSelectedCollection();
    void demoCollectionIsDiscovered();

private:
    void activate(const FixtureFolder &folder);
};

void TestDiscovery::initTestCase()
{
    TestEnvironment::isolate();
}

void TestDiscovery::init()
{
    DBManager::s_installed_collections.clear();
}

void TestDiscovery::activate(const FixtureFolder &folder)
{
    DBManager::s_installed_collections.clear();
    folder.activate();
}

void TestDiscovery::enabledSettingDecides_data()
{
    QTest::addColumn<QString>("enabled"); // empty: no setting row at all
    QTest::addColumn<bool>("installed");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("missing") << "" << false;
    QTest::newRow("2") << "2" << false;
    QTest::newRow("text") << "yes" << false;
}

void TestDiscovery::enabledSettingDecides()
{
    QFETCH(QString, enabled);
    QFETCH(bool, installed);
    FixtureFolder folder;
    {
        auto writer = folder.createFile(QStringLiteral("deck.db"));
        const qint64 id = writer->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, false);
        if (!enabled.isEmpty())
            QVERIFY(writer->addSetting(id, QStringLiteral("Collection.Enabled"), enabled));
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    activate(folder);
    QHash<QUuid, DBManager::CollectionInfo> found;
    QCOMPARE(DBManager::GetInstalledCollections(found, true), 0);
    QCOMPARE(found.contains(uuidA), installed);
    // The system-wide collection needs no setting.
    QVERIFY(found.contains(DBStructure::SystemWideCollectionUuid));
    QCOMPARE(found.size(), installed ? 2 : 1);
    if (installed) {
        const DBManager::CollectionInfo info = found.value(uuidA);
        QCOMPARE(info.systemId, QStringLiteral("A"));
        QCOMPARE(info.order, 1);
        QCOMPARE(info.databaseName, QFileInfo(folder.filePath(QStringLiteral("deck.db"))).absoluteFilePath());
    }
}

void TestDiscovery::foreignFilesAreSkipped()
{
    FixtureFolder folder;
    {
        auto writer = folder.createFile(QStringLiteral("deck.db"));
        writer->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        // A real collection file that is not named *.db, and one in a subfolder.
        auto notes = folder.createFile(QStringLiteral("notes.sqlite"));
        notes->addCollection(uuidB, QStringLiteral("B"), QStringLiteral("Deck B"), 2, true);
        auto nested = folder.createFile(QStringLiteral("more/nested.db"));
        nested->addCollection(uuidC, QStringLiteral("C"), QStringLiteral("Deck C"), 3, true);
        QVERIFY(writer->isOk() && notes->isOk() && nested->isOk());
    }
    QFile garbage(folder.filePath(QStringLiteral("garbage.db")));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("this is not a database file at all, only text that ends in .db\n");
    garbage.close();
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(folder.filePath(QStringLiteral("other.db")));
        QVERIFY(other.open());
        QSqlQuery(other).exec(QStringLiteral("CREATE TABLE NOTES (TEXT text)"));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));

    activate(folder);
    QHash<QUuid, DBManager::CollectionInfo> found;
    DBManager::GetInstalledCollections(found, true);
    QCOMPARE(found.keys().size(), 2);
    QVERIFY(found.contains(uuidA));
    QVERIFY(!found.contains(uuidB));
    QVERIFY(!found.contains(uuidC));
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("collectionEnumerator")));
}

void TestDiscovery::lowerCaseCollectionTableIsScanned()
{
    FixtureFolder folder;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("manual"));
        db.setDatabaseName(folder.filePath(QStringLiteral("lower.db")));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE collection (ID integer, UUID text, SYSTEMID text, VERSION integer, "
                                          "NAME text, \"ORDER\" integer)")));
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE setting (COLLECTION_ID integer, NAME text, VALUE text)")));
        QVERIFY(query.exec(QStringLiteral("INSERT INTO collection VALUES (4, '%1', 'L', 1, 'Lower', 2)").arg(uuidA.toString())));
        QVERIFY(query.exec(QStringLiteral("INSERT INTO setting VALUES (4, 'collection.enabled', '1')")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("manual"));
    activate(folder);
    QHash<QUuid, DBManager::CollectionInfo> found;
    DBManager::GetInstalledCollections(found, true);
    QVERIFY(found.contains(uuidA));
    QCOMPARE(found.value(uuidA).id, qint64(4));
}

void TestDiscovery::theFirstFileByNameWins()
{
    FixtureFolder folder;
    {
        // Written in the other order, so the listing order of the file
        // system cannot decide by accident.
        auto second = folder.createFile(QStringLiteral("b-second.db"));
        second->addCollection(uuidA, QStringLiteral("A2"), QStringLiteral("Deck A, second copy"), 1, true);
        auto first = folder.createFile(QStringLiteral("a-first.db"));
        first->addCollection(uuidA, QStringLiteral("A1"), QStringLiteral("Deck A"), 1, true);
        QVERIFY(first->isOk() && second->isOk());
    }
    activate(folder);
    QHash<QUuid, DBManager::CollectionInfo> found;
    DBManager::GetInstalledCollections(found, true);
    QCOMPARE(found.value(uuidA).systemId, QStringLiteral("A1"));
    QVERIFY(found.value(DBStructure::SystemWideCollectionUuid).databaseName.endsWith(QStringLiteral("a-first.db")));
}

void TestDiscovery::equalOrdersInTwoFilesAreAllListed()
{
    FixtureFolder folder;
    {
        auto one = folder.createFile(QStringLiteral("one.db"));
        one->addCollection(uuidB, QStringLiteral("B"), QStringLiteral("Deck B"), 1, true);
        one->addCollection(uuidC, QStringLiteral("C"), QStringLiteral("Deck C"), 2, true);
        auto two = folder.createFile(QStringLiteral("two.db"), false);
        two->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        QVERIFY(one->isOk() && two->isOk());
    }
    activate(folder);
    // Equal orders: by file path, so one.db's B before two.db's A.
    QCOMPARE(DBManager::GetInstalledCollectionUuidsInOrder(), (QList<QUuid>{uuidB, uuidA, uuidC}));
}

void TestDiscovery::orderedListLeavesOutTheSystemWideCollection()
{
    FixtureFolder folder;
    {
        auto writer = folder.createFile(QStringLiteral("deck.db"));
        writer->addCollection(uuidC, QStringLiteral("C"), QStringLiteral("Deck C"), 3, true);
        writer->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        writer->addCollection(uuidB, QStringLiteral("B"), QStringLiteral("Deck B"), 2, true);
        QVERIFY(writer->isOk());
    }
    activate(folder);
    QCOMPARE(DBManager::GetInstalledCollectionUuidsInOrder(), (QList<QUuid>{uuidA, uuidB, uuidC}));
    QCOMPARE(DBManager::s_installed_collections.size(), 4);
}

void TestDiscovery::noCollectionsInstalled()
{
    FixtureFolder empty;
    activate(empty);
    QCOMPARE(DBManager::HasInstalledCollections(), 2);
    QVERIFY(DBManager::GetInstalledCollectionUuidsInOrder().isEmpty());

    // A lookup folder without Contents/Resources, and one that is not there.
    QTemporaryDir bare;
    DBManager::s_preferredLookupFolder = bare.path();
    QCOMPARE(DBManager::HasInstalledCollections(), 2);
    DBManager::s_preferredLookupFolder = bare.filePath(QStringLiteral("missing"));
    QCOMPARE(DBManager::HasInstalledCollections(), 2);

    FixtureFolder some;
    some.createFile(QStringLiteral("deck.db"))->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("A"), 1, true);
    activate(some);
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
}

void TestDiscovery::ensureLoadedStatuses()
{
    FixtureFolder folder;
    folder.createFile(QStringLiteral("deck.db"))->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("A"), 1, true);
    activate(folder);

    QCOMPARE(DBManager::EnsureCollectionLoaded(QUuid()), -2);
    QVERIFY(DBManager::s_installed_collections.isEmpty()); // no scan for a null uuid

    // A uuid no file holds: one scan that adds without clearing, then -4.
    DBManager::CollectionInfo kept;
    kept.uuid = uuidC;
    kept.databaseName = folder.filePath(QStringLiteral("elsewhere.db"));
    DBManager::s_installed_collections.insert(uuidC, kept);
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidB), -4);
    QVERIFY(DBManager::s_installed_collections.contains(uuidC));
    QVERIFY(DBManager::s_installed_collections.contains(uuidA));

    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidA), 0);
    QCOMPARE(DBManager::GetCollectionIdByUuid(uuidB), qint64(-1));
}

void TestDiscovery::aFileAddedLaterIsFoundOnDemand()
{
    FixtureFolder folder;
    folder.createFile(QStringLiteral("deck.db"))->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("A"), 1, true);
    activate(folder);
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    folder.createFile(QStringLiteral("later.db"), false)->addCollection(uuidB, QStringLiteral("B"), QStringLiteral("B"), 2, true);
    QCOMPARE(DBManager::GetCollectionIdByUuid(uuidB), qint64(-1));
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidB), 0);
    QVERIFY(DBManager::GetCollectionIdByUuid(uuidB) > 0);
}

void TestDiscovery::anUninstalledCollectionIsLookedForOncePerCall()
{
    // My palette asks for each of its 24 cells on every paint: a collection
    // that no file holds is looked for once, not on every look-up, until the
    // selected collection changes (as at the start of each picker call) or
    // the installed list is rebuilt.
    FixtureFolder folder;
    folder.createFile(QStringLiteral("deck.db"))->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("A"), 1, true);
    activate(folder);
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidB), -4);
    DB::ColorEntry entry;
    QCOMPARE(DBManager::GetColorEntryById(uuidC, 1, entry), -4);

    // Installed since: still remembered as missing, both of them.
    {
        auto later = folder.createFile(QStringLiteral("later.db"), false);
        later->addCollection(uuidB, QStringLiteral("B"), QStringLiteral("B"), 2, true);
        later->addCollection(uuidC, QStringLiteral("C"), QStringLiteral("C"), 3, true);
        QVERIFY(later->isOk());
    }
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidB), -4);
    QCOMPARE(DBManager::GetColorEntryById(uuidC, 1, entry), -4);
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidB), -4);
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidA), 0);

    DBManager::selectedCollectionChanged(uuidA);
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidB), 0);
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidC), 0);

    // Rebuilding the installed list forgets as well.
    const QUuid uuidD(QStringLiteral("{0000000d-0000-0000-0000-000000000004}"));
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidD), -4);
    folder.createFile(QStringLiteral("latest.db"), false)->addCollection(uuidD, QStringLiteral("D"), QStringLiteral("D"), 4, true);
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidD), -4);
    DBManager::GetInstalledCollections(DBManager::s_installed_collections, true);
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidD), 0);
}

void TestDiscovery::collectionsOfOneFileShareOneConnection()
{
    FixtureFolder folder;
    {
        auto writer = folder.createFile(QStringLiteral("Shared.db"));
        writer->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("A"), 1, true);
        writer->addCollection(uuidB, QStringLiteral("B"), QStringLiteral("B"), 2, true);
    }
    activate(folder);
    const QString path = QFileInfo(folder.filePath(QStringLiteral("Shared.db"))).absoluteFilePath();
    const int before = QSqlDatabase::connectionNames().size();
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidA), 0);
    QCOMPARE(QSqlDatabase::connectionNames().size(), before + 1);
    QCOMPARE(connectionsTo(path), 1);
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidB), 0);
    QCOMPARE(DBManager::EnsureCollectionLoaded(DBStructure::SystemWideCollectionUuid), 0);
    QCOMPARE(QSqlDatabase::connectionNames().size(), before + 1);
    QVERIFY(!QSqlDatabase::contains(QStringLiteral("tmpCheckAvailability")));

    // Read-only: nothing can be written through it.
    QSqlDatabase connection = QSqlDatabase::database(path);
    QVERIFY(connection.isOpen());
    QSqlQuery query(connection);
    QVERIFY(!query.exec(QStringLiteral("INSERT INTO SETTING (COLLECTION_ID, NAME, VALUE) VALUES (1, 'x', 'y')")));
}

void TestDiscovery::aVanishedFileIsNotRecreated()
{
    FixtureFolder folder;
    folder.createFile(QStringLiteral("gone.db"))->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("A"), 1, true);
    activate(folder);
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("gone.db"))));

    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidA), -5);
    QSharedPointer<DB::Collection> collection;
    QCOMPARE(DBManager::GetCollectionByUuid(uuidA, collection), -5);
    QVERIFY(collection.isNull());
    QCOMPARE(filesIn(folder.collectionFolder()), QStringList());
}

void TestDiscovery::fileNamesDifferingInCaseGetAConnectionEach()
{
    FixtureFolder folder;
    {
        auto upper = folder.createFile(QStringLiteral("Deck.db"));
        upper->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        auto lower = folder.createFile(QStringLiteral("deck.db"), false);
        lower->addCollection(uuidB, QStringLiteral("B"), QStringLiteral("Deck B"), 2, true);
        QVERIFY(upper->isOk() && lower->isOk());
    }
    if (!QFile::exists(folder.filePath(QStringLiteral("Deck.db"))) || !QFile::exists(folder.filePath(QStringLiteral("deck.db"))))
        QSKIP("The file system does not tell names apart by case.");
    activate(folder);
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidA), 0);
    QCOMPARE(DBManager::EnsureCollectionLoaded(uuidB), 0);
    QCOMPARE(connectionsTo(QFileInfo(folder.filePath(QStringLiteral("Deck.db"))).absoluteFilePath()), 1);
    QCOMPARE(connectionsTo(QFileInfo(folder.filePath(QStringLiteral("deck.db"))).absoluteFilePath()), 1);

    // Both have id 1 in their own file; each is read from its own file.
    QSharedPointer<DB::Collection> collection;
    QCOMPARE(DBManager::GetCollectionByUuid(uuidB, collection), 0);
    QCOMPARE(collection->name, QStringLiteral("Deck B"));
    QCOMPARE(DBManager::GetCollectionByUuid(uuidA, collection), 0);
    QCOMPARE(collection->name, QStringLiteral("Deck A"));
}

void TestDiscovery::uuidsStoredWithoutBraces()
{
    FixtureFolder folder;
    {
        auto writer = folder.createFile(QStringLiteral("bare.db"));
        writer->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        // The system-wide row too: it is installed by its uuid alone.
        QVERIFY(writer->exec(QStringLiteral("UPDATE COLLECTION SET UUID = LOWER(TRIM(UUID, '{}'))")));
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    activate(folder);
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    QVERIFY(DBManager::s_installed_collections.contains(uuidA));
    QVERIFY(DBManager::s_installed_collections.contains(DBStructure::SystemWideCollectionUuid));

    QSharedPointer<DB::Collection> collection;
    QCOMPARE(DBManager::GetCollectionByUuid(uuidA, collection), 0);
    QCOMPARE(collection->uuid, uuidA);
    QCOMPARE(collection->name, QStringLiteral("Deck A"));
    QCOMPARE(DBManager::GetCollectionByUuid(DBStructure::SystemWideCollectionUuid, collection), 0);
    QCOMPARE(collection->systemId, QStringLiteral("VIRTUAL"));
}

void TestDiscovery::lookUpsBetweenUuidIdAndSystemId()
{
    FixtureFolder folder;
    qint64 idA = -1;
    {
        auto writer = folder.createFile(QStringLiteral("deck.db"));
        idA = writer->addCollection(uuidA, QStringLiteral("Deck-A"), QStringLiteral("A"), 1, true);
    }
    activate(folder);
    QCOMPARE(DBManager::GetCollectionIdByUuid(uuidA), qint64(-1)); // not scanned yet
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    QCOMPARE(DBManager::GetCollectionIdByUuid(uuidA), idA);
    const QString file = QFileInfo(folder.filePath(QStringLiteral("deck.db"))).absoluteFilePath();
    QCOMPARE(DBManager::GetCollectionUuidById(file, idA), uuidA);
    QCOMPARE(DBManager::GetCollectionUuidById(file, 0), DBStructure::SystemWideCollectionUuid);
    QCOMPARE(DBManager::GetCollectionUuidById(file, 77), QUuid());
    QCOMPARE(DBManager::GetCollectionUuidById(folder.filePath(QStringLiteral("other.db")), idA), QUuid());
    QCOMPARE(DBManager::GetCollectionUuidById(uuidA, idA), uuidA);
    QCOMPARE(DBManager::GetCollectionUuidById(uuidC, idA), QUuid()); // not installed: no file

    QUuid out;
    QCOMPARE(DBManager::GetCollectionUuidBySystemId(QStringLiteral("deck-a"), out), 0);
    QCOMPARE(out, uuidA);
    QCOMPARE(DBManager::GetCollectionUuidBySystemId(QStringLiteral("virtual"), out), 0);
    QCOMPARE(out, DBStructure::SystemWideCollectionUuid);
    out = uuidC;
    QCOMPARE(DBManager::GetCollectionUuidBySystemId(QStringLiteral("nothing"), out), -1);
    QCOMPARE(out, uuidC);
}

void TestDiscovery::collectionIdsAreResolvedWithinTheirFile()
{
    // Every file numbers its collections from 1: deck A in a.db and deck B in
    // b.db both have id 1. Asked both ways, a look-up that ignores the file
    // gets one of the two wrong, whatever the order of the installed table.
    FixtureFolder folder;
    qint64 chipOfA = -1;
    qint64 chipOfB = -1;
    {
        auto a = folder.createFile(QStringLiteral("a.db"));
        auto b = folder.createFile(QStringLiteral("b.db"), false);
        const qint64 idA = a->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        const qint64 idB = b->addCollection(uuidB, QStringLiteral("B"), QStringLiteral("Deck B"), 2, true);
        QCOMPARE(idA, qint64(1));
        QCOMPARE(idB, qint64(1));
        CollectionWriter::Chip chip;
        chip.code = QStringLiteral("A-1");
        chipOfA = a->addChip(idA, a->addCard(idA, CollectionWriter::Card()), chip);
        a->addSetting(idA, QStringLiteral("dizeviz.enabled"), QStringLiteral("1"));
        a->addSetting(idA, QStringLiteral("dizeviz.priority"), QStringLiteral("1"));
        chip.code = QStringLiteral("B-1");
        chipOfB = b->addChip(idB, b->addCard(idB, CollectionWriter::Card()), chip);
        QVERIFY2(a->isOk(), qPrintable(a->lastError()));
        QVERIFY2(b->isOk(), qPrintable(b->lastError()));
    }
    const QString fileA = QFileInfo(folder.filePath(QStringLiteral("a.db"))).absoluteFilePath();
    const QString fileB = QFileInfo(folder.filePath(QStringLiteral("b.db"))).absoluteFilePath();

    for (int round = 0; round < 4; ++round) {
        activate(folder);
        // Scanned from either end, so the table is filled in both orders.
        if (round % 2 == 0) {
            QCOMPARE(DBManager::HasInstalledCollections(), 1);
        } else {
            QCOMPARE(DBManager::EnsureCollectionLoaded(uuidB), 0);
        }
        QCOMPARE(DBManager::GetCollectionUuidById(fileA, 1), uuidA);
        QCOMPARE(DBManager::GetCollectionUuidById(fileB, 1), uuidB);
        QCOMPARE(DBManager::GetCollectionUuidById(uuidA, 1), uuidA);
        QCOMPARE(DBManager::GetCollectionUuidById(uuidB, 1), uuidB);
        QCOMPARE(DBManager::GetCollectionUuidById(fileB, 0), QUuid()); // b.db has no system-wide row

        // A chip of a collection belongs to that collection's file.
        DB::ColorEntry entry;
        QCOMPARE(DBManager::GetColorEntryById(uuidB, chipOfB, entry), 0);
        QCOMPARE(DBManager::GetCollectionUuidById(uuidB, entry.collectionId), uuidB);
        QCOMPARE(DBManager::GetColorEntryById(uuidA, chipOfA, entry), 0);
        QCOMPARE(DBManager::GetCollectionUuidById(uuidA, entry.collectionId), uuidA);

        // The look-ups across collections search the system-wide file, a.db.
        QCOMPARE(DBManager::GetColorEntryByColorCode(QStringLiteral("A-1"), entry), 0);
        QCOMPARE(DBManager::GetCollectionUuidById(DBStructure::SystemWideCollectionUuid, entry.collectionId), uuidA);
        QCOMPARE(DBManager::GetColorEntryByColorCode(QStringLiteral("B-1"), entry), -1);
        QVector<qint64> dizevizIds;
        QCOMPARE(DBManager::GetCapsurableCollectionIdsInOrder(dizevizIds), 0);
        QCOMPARE(dizevizIds, QVector<qint64>{1});
        QCOMPARE(DBManager::GetCollectionUuidById(DBStructure::SystemWideCollectionUuid, dizevizIds.first()), uuidA);
    }
}

void TestDiscovery::collectionRecordByUuid()
{
    FixtureFolder folder;
    folder.createFile(QStringLiteral("deck.db"))->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("Deck A"), 4, true);
    activate(folder);
    QSharedPointer<DB::Collection> collection;
    QCOMPARE(DBManager::GetCollectionByUuid(uuidA, collection), 0);
    QVERIFY(!collection.isNull());
    QCOMPARE(collection->uuid, uuidA);
    QCOMPARE(collection->name, QStringLiteral("Deck A"));
    QCOMPARE(collection->order, 4);

    QCOMPARE(DBManager::GetCollectionByUuid(uuidC, collection), -4);
    QVERIFY(collection.isNull());
    QCOMPARE(DBManager::GetCollectionByUuid(QUuid(), collection), -2);
}

void TestDiscovery::columnOrderListsFollowTheSelectedCollection()
{
    FixtureFolder folder;
    {
        auto writer = folder.createFile(QStringLiteral("deck.db"));
        const qint64 a = writer->addCollection(uuidA, QStringLiteral("A"), QStringLiteral("A"), 1, true);
        writer->addCollection(uuidB, QStringLiteral("B"), QStringLiteral("B"), 2, true);
        // Stored out of index order, with a gap: index order counts.
        writer->addSetting(a, QStringLiteral("row.name.display.order"), QStringLiteral("1"), 2);
        writer->addSetting(a, QStringLiteral("row.name.display.order"), QStringLiteral("3"), 0);
        writer->addSetting(a, QStringLiteral("row.name.display.order"), QStringLiteral("0"), 5);
        writer->addSettings(a, QStringLiteral("Page.Name.Search.Order"), {QStringLiteral("0"), QStringLiteral("x")});
        writer->addSettings(a, QStringLiteral("page.name.display.order"), {QStringLiteral("2")});
        writer->addSettings(a, QStringLiteral("page.extra.display.order"), {QStringLiteral("0"), QStringLiteral("1")});
        writer->addSettings(a, QStringLiteral("row.name.search.order"), {QStringLiteral("1"), QStringLiteral("0")});
        writer->addSettings(a, QStringLiteral("row.extra.display.order"), {QStringLiteral("4")});
        QVERIFY(writer->isOk());
    }
    activate(folder);
    DBManager::selectedCollectionChanged(uuidA);
    QCOMPARE(DBManager::s_row_name_display_order, (QVector<qint64>{3, 1, 0}));
    QCOMPARE(DBManager::s_page_name_search_order, (QVector<qint64>{0, 0}));
    QCOMPARE(DBManager::s_page_name_display_order, (QVector<qint64>{2}));
    QCOMPARE(DBManager::s_page_extrainfo_display_order, (QVector<qint64>{0, 1}));
    QCOMPARE(DBManager::s_row_name_search_order, (QVector<qint64>{1, 0}));
    QCOMPARE(DBManager::s_row_extrainfo_display_order, (QVector<qint64>{4}));

    DBManager::selectedCollectionChanged(uuidB);
    QVERIFY(DBManager::s_row_name_display_order.isEmpty());
    QVERIFY(DBManager::s_page_name_search_order.isEmpty());

    DBManager::selectedCollectionChanged(uuidA);
    DBManager::selectedCollectionChanged(uuidC); // not installed: emptied
    QVERIFY(DBManager::s_row_name_display_order.isEmpty());
}

void TestDiscovery::demoCollectionIsDiscovered()
{
    FixtureFolder folder;
    QString error;
    QVERIFY2(DemoCollection::write(folder.lookupFolder(), &error), qPrintable(error));
    activate(folder);
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    QCOMPARE(DBManager::GetInstalledCollectionUuidsInOrder(),
             (QList<QUuid>{DemoCollection::InteriorDeckUuid, DemoCollection::CardDeckUuid, DemoSchemes::SarnexDeckUuid}));
    QVERIFY(DBManager::s_installed_collections.contains(DBStructure::SystemWideCollectionUuid));
    QVERIFY(!DBManager::s_installed_collections.contains(DemoCollection::RetiredDeckUuid));

    // The interior deck covers the whole wheel and every mood, and its
    // chips carry the L*a*b* of their own colour.
    QVector<int> segments;
    QCOMPARE(DBManager::GetValidSegments(DemoCollection::InteriorDeckUuid, segments), 0);
    QCOMPARE(segments, (QVector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    for (int mood = MoodFresh; mood <= MoodNeutral; ++mood)
        QVERIFY(DBManager::hasPageWithMood(DemoCollection::InteriorDeckUuid, Mood(mood)));
    DB::ColorEntry chip;
    QCOMPARE(DBManager::GetColorEntryByColorCode(QStringLiteral("DI-0101"), chip), 0);
    const ColorLAB lab = ColorManager::fromRgb(QColor(chip.red, chip.green, chip.blue));
    QVERIFY(lab.L > 50.0);
    QCOMPARE(chip.L, lab.L);
    QCOMPARE(chip.a, lab.a);
    QCOMPARE(chip.b, lab.b);
    QCOMPARE(DBManager::GetColorEntryByColorCode(QStringLiteral("DI-L'AUBE"), chip), 0);
}

QTEST_GUILESS_MAIN(TestDiscovery)
#include "tst_discovery.moc"
