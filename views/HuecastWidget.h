#ifndef VELMAR_HUECASTWIDGET_H
#define VELMAR_HUECASTWIDGET_H

#include <QImage>
#include <QRect>
#include <QScrollArea>
#include <QUuid>

namespace Velmar {

class HuecastViewport;
class TavoCustomStyle;

// Tab page 4, the trend colours: a frameless scroll area with the groups of
// the collection, on the main background, scrolled by the plug-in's own bar.
class HuecastWidget : public QScrollArea
{
    Q_OBJECT

public:
    explicit HuecastWidget(QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);
    // Fits the content to the visible area, takes the part of the main
    // background under the page and lays the groups out again. The rectangle
    // is not used.
    void doResize(const QRect &rect);

    HuecastViewport *huecastViewport() const { return m_viewport; }

    // A hidden page reloads when it is shown again, for the last collection
    // it was told about.
    void setVisible(bool visible) override;
    bool reloadPending() const { return m_reloadPending; }

public slots:
    void selectedCollectionChanged(QUuid collectionId);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void reload(const QUuid &collection);

    TavoCustomStyle *m_style = nullptr;
    HuecastViewport *m_viewport = nullptr;
    // The system-wide main background, the same for every collection.
    QImage m_mainBackground;
    bool m_reloadPending = false;
    QUuid m_pendingCollection;
};

} // namespace Velmar

#endif // VELMAR_HUECASTWIDGET_H
