#ifndef VELMAR_MOODSELECTWIDGET_H
#define VELMAR_MOODSELECTWIDGET_H

#include "inc/VelmarTypes.h"

#include <QImage>
#include <QLine>
#include <QRect>
#include <QSize>
#include <QUuid>
#include <QWidget>

namespace Velmar {

// The strip of filter buttons above the card roller. Normal collections get
// six mood buttons, an all-moods item and, where the collection has it, an
// exterior-colours item; Sarnex collections get the one toggle that hides
// made-to-order colours. It keeps no filter state: each paint and click
// reads the filters of the last used collection.
class MoodSelectWidget : public QWidget
{
    Q_OBJECT

public:
    // Index of each mood button in the layout and image arrays.
    enum MoodButton { FreshButton = 0, CalmButton, WarmButton, RichButton, OffwhiteButton, NeutralButton };

    // What the strip measures, free of fonts: image sizes and one-line text sizes.
    struct LayoutInput {
        int cardType = 1;
        bool hasExteriorFilter = false;
        QSize moodImages[6]; // by MoodButton
        QSize tick;
        QSize allMoodsText;
        QSize exteriorText;
        QSize mtoText;
    };
    struct Layout {
        QRect moods[6]; // by MoodButton
        QRect allMoods;
        QRect exterior;
        QRect mto;
        QLine underFirstRow;
        QLine betweenColumns;
        QLine aboveExterior;
        QSize size;
    };
    static Layout computeLayout(const LayoutInput &input);
    static Mood moodOf(MoodButton button);
    static QString toolTipKeyOf(MoodButton button);

    explicit MoodSelectWidget(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    void prepareForCollection(const QUuid &collection);
    void recalculateUiLayout();

    const Layout &currentLayout() const { return m_layout; }

public slots:
    void selectedCollectionChanged(QUuid collectionId);

signals:
    void moodFilterChangedInteractively(Mood newMood);
    void exteriorFilterChangedInteractively(bool exterior);
    void showMtoChangedInteractively(bool showMto);

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The mood button under a point, or -1.
    int moodButtonAt(const QPoint &point) const;
    bool isClickable(const QPoint &point, const QUuid &collection) const;
    void drawCaption(QPainter &painter, const QRect &item, const QString &text, bool ticked) const;

    QImage m_normalImages[6];   // by MoodButton
    QImage m_selectedImages[6]; // by MoodButton
    QImage m_tick;
    QImage m_disabledMark;
    bool m_imagesDecoded = false;
    QRect m_laidOutGeometry;
    Layout m_layout;
};

} // namespace Velmar

#endif // VELMAR_MOODSELECTWIDGET_H
