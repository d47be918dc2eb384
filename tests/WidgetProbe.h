#ifndef HUEFORM_WIDGETPROBE_H
#define HUEFORM_WIDGETPROBE_H

#include <QColor>
#include <QImage>
#include <QPoint>

class QWidget;

// What the widget tests do to a widget from outside: look at its pixels
// and move the mouse over it.
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

private:
    WidgetProbe() = default;
};

#endif // HUEFORM_WIDGETPROBE_H
