#ifndef VELMAR_MYPALETTEWIDGET_H
#define VELMAR_MYPALETTEWIDGET_H

#include "database/ColorEntry.h"
#include "database/ItemIndex.h"
#include "inc/VelmarTypes.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QUuid>
#include <QVector>
#include <QWidget>

class QLineEdit;
class QMessageBox;
class QMimeData;

namespace Velmar {

class ImageButton;

// The user's own palette: six by four cells, each a reference to a chip of
// any installed collection. The cells live in the per-user settings and are
// written through at every change; colour and name are read again from the
// collection whenever the palette reloads. Cells are addressed with x the
// column (0 to 5) and y the row (0 to 3); (-1, -1) is no cell.
class MyPaletteWidget : public QWidget
{
    Q_OBJECT

public:
    // One cell of the palette.
    class ColorEntry
    {
    public:
        QRect rect() const { return m_rect; }
        DB::ItemIndex itemIndex() const { return m_itemIndex; }
        QColor color() const { return m_color; }
        QString text() const { return m_text; }
        bool isFilled() const { return m_itemIndex.entryId > 0; }

        // "<code> - <name>" with the chip name the collection shows first,
        // or the code alone when that name is empty.
        static QString buildEntryName(const DB::ColorEntry &entry);

    private:
        friend class MyPaletteWidget;
        void fill(const DB::ItemIndex &index, const DB::ColorEntry &entry);
        void empty();

        QRect m_rect;
        DB::ItemIndex m_itemIndex;
        QColor m_color;
        QString m_text;
    };

    // Where everything lies at a given size; pure, so that it can be checked
    // without fonts or images.
    struct Geometry {
        QRect bar;
        QRect zoomButton;
        QRect eraserButton;
        QRect trashButton;
        QRect gridButton;
        QRect description;
        QRect cells[4][6]; // [row][column]
        QRect gridArea;
    };
    // buttonWidths: zoom, eraser, trash, grid; all buttons are buttonHeight high.
    static Geometry geometryFor(const QSize &size, int barHeight, const int buttonWidths[4], int buttonHeight,
                           int descriptionHeight);

    explicit MyPaletteWidget(QWidget *parent = nullptr);

    unsigned short myPaletteRowCount() const { return 4; }
    unsigned short myPaletteColumnCount() const { return 6; }
    bool myPaletteIsEmpty() const;
    unsigned short myPaletteSelectedCount() const;
    QPoint myPaletteSelectedItemCoordsAt(unsigned short index) const;
    QColor myPaletteColorAtCoord(const QPoint &coord) const;
    QString myPaletteTooltipAtCoord(const QPoint &coord) const;
    QString myPaletteColorCodeAtCoord(const QPoint &coord) const;
    QString myPaletteNameAtCoord(const QPoint &coord) const;
    QString myPaletteNote() const;
    QPoint pointToCoord(const QPoint &pixel) const;

    // The cell at coord; an empty cell for a coordinate outside the bounds.
    ColorEntry cellAt(const QPoint &coord) const;
    QRect gridArea() const { return m_gridArea; }
    QPoint dropTarget() const { return m_dropTarget; }

    void prepareForCollection(const QUuid &collection);
    void updateTaskButtonState();
    // Empties every cell (and its stored reference) and/or the description;
    // the selection stays.
    void clearPalette(bool entries, bool description);

    ImageButton *zoomButton() const { return m_zoomButton; }
    ImageButton *eraserButton() const { return m_eraserButton; }
    ImageButton *trashButton() const { return m_trashButton; }
    ImageButton *gridButton() const { return m_gridButton; }
    QLineEdit *descriptionField() const { return m_descriptionField; }
    QMessageBox *clearQuestion() const { return m_clearQuestion; }

signals:
    void zoomMyPaletteClicked();
    void myPaletteChanged();
    void myPaletteSelectionChanged();

public slots:
    void selectedCollectionChanged(QUuid collectionId);
    void savePaletteTo(PaletteFileFormat fileFormat, const QString &path);
    void loadPaletteFrom(PaletteFileFormat expectedFileFormat, const QString &path);

private slots:
    void zoomClicked();
    void eraseClicked();
    void clearClicked();
    void gridClicked(bool checked);
    void clearPaletteQuestionFinished(int button);
    void paletteDescriptionEditFinished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    bool inBounds(const QPoint &coord) const { return m_cellBounds.contains(coord); }
    ColorEntry &cell(const QPoint &coord) { return m_cells[coord.y()][coord.x()]; }
    const ColorEntry &cell(const QPoint &coord) const { return m_cells[coord.y()][coord.x()]; }
    bool acceptsDrag(const QMimeData *data) const;
    // The cell's rectangle grown by 3 pixels, or an empty one for no cell.
    QRect dropMarkRect(const QPoint &coord) const;
    void applyDescriptionBackground();
    void updateDescriptionFont();

    QImage m_barImage;
    QRect m_barRect;
    ImageButton *m_zoomButton = nullptr;
    ImageButton *m_eraserButton = nullptr;
    ImageButton *m_trashButton = nullptr;
    ImageButton *m_gridButton = nullptr;
    QLineEdit *m_descriptionField = nullptr;
    QMessageBox *m_clearQuestion = nullptr;
    ColorEntry m_cells[4][6];
    QRect m_gridArea;
    QList<QPoint> m_selection;
    const QRect m_cellBounds = QRect(QPoint(0, 0), QPoint(5, 3));
    QPoint m_dropTarget = QPoint(-1, -1);
    QPoint m_pressPosition;
};

} // namespace Velmar

#endif // VELMAR_MYPALETTEWIDGET_H
