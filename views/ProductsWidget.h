#ifndef VELMAR_PRODUCTSWIDGET_H
#define VELMAR_PRODUCTSWIDGET_H

#include <QImage>
#include <QRect>
#include <QUuid>
#include <QWidget>

class QLabel;
class QListWidget;

namespace Velmar {

class TavoCustomStyle;

// Tab page 2, the products: the selected chip's code as a caption and under
// it the products (or product groups) the colour is made in, in columns that
// scroll sideways.
class ProductsWidget : public QWidget
{
    Q_OBJECT

public:
    // Free space right of each name, between the columns.
    static constexpr int s_columnGap = 24;

    explicit ProductsWidget(QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);
    // Places the caption and the list inside rect, with the main background
    // under the list.
    void doResize(const QRect &rect);

    // The caption's rectangle inside rect: the top line of rect shrunk by 8,
    // lineHeight high; the list takes the rest, 8 pixels lower.
    static QRect captionRect(const QRect &rect, int lineHeight);
    static QRect listRect(const QRect &rect, int lineHeight);

    QLabel *caption() const { return m_caption; }
    QListWidget *list() const { return m_list; }

    // A hidden page refreshes when it is shown again.
    void setVisible(bool visible) override;
    bool refreshPending() const { return m_refreshPending; }

public slots:
    void selectedColorChanged();
    void selectedCollectionChanged(QUuid collectionId);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    TavoCustomStyle *m_style = nullptr;
    QLabel *m_caption = nullptr;
    QListWidget *m_list = nullptr;
    // The system-wide main background, the same for every collection.
    QImage m_mainBackground;
    bool m_refreshPending = false;
};

} // namespace Velmar

#endif // VELMAR_PRODUCTSWIDGET_H
