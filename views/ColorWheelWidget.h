#ifndef VELMAR_COLORWHEELWIDGET_H
#define VELMAR_COLORWHEELWIDGET_H

#include <QImage>
#include <QPair>
#include <QPointF>
#include <QSize>
#include <QUuid>
#include <QVector>
#include <QWidget>

#include <boost/icl/continuous_interval.hpp>

#include <functional>

namespace Velmar {

// The circular segment selector: the circle is cut into the collection's
// wheel segments; a click, a drag or a turn of the mouse wheel asks for a
// segment, and the widget reports the one the database confirms holds a
// card under the current filters. The current segment is read from the
// settings on every paint.
class ColorWheelWidget : public QWidget
{
    Q_OBJECT

public:
    using AngleInterval = boost::icl::continuous_interval<double, std::less>;
    using SegmentIntervals = QVector<QPair<AngleInterval, int>>;

    static const QSize s_fixedSize;

    explicit ColorWheelWidget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    void prepareForCollection(const QUuid &collection);
    // What prepareForCollection takes from the collection's settings: the
    // number of segments, the angle of the first (degrees, 0 pointing right,
    // counter-clockwise) and the orientation (1 clockwise, 2 counter-
    // clockwise, 0 unset). A count of 0 or less leaves the wheel inert.
    void setSegmentGeometry(int count, double firstSegmentAngleDegrees, int orientation);

    // Closed angle intervals in radians on [0, 2pi], each with its segment;
    // only the valid segments get intervals. Orientation 2 runs counter-
    // clockwise, any other clockwise.
    static SegmentIntervals buildSegmentIntervals(int count, double firstSegmentAngle, int orientation,
                                                  const QVector<int> &validSegments);
    // The segments a turn of the mouse wheel by one step (+1 or -1) from
    // `current` asks the database about, in order. The next segment comes
    // first: with no card under the filters the database hands it back, and
    // it is taken. Past it only a segment that holds cards can be confirmed,
    // so the rest of the turn is the valid segments in the turning direction.
    static QVector<int> wheelCandidates(int current, int step, int count, const QVector<int> &validSegments);
    // The angle of a point around the centre, with the y axis turned up;
    // -1 at the centre itself.
    static double angleOf(const QPointF &point, const QPointF &centre);
    // The segment under a point, or 0: outside the radius, at the centre,
    // or on a part of the circle whose segment holds no card.
    static int segmentAt(const QPointF &point, const QPointF &centre, double radius,
                         const SegmentIntervals &intervals);
    // The direction the pointer shows for a segment. Every orientation but
    // counter-clockwise turns it clockwise, as the intervals are laid out.
    static double pointerAngle(double firstSegmentAngle, double segmentAngle, int segmentIndex, int orientation);

    const SegmentIntervals &segmentIntervals() const { return m_segmentIntervals; }
    const QVector<int> &validSegments() const { return m_validSegments; }
    int numberOfSegments() const { return m_numberOfSegments; }

public slots:
    void selectedCollectionChanged(QUuid collectionId);

signals:
    void segmentChangedInteractively(int newSegment);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The valid segments that lie on a wheel of `count` segments, ascending,
    // each once.
    static QVector<int> segmentsOnTheWheel(int count, const QVector<int> &validSegments);
    void requestSegmentAt(const QPointF &point);
    void readValidSegments();
    // The valid segments read again when the collection's file changed
    // since they were: a writer may have added or moved cards.
    void followTheFile();

    QUuid m_collection;
    quint64 m_fileVersion = 0;
    QImage m_background;
    QSize m_backgroundRequestSize;
    SegmentIntervals m_segmentIntervals;
    QVector<int> m_validSegments;
    int m_numberOfSegments = 0;
    double m_firstSegmentAngle = 0.0;
    int m_orientation = 0;
    double m_segmentAngle = 0.0;
    bool m_dragging = false;
};

} // namespace Velmar

#endif // VELMAR_COLORWHEELWIDGET_H
