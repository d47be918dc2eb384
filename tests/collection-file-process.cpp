// Another process at a collection file, for the tests that need one: a
// writer at work on it, one that switches its journal mode, one that asks for
// or holds the exclusive lock, and a reader under a limit of address space.
//
//   collection-file-process churn <file> <milliseconds> [--rollback] [--reopen <n>] [--grow] [--truncate]
//       commits one transaction after another for that long: the version row
//       counted up, a history row added, deck A renamed after the version,
//       the first and the last row of the SPREAD table, when the file has
//       one, set to the version; checkpoints of every kind now and then, or
//       with --truncate one that empties the log after every commit; prints
//       "version <n>" at the end
//   collection-file-process switch <file> <transactions>
//       switches a file in the rollback mode to the log mode and commits
//   collection-file-process exclusive <file>
//       prints "exclusive" when it gets the exclusive lock at once, else "busy"
//   collection-file-process hold <file> <milliseconds>
//       takes the exclusive lock of a file in the rollback mode, prints
//       "held", and keeps it for that long
//   collection-file-process read <lookup folder> <uuid> <megabytes>
//       with that much more address space than it has (0: no limit), scans
//       the lookup folder and prints the name of the collection, or
//       "failed"; then the milliseconds it took and the resident memory in
//       KiB before and at the most
//   collection-file-process plain <file> <table>
//       opens the file as a plain read-only SQLite reader does and prints
//       the rows of the table, or "failed"; then the same figures as read


#include "database/DBManager.h"

#include <QCoreApplication>
#include <QUuid>

#include <sqlite3.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <thread>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: collection-file-process churn|switch|exclusive|hold|read|plain ...\n");
    return 2;
}

bool run(sqlite3 *db, const std::string &statement)
{
    char *error = nullptr;
    if (sqlite3_exec(db, statement.c_str(), nullptr, nullptr, &error) == SQLITE_OK)
        return true;
    std::fprintf(stderr, "%s: %s\n", statement.c_str(), error ? error : "?");
    sqlite3_free(error);
    return false;
}

sqlite3 *openFile(const char *file)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(file, &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "cannot open %s\n", file);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    return db;
}

long long version(sqlite3 *db)
{
    sqlite3_stmt *statement = nullptr;
    long long value = -1;
    if (sqlite3_prepare_v2(db, "SELECT N FROM VERSION", -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        value = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    return value;
}

// Closes the writer and prints the version it left.
int finish(sqlite3 *db)
{
    const long long last = version(db);
    sqlite3_close(db);
    std::printf("version %lld\n", last);
    return 0;
}

// One version more, in one transaction, retried while another connection
// holds the lock.
bool hasSpread(sqlite3 *db)
{
    sqlite3_stmt *statement = nullptr;
    const bool has = sqlite3_prepare_v2(db, "SELECT 1 FROM sqlite_master WHERE name = 'SPREAD'", -1, &statement, nullptr)
            == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW;
    sqlite3_finalize(statement);
    return has;
}

bool commitOne(sqlite3 *db, bool grow)
{
    const std::string blob = grow ? "randomblob(3000)" : "NULL";
    // Pages at both ends of the file in one commit.
    const std::string spread = hasSpread(db)
        ? "UPDATE SPREAD SET GEN = (SELECT N FROM VERSION) WHERE ID IN (1, (SELECT MAX(ID) FROM SPREAD))"
        : "SELECT 1";
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (run(db, "BEGIN IMMEDIATE") && run(db, "UPDATE VERSION SET N = N + 1")
            && run(db, "INSERT INTO HISTORY (N, DATA) SELECT N, " + blob + " FROM VERSION")
            && run(db, "UPDATE COLLECTION SET NAME = 'Deck A ' || (SELECT N FROM VERSION) WHERE SYSTEMID = 'A'")
            && run(db, spread) && run(db, "COMMIT"))
            return true;
        run(db, "ROLLBACK");
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return false;
}

int churn(int argc, char **argv)
{
    if (argc < 4)
        return usage();
    const char *file = argv[2];
    const auto duration = std::chrono::milliseconds(std::atoi(argv[3]));
    bool rollback = false;
    bool grow = false;
    bool truncate = false;
    int reopenEvery = 0;
    for (int i = 4; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rollback") == 0)
            rollback = true;
        else if (std::strcmp(argv[i], "--grow") == 0)
            grow = true;
        else if (std::strcmp(argv[i], "--truncate") == 0)
            truncate = true;
        else if (std::strcmp(argv[i], "--reopen") == 0 && i + 1 < argc)
            reopenEvery = std::atoi(argv[++i]);
        else
            return usage();
    }
    const char *const checkpoints[] = {"PASSIVE", "FULL", "RESTART", "TRUNCATE"};
    std::mt19937 random(12345);
    sqlite3 *db = openFile(file);
    if (!db || !run(db, rollback ? "PRAGMA journal_mode = DELETE" : "PRAGMA journal_mode = WAL"))
        return 1;
    const auto end = std::chrono::steady_clock::now() + duration;
    for (int transaction = 1; std::chrono::steady_clock::now() < end; ++transaction) {
        if (!commitOne(db, grow))
            return 1;
        if (truncate)
            run(db, "PRAGMA wal_checkpoint(TRUNCATE)");
        else if (!rollback && transaction % 7 == 0)
            run(db, std::string("PRAGMA wal_checkpoint(") + checkpoints[(transaction / 7) % 4] + ")");
        // Closing the last connection checkpoints the log into the file and
        // removes it.
        if (reopenEvery > 0 && transaction % reopenEvery == 0) {
            sqlite3_close(db);
            db = openFile(file);
            if (!db)
                return 1;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % 1500));
    }
    return finish(db);
}

int switchToLog(int argc, char **argv)
{
    if (argc < 4)
        return usage();
    sqlite3 *db = openFile(argv[2]);
    if (!db || !run(db, "PRAGMA journal_mode = WAL"))
        return 1;
    const int transactions = std::atoi(argv[3]);
    for (int i = 0; i < transactions; ++i) {
        if (!commitOne(db, false))
            return 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    return finish(db);
}

int exclusive(int argc, char **argv)
{
    if (argc < 3)
        return usage();
    sqlite3 *db = openFile(argv[2]);
    if (!db)
        return 1;
    sqlite3_busy_timeout(db, 0);
    const bool got = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (got)
        run(db, "ROLLBACK");
    sqlite3_close(db);
    std::printf(got ? "exclusive\n" : "busy\n");
    return 0;
}

int hold(int argc, char **argv)
{
    if (argc < 4)
        return usage();
    sqlite3 *db = openFile(argv[2]);
    if (!db || !run(db, "BEGIN EXCLUSIVE"))
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[3])));
    run(db, "ROLLBACK");
    sqlite3_close(db);
    return 0;
}

// A figure of this process's status, in KiB: "VmSize", "VmRSS", "VmHWM".
unsigned long long statusFigure(const std::string &name)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(name + ":", 0) == 0)
            return std::strtoull(line.c_str() + name.size() + 1, nullptr, 10);
    }
    return 0;
}

int readLimited(int argc, char **argv)
{
    if (argc < 5)
        return usage();
    QCoreApplication application(argc, argv);
    const QUuid collection(QString::fromLocal8Bit(argv[3]));
    Velmar::DBManager::s_preferredLookupFolder = QString::fromLocal8Bit(argv[2]);
    // The driver and what it loads first, so that the limit counts only
    // what reading the file takes.
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("warm-up"));
    QSqlDatabase::removeDatabase(QStringLiteral("warm-up"));
    const unsigned long long room = std::strtoull(argv[4], nullptr, 10) * 1024ULL * 1024ULL;
    const unsigned long long space = statusFigure("VmSize") * 1024ULL;
    const rlimit limit{rlim_t(space + room), rlim_t(space + room)};
    if (room > 0 && (space == 0 || setrlimit(RLIMIT_AS, &limit) != 0))
        return 1;
    const unsigned long long residentBefore = statusFigure("VmRSS");
    const auto start = std::chrono::steady_clock::now();
    QSharedPointer<Velmar::DB::Collection> record;
    Velmar::DBManager::HasInstalledCollections();
    if (Velmar::DBManager::GetCollectionByUuid(collection, record) == 0)
        std::printf("%s\n", record->name.toUtf8().constData());
    else
        std::printf("failed\n");
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::printf("%lld ms, %llu KiB resident before, %llu KiB at the most\n", static_cast<long long>(elapsed.count()),
                residentBefore, statusFigure("VmHWM"));
    return 0;
}

int plainRead(int argc, char **argv)
{
    if (argc < 4)
        return usage();
    const unsigned long long residentBefore = statusFigure("VmRSS");
    const auto start = std::chrono::steady_clock::now();
    sqlite3 *db = nullptr;
    sqlite3_stmt *statement = nullptr;
    long long rows = -1;
    const std::string count = std::string("SELECT COUNT(*) FROM \"") + argv[3] + "\"";
    if (sqlite3_open_v2(argv[2], &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, count.c_str(), -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW)
        rows = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (rows >= 0)
        std::printf("%lld\n", rows);
    else
        std::printf("failed\n");
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    std::printf("%lld ms, %llu KiB resident before, %llu KiB at the most\n", static_cast<long long>(elapsed.count()),
                residentBefore, statusFigure("VmHWM"));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return usage();
    const std::string command = argv[1];
    if (command == "churn")
        return churn(argc, argv);
    if (command == "switch")
        return switchToLog(argc, argv);
    if (command == "exclusive")
        return exclusive(argc, argv);
    if (command == "hold")
        return hold(argc, argv);
    if (command == "read")
        return readLimited(argc, argv);
    if (command == "plain")
        return plainRead(argc, argv);
    return usage();
}
