#include "views/HuecastViewport.h"

#include "database/DBManager.h"
#include "services/CollectionSettings.h"
#include "services/DragDropHelper.h"
#include "services/Settings.h"
#include "services/Theme.h"
#include "views/EdgeOutline.h"
#include "views/HuecastWidget.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMap>
#include <QMouseEvent>
#include <QPainter>
#include <QTextOption>

#include <algorithm>

namespace Velmar {

namespace {

const QSize arrowSize(16, 16);

} // namespace

HuecastViewport::HuecastViewport(HuecastWidget *parent)
    : QWidget(parent)
    , m_dragColor(Qt::transparent)
{
    setMouseTracking(true);
    setObjectName(QStringLiteral("HuecastViewport"));
}

QList<qint64> HuecastViewport::groupOrderOf(const QHash<qint64, DB::HuecastGroup> &groups)
{
    QMap<int, qint64> byOrder;
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        const auto shown = byOrder.find(it->order);
        if (shown == byOrder.end())
            byOrder.insert(it->order, it.key());
        else if (it.key() > shown.value())
            shown.value() = it.key();
    }
    return byOrder.values();
}

QString HuecastViewport::dragTextFor(const QString &groupName, const QString &name1, const QString &name2)
{
    QString text = groupName;
    if (!name1.isEmpty())
        text += QLatin1Char('\n') + name1;
    if (!name2.isEmpty())
        text += QLatin1Char('\n') + name2;
    return text;
}

HuecastViewport::GroupLayout HuecastViewport::layoutGroup(int top, int width, const QSize &chipSize,
                                                          int headerHeight, bool open, const QVector<Cell> &cells)
{
    GroupLayout layout;
    layout.area = QRect(0, top, width, headerHeight);
    if (!open)
        return layout;

    int rowTop = layout.area.bottom() + 10;
    int lineHeight = chipSize.height();
    int x = 0;
    for (const Cell &cell : cells) {
        QRect chip(x, rowTop, chipSize.width(), chipSize.height());
        const QRect name1(x, chip.bottom() + 5, cell.name1.width(), cell.name1.height());
        const QRect name2(x, chip.bottom() + 5 + cell.name1.height(), cell.name2.width(), cell.name2.height());
        QRect box = chip | name1 | name2;
        if (box.right() >= width) {
            // A cell wider than the page still starts a line of its own.
            rowTop += lineHeight + 10;
            x = 0;
            lineHeight = chipSize.height();
            chip.moveTo(0, rowTop);
            box.moveTo(0, rowTop);
        }
        layout.chips.insert(chip, cell.entryId);
        x = box.right() + 5;
        lineHeight = std::max(lineHeight, box.height());
    }
    layout.area.setBottom(rowTop + lineHeight);
    return layout;
}

void HuecastViewport::prepareForCollection(const QUuid &collection)
{
    m_groups.clear();
    m_groupOrder.clear();
    m_openStates.clear();
    m_groupAreas.clear();
    m_chipPlaces.clear();
    DBManager::GetHuecastFor(collection, m_groups);
    m_groupOrder = groupOrderOf(m_groups);
    for (auto it = m_groups.cbegin(); it != m_groups.cend(); ++it)
        m_openStates.insert(it.key(), Settings::huecastGroupOpen(collection, it.key(), it->defaultOpen));
    m_openArrow = Theme::getImageByKey(Theme::KeyOfHuecastGroupOpenImage, arrowSize);
    m_closedArrow = Theme::getImageByKey(Theme::KeyOfHuecastGroupClosedImage, arrowSize);
}

void HuecastViewport::recalculateLayout()
{
    m_inLayout = true;
    m_groupAreas.clear();
    m_chipPlaces.clear();
    const QSize chipSize = CollectionSettings::huecastChipSize(Settings::uuidOfLastUsedCollection());
    const QFontMetrics headerMetrics(Theme::normalFont(Theme::FontSizeNormal));
    const QFontMetrics nameMetrics(Theme::italicFont(Theme::FontSizeNormal));
    const int w = width();
    int y = 0;
    for (qint64 groupId : qAsConst(m_groupOrder)) {
        const DB::HuecastGroup &group = m_groups[groupId];
        const int headerHeight =
            std::max(m_openArrow.height(), headerMetrics.size(Qt::TextSingleLine, group.name).height());
        QVector<Cell> cells;
        cells.reserve(group.entries.size());
        for (const DB::HuecastEntry &entry : group.entries)
            cells.append({entry.id, nameMetrics.size(Qt::TextSingleLine, entry.name1),
                          nameMetrics.size(Qt::TextSingleLine, entry.name2)});
        const GroupLayout layout = layoutGroup(y, w, chipSize, headerHeight, m_openStates.value(groupId), cells);
        m_groupAreas.insert(layout.area, groupId);
        m_chipPlaces.insert(groupId, layout.chips);
        y = layout.area.bottom() + 10;
    }
    // Down to the last area's bottom row; nothing at all without groups.
    resize(w, m_groupOrder.isEmpty() ? 0 : y - 9);
    m_inLayout = false;
}

QRect HuecastViewport::arrowSquareOf(const QRect &area) const
{
    return QRect(area.topLeft(), QSize(m_openArrow.height(), m_openArrow.height()));
}

qint64 HuecastViewport::chipAt(qint64 groupId, const QPoint &point) const
{
    const auto places = m_chipPlaces.constFind(groupId);
    if (places == m_chipPlaces.cend())
        return -1;
    for (auto it = places->cbegin(); it != places->cend(); ++it) {
        if (it.key().contains(point))
            return it.value();
    }
    return -1;
}

void HuecastViewport::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setBrush(Qt::NoBrush);
    const QFont headerFont = Theme::normalFont(Theme::FontSizeNormal);
    const QFont nameFont = Theme::italicFont(Theme::FontSizeNormal);
    const QFontMetrics nameMetrics(nameFont);
    // A name box is exactly as wide as its text; it must never wrap.
    QTextOption nameOption;
    nameOption.setWrapMode(QTextOption::NoWrap);

    for (auto area = m_groupAreas.cbegin(); area != m_groupAreas.cend(); ++area) {
        const QRect &a = area.key();
        const qint64 groupId = area.value();
        const DB::HuecastGroup &group = m_groups[groupId];
        const bool open = m_openStates.value(groupId);
        painter.drawImage(a.topLeft(), open ? m_openArrow : m_closedArrow);

        const QRect nameRect(QPoint(a.left() + m_openArrow.width() + 8, a.top()),
                             QPoint(a.right(), a.top() + m_openArrow.height() - 1));
        painter.setFont(headerFont);
        painter.setPen(Qt::white);
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
        // Twice over: the antialiased edges read firmer on the dark page.
        painter.drawText(nameRect, flags, group.name);
        painter.drawText(nameRect, flags, group.name);
        if (!open)
            continue;

        const QHash<QRect, qint64> chips = m_chipPlaces.value(groupId);
        for (auto chip = chips.cbegin(); chip != chips.cend(); ++chip) {
            const QRect &r = chip.key();
            const DB::HuecastEntry &entry = group.entryById(chip.value());
            painter.fillRect(r, entry.color);
            EdgeOutline::draw(painter, r, QColor(64, 64, 64));
            QColor highlight = entry.color.lighter(150);
            highlight.setAlpha(32);
            EdgeOutline::draw(painter, r.adjusted(1, 1, -1, -1), highlight);

            painter.setFont(nameFont);
            painter.setPen(Qt::white);
            const QSize size1 = nameMetrics.size(Qt::TextSingleLine, entry.name1);
            const QSize size2 = nameMetrics.size(Qt::TextSingleLine, entry.name2);
            const QRectF name1(r.left(), r.bottom() + 5, size1.width(), size1.height());
            const QRectF name2(r.left(), r.bottom() + size1.height() + 6, size2.width(), size1.height());
            painter.drawText(name1, entry.name1, nameOption);
            painter.drawText(name1, entry.name1, nameOption);
            painter.drawText(name2, entry.name2, nameOption);
            painter.drawText(name2, entry.name2, nameOption);
        }
    }
}

void HuecastViewport::mousePressEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::LeftButton)
        return;
    // A press that hits no chip arms nothing, also when the release of an
    // earlier press never came.
    disarm();
    m_dragStart = event->globalPosition().toPoint();
    const QPoint position = event->position().toPoint();
    for (auto area = m_groupAreas.cbegin(); area != m_groupAreas.cend(); ++area) {
        if (!area.key().contains(position))
            continue;
        const qint64 groupId = area.value();
        if (arrowSquareOf(area.key()).contains(position)) {
            const bool open = !m_openStates.value(groupId);
            m_openStates.insert(groupId, open);
            Settings::setHuecastGroupOpen(Settings::uuidOfLastUsedCollection(), groupId, open);
            recalculateLayout();
            // The size may not change (content shorter than the page), and
            // the arrow must turn all the same.
            update();
            return;
        }
        const qint64 entryId = chipAt(groupId, position);
        if (entryId >= 0) {
            const DB::HuecastGroup &group = m_groups[groupId];
            const DB::HuecastEntry &entry = group.entryById(entryId);
            m_dragColor = entry.color;
            m_dragName1 = entry.name1;
            m_dragName2 = entry.name2;
            m_dragText = dragTextFor(group.name, entry.name1, entry.name2);
        }
        return;
    }
}

void HuecastViewport::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    Qt::CursorShape shape = Qt::ArrowCursor;
    for (auto area = m_groupAreas.cbegin(); area != m_groupAreas.cend(); ++area) {
        if (!area.key().contains(position))
            continue;
        if (arrowSquareOf(area.key()).contains(position) || chipAt(area.value(), position) >= 0)
            shape = Qt::PointingHandCursor;
        break;
    }

    const bool armed = m_dragColor.isValid() && m_dragColor.alpha() != 0;
    if (event->buttons() == Qt::LeftButton && armed
        && (event->globalPosition().toPoint() - m_dragStart).manhattanLength() > QApplication::startDragDistance()) {
        DragDropHelper::initiateColorDragOperation(this, 4, m_dragColor, m_dragText, m_dragName1, m_dragName2,
                                                   Qt::CopyAction, Qt::CopyAction);
        // Where the drag takes the release, this view never sees it.
        disarm();
        return;
    }
    setCursor(shape);
}

void HuecastViewport::mouseReleaseEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
    disarm();
}

void HuecastViewport::disarm()
{
    m_dragColor = QColor(Qt::transparent);
    m_dragText.clear();
    m_dragStart = QPoint();
}

void HuecastViewport::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_inLayout)
        recalculateLayout();
}

} // namespace Velmar
