// The mood and filter strip: its layout for each card type, the items a
// collection gets, what a click asks for, the images it paints, its tool
// tips and cursor.

#include "BrowsingFixture.h"
#include "FixtureTheme.h"
#include "TestEnvironment.h"

#include "services/Settings.h"
#include "views/MoodSelectWidget.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QtTest>

using namespace Velmar;
using Layout = MoodSelectWidget::Layout;
using LayoutInput = MoodSelectWidget::LayoutInput;

Q_DECLARE_METATYPE(Layout)
Q_DECLARE_METATYPE(LayoutInput)

namespace {

LayoutInput input(int cardType, bool exterior, const QSize &allMoods, const QSize &exteriorText,
                  const QSize &mto = QSize())
{
    LayoutInput in;
    in.cardType = cardType;
    in.hasExteriorFilter = exterior;
    for (QSize &size : in.moodImages)
        size = QSize(23, 21);
    in.tick = QSize(12, 11);
    in.allMoodsText = allMoods;
    in.exteriorText = exteriorText;
    in.mtoText = mto;
    return in;
}

// A theme image's colour as a pixel of a rendered view reads it.
QColor themeColour(const QString &key)
{
    return QColor(FixtureTheme::colourOf(key).rgb());
}

QImage render(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    widget.render(&image);
    return image;
}

} // namespace

class FilterLog : public QObject
{
    Q_OBJECT

public:
    QStringList log;

public slots:
    void moodFilterChangedInteractively(Mood mood) { log << QStringLiteral("mood %1").arg(int(mood)); }
    void exteriorFilterChangedInteractively(bool on) { log << QStringLiteral("exterior %1").arg(int(on)); }
    void showMtoChangedInteractively(bool show) { log << QStringLiteral("mto %1").arg(int(show)); }
};

// Stands in for the main widget's fan-out of a collection change.
class CollectionSource : public QObject
{
    Q_OBJECT

signals:
    void selectedCollectionChanged(QUuid collection);
};

class tst_MoodSelect : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void itemsForEachCollection_data();
    void itemsForEachCollection();
    void signalsConnectByTheirSignatures();
    void clicks_data();
    void clicks();
    void paintsTheSelectedMood();
    void exteriorFilterMarksMoodsWithoutExteriorCards();
    void toolTipsAndCursor();

private:
    QPoint centreOf(const QString &item) const;

    BrowsingFixture m_fixture;
    MoodSelectWidget *m_strip = nullptr;
    FilterLog *m_log = nullptr;
};

void tst_MoodSelect::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY2(m_fixture.write(), qPrintable(m_fixture.error()));
}

void tst_MoodSelect::init()
{
    BrowsingFixture::browse(BrowsingFixture::Deck);
    m_strip = new MoodSelectWidget;
    m_log = new FilterLog;
    QVERIFY(QObject::connect(m_strip, SIGNAL(moodFilterChangedInteractively(Mood)), m_log,
                             SLOT(moodFilterChangedInteractively(Mood))));
    QVERIFY(QObject::connect(m_strip, SIGNAL(exteriorFilterChangedInteractively(bool)), m_log,
                             SLOT(exteriorFilterChangedInteractively(bool))));
    QVERIFY(QObject::connect(m_strip, SIGNAL(showMtoChangedInteractively(bool)), m_log,
                             SLOT(showMtoChangedInteractively(bool))));
}

void tst_MoodSelect::cleanup()
{
    delete m_strip;
    delete m_log;
}

QPoint tst_MoodSelect::centreOf(const QString &item) const
{
    const Layout &layout = m_strip->currentLayout();
    const QStringList moods{"fresh", "calm", "warm", "rich", "offwhite", "neutral"};
    if (moods.contains(item))
        return layout.moods[moods.indexOf(item)].center();
    if (item == QLatin1String("all"))
        return layout.allMoods.center();
    if (item == QLatin1String("exterior"))
        return layout.exterior.center();
    if (item == QLatin1String("mto"))
        return layout.mto.center();
    return QPoint(1, 1);
}

void tst_MoodSelect::layout_data()
{
    QTest::addColumn<LayoutInput>("in");
    QTest::addColumn<Layout>("expected");

    Layout normal;
    normal.moods[MoodSelectWidget::FreshButton] = QRect(4, 4, 23, 21);
    normal.moods[MoodSelectWidget::CalmButton] = QRect(30, 4, 23, 21);
    normal.moods[MoodSelectWidget::WarmButton] = QRect(56, 4, 23, 21);
    normal.moods[MoodSelectWidget::RichButton] = QRect(82, 4, 23, 21);
    normal.moods[MoodSelectWidget::OffwhiteButton] = QRect(111, 4, 23, 21);
    normal.moods[MoodSelectWidget::NeutralButton] = QRect(111, 25, 23, 21);
    // Item 12 + 3 + 60 + 2 = 77 wide, centred under the 101-pixel row; H0 = 41.
    normal.allMoods = QRect(16, 31, 77, 14);
    normal.underFirstRow = QLine(4, 28, 104, 28);
    normal.betweenColumns = QLine(110, 4, 110, 42);
    Layout withExterior = normal;
    withExterior.exterior = QRect(20, 51, 97, 14);
    withExterior.aboveExterior = QLine(4, 47, 133, 47);
    withExterior.size = QSize(137, 69);
    QTest::newRow("normal, with the exterior filter")
        << input(1, true, QSize(60, 14), QSize(80, 14)) << withExterior;
    normal.size = QSize(137, 49);
    QTest::newRow("normal, without it") << input(1, false, QSize(60, 14), QSize(80, 14)) << normal;

    // A caption wider than the first row: the row is centred over it.
    Layout wide = normal;
    const int shift = (167 - 101) / 2;
    for (QRect &mood : wide.moods)
        mood.translate(mood.left() < 100 ? shift : 66, 0);
    wide.allMoods = QRect(4, 31, 167, 14);
    wide.underFirstRow = QLine(4 + shift, 28, 104 + shift, 28);
    wide.betweenColumns = QLine(176, 4, 176, 42);
    wide.size = QSize(203, 49);
    QTest::newRow("wide caption") << input(1, false, QSize(150, 14), QSize(80, 14)) << wide;

    // Text lower than the tick counts as the tick's height; taller text
    // pushes the second row down.
    Layout tall = normal;
    tall.allMoods = QRect(16, 31, 77, 30);
    tall.allMoods.moveTop(57 + 4 - 30);
    tall.size = QSize(137, 65);
    QTest::newRow("tall caption") << input(1, false, QSize(60, 30), QSize(80, 14)) << tall;

    // An exterior caption wider than both columns widens the left one.
    Layout wideExterior = withExterior;
    for (QRect &mood : wideExterior.moods)
        mood.translate(mood.left() < 100 ? 12 : 25, 0);
    wideExterior.allMoods.moveLeft(28);
    wideExterior.underFirstRow.translate(12, 0);
    wideExterior.betweenColumns.translate(25, 0);
    wideExterior.exterior = QRect(8, 51, 147, 14);
    wideExterior.aboveExterior = QLine(16, 47, 158, 47);
    wideExterior.size = QSize(162, 69);
    QTest::newRow("wide exterior caption") << input(1, true, QSize(60, 14), QSize(130, 14)) << wideExterior;

    Layout sarnex;
    sarnex.mto = QRect(QPoint(3, 3), QPoint(119, 13));
    sarnex.size = QSize(123, 17);
    QTest::newRow("sarnex, text lower than the tick") << input(2, true, QSize(), QSize(), QSize(100, 8)) << sarnex;
    Layout nothing;
    nothing.size = QSize(0, 0);
    QTest::newRow("no card type") << input(0, true, QSize(60, 14), QSize(80, 14)) << nothing;
}

void tst_MoodSelect::layout()
{
    QFETCH(LayoutInput, in);
    QFETCH(Layout, expected);
    const Layout out = MoodSelectWidget::computeLayout(in);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(out.moods[i], expected.moods[i]);
    QCOMPARE(out.allMoods, expected.allMoods);
    QCOMPARE(out.exterior, expected.exterior);
    QCOMPARE(out.mto, expected.mto);
    QCOMPARE(out.underFirstRow, expected.underFirstRow);
    QCOMPARE(out.betweenColumns, expected.betweenColumns);
    QCOMPARE(out.aboveExterior, expected.aboveExterior);
    QCOMPARE(out.size, expected.size);
}

void tst_MoodSelect::itemsForEachCollection_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<bool>("moods");
    QTest::addColumn<bool>("exterior");
    QTest::addColumn<bool>("mto");

    QTest::newRow("normal with the exterior filter") << BrowsingFixture::Deck << true << true << false;
    QTest::newRow("normal without it") << BrowsingFixture::Single << true << false << false;
    QTest::newRow("sarnex") << BrowsingFixture::Sarnex << false << false << true;
    QTest::newRow("no card type") << BrowsingFixture::Plain << false << false << false;
}

void tst_MoodSelect::itemsForEachCollection()
{
    QFETCH(QUuid, collection);
    QFETCH(bool, moods);
    QFETCH(bool, exterior);
    QFETCH(bool, mto);

    BrowsingFixture::browse(collection);
    m_strip->selectedCollectionChanged(collection);
    const Layout &layout = m_strip->currentLayout();
    for (const QRect &mood : layout.moods)
        QCOMPARE(mood.isValid(), moods);
    QCOMPARE(layout.allMoods.isValid(), moods);
    QCOMPARE(layout.exterior.isValid(), exterior);
    QCOMPARE(layout.mto.isValid(), mto);
    QCOMPARE(m_strip->size(), layout.size);
    QCOMPARE(m_strip->sizeHint(), layout.size);
    QCOMPARE(m_strip->minimumSize(), layout.size);
    QCOMPARE(m_strip->maximumSize(), layout.size);
    // Every item lies inside the strip.
    for (const QRect &item : {layout.allMoods, layout.exterior, layout.mto, layout.moods[5]}) {
        if (item.isValid())
            QVERIFY(QRect(QPoint(0, 0), layout.size).contains(item));
    }
    if (!moods && !mto) {
        QCOMPARE(layout.size, QSize(0, 0));
        QTest::mousePress(m_strip, Qt::LeftButton, Qt::NoModifier, QPoint(0, 0));
        QCOMPARE(m_log->log, QStringList());
    }
}

void tst_MoodSelect::signalsConnectByTheirSignatures()
{
    FilterLog queued;
    QVERIFY(QObject::connect(m_strip, SIGNAL(moodFilterChangedInteractively(Mood)), &queued,
                             SLOT(moodFilterChangedInteractively(Mood)), Qt::QueuedConnection));
    QTest::mouseClick(m_strip, Qt::LeftButton, Qt::NoModifier, centreOf(QStringLiteral("rich")));
    QCOMPARE(m_log->log, QStringList{QStringLiteral("mood 4")});
    QTRY_COMPARE(queued.log, QStringList{QStringLiteral("mood 4")});

    // A collection change lays the strip out anew: the Sarnex toggle alone.
    CollectionSource source;
    QVERIFY(QObject::connect(&source, SIGNAL(selectedCollectionChanged(QUuid)), m_strip,
                             SLOT(selectedCollectionChanged(QUuid))));
    BrowsingFixture::browse(BrowsingFixture::Sarnex);
    emit source.selectedCollectionChanged(BrowsingFixture::Sarnex);
    QVERIFY(m_strip->currentLayout().mto.isValid());
    QVERIFY(!m_strip->currentLayout().allMoods.isValid());
}

void tst_MoodSelect::clicks_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<int>("mood");
    QTest::addColumn<bool>("exterior");
    QTest::addColumn<bool>("showMto");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("expected");

    const QUuid deck = BrowsingFixture::Deck;
    // The deck's one exterior card is calm.
    QTest::newRow("a mood") << deck << 7 << false << false << "fresh" << QStringList{"mood 1"};
    QTest::newRow("the selected mood") << deck << 1 << false << false << "fresh" << QStringList{};
    QTest::newRow("all moods") << deck << 2 << false << false << "all" << QStringList{"mood 7"};
    QTest::newRow("all moods again") << deck << 7 << false << false << "all" << QStringList{};
    QTest::newRow("exterior on, mood without exterior cards")
        << deck << 2 << false << false << "exterior" << QStringList{"mood 7", "exterior 1"};
    QTest::newRow("exterior on, mood with exterior cards")
        << deck << 3 << false << false << "exterior" << QStringList{"exterior 1"};
    QTest::newRow("exterior off keeps the mood") << deck << 2 << true << false << "exterior"
                                                 << QStringList{"exterior 0"};
    QTest::newRow("under the exterior filter, mood without exterior cards")
        << deck << 7 << true << false << "warm" << QStringList{};
    QTest::newRow("under the exterior filter, mood with exterior cards")
        << deck << 7 << true << false << "calm" << QStringList{"mood 3"};
    QTest::newRow("a right click counts too") << deck << 7 << false << false << "right:neutral"
                                              << QStringList{"mood 6"};
    QTest::newRow("outside every item") << deck << 2 << false << false << "none" << QStringList{};
    QTest::newRow("sarnex, hide made to order") << BrowsingFixture::Sarnex << 7 << false << true << "mto"
                                                << QStringList{"mto 0"};
    QTest::newRow("sarnex, show made to order") << BrowsingFixture::Sarnex << 7 << false << false << "mto"
                                                << QStringList{"mto 1"};
    QTest::newRow("sarnex, outside the toggle") << BrowsingFixture::Sarnex << 7 << false << false << "none"
                                                << QStringList{};
}

void tst_MoodSelect::clicks()
{
    QFETCH(QUuid, collection);
    QFETCH(int, mood);
    QFETCH(bool, exterior);
    QFETCH(bool, showMto);
    QFETCH(QString, item);
    QFETCH(QStringList, expected);

    BrowsingFixture::browse(collection, 1, 1, mood, exterior, showMto);
    m_strip->selectedCollectionChanged(collection);
    const bool right = item.startsWith(QLatin1String("right:"));
    const QPoint at = centreOf(right ? item.mid(6) : item);
    QTest::mousePress(m_strip, right ? Qt::RightButton : Qt::LeftButton, Qt::NoModifier, at);
    QCOMPARE(m_log->log, expected);
}

void tst_MoodSelect::paintsTheSelectedMood()
{
    Settings::setMoodFilter(BrowsingFixture::Deck, MoodWarm);
    QImage image = render(*m_strip);
    const Layout &layout = m_strip->currentLayout();
    auto colourAt = [&image](const QPoint &p) { return QColor(image.pixel(p)); };
    QCOMPARE(colourAt(layout.moods[MoodSelectWidget::WarmButton].center()),
             themeColour(QStringLiteral("image.mood.warm.selected")));
    QCOMPARE(colourAt(layout.moods[MoodSelectWidget::FreshButton].center()),
             themeColour(QStringLiteral("image.mood.fresh.normal")));
    QCOMPARE(colourAt(layout.moods[MoodSelectWidget::NeutralButton].center()),
             themeColour(QStringLiteral("image.mood.neutral.normal")));
    const QColor tick = themeColour(QStringLiteral("image.tick.normal"));
    const QPoint tickAt(layout.allMoods.left() + 5, layout.allMoods.center().y());
    QVERIFY(colourAt(tickAt) != tick);
    // The frame: the lightened grey drawn crisp, the dark one smooth over it.
    const QRgb edge = image.pixel(image.width() / 2, 0);
    QVERIFY2(qRed(edge) >= 64 && qRed(edge) <= QColor(64, 64, 64).lighter(140).red() && qRed(edge) == qBlue(edge),
             qPrintable(QString::number(edge, 16)));
    // The separators in their grey.
    QCOMPARE(image.pixel(layout.underFirstRow.p1() + QPoint(10, 0)), qRgb(159, 159, 159));
    QCOMPARE(image.pixel(layout.betweenColumns.p1() + QPoint(0, 10)), qRgb(159, 159, 159));

    // All moods: the tick before its caption, and every mood in its normal face.
    Settings::setMoodFilter(BrowsingFixture::Deck, MoodAll);
    image = render(*m_strip);
    QCOMPARE(colourAt(tickAt), tick);
    QCOMPARE(colourAt(layout.moods[MoodSelectWidget::WarmButton].center()),
             themeColour(QStringLiteral("image.mood.warm.normal")));
}

void tst_MoodSelect::exteriorFilterMarksMoodsWithoutExteriorCards()
{
    Settings::setMoodFilter(BrowsingFixture::Deck, MoodCalm);
    Settings::setExteriorFilter(BrowsingFixture::Deck, true);
    const QImage image = render(*m_strip);
    const Layout &layout = m_strip->currentLayout();
    const QColor mark = themeColour(QStringLiteral("image.mood.disabled"));
    // Fresh has no exterior card: its normal face with the mark at its lower right.
    const QRect fresh = layout.moods[MoodSelectWidget::FreshButton];
    QCOMPARE(QColor(image.pixel(fresh.right() - 6, fresh.bottom() - 6)), mark);
    QCOMPARE(QColor(image.pixel(fresh.left() + 3, fresh.top() + 3)),
             themeColour(QStringLiteral("image.mood.fresh.normal")));
    // Calm has one: selected, unmarked.
    const QRect calm = layout.moods[MoodSelectWidget::CalmButton];
    QCOMPARE(QColor(image.pixel(calm.right() - 6, calm.bottom() - 6)),
             themeColour(QStringLiteral("image.mood.calm.selected")));
    // The exterior item's tick.
    QCOMPARE(QColor(image.pixel(layout.exterior.left() + 5, layout.exterior.center().y())),
             themeColour(QStringLiteral("image.tick.normal")));
}

void tst_MoodSelect::toolTipsAndCursor()
{
    const QPoint fresh = centreOf(QStringLiteral("fresh"));
    QHelpEvent over(QEvent::ToolTip, fresh, m_strip->mapToGlobal(fresh));
    QVERIFY(QCoreApplication::sendEvent(m_strip, &over));
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("<span style=\"font-size: 12px;\">Fresh colours</span>"));
    QCOMPARE(m_strip->cursor().shape(), Qt::PointingHandCursor);

    const QPoint outside(1, 1);
    QHelpEvent away(QEvent::ToolTip, outside, m_strip->mapToGlobal(outside));
    QCoreApplication::sendEvent(m_strip, &away);
    QTRY_VERIFY(!QToolTip::isVisible());
    QVERIFY(!away.isAccepted());

    QMouseEvent moveOut(QEvent::MouseMove, outside, m_strip->mapToGlobal(outside), Qt::NoButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(m_strip, &moveOut);
    QCOMPARE(m_strip->cursor().shape(), Qt::ArrowCursor);
    const QPoint all = centreOf(QStringLiteral("all"));
    QMouseEvent moveIn(QEvent::MouseMove, all, m_strip->mapToGlobal(all), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_strip, &moveIn);
    QCOMPARE(m_strip->cursor().shape(), Qt::PointingHandCursor);
}

QTEST_MAIN(tst_MoodSelect)
#include "tst_moodselect.moc"
