#ifndef PATHWARDEN_RADIOCOLUMN_H
#define PATHWARDEN_RADIOCOLUMN_H

#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QRadioButton;

// A column of radio cells of one fixed height, each with a title and a
// tag; one is selected at a time. Titles are shown literally: an "&" in a
// folder name is no shortcut marker; a title too long for the column is
// shortened in the middle, and the whole title is the cell's tool tip. The
// cells sit at fixed places, so their geometry is known without fonts.
class RadioColumn : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CellHeight = 22;
    static constexpr int IntercellSpacing = 4;

    explicit RadioColumn(QWidget *parent = nullptr);

    int numberOfRows() const;
    void addRow();
    void setCell(int row, const QString &title, int tag);
    QRadioButton *cellAt(int row) const;
    QString titleOfCell(int row) const;
    int tagOfCell(int row) const;

    // -1 when none is selected.
    int selectedRow() const;
    int selectedTag() const;
    // Selects row without telling anyone.
    void selectCell(int row);

    // The place of row in a column width pixels wide.
    static QRect cellRect(int row, int width);
    // The height of rows cells with the spacing between them.
    static int heightForRows(int rows);

signals:
    // The user clicked a cell.
    void activated();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void placeCells();
    // Shows row's title as far as the cell's width allows.
    void showTitle(int row);

    QButtonGroup *m_group;
    QList<QRadioButton *> m_cells;
    QStringList m_titles;
};

#endif // PATHWARDEN_RADIOCOLUMN_H
