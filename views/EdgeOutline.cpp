#include "views/EdgeOutline.h"

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QVector>

namespace Velmar {

void EdgeOutline::draw(QPainter &painter, const QRect &rect, const QColor &colour)
{
    if (rect.isEmpty())
        return;
    QVector<QRect> edges{QRect(rect.left(), rect.top(), rect.width(), 1)};
    if (rect.height() > 1)
        edges.append(QRect(rect.left(), rect.bottom(), rect.width(), 1));
    if (rect.height() > 2) {
        edges.append(QRect(rect.left(), rect.top() + 1, 1, rect.height() - 2));
        if (rect.width() > 1)
            edges.append(QRect(rect.right(), rect.top() + 1, 1, rect.height() - 2));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRects(edges);
    painter.setBrush(Qt::NoBrush);
}

} // namespace Velmar
