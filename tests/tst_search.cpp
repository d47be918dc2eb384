// Phrase search, search suggestions and the colour look-ups by code, colour,
// id and Dizeviz name.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"

#include <QSqlDatabase>
#include <QTest>

using namespace Velmar;

namespace {

const QUuid deckA(QStringLiteral("{0000000a-0000-0000-0000-000000000001}"));
const QUuid deckB(QStringLiteral("{0000000b-0000-0000-0000-000000000002}"));
const QUuid retired(QStringLiteral("{0000000d-0000-0000-0000-000000000003}"));
const QUuid notInstalled(QStringLiteral("{0000000f-0000-0000-0000-000000000004}"));

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void phraseSearch_data();
    void phraseSearch();
    void phraseSearchWithoutCardColumns();
    void phraseSearchFailures();
    void phraseSearchOnAReopenedConnection();
    void blankPhrasesFindNothing_data();
    void blankPhrasesFindNothing();
    void suggestions();
    void chipByCode_data();
    void chipByCode();
    void chipByExactColour();
    void chipByNearColour_data();
    void chipByNearColour();
    void chipById();
    void chipsByIds();
    void colourMatchCandidates();
    void dizevizSearch();
    void chipsOfALentCardBelongToTheBorrower();

private:
    FixtureFolder m_folder;
    qint64 m_idA = -1;
    qint64 m_idB = -1;
    qint64 m_idRetired = -1;
    qint64 m_greyChip = -1;
    qint64 m_chipOfB = -1;
    int m_chipsOfA = 0;
};

void TestSearch::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("decks.db"));

    // Written first, so that its rows come first in the file: a look-up
    // across collections must still never answer with its chips.
    m_idRetired = writer->addCollection(retired, QStringLiteral("R"), QStringLiteral("Retired"), 3, false);
    // Not "1", so never installed; a test of "anything but 0" would take it.
    writer->addSetting(m_idRetired, QStringLiteral("collection.enabled"), QStringLiteral("2"));
    m_idA = writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
    m_idB = writer->addCollection(deckB, QStringLiteral("B"), QStringLiteral("Deck B"), 2, true);

    auto card = [&](qint64 collection, int index, int segment, int mood, bool exterior, const QStringList &names) {
        CollectionWriter::Card spec;
        spec.pageIndex = index;
        spec.segment = segment;
        spec.mood = mood;
        spec.exterior = exterior;
        spec.names = names;
        return writer->addCard(collection, spec);
    };
    auto chip = [&](qint64 collection, qint64 page, int row, const QString &code, const QStringList &names,
                    const QColor &colour) {
        CollectionWriter::Chip spec;
        spec.rowIndex = row;
        spec.code = code;
        spec.names = names;
        spec.red = colour.red();
        spec.green = colour.green();
        spec.blue = colour.blue();
        spec.L = row * 10.0;
        spec.a = -row;
        spec.b = row + 0.5;
        return writer->addChip(collection, page, spec);
    };

    const qint64 retiredCard = card(m_idRetired, 1, 1, 1, false, {QStringLiteral("Retired card")});
    chip(m_idRetired, retiredCard, 1, QStringLiteral("SHARED-1"), {QStringLiteral("Dusty")}, QColor(1, 2, 3));
    chip(m_idRetired, retiredCard, 2, QStringLiteral("ONLY-RETIRED"), {QStringLiteral("Gone")}, QColor(4, 5, 6));

    // Owned by the retired deck and lent to deck B through the map.
    const qint64 lent = card(m_idRetired, 2, 5, 4, false, {QStringLiteral("Lent card")});
    writer->mapCard(m_idB, lent);
    chip(m_idRetired, lent, 1, QStringLiteral("LENT-1"), {QStringLiteral("Borrowed")}, QColor(7, 8, 9));

    const qint64 coral = card(m_idA, 3, 2, 2, true, {QStringLiteral("Coral Family"), QStringLiteral("Famille corail")});
    chip(m_idA, coral, 1, QStringLiteral("A-0301"), {QStringLiteral("Pale Coral"), QStringLiteral("Corail pâle"), QStringLiteral("third")}, QColor(250, 200, 190));
    chip(m_idA, coral, 2, QStringLiteral("D'ARCY"), {QStringLiteral("Coral Dusk"), QString()}, QColor(220, 120, 100));
    chip(m_idA, coral, 3, QStringLiteral("SHARED-1"), {QStringLiteral("Coral Shared")}, QColor(200, 90, 70));
    const qint64 cream = card(m_idA, 5, 3, 7, false, {QStringLiteral("Cream Family")});
    chip(m_idA, cream, 1, QStringLiteral("A-0501"), {QStringLiteral("Crème brûlée"), QStringLiteral("Crème brûlée")}, QColor(240, 225, 190));
    m_greyChip = chip(m_idA, cream, 2, QStringLiteral("A-0502"), {QStringLiteral("Grey"), QStringLiteral("")}, QColor(100, 100, 100));
    // Names stored in mixed case, found by what the search field sends: the
    // upper case of the typed text, accented and special letters included.
    const qint64 island = card(m_idA, 6, 4, 3, false, {QStringLiteral("Île Blanche")});
    // A name in the last name column, searched like the first.
    QStringList lastColumn(10);
    lastColumn.first() = QStringLiteral("Grün");
    lastColumn.last() = QStringLiteral("Prairie");
    chip(m_idA, island, 1, QStringLiteral("A-0601"), lastColumn, QColor(90, 160, 90));
    chip(m_idA, island, 2, QStringLiteral("Weiß-2"), {QStringLiteral("Weiß")}, QColor(250, 250, 245));
    m_chipsOfA = 7;

    const qint64 blue = card(m_idB, 1, 9, 3, false, {QStringLiteral("Blue Family")});
    m_chipOfB = chip(m_idB, blue, 1, QStringLiteral("B-0101"), {QStringLiteral("Pale Coral")}, QColor(150, 160, 250));
    chip(m_idB, blue, 2, QString(), {QStringLiteral("Uncoded")}, QColor(11, 12, 13)); // stored with code ""
    card(m_idB, 2, 10, 1, false, {QStringLiteral("Empty Card")}); // no chips: nothing to show

    writer->addSettings(m_idA, QStringLiteral("page.name.search.order"), {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("12")});
    writer->addSettings(m_idA, QStringLiteral("row.name.search.order"), {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("9")});

    // Dizeviz: B before A by priority; the retired deck would come first.
    writer->addSetting(m_idA, QStringLiteral("dizeviz.enabled"), QStringLiteral("1"));
    writer->addSetting(m_idA, QStringLiteral("dizeviz.priority"), QStringLiteral("2"));
    writer->addSetting(m_idB, QStringLiteral("Dizeviz.Enabled"), QStringLiteral("1"));
    writer->addSetting(m_idB, QStringLiteral("dizeviz.priority"), QStringLiteral("1"));
    writer->addSetting(m_idRetired, QStringLiteral("dizeviz.enabled"), QStringLiteral("1"));
    writer->addSetting(m_idRetired, QStringLiteral("dizeviz.priority"), QStringLiteral("0"));
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();

    DBManager::s_installed_collections.clear();
    m_folder.activate();
}

void TestSearch::init()
{
    // The search columns are always those of the selected collection.
    DBManager::selectedCollectionChanged(deckA);
}

void TestSearch::phraseSearch_data()
{
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<int>("rowIndex");
    QTest::addColumn<int>("segment");
    QTest::addColumn<int>("mood");
    QTest::addColumn<bool>("exterior");

    QTest::newRow("card name") << "Coral Family" << 0 << 3 << -1 << 2 << 2 << true;
    QTest::newRow("card name, second language, lower case") << "famille corail" << 0 << 3 << -1 << 2 << 2 << true;
    QTest::newRow("card of stored mood 7 reports no mood") << "Cream Family" << 0 << 5 << -1 << 3 << 0 << false;
    QTest::newRow("code in lower case") << "a-0301" << 0 << 3 << 1 << 2 << 2 << true;
    QTest::newRow("chip name, second language") << "Corail pâle" << 0 << 3 << 1 << 2 << 2 << true;
    QTest::newRow("accented name") << "Crème brûlée" << 0 << 5 << 1 << 3 << 0 << false;
    QTest::newRow("accented name, lower case") << "crème brûlée" << 0 << 5 << 1 << 3 << 0 << false;
    QTest::newRow("code with an apostrophe") << "d'arcy" << 0 << 3 << 2 << 2 << 2 << true;
    QTest::newRow("accented name, upper case") << "CRÈME BRÛLÉE" << 0 << 5 << 1 << 3 << 0 << false;
    QTest::newRow("umlaut, upper case") << "GRÜN" << 0 << 6 << 1 << 4 << 3 << false;
    QTest::newRow("accented card name, upper case") << "ÎLE BLANCHE" << 0 << 6 << -1 << 4 << 3 << false;
    QTest::newRow("sharp s, upper case") << "WEISS" << 0 << 6 << 2 << 4 << 3 << false;
    QTest::newRow("accented code, upper case") << "WEISS-2" << 0 << 6 << 2 << 4 << 3 << false;
    QTest::newRow("another accent is another letter") << "CREME BRULEE" << -6 << -1 << -1 << -1 << 0 << false;
    QTest::newRow("a prefix finds nothing") << "A-03" << -6 << -1 << -1 << -1 << 0 << false;
    QTest::newRow("a name column not searched") << "third" << -6 << -1 << -1 << -1 << 0 << false;
    QTest::newRow("chip name in the last column") << "prairie" << 0 << 6 << 1 << 4 << 3 << false;
    QTest::newRow("a chip of another collection") << "B-0101" << -6 << -1 << -1 << -1 << 0 << false;
    QTest::newRow("quotes and brackets are only text") << "') OR 1=1 --" << -6 << -1 << -1 << -1 << 0 << false;
}

void TestSearch::phraseSearch()
{
    QFETCH(QString, phrase);
    QFETCH(int, status);
    QFETCH(int, pageIndex);
    QFETCH(int, rowIndex);
    QFETCH(int, segment);
    QFETCH(int, mood);
    QFETCH(bool, exterior);
    int foundPage = 99, foundRow = 99, foundSegment = 99;
    Mood foundMood = MoodRich;
    bool foundExterior = !exterior;
    QCOMPARE(DBManager::SearchForPhrase(deckA, phrase, foundPage, foundRow, foundSegment, foundMood, foundExterior), status);
    QCOMPARE(foundPage, pageIndex);
    QCOMPARE(foundRow, rowIndex);
    QCOMPARE(foundSegment, segment);
    QCOMPARE(int(foundMood), mood);
    QCOMPARE(foundExterior, exterior);
}

void TestSearch::phraseSearchWithoutCardColumns()
{
    DBManager::s_page_name_search_order.clear();
    int page = 0, row = 0, segment = 0;
    Mood mood = MoodNone;
    bool exterior = false;
    QCOMPARE(DBManager::SearchForPhrase(deckA, QStringLiteral("Coral Family"), page, row, segment, mood, exterior), -6);
    QCOMPARE(DBManager::SearchForPhrase(deckA, QStringLiteral("Coral Dusk"), page, row, segment, mood, exterior), 0);
    QCOMPARE(row, 2);
}

void TestSearch::phraseSearchFailures()
{
    int page = 99, row = 99, segment = 99;
    Mood mood = MoodRich;
    bool exterior = true;
    QCOMPARE(DBManager::SearchForPhrase(notInstalled, QStringLiteral("Grey"), page, row, segment, mood, exterior), -4);
    QCOMPARE(page, -1);
    QCOMPARE(row, -1);
    QCOMPARE(segment, -1);
    QCOMPARE(mood, MoodNone);
    QVERIFY(!exterior);
    QCOMPARE(DBManager::SearchForPhrase(deckB, QStringLiteral("EMPTY CARD"), page, row, segment, mood, exterior), -6);
    QCOMPARE(DBManager::SearchForPhrase(deckB, QStringLiteral("BLUE FAMILY"), page, row, segment, mood, exterior), 0);
    QCOMPARE(page, 1);
    QCOMPARE(row, -1);
}

void TestSearch::phraseSearchOnAReopenedConnection()
{
    // A closed connection is opened again on its next use, with a new
    // handle: the comparison of names must come with it.
    int page = 0, row = 0, segment = 0;
    Mood mood = MoodNone;
    bool exterior = false;
    QCOMPARE(DBManager::SearchForPhrase(deckA, QStringLiteral("GRÜN"), page, row, segment, mood, exterior), 0);
    const QString file = DBManager::s_installed_collections.value(deckA).databaseName;
    int closed = 0;
    for (const QString &name : QSqlDatabase::connectionNames()) {
        QSqlDatabase connection = QSqlDatabase::database(name, false);
        if (connection.databaseName() == file && connection.isOpen()) {
            connection.close();
            ++closed;
        }
    }
    QCOMPARE(closed, 1);
    row = 0;
    QCOMPARE(DBManager::SearchForPhrase(deckA, QStringLiteral("GRÜN"), page, row, segment, mood, exterior), 0);
    QCOMPARE(row, 1);
    QCOMPARE(DBManager::GetSettingsEntry(deckA, QStringLiteral("DIZEVIZ.PRIORITY"), QVariant()), QVariant(QStringLiteral("2")));
}

void TestSearch::blankPhrasesFindNothing_data()
{
    QTest::addColumn<QString>("phrase");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
    QTest::newRow("tab and new line") << "\t\n";
}

void TestSearch::blankPhrasesFindNothing()
{
    // The search field sends "" for an empty field; chips with an empty code
    // or name ("Grey" has an empty second name) must not answer it.
    QFETCH(QString, phrase);
    int page = 99, row = 99, segment = 99;
    Mood mood = MoodRich;
    bool exterior = true;
    QCOMPARE(DBManager::SearchForPhrase(deckA, phrase, page, row, segment, mood, exterior), -6);
    QCOMPARE(page, -1);
    QCOMPARE(row, -1);
    QCOMPARE(segment, -1);
    QCOMPARE(mood, MoodNone);
    QVERIFY(!exterior);

    DB::ColorEntry entry;
    QCOMPARE(DBManager::GetColorEntryByColorCode(phrase, entry), -1);
    QCOMPARE(entry.id, qint64(-1));
    QVector<DB::ColorEntry> entries(1);
    QCOMPARE(DBManager::SearchForDizevizColorEntries(phrase, entries), 0);
    QVERIFY(entries.isEmpty());
}

void TestSearch::suggestions()
{
    QStringList suggestions{QStringLiteral("stale")};
    QCOMPARE(DBManager::GetAvailableSearchSuggestions(deckA, suggestions), 0);
    QCOMPARE(suggestions, (QStringList{"A-0301", "A-0501", "A-0502", "A-0601", "Corail pâle", "Coral Dusk",
                                       "Coral Family", "Coral Shared", "Cream Family", "Crème brûlée", "D'ARCY",
                                       "Famille corail", "Grey", "Grün", "Pale Coral", "Prairie", "SHARED-1", "Weiß", "Weiß-2",
                                       "Île Blanche"}));
    QCOMPARE(DBManager::GetAvailableSearchSuggestions(notInstalled, suggestions), -4);
    QVERIFY(suggestions.isEmpty());
}

void TestSearch::chipByCode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("status");
    QTest::addColumn<qint64>("collectionId"); // 0: the test's collection A
    QTest::addColumn<int>("rowIndex");
    QTest::newRow("lower case") << "a-0502" << 0 << qint64(0) << 2;
    QTest::newRow("apostrophe") << "D'Arcy" << 0 << qint64(0) << 2;
    QTest::newRow("sharp s, upper case") << "WEISS-2" << 0 << qint64(0) << 2;
    QTest::newRow("also in a collection that is not installed") << "SHARED-1" << 0 << qint64(0) << 3;
    QTest::newRow("only in a collection that is not installed") << "ONLY-RETIRED" << -1 << qint64(-1) << -1;
    QTest::newRow("missing") << "ZZ-9999" << -1 << qint64(-1) << -1;
}

void TestSearch::chipByCode()
{
    QFETCH(QString, code);
    QFETCH(int, status);
    QFETCH(qint64, collectionId);
    QFETCH(int, rowIndex);
    DB::ColorEntry entry;
    entry.code = QStringLiteral("stale");
    QCOMPARE(DBManager::GetColorEntryByColorCode(code, entry), status);
    QCOMPARE(entry.collectionId, collectionId == 0 ? m_idA : collectionId);
    QCOMPARE(entry.rowIndex, rowIndex);
    if (status != 0)
        QVERIFY(entry.code.isEmpty());
}

void TestSearch::chipByExactColour()
{
    DB::ColorEntry entry;
    QCOMPARE(DBManager::GetColorEntryByColor(QColor(100, 100, 100), entry), 0);
    QCOMPARE(entry.id, m_greyChip);
    QCOMPARE(DBManager::GetColorEntryByColor(QColor(150, 160, 250), entry), 0);
    QCOMPARE(entry.collectionId, m_idB);
    QCOMPARE(DBManager::GetColorEntryByColor(QColor(4, 5, 6), entry), -1); // only the retired deck
    QCOMPARE(entry.id, qint64(-1));
    QCOMPARE(DBManager::GetColorEntryByColor(QColor(101, 100, 100), entry), -1);
}

void TestSearch::chipByNearColour_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("status");
    QTest::newRow("exact") << QColor(100, 100, 100) << 0;
    QTest::newRow("two off in two channels") << QColor(102, 98, 100) << 0;
    QTest::newRow("three off") << QColor(103, 100, 100) << -1;
    QTest::newRow("in another collection") << QColor(150, 160, 250) << -1;
}

void TestSearch::chipByNearColour()
{
    QFETCH(QColor, colour);
    QFETCH(int, status);
    DB::ColorEntry entry;
    QCOMPARE(DBManager::GetColorEntryByColor(deckA, colour, entry), status);
    QCOMPARE(entry.id, status == 0 ? m_greyChip : qint64(-1));
}

void TestSearch::chipById()
{
    DB::ColorEntry entry;
    QCOMPARE(DBManager::GetColorEntryById(deckA, m_greyChip, entry), 0);
    QCOMPARE(entry.code, QStringLiteral("A-0502"));
    QCOMPARE(entry.collectionId, m_idA);
    // Any chip of the file is found, whichever collection is given.
    QCOMPARE(DBManager::GetColorEntryById(deckA, m_chipOfB, entry), 0);
    QCOMPARE(entry.code, QStringLiteral("B-0101"));
    QCOMPARE(entry.collectionId, m_idB);
    QCOMPARE(DBManager::GetColorEntryById(deckA, 9999, entry), -1);
    QVERIFY(entry.code.isEmpty());
    QCOMPARE(DBManager::GetColorEntryById(notInstalled, m_greyChip, entry), -4);
}

// Several chips at once: the records of the single look-up, keyed by id.
void TestSearch::chipsByIds()
{
    QHash<qint64, DB::ColorEntry> chips;
    chips.insert(1, DB::ColorEntry()); // emptied first
    QCOMPARE(DBManager::GetColorEntriesByIds(deckA, {m_greyChip, 9999, m_chipOfB, m_greyChip}, chips), 0);
    QCOMPARE(chips.size(), 2);
    for (const qint64 id : {m_greyChip, m_chipOfB}) {
        DB::ColorEntry single;
        QCOMPARE(DBManager::GetColorEntryById(deckA, id, single), 0);
        const DB::ColorEntry &entry = chips.value(id);
        QCOMPARE(entry.id, id);
        QCOMPARE(entry.code, single.code);
        QCOMPARE(entry.collectionId, single.collectionId);
        QCOMPARE(entry.pageId, single.pageId);
        QCOMPARE(entry.rowIndex, single.rowIndex);
        QCOMPARE(entry.names, single.names);
        QCOMPARE(entry.extras, single.extras);
        QCOMPARE(QColor(entry.red, entry.green, entry.blue), QColor(single.red, single.green, single.blue));
    }
    QCOMPARE(DBManager::GetColorEntriesByIds(deckA, {}, chips), 0);
    QVERIFY(chips.isEmpty());
    QCOMPARE(DBManager::GetColorEntriesByIds(notInstalled, {m_greyChip}, chips), -4);
    QVERIFY(chips.isEmpty());
}

void TestSearch::colourMatchCandidates()
{
    QVector<ColorMatchEntry> candidates;
    QCOMPARE(DBManager::GetAllColorMatchEntryFor(deckA, candidates), 0);
    QCOMPARE(candidates.size(), m_chipsOfA);
    bool foundGrey = false;
    for (const ColorMatchEntry &candidate : qAsConst(candidates)) {
        if (candidate.rowId == m_greyChip) {
            foundGrey = true;
            QCOMPARE(candidate.L, 20.0);
            QCOMPARE(candidate.a, -2.0);
            QCOMPARE(candidate.b, 2.5);
        }
    }
    QVERIFY(foundGrey);
    QCOMPARE(DBManager::GetAllColorMatchEntryFor(notInstalled, candidates), -4);
    QVERIFY(candidates.isEmpty());
}

void TestSearch::dizevizSearch()
{
    QVector<qint64> ids{42};
    QCOMPARE(DBManager::GetCapsurableCollectionIdsInOrder(ids), 0);
    QCOMPARE(ids, (QVector<qint64>{m_idRetired, m_idB, m_idA}));

    QVector<DB::ColorEntry> entries;
    QCOMPARE(DBManager::SearchForDizevizColorEntries(QStringLiteral("pale coral"), entries), 0);
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(0).code, QStringLiteral("B-0101")); // priority 1 before 2
    QCOMPARE(entries.at(1).code, QStringLiteral("A-0301"));

    QCOMPARE(DBManager::SearchForDizevizColorEntries(QStringLiteral("d'arcy"), entries), 0);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(DBManager::SearchForDizevizColorEntries(QStringLiteral("GRÜN"), entries), 0);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.at(0).code, QStringLiteral("A-0601"));
    QCOMPARE(DBManager::SearchForDizevizColorEntries(QStringLiteral("Prairie"), entries), 0);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.at(0).code, QStringLiteral("A-0601"));
    QCOMPARE(DBManager::SearchForDizevizColorEntries(QStringLiteral("Dusty"), entries), 0);
    QVERIFY(entries.isEmpty()); // the retired deck is not installed
}

void TestSearch::chipsOfALentCardBelongToTheBorrower()
{
    // The card and its chip name the retired deck as their owner; the map
    // lends the card to deck B, through which alone the chip is found.
    DB::ColorEntry entry;
    QCOMPARE(DBManager::GetColorEntryByColorCode(QStringLiteral("lent-1"), entry), 0);
    QCOMPARE(entry.collectionId, m_idB);
    entry.reset();
    QCOMPARE(DBManager::GetColorEntryByColor(QColor(7, 8, 9), entry), 0);
    QCOMPARE(entry.collectionId, m_idB);
    entry.reset();
    QCOMPARE(DBManager::GetColorEntryByColor(deckB, QColor(7, 8, 9), entry), 0);
    QCOMPARE(entry.collectionId, m_idB);
    QCOMPARE(entry.code, QStringLiteral("LENT-1"));

    QVector<DB::ColorEntry> entries;
    QCOMPARE(DBManager::SearchForDizevizColorEntries(QStringLiteral("BORROWED"), entries), 0);
    QCOMPARE(entries.size(), 1);
    QCOMPARE(entries.at(0).collectionId, m_idB);
    QCOMPARE(entries.at(0).code, QStringLiteral("LENT-1"));
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
