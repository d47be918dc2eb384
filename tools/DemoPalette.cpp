#include "DemoPalette.h"

#include "database/ColorMatchEntry.h"
#include "database/DBManager.h"
#include "database/ItemIndex.h"
#include "services/ColorManager.h"
#include "services/Settings.h"

#include <QPair>
#include <QPoint>
#include <QSettings>
#include <QUuid>
#include <QVector>

using namespace Velmar;

bool DemoPalette::store(QString *error)
{
    const QUuid collection = DBManager::GetInstalledCollectionUuidsInOrder().value(0);
    QVector<ColorMatchEntry> table;
    QVector<QPair<double, qint64>> nearest;
    if (!collection.isNull() && DBManager::GetAllColorMatchEntryFor(collection, table) == 0)
        ColorManager::MatchColor(ColorManager::fromRgb(nearColour()), table, nearest, 6);
    if (nearest.isEmpty()) {
        if (error)
            *error = QStringLiteral("no installed collection has chips");
        return false;
    }
    // Each accessor opens the store and drops it, and with it any failure
    // to write; held open here, the store keeps what was not written and
    // tells at the end.
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavo Rindel"),
                    Settings::hostApplicationKey());

    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            Settings::setMyPaletteEntry(QPoint(column, row), DB::ItemIndex());
            Settings::setMyPaletteEntryState(QPoint(column, row), false);
        }
    }
    int column = 0;
    for (const auto &match : qAsConst(nearest)) {
        DB::ColorEntry entry;
        if (DBManager::GetColorEntryById(collection, match.second, entry) != 0)
            continue;
        DB::ItemIndex index;
        index.collection = collection;
        index.pageId = entry.pageId;
        index.entryId = entry.id;
        Settings::setMyPaletteEntry(QPoint(column++, 0), index);
    }
    Settings::setMyPaletteEntryState(QPoint(0, 0), true);
    Settings::setMyPaletteDescription(note());
    store.sync();
    if (store.status() != QSettings::NoError) {
        if (error)
            *error = QStringLiteral("%1 could not be written").arg(store.fileName());
        return false;
    }
    return true;
}
