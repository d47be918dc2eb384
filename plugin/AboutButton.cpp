#include "plugin/AboutButton.h"

#include "services/Theme.h"

namespace Velmar {

AboutButton::AboutButton(QWidget *parent)
    : TaskButton(parent)
{
    m_textColor = QColor(0, 129, 183);
    setFont(Theme::boldFont(Theme::FontSizeLargest));
    setText(QString(QChar(0x2026)));
}

void AboutButton::paintEvent(QPaintEvent *)
{
    // The ellipsis sits on the base line; raising the text box puts it at mid-height.
    paintRoundFace(8);
}

} // namespace Velmar
