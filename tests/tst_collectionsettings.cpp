// Typed per-collection settings: defaults without rows, the read rules of
// each kind of value, the system-wide fallback and the one-collection cache.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"
#include "services/CollectionSettings.h"

#include <QScopeGuard>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QtMath>

#include <functional>

using namespace Velmar;

namespace {

struct Case {
    const char *tag;
    // SETTING rows as "name=value|name=value"; a repeated name takes the next
    // value index, and the value "#blob" is stored as bytes instead of text.
    // A name after "*" is the system-wide collection's: its value there is
    // replaced while the case is read.
    const char *rows;
    const char *accessor;
    const char *expected;
};

const Case cases[] = {
    {"card type in other case", "card.type=NORMAL", "cardType", "1"},
    {"card type with a blank", "card.type= normal", "cardType", "0"},
    {"card type sarnex", "card.type=sarnex", "cardType", "2"},
    {"card to card", "mode.card=modecardtocard", "mode", "2"},
    {"mood mode", "mode.mood=MoodModeWarmFreshEquals", "moodMode", "2"},
    {"counter-clockwise", "segment.increment.orientation=ccw", "segmentIncrementOrientation", "2"},
    {"products", "product.groups.mode=Products", "productGroupMode", "1"},
    {"unknown product mode", "product.groups.mode=Shelves", "productGroupMode", "0"},
    {"24 segments", "num.of.segments=24", "numOfSegments", "24"},
    {"24 segments angle", "num.of.segments=24", "segmentAngleInRadians", "0.261799"},
    {"0 segments", "num.of.segments=0", "numOfSegments", "12"},
    {"0 segments angle", "num.of.segments=0", "segmentAngleInRadians", "0.523599"},
    {"negative segments angle", "num.of.segments=-6", "segmentAngleInRadians", "0.523599"},
    {"segments not a number", "num.of.segments=many", "segmentAngleInDegrees", "30"},
    {"first angle", "first.segment.angle=0.25", "firstSegmentAngle", "0.25"},
    {"first angle not a number", "first.segment.angle=north", "firstSegmentAngle", "0"},
    // Not finite: every point of the wheel would fall in one segment.
    {"first angle nan", "first.segment.angle=nan", "firstSegmentAngle", "0"},
    {"first angle inf", "first.segment.angle=inf", "firstSegmentAngle", "0"},
    {"first angle -inf", "first.segment.angle=-inf", "firstSegmentAngle", "0"},
    {"mood hidden", "mood.visible=0", "moodVisible", "false"},
    {"switch as a word", "mood.visible=yes", "moodVisible", "false"},
    {"must fill 2 is not on", "must.fill=2", "mustFill", "false"},
    {"textures page on", "has.textures.page=1", "hasTextures", "true"},
    {"schemer page 2 is not on", "has.color.schemes.page=2", "hasColorSchemer", "false"},
    {"older card name switch", "color.tooltip.show.card.name=1", "tooltipShowsPageName", "true"},
    {"newer card name switch wins", "color.tooltip.show.card.name=1|color.tooltip.show.page.name=0", "tooltipShowsPageName", "false"},
    {"older code switch", "color.tooltip.show.color.code=1", "tooltipShowsRowCode", "true"},
    {"older auxiliary switch", "color.tooltip.show.auxiliary=1", "tooltipShowsRowAuxiliaryInfo", "true"},
    {"older colour name switch", "color.tooltip.show.color.name=1", "tooltipShowsRowName", "true"},
    {"row index switch", "color.tooltip.show.row.row.index=1", "tooltipShowsRowIndex", "true"},
    {"save as text off", "save.palette.text.format=0", "savePaletteTextFormatAvailable", "false"},
    {"texture size", "texture.size=120,80", "textureSize", "120x80"},
    {"texture size of one part", "texture.size=120", "textureSize", "148x96"},
    {"texture size of three parts", "texture.size=120,80,4", "textureSize", "148x96"},
    {"texture size not a number", "texture.size=a,80", "textureSize", "148x96"},
    {"intervals", "cie2000.delta.intervals=0.5,,-1,2", "cie200DeltaIntervals", "0.5,2"},
    {"no interval above 0", "cie2000.delta.intervals=0,-3", "cie200DeltaIntervals", "0.05"},
    {"chip width alone", "widget.huecast.chip.width=80", "huecastChipSize", "64x48"},
    {"chip size", "widget.huecast.chip.width=80|widget.huecast.chip.height=60", "huecastChipSize", "80x60"},
    {"tab order", "tab.bar.page=PageOfTextures|tab.bar.page= pageofproducts |tab.bar.page=PageOfColorSchemes",
     "tabBarPagesOrder", "1,8,2"},
    {"tab order with bytes", "tab.bar.page=PageOfTextures|tab.bar.page=#blob", "tabBarPagesOrder", "1,2,4,8"},
    {"tab order of unknown names", "tab.bar.page=PageOfHuecast|tab.bar.page=PageOfSwatches", "tabBarPagesOrder", "1,4,0"},
    {"scheme order", "schemes=harmonic|schemes= Dynamic |schemes=tonal neutral|schemes=3|schemes=unknown",
     "schemesOrder", "1,4,7,3,0"},
    {"scheme order with bytes", "schemes=harmonic|schemes=#blob", "schemesOrder", ""},
    {"last scheme kind", "schemes=complementary neutral|schemes=8|schemes=9", "schemesOrder", "8,8,0"},
    {"every tab page", "has.product.groups.page=1|has.textures.page=1|has.huecast.page=1", "availableTabBarPages", "15"},
    {"textures page", "has.textures.page=1", "availableTabBarPages", "9"},
    {"page switches off", "has.product.groups.page=0|has.huecast.page=0", "availableTabBarPages", "1"},
    {"textures page without the system-wide switch", "*has.textures.page=0|has.textures.page=1", "availableTabBarPages", "1"},
    {"own help link", "help.link=https://example.org/help", "helpLink", "https://example.org/help"},
    {"empty help link", "help.link=", "helpLink", "file:///%APP%/Contents/Resources/help/main.html"},
    {"header link", "header.link=https://example.org", "headerLink", "https://example.org"},
    {"device folder", "dizeviz.folder.to.watch.macos=/Users/Shared/Measured", "dizevizWatchFolder", "/Users/Shared/Measured"},
};

QUuid uuidOfCase(int index)
{
    return QUuid(0x7c000000u + index, 0x1111, 0x4c1e, 0x9a, 0x10, 0x3f, 0x6d, 0x2b, 0x81, 0x04, 0x01);
}

int caseIndex(const char *tag)
{
    for (int i = 0; i < int(std::size(cases)); ++i) {
        if (qstrcmp(cases[i].tag, tag) == 0)
            return i;
    }
    return -1;
}

const QUuid bare(QStringLiteral("{7b000000-0000-4000-8000-000000000001}"));
const QUuid deckA(QStringLiteral("{7b000000-0000-4000-8000-00000000000a}"));
const QUuid deckB(QStringLiteral("{7b000000-0000-4000-8000-00000000000b}"));

QString joined(const QStringList &parts)
{
    return parts.join(QLatin1Char(','));
}

template<typename T>
QString listText(const QVector<T> &values)
{
    QStringList parts;
    for (const T &value : values)
        parts << QString::number(value);
    return joined(parts);
}

QString sizeText(const QSize &size)
{
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

// Every accessor as text, so that one table covers them all.
QString read(const QString &accessor, const QUuid &c)
{
    using S = CollectionSettings;
    static const QHash<QString, std::function<QString(const QUuid &)>> accessors{
        {"cardType", [](const QUuid &u) { return QString::number(S::cardType(u)); }},
        {"mode", [](const QUuid &u) { return QString::number(S::mode(u)); }},
        {"moodMode", [](const QUuid &u) { return QString::number(S::moodMode(u)); }},
        {"segmentIncrementOrientation", [](const QUuid &u) { return QString::number(S::segmentIncrementOrientation(u)); }},
        {"productGroupMode", [](const QUuid &u) { return QString::number(S::productGroupMode(u)); }},
        {"numOfSegments", [](const QUuid &u) { return QString::number(S::numOfSegments(u)); }},
        {"segmentAngleInRadians", [](const QUuid &u) { return QString::number(S::segmentAngleInRadians(u)); }},
        {"segmentAngleInDegrees", [](const QUuid &u) { return QString::number(S::segmentAngleInDegrees(u)); }},
        {"firstSegmentAngle", [](const QUuid &u) { return QString::number(S::firstSegmentAngle(u)); }},
        {"maxChipsOnAPage", [](const QUuid &u) { return QString::number(S::maxChipsOnAPage(u)); }},
        {"moodVisible", [](const QUuid &u) { return boolText(S::moodVisible(u)); }},
        {"mustFill", [](const QUuid &u) { return boolText(S::mustFill(u)); }},
        {"hasExteriorFilter", [](const QUuid &u) { return boolText(S::hasExteriorFilter(u)); }},
        {"hasTextures", [](const QUuid &u) { return boolText(S::hasTextures(u)); }},
        {"hasProductGroups", [](const QUuid &u) { return boolText(S::hasProductGroups(u)); }},
        {"hasColorSchemer", [](const QUuid &u) { return boolText(S::hasColorSchemer(u)); }},
        {"dizevizAvailable", [](const QUuid &u) { return boolText(S::dizevizAvailable(u)); }},
        {"tooltipShowsPageName", [](const QUuid &u) { return boolText(S::tooltipShowsPageName(u)); }},
        {"tooltipShowsRowCode", [](const QUuid &u) { return boolText(S::tooltipShowsRowCode(u)); }},
        {"tooltipShowsRowAuxiliaryInfo", [](const QUuid &u) { return boolText(S::tooltipShowsRowAuxiliaryInfo(u)); }},
        {"tooltipShowsRowName", [](const QUuid &u) { return boolText(S::tooltipShowsRowName(u)); }},
        {"tooltipShowsRowIndex", [](const QUuid &u) { return boolText(S::tooltipShowsRowIndex(u)); }},
        {"tooltipShowsRowSegment", [](const QUuid &u) { return boolText(S::tooltipShowsRowSegment(u)); }},
        {"tooltipShowsRowAdditionalNames", [](const QUuid &u) { return boolText(S::tooltipShowsRowAdditionalNames(u)); }},
        {"tooltipShowsPageSegment", [](const QUuid &u) { return boolText(S::tooltipShowsPageSegment(u)); }},
        {"tooltipShowsPageIndex", [](const QUuid &u) { return boolText(S::tooltipShowsPageIndex(u)); }},
        {"tooltipShowsCollectionName", [](const QUuid &u) { return boolText(S::tooltipShowsCollectionName(u)); }},
        {"savePaletteTextFormatAvailable", [](const QUuid &u) { return boolText(S::savePaletteTextFormatAvailable(u, true)); }},
        {"textureSize", [](const QUuid &u) { return sizeText(S::textureSize(u, QSize(148, 96))); }},
        {"huecastChipSize", [](const QUuid &u) { return sizeText(S::huecastChipSize(u)); }},
        {"cie200DeltaIntervals", [](const QUuid &u) { return listText(S::cie200DeltaIntervals(u)); }},
        {"tabBarPagesOrder", [](const QUuid &u) { return listText(S::tabBarPagesOrder(u)); }},
        {"schemesOrder", [](const QUuid &u) { return listText(S::schemesOrder(u)); }},
        {"availableTabBarPages", [](const QUuid &u) { return QString::number(S::availableTabBarPages(u).toInt()); }},
        {"helpLink", [](const QUuid &u) { return S::helpLink(u); }},
        {"headerLink", [](const QUuid &u) { return S::headerLink(u); }},
        {"collectionName", [](const QUuid &u) { return S::collectionName(u); }},
        {"dizevizWatchFolder", [](const QUuid &u) { return S::dizevizWatchFolder(u); }},
        {"dizevizWatchFileName", [](const QUuid &u) { return S::dizevizWatchFileName(u); }},
    };
    const auto found = accessors.constFind(accessor);
    return found == accessors.constEnd() ? QStringLiteral("no accessor %1").arg(accessor) : found.value()(c);
}

bool isSystemWideRow(const QString &row)
{
    return row.startsWith(QLatin1Char('*'));
}

bool writeRows(CollectionWriter &writer, qint64 collection, const QString &rows)
{
    QHash<QString, int> nextIndex;
    for (const QString &row : rows.split(QLatin1Char('|'))) {
        if (isSystemWideRow(row))
            continue;
        const int equals = row.indexOf(QLatin1Char('='));
        const QString name = row.left(equals);
        const QString value = row.mid(equals + 1);
        const int index = nextIndex[name]++;
        const bool written = value == QLatin1String("#blob")
            ? writer.exec(QStringLiteral("INSERT INTO SETTING (COLLECTION_ID, NAME, VALUE, VALUE_INDEX) "
                                         "VALUES (:C, :N, X'3435', :I)"),
                          {{QStringLiteral(":C"), collection}, {QStringLiteral(":N"), name}, {QStringLiteral(":I"), index}})
            : writer.addSetting(collection, name, value, index);
        if (!written)
            return false;
    }
    return true;
}

// Replaces the system-wide collection's values of the case's "*" rows in the
// file; the rows as they were, to be written back, go to previous.
bool replaceSystemWideValues(const QString &file, const QString &rows, QStringList *previous)
{
    QStringList systemWide = rows.split(QLatin1Char('|'));
    systemWide.removeIf([](const QString &row) { return !isSystemWideRow(row); });
    if (systemWide.isEmpty())
        return true;
    const QString connection = QStringLiteral("system-wide values");
    bool replaced = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(file);
        replaced = db.open();
        for (const QString &row : qAsConst(systemWide)) {
            if (!replaced)
                break;
            const QString name = row.mid(1).section(QLatin1Char('='), 0, 0);
            QSqlQuery query(db);
            query.prepare(QStringLiteral("SELECT VALUE FROM SETTING WHERE COLLECTION_ID = :C AND NAME = :N"));
            query.bindValue(QStringLiteral(":C"), DBStructure::SystemWideCollectionId);
            query.bindValue(QStringLiteral(":N"), name);
            replaced = query.exec() && query.next();
            if (replaced && previous)
                *previous << QStringLiteral("*%1=%2").arg(name, query.value(0).toString());
            query.prepare(QStringLiteral("UPDATE SETTING SET VALUE = :V WHERE COLLECTION_ID = :C AND NAME = :N"));
            query.bindValue(QStringLiteral(":V"), row.section(QLatin1Char('='), 1));
            query.bindValue(QStringLiteral(":C"), DBStructure::SystemWideCollectionId);
            query.bindValue(QStringLiteral(":N"), name);
            replaced = replaced && query.exec() && query.numRowsAffected() == 1;
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return replaced;
}

} // namespace

class TestCollectionSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void noRowsGiveEveryDefault();
    void valuesAreReadByTheirRule_data();
    void valuesAreReadByTheirRule();
    void textureSizeFallsBackToTheSystemWideCollection();
    void cacheBelongsToTheCollectionAskedLast();
    void moodTestsAnswerFromTheCards();

private:
    FixtureFolder m_folder;
};

void TestCollectionSettings::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("settings.db"));
    const qint64 system = DBStructure::SystemWideCollectionId;
    QVERIFY(writer->addSetting(system, QStringLiteral("has.textures.page"), QStringLiteral("1")));
    QVERIFY(writer->addSetting(system, QStringLiteral("texture.size"), QStringLiteral("200,100")));

    QVERIFY(writer->addCollection(bare, QStringLiteral("BARE"), QStringLiteral("Bare"), 1, true) >= 0);
    const qint64 a = writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Deck A"), 2, true);
    const qint64 b = writer->addCollection(deckB, QStringLiteral("B"), QStringLiteral("Deck B"), 3, true);
    QVERIFY(writer->addSetting(a, QStringLiteral("num.of.segments"), QStringLiteral("24")));
    QVERIFY(writer->addSetting(a, QStringLiteral("collection.name"), QStringLiteral("Deck A")));
    QVERIFY(writer->addSetting(b, QStringLiteral("num.of.segments"), QStringLiteral("6")));
    QVERIFY(writer->addSetting(b, QStringLiteral("collection.name"), QStringLiteral("Deck B")));
    QVERIFY(writer->addSetting(b, QStringLiteral("texture.size"), QStringLiteral("64,64")));
    CollectionWriter::Card card;
    card.mood = MoodCalm;
    card.exterior = true;
    QVERIFY(writer->addCard(a, card) >= 0);

    for (int i = 0; i < int(std::size(cases)); ++i) {
        const qint64 id = writer->addCollection(uuidOfCase(i), QStringLiteral("CASE-%1").arg(i),
                                                QString::fromUtf8(cases[i].tag), 10 + i, true);
        QVERIFY2(id >= 0 && writeRows(*writer, id, QString::fromUtf8(cases[i].rows)), qPrintable(writer->lastError()));
    }
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();
    DBManager::s_installed_collections.clear();
    m_folder.activate();
}

void TestCollectionSettings::noRowsGiveEveryDefault()
{
    const QStringList expected{
        "cardType=0", "mode=0", "moodMode=0", "segmentIncrementOrientation=0", "productGroupMode=0",
        "numOfSegments=12", "segmentAngleInRadians=0.523599", "segmentAngleInDegrees=30", "firstSegmentAngle=0",
        "maxChipsOnAPage=0", "moodVisible=true", "mustFill=true", "hasExteriorFilter=true", "hasTextures=false",
        "hasProductGroups=false", "hasColorSchemer=false", "dizevizAvailable=false", "tooltipShowsPageName=false",
        "tooltipShowsRowCode=false", "tooltipShowsRowAuxiliaryInfo=false", "tooltipShowsRowName=false",
        "tooltipShowsRowIndex=false", "tooltipShowsRowSegment=false", "tooltipShowsRowAdditionalNames=false",
        "tooltipShowsPageSegment=false", "tooltipShowsPageIndex=false", "tooltipShowsCollectionName=false",
        "savePaletteTextFormatAvailable=true", "huecastChipSize=64x48", "cie200DeltaIntervals=0.05",
        "tabBarPagesOrder=1", "schemesOrder=", "availableTabBarPages=1",
        "helpLink=file:///%APP%/Contents/Resources/help/main.html", "headerLink=", "collectionName=",
        "dizevizWatchFolder=", "dizevizWatchFileName="};
    for (const QString &line : expected) {
        const QString accessor = line.section(QLatin1Char('='), 0, 0);
        QCOMPARE(accessor + QLatin1Char('=') + read(accessor, bare), line);
    }
    QVERIFY(!CollectionSettings::savePaletteTextFormatAvailable(bare, false));
}

void TestCollectionSettings::valuesAreReadByTheirRule_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("accessor");
    QTest::addColumn<QString>("expected");
    for (int i = 0; i < int(std::size(cases)); ++i)
        QTest::newRow(cases[i].tag) << i << QString::fromUtf8(cases[i].accessor) << QString::fromUtf8(cases[i].expected);
}

void TestCollectionSettings::valuesAreReadByTheirRule()
{
    QFETCH(int, index);
    QFETCH(QString, accessor);
    QFETCH(QString, expected);
    const QString file = m_folder.filePath(QStringLiteral("settings.db"));
    QStringList previous;
    QVERIFY(replaceSystemWideValues(file, QString::fromUtf8(cases[index].rows), &previous));
    const auto restore = qScopeGuard([&] { replaceSystemWideValues(file, previous.join(QLatin1Char('|')), nullptr); });
    QCOMPARE(read(accessor, uuidOfCase(index)), expected);
    // A second read comes from the cache and gives the same.
    QCOMPARE(read(accessor, uuidOfCase(index)), expected);
}

void TestCollectionSettings::textureSizeFallsBackToTheSystemWideCollection()
{
    QCOMPARE(CollectionSettings::textureSize(bare, QSize(148, 96)), QSize(200, 100));
    QCOMPARE(CollectionSettings::textureSize(deckB, QSize(148, 96)), QSize(64, 64));
    // Only a found size is kept: the caller's default is never cached.
    const int badCase = caseIndex("texture size of one part");
    QCOMPARE(CollectionSettings::textureSize(uuidOfCase(badCase), QSize(1, 2)), QSize(1, 2));
    QCOMPARE(CollectionSettings::textureSize(uuidOfCase(badCase), QSize(3, 4)), QSize(3, 4));
}

void TestCollectionSettings::cacheBelongsToTheCollectionAskedLast()
{
    QCOMPARE(CollectionSettings::numOfSegments(deckA), 24);
    QCOMPARE(CollectionSettings::numOfSegments(deckB), 6);
    QCOMPARE(CollectionSettings::segmentAngleInDegrees(deckA), 15.0);
    QCOMPARE(CollectionSettings::collectionName(deckB), QStringLiteral("Deck B"));
    QCOMPARE(CollectionSettings::s_dataCacheCollectionUuid, deckB);

    // Found values are kept, missing ones are asked for again.
    QVERIFY(CollectionSettings::s_dataCache.contains(QStringLiteral("collection.name")));
    QVERIFY(!CollectionSettings::dizevizAvailable(deckB));
    QVERIFY(!CollectionSettings::s_dataCache.contains(QStringLiteral("dizeviz.enabled")));

    // While B owns the cache its value survives a change of the file; once
    // another collection is asked for, B's values are read afresh.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("edit"));
        db.setDatabaseName(m_folder.filePath(QStringLiteral("settings.db")));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("UPDATE SETTING SET VALUE = 'Renamed' WHERE VALUE = 'Deck B'")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("edit"));
    QCOMPARE(CollectionSettings::collectionName(deckB), QStringLiteral("Deck B"));
    CollectionSettings::selectedCollectionChanged(deckB);
    QCOMPARE(CollectionSettings::collectionName(deckB), QStringLiteral("Deck B"));
    CollectionSettings::selectedCollectionChanged(deckA);
    QVERIFY(CollectionSettings::s_dataCache.isEmpty());
    QCOMPARE(CollectionSettings::collectionName(deckB), QStringLiteral("Renamed"));
}

void TestCollectionSettings::moodTestsAnswerFromTheCards()
{
    QVERIFY(CollectionSettings::hasPageWithMood(deckA, MoodCalm));
    QVERIFY(CollectionSettings::hasPageWithExteriorMood(deckA, MoodCalm));
    QVERIFY(!CollectionSettings::hasPageWithNonExteriorMood(deckA, MoodCalm));
    QVERIFY(!CollectionSettings::hasPageWithMood(deckA, MoodWarm));
    QVERIFY(CollectionSettings::s_dataCache.contains(QStringLiteral("hasPageWithMood:3")));
    QVERIFY(!CollectionSettings::hasPageWithMood(deckB, MoodCalm));
}

QTEST_GUILESS_MAIN(TestCollectionSettings)
#include "tst_collectionsettings.moc"
