// Collection files as their writers leave them, read without creating or
// changing anything beside them: rollback and write-ahead-log journal modes,
// logs and journals left beside, folders the user can write or not, and
// paths that a URI must escape.

#include "FileBytes.h"
#include "FileSizeLimit.h"
#include "FixtureFolder.h"
#include "FolderContents.h"
#include "TestEnvironment.h"
#include "WithoutPermissionOverride.h"

#include "database/CollectionFileConnection.h"
#include "database/DBManager.h"
#include "database/GuardedVfs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <sys/stat.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>

using namespace Velmar;

namespace {

const QUuid deckA(QStringLiteral("{0000000a-0000-0000-0000-000000000001}"));
const QUuid deckB(QStringLiteral("{0000000b-0000-0000-0000-000000000002}"));

enum class Leftover { None, EmptyLogAndIndex, IndexOnly, CommittedLog, CheckpointedLog };
enum class Change { FileWritten, FileReplaced, LogCreated, IndexCreated };
enum class Neighbour {
    LogLink,
    LogPipe,
    LogFolder,
    IndexPipe,
    IndexPipeWithoutLog,
    BothPipes,
    JournalPipe,
    FileLink,
    RollbackLogFolder,
    RollbackLogLink
};
enum class LogCase {
    Committed,
    NotALog,
    CutInFirstFrame,
    SpillPastCommit,
    EmptyFile,
    DamagedPageSize,
    LargestPages,
    SmallestPages,
    OtherPageSize,
    OtherFile
};

const int logHeaderSize = 32;
const int frameHeaderSize = 24;

int logPageSize(const QByteArray &log)
{
    return int(qFromBigEndian<quint32>(log.constData() + 8));
}

qsizetype frameOffset(const QByteArray &log, int frame)
{
    return logHeaderSize + qsizetype(frame) * (frameHeaderSize + logPageSize(log));
}

// The frames a log holds since it last started from its beginning: those
// that carry its header's salts; the frames after them are older.
struct LogRun {
    int frames = 0;
    int firstCommit = -1;
};

LogRun currentRun(const QByteArray &log)
{
    LogRun run;
    for (int frame = 0; frameOffset(log, frame + 1) <= log.size(); ++frame) {
        const char *header = log.constData() + frameOffset(log, frame);
        if (std::memcmp(header + 8, log.constData() + 16, 8) != 0)
            break;
        if (run.firstCommit < 0 && qFromBigEndian<quint32>(header + 4) != 0)
            run.firstCommit = frame;
        ++run.frames;
    }
    return run;
}

CollectionWriter::Chip chip(int rowIndex)
{
    CollectionWriter::Chip values;
    values.rowIndex = rowIndex;
    values.code = QStringLiteral("A-%1").arg(rowIndex, 4, 10, QLatin1Char('0'));
    values.names = QStringList{QStringLiteral("Chip %1 of a deck with long names").arg(rowIndex)};
    return values;
}

// A transaction that spans many pages of the file: 300 chips on the card,
// and deck A renamed.
void writeLargeTransaction(CollectionWriter &writer, qint64 collection, qint64 card, const QString &name)
{
    for (int row = 1; row <= 300; ++row)
        writer.addChip(collection, card, chip(row));
    writer.exec(QStringLiteral("UPDATE COLLECTION SET NAME = :NAME WHERE ID = :ID"),
                {{QStringLiteral(":NAME"), name}, {QStringLiteral(":ID"), collection}});
}

// What the plug-in reads of deck A.
QString nameOfDeckA()
{
    QSharedPointer<DB::Collection> collection;
    return DBManager::GetCollectionByUuid(deckA, collection) == 0 ? collection->name : QString();
}

int chipsOfDeckA()
{
    QVector<ColorMatchEntry> chips;
    DBManager::GetAllColorMatchEntryFor(deckA, chips);
    return chips.size();
}

// The tables of a connection with the number of rows of each, and the names
// of the collections: what a reader makes of a file.
QString describe(const QSqlDatabase &database)
{
    QSqlQuery query(database);
    if (!query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name")))
        return QStringLiteral("unreadable: ") + query.lastError().text();
    QStringList tables;
    while (query.next())
        tables << query.value(0).toString();
    QStringList parts;
    for (const QString &table : qAsConst(tables)) {
        QSqlQuery count(database);
        if (!count.exec(QStringLiteral("SELECT COUNT(*) FROM \"%1\"").arg(table)) || !count.next())
            return QStringLiteral("unreadable %1: %2").arg(table, count.lastError().text());
        parts << table + QLatin1Char('=') + count.value(0).toString();
    }
    if (tables.contains(QStringLiteral("COLLECTION")) && query.exec(QStringLiteral("SELECT NAME FROM COLLECTION ORDER BY ID"))) {
        while (query.next())
            parts << query.value(0).toString();
    }
    return parts.join(QLatin1Char(' '));
}

// What SQLite itself reads of the file with what lies beside it, on a copy
// of them where it may create and recover as it likes; "not installed" when
// deck A is not an enabled collection of that file.
QString describeAsSQLiteReadsACopy(const QString &file)
{
    QTemporaryDir copy;
    const QString copied = copy.filePath(QStringLiteral("deck.db"));
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-journal")}) {
        if (QFile::exists(file + suffix))
            QFile::copy(file + suffix, copied + suffix);
    }
    QString description;
    bool installed = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("reference"));
        database.setDatabaseName(copied);
        if (database.open()) {
            description = describe(database);
            QSqlQuery query(database);
            installed = query.exec(QStringLiteral("SELECT 1 FROM COLLECTION C JOIN SETTING S ON S.COLLECTION_ID = C.ID "
                                                  "WHERE C.UUID = '%1' AND S.NAME = 'collection.enabled' AND S.VALUE = 1")
                                       .arg(deckA.toString()))
                && query.next();
        }
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("reference"));
    return installed ? description : QStringLiteral("not installed");
}

// A new, empty file of that page size, so that the writer's structure goes
// into pages of it; in the log mode, the structure goes into the log.
bool createWithPageSize(const QString &file, int pageSize, bool autoVacuum, bool writeAheadLog)
{
    bool done = false;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("pageSize"));
        database.setDatabaseName(file);
        if (database.open()) {
            QSqlQuery query(database);
            done = query.exec(QStringLiteral("PRAGMA page_size = %1").arg(pageSize))
                && query.exec(QStringLiteral("PRAGMA auto_vacuum = %1").arg(autoVacuum ? 1 : 0))
                && (!writeAheadLog || query.exec(QStringLiteral("PRAGMA journal_mode = WAL")))
                && query.exec(QStringLiteral("CREATE TABLE FIRST_PAGE (X)")) && query.exec(QStringLiteral("DROP TABLE FIRST_PAGE"));
        }
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("pageSize"));
    return done;
}

// Deck A with a card of chips, checkpointed unless the whole file is to stay
// in the log; then, in the log only, more chips (so that the file's first
// page, which counts its pages, is logged too) and deck A renamed; left as a
// writer that stopped leaves it.
bool leaveDeckWithLog(const FixtureFolder &folder, int pageSize, const QString &newName = QStringLiteral("Deck A, renamed"),
                      bool checkpointed = true)
{
    QTemporaryDir workshop;
    const QString written = workshop.filePath(QStringLiteral("deck.db"));
    if (!createWithPageSize(written, pageSize, false, !checkpointed))
        return false;
    CollectionWriter writer(written);
    if (!writer.useWriteAheadLog())
        return false;
    const qint64 a = writer.addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
    const qint64 card = writer.addCard(a, CollectionWriter::Card());
    for (int row = 1; row <= 20; ++row)
        writer.addChip(a, card, chip(row));
    if (checkpointed && !writer.checkpoint())
        return false;
    writer.exec(QStringLiteral("BEGIN"));
    writeLargeTransaction(writer, a, card, newName);
    writer.exec(QStringLiteral("COMMIT"));
    return writer.isOk() && folder.copyAsLeftBehind(written, QStringLiteral("deck.db"));
}

// A writer's transaction spilled pages into the log before it shrank the
// file by dropping a large table: the commit names fewer pages than the
// frames reach.
bool leaveSpillPastCommit(const FixtureFolder &folder)
{
    QTemporaryDir workshop;
    const QString written = workshop.filePath(QStringLiteral("deck.db"));
    if (!createWithPageSize(written, 1024, true, true))
        return false;
    CollectionWriter writer(written);
    if (!writer.useWriteAheadLog())
        return false;
    const qint64 a = writer.addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
    const QString blob = QStringLiteral("randomblob(1003)");
    writer.exec(QStringLiteral("BEGIN"));
    writer.exec(QStringLiteral("CREATE TABLE T1 (X)"));
    writer.exec(QStringLiteral("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 600) "
                               "INSERT INTO T1 SELECT %1 FROM N").arg(blob));
    writer.exec(QStringLiteral("COMMIT"));
    writer.exec(QStringLiteral("BEGIN"));
    writer.exec(QStringLiteral("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 960) "
                               "INSERT INTO T1 SELECT %1 FROM N").arg(blob));
    writer.exec(QStringLiteral("CREATE TABLE T2 (X)"));
    writer.exec(QStringLiteral("INSERT INTO T2 VALUES ('kept')"));
    writer.exec(QStringLiteral("DROP TABLE T1"));
    writer.exec(QStringLiteral("UPDATE COLLECTION SET NAME = 'Deck A, after the spill' WHERE ID = %1").arg(a));
    writer.exec(QStringLiteral("COMMIT"));
    return writer.isOk() && folder.copyAsLeftBehind(written, QStringLiteral("deck.db"));
}

// While it lives, looks every few milliseconds whether anybody has one of the
// pipes open for reading, and lets a reader that waits for a writer go on.
class PipeWatch
{
public:
    explicit PipeWatch(const QStringList &pipes)
        : m_pipes(pipes)
        , m_thread([this] { watch(); })
    {
    }
    ~PipeWatch() { stop(); }

    // The pipes somebody opened.
    QStringList stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        return m_opened;
    }

private:
    void watch()
    {
        while (!m_stop) {
            for (const QString &pipe : qAsConst(m_pipes)) {
                // Opening a pipe to write without waiting succeeds only
                // while somebody has it open to read.
                const int descriptor = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (descriptor >= 0) {
                    ::close(descriptor);
                    if (!m_opened.contains(pipe))
                        m_opened << pipe;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    const QStringList m_pipes;
    QStringList m_opened;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

bool makePipe(const QString &path)
{
    QFile::remove(path);
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

QString integrityOf(const QString &file)
{
    QSqlQuery query(QSqlDatabase::database(QFileInfo(file).absoluteFilePath(), false));
    return query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next() ? query.value(0).toString()
                                                                               : query.lastError().text();
}

// While it lives, the collection folder is as in an install that the user
// cannot write, for a test run as root too, unless that cannot be had.
class ReadOnlyInstall
{
public:
    explicit ReadOnlyInstall(const FixtureFolder &folder)
        : m_folder(folder)
    {
        m_folder.setWritable(false);
        m_withoutOverride = std::make_unique<WithoutPermissionOverride>();
    }
    ~ReadOnlyInstall()
    {
        m_withoutOverride.reset();
        m_folder.setWritable(true);
    }

    bool isReadOnly() const
    {
        QFile probe(m_folder.filePath(QStringLiteral("probe")));
        if (!probe.open(QIODevice::WriteOnly))
            return true;
        probe.remove();
        return false;
    }

private:
    const FixtureFolder &m_folder;
    std::unique_ptr<WithoutPermissionOverride> m_withoutOverride;
};

// Runs an action during the read of a collection file that the countdown
// reaches, between the moment the bytes are read and the moment the file
// layer looks at what it read; counts the reads meanwhile.
class DuringRead
{
public:
    explicit DuringRead(const QString &folder)
    {
        s_prefix = QFile::encodeName(folder);
        s_reads = 0;
        GuardedVfs::setReadHook(hook);
    }
    ~DuringRead()
    {
        GuardedVfs::setReadHook(nullptr);
        s_action = nullptr;
    }
    DuringRead(const DuringRead &) = delete;
    DuringRead &operator=(const DuringRead &) = delete;

    // At the `read`-th read from now; none for 0.
    void arm(int read, std::function<void()> action)
    {
        s_reads = 0;
        s_at = read;
        s_action = std::move(action);
    }
    int reads() const { return s_reads; }

private:
    static bool hook(const char *path)
    {
        if (std::strncmp(path, s_prefix.constData(), size_t(s_prefix.size())) != 0)
            return true;
        if (++s_reads == s_at && s_action)
            s_action();
        return true;
    }

    static QByteArray s_prefix;
    static int s_reads;
    static int s_at;
    static std::function<void()> s_action;
};

QByteArray DuringRead::s_prefix;
int DuringRead::s_reads = 0;
int DuringRead::s_at = 0;
std::function<void()> DuringRead::s_action;

// What a writer, a tool or another program does to the file meanwhile.
void change(const QString &file, Change change)
{
    struct stat before;
    ::stat(QFile::encodeName(file).constData(), &before);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    switch (change) {
    case Change::FileWritten: {
        // Its own first byte again, its times set back: only the change
        // time tells.
        const int descriptor = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CLOEXEC);
        QVERIFY(descriptor >= 0);
        QCOMPARE(::pwrite(descriptor, "S", 1, 0), ssize_t(1));
        QCOMPARE(::futimens(descriptor, times), 0);
        ::close(descriptor);
        break;
    }
    case Change::FileReplaced: {
        // By a copy of the same size and times, moved over it.
        const QString copy = file + QStringLiteral(".new");
        QVERIFY(QFile::copy(file, copy));
        QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(copy).constData(), times, 0), 0);
        QCOMPARE(::rename(QFile::encodeName(copy).constData(), QFile::encodeName(file).constData()), 0);
        break;
    }
    case Change::LogCreated:
        QVERIFY(FileBytes::write(file + QStringLiteral("-wal"), QByteArray()));
        break;
    case Change::IndexCreated:
        QVERIFY(FileBytes::write(file + QStringLiteral("-shm"), QByteArray()));
        break;
    }
}

// A connection of the test's own, opened as the picker opens its ones.
class OwnConnection
{
public:
    explicit OwnConnection(const QString &file)
    {
        m_database = CollectionFileConnection::add(QStringLiteral("own"), file);
        CollectionFileConnection::open(m_database);
    }
    ~OwnConnection()
    {
        m_database = QSqlDatabase();
        CollectionFileConnection::remove(QStringLiteral("own"));
    }
    OwnConnection(const OwnConnection &) = delete;
    OwnConnection &operator=(const OwnConnection &) = delete;

    // Of the chips, on a statement no one runs again.
    QString countChips() const
    {
        QSqlQuery query(m_database);
        if (!query.exec(QStringLiteral("SELECT COUNT(*), MAX(CODE) FROM \"ROW\"")) || !query.next())
            return QStringLiteral("failed: ") + query.lastError().text();
        return query.value(0).toString() + QLatin1Char(' ') + query.value(1).toString();
    }

private:
    QSqlDatabase m_database;
};

// Deck A with 300 chips on a card in the log mode and no log beside, or
// with its chips committed to a log left beside.
void writeDeckOfChips(const FixtureFolder &folder, bool logLeft)
{
    if (logLeft) {
        QVERIFY(leaveDeckWithLog(folder, 4096));
        return;
    }
    auto writer = folder.createFile(QStringLiteral("deck.db"));
    const qint64 a = writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
    const qint64 card = writer->addCard(a, CollectionWriter::Card());
    writer->exec(QStringLiteral("BEGIN"));
    writeLargeTransaction(*writer, a, card, QStringLiteral("Deck A"));
    writer->exec(QStringLiteral("COMMIT"));
    QVERIFY(writer->useWriteAheadLog());
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
}

#define VERIFY_READ_ONLY(install)                                                                                      \
    if (!(install).isReadOnly())                                                                                       \
    QSKIP("This process can write into a folder of mode 0555; the test would prove nothing.")

} // namespace

Q_DECLARE_METATYPE(Change)
Q_DECLARE_METATYPE(Leftover)
Q_DECLARE_METATYPE(LogCase)
Q_DECLARE_METATYPE(Neighbour)

class TestCollectionFiles : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void nothingIsCreatedOrChangedBeside_data();
    void nothingIsCreatedOrChangedBeside();
    void onlyCommittedTransactionsCount_data();
    void onlyCommittedTransactionsCount();
    void aCheckpointCutShortIsCompletedFromTheLog();
    void anUnfinishedRollbackJournalKeepsTheFileOut_data();
    void anUnfinishedRollbackJournalKeepsTheFileOut();
    void aFileInTheLogModeIsReadAfreshWhenItChanges();
    void everyCommitIsSeenAtTheNextUse();
    void aChangeDuringAReadFailsIt_data();
    void aChangeDuringAReadFailsIt();
    void aStatementMetByAChangeRunsAgain_data();
    void aStatementMetByAChangeRunsAgain();
    void aLogBesideIsReadWithoutWritingAnywhere();
    void readAsSQLiteReadsACopy_data();
    void readAsSQLiteReadsACopy();
    void oddNeighboursAreNeitherFollowedNorWaitedFor_data();
    void oddNeighboursAreNeitherFollowedNorWaitedFor();
    void aLinkThatNamesAnotherFileIsFollowed();
    void aLargeLogIsReadInLittleMemory_data();
    void aLargeLogIsReadInLittleMemory();
    void aLogIsIndexedOnceFromTheScanToTheDeck();
    void pathsThatAUriEscapes_data();
    void pathsThatAUriEscapes();
};

void TestCollectionFiles::initTestCase()
{
    TestEnvironment::isolate();
}

void TestCollectionFiles::init()
{
    DBManager::s_installed_collections.clear();
}

void TestCollectionFiles::nothingIsCreatedOrChangedBeside_data()
{
    QTest::addColumn<bool>("writeAheadLog");
    QTest::addColumn<Leftover>("leftover");
    QTest::addColumn<bool>("writable");

    const struct {
        const char *name;
        bool writeAheadLog;
        Leftover leftover;
    } cases[] = {
        {"rollback journal", false, Leftover::None},
        {"rollback journal, empty log and index left", false, Leftover::EmptyLogAndIndex},
        {"log, closed", true, Leftover::None},
        {"log, empty log and index left", true, Leftover::EmptyLogAndIndex},
        {"log, index left", true, Leftover::IndexOnly},
        {"log, committed transactions left in it", true, Leftover::CommittedLog},
        {"log, checkpointed and left", true, Leftover::CheckpointedLog},
    };
    for (const auto &entry : cases) {
        for (const bool writable : {true, false}) {
            QTest::addRow("%s, %s folder", entry.name, writable ? "writable" : "read-only")
                << entry.writeAheadLog << entry.leftover << writable;
        }
    }
}

void TestCollectionFiles::nothingIsCreatedOrChangedBeside()
{
    QFETCH(bool, writeAheadLog);
    QFETCH(Leftover, leftover);
    QFETCH(bool, writable);

    FixtureFolder folder;
    QTemporaryDir workshop;
    const QString written = workshop.filePath(QStringLiteral("deck.db"));
    const bool logLeft = leftover == Leftover::CommittedLog || leftover == Leftover::CheckpointedLog;
    {
        CollectionWriter writer(written);
        if (writeAheadLog)
            QVERIFY2(writer.useWriteAheadLog(), qPrintable(writer.lastError()));
        const qint64 a = writer.addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        if (leftover == Leftover::CommittedLog)
            QVERIFY(writer.checkpoint());
        // Written after that checkpoint: found only in the log when it is left.
        writer.exec(QStringLiteral("UPDATE COLLECTION SET NAME = 'Deck A, renamed' WHERE ID = %1").arg(a));
        writer.addCollection(deckB, QStringLiteral("B"), QStringLiteral("Deck B"), 2, true);
        if (leftover == Leftover::CheckpointedLog)
            QVERIFY(writer.checkpoint());
        QVERIFY2(writer.isOk(), qPrintable(writer.lastError()));
        if (logLeft)
            QVERIFY(folder.copyAsLeftBehind(written, QStringLiteral("deck.db")));
    }
    if (!logLeft)
        QVERIFY(folder.copyAsLeftBehind(written, QStringLiteral("deck.db")));
    QCOMPARE(QFile::exists(folder.filePath(QStringLiteral("deck.db-wal"))), logLeft);
    if (leftover == Leftover::EmptyLogAndIndex)
        QVERIFY(FileBytes::write(folder.filePath(QStringLiteral("deck.db-wal")), QByteArray()));
    if (leftover == Leftover::EmptyLogAndIndex || leftover == Leftover::IndexOnly)
        QVERIFY(FileBytes::write(folder.filePath(QStringLiteral("deck.db-shm")), QByteArray(32768, '\0')));

    const QString file = QFileInfo(folder.filePath(QStringLiteral("deck.db"))).absoluteFilePath();
    const QMap<QString, QByteArray> before = FolderContents::of(folder.collectionFolder());
    {
        std::unique_ptr<ReadOnlyInstall> install;
        if (!writable) {
            install = std::make_unique<ReadOnlyInstall>(folder);
            VERIFY_READ_ONLY(*install);
        }
        folder.activate();
        QCOMPARE(DBManager::HasInstalledCollections(), 1);
        QVERIFY(DBManager::s_installed_collections.contains(deckB));
        QCOMPARE(DBManager::EnsureCollectionLoaded(deckA), 0);
        // Opened again, the connection reads what it read at first, with the
        // comparison of names on its new handle.
        for (const bool reopened : {false, true}) {
            if (reopened)
                QSqlDatabase::database(file, false).close();
            QCOMPARE(nameOfDeckA(), QStringLiteral("Deck A, renamed"));
            QCOMPARE(DBManager::GetSettingsEntry(deckA, QStringLiteral("COLLECTION.ENABLED"), QVariant()),
                     QVariant(QStringLiteral("1")));
        }
    }
    QCOMPARE(FolderContents::of(folder.collectionFolder()), before);
}

void TestCollectionFiles::onlyCommittedTransactionsCount_data()
{
    QTest::addColumn<bool>("torn");
    // A frame of the second transaction damaged, as by a write cut short:
    // none of that transaction counts, though its commit frame is intact.
    QTest::newRow("second transaction torn") << true;
    // Frames a writer spilled into the log before it committed.
    QTest::newRow("second transaction never committed") << false;
}

void TestCollectionFiles::onlyCommittedTransactionsCount()
{
    QFETCH(bool, torn);
    FixtureFolder folder;
    QTemporaryDir workshop;
    const QString written = workshop.filePath(QStringLiteral("deck.db"));
    {
        CollectionWriter writer(written);
        QVERIFY(writer.useWriteAheadLog());
        const qint64 a = writer.addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        const qint64 card = writer.addCard(a, CollectionWriter::Card());
        QVERIFY(writer.checkpoint());
        writer.exec(QStringLiteral("UPDATE COLLECTION SET NAME = 'Deck A, first edit' WHERE ID = %1").arg(a));
        if (!torn)
            writer.exec(QStringLiteral("PRAGMA cache_size = 2"));
        writer.exec(QStringLiteral("BEGIN"));
        writeLargeTransaction(writer, a, card, QStringLiteral("Deck A, second edit"));
        if (torn)
            writer.exec(QStringLiteral("COMMIT"));
        QVERIFY2(writer.isOk(), qPrintable(writer.lastError()));
        QVERIFY(folder.copyAsLeftBehind(written, QStringLiteral("deck.db")));
    }
    const QString logPath = folder.filePath(QStringLiteral("deck.db-wal"));
    QByteArray log = FileBytes::read(logPath);
    const LogRun run = currentRun(log);
    QVERIFY(run.firstCommit >= 0);
    QVERIFY2(run.frames > run.firstCommit + 3, "the second transaction left its frames in the log");
    if (torn) {
        const qsizetype damaged = frameOffset(log, run.firstCommit + 3) + frameHeaderSize + 100;
        log[damaged] = char(log.at(damaged) ^ 0x55);
        QVERIFY(FileBytes::write(logPath, log));
    }

    ReadOnlyInstall install(folder);
    VERIFY_READ_ONLY(install);
    folder.activate();
    QCOMPARE(DBManager::EnsureCollectionLoaded(deckA), 0);
    QCOMPARE(nameOfDeckA(), QStringLiteral("Deck A, first edit"));
    QCOMPARE(chipsOfDeckA(), 0);
    QCOMPARE(integrityOf(folder.filePath(QStringLiteral("deck.db"))), QStringLiteral("ok"));
}

void TestCollectionFiles::aCheckpointCutShortIsCompletedFromTheLog()
{
    // A checkpoint copies the log's pages into the file one by one; cut short
    // after one, the file alone holds half of a transaction, and only the
    // log, applied whole, completes it.
    FixtureFolder folder;
    QTemporaryDir workshop;
    const QString written = workshop.filePath(QStringLiteral("deck.db"));
    const QString file = folder.filePath(QStringLiteral("deck.db"));
    const QByteArray newName = QByteArrayLiteral("Deck A, second edit");
    {
        CollectionWriter writer(written);
        QVERIFY(writer.useWriteAheadLog());
        const qint64 a = writer.addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        const qint64 card = writer.addCard(a, CollectionWriter::Card());
        QVERIFY(writer.checkpoint());
        writer.exec(QStringLiteral("BEGIN"));
        writeLargeTransaction(writer, a, card, QString::fromLatin1(newName));
        writer.exec(QStringLiteral("COMMIT"));
        QVERIFY2(writer.isOk(), qPrintable(writer.lastError()));
        QVERIFY(folder.copyAsLeftBehind(written, QStringLiteral("deck.db")));
    }
    const QByteArray log = FileBytes::read(file + QStringLiteral("-wal"));
    const int pageSize = logPageSize(log);
    QByteArray database = FileBytes::read(file);
    bool copied = false;
    for (int frame = 0; frame < currentRun(log).frames; ++frame) {
        const QByteArray page = log.mid(frameOffset(log, frame) + frameHeaderSize, pageSize);
        if (page.contains(newName)) {
            const quint32 number = qFromBigEndian<quint32>(log.constData() + frameOffset(log, frame));
            database.replace(qsizetype(number - 1) * pageSize, pageSize, page);
            copied = true;
        }
    }
    QVERIFY(copied);
    QVERIFY(FileBytes::write(file, database));
    {
        // The file read alone, without its log.
        QSqlDatabase alone = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fileAlone"));
        alone.setDatabaseName(CollectionFileConnection::uriFor(file, QStringLiteral("immutable=1")));
        alone.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
        QVERIFY(alone.open());
        QSqlQuery query(alone);
        QVERIFY(query.exec(QStringLiteral("SELECT (SELECT NAME FROM COLLECTION WHERE NAME LIKE 'Deck A%'), "
                                          "(SELECT COUNT(*) FROM \"ROW\")")));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), QString::fromLatin1(newName));
        QCOMPARE(query.value(1).toInt(), 0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fileAlone"));

    ReadOnlyInstall install(folder);
    VERIFY_READ_ONLY(install);
    folder.activate();
    QCOMPARE(DBManager::EnsureCollectionLoaded(deckA), 0);
    QCOMPARE(nameOfDeckA(), QString::fromLatin1(newName));
    QCOMPARE(chipsOfDeckA(), 300);
    QCOMPARE(integrityOf(file), QStringLiteral("ok"));
}

void TestCollectionFiles::anUnfinishedRollbackJournalKeepsTheFileOut_data()
{
    QTest::addColumn<bool>("finished");
    // The writer stopped in the middle of a transaction whose pages it had
    // begun to write into the file: only a writer can roll it back, and read
    // without its journal, as an immutable file is, the file holds half of it.
    QTest::newRow("unfinished transaction") << false;
    // A journal kept after its transaction, its header zeroed.
    QTest::newRow("finished transaction") << true;
}

void TestCollectionFiles::anUnfinishedRollbackJournalKeepsTheFileOut()
{
    QFETCH(bool, finished);
    FixtureFolder folder;
    QTemporaryDir workshop;
    const QString written = workshop.filePath(QStringLiteral("deck.db"));
    {
        CollectionWriter writer(written);
        const qint64 a = writer.addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        const qint64 card = writer.addCard(a, CollectionWriter::Card());
        writeLargeTransaction(writer, a, card, QStringLiteral("Deck A"));
        if (finished) {
            writer.exec(QStringLiteral("PRAGMA journal_mode = PERSIST"));
        } else {
            writer.exec(QStringLiteral("PRAGMA cache_size = 2"));
            writer.exec(QStringLiteral("BEGIN"));
        }
        writer.exec(QStringLiteral("UPDATE \"ROW\" SET CODE = CODE || '-2'"));
        QVERIFY2(writer.isOk(), qPrintable(writer.lastError()));
        QVERIFY(folder.copyAsLeftBehind(written, QStringLiteral("deck.db")));
    }
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("deck.db-journal"))));

    const QMap<QString, QByteArray> before = FolderContents::of(folder.collectionFolder());
    folder.activate();
    QCOMPARE(DBManager::HasInstalledCollections(), finished ? 1 : 2);
    if (finished)
        QCOMPARE(chipsOfDeckA(), 300);
    QCOMPARE(FolderContents::of(folder.collectionFolder()), before);
}

void TestCollectionFiles::aFileInTheLogModeIsReadAfreshWhenItChanges()
{
    // SQLite looks for no change of an immutable file, and the log left
    // beside was applied from a copy: a writer at work while the picker
    // stays loaded must still be seen, as for a file in the rollback mode.
    FixtureFolder folder;
    auto writer = folder.createFile(QStringLiteral("deck.db"));
    QVERIFY(writer->useWriteAheadLog());
    const qint64 a = writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    folder.activate();
    QCOMPARE(nameOfDeckA(), QStringLiteral("Deck A"));

    const struct {
        const char *name;
        bool checkpointFirst;
    } steps[] = {{"Deck A, appended to the log", false},
                 {"Deck A, in a log started again", true},
                 {"Deck A, appended again", false}};
    for (const auto &step : steps) {
        if (step.checkpointFirst)
            QVERIFY(writer->checkpoint());
        QVERIFY(writer->exec(QStringLiteral("UPDATE COLLECTION SET NAME = :NAME WHERE ID = :ID"),
                             {{QStringLiteral(":NAME"), QString::fromLatin1(step.name)}, {QStringLiteral(":ID"), a}}));
        QCOMPARE(nameOfDeckA(), QString::fromLatin1(step.name));
    }
}

void TestCollectionFiles::everyCommitIsSeenAtTheNextUse()
{
    // After a checkpoint the writer starts its log again from the beginning
    // and writes each commit over older frames: the log keeps its size, and
    // commits within one tick of the file times leave them as they were. Only
    // the index that every commit rewrites shows each of them.
    FixtureFolder folder;
    auto writer = folder.createFile(QStringLiteral("deck.db"));
    QVERIFY(writer->useWriteAheadLog());
    const qint64 a = writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
    auto rename = [&](const QString &name) {
        return writer->exec(QStringLiteral("UPDATE COLLECTION SET NAME = :NAME WHERE ID = :ID"),
                            {{QStringLiteral(":NAME"), name}, {QStringLiteral(":ID"), a}});
    };
    for (int i = 0; i < 60; ++i)
        QVERIFY(rename(QStringLiteral("Deck A, draft %1").arg(i)));
    QVERIFY(writer->checkpoint());
    folder.activate();
    QCOMPARE(nameOfDeckA(), QStringLiteral("Deck A, draft 59"));
    const qint64 logSize = QFileInfo(folder.filePath(QStringLiteral("deck.db-wal"))).size();
    for (int i = 1; i <= 40; ++i) {
        QVERIFY(rename(QStringLiteral("Deck A %1").arg(i)));
        QCOMPARE(nameOfDeckA(), QStringLiteral("Deck A %1").arg(i));
    }
    QCOMPARE(QFileInfo(folder.filePath(QStringLiteral("deck.db-wal"))).size(), logSize);
}

void TestCollectionFiles::aChangeDuringAReadFailsIt_data()
{
    QTest::addColumn<bool>("logLeft");
    QTest::addColumn<Change>("change");
    QTest::addColumn<int>("logRead"); // the change comes then; 0: at the last read of the statement
    // Read as immutable: every read is of the file, and each of its
    // neighbours tells of a change.
    QTest::newRow("the file written, its times set back") << false << Change::FileWritten << 0;
    QTest::newRow("the file replaced by a copy of the same times") << false << Change::FileReplaced << 0;
    QTest::newRow("a log made beside") << false << Change::LogCreated << 0;
    QTest::newRow("an index made beside") << false << Change::IndexCreated << 0;
    // Read with an index of SQLite's own: a writer comes with an index.
    QTest::newRow("an index made beside a log") << true << Change::IndexCreated << 0;
    // While SQLite reads the log's frames to build that index.
    QTest::newRow("an index made beside a log that is being indexed") << true << Change::IndexCreated << 2;
}

void TestCollectionFiles::aChangeDuringAReadFailsIt()
{
    // The change comes during the last read of the statement: a check made
    // before each read, and not after, would let its bytes through.
    QFETCH(bool, logLeft);
    QFETCH(Change, change);
    QFETCH(int, logRead);
    FixtureFolder folder;
    writeDeckOfChips(folder, logLeft);
    const QString file = QFileInfo(folder.filePath(QStringLiteral("deck.db"))).absoluteFilePath();
    folder.activate();
    const int chips = logLeft ? 320 : 300;
    QCOMPARE(chipsOfDeckA(), chips);
    const QString whole = OwnConnection(file).countChips();
    QCOMPARE(whole, QStringLiteral("%1 A-0300").arg(chips));

    DuringRead during(logRead > 0 ? file + QStringLiteral("-wal") : folder.collectionFolder());
    int reads = 0;
    {
        OwnConnection counted(file);
        during.arm(0, nullptr);
        QCOMPARE(counted.countChips(), whole);
        reads = during.reads();
    }
    QVERIFY(reads > 2);
    {
        OwnConnection changed(file);
        during.arm(logRead > 0 ? logRead : reads, [&file, change] { ::change(file, change); });
        const QString counted = changed.countChips();
        QVERIFY2(counted.startsWith(QStringLiteral("failed: disk I/O error")), qPrintable(counted));
    }
    // The picker's own connection opens again on what the file holds now.
    QCOMPARE(chipsOfDeckA(), chips);
}

void TestCollectionFiles::aStatementMetByAChangeRunsAgain_data()
{
    QTest::addColumn<bool>("everyTime");
    // Read again on the file as it is now: the whole table.
    QTest::newRow("a change once") << false;
    // Changing at every reading: nothing, as for a failed statement.
    QTest::newRow("a change at every reading") << true;
}

void TestCollectionFiles::aStatementMetByAChangeRunsAgain()
{
    QFETCH(bool, everyTime);
    FixtureFolder folder;
    writeDeckOfChips(folder, false);
    const QString file = QFileInfo(folder.filePath(QStringLiteral("deck.db"))).absoluteFilePath();
    folder.activate();
    QCOMPARE(chipsOfDeckA(), 300);

    DuringRead during(folder.collectionFolder());
    QSqlDatabase::database(file, false).close();
    during.arm(0, nullptr);
    QCOMPARE(chipsOfDeckA(), 300);
    const int reads = during.reads();
    QVERIFY(reads > 4);
    int changes = 0;
    const int halfway = reads / 2;
    std::function<void()> touch = [&] {
        ++changes;
        ::change(file, Change::FileWritten);
        if (everyTime)
            during.arm(halfway, touch);
    };
    QSqlDatabase::database(file, false).close();
    during.arm(halfway, touch);
    QVector<ColorMatchEntry> table;
    QCOMPARE(DBManager::GetAllColorMatchEntryFor(deckA, table), 0);
    QCOMPARE(table.size(), everyTime ? 0 : 300);
    // Five runs at the most.
    QCOMPARE(changes, everyTime ? 5 : 1);
}

void TestCollectionFiles::aLogBesideIsReadWithoutWritingAnywhere()
{
    // No file may grow meanwhile: not beside the collection file, not in the
    // user's cache, not in the temporary folder.
    FixtureFolder folder;
    QVERIFY(leaveDeckWithLog(folder, 4096));
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    const QMap<QString, QByteArray> cacheBefore = FolderContents::of(cache);
    const QMap<QString, QByteArray> before = FolderContents::of(folder.collectionFolder());
    {
        FileSizeLimit nothingWritten(0);
        folder.activate();
        QCOMPARE(DBManager::HasInstalledCollections(), 1);
        QCOMPARE(nameOfDeckA(), QStringLiteral("Deck A, renamed"));
        QCOMPARE(chipsOfDeckA(), 320);
    }
    QCOMPARE(FolderContents::of(folder.collectionFolder()), before);
    QCOMPARE(FolderContents::of(cache), cacheBefore);
}

void TestCollectionFiles::readAsSQLiteReadsACopy_data()
{
    QTest::addColumn<LogCase>("logCase");
    QTest::newRow("transactions committed to the log") << LogCase::Committed;
    QTest::newRow("not a log") << LogCase::NotALog;
    // Its header and part of a frame: no transaction committed in it.
    QTest::newRow("cut short in its first frame") << LogCase::CutInFirstFrame;
    // A transaction that outgrew the page cache spilled pages into the log,
    // then shrank the file: its commit names fewer pages than the log holds.
    QTest::newRow("spilled pages past the last commit") << LogCase::SpillPastCommit;
    QTest::newRow("a log beside an empty file") << LogCase::EmptyFile;
    QTest::newRow("the file's page size damaged, its first page in the log") << LogCase::DamagedPageSize;
    QTest::newRow("pages of 65536 bytes") << LogCase::LargestPages;
    QTest::newRow("pages of 512 bytes") << LogCase::SmallestPages;
    QTest::newRow("the log of a file with other pages") << LogCase::OtherPageSize;
    QTest::newRow("the log of another file") << LogCase::OtherFile;
}

void TestCollectionFiles::readAsSQLiteReadsACopy()
{
    QFETCH(LogCase, logCase);
    FixtureFolder folder;
    const QString file = QFileInfo(folder.filePath(QStringLiteral("deck.db"))).absoluteFilePath();
    const QString logPath = file + QStringLiteral("-wal");
    switch (logCase) {
    case LogCase::SpillPastCommit:
        QVERIFY(leaveSpillPastCommit(folder));
        break;
    case LogCase::EmptyFile:
        // All of it in the log, which would make a whole file of nothing.
        QVERIFY(leaveDeckWithLog(folder, 4096, QStringLiteral("Deck A, renamed"), false));
        QVERIFY(FileBytes::write(file, QByteArray()));
        break;
    case LogCase::LargestPages:
        QVERIFY(leaveDeckWithLog(folder, 65536));
        break;
    case LogCase::SmallestPages:
        QVERIFY(leaveDeckWithLog(folder, 512));
        break;
    case LogCase::OtherPageSize:
    case LogCase::OtherFile: {
        FixtureFolder other;
        QVERIFY(leaveDeckWithLog(folder, 4096));
        QVERIFY(leaveDeckWithLog(other, logCase == LogCase::OtherPageSize ? 1024 : 4096,
                                 QStringLiteral("Deck A of another file")));
        QVERIFY(FileBytes::write(logPath, FileBytes::read(other.filePath(QStringLiteral("deck.db-wal")))));
        break;
    }
    default: {
        QVERIFY(leaveDeckWithLog(folder, 4096));
        const QByteArray log = FileBytes::read(logPath);
        if (logCase == LogCase::NotALog)
            QVERIFY(FileBytes::write(logPath, QByteArray(4096, 'x')));
        else if (logCase == LogCase::CutInFirstFrame)
            QVERIFY(FileBytes::write(logPath, log.left(100)));
        else if (logCase == LogCase::DamagedPageSize) {
            QByteArray database = FileBytes::read(file);
            database[16] = char(0x03);
            database[17] = char(0x00);
            QVERIFY(FileBytes::write(file, database));
        }
        break;
    }
    }
    QVERIFY(QFileInfo(logPath).size() > 0);

    const QString expected = describeAsSQLiteReadsACopy(file);
    const QMap<QString, QByteArray> before = FolderContents::of(folder.collectionFolder());
    folder.activate();
    DBManager::HasInstalledCollections();
    QString read = QStringLiteral("not installed");
    if (DBManager::s_installed_collections.contains(deckA)) {
        QCOMPARE(DBManager::EnsureCollectionLoaded(deckA), 0);
        read = describe(QSqlDatabase::database(file, false));
    }
    QCOMPARE(read, expected);
    QCOMPARE(FolderContents::of(folder.collectionFolder()), before);
}

void TestCollectionFiles::oddNeighboursAreNeitherFollowedNorWaitedFor_data()
{
    QTest::addColumn<Neighbour>("neighbour");
    QTest::addColumn<QString>("name"); // of deck A as read; empty when the file is not installed

    // The file alone, as SQLite would not take any of these for its log.
    QTest::newRow("the log a link to the log") << Neighbour::LogLink << "Deck A";
    QTest::newRow("the log a pipe") << Neighbour::LogPipe << "Deck A";
    QTest::newRow("the log a folder") << Neighbour::LogFolder << "Deck A";
    QTest::newRow("the log a pipe, and the index") << Neighbour::BothPipes << "Deck A";
    QTest::newRow("the index a pipe") << Neighbour::IndexPipeWithoutLog << "Deck A";
    // The log applied, the index never opened.
    QTest::newRow("the index a pipe beside a log") << Neighbour::IndexPipe << "Deck A, renamed";
    // A rollback journal that cannot be looked at may be one to roll back:
    // the file cannot be read safely.
    QTest::newRow("the journal a pipe") << Neighbour::JournalPipe << "";
    // Beside the file the link names lies its log.
    QTest::newRow("the collection file a link") << Neighbour::FileLink << "Deck A, renamed";
    // A file in the rollback mode: no log of its own, whatever lies under
    // the log's name, and SQLite would not open the file beside one.
    QTest::newRow("rollback mode, the log a folder") << Neighbour::RollbackLogFolder << "Deck A";
    QTest::newRow("rollback mode, the log a link to a file") << Neighbour::RollbackLogLink << "Deck A";
}

void TestCollectionFiles::oddNeighboursAreNeitherFollowedNorWaitedFor()
{
    QFETCH(Neighbour, neighbour);
    QFETCH(QString, name);
    FixtureFolder folder;
    QTemporaryDir elsewhere;
    const QString file = folder.filePath(QStringLiteral("deck.db"));
    const QString log = file + QStringLiteral("-wal");
    const QString index = file + QStringLiteral("-shm");
    QStringList pipes;
    const bool rollbackMode = neighbour == Neighbour::JournalPipe || neighbour == Neighbour::RollbackLogFolder
        || neighbour == Neighbour::RollbackLogLink;
    if (rollbackMode) {
        auto writer = folder.createFile(QStringLiteral("deck.db"));
        writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    } else {
        QVERIFY(leaveDeckWithLog(folder, 4096));
    }
    switch (neighbour) {
    case Neighbour::LogLink:
        QVERIFY(QFile::rename(log, elsewhere.filePath(QStringLiteral("log"))));
        QVERIFY(QFile::link(elsewhere.filePath(QStringLiteral("log")), log));
        break;
    case Neighbour::LogFolder:
        QVERIFY(QFile::remove(log));
        QVERIFY(QDir().mkdir(log));
        break;
    case Neighbour::LogPipe:
    case Neighbour::BothPipes:
        pipes << log;
        if (neighbour == Neighbour::BothPipes)
            pipes << index;
        break;
    case Neighbour::IndexPipeWithoutLog:
        QVERIFY(QFile::remove(log));
        pipes << index;
        break;
    case Neighbour::IndexPipe:
        pipes << index;
        break;
    case Neighbour::JournalPipe:
        pipes << file + QStringLiteral("-journal");
        break;
    case Neighbour::RollbackLogFolder:
        QVERIFY(QDir().mkdir(log));
        break;
    case Neighbour::RollbackLogLink:
        QVERIFY(FileBytes::write(elsewhere.filePath(QStringLiteral("bytes")), QByteArray(4096, 'x')));
        QVERIFY(QFile::link(elsewhere.filePath(QStringLiteral("bytes")), log));
        break;
    case Neighbour::FileLink: {
        const QString target = elsewhere.filePath(QStringLiteral("deck.db"));
        QVERIFY(QFile::rename(file, target));
        QVERIFY(QFile::rename(log, target + QStringLiteral("-wal")));
        QVERIFY(QFile::link(target, file));
        break;
    }
    }
    for (const QString &pipe : qAsConst(pipes))
        QVERIFY(makePipe(pipe));

    const QMap<QString, QByteArray> before = FolderContents::of(folder.collectionFolder());
    const QMap<QString, QByteArray> beforeElsewhere = FolderContents::of(elsewhere.path());
    PipeWatch watch(pipes);
    folder.activate();
    DBManager::HasInstalledCollections();
    QCOMPARE(nameOfDeckA(), name);
    QCOMPARE(watch.stop(), QStringList());
    QCOMPARE(FolderContents::of(folder.collectionFolder()), before);
    QCOMPARE(FolderContents::of(elsewhere.path()), beforeElsewhere);
}

void TestCollectionFiles::aLinkThatNamesAnotherFileIsFollowed()
{
    // An install that keeps versions of a deck and links the current one.
    FixtureFolder folder;
    QTemporaryDir versions;
    for (const QString &name : {QStringLiteral("One"), QStringLiteral("Two")}) {
        CollectionWriter writer(versions.filePath(name + QStringLiteral(".db")));
        writer.addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A ") + name, 1, true);
        QVERIFY2(writer.isOk(), qPrintable(writer.lastError()));
    }
    const QString link = folder.filePath(QStringLiteral("deck.db"));
    QVERIFY(QFile::link(versions.filePath(QStringLiteral("One.db")), link));
    folder.activate();
    QCOMPARE(nameOfDeckA(), QStringLiteral("Deck A One"));
    QVERIFY(QFile::remove(link));
    QVERIFY(QFile::link(versions.filePath(QStringLiteral("Two.db")), link));
    QCOMPARE(nameOfDeckA(), QStringLiteral("Deck A Two"));
}

void TestCollectionFiles::aLargeLogIsReadInLittleMemory_data()
{
    QTest::addColumn<int>("megabytes"); // of address space beyond what the reader has mapped
    QTest::addColumn<QString>("read");  // empty: the name, or "failed"
    // Less than the log: it must never be read into memory whole.
    QTest::newRow("room for less than the log") << 40 << "Deck A, renamed";
    // Room for hardly anything: the reader fails, and goes on.
    QTest::newRow("hardly any room") << 2 << "";
}

void TestCollectionFiles::aLargeLogIsReadInLittleMemory()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("The address checks reserve more address space than any limit leaves.");
#endif
    QFETCH(int, megabytes);
    QFETCH(QString, read);
    FixtureFolder folder;
    {
        QTemporaryDir workshop;
        const QString written = workshop.filePath(QStringLiteral("deck.db"));
        CollectionWriter writer(written);
        QVERIFY(writer.useWriteAheadLog());
        const qint64 a = writer.addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        QVERIFY(writer.checkpoint());
        writer.exec(QStringLiteral("BEGIN"));
        writer.exec(QStringLiteral("CREATE TABLE BULK (X)"));
        writer.exec(QStringLiteral("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 96) "
                                   "INSERT INTO BULK SELECT randomblob(1000000) FROM N"));
        writer.exec(QStringLiteral("UPDATE COLLECTION SET NAME = 'Deck A, renamed' WHERE ID = %1").arg(a));
        writer.exec(QStringLiteral("COMMIT"));
        QVERIFY2(writer.isOk(), qPrintable(writer.lastError()));
        QVERIFY(folder.copyAsLeftBehind(written, QStringLiteral("deck.db")));
    }
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("deck.db-wal"))).size() > 96 * 1000000);

    QProcess reader;
    reader.start(QStringLiteral(COLLECTION_FILE_PROCESS),
                 {QStringLiteral("read"), folder.lookupFolder(), deckA.toString(), QString::number(megabytes)});
    QVERIFY(reader.waitForFinished(60000));
    QCOMPARE(reader.exitStatus(), QProcess::NormalExit);
    QCOMPARE(reader.exitCode(), 0);
    const QString output = QString::fromUtf8(reader.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0);
    if (read.isEmpty())
        QVERIFY2(output == QStringLiteral("Deck A, renamed") || output == QStringLiteral("failed"), qPrintable(output));
    else
        QCOMPARE(output, read);
}

void TestCollectionFiles::aLogIsIndexedOnceFromTheScanToTheDeck()
{
    // Without an index beside, a connection reads the whole log to build
    // one in its memory: the scan's look at the file and the deck's first
    // look-up share that reading, and a rescan does not read the log again.
    FixtureFolder folder;
    QVERIFY(leaveDeckWithLog(folder, 1024));
    const QString log = QFileInfo(folder.filePath(QStringLiteral("deck.db-wal"))).absoluteFilePath();
    const int frames = int((QFileInfo(log).size() - 32) / (1024 + 24));
    QVERIFY(frames > 100);
    DuringRead logReads(log);
    logReads.arm(0, nullptr);
    folder.activate();
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    QCOMPARE(nameOfDeckA(), QStringLiteral("Deck A, renamed"));
    QCOMPARE(chipsOfDeckA(), 320);
    const int reads = logReads.reads();
    QVERIFY2(reads > frames / 2 && reads < frames + frames / 2,
             qPrintable(QStringLiteral("%1 reads of a log of %2 frames").arg(reads).arg(frames)));
    QHash<QUuid, DBManager::CollectionInfo> scanned;
    DBManager::GetInstalledCollections(scanned, true);
    QVERIFY(scanned.contains(deckA));
    QCOMPARE(nameOfDeckA(), QStringLiteral("Deck A, renamed"));
    QVERIFY2(logReads.reads() - reads < frames / 2, qPrintable(QStringLiteral("%1 reads more").arg(logReads.reads() - reads)));
}

void TestCollectionFiles::pathsThatAUriEscapes_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::newRow("spaces") << "deck with spaces.db";
    QTest::newRow("number sign") << "deck #2.db";
    QTest::newRow("question mark") << "why?.db";
    QTest::newRow("percent sign") << "100% deck.db";
    QTest::newRow("what reads as escapes") << "%41%42.db";
    QTest::newRow("non-ASCII") << "Farbfächer.db";
}

void TestCollectionFiles::pathsThatAUriEscapes()
{
    QFETCH(QString, fileName);
    FixtureFolder folder;
    {
        // In the log mode, so that the file is opened by its URI; with the
        // log left beside, so that what lies beside it is found too.
        QTemporaryDir workshop;
        const QString written = workshop.filePath(QStringLiteral("deck.db"));
        CollectionWriter writer(written);
        QVERIFY(writer.useWriteAheadLog());
        writer.addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        QVERIFY2(writer.isOk(), qPrintable(writer.lastError()));
        QVERIFY(folder.copyAsLeftBehind(written, fileName));
    }
    const QMap<QString, QByteArray> before = FolderContents::of(folder.collectionFolder());
    folder.activate();
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    QCOMPARE(nameOfDeckA(), QStringLiteral("Deck A"));
    QCOMPARE(FolderContents::of(folder.collectionFolder()), before);
}

QTEST_GUILESS_MAIN(TestCollectionFiles)
#include "tst_collectionfiles.moc"
