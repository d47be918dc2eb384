#include "BusyIndicator.h"

#include <QPainter>
#include <QtMath>

BusyIndicator::BusyIndicator(QWidget *parent)
    : QWidget(parent)
{
    m_timer.setInterval(80);
    connect(&m_timer, &QTimer::timeout, this, &BusyIndicator::advance);
}

void BusyIndicator::startAnimation()
{
    m_timer.start();
    update();
}

void BusyIndicator::stopAnimation()
{
    m_timer.stop();
    update();
}

bool BusyIndicator::isAnimating() const
{
    return m_timer.isActive();
}

int BusyIndicator::step() const
{
    return m_step;
}

QLineF BusyIndicator::spoke(int index, const QRectF &bounds)
{
    const qreal radius = qMin(bounds.width(), bounds.height()) / 2.0;
    const qreal angle = 2.0 * M_PI * index / SpokeCount;
    const QPointF centre = bounds.center();
    const QPointF direction(qSin(angle), -qCos(angle));
    return QLineF(centre + direction * radius * 0.45, centre + direction * radius * 0.9);
}

qreal BusyIndicator::spokeOpacity(int index, int step)
{
    // The spoke at the current step is darkest, those behind it fade out.
    const int behind = ((step - index) % SpokeCount + SpokeCount) % SpokeCount;
    return 1.0 - 0.8 * behind / (SpokeCount - 1);
}

QSize BusyIndicator::sizeHint() const
{
    return QSize(32, 32);
}

void BusyIndicator::paintEvent(QPaintEvent *)
{
    if (!isAnimating())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(1, 1, -1, -1);
    QColor colour = palette().color(QPalette::WindowText);
    for (int i = 0; i < SpokeCount; ++i) {
        colour.setAlphaF(float(spokeOpacity(i, m_step)));
        painter.setPen(QPen(colour, qMax(2.0, bounds.width() / 12.0), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(spoke(i, bounds));
    }
}

void BusyIndicator::advance()
{
    m_step = (m_step + 1) % SpokeCount;
    update();
}
