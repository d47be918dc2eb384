#ifndef VELMAR_TABBARWIDGET_H
#define VELMAR_TABBARWIDGET_H

#include "inc/VelmarTypes.h"

#include <QHash>
#include <QImage>
#include <QRect>
#include <QString>
#include <QUuid>
#include <QVector>
#include <QWidget>

#include <tuple>

namespace Velmar {

// The row of tabs that switches the lower page between colour schemes,
// products, trend colours and textures: only the pages the collection
// offers, in its order, the stored page marked. Ctrl+T then Ctrl+1 .. 4
// reach the first four tabs.
class TabBarWidget : public QWidget
{
    Q_OBJECT

public:
    // The tabs for the captions' widths: each 32 pixels wider than its
    // caption, starting at x 1, one pixel apart for the separator at each
    // tab's right edge.
    static QVector<QRect> tabRectsFor(const QVector<int> &captionWidths, int height);

    explicit TabBarWidget(QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);
    void switchToNthTab(int n);

    QVector<TabBarPage> shownPages() const { return m_shownPages; }
    // As last painted; null before the first paint after a collection change.
    QRect tabRect(TabBarPage page) const;
    QString caption(TabBarPage page) const;

public slots:
    void selectedCollectionChanged(QUuid collectionId);

signals:
    void tabPageSelected(TabBarPage newPage);

protected slots:
    void switchToTab1();
    void switchToTab2();
    void switchToTab3();
    void switchToTab4();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The first shown page whose last painted tab holds the point.
    TabBarPage pageAt(const QPoint &position) const;

    QImage m_background;
    QHash<TabBarPage, std::tuple<QRect, QString>> m_tabs;
    QVector<TabBarPage> m_shownPages;
};

} // namespace Velmar

#endif // VELMAR_TABBARWIDGET_H
