#ifndef VELMAR_ROLLBUTTON_H
#define VELMAR_ROLLBUTTON_H

#include "inc/VelmarTypes.h"

#include <QImage>
#include <QPushButton>
#include <QSize>
#include <QUuid>

namespace Velmar {

// One of the two arrow buttons beside the search field that roll the card
// deck while held: drawn from the theme's images, sized to the normal one.
class RollButton : public QPushButton
{
    Q_OBJECT

public:
    // The size a roll image is asked for, so that a missing one gives a
    // small placeholder rather than one of the button's default geometry.
    static const QSize s_imageRequestSize;

    RollButton(Direction direction, QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);

    Direction direction() const { return m_direction; }
    QImage normalImage() const { return m_normalImage; }
    QImage pressedImage() const { return m_pressedImage; }

public slots:
    // The images come from the system-wide theme, so a switch changes nothing.
    void selectedCollectionChanged(QUuid collectionId);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Direction m_direction;
    QImage m_pressedImage;
    QImage m_normalImage;
};

} // namespace Velmar

#endif // VELMAR_ROLLBUTTON_H
