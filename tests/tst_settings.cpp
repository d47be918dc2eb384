// The per-user settings store: defaults, read rules, palette cell keys, the
// host key and the last-used collection.

#include "TestEnvironment.h"

#include "services/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

#include <functional>

using namespace Velmar;

namespace {

const QUuid deck(QStringLiteral("{6a0c3b1e-1111-4c1e-9a10-3f6d2b810401}"));
const QUuid otherDeck(QStringLiteral("{6a0c3b1e-2222-4c1e-9a10-3f6d2b810402}"));

// The store as any other program would see it.
class RawStore : public QSettings
{
public:
    RawStore()
        : QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavo Rindel"),
                    Settings::hostApplicationKey())
    {
    }
};

using Getter = std::function<int(const QUuid &)>;

Getter getterNamed(const QString &key)
{
    static const QHash<QString, Getter> getters{
        {QStringLiteral("MoodFilter"), [](const QUuid &c) { return int(Settings::moodFilter(c)); }},
        {QStringLiteral("TabPageIndex"), [](const QUuid &c) { return int(Settings::tabPage(c)); }},
        {QStringLiteral("SchemeNeutralSubKind"), [](const QUuid &c) { return int(Settings::schemeNeutralSubKind(c)); }},
        {QStringLiteral("SchemeKind"), [](const QUuid &c) { return int(Settings::schemeKind(c)); }},
        {QStringLiteral("RowIndex"), [](const QUuid &c) { return Settings::rowIndex(c); }},
        {QStringLiteral("PageIndex"), [](const QUuid &c) { return Settings::pageIndex(c); }},
        {QStringLiteral("SegmentIndex"), [](const QUuid &c) { return Settings::segmentIndex(c); }},
        {QStringLiteral("ShowMto"), [](const QUuid &c) { return int(Settings::showMto(c)); }},
        {QStringLiteral("ExteriorColors"), [](const QUuid &c) { return int(Settings::exteriorFilter(c)); }},
        {QStringLiteral("HuecastGroup_3_OpenState"), [](const QUuid &c) { return int(Settings::huecastGroupOpen(c, 3, true)); }},
    };
    return getters.value(key);
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void freshDefaults();
    void storedValuesAreReadByTheirRule_data();
    void storedValuesAreReadByTheirRule();
    void settersWriteIntoTheCollectionsGroup();
    void paletteCellsPutTheRowFirst();
    void emptiedCellsLeaveNoKey_data();
    void emptiedCellsLeaveNoKey();
    void hostKeyDecidesTheStore();
    void lastUsedCollectionIsCached();

private:
    void clearStore();
};

void TestSettings::initTestCase()
{
    TestEnvironment::isolate();
}

void TestSettings::init()
{
    Settings::setHostApplicationKey(QStringLiteral("Photoshop"));
    Settings::s_lastUsedCollection = QUuid();
    clearStore();
}

void TestSettings::clearStore()
{
    RawStore store;
    store.clear();
    store.sync();
}

void TestSettings::freshDefaults()
{
    QCOMPARE(Settings::pageIndex(deck), 1);
    QCOMPARE(Settings::rowIndex(deck), 1);
    QCOMPARE(Settings::segmentIndex(deck), 1);
    QCOMPARE(Settings::moodFilter(deck), MoodAll);
    QCOMPARE(Settings::tabPage(deck), TabBarPageNone);
    QCOMPARE(Settings::schemeKind(deck), SchemeNone);
    QCOMPARE(Settings::schemeNeutralSubKind(deck), SchemeTonalNeutral);
    QVERIFY(!Settings::showMto(deck));
    QVERIFY(!Settings::exteriorFilter(deck));
    QVERIFY(Settings::huecastGroupOpen(deck, 4, true));
    QVERIFY(!Settings::huecastGroupOpen(deck, 4, false));
    QCOMPARE(Settings::hostApplicationPid(), qint64(0));
    QVERIFY(Settings::uuidOfLastUsedCollection().isNull());
    QVERIFY(!Settings::hasUuidOfLastUsedCollection());

    QVERIFY(Settings::myPaletteGridState());
    QCOMPARE(Settings::myPaletteFullBackgroundGray(), 176);
    QCOMPARE(Settings::myPaletteZoomState(), QPoint(-1, -1));
    QCOMPARE(Settings::myPaletteSaveFormat(), int(PaletteFileFormatXml));
    QCOMPARE(Settings::myPaletteDescription(), QString());
    QCOMPARE(Settings::myPaletteLastPath(), QString());
    QVERIFY(!Settings::myPaletteEntryState(QPoint(0, 0)));
    QCOMPARE(Settings::myPaletteEntry(QPoint(0, 0)).entryId, qint64(-1));
}

void TestSettings::storedValuesAreReadByTheirRule_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("expected");

    QTest::newRow("mood 3 kept") << "MoodFilter" << QVariant(3) << int(MoodCalm);
    QTest::newRow("mood 0 is all") << "MoodFilter" << QVariant(0) << int(MoodAll);
    QTest::newRow("mood 9 is all") << "MoodFilter" << QVariant(9) << int(MoodAll);
    QTest::newRow("mood text is all") << "MoodFilter" << QVariant(QStringLiteral("abc")) << int(MoodAll);
    QTest::newRow("tab page 8 kept") << "TabPageIndex" << QVariant(8) << int(TabBarPageTextures);
    QTest::newRow("tab page 3 is none") << "TabPageIndex" << QVariant(3) << int(TabBarPageNone);
    QTest::newRow("neutral 8 kept") << "SchemeNeutralSubKind" << QVariant(8) << int(SchemeComplementaryNeutral);
    QTest::newRow("neutral 7 kept") << "SchemeNeutralSubKind" << QVariant(7) << int(SchemeTonalNeutral);
    QTest::newRow("neutral 6 is tonal") << "SchemeNeutralSubKind" << QVariant(6) << int(SchemeTonalNeutral);
    QTest::newRow("scheme 5 kept") << "SchemeKind" << QVariant(5) << int(SchemeDramatic);
    QTest::newRow("scheme 9 is none") << "SchemeKind" << QVariant(9) << int(SchemeNone);
    QTest::newRow("row text is 0") << "RowIndex" << QVariant(QStringLiteral("abc")) << 0;
    QTest::newRow("page as text") << "PageIndex" << QVariant(QStringLiteral("12")) << 12;
    QTest::newRow("segment not a number at all") << "SegmentIndex" << QVariant(QPoint(1, 2)) << 1;
    QTest::newRow("bool text yes") << "ShowMto" << QVariant(QStringLiteral("yes")) << 1;
    QTest::newRow("bool text 0") << "ShowMto" << QVariant(QStringLiteral("0")) << 0;
    QTest::newRow("bool text false") << "ExteriorColors" << QVariant(QStringLiteral("false")) << 0;
    QTest::newRow("bool not a bool at all") << "HuecastGroup_3_OpenState" << QVariant(QPoint(1, 2)) << 1;
    QTest::newRow("bool stored false") << "HuecastGroup_3_OpenState" << QVariant(false) << 0;
}

void TestSettings::storedValuesAreReadByTheirRule()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(int, expected);
    {
        RawStore store;
        store.beginGroup(deck.toString());
        store.setValue(key, stored);
    }
    QCOMPARE(getterNamed(key)(deck), expected);
}

void TestSettings::settersWriteIntoTheCollectionsGroup()
{
    Settings::setPageIndex(deck, 14);
    Settings::setRowIndex(deck, 3);
    Settings::setSegmentIndex(deck, 11);
    Settings::setMoodFilter(deck, MoodRich);
    Settings::setTabPage(deck, TabBarPageHuecast);
    Settings::setSchemeKind(deck, SchemeDynamic);
    Settings::setSchemeNeutralSubKind(deck, SchemeComplementaryNeutral);
    Settings::setShowMto(deck, true);
    Settings::setExteriorFilter(deck, true);
    Settings::setHuecastGroupOpen(deck, 12, false);

    QCOMPARE(Settings::pageIndex(deck), 14);
    QCOMPARE(Settings::rowIndex(deck), 3);
    QCOMPARE(Settings::segmentIndex(deck), 11);
    QCOMPARE(Settings::moodFilter(deck), MoodRich);
    QCOMPARE(Settings::tabPage(deck), TabBarPageHuecast);
    QCOMPARE(Settings::schemeKind(deck), SchemeDynamic);
    QCOMPARE(Settings::schemeNeutralSubKind(deck), SchemeComplementaryNeutral);
    QVERIFY(Settings::showMto(deck));
    QVERIFY(Settings::exteriorFilter(deck));
    QVERIFY(!Settings::huecastGroupOpen(deck, 12, true));
    QCOMPARE(Settings::pageIndex(otherDeck), 1);

    RawStore store;
    QCOMPARE(store.childGroups(), QStringList{QStringLiteral("{6a0c3b1e-1111-4c1e-9a10-3f6d2b810401}")});
    store.beginGroup(deck.toString());
    QCOMPARE(store.value(QStringLiteral("PageIndex")).toInt(), 14);
    QCOMPARE(store.value(QStringLiteral("MoodFilter")).toInt(), int(MoodRich));
    QVERIFY(store.contains(QStringLiteral("HuecastGroup_12_OpenState")));

    // Setters store what they are given; the read rule decides.
    Settings::setMoodFilter(deck, MoodNone);
    QCOMPARE(store.value(QStringLiteral("MoodFilter")).toInt(), 0);
    QCOMPARE(Settings::moodFilter(deck), MoodAll);
}

void TestSettings::paletteCellsPutTheRowFirst()
{
    DB::ItemIndex chip;
    chip.collection = deck;
    chip.pageId = 7;
    chip.entryId = 9;
    Settings::setMyPaletteEntry(QPoint(5, 2), chip);
    Settings::setMyPaletteEntryState(QPoint(5, 2), true);

    RawStore store;
    store.beginGroup(QStringLiteral("MyPalette"));
    QCOMPARE(store.childKeys(), (QStringList{QStringLiteral("(2,5).Entry"), QStringLiteral("(2,5).Selected")}));
    QCOMPARE(store.value(QStringLiteral("(2,5).Entry")).toString(),
             QStringLiteral("ItemIndex({6a0c3b1e-1111-4c1e-9a10-3f6d2b810401},7,9)"));

    const DB::ItemIndex read = Settings::myPaletteEntry(QPoint(5, 2));
    QCOMPARE(read.collection, deck);
    QCOMPARE(read.pageId, qint64(7));
    QCOMPARE(read.entryId, qint64(9));
    QVERIFY(Settings::myPaletteEntryState(QPoint(5, 2)));
    QVERIFY(!Settings::myPaletteEntryState(QPoint(2, 5)));
    QCOMPARE(Settings::myPaletteEntry(QPoint(2, 5)).entryId, qint64(-1));

    Settings::setMyPaletteEntryState(QPoint(5, 2), false);
    QVERIFY(!store.contains(QStringLiteral("(2,5).Selected")));

    Settings::setMyPaletteZoomState(QPoint(3, 1));
    Settings::setMyPaletteGridState(false);
    Settings::setMyPaletteFullBackgroundGray(64);
    Settings::setMyPaletteSaveFormat(PaletteFileFormatText);
    Settings::setMyPaletteDescription(QStringLiteral("Crème, sage and slate"));
    Settings::setMyPaletteLastPath(QStringLiteral("/home/user/palettes/kitchen.xml"));
    QCOMPARE(Settings::myPaletteZoomState(), QPoint(3, 1));
    QVERIFY(!Settings::myPaletteGridState());
    QCOMPARE(Settings::myPaletteFullBackgroundGray(), 64);
    QCOMPARE(Settings::myPaletteSaveFormat(), int(PaletteFileFormatText));
    QCOMPARE(Settings::myPaletteDescription(), QStringLiteral("Crème, sage and slate"));
    QCOMPARE(Settings::myPaletteLastPath(), QStringLiteral("/home/user/palettes/kitchen.xml"));
}

void TestSettings::emptiedCellsLeaveNoKey_data()
{
    QTest::addColumn<qint64>("entryId");
    QTest::newRow("entry id 0") << qint64(0);
    QTest::newRow("entry id -1") << qint64(-1);
}

void TestSettings::emptiedCellsLeaveNoKey()
{
    QFETCH(qint64, entryId);
    DB::ItemIndex chip;
    chip.collection = deck;
    chip.pageId = 7;
    chip.entryId = 9;
    Settings::setMyPaletteEntry(QPoint(0, 3), chip);
    chip.entryId = entryId;
    Settings::setMyPaletteEntry(QPoint(0, 3), chip);

    RawStore store;
    store.beginGroup(QStringLiteral("MyPalette"));
    QVERIFY(store.childKeys().isEmpty());
    QCOMPARE(Settings::myPaletteEntry(QPoint(0, 3)).entryId, qint64(-1));
}

void TestSettings::hostKeyDecidesTheStore()
{
    Settings::setHostApplicationKey(QString());
    QCOMPARE(Settings::hostApplicationKey(), QStringLiteral("hueform"));
    Settings::setHostApplicationPid(111);

    Settings::setHostApplicationKey(QStringLiteral("Photoshop"));
    Settings::setHostApplicationKey(QStringLiteral("Photoshop"));
    QCOMPARE(Settings::hostApplicationKey(), QStringLiteral("hueform.photoshop"));
    QCOMPARE(Settings::hostApplicationPid(), qint64(0));
    Settings::setHostApplicationPid(222);
    QCOMPARE(Settings::hostApplicationPid(), qint64(222));

    const QString folder = QDir(TestEnvironment::root()).filePath(QStringLiteral("config/Tavo Rindel"));
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("/hueform.photoshop.conf")));
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("/hueform.conf")));

    Settings::setHostApplicationKey(QString());
    QCOMPARE(Settings::hostApplicationPid(), qint64(111));
    clearStore();
}

void TestSettings::lastUsedCollectionIsCached()
{
    Settings::setUuidOfLastUsedCollection(deck);
    QVERIFY(Settings::hasUuidOfLastUsedCollection());
    QCOMPARE(RawStore().value(QStringLiteral("UuidOfLastUsedCollection")).toString(), deck.toString());

    // Once known, the store is not read again.
    RawStore().setValue(QStringLiteral("UuidOfLastUsedCollection"), otherDeck.toString());
    QCOMPARE(Settings::uuidOfLastUsedCollection(), deck);

    // A new process reads the store.
    Settings::s_lastUsedCollection = QUuid();
    QCOMPARE(Settings::uuidOfLastUsedCollection(), otherDeck);

    // A text that is no uuid leaves it unknown, and the store is asked again.
    Settings::s_lastUsedCollection = QUuid();
    RawStore().setValue(QStringLiteral("UuidOfLastUsedCollection"), QStringLiteral("not a uuid"));
    QVERIFY(Settings::uuidOfLastUsedCollection().isNull());
    RawStore().setValue(QStringLiteral("UuidOfLastUsedCollection"), deck.toString());
    QCOMPARE(Settings::uuidOfLastUsedCollection(), deck);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
