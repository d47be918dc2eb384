#ifndef VELMAR_COLORSCHEMERWIDGET_H
#define VELMAR_COLORSCHEMERWIDGET_H

#include "database/ColorMatchEntry.h"
#include "database/ItemIndex.h"
#include "inc/VelmarTypes.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QUuid>
#include <QVector>
#include <QWidget>

namespace Velmar {

// The colour schemes page: one button per scheme kind the collection offers,
// a caption under each, and up to three bands of the chips the selected kind
// proposes for the card roller's chip (colour to colour) or card (card to
// card). Chips carry tool tips and can be dragged out. The page reads the
// browsing state at each paint and only asks for changes.
class ColorSchemerWidget : public QWidget
{
    Q_OBJECT

public:
    // The colour a scheme is computed for, and the key of the chips shown.
    struct SourceItemT {
        QUuid collection;
        SchemeKind kind = SchemeNone;
        SchemeKind neutralSubKind = SchemeNone;
        int pageIndex = -1;
        int rowIndex = -1;
    };

    struct Chip {
        DB::ItemIndex index;
        QColor colour;
        QString toolTip; // built when first asked for, see chips()
        bool toolTipBuilt = false;
    };

    // Bands never go beyond the third, nor past the chip area.
    static constexpr int s_maxBands = 3;

    // The chip area below the captions of a page laid out in rect: inset 24
    // on both sides, 16 below the captions, 32 above the bottom, its height a
    // multiple of 3 plus 1 and at most 100.
    static QRect chipAreaFor(const QRect &rect, int captionBottom);
    // Where each proposal goes: a band per segment and never more than
    // chipsPerGroup chips to a band, the bands centred in the area. A null
    // rectangle for a proposal that is not placed; all null unless the
    // proposals fill whole groups.
    static QVector<QRect> colorToColorChipRects(const QRect &area, const QVector<int> &segments, int chipsPerGroup);
    // A band per card, its chips across the width shared by the fullest card.
    static QVector<QVector<QRect>> cardToCardChipRects(const QRect &area, const QVector<int> &entriesPerCard);
    // The left edge of the first of count buttons of the given width,
    // centred with 40 pixels between them.
    static int firstButtonLeft(int width, int count, int buttonWidth);

    explicit ColorSchemerWidget(QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);
    void doResize(const QRect &rect);
    // Rebuild the chip table when the source differs from the last one;
    // true when they did, with computed the key to remember.
    bool calculateColorToColorColorEntries(const SourceItemT &source, SourceItemT &computed);
    bool calculateCardToCardColorEntries(const SourceItemT &source, SourceItemT &computed);
    void switchToNthScheme(int n);

    QUuid schemerCollection() const { return m_schemerCollection; }
    QVector<SchemeKind> schemesOrder() const { return m_schemesOrder; }
    QRect buttonRect(SchemeKind kind) const { return m_buttonRects.value(kind); }
    QPainterPath hitShape(SchemeKind kind) const { return m_hitShapes.value(kind); }
    QRect captionRect(SchemeKind kind) const { return m_captionRects.value(kind); }
    QString caption(SchemeKind kind) const { return m_captions.value(kind); }
    QRect chipArea() const { return m_chipArea; }
    // The chips of the last paint with their tool tips. A paint builds no
    // tool tip: each costs several queries and only a hovered one is seen.
    const QHash<QRect, Chip> &chips() const;
    bool complementaryAvailable() const { return m_complementaryAvailable; }
    QPoint dragStart() const { return m_dragStart; }

public slots:
    void selectedCollectionChanged(QUuid collectionId);

signals:
    void schemeKindChangedInteractively(SchemeKind scheme);
    void schemeNeutralSubKindChangedInteractively(SchemeKind scheme);

protected slots:
    void switchToScheme1();
    void switchToScheme2();
    void switchToScheme3();
    void switchToScheme4();
    void switchToScheme5();
    void switchToScheme6();
    void switchToScheme7();
    void switchToScheme8();
    void switchToScheme9();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // The browsing state as the settings hold it, moved into the schemer
    // collection when that is another one.
    SourceItemT currentSource();
    // The kind whose button or caption holds the point, the first or the
    // last of the order; SchemeNone when none does.
    SchemeKind kindAt(const QPointF &position, bool lastWins) const;
    void paintCaption(QPainter &painter, SchemeKind kind, bool selected) const;
    void paintChips(QPainter &painter) const;
    void startChipDrag(const QPoint &position);
    void showToolTip(const QPoint &position);
    static void buildToolTip(Chip &chip);
    QImage themeImage(const QString &key, const QSize &size);

    QUuid m_schemerCollection;
    QSize m_largestImageSize = QSize(-1, -1);
    QHash<SchemeKind, QImage> m_normalImages;
    QHash<SchemeKind, QImage> m_selectedImages;
    QHash<SchemeKind, QRect> m_buttonRects;
    QHash<SchemeKind, QPainterPath> m_hitShapes;
    QHash<SchemeKind, QString> m_captions;
    QHash<SchemeKind, QRect> m_captionRects;
    QVector<SchemeKind> m_schemesOrder;
    QRect m_chipArea;
    SourceItemT m_lastSource;
    // The schemer collection's colours, for the nearest one to a chip of
    // a collection without a schemer; read again for each collection shown.
    QVector<ColorMatchEntry> m_schemerCandidates;
    QUuid m_candidatesCollection;
    mutable QHash<QRect, Chip> m_chips;
    bool m_complementaryAvailable = false;
    // The system-wide images by key, decoded once: the same for every collection.
    QHash<QString, QImage> m_themeImages;
    QImage m_markerImageNormal;
    QImage m_markerImageSelected;
    QPoint m_dragStart;
};

} // namespace Velmar

#endif // VELMAR_COLORSCHEMERWIDGET_H
