#include "plugin/DropDownButton.h"

#include "services/Settings.h"
#include "services/Theme.h"

#include <QPainter>

namespace Velmar {

const QSize DropDownButton::s_fixedSize(20, 20);

DropDownButton::DropDownButton(QWidget *parent)
    : QPushButton(parent)
{
    setAutoRepeat(false);
    // Sized before the images are asked for, so that a missing one comes as
    // a placeholder of the button's size.
    setFixedSize(s_fixedSize);
    prepareForCollection(Settings::uuidOfLastUsedCollection());
    setArrowDirection(ArrowDirectionDown);
}

void DropDownButton::prepareForCollection(const QUuid &)
{
    m_arrowUpImage = Theme::getImageByKey(Theme::KeyOfDropDownArrowUpImage, size());
    m_arrowDownImage = Theme::getImageByKey(Theme::KeyOfDropDownArrowDownImage, size());
}

void DropDownButton::setArrowDirection(ArrowDirection direction)
{
    if (direction == m_arrowDirection)
        return;
    m_arrowDirection = direction;
    update();
}

void DropDownButton::setBackground(const QImage &background)
{
    // The bar hands it over at every layout; the same part again needs no
    // repaint.
    if (background == m_background)
        return;
    m_background = background;
    update();
}

void DropDownButton::selectedCollectionChanged(QUuid)
{
}

void DropDownButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_background.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_background);
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QImage &arrow = m_arrowDirection == ArrowDirectionDown ? m_arrowDownImage : m_arrowUpImage;
    if (!arrow.isNull())
        painter.drawImage((width() - arrow.width()) / 2, (height() - arrow.height()) / 2, arrow);
}

} // namespace Velmar
