#ifndef VELMAR_COLLECTIONSETTINGS_H
#define VELMAR_COLLECTIONSETTINGS_H

#include "inc/VelmarTypes.h"

#include <QHash>
#include <QObject>
#include <QSize>
#include <QString>
#include <QUuid>
#include <QVariant>
#include <QVector>

namespace Velmar {

// The behaviour switches of a collection, read from its SETTING rows as
// typed values with fixed defaults. Views ask on every paint, so values are
// kept in a cache that always belongs to the collection asked for last.
class CollectionSettings : public QObject
{
    Q_OBJECT

public:
    // Makes the collection the owner of the cache, emptying it on a change.
    static void selectedCollectionChanged(const QUuid &collection);

    static QString headerLink(const QUuid &collection);
    // The help page inside the plug-in's bundle unless the collection names one.
    static QString helpLink(const QUuid &collection);
    static QString dizevizWatchFileName(const QUuid &collection);
    static QString dizevizWatchFolder(const QUuid &collection);
    static double firstSegmentAngle(const QUuid &collection);
    static QString collectionName(const QUuid &collection);
    static bool dizevizAvailable(const QUuid &collection);

    static bool tooltipShowsRowIndex(const QUuid &collection);
    static bool tooltipShowsRowSegment(const QUuid &collection);
    static bool tooltipShowsRowAdditionalNames(const QUuid &collection);
    static bool tooltipShowsPageSegment(const QUuid &collection);
    static bool tooltipShowsPageIndex(const QUuid &collection);
    static bool tooltipShowsCollectionName(const QUuid &collection);
    static bool tooltipShowsRowAuxiliaryInfo(const QUuid &collection);
    static bool tooltipShowsRowCode(const QUuid &collection);
    static bool tooltipShowsRowName(const QUuid &collection);
    static bool tooltipShowsPageName(const QUuid &collection);

    static bool savePaletteTextFormatAvailable(const QUuid &collection, bool defaultValue);
    static bool mustFill(const QUuid &collection);
    static bool hasTextures(const QUuid &collection);
    static bool hasProductGroups(const QUuid &collection);
    static bool hasColorSchemer(const QUuid &collection);
    static bool moodVisible(const QUuid &collection);
    static bool hasExteriorFilter(const QUuid &collection);

    // Always at least 1: a count of 0 or less is taken as the default 12.
    static int numOfSegments(const QUuid &collection);
    static double segmentAngleInRadians(const QUuid &collection);
    static double segmentAngleInDegrees(const QUuid &collection);
    static int maxChipsOnAPage(const QUuid &collection);
    static QSize huecastChipSize(const QUuid &collection);
    // Falls back to the system-wide collection's size, then to the default.
    static QSize textureSize(const QUuid &collection, const QSize &defaultValue);

    // 0 groups with a product tooltip, 1 products.
    static int productGroupMode(const QUuid &collection);
    static MoodMode moodMode(const QUuid &collection);
    // 0 unset, 1 colour to colour, 2 card to card.
    static int mode(const QUuid &collection);
    // 0 unset, 1 clockwise, 2 counter-clockwise.
    static int segmentIncrementOrientation(const QUuid &collection);
    // 0 unset, 1 normal, 2 the powder-coating card type.
    static int cardType(const QUuid &collection);

    static TabBarPages availableTabBarPages(const QUuid &collection);
    static QVector<SchemeKind> schemesOrder(const QUuid &collection);
    // Starts with the colour-schemes page, which is always there.
    static QVector<TabBarPage> tabBarPagesOrder(const QUuid &collection);
    static QVector<double> cie200DeltaIntervals(const QUuid &collection);

    static bool hasPageWithMood(const QUuid &collection, Mood mood);
    static bool hasPageWithNonExteriorMood(const QUuid &collection, Mood mood);
    static bool hasPageWithExteriorMood(const QUuid &collection, Mood mood);

    static QHash<QString, QVariant> s_dataCache;
    static QUuid s_dataCacheCollectionUuid;

private:
    CollectionSettings() = default;

    // The value of the name, from the cache or the collection; a missing
    // value is not kept, so it is asked for again next time.
    static QVariant cachedValue(const QUuid &collection, const QString &name);
    // The first name's value, else the older second name's, kept under the first.
    static QVariant cachedValue(const QUuid &collection, const QString &name, const QString &olderName);
    static bool cachedBoolean(const QUuid &collection, const QString &name, bool defaultValue);
    static bool cachedPageSwitch(const QUuid &collection, const QString &name);
    static int cachedInt(const QUuid &collection, const QString &name, int defaultValue);
    static QString cachedText(const QUuid &collection, const QString &name, const QString &defaultValue);
    static int cachedNamedValue(const QUuid &collection, const QString &name, const QStringList &names,
                                const QList<int> &values, int fallback);
    static bool cachedMoodTest(const QUuid &collection, const QString &cacheKey, Mood mood,
                               bool (*test)(const QUuid &, Mood));
};

} // namespace Velmar

#endif // VELMAR_COLLECTIONSETTINGS_H
