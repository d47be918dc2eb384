#include "views/HuecastWidget.h"

#include "services/Settings.h"
#include "services/Theme.h"
#include "views/HuecastViewport.h"


namespace Velmar {

HuecastWidget::HuecastWidget(QWidget *parent)
    : ScrollingPage(QStringLiteral("HuecastWidget"), 10, parent)
{
    m_viewport = new HuecastViewport(this);
    setContent(m_viewport);
    m_viewport->prepareForCollection(Settings::uuidOfLastUsedCollection());
    setFont(Theme::normalFont(Theme::FontSizeNormal));
    m_viewport->setFont(font());
}

void HuecastWidget::prepareForCollection(const QUuid &collection)
{
    m_viewport->prepareForCollection(collection);
}

void HuecastWidget::reload(const QUuid &collection)
{
    m_viewport->prepareForCollection(collection);
    m_viewport->recalculateLayout();
    // Another collection with content of the same height changes no size.
    m_viewport->update();
}

void HuecastWidget::doResize(const QRect &rect)
{
    Q_UNUSED(rect)
    m_viewport->setMinimumSize(maximumViewportSize());
    // The main background under the scrolled area, which starts inside the
    // page's margins.
    QPalette palette = this->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(mainBackground().copy(geometry().translated(10, 10))));
    setPalette(palette);
    m_viewport->recalculateLayout();
}

} // namespace Velmar
