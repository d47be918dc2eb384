#ifndef VELMAR_HUECASTWIDGET_H
#define VELMAR_HUECASTWIDGET_H

#include "views/ScrollingPage.h"

namespace Velmar {

class HuecastViewport;

// Tab page 4, the trend colours: a frameless scroll area with the groups of
// the collection, on the main background, scrolled by the plug-in's own bar.
class HuecastWidget : public ScrollingPage
{
    Q_OBJECT

public:
    explicit HuecastWidget(QWidget *parent = nullptr);

    void prepareForCollection(const QUuid &collection);
    // Also lays the groups out again.
    void doResize(const QRect &rect) override;

    HuecastViewport *huecastViewport() const { return m_viewport; }

protected:
    void reload(const QUuid &collection) override;

private:
    HuecastViewport *m_viewport = nullptr;
};

} // namespace Velmar

#endif // VELMAR_HUECASTWIDGET_H
