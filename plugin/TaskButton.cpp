#include "plugin/TaskButton.h"

#include "services/Theme.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

namespace Velmar {

TaskButton::TaskButton(QWidget *parent)
    : QPushButton(parent)
    , m_outlineColor(255, 255, 255, 64)
    , m_textColor(49, 49, 49)
    , m_gradientTop(238, 238, 238)
    , m_gradientBottom(204, 204, 204)
{
    setFont(Theme::normalFont(Theme::FontSizeLarger));
    setMouseTracking(true);
}

int TaskButton::greyValue(const QColor &colour)
{
    return (11 * colour.red() + 16 * colour.green() + 5 * colour.blue()) / 32;
}

void TaskButton::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(isEnabled() ? Qt::ArrowCursor : Qt::ForbiddenCursor);
    QPushButton::mouseMoveEvent(event);
}

// A disabled widget gets no mouse moves, so the cursor also follows the
// enabled state itself.
void TaskButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange)
        setCursor(isEnabled() ? Qt::ArrowCursor : Qt::ForbiddenCursor);
    QPushButton::changeEvent(event);
}

// The disabled look is derived at paint time, never stored, so enabling the
// button again brings its own colours back.
QLinearGradient TaskButton::faceGradient(const QColor &disabledFill) const
{
    QLinearGradient gradient(0, 0, 0, height() - 1);
    gradient.setColorAt(0, isEnabled() ? m_gradientTop : disabledFill);
    gradient.setColorAt(1, isEnabled() ? m_gradientBottom : disabledFill);
    return gradient;
}

void TaskButton::paintEvent(QPaintEvent *)
{
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);

    const int g = greyValue(m_gradientTop);
    const QColor text = isEnabled() ? m_textColor : QColor(g, g, g);
    painter.setPen(Qt::NoPen);
    painter.setBrush(faceGradient(m_gradientBottom.darker(120)));
    painter.drawRoundedRect(QRect(0, 0, w, h), 5, 5);

    const QRect textRect = isDown() ? QRect(QPoint(3, 3), QPoint(w - 1, h - 1)) : QRect(QPoint(1, 1), QPoint(w - 1, h - 1));
    painter.setPen(text);
    painter.setFont(font());
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.drawText(textRect, Qt::AlignCenter, this->text());
    painter.drawText(textRect, Qt::AlignCenter, this->text());

    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(119, 173, 216, 192), 2));
        painter.drawRoundedRect(QRect(3, 3, w - 6, h - 6), 5, 5);
        painter.setPen(QPen(QColor(198, 216, 230, 192), 2));
        painter.drawRoundedRect(QRect(2, 2, w - 4, h - 4), 5, 5);
    }
}

void TaskButton::paintRoundFace(int textBottomInset)
{
    const int w = width();
    const int h = height();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);

    const int g = 255 - greyValue(m_textColor);
    const QColor text = isEnabled() ? m_textColor : QColor(g, g, g);
    painter.setPen(Qt::NoPen);
    painter.setBrush(faceGradient(m_gradientBottom));
    painter.drawEllipse(QRect(0, 0, w, h));

    const int origin = isDown() ? 2 : 0;
    const QRect textRect(QPoint(origin, origin), QPoint(w - 1, h - 1 - textBottomInset));
    painter.setPen(text);
    painter.setFont(font());
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.drawText(textRect, Qt::AlignCenter, this->text());
    painter.drawText(textRect, Qt::AlignCenter, this->text());
}

} // namespace Velmar
