#include "plugin/HelpButton.h"

#include "services/Theme.h"

namespace Velmar {

HelpButton::HelpButton(QWidget *parent)
    : TaskButton(parent)
{
    m_textColor = QColor(0, 129, 183);
    setFont(Theme::boldFont(Theme::FontSizeLargest));
    setText(QStringLiteral("?"));
}

void HelpButton::paintEvent(QPaintEvent *)
{
    paintRoundFace(0);
}

} // namespace Velmar
