#include "views/TabBarWidget.h"

#include "services/CollectionSettings.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QAction>
#include <QDebug>
#include <QFontMetrics>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>

namespace Velmar {

QVector<QRect> TabBarWidget::tabRectsFor(const QVector<int> &captionWidths, int height)
{
    QVector<QRect> rects;
    int x1 = 1;
    for (int width : captionWidths) {
        const int x2 = x1 + width + 31;
        rects.append(QRect(QPoint(x1, 0), QPoint(x2, height - 1)));
        x1 = x2 + 1;
    }
    return rects;
}

TabBarWidget::TabBarWidget(QWidget *parent)
    : QWidget(parent)
{
    Global::registerMetaTypes();
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    prepareForCollection(Settings::uuidOfLastUsedCollection());
    setFont(Theme::normalFont(Theme::FontSizeLarger));

    const Qt::Key keys[] = {Qt::Key_1, Qt::Key_2, Qt::Key_3, Qt::Key_4};
    const char *const handlers[] = {SLOT(switchToTab1()), SLOT(switchToTab2()), SLOT(switchToTab3()), SLOT(switchToTab4())};
    for (int i = 0; i < 4; ++i) {
        auto *action = new QAction(this);
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T, Qt::CTRL | keys[i]));
        if (!connect(action, SIGNAL(triggered()), this, handlers[i]))
            qDebug() << "TabBarWidget: a shortcut could not be connected";
        addAction(action);
    }
}

void TabBarWidget::prepareForCollection(const QUuid &collection)
{
    m_background = Theme::getImageByKey(Theme::KeyOfWidgetBarBackgroundImage, QSize(30, 30));

    const QPair<TabBarPage, QString> captions[] = {
        {TabBarPageTextures, LocalizerKeys::KeyOfTabBarTexturesCaption},
        {TabBarPageHuecast, LocalizerKeys::KeyOfTabBarHuecastCaption},
        {TabBarPageProducts, LocalizerKeys::KeyOfTabBarProductsCaption},
        {TabBarPageColorSchemes, LocalizerKeys::KeyOfTabBarColorSchemesCaption},
    };
    for (const auto &caption : captions)
        m_tabs.insert(caption.first, std::make_tuple(QRect(), Localizer::getTextByKey(collection, caption.second)));

    QVector<TabBarPage> order = CollectionSettings::tabBarPagesOrder(collection);
    if (order.isEmpty())
        order = {TabBarPageColorSchemes, TabBarPageProducts, TabBarPageHuecast, TabBarPageTextures};
    const TabBarPages available = CollectionSettings::availableTabBarPages(collection);
    m_shownPages.clear();
    for (TabBarPage page : qAsConst(order)) {
        if (available.testFlag(page))
            m_shownPages.append(page);
    }
    update();
}

void TabBarWidget::selectedCollectionChanged(QUuid collectionId)
{
    prepareForCollection(collectionId);
}

QRect TabBarWidget::tabRect(TabBarPage page) const
{
    return std::get<0>(m_tabs.value(page));
}

QString TabBarWidget::caption(TabBarPage page) const
{
    return std::get<1>(m_tabs.value(page));
}

void TabBarWidget::switchToTab1()
{
    switchToNthTab(1);
}

void TabBarWidget::switchToTab2()
{
    switchToNthTab(2);
}

void TabBarWidget::switchToTab3()
{
    switchToNthTab(3);
}

void TabBarWidget::switchToTab4()
{
    switchToNthTab(4);
}

void TabBarWidget::switchToNthTab(int n)
{
    if (!isVisible() || n < 1 || n > m_shownPages.size())
        return;
    const TabBarPage page = m_shownPages.at(n - 1);
    if (page != Settings::tabPage(Settings::uuidOfLastUsedCollection()))
        emit tabPageSelected(page);
}

TabBarPage TabBarWidget::pageAt(const QPoint &position) const
{
    for (TabBarPage page : m_shownPages) {
        if (tabRect(page).contains(position))
            return page;
    }
    return TabBarPageNone;
}

void TabBarWidget::mousePressEvent(QMouseEvent *event)
{
    // The current page too: the main widget ignores a page it already shows.
    const TabBarPage page = pageAt(event->position().toPoint());
    if (page != TabBarPageNone)
        emit tabPageSelected(page);
}

void TabBarWidget::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(pageAt(event->position().toPoint()) != TabBarPageNone ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TabBarWidget::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event)
    const int w = width();
    const int h = height();
    QPainter painter(this);
    // A placeholder is never empty, so the tiling always advances.
    const int step = qMax(1, m_background.width());
    for (int x = 0; x < w; x += step)
        painter.drawImage(x, 0, m_background);

    const QColor separator(188, 188, 188);
    painter.setPen(separator);
    painter.drawLine(0, 0, 0, h);

    const QFontMetrics metrics(font());
    QVector<int> widths;
    for (TabBarPage page : qAsConst(m_shownPages))
        widths.append(metrics.size(Qt::TextSingleLine, caption(page)).width());
    const QVector<QRect> rects = tabRectsFor(widths, h);

    const TabBarPage current = Settings::tabPage(Settings::uuidOfLastUsedCollection());
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (int i = 0; i < m_shownPages.size(); ++i) {
        const TabBarPage page = m_shownPages.at(i);
        const QRect tab = rects.at(i);
        const QRect text(QPoint(tab.left(), tab.top()), QPoint(tab.right() - 1, tab.bottom()));
        if (page == current) {
            painter.fillRect(text, QColor(255, 255, 255, 178));
            painter.setPen(QColor(55, 55, 55));
        } else {
            painter.setPen(QColor(128, 128, 128));
        }
        // Twice over, which darkens the antialiased edges.
        painter.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, caption(page));
        painter.drawText(text, Qt::AlignCenter | Qt::TextSingleLine, caption(page));
        painter.setPen(separator);
        painter.drawLine(tab.right(), 0, tab.right(), h - 1);
        std::get<0>(m_tabs[page]) = tab;
    }
}

} // namespace Velmar
