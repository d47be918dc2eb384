#include "services/CollectionSettings.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"
#include "services/CollectionSettingKeys.h"

#include <QtMath>

#include <cmath>

namespace Velmar {

QHash<QString, QVariant> CollectionSettings::s_dataCache;
QUuid CollectionSettings::s_dataCacheCollectionUuid;

namespace {

using Keys = CollectionSettingKeys;

const int defaultSegmentCount = 12;
const QSize defaultHuecastChipSize(64, 48);

bool isMissing(const QVariant &value)
{
    return !value.isValid() || value.isNull();
}

// A found value that can become an int; a text that is no number counts as 0.
bool isValidInt(const QVariant &value)
{
    return !isMissing(value) && value.canConvert<int>();
}

// Rows of a list are taken only when every one of them is stored as text.
bool allTexts(const QList<QVariant> &rows)
{
    for (const QVariant &row : rows) {
        if (row.typeId() != QMetaType::QString)
            return false;
    }
    return true;
}

// The row's text as the number it stands for, or the text itself when it
// names none of the values.
QVariant mapNamed(const QVariant &row, const QStringList &names, const QList<int> &values)
{
    const QString text = row.toString().trimmed();
    for (int i = 0; i < names.size(); ++i) {
        if (text.compare(names.at(i), Qt::CaseInsensitive) == 0)
            return values.at(i);
    }
    return text;
}

QVariantList mapRows(const QList<QVariant> &rows, const QStringList &names, const QList<int> &values)
{
    QVariantList mapped;
    for (const QVariant &row : rows)
        mapped.append(mapNamed(row, names, values));
    return mapped;
}

} // namespace

void CollectionSettings::selectedCollectionChanged(const QUuid &collection)
{
    if (collection == s_dataCacheCollectionUuid)
        return;
    s_dataCacheCollectionUuid = collection;
    s_dataCache.clear();
}

QVariant CollectionSettings::cachedValue(const QUuid &collection, const QString &name)
{
    selectedCollectionChanged(collection);
    const auto cached = s_dataCache.constFind(name);
    if (cached != s_dataCache.constEnd())
        return cached.value();
    const QVariant value = DBManager::GetSettingsEntry(collection, name, QVariant());
    if (!isMissing(value))
        s_dataCache.insert(name, value);
    return value;
}

QVariant CollectionSettings::cachedValue(const QUuid &collection, const QString &name, const QString &olderName)
{
    selectedCollectionChanged(collection);
    const auto cached = s_dataCache.constFind(name);
    if (cached != s_dataCache.constEnd())
        return cached.value();
    QVariant value = DBManager::GetSettingsEntry(collection, name, QVariant());
    if (isMissing(value))
        value = DBManager::GetSettingsEntry(collection, olderName, QVariant());
    if (!isMissing(value))
        s_dataCache.insert(name, value);
    return value;
}

bool CollectionSettings::cachedBoolean(const QUuid &collection, const QString &name, bool defaultValue)
{
    const QVariant value = cachedValue(collection, name);
    return isValidInt(value) ? value.toInt() == 1 : defaultValue;
}

bool CollectionSettings::cachedPageSwitch(const QUuid &collection, const QString &name)
{
    const QVariant value = cachedValue(collection, name);
    if (isMissing(value))
        return false;
    return value.canConvert<int>() ? value.toInt() == 1 : true;
}

int CollectionSettings::cachedInt(const QUuid &collection, const QString &name, int defaultValue)
{
    const QVariant value = cachedValue(collection, name);
    return isValidInt(value) ? value.toInt() : defaultValue;
}

QString CollectionSettings::cachedText(const QUuid &collection, const QString &name, const QString &defaultValue)
{
    const QVariant value = cachedValue(collection, name);
    return !isMissing(value) && value.canConvert<QString>() ? value.toString() : defaultValue;
}

int CollectionSettings::cachedNamedValue(const QUuid &collection, const QString &name, const QStringList &names,
                                         const QList<int> &values, int fallback)
{
    const QVariant value = cachedValue(collection, name);
    if (isMissing(value) || !value.canConvert<QString>())
        return fallback;
    // Compared as stored: a blank around the name makes it another name.
    const QString text = value.toString();
    for (int i = 0; i < names.size(); ++i) {
        if (text.compare(names.at(i), Qt::CaseInsensitive) == 0)
            return values.at(i);
    }
    return fallback;
}

QString CollectionSettings::headerLink(const QUuid &collection)
{
    const QVariant value = DBManager::GetSettingsEntry(collection, Keys::KeyOfHeaderLink, QVariant());
    return !isMissing(value) && value.canConvert<QString>() ? value.toString() : QString();
}

QString CollectionSettings::helpLink(const QUuid &collection)
{
    const QVariant value = DBManager::GetSettingsEntry(collection, Keys::KeyOfHelpLink, QVariant());
    const QString link = !isMissing(value) && value.canConvert<QString>() ? value.toString() : QString();
    return link.isEmpty() ? QStringLiteral("file:///%APP%/Contents/Resources/help/main.html") : link;
}

QString CollectionSettings::dizevizWatchFileName(const QUuid &collection)
{
    return cachedText(collection, Keys::KeyOfDizevizFilenameToWatch, QString());
}

QString CollectionSettings::dizevizWatchFolder(const QUuid &collection)
{
    return cachedText(collection, Keys::KeyOfDizevizFolderToWatch_MACOS, QString());
}

double CollectionSettings::firstSegmentAngle(const QUuid &collection)
{
    const QVariant value = cachedValue(collection, Keys::KeyOfFirstSegmentAngle);
    if (isMissing(value) || !value.canConvert<double>())
        return 0.0;
    bool ok = false;
    const double angle = value.toDouble(&ok);
    // "nan" and "inf" convert, but no boundary of the wheel can start there.
    return ok && std::isfinite(angle) ? angle : 0.0;
}

QString CollectionSettings::collectionName(const QUuid &collection)
{
    return cachedText(collection, Keys::KeyOfCollectionName, QString());
}

bool CollectionSettings::dizevizAvailable(const QUuid &collection)
{
    return cachedBoolean(collection, Keys::KeyOfDizevizEnabled, false);
}

bool CollectionSettings::tooltipShowsRowIndex(const QUuid &collection)
{
    return cachedBoolean(collection, Keys::KeyOfColorTooltipShowRowRowIndex, false);
}

bool CollectionSettings::tooltipShowsRowSegment(const QUuid &collection)
{
    return cachedBoolean(collection, Keys::KeyOfColorTooltipShowRowSegment, false);
}

bool CollectionSettings::tooltipShowsRowAdditionalNames(const QUuid &collection)
{
    return cachedBoolean(collection, Keys::KeyOfColorTooltipShowRowAdditionalNames, false);
}

bool CollectionSettings::tooltipShowsPageSegment(const QUuid &collection)
{
    return cachedBoolean(collection, Keys::KeyOfColorTooltipShowPageSegment, false);
}

bool CollectionSettings::tooltipShowsPageIndex(const QUuid &collection)
{
    return cachedBoolean(collection, Keys::KeyOfColorTooltipShowPageIndex, false);
}

bool CollectionSettings::tooltipShowsCollectionName(const QUuid &collection)
{
    return cachedBoolean(collection, Keys::KeyOfColorTooltipShowCollectionName, false);
}

bool CollectionSettings::tooltipShowsRowAuxiliaryInfo(const QUuid &collection)
{
    const QVariant value =
        cachedValue(collection, Keys::KeyOfColorTooltipShowRowAuxiliaryInfo, Keys::KeyOfColorTooltipShowAuxiliary);
    return isValidInt(value) && value.toInt() == 1;
}

bool CollectionSettings::tooltipShowsRowCode(const QUuid &collection)
{
    const QVariant value = cachedValue(collection, Keys::KeyOfColorTooltipShowRowCode, Keys::KeyOfColorTooltipShowColorCode);
    return isValidInt(value) && value.toInt() == 1;
}

bool CollectionSettings::tooltipShowsRowName(const QUuid &collection)
{
    const QVariant value = cachedValue(collection, Keys::KeyOfColorTooltipShowRowName, Keys::KeyOfColorTooltipShowColorName);
    return isValidInt(value) && value.toInt() == 1;
}

bool CollectionSettings::tooltipShowsPageName(const QUuid &collection)
{
    const QVariant value = cachedValue(collection, Keys::KeyOfColorTooltipShowPageName, Keys::KeyOfColorTooltipShowCardName);
    return isValidInt(value) && value.toInt() == 1;
}

bool CollectionSettings::savePaletteTextFormatAvailable(const QUuid &collection, bool defaultValue)
{
    return cachedBoolean(collection, Keys::KeyOfSavePaletteTextFormatAlloved, defaultValue);
}

bool CollectionSettings::mustFill(const QUuid &collection)
{
    return cachedBoolean(collection, Keys::KeyOfMustFill, true);
}

bool CollectionSettings::hasTextures(const QUuid &collection)
{
    return cachedPageSwitch(collection, Keys::KeyOfHasTexturesPage);
}

bool CollectionSettings::hasProductGroups(const QUuid &collection)
{
    return cachedPageSwitch(collection, Keys::KeyOfHasProductGroupsPage);
}

bool CollectionSettings::hasColorSchemer(const QUuid &collection)
{
    return cachedPageSwitch(collection, Keys::KeyOfHasColorSchemesPage);
}

bool CollectionSettings::moodVisible(const QUuid &collection)
{
    return cachedBoolean(collection, Keys::KeyOfMoodVisible, true);
}

bool CollectionSettings::hasExteriorFilter(const QUuid &collection)
{
    return cachedBoolean(collection, Keys::KeyOfHasExteriorFilter, true);
}

int CollectionSettings::numOfSegments(const QUuid &collection)
{
    // The wheel divides by the count and turns angles into segment indexes.
    const int count = cachedInt(collection, Keys::KeyOfNumOfSegments, defaultSegmentCount);
    return count > 0 ? count : defaultSegmentCount;
}

double CollectionSettings::segmentAngleInRadians(const QUuid &collection)
{
    const QString cacheKey = QStringLiteral("segmentAngleInRadians");
    selectedCollectionChanged(collection);
    const auto cached = s_dataCache.constFind(cacheKey);
    if (cached != s_dataCache.constEnd()) {
        bool ok = false;
        const double angle = cached.value().toDouble(&ok);
        return ok ? angle : M_PI / defaultSegmentCount;
    }
    const double angle = 2.0 * M_PI / numOfSegments(collection);
    s_dataCache.insert(cacheKey, angle);
    return angle;
}

double CollectionSettings::segmentAngleInDegrees(const QUuid &collection)
{
    return segmentAngleInRadians(collection) * 180.0 / M_PI;
}

int CollectionSettings::maxChipsOnAPage(const QUuid &collection)
{
    return cachedInt(collection, Keys::KeyOfMaxChipsOnAPage, 0);
}

QSize CollectionSettings::huecastChipSize(const QUuid &collection)
{
    const QString cacheKey = QStringLiteral("HuecastChipSize");
    selectedCollectionChanged(collection);
    const auto cached = s_dataCache.constFind(cacheKey);
    if (cached != s_dataCache.constEnd())
        return cached.value().toSize();
    const QVariant width = DBManager::GetSettingsEntry(collection, Keys::KeyOfHuecastChipWidth, QVariant());
    if (!isValidInt(width))
        return defaultHuecastChipSize;
    const QVariant height = DBManager::GetSettingsEntry(collection, Keys::KeyOfHuecastChipHeight, QVariant());
    if (!isValidInt(height))
        return defaultHuecastChipSize;
    const QSize size(width.toInt(), height.toInt());
    s_dataCache.insert(cacheKey, size);
    return size;
}

QSize CollectionSettings::textureSize(const QUuid &collection, const QSize &defaultValue)
{
    const QString &name = Keys::KeyOfTextureSize;
    selectedCollectionChanged(collection);
    const auto cached = s_dataCache.constFind(name);
    if (cached != s_dataCache.constEnd())
        return cached.value().canConvert<QSize>() ? cached.value().toSize() : defaultValue;

    QVariant value = DBManager::GetSettingsEntry(collection, name, QVariant());
    if (isMissing(value))
        value = DBManager::GetSettingsEntry(DBStructure::SystemWideCollectionUuid, name, QVariant());
    if (isMissing(value) || !value.canConvert<QString>())
        return defaultValue;
    const QStringList parts = value.toString().split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return defaultValue;
    bool widthOk = false;
    bool heightOk = false;
    const QSize size(parts.at(0).toInt(&widthOk, 10), parts.at(1).toInt(&heightOk, 10));
    if (!widthOk || !heightOk)
        return defaultValue;
    s_dataCache.insert(name, size);
    return size;
}

int CollectionSettings::productGroupMode(const QUuid &collection)
{
    return cachedNamedValue(collection, Keys::KeyOfProductGroupsMode,
                            {Keys::Value_GroupsWithProductTooltip, Keys::Value_Products}, {0, 1}, 0);
}

MoodMode CollectionSettings::moodMode(const QUuid &collection)
{
    return static_cast<MoodMode>(cachedNamedValue(collection, Keys::KeyOfMoodMode,
                                                  {QStringLiteral("MoodModeNormal"), QStringLiteral("MoodModeWarmFreshEquals")},
                                                  {MoodModeNormal, MoodModeWarmFreshEquals}, MoodModeUnset));
}

int CollectionSettings::mode(const QUuid &collection)
{
    return cachedNamedValue(collection, Keys::KeyOfCardMode,
                            {QStringLiteral("ModeColorToColor"), QStringLiteral("ModeCardToCard")}, {1, 2}, 0);
}

int CollectionSettings::segmentIncrementOrientation(const QUuid &collection)
{
    return cachedNamedValue(collection, Keys::KeyOfSegmentIncrementOrientation,
                            {QStringLiteral("CW"), QStringLiteral("CCW")}, {1, 2}, 0);
}

int CollectionSettings::cardType(const QUuid &collection)
{
    return cachedNamedValue(collection, Keys::KeyOfCardType, {QStringLiteral("normal"), QStringLiteral("sarnex")},
                            {1, 2}, 0);
}

TabBarPages CollectionSettings::availableTabBarPages(const QUuid &collection)
{
    const QString cacheKey = QStringLiteral("availableTabBarPages");
    selectedCollectionChanged(collection);
    const auto cached = s_dataCache.constFind(cacheKey);
    if (cached != s_dataCache.constEnd())
        return TabBarPages(cached.value().toInt());

    const auto switchedOn = [](const QUuid &owner, const QString &name) {
        const QVariant value = DBManager::GetSettingsEntry(owner, name, QVariant());
        return isValidInt(value) && value.toInt() != 0;
    };
    TabBarPages pages = TabBarPageColorSchemes;
    if (switchedOn(collection, Keys::KeyOfHasProductGroupsPage))
        pages |= TabBarPageProducts;
    if (switchedOn(DBStructure::SystemWideCollectionUuid, Keys::KeyOfHasTexturesPage)
        && switchedOn(collection, Keys::KeyOfHasTexturesPage))
        pages |= TabBarPageTextures;
    if (switchedOn(collection, Keys::KeyOfHasHuecastPage))
        pages |= TabBarPageHuecast;
    s_dataCache.insert(cacheKey, pages.toInt());
    return pages;
}

QVector<SchemeKind> CollectionSettings::schemesOrder(const QUuid &collection)
{
    const QString &name = Keys::KeyOfSchemes;
    selectedCollectionChanged(collection);
    auto cached = s_dataCache.constFind(name);
    if (cached == s_dataCache.constEnd()) {
        const QList<QVariant> rows = DBManager::GetSettingsEntries(collection, name);
        const QVariantList mapped = allTexts(rows)
            ? mapRows(rows,
                      {Keys::Value_SchemeHarmonic, Keys::Value_SchemeContrast, Keys::Value_SchemeWideContrast,
                       Keys::Value_SchemeDynamic, Keys::Value_SchemeDramatic, Keys::Value_SchemeNeutral,
                       Keys::Value_SchemeTonalNeutral, Keys::Value_SchemeComplementaryNeutral},
                      {1, 2, 3, 4, 5, 6, 7, 8})
            : QVariantList();
        cached = s_dataCache.insert(name, mapped);
    }
    QVector<SchemeKind> order;
    for (const QVariant &element : cached.value().toList()) {
        // A text naming no kind counts as the number it spells; one outside
        // the kinds is no kind.
        const int kind = element.toInt();
        order.append(kind >= SchemeNone && kind <= SchemeComplementaryNeutral ? static_cast<SchemeKind>(kind) : SchemeNone);
    }
    return order;
}

QVector<TabBarPage> CollectionSettings::tabBarPagesOrder(const QUuid &collection)
{
    const QString &name = Keys::KeyOfTabBarPages;
    selectedCollectionChanged(collection);
    auto cached = s_dataCache.constFind(name);
    if (cached == s_dataCache.constEnd()) {
        const QList<QVariant> rows = DBManager::GetSettingsEntries(collection, name);
        const QVariantList mapped = allTexts(rows)
            ? mapRows(rows,
                      {Keys::Value_PageOfColorSchemes, Keys::Value_PageOfProducts, Keys::Value_PageOfHuecast,
                       Keys::Value_PageOfTextures},
                      {TabBarPageColorSchemes, TabBarPageProducts, TabBarPageHuecast, TabBarPageTextures})
            : QVariantList{int(TabBarPageColorSchemes), int(TabBarPageProducts), int(TabBarPageHuecast),
                           int(TabBarPageTextures)};
        cached = s_dataCache.insert(name, mapped);
    }
    QVector<TabBarPage> order{TabBarPageColorSchemes};
    for (const QVariant &element : cached.value().toList()) {
        const int page = element.toInt();
        if (page == TabBarPageColorSchemes)
            continue;
        const bool known = page == TabBarPageProducts || page == TabBarPageHuecast || page == TabBarPageTextures;
        order.append(known ? static_cast<TabBarPage>(page) : TabBarPageNone);
    }
    return order;
}

QVector<double> CollectionSettings::cie200DeltaIntervals(const QUuid &collection)
{
    const QString &name = Keys::KeyOfCie2000DDeltaIntervals;
    selectedCollectionChanged(collection);
    QVector<double> intervals;
    const auto cached = s_dataCache.constFind(name);
    if (cached != s_dataCache.constEnd()) {
        for (const QVariant &element : cached.value().toList())
            intervals.append(element.toDouble());
        return intervals;
    }
    const QVariant value = DBManager::GetSettingsEntry(collection, name, QVariant());
    if (!isMissing(value) && value.canConvert<QString>()) {
        QVariantList stored;
        for (const QString &part : value.toString().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const double interval = part.toDouble(&ok);
            if (ok && interval > 0.0) {
                intervals.append(interval);
                stored.append(interval);
            }
        }
        if (!intervals.isEmpty()) {
            s_dataCache.insert(name, stored);
            return intervals;
        }
    }
    return {0.05};
}

bool CollectionSettings::cachedMoodTest(const QUuid &collection, const QString &cacheKey, Mood mood,
                                        bool (*test)(const QUuid &, Mood))
{
    const QString key = cacheKey.arg(static_cast<int>(mood));
    selectedCollectionChanged(collection);
    const auto cached = s_dataCache.constFind(key);
    if (cached != s_dataCache.constEnd())
        return cached.value().toBool();
    const bool answer = test(collection, mood);
    // The query may have asked about another collection in between.
    selectedCollectionChanged(collection);
    s_dataCache.insert(key, answer);
    return answer;
}

bool CollectionSettings::hasPageWithMood(const QUuid &collection, Mood mood)
{
    return cachedMoodTest(collection, QStringLiteral("hasPageWithMood:%1"), mood, &DBManager::hasPageWithMood);
}

bool CollectionSettings::hasPageWithNonExteriorMood(const QUuid &collection, Mood mood)
{
    return cachedMoodTest(collection, QStringLiteral("hasPageWithNonExteriorMood:%1"), mood,
                          &DBManager::hasPageWithNonExteriorMood);
}

bool CollectionSettings::hasPageWithExteriorMood(const QUuid &collection, Mood mood)
{
    return cachedMoodTest(collection, QStringLiteral("hasPageWithExteriorMood:%1"), mood,
                          &DBManager::hasPageWithExteriorMood);
}

} // namespace Velmar
