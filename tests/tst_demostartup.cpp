// A freshly built demo collection starts the plug-in and gives the views
// their settings, texts, images, colour and font.

#include "TestEnvironment.h"

#include "DemoCollection.h"
#include "DemoMaterials.h"
#include "database/DBManager.h"
#include "database/DBStructure.h"
#include "services/CollectionSettings.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QFontDatabase>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Velmar;

class TestDemoStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startsOnTheFirstDeck();
    void settingsOfEachDeck();
    void imagesAtTheSizeTheViewsAskFor_data();
    void imagesAtTheSizeTheViewsAskFor();
    void eachDeckHasItsOwnBannerMarkAndLogo();
    void colourAndFont();
    void textsForEveryKeyRead();
    void materialForTheLowerPages();

private:
    QStringList keysIn(const QString &table, const QString &column, qint64 collection);

    QTemporaryDir m_dir;
};

void TestDemoStartup::initTestCase()
{
    TestEnvironment::isolate();
    QString error;
    QVERIFY2(DemoCollection::write(m_dir.path(), &error), qPrintable(error));
    Settings::setHostApplicationKey(QStringLiteral("Photoshop"));
    QCOMPARE(Global::InitializePrerequisites(QStringLiteral("/plug-ins/zumo.photoshop.addon"), m_dir.path()), 0);
}

QStringList TestDemoStartup::keysIn(const QString &table, const QString &column, qint64 collection)
{
    QStringList keys;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
        db.setDatabaseName(DemoCollection::filePath(m_dir.path()));
        if (db.open()) {
            QSqlQuery query(db);
            query.exec(QStringLiteral("SELECT \"%1\" FROM %2 WHERE COLLECTION_ID = %3").arg(column, table).arg(collection));
            while (query.next())
                keys << query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
    return keys;
}

void TestDemoStartup::startsOnTheFirstDeck()
{
    const QUuid deck = Settings::uuidOfLastUsedCollection();
    QCOMPARE(deck, DemoCollection::InteriorDeckUuid);
    QCOMPARE(Localizer::getTextByKey(deck, LocalizerKeys::KeyOfPhotoshopSelectcolorButton), QStringLiteral("Select colour"));
    QCOMPARE(Theme::getImageByKey(Theme::KeyOfMoodCalmNormalImage, QSize(1, 1)).size(), QSize(23, 21));
    QCOMPARE(CollectionSettings::numOfSegments(deck), 12);
    // The name and search orders reached the database layer.
    QCOMPARE(DBManager::s_row_name_search_order, (QVector<qint64>{0, 1}));
    // The roller shows the short card label, the tool tip the full name too.
    QCOMPARE(DBManager::s_page_name_display_order, (QVector<qint64>{2, 0}));
}

void TestDemoStartup::settingsOfEachDeck()
{
    const QUuid interior = DemoCollection::InteriorDeckUuid;
    const QUuid cards = DemoCollection::CardDeckUuid;
    QCOMPARE(CollectionSettings::mode(interior), 1);
    QCOMPARE(CollectionSettings::mode(cards), 2);
    QCOMPARE(CollectionSettings::cardType(interior), 1);
    QCOMPARE(CollectionSettings::collectionName(cards), QStringLiteral("Atelier Cards"));
    QCOMPARE(CollectionSettings::tabBarPagesOrder(interior),
             (QVector<TabBarPage>{TabBarPageColorSchemes, TabBarPageHuecast, TabBarPageTextures, TabBarPageProducts}));
    QCOMPARE(CollectionSettings::availableTabBarPages(interior),
             TabBarPageColorSchemes | TabBarPageProducts | TabBarPageHuecast | TabBarPageTextures);
    QCOMPARE(CollectionSettings::availableTabBarPages(cards),
             TabBarPageColorSchemes | TabBarPageProducts | TabBarPageHuecast);
    QCOMPARE(CollectionSettings::schemesOrder(interior),
             (QVector<SchemeKind>{SchemeHarmonic, SchemeContrast, SchemeWideContrast, SchemeDynamic, SchemeDramatic,
                                  SchemeNeutral}));
    QCOMPARE(CollectionSettings::schemesOrder(cards), (QVector<SchemeKind>{SchemeHarmonic, SchemeContrast, SchemeNeutral}));
    QCOMPARE(CollectionSettings::cie200DeltaIntervals(interior), (QVector<double>{1, 2.5, 5, 10}));
    QCOMPARE(CollectionSettings::textureSize(interior, QSize()), QSize(148, 96));
    QCOMPARE(CollectionSettings::maxChipsOnAPage(cards), 5);
    QVERIFY(CollectionSettings::tooltipShowsRowCode(interior));
    QVERIFY(!CollectionSettings::tooltipShowsPageIndex(interior));
    QVERIFY(CollectionSettings::tooltipShowsPageIndex(cards));
    QVERIFY(CollectionSettings::hasExteriorFilter(interior));
    QVERIFY(!CollectionSettings::hasExteriorFilter(cards));
    // The interior deck is linked to the measuring device's folder, the card deck is not.
    QVERIFY(CollectionSettings::dizevizAvailable(interior));
    QVERIFY(!CollectionSettings::dizevizAvailable(cards));
    QCOMPARE(CollectionSettings::dizevizWatchFolder(interior), QStringLiteral("/tmp/hueform-dizeviz"));
    QCOMPARE(CollectionSettings::dizevizWatchFileName(interior), QStringLiteral("measurement.cxf"));
}

void TestDemoStartup::imagesAtTheSizeTheViewsAskFor_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QSize>("size");
    const auto add = [](const QStringList &keys, const QSize &size) {
        for (const QString &key : keys)
            QTest::newRow(qPrintable(key)) << key << size;
    };
    using T = Theme;
    add({T::KeyOfWidgetMainBackgroundImage}, QSize(800, 600));
    add({T::KeyOfHeaderImage}, QSize(800, 70));
    add({T::KeyOfWidgetBarBackgroundImage}, QSize(30, 30));
    add({T::KeyOfDropDownArrowUpImage, T::KeyOfDropDownArrowDownImage}, QSize(20, 20));
    add({T::KeyOfColorWheelWidgetBackgroundImage}, QSize(122, 122));
    add({T::KeyOfRollBackwardNormalImage, T::KeyOfRollBackwardDownImage, T::KeyOfRollForwardNormalImage,
         T::KeyOfRollForwardDownImage},
        QSize(16, 20));
    add({T::KeyOfTickNormalImage}, QSize(12, 11));
    add({T::KeyOfMoodDisabledImage}, QSize(11, 11));
    add({T::KeyOfMoodCalmNormalImage, T::KeyOfMoodCalmSelectedImage, T::KeyOfMoodFreshNormalImage,
         T::KeyOfMoodFreshSelectedImage, T::KeyOfMoodNeutralNormalImage, T::KeyOfMoodNeutralSelectedImage,
         T::KeyOfMoodOffwhiteNormalImage, T::KeyOfMoodOffwhiteSelectedImage, T::KeyOfMoodRichNormalImage,
         T::KeyOfMoodRichSelectedImage, T::KeyOfMoodWarmNormalImage, T::KeyOfMoodWarmSelectedImage,
         T::KeyOfMoodAllMoodsImage, T::KeyOfMoodExternalColorsOnlyImage},
        QSize(23, 21));
    add({T::KeyOfSchemeContrastingNormalImage, T::KeyOfSchemeContrastingSelectedImage,
         T::KeyOfSchemeDramaticNormalImage, T::KeyOfSchemeDramaticSelectedImage, T::KeyOfSchemeDynamicNormalImage,
         T::KeyOfSchemeDynamicSelectedImage, T::KeyOfSchemeHarmonisingNormalImage,
         T::KeyOfSchemeHarmonisingSelectedImage, T::KeyOfSchemeNeutralNormalImage, T::KeyOfSchemeNeutralSelectedImage,
         T::KeyOfSchemeWideContrastNormalImage, T::KeyOfSchemeWideContrastSelectedImage},
        QSize(44, 44));
    add({T::KeyOfComplementaryNeutralMarkerNormalImage, T::KeyOfComplementaryNeutralMarkerSelectedImage}, QSize(9, 9));
    add({T::KeyOfSearchWidgetMagnifyingGlassImage, T::KeyOfDizevizButtonImage, T::KeyOfMyPaletteEraserImage,
         T::KeyOfMyPaletteGridOffImage, T::KeyOfMyPaletteTrashImage, T::KeyOfMyPaletteZoomImage,
         T::KeyOfMyPaletteFullBackButtonImage, T::KeyOfHuecastGroupOpenImage, T::KeyOfHuecastGroupClosedImage},
        QSize(16, 16));
    add({T::KeyOfMyPaletteClearPaletteQuestionImage}, QSize(128, 128));
    add({T::KeyOfMyPaletteFullSliderBackgroundImage, T::KeyOfMyPaletteFullSliderThumbImage}, QSize(21, 7));
    add({T::KeyOfAboutBoxLogoImage}, QSize(128, 64));
    add({T::KeyOfMtoImage}, QSize(96, 50));
    add({T::KeyOfIconImage}, QSize(64, 64));
    add({T::KeyOfVerticalScrollbarThumbImage}, QSize(10, 40));
}

void TestDemoStartup::imagesAtTheSizeTheViewsAskFor()
{
    QFETCH(QString, key);
    QFETCH(QSize, size);
    // Asked at another size: a stored image comes at its own.
    const QImage image = Theme::getImageByKey(key, QSize(5, 5));
    QCOMPARE(image.size(), size);
    // Drawn, not blank.
    bool painted = false;
    for (int y = 0; y < image.height() && !painted; ++y) {
        for (int x = 0; x < image.width() && !painted; ++x)
            painted = qAlpha(image.pixel(x, y)) > 0;
    }
    QVERIFY(painted);
}

void TestDemoStartup::eachDeckHasItsOwnBannerMarkAndLogo()
{
    for (const QString &key : {Theme::KeyOfHeaderImage, Theme::KeyOfMtoImage, Theme::KeyOfAboutBoxLogoImage}) {
        const QImage interior = Theme::getImageByKey(DemoCollection::InteriorDeckUuid, key, QSize(5, 5));
        const QImage cards = Theme::getImageByKey(DemoCollection::CardDeckUuid, key, QSize(5, 5));
        QCOMPARE(interior.size(), Theme::getImageByKey(key, QSize(5, 5)).size());
        QCOMPARE(cards.size(), interior.size());
    }
    // The banners show each deck's own chips.
    QVERIFY(Theme::getImageByKey(DemoCollection::InteriorDeckUuid, Theme::KeyOfHeaderImage, QSize())
            != Theme::getImageByKey(DemoCollection::CardDeckUuid, Theme::KeyOfHeaderImage, QSize()));

    // Every theme row of the demo carries a key the plug-in knows.
    const QStringList keys = keysIn(QStringLiteral("THEME"), QStringLiteral("ITEM_KEY"), DBStructure::SystemWideCollectionId);
    QCOMPARE(keys.size(), 58);
    QVERIFY(keys.contains(Theme::KeyOfCollectionSelectorTextColor));
    QVERIFY(keys.contains(Theme::KeyOfPreferredFontFaces));
}

void TestDemoStartup::colourAndFont()
{
    QCOMPARE(Theme::getColorByKey(Theme::KeyOfCollectionSelectorTextColor, Qt::red), QColor(51, 51, 51));
    if (!QFontDatabase::families().contains(QStringLiteral("DejaVu Sans")))
        QSKIP("DejaVu Sans is not installed");
    Theme::selectedCollectionChanged(QUuid());
    QCOMPARE(Theme::preferredFontFamily(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(Theme::normalFont(Theme::FontSizeLarger).pointSize(), 13);
}

void TestDemoStartup::textsForEveryKeyRead()
{
    QStringList known = LocalizerKeys::AllKeys();
    known << LocalizerKeys::KeyOfAboutBoxCaption << LocalizerKeys::KeyOfAboutBoxMainText
          << LocalizerKeys::KeyOfAboutBoxCopyrightText << LocalizerKeys::KeyOfAboutBoxVersion
          << LocalizerKeys::KeyOfAboutBoxQtLicenseButton << LocalizerKeys::KeyOfAboutBoxCloseButton
          << LocalizerKeys::KeyOf3DSMaxSelectColorButton << LocalizerKeys::KeyOfDontShowMto;
    for (const QUuid &deck : {DemoCollection::InteriorDeckUuid, DemoCollection::CardDeckUuid}) {
        const QStringList keys = keysIn(QStringLiteral("LOCALE"), QStringLiteral("KEY"), DBManager::GetCollectionIdByUuid(deck));
        QCOMPARE(keys.size(), 60);
        for (const QString &key : keys) {
            QVERIFY2(known.contains(key), qPrintable(key));
            QVERIFY(Localizer::getTextByKey(deck, key) != key);
        }
    }
    QCOMPARE(Localizer::getTextByKey(DemoCollection::CardDeckUuid, LocalizerKeys::KeyOfColorPaletteCaption),
             QStringLiteral("Atelier Cards"));
}

void TestDemoStartup::materialForTheLowerPages()
{
    const QUuid interior = DemoCollection::InteriorDeckUuid;
    const QUuid cards = DemoCollection::CardDeckUuid;

    // Textures at the tile size: three system-wide, three of the interior deck.
    QHash<qint64, DB::Texture> textures;
    QCOMPARE(DBManager::GetTexturesForCollection(interior, textures), 0);
    QCOMPARE(textures.size(), 6);
    for (const DB::Texture &texture : qAsConst(textures))
        QCOMPARE(texture.image.size(), QSize(148, 96));
    QCOMPARE(DBManager::GetTexturesForCollection(cards, textures), 0);
    QCOMPARE(textures.size(), 3);
    QCOMPARE(DemoMaterials::drawTexture(QStringLiteral("Oak")).size(), QSize(148, 96));

    // The first card carries three placings, each of a texture the deck has.
    DB::ColorPage first;
    QCOMPARE(DBManager::GetColorPageByIndex(interior, 1, first), 0);
    QVector<DB::TextureMap> placings;
    QCOMPARE(DBManager::GetTextureMapForPageById(interior, first.id, placings), 0);
    QCOMPARE(placings.size(), 3);
    QCOMPARE(DBManager::GetTexturesForCollection(interior, textures), 0);
    for (const DB::TextureMap &placing : qAsConst(placings))
        QVERIFY(textures.contains(placing.textureId));

    // Trend groups: one open, closed ones, an empty one; every entry named.
    QHash<qint64, DB::HuecastGroup> groups;
    QCOMPARE(DBManager::GetHuecastFor(interior, groups), 0);
    QCOMPARE(groups.size(), 4);
    int open = 0;
    int empty = 0;
    for (const DB::HuecastGroup &group : qAsConst(groups)) {
        open += group.defaultOpen ? 1 : 0;
        empty += group.entries.isEmpty() ? 1 : 0;
        for (const DB::HuecastEntry &entry : group.entries) {
            QVERIFY(!entry.name1.isEmpty() && !entry.name2.isEmpty());
            QVERIFY(entry.rowId > 0);
        }
    }
    QCOMPARE(open, 1);
    QCOMPARE(empty, 1);

    // Products by group on the interior deck, by name on the card deck.
    QCOMPARE(CollectionSettings::productGroupMode(interior), 0);
    QCOMPARE(CollectionSettings::productGroupMode(cards), 1);
    QVector<QString> names;
    QCOMPARE(DBManager::GetProductGroupsFor(interior, first.entries.at(0).id, names), 0);
    QVERIFY(names.contains(QStringLiteral("Walls and ceilings")));
    DB::ColorPage card;
    QCOMPARE(DBManager::GetColorPageByIndex(cards, 1, card), 0);
    QCOMPARE(DBManager::GetProductsFor(cards, card.entries.at(0).id, names), 0);
    QVERIFY(names.contains(QStringLiteral("Matt emulsion")));
}

QTEST_MAIN(TestDemoStartup)
#include "tst_demostartup.moc"
