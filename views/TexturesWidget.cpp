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
    // Decoding the textures of a page nobody sees would slow every switch.
    if (isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide)) {
        m_reloadPending = true;
        m_pendingCollection = collectionId;
        return;
    }
    reload(collectionId);
}

void TexturesWidget::reload(const QUuid &collection)
{
    m_reloadPending = false;
    m_viewport->prepareForCollection(collection);
    m_viewport->recalculateLayout();
    m_viewport->update();
}

void TexturesWidget::setVisible(bool visible)
{
    QScrollArea::setVisible(visible);
    if (visible && m_reloadPending)
        reload(m_pendingCollection);
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

const QImage &TexturesWidget::mainBackground()
{
    if (m_mainBackground.isNull())
        m_mainBackground = Theme::getImageByKey(Theme::KeyOfWidgetMainBackgroundImage, QSize(16, 16));
    return m_mainBackground;
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
