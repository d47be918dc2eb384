// The search field's suggestions looked up by the beginning of a text, one
// table of cases per behaviour on a small deck: what the field offers for a
// text is what the whole list offers for it, lower-case letters, numbers,
// blobs and a card the file does not have included, and a text typed after
// a longer one is looked up whole.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "views/SearchWidget.h"
#include "views/SuggestionModel.h"

#include <QCompleter>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QtTest>

using namespace Velmar;

namespace {

const QUuid deck(QStringLiteral("{5ea4c200-0000-0000-0000-000000000001}"));

// The suggestions of the whole list that start with the text.
QStringList wholeListStartingWith(const QString &text)
{
    QStringList whole;
    if (DBManager::GetAvailableSearchSuggestions(deck, whole) != 0)
        return QStringList{QStringLiteral("the whole list was not read")};
    QStringList matching;
    for (const QString &suggestion : qAsConst(whole)) {
        if (suggestion.startsWith(text, Qt::CaseInsensitive))
            matching << suggestion;
    }
    return matching;
}

QStringList rowsOf(const SuggestionModel &model)
{
    QStringList rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows << model.data(model.index(row)).toString();
    return rows;
}

// The chip table built again with its code and first name column of no
// type, its rows, indexes and the views over it kept.
bool untypeCodesAndNames(CollectionWriter &writer)
{
    QSqlQuery query(writer.database());
    if (!query.exec(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'table' AND name = 'ROW'")) || !query.next())
        return false;
    QString table = query.value(0).toString();
    const int typed = table.size();
    table.replace(QStringLiteral("CODE varchar(32)"), QStringLiteral("CODE"));
    table.replace(QStringLiteral("NAME0 text"), QStringLiteral("NAME0"));
    if (table.size() != typed - 17)
        return false;
    QStringList indexes;
    if (!query.exec(QStringLiteral("SELECT sql FROM sqlite_master WHERE type = 'index' AND tbl_name = 'ROW' AND sql IS NOT NULL")))
        return false;
    while (query.next())
        indexes << query.value(0).toString();
    bool done = writer.exec(QStringLiteral("PRAGMA legacy_alter_table = ON"))
        && writer.exec(QStringLiteral("ALTER TABLE \"ROW\" RENAME TO ROW_TYPED")) && writer.exec(table)
        && writer.exec(QStringLiteral("INSERT INTO \"ROW\" SELECT * FROM ROW_TYPED"))
        && writer.exec(QStringLiteral("DROP TABLE ROW_TYPED"));
    for (const QString &index : qAsConst(indexes))
        done = done && writer.exec(index);
    return done;
}

} // namespace

class TestSuggestionBeginnings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void offeredAsTheWholeListOffersThem_data();
    void offeredAsTheWholeListOffersThem();
    void aShorterTextIsLookedUpWhole_data();
    void aShorterTextIsLookedUpWhole();
    void aShorterTextTypedAfterASearch();
    void upWrapsToTheLastRow();

private:
    FixtureFolder m_folder;
};

void TestSuggestionBeginnings::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("beginnings.db"));
    const qint64 id = writer->addCollection(deck, QStringLiteral("S"), QStringLiteral("Beginnings"), 1, true);
    writer->addSettings(id, QStringLiteral("page.name.search.order"), {QStringLiteral("0")});
    writer->addSettings(id, QStringLiteral("row.name.search.order"), {QStringLiteral("0")});
    auto card = [&](int index, const QString &name) {
        CollectionWriter::Card spec;
        spec.pageIndex = index;
        spec.names = QStringList{name};
        return writer->addCard(id, spec);
    };
    auto chip = [&](qint64 page, int row, const QString &code, const QString &name) {
        CollectionWriter::Chip spec;
        spec.rowIndex = row;
        spec.code = code;
        spec.names = QStringList{name};
        return writer->addChip(id, page, spec);
    };
    // Card 1 holds the codes of card 1; its id, and its chips' ids, are 1
    // and 2 as well.
    const qint64 first = card(1, QStringLiteral("Blue Family"));
    chip(first, 1, QStringLiteral("1-001"), QStringLiteral("Blue Moon"));
    chip(first, 2, QStringLiteral("1-002"), QStringLiteral("Hazel"));
    const qint64 second = card(2, QStringLiteral("Beige Family"));
    chip(second, 1, QStringLiteral("2-001"), QStringLiteral("Beige"));
    const qint64 number = chip(second, 2, QStringLiteral("placeholder"), QStringLiteral("Grey"));
    const qint64 blob = chip(second, 3, QStringLiteral("B-3"), QStringLiteral("placeholder"));
    const qint64 real = chip(second, 4, QStringLiteral("placeholder"), QStringLiteral("Mist"));
    // Codes and names of no declared type, as some files have them, so
    // that numbers stay numbers.
    QVERIFY(untypeCodesAndNames(*writer));
    // A code stored as a number, a name as a blob, a code as a real number.
    writer->exec(QStringLiteral("UPDATE \"ROW\" SET CODE = 4711 WHERE ID = %1").arg(number));
    writer->exec(QStringLiteral("UPDATE \"ROW\" SET NAME0 = CAST('Bronze Blob' AS BLOB) WHERE ID = %1").arg(blob));
    writer->exec(QStringLiteral("UPDATE \"ROW\" SET CODE = 2.5 WHERE ID = %1").arg(real));
    // More suggestions of T than a screenful, the last two equal but for
    // case.
    const qint64 third = card(3, QStringLiteral("Card of T"));
    for (int row = 1; row <= 70; ++row)
        chip(third, row, QStringLiteral("T-%1").arg(row, 3, 10, QLatin1Char('0')), QString());
    chip(third, 71, QStringLiteral("TZ-1"), QStringLiteral("Tzar"));
    chip(third, 72, QStringLiteral("TZ-2"), QStringLiteral("TZAR"));
    // The map names a card the file does not have, whose chips are stored.
    const qint64 missing = second + 1000;
    writer->mapCard(id, missing);
    chip(missing, 1, QStringLiteral("GHOST-1"), QStringLiteral("Ghost Chip"));
    const qint64 ghostNumber = chip(missing, 2, QStringLiteral("placeholder"), QStringLiteral("Ghost Number"));
    QVERIFY(ghostNumber > 0);
    writer->exec(QStringLiteral("UPDATE \"ROW\" SET CODE = 999 WHERE ID = %1").arg(ghostNumber));
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();

    DBManager::s_installed_collections.clear();
    QCOMPARE(Global::InitializePrerequisites(QString(), m_folder.lookupFolder()), 0);
    Settings::setUuidOfLastUsedCollection(deck);
    DBManager::selectedCollectionChanged(deck);
}

void TestSuggestionBeginnings::offeredAsTheWholeListOffersThem_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("offered");
    QTest::addColumn<QStringList>("notOffered");

    // Letters compared without regard to case, Z and z too.
    QTest::newRow("lower-case z") << "HAZ" << QStringList{"Hazel"} << QStringList();
    QTest::newRow("upper-case letters") << "bl" << QStringList{"Blue Family", "Blue Moon"} << QStringList{"Bronze Blob"};
    // Codes that begin with a digit, not the numbers of cards or chips.
    QTest::newRow("a digit") << "1" << QStringList{"1-001", "1-002"} << QStringList{"1", "2"};
    QTest::newRow("another digit") << "2" << QStringList{"2-001", "2.5"} << QStringList{"2", "4711"};
    // Numbers and blobs for their beginning, and only for it.
    QTest::newRow("a number's beginning") << "47" << QStringList{"4711"} << QStringList();
    QTest::newRow("a number's whole text") << "4711" << QStringList{"4711"} << QStringList();
    QTest::newRow("not a number's beginning") << "48" << QStringList() << QStringList{"4711"};
    QTest::newRow("a blob's beginning") << "BRO" << QStringList{"Bronze Blob"} << QStringList{"Blue Moon"};
    QTest::newRow("a letter no number begins") << "B" << QStringList{"Beige", "Bronze Blob", "B-3"}
                                             << QStringList{"4711", "2.5"};
    // The chips of a card the file does not have are no suggestion.
    QTest::newRow("a card the file does not have") << "G" << QStringList{"Grey"} << QStringList{"Ghost Chip", "GHOST-1"};
    QTest::newRow("a number on a card the file does not have") << "9" << QStringList() << QStringList{"999"};
    QTest::newRow("more than a screenful, the last equal but for case") << "t" << QStringList{"T-001", "Tzar", "TZAR"}
                                                                          << QStringList();
    QTest::newRow("nothing begins with it") << "Q" << QStringList() << QStringList();
}

void TestSuggestionBeginnings::offeredAsTheWholeListOffersThem()
{
    QFETCH(QString, text);
    QFETCH(QStringList, offered);
    QFETCH(QStringList, notOffered);
    const QStringList expected = wholeListStartingWith(text);
    for (const QString &suggestion : offered)
        QVERIFY2(expected.contains(suggestion), qPrintable(suggestion));
    for (const QString &suggestion : notOffered)
        QVERIFY2(!expected.contains(suggestion), qPrintable(suggestion));

    // Looked up on its own, all at once, by the field's model as a key is
    // typed, and in a window of one row at either end.
    QStringList alone;
    bool firstKnown = false;
    bool orderKnown = false;
    QCOMPARE(DBManager::GetSearchSuggestionsStartingWith(deck, text, alone, firstKnown, orderKnown), 0);
    bool tied = false;
    for (qsizetype i = 1; i < expected.size(); ++i)
        tied = tied || expected.at(i - 1).compare(expected.at(i), Qt::CaseInsensitive) == 0;
    QCOMPARE(orderKnown, !tied);
    if (orderKnown)
        QCOMPARE(alone, expected);
    SuggestionModel model(deck);
    model.showStartingWith(text);
    QVERIFY(!model.hasWholeList());
    const QStringList rows = rowsOf(model);
    QCOMPARE(model.showsEveryRow(), !tied);
    QCOMPARE(rows.mid(0, model.firstRows()), expected.mid(0, model.firstRows()));
    QCOMPARE(rows.mid(model.firstRows()), expected.mid(expected.size() - (rows.size() - model.firstRows())));
    if (!tied)
        QCOMPARE(rows, expected);
    SuggestionSelection::Window window;
    QCOMPARE(DBManager::GetSearchSuggestionWindow(deck, text, 1, QString(), QString(), window), 0);
    // All of them when they are few, else the first and the last but for
    // texts equal but for case.
    QCOMPARE(window.complete, expected.size() <= SuggestionSelection::s_everyPerLimit);
    if (window.complete) {
        QCOMPARE(window.first, expected);
    } else {
        const bool lastTied = expected.at(expected.size() - 2).compare(expected.last(), Qt::CaseInsensitive) == 0;
        QCOMPARE(window.first, expected.mid(0, 1));
        QCOMPARE(window.last, lastTied ? QStringList() : expected.mid(expected.size() - 1));
    }
}

void TestSuggestionBeginnings::aShorterTextIsLookedUpWhole_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("a shorter text after a longer one") << QStringList{"BLUE", "B"};
    QTest::newRow("a longer text, then the first letter") << QStringList{"B", "BLUE M", "B"};
    QTest::newRow("another beginning after a longer text") << QStringList{"BLUE", "BE"};
    QTest::newRow("longer and longer") << QStringList{"B", "BL", "BLUE", "BLUE MOON"};
}

void TestSuggestionBeginnings::aShorterTextIsLookedUpWhole()
{
    // Each text shows the rows of the whole list, whatever text came before.
    QFETCH(QStringList, texts);
    SuggestionModel model(deck);
    for (const QString &text : qAsConst(texts)) {
        model.showStartingWith(text);
        QCOMPARE(rowsOf(model), wholeListStartingWith(text));
    }
}

void TestSuggestionBeginnings::aShorterTextTypedAfterASearch()
{
    // "BLUE" searched with Return, then "B" typed: the field completes
    // from every suggestion that starts with B.
    SearchWidget bar;
    bar.show();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    bar.textField()->setFocus();
    QSignalSpy searched(&bar, SIGNAL(searchForPhrase(QString)));
    QTest::keyClicks(bar.textField(), QStringLiteral("blue"));
    // Backspace takes the completion away.
    QTest::keyClick(bar.textField(), Qt::Key_Backspace);
    QTest::keyClick(bar.textField(), Qt::Key_Return);
    QCOMPARE(searched.count(), 1);
    QCOMPARE(searched.at(0).at(0).toString(), QStringLiteral("BLUE"));
    // Return took the focus away: the user clicks back into the field.
    bar.textField()->setFocus();
    QTest::keyClick(bar.textField(), Qt::Key_B);
    QCOMPARE(bar.textField()->text(), wholeListStartingWith(QStringLiteral("B")).value(0).toUpper());
    QCOMPARE(bar.textField()->selectedText(), bar.textField()->text().mid(1));
}

void TestSuggestionBeginnings::upWrapsToTheLastRow()
{
    // Ctrl+Up from the first suggestion of T goes to the last one, which
    // only the whole list puts in its place, and back with Ctrl+Down.
    const QStringList expected = wholeListStartingWith(QStringLiteral("T"));
    QVERIFY(expected.size() > 2 * SuggestionModel::s_screenful);
    SearchWidget bar;
    bar.show();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    bar.textField()->setFocus();
    QTest::keyClick(bar.textField(), Qt::Key_T);
    QCOMPARE(bar.textField()->text(), expected.first().toUpper());
    QTest::keyClick(bar.textField(), Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(bar.textField()->completer()->currentCompletion(), expected.last());
    QTest::keyClick(bar.textField(), Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(bar.textField()->completer()->currentCompletion(), expected.at(expected.size() - 2));
    QTest::keyClick(bar.textField(), Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(bar.textField(), Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(bar.textField()->completer()->currentCompletion(), expected.first());
}

QTEST_MAIN(TestSuggestionBeginnings)
#include "tst_suggestionbeginnings.moc"
