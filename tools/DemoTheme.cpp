#include "DemoTheme.h"

#include <QBuffer>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <functional>

namespace {

const QColor glyphOnDark(205, 205, 205);
const QColor glyphOnLight(72, 72, 72);

QColor colourAt(const QList<QColor> &colours, int index)
{
    return colours.isEmpty() ? QColor(128, 128, 128) : colours.at(index % colours.size());
}

// A transparent image with an antialiased painter on it.
struct Canvas {
    explicit Canvas(const QSize &size)
        : image(size, QImage::Format_ARGB32_Premultiplied)
    {
        image.fill(Qt::transparent);
        painter.begin(&image);
        painter.setRenderHint(QPainter::Antialiasing);
    }
    QImage finish()
    {
        painter.end();
        return image;
    }
    QImage image;
    QPainter painter;
};

QPen roundPen(const QColor &colour, double width)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QImage mainBackground()
{
    Canvas c(QSize(800, 600));
    QLinearGradient gradient(0, 0, 0, 600);
    gradient.setColorAt(0, QColor(62, 62, 66));
    gradient.setColorAt(1, QColor(38, 38, 42));
    c.painter.fillRect(c.image.rect(), gradient);
    return c.finish();
}

QImage barBackground()
{
    Canvas c(QSize(30, 30));
    QLinearGradient gradient(0, 0, 0, 30);
    gradient.setColorAt(0, QColor(242, 242, 242));
    gradient.setColorAt(1, QColor(214, 214, 214));
    c.painter.fillRect(c.image.rect(), gradient);
    c.painter.setPen(QColor(188, 188, 188));
    c.painter.drawLine(0, 29, 29, 29);
    return c.finish();
}

QImage triangle(const QSize &size, const QColor &colour, double angleDegrees, double side)
{
    Canvas c(size);
    c.painter.translate(size.width() / 2.0, size.height() / 2.0);
    c.painter.rotate(angleDegrees);
    QPainterPath path;
    // Pointing right before the rotation.
    path.moveTo(side * 0.45, 0);
    path.lineTo(-side * 0.3, -side * 0.5);
    path.lineTo(-side * 0.3, side * 0.5);
    path.closeSubpath();
    c.painter.setPen(Qt::NoPen);
    c.painter.setBrush(colour);
    c.painter.drawPath(path);
    return c.finish();
}

QImage wheelBackground()
{
    Canvas c(QSize(122, 122));
    c.painter.fillRect(c.image.rect(), QColor(55, 55, 59));
    c.painter.setPen(QPen(QColor(78, 78, 84), 1.5));
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawEllipse(QPointF(61, 61), 59, 59);
    return c.finish();
}

QImage magnifier(const QSize &size, const QColor &colour, bool plus)
{
    Canvas c(size);
    const double s = size.width() / 16.0;
    c.painter.setPen(roundPen(colour, 1.8 * s));
    c.painter.drawEllipse(QPointF(6.5 * s, 6.5 * s), 4.3 * s, 4.3 * s);
    c.painter.setPen(roundPen(colour, 2.4 * s));
    c.painter.drawLine(QPointF(10 * s, 10 * s), QPointF(14.5 * s, 14.5 * s));
    if (plus) {
        c.painter.setPen(roundPen(colour, 1.4 * s));
        c.painter.drawLine(QPointF(4.5 * s, 6.5 * s), QPointF(8.5 * s, 6.5 * s));
        c.painter.drawLine(QPointF(6.5 * s, 4.5 * s), QPointF(6.5 * s, 8.5 * s));
    }
    return c.finish();
}

QImage rollArrow(bool forward, bool down)
{
    Canvas c(QSize(16, 20));
    if (down) {
        c.painter.setPen(Qt::NoPen);
        c.painter.setBrush(QColor(255, 255, 255, 48));
        c.painter.drawRoundedRect(QRectF(0.5, 0.5, 15, 19), 3, 3);
    }
    c.painter.setPen(roundPen(down ? QColor(255, 255, 255) : glyphOnDark, 2.2));
    const double tip = forward ? 11 : 5;
    const double tail = forward ? 5 : 11;
    c.painter.drawPolyline(QPolygonF{QPointF(tail, 4.5), QPointF(tip, 10), QPointF(tail, 15.5)});
    return c.finish();
}

QImage tick()
{
    Canvas c(QSize(12, 11));
    c.painter.setPen(roundPen(QColor(132, 204, 88), 2));
    c.painter.drawPolyline(QPolygonF{QPointF(1.5, 6), QPointF(4.5, 9), QPointF(10.5, 1.5)});
    return c.finish();
}

QImage scrollbarThumb()
{
    Canvas c(QSize(10, 40));
    c.painter.setPen(Qt::NoPen);
    c.painter.setBrush(QColor(150, 150, 150));
    c.painter.drawRoundedRect(QRectF(1, 1, 8, 38), 4, 4);
    return c.finish();
}

// A row of chips in the collection's colours, centred in the band.
QImage banner(const QList<QColor> &colours)
{
    Canvas c(QSize(800, 70));
    const int count = std::max(1, int(colours.size()));
    const double width = std::min(24.0, 640.0 / count - 4);
    const double step = width + 4;
    double x = (800 - (count * step - 4)) / 2.0;
    for (int i = 0; i < count; ++i, x += step) {
        c.painter.setPen(QPen(colourAt(colours, i).lighter(130), 1));
        c.painter.setBrush(colourAt(colours, i));
        c.painter.drawRoundedRect(QRectF(x, 16, width, 38), 3, 3);
    }
    c.painter.setPen(QPen(QColor(188, 188, 188), 1));
    c.painter.drawLine(QPointF(80, 62.5), QPointF(720, 62.5));
    return c.finish();
}

// Cards fanned out from a rivet, the picker's own motif.
void drawFan(QPainter &painter, const QPointF &pivot, double cardHeight, const QList<QColor> &colours, int cards,
             double spread)
{
    const double cardWidth = cardHeight * 0.36;
    for (int i = 0; i < cards; ++i) {
        painter.save();
        painter.translate(pivot);
        painter.rotate(-spread / 2 + (cards > 1 ? spread * i / (cards - 1) : 0));
        const QRectF card(-cardWidth / 2, -cardHeight, cardWidth, cardHeight + cardWidth * 0.2);
        painter.setPen(QPen(QColor(40, 40, 40), std::max(1.0, cardHeight / 40)));
        painter.setBrush(colourAt(colours, i * std::max(1, int(colours.size()) / cards)));
        painter.drawRoundedRect(card, cardWidth * 0.15, cardWidth * 0.15);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 150));
        painter.drawRect(QRectF(card.left() + cardWidth * 0.15, card.top() + cardHeight * 0.1, cardWidth * 0.7,
                                cardHeight * 0.08));
        painter.restore();
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 40));
    painter.drawEllipse(pivot, cardHeight * 0.07, cardHeight * 0.07);
}

QImage windowIcon(const QList<QColor> &colours)
{
    Canvas c(QSize(64, 64));
    drawFan(c.painter, QPointF(32, 54), 46, colours, 3, 50);
    return c.finish();
}

QImage aboutLogo(const QList<QColor> &colours)
{
    // The about box shows the middle 48 rows of the 64 it asks for.
    Canvas c(QSize(128, 64));
    drawFan(c.painter, QPointF(64, 52), 40, colours, 5, 110);
    return c.finish();
}

QImage deviceButton(const QList<QColor> &colours)
{
    Canvas c(QSize(16, 16));
    c.painter.setPen(QPen(glyphOnLight, 1.2));
    c.painter.setBrush(QColor(235, 235, 235));
    c.painter.drawRoundedRect(QRectF(2.5, 1.5, 11, 13), 3, 3);
    c.painter.setBrush(colourAt(colours, 0));
    c.painter.drawEllipse(QPointF(8, 10), 2.5, 2.5);
    c.painter.drawLine(QPointF(5, 4.5), QPointF(11, 4.5));
    return c.finish();
}

QImage madeToOrderMark()
{
    // Scaled onto a chip: a white corner with a dot, legible at any size.
    Canvas c(QSize(96, 50));
    QPainterPath corner;
    corner.moveTo(56, 0);
    corner.lineTo(96, 0);
    corner.lineTo(96, 40);
    corner.closeSubpath();
    c.painter.setPen(QPen(QColor(60, 60, 60, 160), 1.5));
    c.painter.setBrush(QColor(255, 255, 255, 220));
    c.painter.drawPath(corner);
    c.painter.setPen(Qt::NoPen);
    c.painter.setBrush(QColor(60, 60, 60));
    c.painter.drawEllipse(QPointF(86, 10), 4.5, 4.5);
    return c.finish();
}

struct MoodStyle {
    QColor colour;
    std::function<void(QPainter &, const QColor &)> symbol;
};

const QHash<QString, MoodStyle> &moodStyles()
{
    static const QHash<QString, MoodStyle> styles{
        {QStringLiteral("fresh"),
         {QColor(120, 200, 110),
          [](QPainter &p, const QColor &c) {
              p.save();
              p.translate(11.5, 10.5);
              p.rotate(-45);
              p.setPen(QPen(c.darker(130), 1));
              p.setBrush(c);
              p.drawEllipse(QPointF(0, 0), 7.5, 4);
              p.drawLine(QPointF(-7, 0), QPointF(6, 0));
              p.restore();
          }}},
        {QStringLiteral("warm"),
         {QColor(240, 150, 60),
          [](QPainter &p, const QColor &c) {
              p.setPen(roundPen(c, 1.4));
              for (int i = 0; i < 8; ++i) {
                  const double a = i * M_PI / 4;
                  p.drawLine(QPointF(11.5 + 5.5 * std::cos(a), 10.5 + 5.5 * std::sin(a)),
                             QPointF(11.5 + 8 * std::cos(a), 10.5 + 8 * std::sin(a)));
              }
              p.setPen(Qt::NoPen);
              p.setBrush(c);
              p.drawEllipse(QPointF(11.5, 10.5), 3.8, 3.8);
          }}},
        {QStringLiteral("calm"),
         {QColor(96, 164, 222),
          [](QPainter &p, const QColor &c) {
              p.setPen(roundPen(c, 1.8));
              for (double y : {7.5, 13.5}) {
                  QPainterPath wave;
                  wave.moveTo(3, y);
                  wave.cubicTo(7, y - 4, 9, y + 4, 11.5, y);
                  wave.cubicTo(14, y - 4, 16, y + 4, 20, y);
                  p.drawPath(wave);
              }
          }}},
        {QStringLiteral("rich"),
         {QColor(168, 78, 150),
          [](QPainter &p, const QColor &c) {
              p.setPen(QPen(c.lighter(140), 1));
              p.setBrush(c);
              p.drawPolygon(QPolygonF{QPointF(11.5, 2), QPointF(19, 10.5), QPointF(11.5, 19), QPointF(4, 10.5)});
          }}},
        {QStringLiteral("offwhite"),
         {QColor(240, 232, 210),
          [](QPainter &p, const QColor &c) {
              p.setPen(QPen(c.darker(150), 1.2));
              p.setBrush(c);
              p.drawEllipse(QPointF(11.5, 10.5), 7, 7);
          }}},
        {QStringLiteral("neutral"),
         {QColor(160, 160, 160),
          [](QPainter &p, const QColor &c) {
              p.setPen(QPen(c, 1.2));
              p.setBrush(Qt::NoBrush);
              p.drawEllipse(QPointF(11.5, 10.5), 7, 7);
              QPainterPath half;
              half.moveTo(11.5, 3.5);
              half.arcTo(QRectF(4.5, 3.5, 14, 14), 90, 180);
              half.closeSubpath();
              p.setPen(Qt::NoPen);
              p.setBrush(c);
              p.drawPath(half);
          }}},
    };
    return styles;
}

QImage mood(const QString &name, bool selected)
{
    Canvas c(QSize(23, 21));
    const MoodStyle &style = moodStyles()[name];
    if (selected) {
        c.painter.setPen(Qt::NoPen);
        c.painter.setBrush(QColor(255, 255, 255, 56));
        c.painter.drawRoundedRect(QRectF(0.5, 0.5, 22, 20), 4, 4);
    }
    style.symbol(c.painter, selected ? style.colour : QColor(150, 150, 150));
    return c.finish();
}

QImage allMoods()
{
    Canvas c(QSize(23, 21));
    const QStringList names{"fresh", "warm", "calm", "rich", "offwhite", "neutral"};
    c.painter.setPen(Qt::NoPen);
    for (int i = 0; i < names.size(); ++i) {
        const double a = -M_PI / 2 + i * M_PI / 3;
        c.painter.setBrush(moodStyles()[names.at(i)].colour);
        c.painter.drawEllipse(QPointF(11.5 + 6.5 * std::cos(a), 10.5 + 6.5 * std::sin(a)), 2.6, 2.6);
    }
    return c.finish();
}

QImage exteriorOnly()
{
    Canvas c(QSize(23, 21));
    c.painter.setPen(roundPen(glyphOnDark, 1.6));
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawPolyline(QPolygonF{QPointF(4, 10), QPointF(11.5, 3), QPointF(19, 10)});
    c.painter.drawPolyline(QPolygonF{QPointF(6.5, 8.5), QPointF(6.5, 18), QPointF(16.5, 18), QPointF(16.5, 8.5)});
    c.painter.drawRect(QRectF(10, 12.5, 3, 5.5));
    return c.finish();
}

QImage disabledMark()
{
    Canvas c(QSize(11, 11));
    c.painter.setPen(roundPen(QColor(140, 140, 140), 1.6));
    c.painter.drawLine(QPointF(2.5, 2.5), QPointF(8.5, 8.5));
    c.painter.drawLine(QPointF(8.5, 2.5), QPointF(2.5, 8.5));
    return c.finish();
}

// A wheel of twelve segments with the ones of the scheme in colour.
QImage scheme(const QList<int> &segments, bool tonal, bool dramatic, bool selected, const QList<QColor> &colours)
{
    Canvas c(QSize(44, 44));
    const QRectF wheel(4, 4, 36, 36);
    for (int segment = 0; segment < 12; ++segment) {
        QColor colour;
        if (tonal)
            colour = segment < 4 ? QColor::fromHsl(0, 0, 70 + segment * 45) : QColor(90, 90, 94);
        else if (segments.contains(segment))
            colour = colourAt(colours, segment * std::max(1, int(colours.size()) / 12));
        else
            colour = QColor(90, 90, 94);
        if (!selected)
            colour.setAlpha(120);
        QPainterPath wedge;
        wedge.moveTo(wheel.center());
        wedge.arcTo(wheel, 90 - segment * 30 - 14, 28);
        wedge.closeSubpath();
        c.painter.setPen(Qt::NoPen);
        c.painter.setBrush(colour);
        c.painter.drawPath(wedge);
    }
    c.painter.setBrush(dramatic ? QColor(20, 20, 20) : QColor(50, 50, 54));
    c.painter.drawEllipse(wheel.center(), 6, 6);
    if (selected) {
        c.painter.setPen(QPen(QColor(255, 255, 255), 1.5));
        c.painter.setBrush(Qt::NoBrush);
        c.painter.drawEllipse(wheel.center(), 20.5, 20.5);
    }
    return c.finish();
}

QImage neutralMarker(bool selected)
{
    Canvas c(QSize(9, 9));
    c.painter.setPen(QPen(glyphOnDark, 1));
    c.painter.setBrush(selected ? QColor(255, 255, 255) : QColor(Qt::transparent));
    c.painter.drawEllipse(QPointF(4.5, 4.5), 3.5, 3.5);
    return c.finish();
}

QImage eraser()
{
    Canvas c(QSize(16, 16));
    c.painter.translate(8, 8);
    c.painter.rotate(-40);
    c.painter.setPen(QPen(glyphOnLight, 1.2));
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawRoundedRect(QRectF(-6.5, -3.5, 13, 7), 1.5, 1.5);
    c.painter.setBrush(glyphOnLight);
    c.painter.drawRoundedRect(QRectF(-6.5, -3.5, 5, 7), 1.5, 1.5);
    return c.finish();
}

QImage grid()
{
    Canvas c(QSize(16, 16));
    c.painter.setPen(QPen(glyphOnLight, 1));
    c.painter.setRenderHint(QPainter::Antialiasing, false);
    c.painter.drawRect(2, 2, 12, 12);
    c.painter.drawLine(6, 2, 6, 14);
    c.painter.drawLine(10, 2, 10, 14);
    c.painter.drawLine(2, 6, 14, 6);
    c.painter.drawLine(2, 10, 14, 10);
    return c.finish();
}

QImage trash(const QSize &size)
{
    Canvas c(size);
    const double s = size.width() / 16.0;
    c.painter.scale(s, s);
    c.painter.setPen(roundPen(glyphOnLight, 1.3));
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawLine(QPointF(2.5, 3.5), QPointF(13.5, 3.5));
    c.painter.drawLine(QPointF(6, 3.5), QPointF(6.5, 1.5));
    c.painter.drawLine(QPointF(6.5, 1.5), QPointF(9.5, 1.5));
    c.painter.drawLine(QPointF(9.5, 1.5), QPointF(10, 3.5));
    c.painter.drawPolyline(QPolygonF{QPointF(4, 4), QPointF(5, 14.5), QPointF(11, 14.5), QPointF(12, 4)});
    c.painter.drawLine(QPointF(7, 6.5), QPointF(7, 12.5));
    c.painter.drawLine(QPointF(9, 6.5), QPointF(9, 12.5));
    return c.finish();
}

QImage clearQuestion(const QList<QColor> &colours)
{
    Canvas c(QSize(128, 128));
    c.painter.setPen(QPen(QColor(120, 120, 120), 5));
    c.painter.setBrush(QColor(244, 244, 244));
    c.painter.drawEllipse(QPointF(64, 64), 58, 58);
    QPainterPath mark;
    mark.moveTo(44, 48);
    mark.arcTo(QRectF(44, 26, 40, 40), 180, -250);
    mark.quadTo(64, 66, 64, 80);
    c.painter.setPen(roundPen(colourAt(colours, 0).darker(120), 12));
    c.painter.setBrush(Qt::NoBrush);
    c.painter.drawPath(mark);
    c.painter.setPen(Qt::NoPen);
    c.painter.setBrush(colourAt(colours, 0).darker(120));
    c.painter.drawEllipse(QPointF(64, 100), 7.5, 7.5);
    return c.finish();
}

QImage backArrow()
{
    Canvas c(QSize(16, 16));
    c.painter.setPen(roundPen(glyphOnLight, 1.8));
    c.painter.drawLine(QPointF(3, 8), QPointF(13, 8));
    c.painter.drawPolyline(QPolygonF{QPointF(7.5, 3.5), QPointF(3, 8), QPointF(7.5, 12.5)});
    return c.finish();
}

QImage sliderGroove()
{
    Canvas c(QSize(21, 7));
    c.painter.setPen(Qt::NoPen);
    c.painter.setBrush(QColor(150, 150, 150));
    c.painter.drawRect(QRectF(0, 2, 21, 3));
    return c.finish();
}

QImage sliderThumb()
{
    Canvas c(QSize(21, 7));
    c.painter.setPen(QPen(QColor(110, 110, 110), 1));
    c.painter.setBrush(QColor(250, 250, 250));
    c.painter.drawRoundedRect(QRectF(0.5, 0.5, 20, 6), 3, 3);
    return c.finish();
}

} // namespace

QList<QPair<QString, QSize>> DemoTheme::imageSizes()
{
    QList<QPair<QString, QSize>> sizes{
        {"image.widget.main.background", {800, 600}},
        {"image.widget.bar.background", {30, 30}},
        {"image.widget.dropdown.arrow.up", {20, 20}},
        {"image.widget.dropdown.arrow.down", {20, 20}},
        {"image.widget.color.wheel.background", {122, 122}},
        {"image.widget.search.magnifying.glass", {16, 16}},
        {"image.widget.roll.backward.normal", {16, 20}},
        {"image.widget.roll.backward.down", {16, 20}},
        {"image.widget.roll.forward.normal", {16, 20}},
        {"image.widget.roll.forward.down", {16, 20}},
        {"image.tick.normal", {12, 11}},
        {"image.vertical.scrollbar.thumb", {10, 40}},
        {"image.banner", {800, 70}},
        {"image.window.icon", {64, 64}},
        {"image.dizeviz.button.normal", {16, 16}},
        {"image.about.logo", {128, 64}},
        {"image.mto", {96, 50}},
        {"image.mood.all.moods", {23, 21}},
        {"image.mood.external.colors.only", {23, 21}},
        {"image.mood.disabled", {11, 11}},
        {"image.complementary.neutral.marker.normal", {9, 9}},
        {"image.complementary.neutral.marker.selected", {9, 9}},
        {"image.mypalette.eraser", {16, 16}},
        {"image.mypalette.grid.off", {16, 16}},
        {"image.mypalette.trash", {16, 16}},
        {"image.mypalette.zoom", {16, 16}},
        {"image.mypalette.clear.question.icon", {128, 128}},
        {"image.mypalettefull.back", {16, 16}},
        {"image.mypalettefull.slider.background", {21, 7}},
        {"image.mypalettefull.slider.thumb", {21, 7}},
        {"image.huecast.group.open", {16, 16}},
        {"image.huecast.group.closed", {16, 16}},
    };
    for (const char *name : {"calm", "fresh", "neutral", "offwhite", "rich", "warm"}) {
        for (const char *state : {"normal", "selected"})
            sizes.append({QStringLiteral("image.mood.%1.%2").arg(QLatin1String(name), QLatin1String(state)), {23, 21}});
    }
    for (const char *name : {"contrasting", "dramatic", "dynamic", "harmonising", "tonal.neutral", "wide.contrast"}) {
        for (const char *state : {"normal", "selected"})
            sizes.append({QStringLiteral("image.scheme.%1.%2").arg(QLatin1String(name), QLatin1String(state)), {44, 44}});
    }
    return sizes;
}

QImage DemoTheme::drawImage(const QString &key, const QList<QColor> &colours)
{
    if (key.startsWith(QLatin1String("image.mood."))) {
        const QStringList parts = key.split(QLatin1Char('.'));
        if (moodStyles().contains(parts.value(2)))
            return mood(parts.value(2), parts.value(3) == QLatin1String("selected"));
    }
    if (key.startsWith(QLatin1String("image.scheme."))) {
        const bool selected = key.endsWith(QLatin1String(".selected"));
        const QString name = key.mid(13, key.lastIndexOf(QLatin1Char('.')) - 13);
        static const QHash<QString, QList<int>> segments{
            {"harmonising", {0, 1, 2}}, {"contrasting", {0, 6}}, {"wide.contrast", {0, 5, 7}},
            {"dynamic", {0, 3, 6, 9}},  {"dramatic", {0, 6}},    {"tonal.neutral", {}}};
        return scheme(segments.value(name), name == QLatin1String("tonal.neutral"), name == QLatin1String("dramatic"),
                      selected, colours);
    }
    static const QHash<QString, std::function<QImage(const QList<QColor> &)>> painters{
        {"image.widget.main.background", [](const QList<QColor> &) { return mainBackground(); }},
        {"image.widget.bar.background", [](const QList<QColor> &) { return barBackground(); }},
        {"image.widget.dropdown.arrow.up", [](const QList<QColor> &) { return triangle({20, 20}, glyphOnLight, -90, 10); }},
        {"image.widget.dropdown.arrow.down", [](const QList<QColor> &) { return triangle({20, 20}, glyphOnLight, 90, 10); }},
        {"image.widget.color.wheel.background", [](const QList<QColor> &) { return wheelBackground(); }},
        {"image.widget.search.magnifying.glass", [](const QList<QColor> &) { return magnifier({16, 16}, glyphOnDark, false); }},
        {"image.widget.roll.backward.normal", [](const QList<QColor> &) { return rollArrow(false, false); }},
        {"image.widget.roll.backward.down", [](const QList<QColor> &) { return rollArrow(false, true); }},
        {"image.widget.roll.forward.normal", [](const QList<QColor> &) { return rollArrow(true, false); }},
        {"image.widget.roll.forward.down", [](const QList<QColor> &) { return rollArrow(true, true); }},
        {"image.tick.normal", [](const QList<QColor> &) { return tick(); }},
        {"image.vertical.scrollbar.thumb", [](const QList<QColor> &) { return scrollbarThumb(); }},
        {"image.banner", [](const QList<QColor> &c) { return banner(c); }},
        {"image.window.icon", [](const QList<QColor> &c) { return windowIcon(c); }},
        {"image.dizeviz.button.normal", [](const QList<QColor> &c) { return deviceButton(c); }},
        {"image.about.logo", [](const QList<QColor> &c) { return aboutLogo(c); }},
        {"image.mto", [](const QList<QColor> &) { return madeToOrderMark(); }},
        {"image.mood.all.moods", [](const QList<QColor> &) { return allMoods(); }},
        {"image.mood.external.colors.only", [](const QList<QColor> &) { return exteriorOnly(); }},
        {"image.mood.disabled", [](const QList<QColor> &) { return disabledMark(); }},
        {"image.complementary.neutral.marker.normal", [](const QList<QColor> &) { return neutralMarker(false); }},
        {"image.complementary.neutral.marker.selected", [](const QList<QColor> &) { return neutralMarker(true); }},
        {"image.mypalette.eraser", [](const QList<QColor> &) { return eraser(); }},
        {"image.mypalette.grid.off", [](const QList<QColor> &) { return grid(); }},
        {"image.mypalette.trash", [](const QList<QColor> &) { return trash({16, 16}); }},
        {"image.mypalette.zoom", [](const QList<QColor> &) { return magnifier({16, 16}, glyphOnLight, true); }},
        {"image.mypalette.clear.question.icon", [](const QList<QColor> &c) { return clearQuestion(c); }},
        {"image.mypalettefull.back", [](const QList<QColor> &) { return backArrow(); }},
        {"image.mypalettefull.slider.background", [](const QList<QColor> &) { return sliderGroove(); }},
        {"image.mypalettefull.slider.thumb", [](const QList<QColor> &) { return sliderThumb(); }},
        {"image.huecast.group.open", [](const QList<QColor> &) { return triangle({16, 16}, glyphOnDark, 90, 9); }},
        {"image.huecast.group.closed", [](const QList<QColor> &) { return triangle({16, 16}, glyphOnDark, 0, 9); }},
    };
    const auto painter = painters.constFind(key);
    return painter == painters.constEnd() ? QImage() : painter.value()(colours);
}

QList<DemoTheme::Item> DemoTheme::systemWideItems(const QList<QColor> &colours)
{
    QList<Item> items;
    for (const auto &entry : imageSizes())
        items.append({entry.first, png(drawImage(entry.first, colours))});
    items.append({QStringLiteral("color.widget.collectionselector.text"), QByteArrayLiteral("51,51,51")});
    items.append({QStringLiteral("list.of.preferred.font.faces"), QByteArrayLiteral("DejaVu Sans,12")});
    return items;
}

QList<DemoTheme::Item> DemoTheme::collectionItems(const QList<QColor> &colours)
{
    QList<Item> items;
    for (const char *key : {"image.banner", "image.mto", "image.about.logo"})
        items.append({QLatin1String(key), png(drawImage(QLatin1String(key), colours))});
    return items;
}

QByteArray DemoTheme::png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray DemoTheme::solidPng(const QSize &size, const QColor &colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return png(image);
}
