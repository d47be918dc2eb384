#include "views/RollButton.h"

#include "services/Settings.h"
#include "services/Theme.h"

#include <QPainter>

namespace Velmar {

const QSize RollButton::s_imageRequestSize(16, 20);

RollButton::RollButton(Direction direction, QWidget *parent)
    : QPushButton(parent)
    , m_direction(direction)
{
    setAutoRepeat(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    prepareForCollection(Settings::uuidOfLastUsedCollection());
    setFixedSize(m_normalImage.size());
}

void RollButton::prepareForCollection(const QUuid &collection)
{
    Q_UNUSED(collection)
    const bool backward = m_direction == DirectionBackward;
    m_pressedImage = Theme::getImageByKey(backward ? Theme::KeyOfRollBackwardDownImage : Theme::KeyOfRollForwardDownImage,
                                          s_imageRequestSize);
    m_normalImage = Theme::getImageByKey(backward ? Theme::KeyOfRollBackwardNormalImage
                                                  : Theme::KeyOfRollForwardNormalImage,
                                         s_imageRequestSize);
}

void RollButton::selectedCollectionChanged(QUuid collectionId)
{
    Q_UNUSED(collectionId)
}

void RollButton::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    const QImage &image = isDown() ? m_pressedImage : m_normalImage;
    if (image.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint((width() - image.width()) / 2, (height() - image.height()) / 2), image);
}

} // namespace Velmar
