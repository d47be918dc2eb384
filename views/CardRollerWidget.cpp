#include "views/CardRollerWidget.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"
#include "plugin/MainWidget.h"
#include "services/CollectionSettings.h"
#include "services/ColorManager.h"
#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Json.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

namespace Velmar {

namespace {

const QColor frameColour(64, 64, 64);
constexpr CardRollerWidget::ColorPagePos allCards[] = {CardRollerWidget::LeftPage, CardRollerWidget::MiddlePage,
                                                       CardRollerWidget::RightPage};

int oneLineHeight(const QFont &font)
{
    return QFontMetrics(font).size(Qt::TextSingleLine, QStringLiteral("\u00c1g")).height();
}

} // namespace

CardRollerWidget::CardRollerWidget(QWidget *parent)
    : QWidget(parent)
{
    Global::registerMetaTypes();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    prepareForCollection(Settings::uuidOfLastUsedCollection());
    setFont(Theme::boldFont(Theme::FontSizeSmaller));
    layoutCards();
}

void CardRollerWidget::prepareForCollection(const QUuid &collection)
{
    m_mtoMark = QPixmap::fromImage(Theme::getImageByKey(collection, Theme::KeyOfMtoImage, QSize(96, 50)));
    m_scaledMtoMark = QPixmap();
}

void CardRollerWidget::selectedCollectionChanged(QUuid collectionId)
{
    prepareForCollection(collectionId);
}

QRect CardRollerWidget::cardRect(ColorPagePos pos, const QSize &size, int textHeight)
{
    const int w = size.width();
    const int h = size.height();
    const int w4 = (w - 14) / 4;
    const int top = textHeight + 2;
    const int bottom = h - 3;
    switch (pos) {
    case LeftPage:
        return QRect(QPoint(2, top), QPoint(w4 + 1, bottom));
    case MiddlePage:
        return QRect(QPoint(w4 + 6, top), QPoint(w - w4 - 7, bottom));
    case RightPage:
        return QRect(QPoint(w - w4 - 2, top), QPoint(w - 3, bottom));
    }
    return QRect();
}

QRect CardRollerWidget::nameRect(ColorPagePos pos, const QSize &size, int textHeight)
{
    const QRect card = cardRect(pos, size, textHeight);
    return QRect(QPoint(card.left(), 0), QPoint(card.right(), textHeight + 1));
}

QRect CardRollerWidget::dropArea(const QSize &size, int textHeight)
{
    return QRect(QPoint(2, textHeight + 2), QPoint(size.width() - 3, size.height() - 3));
}

QVector<QRect> CardRollerWidget::chipRects(const QRect &card, int count)
{
    QVector<QRect> rects;
    if (count <= 0 || !card.isValid())
        return rects;
    rects.reserve(count);
    const int left = card.left() + 1;
    const int right = card.right() - 1;
    const int lastRow = card.bottom() - 1;
    const int chipHeight = (card.height() - 1 - count) / count;
    if (chipHeight >= 1) {
        for (int i = 0; i < count; ++i) {
            const int top = card.top() + 1 + i * (chipHeight + 1);
            const int bottom = i == count - 1 ? lastRow : top + chipHeight - 1;
            rects.append(QRect(QPoint(left, top), QPoint(right, bottom)));
        }
        return rects;
    }
    // More chips than the card has rows: one pixel each, as many as fit.
    for (int i = 0; i < count; ++i) {
        const int top = card.top() + 1 + i * 2;
        rects.append(top <= lastRow ? QRect(QPoint(left, top), QPoint(right, top)) : QRect());
    }
    return rects;
}

void CardRollerWidget::layoutCards()
{
    const int th = oneLineHeight(font());
    for (ColorPagePos pos : allCards) {
        m_cardRects[pos] = cardRect(pos, size(), th);
        m_nameRects[pos] = nameRect(pos, size(), th);
    }
    m_dropArea = dropArea(size(), th);
}

void CardRollerWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutCards();
}

void CardRollerWidget::forgetCards()
{
    for (int pos = 0; pos < 3; ++pos) {
        m_cards[pos] = DB::ColorPage();
        m_chipRects[pos].clear();
    }
    m_selectedChip = QRect();
}

bool CardRollerWidget::hidesMto(const QUuid &collection) const
{
    return CollectionSettings::cardType(collection) == 2 && !Settings::showMto(collection);
}

QPixmap CardRollerWidget::mtoMarkFor(const QSize &size) const
{
    // Scaled once per chip size rather than for every chip of every paint.
    if (m_scaledMtoMark.isNull() || m_scaledMtoMark.size() != m_mtoMark.size().scaled(size, Qt::KeepAspectRatio))
        m_scaledMtoMark = m_mtoMark.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return m_scaledMtoMark;
}

void CardRollerWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // Every line is one pixel wide: cosmetic pens take the raster engine's
    // direct path instead of stroking an outline.
    for (ColorPagePos pos : allCards) {
        const QRect &r = m_cardRects[pos];
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(64, 64, 64, 24), 0));
        painter.drawRoundedRect(QRectF(QPointF(r.left() - 2, r.top() - 2), QPointF(r.right() + 2, r.bottom() + 2)), 3.0,
                                3.0);
        painter.setPen(QPen(QColor(64, 64, 64, 48), 0));
        painter.drawRoundedRect(QRectF(QPointF(r.left() - 1, r.top() - 1), QPointF(r.right() + 1, r.bottom() + 1)), 2.0,
                                2.0);
        painter.setPen(QPen(frameColour, 0));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }

    const QUuid collection = Settings::uuidOfLastUsedCollection();
    const int pageIndex = Settings::pageIndex(collection);
    const int rowIndex = Settings::rowIndex(collection);
    const Mood mood = Settings::moodFilter(collection);
    const bool exterior = Settings::exteriorFilter(collection);

    // Nothing of an earlier paint may outlive a failed load: the mouse
    // handlers index the cards by these rectangles.
    forgetCards();
    if (DBManager::GetColorPageByIndex(collection, pageIndex, m_cards[MiddlePage]) < 0) {
        forgetCards();
        return;
    }
    // A deck of one card (or a filter that leaves one) has no neighbours:
    // the sides stay empty frames.
    if (DBManager::FindNextCardByIndex(collection, m_cards[MiddlePage].pageIndex, DirectionForward, mood, exterior,
                                       m_cards[RightPage])
        < 0)
        m_cards[RightPage] = DB::ColorPage();
    if (DBManager::FindNextCardByIndex(collection, m_cards[MiddlePage].pageIndex, DirectionBackward, mood, exterior,
                                       m_cards[LeftPage])
        < 0)
        m_cards[LeftPage] = DB::ColorPage();

    const bool hiddenMto = hidesMto(collection);
    const int nameColumn = DBManager::s_page_name_display_order.isEmpty()
        ? -1
        : int(DBManager::s_page_name_display_order.first());

    for (ColorPagePos pos : allCards) {
        const DB::ColorPage &page = m_cards[pos];
        if (!page.isValid())
            continue;

        QString name = page.name(nameColumn);
        if (name.isEmpty())
            name = QStringLiteral("%1").arg(page.pageIndex);
        const QRect &nameBand = m_nameRects[pos];
        painter.setPen(Qt::white);
        const QString shown = painter.fontMetrics().elidedText(name, Qt::ElideRight, nameBand.width());
        // Twice over, as every name of the picker: darker antialiased edges.
        painter.drawText(nameBand, Qt::AlignCenter | Qt::TextSingleLine, shown);
        painter.drawText(nameBand, Qt::AlignCenter | Qt::TextSingleLine, shown);

        const QVector<QRect> rects = chipRects(m_cardRects[pos], page.entries.size());
        for (int i = 0; i < rects.size(); ++i) {
            const QRect &chip = rects.at(i);
            m_chipRects[pos].append(chip);
            if (chip.isNull())
                continue;
            const DB::ColorEntry &entry = page.entries.at(i);
            const QColor colour(entry.red, entry.green, entry.blue);
            painter.fillRect(chip, colour);
            if (hiddenMto && entry.isMto && !m_mtoMark.isNull()) {
                const QPixmap mark = mtoMarkFor(chip.size());
                painter.drawPixmap(chip, mark, mark.rect());
            }
            QColor outline = colour.lighter(150);
            outline.setAlpha(32);
            painter.setPen(QPen(outline, 0));
            painter.drawRect(chip.adjusted(0, 0, -1, -1));
            if (i != rects.size() - 1) {
                painter.setPen(QPen(frameColour, 0));
                painter.drawLine(chip.left(), chip.bottom() + 1, chip.right(), chip.bottom() + 1);
            }
            if (pos == MiddlePage && entry.rowIndex == rowIndex)
                m_selectedChip = chip;
        }
    }

    if (!m_selectedChip.isNull()) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(255, 255, 255, 224), 2));
        painter.drawRect(QRect(QPoint(m_selectedChip.left() - 1, m_selectedChip.top() - 1),
                               QPoint(m_selectedChip.right() + 1, m_selectedChip.bottom() + 1)));
    }
}

bool CardRollerWidget::chipAt(const QPoint &point, ColorPagePos &pos, int &index) const
{
    for (ColorPagePos candidate : allCards) {
        if (!m_cardRects[candidate].contains(point))
            continue;
        const QVector<QRect> &rects = m_chipRects[candidate];
        const int count = qMin(rects.size(), m_cards[candidate].entries.size());
        for (int i = 0; i < count; ++i) {
            if (rects.at(i).contains(point)) {
                pos = candidate;
                index = i;
                return true;
            }
        }
        // Only one card is looked at.
        return false;
    }
    return false;
}

void CardRollerWidget::mousePressEvent(QMouseEvent *event)
{
    QToolTip::hideText();
    if (event->buttons() != Qt::LeftButton)
        return;
    const QPoint position = event->position().toPoint();
    m_pressPosition = position;

    ColorPagePos pos = MiddlePage;
    int index = -1;
    if (!chipAt(position, pos, index))
        return;
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    // Copied: a slot of the roll may repaint and reload the cards.
    const DB::ColorEntry entry = m_cards[pos].entries.at(index);
    const bool mtoHidden = hidesMto(collection) && entry.isMto;

    // The roll comes first, so that the row applies to the card it makes current.
    if (pos == LeftPage)
        emit roll(DirectionBackward);
    else if (pos == RightPage)
        emit roll(DirectionForward);
    if (index + 1 != Settings::rowIndex(collection) && !mtoHidden)
        emit rowChangedInteractively(index + 1);
}

void CardRollerWidget::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressPosition = QPoint(0, 0);
    QWidget::mouseReleaseEvent(event);
}

void CardRollerWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    const QUuid collection = Settings::uuidOfLastUsedCollection();

    if (event->buttons() == Qt::NoButton) {
        ColorPagePos pos = MiddlePage;
        int index = -1;
        if (!chipAt(position, pos, index)) {
            if (QToolTip::isVisible())
                QToolTip::hideText();
            return;
        }
        const DB::ColorEntry &entry = m_cards[pos].entries.at(index);
        if (hidesMto(collection) && entry.isMto) {
            QToolTip::hideText();
            return;
        }
        const QRect &chip = m_chipRects[pos].at(index);
        QToolTip::showText(mapToGlobal(QPoint(chip.right(), chip.top())),
                           DBManager::BuildToolTipForColorEntry(collection, entry.id, true));
        return;
    }

    if (event->buttons() != Qt::LeftButton)
        return;
    if ((position - m_pressPosition).manhattanLength() <= QApplication::startDragDistance())
        return;
    if (!m_cardRects[MiddlePage].contains(position))
        return;
    ColorPagePos pos = MiddlePage;
    int index = -1;
    if (!chipAt(position, pos, index) || pos != MiddlePage)
        return;
    const DB::ColorEntry entry = m_cards[MiddlePage].entries.at(index);
    DragDropHelper::initiateColorChipDragOperation(this, DragSourceCardRoller, collection, entry, Qt::CopyAction,
                                                   Qt::CopyAction);
}

void CardRollerWidget::wheelEvent(QWheelEvent *event)
{
    // Horizontal scrolls and the begin and end of a trackpad gesture carry no
    // vertical turn: they must not move the deck.
    const int delta = event->angleDelta().y();
    if (delta == 0) {
        event->ignore();
        return;
    }
    event->accept();
    emit roll(delta < 0 ? DirectionForward : DirectionBackward);
}

bool CardRollerWidget::acceptsDrag(const QMimeData *data)
{
    if (!DragDropHelper::validDragSource(data))
        return false;
    const int source = DragDropHelper::extractDragSource(data);
    return source == DragSourceColorSchemer || source == DragSourceMyPalette || source == DragSourceHuecast;
}

void CardRollerWidget::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsDrag(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CardRollerWidget::dragMoveEvent(QDragMoveEvent *event)
{
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
    if (acceptsDrag(event->mimeData()) && m_dropArea.contains(event->position().toPoint())) {
        event->setDropAction(event->proposedAction());
        event->accept();
    }
}

bool CardRollerWidget::carriesColour(const QMimeData *data)
{
    QByteArray bytes = data->data(DragDropHelper::MimeType);
    const int zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    bool parsed = false;
    const QVariant payload = QtJson::Json::parse(QString::fromUtf8(bytes), parsed);
    return parsed && payload.toMap().contains(QStringLiteral("colorRgb"));
}

bool CardRollerWidget::findDroppedColour(const QMimeData *data, QUuid &collection, DB::ColorEntry &entry)
{
    // A payload without a colour would read as black.
    QColor colour;
    if (!carriesColour(data) || DragDropHelper::extractColor(data, colour) != 0)
        return false;
    QString name1;
    QString name2;
    DragDropHelper::extractColorNames(data, name1, name2);
    const QUuid current = Settings::uuidOfLastUsedCollection();

    // An empty name would match every chip without a code.
    bool found = (!name1.isEmpty() && DBManager::GetColorEntryByColorCode(name1, entry, current) == 0)
        || (!name2.isEmpty() && DBManager::GetColorEntryByColorCode(name2, entry, current) == 0)
        || DBManager::GetColorEntryByColor(colour, entry, current) == 0;
    if (found) {
        // Look-ups across collections report ids of the system-wide collection's file.
        collection = DBManager::GetCollectionUuidById(DBStructure::SystemWideCollectionUuid, entry.collectionId);
        return !collection.isNull() && collection != DBStructure::SystemWideCollectionUuid;
    }

    // The nearest chip of the current collection, when it is close enough.
    // Without a main widget (the roller alone) the candidates are loaded here.
    QVector<ColorMatchEntry> ownTable;
    const QVector<ColorMatchEntry> *table = nullptr;
    if (Global::g_mainWidget) {
        table = &Global::g_mainWidget->matchTable();
    } else {
        DBManager::GetAllColorMatchEntryFor(current, ownTable);
        table = &ownTable;
    }
    const ColorLAB target = ColorManager::fromRgb(colour);
    QVector<QPair<double, qint64>> nearest;
    ColorManager::MatchColor(target, *table, nearest, 1);
    if (nearest.isEmpty() || DBManager::GetColorEntryById(current, nearest.first().second, entry) != 0)
        return false;
    const QVector<double> thresholds = CollectionSettings::cie200DeltaIntervals(current);
    const double distance =
        ColorManager::DeltaEpsilonByCIE2000(target, ColorManager::fromRgb(QColor(entry.red, entry.green, entry.blue)));
    if (thresholds.isEmpty() || !(distance < thresholds.first()))
        return false;
    collection = current;
    return true;
}

void CardRollerWidget::dropEvent(QDropEvent *event)
{
    const QMimeData *data = event->mimeData();
    if (!DragDropHelper::validDragSource(data))
        return;
    event->acceptProposedAction();

    QUuid collection;
    DB::ColorEntry entry;
    if (DragDropHelper::extractDragSource(data) == DragSourceHuecast || carriesColour(data)) {
        if (!findDroppedColour(data, collection, entry))
            return;
    } else if (DragDropHelper::extractColorEntry(data, collection, entry) != 0) {
        // A chip that cannot be found is dropped, never taken for a colour.
        return;
    }
    DB::ColorPage page;
    if (DBManager::GetColorPageById(collection, entry.pageId, true, page) != 0)
        return;
    applyDrop(collection, page, entry);
}

void CardRollerWidget::applyDrop(const QUuid &collection, const DB::ColorPage &page, const DB::ColorEntry &entry)
{
    if (collection != Settings::uuidOfLastUsedCollection())
        emit collectionSelectedInteractively(collection);
    // The main widget may have refused the switch.
    if (collection != Settings::uuidOfLastUsedCollection())
        return;
    if (page.pageIndex != Settings::pageIndex(collection))
        emit pageChangedInteractively(page.pageIndex);
    if (entry.rowIndex != Settings::rowIndex(collection))
        emit rowChangedInteractively(entry.rowIndex);
}

} // namespace Velmar
