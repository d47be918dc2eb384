#ifndef VELMAR_TASKBUTTON_H
#define VELMAR_TASKBUTTON_H

#include <QColor>
#include <QLinearGradient>
#include <QPushButton>

namespace Velmar {

// The rounded grey button of the main widget's task row.
class TaskButton : public QPushButton
{
    Q_OBJECT

public:
    explicit TaskButton(QWidget *parent = nullptr);

    QColor textColor() const { return m_textColor; }

    // The grey value of a colour, weighted as the eye sees it: (11 r + 16 g + 5 b) / 32.
    static int greyValue(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

    // The round face of the help and about buttons, with the text centred in
    // the button shortened by textBottomInset pixels.
    void paintRoundFace(int textBottomInset);
    // Top to bottom grey while enabled, one flat colour while disabled.
    QLinearGradient faceGradient(const QColor &disabledFill) const;

    QColor m_outlineColor;
    QColor m_textColor;
    QColor m_gradientTop;
    QColor m_gradientBottom;
};

} // namespace Velmar

#endif // VELMAR_TASKBUTTON_H
