#include "PictureSink.h"
#include "Pictures.h"

#include "database/DBManager.h"
#include "plugin/MainWidget.h"
#include "plugin/SelectNearestColorDialog.h"
#include "plugin/TaskButton.h"
#include "services/ColorManager.h"
#include "services/Global.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"
#include "services/Settings.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>

#include <memory>

namespace {

using namespace Velmar;

// A few chips of the collection in My palette, unless it holds some already.
void fillPaletteIfEmpty(const QUuid &collection)
{
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            if (Settings::myPaletteEntry(QPoint(column, row)).entryId > 0)
                return;
        }
    }
    const struct {
        int page;
        int row;
        QPoint cell;
    } chips[] = {{2, 3, {0, 0}}, {6, 2, {1, 0}}, {10, 4, {2, 0}}, {14, 3, {3, 0}}, {19, 5, {0, 1}}, {23, 2, {1, 1}}};
    for (const auto &chip : chips) {
        DB::ColorEntry entry;
        if (DBManager::GetColorEntryByPageAndRowIndex(collection, chip.page, chip.row, entry) != 0)
            continue;
        DB::ItemIndex index;
        index.collection = collection;
        index.pageId = entry.pageId;
        index.entryId = entry.id;
        Settings::setMyPaletteEntry(chip.cell, index);
    }
    Settings::setMyPaletteEntryState(QPoint(1, 0), true);
}

// The picker's main widget on the collection, inside a window as the dialog
// holds it (so that the window, not a task button, has the focus), with the
// picker's two buttons in its task row.
std::unique_ptr<QWidget> makePicker(MainWidget *&main)
{
    std::unique_ptr<QWidget> window(new QWidget);
    window->resize(MainWidget::s_fixedSize);
    main = Global::createMainWidget(window.get(), window.get());
    const unsigned short select = main->registerTaskButton(2);
    const unsigned short swatch = main->registerTaskButton(select);
    // The captions the picker dialog gives them.
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    main->taskButton(select)->setText(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfPhotoshopSelectcolorButton));
    main->taskButton(swatch)->setText(Localizer::getTextByKey(collection, LocalizerKeys::KeyOfPhotoshopCreateswatchButton));
    return window;
}

// The main widget with the nearest-colour dialog over its middle, as a
// window-modal dialog shows.
QImage withNearestColorDialog(MainWidget &main, const QUuid &collection, const QColor &host)
{
    QVector<QPair<double, qint64>> matches;
    ColorManager::MatchColor(ColorManager::fromRgb(host), main.matchTable(), matches, 6);
    QVector<DB::ColorEntry> candidates;
    for (const auto &match : qAsConst(matches)) {
        DB::ColorEntry entry;
        if (DBManager::GetColorEntryById(collection, match.second, entry) == 0)
            candidates.append(entry);
    }
    SelectNearestColorDialog dialog(host, candidates, &main);
    dialog.show();
    QApplication::processEvents();

    QImage image(main.size(), QImage::Format_ARGB32_Premultiplied);
    main.render(&image);
    // The dialog in a plain window frame with its title, over the middle,
    // with a soft shadow.
    const int titleHeight = 24;
    const QRect place(QPoint((main.width() - dialog.width()) / 2, (main.height() - dialog.height() + titleHeight) / 2),
                      dialog.size());
    const QRect frame = place.adjusted(-1, -titleHeight - 1, 1, 1);
    QPainter painter(&image);
    for (int i = 1; i <= 8; ++i)
        painter.fillRect(frame.adjusted(-i + 2, -i + 5, i + 2, i + 5), QColor(0, 0, 0, 12));
    painter.fillRect(frame, QColor(72, 72, 72));
    painter.setPen(QColor(230, 230, 230));
    painter.setFont(dialog.font());
    painter.drawText(QRect(frame.left(), frame.top(), frame.width(), titleHeight + 1), Qt::AlignCenter,
                     dialog.windowTitle());
    painter.end();
    dialog.render(&image, place.topLeft());
    dialog.hide();
    return image;
}

} // namespace

// The whole main widget at 800 by 600: on each tab page with a chip
// selected, and with the choice of nearest colours open.
void drawMainWidgetPictures(PictureSink &sink)
{
    const QUuid previous = Settings::uuidOfLastUsedCollection();
    const QList<QUuid> installed = DBManager::GetInstalledCollectionUuidsInOrder();
    if (installed.isEmpty())
        return;
    const QUuid collection = installed.first();
    Settings::setUuidOfLastUsedCollection(collection);
    DBManager::selectedCollectionChanged(collection);
    fillPaletteIfEmpty(collection);
    // Coral Family, its fourth chip, on its own segment with all moods.
    Settings::setPageIndex(collection, 2);
    Settings::setRowIndex(collection, 4);
    Settings::setSegmentIndex(collection, 1);
    Settings::setMoodFilter(collection, MoodAll);
    Settings::setExteriorFilter(collection, false);
    Settings::setSchemeKind(collection, SchemeHarmonic);

    const struct {
        TabBarPage page;
        const char *name;
    } pages[] = {{TabBarPageColorSchemes, "main-colour-schemes"},
                 {TabBarPageProducts, "main-products"},
                 {TabBarPageHuecast, "main-trend-colours"},
                 {TabBarPageTextures, "main-textures"}};
    for (const auto &page : pages) {
        Settings::setTabPage(collection, page.page);
        MainWidget *main = nullptr;
        std::unique_ptr<QWidget> window = makePicker(main);
        sink.save(QLatin1String(page.name), window.get());
    }

    Settings::setTabPage(collection, TabBarPageColorSchemes);
    MainWidget *main = nullptr;
    std::unique_ptr<QWidget> window = makePicker(main);
    window->show();
    QApplication::processEvents();
    QLabel picture;
    picture.setPixmap(QPixmap::fromImage(withNearestColorDialog(*main, collection, QColor(214, 126, 98))));
    picture.resize(main->size());
    window->hide();
    sink.save(QStringLiteral("main-nearest-colours"), &picture);

    Settings::setUuidOfLastUsedCollection(previous);
    DBManager::selectedCollectionChanged(previous);
}
