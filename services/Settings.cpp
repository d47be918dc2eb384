#include "services/Settings.h"

#include <QSettings>
#include <QVariant>

namespace Velmar {

QString Settings::s_hostApplicationKey = QStringLiteral("hueform");
QUuid Settings::s_lastUsedCollection;

namespace {

const QString applicationBaseName = QStringLiteral("hueform");
const QString paletteGroup = QStringLiteral("MyPalette");
const QString lastUsedCollectionKey = QStringLiteral("UuidOfLastUsedCollection");

// The user's store, opened for one accessor and dropped on return.
class Store : public QSettings
{
public:
    Store()
        : QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavo Rindel"),
                    Settings::s_hostApplicationKey)
    {
    }
};

// Inside the group of one collection, named by its braced uuid.
class CollectionStore : public Store
{
public:
    explicit CollectionStore(const QUuid &collection)
    {
        beginGroup(collection.toString());
    }
};

class PaletteStore : public Store
{
public:
    PaletteStore()
    {
        beginGroup(paletteGroup);
    }
};

// A value that cannot become an int at all keeps the default; a text that
// is no number reads as 0.
int typedInt(const QVariant &value, int defaultValue)
{
    return value.canConvert<int>() ? value.toInt() : defaultValue;
}

bool typedBool(const QVariant &value, bool defaultValue)
{
    return value.canConvert<bool>() ? value.toBool() : defaultValue;
}

int readTypedInt(const QUuid &collection, const QString &key, int defaultValue)
{
    return typedInt(CollectionStore(collection).value(key, defaultValue), defaultValue);
}

bool readTypedBool(const QUuid &collection, const QString &key, bool defaultValue)
{
    return typedBool(CollectionStore(collection).value(key, defaultValue), defaultValue);
}

void write(const QUuid &collection, const QString &key, const QVariant &value)
{
    CollectionStore(collection).setValue(key, value);
}

} // namespace

void Settings::setHostApplicationKey(const QString &key)
{
    s_hostApplicationKey = key.isEmpty() ? applicationBaseName
                                         : applicationBaseName + QLatin1Char('.') + key.toLower();
}

QString Settings::hostApplicationKey()
{
    return s_hostApplicationKey;
}

qint64 Settings::hostApplicationPid()
{
    return Store().value(QStringLiteral("HostApplicationPID"), 0).toLongLong();
}

void Settings::setHostApplicationPid(qint64 pid)
{
    Store().setValue(QStringLiteral("HostApplicationPID"), pid);
}

QUuid Settings::uuidOfLastUsedCollection()
{
    if (s_lastUsedCollection.isNull()) {
        Store store;
        if (store.contains(lastUsedCollectionKey))
            s_lastUsedCollection = QUuid::fromString(store.value(lastUsedCollectionKey).toString());
    }
    return s_lastUsedCollection;
}

void Settings::setUuidOfLastUsedCollection(const QUuid &collection)
{
    Store().setValue(lastUsedCollectionKey, collection.toString());
    s_lastUsedCollection = collection;
}

bool Settings::hasUuidOfLastUsedCollection()
{
    return Store().contains(lastUsedCollectionKey);
}

int Settings::myPaletteFullBackgroundGray()
{
    return PaletteStore().value(QStringLiteral("MyPaletteFullBackgroundColor"), 176).toInt();
}

void Settings::setMyPaletteFullBackgroundGray(int gray)
{
    PaletteStore().setValue(QStringLiteral("MyPaletteFullBackgroundColor"), gray);
}

int Settings::myPaletteSaveFormat()
{
    return PaletteStore().value(QStringLiteral("MyPaletteSaveFileFormat"), 0).toInt();
}

void Settings::setMyPaletteSaveFormat(int format)
{
    PaletteStore().setValue(QStringLiteral("MyPaletteSaveFileFormat"), format);
}

QString Settings::myPaletteDescription()
{
    return PaletteStore().value(QStringLiteral("MyPaletteDescription"), QString()).toString();
}

void Settings::setMyPaletteDescription(const QString &description)
{
    PaletteStore().setValue(QStringLiteral("MyPaletteDescription"), description);
}

QString Settings::myPaletteLastPath()
{
    return PaletteStore().value(QStringLiteral("MyPaletteLastSavePath"), QString()).toString();
}

void Settings::setMyPaletteLastPath(const QString &path)
{
    PaletteStore().setValue(QStringLiteral("MyPaletteLastSavePath"), path);
}

QPoint Settings::myPaletteZoomState()
{
    return PaletteStore().value(QStringLiteral("MyPaletteZoomed"), QPoint(-1, -1)).toPoint();
}

void Settings::setMyPaletteZoomState(const QPoint &state)
{
    PaletteStore().setValue(QStringLiteral("MyPaletteZoomed"), state);
}

bool Settings::myPaletteGridState()
{
    return PaletteStore().value(QStringLiteral("MyPaletteGridVisible"), true).toBool();
}

void Settings::setMyPaletteGridState(bool visible)
{
    PaletteStore().setValue(QStringLiteral("MyPaletteGridVisible"), visible);
}

QString Settings::myPaletteCellKey(const QPoint &cell, const QString &suffix)
{
    return QStringLiteral("(%1,%2)").arg(cell.y()).arg(cell.x()) + suffix;
}

bool Settings::myPaletteEntryState(const QPoint &cell)
{
    return PaletteStore().value(myPaletteCellKey(cell, QStringLiteral(".Selected")), false).toBool();
}

void Settings::setMyPaletteEntryState(const QPoint &cell, bool selected)
{
    // Unselected cells leave no key behind.
    const QString key = myPaletteCellKey(cell, QStringLiteral(".Selected"));
    PaletteStore store;
    store.remove(key);
    if (selected)
        store.setValue(key, true);
}

DB::ItemIndex Settings::myPaletteEntry(const QPoint &cell)
{
    return DB::ItemIndex(PaletteStore().value(myPaletteCellKey(cell, QStringLiteral(".Entry")), QString()).toString());
}

void Settings::setMyPaletteEntry(const QPoint &cell, const DB::ItemIndex &index)
{
    const QString key = myPaletteCellKey(cell, QStringLiteral(".Entry"));
    PaletteStore store;
    if (index.entryId > 0)
        store.setValue(key, index.toString());
    else
        store.remove(key);
}

bool Settings::huecastGroupOpen(const QUuid &collection, qint64 groupId, bool defaultValue)
{
    return readTypedBool(collection, QStringLiteral("HuecastGroup_%1_OpenState").arg(groupId), defaultValue);
}

void Settings::setHuecastGroupOpen(const QUuid &collection, qint64 groupId, bool open)
{
    write(collection, QStringLiteral("HuecastGroup_%1_OpenState").arg(groupId), open);
}

SchemeKind Settings::schemeNeutralSubKind(const QUuid &collection)
{
    const int kind = readTypedInt(collection, QStringLiteral("SchemeNeutralSubKind"), SchemeTonalNeutral);
    return kind == SchemeComplementaryNeutral ? SchemeComplementaryNeutral : SchemeTonalNeutral;
}

void Settings::setSchemeNeutralSubKind(const QUuid &collection, SchemeKind kind)
{
    write(collection, QStringLiteral("SchemeNeutralSubKind"), static_cast<int>(kind));
}

SchemeKind Settings::schemeKind(const QUuid &collection)
{
    const int kind = readTypedInt(collection, QStringLiteral("SchemeKind"), SchemeNone);
    return kind >= SchemeHarmonic && kind <= SchemeComplementaryNeutral ? static_cast<SchemeKind>(kind) : SchemeNone;
}

void Settings::setSchemeKind(const QUuid &collection, SchemeKind kind)
{
    write(collection, QStringLiteral("SchemeKind"), static_cast<int>(kind));
}

TabBarPage Settings::tabPage(const QUuid &collection)
{
    const int page = readTypedInt(collection, QStringLiteral("TabPageIndex"), TabBarPageNone);
    switch (page) {
    case TabBarPageColorSchemes:
    case TabBarPageProducts:
    case TabBarPageHuecast:
    case TabBarPageTextures:
        return static_cast<TabBarPage>(page);
    default:
        return TabBarPageNone;
    }
}

void Settings::setTabPage(const QUuid &collection, TabBarPage page)
{
    write(collection, QStringLiteral("TabPageIndex"), static_cast<int>(page));
}

int Settings::rowIndex(const QUuid &collection)
{
    return readTypedInt(collection, QStringLiteral("RowIndex"), 1);
}

void Settings::setRowIndex(const QUuid &collection, int index)
{
    write(collection, QStringLiteral("RowIndex"), index);
}

int Settings::pageIndex(const QUuid &collection)
{
    return readTypedInt(collection, QStringLiteral("PageIndex"), 1);
}

void Settings::setPageIndex(const QUuid &collection, int index)
{
    write(collection, QStringLiteral("PageIndex"), index);
}

bool Settings::showMto(const QUuid &collection)
{
    return readTypedBool(collection, QStringLiteral("ShowMto"), false);
}

void Settings::setShowMto(const QUuid &collection, bool show)
{
    write(collection, QStringLiteral("ShowMto"), show);
}

bool Settings::exteriorFilter(const QUuid &collection)
{
    return readTypedBool(collection, QStringLiteral("ExteriorColors"), false);
}

void Settings::setExteriorFilter(const QUuid &collection, bool exteriorOnly)
{
    write(collection, QStringLiteral("ExteriorColors"), exteriorOnly);
}

Mood Settings::moodFilter(const QUuid &collection)
{
    const int mood = readTypedInt(collection, QStringLiteral("MoodFilter"), MoodAll);
    return mood >= MoodFresh && mood <= MoodAll ? static_cast<Mood>(mood) : MoodAll;
}

void Settings::setMoodFilter(const QUuid &collection, Mood mood)
{
    write(collection, QStringLiteral("MoodFilter"), static_cast<int>(mood));
}

int Settings::segmentIndex(const QUuid &collection)
{
    return readTypedInt(collection, QStringLiteral("SegmentIndex"), 1);
}

void Settings::setSegmentIndex(const QUuid &collection, int segment)
{
    write(collection, QStringLiteral("SegmentIndex"), segment);
}

} // namespace Velmar
