#include "DemoBrowsing.h"

#include "CollectionWriter.h"
#include "DemoCollection.h"
#include "DemoTheme.h"

#include "database/DBStructure.h"

#include <QPainter>
#include <QPainterPath>
#include <QSqlQuery>

#include <cmath>

namespace {

// Where the wheel widget measures its segments from.
const QPointF wheelCentre(60.0, 61.0);
const double outerRadius = 57.0;
const double middleRadius = 41.0;
const double innerRadius = 27.0;
// Red at the top, the hues running clockwise as on a painter's wheel.
const double firstSegmentAngle = 90.0;

// The ring between two radii over [start, start + span] degrees.
QPainterPath ringPiece(double from, double to, double start, double span)
{
    QPainterPath path;
    path.arcMoveTo(QRectF(wheelCentre.x() - to, wheelCentre.y() - to, 2 * to, 2 * to), start);
    path.arcTo(QRectF(wheelCentre.x() - to, wheelCentre.y() - to, 2 * to, 2 * to), start, span);
    path.arcTo(QRectF(wheelCentre.x() - from, wheelCentre.y() - from, 2 * from, 2 * from), start + span, -span);
    path.closeSubpath();
    return path;
}

QList<QColor> segmentColours()
{
    // Segment s holds the cards of hue (s - 1) * 30 degrees in both decks.
    QList<QColor> colours;
    for (int segment = 1; segment <= 12; ++segment)
        colours.append(QColor::fromHslF((segment - 1) * 30.0 / 360.0, 0.62, 0.5));
    return colours;
}

// Card labels "DI-07" and "AC-3", the prefixes of their chips' codes, in
// the third name column: the roller's side cards have room for no more.
bool writeCardLabels(CollectionWriter &writer, const QUuid &deck, const QString &prefix, int width)
{
    QSqlQuery query(writer.database());
    query.prepare(QStringLiteral("SELECT P.ID, P.PAGE_INDEX FROM PAGE P JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                                 "JOIN COLLECTION C ON C.ID = CMAP.COLLECTION_ID WHERE C.UUID = :UUID COLLATE NOCASE"));
    query.bindValue(QStringLiteral(":UUID"), deck.toString());
    if (!query.exec())
        return false;
    QList<QPair<qint64, int>> cards;
    while (query.next())
        cards.append({query.value(0).toLongLong(), query.value(1).toInt()});
    for (const auto &card : cards) {
        const QString label = QStringLiteral("%1-%2").arg(prefix).arg(card.second, width, 10, QLatin1Char('0'));
        if (!writer.exec(QStringLiteral("UPDATE PAGE SET NAME2 = :LABEL WHERE ID = :ID"),
                         {{QStringLiteral(":LABEL"), label}, {QStringLiteral(":ID"), card.first}}))
            return false;
    }
    return !cards.isEmpty();
}

// The roller names a card by the first display column, the tool tip by all:
// the label first, then the full name.
bool writeNameDisplayOrder(CollectionWriter &writer, const QUuid &deck)
{
    const QString name = QStringLiteral("page.name.display.order");
    const qint64 id = writer.collectionId(deck);
    return id >= 0
        && writer.exec(QStringLiteral("DELETE FROM SETTING WHERE NAME = :NAME AND COLLECTION_ID = :ID"),
                       {{QStringLiteral(":NAME"), name}, {QStringLiteral(":ID"), id}})
        && writer.addSettings(id, name, {QStringLiteral("2"), QStringLiteral("0")});
}

} // namespace

QImage DemoBrowsing::wheelImage(const QList<QColor> &colours, double firstAngleDegrees)
{
    QImage image(122, 122, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const int count = colours.size();
    const double span = 360.0 / count;
    // A dark rim, then each segment as a saturated outer and a pale inner band.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(34, 34, 38));
    painter.drawEllipse(wheelCentre, outerRadius + 1.5, outerRadius + 1.5);
    for (int i = 0; i < count; ++i) {
        const double centre = firstAngleDegrees - i * span;
        const double start = centre - span / 2.0;
        painter.setBrush(colours.at(i));
        painter.drawPath(ringPiece(middleRadius, outerRadius, start, span));
        painter.setBrush(QColor::fromHslF(colours.at(i).hslHueF(), 0.45, 0.78));
        painter.drawPath(ringPiece(innerRadius, middleRadius, start, span));
    }
    // Thin gaps between the segments, where the hit test changes segment.
    painter.setPen(QPen(QColor(34, 34, 38), 1.2));
    for (int i = 0; i < count; ++i) {
        const double a = (firstAngleDegrees - i * span + span / 2.0) * M_PI / 180.0;
        painter.drawLine(QPointF(wheelCentre.x() + innerRadius * std::cos(a), wheelCentre.y() - innerRadius * std::sin(a)),
                         QPointF(wheelCentre.x() + outerRadius * std::cos(a), wheelCentre.y() - outerRadius * std::sin(a)));
    }
    painter.setPen(QPen(QColor(78, 78, 84), 1.0));
    painter.setBrush(QColor(48, 48, 52));
    painter.drawEllipse(wheelCentre, innerRadius, innerRadius);
    painter.end();
    return image;
}

bool DemoBrowsing::write(CollectionWriter &writer)
{
    const QVariantMap wheel{
        {QStringLiteral(":KEY"), QStringLiteral("image.widget.color.wheel.background")},
        {QStringLiteral(":DATA"), DemoTheme::png(wheelImage(segmentColours(), firstSegmentAngle))},
        {QStringLiteral(":SYSTEM"), Velmar::DBStructure::SystemWideCollectionId},
    };
    // Both decks share the system-wide wheel, so both point the same way.
    return writer.exec(
               QStringLiteral("UPDATE THEME SET ITEM_DATA = :DATA WHERE COLLECTION_ID = :SYSTEM AND ITEM_KEY = :KEY"),
               wheel)
        && writer.exec(QStringLiteral("UPDATE SETTING SET VALUE = :ANGLE WHERE NAME = 'first.segment.angle'"),
                       {{QStringLiteral(":ANGLE"), QString::number(firstSegmentAngle)}})
        && writeCardLabels(writer, DemoCollection::InteriorDeckUuid, QStringLiteral("DI"), 2)
        && writeCardLabels(writer, DemoCollection::CardDeckUuid, QStringLiteral("AC"), 1)
        && writeNameDisplayOrder(writer, DemoCollection::InteriorDeckUuid)
        && writeNameDisplayOrder(writer, DemoCollection::CardDeckUuid);
}
