#ifndef VELMAR_IMAGEBUTTON_H
#define VELMAR_IMAGEBUTTON_H

#include <QImage>
#include <QPushButton>

class QPainter;
class QPropertyAnimation;
class QSequentialAnimationGroup;

namespace Velmar {

// An icon button drawn from images: the normal one, the one shown while the
// button is down, and a faded copy of the normal one while disabled. It can
// pulse its opacity to draw the user's eye.
class ImageButton : public QPushButton
{
    Q_OBJECT

public:
    ImageButton(const QImage &normal, const QImage &pressed, QWidget *parent = nullptr);

    // Called by the custom style when it draws this button.
    void paint(QPainter *painter) const;

    void startPulsating();
    void stopPulsating();
    bool isPulsating() const;

    QImage normalImage() const { return m_normalImage; }
    QImage disabledImage() const { return m_disabledImage; }

public slots:
    void setVisible(bool visible) override;

protected slots:
    void fadeInAnimationStopped();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void runPulse();
    void haltPulse();

    QImage m_pressedImage;
    QImage m_normalImage;
    QImage m_disabledImage;
    QPropertyAnimation *m_fadeOutAnimation = nullptr;
    QPropertyAnimation *m_fadeInAnimation = nullptr;
    QSequentialAnimationGroup *m_pulseGroup = nullptr;
    // Asked for by the owner; the animation itself runs only while shown.
    bool m_pulseWanted = false;
};

} // namespace Velmar

#endif // VELMAR_IMAGEBUTTON_H
