#ifndef HUEFORM_WIDGETPROBE_H
#define HUEFORM_WIDGETPROBE_H

#include <QColor>
#include <QImage>
#include <QPoint>

class QMimeData;
class QWidget;

// What the widget tests do to a widget from outside: look at its pixels,
// move the mouse over it and drop data on it.
class WidgetProbe
{
public:
    // The widget and its children painted onto an image filled with the
    // colour; the window background is left out, so the fill shows wherever
    // the widget paints nothing.
    static QImage render(QWidget &widget, const QColor &fill);
    // A mouse move with the buttons held. Sent as an event, since Qt's test
    // mouse moves without a button only move the cursor.
    static void mouseMove(QWidget &widget, const QPoint &position, Qt::MouseButtons buttons);
    // The data dragged in, moved and dropped at the widget's middle, as a
    // copy; whether the drop was accepted.
    static bool drop(QWidget &widget, const QMimeData *data);

private:
    WidgetProbe() = default;
};

#endif // HUEFORM_WIDGETPROBE_H
