#include "views/TexturesWidget.h"

#include "services/Settings.h"
#include "views/TexturesViewport.h"


namespace Velmar {

TexturesWidget::TexturesWidget(QWidget *parent)
    : ScrollingPage(QStringLiteral("TexturesWidget"), s_margin, parent)
{
    m_viewport = new TexturesViewport(this);
    setContent(m_viewport);
    m_viewport->prepareForCollection(Settings::uuidOfLastUsedCollection());
}

void TexturesWidget::prepareForCollection(const QUuid &collection)
{
    m_viewport->prepareForCollection(collection);
}

void TexturesWidget::reload(const QUuid &collection)
{
    m_viewport->prepareForCollection(collection);
    m_viewport->recalculateLayout();
    m_viewport->update();
}

void TexturesWidget::selectedPageChanged()
{
    m_viewport->recalculateLayout();
    m_viewport->update();
}

void TexturesWidget::selectedRowChanged()
{
    // The tint is read at each paint.
    m_viewport->update();
}

void TexturesWidget::doResize(const QRect &rect)
{
    Q_UNUSED(rect)
    m_viewport->setMinimumSize(maximumViewportSize());
    QPalette palette = this->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(mainBackground().copy(geometry())));
    setPalette(palette);
    m_viewport->recalculateLayout();
    m_viewport->update();
}

} // namespace Velmar
