// Collection files that another process writes while the picker reads them:
// every answer is a state some commit left, never older than one already
// given, nothing is created beside the file, the locks of a statement still
// running hold, and a wait for a writer's lock ends.

#include "FixtureFolder.h"
#include "FolderContents.h"
#include "TestEnvironment.h"

#include "database/CollectionFileConnection.h"
#include "database/CollectionQuery.h"
#include "database/DBManager.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QThread>

using namespace Velmar;

namespace {

const QUuid deckA(QStringLiteral("{0000000a-0000-0000-0000-000000000001}"));

// Deck A with a version row and its history, which one transaction of the
// writer changes together, and a table of rows from one end of the file to
// the other, whose first and last rows it changes too.
void writeDeck(const FixtureFolder &folder, bool writeAheadLog)
{
    auto writer = folder.createFile(QStringLiteral("deck.db"));
    writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
    writer->exec(QStringLiteral("CREATE TABLE VERSION (N INTEGER)"));
    writer->exec(QStringLiteral("INSERT INTO VERSION VALUES (0)"));
    writer->exec(QStringLiteral("CREATE TABLE HISTORY (N INTEGER, DATA BLOB)"));
    writer->exec(QStringLiteral("CREATE TABLE SPREAD (ID INTEGER PRIMARY KEY, GEN INTEGER, PAD TEXT)"));
    writer->exec(QStringLiteral("WITH RECURSIVE R(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM R WHERE I < 60000) "
                                "INSERT INTO SPREAD SELECT I, 0, printf('%040d', I) FROM R"));
    if (writeAheadLog)
        writer->useWriteAheadLog();
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
}

struct Reading {
    bool ok = false;
    qint64 version = -1;
    qint64 history = -1;
    qint64 first = -1;
    qint64 last = -1;
    QString name;
    QString error;
};

// One statement on the picker's connection to the file, after the check that
// every use of it makes, run as the picker runs its statements.
Reading readDeck(const QString &file)
{
    Reading reading;
    QSqlDatabase database = QSqlDatabase::database(file, false);
    CollectionFileConnection::reopenIfChanged(database);
    QSqlRecord record;
    QSqlError error;
    if (CollectionQuery::firstRow(database,
                                  QStringLiteral("SELECT (SELECT N FROM VERSION), (SELECT COUNT(*) FROM HISTORY), "
                                                 "(SELECT NAME FROM COLLECTION WHERE SYSTEMID = 'A'), "
                                                 "(SELECT GEN FROM SPREAD WHERE ID = 1), "
                                                 "(SELECT GEN FROM SPREAD WHERE ID = 60000)"),
                                  record, &error)
        != 1) {
        reading.error = error.text();
        return reading;
    }
    reading.ok = true;
    reading.version = record.value(0).toLongLong();
    reading.history = record.value(1).toLongLong();
    reading.name = record.value(2).toString();
    reading.first = record.value(3).toLongLong();
    reading.last = record.value(4).toLongLong();
    return reading;
}

// What may lie beside the file once the writer is gone: nothing, or the log
// and index that it leaves while a reader is connected, as SQLite's writers
// do; never anything of ours.
void verifyOnlyTheWritersFiles(const FixtureFolder &folder)
{
    QStringList names = FolderContents::of(folder.collectionFolder()).keys();
    names.removeAll(QStringLiteral("deck.db-wal"));
    names.removeAll(QStringLiteral("deck.db-shm"));
    QCOMPARE(names, QStringList{QStringLiteral("deck.db")});
}

QString nameAt(qint64 version)
{
    return version == 0 ? QStringLiteral("Deck A") : QStringLiteral("Deck A %1").arg(version);
}

qint64 lastVersionOf(QProcess &process)
{
    const QByteArray output = process.readAllStandardOutput();
    const int at = output.lastIndexOf("version ");
    return at < 0 ? -1 : output.mid(at + 8).trimmed().toLongLong();
}

// Also when its end was noticed while events were processed, after which
// waiting for it answers false for good.
bool stillRunning(QProcess &process)
{
    return !process.waitForFinished(0) && process.state() != QProcess::NotRunning;
}

QString absolute(const FixtureFolder &folder)
{
    return QFileInfo(folder.filePath(QStringLiteral("deck.db"))).absoluteFilePath();
}

// The exclusive lock of a writer in the rollback mode, held by another
// process while this lives (for some seconds at the most).
class HeldLock
{
public:
    explicit HeldLock(const QString &file)
    {
        m_process.start(QStringLiteral(COLLECTION_FILE_PROCESS), {QStringLiteral("hold"), file, QStringLiteral("9000")});
        m_held = m_process.waitForReadyRead(10000) && m_process.readLine().trimmed() == "held";
    }
    ~HeldLock()
    {
        m_process.kill();
        m_process.waitForFinished();
    }
    HeldLock(const HeldLock &) = delete;
    HeldLock &operator=(const HeldLock &) = delete;

    bool isHeld() const { return m_held; }

private:
    QProcess m_process;
    bool m_held = false;
};

} // namespace

class TestLiveWriters : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void everyReadIsAStateSomeCommitLeft_data();
    void everyReadIsAStateSomeCommitLeft();
    void aFileSwitchedToTheLogModeGetsNothingBeside();
    void aRescanKeepsTheLockOfARunningStatement();
    void aWaitForAWritersLockEnds_data();
    void aWaitForAWritersLockEnds();
};

void TestLiveWriters::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(QFileInfo::exists(QStringLiteral(COLLECTION_FILE_PROCESS)));
}

void TestLiveWriters::init()
{
    DBManager::s_installed_collections.clear();
}

void TestLiveWriters::everyReadIsAStateSomeCommitLeft_data()
{
    QTest::addColumn<bool>("writeAheadLog");
    QTest::addColumn<QStringList>("options");
    // Commits, checkpoints of every kind, the log started again and cut.
    QTest::newRow("log mode") << true << QStringList();
    // The log emptied after every commit: a reader without the writer's
    // locks would find pages of two commits in the file.
    QTest::newRow("log mode, the log emptied after every commit") << true << QStringList{QStringLiteral("--truncate")};
    // Each closing checkpoint grows the file and removes the log.
    QTest::newRow("log mode, the writer closing now and then")
        << true << QStringList{QStringLiteral("--reopen"), QStringLiteral("6"), QStringLiteral("--grow")};
    QTest::newRow("rollback mode") << false << QStringList{QStringLiteral("--rollback")};
}

void TestLiveWriters::everyReadIsAStateSomeCommitLeft()
{
    QFETCH(bool, writeAheadLog);
    QFETCH(QStringList, options);
    FixtureFolder folder;
    writeDeck(folder, writeAheadLog);
    const QString file = absolute(folder);
    folder.activate();
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    QCOMPARE(DBManager::EnsureCollectionLoaded(deckA), 0);

    QProcess writer;
    writer.start(QStringLiteral(COLLECTION_FILE_PROCESS),
                 QStringList{QStringLiteral("churn"), file, QStringLiteral("2500")} + options);
    QVERIFY(writer.waitForStarted());
    qint64 newest = 0;
    int reads = 0;
    int failures = 0;
    QString lastError;
    for (int i = 1; stillRunning(writer); ++i) {
        // Opened afresh now and then, and the folder scanned again, as the
        // picker does at a new call or for a collection not yet known.
        if (i % 10 == 0)
            QSqlDatabase::database(file, false).close();
        if (i % 25 == 0) {
            QHash<QUuid, DBManager::CollectionInfo> scanned;
            DBManager::GetInstalledCollections(scanned, true);
        }
        const Reading reading = readDeck(file);
        if (!reading.ok) {
            ++failures;
            lastError = reading.error;
            continue;
        }
        ++reads;
        QCOMPARE(reading.history, reading.version);
        QCOMPARE(reading.name, nameAt(reading.version));
        QCOMPARE(reading.first, reading.version);
        QCOMPARE(reading.last, reading.version);
        QVERIFY2(reading.version >= newest, qPrintable(QStringLiteral("version %1 after %2").arg(reading.version).arg(newest)));
        newest = reading.version;
    }
    QCOMPARE(writer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(writer.exitCode(), 0);
    const qint64 last = lastVersionOf(writer);
    QVERIFY(last > 50);
    qInfo("%d reads while the writer worked, %d failed (%s), newest version read %lld of %lld", reads, failures,
          qPrintable(lastError), newest, last);
    QVERIFY(reads > 50);
    // A statement that met a change ran again on the file as it was then.
    QVERIFY2(failures == 0, qPrintable(lastError));

    const Reading final = readDeck(file);
    QVERIFY2(final.ok, qPrintable(final.error));
    QCOMPARE(final.version, last);
    QCOMPARE(final.history, last);
    QCOMPARE(DBManager::EnsureCollectionLoaded(deckA), 0);
    QSharedPointer<DB::Collection> collection;
    QCOMPARE(DBManager::GetCollectionByUuid(deckA, collection), 0);
    QCOMPARE(collection->name, nameAt(last));
    verifyOnlyTheWritersFiles(folder);
}

void TestLiveWriters::aFileSwitchedToTheLogModeGetsNothingBeside()
{
    FixtureFolder folder;
    writeDeck(folder, false);
    const QString file = absolute(folder);
    folder.activate();
    QCOMPARE(DBManager::EnsureCollectionLoaded(deckA), 0);
    QCOMPARE(readDeck(file).version, 0);

    QProcess writer;
    writer.start(QStringLiteral(COLLECTION_FILE_PROCESS), {QStringLiteral("switch"), file, QStringLiteral("150")});
    QVERIFY(writer.waitForStarted());
    qint64 newest = 0;
    while (stillRunning(writer)) {
        // The switch fails the statement that meets it, which runs again on
        // the file in its new mode.
        const Reading reading = readDeck(file);
        QVERIFY2(reading.ok, qPrintable(reading.error));
        QCOMPARE(reading.history, reading.version);
        QVERIFY(reading.version >= newest);
        newest = reading.version;
        QThread::msleep(1);
    }
    QCOMPARE(writer.exitCode(), 0);
    const qint64 last = lastVersionOf(writer);
    QCOMPARE(last, 150);
    const Reading final = readDeck(file);
    QVERIFY2(final.ok, qPrintable(final.error));
    QCOMPARE(final.version, last);
    verifyOnlyTheWritersFiles(folder);
}

void TestLiveWriters::aRescanKeepsTheLockOfARunningStatement()
{
    // Closing any descriptor of a file drops every lock the process holds on
    // it: reading the file to scan it must leave the lock of a statement
    // still running on another connection to it.
    FixtureFolder folder;
    writeDeck(folder, false);
    const QString file = absolute(folder);
    folder.activate();
    QCOMPARE(DBManager::EnsureCollectionLoaded(deckA), 0);
    auto exclusiveLock = [&file] {
        QProcess other;
        other.start(QStringLiteral(COLLECTION_FILE_PROCESS), {QStringLiteral("exclusive"), file});
        other.waitForFinished();
        return other.readAllStandardOutput().trimmed();
    };
    {
        QSqlDatabase database = QSqlDatabase::database(file, false);
        QSqlQuery running(database);
        QVERIFY(running.exec(QStringLiteral("SELECT NAME FROM MOOD")));
        QVERIFY(running.next());
        QCOMPARE(exclusiveLock(), QByteArray("busy"));
        QHash<QUuid, DBManager::CollectionInfo> scanned;
        DBManager::GetInstalledCollections(scanned, true);
        QVERIFY(scanned.contains(deckA));
        CollectionFileConnection::reopenIfChanged(database);
        QCOMPARE(exclusiveLock(), QByteArray("busy"));
        QVERIFY(running.next());
    }
    QCOMPARE(exclusiveLock(), QByteArray("exclusive"));
}

void TestLiveWriters::aWaitForAWritersLockEnds_data()
{
    QTest::addColumn<bool>("onAThread");
    // As long as the driver lets SQLite wait, and no longer.
    QTest::newRow("a look-up gives up after five seconds") << false;
    // A thread asked to stop, as when the picker closes, stops waiting.
    QTest::newRow("a thread asked to stop leaves the wait") << true;
}

void TestLiveWriters::aWaitForAWritersLockEnds()
{
    QFETCH(bool, onAThread);
    FixtureFolder folder;
    writeDeck(folder, false);
    const QString file = absolute(folder);
    folder.activate();
    QCOMPARE(DBManager::EnsureCollectionLoaded(deckA), 0);
    const qint64 id = DBManager::GetCollectionIdByUuid(deckA);

    HeldLock lock(file);
    QVERIFY(lock.isHeld());
    QElapsedTimer timer;
    if (!onAThread) {
        timer.start();
        QSharedPointer<DB::Collection> collection;
        QCOMPARE(DBManager::GetCollectionByUuid(deckA, collection), -1);
        const qint64 waited = timer.elapsed();
        QVERIFY2(waited >= 4500 && waited < 7500, qPrintable(QStringLiteral("waited %1 ms").arg(waited)));
        return;
    }
    int status = 0;
    QScopedPointer<QThread> reader(QThread::create([&file, id, &status] {
        const QString name = QStringLiteral("a thread's reader");
        {
            QSqlDatabase own = CollectionFileConnection::add(name, file);
            QVector<ColorMatchEntry> table;
            status = CollectionFileConnection::open(own) ? DBManager::GetAllColorMatchEntryFor(own, id, table) : -5;
        }
        CollectionFileConnection::remove(name);
    }));
    reader->start();
    // Well into the wait.
    QVERIFY(!reader->wait(300));
    timer.start();
    reader->requestInterruption();
    QVERIFY(reader->wait(10000));
    const qint64 left = timer.elapsed();
    QCOMPARE(status, -1);
    QVERIFY2(left < 1000, qPrintable(QStringLiteral("left the wait %1 ms after it was asked to").arg(left)));
}

QTEST_GUILESS_MAIN(TestLiveWriters)
#include "tst_livewriters.moc"
