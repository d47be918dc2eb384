// Texture, trend-colour and product queries: what reaches a collection, in
// which order, and what a failing or missing collection gives back.

#include "DemoTheme.h"
#include "FixtureFolder.h"
#include "MaterialsWriter.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"

#include <QImage>
#include <QTest>

#include <algorithm>

using namespace Velmar;

namespace {

const QUuid deckA(QStringLiteral("{0000a000-0000-0000-0000-000000000001}"));
const QUuid deckB(QStringLiteral("{0000b000-0000-0000-0000-000000000002}"));
const QUuid brokenDeck(QStringLiteral("{0000c000-0000-0000-0000-000000000003}"));
const QUuid flakyDeck(QStringLiteral("{0000d000-0000-0000-0000-000000000004}"));
const QUuid notInstalled(QStringLiteral("{0000e000-0000-0000-0000-000000000005}"));

QByteArray png(const QColor &colour)
{
    return DemoTheme::solidPng(QSize(4, 3), colour);
}

bool entry(CollectionWriter &writer, qint64 collection, qint64 group, const QString &name1, const QString &name2,
           const QColor &colour, int order, const QString &table = QStringLiteral("HUECAST_ENTRY"))
{
    return MaterialsWriter::addHuecastEntry(writer, collection, group, name1, name2, colour, order, table) >= 0;
}

QStringList namesOf(const QVector<QString> &names)
{
    return QStringList(names.cbegin(), names.cend());
}

} // namespace

class tst_Materials : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void texturesOfACollection_data();
    void texturesOfACollection();
    void texturePlacingsOfACard();
    void trendGroupsOfACollection();
    void entriesAreOrderedByTheirOrderAlone();
    void aFailingEntryStatementEmptiesOnlyItsGroup();
    void productsAndGroupsOfAChip_data();
    void productsAndGroupsOfAChip();
    void failuresEmptyTheResult_data();
    void failuresEmptyTheResult();

private:
    FixtureFolder m_folder;
    qint64 m_pageWithPlacings = -1;
    qint64 m_pageWithout = -1;
    qint64 m_chipWithProducts = -1;
    qint64 m_chipWithout = -1;
    qint64 m_linen = -1;
    qint64 m_stucco = -1;
};

void tst_Materials::initTestCase()
{
    TestEnvironment::isolate();
    const qint64 system = DBStructure::SystemWideCollectionId;
    {
        auto writer = m_folder.createFile(QStringLiteral("materials.db"));
        const qint64 a = writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
        const qint64 b = writer->addCollection(deckB, QStringLiteral("B"), QStringLiteral("Deck B"), 2, true);

        // Textures: two system-wide ones, one of deck B, none of deck A.
        m_linen = MaterialsWriter::addTexture(*writer, system, QStringLiteral("Linen"), png(QColor(200, 190, 170)),
                                              0.75);
        m_stucco = MaterialsWriter::addTexture(*writer, system, QStringLiteral("Stucco"), png(QColor(220, 220, 215)));
        const qint64 slate =
            MaterialsWriter::addTexture(*writer, b, QStringLiteral("Slate"), png(QColor(60, 64, 70)), 0.5);

        CollectionWriter::Card card;
        m_pageWithPlacings = writer->addCard(a, card);
        card.pageIndex = 2;
        m_pageWithout = writer->addCard(a, card);
        // Stored with the larger texture id first; the placing of a texture
        // that does not exist is dropped by the join.
        const auto place = [&writer](qint64 texture, qint64 page, double alpha, const char *name) {
            return MaterialsWriter::placeTexture(*writer, texture, page, alpha, QLatin1String(name));
        };
        QVERIFY(place(m_stucco, m_pageWithPlacings, 0.5, "Stucco wall"));
        QVERIFY(place(999, m_pageWithPlacings, 1.0, "Ghost"));
        QVERIFY(place(m_linen, m_pageWithPlacings, 0.8, "Linen curtain"));
        QVERIFY(place(slate, m_pageWithout + 100, 1.0, "Elsewhere"));

        // Trend groups: one system-wide, two of deck A (one empty), one of B.
        const qint64 forecast = MaterialsWriter::addHuecastGroup(*writer, system, QStringLiteral("Forecast"), true, 1);
        const qint64 spring = MaterialsWriter::addHuecastGroup(*writer, a, QStringLiteral("Spring"), false, 2);
        MaterialsWriter::addHuecastGroup(*writer, a, QStringLiteral("Autumn"), true, 3);
        const qint64 other = MaterialsWriter::addHuecastGroup(*writer, b, QStringLiteral("Other deck"), true, 1);
        QVERIFY(entry(*writer, system, forecast, QStringLiteral("Dune"), QStringLiteral("DUNE"), QColor(210, 190, 150), 1));
        // Stored out of order.
        QVERIFY(entry(*writer, a, spring, QStringLiteral("Fern"), QStringLiteral("FERN"), QColor(90, 140, 80), 3));
        QVERIFY(entry(*writer, a, spring, QStringLiteral("Blossom"), QStringLiteral("BLOSSOM"), QColor(240, 190, 200), 1));
        QVERIFY(entry(*writer, a, spring, QStringLiteral("Sky"), QStringLiteral("SKY"), QColor(150, 190, 230), 2));
        QVERIFY(entry(*writer, b, other, QStringLiteral("Stray"), QStringLiteral("STRAY"), QColor(1, 2, 3), 1));

        // Products and groups of one chip, linked in an order that is neither
        // by id nor by name.
        CollectionWriter::Chip chip;
        chip.code = QStringLiteral("A-1");
        m_chipWithProducts = writer->addChip(a, m_pageWithPlacings, chip);
        chip.code = QStringLiteral("A-2");
        chip.rowIndex = 2;
        m_chipWithout = writer->addChip(a, m_pageWithPlacings, chip);
        const qint64 matt = MaterialsWriter::addProduct(*writer, QStringLiteral("Matt emulsion"));
        const qint64 eggshell = MaterialsWriter::addProduct(*writer, QStringLiteral("Eggshell"));
        const qint64 floor = MaterialsWriter::addProduct(*writer, QStringLiteral("Floor paint"));
        const qint64 walls = MaterialsWriter::addProductGroup(*writer, QStringLiteral("Walls"));
        const qint64 wood = MaterialsWriter::addProductGroup(*writer, QStringLiteral("Wood and metal"));
        for (qint64 product : {floor, matt, eggshell})
            QVERIFY(MaterialsWriter::linkProduct(*writer, a, m_chipWithProducts, product));
        for (qint64 group : {wood, walls})
            QVERIFY(MaterialsWriter::linkProductGroup(*writer, a, m_chipWithProducts, group));
        // A link of another chip to a product that no longer exists.
        QVERIFY(MaterialsWriter::linkProduct(*writer, a, m_chipWithout, 999));
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    {
        // Every table the main statements read is gone.
        auto writer = m_folder.createFile(QStringLiteral("broken.db"));
        writer->addCollection(brokenDeck, QStringLiteral("C"), QStringLiteral("Broken deck"), 3, true);
        for (const char *table : {"TEXTURE_MAP", "TEXTURE", "HUECAST_ENTRY", "HUECAST_GROUP", "ROW_PRODUCT_MAP",
                                  "ROW_PRODUCT_GROUP_MAP"})
            QVERIFY(writer->exec(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table))));
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    {
        // The entries of group "Broken" cannot be read: their order column
        // raises an error when the statement computes it.
        auto writer = m_folder.createFile(QStringLiteral("flaky.db"));
        const qint64 d = writer->addCollection(flakyDeck, QStringLiteral("D"), QStringLiteral("Flaky deck"), 4, true);
        const qint64 good = MaterialsWriter::addHuecastGroup(*writer, d, QStringLiteral("Good"), true, 1);
        const qint64 broken = MaterialsWriter::addHuecastGroup(*writer, d, QStringLiteral("Broken"), true, 2);
        QVERIFY(writer->exec(QStringLiteral("ALTER TABLE HUECAST_ENTRY RENAME TO HUECAST_ENTRY_DATA")));
        QVERIFY(writer->exec(
            QStringLiteral("CREATE VIEW HUECAST_ENTRY AS SELECT ID, COLLECTION_ID, HUECAST_GROUP_ID, ROW_ID, NAME_1, "
                           "NAME_2, RED, GREEN, BLUE, CASE WHEN HUECAST_GROUP_ID = %1 "
                           "THEN abs(-9223372036854775807 - 1) ELSE \"ORDER\" END AS \"ORDER\" FROM HUECAST_ENTRY_DATA")
                .arg(broken)));
        const QString data = QStringLiteral("HUECAST_ENTRY_DATA");
        QVERIFY(entry(*writer, d, good, QStringLiteral("Moss"), QStringLiteral("MOSS"), QColor(100, 120, 60), 1, data));
        QVERIFY(entry(*writer, d, broken, QStringLiteral("Lost"), QStringLiteral("LOST"), QColor(10, 10, 10), 1, data));
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }

    DBManager::s_installed_collections.clear();
    m_folder.activate();
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
}

void tst_Materials::texturesOfACollection_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("without own textures: the system-wide ones") << deckA << QStringList{"Linen", "Stucco"};
    QTest::newRow("with own textures: both") << deckB << QStringList{"Linen", "Slate", "Stucco"};
}

void tst_Materials::texturesOfACollection()
{
    QFETCH(QUuid, collection);
    QFETCH(QStringList, names);

    QHash<qint64, DB::Texture> textures;
    QCOMPARE(DBManager::GetTexturesForCollection(collection, textures), 0);
    QStringList found;
    for (auto it = textures.cbegin(); it != textures.cend(); ++it) {
        QCOMPARE(it.key(), it->id);
        QCOMPARE(it->image.size(), QSize(4, 3));
        found << it->name;
    }
    found.sort();
    QCOMPARE(found, names);
    QCOMPARE(textures.value(m_linen).baseAlpha, 0.75);
    QCOMPARE(textures.value(m_linen).collectionId, qint64(0));
    QCOMPARE(textures.value(m_linen).image.pixelColor(2, 1), QColor(200, 190, 170));
}

void tst_Materials::texturePlacingsOfACard()
{
    QVector<DB::TextureMap> placings;
    QCOMPARE(DBManager::GetTextureMapForPageById(deckA, m_pageWithPlacings, placings), 0);
    QCOMPARE(placings.size(), 2);
    // File order; the ghost placing is left out.
    QCOMPARE(placings.at(0).name, QStringLiteral("Stucco wall"));
    QCOMPARE(placings.at(0).textureId, m_stucco);
    QCOMPARE(placings.at(0).pageId, m_pageWithPlacings);
    QCOMPARE(placings.at(0).alpha, 0.5);
    QCOMPARE(placings.at(1).name, QStringLiteral("Linen curtain"));
    QCOMPARE(placings.at(1).textureId, m_linen);
    QCOMPARE(placings.at(1).alpha, 0.8);

    placings.append(DB::TextureMap());
    QCOMPARE(DBManager::GetTextureMapForPageById(deckA, m_pageWithout, placings), 0);
    QVERIFY(placings.isEmpty());
}

void tst_Materials::trendGroupsOfACollection()
{
    QHash<qint64, DB::HuecastGroup> groups;
    QCOMPARE(DBManager::GetHuecastFor(deckA, groups), 0);
    QMap<QString, DB::HuecastGroup> byName;
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        QCOMPARE(it.key(), it->id);
        byName.insert(it->name, *it);
    }
    // The system-wide group, deck A's two, not deck B's.
    QCOMPARE(byName.keys(), (QStringList{"Autumn", "Forecast", "Spring"}));

    const DB::HuecastGroup spring = byName.value(QStringLiteral("Spring"));
    QCOMPARE(spring.order, 2);
    QCOMPARE(spring.defaultOpen, false);
    QStringList springNames;
    for (const DB::HuecastEntry &entry : spring.entries)
        springNames << entry.name1;
    QCOMPARE(springNames, (QStringList{"Blossom", "Sky", "Fern"}));
    QCOMPARE(spring.entries.at(0).order, 1);
    QCOMPARE(spring.entries.at(0).color, QColor(240, 190, 200));
    QCOMPARE(spring.entries.at(0).name2, QStringLiteral("BLOSSOM"));
    // NULL ROW_ID: a trend colour that names no chip.
    QCOMPARE(spring.entries.at(0).rowId, qint64(0));

    const DB::HuecastGroup autumn = byName.value(QStringLiteral("Autumn"));
    QVERIFY(autumn.defaultOpen);
    QVERIFY(autumn.entries.isEmpty());
    QCOMPARE(byName.value(QStringLiteral("Forecast")).entries.size(), 1);
}

void tst_Materials::entriesAreOrderedByTheirOrderAlone()
{
    // The query sorts with this comparator: by order, whatever id or names.
    QList<DB::HuecastEntry> entries;
    const int orders[] = {5, -2, 5, 0, 3};
    for (int i = 0; i < 5; ++i) {
        DB::HuecastEntry entry;
        entry.id = 10 - i;
        entry.order = orders[i];
        entry.name1 = QString::number(i);
        entries.append(entry);
    }
    QVERIFY(DB::HuecastEntryLess(entries.at(1), entries.at(0)));
    QVERIFY(!DB::HuecastEntryLess(entries.at(0), entries.at(2)));
    QVERIFY(!DB::HuecastEntryLess(entries.at(2), entries.at(0)));
    std::stable_sort(entries.begin(), entries.end(), DB::HuecastEntryLess);
    QStringList names;
    for (const DB::HuecastEntry &entry : entries)
        names << entry.name1;
    QCOMPARE(names, (QStringList{"1", "3", "4", "0", "2"}));
}

void tst_Materials::aFailingEntryStatementEmptiesOnlyItsGroup()
{
    QHash<qint64, DB::HuecastGroup> groups;
    QCOMPARE(DBManager::GetHuecastFor(flakyDeck, groups), 0);
    QCOMPARE(groups.size(), 2);
    for (const DB::HuecastGroup &group : qAsConst(groups)) {
        if (group.name == QLatin1String("Good")) {
            QCOMPARE(group.entries.size(), 1);
            QCOMPARE(group.entries.at(0).name1, QStringLiteral("Moss"));
        } else {
            QCOMPARE(group.name, QStringLiteral("Broken"));
            QVERIFY(group.entries.isEmpty());
            QVERIFY(group.defaultOpen);
        }
    }
}

void tst_Materials::productsAndGroupsOfAChip_data()
{
    QTest::addColumn<bool>("products");
    QTest::addColumn<bool>("linkedChip");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("products, in file order") << true << true << QStringList{"Floor paint", "Matt emulsion", "Eggshell"};
    QTest::newRow("groups, in file order") << false << true << QStringList{"Wood and metal", "Walls"};
    QTest::newRow("products of a chip with a dangling link") << true << false << QStringList{};
    QTest::newRow("groups of a chip without links") << false << false << QStringList{};
}

void tst_Materials::productsAndGroupsOfAChip()
{
    QFETCH(bool, products);
    QFETCH(bool, linkedChip);
    QFETCH(QStringList, names);

    QVector<QString> found{QStringLiteral("left over")};
    const qint64 chip = linkedChip ? m_chipWithProducts : m_chipWithout;
    const int status = products ? DBManager::GetProductsFor(deckA, chip, found)
                                : DBManager::GetProductGroupsFor(deckA, chip, found);
    QCOMPARE(status, 0);
    QCOMPARE(namesOf(found), names);
}

void tst_Materials::failuresEmptyTheResult_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<int>("status");

    for (const char *operation : {"placings", "textures", "trend groups", "product groups", "products"}) {
        QTest::addRow("%s: statement fails", operation) << QString::fromLatin1(operation) << brokenDeck << -1;
        QTest::addRow("%s: null collection", operation) << QString::fromLatin1(operation) << QUuid() << -2;
        QTest::addRow("%s: not installed", operation) << QString::fromLatin1(operation) << notInstalled << -4;
    }
}

void tst_Materials::failuresEmptyTheResult()
{
    QFETCH(QString, operation);
    QFETCH(QUuid, collection);
    QFETCH(int, status);

    // Each out-parameter holds something from an earlier call.
    QVector<DB::TextureMap> placings{DB::TextureMap()};
    QHash<qint64, DB::Texture> textures{{1, DB::Texture()}};
    QHash<qint64, DB::HuecastGroup> groups{{1, DB::HuecastGroup()}};
    QVector<QString> names{QStringLiteral("left over")};
    int left = -1;
    if (operation == QLatin1String("placings")) {
        QCOMPARE(DBManager::GetTextureMapForPageById(collection, 1, placings), status);
        left = placings.size();
    } else if (operation == QLatin1String("textures")) {
        QCOMPARE(DBManager::GetTexturesForCollection(collection, textures), status);
        left = textures.size();
    } else if (operation == QLatin1String("trend groups")) {
        QCOMPARE(DBManager::GetHuecastFor(collection, groups), status);
        left = groups.size();
    } else if (operation == QLatin1String("product groups")) {
        QCOMPARE(DBManager::GetProductGroupsFor(collection, 1, names), status);
        left = names.size();
    } else {
        QCOMPARE(DBManager::GetProductsFor(collection, 1, names), status);
        left = names.size();
    }
    QCOMPARE(left, 0);
}

QTEST_GUILESS_MAIN(tst_Materials)
#include "tst_materials.moc"
