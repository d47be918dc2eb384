// Times opening collection files in a process of its own, from the scan to
// the first look-up, with the resident memory it adds: a deck nobody writes,
// in either journal mode, and a deck with a large log beside it, whose
// index SQLite builds in memory, beside a plain read-only SQLite reader of
// the same file; and a use of a deck of 100,000 chips after each commit of
// a writer at work on it, with the disk it takes in the user's cache. Not
// run by CTest, since timings depend on the machine, its load and its disk.
//
//   bench_collectionfiles [<megabytes of the log>]   600 when not given
//
// Everything goes into one folder in the temporary folder (TMPDIR), about
// twice the log and 64 MB more at the most: the room there is looked at
// first. The folder is removed at the end, and also when the benchmark is
// stopped by SIGINT or SIGTERM.

#include "CollectionWriter.h"
#include "GeneratedCollection.h"

#include "database/DBManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <QUuid>

#include <csignal>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <functional>
#include <thread>

namespace {

const QUuid deck(QStringLiteral("{0000000a-0000-0000-0000-000000000001}"));

// What the benchmark writes beside the log and its copy: the small decks,
// the deck of 100,000 chips and what its writer logs.
const qint64 otherMegabytes = 64;

// The folder everything is written into, and the child process running, if
// any: what a stop by a signal removes and ends.
QString s_workFolder;
std::atomic<qint64> s_child{0};
int s_signalPipe[2] = {-1, -1};

extern "C" void onStopSignal(int signal)
{
    const unsigned char number = static_cast<unsigned char>(signal);
    const ssize_t written = ::write(s_signalPipe[1], &number, 1);
    static_cast<void>(written);
}

// On SIGINT or SIGTERM, a thread of its own ends the child, removes the
// folder and ends the process by the same signal; the signal handler only
// hands the signal over.
bool removeWhenStopped(const QString &folder)
{
    s_workFolder = folder;
    if (::pipe(s_signalPipe) != 0)
        return false;
    std::thread([] {
        unsigned char number = 0;
        while (::read(s_signalPipe[0], &number, 1) != 1) {
            if (errno != EINTR)
                return;
        }
        const qint64 child = s_child.load();
        if (child > 0)
            ::kill(pid_t(child), SIGKILL);
        QDir(s_workFolder).removeRecursively();
        std::signal(number, SIG_DFL);
        std::raise(number);
    }).detach();
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGINT, &action, nullptr) == 0 && ::sigaction(SIGTERM, &action, nullptr) == 0;
}

// Runs the process to its end, known as the child meanwhile.
bool runToEnd(QProcess &process, int milliseconds)
{
    if (!process.waitForStarted())
        return false;
    s_child = process.processId();
    const bool finished = process.waitForFinished(milliseconds);
    s_child = 0;
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

struct Opening {
    bool ok = false;
    double milliseconds = 0.0;
    double addedMiB = 0.0;
};

// A deck of 2,000 chips in <lookup>/Contents/Resources/deck.db; with a log,
// that many megabytes committed to it after the last checkpoint, the writer
// stopped before closing.
bool writeDeck(const QString &lookup, bool writeAheadLog, int logMegabytes)
{
    const QString folder = lookup + QStringLiteral("/Contents/Resources");
    QDir().mkpath(folder);
    QTemporaryDir workshop(s_workFolder + QStringLiteral("/workshop-XXXXXX"));
    const QString written = workshop.filePath(QStringLiteral("deck.db"));
    CollectionWriter writer(written);
    if (writeAheadLog && !writer.useWriteAheadLog())
        return false;
    const qint64 collection = writer.addCollection(deck, QStringLiteral("D"), QStringLiteral("Deck"), 1, true);
    writer.exec(QStringLiteral("BEGIN"));
    for (int page = 1; page <= 286; ++page) {
        CollectionWriter::Card card;
        card.pageIndex = page;
        const qint64 id = writer.addCard(collection, card);
        for (int row = 1; row <= 7; ++row) {
            CollectionWriter::Chip chip;
            chip.rowIndex = row;
            chip.code = QStringLiteral("D-%1-%2").arg(page).arg(row);
            chip.names = QStringList{QStringLiteral("Chip %1 of card %2").arg(row).arg(page)};
            writer.addChip(collection, id, chip);
        }
    }
    writer.exec(QStringLiteral("COMMIT"));
    if (writeAheadLog && !writer.checkpoint())
        return false;
    if (logMegabytes > 0) {
        writer.exec(QStringLiteral("BEGIN"));
        writer.exec(QStringLiteral("CREATE TABLE BULK (X)"));
        writer.exec(QStringLiteral("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < %1) "
                                   "INSERT INTO BULK SELECT randomblob(1048576) FROM N")
                        .arg(logMegabytes));
        writer.exec(QStringLiteral("COMMIT"));
    }
    if (!writer.isOk())
        return false;
    // Copied while the writer is open: the log as a writer that stopped
    // leaves it.
    for (const QString &suffix : {QString(), QStringLiteral("-wal")}) {
        if (QFile::exists(written + suffix) && !QFile::copy(written + suffix, folder + QStringLiteral("/deck.db") + suffix))
            return false;
    }
    return true;
}

// The figures a reader prints after what it read.
Opening openingOf(QProcess &reader, const QString &expected)
{
    Opening opening;
    if (!runToEnd(reader, 600000))
        return opening;
    const QStringList lines = QString::fromUtf8(reader.readAllStandardOutput()).split(QLatin1Char('\n'));
    const QRegularExpressionMatch figures =
        QRegularExpression(QStringLiteral("^(\\d+) ms, (\\d+) KiB resident before, (\\d+) KiB at the most"))
            .match(lines.value(1));
    if (lines.value(0) != expected || !figures.hasMatch())
        return opening;
    opening.ok = true;
    opening.milliseconds = figures.captured(1).toDouble();
    opening.addedMiB = (figures.captured(3).toDouble() - figures.captured(2).toDouble()) / 1024.0;
    return opening;
}

Opening open(const QString &process, const QString &lookup)
{
    QTemporaryDir cache(s_workFolder + QStringLiteral("/cache-XXXXXX"));
    QProcess reader;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache.path());
    reader.setProcessEnvironment(environment);
    reader.start(process, {QStringLiteral("read"), lookup, deck.toString(), QStringLiteral("0")});
    return openingOf(reader, QStringLiteral("Deck"));
}

// A plain read-only SQLite reader counting the decks of the file, which
// leaves the log's index beside it; removed for the next reader.
Opening openPlainly(const QString &process, const QString &lookup)
{
    const QString file = lookup + QStringLiteral("/Contents/Resources/deck.db");
    QProcess reader;
    reader.start(process, {QStringLiteral("plain"), file, QStringLiteral("COLLECTION")});
    const Opening opening = openingOf(reader, QStringLiteral("2"));
    QFile::remove(file + QStringLiteral("-shm"));
    return opening;
}

// The median of three openings, each in a new process.
Opening medianOf(const std::function<Opening()> &opening)
{
    QVector<Opening> openings;
    for (int run = 0; run < 3; ++run)
        openings.append(opening());
    if (std::any_of(openings.begin(), openings.end(), [](const Opening &o) { return !o.ok; }))
        return Opening();
    std::sort(openings.begin(), openings.end(),
              [](const Opening &a, const Opening &b) { return a.milliseconds < b.milliseconds; });
    return openings.at(1);
}

struct Uses {
    bool ok = false;
    int uses = 0;
    int versionsSeen = 0;
    double medianMilliseconds = 0.0;
    double slowestMilliseconds = 0.0;
    qint64 cacheBytes = 0;
};

qint64 bytesBelow(const QString &folder)
{
    qint64 bytes = 0;
    QDirIterator files(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        files.next();
        bytes += files.fileInfo().size();
    }
    return bytes;
}

// Uses of the deck, each a card read as the roller reads it, while another
// process commits one transaction after another to its file and checkpoints
// now and then; read here, with this process's cache folder.
Uses useAfterCommits(const QString &process, const QString &cache, int chips)
{
    Uses uses;
    QTemporaryDir lookup(s_workFolder + QStringLiteral("/lookup-XXXXXX"));
    const QString file = GeneratedCollection::filePath(lookup.path(), chips);
    QDir().mkpath(QFileInfo(file).path());
    {
        CollectionWriter writer(file);
        if (!GeneratedCollection::write(writer, chips) || !writer.exec(QStringLiteral("CREATE TABLE VERSION (N INTEGER)"))
            || !writer.exec(QStringLiteral("INSERT INTO VERSION VALUES (0)"))
            || !writer.exec(QStringLiteral("CREATE TABLE HISTORY (N INTEGER, DATA BLOB)")) || !writer.useWriteAheadLog())
            return uses;
    }
    const QUuid deck = GeneratedCollection::bigDeckUuid(chips);
    Velmar::DBManager::s_preferredLookupFolder = lookup.path();
    if (Velmar::DBManager::HasInstalledCollections() != 1 || Velmar::DBManager::EnsureCollectionLoaded(deck) != 0)
        return uses;
    Velmar::DB::ColorPage card;
    if (Velmar::DBManager::GetColorPageByIndex(deck, 1, card) != 0)
        return uses;

    QProcess writer;
    writer.start(process, {QStringLiteral("churn"), file, QStringLiteral("4000")});
    if (!writer.waitForStarted())
        return uses;
    s_child = writer.processId();
    QVector<double> times;
    quint64 lastVersion = Velmar::DBManager::GetCollectionFileVersion(deck);
    // The generated deck leaves a gap after every fifth card.
    for (int number = 1; writer.state() == QProcess::Running && !writer.waitForFinished(0); number = number % 1000 + 1) {
        const int index = number + (number - 1) / 5;
        // A commit or two of the writer's between two uses.
        QThread::msleep(3);
        QElapsedTimer timer;
        timer.start();
        const bool read = Velmar::DBManager::GetColorPageByIndex(deck, index, card) == 0 && !card.entries.isEmpty();
        const quint64 version = Velmar::DBManager::GetCollectionFileVersion(deck);
        times.append(double(timer.nsecsElapsed()) / 1e6);
        if (!read)
            return uses;
        if (version != lastVersion)
            ++uses.versionsSeen;
        lastVersion = version;
    }
    writer.waitForFinished();
    s_child = 0;
    if (times.size() < 20 || writer.exitCode() != 0)
        return uses;
    std::sort(times.begin(), times.end());
    uses.ok = true;
    uses.uses = times.size();
    uses.medianMilliseconds = times.at(times.size() / 2);
    uses.slowestMilliseconds = times.last();
    uses.cacheBytes = bytesBelow(cache);
    return uses;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream errors(stderr);
    bool isNumber = true;
    const int logMegabytes = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt(&isNumber) : 600;
    if (!isNumber || logMegabytes <= 0 || argc > 2) {
        errors << "usage: bench_collectionfiles [<megabytes of the log>]\n";
        return 2;
    }

    // The log is written, then copied beside the deck as a writer leaves it.
    const QString temporary = QDir::tempPath();
    const qint64 neededMegabytes = 2 * qint64(logMegabytes) + otherMegabytes;
    const qint64 freeMegabytes = QStorageInfo(temporary).bytesAvailable() / (1024 * 1024);
    if (freeMegabytes < neededMegabytes) {
        errors << "bench_collectionfiles: a " << logMegabytes << " MB log needs about " << neededMegabytes << " MB in "
               << temporary << ", which has " << freeMegabytes
               << " MB free; give a smaller log or another temporary folder (TMPDIR)\n";
        return 3;
    }
    QTemporaryDir work(temporary + QStringLiteral("/bench_collectionfiles-XXXXXX"));
    if (!work.isValid() || !removeWhenStopped(work.path())) {
        errors << "bench_collectionfiles: cannot make a folder in " << temporary << "\n";
        return 1;
    }
    // A cache folder of its own, whose size is one of the figures.
    const QString cache = work.filePath(QStringLiteral("cache"));
    QDir().mkpath(cache);
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    const QString process = QStringLiteral(COLLECTION_FILE_PROCESS);

    const struct {
        QString name;
        bool writeAheadLog;
        int log;
        QString timeTarget;
        QString memoryTarget;
    } cases[] = {
        {QStringLiteral("rollback mode, nobody writing"), false, 0, QStringLiteral("< 30 ms"), QStringLiteral("< 8 MiB")},
        {QStringLiteral("log mode, no log beside"), true, 0, QStringLiteral("< 30 ms"), QStringLiteral("< 8 MiB")},
        {QStringLiteral("log mode, a %1 MB log beside").arg(logMegabytes), true, logMegabytes, QString(),
         QStringLiteral("< 16 MiB")},
    };
    for (const auto &entry : cases) {
        QTemporaryDir lookup(work.filePath(QStringLiteral("lookup-XXXXXX")));
        if (!writeDeck(lookup.path(), entry.writeAheadLog, entry.log)) {
            out << entry.name << ": could not write the deck\n";
            return 1;
        }
        // Each in a new process with a cache of its own.
        const Opening median = medianOf([&] { return open(process, lookup.path()); });
        if (!median.ok) {
            out << entry.name << ": the reader failed\n";
            return 1;
        }
        QString timeTarget = entry.timeTarget;
        QString plainReader;
        if (entry.log > 0) {
            // As fast as SQLite itself reading the file: its log recovered once.
            const Opening plain = medianOf([&] { return openPlainly(process, lookup.path()); });
            if (!plain.ok) {
                out << entry.name << ": the plain SQLite reader failed\n";
                return 1;
            }
            timeTarget = QStringLiteral("< 1.3 x the plain reader's = %1 ms").arg(QString::number(1.3 * plain.milliseconds, 'f', 0));
            plainReader = QStringLiteral("; a plain read-only SQLite reader of the same file: %1 ms, resident memory added %2 MiB")
                              .arg(QString::number(plain.milliseconds, 'f', 0), QString::number(plain.addedMiB, 'f', 1));
        }
        out << "open, " << entry.name << ": " << QString::number(median.milliseconds, 'f', 0) << " ms (" << timeTarget
            << "), resident memory added " << QString::number(median.addedMiB, 'f', 1) << " MiB ("
            << entry.memoryTarget << ")" << plainReader << "\n";
        out.flush();
    }

    const int chips = 100000;
    const Uses uses = useAfterCommits(process, cache, chips);
    if (!uses.ok) {
        out << "a use after commits: the writer or the reader failed\n";
        return 1;
    }
    out << "a use after a commit of a writer at work, " << chips << " chips: median "
        << QString::number(uses.medianMilliseconds, 'f', 2) << " ms (< 5 ms), slowest "
        << QString::number(uses.slowestMilliseconds, 'f', 2) << " ms, " << uses.versionsSeen << " commits seen in "
        << uses.uses << " uses; cache disk taken " << uses.cacheBytes << " bytes (0 bytes)\n";
    return 0;
}
