// The collection records: how each one takes its columns from a row, and
// the text form of a chip reference.

#include "database/Collection.h"
#include "database/ColorEntry.h"
#include "database/ColorPage.h"
#include "database/HuecastEntry.h"
#include "database/HuecastGroup.h"
#include "database/ItemIndex.h"
#include "database/Texture.h"
#include "database/TextureMap.h"

#include <QBuffer>
#include <QImage>
#include <QPointF>
#include <QSqlDatabase>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace Velmar;

class TestRecords : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void colorEntryDefaults();
    void colorEntryFromRow();
    void colorEntryKeepsDefaultsForMissingAndUnconvertibleColumns();
    void moodIsKeptOnlyForTheSixMoods_data();
    void moodIsKeptOnlyForTheSixMoods();
    void firstColumnOfARepeatedNameWins();
    void namesAndExtrasAlwaysHoldTen();
    void colorEntryResetAndCopy();

    void colorPageValidity_data();
    void colorPageValidity();
    void colorPageFromRow();

    void collectionFromRow();
    void textureDecodesItsImage();
    void textureMapFromRow();
    void huecastEntryRowIdAndColour();
    void huecastGroupEntryById();

    void itemIndexRoundTrip();
    void itemIndexRejectsMalformedTexts_data();
    void itemIndexRejectsMalformedTexts();

private:
    QSqlRecord row(const QString &select);
    QSqlDatabase m_db;
};

void TestRecords::initTestCase()
{
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("records"));
    m_db.setDatabaseName(QStringLiteral(":memory:"));
    QVERIFY(m_db.open());
}

void TestRecords::cleanupTestCase()
{
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("records"));
}

// A row as SQLite's driver delivers it, so NULLs and types are the real ones.
QSqlRecord TestRecords::row(const QString &select)
{
    QSqlQuery query(m_db);
    if (!query.exec(select) || !query.next()) {
        qWarning() << "fixture statement failed:" << select;
        return QSqlRecord();
    }
    return query.record();
}

void TestRecords::colorEntryDefaults()
{
    const DB::ColorEntry entry;
    QCOMPARE(entry.id, qint64(-1));
    QCOMPARE(entry.collectionId, qint64(-1));
    QCOMPARE(entry.pageId, qint64(-1));
    QCOMPARE(entry.rowIndex, -1);
    QCOMPARE(entry.segment, -1);
    QCOMPARE(entry.red, -1);
    QCOMPARE(entry.schemePos, -1);
    QCOMPARE(entry.nSchemePos, -1);
    QCOMPARE(entry.mood, 0);
    QVERIFY(entry.code.isEmpty());
    QVERIFY(entry.names.isEmpty());
    QVERIFY(!entry.isMto);
    QVERIFY(entry.isValid());
}

void TestRecords::colorEntryFromRow()
{
    const DB::ColorEntry entry(row(QStringLiteral(
        "SELECT 41 AS ID, 3 AS COLLECTION_ID, 9 AS PAGE_ID, 4 AS ROW_INDEX, 'DI-0104' AS CODE, 'Pale Coral' AS NAME0, "
        "'Corail pâle' AS NAME1, 'LRV 82' AS EXTRA0, 2 AS SEGMENT, 250 AS RED, 128 AS GREEN, 114 AS BLUE, "
        "67.5 AS L, 42.25 AS A, -3.5 AS B, 1 AS IS_MTO, 0 AS NEUTRAL, 7 AS WHITE, 4 AS MOOD, 2 AS SCHEME_POS, "
        "-1 AS NSCHEME_POS")));
    QCOMPARE(entry.id, qint64(41));
    QCOMPARE(entry.collectionId, qint64(3));
    QCOMPARE(entry.pageId, qint64(9));
    QCOMPARE(entry.rowIndex, 4);
    QCOMPARE(entry.code, QStringLiteral("DI-0104"));
    QCOMPARE(entry.name(0), QStringLiteral("Pale Coral"));
    QCOMPARE(entry.name(1), QStringLiteral("Corail pâle"));
    QCOMPARE(entry.extra(0), QStringLiteral("LRV 82"));
    QCOMPARE(entry.segment, 2);
    QCOMPARE(QColor(entry.red, entry.green, entry.blue), QColor(250, 128, 114));
    QCOMPARE(entry.L, 67.5);
    QCOMPARE(entry.a, 42.25);
    QCOMPARE(entry.b, -3.5);
    QVERIFY(entry.isMto);
    QVERIFY(!entry.neutral);
    QVERIFY(entry.white); // any int but 0 is true
    QCOMPARE(entry.mood, 4);
    QCOMPARE(entry.schemePos, 2);
    QCOMPARE(entry.nSchemePos, -1);
}

void TestRecords::colorEntryKeepsDefaultsForMissingAndUnconvertibleColumns()
{
    // A plain ROW row: one NAME column, no IS_MTO; SQLite NULLs for numbers
    // count as present and give 0.
    QTest::ignoreMessage(QtDebugMsg, "Oops.");
    const DB::ColorEntry entry(row(QStringLiteral("SELECT 5 AS ID, NULL AS PAGE_ID, 'abc' AS ROW_INDEX, 'x' AS NAME")));
    QCOMPARE(entry.id, qint64(5));
    QCOMPARE(entry.collectionId, qint64(-1));
    QCOMPARE(entry.pageId, qint64(0));
    QCOMPARE(entry.rowIndex, 0); // convertible type, failed conversion
    QCOMPARE(entry.segment, -1);
    QVERIFY(!entry.isMto);
    QCOMPARE(entry.name(0), QString());

    // A value of a type that does not convert at all leaves the default.
    QSqlRecord record;
    QSqlField field(QStringLiteral("SEGMENT"), QMetaType::fromType<QPointF>());
    field.setValue(QPointF(1, 2));
    record.append(field);
    QSqlField collection(QStringLiteral("COLLECTION_ID"), QMetaType::fromType<qint64>());
    collection.setValue(qint64(8));
    record.append(collection);
    const DB::ColorEntry odd(record);
    QCOMPARE(odd.segment, -1);
    QCOMPARE(odd.collectionId, qint64(8));
    QCOMPARE(odd.id, qint64(-1)); // no ID column
}

void TestRecords::moodIsKeptOnlyForTheSixMoods_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("expected");
    QTest::newRow("none") << "0" << 0;
    QTest::newRow("fresh") << "1" << 1;
    QTest::newRow("neutral") << "6" << 6;
    QTest::newRow("all moods filter value") << "7" << 0;
    QTest::newRow("beyond") << "9" << 0;
    QTest::newRow("negative") << "-2" << 0;
    QTest::newRow("null") << "NULL" << 0;
}

void TestRecords::moodIsKeptOnlyForTheSixMoods()
{
    QFETCH(QString, stored);
    QFETCH(int, expected);
    const QSqlRecord record = row(QStringLiteral("SELECT 1 AS ID, 1 AS COLLECTION_ID, %1 AS MOOD, 1 AS PAGE_INDEX, "
                                                 "1 AS SEGMENT").arg(stored));
    QCOMPARE(DB::ColorEntry(record).mood, expected);
    QCOMPARE(DB::ColorPage(record).mood, expected);
}

void TestRecords::firstColumnOfARepeatedNameWins()
{
    // As in "SELECT R.*, ... FROM ROW R JOIN PAGE P": the chip's columns come
    // first and must win over the card's columns of the same name.
    const DB::ColorEntry entry(row(QStringLiteral("SELECT 10 AS ID, 1 AS COLLECTION_ID, 3 AS SEGMENT, 'chip' AS NAME0, "
                                                  "20 AS ID, 7 AS SEGMENT, 'card' AS NAME0")));
    QCOMPARE(entry.id, qint64(10));
    QCOMPARE(entry.segment, 3);
    QCOMPARE(entry.name(0), QStringLiteral("chip"));
}

void TestRecords::namesAndExtrasAlwaysHoldTen()
{
    const DB::ColorEntry entry(row(QStringLiteral("SELECT 1 AS ID, 1 AS COLLECTION_ID, 'two' AS NAME2, 'nine' AS EXTRA9")));
    QCOMPARE(entry.names.size(), 10);
    QCOMPARE(entry.extras.size(), 10);
    QCOMPARE(entry.name(2), QStringLiteral("two"));
    QCOMPARE(entry.extra(9), QStringLiteral("nine"));
    QCOMPARE(entry.name(3), QString());
    QCOMPARE(entry.name(10), QString());
    QCOMPARE(entry.name(-1), QString());
    QCOMPARE(entry.extra(10), QString());

    const DB::ColorPage page(row(QStringLiteral("SELECT 1 AS ID, 'card' AS NAME0")));
    QCOMPARE(page.names.size(), 10);
    QCOMPARE(page.extras.size(), 10);
    QCOMPARE(page.name(0), QStringLiteral("card"));
}

void TestRecords::colorEntryResetAndCopy()
{
    DB::ColorEntry entry(row(QStringLiteral("SELECT 3 AS ID, 1 AS COLLECTION_ID, 'C' AS CODE, 'e0' AS EXTRA0, "
                                            "'e5' AS EXTRA5, 2 AS MOOD")));
    const DB::ColorEntry copy = entry;
    entry.reset();
    QCOMPARE(entry.id, qint64(-1));
    QVERIFY(entry.code.isEmpty());
    QVERIFY(entry.extras.isEmpty());
    QCOMPARE(entry.mood, 0);
    QCOMPARE(copy.extras.size(), 10);
    QCOMPARE(copy.extra(5), QStringLiteral("e5"));
    QCOMPARE(copy.code, QStringLiteral("C"));

    // Reading a row replaces everything the entry held before.
    entry = copy;
    entry.fromSqlRecord(row(QStringLiteral("SELECT 4 AS ID, 2 AS COLLECTION_ID")));
    QCOMPARE(entry.id, qint64(4));
    QVERIFY(entry.code.isEmpty());
    QCOMPARE(entry.mood, 0);
    QCOMPARE(entry.extra(5), QString());
}

void TestRecords::colorPageValidity_data()
{
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<int>("segment");
    QTest::addColumn<bool>("valid");
    QTest::newRow("both set") << 1 << 1 << true;
    QTest::newRow("no segment") << 3 << 0 << false;
    QTest::newRow("no index") << 0 << 4 << false;
}

void TestRecords::colorPageValidity()
{
    QFETCH(int, pageIndex);
    QFETCH(int, segment);
    QFETCH(bool, valid);
    DB::ColorPage page;
    QVERIFY(!page.isValid()); // a default card is invalid although its id is 0
    QCOMPARE(page.id, qint64(0));
    page.pageIndex = pageIndex;
    page.segment = segment;
    QCOMPARE(page.isValid(), valid);
}

void TestRecords::colorPageFromRow()
{
    const DB::ColorPage page(row(QStringLiteral("SELECT 12 AS ID, 5 AS PAGE_INDEX, 3 AS SEGMENT, 1 AS EXTERIOR, 2 AS MOOD, "
                                                "'Coral Family' AS NAME0, 'Card 2 of 24' AS EXTRA0")));
    QCOMPARE(page.id, qint64(12));
    QCOMPARE(page.pageIndex, 5);
    QCOMPARE(page.segment, 3);
    QVERIFY(page.exterior);
    QCOMPARE(page.mood, 2);
    QCOMPARE(page.name(0), QStringLiteral("Coral Family"));
    QCOMPARE(page.extra(0), QStringLiteral("Card 2 of 24"));
    QVERIFY(page.entries.isEmpty());

    const DB::ColorPage withoutId(row(QStringLiteral("SELECT 5 AS PAGE_INDEX")));
    QCOMPARE(withoutId.id, qint64(-1));
}

void TestRecords::collectionFromRow()
{
    const DB::Collection collection(row(QStringLiteral(
        "SELECT 2 AS ID, '{5a1c0d3e-7b42-4c1e-9a10-3f6d2b810401}' AS UUID, 'DEMO' AS SYSTEMID, 3 AS VERSION, "
        "'Dimora' AS NAME, 4 AS \"ORDER\"")));
    QCOMPARE(collection.id, qint64(2));
    QCOMPARE(collection.uuid, QUuid(QStringLiteral("{5a1c0d3e-7b42-4c1e-9a10-3f6d2b810401}")));
    QCOMPARE(collection.systemId, QStringLiteral("DEMO"));
    QCOMPARE(collection.version, qint64(3));
    QCOMPARE(collection.name, QStringLiteral("Dimora"));
    QCOMPARE(collection.order, 4);

    const DB::Collection badUuid(row(QStringLiteral("SELECT 2 AS ID, 'not a uuid' AS UUID")));
    QVERIFY(badUuid.uuid.isNull());
    QVERIFY(badUuid.isValid());
}

void TestRecords::textureDecodesItsImage()
{
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(image.save(&buffer, "PNG"));

    QSqlQuery query(m_db);
    QVERIFY(query.prepare(QStringLiteral("SELECT 7 AS ID, 2 AS COLLECTION_ID, 'linen' AS NAME, 0.5 AS BASE_ALPHA, :IMAGE AS IMAGE")));
    query.bindValue(QStringLiteral(":IMAGE"), png);
    QVERIFY(query.exec() && query.next());
    const DB::Texture texture(query.record());
    QCOMPARE(texture.id, qint64(7));
    QCOMPARE(texture.collectionId, qint64(2));
    QCOMPARE(texture.name, QStringLiteral("linen"));
    QCOMPARE(texture.baseAlpha, 0.5);
    QCOMPARE(texture.image.size(), QSize(4, 3));

    const DB::Texture broken(row(QStringLiteral("SELECT 8 AS ID, 2 AS COLLECTION_ID, X'00010203' AS IMAGE")));
    QVERIFY(broken.image.isNull());

    QTest::ignoreMessage(QtDebugMsg, "Oops.");
    const DB::Texture orphan(row(QStringLiteral("SELECT 9 AS ID")));
    QVERIFY(orphan.isValid());

    const DB::Texture none;
    QCOMPARE(none.id, qint64(0));
    QVERIFY(none.isValid());
    QVERIFY(none.image.isNull());
}

void TestRecords::textureMapFromRow()
{
    const DB::TextureMap map(row(QStringLiteral("SELECT 3 AS TEXTURE_ID, 11 AS PAGE_ID, 0.75 AS ALPHA, 'weave' AS NAME")));
    QCOMPARE(map.textureId, qint64(3));
    QCOMPARE(map.pageId, qint64(11));
    QCOMPARE(map.alpha, 0.75);
    QCOMPARE(map.name, QStringLiteral("weave"));
}

void TestRecords::huecastEntryRowIdAndColour()
{
    const DB::HuecastEntry entry(row(QStringLiteral("SELECT 4 AS ID, 17 AS ROW_ID, 'Dusk' AS NAME_1, 'Crépuscule' AS NAME_2, "
                                                    "10 AS RED, 20 AS GREEN, 30 AS BLUE, 2 AS \"ORDER\"")));
    QCOMPARE(entry.rowId, qint64(17));
    QCOMPARE(entry.name2, QStringLiteral("Crépuscule"));
    QCOMPARE(entry.color, QColor(10, 20, 30));
    QCOMPARE(entry.order, 2);

    QCOMPARE(DB::HuecastEntry(row(QStringLiteral("SELECT 4 AS ID, NULL AS ROW_ID"))).rowId, qint64(0));
    const DB::HuecastEntry noRow(row(QStringLiteral("SELECT 4 AS ID")));
    QCOMPARE(noRow.rowId, qint64(-1));
    QVERIFY(!noRow.color.isValid());
}

void TestRecords::huecastGroupEntryById()
{
    DB::HuecastGroup group(row(QStringLiteral("SELECT 2 AS ID, 'Spring' AS NAME, 1 AS DEFAULT_OPEN, 3 AS \"ORDER\"")));
    QCOMPARE(group.name, QStringLiteral("Spring"));
    QVERIFY(group.defaultOpen);
    QCOMPARE(group.order, 3);

    DB::HuecastEntry first;
    first.id = 5;
    first.order = 2;
    DB::HuecastEntry second;
    second.id = 6;
    second.order = 1;
    group.entries << first << second;
    QCOMPARE(group.entryById(6).order, 1);

    const DB::HuecastEntry &missing = group.entryById(99);
    QCOMPARE(missing.id, qint64(0));
    QCOMPARE(missing.rowId, qint64(-1));
    QVERIFY(!missing.color.isValid());
    QCOMPARE(&missing, &DB::HuecastGroup().entryById(1)); // one shared default, not a temporary

    QVERIFY(second < first);
    DB::HuecastGroup later;
    later.order = 4;
    QVERIFY(group < later);
}

void TestRecords::itemIndexRoundTrip()
{
    DB::ItemIndex index;
    QVERIFY(index.collection.isNull());
    QCOMPARE(index.pageId, qint64(-1));
    QCOMPARE(index.entryId, qint64(-1));

    index.collection = QUuid(QStringLiteral("{5a1c0d3e-7b42-4c1e-9a10-3f6d2b810401}"));
    index.pageId = 12;
    index.entryId = 345;
    const QString text = index.toString();
    QCOMPARE(text, QStringLiteral("ItemIndex({5a1c0d3e-7b42-4c1e-9a10-3f6d2b810401},12,345)"));

    const DB::ItemIndex parsed(text);
    QCOMPARE(parsed.collection, index.collection);
    QCOMPARE(parsed.pageId, qint64(12));
    QCOMPARE(parsed.entryId, qint64(345));
}

void TestRecords::itemIndexRejectsMalformedTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<qint64>("pageId");
    QTest::addColumn<qint64>("entryId");
    const QUuid uuid(QStringLiteral("{5a1c0d3e-7b42-4c1e-9a10-3f6d2b810401}"));
    QTest::newRow("two parts") << "ItemIndex({5a1c0d3e-7b42-4c1e-9a10-3f6d2b810401},12)" << QUuid() << qint64(-1) << qint64(-1);
    QTest::newRow("lower-case prefix") << "itemindex({5a1c0d3e-7b42-4c1e-9a10-3f6d2b810401},12,3)" << QUuid() << qint64(-1) << qint64(-1);
    QTest::newRow("no closing bracket") << "ItemIndex({5a1c0d3e-7b42-4c1e-9a10-3f6d2b810401},12,3" << QUuid() << qint64(-1) << qint64(-1);
    QTest::newRow("empty") << "" << QUuid() << qint64(-1) << qint64(-1);
    QTest::newRow("prefix only") << "ItemIndex()" << QUuid() << qint64(-1) << qint64(-1);
    QTest::newRow("not a number") << "ItemIndex({5a1c0d3e-7b42-4c1e-9a10-3f6d2b810401},x,3)" << uuid << qint64(0) << qint64(3);
    QTest::newRow("empty parts dropped") << "ItemIndex({5a1c0d3e-7b42-4c1e-9a10-3f6d2b810401},,12,,3)" << uuid << qint64(12) << qint64(3);
}

void TestRecords::itemIndexRejectsMalformedTexts()
{
    QFETCH(QString, text);
    QFETCH(QUuid, collection);
    QFETCH(qint64, pageId);
    QFETCH(qint64, entryId);
    const DB::ItemIndex index(text);
    QCOMPARE(index.collection, collection);
    QCOMPARE(index.pageId, pageId);
    QCOMPARE(index.entryId, entryId);
}

QTEST_GUILESS_MAIN(TestRecords)
#include "tst_records.moc"
