#ifndef VELMAR_DROPDOWNBUTTON_H
#define VELMAR_DROPDOWNBUTTON_H

#include <QImage>
#include <QPushButton>
#include <QUuid>

namespace Velmar {

// The small arrow button of the collection chooser: an arrow down while the
// list of collections is closed, up while it is open, on the part of the
// bar's background that lies behind it.
class DropDownButton : public QPushButton
{
    Q_OBJECT

public:
    enum ArrowDirection {
        ArrowDirectionUp = 0,  // the list is open
        ArrowDirectionDown = 1 // the list is closed
    };
    Q_ENUM(ArrowDirection)

    static const QSize s_fixedSize;

    explicit DropDownButton(QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);

    void setArrowDirection(ArrowDirection direction);
    ArrowDirection arrowDirection() const { return m_arrowDirection; }

    void setBackground(const QImage &background);
    QImage background() const { return m_background; }

public slots:
    void selectedCollectionChanged(QUuid collectionId);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_background;
    QImage m_arrowDownImage;
    QImage m_arrowUpImage;
    ArrowDirection m_arrowDirection = ArrowDirectionDown;
};

} // namespace Velmar

#endif // VELMAR_DROPDOWNBUTTON_H
