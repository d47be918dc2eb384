#ifndef PATHWARDEN_BUSYINDICATOR_H
#define PATHWARDEN_BUSYINDICATOR_H

#include <QLineF>
#include <QTimer>
#include <QWidget>

// A spinning wheel of spokes shown while work goes on; it paints nothing
// when stopped.
class BusyIndicator : public QWidget
{
    Q_OBJECT

public:
    static constexpr int SpokeCount = 12;

    explicit BusyIndicator(QWidget *parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const;
    int step() const;

    // The spoke at index inside bounds, from near the centre outwards.
    static QLineF spoke(int index, const QRectF &bounds);
    // The opacity of spoke index when the wheel stands at step.
    static qreal spokeOpacity(int index, int step);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void advance();

    QTimer m_timer;
    int m_step = 0;
};

#endif // PATHWARDEN_BUSYINDICATOR_H
