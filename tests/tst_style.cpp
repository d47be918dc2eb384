// The custom style: scroll-bar and slider geometry, hit tests, what it
// paints, and that everything else is the application style's.

#include "WidgetProbe.h"
#include "services/TavoCustomStyle.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QtTest>

using Velmar::TavoCustomStyle;

namespace {

// The option a scroll bar hands its style.
QStyleOptionSlider scrollBarOption(const QScrollBar &bar)
{
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.pageStep = bar.pageStep();
    option.singleStep = bar.singleStep();
    option.sliderValue = bar.value();
    option.sliderPosition = bar.sliderPosition();
    return option;
}

QStyleOptionSlider sliderOption(const QSlider &slider)
{
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderValue = slider.value();
    option.sliderPosition = slider.sliderPosition();
    option.upsideDown = slider.invertedAppearance();
    return option;
}

QImage solid(const QSize &size, const QColor &colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

bool isGrey(QRgb pixel, int low, int high)
{
    return qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel) && qRed(pixel) >= low && qRed(pixel) <= high;
}

} // namespace

class tst_Style : public QObject
{
    Q_OBJECT

private slots:
    void scrollBarGeometry_data();
    void scrollBarGeometry();
    void scrollBarHasNoArrowButtons();
    void scrollBarHitTest_data();
    void scrollBarHitTest();
    void scrollBarPaintsTrackAndRoundedHandle();
    void pixelMetrics();
    void sliderHandleFollowsValue_data();
    void sliderHandleFollowsValue();
    void sliderPaintsItsImages();
    void emptyRangesDivideByNothing();
    void sliderWithoutImagesIsThePlatformsAlone();
    void otherRequestsGoToThePlatformStyle();
};

void tst_Style::scrollBarGeometry_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("pageStep");
    QTest::addColumn<int>("value");
    QTest::addColumn<QRect>("slider");
    QTest::addColumn<QRect>("subPage");
    QTest::addColumn<QRect>("addPage");

    const int v = Qt::Vertical, h = Qt::Horizontal;
    QTest::newRow("middle, scale 1") << v << QSize(12, 200) << 100 << 100 << 50 << QRect(0, 50, 12, 100)
                                     << QRect(0, 0, 12, 50) << QRect(0, 150, 12, 50);
    QTest::newRow("at the top") << v << QSize(12, 200) << 100 << 100 << 0 << QRect(0, 0, 12, 100) << QRect()
                                << QRect(0, 100, 12, 100);
    QTest::newRow("at the bottom") << v << QSize(12, 200) << 100 << 100 << 100 << QRect(0, 100, 12, 100)
                                   << QRect(0, 0, 12, 100) << QRect();
    QTest::newRow("content fits") << v << QSize(12, 300) << 0 << 300 << 0 << QRect(0, 0, 12, 300) << QRect()
                                  << QRect();
    // 300 / 700: the slider starts at 128.57 and is 128.57 long, both rounded.
    QTest::newRow("rounded positions") << v << QSize(12, 300) << 400 << 300 << 300 << QRect(0, 129, 12, 129)
                                       << QRect(0, 0, 12, 129) << QRect(0, 257, 12, 43);
    QTest::newRow("horizontal") << h << QSize(200, 12) << 100 << 100 << 50 << QRect(50, 0, 100, 12)
                                << QRect(0, 0, 50, 12) << QRect(150, 0, 50, 12);
    // Nothing to scale by: no handle and no division by zero.
    QTest::newRow("empty range and page") << v << QSize(12, 200) << 0 << 0 << 0 << QRect() << QRect() << QRect();
}

void tst_Style::scrollBarGeometry()
{
    QFETCH(int, orientation);
    QFETCH(QSize, size);
    QFETCH(int, maximum);
    QFETCH(int, pageStep);
    QFETCH(int, value);
    QFETCH(QRect, slider);
    QFETCH(QRect, subPage);
    QFETCH(QRect, addPage);

    TavoCustomStyle style;
    QScrollBar bar{Qt::Orientation(orientation)};
    bar.setStyle(&style);
    bar.resize(size);
    bar.setRange(0, maximum);
    bar.setPageStep(pageStep);
    bar.setValue(value);
    const QStyleOptionSlider option = scrollBarOption(bar);

    QCOMPARE(style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar), slider);
    QCOMPARE(style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSubPage, &bar), subPage);
    QCOMPARE(style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarAddPage, &bar), addPage);
    QCOMPARE(style.subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, &bar),
             QRect(QPoint(0, 0), size));
}

void tst_Style::scrollBarHasNoArrowButtons()
{
    TavoCustomStyle style;
    QScrollBar bar(Qt::Vertical);
    bar.setStyle(&style);
    bar.resize(12, 200);
    bar.setRange(0, 100);
    bar.setPageStep(100);
    bar.setValue(30);
    const QStyleOptionSlider option = scrollBarOption(bar);
    for (QStyle::SubControl sc : {QStyle::SC_ScrollBarAddLine, QStyle::SC_ScrollBarSubLine,
                                  QStyle::SC_ScrollBarFirst, QStyle::SC_ScrollBarLast})
        QVERIFY(!style.subControlRect(QStyle::CC_ScrollBar, &option, sc, &bar).isValid());
}

void tst_Style::scrollBarHitTest_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("along");
    QTest::addColumn<int>("expected");

    // Bar 200 long, range 0 to 100, page 100: the handle spans 40 to 140 at 40.
    QTest::newRow("above the handle") << 40 << 39 << int(QStyle::SC_ScrollBarSubPage);
    QTest::newRow("handle start") << 40 << 40 << int(QStyle::SC_ScrollBarSlider);
    QTest::newRow("handle end") << 40 << 140 << int(QStyle::SC_ScrollBarSlider);
    QTest::newRow("below the handle") << 40 << 141 << int(QStyle::SC_ScrollBarAddPage);
}

void tst_Style::scrollBarHitTest()
{
    QFETCH(int, position);
    QFETCH(int, along);
    QFETCH(int, expected);

    TavoCustomStyle style;
    QScrollBar bar(Qt::Vertical);
    bar.setStyle(&style);
    bar.resize(12, 200);
    bar.setRange(0, 100);
    bar.setPageStep(100);
    QStyleOptionSlider option = scrollBarOption(bar);
    // The hit test follows the handle being dragged, not the value.
    option.sliderValue = 0;
    option.sliderPosition = position;
    QCOMPARE(int(style.hitTestComplexControl(QStyle::CC_ScrollBar, &option, QPoint(6, along), &bar)), expected);
}

void tst_Style::scrollBarPaintsTrackAndRoundedHandle()
{
    QScrollBar bar(Qt::Vertical);
    auto *style = new TavoCustomStyle;
    style->setParent(&bar);
    bar.setStyle(style);
    bar.resize(12, 200);
    bar.setRange(0, 100);
    bar.setPageStep(100);
    bar.setValue(50);

    const QImage image = WidgetProbe::render(bar, Qt::black);
    // Track above and below the handle, and beside it.
    QVERIFY(isGrey(image.pixel(6, 20), 144, 152));
    QVERIFY(isGrey(image.pixel(6, 180), 144, 152));
    QVERIFY(isGrey(image.pixel(1, 100), 144, 152));
    QVERIFY(isGrey(image.pixel(10, 100), 144, 152));
    // The handle is six pixels thick, centred, with rounded ends.
    for (int x = 3; x <= 8; ++x)
        QVERIFY2(isGrey(image.pixel(x, 100), 192, 208), qPrintable(QString::number(x)));
    QVERIFY(isGrey(image.pixel(2, 100), 144, 152));
    QVERIFY(isGrey(image.pixel(9, 100), 144, 152));
    QVERIFY(isGrey(image.pixel(3, 50), 144, 170)); // the corner of the rounded end
    QVERIFY(isGrey(image.pixel(6, 51), 180, 208));
}

void tst_Style::pixelMetrics()
{
    TavoCustomStyle style;
    QCOMPARE(style.pixelMetric(QStyle::PM_ScrollBarExtent), 12);
    QCOMPARE(style.pixelMetric(QStyle::PM_ScrollBarSliderMin), 32);
    QCOMPARE(style.pixelMetric(QStyle::PM_SliderTickmarkOffset), 0);
    // Without a handle image the platform measures the slider.
    QCOMPARE(style.pixelMetric(QStyle::PM_SliderLength), QApplication::style()->pixelMetric(QStyle::PM_SliderLength));
    style.thumb = solid(QSize(21, 7), Qt::red);
    QCOMPARE(style.pixelMetric(QStyle::PM_SliderLength), 21);
    QCOMPARE(style.pixelMetric(QStyle::PM_SliderThickness), 7);
    QCOMPARE(style.pixelMetric(QStyle::PM_SliderControlThickness), 7);
}

void tst_Style::sliderHandleFollowsValue_data()
{
    QTest::addColumn<bool>("inverted");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("handleLeft");

    // A 255-pixel slider with a 21-pixel handle: it travels from 0 to 234.
    QTest::newRow("minimum") << false << 0 << 0;
    QTest::newRow("maximum") << false << 255 << 234;
    QTest::newRow("inverted maximum is left") << true << 255 << 0;
    QTest::newRow("inverted minimum is right") << true << 0 << 234;
    QTest::newRow("middle, truncated") << false << 128 << 117;
}

void tst_Style::sliderHandleFollowsValue()
{
    QFETCH(bool, inverted);
    QFETCH(int, value);
    QFETCH(int, handleLeft);

    TavoCustomStyle style;
    style.groove = solid(QSize(21, 7), Qt::blue);
    style.thumb = solid(QSize(21, 7), Qt::red);
    QSlider slider(Qt::Horizontal);
    slider.setStyle(&style);
    slider.setRange(0, 255);
    slider.setInvertedAppearance(inverted);
    slider.setValue(value);
    slider.resize(255, 21);
    const QStyleOptionSlider option = sliderOption(slider);

    const QRect handle = style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider);
    QCOMPARE(handle, QRect(handleLeft, 7, 21, 7));
    QCOMPARE(style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, &slider),
             QRect(QPoint(10, 7), QPoint(243, 13)));
    QCOMPARE(style.hitTestComplexControl(QStyle::CC_Slider, &option, handle.center(), &slider),
             QStyle::SC_SliderHandle);
    QCOMPARE(style.hitTestComplexControl(QStyle::CC_Slider, &option, QPoint(128, 0), &slider), QStyle::SC_None);
}

void tst_Style::sliderPaintsItsImages()
{
    TavoCustomStyle style;
    // Caps and middle tile in three colours, to see each where it belongs.
    QImage groove(21, 7, QImage::Format_ARGB32);
    groove.fill(Qt::green);
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x) {
            groove.setPixel(x, y, qRgb(0, 0, 255));
            groove.setPixel(14 + x, y, qRgb(255, 255, 0));
        }
    }
    style.groove = groove;
    style.thumb = solid(QSize(21, 7), Qt::red);
    QSlider slider(Qt::Horizontal);
    slider.setStyle(&style);
    slider.setRange(0, 255);
    slider.setValue(128);
    slider.resize(255, 21);

    const QImage image = WidgetProbe::render(slider, Qt::black);
    QCOMPARE(image.pixel(10, 10), qRgb(0, 0, 255));    // left cap from x 10 to 16
    QCOMPARE(image.pixel(17, 10), qRgb(0, 255, 0));    // middle stretched from 17 to 236
    QCOMPARE(image.pixel(236, 10), qRgb(0, 255, 0));
    QCOMPARE(image.pixel(127, 10), qRgb(255, 0, 0));   // handle from 117 to 137
    QCOMPARE(image.pixel(237, 10), qRgb(255, 255, 0)); // right cap from 237 to 243
    QCOMPARE(image.pixel(243, 10), qRgb(255, 255, 0));
    QCOMPARE(image.pixel(120, 3), qRgb(0, 0, 0));      // nothing above the groove
}

void tst_Style::emptyRangesDivideByNothing()
{
    // No range and no page, or a maximum below the minimum: scale 0.
    QCOMPARE(TavoCustomStyle::scrollBarScale(200, 0, 0, 0), 0.0);
    QCOMPARE(TavoCustomStyle::scrollBarScale(200, 10, 0, 5), 0.0);
    QCOMPARE(TavoCustomStyle::scrollBarPosition(40, 0.0), 0);
    // A slider whose minimum is its maximum keeps its handle at the left end.
    const QRect rect(0, 0, 255, 21);
    QCOMPARE(TavoCustomStyle::sliderHandleCentre(rect, 21, 5, 5, 5, false), 10);
    QCOMPARE(TavoCustomStyle::sliderHandleCentre(rect, 21, 5, 5, 5, true), 10);
    QCOMPARE(TavoCustomStyle::sliderHandleCentre(rect, 21, 10, 0, 5, false), 10);

    TavoCustomStyle style;
    style.groove = solid(QSize(21, 7), Qt::blue);
    style.thumb = solid(QSize(21, 7), Qt::red);
    QSlider slider(Qt::Horizontal);
    slider.setStyle(&style);
    slider.setRange(7, 7);
    slider.resize(255, 21);
    const QStyleOptionSlider option = sliderOption(slider);
    QCOMPARE(style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider), QRect(0, 7, 21, 7));
    QCOMPARE(WidgetProbe::render(slider, Qt::black).pixel(10, 10), qRgb(255, 0, 0));
}

void tst_Style::sliderWithoutImagesIsThePlatformsAlone()
{
    TavoCustomStyle style;
    QSlider slider(Qt::Horizontal);
    slider.setRange(0, 255);
    slider.setValue(100);
    slider.resize(255, 21);
    const QStyleOptionSlider option = sliderOption(slider);
    QStyle *platform = QApplication::style();
    for (QStyle::SubControl sc : {QStyle::SC_SliderHandle, QStyle::SC_SliderGroove})
        QCOMPARE(style.subControlRect(QStyle::CC_Slider, &option, sc, &slider),
                 platform->subControlRect(QStyle::CC_Slider, &option, sc, &slider));

    const QImage plain = WidgetProbe::render(slider, Qt::black);
    slider.setStyle(&style);
    QCOMPARE(WidgetProbe::render(slider, Qt::black), plain);
}

void tst_Style::otherRequestsGoToThePlatformStyle()
{
    TavoCustomStyle style;
    QStyle *platform = QApplication::style();

    QPushButton button(QStringLiteral("Plain"));
    button.resize(100, 30);
    const QImage plain = WidgetProbe::render(button, Qt::black);
    button.setStyle(&style);
    QCOMPARE(WidgetProbe::render(button, Qt::black), plain);

    QCOMPARE(style.layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton, Qt::Horizontal),
             platform->layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton, Qt::Horizontal));
    QCOMPARE(style.standardIcon(QStyle::SP_DialogOkButton).availableSizes(),
             platform->standardIcon(QStyle::SP_DialogOkButton).availableSizes());
    QCOMPARE(style.styleHint(QStyle::SH_ScrollBar_LeftClickAbsolutePosition),
             platform->styleHint(QStyle::SH_ScrollBar_LeftClickAbsolutePosition));
    QCOMPARE(style.pixelMetric(QStyle::PM_ButtonMargin), platform->pixelMetric(QStyle::PM_ButtonMargin));
}

QTEST_MAIN(tst_Style)
#include "tst_style.moc"
