// What the main widget reads ahead on a generated deck gives what reading on
// the spot gave: the inline completion of each prefix from the whole list a
// thread read once the field was used, the chips the pick offers or takes,
// the chip a dropped colour finds. Then the read-ahead's life: it starts
// once the collection has painted, reads no suggestions before the field is
// used, leaves out what was read on the spot, goes with a switch and with
// the widget.
//
// By default the big deck has 1,400 chips; HUEFORM_GENERATED_CHIPS sets
// another count.

#include "GeneratedCollection.h"
#include "TestEnvironment.h"
#include "WidgetProbe.h"

#include "database/DBManager.h"
#include "database/GuardedVfs.h"
#include "plugin/CollectionReadAhead.h"
#include "plugin/MainWidget.h"
#include "plugin/MyPaletteWidget.h"
#include "plugin/SelectNearestColorDialog.h"
#include "services/CollectionSettings.h"
#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "views/CardRollerWidget.h"
#include "views/SearchWidget.h"
#include "views/SuggestionModel.h"

#include <QCompleter>
#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <atomic>
#include <climits>
#include <memory>

using namespace Velmar;

namespace {

// The card, row and segment the roller shows.
QString browsingState(const QUuid &deck)
{
    return QStringLiteral("page %1, row %2, segment %3")
        .arg(Settings::pageIndex(deck))
        .arg(Settings::rowIndex(deck))
        .arg(Settings::segmentIndex(deck));
}

void browse(const QUuid &deck, int page, int row)
{
    Settings::setPageIndex(deck, page);
    Settings::setRowIndex(deck, row);
    Settings::setSegmentIndex(deck, 1);
}

// Notes which chips the pick offers, and declines them.
class OfferRecorder : public QObject
{
    Q_OBJECT

public:
    OfferRecorder()
    {
        connect(&m_poll, &QTimer::timeout, this, &OfferRecorder::look);
        m_poll.start(5);
    }
    QVector<qint64> offered;

private slots:
    void look()
    {
        auto *dialog = qobject_cast<SelectNearestColorDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        for (const DB::ColorEntry &entry : dialog->candidates())
            offered.append(entry.id);
        dialog->reject();
    }

private:
    QTimer m_poll;
};

// Runs the event loop as the picker's runs, blocking while it has nothing
// to do, until the condition holds: the reads ahead go on only then (the
// QTest waits poll and sleep, never blocking in the loop).
bool idleUntil(const std::function<bool()> &condition, int timeoutMs = 60000)
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

// The reads of collection files by threads other than the interface's: from
// the one numbered s_failingFrom on, each fails as a disk error would.
std::atomic<int> s_threadReads{0};
std::atomic<int> s_failingFrom{INT_MAX};
Qt::HANDLE s_interfaceThread = nullptr;

bool failThreadReads(const char *)
{
    return QThread::currentThreadId() == s_interfaceThread || ++s_threadReads < s_failingFrom.load();
}

} // namespace

class TestMainWidgetReadAhead : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void completionAsWhenReadOnTheKey_data();
    void completionAsWhenReadOnTheKey();
    void pickAsWhenLookedUpOnTheSpot_data();
    void pickAsWhenLookedUpOnTheSpot();
    void droppedColourAsWhenTheTableIsReadOnTheDrop_data();
    void droppedColourAsWhenTheTableIsReadOnTheDrop();
    void startsOnceTheCollectionHasPainted();
    void theFieldsFocusStartsTheWholeList();
    void readsTheTableOnceADropMayFollow_data();
    void readsTheTableOnceADropMayFollow();
    void whatWasReadOnTheSpotIsLeftOut();
    void aSwitchRetiresTheReadAhead();
    void theWidgetTakesItsThreadsWithIt();
    void aFailedReadIsReadOnTheSpot_data();
    void aFailedReadIsReadOnTheSpot();

private:
    // A main widget as the picker shows it, its reads ahead done.
    std::unique_ptr<MainWidget> shownAndReadAhead(const QColor &pickColour = QColor());
    QColor chipColour(int offset) const;

    QTemporaryDir m_folder;
    int m_chips = 1400;
    QUuid m_big;
    QUuid m_small;
};

void TestMainWidgetReadAhead::initTestCase()
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
    m_small = GeneratedCollection::smallDeckUuid(m_chips);
    s_interfaceThread = QThread::currentThreadId();
}

void TestMainWidgetReadAhead::init()
{
    Settings::setUuidOfLastUsedCollection(m_big);
    DBManager::selectedCollectionChanged(m_big);
    CollectionSettings::selectedCollectionChanged(m_big);
    browse(m_big, 1, 1);
}

std::unique_ptr<MainWidget> TestMainWidgetReadAhead::shownAndReadAhead(const QColor &pickColour)
{
    std::unique_ptr<MainWidget> main(Global::createMainWidget(nullptr, nullptr));
    if (pickColour.isValid())
        main->readAheadNearestColor(pickColour);
    main->show();
    if (!QTest::qWaitForWindowExposed(main.get()))
        return nullptr;
    // Without a colour to match, nothing is read ahead until a drop may follow.
    if (pickColour.isValid()
        && !idleUntil([&main] { return main->readAhead() && main->readAhead()->isFinished(); }))
        return nullptr;
    return main;
}

void TestMainWidgetReadAhead::theFieldsFocusStartsTheWholeList()
{
    // The user clicks into the field to search: the whole list is read
    // before the first key, which then completes from it.
    std::unique_ptr<MainWidget> main = shownAndReadAhead();
    QVERIFY(main);
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    QTest::qWait(50);
    QCOMPARE(main->suggestionReader(), nullptr);
    QLineEdit *field = main->searchField()->textField();
    field->setFocus();
    QTRY_VERIFY(main->suggestionReader());
    QVERIFY(idleUntil([&main, this] { return !main->searchField()->awaitsSuggestions(m_big); }));
    QVERIFY(main->searchField()->suggestions()->hasWholeList());
    QTest::keyClicks(field, QStringLiteral("g"));
    QVERIFY(field->text().startsWith(QLatin1Char('G')));
    QVERIFY(field->text().size() > 1);
}

void TestMainWidgetReadAhead::readsTheTableOnceADropMayFollow_data()
{
    QTest::addColumn<QString>("cue");
    QTest::newRow("a drag enters the roller") << "roller";
    QTest::newRow("a drag enters My palette") << "palette";
    QTest::newRow("the trend colours are shown") << "trends";
    QTest::newRow("the picker opens on the trend colours") << "opens on trends";
}

void TestMainWidgetReadAhead::readsTheTableOnceADropMayFollow()
{
    QFETCH(QString, cue);
    if (cue == QLatin1String("opens on trends"))
        Settings::setTabPage(m_big, TabBarPageHuecast);
    std::unique_ptr<MainWidget> main = shownAndReadAhead();
    QVERIFY(main);
    if (cue != QLatin1String("opens on trends")) {
        // Shown with nothing to match: no thread, nothing read.
        QTest::qWait(50);
        QCOMPARE(main->readAhead(), nullptr);
        std::unique_ptr<QMimeData> data(DragDropHelper::buildMimeData(
            DragDropHelper::buildColorData(DragSourceHuecast, QColor(10, 20, 30), QString(), QString())));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        if (cue == QLatin1String("roller"))
            QCoreApplication::sendEvent(main->cardRoller(), &enter);
        else if (cue == QLatin1String("palette"))
            QCoreApplication::sendEvent(main->myPalette(), &enter);
        else
            QMetaObject::invokeMethod(main.get(), "tabPageSelected", Q_ARG(TabBarPage, TabBarPageHuecast));
    }
    QTRY_VERIFY(main->readAhead());
    QVERIFY(main->readAhead()->request().matchTable);
    QVERIFY(!main->readAhead()->request().pickColor.isValid());
    QVERIFY(idleUntil([&main] { return main->readAhead()->isFinished(); }));
    QVector<ColorMatchEntry> expected;
    QCOMPARE(DBManager::GetAllColorMatchEntryFor(m_big, expected), 0);
    QCOMPARE(main->matchTable().size(), expected.size());
    QVERIFY(!expected.isEmpty());
    // Read once: a second cue starts nothing.
    QPointer<CollectionReadAhead> first = main->readAhead();
    QMetaObject::invokeMethod(main.get(), "tabPageSelected", Q_ARG(TabBarPage, TabBarPageColorSchemes));
    QMetaObject::invokeMethod(main.get(), "tabPageSelected", Q_ARG(TabBarPage, TabBarPageHuecast));
    QCOMPARE(main->readAhead(), first.data());
    Settings::setTabPage(m_big, TabBarPageColorSchemes);
}

QColor TestMainWidgetReadAhead::chipColour(int offset) const
{
    const QString file = DBManager::s_installed_collections.value(m_big).databaseName;
    QSqlQuery query(QSqlDatabase::database(file));
    query.exec(QStringLiteral("SELECT RED, GREEN, BLUE FROM \"ROW\" WHERE COLLECTION_ID = %1 ORDER BY ID LIMIT 1 OFFSET %2")
                   .arg(DBManager::GetCollectionIdByUuid(m_big))
                   .arg(offset));
    return query.next() ? QColor(query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt()) : QColor();
}

void TestMainWidgetReadAhead::completionAsWhenReadOnTheKey_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("a code's first letter") << "g";
    QTest::newRow("a code's beginning") << "ga-00";
    QTest::newRow("a code further on") << "GA-01";
    QTest::newRow("a name's first word") << "misty";
    QTest::newRow("two words") << "misty h";
    QTest::newRow("a French name") << "port b";
    QTest::newRow("a card name") << "pale";
    QTest::newRow("a letter many names begin with") << "s";
    QTest::newRow("nothing begins so") << "zq";
}

void TestMainWidgetReadAhead::completionAsWhenReadOnTheKey()
{
    QFETCH(QString, typed);
    // The field of the main widget completes the first key, then the rest
    // from the whole list its thread read meanwhile; the field on its own
    // looks up each text as it is typed.
    std::unique_ptr<MainWidget> main = shownAndReadAhead();
    QVERIFY(main);
    QLineEdit *readAhead = main->searchField()->textField();
    QVERIFY(!readAhead->completer());
    QCOMPARE(main->suggestionReader(), nullptr);
    SearchWidget alone;

    QStringList shown;
    for (QWidget *window : {static_cast<QWidget *>(main.get()), static_cast<QWidget *>(&alone)}) {
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QLineEdit *field = window == main.get() ? readAhead : alone.textField();
        field->setFocus();
        QTest::keyClicks(field, typed.left(1));
        if (window == main.get()) {
            QTRY_VERIFY(main->suggestionReader());
            QVERIFY(idleUntil([&main, this] { return !main->searchField()->awaitsSuggestions(m_big); }));
        }
        QTest::keyClicks(field, typed.mid(1));
        shown << field->text() + QLatin1Char('|') + field->selectedText();
    }
    QCOMPARE(shown.at(0), shown.at(1));
    QVERIFY(alone.textField()->completer());
}

void TestMainWidgetReadAhead::pickAsWhenLookedUpOnTheSpot_data()
{
    QTest::addColumn<int>("chip");
    QTest::addColumn<int>("greenOff");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("a chip's own colour") << 100 << 0 << QColor();
    QTest::newRow("two steps off a chip") << 300 << 2 << QColor();
    QTest::newRow("a red no chip comes near") << 0 << 0 << QColor(255, 0, 0);
    QTest::newRow("a blue no chip comes near") << 0 << 0 << QColor(0, 0, 255);
}

void TestMainWidgetReadAhead::pickAsWhenLookedUpOnTheSpot()
{
    QFETCH(int, chip);
    QFETCH(int, greenOff);
    QFETCH(QColor, colour);
    if (!colour.isValid()) {
        const QColor own = chipColour(chip);
        QVERIFY(own.isValid());
        colour = QColor(own.red(), own.green() > 127 ? own.green() - greenOff : own.green() + greenOff, own.blue());
    }

    QStringList outcomes;
    for (bool ahead : {true, false}) {
        browse(m_big, 1, 1);
        std::unique_ptr<MainWidget> main;
        if (ahead) {
            main = shownAndReadAhead(colour);
            QVERIFY(main);
        } else {
            // Never painted: nothing is read ahead.
            main.reset(Global::createMainWidget(nullptr, nullptr));
        }
        OfferRecorder recorder;
        main->pickNearestColor(colour);
        QStringList offered;
        for (qint64 id : qAsConst(recorder.offered))
            offered << QString::number(id);
        outcomes << browsingState(m_big) + QStringLiteral("; offered ") + offered.join(QLatin1Char(','));
        if (ahead) {
            // The pick took the chips read ahead: they are given once.
            CollectionReadAhead::NearestChips again;
            QVERIFY(!main->readAhead()->takeNearestChips(colour, again));
        } else {
            QCOMPARE(main->readAhead(), nullptr);
        }
    }
    QCOMPARE(outcomes.at(0), outcomes.at(1));
}

void TestMainWidgetReadAhead::droppedColourAsWhenTheTableIsReadOnTheDrop_data()
{
    QTest::addColumn<int>("chip");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("a chip's colour, on another card") << 500 << QColor();
    QTest::newRow("a colour too far from every chip") << 0 << QColor(255, 0, 0);
}

void TestMainWidgetReadAhead::droppedColourAsWhenTheTableIsReadOnTheDrop()
{
    QFETCH(int, chip);
    QFETCH(QColor, colour);
    if (!colour.isValid())
        colour = chipColour(chip);
    QVERIFY(colour.isValid());

    QStringList outcomes;
    for (bool ahead : {true, false}) {
        browse(m_big, 1, 1);
        std::unique_ptr<MainWidget> main =
            ahead ? shownAndReadAhead() : std::unique_ptr<MainWidget>(Global::createMainWidget(nullptr, nullptr));
        QVERIFY(main);
        // A trend colour without names, dropped on the roller; shown, the
        // widget reads the table ahead as the drag enters.
        std::unique_ptr<QMimeData> data(
            DragDropHelper::buildMimeData(DragDropHelper::buildColorData(DragSourceHuecast, colour, QString(), QString())));
        if (ahead) {
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(main->cardRoller(), &enter);
            QVERIFY(idleUntil([&main] { return main->readAhead() && main->readAhead()->isFinished(); }));
        }
        QVERIFY(WidgetProbe::drop(*main->cardRoller(), data.get()));
        outcomes << browsingState(m_big);
        if (!ahead)
            QCOMPARE(main->readAhead(), nullptr);
    }
    QCOMPARE(outcomes.at(0), outcomes.at(1));
    if (chip > 0)
        QVERIFY(outcomes.at(0) != QStringLiteral("page 1, row 1, segment 1"));
}

void TestMainWidgetReadAhead::startsOnceTheCollectionHasPainted()
{
    std::unique_ptr<MainWidget> main(Global::createMainWidget(nullptr, nullptr));
    main->readAheadNearestColor(QColor(255, 0, 0));
    QCOMPARE(main->readAhead(), nullptr);
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    QTRY_VERIFY(main->readAhead());
    const CollectionReadAhead::Request &request = main->readAhead()->request();
    QCOMPARE(request.collection, m_big);
    QCOMPARE(request.filePath, DBManager::s_installed_collections.value(m_big).databaseName);
    QCOMPARE(request.collectionId, DBManager::GetCollectionIdByUuid(m_big));
    QVERIFY(request.matchTable);
    QVERIFY(!request.suggestions);
    QCOMPARE(request.pickColor, QColor(255, 0, 0));
    QCOMPARE(request.pickCandidates, 6);
    // No suggestions are read while no key is typed.
    QVERIFY(idleUntil([&main] { return main->readAhead()->isFinished(); }));
    QTest::qWait(50);
    QCOMPARE(main->suggestionReader(), nullptr);
    QVERIFY(!main->searchField()->textField()->completer());

    // The first key has the whole list read on a thread of its own, with
    // the search orders of the collection.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, QStringLiteral("g"));
    QCoreApplication::sendEvent(main->searchField()->textField(), &press);
    QTRY_VERIFY(main->suggestionReader());
    const CollectionReadAhead::Request &reading = main->suggestionReader()->request();
    QCOMPARE(reading.collection, m_big);
    QVERIFY(reading.suggestions);
    QVERIFY(!reading.matchTable);
    QVERIFY(!reading.pickColor.isValid());
    QCOMPARE(reading.pageNameSearchOrder, DBManager::s_page_name_search_order);
    QCOMPARE(reading.rowNameSearchOrder, DBManager::s_row_name_search_order);
    QVERIFY(idleUntil([&main, this] { return !main->searchField()->awaitsSuggestions(m_big); }));
    QVERIFY(main->searchField()->suggestions()->hasWholeList());
}

void TestMainWidgetReadAhead::whatWasReadOnTheSpotIsLeftOut()
{
    std::unique_ptr<MainWidget> main(Global::createMainWidget(nullptr, nullptr));
    main->readAheadNearestColor(QColor(255, 0, 0));
    main->show();
    // A key and the roller's table before the first paint: both are read
    // on the spot, and the thread that starts after the paint reads only
    // the chips nearest to the colour.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, QStringLiteral("g"));
    QCoreApplication::sendEvent(main->searchField()->textField(), &press);
    QVERIFY(main->searchField()->textField()->completer());
    QTRY_VERIFY(main->suggestionReader());
    QVERIFY(!main->matchTable().isEmpty());
    QCOMPARE(main->readAhead(), nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    QTRY_VERIFY(main->readAhead());
    QVERIFY(!main->readAhead()->request().suggestions);
    QVERIFY(!main->readAhead()->request().matchTable);
    QCOMPARE(main->readAhead()->request().pickColor, QColor(255, 0, 0));
    QVERIFY(idleUntil([&main] { return main->readAhead()->isFinished(); }));
    QVector<ColorMatchEntry> table;
    QVERIFY(!main->readAhead()->takeMatchTable(table));
    CollectionReadAhead::NearestChips nearest;
    QVERIFY(main->readAhead()->takeNearestChips(QColor(255, 0, 0), nearest));
    QCOMPARE(nearest.matches.size(), 6);
}

void TestMainWidgetReadAhead::aSwitchRetiresTheReadAhead()
{
    std::unique_ptr<MainWidget> main = shownAndReadAhead(QColor(255, 0, 0));
    QVERIFY(main);
    QPointer<CollectionReadAhead> big = main->readAhead();
    QMetaObject::invokeMethod(main.get(), "collectionChangedInteractively", Q_ARG(QUuid, m_small));
    // The field shows none of the big deck's suggestions, and the small
    // deck's are read once a key is typed for it.
    QVERIFY(!main->searchField()->textField()->completer());
    QCOMPARE(main->readAhead(), nullptr);
    QTRY_VERIFY(big.isNull());
    QVERIFY(idleUntil([&main] { return main->readAhead() && main->readAhead()->isFinished(); }));
    QCOMPARE(main->readAhead()->request().collection, m_small);
    QCOMPARE(main->suggestionReader(), nullptr);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_S, Qt::NoModifier, QStringLiteral("s"));
    QCoreApplication::sendEvent(main->searchField()->textField(), &press);
    QTRY_VERIFY(main->suggestionReader());
    QCOMPARE(main->suggestionReader()->request().collection, m_small);
    QVERIFY(idleUntil([&main, this] { return !main->searchField()->awaitsSuggestions(m_small); }));
    QCOMPARE(main->searchField()->suggestions()->collection(), m_small);

    // A switch while the list is read retires its thread too.
    QPointer<CollectionReadAhead> reader = main->suggestionReader();
    QMetaObject::invokeMethod(main.get(), "collectionChangedInteractively", Q_ARG(QUuid, m_big));
    QCOMPARE(main->suggestionReader(), nullptr);
    QTRY_VERIFY(reader.isNull());
    // Only the current collection's thread is left.
    QTRY_COMPARE(main->findChildren<CollectionReadAhead *>().size(), 1);
}

void TestMainWidgetReadAhead::theWidgetTakesItsThreadsWithIt()
{
    std::unique_ptr<MainWidget> main(Global::createMainWidget(nullptr, nullptr));
    main->readAheadNearestColor(QColor(255, 0, 0));
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    QTRY_VERIFY(main->readAhead());
    // Switched away while it may still read, and back.
    QMetaObject::invokeMethod(main.get(), "collectionChangedInteractively", Q_ARG(QUuid, m_small));
    QMetaObject::invokeMethod(main.get(), "collectionChangedInteractively", Q_ARG(QUuid, m_big));
    QTRY_VERIFY(main->readAhead());
    QList<QPointer<CollectionReadAhead>> threads;
    for (CollectionReadAhead *thread : main->findChildren<CollectionReadAhead *>())
        threads << thread;
    QVERIFY(!threads.isEmpty());
    main.reset();
    for (const QPointer<CollectionReadAhead> &thread : qAsConst(threads))
        QVERIFY(thread.isNull());
}

void TestMainWidgetReadAhead::aFailedReadIsReadOnTheSpot_data()
{
    QTest::addColumn<QString>("what");
    QTest::addColumn<int>("failingFrom");
    for (const char *what : {"table", "nearest", "suggestions"}) {
        for (int failingFrom : {5, 50}) {
            QTest::addRow("%s, reads failing from the %dth", what, failingFrom) << QString::fromLatin1(what)
                                                                                << failingFrom;
        }
    }
}

void TestMainWidgetReadAhead::aFailedReadIsReadOnTheSpot()
{
    QFETCH(QString, what);
    QFETCH(int, failingFrom);
    // What the picker offers for a red no chip comes near, looked up on the
    // spot by a widget that reads nothing ahead.
    const QColor red(255, 0, 0);
    QVector<qint64> offeredOnTheSpot;
    if (what == QLatin1String("nearest")) {
        std::unique_ptr<MainWidget> never(Global::createMainWidget(nullptr, nullptr));
        OfferRecorder recorder;
        never->pickNearestColor(red);
        offeredOnTheSpot = recorder.offered;
        QCOMPARE(offeredOnTheSpot.size(), 6);
    }

    s_threadReads = 0;
    s_failingFrom = failingFrom;
    GuardedVfs::setReadHook(failThreadReads);
    std::unique_ptr<MainWidget> main(Global::createMainWidget(nullptr, nullptr));
    if (what == QLatin1String("nearest"))
        main->readAheadNearestColor(red);
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    if (what == QLatin1String("table")) {
        std::unique_ptr<QMimeData> data(DragDropHelper::buildMimeData(
            DragDropHelper::buildColorData(DragSourceHuecast, QColor(10, 20, 30), QString(), QString())));
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(main->cardRoller(), &enter);
    } else if (what == QLatin1String("suggestions")) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, QStringLiteral("g"));
        QCoreApplication::sendEvent(main->searchField()->textField(), &press);
    }
    const auto reader = [&main, &what] {
        return what == QLatin1String("suggestions") ? main->suggestionReader() : main->readAhead();
    };
    QVERIFY(idleUntil([&reader] { return reader() && reader()->isFinished(); }));
    GuardedVfs::setReadHook(nullptr);
    QVERIFY(s_threadReads >= failingFrom);

    // Nothing is taken from the thread; the interface reads it itself.
    if (what == QLatin1String("table")) {
        QVector<ColorMatchEntry> expected;
        QCOMPARE(DBManager::GetAllColorMatchEntryFor(m_big, expected), 0);
        const QVector<ColorMatchEntry> &table = main->matchTable();
        QCOMPARE(table.size(), expected.size());
        for (int i = 0; i < table.size(); ++i)
            QCOMPARE(table.at(i).rowId, expected.at(i).rowId);
    } else if (what == QLatin1String("nearest")) {
        OfferRecorder recorder;
        main->pickNearestColor(red);
        QCOMPARE(recorder.offered, offeredOnTheSpot);
    } else {
        QVERIFY(QMetaObject::invokeMethod(main.get(), "searchSuggestionsWanted", Q_ARG(QUuid, m_big)));
        QVERIFY(main->searchField()->suggestions()->hasWholeList());
        SearchWidget alone;
        QStringList shown;
        for (QWidget *window : {static_cast<QWidget *>(main.get()), static_cast<QWidget *>(&alone)}) {
            window->show();
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QLineEdit *field = window == main.get() ? main->searchField()->textField() : alone.textField();
            field->clear();
            field->setFocus();
            QTest::keyClicks(field, QStringLiteral("ga-00"));
            shown << field->text() + QLatin1Char('|') + field->selectedText();
        }
        QCOMPARE(shown.at(0), shown.at(1));
    }
}

QTEST_MAIN(TestMainWidgetReadAhead)
#include "tst_mainwidgetreadahead.moc"
