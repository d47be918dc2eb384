// The browsing requests of the main widget, sent through the views' own
// signals: what each one stores, which card it finds, the collection switch
// and the tab pages.

#include "MainWidgetFixture.h"

#include "database/DBManager.h"
#include "plugin/CollectionSelectWidget.h"
#include "plugin/MainWidget.h"
#include "plugin/TaskButton.h"
#include "services/CollectionSettings.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "views/CardRollerWidget.h"
#include "views/ColorSchemerSarnexeWidget.h"
#include "views/ColorSchemerWidget.h"
#include "views/ColorWheelWidget.h"
#include "views/HuecastViewport.h"
#include "views/HuecastWidget.h"
#include "views/MoodSelectWidget.h"
#include "views/ProductsWidget.h"
#include "views/SearchWidget.h"
#include "views/TabBarWidget.h"
#include "views/TexturesViewport.h"
#include "views/TexturesWidget.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace Velmar;

namespace {

// The browsing state of a collection, as one value.
struct State {
    int page = 1;
    int row = 1;
    int segment = 1;
    int mood = 7;
    bool exterior = false;

    bool operator==(const State &other) const
    {
        return page == other.page && row == other.row && segment == other.segment && mood == other.mood
            && exterior == other.exterior;
    }
    static State of(const QUuid &collection)
    {
        return {Settings::pageIndex(collection), Settings::rowIndex(collection), Settings::segmentIndex(collection),
                int(Settings::moodFilter(collection)), Settings::exteriorFilter(collection)};
    }
};

} // namespace

Q_DECLARE_METATYPE(State)

namespace QTest {
template <>
char *toString(const State &state)
{
    return qstrdup(qPrintable(QStringLiteral("page %1, row %2, segment %3, mood %4, exterior %5")
                                  .arg(state.page)
                                  .arg(state.row)
                                  .arg(state.segment)
                                  .arg(state.mood)
                                  .arg(state.exterior)));
}
} // namespace QTest

class TestMainWidgetBrowsing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void searchForPhrase_data();
    void searchForPhrase();
    void roll_data();
    void roll();
    void wheelFindsTheFirstCardOfTheSegment();
    void filtersMoveToACardTheyShow_data();
    void filtersMoveToACardTheyShow();
    void pageRowAndSchemeAreStored();
    void switchToTheSameOrAnUninstalledCollectionDoesNothing_data();
    void switchToTheSameOrAnUninstalledCollectionDoesNothing();
    void switchThroughTheChooser();
    void eachCollectionKeepsItsOwnState();
    void tabPageVisibility_data();
    void tabPageVisibility();
    void dizevizSelection_data();
    void dizevizSelection();
    void trendColoursFillThePage();
    void shownPagesFollowTheSelection();
    void hiddenPagesShowTheLastCollection_data();
    void hiddenPagesShowTheLastCollection();

private:
    void makeMainWidget();

    MainWidgetFixture m_fixture;
    std::unique_ptr<MainWidget> m_main;
};

void TestMainWidgetBrowsing::initTestCase()
{
    MainWidgetFixture::isolate();
    QVERIFY2(m_fixture.write(), qPrintable(m_fixture.error()));
}

void TestMainWidgetBrowsing::init()
{
    MainWidgetFixture::browse(MainWidgetFixture::Alpha);
}

void TestMainWidgetBrowsing::cleanup()
{
    m_main.reset();
}

void TestMainWidgetBrowsing::makeMainWidget()
{
    m_main.reset(new MainWidget(Global::g_mainWidget, nullptr));
}

void TestMainWidgetBrowsing::searchForPhrase_data()
{
    QTest::addColumn<State>("before");
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<State>("after");
    // Alpha's cards: 1 segment 1 fresh, 2 segment 3 calm and exterior,
    // 3 segment 5 offwhite, 4 segment 7 neutral, 5 segment 9 warm, 6 segment 11 rich.
    QTest::newRow("a chip of another mood opens the filter to all moods")
        << State{1, 1, 1, 3, false} << QStringLiteral("A-52") << State{5, 2, 9, 7, false};
    QTest::newRow("an offwhite chip sets the filter to offwhite")
        << State{1, 1, 1, 2, false} << QStringLiteral("A-31") << State{3, 1, 5, 5, false};
    QTest::newRow("a neutral chip sets the filter to neutral")
        << State{1, 1, 1, 2, false} << QStringLiteral("a-43") << State{4, 3, 7, 6, false};
    QTest::newRow("a chip of the filter's mood keeps it")
        << State{1, 1, 1, 2, false} << QStringLiteral("A-54") << State{5, 4, 9, 2, false};
    QTest::newRow("an exterior chip keeps the exterior filter")
        << State{1, 1, 1, 3, true} << QStringLiteral("A-22") << State{2, 2, 3, 3, true};
    QTest::newRow("an interior chip switches the exterior filter off")
        << State{2, 1, 3, 7, true} << QStringLiteral("A-12") << State{1, 2, 1, 7, false};
    QTest::newRow("a card name keeps the row")
        << State{1, 3, 1, 7, false} << QStringLiteral("A CARD 6") << State{6, 3, 11, 7, false};
    QTest::newRow("the current chip changes nothing")
        << State{5, 2, 9, 7, false} << QStringLiteral("A-52") << State{5, 2, 9, 7, false};
    QTest::newRow("an unknown phrase changes nothing")
        << State{4, 2, 7, 6, true} << QStringLiteral("NOT A CODE") << State{4, 2, 7, 6, true};
    QTest::newRow("a chip of another collection is not found")
        << State{1, 1, 1, 7, false} << QStringLiteral("B-11") << State{1, 1, 1, 7, false};
}

void TestMainWidgetBrowsing::searchForPhrase()
{
    QFETCH(State, before);
    QFETCH(QString, phrase);
    QFETCH(State, after);
    MainWidgetFixture::browse(MainWidgetFixture::Alpha, before.page, before.row, before.segment, before.mood,
                              before.exterior);
    makeMainWidget();
    emit m_main->searchField()->searchForPhrase(phrase);
    QCOMPARE(State::of(MainWidgetFixture::Alpha), after);
}

void TestMainWidgetBrowsing::roll_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<State>("before");
    QTest::addColumn<int>("direction");
    QTest::addColumn<State>("after");
    QTest::addColumn<int>("pageAfterRollingBack");
    QTest::newRow("forward to the next card and its segment")
        << MainWidgetFixture::Alpha << State{1, 3, 1, 7, false} << int(DirectionForward) << State{2, 3, 3, 7, false} << 1;
    QTest::newRow("forward past the last card wraps")
        << MainWidgetFixture::Alpha << State{6, 2, 11, 7, false} << int(DirectionForward) << State{1, 2, 1, 7, false} << 6;
    QTest::newRow("backward past the first card wraps")
        << MainWidgetFixture::Alpha << State{1, 1, 1, 7, false} << int(DirectionBackward) << State{6, 1, 11, 7, false} << 1;
    QTest::newRow("the mood filter skips cards")
        << MainWidgetFixture::Alpha << State{1, 1, 1, 6, false} << int(DirectionForward) << State{4, 1, 7, 6, false} << 4;
    QTest::newRow("the only card of the filter stays")
        << MainWidgetFixture::Alpha << State{2, 1, 3, 7, true} << int(DirectionForward) << State{2, 1, 3, 7, true} << 2;
    QTest::newRow("a deck of one card stays")
        << MainWidgetFixture::Bravo << State{1, 1, 2, 7, false} << int(DirectionBackward) << State{1, 1, 2, 7, false} << 1;
}

void TestMainWidgetBrowsing::roll()
{
    QFETCH(QUuid, collection);
    QFETCH(State, before);
    QFETCH(int, direction);
    QFETCH(State, after);
    QFETCH(int, pageAfterRollingBack);
    MainWidgetFixture::browse(collection, before.page, before.row, before.segment, before.mood, before.exterior);
    makeMainWidget();
    // The roller and the search field's roll buttons ask alike.
    emit m_main->cardRoller()->roll(Direction(direction));
    QCOMPARE(State::of(collection), after);
    emit m_main->searchField()->roll(direction == DirectionForward ? DirectionBackward : DirectionForward);
    QCOMPARE(State::of(collection).page, pageAfterRollingBack);
}

void TestMainWidgetBrowsing::wheelFindsTheFirstCardOfTheSegment()
{
    MainWidgetFixture::browse(MainWidgetFixture::Alpha, 1, 2);
    makeMainWidget();
    emit m_main->colorWheel()->segmentChangedInteractively(3);
    QCOMPARE(State::of(MainWidgetFixture::Alpha), (State{2, 2, 3, 7, false}));
    // All moods leave the neutral card of segment 7 out: the next segment
    // that has a card; the wheel itself reports the segment it confirmed.
    emit m_main->colorWheel()->segmentChangedInteractively(7);
    QCOMPARE(State::of(MainWidgetFixture::Alpha), (State{5, 2, 7, 7, false}));
    emit m_main->moodStrip()->moodFilterChangedInteractively(MoodNeutral);
    emit m_main->colorWheel()->segmentChangedInteractively(7);
    QCOMPARE(State::of(MainWidgetFixture::Alpha), (State{4, 2, 7, 6, false}));
}

void TestMainWidgetBrowsing::filtersMoveToACardTheyShow_data()
{
    QTest::addColumn<int>("mood");
    QTest::addColumn<bool>("exterior");
    QTest::addColumn<State>("after");
    QTest::newRow("neutral from the first card") << 6 << false << State{4, 1, 7, 6, false};
    QTest::newRow("exterior colours") << 7 << true << State{2, 1, 3, 7, true};
    QTest::newRow("the current card's mood keeps it") << 1 << false << State{1, 1, 1, 1, false};
}

void TestMainWidgetBrowsing::filtersMoveToACardTheyShow()
{
    QFETCH(int, mood);
    QFETCH(bool, exterior);
    QFETCH(State, after);
    makeMainWidget();
    if (mood != 7)
        emit m_main->moodStrip()->moodFilterChangedInteractively(Mood(mood));
    if (exterior)
        emit m_main->moodStrip()->exteriorFilterChangedInteractively(true);
    QCOMPARE(State::of(MainWidgetFixture::Alpha), after);
}

void TestMainWidgetBrowsing::pageRowAndSchemeAreStored()
{
    makeMainWidget();
    emit m_main->cardRoller()->pageChangedInteractively(3);
    emit m_main->cardRoller()->rowChangedInteractively(4);
    // The segment is the wheel's to set.
    QCOMPARE(State::of(MainWidgetFixture::Alpha), (State{3, 4, 1, 7, false}));
    emit m_main->colorSchemer()->schemeKindChangedInteractively(SchemeDramatic);
    emit m_main->colorSchemer()->schemeNeutralSubKindChangedInteractively(SchemeTonalNeutral);
    QCOMPARE(Settings::schemeKind(MainWidgetFixture::Alpha), SchemeDramatic);
    QCOMPARE(Settings::schemeNeutralSubKind(MainWidgetFixture::Alpha), SchemeTonalNeutral);

    // The powder-coating deck has only the made-to-order switch: no card is sought.
    MainWidgetFixture::browse(MainWidgetFixture::Sarnex, 2, 2, 4);
    makeMainWidget();
    emit m_main->moodStrip()->showMtoChangedInteractively(true);
    QVERIFY(Settings::showMto(MainWidgetFixture::Sarnex));
    QCOMPARE(State::of(MainWidgetFixture::Sarnex), (State{2, 2, 4, 7, false}));
}

void TestMainWidgetBrowsing::switchToTheSameOrAnUninstalledCollectionDoesNothing_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::newRow("the current one") << MainWidgetFixture::Alpha;
    QTest::newRow("one no file holds") << MainWidgetFixture::Missing;
    QTest::newRow("the null uuid") << QUuid();
}

void TestMainWidgetBrowsing::switchToTheSameOrAnUninstalledCollectionDoesNothing()
{
    QFETCH(QUuid, collection);
    makeMainWidget();
    QSignalSpy changed(m_main.get(), SIGNAL(selectedCollectionChanged(QUuid)));
    QSignalSpy dizeviz(m_main.get(), SIGNAL(onDizevizFileChanged(QString)));
    const QString folder = m_main->dizevizFolder();
    emit m_main->collectionChooser()->collectionSelectedInteractively(collection);
    QCOMPARE(changed.count(), 0);
    QCOMPARE(dizeviz.count(), 0);
    QCOMPARE(Settings::uuidOfLastUsedCollection(), MainWidgetFixture::Alpha);
    // Not even reloaded: the watch stays on the current folder.
    QCOMPARE(m_main->dizevizFolder(), folder);
    QCOMPARE(m_main->dizevizWatcher()->directories(), QStringList{folder});
}

void TestMainWidgetBrowsing::switchThroughTheChooser()
{
    makeMainWidget();
    QVERIFY(!m_main->dizevizFolder().isEmpty());
    // Whoever listens sees every service already on the new collection.
    QList<QUuid> seen;
    connect(m_main.get(), &MainWidget::selectedCollectionChanged, this, [&seen](const QUuid &collection) {
        seen << collection << Settings::uuidOfLastUsedCollection() << CollectionSettings::s_dataCacheCollectionUuid;
        QCOMPARE(CollectionSettings::moodVisible(collection), collection != MainWidgetFixture::Bravo);
    });
    QSignalSpy dizeviz(m_main.get(), SIGNAL(onDizevizFileChanged(QString)));
    emit m_main->collectionChooser()->collectionSelectedInteractively(MainWidgetFixture::Bravo);
    QCOMPARE(seen, (QList<QUuid>{MainWidgetFixture::Bravo, MainWidgetFixture::Bravo, MainWidgetFixture::Bravo}));
    QCOMPARE(Settings::uuidOfLastUsedCollection(), MainWidgetFixture::Bravo);
    QCOMPARE(m_main->collectionChooser()->collectionName(), QStringLiteral("Bravo"));

    // Bravo watches no Dizeviz folder and hides the mood strip.
    QCOMPARE(dizeviz.count(), 1);
    QCOMPARE(dizeviz.first().first().toString(), QString());
    QVERIFY(m_main->dizevizWatcher()->directories().isEmpty());
    QVERIFY(m_main->moodStrip()->isHidden());
    QCOMPARE(m_main->cardRoller()->geometry().top(), m_main->colorWheel()->geometry().bottom() + 6);
    // The link texts follow, the dialog's filters stay.
    QVERIFY(m_main->copyrightLabel()->text().contains(QLatin1String("About Bravo")));
    QCOMPARE(m_main->paletteFilter(), QStringLiteral("Palette files (*.palette)"));
    QCOMPARE(m_main->matchTable().size(), 1);
    QVERIFY(m_main->isEnabled());
    QVERIFY(m_main->updatesEnabled());
    QCOMPARE(m_main->cursor().shape(), Qt::ArrowCursor);

    // The roller may ask for a switch too, when a chip of another deck is dropped.
    emit m_main->cardRoller()->collectionSelectedInteractively(MainWidgetFixture::Alpha);
    QCOMPARE(Settings::uuidOfLastUsedCollection(), MainWidgetFixture::Alpha);
    QCOMPARE(m_main->dizevizWatcher()->directories(), QStringList{m_fixture.dizevizFolder()});
    QVERIFY(!m_main->moodStrip()->isHidden());
}

void TestMainWidgetBrowsing::eachCollectionKeepsItsOwnState()
{
    MainWidgetFixture::browse(MainWidgetFixture::Bravo, 1, 1, 2);
    MainWidgetFixture::browse(MainWidgetFixture::Alpha, 4, 3, 7, 6, false);
    Settings::setTabPage(MainWidgetFixture::Alpha, TabBarPageColorSchemes);
    makeMainWidget();
    emit m_main->collectionChooser()->collectionSelectedInteractively(MainWidgetFixture::Bravo);
    emit m_main->cardRoller()->rowChangedInteractively(1);
    emit m_main->collectionChooser()->collectionSelectedInteractively(MainWidgetFixture::Alpha);
    QCOMPARE(State::of(MainWidgetFixture::Alpha), (State{4, 3, 7, 6, false}));
    QCOMPARE(State::of(MainWidgetFixture::Bravo), (State{1, 1, 2, 7, false}));
}

void TestMainWidgetBrowsing::tabPageVisibility_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("shown");
    QTest::newRow("schemes of a normal deck") << MainWidgetFixture::Alpha << 1 << QStringLiteral("ColorSchemerWidget");
    QTest::newRow("schemes of a powder-coating deck") << MainWidgetFixture::Sarnex << 1
                                                      << QStringLiteral("ColorSchemerSarnexeWidget");
    QTest::newRow("schemes of a deck of no card type") << MainWidgetFixture::Plain << 1 << QString();
    QTest::newRow("products") << MainWidgetFixture::Alpha << 2 << QStringLiteral("ProductsWidget");
    QTest::newRow("trend colours") << MainWidgetFixture::Alpha << 4 << QStringLiteral("HuecastWidget");
    QTest::newRow("textures") << MainWidgetFixture::Alpha << 8 << QStringLiteral("TexturesWidget");
    QTest::newRow("textures of a powder-coating deck") << MainWidgetFixture::Sarnex << 8
                                                       << QStringLiteral("TexturesWidget");
    QTest::newRow("no page") << MainWidgetFixture::Alpha << 0 << QString();
}

void TestMainWidgetBrowsing::tabPageVisibility()
{
    QFETCH(QUuid, collection);
    QFETCH(int, page);
    QFETCH(QString, shown);
    MainWidgetFixture::browse(collection);
    // Start elsewhere, so that the request is a change.
    Settings::setTabPage(collection, page == TabBarPageColorSchemes ? TabBarPageTextures : TabBarPageColorSchemes);
    makeMainWidget();
    emit m_main->tabBar()->tabPageSelected(TabBarPage(page));
    QCOMPARE(int(Settings::tabPage(collection)), page);
    const QList<QWidget *> pages{m_main->colorSchemer(), m_main->sarnexSchemer(), m_main->huecast(),
                                 m_main->textures(), m_main->products()};
    for (QWidget *view : pages)
        QCOMPARE(view->isHidden(), QLatin1String(view->metaObject()->className()) != QStringLiteral("Velmar::") + shown);
}

void TestMainWidgetBrowsing::dizevizSelection_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("row");
    QTest::addColumn<State>("after");
    QTest::newRow("a chip of the current collection") << MainWidgetFixture::Alpha << 5 << 3 << State{5, 3, 9, 7, false};
    QTest::newRow("a chip of another collection") << MainWidgetFixture::Bravo << 1 << 1 << State{1, 1, 2, 7, false};
}

void TestMainWidgetBrowsing::dizevizSelection()
{
    QFETCH(QUuid, collection);
    QFETCH(int, page);
    QFETCH(int, row);
    QFETCH(State, after);
    MainWidgetFixture::browse(MainWidgetFixture::Bravo, 1, 1, 6);
    MainWidgetFixture::browse(MainWidgetFixture::Alpha, 2, 4, 3, 7, false);
    makeMainWidget();
    DB::ColorEntry entry;
    QCOMPARE(DBManager::GetColorEntryByPageAndRowIndex(collection, page, row, entry), 0);
    emit m_main->collectionChooser()->dizevizItemSelectedInteractively(collection, entry);
    QCOMPARE(Settings::uuidOfLastUsedCollection(), collection);
    QCOMPARE(State::of(collection), after);
}

void TestMainWidgetBrowsing::trendColoursFillThePage()
{
    makeMainWidget();
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    emit m_main->tabBar()->tabPageSelected(TabBarPageHuecast);
    QVERIFY(m_main->huecast()->isVisible());
    // Laid out at the page's full current size.
    QCOMPARE(m_main->huecast()->huecastViewport()->minimumSize(), m_main->huecast()->maximumViewportSize());
    QCOMPARE(m_main->huecast()->huecastViewport()->groupOrder().size(), 1);
}

void TestMainWidgetBrowsing::shownPagesFollowTheSelection()
{
    makeMainWidget();
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    // The textures of the card the roller moves to, as by a drop on it.
    emit m_main->tabBar()->tabPageSelected(TabBarPageTextures);
    const TexturesViewport *textures = m_main->textures()->texturesViewport();
    QCOMPARE(textures->tiles().size(), 1);
    emit m_main->cardRoller()->pageChangedInteractively(2);
    QCOMPARE(textures->tiles().size(), 2);
    emit m_main->cardRoller()->roll(DirectionForward);
    QCOMPARE(Settings::pageIndex(MainWidgetFixture::Alpha), 5);
    QCOMPARE(textures->tiles().size(), 0);

    // The products page names the chip selected, whatever selected it.
    emit m_main->tabBar()->tabPageSelected(TabBarPageProducts);
    QLabel *caption = m_main->products()->caption();
    emit m_main->cardRoller()->rowChangedInteractively(3);
    QCOMPARE(caption->text(), MainWidgetFixture::chipCode(MainWidgetFixture::Alpha, 5, 3));
    emit m_main->searchField()->searchForPhrase(QStringLiteral("A-12"));
    QCOMPARE(caption->text(), QStringLiteral("A-12"));
    emit m_main->colorWheel()->segmentChangedInteractively(9);
    QCOMPARE(caption->text(), QStringLiteral("A-52"));
    emit m_main->moodStrip()->exteriorFilterChangedInteractively(true);
    QCOMPARE(caption->text(), QStringLiteral("A-22"));
}

void TestMainWidgetBrowsing::hiddenPagesShowTheLastCollection_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<bool>("windowShown");
    for (const bool shown : {true, false}) {
        const char *window = shown ? "in a shown window" : "in a window never shown";
        QTest::addRow("textures %s", window) << int(TabBarPageTextures) << shown;
        QTest::addRow("trend colours %s", window) << int(TabBarPageHuecast) << shown;
        QTest::addRow("products %s", window) << int(TabBarPageProducts) << shown;
    }
}

// A hidden page leaves its reload to its next show; shown after two
// switches, it has the content of the last collection, neither of the one
// it was built on nor of the one between (only Alpha has textures, a trend
// group and products of its own).
void TestMainWidgetBrowsing::hiddenPagesShowTheLastCollection()
{
    QFETCH(int, page);
    QFETCH(bool, windowShown);
    MainWidgetFixture::browse(MainWidgetFixture::Alpha, 2, 3);
    MainWidgetFixture::browse(MainWidgetFixture::Sarnex);
    MainWidgetFixture::browse(MainWidgetFixture::Bravo);
    for (const QUuid &collection : {MainWidgetFixture::Alpha, MainWidgetFixture::Bravo, MainWidgetFixture::Sarnex})
        Settings::setTabPage(collection, TabBarPageColorSchemes);
    makeMainWidget();
    if (windowShown) {
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    }
    QHash<qint64, DB::Texture> alphaTextures;
    QCOMPARE(DBManager::GetTexturesForCollection(MainWidgetFixture::Alpha, alphaTextures), 0);
    const QList<qint64> builtWith = m_main->textures()->texturesViewport()->textures().keys();
    QVERIFY(builtWith != alphaTextures.keys());

    emit m_main->collectionChooser()->collectionSelectedInteractively(MainWidgetFixture::Sarnex);
    emit m_main->collectionChooser()->collectionSelectedInteractively(MainWidgetFixture::Alpha);
    QVERIFY(m_main->textures()->reloadPending());
    QVERIFY(m_main->huecast()->reloadPending());
    QVERIFY(m_main->products()->refreshPending());

    emit m_main->tabBar()->tabPageSelected(TabBarPage(page));
    switch (page) {
    case TabBarPageTextures:
        QCOMPARE(m_main->textures()->texturesViewport()->textures().keys(), alphaTextures.keys());
        QCOMPARE(m_main->textures()->texturesViewport()->tiles().size(), 2);
        QVERIFY(!m_main->textures()->reloadPending());
        break;
    case TabBarPageHuecast:
        QCOMPARE(m_main->huecast()->huecastViewport()->groupOrder().size(), 1);
        QVERIFY(!m_main->huecast()->reloadPending());
        break;
    case TabBarPageProducts:
        QCOMPARE(m_main->products()->caption()->text(), MainWidgetFixture::chipCode(MainWidgetFixture::Alpha, 2, 3));
        QVERIFY(!m_main->products()->refreshPending());
        break;
    default:
        QFAIL("no such page in the table");
    }
}

QTEST_MAIN(TestMainWidgetBrowsing)
#include "tst_mainwidgetbrowsing.moc"
