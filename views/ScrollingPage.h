#ifndef VELMAR_SCROLLINGPAGE_H
#define VELMAR_SCROLLINGPAGE_H

#include <QImage>
#include <QRect>
#include <QScrollArea>
#include <QUuid>

namespace Velmar {

class TavoCustomStyle;

// What the scrolling tab pages (trend colours, textures) share: a frameless
// scroll area on the main background, scrolled by the plug-in's own
// vertical bar, whose content reloads for a collection change only while
// the page can be seen.
class ScrollingPage : public QScrollArea
{
    Q_OBJECT

public:
    // Fits the content to the visible area and takes the part of the main
    // background under the page. The rectangle is not used.
    virtual void doResize(const QRect &rect) = 0;

    // The system-wide main background, the same for every collection:
    // decoded at its first use only.
    const QImage &mainBackground();

    // A hidden page reloads when it is shown again, for the last collection
    // it was told about.
    void setVisible(bool visible) override;
    bool reloadPending() const { return m_reloadPending; }

public slots:
    void selectedCollectionChanged(QUuid collectionId);

protected:
    ScrollingPage(const QString &objectName, int margin, QWidget *parent);

    // The scrolled content; the page's own background shows through it.
    void setContent(QWidget *content);
    virtual void reload(const QUuid &collection) = 0;

    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    TavoCustomStyle *m_style = nullptr;
    QImage m_mainBackground;
    bool m_reloadPending = false;
    QUuid m_pendingCollection;
};

} // namespace Velmar

#endif // VELMAR_SCROLLINGPAGE_H
