#ifndef VELMAR_COLORSCHEMERSARNEXEWIDGET_H
#define VELMAR_COLORSCHEMERSARNEXEWIDGET_H

#include "database/ColorEntry.h"

#include <QList>
#include <QPair>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QUuid>
#include <QVector>
#include <QWidget>

namespace Velmar {

// The colour schemes page of the powder-coating collections: for the card
// roller's chip, three bands side by side, each one colour (wide contrast 1,
// contrast, wide contrast 2), with a caption box over each. No buttons: the
// user reads tool tips and drags a band's colour out.
class ColorSchemerSarnexeWidget : public QWidget
{
    Q_OBJECT

public:
    struct Layout {
        QRect captions[3];
        QRect bands[3];
    };
    // Three columns across rect with a left margin of 12 and gaps of 4, the
    // captions and bands centred vertically, for the font's line height.
    static Layout layoutFor(const QRect &rect, int fontHeight);

    explicit ColorSchemerSarnexeWidget(QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);
    void doResize(const QRect &rect);

    QVector<QPair<QRect, QString>> captions() const { return m_captions; }
    QVector<QPair<QRect, DB::ColorEntry>> chips() const { return m_chips; }
    // The bands' tool tips, built when first asked for: a paint builds none,
    // as each costs several queries and only a hovered one is seen.
    QList<QString> chipToolTips() const;
    QPoint dragStart() const { return m_dragStart; }

public slots:
    void selectedCollectionChanged(QUuid collectionId);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    // The current chip's three proposals into the bands; the bands stay
    // empty unless there are exactly three.
    void loadChips();

    QVector<QPair<QRect, QString>> m_captions;
    QVector<QPair<QRect, DB::ColorEntry>> m_chips;
    QUuid m_chipsCollection;
    mutable QList<QString> m_chipToolTips;
    QString m_wideContrast1Text;
    QString m_wideContrast2Text;
    QString m_contrastText;
    Layout m_layout;
    QPoint m_dragStart;
};

} // namespace Velmar

#endif // VELMAR_COLORSCHEMERSARNEXEWIDGET_H
