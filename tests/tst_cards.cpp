// Card queries: rolling through the deck under the mood and exterior
// filters, the first card of a wheel segment, and whole cards by index or id.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"

#include <QTest>

using namespace Velmar;

namespace {

const QUuid deckA(QStringLiteral("{0000000a-0000-0000-0000-000000000001}"));
const QUuid deckB(QStringLiteral("{0000000b-0000-0000-0000-000000000002}"));
const QUuid emptyDeck(QStringLiteral("{0000000e-0000-0000-0000-000000000003}"));
const QUuid notInstalled(QStringLiteral("{0000000f-0000-0000-0000-000000000004}"));

struct CardSpec {
    int pageIndex;
    int segment;
    int mood;
    bool exterior;
};

// Deck A, with gaps in page indexes and segments. Mood 0 (none) and a
// stored 7 occur as well as the six moods but rich (4).
const CardSpec cardsOfA[] = {
    {2, 1, 1, false}, {3, 1, 2, true},  {5, 3, 5, true},  {7, 4, 6, false},
    {8, 6, 3, false}, {10, 6, 1, true}, {12, 9, 0, false}, {13, 11, 7, false},
};

} // namespace

class TestCards : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void rollToPageIndex_data();
    void rollToPageIndex();
    void rollToCardBringsItsChipsInRowOrder();
    void firstCardInSegment_data();
    void firstCardInSegment();
    void firstCardInSegmentAsCard();
    void validSegments();
    void moodTests_data();
    void moodTests();
    void cardById();
    void cardByIndex();
    void chipByPageAndRowIndex();
    void uninstalledCollectionsLeaveOutParametersAlone();

private:
    FixtureFolder m_folder;
    qint64 m_pageOfAByIndex[14] = {};
    qint64 m_pageOnlyInB = -1;
};

void TestCards::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("decks.db"));
    const qint64 a = writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
    const qint64 b = writer->addCollection(deckB, QStringLiteral("B"), QStringLiteral("Deck B"), 2, true);
    writer->addCollection(emptyDeck, QStringLiteral("E"), QStringLiteral("Empty deck"), 3, true);
    for (const CardSpec &spec : cardsOfA) {
        CollectionWriter::Card card;
        card.pageIndex = spec.pageIndex;
        card.segment = spec.segment;
        card.mood = spec.mood;
        card.exterior = spec.exterior;
        card.names = QStringList{QStringLiteral("Card %1").arg(spec.pageIndex)};
        m_pageOfAByIndex[spec.pageIndex] = writer->addCard(a, card);
    }
    // A card that names deck A as its owner but is mapped only to deck B:
    // the map decides, so deck A never sees it.
    QVERIFY(writer->exec(QStringLiteral("INSERT INTO PAGE (COLLECTION_ID, PAGE_INDEX, SEGMENT, NAME, MOOD) "
                                        "VALUES (:A, 9, 5, 'stray', 1)"),
                         {{QStringLiteral(":A"), a}}));
    m_pageOnlyInB = writer->lastInsertId();
    QVERIFY(writer->mapCard(b, m_pageOnlyInB));

    // Chips of card 2 stored out of row order.
    for (int row : {3, 1, 2}) {
        CollectionWriter::Chip chip;
        chip.rowIndex = row;
        chip.code = QStringLiteral("A-2-%1").arg(row);
        chip.red = row * 10;
        writer->addChip(a, m_pageOfAByIndex[2], chip);
    }
    for (int row : {2, 1}) {
        CollectionWriter::Chip chip;
        chip.rowIndex = row;
        chip.code = QStringLiteral("A-8-%1").arg(row);
        writer->addChip(a, m_pageOfAByIndex[8], chip);
    }
    CollectionWriter::Chip strayChip;
    strayChip.code = QStringLiteral("B-9-1");
    writer->addChip(b, m_pageOnlyInB, strayChip);
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();

    DBManager::s_installed_collections.clear();
    m_folder.activate();
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
}

void TestCards::rollToPageIndex_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("mood");
    QTest::addColumn<bool>("exterior");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("expected"); // the out-parameter, 99 when untouched

    // All moods: offwhite (5) and neutral (6) cards are skipped.
    QTest::newRow("all: forward skips offwhite and neutral") << 3 << 0 << 7 << false << 0 << 8;
    QTest::newRow("all: forward wraps to the first") << 13 << 0 << 7 << false << 0 << 2;
    QTest::newRow("all: backward wraps to the last") << 2 << 1 << 7 << false << 0 << 13;
    QTest::newRow("all: backward") << 8 << 1 << 7 << false << 0 << 3;
    QTest::newRow("all: from a page index between cards") << 4 << 0 << 7 << false << 0 << 8;
    // All moods, exterior: every exterior card, offwhite included.
    QTest::newRow("all exterior: lands on offwhite") << 3 << 0 << 7 << true << 0 << 5;
    QTest::newRow("all exterior: forward wraps") << 10 << 0 << 7 << true << 0 << 3;
    QTest::newRow("all exterior: backward wraps") << 3 << 1 << 7 << true << 0 << 10;
    // One mood; the card mapped only to deck B (index 9, fresh) never shows.
    QTest::newRow("fresh: forward") << 2 << 0 << 1 << false << 0 << 10;
    QTest::newRow("fresh: forward wraps") << 10 << 0 << 1 << false << 0 << 2;
    QTest::newRow("fresh: backward wraps") << 2 << 1 << 1 << false << 0 << 10;
    QTest::newRow("fresh exterior: from another card") << 2 << 0 << 1 << true << 0 << 10;
    QTest::newRow("fresh exterior: only the current card") << 10 << 0 << 1 << true << -6 << 99;
    QTest::newRow("no mood") << 1 << 0 << 0 << false << 0 << 12;
    QTest::newRow("no mood: only the current card") << 12 << 1 << 0 << false << -6 << 99;
    QTest::newRow("stored mood 7") << 2 << 1 << 7 << false << 0 << 13;
    QTest::newRow("rich: no card") << 2 << 0 << 4 << false << -6 << 99;
    QTest::newRow("neutral exterior: no card") << 2 << 0 << 6 << true << -6 << 99;
    QTest::newRow("any direction but 0 is backward") << 8 << 5 << 7 << false << 0 << 3;
}

void TestCards::rollToPageIndex()
{
    QFETCH(int, start);
    QFETCH(int, direction);
    QFETCH(int, mood);
    QFETCH(bool, exterior);
    QFETCH(int, status);
    QFETCH(int, expected);
    int pageIndex = 99;
    QCOMPARE(DBManager::FindNextCardByIndex(deckA, start, Direction(direction), Mood(mood), exterior, pageIndex), status);
    QCOMPARE(pageIndex, expected);

    DB::ColorPage card;
    card.pageIndex = 99;
    QCOMPARE(DBManager::FindNextCardByIndex(deckA, start, Direction(direction), Mood(mood), exterior, card), status);
    QCOMPARE(card.pageIndex, expected);
}

void TestCards::rollToCardBringsItsChipsInRowOrder()
{
    DB::ColorPage card;
    QCOMPARE(DBManager::FindNextCardByIndex(deckA, 13, DirectionForward, MoodAll, false, card), 0);
    QCOMPARE(card.pageIndex, 2);
    QCOMPARE(card.id, m_pageOfAByIndex[2]);
    QCOMPARE(card.segment, 1);
    QCOMPARE(card.mood, 1);
    QCOMPARE(card.name(0), QStringLiteral("Card 2"));
    QCOMPARE(card.entries.size(), 3);
    QStringList codes;
    for (const DB::ColorEntry &chip : qAsConst(card.entries))
        codes << chip.code;
    QCOMPARE(codes, (QStringList{"A-2-1", "A-2-2", "A-2-3"}));
    QCOMPARE(card.entries.at(0).red, 10);
    QCOMPARE(card.entries.at(0).pageId, card.id);
    QCOMPARE(card.entries.at(0).collectionId, DBManager::GetCollectionIdByUuid(deckA));
}

void TestCards::firstCardInSegment_data()
{
    QTest::addColumn<int>("segment");
    QTest::addColumn<int>("mood");
    QTest::addColumn<bool>("exterior");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("pageIndex"); // 99 when untouched
    QTest::addColumn<int>("corrected");

    QTest::newRow("lowest page index of the segment") << 1 << 7 << false << 0 << 2 << 1;
    QTest::newRow("next segment that has a card") << 2 << 7 << false << 0 << 8 << 6;
    QTest::newRow("above every card wraps to the start") << 12 << 7 << false << 0 << 2 << 1;
    QTest::newRow("all moods skips the neutral card") << 4 << 7 << false << 0 << 8 << 6;
    QTest::newRow("stored mood 7 counts for all moods") << 10 << 7 << false << 0 << 13 << 11;
    // Unlike rolling, all moods with exterior still skips offwhite.
    QTest::newRow("all exterior skips offwhite") << 2 << 7 << true << 0 << 10 << 6;
    QTest::newRow("all exterior wraps") << 7 << 7 << true << 0 << 3 << 1;
    QTest::newRow("offwhite") << 1 << 5 << false << 0 << 5 << 3;
    QTest::newRow("offwhite wraps") << 4 << 5 << false << 0 << 5 << 3;
    QTest::newRow("fresh skips the card only in deck B") << 4 << 1 << false << 0 << 10 << 6;
    QTest::newRow("rich: no card keeps the segment") << 3 << 4 << false << -6 << 99 << 3;
    QTest::newRow("neutral exterior: no card") << 1 << 6 << true << -6 << 99 << 1;
}

void TestCards::firstCardInSegment()
{
    QFETCH(int, segment);
    QFETCH(int, mood);
    QFETCH(bool, exterior);
    QFETCH(int, status);
    QFETCH(int, pageIndex);
    QFETCH(int, corrected);
    int found = 99;
    QCOMPARE(DBManager::FindFirstCardInSegment(deckA, segment, Mood(mood), exterior, found), status);
    QCOMPARE(found, pageIndex);
    int correctedSegment = 99;
    QCOMPARE(DBManager::FindFirstCardInSegmentAndCorrectSegmentIfNecessary(deckA, segment, Mood(mood), exterior,
                                                                             correctedSegment),
             status);
    QCOMPARE(correctedSegment, corrected);
}

void TestCards::firstCardInSegmentAsCard()
{
    DB::ColorPage card;
    QCOMPARE(DBManager::FindFirstCardInSegment(deckA, 5, MoodAll, false, card), 0);
    QCOMPARE(card.pageIndex, 8);
    QCOMPARE(card.entries.size(), 2);
    QCOMPARE(card.entries.at(0).rowIndex, 1);
    QCOMPARE(card.entries.at(1).rowIndex, 2);
}

void TestCards::validSegments()
{
    QVector<int> segments{42};
    QCOMPARE(DBManager::GetValidSegments(deckA, segments), 0);
    QCOMPARE(segments, (QVector<int>{1, 3, 4, 6, 9, 11}));
    QCOMPARE(DBManager::GetValidSegments(deckB, segments), 0);
    QCOMPARE(segments, QVector<int>{5});
    QCOMPARE(DBManager::GetValidSegments(emptyDeck, segments), -1);
    QVERIFY(segments.isEmpty());
}

void TestCards::moodTests_data()
{
    QTest::addColumn<int>("mood");
    QTest::addColumn<bool>("any");
    QTest::addColumn<bool>("interior");
    QTest::addColumn<bool>("exterior");
    QTest::newRow("fresh") << 1 << true << true << true;
    QTest::newRow("warm, exterior only") << 2 << true << false << true;
    QTest::newRow("offwhite, exterior only") << 5 << true << false << true;
    QTest::newRow("neutral, interior only") << 6 << true << true << false;
    QTest::newRow("rich, none") << 4 << false << false << false;
    QTest::newRow("7 counts only stored 7") << 7 << true << true << false;
}

void TestCards::moodTests()
{
    QFETCH(int, mood);
    QFETCH(bool, any);
    QFETCH(bool, interior);
    QFETCH(bool, exterior);
    QCOMPARE(DBManager::hasPageWithMood(deckA, Mood(mood)), any);
    QCOMPARE(DBManager::hasPageWithNonExteriorMood(deckA, Mood(mood)), interior);
    QCOMPARE(DBManager::hasPageWithExteriorMood(deckA, Mood(mood)), exterior);
    QVERIFY(!DBManager::hasPageWithMood(notInstalled, Mood(mood)));
}

void TestCards::cardById()
{
    DB::ColorPage card;
    QCOMPARE(DBManager::GetColorPageById(deckA, m_pageOfAByIndex[2], false, card), 0);
    QCOMPARE(card.pageIndex, 2);
    QCOMPARE(card.entries.size(), 3);
    QCOMPARE(card.entries.at(0).code, QStringLiteral("A-2-1"));
    QCOMPARE(card.entries.at(2).code, QStringLiteral("A-2-3"));
    // The chip's own id wins over the card's in the joined row.
    QVERIFY(card.entries.at(0).id != card.id);

    DB::ColorPage bare;
    QCOMPARE(DBManager::GetColorPageById(deckA, m_pageOfAByIndex[2], true, bare), 0);
    QCOMPARE(bare.pageIndex, 2);
    QVERIFY(bare.entries.isEmpty());

    DB::ColorPage other;
    other.pageIndex = 99;
    QCOMPARE(DBManager::GetColorPageById(deckA, m_pageOnlyInB, false, other), -1);
    QCOMPARE(other.pageIndex, 99);
    QCOMPARE(DBManager::GetColorPageById(deckB, m_pageOnlyInB, false, other), 0);
    QCOMPARE(other.pageIndex, 9);
    QCOMPARE(other.entries.size(), 1);
}

void TestCards::cardByIndex()
{
    DB::ColorPage card;
    QCOMPARE(DBManager::GetColorPageByIndex(deckA, 8, card), 0);
    QCOMPARE(card.id, m_pageOfAByIndex[8]);
    QCOMPARE(card.segment, 6);
    QCOMPARE(card.mood, 3);
    QCOMPARE(card.entries.size(), 2);
    QCOMPARE(card.entries.at(0).code, QStringLiteral("A-8-1"));

    card.pageIndex = 99;
    QCOMPARE(DBManager::GetColorPageByIndex(deckA, 9, card), -1); // only in deck B
    QCOMPARE(card.pageIndex, 99);
}

void TestCards::chipByPageAndRowIndex()
{
    DB::ColorEntry chip;
    QCOMPARE(DBManager::GetColorEntryByPageAndRowIndex(deckA, 2, 3, chip), 0);
    QCOMPARE(chip.code, QStringLiteral("A-2-3"));
    QCOMPARE(chip.rowIndex, 3);
    QCOMPARE(chip.pageId, m_pageOfAByIndex[2]);
    QCOMPARE(chip.red, 30);

    QCOMPARE(DBManager::GetColorEntryByPageAndRowIndex(deckA, 2, 4, chip), -1);
    QCOMPARE(chip.id, qint64(-1));
    QVERIFY(chip.code.isEmpty());
    QCOMPARE(DBManager::GetColorEntryByPageAndRowIndex(deckA, 9, 1, chip), -1);
}

void TestCards::uninstalledCollectionsLeaveOutParametersAlone()
{
    int pageIndex = 99;
    QCOMPARE(DBManager::FindNextCardByIndex(notInstalled, 1, DirectionForward, MoodAll, false, pageIndex), -4);
    QCOMPARE(DBManager::FindFirstCardInSegment(QUuid(), 1, MoodAll, false, pageIndex), -2);
    QCOMPARE(pageIndex, 99);
    int segment = 0;
    QCOMPARE(DBManager::FindFirstCardInSegmentAndCorrectSegmentIfNecessary(notInstalled, 4, MoodAll, false, segment), -4);
    QCOMPARE(segment, 4);
    DB::ColorPage card;
    card.pageIndex = 99;
    QCOMPARE(DBManager::GetColorPageByIndex(notInstalled, 2, card), -4);
    QCOMPARE(DBManager::GetColorPageById(notInstalled, 1, false, card), -4);
    QCOMPARE(card.pageIndex, 99);
    DB::ColorEntry chip;
    chip.code = QStringLiteral("kept?");
    QCOMPARE(DBManager::GetColorEntryByPageAndRowIndex(notInstalled, 2, 1, chip), -4);
    QVERIFY(chip.code.isEmpty()); // reset before anything can fail
}

QTEST_GUILESS_MAIN(TestCards)
#include "tst_cards.moc"
