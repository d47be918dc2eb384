#include "views/ColorWheelWidget.h"

#include "database/DBManager.h"
#include "services/CollectionSettings.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace Velmar {

namespace {

constexpr double pi = 3.14159265358979323846;
constexpr double fullTurn = 2.0 * pi;

// Where the wheel lies in the fixed-size widget.
const QPointF wheelCentre(60.0, 61.0);
constexpr double hubRadius = 6.0;
constexpr double hitRadius = 57.0;
constexpr double pointerRadius = 45.0;
constexpr double arcRadius = 48.0;

double distanceFromCentre(const QPointF &point)
{
    const double dx = point.x() - wheelCentre.x();
    const double dy = wheelCentre.y() - point.y();
    return std::sqrt(dx * dx + dy * dy);
}

// Into [0, 2pi) by whole turns.
double normalised(double angle)
{
    double a = std::fmod(angle, fullTurn);
    if (a < 0.0)
        a += fullTurn;
    return a >= fullTurn ? 0.0 : a;
}

QPointF onCircle(const QPointF &centre, double radius, double angle)
{
    return QPointF(centre.x() + radius * std::cos(angle), centre.y() - radius * std::sin(angle));
}

} // namespace

const QSize ColorWheelWidget::s_fixedSize(122, 122);

ColorWheelWidget::ColorWheelWidget(QWidget *parent)
    : QWidget(parent)
{
    Global::registerMetaTypes();
    setFixedSize(s_fixedSize);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    prepareForCollection(Settings::uuidOfLastUsedCollection());
}

QSize ColorWheelWidget::sizeHint() const
{
    return s_fixedSize;
}

QSize ColorWheelWidget::minimumSizeHint() const
{
    return s_fixedSize;
}

void ColorWheelWidget::selectedCollectionChanged(QUuid collectionId)
{
    prepareForCollection(collectionId);
}

void ColorWheelWidget::prepareForCollection(const QUuid &collection)
{
    // The system-wide wheel is the same for every collection: decoded again
    // only for another size, which only the placeholder depends on.
    if (m_background.isNull() || m_backgroundRequestSize != size()) {
        m_backgroundRequestSize = size();
        m_background = Theme::getImageByKey(Theme::KeyOfColorWheelWidgetBackgroundImage, size());
    }
    m_collection = collection;
    readValidSegments();
    setSegmentGeometry(CollectionSettings::numOfSegments(collection), CollectionSettings::firstSegmentAngle(collection),
                       CollectionSettings::segmentIncrementOrientation(collection));
}

void ColorWheelWidget::readValidSegments()
{
    // The version first: a change while they are read is seen next time.
    m_fileVersion = DBManager::GetCollectionFileVersion(m_collection);
    m_validSegments.clear();
    DBManager::GetValidSegments(m_collection, m_validSegments);
}

void ColorWheelWidget::followTheFile()
{
    if (DBManager::GetCollectionFileVersion(m_collection) == m_fileVersion)
        return;
    readValidSegments();
    m_segmentIntervals = buildSegmentIntervals(m_numberOfSegments, m_firstSegmentAngle, m_orientation, m_validSegments);
}

void ColorWheelWidget::setSegmentGeometry(int count, double firstSegmentAngleDegrees, int orientation)
{
    m_numberOfSegments = count;
    m_firstSegmentAngle = firstSegmentAngleDegrees * pi / 180.0;
    m_orientation = orientation;
    m_segmentAngle = count > 0 ? fullTurn / count : 0.0;
    m_segmentIntervals = buildSegmentIntervals(count, m_firstSegmentAngle, orientation, m_validSegments);
    update();
}

ColorWheelWidget::SegmentIntervals ColorWheelWidget::buildSegmentIntervals(int count, double firstSegmentAngle,
                                                                           int orientation,
                                                                           const QVector<int> &validSegments)
{
    SegmentIntervals intervals;
    if (count <= 0)
        return intervals;
    const double seg = fullTurn / count;
    const bool counterClockwise = orientation == 2;
    // Each boundary is computed from the start rather than summed up, and
    // the last one is the start itself, so the circle closes without a gap.
    const double start = counterClockwise ? firstSegmentAngle - seg / 2.0 : firstSegmentAngle + seg / 2.0;
    auto boundary = [&](int k) {
        if (k == count)
            return normalised(start);
        return normalised(counterClockwise ? start + k * seg : start - k * seg);
    };

    // Only the segments that hold cards are visited, each once and in
    // ascending order, so a wheel of absurdly many segments costs no more
    // than its cards.
    for (const int s : segmentsOnTheWheel(count, validSegments)) {
        const double from = boundary(s - 1);
        const double to = boundary(s);
        if (counterClockwise) {
            if (from < to) {
                intervals.append({AngleInterval::closed(from, to), s});
            } else {
                if (to > 0.0)
                    intervals.append({AngleInterval::closed(0.0, to), s});
                intervals.append({AngleInterval::closed(from, fullTurn), s});
            }
        } else {
            if (to < from) {
                intervals.append({AngleInterval::closed(to, from), s});
            } else {
                intervals.append({AngleInterval::closed(to, fullTurn), s});
                if (from > 0.0)
                    intervals.append({AngleInterval::closed(0.0, from), s});
            }
        }
    }
    return intervals;
}

QVector<int> ColorWheelWidget::segmentsOnTheWheel(int count, const QVector<int> &validSegments)
{
    QVector<int> segments;
    for (const int s : validSegments) {
        if (s >= 1 && s <= count)
            segments.append(s);
    }
    std::sort(segments.begin(), segments.end());
    segments.erase(std::unique(segments.begin(), segments.end()), segments.end());
    return segments;
}

QVector<int> ColorWheelWidget::wheelCandidates(int current, int step, int count, const QVector<int> &validSegments)
{
    QVector<int> candidates;
    if (count <= 0)
        return candidates;
    // Counted wide: the stored index may lie anywhere.
    const qint64 next = qint64(current) + step;
    const int first = next <= 0 ? count : next > count ? 1 : int(next);
    candidates.append(first);

    // The rest of one full turn from the first, in the turning direction.
    const QVector<int> held = segmentsOnTheWheel(count, validSegments);
    const auto before = std::lower_bound(held.cbegin(), held.cend(), first);
    const auto after = std::upper_bound(held.cbegin(), held.cend(), first);
    if (step > 0) {
        std::copy(after, held.cend(), std::back_inserter(candidates));
        std::copy(held.cbegin(), before, std::back_inserter(candidates));
    } else {
        std::reverse_copy(held.cbegin(), before, std::back_inserter(candidates));
        std::reverse_copy(after, held.cend(), std::back_inserter(candidates));
    }
    return candidates;
}

double ColorWheelWidget::angleOf(const QPointF &point, const QPointF &centre)
{
    const double dx = point.x() - centre.x();
    const double dy = centre.y() - point.y();
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r == 0.0)
        return -1.0;
    const double alpha = std::asin(std::min(1.0, std::fabs(dy) / r));
    if (dx >= 0.0 && dy >= 0.0)
        return alpha;
    if (dx < 0.0 && dy >= 0.0)
        return pi - alpha;
    if (dx < 0.0)
        return pi + alpha;
    return fullTurn - alpha;
}

int ColorWheelWidget::segmentAt(const QPointF &point, const QPointF &centre, double radius,
                                const SegmentIntervals &intervals)
{
    const double dx = point.x() - centre.x();
    const double dy = centre.y() - point.y();
    const double r = std::sqrt(dx * dx + dy * dy);
    if (r > radius || r == 0.0)
        return 0;
    const double angle = angleOf(point, centre);
    for (const auto &interval : intervals) {
        if (boost::icl::contains(interval.first, angle))
            return interval.second;
    }
    return 0;
}

double ColorWheelWidget::pointerAngle(double firstSegmentAngle, double segmentAngle, int segmentIndex, int orientation)
{
    const double sign = orientation == 2 ? 1.0 : -1.0;
    // Counted in floating point: a stored index may be any int, its least too.
    return firstSegmentAngle + (double(segmentIndex) - 1.0) * segmentAngle * sign;
}

void ColorWheelWidget::requestSegmentAt(const QPointF &point)
{
    // The white hub shows no segment: its few pixels would pick one at random.
    if (distanceFromCentre(point) <= hubRadius)
        return;
    const int segment = segmentAt(point, wheelCentre, hitRadius, m_segmentIntervals);
    if (segment <= 0)
        return;
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    int confirmed = segment;
    DBManager::FindFirstCardInSegmentAndCorrectSegmentIfNecessary(
        collection, segment, Settings::moodFilter(collection), Settings::exteriorFilter(collection), confirmed);
    emit segmentChangedInteractively(confirmed);
}

void ColorWheelWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || m_dragging || m_numberOfSegments <= 0)
        return;
    followTheFile();
    const QPointF position = event->position();
    if (distanceFromCentre(position) > hitRadius)
        return;
    m_dragging = true;
    requestSegmentAt(position);
}

void ColorWheelWidget::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
}

void ColorWheelWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || m_numberOfSegments <= 0)
        return;
    followTheFile();
    requestSegmentAt(event->position());
}

void ColorWheelWidget::wheelEvent(QWheelEvent *event)
{
    // No vertical turn (a horizontal scroll, a trackpad phase), or no
    // segments to turn through: nothing to do.
    const int delta = event->angleDelta().y();
    if (delta == 0 || m_numberOfSegments <= 0) {
        event->ignore();
        return;
    }
    event->accept();
    followTheFile();
    const int step = delta < 0 ? 1 : -1;
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    const Mood mood = Settings::moodFilter(collection);
    const bool exterior = Settings::exteriorFilter(collection);
    // At most one full turn: the nearest segment the database confirms.
    const QVector<int> candidates =
        wheelCandidates(Settings::segmentIndex(collection), step, m_numberOfSegments, m_validSegments);
    for (const int candidate : candidates) {
        int confirmed = candidate;
        DBManager::FindFirstCardInSegmentAndCorrectSegmentIfNecessary(collection, candidate, mood, exterior,
                                                                      confirmed);
        if (confirmed == candidate) {
            emit segmentChangedInteractively(candidate);
            return;
        }
    }
}

void ColorWheelWidget::paintEvent(QPaintEvent *)
{
    followTheFile();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), m_background);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(
        QRectF(wheelCentre.x() - hubRadius, wheelCentre.y() - hubRadius, 2 * hubRadius + 1, 2 * hubRadius + 1));
    if (m_numberOfSegments <= 0)
        return;

    const double a = pointerAngle(m_firstSegmentAngle, m_segmentAngle,
                                  Settings::segmentIndex(Settings::uuidOfLastUsedCollection()), m_orientation);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 3));
    painter.drawLine(wheelCentre, onCircle(wheelCentre, pointerRadius - 5, a));

    painter.setPen(QPen(Qt::white, 0));
    painter.setBrush(Qt::white);
    const QPointF head[3] = {onCircle(wheelCentre, pointerRadius - 1, a),
                             onCircle(wheelCentre, pointerRadius - 9, a + pi / 20),
                             onCircle(wheelCentre, pointerRadius - 9, a - pi / 20)};
    painter.drawPolygon(head, 3, Qt::OddEvenFill);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 2));
    const auto sixteenths = [](double radians) { return int(radians * 180.0 / pi * 16.0); };
    painter.drawArc(QRectF(wheelCentre.x() - arcRadius, wheelCentre.y() - arcRadius, 2 * arcRadius, 2 * arcRadius),
                    sixteenths(a - m_segmentAngle / 2), sixteenths(m_segmentAngle));
}

} // namespace Velmar
