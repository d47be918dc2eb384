#include "services/DragDropHelper.h"

#include "database/DBManager.h"
#include "services/Json.h"
#include "services/Theme.h"

#include <QDrag>
#include <QWidget>
#include <QLinearGradient>
#include <QMimeData>
#include <QPainter>
#include <QVariantMap>

namespace Velmar {

const QString DragDropHelper::MimeType = QStringLiteral("tavo.rindel.zumo/color.chip.dnd.info");

namespace {

const QString keyFrom = QStringLiteral("from");
const QString keyCollection = QStringLiteral("collectuionUuid");
const QString keyColorId = QStringLiteral("colorId");
const QString keyColorRgb = QStringLiteral("colorRgb");
const QString keyColorName1 = QStringLiteral("colorName1");
const QString keyColorName2 = QStringLiteral("colorName2");

// The payload's fields, or false for data that is not ours: another MIME
// type, text that is not JSON, or JSON that is not an object. Any program
// can offer a drag of our type, so nothing here trusts the bytes.
bool readPayload(const QMimeData *data, QVariantMap &fields)
{
    if (!DragDropHelper::validDragSource(data))
        return false;
    QByteArray bytes = data->data(DragDropHelper::MimeType);
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    bool success = false;
    const QVariant parsed = QtJson::Json::parse(QString::fromUtf8(bytes), success);
    if (!success || parsed.typeId() != QMetaType::QVariantMap)
        return false;
    fields = parsed.toMap();
    return true;
}

QString serialize(const QVariantMap &fields)
{
    return QString::fromUtf8(QtJson::Json::serialize(fields));
}

} // namespace

DragDropHelper::DragDropHelper() = default;

DragDropHelper::~DragDropHelper() = default;

bool DragDropHelper::validDragSource(const QMimeData *data)
{
    return data && data->hasFormat(MimeType);
}

int DragDropHelper::extractDragSource(const QMimeData *data)
{
    QVariantMap fields;
    if (!readPayload(data, fields))
        return 0;
    const int from = fields.value(keyFrom).toInt();
    return from >= DragSourceCardRoller && from <= DragSourceHuecast ? from : 0;
}

int DragDropHelper::extractColorEntry(const QMimeData *data, QUuid &collection, DB::ColorEntry &entry)
{
    QVariantMap fields;
    if (!readPayload(data, fields))
        return -1;
    if (fields.contains(keyCollection))
        collection = QUuid::fromString(fields.value(keyCollection).toString());
    return DBManager::GetColorEntryById(collection, fields.value(keyColorId).toLongLong(), entry);
}

int DragDropHelper::extractColor(const QMimeData *data, QColor &color)
{
    QVariantMap fields;
    if (!readPayload(data, fields))
        return -1;
    // Unsigned: the alpha byte of 0xFFRRGGBB would not fit a signed int.
    color = QColor::fromRgb(QRgb(fields.value(keyColorRgb).toUInt()));
    color.setAlpha(255);
    return 0;
}

int DragDropHelper::extractColorNames(const QMimeData *data, QString &name1, QString &name2)
{
    QVariantMap fields;
    if (!readPayload(data, fields))
        return -1;
    name1 = fields.value(keyColorName1).toString();
    name2 = fields.value(keyColorName2).toString();
    return 0;
}

QString DragDropHelper::buildColorChipData(int from, const QUuid &collection, const DB::ColorEntry &entry)
{
    QVariantMap fields;
    fields.insert(keyFrom, from);
    fields.insert(keyCollection, collection.toString());
    fields.insert(keyColorId, qint64(entry.id));
    return serialize(fields);
}

QString DragDropHelper::buildColorData(int from, const QColor &color, const QString &name1, const QString &name2)
{
    QVariantMap fields;
    fields.insert(keyFrom, from);
    fields.insert(keyColorRgb, uint(color.rgb()));
    fields.insert(keyColorName1, name1);
    fields.insert(keyColorName2, name2);
    return serialize(fields);
}

QPixmap DragDropHelper::buildDragPixmap(const QColor &color, const QString &text)
{
    QPixmap pixmap(128, 64);
    pixmap.fill(Qt::transparent);
    QColor opaque(color.red(), color.green(), color.blue(), 255);
    QColor middle = opaque;
    middle.setAlpha(208);
    QColor end = opaque;
    end.setAlpha(160);
    QLinearGradient gradient(QPointF(0, 0), QPointF(16, 63));
    gradient.setColorAt(0.0, opaque);
    gradient.setColorAt(0.65, middle);
    gradient.setColorAt(1.0, end);
    gradient.setSpread(QGradient::PadSpread);

    QPainter painter(&pixmap);
    painter.fillRect(pixmap.rect(), gradient);
    painter.setFont(Theme::italicFont(Theme::FontSizeNormal));
    painter.setPen(QColor(0, 0, 0, 255));
    const QRect textRect(2, 2, pixmap.width() - 4, pixmap.height() - 4);
    // Twice over: darkens the antialiased edges of the text.
    painter.drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, text);
    painter.drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, text);
    return pixmap;
}

QMimeData *DragDropHelper::buildMimeData(const QString &payload)
{
    auto *data = new QMimeData;
    data->setData(MimeType, payload.toUtf8());
    return data;
}

std::function<Qt::DropAction(QWidget *, QMimeData *, const QPixmap &, Qt::DropActions)>
    DragDropHelper::s_dragStarter = &DragDropHelper::execDrag;

Qt::DropAction DragDropHelper::execDrag(QWidget *source, QMimeData *data, const QPixmap &pixmap,
                                        Qt::DropActions actions)
{
    auto *drag = new QDrag(source);
    drag->setPixmap(pixmap);
    drag->setMimeData(data);
    return drag->exec(actions);
}

Qt::DropAction DragDropHelper::startDrag(QWidget *source, QMimeData *data, const QPixmap &pixmap,
                                         Qt::DropActions actions)
{
    if (s_dragStarter)
        return s_dragStarter(source, data, pixmap, actions);
    return execDrag(source, data, pixmap, actions);
}

// The drag goes through the one replaceable starter, which takes no default
// action: QDrag proposes the first allowed of move, copy and link. The views
// offer copy alone, where that is the default they ask for.
Qt::DropAction DragDropHelper::runDrag(QWidget *source, const QColor &color, const QString &text,
                                       const QString &payload, Qt::DropActions supported,
                                       Qt::DropAction defaultAction)
{
    Q_UNUSED(defaultAction)
    return startDrag(source, buildMimeData(payload), buildDragPixmap(color, text), supported);
}

Qt::DropAction DragDropHelper::initiateColorChipDragOperation(QWidget *source, int from, const QUuid &collection,
                                                              const DB::ColorEntry &entry, Qt::DropActions supported,
                                                              Qt::DropAction defaultAction)
{
    return runDrag(source, QColor(entry.red, entry.green, entry.blue), entry.code,
                     buildColorChipData(from, collection, entry), supported, defaultAction);
}

Qt::DropAction DragDropHelper::initiateColorDragOperation(QWidget *source, int from, const QColor &color,
                                                          const QString &label, const QString &name1,
                                                          const QString &name2, Qt::DropActions supported,
                                                          Qt::DropAction defaultAction)
{
    return runDrag(source, color, label, buildColorData(from, color, name1, name2), supported, defaultAction);
}

} // namespace Velmar
