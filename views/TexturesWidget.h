#ifndef VELMAR_TEXTURESWIDGET_H
#define VELMAR_TEXTURESWIDGET_H

#include <QImage>
#include <QRect>
#include <QScrollArea>
#include <QUuid>

namespace Velmar {

class TavoCustomStyle;
class TexturesViewport;

// Tab page 8, the textures: a frameless scroll area showing the textures of
// the selected card in the selected chip's colour.
class TexturesWidget : public QScrollArea
{
    Q_OBJECT

public:
    // Between the page's edge and its scrolled content.
    static const int s_margin = 16;

    explicit TexturesWidget(QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);
    // Fits the content to the visible area, takes the main background under
    // the page, lays the tiles out again and repaints. The rectangle is not
    // used.
    void doResize(const QRect &rect);

    TexturesViewport *texturesViewport() const { return m_viewport; }
    // The system-wide main background, the same for every collection:
    // decoded at its first use only.
    const QImage &mainBackground();

    // A hidden page reloads when it is shown again, for the last collection
    // it was told about.
    void setVisible(bool visible) override;
    bool reloadPending() const { return m_reloadPending; }

public slots:
    void selectedCollectionChanged(QUuid collectionId);
    void selectedPageChanged();
    void selectedRowChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void reload(const QUuid &collection);

    TavoCustomStyle *m_style = nullptr;
    TexturesViewport *m_viewport = nullptr;
    QImage m_mainBackground;
    bool m_reloadPending = false;
    QUuid m_pendingCollection;
};

} // namespace Velmar

#endif // VELMAR_TEXTURESWIDGET_H
