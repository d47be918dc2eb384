#ifndef VELMAR_HUECASTVIEWPORT_H
#define VELMAR_HUECASTVIEWPORT_H

#include "database/HuecastGroup.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QUuid>
#include <QVector>
#include <QWidget>

namespace Velmar {

class HuecastWidget;

// The scrolled content of the trend-colour page: the groups of the
// collection, each a header with an open/closed arrow and, when open, its
// colours as chips with two names under each, flowing in lines. A click on
// the arrow opens or closes a group; a chip dragged away carries its colour
// and names.
class HuecastViewport : public QWidget
{
    Q_OBJECT

public:
    // A chip to lay out: its entry and the text sizes of its two names.
    struct Cell {
        qint64 entryId = 0;
        QSize name1;
        QSize name2;
    };
    // Where one group went: its area (header only when closed) and its chips.
    struct GroupLayout {
        QRect area;
        QHash<QRect, qint64> chips;
    };

    explicit HuecastViewport(HuecastWidget *parent);

    void prepareForCollection(const QUuid &collection);
    void recalculateLayout();

    // One group from y = top across width: the header, and when open the
    // chips in lines, a new line when a cell would reach the right edge.
    static GroupLayout layoutGroup(int top, int width, const QSize &chipSize, int headerHeight, bool open,
                                   const QVector<Cell> &cells);
    // The groups to show, ascending by order; of groups with equal order the
    // one with the higher id, so the page is the same on every load.
    static QList<qint64> groupOrderOf(const QHash<qint64, DB::HuecastGroup> &groups);
    // The group's name, then each name that is not empty, a line each.
    static QString dragTextFor(const QString &groupName, const QString &name1, const QString &name2);

    QList<qint64> groupOrder() const { return m_groupOrder; }
    bool isGroupOpen(qint64 groupId) const { return m_openStates.value(groupId); }
    const QHash<QRect, qint64> &groupAreas() const { return m_groupAreas; }
    QHash<QRect, qint64> chipPlaces(qint64 groupId) const { return m_chipPlaces.value(groupId); }
    QColor dragColor() const { return m_dragColor; }
    QString dragText() const { return m_dragText; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The square at the area's top-left, as high as the open arrow.
    QRect arrowSquareOf(const QRect &area) const;
    // The entry of the group's chip under the point, -1 when none.
    qint64 chipAt(qint64 groupId, const QPoint &point) const;
    // No chip armed for a drag; the two names stay, unused until the next arming.
    void disarm();

    QHash<qint64, DB::HuecastGroup> m_groups;
    QList<qint64> m_groupOrder;
    QImage m_openArrow;
    QImage m_closedArrow;
    QHash<qint64, bool> m_openStates;
    QHash<QRect, qint64> m_groupAreas;
    QHash<qint64, QHash<QRect, qint64>> m_chipPlaces;
    QColor m_dragColor;
    QString m_dragText;
    QString m_dragName1;
    QString m_dragName2;
    QPoint m_dragStart;
    bool m_inLayout = false;
};

} // namespace Velmar

#endif // VELMAR_HUECASTVIEWPORT_H
