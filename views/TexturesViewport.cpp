#include "views/TexturesViewport.h"

#include "database/ColorPage.h"
#include "database/DBManager.h"
#include "plugin/MainWidget.h"
#include "services/CollectionSettings.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"
#include "services/Theme.h"
#include "views/EdgeOutline.h"
#include "views/TexturesWidget.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace Velmar {

const QSize TexturesViewport::s_defaultTileSize(148, 96);

TexturesViewport::TexturesViewport(TexturesWidget *parent)
    : QWidget(parent)
    , m_page(parent)
{
    setMouseTracking(true);
    setObjectName(QStringLiteral("TexturesViewport"));
}

QVector<QRect> TexturesViewport::tileRects(int width, const QSize &tileSize, int titleHeight, int nameHeight,
                                           int count, int *height)
{
    const int tw = tileSize.width();
    const int th = tileSize.height();
    // Narrower than three tiles: they abut instead of overlapping.
    const int gap = std::max(0, (width - 3 * tw) / 2);
    const int lineStep = th + nameHeight + 16;
    QVector<QRect> tiles;
    tiles.reserve(count);
    QRect tile(0, titleHeight + 8, tw, th);
    for (int i = 0; i < count; ++i) {
        if (tile.right() > width - 1 || tile.left() > width - 1)
            tile.moveTo(0, tile.top() + lineStep);
        tiles.append(tile);
        tile.translate(tw + gap, 0);
    }
    if (height)
        *height = tile.bottom() + nameHeight + 16;
    return tiles;
}

int TexturesViewport::tintChannel(int p, int t, double alpha)
{
    // Clamped rather than wrapped: an alpha outside 0..1 gives the nearest
    // colour the channel can hold, never a black tile. NaN counts as 0.
    double mixed = t * alpha + p * (1.0 - alpha);
    if (!(mixed >= 0.0))
        mixed = 0.0;
    else if (mixed > 255.0)
        mixed = 255.0;
    return (p * int(mixed)) >> 8;
}

QImage TexturesViewport::tintedTexture(const QImage &texture, const QColor &tint, double alpha, const QSize &shown)
{
    const QSize size = shown.boundedTo(texture.size());
    if (size.isEmpty())
        return QImage();
    QImage source = texture;
    if (source.format() != QImage::Format_ARGB32 && source.format() != QImage::Format_RGB32)
        source = texture.copy(QRect(QPoint(0, 0), size)).convertToFormat(QImage::Format_ARGB32);

    // Each channel depends on its own value only: one table per channel.
    uchar red[256], green[256], blue[256];
    for (int p = 0; p < 256; ++p) {
        red[p] = uchar(tintChannel(p, tint.red(), alpha));
        green[p] = uchar(tintChannel(p, tint.green(), alpha));
        blue[p] = uchar(tintChannel(p, tint.blue(), alpha));
    }
    QImage out(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const QRgb pixel = in[x];
            line[x] = qRgb(red[qRed(pixel)], green[qGreen(pixel)], blue[qBlue(pixel)]);
        }
    }
    return out;
}

QColor TexturesViewport::currentTint()
{
    const QUuid current = Settings::uuidOfLastUsedCollection();
    DB::ColorPage card;
    if (DBManager::GetColorPageByIndex(current, Settings::pageIndex(current), card) == 0 && card.isValid()) {
        const int row = Settings::rowIndex(current);
        if (row >= 1 && row <= card.entries.size()) {
            const DB::ColorEntry &entry = card.entries.at(row - 1);
            return QColor(entry.red, entry.green, entry.blue);
        }
    }
    return QColor(255, 0, 0);
}

QColor TexturesViewport::tintFor(const QUuid &collection, int pageIndex, int rowIndex)
{
    // The card's chips never change while the picker runs: look them up
    // once per selection rather than on every paint.
    if (!m_tintValid || collection != m_tintCollection || pageIndex != m_tintPageIndex
        || rowIndex != m_tintRowIndex) {
        m_tint = currentTint();
        m_tintCollection = collection;
        m_tintPageIndex = pageIndex;
        m_tintRowIndex = rowIndex;
        m_tintValid = true;
    }
    return m_tint;
}

void TexturesViewport::prepareForCollection(const QUuid &collection)
{
    m_tintValid = false;
    m_textures.clear();
    DBManager::GetTexturesForCollection(collection, m_textures);
    // Read as 32-bit pixels once here rather than on every paint.
    for (DB::Texture &texture : m_textures) {
        if (!texture.image.isNull() && texture.image.format() != QImage::Format_ARGB32)
            texture.image = texture.image.convertToFormat(QImage::Format_ARGB32);
    }
}

void TexturesViewport::recalculateLayout()
{
    m_inLayout = true;
    m_tiles.clear();
    const QUuid current = Settings::uuidOfLastUsedCollection();
    const QSize tileSize = CollectionSettings::textureSize(current, s_defaultTileSize);

    DB::ColorPage card;
    QVector<DB::TextureMap> maps;
    if (DBManager::GetColorPageByIndex(current, Settings::pageIndex(current), card) == 0)
        DBManager::GetTextureMapForPageById(current, card.id, maps);

    const int titleHeight = QFontMetrics(Theme::boldFont(Theme::FontSizeLargest)).height();
    const int nameHeight = QFontMetrics(Theme::italicFont(Theme::FontSizeNormal)).height();
    int contentHeight = 0;
    const QVector<QRect> rects = tileRects(width(), tileSize, titleHeight, nameHeight, maps.size(), &contentHeight);
    for (int i = 0; i < rects.size(); ++i)
        m_tiles.insert(rects.at(i), maps.at(i));
    resize(width(), contentHeight);

    // The main background under the content: the content starts at the
    // page's corner inside its margins.
    MainWidget *main = Global::g_mainWidget;
    if (main && m_page && main->isAncestorOf(m_page)) {
        const int margin = TexturesWidget::s_margin;
        const QPoint topLeft = m_page->mapTo(main, QPoint(margin, margin));
        const QPoint bottomRight = m_page->mapTo(main, QPoint(width() + margin - 1, height() + margin - 1));
        m_backgroundSlice = m_page->mainBackground().copy(QRect(topLeft, bottomRight));
    } else {
        m_backgroundSlice = QImage();
    }
    m_inLayout = false;
}

void TexturesViewport::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    const QUuid current = Settings::uuidOfLastUsedCollection();
    const QColor tint = tintFor(current, Settings::pageIndex(current), Settings::rowIndex(current));
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setBrush(Qt::NoBrush);
    // Always from the corner, whatever part is repainted, so the background
    // never shifts under a tool tip or a scroll.
    if (!m_backgroundSlice.isNull())
        painter.drawImage(QPoint(0, 0), m_backgroundSlice);

    painter.setFont(Theme::boldFont(Theme::FontSizeLargest));
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, width(), height()), Qt::TextSingleLine,
                     Localizer::getTextByKey(current, LocalizerKeys::KeyOfSelectTexture));

    const QFont nameFont = Theme::italicFont(Theme::FontSizeNormal);
    for (auto tile = m_tiles.cbegin(); tile != m_tiles.cend(); ++tile) {
        const QRect &r = tile.key();
        const DB::TextureMap &map = tile.value();
        const auto texture = m_textures.constFind(map.textureId);
        if (texture == m_textures.cend())
            continue;
        // Cropped to the tile, never scaled. Every pixel is opaque, so the
        // image is drawn as one without alpha: a copy instead of a blend.
        QImage shown = tintedTexture(texture->image, tint, map.alpha, r.size());
        shown.reinterpretAsFormat(QImage::Format_RGB32);
        // The frames inside a fully covered tile go onto its image: an
        // operation of the page's painter costs many times one on a small image.
        const bool covered = shown.size() == r.size();
        if (covered) {
            QPainter onTile(&shown);
            const QRect frame(QPoint(0, 0), r.size());
            EdgeOutline::draw(onTile, frame, QColor(96, 96, 96));
            EdgeOutline::draw(onTile, frame.adjusted(1, 1, -1, -1), QColor(255, 255, 255, 32));
        }
        painter.drawImage(r.topLeft(), shown);
        EdgeOutline::draw(painter, r.adjusted(-1, -1, 1, 1), QColor(96, 96, 96, 32));
        if (!covered) {
            EdgeOutline::draw(painter, r, QColor(96, 96, 96));
            EdgeOutline::draw(painter, r.adjusted(1, 1, -1, -1), QColor(255, 255, 255, 32));
        }

        painter.setFont(nameFont);
        painter.setPen(Qt::white);
        const QRect nameRect = r.translated(0, r.bottom() + 5 - r.top());
        painter.drawText(nameRect, Qt::TextSingleLine, map.name);
        painter.drawText(nameRect, Qt::TextSingleLine, map.name);
    }
}

void TexturesViewport::mouseMoveEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
    setCursor(Qt::ArrowCursor);
}

void TexturesViewport::mousePressEvent(QMouseEvent *event)
{
    mouseMoveEvent(event);
}

void TexturesViewport::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_inLayout)
        recalculateLayout();
}

} // namespace Velmar
