#include "PictureSink.h"
#include "Pictures.h"

#include "database/DBManager.h"
#include "services/Settings.h"
#include "services/Theme.h"
#include "views/HuecastWidget.h"
#include "views/ProductsWidget.h"
#include "views/TexturesWidget.h"

#include <QPainter>
#include <QScrollBar>
#include <QWidget>

namespace {

// The size the lower tab pages get in the picker.
const QSize pageSize(568, 226);

// Stands in for the main widget under a page: its background image.
class Backdrop : public QWidget
{
public:
    Backdrop()
    {
        resize(pageSize);
        m_background = Velmar::Theme::getImageByKey(Velmar::Theme::KeyOfWidgetMainBackgroundImage, QSize(16, 16));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).drawImage(0, 0, m_background);
    }

private:
    QImage m_background;
};

void select(const QUuid &collection, int pageIndex, int rowIndex)
{
    Velmar::Settings::setUuidOfLastUsedCollection(collection);
    Velmar::Settings::setPageIndex(collection, pageIndex);
    Velmar::Settings::setRowIndex(collection, rowIndex);
}

// Shows the page on the backdrop at the size it has in the picker; a scroll
// area can be scrolled to its end first.
template<typename Page>
void savePage(PictureSink &sink, const QString &name, bool scrolledToTheEnd = false)
{
    Backdrop backdrop;
    auto *page = new Page(&backdrop);
    page->setGeometry(QRect(QPoint(0, 0), pageSize));
    page->doResize(QRect(QPoint(0, 0), pageSize));
    if (auto *area = qobject_cast<QAbstractScrollArea *>(page); area && scrolledToTheEnd) {
        backdrop.show();
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    }
    sink.save(name, &backdrop);
}

} // namespace

// The trend colours, textures and products pages with a chip selected: of
// the first installed collection, and the products page of the second too
// (the demo's second deck lists products, not groups).
void drawMaterialPictures(PictureSink &sink)
{
    const QUuid previous = Velmar::Settings::uuidOfLastUsedCollection();
    const QList<QUuid> installed = Velmar::DBManager::GetInstalledCollectionUuidsInOrder();
    if (installed.isEmpty())
        return;
    select(installed.first(), 1, 4);
    savePage<Velmar::HuecastWidget>(sink, QStringLiteral("trend-colours"));
    savePage<Velmar::HuecastWidget>(sink, QStringLiteral("trend-colours-scrolled"), true);
    savePage<Velmar::TexturesWidget>(sink, QStringLiteral("textures"));
    select(installed.first(), 4, 4);
    savePage<Velmar::ProductsWidget>(sink, QStringLiteral("products"));
    if (installed.size() > 1) {
        select(installed.at(1), 1, 4);
        savePage<Velmar::ProductsWidget>(sink, QStringLiteral("products-of-the-second-collection"));
    }
    Velmar::Settings::setUuidOfLastUsedCollection(previous);
}
