// Phrase search, search suggestions and the colour look-ups by code, colour,
// id and Dizeviz name.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"
#include "database/SuggestionOrder.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

using namespace Velmar;

namespace {

const QUuid deckA(QStringLiteral("{0000000a-0000-0000-0000-000000000001}"));
const QUuid deckB(QStringLiteral("{0000000b-0000-0000-0000-000000000002}"));
const QUuid retired(QStringLiteral("{0000000d-0000-0000-0000-000000000003}"));
const QUuid notInstalled(QStringLiteral("{0000000f-0000-0000-0000-000000000004}"));
const QUuid sharingDecks[] = {QUuid(QStringLiteral("{5ea00000-0000-0000-0000-000000000001}")),
                              QUuid(QStringLiteral("{5ea00000-0000-0000-0000-000000000002}")),
                              QUuid(QStringLiteral("{5ea00000-0000-0000-0000-000000000003}")),
                              QUuid(QStringLiteral("{5ea00000-0000-0000-0000-000000000004}")),
                              QUuid(QStringLiteral("{5ea00000-0000-0000-0000-000000000005}"))};

// Letters whose folding is not their lower case, letters beyond the BMP
// with and without a case, and the code units next to them.
QStringList trickyTexts()
{
    return QStringList{QString(),
                       QStringLiteral("a"),
                       QStringLiteral("A"),
                       QStringLiteral("ab"),
                       QStringLiteral("AB-1234"),
                       QStringLiteral("ab-1234"),
                       QStringLiteral("Misty Harbour"),
                       QStringLiteral("MISTY HARBOUR"),
                       QStringLiteral("Misty_Harbour"),
                       QStringLiteral("Crème brûlée"),
                       QStringLiteral("CRÈME BRÛLÉE"),
                       QStringLiteral("Creme"),
                       QStringLiteral("Weiß"),
                       QStringLiteral("WEISS"),
                       QStringLiteral("weiss"),
                       QStringLiteral("ΣΟΦΊΑ"),
                       QStringLiteral("σοφία"),
                       QStringLiteral("ς"),
                       QStringLiteral("σ"),
                       QStringLiteral("\u017F"), // long s, folded to s
                       QStringLiteral("s"),
                       QStringLiteral("\u00B5"), // micro sign, folded to mu
                       QStringLiteral("\u03BC"),
                       QStringLiteral("İstanbul"),
                       QStringLiteral("istanbul"),
                       QStringLiteral("ıstanbul"),
                       QStringLiteral("\u212A"), // Kelvin sign, folded to k
                       QStringLiteral("k"),
                       QStringLiteral("\u01C5"), // Dž as a title-case letter
                       QStringLiteral("\u01C6"),
                       QStringLiteral("\uE000"),
                       QStringLiteral("\uFFFD"),
                       QString::fromUcs4(U"\U00010400"), // Deseret capital, folded to U+10428
                       QString::fromUcs4(U"\U00010428"),
                       QString::fromUcs4(U"\U0001D400"),
                       QString::fromUcs4(U"x\U00010400y"),
                       QString::fromUcs4(U"x\U00010428z"),
                       QString(QChar(0xD801)), // a high surrogate alone
                       QString(QChar(0xDC00)) + QLatin1Char('x')};
}

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
    void suggestionsCompareWithoutCaseAsQString_data();
    void suggestionsCompareWithoutCaseAsQString();
    void suggestionsSortAsStdSortWithQString();
    void suggestionValuesInTheFilesOrder_data();
    void suggestionValuesInTheFilesOrder();
    void chipByCode_data();
    void chipByCode();
    void chipByExactColour();
    void chipByNearColour_data();
    void chipByNearColour();
    void chipById();
    void chipsByIds();
    void colourMatchCandidates();
    void dizevizSearch_data();
    void dizevizSearch();
    void chipsOfALentCardBelongToTheBorrower();
    void aSharedChipIsTheCurrentCollections_data();
    void aSharedChipIsTheCurrentCollections();

private:
    FixtureFolder m_folder;
    // Decks that share a card, in a lookup folder of their own.
    FixtureFolder m_sharingFolder;
    qint64 m_idA = -1;
    qint64 m_idB = -1;
    qint64 m_idRetired = -1;
    qint64 m_greyChip = -1;
    qint64 m_chipOfB = -1;
    int m_chipsOfA = 0;
};

// Back to the fixture's decks when a test that scanned another folder ends.
struct BackToTheDecks {
    const FixtureFolder &folder;
    ~BackToTheDecks()
    {
        DBManager::s_installed_collections.clear();
        folder.activate();
    }
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
    // Two priority rows: B counts once, with the lower.
    writer->addSettings(m_idB, QStringLiteral("dizeviz.priority"), {QStringLiteral("4"), QStringLiteral("1")});
    writer->addSetting(m_idRetired, QStringLiteral("dizeviz.enabled"), QStringLiteral("1"));
    writer->addSetting(m_idRetired, QStringLiteral("dizeviz.priority"), QStringLiteral("0"));
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();

    DBManager::s_installed_collections.clear();
    m_folder.activate();

    // Deck 1 owns a card and lends it to deck 2; deck 3 holds no such chip.
    // Decks 4 and 5, in another file, have the ids of decks 1 and 2 and a
    // chip of the same code and colour.
    auto sharing = m_sharingFolder.createFile(QStringLiteral("sharing.db"));
    CollectionWriter::Chip shared;
    shared.code = QStringLiteral("SHARED-9");
    shared.red = 31;
    shared.green = 32;
    shared.blue = 33;
    const qint64 owner = sharing->addCollection(sharingDecks[0], QStringLiteral("S1"), QStringLiteral("Deck 1"), 1, true);
    const qint64 sharedCard = sharing->addCard(owner, CollectionWriter::Card());
    sharing->addChip(owner, sharedCard, shared);
    const qint64 borrower = sharing->addCollection(sharingDecks[1], QStringLiteral("S2"), QStringLiteral("Deck 2"), 2, true);
    QVERIFY(sharing->mapCard(borrower, sharedCard));
    const qint64 third = sharing->addCollection(sharingDecks[2], QStringLiteral("S3"), QStringLiteral("Deck 3"), 3, true);
    sharing->addChip(third, sharing->addCard(third, CollectionWriter::Card()), CollectionWriter::Chip());
    QVERIFY2(sharing->isOk(), qPrintable(sharing->lastError()));
    auto elsewhere = m_sharingFolder.createFile(QStringLiteral("elsewhere.db"), false);
    for (int i = 3; i <= 4; ++i) {
        const qint64 deck = elsewhere->addCollection(sharingDecks[i], QStringLiteral("S%1").arg(i + 1),
                                                     QStringLiteral("Deck %1").arg(i + 1), i + 1, true);
        elsewhere->addChip(deck, elsewhere->addCard(deck, CollectionWriter::Card()), shared);
    }
    QVERIFY2(elsewhere->isOk(), qPrintable(elsewhere->lastError()));
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

void TestSearch::suggestionsCompareWithoutCaseAsQString_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    const QStringList texts = trickyTexts();
    for (const QString &left : texts) {
        for (const QString &right : texts)
            QTest::addRow("%s | %s", qPrintable(left.toUtf8().toHex()), qPrintable(right.toUtf8().toHex())) << left << right;
    }
}

void TestSearch::suggestionsCompareWithoutCaseAsQString()
{
    // The suggestions' final sort needs the very answers of the comparison
    // it replaced, or equal-looking texts would change places.
    QFETCH(QString, left);
    QFETCH(QString, right);
    QCOMPARE(SuggestionOrder::lessCaseInsensitive(left, right), left.compare(right, Qt::CaseInsensitive) < 0);
}

void TestSearch::suggestionsSortAsStdSortWithQString()
{
    // Many texts equal but for case, in a mixed order: the sort keeps them
    // in the places the plain sort with QString's comparison leaves them.
    QStringList texts;
    for (const QString &text : trickyTexts())
        texts << text << text.toUpper() << text.toLower() << text + QLatin1Char('1') << text.toUpper() + QLatin1Char('1');
    for (int i = 0; i < texts.size(); ++i)
        texts.swapItemsAt(i, (i * 7919) % texts.size());
    QStringList expected = texts;
    std::sort(expected.begin(), expected.end(), [](const QString &left, const QString &right) {
        return left.compare(right, Qt::CaseInsensitive) < 0;
    });
    SuggestionOrder::sortCaseInsensitively(texts);
    QCOMPARE(texts, expected);

    // Sorted and made distinct by code point, as the file's BINARY order;
    // texts from a file are whole UTF-16, without a lone surrogate.
    QStringList distinct;
    for (const QString &text : qAsConst(expected)) {
        if (QStringView(text).isValidUtf16())
            distinct << text;
    }
    const QStringList byCodePointInput = distinct;
    SuggestionOrder::sortDistinctByCodePoint(distinct);
    QStringList byCodePoint;
    for (const QString &text : QSet<QString>(byCodePointInput.cbegin(), byCodePointInput.cend()))
        byCodePoint << text;
    std::sort(byCodePoint.begin(), byCodePoint.end(), [](const QString &left, const QString &right) {
        return left.toUcs4() < right.toUcs4();
    });
    QCOMPARE(distinct, byCodePoint);
}

void TestSearch::suggestionValuesInTheFilesOrder_data()
{
    QTest::addColumn<bool>("ignoringAsciiCase");
    QTest::newRow("BINARY") << false;
    QTest::newRow("NOCASE") << true;
}

void TestSearch::suggestionValuesInTheFilesOrder()
{
    // What SQLite orders and finds distinct, compareValues orders and finds
    // equal: numbers, texts of every plane, blobs.
    QFETCH(bool, ignoringAsciiCase);
    QSqlDatabase memory = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("order"));
    memory.setDatabaseName(QStringLiteral(":memory:"));
    QVERIFY(memory.open());
    {
        QSqlQuery query(memory);
        QVERIFY(query.exec(QStringLiteral("CREATE TABLE T (V)")));
        const QVariantList values{QStringLiteral("b"), QStringLiteral("B"), QStringLiteral("_"), QStringLiteral("a"),
                                  QStringLiteral("ab"), QStringLiteral("AB"), QStringLiteral("é"), QStringLiteral("É"),
                                  QStringLiteral("\uE000"), QStringLiteral("\uFFFD"), QString::fromUcs4(U"\U00010400"),
                                  QString::fromUcs4(U"\U0001D400z"), QStringLiteral("z"), QStringLiteral(""),
                                  QByteArray("b"), QByteArray("a"), QByteArray(""), qlonglong(12), 3.5, qlonglong(-4)};
        QVERIFY(query.prepare(QStringLiteral("INSERT INTO T (V) VALUES (?)")));
        for (const QVariant &value : values) {
            query.bindValue(0, value);
            QVERIFY(query.exec());
        }
        const QString collation = ignoringAsciiCase ? QStringLiteral("NOCASE") : QStringLiteral("BINARY");
        QVERIFY(query.exec(QStringLiteral("SELECT V FROM T ORDER BY V COLLATE %1").arg(collation)));
        QVariantList ordered;
        while (query.next())
            ordered.append(query.value(0));
        QCOMPARE(ordered.size(), values.size());
        for (int i = 1; i < ordered.size(); ++i) {
            QVERIFY2(SuggestionOrder::compareValues(ordered.at(i - 1), ordered.at(i), ignoringAsciiCase) <= 0,
                     qPrintable(QStringLiteral("%1 before %2").arg(ordered.at(i - 1).toString(), ordered.at(i).toString())));
        }
        QVERIFY(query.exec(QStringLiteral("SELECT COUNT(DISTINCT V COLLATE %1) FROM T").arg(collation)));
        QVERIFY(query.next());
        QSet<QString> keys;
        for (const QVariant &value : values)
            keys.insert(SuggestionOrder::distinctKey(value, ignoringAsciiCase));
        QCOMPARE(keys.size(), query.value(0).toInt());
    }
    memory.close();
    memory = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("order"));
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

void TestSearch::dizevizSearch_data()
{
    QTest::addColumn<bool>("viewOfEarlierFiles");
    QTest::newRow("the view as files are written now") << false;
    // The view listed a collection once for each of its priority rows.
    QTest::newRow("the view as earlier files hold it") << true;
}

void TestSearch::dizevizSearch()
{
    QFETCH(bool, viewOfEarlierFiles);
    const BackToTheDecks backToTheDecks{m_folder};
    FixtureFolder earlier;
    if (viewOfEarlierFiles) {
        QVERIFY(QFile::copy(m_folder.filePath(QStringLiteral("decks.db")), earlier.filePath(QStringLiteral("decks.db"))));
        {
            QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("earlier"));
            file.setDatabaseName(earlier.filePath(QStringLiteral("decks.db")));
            QVERIFY(file.open());
            QSqlQuery query(file);
            QVERIFY(query.exec(QStringLiteral("DROP VIEW DIZEVIZ_COLLECTION_IDS_BY_PRIORITY")));
            QVERIFY(query.exec(QStringLiteral(
                "CREATE VIEW DIZEVIZ_COLLECTION_IDS_BY_PRIORITY AS "
                "SELECT P.COLLECTION_ID AS COLLECTION_ID, IFNULL(CAST(P.VALUE AS integer), 999) AS PRIORITY "
                "FROM SETTING P WHERE P.NAME = 'dizeviz.priority' AND P.COLLECTION_ID IN ("
                "SELECT E.COLLECTION_ID FROM SETTING E WHERE E.NAME = 'dizeviz.enabled' AND CAST(E.VALUE AS integer) = 1) "
                "ORDER BY PRIORITY ASC")));
            file.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("earlier"));
        DBManager::s_installed_collections.clear();
        earlier.activate();
        QCOMPARE(DBManager::HasInstalledCollections(), 1);
    }
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

void TestSearch::aSharedChipIsTheCurrentCollections_data()
{
    QTest::addColumn<int>("current");  // index into sharingDecks; -1: none
    QTest::addColumn<int>("reported"); // -1: as without a current collection
    QTest::newRow("the deck that owns the card") << 0 << 0;
    QTest::newRow("the deck it is lent to") << 1 << 1;
    QTest::newRow("a deck without the chip") << 2 << -1;
    QTest::newRow("a deck of another file with the owner's id") << 3 << -1;
    QTest::newRow("a deck of another file with the borrower's id") << 4 << -1;
    QTest::newRow("none") << -1 << -1;
}

void TestSearch::aSharedChipIsTheCurrentCollections()
{
    QFETCH(int, current);
    QFETCH(int, reported);
    const BackToTheDecks backToTheDecks{m_folder};
    DBManager::s_installed_collections.clear();
    m_sharingFolder.activate();
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    const QUuid currentDeck = current < 0 ? QUuid() : sharingDecks[current];

    // Reported by the look-ups as ids of the system-wide collection's file.
    const auto reportedDeck = [](const DB::ColorEntry &entry) {
        return DBManager::GetCollectionUuidById(DBStructure::SystemWideCollectionUuid, entry.collectionId);
    };
    DB::ColorEntry byCode;
    DB::ColorEntry byColour;
    DB::ColorEntry without;
    QCOMPARE(DBManager::GetColorEntryByColorCode(QStringLiteral("shared-9"), byCode, currentDeck), 0);
    QCOMPARE(DBManager::GetColorEntryByColor(QColor(31, 32, 33), byColour, currentDeck), 0);
    QCOMPARE(DBManager::GetColorEntryByColorCode(QStringLiteral("shared-9"), without), 0);
    const QUuid expected = reported < 0 ? reportedDeck(without) : sharingDecks[reported];
    QCOMPARE(reportedDeck(byCode), expected);
    QCOMPARE(reportedDeck(byColour), expected);
    QCOMPARE(byCode.id, without.id);
    QCOMPARE(byColour.id, without.id);
}

QTEST_GUILESS_MAIN(TestSearch)
#include "tst_search.moc"
