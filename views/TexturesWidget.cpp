#include "views/TexturesWidget.h"

#include "services/Global.h"
#include "services/Settings.h"
#include "services/TavoCustomStyle.h"
#include "services/Theme.h"
#include "views/TexturesViewport.h"

#include <QScrollBar>

namespace Velmar {

TexturesWidget::TexturesWidget(QWidget *parent)
    : QScrollArea(parent)
{
    Global::registerMetaTypes();
    setObjectName(QStringLiteral("TexturesWidget"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setViewportMargins(s_margin, s_margin, s_margin, s_margin);
    setFrameStyle(QFrame::NoFrame);

    m_viewport = new TexturesViewport(this);
    setWidget(m_viewport);
    m_viewport->setAutoFillBackground(false);
    setAutoFillBackground(true);

    m_style = new TavoCustomStyle;
    m_style->setParent(this);
    verticalScrollBar()->setStyle(m_style);

    m_viewport->prepareForCollection(Settings::uuidOfLastUsedCollection());
}

void TexturesWidget::prepareForCollection(const QUuid &collection)
{
    m_viewport->prepareForCollection(collection);
}

void TexturesWidget::selectedCollectionChanged(QUuid collectionId)
{
    m_viewport->prepareForCollection(collectionId);
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
    const QImage background = Theme::getImageByKey(Theme::KeyOfWidgetMainBackgroundImage, QSize(16, 16));
    QPalette palette = this->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(background.copy(geometry())));
    setPalette(palette);
    m_viewport->recalculateLayout();
    m_viewport->update();
}

void TexturesWidget::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    doResize(QRect(0, 0, width(), height()));
}

void TexturesWidget::mouseMoveEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
}

} // namespace Velmar
