// The configuration rows of a collection: settings, texts and theme items
// looked up by name or key.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"

#include <QTest>

using namespace Velmar;

namespace {

const QUuid deckA(QStringLiteral("{0000000a-0000-0000-0000-000000000001}"));
const QUuid deckB(QStringLiteral("{0000000b-0000-0000-0000-000000000002}"));
const QUuid deckC(QStringLiteral("{0000000c-0000-0000-0000-000000000003}"));
const QUuid notInstalled(QStringLiteral("{0000000f-0000-0000-0000-000000000004}"));

} // namespace

class TestConfigurationRows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void settingByName_data();
    void settingByName();
    void settingLists();
    void texts_data();
    void texts();
    void themeItems();
    void failedLookUpsAreLogged();

private:
    FixtureFolder m_folder;
};

void TestConfigurationRows::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("deck.db"));
    const qint64 a = writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
    const qint64 b = writer->addCollection(deckB, QStringLiteral("B"), QStringLiteral("Deck B"), 2, true);
    writer->addSetting(a, QStringLiteral("num.of.segments"), QStringLiteral("24"));
    writer->addSetting(b, QStringLiteral("num.of.segments"), QStringLiteral("6"));
    writer->addSetting(a, QStringLiteral("only.later.indexes"), QStringLiteral("one"), 1);
    writer->addSetting(a, QStringLiteral("only.later.indexes"), QStringLiteral("two"), 2);
    writer->addSetting(a, QStringLiteral("it's.quoted"), QStringLiteral("quote"));
    writer->addSetting(a, QStringLiteral("größe.étiquette"), QStringLiteral("12"));
    writer->addSetting(a, QStringLiteral("schemes"), QStringLiteral("dynamic"), 2);
    writer->addSetting(a, QStringLiteral("schemes"), QStringLiteral("harmonic"), 0);
    writer->addSetting(a, QStringLiteral("schemes"), QStringLiteral("contrast"), 1);
    writer->addSetting(a, QStringLiteral("schemes"), QStringLiteral("tonal neutral"), 5);

    writer->addText(a, QStringLiteral("Photoshop.SelectColor.Button"), QStringLiteral("Select colour"));
    writer->addText(b, QStringLiteral("photoshop.selectcolor.button"), QStringLiteral("Choisir"));
    writer->addText(a, QStringLiteral("user's.key"), QStringLiteral("apostrophe"));
    writer->addText(a, QStringLiteral("accent"), QStringLiteral("Crème brûlée"));
    writer->addText(a, QStringLiteral("clé.accentuée"), QStringLiteral("Île"));
    writer->exec(QStringLiteral("INSERT INTO LOCALE (COLLECTION_ID, \"KEY\", STRING) VALUES (:A, 'blob.text', X'4142')"),
                 {{QStringLiteral(":A"), a}});

    writer->addThemeItem(a, QStringLiteral("image.mto"), QByteArray("\x89PNG-bytes", 10));
    writer->addThemeItem(a, QStringLiteral("it's.an.image"), QByteArray("bytes"));
    writer->exec(QStringLiteral("INSERT INTO THEME (COLLECTION_ID, ITEM_KEY, ITEM_DATA) VALUES (:A, 'stored.as.text', '1,2,3')"),
                 {{QStringLiteral(":A"), a}});
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();

    // A file written by another tool, whose tables allow NULL values.
    auto lax = m_folder.createFile(QStringLiteral("lax.db"), false);
    const qint64 c = lax->addCollection(deckC, QStringLiteral("C"), QStringLiteral("Deck C"), 3, false);
    lax->exec(QStringLiteral("DROP TABLE SETTING"));
    lax->exec(QStringLiteral("CREATE TABLE SETTING (ID integer PRIMARY KEY, COLLECTION_ID integer, NAME text, VALUE text, "
                             "VALUE_INDEX integer DEFAULT 0)"));
    lax->exec(QStringLiteral("DROP TABLE LOCALE"));
    lax->exec(QStringLiteral("CREATE TABLE LOCALE (ID integer PRIMARY KEY, COLLECTION_ID integer, LOCALE text, "
                             "\"KEY\" text, STRING text)"));
    lax->addSetting(c, QStringLiteral("collection.enabled"), QStringLiteral("1"));
    lax->exec(QStringLiteral("INSERT INTO SETTING (COLLECTION_ID, NAME, VALUE) VALUES (:C, 'null.value', NULL)"),
              {{QStringLiteral(":C"), c}});
    lax->exec(QStringLiteral("INSERT INTO LOCALE (COLLECTION_ID, \"KEY\", STRING) VALUES (:C, 'null.text', NULL)"),
              {{QStringLiteral(":C"), c}});
    QVERIFY2(lax->isOk(), qPrintable(lax->lastError()));
    lax.reset();

    DBManager::s_installed_collections.clear();
    m_folder.activate();
}

void TestConfigurationRows::settingByName_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariant>("expected");
    QTest::newRow("exact") << deckA << "num.of.segments" << QVariant(QStringLiteral("24"));
    QTest::newRow("other case") << deckA << "NUM.OF.SEGMENTS" << QVariant(QStringLiteral("24"));
    QTest::newRow("each collection its own") << deckB << "num.of.segments" << QVariant(QStringLiteral("6"));
    QTest::newRow("apostrophe in the name") << deckA << "it's.quoted" << QVariant(QStringLiteral("quote"));
    QTest::newRow("accents, upper case") << deckA << "GRÖSSE.ÉTIQUETTE" << QVariant(QStringLiteral("12"));
    QTest::newRow("no row at index 0") << deckA << "only.later.indexes" << QVariant(-1);
    QTest::newRow("missing") << deckA << "no.such.setting" << QVariant(-1);
    QTest::newRow("stored as NULL") << deckC << "null.value" << QVariant(-1);
    QTest::newRow("not installed") << notInstalled << "num.of.segments" << QVariant(-1);
    QTest::newRow("null uuid") << QUuid() << "num.of.segments" << QVariant(-1);
}

void TestConfigurationRows::settingByName()
{
    QFETCH(QUuid, collection);
    QFETCH(QString, name);
    QFETCH(QVariant, expected);
    const QVariant value = DBManager::GetSettingsEntry(collection, name, QVariant(-1));
    QCOMPARE(value, expected);
    QCOMPARE(value.typeId(), expected.typeId()); // a found value is a text, as stored
}

void TestConfigurationRows::settingLists()
{
    const QList<QVariant> schemes = DBManager::GetSettingsEntries(deckA, QStringLiteral("Schemes"));
    QCOMPARE(schemes, (QList<QVariant>{QStringLiteral("harmonic"), QStringLiteral("contrast"), QStringLiteral("dynamic"),
                                       QStringLiteral("tonal neutral")}));
    QCOMPARE(DBManager::GetSettingsEntries(deckA, QStringLiteral("only.later.indexes")).size(), 2);
    QVERIFY(DBManager::GetSettingsEntries(deckA, QStringLiteral("missing")).isEmpty());
    QVERIFY(DBManager::GetSettingsEntries(notInstalled, QStringLiteral("schemes")).isEmpty());
}

void TestConfigurationRows::texts_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("stored in other case") << deckA << "photoshop.selectcolor.button" << "Select colour";
    QTest::newRow("each collection its own") << deckB << "photoshop.selectcolor.button" << "Choisir";
    QTest::newRow("apostrophe in the key") << deckA << "user's.key" << "apostrophe";
    QTest::newRow("accents") << deckA << "accent" << "Crème brûlée";
    QTest::newRow("accented key in upper case") << deckA << "CLÉ.ACCENTUÉE" << "Île";
    QTest::newRow("missing gives the key") << deckA << "photoshop.createswatch.button" << "photoshop.createswatch.button";
    QTest::newRow("not a text gives the key") << deckA << "blob.text" << "blob.text";
    QTest::newRow("NULL gives the key") << deckC << "null.text" << "null.text";
    QTest::newRow("not installed gives the key") << notInstalled << "accent" << "accent";
}

void TestConfigurationRows::texts()
{
    QFETCH(QUuid, collection);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(DBManager::GetLocaleEntry(collection, key), expected);
}

void TestConfigurationRows::themeItems()
{
    QByteArray bytes("left over");
    QCOMPARE(DBManager::GetThemeEntry(deckA, QStringLiteral("IMAGE.MTO"), bytes), 0);
    QCOMPARE(bytes, QByteArray("\x89PNG-bytes", 10));
    QCOMPARE(DBManager::GetThemeEntry(deckA, QStringLiteral("it's.an.image"), bytes), 0);
    QCOMPARE(bytes, QByteArray("bytes"));
    QCOMPARE(DBManager::GetThemeEntry(deckA, QStringLiteral("stored.as.text"), bytes), -1);
    QVERIFY(bytes.isEmpty());
    bytes = "left over";
    QCOMPARE(DBManager::GetThemeEntry(deckA, QStringLiteral("missing"), bytes), -1);
    QVERIFY(bytes.isEmpty());
    bytes = "left over";
    QCOMPARE(DBManager::GetThemeEntry(notInstalled, QStringLiteral("image.mto"), bytes), -4);
    QVERIFY(bytes.isEmpty());
    QCOMPARE(DBManager::GetThemeEntry(deckB, QStringLiteral("image.mto"), bytes), -1);
}

void TestConfigurationRows::failedLookUpsAreLogged()
{
    // A collection whose file lost its LOCALE table: the statement fails,
    // one line of error number and text is logged, and the key comes back.
    FixtureFolder broken;
    {
        auto writer = broken.createFile(QStringLiteral("broken.db"), false);
        writer->addCollection(deckC, QStringLiteral("C"), QStringLiteral("Deck C"), 1, true);
        QVERIFY(writer->exec(QStringLiteral("DROP TABLE LOCALE")));
        QVERIFY(writer->exec(QStringLiteral("DROP TABLE THEME")));
    }
    DBManager::s_installed_collections.clear();
    broken.activate();
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^1  :  \".*no such table: LOCALE.*\"$")));
    QCOMPARE(DBManager::GetLocaleEntry(deckC, QStringLiteral("some.key")), QStringLiteral("some.key"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("no such table: THEME")));
    QByteArray bytes;
    QCOMPARE(DBManager::GetThemeEntry(deckC, QStringLiteral("image.mto"), bytes), -1);
    DBManager::s_installed_collections.clear();
    m_folder.activate();
}

QTEST_GUILESS_MAIN(TestConfigurationRows)
#include "tst_configurationrows.moc"
