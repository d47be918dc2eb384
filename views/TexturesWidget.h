#ifndef VELMAR_TEXTURESWIDGET_H
#define VELMAR_TEXTURESWIDGET_H

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

public slots:
    void selectedCollectionChanged(QUuid collectionId);
    void selectedPageChanged();
    void selectedRowChanged();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    TavoCustomStyle *m_style = nullptr;
    TexturesViewport *m_viewport = nullptr;
};

} // namespace Velmar

#endif // VELMAR_TEXTURESWIDGET_H
