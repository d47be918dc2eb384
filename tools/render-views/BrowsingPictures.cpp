#include "PictureSink.h"
#include "Pictures.h"

#include "database/DBManager.h"
#include "services/CollectionSettings.h"
#include "services/Settings.h"
#include "services/Theme.h"
#include "views/CardRollerWidget.h"
#include "views/ColorWheelWidget.h"
#include "views/MoodSelectWidget.h"

#include <QWidget>

namespace {

using namespace Velmar;

// The views sit on the main widget's background: a piece of it, cut where
// the view lies in the picker's left column.
QWidget *backdrop(const QSize &size, const QPoint &originInMainWidget)
{
    auto *widget = new QWidget;
    widget->resize(size);
    const QImage background = Theme::getImageByKey(Theme::KeyOfWidgetMainBackgroundImage, QSize(800, 600));
    QPalette palette;
    palette.setBrush(QPalette::Window, QPixmap::fromImage(background.copy(QRect(originInMainWidget, size))));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
    return widget;
}

// The browsing state a picture shows, for the collection it shows.
void browse(const QUuid &collection, int segment, int page, int row, Mood mood, bool exterior, bool showMto)
{
    Settings::setUuidOfLastUsedCollection(collection);
    DBManager::selectedCollectionChanged(collection);
    Settings::setSegmentIndex(collection, segment);
    Settings::setPageIndex(collection, page);
    Settings::setRowIndex(collection, row);
    Settings::setMoodFilter(collection, mood);
    Settings::setExteriorFilter(collection, exterior);
    Settings::setShowMto(collection, showMto);
}

// The first installed collection of a card type, or a null uuid.
QUuid firstCollectionOfType(int cardType)
{
    for (const QUuid &collection : DBManager::GetInstalledCollectionUuidsInOrder()) {
        if (CollectionSettings::cardType(collection) == cardType)
            return collection;
    }
    return QUuid();
}

void saveMoodStrip(PictureSink &sink, const QString &name)
{
    MoodSelectWidget probe;
    const QSize strip = probe.sizeHint();
    std::unique_ptr<QWidget> frame(backdrop(strip + QSize(24, 20), QPoint((234 - strip.width()) / 2 - 12, 233)));
    auto *view = new MoodSelectWidget(frame.get());
    view->move(12, 10);
    sink.save(name, frame.get());
}

// The card that comes up first in the deck for a segment under all moods.
int firstPageOfSegment(const QUuid &collection, int segment)
{
    int page = 1;
    DBManager::FindFirstCardInSegment(collection, segment, MoodAll, false, page);
    return page;
}

} // namespace

// The colour wheel with a segment chosen, the mood strip with a mood chosen
// (and once with the exterior filter), the card roller with a card and a row
// selected, the three as they stand in the picker's left column, and the
// made-to-order toggle of the first installed Sarnex collection, if any.
void drawBrowsingPictures(PictureSink &sink)
{
    const QUuid original = Settings::uuidOfLastUsedCollection();
    const QUuid normal = firstCollectionOfType(1);
    if (!normal.isNull()) {
        const int segment = 4;
        const int page = firstPageOfSegment(normal, segment);
        browse(normal, segment, page, 3, MoodAll, false, true);
        {
            std::unique_ptr<QWidget> frame(backdrop(QSize(150, 142), QPoint(42, 101)));
            auto *wheel = new ColorWheelWidget(frame.get());
            wheel->move(14, 10);
            sink.save(QStringLiteral("color-wheel"), frame.get());
        }
        {
            std::unique_ptr<QWidget> frame(backdrop(QSize(234, 232), QPoint(0, 312)));
            auto *roller = new CardRollerWidget(frame.get());
            roller->setGeometry(12, 6, 210, 220);
            sink.save(QStringLiteral("card-roller"), frame.get());
        }

        Settings::setMoodFilter(normal, MoodWarm);
        saveMoodStrip(sink, QStringLiteral("mood-strip"));
        if (CollectionSettings::hasExteriorFilter(normal)) {
            Settings::setMoodFilter(normal, MoodRich);
            Settings::setExteriorFilter(normal, true);
            saveMoodStrip(sink, QStringLiteral("mood-strip-exterior"));
        }

        // The left column of the picker below the collection chooser.
        browse(normal, segment, page, 3, MoodAll, false, true);
        std::unique_ptr<QWidget> column(backdrop(QSize(234, 499), QPoint(0, 101)));
        auto *wheel = new ColorWheelWidget(column.get());
        wheel->move((234 - wheel->width()) / 2, 10);
        auto *strip = new MoodSelectWidget(column.get());
        strip->move((234 - strip->width()) / 2, wheel->geometry().bottom() + 11);
        auto *roller = new CardRollerWidget(column.get());
        const int top = strip->geometry().bottom() + 7;
        roller->setGeometry(12, top, 210, 499 - 13 - 26 - 18 - 7 - top);
        sink.save(QStringLiteral("browsing-column"), column.get());
    }

    const QUuid sarnex = firstCollectionOfType(2);
    if (!sarnex.isNull()) {
        browse(sarnex, 1, firstPageOfSegment(sarnex, 1), 2, MoodAll, false, false);
        saveMoodStrip(sink, QStringLiteral("mto-toggle"));
        std::unique_ptr<QWidget> frame(backdrop(QSize(234, 232), QPoint(0, 312)));
        auto *roller = new CardRollerWidget(frame.get());
        roller->setGeometry(12, 6, 210, 220);
        sink.save(QStringLiteral("card-roller-sarnex"), frame.get());
    }

    // The pictures of other views start from where the program started.
    Settings::setUuidOfLastUsedCollection(original);
    DBManager::selectedCollectionChanged(original);
}
