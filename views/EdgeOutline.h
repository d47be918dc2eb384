#ifndef VELMAR_EDGEOUTLINE_H
#define VELMAR_EDGEOUTLINE_H

class QColor;
class QPainter;
class QRect;

namespace Velmar {

// A one-pixel outline on a rectangle's own edge pixels, each pixel covered
// once so that a translucent colour does not pile up in the corners, drawn
// in one operation.
class EdgeOutline
{
public:
    static void draw(QPainter &painter, const QRect &rect, const QColor &colour);
};

} // namespace Velmar

#endif // VELMAR_EDGEOUTLINE_H
