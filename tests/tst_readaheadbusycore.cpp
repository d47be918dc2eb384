// The main widget's reads ahead on one core that a thread of normal priority
// keeps busy, as another program would: what the interface waits for from a
// read under way comes within a few times the time it takes to read it on
// the spot under the same load, and a close while a read runs ends at
// once. The process is pinned to the core of
// its interface thread, and every thread it starts meanwhile with it. Last,
// a read paused while the interface is busy never holds the interface up
// through the file's lock: the interface waiting for a writer, who waits for
// the read, lets the read go on.
//
// The big deck has 10,000 chips; HUEFORM_GENERATED_CHIPS sets another count.

#include "GeneratedCollection.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "database/GuardedVfs.h"
#include "plugin/CollectionReadAhead.h"
#include "plugin/MainWidget.h"
#include "services/CollectionSettings.h"
#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "views/CardRollerWidget.h"
#include "views/SearchWidget.h"

#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include <sched.h>
#include <sqlite3.h>

using namespace Velmar;

namespace {

// Runs the event loop as the picker's runs, blocking while it has nothing
// to do, until the condition holds.
bool idleUntil(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// The interface thread pinned to the core it runs on, and a thread that
// keeps that core busy at normal priority until the object goes, or for
// `limitMs` at most: a read starved meanwhile ends after that.
class BusyCore
{
public:
    explicit BusyCore(int limitMs)
    {
        CPU_ZERO(&m_before);
        m_pinned = sched_getaffinity(0, sizeof m_before, &m_before) == 0;
        const int core = sched_getcpu();
        if (m_pinned && core >= 0) {
            cpu_set_t one;
            CPU_ZERO(&one);
            CPU_SET(core, &one);
            m_pinned = sched_setaffinity(0, sizeof one, &one) == 0;
        } else {
            m_pinned = false;
        }
        m_spinner = std::thread([this, limitMs] {
            QElapsedTimer clock;
            clock.start();
            volatile unsigned spins = 0;
            while (!m_stop.load(std::memory_order_relaxed) && clock.elapsed() < limitMs)
                spins = spins + 1;
        });
    }
    ~BusyCore()
    {
        m_stop = true;
        m_spinner.join();
        if (m_pinned)
            sched_setaffinity(0, sizeof m_before, &m_before);
    }
    bool pinned() const { return m_pinned; }

private:
    cpu_set_t m_before;
    bool m_pinned = false;
    std::atomic<bool> m_stop{false};
    std::thread m_spinner;
};

// The reads of the collection file made by threads other than the
// interface's: a read ahead is under way once it has made a few.
std::atomic<int> s_threadReads{0};
Qt::HANDLE s_interfaceThread = nullptr;

bool countThreadReads(const char *)
{
    if (QThread::currentThreadId() != s_interfaceThread)
        ++s_threadReads;
    return true;
}

// Beyond the reads that open the file and look at its tables.
const int readsUnderWay = 40;
// The busy thread's longest run: far beyond any figure compared here.
const int busyLimitMs = 15000;

} // namespace

class TestReadAheadBusyCore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void aWaitedReadEndsAsReadingItOnTheSpot_data();
    void aWaitedReadEndsAsReadingItOnTheSpot();
    void aCloseWhileTheListIsReadEndsAtOnce();
    void aPausedReadLetsAWriterAndTheInterfaceThrough();

private:
    // Shown, on the big deck, with the read of `what` under way.
    std::unique_ptr<MainWidget> shownAndReading(const QString &what);
    // How long reading `what` on the spot takes.
    double readOnTheSpot(const QString &what);

    QTemporaryDir m_folder;
    int m_chips = 10000;
    QUuid m_big;
};

void TestReadAheadBusyCore::initTestCase()
{
    TestEnvironment::isolate();
    const QByteArray chips = qgetenv("HUEFORM_GENERATED_CHIPS");
    if (!chips.isEmpty())
        m_chips = chips.toInt();
    QVERIFY(m_chips > 0);
    QString error;
    QVERIFY2(GeneratedCollection::writeBesideDemo(m_folder.path(), m_chips, &error), qPrintable(error));
    QCOMPARE(Global::InitializePrerequisites(QString(), m_folder.path()), 0);
    m_big = GeneratedCollection::bigDeckUuid(m_chips);
    s_interfaceThread = QThread::currentThreadId();
}

void TestReadAheadBusyCore::init()
{
    Settings::setUuidOfLastUsedCollection(m_big);
    DBManager::selectedCollectionChanged(m_big);
    CollectionSettings::selectedCollectionChanged(m_big);
    s_threadReads = 0;
    GuardedVfs::setReadHook(countThreadReads);
}

void TestReadAheadBusyCore::cleanup()
{
    GuardedVfs::setReadHook(nullptr);
}

double TestReadAheadBusyCore::readOnTheSpot(const QString &what)
{
    QElapsedTimer clock;
    clock.start();
    if (what == QLatin1String("suggestions")) {
        SuggestionList list;
        if (DBManager::GetAvailableSearchSuggestions(m_big, list) != 0 || list.isEmpty())
            return -1.0;
    } else {
        QVector<ColorMatchEntry> table;
        if (DBManager::GetAllColorMatchEntryFor(m_big, table) != 0 || table.isEmpty())
            return -1.0;
    }
    return double(clock.nsecsElapsed()) / 1e6;
}

std::unique_ptr<MainWidget> TestReadAheadBusyCore::shownAndReading(const QString &what)
{
    std::unique_ptr<MainWidget> main(Global::createMainWidget(nullptr, nullptr));
    main->show();
    if (!QTest::qWaitForWindowExposed(main.get()))
        return nullptr;
    if (what == QLatin1String("suggestions")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, QStringLiteral("g"));
        QCoreApplication::sendEvent(main->searchField()->textField(), &press);
    } else {
        std::unique_ptr<QMimeData> data(DragDropHelper::buildMimeData(
            DragDropHelper::buildColorData(DragSourceHuecast, QColor(10, 20, 30), QString(), QString())));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(main->cardRoller(), &enter);
    }
    s_threadReads = 0;
    if (!idleUntil([] { return s_threadReads.load() >= readsUnderWay; }, busyLimitMs + 5000))
        return nullptr;
    return main;
}

void TestReadAheadBusyCore::aWaitedReadEndsAsReadingItOnTheSpot_data()
{
    QTest::addColumn<QString>("what");
    QTest::newRow("the whole list of suggestions") << "suggestions";
    QTest::newRow("the colour-match table") << "table";
}

void TestReadAheadBusyCore::aWaitedReadEndsAsReadingItOnTheSpot()
{
    QFETCH(QString, what);
    BusyCore busy(busyLimitMs);
    QVERIFY(busy.pinned());
    const double onTheSpot = readOnTheSpot(what);
    QVERIFY(onTheSpot >= 0);
    std::unique_ptr<MainWidget> main = shownAndReading(what);
    QVERIFY(main);

    QElapsedTimer clock;
    clock.start();
    if (what == QLatin1String("suggestions")) {
        QVERIFY(main->suggestionReader());
        SuggestionList list;
        QVERIFY(main->suggestionReader()->takeSuggestions(list));
        QVERIFY(!list.isEmpty());
    } else {
        QVERIFY(main->readAhead());
        QVERIFY(!main->matchTable().isEmpty());
    }
    const double waited = double(clock.nsecsElapsed()) / 1e6;
    qInfo("waited %.1f ms; on the spot %.1f ms", waited, onTheSpot);
    QVERIFY2(waited <= 3 * onTheSpot + 100,
             qPrintable(QStringLiteral("waited %1 ms for what takes %2 ms to read on the spot").arg(waited).arg(onTheSpot)));
}

void TestReadAheadBusyCore::aCloseWhileTheListIsReadEndsAtOnce()
{
    BusyCore busy(busyLimitMs);
    QVERIFY(busy.pinned());
    const double onTheSpot = readOnTheSpot(QStringLiteral("suggestions"));
    QVERIFY(onTheSpot >= 0);
    std::unique_ptr<MainWidget> main = shownAndReading(QStringLiteral("suggestions"));
    QVERIFY(main);
    QElapsedTimer clock;
    clock.start();
    main.reset();
    const double closed = double(clock.nsecsElapsed()) / 1e6;
    qInfo("closed in %.1f ms; the list read on the spot in %.1f ms", closed, onTheSpot);
    QVERIFY2(closed <= onTheSpot / 2 + 50,
             qPrintable(QStringLiteral("the close took %1 ms; the list takes %2 ms to read").arg(closed).arg(onTheSpot)));
}

void TestReadAheadBusyCore::aPausedReadLetsAWriterAndTheInterfaceThrough()
{
    // The list's read under way, and paused in its statement: the test's
    // interface thread is busy from here on.
    std::unique_ptr<MainWidget> main = shownAndReading(QStringLiteral("suggestions"));
    QVERIFY(main);
    // Another program asks for the file's exclusive lock: it waits for the
    // read's shared lock, and new reads wait for it.
    const QByteArray path = DBManager::s_installed_collections.value(m_big).databaseName.toUtf8();
    std::atomic<int> written{-1};
    std::thread writer([&path, &written] {
        sqlite3 *db = nullptr;
        int status = sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        if (status == SQLITE_OK) {
            sqlite3_busy_timeout(db, 3000);
            status = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
            if (status == SQLITE_OK)
                status = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        }
        sqlite3_close(db);
        written = status;
    });
    QThread::msleep(100);
    QElapsedTimer clock;
    clock.start();
    QVector<ColorMatchEntry> table;
    const int status = DBManager::GetAllColorMatchEntryFor(m_big, table);
    const double waited = double(clock.nsecsElapsed()) / 1e6;
    writer.join();
    qInfo("the interface's read waited %.1f ms", waited);
    QCOMPARE(status, 0);
    QVERIFY(!table.isEmpty());
    QCOMPARE(written.load(), SQLITE_OK);
    // The writer gives up after 3 s while the read holds its lock.
    QVERIFY2(waited < 1500, qPrintable(QStringLiteral("the interface waited %1 ms").arg(waited)));
}

QTEST_MAIN(TestReadAheadBusyCore)
#include "tst_readaheadbusycore.moc"
