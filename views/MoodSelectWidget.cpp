#include "views/MoodSelectWidget.h"

#include "services/CollectionSettings.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace Velmar {

namespace {

const QColor captionColour(188, 188, 188);
const QSize moodImageSize(23, 21);

const QString &normalKeyOf(int button)
{
    static const QString keys[6] = {Theme::KeyOfMoodFreshNormalImage,    Theme::KeyOfMoodCalmNormalImage,
                                    Theme::KeyOfMoodWarmNormalImage,     Theme::KeyOfMoodRichNormalImage,
                                    Theme::KeyOfMoodOffwhiteNormalImage, Theme::KeyOfMoodNeutralNormalImage};
    return keys[button];
}

const QString &selectedKeyOf(int button)
{
    static const QString keys[6] = {Theme::KeyOfMoodFreshSelectedImage,    Theme::KeyOfMoodCalmSelectedImage,
                                    Theme::KeyOfMoodWarmSelectedImage,     Theme::KeyOfMoodRichSelectedImage,
                                    Theme::KeyOfMoodOffwhiteSelectedImage, Theme::KeyOfMoodNeutralSelectedImage};
    return keys[button];
}

QSize oneLine(const QFontMetrics &metrics, const QString &text)
{
    return metrics.size(Qt::TextSingleLine, text);
}

} // namespace

MoodSelectWidget::MoodSelectWidget(QWidget *parent)
    : QWidget(parent)
{
    Global::registerMetaTypes();
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setFont(Theme::normalFont(Theme::FontSizeNormal));
    prepareForCollection(Settings::uuidOfLastUsedCollection());
    recalculateUiLayout();
}

Mood MoodSelectWidget::moodOf(MoodButton button)
{
    static const Mood moods[6] = {MoodFresh, MoodCalm, MoodWarm, MoodRich, MoodOffwhite, MoodNeutral};
    return moods[button];
}

QString MoodSelectWidget::toolTipKeyOf(MoodButton button)
{
    static const char *const keys[6] = {"tiptext.mood.fresh.button", "tiptext.mood.calm.button",
                                        "tiptext.mood.warm.button",  "tiptext.mood.rich.button",
                                        "tiptext.mood.offwhite.button", "tiptext.mood.neutral.button"};
    return QLatin1String(keys[button]);
}

QSize MoodSelectWidget::sizeHint() const
{
    return m_laidOutGeometry.size();
}

QSize MoodSelectWidget::minimumSizeHint() const
{
    return m_laidOutGeometry.size();
}

void MoodSelectWidget::prepareForCollection(const QUuid &)
{
    // The buttons' faces are the system-wide theme's, whatever the collection:
    // decoded for the first collection only.
    if (m_imagesDecoded)
        return;
    m_imagesDecoded = true;
    for (int i = 0; i < 6; ++i) {
        m_normalImages[i] = Theme::getImageByKey(normalKeyOf(i), moodImageSize);
        m_selectedImages[i] = Theme::getImageByKey(selectedKeyOf(i), moodImageSize);
    }
    m_tick = Theme::getImageByKey(Theme::KeyOfTickNormalImage, QSize(12, 11));
    m_disabledMark = Theme::getImageByKey(Theme::KeyOfMoodDisabledImage, QSize(11, 11));
}

void MoodSelectWidget::selectedCollectionChanged(QUuid collectionId)
{
    m_laidOutGeometry = QRect();
    prepareForCollection(collectionId);
    recalculateUiLayout();
}

MoodSelectWidget::Layout MoodSelectWidget::computeLayout(const LayoutInput &in)
{
    Layout out;
    const int tw = in.tick.width();
    if (in.cardType == 1) {
        const int a = in.allMoodsText.width();
        const int ah = std::max(in.allMoodsText.height(), in.tick.height());
        const int e = in.exteriorText.width();
        const int eh = std::max(in.exteriorText.height(), in.tick.height());
        const QSize &fresh = in.moodImages[FreshButton];
        const QSize &calm = in.moodImages[CalmButton];
        const QSize &warm = in.moodImages[WarmButton];
        const QSize &rich = in.moodImages[RichButton];
        const QSize &offwhite = in.moodImages[OffwhiteButton];
        const QSize &neutral = in.moodImages[NeutralButton];

        const int itemWidth = tw + 3 + a + 2;
        const int exteriorWidth = tw + 3 + e + 2;
        const int firstRowWidth = fresh.width() + calm.width() + warm.width() + rich.width() + 9;
        const int r = std::max(offwhite.width(), neutral.width());
        // The exterior item spans both columns; a caption wider than they
        // are widens the left one, so that the strip holds the whole text
        // with 4 pixels to spare on either side.
        const int l = std::max({itemWidth, firstRowWidth, in.hasExteriorFilter ? exteriorWidth - r + 2 : 0});
        const int firstRowHeight = std::max({fresh.height(), calm.height(), warm.height(), rich.height()});
        const int h0 = std::max(ah + firstRowHeight + 6, offwhite.height() + neutral.height() - 1);

        int x = 4 + (l - firstRowWidth) / 2;
        for (int button : {FreshButton, CalmButton, WarmButton, RichButton}) {
            out.moods[button] = QRect(QPoint(x, 4), in.moodImages[button]);
            x += in.moodImages[button].width() + 3;
        }
        out.allMoods = QRect(4 + (l - itemWidth) / 2, h0 + 4 - ah, itemWidth, ah);
        out.moods[OffwhiteButton] = QRect(QPoint(l + 10, 4), offwhite);
        out.moods[NeutralButton] = QRect(QPoint(l + 10, 4 + offwhite.height()), neutral);

        const QRect &freshRect = out.moods[FreshButton];
        out.underFirstRow = QLine(freshRect.left(), freshRect.bottom() + 4, out.moods[RichButton].right(),
                                  freshRect.bottom() + 4);
        out.betweenColumns = QLine(out.moods[OffwhiteButton].left() - 1, 4, out.moods[OffwhiteButton].left() - 1,
                                   out.moods[NeutralButton].bottom() - 3);
        if (in.hasExteriorFilter) {
            out.exterior = QRect(4 + (l + r + 6 - exteriorWidth) / 2, h0 + 10, exteriorWidth, eh);
            out.aboveExterior = QLine(freshRect.left(), h0 + 6, out.moods[NeutralButton].right(), h0 + 6);
            out.size = QSize(l + r + 13, h0 + eh + 14);
        } else {
            out.size = QSize(l + r + 13, h0 + 8);
        }
    } else if (in.cardType == 2) {
        const int m = in.mtoText.width();
        const int mh = std::max(in.mtoText.height(), in.tick.height());
        out.mto = QRect(QPoint(3, 3), QPoint(tw + 3 + m + 2 + 2, mh + 2));
        out.size = QSize(tw + 3 + m + 2 + 6, mh + 6);
    } else {
        out.size = QSize(0, 0);
    }
    return out;
}

void MoodSelectWidget::recalculateUiLayout()
{
    if (!m_laidOutGeometry.isNull() && geometry() == m_laidOutGeometry)
        return;
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    const QFontMetrics metrics(font());

    LayoutInput in;
    in.cardType = CollectionSettings::cardType(collection);
    in.hasExteriorFilter = in.cardType == 1 && CollectionSettings::hasExteriorFilter(collection);
    for (int i = 0; i < 6; ++i)
        in.moodImages[i] = m_normalImages[i].size();
    in.tick = m_tick.size();
    if (in.cardType == 1) {
        in.allMoodsText = oneLine(metrics, Localizer::getTextByKey(collection, LocalizerKeys::KeyOfMoodFilterAllMoods));
        in.exteriorText =
            oneLine(metrics, Localizer::getTextByKey(collection, LocalizerKeys::KeyOfMoodFilterExteriorColors));
    } else if (in.cardType == 2) {
        in.mtoText = oneLine(metrics, Localizer::getTextByKey(collection, LocalizerKeys::KeyOfDontShowMto));
    }
    m_layout = computeLayout(in);

    setFixedSize(m_layout.size);
    m_laidOutGeometry = geometry();
    updateGeometry();
    update();
}

void MoodSelectWidget::resizeEvent(QResizeEvent *event)
{
    Q_UNUSED(event)
    recalculateUiLayout();
}

void MoodSelectWidget::showEvent(QShowEvent *event)
{
    Q_UNUSED(event)
    recalculateUiLayout();
}

int MoodSelectWidget::moodButtonAt(const QPoint &point) const
{
    for (int i = 0; i < 6; ++i) {
        if (m_layout.moods[i].contains(point))
            return i;
    }
    return -1;
}

bool MoodSelectWidget::isClickable(const QPoint &point, const QUuid &collection) const
{
    switch (CollectionSettings::cardType(collection)) {
    case 1:
        return moodButtonAt(point) >= 0 || m_layout.allMoods.contains(point)
            || (CollectionSettings::hasExteriorFilter(collection) && m_layout.exterior.contains(point));
    case 2:
        return m_layout.mto.contains(point);
    default:
        return false;
    }
}

void MoodSelectWidget::drawCaption(QPainter &painter, const QRect &item, const QString &text, bool ticked) const
{
    const QRect captionRect(QPoint(item.left() + m_tick.width() + 3, item.top()), item.bottomRight());
    painter.setPen(captionColour);
    // Twice over, as every caption of the picker: darker antialiased edges.
    painter.drawText(captionRect, Qt::AlignCenter | Qt::TextSingleLine, text);
    painter.drawText(captionRect, Qt::AlignCenter | Qt::TextSingleLine, text);
    if (ticked)
        painter.drawImage(QPoint(item.left(), item.top() + (item.height() - m_tick.height()) / 2), m_tick);
}

void MoodSelectWidget::paintEvent(QPaintEvent *)
{
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    const int cardType = CollectionSettings::cardType(collection);
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    if (cardType == 2) {
        drawCaption(painter, m_layout.mto, Localizer::getTextByKey(collection, LocalizerKeys::KeyOfDontShowMto),
                    !Settings::showMto(collection));
        return;
    }
    if (cardType != 1)
        return;

    const int w = width();
    const int h = height();
    const Mood moodFilter = Settings::moodFilter(collection);
    const bool exteriorFilter = Settings::exteriorFilter(collection);
    const bool hasExterior = CollectionSettings::hasExteriorFilter(collection);

    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(64, 64, 64).lighter(140));
    painter.drawRoundedRect(QRectF(0, 0, w - 1, h - 1), 7.0, 7.0);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setPen(QColor(64, 64, 64));
    painter.drawRoundedRect(QRectF(0, 0, w, h), 7.0, 7.0);

    for (int button : {FreshButton, WarmButton, CalmButton, RichButton, OffwhiteButton, NeutralButton}) {
        const QRect &rect = m_layout.moods[button];
        const Mood mood = moodOf(MoodButton(button));
        if (exteriorFilter && !CollectionSettings::hasPageWithExteriorMood(collection, mood)) {
            painter.drawImage(rect, m_normalImages[button]);
            painter.drawImage(QPoint(rect.right() - m_disabledMark.width(), rect.bottom() - m_disabledMark.height()),
                              m_disabledMark);
        } else {
            painter.drawImage(rect, mood == moodFilter ? m_selectedImages[button] : m_normalImages[button]);
        }
    }

    drawCaption(painter, m_layout.allMoods, Localizer::getTextByKey(collection, LocalizerKeys::KeyOfMoodFilterAllMoods),
                moodFilter == MoodAll);
    if (hasExterior) {
        drawCaption(painter, m_layout.exterior,
                    Localizer::getTextByKey(collection, LocalizerKeys::KeyOfMoodFilterExteriorColors), exteriorFilter);
        painter.setPen(captionColour);
        painter.drawLine(m_layout.aboveExterior);
    }

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(159, 159, 159), 0));
    painter.drawLine(m_layout.underFirstRow);
    painter.drawLine(m_layout.betweenColumns);
}

void MoodSelectWidget::mousePressEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    const int cardType = CollectionSettings::cardType(collection);

    if (cardType == 2) {
        if (m_layout.mto.contains(position))
            emit showMtoChangedInteractively(!Settings::showMto(collection));
        return;
    }
    if (cardType != 1)
        return;

    const Mood mood = Settings::moodFilter(collection);
    const bool exterior = Settings::exteriorFilter(collection);
    Mood newMood = mood;
    bool newExterior = exterior;

    const int button = moodButtonAt(position);
    if (button >= 0) {
        const Mood clicked = moodOf(MoodButton(button));
        // Under the exterior filter a mood without exterior cards is off.
        if (exterior && !CollectionSettings::hasPageWithExteriorMood(collection, clicked))
            return;
        newMood = clicked;
    } else if (m_layout.allMoods.contains(position)) {
        newMood = MoodAll;
    } else if (CollectionSettings::hasExteriorFilter(collection) && m_layout.exterior.contains(position)) {
        newExterior = !exterior;
        if (newExterior && newMood != MoodAll && !CollectionSettings::hasPageWithExteriorMood(collection, newMood))
            newMood = MoodAll;
    }

    if (newMood != mood)
        emit moodFilterChangedInteractively(newMood);
    if (newExterior != exterior)
        emit exteriorFilterChangedInteractively(newExterior);
}

void MoodSelectWidget::mouseMoveEvent(QMouseEvent *event)
{
    const bool clickable = isClickable(event->position().toPoint(), Settings::uuidOfLastUsedCollection());
    setCursor(clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

bool MoodSelectWidget::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);

    auto *help = static_cast<QHelpEvent *>(event);
    const QPoint position = mapFromGlobal(help->globalPos());
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    QString text;
    int button = -1;
    if (CollectionSettings::cardType(collection) == 1) {
        button = moodButtonAt(position);
        if (button >= 0)
            text = Localizer::getTextByKey(collection, toolTipKeyOf(MoodButton(button)));
    }
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(mapToGlobal(m_layout.moods[button].topRight()),
                       QStringLiteral("<span style=\"font-size: 12px;\">%1</span>").arg(text));
    setCursor(isClickable(position, collection) ? Qt::PointingHandCursor : Qt::ArrowCursor);
    return true;
}

} // namespace Velmar
