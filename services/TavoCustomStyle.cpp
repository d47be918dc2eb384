#include "services/TavoCustomStyle.h"

#include "plugin/ImageButton.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStyleOptionSlider>

#include <cmath>

namespace Velmar {

namespace {

int roundHalfUp(double value)
{
    return int(std::floor(value + 0.5));
}

// The rectangle of [start, end] along the bar, across its whole thickness.
QRect alongBar(Qt::Orientation orientation, int start, int end, int thickness)
{
    if (end < start)
        return QRect();
    return orientation == Qt::Vertical ? QRect(0, start, thickness, end - start + 1)
                                       : QRect(start, 0, end - start + 1, thickness);
}

const QAbstractSlider *scrollBarWidget(const QWidget *widget)
{
    return qobject_cast<const QAbstractSlider *>(widget);
}

} // namespace

QStyle *TavoCustomStyle::platformStyle()
{
    return QApplication::style();
}

double TavoCustomStyle::scrollBarScale(int length, int minimum, int maximum, int pageStep)
{
    const double extent = double(maximum) - double(minimum) + double(pageStep);
    return extent > 0.0 ? double(length) / extent : 0.0;
}

int TavoCustomStyle::scrollBarPosition(double value, double scale)
{
    return roundHalfUp(value * scale);
}

int TavoCustomStyle::sliderHandleCentre(const QRect &rect, int thumbWidth, int minimum, int maximum, int position,
                                        bool upsideDown)
{
    const double span = double(maximum) - double(minimum);
    double p = double(position) - double(minimum);
    if (upsideDown)
        p = span - p;
    const double fraction = span > 0.0 ? p / span : 0.0;
    return int((rect.left() + thumbWidth / 2) + (rect.width() - thumbWidth) * fraction);
}

bool TavoCustomStyle::hasSliderImages() const
{
    return !groove.isNull() && !thumb.isNull();
}

bool TavoCustomStyle::isSliderOption(const QStyleOption *option)
{
    return option && option->type == QStyleOption::SO_Slider && option->version >= 1;
}

void TavoCustomStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                    const QWidget *widget) const
{
    platformStyle()->drawPrimitive(element, option, painter, widget);
}

void TavoCustomStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                  const QWidget *widget) const
{
    switch (element) {
    case CE_PushButton:
        if (const auto *button = qobject_cast<const ImageButton *>(widget)) {
            button->paint(painter);
            return;
        }
        break;
    case CE_ScrollBarAddPage:
    case CE_ScrollBarSubPage:
    case CE_ScrollBarSlider:
        if (const QAbstractSlider *bar = scrollBarWidget(widget)) {
            drawScrollBarElement(element, option->rect, painter, bar->orientation());
            return;
        }
        break;
    default:
        break;
    }
    platformStyle()->drawControl(element, option, painter, widget);
}

QRect TavoCustomStyle::subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const
{
    if (element == SE_PushButtonLayoutItem && qobject_cast<const ImageButton *>(widget))
        return option->rect;
    return platformStyle()->subElementRect(element, option, widget);
}

void TavoCustomStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                         QPainter *painter, const QWidget *widget) const
{
    if (isSliderOption(option)) {
        const auto &slider = *static_cast<const QStyleOptionSlider *>(option);
        if (control == CC_ScrollBar && scrollBarWidget(widget)) {
            drawScrollBar(slider, painter, widget);
            return;
        }
        if (control == CC_Slider && hasSliderImages()) {
            drawSlider(slider, painter, widget);
            return;
        }
    }
    platformStyle()->drawComplexControl(control, option, painter, widget);
}

QStyle::SubControl TavoCustomStyle::hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                                          const QPoint &point, const QWidget *widget) const
{
    if (isSliderOption(option)) {
        const auto &slider = *static_cast<const QStyleOptionSlider *>(option);
        if (control == CC_ScrollBar && scrollBarWidget(widget)) {
            const Qt::Orientation orientation = scrollBarWidget(widget)->orientation();
            const int length = orientation == Qt::Vertical ? widget->height() : widget->width();
            const double scale = scrollBarScale(length, slider.minimum, slider.maximum, slider.pageStep);
            const int start = scrollBarPosition(slider.sliderPosition, scale);
            const int end = scrollBarPosition(double(slider.sliderPosition) + slider.pageStep, scale);
            const int c = orientation == Qt::Vertical ? point.y() : point.x();
            if (c < start)
                return SC_ScrollBarSubPage;
            if (c > end)
                return SC_ScrollBarAddPage;
            return SC_ScrollBarSlider;
        }
        if (control == CC_Slider && hasSliderImages()) {
            const QRect handle = proxy()->subControlRect(CC_Slider, option, SC_SliderHandle, widget);
            if (handle.isValid() && handle.contains(point))
                return SC_SliderHandle;
            const QRect grooveRect = proxy()->subControlRect(CC_Slider, option, SC_SliderGroove, widget);
            if (grooveRect.isValid() && grooveRect.contains(point))
                return SC_SliderGroove;
            return SC_None;
        }
    }
    return platformStyle()->hitTestComplexControl(control, option, point, widget);
}

QRect TavoCustomStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                      SubControl subControl, const QWidget *widget) const
{
    if (isSliderOption(option)) {
        const auto &slider = *static_cast<const QStyleOptionSlider *>(option);
        if (control == CC_ScrollBar && scrollBarWidget(widget)) {
            return scrollBarSubControlRect(slider, subControl, widget);
        }
        if (control == CC_Slider && hasSliderImages()
            && (subControl == SC_SliderHandle || subControl == SC_SliderGroove))
            return sliderSubControlRect(slider, subControl);
    }
    return platformStyle()->subControlRect(control, option, subControl, widget);
}

QRect TavoCustomStyle::scrollBarSubControlRect(const QStyleOptionSlider &option, SubControl subControl,
                                               const QWidget *widget)
{
    const Qt::Orientation orientation = scrollBarWidget(widget)->orientation();
    const int length = orientation == Qt::Vertical ? widget->height() : widget->width();
    const int thickness = orientation == Qt::Vertical ? widget->width() : widget->height();
    const double scale = scrollBarScale(length, option.minimum, option.maximum, option.pageStep);
    const int valueAt = scrollBarPosition(option.sliderValue, scale);

    switch (subControl) {
    case SC_ScrollBarGroove:
        return QRect(0, 0, widget->width(), widget->height());
    case SC_ScrollBarSlider:
        return alongBar(orientation, valueAt, valueAt + scrollBarPosition(option.pageStep, scale) - 1, thickness);
    case SC_ScrollBarSubPage:
        return option.sliderValue == 0 ? QRect() : alongBar(orientation, 0, valueAt - 1, thickness);
    case SC_ScrollBarAddPage:
        if (option.sliderValue >= option.maximum)
            return QRect();
        return alongBar(orientation, scrollBarPosition(double(option.sliderValue) + option.pageStep, scale),
                        length - 1, thickness);
    case SC_ScrollBarAddLine:
    case SC_ScrollBarSubLine:
    case SC_ScrollBarFirst:
    case SC_ScrollBarLast:
        return QRect();
    default:
        return platformStyle()->subControlRect(CC_ScrollBar, &option, subControl, widget);
    }
}

QRect TavoCustomStyle::sliderSubControlRect(const QStyleOptionSlider &option, SubControl subControl) const
{
    const QRect &r = option.rect;
    const int tw = thumb.width();
    const int th = thumb.height();
    const int gh = groove.height();
    if (subControl == SC_SliderHandle) {
        const int centre = sliderHandleCentre(r, tw, option.minimum, option.maximum, option.sliderPosition,
                                              option.upsideDown);
        return QRect(centre - tw / 2, r.top() + (r.height() - th) / 2, tw, th);
    }
    const int top = r.top() + (r.height() - gh) / 2;
    return QRect(QPoint(r.left() + tw / 2, top), QPoint(r.right() - tw + tw / 2, top + gh - 1));
}

int TavoCustomStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_ScrollBarExtent:
        return 12;
    case PM_ScrollBarSliderMin:
        return 32;
    case PM_SliderThickness:
    case PM_SliderControlThickness:
        if (!thumb.isNull())
            return thumb.height();
        break;
    case PM_SliderLength:
        if (!thumb.isNull())
            return thumb.width();
        break;
    case PM_SliderTickmarkOffset:
        return 0;
    default:
        break;
    }
    return platformStyle()->pixelMetric(metric, option, widget);
}

QSize TavoCustomStyle::sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                                        const QWidget *widget) const
{
    return platformStyle()->sizeFromContents(type, option, contentsSize, widget);
}

int TavoCustomStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                               QStyleHintReturn *returnData) const
{
    return platformStyle()->styleHint(hint, option, widget, returnData);
}

QPixmap TavoCustomStyle::standardPixmap(StandardPixmap standardPixmap, const QStyleOption *option,
                                        const QWidget *widget) const
{
    return platformStyle()->standardPixmap(standardPixmap, option, widget);
}

QIcon TavoCustomStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                                    const QWidget *widget) const
{
    return platformStyle()->standardIcon(standardIcon, option, widget);
}

QPixmap TavoCustomStyle::generatedIconPixmap(QIcon::Mode iconMode, const QPixmap &pixmap,
                                             const QStyleOption *option) const
{
    return platformStyle()->generatedIconPixmap(iconMode, pixmap, option);
}

int TavoCustomStyle::layoutSpacing(QSizePolicy::ControlType control1, QSizePolicy::ControlType control2,
                                   Qt::Orientation orientation, const QStyleOption *option,
                                   const QWidget *widget) const
{
    return platformStyle()->layoutSpacing(control1, control2, orientation, option, widget);
}

void TavoCustomStyle::drawScrollBarElement(ControlElement element, const QRect &rect, QPainter *painter,
                                           Qt::Orientation orientation)
{
    const bool vertical = orientation == Qt::Vertical;
    QLinearGradient track(rect.topLeft(), vertical ? rect.topRight() : rect.bottomLeft());
    track.setColorAt(0.0, QColor(152, 152, 152));
    track.setColorAt(1.0, QColor(144, 144, 144));
    painter->fillRect(rect, track);
    if (element != CE_ScrollBarSlider)
        return;

    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    QLinearGradient handle = vertical ? QLinearGradient(l + 3, t, r - 3, t) : QLinearGradient(l, t + 3, l, b - 3);
    handle.setColorAt(0.0, QColor(192, 192, 192));
    handle.setColorAt(1.0, QColor(208, 208, 208));

    painter->save();
    painter->setPen(Qt::NoPen);
    painter->setBrush(handle);
    // Round caps drawn smooth, the body between them crisp.
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (vertical) {
        painter->drawEllipse(QRect(l + 3, t, 6, 6));
        painter->drawEllipse(QRect(l + 3, b - 6, 6, 6));
    } else {
        painter->drawEllipse(QRect(l, t + 3, 6, 6));
        painter->drawEllipse(QRect(r - 6, t + 3, 6, 6));
    }
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->drawRect(QRect(QPoint(l + 3, t + 3), QPoint(r - 3, b - 3)));
    painter->restore();
}

void TavoCustomStyle::drawScrollBar(const QStyleOptionSlider &option, QPainter *painter, const QWidget *widget) const
{
    static const struct {
        SubControl subControl;
        ControlElement element;
    } parts[] = {
        {SC_ScrollBarSubLine, CE_ScrollBarSubLine}, {SC_ScrollBarAddLine, CE_ScrollBarAddLine},
        {SC_ScrollBarSubPage, CE_ScrollBarSubPage}, {SC_ScrollBarAddPage, CE_ScrollBarAddPage},
        {SC_ScrollBarFirst, CE_ScrollBarFirst},     {SC_ScrollBarLast, CE_ScrollBarLast},
        {SC_ScrollBarSlider, CE_ScrollBarSlider},
    };
    QStyleOptionSlider part = option;
    for (const auto &p : parts) {
        if (!(option.subControls & p.subControl))
            continue;
        part.state = option.state;
        part.rect = proxy()->subControlRect(CC_ScrollBar, &option, p.subControl, widget);
        if (!part.rect.isValid())
            continue;
        if (!(option.activeSubControls & p.subControl))
            part.state &= ~(State_Sunken | State_MouseOver);
        proxy()->drawControl(p.element, &part, painter, widget);
        if (p.subControl == SC_ScrollBarSlider && (option.state & State_HasFocus)) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(part);
            focus.rect = QRect(part.rect.x() + 2, part.rect.y() + 2, part.rect.width() - 5, part.rect.height() - 5);
            proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
        }
    }
}

void TavoCustomStyle::drawSlider(const QStyleOptionSlider &option, QPainter *painter, const QWidget *widget) const
{
    if (option.orientation != Qt::Horizontal)
        return;
    const QRect &r = option.rect;
    const int tw = thumb.width();
    const int gh = groove.height();
    const int gw = groove.width();
    const int y = r.top() + (r.height() - gh) / 2;
    const int xl = r.left() + tw / 2;
    const int xr = r.right() - tw / 2;
    painter->drawImage(QPoint(xl, y), groove, QRect(0, 0, gh, gh));
    painter->drawImage(QRect(xl + gh, y, xr - xl - 2 * gh, gh), groove, QRect(gh, 0, gh, gh));
    painter->drawImage(QPoint(xr - gh, y), groove, QRect(gw - gh, 0, gh, gh));
    const QRect handle = proxy()->subControlRect(CC_Slider, &option, SC_SliderHandle, widget);
    if (handle.isValid())
        painter->drawImage(handle, thumb);
}

} // namespace Velmar
