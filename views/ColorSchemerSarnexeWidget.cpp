#include "views/ColorSchemerSarnexeWidget.h"

#include "database/DBManager.h"
#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <vector>

namespace Velmar {

namespace {

QString wrappedToolTip(QString text)
{
    if (text.isEmpty())
        return text;
    text.replace(QLatin1String("\n"), QLatin1String("<br/>"));
    return QStringLiteral("<span style=\"font-size: 12px;\">%1</span>").arg(text);
}

} // namespace

ColorSchemerSarnexeWidget::Layout ColorSchemerSarnexeWidget::layoutFor(const QRect &rect, int fontHeight)
{
    const int span = rect.right() - rect.left() - 31;
    const int columnWidth = span / 3;
    const int bandHeight = span / 6;
    const int d = (rect.bottom() - rect.top() - 47 - 3 * fontHeight - bandHeight) / 2;
    const int y1 = rect.top() + d + 12;
    Layout layout;
    for (int k = 0; k < 3; ++k) {
        const int left = 12 + k * (columnWidth + 4);
        layout.captions[k] = QRect(QPoint(left, y1), QPoint(left + columnWidth - 1, y1 + fontHeight + 5));
        layout.bands[k] = QRect(QPoint(left, y1 + 2 * fontHeight + 11),
                                QPoint(left + columnWidth - 1, y1 + 2 * fontHeight + 10 + bandHeight));
    }
    return layout;
}

ColorSchemerSarnexeWidget::ColorSchemerSarnexeWidget(QWidget *parent)
    : QWidget(parent)
{
    Global::registerMetaTypes();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    prepareForCollection(Settings::uuidOfLastUsedCollection());
    setFont(Theme::normalFont(Theme::FontSizeNormal));
}

void ColorSchemerSarnexeWidget::prepareForCollection(const QUuid &collection)
{
    const QString wideContrast = Localizer::getTextByKey(collection, LocalizerKeys::KeyOfHarmonizerPaletteSchemeWideContrast);
    m_wideContrast1Text = QStringLiteral("%1 1").arg(wideContrast);
    m_wideContrast2Text = QStringLiteral("%1 2").arg(wideContrast);
    m_contrastText = Localizer::getTextByKey(collection, LocalizerKeys::KeyOfHarmonizerPaletteSchemeContrast);
    doResize(QRect(0, 0, width(), height()));
    update();
}

void ColorSchemerSarnexeWidget::selectedCollectionChanged(QUuid collectionId)
{
    prepareForCollection(collectionId);
}

void ColorSchemerSarnexeWidget::doResize(const QRect &rect)
{
    m_layout = layoutFor(rect, QFontMetrics(font()).height());
    m_captions = {{m_layout.captions[0], m_wideContrast1Text},
                  {m_layout.captions[1], m_contrastText},
                  {m_layout.captions[2], m_wideContrast2Text}};
}

void ColorSchemerSarnexeWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    doResize(QRect(0, 0, width(), height()));
}

void ColorSchemerSarnexeWidget::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // The boxes are sized by the font's line height.
    if (event->type() == QEvent::FontChange)
        doResize(QRect(0, 0, width(), height()));
}

void ColorSchemerSarnexeWidget::loadChips()
{
    const QUuid current = Settings::uuidOfLastUsedCollection();
    std::vector<DB::ColorEntry> matches;
    DBManager::FindSarnexSchemeMatchesForColor(current, Settings::pageIndex(current), Settings::rowIndex(current), matches);
    m_chips.clear();
    m_chipToolTips.clear();
    m_chipsCollection = current;
    if (matches.size() != 3)
        return;
    for (int i = 0; i < 3; ++i)
        m_chips.append({m_layout.bands[i], matches.at(size_t(i))});
}

QList<QString> ColorSchemerSarnexeWidget::chipToolTips() const
{
    if (m_chipToolTips.size() != m_chips.size()) {
        m_chipToolTips.clear();
        for (const auto &chip : m_chips)
            m_chipToolTips.append(DBManager::BuildToolTipForColorEntry(m_chipsCollection, chip.second.id, true));
    }
    return m_chipToolTips;
}

void ColorSchemerSarnexeWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    loadChips();

    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const int flags = Qt::AlignHCenter | Qt::AlignVCenter;
    for (const auto &caption : qAsConst(m_captions)) {
        painter.fillRect(caption.first, QColor(99, 99, 99));
        painter.setPen(QColor(255, 255, 255));
        painter.drawText(caption.first, flags, caption.second);
        painter.drawText(caption.first, flags, caption.second);
    }

    if (m_chips.size() == 3) {
        painter.setBrush(Qt::NoBrush);
        for (const auto &chip : qAsConst(m_chips)) {
            const QRect &r = chip.first;
            painter.fillRect(r, QColor(chip.second.red, chip.second.green, chip.second.blue));
            const QRect g = r.adjusted(-1, -1, 1, 1);
            painter.setPen(QColor(64, 64, 64, 24));
            painter.drawRoundedRect(QRectF(g.left() - 2, g.top() - 2, g.width() + 3, g.height() + 3), 3, 3);
            painter.setPen(QColor(64, 64, 64, 48));
            painter.drawRoundedRect(QRectF(g.left() - 1, g.top() - 1, g.width() + 1, g.height() + 1), 2, 2);
            painter.setPen(QColor(64, 64, 64));
            painter.drawRect(QRect(g.left(), g.top(), g.width() - 1, g.height() - 1));
        }
    }

    const int fh = QFontMetrics(font()).height();
    QFont hintFont = font();
    hintFont.setItalic(true);
    painter.setFont(hintFont);
    painter.setPen(QColor(188, 188, 188));
    const QRect hint(QPoint(12, height() - 13 - fh), QPoint(width() - 13, height() - 13));
    const QString message =
        Localizer::getTextByKey(Settings::uuidOfLastUsedCollection(), LocalizerKeys::KeyOfHarmonizerDragDropMessage);
    for (int i = 0; i < 2; ++i)
        painter.drawText(hint, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, message);
}

void ColorSchemerSarnexeWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::LeftButton)
        m_dragStart = event->globalPosition().toPoint();
}

void ColorSchemerSarnexeWidget::mouseReleaseEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
    m_dragStart = QPoint();
}

void ColorSchemerSarnexeWidget::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(Qt::ArrowCursor);
    const QPoint position = event->position().toPoint();
    const QUuid current = Settings::uuidOfLastUsedCollection();
    if (event->buttons() == Qt::LeftButton) {
        // A drag needs a press of its own: after one drag has returned, its
        // start is gone.
        if (m_dragStart.isNull() || m_chips.size() != 3
            || (event->globalPosition().toPoint() - m_dragStart).manhattanLength() <= QApplication::startDragDistance())
            return;
        for (int i = 0; i < 3; ++i) {
            if (!m_layout.bands[i].contains(position))
                continue;
            DragDropHelper::initiateColorChipDragOperation(this, DragSourceColorSchemer, current, m_chips.at(i).second,
                                                           Qt::CopyAction, Qt::CopyAction);
            m_dragStart = QPoint();
            return;
        }
        return;
    }
    if (event->buttons() != Qt::NoButton)
        return;

    QString text;
    QPoint where;
    const QRect *captions = m_layout.captions;
    const QRect *bands = m_layout.bands;
    bool found = false;
    for (int i = 0; i < 3 && !found; ++i) {
        if (!captions[i].contains(position))
            continue;
        found = true;
        const QString key = i == 1 ? LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeContrast
                                   : LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeWideContrast;
        text = wrappedToolTip(Localizer::getTextByKey(current, key));
        where = mapToGlobal(captions[i].topRight());
    }
    for (int i = 0; i < 3 && !found; ++i) {
        if (!bands[i].contains(position))
            continue;
        found = true;
        if (i < m_chips.size()) {
            text = chipToolTips().at(i);
            where = mapToGlobal(bands[i].topRight());
        }
    }
    QToolTip::showText(where, text);
}

} // namespace Velmar
