#ifndef VELMAR_CARDROLLERWIDGET_H
#define VELMAR_CARDROLLERWIDGET_H

#include "database/ColorEntry.h"
#include "database/ColorPage.h"
#include "inc/VelmarTypes.h"

#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QUuid>
#include <QVector>
#include <QWidget>

class QMimeData;

namespace Velmar {

// The fan deck of the current collection as three cards side by side: the
// previous, the current and the next card, each a column of chips under its
// name. The user picks a card and a row, rolls the deck, drags a chip out
// and drops colours in to find them. It keeps no browsing state: every paint
// and mouse event reads it back from the settings and loads the cards.
class CardRollerWidget : public QWidget
{
    Q_OBJECT

public:
    enum ColorPagePos {
        LeftPage = 0,   // the previous card
        MiddlePage = 1, // the current card
        RightPage = 2   // the next card
    };

    explicit CardRollerWidget(QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);

    // Layout arithmetic, free of fonts and of the database. textHeight is the
    // one-line height of the name band.
    static QRect cardRect(ColorPagePos pos, const QSize &size, int textHeight);
    static QRect nameRect(ColorPagePos pos, const QSize &size, int textHeight);
    static QRect dropArea(const QSize &size, int textHeight);
    // One rectangle per chip of a card, top to bottom, 1 pixel apart and
    // inside its frame. When there are more chips than pixel rows the
    // chips that do not fit get a null rectangle (neither drawn nor hit).
    static QVector<QRect> chipRects(const QRect &card, int count);

    // What the last paint left for the mouse: the loaded cards, their chip
    // rectangles and the chip framed as the stored row.
    const DB::ColorPage &card(ColorPagePos pos) const { return m_cards[pos]; }
    const QVector<QRect> &chipRectsOf(ColorPagePos pos) const { return m_chipRects[pos]; }
    QRect cardRectOf(ColorPagePos pos) const { return m_cardRects[pos]; }
    QRect selectedChipRect() const { return m_selectedChip; }

public slots:
    void selectedCollectionChanged(QUuid collectionId);

signals:
    void roll(Direction dir);
    void pageChangedInteractively(int newPage);
    void rowChangedInteractively(int newRow);
    void collectionSelectedInteractively(QUuid collectionId);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The card and chip under a point, from the last paint; false when no
    // chip is there.
    bool chipAt(const QPoint &point, ColorPagePos &pos, int &index) const;
    bool hidesMto(const QUuid &collection) const;
    void forgetCards();
    void layoutCards();
    QPixmap mtoMarkFor(const QSize &size) const;

    static bool acceptsDrag(const QMimeData *data);
    // Payloads from the trend colours and those that carry a colour are
    // looked up by colour and names; chip payloads by their chip only.
    static bool carriesColour(const QMimeData *data);
    // The chip a dropped colour stands for: by its names as codes, by the
    // exact colour, else the nearest chip of the current collection.
    static bool findDroppedColour(const QMimeData *data, QUuid &collection, DB::ColorEntry &entry);
    void applyDrop(const QUuid &collection, const DB::ColorPage &page, const DB::ColorEntry &entry);

    QPixmap m_mtoMark;
    mutable QPixmap m_scaledMtoMark;
    DB::ColorPage m_cards[3];
    QRect m_cardRects[3];
    QRect m_dropArea;
    QRect m_nameRects[3];
    QVector<QRect> m_chipRects[3];
    QRect m_selectedChip;
    QPoint m_pressPosition;
};

} // namespace Velmar

#endif // VELMAR_CARDROLLERWIDGET_H
