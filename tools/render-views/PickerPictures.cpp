#include "PictureSink.h"
#include "Pictures.h"

#include "DemoPalette.h"

#include "database/ColorMatchEntry.h"
#include "database/DBManager.h"
#include "plugin/AddOnMainWindow.h"
#include "plugin/MainWidget.h"
#include "services/CollectionSettings.h"
#include "services/ColorManager.h"
#include "services/Settings.h"

#include <QTextStream>

namespace {

using namespace Velmar;

// The chip of the current collection nearest to the colour, as the pick
// would choose it first; invalid when there is none.
QColor nearestChipColour(const QColor &colour)
{
    const QUuid collection = Settings::uuidOfLastUsedCollection();
    QVector<ColorMatchEntry> table;
    QVector<QPair<double, qint64>> nearest;
    if (DBManager::GetAllColorMatchEntryFor(collection, table) == 0)
        ColorManager::MatchColor(ColorManager::fromRgb(colour), table, nearest, 1);
    DB::ColorEntry entry;
    if (nearest.isEmpty() || DBManager::GetColorEntryById(collection, nearest.first().second, entry) != 0)
        return QColor();
    return QColor(entry.red, entry.green, entry.blue);
}

} // namespace

// The picker dialog as a pick call shows it: the demo palette, and the roller
// on the chip nearest to the host's terracotta.
void drawPickerPictures(PictureSink &sink)
{
    // On the first collection, as a new host process opens.
    const QUuid previous = Settings::uuidOfLastUsedCollection();
    const QUuid first = DBManager::GetInstalledCollectionUuidsInOrder().value(0);
    Settings::setUuidOfLastUsedCollection(first);
    DBManager::selectedCollectionChanged(first);
    CollectionSettings::selectedCollectionChanged(first);

    QString error;
    if (DemoPalette::store(&error)) {
        // The chip's own colour: the pick selects it without offering a choice.
        const QColor host = nearestChipColour(DemoPalette::nearColour());
        AddOnMainWindow dialog(host, QString(), nullptr);
        dialog.mainWidget()->pickNearestColor(host);
        sink.save(QStringLiteral("picker-dialog"), &dialog);
    } else {
        QTextStream(stderr) << "render-views: no demo palette for the picker: " << error << "\n";
    }

    Settings::setUuidOfLastUsedCollection(previous);
    DBManager::selectedCollectionChanged(previous);
    CollectionSettings::selectedCollectionChanged(previous);
}
