// Suggestions, card walks and chip look-ups on generated decks are what the
// statements they replaced gave: those statements are kept, word for word,
// in ReferenceStatements, and run on a connection of the test's own. What a
// thread reads ahead on a connection of its own is what the interface reads.
//
// By default the big deck has 1,400 chips; HUEFORM_GENERATED_CHIPS sets
// another count (the walks then start from a sample of the cards), for
// example 100000 for a run by hand.

#include "FixtureFolder.h"
#include "GeneratedCollection.h"
#include "ReferenceStatements.h"
#include "TestEnvironment.h"

#include "database/CollectionFileConnection.h"
#include "database/DBManager.h"
#include "plugin/CollectionReadAhead.h"
#include "services/ColorManager.h"
#include "views/SuggestionCompleter.h"
#include "views/SuggestionModel.h"

#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

#include <memory>

using namespace Velmar;

namespace {

const QUuid borrowerDeck(QStringLiteral("{6e0c2a71-22b4-4f10-8c02-0000000000b0}"));
const QString referenceConnection = QStringLiteral("reference");

QSqlDatabase reference()
{
    return QSqlDatabase::database(referenceConnection);
}

// What a test compares of a chip: every field the views read.
QString describe(const DB::ColorEntry &chip)
{
    return QStringLiteral("%1 c%2 p%3 r%4 %5 %6 | %7 | %8 %9,%10,%11 mto%12 n%13 w%14 m%15 s%16/%17")
        .arg(chip.id)
        .arg(chip.collectionId)
        .arg(chip.pageId)
        .arg(chip.rowIndex)
        .arg(chip.code, chip.names.join(QLatin1Char('/')), chip.extras.join(QLatin1Char('/')))
        .arg(chip.segment)
        .arg(chip.red)
        .arg(chip.green)
        .arg(chip.blue)
        .arg(chip.isMto)
        .arg(chip.neutral)
        .arg(chip.white)
        .arg(chip.mood)
        .arg(chip.schemePos)
        .arg(chip.nSchemePos);
}

QStringList describe(const QVector<ColorMatchEntry> &table)
{
    QStringList lines;
    for (const ColorMatchEntry &entry : table)
        lines << QStringLiteral("%1 %2 %3 %4").arg(entry.rowId).arg(entry.L, 0, 'g', 17).arg(entry.a, 0, 'g', 17).arg(entry.b, 0, 'g', 17);
    return lines;
}

QStringList describe(const DB::ColorPage &card)
{
    QStringList lines{QStringLiteral("card %1 #%2 s%3 ext%4 m%5 %6 | %7")
                          .arg(card.id)
                          .arg(card.pageIndex)
                          .arg(card.segment)
                          .arg(card.exterior)
                          .arg(card.mood)
                          .arg(card.names.join(QLatin1Char('/')), card.extras.join(QLatin1Char('/')))};
    for (const DB::ColorEntry &chip : card.entries)
        lines << describe(chip);
    return lines;
}

} // namespace

// As the search field does before its text field takes a key.
class MovePreparer : public QObject
{
public:
    explicit MovePreparer(SuggestionCompleter *completer)
        : m_completer(completer)
    {
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress)
            m_completer->prepareMove(*static_cast<QKeyEvent *>(event));
        return QObject::eventFilter(watched, event);
    }

private:
    SuggestionCompleter *m_completer;
};

class TestGeneratedDecks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void suggestionsAsBefore_data();
    void suggestionsAsBefore();
    void suggestionsOfAPrefixAsBefore_data();
    void suggestionsOfAPrefixAsBefore();
    void movingThroughTheSuggestions_data();
    void movingThroughTheSuggestions();
    void cardWalksAsBefore_data();
    void cardWalksAsBefore();
    void cardsAndChipsByIndexAsBefore_data();
    void cardsAndChipsByIndexAsBefore();
    void readAheadAsTheInterfaceReads_data();
    void readAheadAsTheInterfaceReads();
    void readAheadLeavesOutWhatIsAskedForFirst();
    void readsGiveUpOnAThreadAskedToStop_data();
    void readsGiveUpOnAThreadAskedToStop();

private:
    // Every beginning of a sample of the suggestions, as typed and as the
    // field upper-cases it, and texts nothing begins with.
    static QStringList prefixesOf(const QStringList &suggestions);
    void addDeckRows();
    void addSearchOrderRows();
    // The deck selected, searched in the columns given.
    static void selectWithSearchOrders(const QUuid &deck, const QVector<qint64> &pageOrder,
                                       const QVector<qint64> &rowOrder);
    // A chip's own colour, the same two steps off in green, and a red that
    // no chip comes near.
    QVector<QColor> coloursToMatch(const QUuid &deck) const;
    CollectionReadAhead::Request readAheadRequest(const QUuid &deck) const;
    qint64 collectionIdOf(const QUuid &deck) const;
    // The page indexes a walk starts from: those of fifteen cards or so
    // spread over the deck, the gaps after them, and both ends.
    QVector<int> startingPageIndexes(const QUuid &deck) const;

    FixtureFolder m_folder;
    int m_chips = 1400;
};

void TestGeneratedDecks::initTestCase()
{
    TestEnvironment::isolate();
    const QByteArray chips = qgetenv("HUEFORM_GENERATED_CHIPS");
    if (!chips.isEmpty())
        m_chips = chips.toInt();
    QVERIFY(m_chips > 0);
    auto writer = m_folder.createFile(QStringLiteral("generated.db"));
    QVERIFY2(GeneratedCollection::write(*writer, m_chips), qPrintable(writer->lastError()));

    // A deck of its own cards and of every tenth card of the big deck,
    // lent to it through the map: cards of two owners share page indexes.
    const qint64 big = writer->collectionId(GeneratedCollection::bigDeckUuid(m_chips));
    const qint64 borrower = writer->addCollection(borrowerDeck, QStringLiteral("BORROWER"), QStringLiteral("Borrower"), 5, true);
    writer->addSettings(borrower, QStringLiteral("page.name.search.order"), {QStringLiteral("0"), QStringLiteral("1")});
    writer->addSettings(borrower, QStringLiteral("row.name.search.order"), {QStringLiteral("0"), QStringLiteral("1")});
    for (int page = 1; page <= 6; ++page) {
        CollectionWriter::Card card;
        card.pageIndex = page * 3;
        card.segment = page * 2;
        card.mood = page;
        card.exterior = page % 2 == 0;
        card.names = QStringList{QStringLiteral("Borrower %1").arg(page), QStringLiteral("Emprunteur %1").arg(page)};
        const qint64 pageId = writer->addCard(borrower, card);
        for (int row = 1; row <= 3; ++row) {
            CollectionWriter::Chip chip;
            chip.rowIndex = row;
            chip.code = QStringLiteral("BO-%1%2").arg(page).arg(row);
            chip.names = QStringList{QStringLiteral("Misty Harbour"), QStringLiteral("Port brumeux %1").arg(row)};
            chip.segment = card.segment;
            writer->addChip(borrower, pageId, chip);
        }
    }
    QSqlQuery bigCards(writer->database());
    QVERIFY(bigCards.exec(QStringLiteral("SELECT ID FROM PAGE WHERE COLLECTION_ID = %1 AND ID % 10 = 0").arg(big)));
    QVector<qint64> lent;
    while (bigCards.next())
        lent.append(bigCards.value(0).toLongLong());
    for (qint64 pageId : qAsConst(lent))
        writer->mapCard(borrower, pageId);
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();

    QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), referenceConnection);
    connection.setDatabaseName(m_folder.filePath(QStringLiteral("generated.db")));
    connection.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    QVERIFY(connection.open());

    DBManager::s_installed_collections.clear();
    m_folder.activate();
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
}

void TestGeneratedDecks::cleanupTestCase()
{
    QSqlDatabase::database(referenceConnection).close();
    QSqlDatabase::removeDatabase(referenceConnection);
}

qint64 TestGeneratedDecks::collectionIdOf(const QUuid &deck) const
{
    return DBManager::GetCollectionIdByUuid(deck);
}

void TestGeneratedDecks::addDeckRows()
{
    QTest::newRow("big deck") << GeneratedCollection::bigDeckUuid(m_chips);
    QTest::newRow("small deck beside it") << GeneratedCollection::smallDeckUuid(m_chips);
    QTest::newRow("deck with lent cards") << borrowerDeck;
}

void TestGeneratedDecks::suggestionsAsBefore_data()
{
    addSearchOrderRows();
}

void TestGeneratedDecks::addSearchOrderRows()
{
    QTest::addColumn<QUuid>("deck");
    QTest::addColumn<QVector<qint64>>("pageOrder");
    QTest::addColumn<QVector<qint64>>("rowOrder");
    const QVector<qint64> both{0, 1};
    const QVector<qint64> none;
    const QVector<QPair<const char *, QPair<QVector<qint64>, QVector<qint64>>>> setups{
        {"card and chip names", {both, both}},
        {"chip names only", {none, both}},
        {"card names only", {both, none}},
        {"codes only", {none, none}},
        {"a column twice and one that does not exist", {{1, 1, 12}, {1, -1}}},
    };
    const QVector<QPair<const char *, QUuid>> decks{{"big deck", GeneratedCollection::bigDeckUuid(m_chips)},
                                                    {"small deck", GeneratedCollection::smallDeckUuid(m_chips)},
                                                    {"deck with lent cards", borrowerDeck}};
    for (const auto &deck : decks) {
        for (const auto &setup : setups) {
            QTest::addRow("%s, %s", deck.first, setup.first) << deck.second << setup.second.first << setup.second.second;
        }
    }
}

void TestGeneratedDecks::selectWithSearchOrders(const QUuid &deck, const QVector<qint64> &pageOrder,
                                                const QVector<qint64> &rowOrder)
{
    DBManager::selectedCollectionChanged(deck);
    DBManager::s_page_name_search_order = pageOrder;
    DBManager::s_row_name_search_order = rowOrder;
}

void TestGeneratedDecks::suggestionsAsBefore()
{
    QFETCH(QUuid, deck);
    QFETCH(QVector<qint64>, pageOrder);
    QFETCH(QVector<qint64>, rowOrder);
    selectWithSearchOrders(deck, pageOrder, rowOrder);
    QStringList suggestions;
    QCOMPARE(DBManager::GetAvailableSearchSuggestions(deck, suggestions), 0);
    const QStringList expected = ReferenceStatements::suggestions(reference(), collectionIdOf(deck), pageOrder, rowOrder);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(suggestions.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i)
        QVERIFY2(suggestions.at(i) == expected.at(i),
                 qPrintable(QStringLiteral("at %1: %2 instead of %3").arg(i).arg(suggestions.at(i), expected.at(i))));
}

void TestGeneratedDecks::suggestionsOfAPrefixAsBefore_data()
{
    addSearchOrderRows();
}

QStringList TestGeneratedDecks::prefixesOf(const QStringList &suggestions)
{
    QStringList prefixes{QStringLiteral("zq"), QStringLiteral("\u00e9"), QStringLiteral("-")};
    const int step = qMax(1, int(suggestions.size() / 40));
    for (int i = 0; i < suggestions.size(); i += step) {
        const QString &text = suggestions.at(i);
        for (int length = 1; length <= text.size(); ++length) {
            prefixes << text.left(length) << text.left(length).toUpper();
        }
        prefixes << text + QStringLiteral(" x");
    }
    // Texts that others equal but for case, and a beginning of each.
    int tied = 0;
    for (int i = 1; i < suggestions.size() && tied < 20; ++i) {
        if (suggestions.at(i - 1).compare(suggestions.at(i), Qt::CaseInsensitive) == 0) {
            prefixes << suggestions.at(i) << suggestions.at(i).left(suggestions.at(i).size() - 1);
            ++tied;
        }
    }
    prefixes.removeDuplicates();
    return prefixes;
}

void TestGeneratedDecks::suggestionsOfAPrefixAsBefore()
{
    // For each text: the rows of the whole list that start with it, the
    // suggestions looked up for it alone and the rows the field's model
    // shows as it is typed, held against the list the replaced statements
    // give and against Qt's own completer over that list.
    QFETCH(QUuid, deck);
    QFETCH(QVector<qint64>, pageOrder);
    QFETCH(QVector<qint64>, rowOrder);
    selectWithSearchOrders(deck, pageOrder, rowOrder);
    const QStringList expectedList = ReferenceStatements::suggestions(reference(), collectionIdOf(deck), pageOrder, rowOrder);
    QVERIFY(!expectedList.isEmpty());
    SuggestionList whole;
    QCOMPARE(DBManager::GetAvailableSearchSuggestions(deck, whole), 0);
    QCOMPARE(whole.size(), int(expectedList.size()));
    QCompleter completer(expectedList);
    completer.setCompletionMode(QCompleter::InlineCompletion);
    completer.setCaseSensitivity(Qt::CaseInsensitive);

    // The suggestions of the list that start with the text, in its order.
    const auto startingWith = [&expectedList](const QString &prefix) {
        QStringList matching;
        for (const QString &suggestion : expectedList) {
            if (suggestion.startsWith(prefix, Qt::CaseInsensitive))
                matching << suggestion;
        }
        return matching;
    };

    int ties = 0;
    for (const QString &prefix : prefixesOf(expectedList)) {
        const QStringList expected = startingWith(prefix);
        completer.setCompletionPrefix(prefix);
        QCOMPARE(completer.completionCount(), int(expected.size()));
        QCOMPARE(completer.currentCompletion(), expected.value(0));

        const QPair<int, int> rows = whole.rowsStartingWith(prefix);
        QStringList inWhole;
        for (int row = rows.first; row < rows.second; ++row)
            inWhole << whole.at(row).toString();
        QVERIFY2(inWhole == expected, qPrintable(prefix));

        bool orderKnown = true;
        for (qsizetype i = 1; i < expected.size(); ++i)
            orderKnown = orderKnown && expected.at(i - 1).compare(expected.at(i), Qt::CaseInsensitive) != 0;
        const bool firstKnown = expected.size() < 2 || expected.at(0).compare(expected.at(1), Qt::CaseInsensitive) != 0;
        ties += orderKnown ? 0 : 1;
        QStringList alone;
        bool aloneFirstKnown = false;
        bool aloneOrderKnown = false;
        QCOMPARE(DBManager::GetSearchSuggestionsStartingWith(deck, prefix, alone, aloneFirstKnown, aloneOrderKnown), 0);
        QCOMPARE(aloneFirstKnown, firstKnown);
        QCOMPARE(aloneOrderKnown, orderKnown);
        if (orderKnown)
            QVERIFY2(alone == expected, qPrintable(prefix));
        else if (firstKnown)
            QVERIFY2(alone.first() == expected.first(), qPrintable(prefix));
        // The window one pass gives: a beginning and an end of the list
        // of the text, as long as no tie or the limit stops them.
        // A small limit, so that the texts a few hundred suggestions start
        // are not all kept.
        SuggestionSelection::Window window;
        const int limit = 4;
        QCOMPARE(DBManager::GetSearchSuggestionWindow(deck, prefix, limit, QString(), QString(), window), 0);
        const qsizetype count = expected.size();
        qsizetype firstTie = count;
        qsizetype lastTie = 0;
        for (qsizetype i = 1; i < count; ++i) {
            if (expected.at(i - 1).compare(expected.at(i), Qt::CaseInsensitive) == 0) {
                firstTie = qMin(firstTie, i - 1);
                lastTie = i + 1;
            }
        }
        QVERIFY2(window.first == expected.mid(0, window.first.size()), qPrintable(prefix));
        QVERIFY2(window.last == expected.mid(count - window.last.size()), qPrintable(prefix));
        QVERIFY2(window.first.size() + window.last.size() <= count, qPrintable(prefix));
        QCOMPARE(window.complete, window.first.size() == count);
        // Codes alone are all read; else the pass keeps every text while
        // they are few.
        const bool codesOnly = pageOrder.isEmpty() && rowOrder.isEmpty();
        QCOMPARE(window.complete, firstTie == count && (codesOnly || count <= limit * SuggestionSelection::s_everyPerLimit));
        if (!window.complete) {
            QVERIFY2(window.first.size() >= qMin<qsizetype>(limit, firstTie), qPrintable(prefix));
            QVERIFY2(window.last.size() >= qMin<qsizetype>(limit, count - lastTie), qPrintable(prefix));
        }

        QStringList sortedAlone = alone;
        QStringList sortedExpected = expected;
        sortedAlone.sort();
        sortedExpected.sort();
        QVERIFY2(sortedAlone == sortedExpected, qPrintable(prefix));
    }
    // Where the generated names and codes repeat some in another case, the
    // texts they start are among those tried.
    bool listHasTies = false;
    for (int i = 1; i < expectedList.size(); ++i)
        listHasTies = listHasTies || expectedList.at(i - 1).compare(expectedList.at(i), Qt::CaseInsensitive) == 0;
    QCOMPARE(ties > 0, listHasTies);

    // Typed key by key into the field's model, which looks up the longer
    // texts among the rows of the shorter ones and reads the whole list
    // only where their order decides.
    const int step = qMax(1, int(expectedList.size() / 25));
    for (int i = 0; i < expectedList.size(); i += step) {
        SuggestionModel model(deck);
        model.setScreenful(4);
        const QString text = expectedList.at(i).toUpper();
        for (int length = 1; length <= text.size(); ++length) {
            const QString prefix = text.left(length);
            model.showStartingWith(prefix);
            const QStringList expected = startingWith(prefix);
            QStringList shown;
            for (int row = 0; row < model.rowCount(); ++row)
                shown << model.data(model.index(row)).toString();
            if (model.showsEveryRow()) {
                QVERIFY2(shown == expected, qPrintable(prefix));
            } else {
                const int first = model.firstRows();
                QVERIFY2(first > 0, qPrintable(prefix));
                QVERIFY2(shown == expected.mid(0, first) + expected.mid(expected.size() - (shown.size() - first)),
                         qPrintable(prefix));
            }
        }
        model.showEveryRow();
        QVERIFY(model.showsEveryRow());
    }
}

void TestGeneratedDecks::movingThroughTheSuggestions_data()
{
    QTest::addColumn<QString>("letter");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("moves");
    // Codes first, a tie between a code and its copy in lower case about
    // the hundredth; names, some equal but for case near their beginning.
    QTest::newRow("G, down past the ties") << "G" << int(Qt::Key_Down) << 110;
    QTest::newRow("G, up from the end") << "G" << int(Qt::Key_Up) << 75;
    QTest::newRow("M, down") << "M" << int(Qt::Key_Down) << 75;
    QTest::newRow("S, up from the end") << "S" << int(Qt::Key_Up) << 75;
}

void TestGeneratedDecks::movingThroughTheSuggestions()
{
    // Ctrl+Up and Ctrl+Down through the field's completer go row by row through the
    // whole list's suggestions of the text, wrapping at its ends, whether
    // the rows were looked up at first, as the user moved on or once the
    // whole list was read.
    QFETCH(QString, letter);
    QFETCH(int, key);
    QFETCH(int, moves);
    const QUuid deck = GeneratedCollection::bigDeckUuid(m_chips);
    const QVector<qint64> both{0, 1};
    selectWithSearchOrders(deck, both, both);
    QStringList expected;
    for (const QString &suggestion : ReferenceStatements::suggestions(reference(), collectionIdOf(deck), both, both)) {
        if (suggestion.startsWith(letter, Qt::CaseInsensitive))
            expected << suggestion;
    }
    QVERIFY(expected.size() > moves);

    // A field that completes as the search field does, its model looking
    // up four rows at a time at either end, so that most moves reach rows
    // not shown yet.
    QLineEdit field;
    auto *model = new SuggestionModel(deck);
    model->setScreenful(4);
    auto *completer = new SuggestionCompleter(model, &field);
    field.setCompleter(completer);
    MovePreparer preparer(completer);
    field.installEventFilter(&preparer);
    field.show();
    QVERIFY(QTest::qWaitForWindowActive(&field));
    field.setFocus();
    QTest::keyClicks(&field, letter);
    QCOMPARE(completer->currentCompletion(), expected.first());
    const int count = int(expected.size());
    int row = 0;
    for (int move = 1; move <= moves; ++move) {
        QTest::keyClick(&field, Qt::Key(key), Qt::ControlModifier);
        row = (row + (key == Qt::Key_Down ? 1 : -1) + count) % count;
        QVERIFY2(completer->currentCompletion() == expected.at(row),
                 qPrintable(QStringLiteral("move %1: %2 instead of %3").arg(move).arg(completer->currentCompletion(), expected.at(row))));
        QCOMPARE(field.text(), letter + expected.at(row).mid(letter.size()));
    }
    // Plain Up and Down move nothing.
    QTest::keyClick(&field, Qt::Key(key));
    QCOMPARE(completer->currentCompletion(), expected.at(row));
}

QVector<int> TestGeneratedDecks::startingPageIndexes(const QUuid &deck) const
{
    QSqlQuery query(reference());
    query.exec(QStringLiteral("SELECT P.PAGE_INDEX FROM PAGE P JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                              "WHERE CMAP.COLLECTION_ID = %1 ORDER BY P.PAGE_INDEX")
                   .arg(collectionIdOf(deck)));
    QVector<int> indexes;
    while (query.next())
        indexes.append(query.value(0).toInt());
    QVector<int> starts{0, 1};
    const int step = qMax<int>(1, indexes.size() / 15);
    for (int i = 0; i < indexes.size(); i += step)
        starts << indexes.at(i) << indexes.at(i) + 1;
    if (!indexes.isEmpty())
        starts << indexes.constLast() << indexes.constLast() + 1;
    return starts;
}

void TestGeneratedDecks::cardWalksAsBefore_data()
{
    QTest::addColumn<QUuid>("deck");
    addDeckRows();
}

void TestGeneratedDecks::cardWalksAsBefore()
{
    // Every mood filter, with and without the exterior filter, both ways.
    QFETCH(QUuid, deck);
    DBManager::selectedCollectionChanged(deck);
    const qint64 id = collectionIdOf(deck);
    for (int page : startingPageIndexes(deck)) {
        for (int mood = MoodNone; mood <= MoodAll; ++mood) {
            for (bool exterior : {false, true}) {
                for (Direction direction : {DirectionForward, DirectionBackward}) {
                    const QString step = QStringLiteral("from %1, mood %2, exterior %3, direction %4")
                                             .arg(page)
                                             .arg(mood)
                                             .arg(exterior)
                                             .arg(int(direction));
                    DB::ColorPage expected;
                    const int expectedStatus = ReferenceStatements::nextCard(reference(), id, page, direction, Mood(mood), exterior, expected);
                    DB::ColorPage card;
                    card.pageIndex = -99;
                    QCOMPARE(DBManager::FindNextCardByIndex(deck, page, direction, Mood(mood), exterior, card),
                             expectedStatus);
                    int index = -99;
                    QCOMPARE(DBManager::FindNextCardByIndex(deck, page, direction, Mood(mood), exterior, index),
                             expectedStatus);
                    if (expectedStatus != 0) {
                        QVERIFY2(card.pageIndex == -99 && index == -99, qPrintable(step));
                        continue;
                    }
                    QVERIFY2(describe(card) == describe(expected), qPrintable(step));
                    QVERIFY2(index == expected.pageIndex, qPrintable(step));
                }
            }
        }
    }
}

void TestGeneratedDecks::cardsAndChipsByIndexAsBefore_data()
{
    QTest::addColumn<QUuid>("deck");
    addDeckRows();
}

void TestGeneratedDecks::cardsAndChipsByIndexAsBefore()
{
    QFETCH(QUuid, deck);
    DBManager::selectedCollectionChanged(deck);
    const qint64 id = collectionIdOf(deck);
    for (int page : startingPageIndexes(deck)) {
        DB::ColorPage expected;
        const int expectedStatus = ReferenceStatements::cardByIndex(reference(), id, page, expected);
        DB::ColorPage card;
        card.pageIndex = -99;
        QCOMPARE(DBManager::GetColorPageByIndex(deck, page, card), expectedStatus);
        if (expectedStatus == 0)
            QCOMPARE(describe(card), describe(expected));
        else
            QCOMPARE(card.pageIndex, -99);
        for (int row = 0; row <= 8; ++row) {
            DB::ColorEntry expectedChip;
            const int expectedChipStatus = ReferenceStatements::chip(reference(), id, page, row, expectedChip);
            DB::ColorEntry chip;
            chip.code = QStringLiteral("stale");
            QCOMPARE(DBManager::GetColorEntryByPageAndRowIndex(deck, page, row, chip), expectedChipStatus);
            QCOMPARE(describe(chip), describe(expectedChip));
        }
    }
}

QVector<QColor> TestGeneratedDecks::coloursToMatch(const QUuid &deck) const
{
    QSqlQuery query(reference());
    query.exec(QStringLiteral("SELECT R.RED, R.GREEN, R.BLUE FROM \"ROW\" R JOIN PAGE P ON R.PAGE_ID = P.ID "
                              "JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %1 "
                              "ORDER BY R.ID LIMIT 1 OFFSET 17")
                   .arg(collectionIdOf(deck)));
    QVector<QColor> colours{QColor(255, 0, 0)};
    if (query.next()) {
        const QColor chip(query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt());
        colours << chip << QColor(chip.red(), chip.green() > 127 ? chip.green() - 2 : chip.green() + 2, chip.blue());
    }
    return colours;
}

CollectionReadAhead::Request TestGeneratedDecks::readAheadRequest(const QUuid &deck) const
{
    CollectionReadAhead::Request request;
    request.collection = deck;
    request.filePath = DBManager::s_installed_collections.value(deck).databaseName;
    request.collectionId = collectionIdOf(deck);
    request.pageNameSearchOrder = DBManager::s_page_name_search_order;
    request.rowNameSearchOrder = DBManager::s_row_name_search_order;
    request.matchTable = true;
    request.suggestions = true;
    return request;
}

void TestGeneratedDecks::readAheadAsTheInterfaceReads_data()
{
    addSearchOrderRows();
}

void TestGeneratedDecks::readAheadAsTheInterfaceReads()
{
    QFETCH(QUuid, deck);
    QFETCH(QVector<qint64>, pageOrder);
    QFETCH(QVector<qint64>, rowOrder);
    selectWithSearchOrders(deck, pageOrder, rowOrder);
    QVector<ColorMatchEntry> table;
    QCOMPARE(DBManager::GetAllColorMatchEntryFor(deck, table), 0);
    QVERIFY(!table.isEmpty());
    const QStringList suggestions = ReferenceStatements::suggestions(reference(), collectionIdOf(deck), pageOrder, rowOrder);

    const QVector<QColor> colours = coloursToMatch(deck);
    QCOMPARE(colours.size(), 3);
    int exactChips = 0;
    int offers = 0;
    for (const QColor &colour : colours) {
        CollectionReadAhead::Request request = readAheadRequest(deck);
        request.pickColor = colour;
        request.pickCandidates = 6;
        CollectionReadAhead readAhead(request);
        readAhead.start();
        QVERIFY(readAhead.wait(120000));

        QVector<ColorMatchEntry> readTable;
        QVERIFY(readAhead.takeMatchTable(readTable));
        QCOMPARE(describe(readTable), describe(table));

        // As the pick looks the colour up.
        DB::ColorEntry exact;
        const int exactStatus = DBManager::GetColorEntryByColor(deck, colour, exact);
        QVector<QPair<double, qint64>> matches;
        if (exactStatus != 0)
            ColorManager::MatchColor(ColorManager::fromRgb(colour), table, matches, 6);
        CollectionReadAhead::NearestChips nearest;
        QVERIFY(!readAhead.takeNearestChips(QColor(1, 2, 3), nearest));
        QVERIFY(readAhead.takeNearestChips(colour, nearest));
        QCOMPARE(nearest.exactStatus, exactStatus);
        QCOMPARE(describe(nearest.exact), describe(exact));
        QCOMPARE(nearest.matches, matches);
        exactChips += exactStatus == 0 ? 1 : 0;
        offers += matches.size() > 1 ? 1 : 0;

        SuggestionList read;
        QVERIFY(readAhead.takeSuggestions(read));
        const QStringList readSuggestions = read.toStringList();
        QCOMPARE(readSuggestions.size(), suggestions.size());
        for (int i = 0; i < suggestions.size(); ++i)
            QVERIFY2(readSuggestions.at(i) == suggestions.at(i),
                     qPrintable(QStringLiteral("at %1: %2 instead of %3").arg(i).arg(readSuggestions.at(i), suggestions.at(i))));

        // Each result is given once.
        QVERIFY(!readAhead.takeMatchTable(readTable));
        QVERIFY(!readAhead.takeSuggestions(read));
    }
    // The chip's own colour is found within the tolerance, the red offers candidates.
    QVERIFY(exactChips >= 1);
    QVERIFY(offers >= 1);
}

void TestGeneratedDecks::readAheadLeavesOutWhatIsAskedForFirst()
{
    const QUuid deck = GeneratedCollection::bigDeckUuid(m_chips);
    DBManager::selectedCollectionChanged(deck);
    CollectionReadAhead::Request request = readAheadRequest(deck);
    request.pickColor = QColor(255, 0, 0);
    request.pickCandidates = 6;
    CollectionReadAhead readAhead(request);
    // Asked for before the thread has begun it: the caller reads it, and
    // the thread leaves it out.
    SuggestionList suggestions;
    QVERIFY(!readAhead.takeSuggestions(suggestions));
    readAhead.start();
    QVERIFY(readAhead.wait(120000));
    QVERIFY(!readAhead.takeSuggestions(suggestions));
    QVERIFY(suggestions.isEmpty());
    QVector<ColorMatchEntry> table;
    QVERIFY(readAhead.takeMatchTable(table));
    QVERIFY(!table.isEmpty());

    // A cancelled one reads nothing more, and gives nothing it read.
    CollectionReadAhead cancelled(readAheadRequest(deck));
    cancelled.start();
    QVERIFY(cancelled.wait(120000));
    cancelled.cancel();
    QVERIFY(!cancelled.takeSuggestions(suggestions));
    QVERIFY(!cancelled.takeMatchTable(table));

    CollectionReadAhead stopped(readAheadRequest(deck));
    stopped.cancel();
    stopped.start();
    QVERIFY(stopped.wait(120000));
    QVERIFY(!stopped.takeMatchTable(table));
    QVERIFY(!stopped.takeSuggestions(suggestions));
}

void TestGeneratedDecks::readsGiveUpOnAThreadAskedToStop_data()
{
    QTest::addColumn<QVector<qint64>>("order");
    QTest::newRow("names and codes") << QVector<qint64>{0, 1};
    QTest::newRow("codes only") << QVector<qint64>();
}

void TestGeneratedDecks::readsGiveUpOnAThreadAskedToStop()
{
    QFETCH(QVector<qint64>, order);
    const QUuid deck = GeneratedCollection::bigDeckUuid(m_chips);
    const qint64 id = collectionIdOf(deck);
    const QString path = DBManager::s_installed_collections.value(deck).databaseName;
    int suggestionsStatus = 0;
    int tableStatus = 0;
    QStringList suggestions{QStringLiteral("stale")};
    QVector<ColorMatchEntry> table(3);
    std::unique_ptr<QThread> thread(QThread::create([&] {
        QThread::currentThread()->requestInterruption();
        const QString name = QStringLiteral("asked to stop");
        {
            QSqlDatabase file = CollectionFileConnection::add(name, path);
            if (CollectionFileConnection::open(file)) {
                suggestionsStatus = DBManager::GetAvailableSearchSuggestions(file, id, order, order, suggestions);
                tableStatus = DBManager::GetAllColorMatchEntryFor(file, id, table);
            }
        }
        CollectionFileConnection::remove(name);
    }));
    thread->start();
    QVERIFY(thread->wait(120000));
    QCOMPARE(suggestionsStatus, -1);
    QVERIFY(suggestions.isEmpty());
    QCOMPARE(tableStatus, -1);
    QVERIFY(table.isEmpty());
}

QTEST_MAIN(TestGeneratedDecks)
#include "tst_generateddecks.moc"
