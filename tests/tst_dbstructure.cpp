// The schema of collection files: creation inside one savepoint, the
// structure check, and the table look-up.

#include "database/DBStructure.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace Velmar;

class TestDBStructure : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void createThenCheck();
    void createWithoutSystemDataFailsTheSeedCheck();
    void aMissingTableFailsTheCheck_data();
    void aMissingTableFailsTheCheck();
    void wrongSeedRowsFailTheCheck_data();
    void wrongSeedRowsFailTheCheck();
    void existingCollectionTableIsLeftAlone();
    void aFailingStatementRollsBackAndUnlocks();
    void hasTableComparesTheNameExactly();
    void closedDatabase();
    void prepareTwiceKeepsTwentyTables();
    void dizevizViewListsEachCollectionOnce();

private:
    QSqlDatabase open(const QString &connection);
    QStringList schemaObjects(QSqlDatabase &database);

    QTemporaryDir *m_dir = nullptr;
    QString m_path;
};

void TestDBStructure::init()
{
    m_dir = new QTemporaryDir;
    m_path = m_dir->filePath(QStringLiteral("collection.db"));
}

void TestDBStructure::cleanup()
{
    for (const QString &name : QSqlDatabase::connectionNames())
        QSqlDatabase::removeDatabase(name);
    delete m_dir;
    m_dir = nullptr;
}

QSqlDatabase TestDBStructure::open(const QString &connection)
{
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
    database.setDatabaseName(m_path);
    database.open();
    return database;
}

QStringList TestDBStructure::schemaObjects(QSqlDatabase &database)
{
    QSqlQuery query(database);
    query.exec(QStringLiteral("SELECT type || ':' || name FROM sqlite_master ORDER BY name"));
    QStringList objects;
    while (query.next())
        objects << query.value(0).toString();
    return objects;
}

void TestDBStructure::createThenCheck()
{
    QSqlDatabase database = open(QStringLiteral("writer"));
    QString log;
    QTextStream stream(&log);
    QCOMPARE(DBStructure::CreateStructure(&database, true, &stream), 0);
    QVERIFY2(log.isEmpty(), qPrintable(log));
    QCOMPARE(DBStructure::CheckStructure(&database, true, &stream), 0);

    for (const QString &table : DBStructure::tableNamesInCreationOrder())
        QCOMPARE(DBStructure::HasTable(&database, table), 1);
    QCOMPARE(DBStructure::HasTable(&database, DBStructure::TABLE_COLLECTION_PAGE_MAP), 1);
    QCOMPARE(DBStructure::HasTable(&database, DBStructure::TABLE_ROW_SCHEME_MAP), 1);
    QVERIFY(schemaObjects(database).contains(QStringLiteral("view:DIZEVIZ_COLLECTION_IDS_BY_PRIORITY")));

    QSqlQuery query(database);
    QVERIFY(query.exec(QStringLiteral("SELECT ID, UUID, SYSTEMID, NAME, \"ORDER\" FROM COLLECTION")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toInt(), 0);
    QCOMPARE(QUuid(query.value(1).toString()), DBStructure::SystemWideCollectionUuid);
    QCOMPARE(query.value(2).toString(), QStringLiteral("VIRTUAL"));
    QCOMPARE(query.value(3).toString(), QStringLiteral("SystemWide Collection"));
    QVERIFY(!query.next());
    QVERIFY(query.exec(QStringLiteral("SELECT group_concat(NAME, ',') FROM (SELECT NAME FROM SCHEME ORDER BY ID)")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("harmonic,contrast,widecontrast,dynamic,dramatic,neutral,"
                                                       "tonalneutral,complementaryneutral"));
    QVERIFY(query.exec(QStringLiteral("SELECT group_concat(NAME, ',') FROM (SELECT NAME FROM MOOD ORDER BY ID)")));
    QVERIFY(query.next());
    QCOMPARE(query.value(0).toString(), QStringLiteral("fresh,warm,calm,rich,offwhite,neutral"));

    // The columns the queries read beyond the tables' own.
    QVERIFY(query.exec(QStringLiteral("SELECT NAME9, EXTRA9, IS_MTO FROM \"ROW\"")));
    QVERIFY(query.exec(QStringLiteral("SELECT NAME0, EXTRA0 FROM PAGE")));
}

void TestDBStructure::createWithoutSystemDataFailsTheSeedCheck()
{
    QSqlDatabase database = open(QStringLiteral("writer"));
    QCOMPARE(DBStructure::CreateStructure(&database, false, nullptr), 0);
    QCOMPARE(DBStructure::CheckStructure(&database, false, nullptr), 0);
    QCOMPARE(DBStructure::CheckStructure(&database, true, nullptr), -9);
}

void TestDBStructure::aMissingTableFailsTheCheck_data()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("first") << "GLOBALSETTING";
    QTest::newRow("chips") << "\"ROW\"";
    QTest::newRow("last") << "TEXTURE_MAP";
}

void TestDBStructure::aMissingTableFailsTheCheck()
{
    QFETCH(QString, table);
    QSqlDatabase database = open(QStringLiteral("writer"));
    QCOMPARE(DBStructure::CreateStructure(&database, true, nullptr), 0);
    QSqlQuery query(database);
    QVERIFY(query.exec(QStringLiteral("DROP TABLE %1").arg(table)));
    QCOMPARE(DBStructure::CheckStructure(&database, false, nullptr), -8);
}

void TestDBStructure::wrongSeedRowsFailTheCheck_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("system-wide row with id 5") << "UPDATE COLLECTION SET ID = 5 WHERE ID = 0";
    QTest::newRow("no system-wide row") << "DELETE FROM COLLECTION";
    QTest::newRow("five moods") << "DELETE FROM MOOD WHERE ID = 4";
    QTest::newRow("seven schemes") << "DELETE FROM SCHEME WHERE ID = 8";
}

void TestDBStructure::wrongSeedRowsFailTheCheck()
{
    QFETCH(QString, change);
    QSqlDatabase database = open(QStringLiteral("writer"));
    QCOMPARE(DBStructure::CreateStructure(&database, true, nullptr), 0);
    QSqlQuery query(database);
    QVERIFY(query.exec(change));
    QCOMPARE(DBStructure::CheckStructure(&database, true, nullptr), -9);
    QCOMPARE(DBStructure::CheckStructure(&database, false, nullptr), 0);
}

void TestDBStructure::existingCollectionTableIsLeftAlone()
{
    QSqlDatabase database = open(QStringLiteral("writer"));
    QSqlQuery query(database);
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE COLLECTION (ID integer)")));
    QCOMPARE(DBStructure::CreateStructure(&database, true, nullptr), 0);
    QCOMPARE(schemaObjects(database), QStringList{QStringLiteral("table:COLLECTION")});
    QCOMPARE(DBStructure::CheckStructure(&database, false, nullptr), -8);
}

void TestDBStructure::aFailingStatementRollsBackAndUnlocks()
{
    // An index of that name already exists, so the cards' index statement
    // fails after half of the tables were made.
    QSqlDatabase database = open(QStringLiteral("writer"));
    QSqlQuery query(database);
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE NOTES (TEXT text)")));
    QVERIFY(query.exec(QStringLiteral("CREATE INDEX UNQ_PAGE_INDEX_IN_COLLECTION ON NOTES (TEXT)")));
    const QStringList before = schemaObjects(database);

    QString log;
    QTextStream stream(&log);
    QCOMPARE(DBStructure::CreateStructure(&database, true, &stream), -7);
    QVERIFY2(log.startsWith(QStringLiteral("CREATE UNIQUE INDEX UNQ_PAGE_INDEX_IN_COLLECTION")), qPrintable(log));
    QVERIFY2(log.contains(QStringLiteral(" : ")) && log.contains(QStringLiteral("already exists")), qPrintable(log));
    QCOMPARE(schemaObjects(database), before);

    // The savepoint is gone: another connection can write at once.
    QSqlDatabase other = open(QStringLiteral("other"));
    QSqlQuery write(other);
    QVERIFY(write.exec(QStringLiteral("PRAGMA busy_timeout = 0")));
    QVERIFY2(write.exec(QStringLiteral("INSERT INTO NOTES VALUES ('written')")), qPrintable(write.lastError().text()));

    // The same connection can create the structure once the clash is gone.
    QVERIFY(query.exec(QStringLiteral("DROP INDEX UNQ_PAGE_INDEX_IN_COLLECTION")));
    QCOMPARE(DBStructure::CreateStructure(&database, true, nullptr), 0);
    QCOMPARE(DBStructure::CheckStructure(&database, true, nullptr), 0);
}

void TestDBStructure::hasTableComparesTheNameExactly()
{
    QSqlDatabase database = open(QStringLiteral("writer"));
    QSqlQuery query(database);
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE collection (ID integer)")));
    QCOMPARE(DBStructure::HasTable(&database, QStringLiteral("COLLECTION")), 2);
    QCOMPARE(DBStructure::HasTable(&database, QStringLiteral("collection")), 1);
    QCOMPARE(DBStructure::HasTable(&database, QStringLiteral("PAGE")), 2);
}

void TestDBStructure::closedDatabase()
{
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("closed"));
    QString log;
    QTextStream stream(&log);
    QCOMPARE(DBStructure::HasTable(&database, QStringLiteral("COLLECTION")), -1);
    QCOMPARE(DBStructure::CheckStructure(&database, true, &stream), -1);
    QCOMPARE(DBStructure::CreateStructure(&database, true, &stream), -1);
    QCOMPARE(DBStructure::CreateStructure(nullptr, true, nullptr), -1);
    QCOMPARE(log, QStringLiteral("Database is not opened.\nDatabase is not opened.\n"));
}

void TestDBStructure::prepareTwiceKeepsTwentyTables()
{
    DBStructure::Prepare();
    DBStructure::Prepare();
    const QStringList tables = DBStructure::tableNamesInCreationOrder();
    QCOMPARE(tables.size(), 20);
    QCOMPARE(tables.first(), QStringLiteral("GLOBALSETTING"));
    QCOMPARE(tables.last(), QStringLiteral("TEXTURE_MAP"));
}

void TestDBStructure::dizevizViewListsEachCollectionOnce()
{
    QSqlDatabase database = open(QStringLiteral("writer"));
    QCOMPARE(DBStructure::CreateStructure(&database, false, nullptr), 0);
    QSqlQuery query(database);
    const QStringList statements{
        QStringLiteral("INSERT INTO COLLECTION (ID, UUID, SYSTEMID, NAME, \"ORDER\") VALUES "
                       "(1, 'u1', 'S1', 'Two priorities', 1), (2, 'u2', 'S2', 'One priority', 2), "
                       "(3, 'u3', 'S3', 'No priority', 3), (4, 'u4', 'S4', 'Not linked', 4)"),
        QStringLiteral("INSERT INTO SETTING (COLLECTION_ID, NAME, VALUE, VALUE_INDEX) VALUES "
                       "(1, 'dizeviz.enabled', '1', 0), (1, 'dizeviz.priority', '3', 0), (1, 'dizeviz.priority', '1', 1), "
                       "(2, 'dizeviz.enabled', '1', 0), (2, 'dizeviz.priority', '2', 0), "
                       "(3, 'dizeviz.enabled', '1', 0), "
                       "(4, 'dizeviz.enabled', '0', 0), (4, 'dizeviz.priority', '0', 0)")};
    for (const QString &statement : statements)
        QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
    QVERIFY(query.exec(QStringLiteral("SELECT COLLECTION_ID, PRIORITY FROM DIZEVIZ_COLLECTION_IDS_BY_PRIORITY")));
    QStringList rows;
    while (query.next())
        rows << QStringLiteral("%1:%2").arg(query.value(0).toString(), query.value(1).toString());
    QCOMPARE(rows, (QStringList{QStringLiteral("1:1"), QStringLiteral("2:2")}));
}

QTEST_GUILESS_MAIN(TestDBStructure)
#include "tst_dbstructure.moc"
