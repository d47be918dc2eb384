#include "views/HuecastWidget.h"

#include "services/Global.h"
#include "services/Settings.h"
#include "services/TavoCustomStyle.h"
#include "services/Theme.h"
#include "views/HuecastViewport.h"

#include <QScrollBar>

namespace Velmar {

HuecastWidget::HuecastWidget(QWidget *parent)
    : QScrollArea(parent)
{
    Global::registerMetaTypes();
    setObjectName(QStringLiteral("HuecastWidget"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setViewportMargins(10, 10, 10, 10);
    setFrameStyle(QFrame::NoFrame);

    m_viewport = new HuecastViewport(this);
    setWidget(m_viewport);
    // The page's own background shows through the content.
    m_viewport->setAutoFillBackground(false);
    setAutoFillBackground(true);

    m_style = new TavoCustomStyle;
    m_style->setParent(this);
    verticalScrollBar()->setStyle(m_style);

    m_viewport->prepareForCollection(Settings::uuidOfLastUsedCollection());
    setFont(Theme::normalFont(Theme::FontSizeNormal));
    m_viewport->setFont(font());
}

void HuecastWidget::prepareForCollection(const QUuid &collection)
{
    m_viewport->prepareForCollection(collection);
}

void HuecastWidget::selectedCollectionChanged(QUuid collectionId)
{
    // A page nobody sees waits until it is shown.
    if (isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide)) {
        m_reloadPending = true;
        m_pendingCollection = collectionId;
        return;
    }
    reload(collectionId);
}

void HuecastWidget::setVisible(bool visible)
{
    QScrollArea::setVisible(visible);
    if (visible && m_reloadPending)
        reload(m_pendingCollection);
}

void HuecastWidget::reload(const QUuid &collection)
{
    m_reloadPending = false;
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
    if (m_mainBackground.isNull())
        m_mainBackground = Theme::getImageByKey(Theme::KeyOfWidgetMainBackgroundImage, QSize(16, 16));
    QPalette palette = this->palette();
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(m_mainBackground.copy(geometry().translated(10, 10))));
    setPalette(palette);
    m_viewport->recalculateLayout();
}

void HuecastWidget::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    doResize(QRect(0, 0, width(), height()));
}

void HuecastWidget::mouseMoveEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
}

} // namespace Velmar
