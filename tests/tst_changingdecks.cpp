// What the picker keeps of a deck while it is shown follows the file when a
// writer changes it: whether the deck owns all its cards, and the wheel's
// segments that hold cards.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "services/Settings.h"
#include "views/ColorWheelWidget.h"

#include <QImage>
#include <QSet>
#include <QTest>

#include <memory>

using namespace Velmar;

namespace {

const QUuid deckA(QStringLiteral("{0000000a-0000-0000-0000-000000000001}"));
const QUuid deckB(QStringLiteral("{0000000b-0000-0000-0000-000000000002}"));
const QUuid lender(QStringLiteral("{0000000c-0000-0000-0000-000000000003}"));

qint64 addCard(CollectionWriter &writer, qint64 collection, int pageIndex, int segment)
{
    CollectionWriter::Card card;
    card.pageIndex = pageIndex;
    card.segment = segment;
    card.mood = MoodFresh;
    card.names = QStringList{QStringLiteral("Card %1").arg(pageIndex)};
    const qint64 page = writer.addCard(collection, card);
    CollectionWriter::Chip chip;
    chip.code = QStringLiteral("C-%1").arg(pageIndex);
    writer.addChip(collection, page, chip);
    return page;
}

struct Navigation {
    int next = -1;
    int cardFound = -1;
    int chipFound = -1;
    QString chipCode;
};

// What the deck shows around page index 20.
Navigation around20(const QUuid &deck)
{
    Navigation navigation;
    DBManager::FindNextCardByIndex(deck, 10, DirectionForward, MoodAll, false, navigation.next);
    DB::ColorPage card;
    navigation.cardFound = DBManager::GetColorPageByIndex(deck, 20, card);
    DB::ColorEntry chip;
    navigation.chipFound = DBManager::GetColorEntryByPageAndRowIndex(deck, 20, 1, chip);
    navigation.chipCode = chip.code;
    return navigation;
}

void journalModes()
{
    QTest::addColumn<bool>("writeAheadLog");
    QTest::newRow("rollback mode") << false;
    QTest::newRow("log mode") << true;
}

// Deck A with cards at page indexes 10 (segment 1) and 30 (segment 3), its
// writer kept for the test to go on writing while the deck is read.
std::unique_ptr<CollectionWriter> writeDeckA(const FixtureFolder &folder, bool writeAheadLog, qint64 &a)
{
    auto writer = folder.createFile(QStringLiteral("deck.db"));
    if (writeAheadLog)
        writer->useWriteAheadLog();
    a = writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
    addCard(*writer, a, 10, 1);
    addCard(*writer, a, 30, 3);
    return writer;
}

} // namespace

class TestChangingDecks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void aCardLentWhileTheDeckIsShownIsFound_data();
    void aCardLentWhileTheDeckIsShownIsFound();
    void whetherADeckOwnsItsCardsIsKnownPerFile();
    void theWheelFollowsTheFile_data();
    void theWheelFollowsTheFile();
};

void TestChangingDecks::initTestCase()
{
    TestEnvironment::isolate();
}

void TestChangingDecks::init()
{
    DBManager::s_installed_collections.clear();
}

void TestChangingDecks::aCardLentWhileTheDeckIsShownIsFound_data()
{
    journalModes();
}

void TestChangingDecks::aCardLentWhileTheDeckIsShownIsFound()
{
    QFETCH(bool, writeAheadLog);
    FixtureFolder folder;
    qint64 a = -1;
    auto writer = writeDeckA(folder, writeAheadLog, a);
    const qint64 l = writer->addCollection(lender, QStringLiteral("L"), QStringLiteral("Lender"), 2, true);
    const qint64 lent = addCard(*writer, l, 20, 2);
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    folder.activate();
    DBManager::selectedCollectionChanged(deckA);

    Navigation before = around20(deckA);
    QCOMPARE(before.next, 30);
    QCOMPARE(before.cardFound, -1);
    QCOMPARE(before.chipFound, -1);

    QVERIFY(writer->mapCard(a, lent));
    const Navigation after = around20(deckA);
    QCOMPARE(after.next, 20);
    QCOMPARE(after.cardFound, 0);
    QCOMPARE(after.chipFound, 0);
    QCOMPARE(after.chipCode, QStringLiteral("C-20"));
    QVector<int> segments;
    QCOMPARE(DBManager::GetValidSegments(deckA, segments), 0);
    QCOMPARE(segments, (QVector<int>{1, 2, 3}));
}

void TestChangingDecks::whetherADeckOwnsItsCardsIsKnownPerFile()
{
    // Deck A of one file and deck B of another have the same id; only B has
    // a card lent to it.
    FixtureFolder folder;
    {
        auto writer = folder.createFile(QStringLiteral("a.db"));
        const qint64 a = writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        addCard(*writer, a, 10, 1);
        addCard(*writer, a, 30, 3);
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    {
        auto writer = folder.createFile(QStringLiteral("b.db"));
        const qint64 b = writer->addCollection(deckB, QStringLiteral("B"), QStringLiteral("Deck B"), 2, true);
        const qint64 l = writer->addCollection(lender, QStringLiteral("L"), QStringLiteral("Lender"), 3, true);
        addCard(*writer, b, 10, 1);
        addCard(*writer, b, 30, 3);
        QVERIFY(writer->mapCard(b, addCard(*writer, l, 20, 2)));
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    folder.activate();
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    QCOMPARE(DBManager::GetCollectionIdByUuid(deckA), DBManager::GetCollectionIdByUuid(deckB));
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(around20(deckA).next, 30);
        const Navigation b = around20(deckB);
        QCOMPARE(b.next, 20);
        QCOMPARE(b.chipCode, QStringLiteral("C-20"));
    }
}

void TestChangingDecks::theWheelFollowsTheFile_data()
{
    journalModes();
}

void TestChangingDecks::theWheelFollowsTheFile()
{
    QFETCH(bool, writeAheadLog);
    FixtureFolder folder;
    qint64 a = -1;
    auto writer = writeDeckA(folder, writeAheadLog, a);
    writer->addSetting(a, QStringLiteral("num.of.segments"), QStringLiteral("12"));
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    folder.activate();
    Settings::setUuidOfLastUsedCollection(deckA);
    DBManager::selectedCollectionChanged(deckA);

    ColorWheelWidget wheel;
    wheel.prepareForCollection(deckA);
    QCOMPARE(wheel.validSegments(), (QVector<int>{1, 3}));
    addCard(*writer, a, 50, 5);
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));

    // Painted again, the wheel shows the new segment, and a click on it is
    // taken.
    QImage image(wheel.size(), QImage::Format_ARGB32);
    wheel.render(&image);
    QCOMPARE(wheel.validSegments(), (QVector<int>{1, 3, 5}));
    QSet<int> clickable;
    for (const auto &interval : wheel.segmentIntervals())
        clickable.insert(interval.second);
    QCOMPARE(clickable, (QSet<int>{1, 3, 5}));
}

QTEST_MAIN(TestChangingDecks)
#include "tst_changingdecks.moc"
