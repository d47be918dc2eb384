#ifndef VELMAR_SETTINGS_H
#define VELMAR_SETTINGS_H

#include "database/ItemIndex.h"
#include "inc/VelmarTypes.h"

#include <QPoint>
#include <QString>
#include <QUuid>

namespace Velmar {

// What the plug-in remembers for one user between picker calls: the
// browsing state of each collection, the collection last used, the host
// process that last started the plug-in, and My palette. Every accessor
// opens the settings store afresh, so a value written anywhere is seen by
// the next read everywhere.
class Settings
{
public:
    // The application name of the store: "hueform", or "hueform." and the
    // lower-cased key when one is given.
    static void setHostApplicationKey(const QString &key);
    static QString hostApplicationKey();

    static qint64 hostApplicationPid();
    static void setHostApplicationPid(qint64 pid);

    static QUuid uuidOfLastUsedCollection();
    static void setUuidOfLastUsedCollection(const QUuid &collection);
    static bool hasUuidOfLastUsedCollection();

    // My palette.
    static int myPaletteFullBackgroundGray();
    static void setMyPaletteFullBackgroundGray(int gray);
    static int myPaletteSaveFormat();
    static void setMyPaletteSaveFormat(int format);
    static QString myPaletteDescription();
    static void setMyPaletteDescription(const QString &description);
    static QString myPaletteLastPath();
    static void setMyPaletteLastPath(const QString &path);
    static QPoint myPaletteZoomState();
    static void setMyPaletteZoomState(const QPoint &state);
    static bool myPaletteGridState();
    static void setMyPaletteGridState(bool visible);
    // Cells are addressed with x the column (0 to 5) and y the row (0 to 3).
    static bool myPaletteEntryState(const QPoint &cell);
    static void setMyPaletteEntryState(const QPoint &cell, bool selected);
    static DB::ItemIndex myPaletteEntry(const QPoint &cell);
    // An index without a chip (entry id 0 or less) empties the cell.
    static void setMyPaletteEntry(const QPoint &cell, const DB::ItemIndex &index);
    // The key of a cell's value, row first: "(2,5).Entry" for column 5, row 2.
    static QString myPaletteCellKey(const QPoint &cell, const QString &suffix);

    // Browsing state of one collection.
    static bool huecastGroupOpen(const QUuid &collection, qint64 groupId, bool defaultValue);
    static void setHuecastGroupOpen(const QUuid &collection, qint64 groupId, bool open);
    static SchemeKind schemeNeutralSubKind(const QUuid &collection);
    static void setSchemeNeutralSubKind(const QUuid &collection, SchemeKind kind);
    static SchemeKind schemeKind(const QUuid &collection);
    static void setSchemeKind(const QUuid &collection, SchemeKind kind);
    static TabBarPage tabPage(const QUuid &collection);
    static void setTabPage(const QUuid &collection, TabBarPage page);
    static int rowIndex(const QUuid &collection);
    static void setRowIndex(const QUuid &collection, int index);
    static int pageIndex(const QUuid &collection);
    static void setPageIndex(const QUuid &collection, int index);
    static bool showMto(const QUuid &collection);
    static void setShowMto(const QUuid &collection, bool show);
    static bool exteriorFilter(const QUuid &collection);
    static void setExteriorFilter(const QUuid &collection, bool exteriorOnly);
    static Mood moodFilter(const QUuid &collection);
    static void setMoodFilter(const QUuid &collection, Mood mood);
    static int segmentIndex(const QUuid &collection);
    static void setSegmentIndex(const QUuid &collection, int segment);

    static QString s_hostApplicationKey;
    static QUuid s_lastUsedCollection;

private:
    Settings() = default;
};

} // namespace Velmar

#endif // VELMAR_SETTINGS_H
