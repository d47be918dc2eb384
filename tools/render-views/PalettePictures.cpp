#include "PictureSink.h"
#include "Pictures.h"

#include "database/DBManager.h"
#include "plugin/MyPaletteFullWidget.h"
#include "plugin/MyPaletteWidget.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QPalette>
#include <QWidget>

namespace {

// A few chips of the first collection, by card and chip index, and the cells
// they go to.
void fillPalette()
{
    const QList<QUuid> collections = Velmar::DBManager::GetInstalledCollectionUuidsInOrder();
    if (collections.isEmpty())
        return;
    const QUuid collection = collections.first();
    const struct {
        int page;
        int row;
        QPoint cell;
    } chips[] = {{1, 3, {0, 0}}, {3, 2, {1, 0}}, {5, 1, {2, 0}}, {9, 4, {3, 0}},
                 {13, 5, {0, 1}}, {15, 3, {1, 1}}, {20, 2, {2, 1}}, {24, 6, {5, 3}}};
    for (const auto &chip : chips) {
        Velmar::DB::ColorEntry entry;
        if (Velmar::DBManager::GetColorEntryByPageAndRowIndex(collection, chip.page, chip.row, entry) != 0)
            continue;
        Velmar::DB::ItemIndex index;
        index.collection = collection;
        index.pageId = entry.pageId;
        index.entryId = entry.id;
        Velmar::Settings::setMyPaletteEntry(chip.cell, index);
    }
    Velmar::Settings::setMyPaletteEntryState(QPoint(1, 0), true);
    Velmar::Settings::setMyPaletteEntryState(QPoint(4, 1), true);
    Velmar::Settings::setMyPaletteDescription(QStringLiteral("Living room, north light"));
}

} // namespace

// My palette on the main background, as it sits under the tab pages, and the
// zoomed palette on its default grey.
void drawPalettePictures(PictureSink &sink)
{
    fillPalette();

    // The main background behind the palette, at the palette's size.
    QWidget backdrop;
    backdrop.resize(564, 210);
    backdrop.setAutoFillBackground(true);
    QPalette background = backdrop.palette();
    background.setBrush(QPalette::Window, QPixmap::fromImage(Velmar::Theme::getImageByKey(
                                              Velmar::Theme::KeyOfWidgetMainBackgroundImage, QSize(800, 600))));
    backdrop.setPalette(background);
    auto *palette = new Velmar::MyPaletteWidget(&backdrop);
    palette->setGeometry(backdrop.rect());
    sink.save(QStringLiteral("mypalette"), &backdrop);

    Velmar::MyPaletteFullWidget zoomed;
    zoomed.resize(800, 600);
    sink.save(QStringLiteral("mypalette-zoomed"), &zoomed);
}
