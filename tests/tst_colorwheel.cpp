// The colour wheel: the angle intervals of the segments, the hit test and
// the pointer for every orientation, a wheel without segments, clicks,
// drags and the mouse wheel against the deck's cards, a wheel of absurdly
// many segments, and what it paints.

#include "BrowsingFixture.h"
#include "FixtureTheme.h"
#include "TestEnvironment.h"

#include "services/Settings.h"
#include "views/ColorWheelWidget.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QtTest>

#include <sqlite3.h>

#include <cmath>
#include <limits>

using namespace Velmar;

namespace {

constexpr double pi = 3.14159265358979323846;
const QPointF centre(60.0, 61.0);

double radians(double degrees)
{
    return degrees * pi / 180.0;
}

QPointF at(double degrees, double radius)
{
    return QPointF(centre.x() + radius * std::cos(radians(degrees)), centre.y() - radius * std::sin(radians(degrees)));
}

QVector<int> allSegments(int count)
{
    QVector<int> segments;
    for (int s = 1; s <= count; ++s)
        segments.append(s);
    return segments;
}

void sendMouse(QWidget &widget, QEvent::Type type, const QPointF &position, Qt::MouseButton button,
               Qt::MouseButtons buttons)
{
    QMouseEvent event(type, position, widget.mapToGlobal(position), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &event);
}

void turnWheel(QWidget &widget, const QPoint &angleDelta)
{
    QWheelEvent wheel(centre, widget.mapToGlobal(centre), QPoint(), angleDelta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&widget, &wheel);
}

QImage render(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    widget.render(&image);
    return image;
}

bool isWhite(QRgb pixel)
{
    return qRed(pixel) > 235 && qGreen(pixel) > 235 && qBlue(pixel) > 235;
}

// Counts the statements that the open collection connections run while it
// lives. Past the limit it interrupts each new one, so that a search asking
// about every segment of a huge wheel ends at once instead of after hours.
class StatementCounter
{
public:
    explicit StatementCounter(int limit)
        : m_limit(limit)
    {
        for (const QString &name : QSqlDatabase::connectionNames()) {
            const QSqlDatabase database = QSqlDatabase::database(name, false);
            const QVariant handle = database.isOpen() ? database.driver()->handle() : QVariant();
            if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
                continue;
            sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.constData());
            if (connection && sqlite3_trace_v2(connection, SQLITE_TRACE_STMT, &StatementCounter::traced, this) == SQLITE_OK)
                m_connections.append(connection);
        }
    }
    ~StatementCounter()
    {
        for (sqlite3 *connection : std::as_const(m_connections))
            sqlite3_trace_v2(connection, 0, nullptr, nullptr);
    }

    int connections() const { return m_connections.size(); }
    int count = 0;

private:
    static int traced(unsigned, void *context, void *statement, void *)
    {
        auto *counter = static_cast<StatementCounter *>(context);
        if (++counter->count > counter->m_limit)
            sqlite3_interrupt(sqlite3_db_handle(static_cast<sqlite3_stmt *>(statement)));
        return 0;
    }

    const int m_limit;
    QList<sqlite3 *> m_connections;
};

} // namespace

class SegmentLog : public QObject
{
    Q_OBJECT

public:
    QList<int> segments;

public slots:
    void segmentChangedInteractivelyByWheel(int segment) { segments << segment; }
};

// Stands in for the main widget's fan-out of a collection change.
class CollectionSource : public QObject
{
    Q_OBJECT

signals:
    void selectedCollectionChanged(QUuid collection);
};

class tst_ColorWheel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void intervals_data();
    void intervals();
    void everyAngleHasASegment_data();
    void everyAngleHasASegment();
    void hitTest_data();
    void hitTest();
    void pointerPointsAtTheSegmentClicked_data();
    void pointerPointsAtTheSegmentClicked();
    void onlySegmentsWithCardsGetIntervals();

    void signalConnectsByItsSignature();
    void pressAndDrag();
    void pressWithinTheHitRadius_data();
    void pressWithinTheHitRadius();
    void clickCorrectedByTheFilters();
    void wheel_data();
    void wheel();
    void wheelCandidates_data();
    void wheelCandidates();
    void absurdSegmentCountCostsWhatItsCardsDo_data();
    void absurdSegmentCountCostsWhatItsCardsDo();
    void noSegments();
    void paintsPointerAndArc();

private:
    BrowsingFixture m_fixture;
    ColorWheelWidget *m_wheel = nullptr;
    SegmentLog *m_log = nullptr;
};

void tst_ColorWheel::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY2(m_fixture.write(), qPrintable(m_fixture.error()));
}

void tst_ColorWheel::init()
{
    BrowsingFixture::browse(BrowsingFixture::Deck);
    Settings::setSegmentIndex(BrowsingFixture::Deck, 1);
    m_wheel = new ColorWheelWidget;
    m_log = new SegmentLog;
    QVERIFY(QObject::connect(m_wheel, SIGNAL(segmentChangedInteractively(int)), m_log,
                             SLOT(segmentChangedInteractivelyByWheel(int))));
}

void tst_ColorWheel::cleanup()
{
    delete m_wheel;
    delete m_log;
}

void tst_ColorWheel::intervals_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<double>("first");
    QTest::addColumn<int>("segment");
    // Degrees, in the order the segment's intervals come.
    QTest::addColumn<QList<double>>("bounds");

    QTest::newRow("clockwise, segment 1 wraps") << 1 << 0.0 << 1 << QList<double>{345, 360, 0, 15};
    QTest::newRow("clockwise, segment 2") << 1 << 0.0 << 2 << QList<double>{315, 345};
    QTest::newRow("counter-clockwise, segment 1 wraps") << 2 << 0.0 << 1 << QList<double>{0, 15, 345, 360};
    QTest::newRow("counter-clockwise, segment 2") << 2 << 0.0 << 2 << QList<double>{15, 45};
    QTest::newRow("first at 355 degrees") << 1 << 355.0 << 1 << QList<double>{340, 360, 0, 10};
    QTest::newRow("unset orientation lays out clockwise") << 0 << 0.0 << 2 << QList<double>{315, 345};
}

void tst_ColorWheel::intervals()
{
    QFETCH(int, orientation);
    QFETCH(double, first);
    QFETCH(int, segment);
    QFETCH(QList<double>, bounds);

    const auto intervals = ColorWheelWidget::buildSegmentIntervals(12, radians(first), orientation, allSegments(12));
    QList<double> found;
    for (const auto &interval : intervals) {
        if (interval.second != segment)
            continue;
        found << interval.first.lower() * 180.0 / pi << interval.first.upper() * 180.0 / pi;
        QCOMPARE(interval.first.bounds(), boost::icl::interval_bounds::closed());
    }
    QCOMPARE(found.size(), bounds.size());
    for (int i = 0; i < bounds.size(); ++i)
        QVERIFY2(std::fabs(found.at(i) - bounds.at(i)) < 1e-9, qPrintable(QString::number(found.at(i))));
}

void tst_ColorWheel::everyAngleHasASegment_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("first");
    QTest::addColumn<int>("orientation");
    QTest::newRow("12 clockwise from 355") << 12 << 355.0 << 1;
    QTest::newRow("12 counter-clockwise from 0") << 12 << 0.0 << 2;
    QTest::newRow("7 clockwise from -100") << 7 << -100.0 << 1;
    QTest::newRow("24 counter-clockwise from 725") << 24 << 725.0 << 2;
    QTest::newRow("1 segment") << 1 << 30.0 << 1;
}

void tst_ColorWheel::everyAngleHasASegment()
{
    QFETCH(int, count);
    QFETCH(double, first);
    QFETCH(int, orientation);
    const auto intervals = ColorWheelWidget::buildSegmentIntervals(count, radians(first), orientation, allSegments(count));
    for (int tenth = 0; tenth < 3600; ++tenth) {
        const int segment = ColorWheelWidget::segmentAt(at(tenth / 10.0, 40.0), centre, 57.0, intervals);
        QVERIFY2(segment >= 1 && segment <= count, qPrintable(QString::number(tenth / 10.0)));
    }
}

void tst_ColorWheel::hitTest_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<double>("first");
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<int>("segment");

    QTest::newRow("clockwise, right") << 1 << 0.0 << at(0, 30) << 1;
    QTest::newRow("clockwise, below right") << 1 << 0.0 << at(330, 30) << 2;
    QTest::newRow("clockwise, bottom") << 1 << 0.0 << at(270, 50) << 4;
    QTest::newRow("clockwise, top") << 1 << 0.0 << at(90, 10) << 10;
    QTest::newRow("clockwise, left") << 1 << 0.0 << at(180, 20) << 7;
    QTest::newRow("counter-clockwise, top") << 2 << 0.0 << at(90, 30) << 4;
    QTest::newRow("counter-clockwise, below right") << 2 << 0.0 << at(330, 30) << 12;
    QTest::newRow("unset orientation, below right") << 0 << 0.0 << at(330, 30) << 2;
    QTest::newRow("from 355, just below the axis") << 1 << 355.0 << at(350, 30) << 1;
    QTest::newRow("from 355, just above the axis") << 1 << 355.0 << at(5, 30) << 1;
    QTest::newRow("from 355, the next one up") << 1 << 355.0 << at(12, 30) << 12;
    QTest::newRow("the very centre") << 1 << 0.0 << centre << 0;
    QTest::newRow("outside the radius") << 1 << 0.0 << at(0, 57.5) << 0;
    QTest::newRow("on the radius") << 1 << 0.0 << at(0, 57.0) << 1;
}

void tst_ColorWheel::hitTest()
{
    QFETCH(int, orientation);
    QFETCH(double, first);
    QFETCH(QPointF, point);
    QFETCH(int, segment);
    const auto intervals = ColorWheelWidget::buildSegmentIntervals(12, radians(first), orientation, allSegments(12));
    QCOMPARE(ColorWheelWidget::segmentAt(point, centre, 57.0, intervals), segment);
}

void tst_ColorWheel::pointerPointsAtTheSegmentClicked_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<double>("first");
    QTest::newRow("clockwise") << 1 << 0.0;
    QTest::newRow("counter-clockwise") << 2 << 0.0;
    // The default when the setting is missing.
    QTest::newRow("unset") << 0 << 0.0;
    QTest::newRow("clockwise from 355") << 1 << 355.0;
    QTest::newRow("counter-clockwise from 100") << 2 << 100.0;
    QTest::newRow("unset from 200") << 0 << 200.0;
}

void tst_ColorWheel::pointerPointsAtTheSegmentClicked()
{
    QFETCH(int, orientation);
    QFETCH(double, first);
    const double seg = 2 * pi / 12;
    const auto intervals = ColorWheelWidget::buildSegmentIntervals(12, radians(first), orientation, allSegments(12));
    for (int s = 1; s <= 12; ++s) {
        const double a = ColorWheelWidget::pointerAngle(radians(first), seg, s, orientation);
        const QPointF tip(centre.x() + 40 * std::cos(a), centre.y() - 40 * std::sin(a));
        QCOMPARE(ColorWheelWidget::segmentAt(tip, centre, 57.0, intervals), s);
    }
    // Segment 1 at 0 degrees points to the right.
    QCOMPARE(ColorWheelWidget::pointerAngle(0.0, seg, 1, orientation), 0.0);
    // A settings file may hold any index; the least one still turns the
    // pointer the same way as its neighbours.
    const double sign = orientation == 2 ? 1.0 : -1.0;
    QCOMPARE(ColorWheelWidget::pointerAngle(0.0, 1.0, std::numeric_limits<int>::min(), orientation),
             sign * (double(std::numeric_limits<int>::min()) - 1.0));
}

void tst_ColorWheel::onlySegmentsWithCardsGetIntervals()
{
    // The deck has cards in segments 1, 3 and 5.
    QCOMPARE(m_wheel->validSegments(), (QVector<int>{1, 3, 5}));
    QCOMPARE(m_wheel->numberOfSegments(), 12);
    QList<int> owners;
    for (const auto &interval : m_wheel->segmentIntervals())
        owners << interval.second;
    QCOMPARE(owners, (QList<int>{1, 1, 3, 5}));
    QCOMPARE(ColorWheelWidget::segmentAt(at(330, 30), centre, 57.0, m_wheel->segmentIntervals()), 0);

    // Segments off the wheel, repeats and their order change nothing.
    owners.clear();
    for (const auto &interval : ColorWheelWidget::buildSegmentIntervals(12, 0.0, 1, {5, 14, 3, 0, 1, 3, -2}))
        owners << interval.second;
    QCOMPARE(owners, (QList<int>{1, 1, 3, 5}));
}

void tst_ColorWheel::signalConnectsByItsSignature()
{
    SegmentLog queued;
    QVERIFY(QObject::connect(m_wheel, SIGNAL(segmentChangedInteractively(int)), &queued,
                             SLOT(segmentChangedInteractivelyByWheel(int)), Qt::QueuedConnection));
    turnWheel(*m_wheel, QPoint(0, -120));
    QCOMPARE(m_log->segments, QList<int>{3});
    QTRY_COMPARE(queued.segments, QList<int>{3});

    // A collection change rebuilds the segments: the one-card deck has segment 7 only.
    CollectionSource source;
    QVERIFY(QObject::connect(&source, SIGNAL(selectedCollectionChanged(QUuid)), m_wheel,
                             SLOT(selectedCollectionChanged(QUuid))));
    emit source.selectedCollectionChanged(BrowsingFixture::Single);
    QCOMPARE(m_wheel->validSegments(), QVector<int>{7});
    QCOMPARE(m_wheel->sizeHint(), QSize(122, 122));
    QCOMPARE(m_wheel->size(), QSize(122, 122));
}

void tst_ColorWheel::pressAndDrag()
{
    // Clockwise from 0: segment 3 at -60 degrees, segment 5 at -120.
    sendMouse(*m_wheel, QEvent::MouseButtonPress, at(300, 30), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(m_log->segments, QList<int>{3});
    // Every drag step reports, also the same segment again.
    sendMouse(*m_wheel, QEvent::MouseMove, at(305, 30), Qt::NoButton, Qt::LeftButton);
    sendMouse(*m_wheel, QEvent::MouseMove, at(240, 40), Qt::NoButton, Qt::LeftButton);
    // Over segment 2, which has no card, and over the hub: nothing.
    sendMouse(*m_wheel, QEvent::MouseMove, at(330, 40), Qt::NoButton, Qt::LeftButton);
    sendMouse(*m_wheel, QEvent::MouseMove, at(0, 3), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(m_log->segments, (QList<int>{3, 3, 5}));

    sendMouse(*m_wheel, QEvent::MouseButtonRelease, at(240, 40), Qt::LeftButton, Qt::NoButton);
    sendMouse(*m_wheel, QEvent::MouseMove, at(0, 30), Qt::NoButton, Qt::NoButton);
    sendMouse(*m_wheel, QEvent::MouseButtonPress, at(0, 30), Qt::RightButton, Qt::RightButton);
    sendMouse(*m_wheel, QEvent::MouseMove, at(0, 30), Qt::NoButton, Qt::RightButton);
    // A click in the white hub picks nothing.
    sendMouse(*m_wheel, QEvent::MouseButtonRelease, at(0, 30), Qt::RightButton, Qt::NoButton);
    sendMouse(*m_wheel, QEvent::MouseButtonPress, at(45, 4), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(m_log->segments, (QList<int>{3, 3, 5}));
}

void tst_ColorWheel::pressWithinTheHitRadius_data()
{
    QTest::addColumn<double>("radius");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("57.0 starts dragging") << 57.0 << QList<int>{1, 1};
    QTest::newRow("57.5 does not") << 57.5 << QList<int>{};
}

void tst_ColorWheel::pressWithinTheHitRadius()
{
    QFETCH(double, radius);
    QFETCH(QList<int>, expected);
    sendMouse(*m_wheel, QEvent::MouseButtonPress, at(0, radius), Qt::LeftButton, Qt::LeftButton);
    sendMouse(*m_wheel, QEvent::MouseMove, at(5, 30), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(m_log->segments, expected);
}

void tst_ColorWheel::clickCorrectedByTheFilters()
{
    // Warm cards lie in segment 3 only: a click on segment 1 is answered with it.
    Settings::setMoodFilter(BrowsingFixture::Deck, MoodWarm);
    sendMouse(*m_wheel, QEvent::MouseButtonPress, at(0, 30), Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(m_log->segments, QList<int>{3});
}

void tst_ColorWheel::wheel_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("mood");
    QTest::addColumn<QPoint>("angleDelta");
    QTest::addColumn<QList<int>>("expected");

    // Cards in segments 1, 3 and 5; turning skips the others.
    QTest::newRow("towards the user skips 2") << 1 << 7 << QPoint(0, -120) << QList<int>{3};
    QTest::newRow("past the last wraps to 1") << 5 << 7 << QPoint(0, -120) << QList<int>{1};
    QTest::newRow("away from 1 wraps to 5") << 1 << 7 << QPoint(0, 120) << QList<int>{5};
    QTest::newRow("only warm cards") << 5 << 2 << QPoint(0, -120) << QList<int>{3};
    QTest::newRow("no card passes: the next one") << 1 << 5 << QPoint(0, -120) << QList<int>{2};
    QTest::newRow("horizontal scroll") << 1 << 7 << QPoint(120, 0) << QList<int>{};
    QTest::newRow("no turn") << 1 << 7 << QPoint(0, 0) << QList<int>{};
}

void tst_ColorWheel::wheel()
{
    QFETCH(int, from);
    QFETCH(int, mood);
    QFETCH(QPoint, angleDelta);
    QFETCH(QList<int>, expected);
    Settings::setSegmentIndex(BrowsingFixture::Deck, from);
    Settings::setMoodFilter(BrowsingFixture::Deck, Mood(mood));
    turnWheel(*m_wheel, angleDelta);
    QCOMPARE(m_log->segments, expected);
}

void tst_ColorWheel::wheelCandidates_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QVector<int>>("valid");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("step");
    QTest::addColumn<QVector<int>>("candidates");

    const QVector<int> deck{1, 3, 5};
    // The next segment first, then the segments with cards around one turn,
    // ending at the current one: the order of a walk through every segment.
    QTest::newRow("towards the user from 1") << 12 << deck << 1 << 1 << QVector<int>{2, 3, 5, 1};
    QTest::newRow("towards the user from 3") << 12 << deck << 3 << 1 << QVector<int>{4, 5, 1, 3};
    QTest::newRow("towards the user from 5") << 12 << deck << 5 << 1 << QVector<int>{6, 1, 3, 5};
    QTest::newRow("away from 3") << 12 << deck << 3 << -1 << QVector<int>{2, 1, 5, 3};
    QTest::newRow("away from 1 wraps to the last") << 12 << deck << 1 << -1 << QVector<int>{12, 5, 3, 1};
    QTest::newRow("towards the user from the last") << 12 << deck << 12 << 1 << QVector<int>{1, 3, 5};
    QTest::newRow("next is a segment with cards") << 12 << deck << 2 << 1 << QVector<int>{3, 5, 1};
    QTest::newRow("stored index past the wheel") << 12 << deck << 40 << 1 << QVector<int>{1, 3, 5};
    QTest::newRow("stored index below the wheel") << 12 << deck << -5 << -1 << QVector<int>{12, 5, 3, 1};
    QTest::newRow("largest stored index") << 12 << deck << std::numeric_limits<int>::max() << 1
                                          << QVector<int>{1, 3, 5};
    QTest::newRow("segments off the wheel and repeats")
        << 12 << QVector<int>{5, 14, 3, 3, 0, 1} << 1 << 1 << QVector<int>{2, 3, 5, 1};
    QTest::newRow("no cards") << 12 << QVector<int>{} << 4 << 1 << QVector<int>{5};
    QTest::newRow("no segments") << 0 << deck << 1 << 1 << QVector<int>{};
    QTest::newRow("a billion segments, towards the user")
        << 1000000000 << QVector<int>{1, 3, 5, 999999999} << 5 << 1 << QVector<int>{6, 999999999, 1, 3, 5};
    QTest::newRow("a billion segments, away from 1")
        << 1000000000 << QVector<int>{1, 3, 5, 999999999} << 1 << -1
        << QVector<int>{1000000000, 999999999, 5, 3, 1};
}

void tst_ColorWheel::wheelCandidates()
{
    QFETCH(int, count);
    QFETCH(QVector<int>, valid);
    QFETCH(int, current);
    QFETCH(int, step);
    QFETCH(QVector<int>, candidates);
    QCOMPARE(ColorWheelWidget::wheelCandidates(current, step, count, valid), candidates);
}

void tst_ColorWheel::absurdSegmentCountCostsWhatItsCardsDo_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<QPoint>("angleDelta");
    QTest::addColumn<int>("expected");

    // Between the cards lie almost a billion segments without any.
    QTest::newRow("from 5 towards the user") << 5 << QPoint(0, -120) << BrowsingFixture::WideLastSegment;
    QTest::newRow("from the last card towards the user") << BrowsingFixture::WideLastSegment << QPoint(0, -120) << 1;
    QTest::newRow("away from 1") << 1 << QPoint(0, 120) << BrowsingFixture::WideLastSegment;
    QTest::newRow("away from the last card") << BrowsingFixture::WideLastSegment << QPoint(0, 120) << 5;
}

void tst_ColorWheel::absurdSegmentCountCostsWhatItsCardsDo()
{
    QFETCH(int, from);
    QFETCH(QPoint, angleDelta);
    QFETCH(int, expected);

    BrowsingFixture::browse(BrowsingFixture::Wide);
    Settings::setSegmentIndex(BrowsingFixture::Wide, from);
    m_wheel->selectedCollectionChanged(BrowsingFixture::Wide);
    QCOMPARE(m_wheel->numberOfSegments(), BrowsingFixture::WideSegmentCount);
    QList<int> owners;
    for (const auto &interval : m_wheel->segmentIntervals())
        owners << interval.second;
    QCOMPARE(owners, (QList<int>{1, 1, 3, 5, BrowsingFixture::WideLastSegment}));
    QVERIFY(isWhite(render(*m_wheel).pixel(at(0, 25).toPoint())));

    // A few statements for each segment that holds cards, none for the others.
    const int limit = 4 * (m_wheel->validSegments().size() + 1);
    StatementCounter statements(limit);
    QVERIFY(statements.connections() > 0);
    turnWheel(*m_wheel, angleDelta);
    QVERIFY2(statements.count <= limit, qPrintable(QString::number(statements.count)));
    QCOMPARE(m_log->segments, QList<int>{expected});
}

void tst_ColorWheel::noSegments()
{
    const QImage before = render(*m_wheel);
    m_wheel->setSegmentGeometry(0, 0.0, 1);
    QVERIFY(m_wheel->segmentIntervals().isEmpty());
    QCOMPARE(ColorWheelWidget::buildSegmentIntervals(-3, 0.0, 2, allSegments(3)).size(), 0);

    sendMouse(*m_wheel, QEvent::MouseButtonPress, at(300, 30), Qt::LeftButton, Qt::LeftButton);
    sendMouse(*m_wheel, QEvent::MouseMove, at(240, 30), Qt::NoButton, Qt::LeftButton);
    sendMouse(*m_wheel, QEvent::MouseButtonRelease, at(240, 30), Qt::LeftButton, Qt::NoButton);
    turnWheel(*m_wheel, QPoint(0, -120));
    QCOMPARE(m_log->segments, QList<int>());

    // Background and hub only: where the pointer was, the background shows.
    const QImage image = render(*m_wheel);
    const QColor wheelColour(FixtureTheme::colourOf(QStringLiteral("image.widget.color.wheel.background")).rgb());
    QVERIFY(isWhite(before.pixel(at(0, 25).toPoint())));
    QCOMPARE(QColor(image.pixel(at(0, 25).toPoint())), wheelColour);
    QCOMPARE(QColor(image.pixel(at(0, 48).toPoint())), wheelColour);
    QVERIFY(isWhite(image.pixel(60, 61)));
}

void tst_ColorWheel::paintsPointerAndArc()
{
    const QColor wheelColour(FixtureTheme::colourOf(QStringLiteral("image.widget.color.wheel.background")).rgb());
    QImage image = render(*m_wheel);
    QCOMPARE(QColor(image.pixel(2, 2)), wheelColour);
    QVERIFY(isWhite(image.pixel(60, 61)));         // hub
    QVERIFY(isWhite(image.pixel(at(0, 25).toPoint())));  // pointer to the right
    QVERIFY(isWhite(image.pixel(at(0, 41).toPoint())));  // arrow head
    QVERIFY(isWhite(image.pixel(at(10, 48).toPoint()))); // arc over the segment
    QCOMPARE(QColor(image.pixel(at(180, 25).toPoint())), wheelColour);
    QCOMPARE(QColor(image.pixel(at(25, 48).toPoint())), wheelColour); // past the arc's end

    // Segment 4 of a clockwise wheel: straight down.
    Settings::setSegmentIndex(BrowsingFixture::Deck, 4);
    image = render(*m_wheel);
    QVERIFY(isWhite(image.pixel(at(270, 25).toPoint())));
    QCOMPARE(QColor(image.pixel(at(0, 25).toPoint())), wheelColour);
}

QTEST_MAIN(tst_ColorWheel)
#include "tst_colorwheel.moc"
