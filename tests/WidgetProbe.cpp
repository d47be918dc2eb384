#include "WidgetProbe.h"

#include <QCoreApplication>
#include <QDropEvent>
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

bool WidgetProbe::drop(QWidget &widget, const QMimeData *data)
{
    const QPoint at(widget.width() / 2, widget.height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
    QDropEvent dropped(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &dropped);
    return dropped.isAccepted();
}
