#ifndef HUEFORM_PAINTCOUNTER_H
#define HUEFORM_PAINTCOUNTER_H

#include <QObject>
#include <QPointer>

// Counts the paint events an object receives while the counter lives: a
// widget's own, or every widget's when it watches the application. A
// render() into an image always paints, so a test that must see a real
// repaint counts them.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QObject *watched);
    ~PaintCounter() override;

    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QObject> m_watched;
};

#endif // HUEFORM_PAINTCOUNTER_H
