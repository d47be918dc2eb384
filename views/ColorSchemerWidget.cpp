#include "views/ColorSchemerWidget.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"
#include "services/CollectionSettings.h"
#include "services/ColorManager.h"
#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QAction>
#include <QApplication>
#include <QDebug>
#include <QEvent>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <vector>

namespace Velmar {

namespace {

const QSize schemeImageSize(44, 44);
const QSize markerImageSize(9, 9);
const int buttonGap = 40;
const int buttonTop = 8;

struct KindImages {
    SchemeKind kind;
    const QString *normal;
    const QString *selected;
};

const KindImages kindImages[] = {
    {SchemeHarmonic, &Theme::KeyOfSchemeHarmonisingNormalImage, &Theme::KeyOfSchemeHarmonisingSelectedImage},
    {SchemeContrast, &Theme::KeyOfSchemeContrastingNormalImage, &Theme::KeyOfSchemeContrastingSelectedImage},
    {SchemeWideContrast, &Theme::KeyOfSchemeWideContrastNormalImage, &Theme::KeyOfSchemeWideContrastSelectedImage},
    {SchemeDynamic, &Theme::KeyOfSchemeDynamicNormalImage, &Theme::KeyOfSchemeDynamicSelectedImage},
    {SchemeDramatic, &Theme::KeyOfSchemeDramaticNormalImage, &Theme::KeyOfSchemeDramaticSelectedImage},
    // The neutral group and its two kinds share the tonal neutral images.
    {SchemeNeutral, &Theme::KeyOfSchemeNeutralNormalImage, &Theme::KeyOfSchemeNeutralSelectedImage},
    {SchemeTonalNeutral, &Theme::KeyOfSchemeNeutralNormalImage, &Theme::KeyOfSchemeNeutralSelectedImage},
    {SchemeComplementaryNeutral, &Theme::KeyOfSchemeNeutralNormalImage, &Theme::KeyOfSchemeNeutralSelectedImage},
};

QString captionKeyOf(SchemeKind kind)
{
    switch (kind) {
    case SchemeHarmonic:
        return LocalizerKeys::KeyOfHarmonizerPaletteSchemeHarmonic;
    case SchemeContrast:
        return LocalizerKeys::KeyOfHarmonizerPaletteSchemeContrast;
    case SchemeWideContrast:
        return LocalizerKeys::KeyOfHarmonizerPaletteSchemeWideContrast;
    case SchemeDynamic:
        return LocalizerKeys::KeyOfHarmonizerPaletteSchemeDynamic;
    case SchemeDramatic:
        return LocalizerKeys::KeyOfHarmonizerPaletteSchemeDramatic;
    case SchemeNeutral:
    case SchemeTonalNeutral:
        return LocalizerKeys::KeyOfHarmonizerPaletteSchemeTonalNeutral;
    case SchemeComplementaryNeutral:
        return LocalizerKeys::KeyOfHarmonizerPaletteSchemeComplementaryNeutral;
    default:
        return QString();
    }
}

QString toolTipKeyOf(SchemeKind kind)
{
    switch (kind) {
    case SchemeHarmonic:
        return LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeHarmonic;
    case SchemeContrast:
        return LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeContrast;
    case SchemeWideContrast:
        return LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeWideContrast;
    case SchemeDynamic:
        return LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeDynamic;
    case SchemeDramatic:
        return LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeDramatic;
    case SchemeTonalNeutral:
        return LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeTonalNeutral;
    case SchemeComplementaryNeutral:
        return LocalizerKeys::KeyOfTiptextHarmonizerPaletteSchemeComplementaryNeutral;
    default:
        return QString();
    }
}

// The neutral group shows one of its two kinds.
SchemeKind effectiveKind(const ColorSchemerWidget::SourceItemT &source)
{
    return source.kind == SchemeNeutral ? source.neutralSubKind : source.kind;
}

// Height of one band of the area, which holds three.
int bandHeightOf(const QRect &area)
{
    return (area.bottom() - 3 - area.top()) / 3 + 1;
}

// The top of the first band, so that the bands shown sit in the middle of
// the three-band area; never above the area.
int firstBandTop(const QRect &area, int groups, int band)
{
    const int shown = qBound(0, groups, ColorSchemerWidget::s_maxBands);
    return area.top() + ((ColorSchemerWidget::s_maxBands - shown) * band) / 2;
}

QRect bandChipRect(const QRect &area, int top, int band, int width, int bandIndex, int position)
{
    const QRect rect(area.left() + 1 + position * (width + 1), top + 1 + bandIndex * band, width, band - 1);
    if (bandIndex >= ColorSchemerWidget::s_maxBands || rect.bottom() > area.bottom())
        return QRect();
    return rect;
}

QString wrappedToolTip(QString text)
{
    if (text.isEmpty())
        return text;
    text.replace(QLatin1String("\n"), QLatin1String("<br/>"));
    return QStringLiteral("<span style=\"font-size: 12px;\">%1</span>").arg(text);
}

} // namespace

QRect ColorSchemerWidget::chipAreaFor(const QRect &rect, int captionBottom)
{
    const int left = rect.left() + 24;
    const int right = rect.right() - 24;
    int top = rect.top() + captionBottom + 16;
    int bottom = rect.bottom() - 32;
    const int h = bottom - top + 1;
    bottom = top + 3 * (h / 3);
    // Shrink three rows at a time, from both ends in turn, down to 100.
    bool firstWay = true;
    while (bottom - top + 1 >= 101) {
        top += firstWay ? 1 : 2;
        bottom -= firstWay ? 2 : 1;
        firstWay = !firstWay;
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QVector<QRect> ColorSchemerWidget::colorToColorChipRects(const QRect &area, const QVector<int> &segments,
                                                         int chipsPerGroup)
{
    QVector<QRect> rects(segments.size());
    if (segments.isEmpty() || chipsPerGroup <= 0 || segments.size() % chipsPerGroup != 0)
        return rects;
    const int groups = segments.size() / chipsPerGroup;
    const int band = bandHeightOf(area);
    const int top = firstBandTop(area, groups, band);
    const int width = (area.right() - area.left()) / chipsPerGroup - 1;
    int bandIndex = 0;
    int position = 0;
    for (int i = 0; i < segments.size(); ++i) {
        // A new segment opens the next band, and so does a full band.
        if (i > 0) {
            if (segments.at(i) != segments.at(i - 1) || position + 1 >= chipsPerGroup) {
                ++bandIndex;
                position = 0;
            } else {
                ++position;
            }
        }
        rects[i] = bandChipRect(area, top, band, width, bandIndex, position);
    }
    return rects;
}

QVector<QVector<QRect>> ColorSchemerWidget::cardToCardChipRects(const QRect &area, const QVector<int> &entriesPerCard)
{
    QVector<QVector<QRect>> rects;
    for (int entries : entriesPerCard)
        rects.append(QVector<QRect>(qMax(0, entries)));
    const int widest = entriesPerCard.isEmpty() ? 0 : *std::max_element(entriesPerCard.begin(), entriesPerCard.end());
    if (widest <= 0)
        return rects;
    const int band = bandHeightOf(area);
    const int top = firstBandTop(area, entriesPerCard.size(), band);
    const int width = (area.right() - area.left()) / widest - 1;
    for (int card = 0; card < rects.size(); ++card) {
        for (int j = 0; j < rects.at(card).size(); ++j)
            rects[card][j] = bandChipRect(area, top, band, width, card, j);
    }
    return rects;
}

int ColorSchemerWidget::firstButtonLeft(int width, int count, int buttonWidth)
{
    return (width + buttonGap - count * buttonWidth - count * buttonGap) / 2;
}

ColorSchemerWidget::ColorSchemerWidget(QWidget *parent)
    : QWidget(parent)
{
    Global::registerMetaTypes();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    prepareForCollection(Settings::uuidOfLastUsedCollection());
    setFont(Theme::normalFont(Theme::FontSizeNormal));

    const Qt::Key keys[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4, Qt::Key_5,
                        Qt::Key_6, Qt::Key_7, Qt::Key_8, Qt::Key_9};
    const char *const handlers[] = {SLOT(switchToScheme1()), SLOT(switchToScheme2()), SLOT(switchToScheme3()),
                                 SLOT(switchToScheme4()), SLOT(switchToScheme5()), SLOT(switchToScheme6()),
                                 SLOT(switchToScheme7()), SLOT(switchToScheme8()), SLOT(switchToScheme9())};
    for (int i = 0; i < 9; ++i) {
        auto *action = new QAction(this);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S, Qt::CTRL | keys[i]));
        if (!connect(action, SIGNAL(triggered()), this, handlers[i]))
            qDebug() << "ColorSchemerWidget: a shortcut could not be connected";
        addAction(action);
    }
}

void ColorSchemerWidget::prepareForCollection(const QUuid &collection)
{
    // A collection without a schemer of its own shows the scheme data of the
    // first installed one that has it.
    if (CollectionSettings::hasColorSchemer(collection)) {
        m_schemerCollection = collection;
    } else {
        m_schemerCollection = DBStructure::SystemWideCollectionUuid;
        const QList<QUuid> installed = DBManager::GetInstalledCollectionUuidsInOrder();
        for (const QUuid &candidate : installed) {
            if (CollectionSettings::hasColorSchemer(candidate)) {
                m_schemerCollection = candidate;
                break;
            }
        }
    }

    m_lastSource = SourceItemT{DBStructure::SystemWideCollectionUuid, SchemeNone, SchemeNone, -1, -1};
    m_candidatesCollection = QUuid();
    m_chips.clear();
    m_complementaryAvailable = false;
    m_normalImages.clear();
    m_selectedImages.clear();
    m_schemesOrder = CollectionSettings::schemesOrder(collection);

    m_markerImageNormal = themeImage(Theme::KeyOfComplementaryNeutralMarkerNormalImage, markerImageSize);
    m_markerImageSelected = themeImage(Theme::KeyOfComplementaryNeutralMarkerSelectedImage, markerImageSize);
    for (SchemeKind kind : qAsConst(m_schemesOrder)) {
        for (const KindImages &images : kindImages) {
            if (images.kind != kind)
                continue;
            m_normalImages.insert(kind, themeImage(*images.normal, schemeImageSize));
            m_selectedImages.insert(kind, themeImage(*images.selected, schemeImageSize));
        }
        const QString key = captionKeyOf(kind);
        if (key.isEmpty())
            continue;
        m_captions.insert(kind, Localizer::getTextByKey(collection, key));
        if (kind == SchemeNeutral) {
            m_captions.insert(SchemeTonalNeutral, Localizer::getTextByKey(collection, captionKeyOf(SchemeTonalNeutral)));
            m_captions.insert(SchemeComplementaryNeutral,
                              Localizer::getTextByKey(collection, captionKeyOf(SchemeComplementaryNeutral)));
        }
    }

    m_largestImageSize = QSize(0, 0);
    for (const QHash<SchemeKind, QImage> *images : {&m_normalImages, &m_selectedImages}) {
        for (const QImage &image : *images)
            m_largestImageSize = m_largestImageSize.expandedTo(image.size());
    }
    doResize(QRect(0, 0, width(), height()));
    update();
}

QImage ColorSchemerWidget::themeImage(const QString &key, const QSize &size)
{
    // Each key is always asked for at the same size.
    auto cached = m_themeImages.constFind(key);
    if (cached == m_themeImages.constEnd())
        cached = m_themeImages.insert(key, Theme::getImageByKey(key, size));
    return cached.value();
}

void ColorSchemerWidget::selectedCollectionChanged(QUuid collectionId)
{
    prepareForCollection(collectionId);
}

void ColorSchemerWidget::doResize(const QRect &rect)
{
    m_buttonRects.clear();
    m_hitShapes.clear();
    m_captionRects.clear();

    const int maxW = m_largestImageSize.width();
    const int maxH = m_largestImageSize.height();
    const int count = m_schemesOrder.size();
    const int x0 = firstButtonLeft(width(), count, maxW);
    const int markerWidth = m_markerImageNormal.width();
    const QFontMetrics metrics(font());
    const int captionTop = maxH + 9;
    int captionHeight = 0;

    auto spanAround = [captionTop](int centre, int half, int extraRight, int height) {
        return QRect(QPoint(centre - half, captionTop), QPoint(centre + half - 1 + extraRight, captionTop + height - 1));
    };
    for (int i = 0; i < count; ++i) {
        const SchemeKind kind = m_schemesOrder.at(i);
        const int x = x0 + i * (maxW + buttonGap);
        m_buttonRects.insert(kind, QRect(x, buttonTop, maxW, maxH));
        QPainterPath shape;
        shape.addEllipse(QRectF(x + 6, 14, maxW - 12, maxH - 12));
        m_hitShapes.insert(kind, shape);

        const int centre = x + maxW / 2;
        const QSize text = metrics.size(0, m_captions.value(kind));
        captionHeight = qMax(captionHeight, text.height() + 2);
        if (kind != SchemeNeutral) {
            m_captionRects.insert(kind, spanAround(centre, (text.width() + 4) / 2, 0, text.height() + 2));
            continue;
        }
        // The neutral group leaves room for the complementary marker, and
        // its two kinds share one caption place wide enough for either.
        m_captionRects.insert(kind, spanAround(centre, (text.width() + 4) / 2, markerWidth + 4, text.height() + 2));
        const QSize tonal = metrics.size(0, m_captions.value(SchemeTonalNeutral));
        const QSize complementary = metrics.size(0, m_captions.value(SchemeComplementaryNeutral));
        const int half = qMax(tonal.width() + 4, complementary.width() + 4) / 2;
        const int height = qMax(tonal.height() + 2, complementary.height() + 2);
        captionHeight = qMax(captionHeight, height);
        const QRect shared = spanAround(centre, half, markerWidth + 4, height);
        m_captionRects.insert(SchemeTonalNeutral, shared);
        m_captionRects.insert(SchemeComplementaryNeutral, shared);
    }
    for (QRect &caption : m_captionRects)
        caption.setHeight(captionHeight);

    const QRect area = chipAreaFor(rect, captionTop + captionHeight - 1);
    // Chips are placed in the area of their computation: a new area needs
    // them placed again.
    if (area != m_chipArea)
        m_lastSource = SourceItemT{DBStructure::SystemWideCollectionUuid, SchemeNone, SchemeNone, -1, -1};
    m_chipArea = area;
}

void ColorSchemerWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    doResize(QRect(0, 0, width(), height()));
}

void ColorSchemerWidget::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Caption places are measured in the widget's font.
    if (event->type() == QEvent::FontChange)
        doResize(QRect(0, 0, width(), height()));
}

bool ColorSchemerWidget::calculateColorToColorColorEntries(const SourceItemT &source, SourceItemT &computed)
{
    const SchemeKind kind = effectiveKind(source);
    if (m_lastSource.collection == source.collection && m_lastSource.kind == kind
        && m_lastSource.pageIndex == source.pageIndex && m_lastSource.rowIndex == source.rowIndex)
        return false;

    m_chips.clear();
    std::vector<DB::ColorEntry> matches;
    DBManager::FindSchemeMatchesForColorToColor(source.collection, CollectionSettings::moodMode(source.collection), kind,
                                                source.pageIndex, source.rowIndex, matches);
    QVector<int> segments;
    for (const DB::ColorEntry &match : matches)
        segments.append(match.segment);
    const QVector<QRect> rects =
        colorToColorChipRects(m_chipArea, segments, CollectionSettings::maxChipsOnAPage(source.collection));
    for (int i = 0; i < rects.size(); ++i) {
        if (rects.at(i).isNull())
            continue;
        const DB::ColorEntry &match = matches.at(size_t(i));
        Chip chip;
        chip.index.collection = source.collection;
        chip.index.pageId = match.pageId;
        chip.index.entryId = match.id;
        chip.colour = QColor(match.red, match.green, match.blue);
        m_chips.insert(rects.at(i), chip);
    }
    computed = source;
    computed.kind = kind;
    return true;
}

bool ColorSchemerWidget::calculateCardToCardColorEntries(const SourceItemT &source, SourceItemT &computed)
{
    SchemeKind kind = effectiveKind(source);
    computed = source;
    // Cards are proposed per card: the chip does not matter.
    if (m_lastSource.collection == source.collection && m_lastSource.kind == kind
        && m_lastSource.pageIndex == source.pageIndex)
        return false;

    m_chips.clear();
    m_complementaryAvailable = DBManager::HasComplementaryNeutralCardToCard(source.collection, source.pageIndex);
    if (kind == SchemeComplementaryNeutral && !m_complementaryAvailable) {
        kind = SchemeTonalNeutral;
        computed.neutralSubKind = SchemeTonalNeutral;
    }
    QList<DB::ColorPage> cards;
    DBManager::FindSchemeMatchesForCardToCard(source.collection, source.pageIndex, kind, cards);
    QVector<int> entries;
    for (const DB::ColorPage &card : qAsConst(cards))
        entries.append(card.entries.size());
    const QVector<QVector<QRect>> rects = cardToCardChipRects(m_chipArea, entries);
    for (int g = 0; g < rects.size(); ++g) {
        const DB::ColorPage &card = cards.at(g);
        for (int j = 0; j < rects.at(g).size(); ++j) {
            if (rects.at(g).at(j).isNull())
                continue;
            const DB::ColorEntry &entry = card.entries.at(j);
            Chip chip;
            chip.index.collection = source.collection;
            chip.index.pageId = card.id;
            chip.index.entryId = entry.id;
            chip.colour = QColor(entry.red, entry.green, entry.blue);
            m_chips.insert(rects.at(g).at(j), chip);
        }
    }
    computed.kind = kind;
    return true;
}

ColorSchemerWidget::SourceItemT ColorSchemerWidget::currentSource()
{
    const QUuid current = Settings::uuidOfLastUsedCollection();
    const SourceItemT source{current, Settings::schemeKind(current), Settings::schemeNeutralSubKind(current),
                             Settings::pageIndex(current), Settings::rowIndex(current)};
    if (m_schemerCollection == current)
        return source;

    // The nearest colour of the schemer collection stands in for the chip.
    DB::ColorEntry chip;
    if (DBManager::GetColorEntryByPageAndRowIndex(source.collection, source.pageIndex, source.rowIndex, chip) != 0)
        return source;
    // Every paint asks; the schemer collection's colours are read once per collection.
    if (m_candidatesCollection != m_schemerCollection) {
        m_schemerCandidates.clear();
        DBManager::GetAllColorMatchEntryFor(m_schemerCollection, m_schemerCandidates);
        m_candidatesCollection = m_schemerCollection;
    }
    QVector<QPair<double, qint64>> nearest;
    ColorManager::MatchColor(ColorManager::fromRgb(QColor(chip.red, chip.green, chip.blue)), m_schemerCandidates,
                             nearest, 1);
    DB::ColorEntry entry;
    DB::ColorPage card;
    if (nearest.isEmpty() || DBManager::GetColorEntryById(m_schemerCollection, nearest.first().second, entry) != 0
        || DBManager::GetColorPageById(m_schemerCollection, entry.pageId, true, card) != 0)
        return source;
    SourceItemT moved = source;
    moved.collection = m_schemerCollection;
    moved.pageIndex = card.pageIndex;
    moved.rowIndex = entry.rowIndex;
    return moved;
}

void ColorSchemerWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    const QUuid current = Settings::uuidOfLastUsedCollection();
    SchemeKind subKindShown = Settings::schemeNeutralSubKind(current);
    const SourceItemT source = currentSource();

    const int mode = CollectionSettings::mode(source.collection);
    SourceItemT computed = source;
    if (mode == 1 && calculateColorToColorColorEntries(source, computed))
        m_lastSource = computed;
    else if (mode == 2 && calculateCardToCardColorEntries(source, computed))
        m_lastSource = computed;
    // Without a complementary card the neutral group falls back to tonal,
    // and the stored choice follows.
    if (mode == 2 && computed.neutralSubKind != subKindShown) {
        Settings::setSchemeNeutralSubKind(current, computed.neutralSubKind);
        subKindShown = computed.neutralSubKind;
    }

    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const SchemeKind selected = Settings::schemeKind(current);
    for (SchemeKind kind : qAsConst(m_schemesOrder)) {
        const bool isSelected = kind == selected;
        const QImage &image = isSelected ? m_selectedImages[kind] : m_normalImages[kind];
        if (!image.isNull())
            painter.drawImage(m_buttonRects.value(kind), image);
        const SchemeKind captionKind = kind == SchemeNeutral ? subKindShown : kind;
        paintCaption(painter, captionKind, isSelected);
        if (kind == SchemeNeutral && m_complementaryAvailable) {
            const QImage &marker = isSelected ? m_markerImageSelected : m_markerImageNormal;
            const QRect caption = m_captionRects.value(captionKind);
            painter.drawImage(QPoint(caption.right() - marker.width(),
                                     caption.top() + (caption.height() - marker.height()) / 2),
                              marker);
        }
    }

    paintChips(painter);

    QFont hintFont = font();
    hintFont.setItalic(true);
    painter.setFont(hintFont);
    painter.setPen(QColor(188, 188, 188));
    const QRect hint(QPoint(m_chipArea.left(), m_chipArea.bottom()), QPoint(m_chipArea.right(), height() - 1));
    const QString message = Localizer::getTextByKey(current, LocalizerKeys::KeyOfHarmonizerDragDropMessage);
    for (int i = 0; i < 2; ++i)
        painter.drawText(hint, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, message);
}

void ColorSchemerWidget::paintCaption(QPainter &painter, SchemeKind kind, bool selected) const
{
    const QRect rect = m_captionRects.value(kind);
    const QString text = m_captions.value(kind);
    const int flags = Qt::AlignHCenter | Qt::AlignVCenter | Qt::AlignTop;
    if (!selected) {
        painter.setPen(QColor(188, 188, 188));
        painter.drawText(rect, flags, text);
        painter.drawText(rect, flags, text);
        return;
    }
    // A glow: faint white around the caption, then the caption in white.
    painter.setPen(QColor(255, 255, 255, 12));
    for (int dy : {-2, 2}) {
        for (int dx = -2; dx <= 2; ++dx)
            painter.drawText(rect.translated(dx, dy), flags, text);
    }
    painter.setPen(QColor(255, 255, 255, 24));
    for (const QPoint &offset : {QPoint(-1, -1), QPoint(1, -1), QPoint(1, 1), QPoint(-1, 1)})
        painter.drawText(rect.translated(offset), flags, text);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(rect, flags, text);
    painter.drawText(rect, flags, text);
}

void ColorSchemerWidget::paintChips(QPainter &painter) const
{
    if (m_chips.isEmpty())
        return;
    const QColor edge(64, 64, 64);
    QRect united;
    for (auto it = m_chips.constBegin(); it != m_chips.constEnd(); ++it) {
        const QRect &r = it.key();
        painter.fillRect(r, it.value().colour);
        painter.setPen(edge);
        painter.drawLine(r.right() + 1, r.top(), r.right() + 1, r.bottom() + 1);
        painter.drawLine(r.left(), r.bottom() + 1, r.right() + 1, r.bottom() + 1);
        united |= r.adjusted(-1, -1, 1, 1);
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QColor(64, 64, 64, 24));
    painter.drawRoundedRect(QRectF(united.left() - 2, united.top() - 2, united.width() + 3, united.height() + 3), 3, 3);
    painter.setPen(QColor(64, 64, 64, 48));
    painter.drawRoundedRect(QRectF(united.left() - 1, united.top() - 1, united.width() + 1, united.height() + 1), 2, 2);
    painter.setPen(edge);
    painter.drawRect(QRect(united.left(), united.top(), united.width() - 1, united.height() - 1));
}

SchemeKind ColorSchemerWidget::kindAt(const QPointF &position, bool lastWins) const
{
    SchemeKind found = SchemeNone;
    for (SchemeKind kind : m_schemesOrder) {
        if (m_hitShapes.value(kind).contains(position) || m_captionRects.value(kind).contains(position.toPoint())) {
            found = kind;
            if (!lastWins)
                break;
        }
    }
    return found;
}

void ColorSchemerWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::LeftButton)
        return;
    const SchemeKind hit = kindAt(event->position(), false);
    if (hit == SchemeNone) {
        m_dragStart = event->globalPosition().toPoint();
        return;
    }
    // A press on a button never starts a drag on its way out.
    m_dragStart = QPoint();
    const QUuid current = Settings::uuidOfLastUsedCollection();
    const SchemeKind selected = Settings::schemeKind(current);
    if (hit != selected) {
        emit schemeKindChangedInteractively(hit);
    } else if (hit == SchemeNeutral && m_complementaryAvailable) {
        emit schemeNeutralSubKindChangedInteractively(Settings::schemeNeutralSubKind(current) == SchemeTonalNeutral
                                                          ? SchemeComplementaryNeutral
                                                          : SchemeTonalNeutral);
    }
}

void ColorSchemerWidget::mouseReleaseEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
    m_dragStart = QPoint();
}

void ColorSchemerWidget::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(Qt::ArrowCursor);
    if (event->buttons() == Qt::LeftButton) {
        const QPoint global = event->globalPosition().toPoint();
        if (m_dragStart.isNull() || (global - m_dragStart).manhattanLength() <= QApplication::startDragDistance()
            || !m_chipArea.contains(event->position().toPoint()))
            return;
        startChipDrag(event->position().toPoint());
    } else if (event->buttons() == Qt::NoButton) {
        showToolTip(event->position().toPoint());
    }
}

void ColorSchemerWidget::startChipDrag(const QPoint &position)
{
    for (auto it = m_chips.constBegin(); it != m_chips.constEnd(); ++it) {
        if (!it.key().contains(position))
            continue;
        const Chip chip = it.value();
        DB::ColorEntry entry;
        if (DBManager::GetColorEntryById(chip.index.collection, chip.index.entryId, entry) == 0) {
            DragDropHelper::initiateColorChipDragOperation(this, DragSourceColorSchemer, chip.index.collection, entry,
                                                           Qt::CopyAction, Qt::CopyAction);
            // The release ended inside the drag, so this widget never saw it.
            m_dragStart = QPoint();
        }
        return;
    }
}

void ColorSchemerWidget::showToolTip(const QPoint &position)
{
    const QUuid current = Settings::uuidOfLastUsedCollection();
    QString text;
    QPoint where;
    const SchemeKind hit = kindAt(position, true);
    if (hit != SchemeNone) {
        setCursor(Qt::PointingHandCursor);
        where = mapToGlobal(m_buttonRects.value(hit).bottomRight());
        const SchemeKind tipKind = hit == SchemeNeutral ? Settings::schemeNeutralSubKind(current) : hit;
        const QString key = toolTipKeyOf(tipKind);
        if (!key.isEmpty()) {
            text = Localizer::getTextByKey(current, key);
            if (text.isEmpty())
                text = Localizer::getTextByKey(m_schemerCollection, key);
        }
        text = wrappedToolTip(text);
    }
    if (m_chipArea.contains(position)) {
        for (auto it = m_chips.begin(); it != m_chips.end(); ++it) {
            if (it.key().contains(position)) {
                buildToolTip(it.value());
                text = it.value().toolTip;
                where = mapToGlobal(it.key().topRight());
                break;
            }
        }
    }
    QToolTip::showText(where, text);
}

const QHash<QRect, ColorSchemerWidget::Chip> &ColorSchemerWidget::chips() const
{
    for (Chip &chip : m_chips)
        buildToolTip(chip);
    return m_chips;
}

void ColorSchemerWidget::buildToolTip(Chip &chip)
{
    if (chip.toolTipBuilt)
        return;
    chip.toolTip = DBManager::BuildToolTipForColorEntry(chip.index.collection, chip.index.entryId, true);
    chip.toolTipBuilt = true;
}

void ColorSchemerWidget::switchToNthScheme(int n)
{
    if (!isVisible() || n < 1 || n > m_schemesOrder.size())
        return;
    const QUuid current = Settings::uuidOfLastUsedCollection();
    const SchemeKind kind = m_schemesOrder.at(n - 1);
    const SchemeKind selected = Settings::schemeKind(current);
    if (kind == SchemeNeutral && selected == SchemeNeutral) {
        // Unlike a click, the chord also asks for tonal without a
        // complementary card.
        const bool toComplementary =
            m_complementaryAvailable && Settings::schemeNeutralSubKind(current) == SchemeTonalNeutral;
        emit schemeNeutralSubKindChangedInteractively(toComplementary ? SchemeComplementaryNeutral : SchemeTonalNeutral);
    } else if (kind != selected) {
        emit schemeKindChangedInteractively(kind);
    }
}

void ColorSchemerWidget::switchToScheme1() { switchToNthScheme(1); }
void ColorSchemerWidget::switchToScheme2() { switchToNthScheme(2); }
void ColorSchemerWidget::switchToScheme3() { switchToNthScheme(3); }
void ColorSchemerWidget::switchToScheme4() { switchToNthScheme(4); }
void ColorSchemerWidget::switchToScheme5() { switchToNthScheme(5); }
void ColorSchemerWidget::switchToScheme6() { switchToNthScheme(6); }
void ColorSchemerWidget::switchToScheme7() { switchToNthScheme(7); }
void ColorSchemerWidget::switchToScheme8() { switchToNthScheme(8); }
void ColorSchemerWidget::switchToScheme9() { switchToNthScheme(9); }

} // namespace Velmar
