#include "plugin/ImageButton.h"

#include "services/TavoCustomStyle.h"

#include <QEasingCurve>
#include <QGraphicsOpacityEffect>
#include <QLinearGradient>
#include <QPainter>
#include <QPropertyAnimation>
#include <QSequentialAnimationGroup>

namespace Velmar {

ImageButton::ImageButton(const QImage &normal, const QImage &pressed, QWidget *parent)
    : QPushButton(parent)
    , m_pressedImage(pressed)
    , m_normalImage(normal)
{
    setCursor(Qt::PointingHandCursor);
    // The style lives as long as the button that paints through it.
    auto *style = new TavoCustomStyle;
    style->setParent(this);
    setStyle(style);

    if (!normal.isNull()) {
        m_disabledImage = QImage(normal.size(), QImage::Format_ARGB32_Premultiplied);
        m_disabledImage.fill(Qt::transparent);
        QPainter painter(&m_disabledImage);
        painter.setOpacity(0.5);
        painter.drawImage(0, 0, normal);
    }

    m_fadeOutAnimation = new QPropertyAnimation(this);
    m_fadeOutAnimation->setPropertyName("opacity");
    m_fadeOutAnimation->setDuration(800);
    m_fadeOutAnimation->setEasingCurve(QEasingCurve::OutQuart);
    m_fadeOutAnimation->setStartValue(1.0);
    m_fadeOutAnimation->setEndValue(0.2);

    m_fadeInAnimation = new QPropertyAnimation(this);
    m_fadeInAnimation->setPropertyName("opacity");
    m_fadeInAnimation->setDuration(800);
    m_fadeInAnimation->setEasingCurve(QEasingCurve::OutQuart);
    m_fadeInAnimation->setStartValue(0.2);
    m_fadeInAnimation->setEndValue(1.0);

    m_pulseGroup = new QSequentialAnimationGroup(this);
    m_pulseGroup->addAnimation(m_fadeInAnimation);
    m_pulseGroup->addAnimation(m_fadeOutAnimation);
    m_pulseGroup->setLoopCount(-1);
}

void ImageButton::paint(QPainter *painter) const
{
    const int w = width();
    const int h = height();
    painter->setRenderHint(QPainter::Antialiasing, true);
    const QImage &image = !isEnabled() ? m_disabledImage : isDown() ? m_pressedImage : m_normalImage;

    if (isCheckable() && isChecked()) {
        QLinearGradient plate(0, 0, w - 1, h - 1);
        plate.setColorAt(0, QColor(255, 255, 255, 224));
        plate.setColorAt(1, QColor(255, 255, 255, 192));
        painter->setPen(Qt::NoPen);
        painter->setBrush(plate);
        painter->drawRoundedRect(QRect(0, 0, w - 1, h - 1), 4, 4);
    }
    if (!image.isNull()) {
        const int shift = isDown() ? 1 : 0;
        painter->drawImage(QPoint((w - image.width()) / 2 + shift, (h - image.height()) / 2 + shift), image);
    }
}

void ImageButton::startPulsating()
{
    m_pulseWanted = true;
    if (isVisible())
        runPulse();
}

void ImageButton::stopPulsating()
{
    m_pulseWanted = false;
    haltPulse();
}

bool ImageButton::isPulsating() const
{
    return m_pulseGroup->state() == QAbstractAnimation::Running;
}

void ImageButton::setVisible(bool visible)
{
    QWidget::setVisible(visible);
}

// A hidden button does not animate; it picks the pulse up when shown again.
void ImageButton::showEvent(QShowEvent *event)
{
    QPushButton::showEvent(event);
    if (m_pulseWanted)
        runPulse();
}

void ImageButton::hideEvent(QHideEvent *event)
{
    haltPulse();
    QPushButton::hideEvent(event);
}

void ImageButton::runPulse()
{
    if (m_pulseGroup->state() == QAbstractAnimation::Running)
        return;
    auto *effect = new QGraphicsOpacityEffect(this);
    setGraphicsEffect(effect);
    m_fadeInAnimation->setTargetObject(effect);
    m_fadeOutAnimation->setTargetObject(effect);
    m_pulseGroup->start();
}

void ImageButton::haltPulse()
{
    if (m_pulseGroup->state() == QAbstractAnimation::Stopped && !graphicsEffect())
        return;
    m_pulseGroup->stop();
    m_fadeInAnimation->setTargetObject(nullptr);
    m_fadeOutAnimation->setTargetObject(nullptr);
    setGraphicsEffect(nullptr);
    update();
}

void ImageButton::fadeInAnimationStopped()
{
    disconnect(m_fadeInAnimation, SIGNAL(finished()), this, SLOT(fadeInAnimationStopped()));
    setGraphicsEffect(nullptr);
    update();
}

} // namespace Velmar
