#ifndef VELMAR_TEXTURESWIDGET_H
#define VELMAR_TEXTURESWIDGET_H

#include "views/ScrollingPage.h"

namespace Velmar {

class TexturesViewport;

// Tab page 8, the textures: a frameless scroll area showing the textures of
// the selected card in the selected chip's colour.
class TexturesWidget : public ScrollingPage
{
    Q_OBJECT

public:
    // Between the page's edge and its scrolled content.
    static constexpr int s_margin = 16;

    explicit TexturesWidget(QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);
    // Also lays the tiles out again and repaints.
    void doResize(const QRect &rect) override;

    TexturesViewport *texturesViewport() const { return m_viewport; }

public slots:
    void selectedPageChanged();
    void selectedRowChanged();

protected:
    void reload(const QUuid &collection) override;

private:
    TexturesViewport *m_viewport = nullptr;
};

} // namespace Velmar

#endif // VELMAR_TEXTURESWIDGET_H
