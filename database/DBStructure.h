#ifndef VELMAR_DBSTRUCTURE_H
#define VELMAR_DBSTRUCTURE_H

#include <QHash>
#include <QString>
#include <QStringList>
#include <QUuid>

class QSqlDatabase;
class QTextStream;

namespace Velmar {

// The schema of a collection file: statement texts, creation order, and the
// check or creation of the whole structure inside one savepoint. The plug-in
// only reads collection files; the creation is for the tools that write them.
class DBStructure
{
public:
    static const QUuid NullCollectionUuid;
    static const QUuid SystemWideCollectionUuid;
    static const qint64 SystemWideCollectionId;

    static const QString TABLE_GLOBALSETTING;
    static const QString TABLE_COLLECTION;
    static const QString TABLE_MOOD;
    static const QString TABLE_SCHEME;
    static const QString TABLE_SETTING;
    static const QString TABLE_LOCALE;
    static const QString TABLE_THEME;
    static const QString TABLE_PAGE;
    static const QString TABLE_ROW;
    static const QString TABLE_ROW_NAME;
    static const QString TABLE_PAGE_SCHEME;
    static const QString TABLE_PRODUCT_GROUP;
    static const QString TABLE_PRODUCT;
    static const QString TABLE_PRODUCT_PRODUCT_GROUP_MAP;
    static const QString TABLE_ROW_PRODUCT_MAP;
    static const QString TABLE_ROW_PRODUCT_GROUP_MAP;
    static const QString TABLE_HUECAST_GROUP;
    static const QString TABLE_HUECAST_ENTRY;
    static const QString TABLE_TEXTURE;
    static const QString TABLE_TEXTURE_MAP;
    // Made together with the cards and the scheme tables; the queries reach
    // a card's collection and a chip's scheme partners through them.
    static const QString TABLE_COLLECTION_PAGE_MAP;
    static const QString TABLE_ROW_SCHEME_MAP;
    static const QString VIEW_DIZEVIZ_COLLECTION_IDS_BY_PRIORITY;

    static void Prepare();

    // 1 when the table exists (exact name), 2 when not, -1 when the database
    // is not open, -7 when the look-up fails.
    static int HasTable(QSqlDatabase *database, const QString &tableName);
    static int CheckStructure(QSqlDatabase *database, bool withSystemData, QTextStream *log);
    static int CreateStructure(QSqlDatabase *database, bool withSystemData, QTextStream *log);

    static QStringList tableNamesInCreationOrder();

    // Statements of the texture, trend-colour and product queries. The ids of
    // placings and products are bound; collection and group ids are pasted.
    static const QString SelectTextureMapForPage;
    static const QString SelectTexturesOfCollection;
    static const QString SelectHuecastGroupsOfCollection;
    static const QString SelectHuecastEntriesOfGroup;
    static const QString SelectProductGroupsOfRow;
    static const QString SelectProductsOfRow;

private:
    DBStructure() = default;

    static QStringList _tableNamesInCreationOrder;
    static QHash<QString, QStringList> _tableCreationScripts;
    static QHash<QString, QStringList> _systemDataScripts;
    static QStringList _viewNamesInCreationOrder;
    static QHash<QString, QStringList> _viewCreationScripts;

    static const QString _scrCreateGlobalSetting;
    static const QString _scrCreateCollection_01;
    static const QString _scrCreateCollection_02;
    static const QString _scrCreateCollection_03;
    static const QString _scrCreateCollection_04;
    static const QString _scrCreateMood_01;
    static const QString _scrCreateScheme_01;
    static const QString _scrCreateSetting_01;
    static const QString _scrCreateSetting_02;
    static const QString _scrCreateLocale;
    static const QString _scrCreateTheme;
    static const QString _scrCreatePage_01;
    static const QString _scrCreatePage_02;
    static const QString _scrCreatePage_03;
    static const QString _scrCreateCollectionPageMap_01;
    static const QString _scrCreateCollectionPageMap_02;
    static const QString _scrCreateRow_01;
    static const QString _scrCreateRow_02;
    static const QString _scrCreateRow_03;
    static const QString _scrCreateRowName_01;
    static const QString _scrCreateRowName_02;
    static const QString _scrCreatePageScheme_01;
    static const QString _scrCreatePageScheme_02;
    static const QString _scrCreatePageScheme_03;
    static const QString _scrCreateRowSchemeMap_01;
    static const QString _scrCreateRowSchemeMap_02;
    static const QString _scrCreateProductGroup_01;
    static const QString _scrCreateProduct_01;
    static const QString _scrCreateProductGroupProductMap_01;
    static const QString _scrCreateProductGroupProductMap_02;
    static const QString _scrCreateRowProductMap_01;
    static const QString _scrCreateRowProductMap_02;
    static const QString _scrCreateRowProductGroupMap_01;
    static const QString _scrCreateRowProductGroupMap_02;
    static const QString _scrCreateHuecastGroup;
    static const QString _scrCreateHuecastEntry_01;
    static const QString _scrCreateHuecastEntry_02;
    static const QString _scrCreateTextures;
    static const QString _scrCreateTextureMap_01;
    static const QString _scrCreateTextureMap_02;
    static const QString _scrCreateViewDizevizCollectionIdsByPriority;

    static const QString _scrCreateCollection_01_systemData;
    static const QString _scrCreateMood_01_systemData;
    static const QString _scrCreateMood_02_systemData;
    static const QString _scrCreateMood_03_systemData;
    static const QString _scrCreateMood_04_systemData;
    static const QString _scrCreateMood_05_systemData;
    static const QString _scrCreateMood_06_systemData;
    static const QString _scrCreateScheme_01_systemData;
    static const QString _scrCreateScheme_02_systemData;
    static const QString _scrCreateScheme_03_systemData;
    static const QString _scrCreateScheme_04_systemData;
    static const QString _scrCreateScheme_05_systemData;
    static const QString _scrCreateScheme_06_systemData;
    static const QString _scrCreateScheme_07_systemData;
    static const QString _scrCreateScheme_08_systemData;

public:
    // Scheme matches: the proposals stored per chip in ROW_SCHEME_MAP and per
    // card in PAGE_SCHEME. Numbers are pasted in decimal: %1 the collection's
    // id, then the source chip's id (or the source card's page index) and
    // the scheme kind.
    static const QString _scrSelectSchemeMatchesForColorToColor;
    static const QString _scrSelectSarnexSchemeMatchesForColor;
    static const QString _scrSelectSchemeMatchesForCardToCard;
    static const QString _scrCountComplementaryNeutralCardToCard;

    // Chips by id: %1 the collection's id, %2 the ids, comma-separated decimals.
    static const QString _scrSelectChipsByIds;
};

} // namespace Velmar

#endif // VELMAR_DBSTRUCTURE_H
