#include "plugin/MyPaletteFullWidget.h"

#include "database/DBManager.h"
#include "plugin/ImageButton.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/TavoCustomStyle.h"
#include "services/Theme.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QSlider>

namespace Velmar {

namespace {

const QColor markOutline(176, 176, 176);
const int defaultGray = 176;

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

} // namespace

MyPaletteFullWidget::Geometry MyPaletteFullWidget::geometryFor(const QSize &size, int barHeight,
                                                          const QSize &backButtonSize, int sliderHeight)
{
    const int w = size.width();
    const int h = size.height();
    Geometry g;
    g.bar = QRect(0, 0, w, barHeight);
    g.backButton = QPoint((barHeight - backButtonSize.height()) / 2, (barHeight - backButtonSize.height()) / 2);
    const int r = (barHeight - 12) / 2;
    g.lightMark = QRect(w - 8 * r - 128, r, 12, 12);
    g.darkMark = QRect(w - 5 * r, r, 12, 12);
    g.slider = QRect(w - 7 * r - 117, (barHeight - sliderHeight) / 2, 128, sliderHeight);
    g.cellWidth = (w - 128) / 6;
    g.cellHeight = int(g.cellWidth / 1.8);
    const int gridHeight = 4 * g.cellHeight;
    // Centred in the space from the bar's last row to the bottom.
    g.gridArea = QRect(64, (barHeight - 1) + ((h - barHeight + 1) - gridHeight) / 2, 6 * g.cellWidth, gridHeight);
    return g;
}

QPoint MyPaletteFullWidget::cellAt(const QPoint &position, const QRect &gridArea, int cellWidth, int cellHeight)
{
    // A widget too narrow for cells has none to hit (and nothing to divide by).
    if (cellWidth <= 0 || cellHeight <= 0 || !gridArea.contains(position))
        return QPoint(-1, -1);
    return QPoint((position.x() - gridArea.x()) / cellWidth, (position.y() - gridArea.y()) / cellHeight);
}

MyPaletteFullWidget::MyPaletteFullWidget(QWidget *parent)
    : QWidget(parent)
    , m_swatchColor(Qt::transparent)
{
    Global::registerMetaTypes();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setFont(Theme::normalFont(Theme::FontSizeLarger));
    m_barImage = Theme::getImageByKey(Theme::KeyOfWidgetBarBackgroundImage, QSize(30, 30));
    const QImage back = Theme::getImageByKey(Theme::KeyOfMyPaletteFullBackButtonImage, QSize(16, 16));
    m_backButton = new ImageButton(back, back, this);
    m_backButton->setFixedSize(back.size() + QSize(2, 2));

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(0, 255);
    // Light at the left, dark at the right, as the marks beside it show.
    m_slider->setInvertedAppearance(true);
    m_slider->setPageStep(10);
    const int gray = Settings::myPaletteFullBackgroundGray();
    m_slider->setValue(gray >= 0 && gray <= 255 ? gray : defaultGray);

    m_sliderStyle = new TavoCustomStyle;
    m_sliderStyle->setParent(this);
    m_sliderStyle->groove = Theme::getImageByKey(Theme::KeyOfMyPaletteFullSliderBackgroundImage, QSize(21, 7));
    m_sliderStyle->thumb = Theme::getImageByKey(Theme::KeyOfMyPaletteFullSliderThumbImage, QSize(21, 7));
    m_slider->setStyle(m_sliderStyle);

    update();
    const bool connected =
        connect(m_slider, SIGNAL(valueChanged(int)), this, SLOT(backgroundColorSliderValueChanged(int)))
        && connect(m_backButton, SIGNAL(clicked()), this, SLOT(backClicked()));
    Q_ASSERT(connected);
    Q_UNUSED(connected)
}

void MyPaletteFullWidget::prepareForCollection(const QUuid &collection)
{
    Q_UNUSED(collection)
}

void MyPaletteFullWidget::selectedCollectionChanged(QUuid collectionId)
{
    Q_UNUSED(collectionId)
    update();
}

void MyPaletteFullWidget::backClicked()
{
    m_swatchColor = QColor(Qt::transparent);
    emit backButtonClicked();
}

void MyPaletteFullWidget::backgroundColorSliderValueChanged(int value)
{
    Settings::setMyPaletteFullBackgroundGray(value);
    update();
}

QColor MyPaletteFullWidget::chipColour(const QPoint &coord)
{
    const DB::ItemIndex index = Settings::myPaletteEntry(coord);
    DB::ColorEntry entry;
    if (index.entryId < 1 || DBManager::GetColorEntryById(index.collection, index.entryId, entry) != 0)
        return QColor();
    return QColor(entry.red, entry.green, entry.blue, 255);
}

void MyPaletteFullWidget::mousePressEvent(QMouseEvent *event)
{
    if (m_swatchColor == QColor(Qt::transparent)) {
        const QPoint coord = cellAt(event->position().toPoint(), m_gridArea, m_cellWidth, m_cellHeight);
        if (!m_cellBounds.contains(coord))
            return;
        const QColor colour = chipColour(coord);
        if (!colour.isValid())
            return;
        m_swatchColor = colour;
        update();
        return;
    }
    m_swatchColor = QColor(Qt::transparent);
    update();
}

void MyPaletteFullWidget::mouseReleaseEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
}

void MyPaletteFullWidget::mouseMoveEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
}

void MyPaletteFullWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int v = m_slider->value();
    painter.fillRect(rect(), QColor(v, v, v));

    const QRegion area = event->region().isEmpty() ? QRegion(rect()) : event->region();
    if (area.intersects(m_barRect) && m_barImage.width() > 0) {
        for (int x = 0; x < width(); x += m_barImage.width())
            painter.drawImage(x, 0, m_barImage);
    }

    painter.setPen(QPen(markOutline, 1));
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRect(m_lightMark);
    painter.setBrush(QColor(0, 0, 0));
    painter.drawRect(m_darkMark);

    if (m_swatchColor != QColor(Qt::transparent)) {
        painter.fillRect(m_gridArea, m_swatchColor);
        return;
    }

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    const QRect g = m_gridArea;
    painter.setPen(QPen(withAlpha(markOutline, 24), 1));
    painter.drawRoundedRect(QRect(g.x() - 2, g.y() - 2, g.width() + 5, g.height() + 5), 3, 3);
    painter.setPen(QPen(withAlpha(markOutline, 64), 1));
    painter.drawRoundedRect(QRect(g.x() - 1, g.y() - 1, g.width() + 3, g.height() + 3), 2, 2);
    painter.setPen(QPen(withAlpha(markOutline, 192), 1));
    painter.drawRect(g.adjusted(0, 0, 1, 1));

    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(markOutline, 1));
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            const QColor colour = chipColour(QPoint(column, row));
            painter.setBrush(colour.isValid() ? colour : QColor(255, 255, 255));
            painter.drawRect(QRect(g.x() + column * m_cellWidth, g.y() + row * m_cellHeight, m_cellWidth, m_cellHeight));
        }
    }
}

void MyPaletteFullWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const Geometry g = geometryFor(size(), m_barImage.height(), m_backButton->size(), m_slider->minimumSizeHint().height());
    m_barRect = g.bar;
    m_backButton->move(g.backButton);
    m_lightMark = g.lightMark;
    m_darkMark = g.darkMark;
    m_slider->setGeometry(g.slider);
    m_gridArea = g.gridArea;
    m_cellWidth = g.cellWidth;
    m_cellHeight = g.cellHeight;
}

} // namespace Velmar
