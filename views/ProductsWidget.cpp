#include "views/ProductsWidget.h"

#include "database/ColorPage.h"
#include "database/DBManager.h"
#include "services/CollectionSettings.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/TavoCustomStyle.h"
#include "services/Theme.h"

#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>

namespace Velmar {

ProductsWidget::ProductsWidget(QWidget *parent)
    : QWidget(parent)
{
    Global::registerMetaTypes();
    setObjectName(QStringLiteral("ProductsWidget"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    m_caption = new QLabel(this);
    m_list = new QListWidget(this);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setViewMode(QListView::ListMode);
    // Names run down in columns and the list scrolls sideways.
    m_list->setFlow(QListView::TopToBottom);
    m_list->setWrapping(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);

    m_style = new TavoCustomStyle;
    m_style->setParent(this);
    m_list->horizontalScrollBar()->setStyle(m_style);

    setFont(Theme::normalFont(Theme::FontSizeLargest));
    QPalette palette = this->palette();
    palette.setColor(QPalette::All, QPalette::WindowText, QColor(228, 228, 228));
    setPalette(palette);
}

void ProductsWidget::prepareForCollection(const QUuid &collection)
{
    Q_UNUSED(collection)
}

void ProductsWidget::selectedCollectionChanged(QUuid collectionId)
{
    Q_UNUSED(collectionId) // the refresh reads the last used collection
    if (isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide)) {
        m_refreshPending = true;
        return;
    }
    selectedColorChanged();
}

void ProductsWidget::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    // Shown inside a visible window, the show event has refreshed already.
    if (visible && m_refreshPending)
        selectedColorChanged();
}

void ProductsWidget::selectedColorChanged()
{
    m_refreshPending = false;
    setUpdatesEnabled(false);
    m_caption->setText(QStringLiteral(" "));
    m_list->clear();

    const QUuid current = Settings::uuidOfLastUsedCollection();
    DB::ColorPage card;
    const int row = Settings::rowIndex(current);
    if (DBManager::GetColorPageByIndex(current, Settings::pageIndex(current), card) == 0 && row >= 1
        && row <= card.entries.size()) {
        const DB::ColorEntry &entry = card.entries.at(row - 1);
        m_caption->setText(entry.code);
        QVector<QString> names;
        if (CollectionSettings::productGroupMode(current) == 1)
            DBManager::GetProductsFor(current, entry.id, names);
        else
            DBManager::GetProductGroupsFor(current, entry.id, names);
        for (const QString &name : qAsConst(names)) {
            auto *item = new QListWidgetItem(name, m_list);
            // Columns sit as tight as their widest name; keep them apart.
            item->setSizeHint(m_list->sizeHintForIndex(m_list->indexFromItem(item)) + QSize(s_columnGap, 0));
        }
    }
    setUpdatesEnabled(true);
}

QRect ProductsWidget::captionRect(const QRect &rect, int lineHeight)
{
    const QRect inner = rect.adjusted(8, 8, -8, -8);
    return QRect(QPoint(inner.left(), inner.top()), QPoint(inner.right(), inner.top() + lineHeight - 1));
}

QRect ProductsWidget::listRect(const QRect &rect, int lineHeight)
{
    const QRect inner = rect.adjusted(8, 8, -8, -8);
    return QRect(QPoint(inner.left(), captionRect(rect, lineHeight).bottom() + 8), inner.bottomRight());
}

void ProductsWidget::doResize(const QRect &rect)
{
    const int lineHeight = QFontMetrics(font()).size(0, QStringLiteral("Ág")).height();
    m_caption->setGeometry(captionRect(rect, lineHeight));
    m_list->setGeometry(listRect(rect, lineHeight));

    // The main background under the list, taken where the list lies in the
    // main widget.
    const QRect under = m_list->geometry().translated(parentWidget() ? pos() : QPoint());
    if (m_mainBackground.isNull())
        m_mainBackground = Theme::getImageByKey(Theme::KeyOfWidgetMainBackgroundImage, QSize(16, 16));
    QPalette palette = m_list->palette();
    palette.setBrush(QPalette::All, QPalette::Base, QBrush(m_mainBackground.copy(under)));
    palette.setColor(QPalette::All, QPalette::Text, QColor(189, 189, 189));
    m_list->setPalette(palette);
}

void ProductsWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    doResize(QRect(0, 0, width(), height()));
}

void ProductsWidget::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    selectedColorChanged();
}

} // namespace Velmar
