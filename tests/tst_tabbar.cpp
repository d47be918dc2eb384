// The tab bar: tab places from caption widths, the pages shown, paint,
// clicks, hover, and the Ctrl+T chords.

#include "FixtureFolder.h"
#include "FixtureTheme.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/Theme.h"
#include "views/TabBarWidget.h"

#include <QAction>
#include <QSignalSpy>
#include <QtTest>

using namespace Velmar;

namespace {

const QUuid allPages(QStringLiteral("{7ab00000-0000-0000-0000-000000000001}"));
const QUuid schemesOnly(QStringLiteral("{7ab00000-0000-0000-0000-000000000002}"));

QImage render(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    widget.render(&image);
    return image;
}

void hover(QWidget &widget, const QPoint &position)
{
    QMouseEvent move(QEvent::MouseMove, position, widget.mapToGlobal(position), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
}

} // namespace

class TestTabBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void tabRects_data();
    void tabRects();
    void shownPages_data();
    void shownPages();
    void paint();
    void pressEmitsThePageUnderIt();
    void pressBeforeThePaintHitsNothing();
    void hoverShowsThePointingHand();
    void chords_data();
    void chords();
    void hiddenBarIgnoresTheChords();

private:
    FixtureFolder m_folder;
};

void TestTabBar::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("tabs.db"));
    QVERIFY(FixtureTheme::write(*writer));
    const qint64 all = writer->addCollection(allPages, QStringLiteral("ALL"), QStringLiteral("All"), 1, true);
    writer->addCollection(schemesOnly, QStringLiteral("ONE"), QStringLiteral("One"), 2, true);
    writer->addSetting(DBStructure::SystemWideCollectionId, QStringLiteral("has.textures.page"), QStringLiteral("1"));
    writer->addSetting(all, QStringLiteral("has.textures.page"), QStringLiteral("1"));
    writer->addSetting(all, QStringLiteral("has.product.groups.page"), QStringLiteral("1"));
    writer->addSetting(all, QStringLiteral("has.huecast.page"), QStringLiteral("1"));
    writer->addSettings(all, QStringLiteral("tab.bar.page"),
                        {QStringLiteral("PageOfTextures"), QStringLiteral("PageOfProducts"),
                         QStringLiteral("PageOfColorSchemes"), QStringLiteral("PageOfHuecast")});
    writer->addText(all, QStringLiteral("tab.bar.color.schemes.caption"), QStringLiteral("Schemes"));
    writer->addText(all, QStringLiteral("tab.bar.products.caption"), QStringLiteral("Products"));
    writer->addText(all, QStringLiteral("tab.bar.huecast.caption"), QStringLiteral("Trends"));
    writer->addText(all, QStringLiteral("tab.bar.textures.caption"), QStringLiteral("Textures"));
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();
    QCOMPARE(Global::InitializePrerequisites(QString(), m_folder.lookupFolder()), 0);
}

void TestTabBar::init()
{
    Settings::setUuidOfLastUsedCollection(allPages);
    Settings::setTabPage(allPages, TabBarPageTextures);
    Settings::setTabPage(schemesOnly, TabBarPageColorSchemes);
}

void TestTabBar::tabRects_data()
{
    QTest::addColumn<QVector<int>>("widths");
    QTest::addColumn<QVector<QRect>>("rects");
    QTest::newRow("three captions") << QVector<int>{60, 50, 70}
                                    << QVector<QRect>{QRect(QPoint(1, 0), QPoint(92, 29)),
                                                      QRect(QPoint(93, 0), QPoint(174, 29)),
                                                      QRect(QPoint(175, 0), QPoint(276, 29))};
    QTest::newRow("an empty caption is 32 wide") << QVector<int>{0, 10}
                                                 << QVector<QRect>{QRect(1, 0, 32, 30), QRect(33, 0, 42, 30)};
    QTest::newRow("no page") << QVector<int>() << QVector<QRect>();
}

void TestTabBar::tabRects()
{
    QFETCH(QVector<int>, widths);
    QTEST(TabBarWidget::tabRectsFor(widths, 30), "rects");
}

void TestTabBar::shownPages_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<QVector<TabBarPage>>("pages");
    QTest::addColumn<QString>("schemesCaption");
    // Colour schemes always come first; then the configured order.
    QTest::newRow("every page") << allPages
                                << QVector<TabBarPage>{TabBarPageColorSchemes, TabBarPageTextures, TabBarPageProducts,
                                                       TabBarPageHuecast}
                                << "Schemes";
    // A missing caption text shows its key.
    QTest::newRow("colour schemes only") << schemesOnly << QVector<TabBarPage>{TabBarPageColorSchemes}
                                         << "tab.bar.color.schemes.caption";
}

void TestTabBar::shownPages()
{
    QFETCH(QUuid, collection);
    Settings::setUuidOfLastUsedCollection(collection);
    TabBarWidget bar;
    QTEST(bar.shownPages(), "pages");
    QTEST(bar.caption(TabBarPageColorSchemes), "schemesCaption");
    QCOMPARE(bar.font(), Theme::normalFont(Theme::FontSizeLarger));
}

void TestTabBar::paint()
{
    TabBarWidget bar;
    bar.resize(565, 30);
    const QImage image = render(bar);
    const QFontMetrics metrics(bar.font());
    QVector<int> widths;
    for (TabBarPage page : bar.shownPages())
        widths << metrics.size(Qt::TextSingleLine, bar.caption(page)).width();
    const QVector<QRect> expected = TabBarWidget::tabRectsFor(widths, 30);
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(bar.tabRect(bar.shownPages().at(i)), expected.at(i));

    const QRgb background = FixtureTheme::colourOf(Theme::KeyOfWidgetBarBackgroundImage).rgb();
    const QRgb separator = qRgb(188, 188, 188);
    QCOMPARE(image.pixel(0, 15), separator);
    QCOMPARE(image.pixel(expected.at(0).right(), 15), separator);
    QCOMPARE(image.pixel(expected.at(1).right(), 15), separator);
    // Past the last tab the tiled background shows.
    QCOMPARE(image.pixel(560, 15), background);
    // Textures, the stored page, is lighter than the background; the others are not.
    const QRgb current = image.pixel(expected.at(1).left() + 2, 2);
    QCOMPARE(image.pixel(expected.at(0).left() + 2, 2), background);
    QVERIFY(qGray(current) > qGray(background));
    const QColor veil(255, 255, 255, 178);
    QColor blended = FixtureTheme::colourOf(Theme::KeyOfWidgetBarBackgroundImage);
    QVERIFY(qAbs(qRed(current) - (blended.red() * 77 + veil.red() * 178) / 255) <= 2);
}

void TestTabBar::pressEmitsThePageUnderIt()
{
    TabBarWidget bar;
    bar.resize(565, 30);
    render(bar);
    QSignalSpy spy(&bar, SIGNAL(tabPageSelected(TabBarPage)));
    QVERIFY(spy.isValid());
    for (TabBarPage page : bar.shownPages()) {
        QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, bar.tabRect(page).center());
        QCOMPARE(spy.count(), 1);
        // The stored page too: the main widget ignores it.
        QCOMPARE(spy.takeFirst().at(0).value<TabBarPage>(), page);
    }
    QTest::mouseClick(&bar, Qt::RightButton, Qt::NoModifier, bar.tabRect(TabBarPageHuecast).center());
    QCOMPARE(spy.count(), 1);
    spy.clear();
    QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(560, 15));
    QCOMPARE(spy.count(), 0);
}

void TestTabBar::pressBeforeThePaintHitsNothing()
{
    TabBarWidget bar;
    bar.resize(565, 30);
    render(bar);
    bar.selectedCollectionChanged(allPages);
    QVERIFY(bar.tabRect(TabBarPageColorSchemes).isNull());
    QSignalSpy spy(&bar, SIGNAL(tabPageSelected(TabBarPage)));
    QTest::mouseClick(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(10, 15));
    QCOMPARE(spy.count(), 0);
}

void TestTabBar::hoverShowsThePointingHand()
{
    TabBarWidget bar;
    bar.resize(565, 30);
    render(bar);
    QVERIFY(bar.hasMouseTracking());
    hover(bar, bar.tabRect(TabBarPageProducts).center());
    QCOMPARE(bar.cursor().shape(), Qt::PointingHandCursor);
    hover(bar, QPoint(560, 15));
    QCOMPARE(bar.cursor().shape(), Qt::ArrowCursor);
}

void TestTabBar::chords_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("emitted"); // 0: nothing

    QTest::newRow("first tab") << allPages << int(Qt::Key_1) << int(TabBarPageColorSchemes);
    QTest::newRow("fourth tab") << allPages << int(Qt::Key_4) << int(TabBarPageHuecast);
    QTest::newRow("the stored page") << allPages << int(Qt::Key_2) << 0;
    QTest::newRow("only one tab, asked for the second") << schemesOnly << int(Qt::Key_2) << 0;
    QTest::newRow("only one tab, already stored") << schemesOnly << int(Qt::Key_1) << 0;
}

void TestTabBar::chords()
{
    QFETCH(QUuid, collection);
    QFETCH(int, key);
    QFETCH(int, emitted);
    Settings::setUuidOfLastUsedCollection(collection);
    TabBarWidget bar;
    bar.resize(565, 30);
    const QList<QAction *> actions = bar.actions();
    QCOMPARE(actions.size(), 4);
    QCOMPARE(actions.at(0)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T, Qt::CTRL | Qt::Key_1));
    QCOMPARE(actions.at(3)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T, Qt::CTRL | Qt::Key_4));

    bar.show();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    QSignalSpy spy(&bar, SIGNAL(tabPageSelected(TabBarPage)));
    QTest::keySequence(&bar, QKeySequence(Qt::CTRL | Qt::Key_T, Qt::CTRL | Qt::Key(key)));
    QCOMPARE(spy.count(), emitted ? 1 : 0);
    if (emitted)
        QCOMPARE(int(spy.at(0).at(0).value<TabBarPage>()), emitted);
}

void TestTabBar::hiddenBarIgnoresTheChords()
{
    TabBarWidget bar;
    QSignalSpy spy(&bar, SIGNAL(tabPageSelected(TabBarPage)));
    bar.actions().at(0)->trigger();
    bar.switchToNthTab(3);
    QCOMPARE(spy.count(), 0);
    bar.show();
    bar.actions().at(0)->trigger();
    QCOMPARE(spy.count(), 1);
}

QTEST_MAIN(TestTabBar)
#include "tst_tabbar.moc"
