#ifndef VELMAR_MYPALETTEFULLWIDGET_H
#define VELMAR_MYPALETTEFULLWIDGET_H

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QUuid>
#include <QWidget>

class QSlider;

namespace Velmar {

class ImageButton;
class TavoCustomStyle;

// My palette shown large over the whole main widget, on a grey the user
// chooses with a slider; a press on a chip shows that chip over the whole
// grid, the next press returns to the grid. It reads the palette from the
// per-user settings at every paint and changes nothing in it.
class MyPaletteFullWidget : public QWidget
{
    Q_OBJECT

public:
    // Where everything lies at a given size; pure, so that it can be checked
    // without images or a style.
    struct Geometry {
        QRect bar;
        QPoint backButton;
        QRect lightMark;
        QRect darkMark;
        QRect slider;
        QRect gridArea;
        int cellWidth = 0;
        int cellHeight = 0;
    };
    static Geometry geometryFor(const QSize &size, int barHeight, const QSize &backButtonSize, int sliderHeight);
    // The cell under a point of the grid area, (-1, -1) outside it or when the
    // cells have no size.
    static QPoint cellAt(const QPoint &position, const QRect &gridArea, int cellWidth, int cellHeight);

    explicit MyPaletteFullWidget(QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);

    QColor swatchColor() const { return m_swatchColor; }
    QSlider *slider() const { return m_slider; }
    ImageButton *backButton() const { return m_backButton; }
    TavoCustomStyle *sliderStyle() const { return m_sliderStyle; }
    QRect gridArea() const { return m_gridArea; }
    int cellWidth() const { return m_cellWidth; }
    int cellHeight() const { return m_cellHeight; }
    QRect lightMark() const { return m_lightMark; }
    QRect darkMark() const { return m_darkMark; }

signals:
    void backButtonClicked();

public slots:
    void selectedCollectionChanged(QUuid collectionId);

private slots:
    void backClicked();
    void backgroundColorSliderValueChanged(int value);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    // The colour of the chip stored for the cell, or an invalid colour.
    static QColor chipColour(const QPoint &coord);

    QImage m_barImage;
    QRect m_barRect;
    ImageButton *m_backButton = nullptr;
    QSlider *m_slider = nullptr;
    TavoCustomStyle *m_sliderStyle = nullptr;
    QColor m_swatchColor;
    QRect m_lightMark;
    QRect m_darkMark;
    QRect m_gridArea;
    int m_cellWidth = 0;
    int m_cellHeight = 0;
    const QRect m_cellBounds = QRect(QPoint(0, 0), QPoint(5, 3));
};

} // namespace Velmar

#endif // VELMAR_MYPALETTEFULLWIDGET_H
