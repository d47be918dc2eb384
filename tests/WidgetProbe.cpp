#include "WidgetProbe.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QWidget>

QImage WidgetProbe::render(QWidget &widget, const QColor &fill)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(fill);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

void WidgetProbe::mouseMove(QWidget &widget, const QPoint &position, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, position, widget.mapToGlobal(position), Qt::NoButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
}
