#ifndef VELMAR_TAVOCUSTOMSTYLE_H
#define VELMAR_TAVOCUSTOMSTYLE_H

#include <QImage>
#include <QRect>
#include <QStyle>

class QStyleOptionSlider;

namespace Velmar {

// The look of the plug-in's own scroll bars, of its one slider and of its
// image buttons. Set on single widgets, never on the application; every
// request it does not handle goes to the application's style as it is at the
// time of the call.
class TavoCustomStyle : public QStyle
{
    Q_OBJECT

public:
    TavoCustomStyle() = default;
    ~TavoCustomStyle() override = default;

    // Slider groove: a left cap, a middle tile and a right cap, each a square
    // as wide as the image is high.
    QImage groove;
    // Slider handle, drawn at its own size.
    QImage thumb;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option, const QPoint &point,
                                     const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                           const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
    QPixmap standardPixmap(StandardPixmap standardPixmap, const QStyleOption *option = nullptr,
                           const QWidget *widget = nullptr) const override;
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    QPixmap generatedIconPixmap(QIcon::Mode iconMode, const QPixmap &pixmap,
                                const QStyleOption *option) const override;
    int layoutSpacing(QSizePolicy::ControlType control1, QSizePolicy::ControlType control2,
                      Qt::Orientation orientation, const QStyleOption *option = nullptr,
                      const QWidget *widget = nullptr) const override;

    // Scroll-bar geometry along the bar, in pixels from 0: pure, so that it can
    // be checked without a widget. A range and page step that add up to zero
    // or less give a scale of 0.
    static double scrollBarScale(int length, int minimum, int maximum, int pageStep);
    static int scrollBarPosition(double value, double scale);

    // The slider's handle centre x: the left end at the minimum, the right end
    // at the maximum (mirrored when upside down). An empty span puts the handle
    // at the left end.
    static int sliderHandleCentre(const QRect &rect, int thumbWidth, int minimum, int maximum, int position,
                                  bool upsideDown);

private:
    static QStyle *platformStyle();
    bool hasSliderImages() const;
    static bool isSliderOption(const QStyleOption *option);
    static QRect scrollBarSubControlRect(const QStyleOptionSlider &option, SubControl subControl,
                                         const QWidget *widget);
    QRect sliderSubControlRect(const QStyleOptionSlider &option, SubControl subControl) const;
    static void drawScrollBarElement(ControlElement element, const QRect &rect, QPainter *painter,
                                     Qt::Orientation orientation);
    void drawScrollBar(const QStyleOptionSlider &option, QPainter *painter, const QWidget *widget) const;
    void drawSlider(const QStyleOptionSlider &option, QPainter *painter, const QWidget *widget) const;
};

} // namespace Velmar

#endif // VELMAR_TAVOCUSTOMSTYLE_H
