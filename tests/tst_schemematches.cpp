// Scheme matches: the chips a scheme kind proposes for a chip, the
// powder-coating bands, and the cards a scheme links to a card, against a
// file of two collections whose cards share page indexes.

#include "DemoSchemes.h"
#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"

#include <QRegularExpression>
#include <QTest>

#include <algorithm>

using namespace Velmar;

namespace {

const QUuid deckA(QStringLiteral("{0000000a-0000-0000-0000-0000000000a1}"));
const QUuid deckB(QStringLiteral("{0000000b-0000-0000-0000-0000000000b2}"));
const QUuid oldDeck(QStringLiteral("{0000000c-0000-0000-0000-0000000000c3}"));
const QUuid notInstalled(QStringLiteral("{0000000f-0000-0000-0000-0000000000f4}"));

QStringList codesOf(const std::vector<DB::ColorEntry> &chips)
{
    QStringList codes;
    for (const DB::ColorEntry &chip : chips)
        codes << chip.code;
    return codes;
}

QList<int> pageIndexesOf(const QList<DB::ColorPage> &cards)
{
    QList<int> indexes;
    for (const DB::ColorPage &card : cards)
        indexes << card.pageIndex;
    std::sort(indexes.begin(), indexes.end());
    return indexes;
}

} // namespace

class TestSchemeMatches : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void colourToColour_data();
    void colourToColour();
    void proposalsCarryTheirPlace();
    void moodModeChangesNothing();
    void sarnexBands();
    void cardToCard_data();
    void cardToCard();
    void aCardOfAnotherCollectionIsNeverProposed();
    void complementaryNeutralCard_data();
    void complementaryNeutralCard();
    void aFailingStatementIsLoggedAndReported();

private:
    FixtureFolder m_folder;
    qint64 m_idA = -1;
    qint64 m_idB = -1;
};

void TestSchemeMatches::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("schemes.db"));
    m_idA = writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
    m_idB = writer->addCollection(deckB, QStringLiteral("B"), QStringLiteral("Deck B"), 2, true);

    auto card = [&](qint64 collection, int index, int segment) {
        CollectionWriter::Card spec;
        spec.pageIndex = index;
        spec.segment = segment;
        return writer->addCard(collection, spec);
    };
    struct Flags {
        int mood = 1;
        bool neutral = false;
        bool white = false;
    };
    auto chip = [&](qint64 collection, qint64 page, int row, const QString &code, int segment, Flags flags = Flags()) {
        CollectionWriter::Chip spec;
        spec.rowIndex = row;
        spec.code = code;
        spec.segment = segment;
        spec.red = 10 * row;
        spec.green = 20;
        spec.blue = 30;
        spec.mood = flags.mood;
        spec.neutral = flags.neutral;
        spec.white = flags.white;
        spec.isMto = true;
        spec.schemePos = 5;
        return writer->addChip(collection, page, spec);
    };

    // Deck A: card 1 holds the source chips, stored from the last row up;
    // cards 2 and 3 hold the proposals.
    const qint64 a1 = card(m_idA, 1, 1);
    const qint64 plain = chip(m_idA, a1, 4, QStringLiteral("A-PLAIN"), 1);
    const qint64 white = chip(m_idA, a1, 3, QStringLiteral("A-WHITE"), 1, {5, false, true});
    const qint64 neutral = chip(m_idA, a1, 2, QStringLiteral("A-NEUTRAL"), 1, {6, true, false});
    const qint64 rich = chip(m_idA, a1, 1, QStringLiteral("A-RICH"), 1, {4, false, false});
    const qint64 a2 = card(m_idA, 2, 3);
    QHash<QString, qint64> p;
    for (int row = 1; row <= 6; ++row)
        p.insert(QStringLiteral("P%1").arg(row), chip(m_idA, a2, row, QStringLiteral("P%1").arg(row), row <= 3 ? 3 : 5));
    const qint64 a3 = card(m_idA, 3, 7);
    for (int row = 1; row <= 3; ++row)
        p.insert(QStringLiteral("Q%1").arg(row), chip(m_idA, a3, row, QStringLiteral("Q%1").arg(row), 7));

    // Deck B shares the page indexes 1 to 3.
    const qint64 b1 = card(m_idB, 1, 2);
    const qint64 bSource = chip(m_idB, b1, 1, QStringLiteral("B-SOURCE"), 2);
    const qint64 b2 = card(m_idB, 2, 4);
    const qint64 bTarget = chip(m_idB, b2, 1, QStringLiteral("B-TARGET"), 4);
    const qint64 b3 = card(m_idB, 3, 6);
    chip(m_idB, b3, 1, QStringLiteral("B-THIRD"), 6);

    auto row = [&](qint64 collection, qint64 source, int kind, const QString &target, int pageOrder, int rowOrder) {
        QVERIFY(DemoSchemes::addRowScheme(*writer, collection, source, kind, p.value(target), pageOrder, rowOrder));
    };
    // Stored out of order: the proposals come back by page order, then row order.
    row(m_idA, rich, SchemeHarmonic, QStringLiteral("P4"), 1, 1);
    row(m_idA, rich, SchemeHarmonic, QStringLiteral("P1"), 0, 2);
    row(m_idA, rich, SchemeHarmonic, QStringLiteral("P2"), 0, 1);
    row(m_idA, rich, SchemeComplementaryNeutral, QStringLiteral("Q1"), 0, 1);
    row(m_idA, plain, SchemeComplementaryNeutral, QStringLiteral("Q2"), 0, 1);
    row(m_idA, neutral, SchemeDramatic, QStringLiteral("Q1"), 0, 1);
    row(m_idA, white, SchemeDramatic, QStringLiteral("Q2"), 0, 1);
    row(m_idA, plain, SchemeDramatic, QStringLiteral("Q3"), 0, 1);
    // Another collection's proposals for the same chip stay its own.
    row(m_idB, rich, SchemeHarmonic, QStringLiteral("Q3"), 0, 1);
    // Powder-coating bands, and a harmonic row they never show.
    row(m_idA, plain, SchemeWideContrast, QStringLiteral("P5"), 2, 1);
    row(m_idA, plain, SchemeWideContrast, QStringLiteral("Q3"), 1, 1);
    row(m_idA, plain, SchemeContrast, QStringLiteral("Q2"), 0, 1);
    row(m_idA, plain, SchemeWideContrast, QStringLiteral("Q1"), 0, 1);
    row(m_idA, plain, SchemeHarmonic, QStringLiteral("P6"), 0, 1);
    QVERIFY(DemoSchemes::addRowScheme(*writer, m_idB, bSource, SchemeContrast, bTarget, 0, 1));

    auto cardScheme = [&](qint64 collection, qint64 from, qint64 to, int kind, int order) {
        QVERIFY(DemoSchemes::addPageScheme(*writer, collection, from, to, kind, order));
    };
    cardScheme(m_idA, a1, a2, SchemeHarmonic, 0);
    cardScheme(m_idA, a1, a3, SchemeHarmonic, 1);
    // Card 2 of deck B has the page index of deck A's card 2: never shown for A.
    cardScheme(m_idA, a1, b2, SchemeContrast, 0);
    cardScheme(m_idA, a2, a3, SchemeComplementaryNeutral, 0);
    cardScheme(m_idA, a1, b3, SchemeComplementaryNeutral, 0);
    cardScheme(m_idB, b1, b3, SchemeContrast, 0);
    cardScheme(m_idB, b1, a2, SchemeHarmonic, 0);
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();

    // A file that lacks the scheme tables.
    auto old = m_folder.createFile(QStringLiteral("old.db"), false);
    const qint64 idOld = old->addCollection(oldDeck, QStringLiteral("OLD"), QStringLiteral("Old"), 3, true);
    const qint64 oldCard = old->addCard(idOld, CollectionWriter::Card());
    CollectionWriter::Chip oldChip;
    old->addChip(idOld, oldCard, oldChip);
    QVERIFY(old->exec(QStringLiteral("DROP TABLE ROW_SCHEME_MAP")));
    QVERIFY(old->exec(QStringLiteral("DROP TABLE PAGE_SCHEME")));
    QVERIFY2(old->isOk(), qPrintable(old->lastError()));
    old.reset();

    DBManager::s_installed_collections.clear();
    m_folder.activate();
}

void TestSchemeMatches::colourToColour_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<int>("rowIndex");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("codes");

    QTest::newRow("by page order, then row order") << deckA << int(SchemeHarmonic) << 1 << 1 << 0
                                                   << QStringList{"P2", "P1", "P4"};
    QTest::newRow("a kind without proposals") << deckA << int(SchemeDynamic) << 1 << 1 << 0 << QStringList();
    QTest::newRow("complementary neutral for a rich chip") << deckA << int(SchemeComplementaryNeutral) << 1 << 1 << 0
                                                           << QStringList{"Q1"};
    QTest::newRow("complementary neutral for another mood") << deckA << int(SchemeComplementaryNeutral) << 1 << 4 << 0
                                                            << QStringList();
    QTest::newRow("dramatic for a neutral chip") << deckA << int(SchemeDramatic) << 1 << 2 << 0 << QStringList{"Q1"};
    QTest::newRow("dramatic for a white chip") << deckA << int(SchemeDramatic) << 1 << 3 << 0 << QStringList{"Q2"};
    QTest::newRow("dramatic for a plain chip") << deckA << int(SchemeDramatic) << 1 << 4 << 0 << QStringList();
    QTest::newRow("another collection's own rows") << deckB << int(SchemeContrast) << 1 << 1 << 0
                                                   << QStringList{"B-TARGET"};
    QTest::newRow("row index 0") << deckA << int(SchemeHarmonic) << 1 << 0 << -10 << QStringList();
    QTest::newRow("negative row index") << deckA << int(SchemeHarmonic) << 1 << -1 << -10 << QStringList();
    QTest::newRow("row index past the card") << deckA << int(SchemeHarmonic) << 1 << 5 << -10 << QStringList();
    QTest::newRow("no such card") << deckA << int(SchemeHarmonic) << 9 << 1 << -1 << QStringList();
    QTest::newRow("collection not installed") << notInstalled << int(SchemeHarmonic) << 1 << 1 << -4 << QStringList();
}

void TestSchemeMatches::colourToColour()
{
    QFETCH(QUuid, collection);
    QFETCH(int, kind);
    QFETCH(int, pageIndex);
    QFETCH(int, rowIndex);
    QFETCH(int, status);
    QFETCH(QStringList, codes);
    std::vector<DB::ColorEntry> out(2); // emptied first, also on failure
    QCOMPARE(DBManager::FindSchemeMatchesForColorToColor(collection, MoodModeNormal, SchemeKind(kind), pageIndex,
                                                         rowIndex, out),
             status);
    QCOMPARE(codesOf(out), codes);
}

void TestSchemeMatches::proposalsCarryTheirPlace()
{
    std::vector<DB::ColorEntry> out;
    QCOMPARE(DBManager::FindSchemeMatchesForColorToColor(deckA, MoodModeNormal, SchemeHarmonic, 1, 1, out), 0);
    QCOMPARE(out.size(), size_t(3));
    // The row index is the proposal's place on its band, not its place on its card.
    QCOMPARE(out.at(0).rowIndex, 1);
    QCOMPARE(out.at(1).rowIndex, 2);
    QCOMPARE(out.at(2).rowIndex, 1);
    for (const DB::ColorEntry &chip : out) {
        QCOMPARE(chip.collectionId, m_idA);
        QVERIFY(chip.id > 0);
        QVERIFY(chip.pageId > 0);
        // Columns the proposals do not read keep a fresh record's values.
        QCOMPARE(chip.isMto, false);
        QCOMPARE(chip.schemePos, -1);
    }
    QCOMPARE(out.at(2).segment, 5);
    QCOMPARE(out.at(0).red, 20);
}

void TestSchemeMatches::moodModeChangesNothing()
{
    std::vector<DB::ColorEntry> normal;
    QCOMPARE(DBManager::FindSchemeMatchesForColorToColor(deckA, MoodModeNormal, SchemeHarmonic, 1, 1, normal), 0);
    for (MoodMode mode : {MoodModeUnset, MoodModeWarmFreshEquals}) {
        std::vector<DB::ColorEntry> out;
        QCOMPARE(DBManager::FindSchemeMatchesForColorToColor(deckA, mode, SchemeHarmonic, 1, 1, out), 0);
        QCOMPARE(codesOf(out), codesOf(normal));
    }
}

void TestSchemeMatches::sarnexBands()
{
    std::vector<DB::ColorEntry> out(1);
    // First wide contrast, contrast, second wide contrast, then the rest.
    QCOMPARE(DBManager::FindSarnexSchemeMatchesForColor(deckA, 1, 4, out), 0);
    QCOMPARE(codesOf(out), (QStringList{"Q1", "Q2", "Q3", "P5"}));
    QCOMPARE(DBManager::FindSarnexSchemeMatchesForColor(deckA, 1, 1, out), 0);
    QVERIFY(out.empty());
    QCOMPARE(DBManager::FindSarnexSchemeMatchesForColor(deckA, 1, 5, out), -10);
    QVERIFY(out.empty());
}

void TestSchemeMatches::cardToCard_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("status");
    QTest::addColumn<QList<int>>("pageIndexes");

    QTest::newRow("two cards") << deckA << 1 << int(SchemeHarmonic) << 0 << QList<int>{2, 3};
    QTest::newRow("complementary neutral") << deckA << 2 << int(SchemeComplementaryNeutral) << 0 << QList<int>{3};
    QTest::newRow("no proposal") << deckA << 3 << int(SchemeHarmonic) << 0 << QList<int>();
    QTest::newRow("no such card") << deckA << 7 << int(SchemeHarmonic) << 0 << QList<int>();
    QTest::newRow("deck B's own") << deckB << 1 << int(SchemeContrast) << 0 << QList<int>{3};
    QTest::newRow("collection not installed") << notInstalled << 1 << int(SchemeHarmonic) << -4 << QList<int>();
}

void TestSchemeMatches::cardToCard()
{
    QFETCH(QUuid, collection);
    QFETCH(int, pageIndex);
    QFETCH(int, kind);
    QFETCH(int, status);
    QFETCH(QList<int>, pageIndexes);
    QList<DB::ColorPage> out{DB::ColorPage()};
    QCOMPARE(DBManager::FindSchemeMatchesForCardToCard(collection, pageIndex, SchemeKind(kind), out), status);
    QCOMPARE(pageIndexesOf(out), pageIndexes);
    for (const DB::ColorPage &card : qAsConst(out))
        QVERIFY(!card.entries.isEmpty()); // the proposed cards come with their chips
}

void TestSchemeMatches::aCardOfAnotherCollectionIsNeverProposed()
{
    // Deck A's card 1 names deck B's card 2 as its contrast: deck A has a
    // card 2 of its own, which must not stand in for it.
    QList<DB::ColorPage> out;
    QCOMPARE(DBManager::FindSchemeMatchesForCardToCard(deckA, 1, SchemeContrast, out), 0);
    QVERIFY(out.isEmpty());
    // And deck B's card 1 names deck A's card 2 as harmonic.
    QCOMPARE(DBManager::FindSchemeMatchesForCardToCard(deckB, 1, SchemeHarmonic, out), 0);
    QVERIFY(out.isEmpty());
}

void TestSchemeMatches::complementaryNeutralCard_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<bool>("available");

    QTest::newRow("a card with one") << deckA << 2 << true;
    QTest::newRow("one only in another collection") << deckA << 1 << false;
    QTest::newRow("a card without") << deckA << 3 << false;
    QTest::newRow("the same page index in another collection") << deckB << 2 << false;
    QTest::newRow("no such card") << deckA << 8 << false;
    QTest::newRow("collection not installed") << notInstalled << 2 << false;
}

void TestSchemeMatches::complementaryNeutralCard()
{
    QFETCH(QUuid, collection);
    QFETCH(int, pageIndex);
    QFETCH(bool, available);
    QCOMPARE(DBManager::HasComplementaryNeutralCardToCard(collection, pageIndex), available);
}

void TestSchemeMatches::aFailingStatementIsLoggedAndReported()
{
    const QRegularExpression logged(QStringLiteral("^1\\s+:\\s+.*no such table"));
    std::vector<DB::ColorEntry> chips(1);
    QTest::ignoreMessage(QtDebugMsg, logged);
    QCOMPARE(DBManager::FindSchemeMatchesForColorToColor(oldDeck, MoodModeNormal, SchemeHarmonic, 1, 1, chips), -1);
    QVERIFY(chips.empty());
    QTest::ignoreMessage(QtDebugMsg, logged);
    QCOMPARE(DBManager::FindSarnexSchemeMatchesForColor(oldDeck, 1, 1, chips), -1);
    QList<DB::ColorPage> cards;
    QTest::ignoreMessage(QtDebugMsg, logged);
    QCOMPARE(DBManager::FindSchemeMatchesForCardToCard(oldDeck, 1, SchemeHarmonic, cards), -1);
    QTest::ignoreMessage(QtDebugMsg, logged);
    QVERIFY(!DBManager::HasComplementaryNeutralCardToCard(oldDeck, 1));
}

QTEST_GUILESS_MAIN(TestSchemeMatches)
#include "tst_schemematches.moc"
