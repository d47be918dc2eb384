#ifndef VELMAR_TEXTURESVIEWPORT_H
#define VELMAR_TEXTURESVIEWPORT_H

#include "database/Texture.h"
#include "database/TextureMap.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QUuid>
#include <QVector>
#include <QWidget>

namespace Velmar {

class TexturesWidget;

// The scrolled content of the textures page: under a title, the textures
// placed on the selected card, three tiles to a line, each tinted with the
// selected chip's colour and named underneath.
class TexturesViewport : public QWidget
{
    Q_OBJECT

public:
    // The tile size when the collection names none.
    static const QSize s_defaultTileSize;

    explicit TexturesViewport(TexturesWidget *parent);

    void prepareForCollection(const QUuid &collection);
    void recalculateLayout();

    // The tiles of count placings across width, under a title of titleHeight,
    // three to a line with the outer ones flush with the edges; height is set
    // to what they need with their names.
    static QVector<QRect> tileRects(int width, const QSize &tileSize, int titleHeight, int nameHeight, int count,
                                    int *height);
    // One channel of the tint: the texture's channel p multiplied by the mix
    // of tint t and p at alpha (clamped to 0..255).
    static int tintChannel(int p, int t, double alpha);
    // The part of the texture that a tile of the given size shows, tinted,
    // opaque, in ARGB32.
    static QImage tintedTexture(const QImage &texture, const QColor &tint, double alpha, const QSize &shown);
    // RGB(255, 0, 0) unless the stored card and row name a chip; then the
    // chip's colour.
    static QColor currentTint();

    const QHash<QRect, DB::TextureMap> &tiles() const { return m_tiles; }
    const QHash<qint64, DB::Texture> &textures() const { return m_textures; }
    QImage backgroundSlice() const { return m_backgroundSlice; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // currentTint() for the selection read at a paint, remembered per selection.
    QColor tintFor(const QUuid &collection, int pageIndex, int rowIndex);

    QHash<qint64, DB::Texture> m_textures;
    QHash<QRect, DB::TextureMap> m_tiles;
    QImage m_backgroundSlice;
    bool m_inLayout = false;
    // The page that holds this content; its corner inside the margins is
    // where the background slice starts.
    TexturesWidget *m_page = nullptr;
    QColor m_tint;
    QUuid m_tintCollection;
    int m_tintPageIndex = 0;
    int m_tintRowIndex = 0;
    bool m_tintValid = false;
};

} // namespace Velmar

#endif // VELMAR_TEXTURESVIEWPORT_H
