#include "views/ScrollingPage.h"

#include "services/Global.h"
#include "services/TavoCustomStyle.h"
#include "services/Theme.h"

#include <QScrollBar>

namespace Velmar {

ScrollingPage::ScrollingPage(const QString &objectName, int margin, QWidget *parent)
    : QScrollArea(parent)
{
    Global::registerMetaTypes();
    setObjectName(objectName);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setViewportMargins(margin, margin, margin, margin);
    setFrameStyle(QFrame::NoFrame);
    setAutoFillBackground(true);

    m_style = new TavoCustomStyle;
    m_style->setParent(this);
    verticalScrollBar()->setStyle(m_style);
}

void ScrollingPage::setContent(QWidget *content)
{
    setWidget(content);
    content->setAutoFillBackground(false);
}

const QImage &ScrollingPage::mainBackground()
{
    if (m_mainBackground.isNull())
        m_mainBackground = Theme::getImageByKey(Theme::KeyOfWidgetMainBackgroundImage, QSize(16, 16));
    return m_mainBackground;
}

void ScrollingPage::selectedCollectionChanged(QUuid collectionId)
{
    // Reloading a page nobody sees would slow every switch.
    if (isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide)) {
        m_reloadPending = true;
        m_pendingCollection = collectionId;
        return;
    }
    m_reloadPending = false;
    reload(collectionId);
}

void ScrollingPage::setVisible(bool visible)
{
    QScrollArea::setVisible(visible);
    if (visible && m_reloadPending) {
        m_reloadPending = false;
        reload(m_pendingCollection);
    }
}

void ScrollingPage::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    doResize(QRect(0, 0, width(), height()));
}

void ScrollingPage::mouseMoveEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
}

} // namespace Velmar
