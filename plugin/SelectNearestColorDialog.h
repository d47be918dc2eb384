#ifndef VELMAR_SELECTNEARESTCOLORDIALOG_H
#define VELMAR_SELECTNEARESTCOLORDIALOG_H

#include "database/ColorEntry.h"

#include <QColor>
#include <QDialog>
#include <QHash>
#include <QRect>
#include <QSize>
#include <QVector>

class QCheckBox;
class QLabel;

namespace Velmar {

// Offers the chips nearest to the host's colour when no single one stands
// out: up to six swatches, nearest first, on the host's colour itself. A
// click on a swatch chooses it; closing the dialog chooses nothing.
class SelectNearestColorDialog : public QDialog
{
    Q_OBJECT

public:
    static const QSize s_fixedSize;

    // Where the children go in a dialog of the given size, with the font's
    // line height; chips holds one rectangle per candidate, at most six.
    struct Layout {
        QVector<QRect> chips;
        QRect captionLabel;
        int checkBoxBottom = 0;
    };
    static Layout layoutFor(const QSize &dialog, int fontHeight, int candidateCount);

    SelectNearestColorDialog(const QColor &color, const QVector<DB::ColorEntry> &candidates, QWidget *parent = nullptr);

    // The chip the user clicked; an entry with id -1 until then.
    DB::ColorEntry selectedEntry() const { return m_selectedEntry; }
    QVector<DB::ColorEntry> candidates() const { return m_candidates; }
    QColor color() const { return m_color; }
    // The chip rectangle of a candidate, by its entry id; null when not shown.
    QRect chipRectOf(qint64 entryId) const { return m_chipRects.key(entryId); }
    QCheckBox *framedChipsCheckBox() const { return m_framedChips; }
    QLabel *captionLabel() const { return m_captionLabel; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private slots:
    void framedChipsStateChanged(bool checked);

private:
    // The candidate id under a point, or -1.
    qint64 entryIdAt(const QPoint &point) const;

    QColor m_color;
    QVector<DB::ColorEntry> m_candidates;
    QHash<qint64, int> m_indexById;
    DB::ColorEntry m_selectedEntry;
    QLabel *m_captionLabel = nullptr;
    QCheckBox *m_framedChips = nullptr;
    QHash<QRect, qint64> m_chipRects;
};

} // namespace Velmar

#endif // VELMAR_SELECTNEARESTCOLORDIALOG_H
