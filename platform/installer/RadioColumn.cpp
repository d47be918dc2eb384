#include "RadioColumn.h"

#include <QButtonGroup>
#include <QEvent>
#include <QFontMetrics>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>

RadioColumn::RadioColumn(QWidget *parent)
    : QWidget(parent)
    , m_group(new QButtonGroup(this))
{
    m_group->setExclusive(true);
    connect(m_group, &QButtonGroup::buttonClicked, this, &RadioColumn::activated);
}

int RadioColumn::numberOfRows() const
{
    return int(m_cells.size());
}

void RadioColumn::addRow()
{
    auto *cell = new QRadioButton(this);
    m_cells.append(cell);
    m_titles.append(QString());
    m_group->addButton(cell, -1);
    placeCells();
    cell->show();
}

void RadioColumn::setCell(int row, const QString &title, int tag)
{
    if (row < 0 || row >= numberOfRows())
        return;
    QRadioButton *cell = m_cells.at(row);
    m_titles[row] = title;
    cell->setToolTip(title);
    showTitle(row);
    m_group->setId(cell, tag);
}

QRadioButton *RadioColumn::cellAt(int row) const
{
    return row >= 0 && row < numberOfRows() ? m_cells.at(row) : nullptr;
}

QString RadioColumn::titleOfCell(int row) const
{
    return row >= 0 && row < numberOfRows() ? m_titles.at(row) : QString();
}

int RadioColumn::tagOfCell(int row) const
{
    QRadioButton *cell = cellAt(row);
    return cell ? m_group->id(cell) : -1;
}

int RadioColumn::selectedRow() const
{
    return int(m_cells.indexOf(static_cast<QRadioButton *>(m_group->checkedButton())));
}

int RadioColumn::selectedTag() const
{
    return m_group->checkedButton() ? m_group->checkedId() : -1;
}

void RadioColumn::selectCell(int row)
{
    if (QRadioButton *cell = cellAt(row))
        cell->setChecked(true);
}

QRect RadioColumn::cellRect(int row, int width)
{
    return QRect(0, row * (CellHeight + IntercellSpacing), width, CellHeight);
}

int RadioColumn::heightForRows(int rows)
{
    if (rows <= 0)
        return 0;
    return (rows - 1) * IntercellSpacing + rows * CellHeight;
}

void RadioColumn::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeCells();
}

void RadioColumn::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        placeCells();
}

void RadioColumn::placeCells()
{
    for (int row = 0; row < numberOfRows(); ++row) {
        m_cells.at(row)->setGeometry(cellRect(row, width()));
        showTitle(row);
    }
}

void RadioColumn::showTitle(int row)
{
    QRadioButton *cell = m_cells.at(row);
    // The room the indicator and its spacing leave for the text.
    QStyleOptionButton option;
    option.initFrom(cell);
    // Styles add the spacing before the text only when there is a text.
    option.text = QStringLiteral("x");
    const QFontMetrics metrics = cell->fontMetrics();
    const int frame =
        cell->style()->sizeFromContents(QStyle::CT_RadioButton, &option, QSize(0, metrics.height()), cell).width();
    // The ends of a folder tell installations apart, so the middle goes.
    // The button measures its text in whole pixels, which can come out a
    // pixel wider than the elided width: narrow the room until it fits.
    int room = qMax(0, cell->width() - frame);
    for (;;) {
        QString shown = metrics.elidedText(m_titles.at(row), Qt::ElideMiddle, room);
        // A button takes "&" as the mark of its shortcut; "&&" shows one "&".
        shown.replace(QLatin1Char('&'), QLatin1String("&&"));
        if (cell->text() != shown)
            cell->setText(shown);
        const int excess = cell->sizeHint().width() - cell->width();
        if (excess <= 0 || room == 0)
            break;
        room = qMax(0, room - excess);
    }
}
