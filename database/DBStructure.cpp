#include "database/DBStructure.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QVariant>

namespace Velmar {

// Every statement text lives in this one translation unit, so their
// initialisation order is the order of definition below.

const QUuid DBStructure::NullCollectionUuid;
const QUuid DBStructure::SystemWideCollectionUuid(0xFFFFFFFFu, 0xFFFF, 0xFFFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF);
const qint64 DBStructure::SystemWideCollectionId = 0;

const QString DBStructure::TABLE_GLOBALSETTING = QStringLiteral("GLOBALSETTING");
const QString DBStructure::TABLE_COLLECTION = QStringLiteral("COLLECTION");
const QString DBStructure::TABLE_MOOD = QStringLiteral("MOOD");
const QString DBStructure::TABLE_SCHEME = QStringLiteral("SCHEME");
const QString DBStructure::TABLE_SETTING = QStringLiteral("SETTING");
const QString DBStructure::TABLE_LOCALE = QStringLiteral("LOCALE");
const QString DBStructure::TABLE_THEME = QStringLiteral("THEME");
const QString DBStructure::TABLE_PAGE = QStringLiteral("PAGE");
const QString DBStructure::TABLE_ROW = QStringLiteral("ROW");
const QString DBStructure::TABLE_ROW_NAME = QStringLiteral("ROW_NAME");
const QString DBStructure::TABLE_PAGE_SCHEME = QStringLiteral("PAGE_SCHEME");
const QString DBStructure::TABLE_PRODUCT_GROUP = QStringLiteral("PRODUCT_GROUP");
const QString DBStructure::TABLE_PRODUCT = QStringLiteral("PRODUCT");
const QString DBStructure::TABLE_PRODUCT_PRODUCT_GROUP_MAP = QStringLiteral("PRODUCT_PRODUCT_GROUP_MAP");
const QString DBStructure::TABLE_ROW_PRODUCT_MAP = QStringLiteral("ROW_PRODUCT_MAP");
const QString DBStructure::TABLE_ROW_PRODUCT_GROUP_MAP = QStringLiteral("ROW_PRODUCT_GROUP_MAP");
const QString DBStructure::TABLE_HUECAST_GROUP = QStringLiteral("HUECAST_GROUP");
const QString DBStructure::TABLE_HUECAST_ENTRY = QStringLiteral("HUECAST_ENTRY");
const QString DBStructure::TABLE_TEXTURE = QStringLiteral("TEXTURE");
const QString DBStructure::TABLE_TEXTURE_MAP = QStringLiteral("TEXTURE_MAP");
const QString DBStructure::TABLE_COLLECTION_PAGE_MAP = QStringLiteral("COLLECTION_PAGE_MAP");
const QString DBStructure::TABLE_ROW_SCHEME_MAP = QStringLiteral("ROW_SCHEME_MAP");
const QString DBStructure::VIEW_DIZEVIZ_COLLECTION_IDS_BY_PRIORITY = QStringLiteral("DIZEVIZ_COLLECTION_IDS_BY_PRIORITY");

QStringList DBStructure::_tableNamesInCreationOrder;
QHash<QString, QStringList> DBStructure::_tableCreationScripts;
QHash<QString, QStringList> DBStructure::_systemDataScripts;
QStringList DBStructure::_viewNamesInCreationOrder;
QHash<QString, QStringList> DBStructure::_viewCreationScripts;

#define VELMAR_PRIMARY_KEY "ID integer PRIMARY KEY AUTOINCREMENT NOT NULL"
#define VELMAR_CASCADE "ON DELETE CASCADE ON UPDATE RESTRICT"
#define VELMAR_SET_NULL "ON DELETE SET NULL ON UPDATE SET NULL"
#define VELMAR_COLLECTION_KEY "FOREIGN KEY (COLLECTION_ID) REFERENCES COLLECTION (ID) " VELMAR_CASCADE
// The ten names and ten extra texts by index that cards and chips carry.
#define VELMAR_NAMES_AND_EXTRAS                                                    \
    "NAME0 text, NAME1 text, NAME2 text, NAME3 text, NAME4 text, "                 \
    "NAME5 text, NAME6 text, NAME7 text, NAME8 text, NAME9 text, "                 \
    "EXTRA0 text, EXTRA1 text, EXTRA2 text, EXTRA3 text, EXTRA4 text, "            \
    "EXTRA5 text, EXTRA6 text, EXTRA7 text, EXTRA8 text, EXTRA9 text, "

const QString DBStructure::_scrCreateGlobalSetting = QStringLiteral(
    "CREATE TABLE GLOBALSETTING ("
    "NAME varchar(256) PRIMARY KEY NOT NULL COLLATE NOCASE, "
    "VALUE NOT NULL)");

const QString DBStructure::_scrCreateCollection_01 = QStringLiteral(
    "CREATE TABLE COLLECTION ("
    VELMAR_PRIMARY_KEY ", "
    "UUID varchar(64) NOT NULL UNIQUE COLLATE NOCASE, "
    "SYSTEMID varchar(32) NOT NULL UNIQUE COLLATE NOCASE, "
    "VERSION integer NOT NULL DEFAULT 1, "
    "NAME varchar(128) NOT NULL COLLATE NOCASE, "
    "\"ORDER\" integer NOT NULL DEFAULT 1)");
const QString DBStructure::_scrCreateCollection_02 = QStringLiteral("CREATE UNIQUE INDEX UNQ_UUID ON COLLECTION (UUID)");
const QString DBStructure::_scrCreateCollection_03 = QStringLiteral("CREATE UNIQUE INDEX UNQ_SYSTEMID ON COLLECTION (SYSTEMID)");
const QString DBStructure::_scrCreateCollection_04 = QStringLiteral("CREATE UNIQUE INDEX UNQ_ORDER ON COLLECTION (\"ORDER\")");

const QString DBStructure::_scrCreateMood_01 = QStringLiteral(
    "CREATE TABLE MOOD ("
    VELMAR_PRIMARY_KEY ", "
    "COLLECTION_ID integer NOT NULL, "
    "NAME varchar(32) NOT NULL COLLATE NOCASE, "
    VELMAR_COLLECTION_KEY ")");

const QString DBStructure::_scrCreateScheme_01 = QStringLiteral(
    "CREATE TABLE SCHEME ("
    VELMAR_PRIMARY_KEY ", "
    "COLLECTION_ID integer NOT NULL, "
    "NAME varchar(32) NOT NULL COLLATE NOCASE, "
    VELMAR_COLLECTION_KEY ")");

const QString DBStructure::_scrCreateSetting_01 = QStringLiteral(
    "CREATE TABLE SETTING ("
    VELMAR_PRIMARY_KEY ", "
    "COLLECTION_ID integer NOT NULL, "
    "NAME varchar(255) NOT NULL COLLATE NOCASE, "
    "VALUE TEXT NOT NULL, "
    "VALUE_INDEX integer NOT NULL DEFAULT 0, "
    VELMAR_COLLECTION_KEY ")");
const QString DBStructure::_scrCreateSetting_02 = QStringLiteral(
    "CREATE UNIQUE INDEX UNQ_SETTING_NAME_PER_COLLECTION ON SETTING "
    "(COLLECTION_ID ASC, NAME COLLATE NOCASE ASC, VALUE_INDEX ASC)");

const QString DBStructure::_scrCreateLocale = QStringLiteral(
    "CREATE TABLE LOCALE ("
    VELMAR_PRIMARY_KEY ", "
    "COLLECTION_ID integer NOT NULL, "
    "LOCALE varchar(32) NOT NULL COLLATE NOCASE DEFAULT '', "
    "ITEM_ID integer, "
    "\"KEY\" varchar(255) NOT NULL COLLATE NOCASE, "
    "STRING text NOT NULL COLLATE NOCASE, "
    VELMAR_COLLECTION_KEY ")");

const QString DBStructure::_scrCreateTheme = QStringLiteral(
    "CREATE TABLE THEME ("
    VELMAR_PRIMARY_KEY ", "
    "COLLECTION_ID integer NOT NULL, "
    "ITEM_KEY varchar(255) NOT NULL COLLATE NOCASE, "
    "ITEM_DATA blob NOT NULL, "
    VELMAR_COLLECTION_KEY ")");

const QString DBStructure::_scrCreatePage_01 = QStringLiteral(
    "CREATE TABLE PAGE ("
    VELMAR_PRIMARY_KEY ", "
    "COLLECTION_ID integer NOT NULL, "
    "PAGE_INDEX integer NOT NULL, "
    "SEGMENT integer NOT NULL, "
    "NAME varchar(255) NOT NULL COLLATE NOCASE, "
    VELMAR_NAMES_AND_EXTRAS
    "EXTERIOR integer NOT NULL DEFAULT 0, "
    "MOOD integer NOT NULL DEFAULT 0, "
    "CHECK (SEGMENT > 0), "
    "CHECK (PAGE_INDEX > 0), "
    VELMAR_COLLECTION_KEY ")");
const QString DBStructure::_scrCreatePage_02 = QStringLiteral(
    "CREATE UNIQUE INDEX UNQ_PAGE_INDEX_IN_COLLECTION ON PAGE (COLLECTION_ID, PAGE_INDEX)");
const QString DBStructure::_scrCreatePage_03 = QStringLiteral(
    "CREATE UNIQUE INDEX UNQ_NAME_IN_COLLECTION ON PAGE (COLLECTION_ID, NAME)");

const QString DBStructure::_scrCreateCollectionPageMap_01 = QStringLiteral(
    "CREATE TABLE COLLECTION_PAGE_MAP ("
    "COLLECTION_ID integer NOT NULL, "
    "PAGE_ID integer NOT NULL, "
    VELMAR_COLLECTION_KEY ", "
    "FOREIGN KEY (PAGE_ID) REFERENCES PAGE (ID) " VELMAR_CASCADE ")");
const QString DBStructure::_scrCreateCollectionPageMap_02 = QStringLiteral(
    "CREATE UNIQUE INDEX UNQ_COLLECTION_PAGE ON COLLECTION_PAGE_MAP (COLLECTION_ID, PAGE_ID)");

const QString DBStructure::_scrCreateRow_01 = QStringLiteral(
    "CREATE TABLE \"ROW\" ("
    VELMAR_PRIMARY_KEY ", "
    "COLLECTION_ID integer NOT NULL, "
    "PAGE_ID integer NOT NULL, "
    "ROW_INDEX integer NOT NULL, "
    "CODE varchar(32) NOT NULL COLLATE NOCASE DEFAULT '', "
    "NAME varchar(128) NOT NULL COLLATE NOCASE DEFAULT '', "
    VELMAR_NAMES_AND_EXTRAS
    "SEGMENT integer NOT NULL, "
    "RED integer NOT NULL, "
    "GREEN integer NOT NULL, "
    "BLUE integer NOT NULL, "
    "L real NOT NULL, "
    "A real NOT NULL, "
    "B real NOT NULL, "
    "IS_MTO integer NOT NULL DEFAULT 0, "
    "NEUTRAL integer NOT NULL DEFAULT 0, "
    "WHITE integer NOT NULL DEFAULT 0, "
    "MOOD integer NOT NULL DEFAULT 0, "
    "SCHEME_POS integer NOT NULL DEFAULT 0, "
    "NSCHEME_POS integer NOT NULL DEFAULT 0, "
    "CHECK (ROW_INDEX > 0), "
    "CHECK (RED >= 0 AND RED < 256), "
    "CHECK (GREEN >= 0 AND GREEN < 256), "
    "CHECK (BLUE >= 0 AND BLUE < 256), "
    "CHECK (L >= 0 AND L <= 100), "
    "CHECK (A >= -128 AND A <= 127), "
    "CHECK (B >= -128 AND B <= 127), "
    "CHECK (SEGMENT > 0), "
    "CHECK (SCHEME_POS >= -1), "
    "CHECK (NSCHEME_POS >= -1), "
    "FOREIGN KEY (PAGE_ID) REFERENCES PAGE (ID) " VELMAR_CASCADE ", "
    VELMAR_COLLECTION_KEY ")");
const QString DBStructure::_scrCreateRow_02 = QStringLiteral("CREATE INDEX IDX_PAGE_ID ON \"ROW\" (PAGE_ID)");
// A plain index in spite of its name: codes may repeat within a collection.
const QString DBStructure::_scrCreateRow_03 = QStringLiteral("CREATE INDEX UNQ_COLLECTION_CODE ON \"ROW\" (COLLECTION_ID, CODE)");

const QString DBStructure::_scrCreateRowName_01 = QStringLiteral(
    "CREATE TABLE ROW_NAME ("
    "ROW_ID integer NOT NULL ON CONFLICT FAIL, "
    "NAME_INDEX integer NOT NULL DEFAULT 1, "
    "NAME varchar(128) NOT NULL ON CONFLICT FAIL COLLATE NOCASE, "
    "AUXILIARY_INFO integer NOT NULL DEFAULT 0, "
    "PRIMARY KEY (ROW_ID, NAME_INDEX), "
    "FOREIGN KEY (ROW_ID) REFERENCES \"ROW\" (ID) " VELMAR_CASCADE ", "
    "CHECK (NAME_INDEX > 0), "
    "CHECK (LENGTH(TRIM(NAME)) > 0))");
const QString DBStructure::_scrCreateRowName_02 = QStringLiteral("CREATE INDEX IDX_NAME ON ROW_NAME (NAME)");

const QString DBStructure::_scrCreatePageScheme_01 = QStringLiteral(
    "CREATE TABLE PAGE_SCHEME ("
    VELMAR_PRIMARY_KEY ", "
    "COLLECTION_ID integer NOT NULL, "
    "PAGE_ID integer NOT NULL, "
    "SCHEME_PAGE_ID integer NOT NULL, "
    "SCHEME_ID integer NOT NULL, "
    "\"ORDER\" integer NOT NULL DEFAULT 0, "
    VELMAR_COLLECTION_KEY ", "
    "FOREIGN KEY (SCHEME_ID) REFERENCES SCHEME (ID) " VELMAR_CASCADE ", "
    "FOREIGN KEY (SCHEME_PAGE_ID) REFERENCES PAGE (ID) " VELMAR_CASCADE ", "
    "FOREIGN KEY (PAGE_ID) REFERENCES PAGE (ID) " VELMAR_CASCADE ")");
const QString DBStructure::_scrCreatePageScheme_02 = QStringLiteral(
    "CREATE UNIQUE INDEX UNQ_PAGE_SCHEME_ORDER ON PAGE_SCHEME (PAGE_ID, SCHEME_ID, \"ORDER\")");
const QString DBStructure::_scrCreatePageScheme_03 = QStringLiteral(
    "CREATE UNIQUE INDEX UNQ_PAGE_SCHEME_SCHEMEPAGE ON PAGE_SCHEME (PAGE_ID, SCHEME_PAGE_ID, SCHEME_ID)");

const QString DBStructure::_scrCreateRowSchemeMap_01 = QStringLiteral(
    "CREATE TABLE ROW_SCHEME_MAP ("
    "COLLECTION_ID integer NOT NULL, "
    "ROW_ID integer NOT NULL, "
    "SCHEME_ID integer NOT NULL, "
    "SCHEME_ROW_ID integer NOT NULL, "
    "PAGE_ORDER integer NOT NULL DEFAULT 0, "
    "ROW_ORDER integer NOT NULL DEFAULT 0, "
    VELMAR_COLLECTION_KEY ", "
    "FOREIGN KEY (SCHEME_ID) REFERENCES SCHEME (ID) " VELMAR_CASCADE ", "
    "FOREIGN KEY (ROW_ID) REFERENCES \"ROW\" (ID) " VELMAR_CASCADE ", "
    "FOREIGN KEY (SCHEME_ROW_ID) REFERENCES \"ROW\" (ID) " VELMAR_CASCADE ")");
const QString DBStructure::_scrCreateRowSchemeMap_02 = QStringLiteral(
    "CREATE INDEX IDX_ROW_SCHEME ON ROW_SCHEME_MAP (COLLECTION_ID, ROW_ID, SCHEME_ID)");

const QString DBStructure::_scrCreateProductGroup_01 = QStringLiteral(
    "CREATE TABLE PRODUCT_GROUP (" VELMAR_PRIMARY_KEY ", NAME varchar(128) NOT NULL)");

const QString DBStructure::_scrCreateProduct_01 = QStringLiteral(
    "CREATE TABLE PRODUCT (" VELMAR_PRIMARY_KEY ", NAME varchar(128) NOT NULL)");

const QString DBStructure::_scrCreateProductGroupProductMap_01 = QStringLiteral(
    "CREATE TABLE PRODUCT_PRODUCT_GROUP_MAP ("
    "PRODUCT_GROUP_ID integer, "
    "PRODUCT_ID integer, "
    "FOREIGN KEY (PRODUCT_ID) REFERENCES PRODUCT (ID) " VELMAR_SET_NULL ", "
    "FOREIGN KEY (PRODUCT_GROUP_ID) REFERENCES PRODUCT_GROUP (ID) " VELMAR_SET_NULL ")");
const QString DBStructure::_scrCreateProductGroupProductMap_02 = QStringLiteral(
    "CREATE UNIQUE INDEX UNQ_PRODUCT_GROUP_PRODUCT_ENTRY ON PRODUCT_PRODUCT_GROUP_MAP (PRODUCT_GROUP_ID, PRODUCT_ID)");

const QString DBStructure::_scrCreateRowProductMap_01 = QStringLiteral(
    "CREATE TABLE ROW_PRODUCT_MAP ("
    "COLLECTION_ID integer NOT NULL, "
    "ROW_ID integer, "
    "PRODUCT_ID integer, "
    "FOREIGN KEY (PRODUCT_ID) REFERENCES PRODUCT (ID) " VELMAR_SET_NULL ", "
    "FOREIGN KEY (ROW_ID) REFERENCES \"ROW\" (ID) " VELMAR_SET_NULL ", "
    VELMAR_COLLECTION_KEY ")");
const QString DBStructure::_scrCreateRowProductMap_02 = QStringLiteral(
    "CREATE UNIQUE INDEX UNQ_ROW_PRODUCT_ENTRY ON ROW_PRODUCT_MAP (COLLECTION_ID, ROW_ID, PRODUCT_ID)");

const QString DBStructure::_scrCreateRowProductGroupMap_01 = QStringLiteral(
    "CREATE TABLE ROW_PRODUCT_GROUP_MAP ("
    "COLLECTION_ID integer NOT NULL, "
    "ROW_ID integer, "
    "PRODUCT_GROUP_ID integer, "
    VELMAR_COLLECTION_KEY ", "
    "FOREIGN KEY (ROW_ID) REFERENCES \"ROW\" (ID) " VELMAR_SET_NULL ", "
    "FOREIGN KEY (PRODUCT_GROUP_ID) REFERENCES PRODUCT_GROUP (ID) " VELMAR_SET_NULL ")");
const QString DBStructure::_scrCreateRowProductGroupMap_02 = QStringLiteral(
    "CREATE UNIQUE INDEX UNQ_ROW_PRODUCT_GROUP_ENTRY ON ROW_PRODUCT_GROUP_MAP (COLLECTION_ID, ROW_ID, PRODUCT_GROUP_ID)");

const QString DBStructure::_scrCreateHuecastGroup = QStringLiteral(
    "CREATE TABLE HUECAST_GROUP ("
    VELMAR_PRIMARY_KEY ", "
    "COLLECTION_ID integer NOT NULL, "
    "NAME text NOT NULL DEFAULT '', "
    "DEFAULT_OPEN integer NOT NULL DEFAULT 0, "
    "\"ORDER\" integer NOT NULL DEFAULT 0, "
    VELMAR_COLLECTION_KEY ")");

const QString DBStructure::_scrCreateHuecastEntry_01 = QStringLiteral(
    "CREATE TABLE HUECAST_ENTRY ("
    VELMAR_PRIMARY_KEY ", "
    "COLLECTION_ID integer NOT NULL, "
    "HUECAST_GROUP_ID integer NOT NULL, "
    "ROW_ID integer, "
    "NAME_1 varchar(64) NOT NULL COLLATE NOCASE DEFAULT '', "
    "NAME_2 varchar(64) NOT NULL COLLATE NOCASE DEFAULT '', "
    "RED integer NOT NULL DEFAULT 0 CHECK (RED >= 0 AND RED < 256), "
    "GREEN integer NOT NULL DEFAULT 0 CHECK (GREEN >= 0 AND GREEN < 256), "
    "BLUE integer NOT NULL DEFAULT 0 CHECK (BLUE >= 0 AND BLUE < 256), "
    "\"ORDER\" integer NOT NULL DEFAULT 0, "
    VELMAR_COLLECTION_KEY ", "
    "FOREIGN KEY (HUECAST_GROUP_ID) REFERENCES HUECAST_GROUP (ID) " VELMAR_CASCADE ")");
const QString DBStructure::_scrCreateHuecastEntry_02 = QStringLiteral(
    "CREATE UNIQUE INDEX UNQ_COLLECTION_GROUP_ORDER ON HUECAST_ENTRY (COLLECTION_ID, HUECAST_GROUP_ID, \"ORDER\")");

const QString DBStructure::_scrCreateTextures = QStringLiteral(
    "CREATE TABLE TEXTURE ("
    VELMAR_PRIMARY_KEY ", "
    "COLLECTION_ID integer NOT NULL, "
    "NAME varchar(64) NOT NULL DEFAULT '', "
    "IMAGE blob NOT NULL, "
    "BASE_ALPHA real NOT NULL DEFAULT 1.0 CHECK (BASE_ALPHA >= 0.0 AND BASE_ALPHA <= 1.0), "
    VELMAR_COLLECTION_KEY ")");

const QString DBStructure::_scrCreateTextureMap_01 = QStringLiteral(
    "CREATE TABLE TEXTURE_MAP ("
    "TEXTURE_ID integer NOT NULL, "
    "PAGE_ID integer NOT NULL, "
    "ALPHA real NOT NULL DEFAULT 1.0 CHECK (ALPHA > 0.0 AND ALPHA <= 1.0), "
    "NAME varchar(64) NOT NULL DEFAULT '', "
    "FOREIGN KEY (TEXTURE_ID) REFERENCES TEXTURE (ID) " VELMAR_CASCADE ", "
    "FOREIGN KEY (PAGE_ID) REFERENCES PAGE (ID) " VELMAR_CASCADE ")");
const QString DBStructure::_scrCreateTextureMap_02 = QStringLiteral(
    "CREATE UNIQUE INDEX UNQ_TEXTURE_PAGE ON TEXTURE_MAP (TEXTURE_ID, PAGE_ID)");

// One row per collection, with its lowest priority, however many
// "dizeviz.priority" rows it has.
const QString DBStructure::_scrCreateViewDizevizCollectionIdsByPriority = QStringLiteral(
    "CREATE VIEW DIZEVIZ_COLLECTION_IDS_BY_PRIORITY AS "
    "SELECT P.COLLECTION_ID AS COLLECTION_ID, MIN(IFNULL(CAST(P.VALUE AS integer), 999)) AS PRIORITY "
    "FROM SETTING P "
    "WHERE P.NAME = 'dizeviz.priority' "
    "AND P.COLLECTION_ID IN ("
    "SELECT E.COLLECTION_ID FROM SETTING E "
    "WHERE E.NAME = 'dizeviz.enabled' AND CAST(E.VALUE AS integer) = 1) "
    "GROUP BY P.COLLECTION_ID "
    "ORDER BY PRIORITY ASC");

const QString DBStructure::_scrCreateCollection_01_systemData =
    QStringLiteral("INSERT INTO COLLECTION (ID, UUID, SYSTEMID, VERSION, NAME, \"ORDER\") "
                   "VALUES (0, '%1', 'VIRTUAL', 1, 'SystemWide Collection', 0)")
        .arg(DBStructure::SystemWideCollectionUuid.toString());

#define VELMAR_SEED(table, id, name) \
    QStringLiteral("INSERT INTO " table " (ID, COLLECTION_ID, NAME) VALUES (" #id ", 0, '" name "')")

const QString DBStructure::_scrCreateMood_01_systemData = VELMAR_SEED("MOOD", 1, "fresh");
const QString DBStructure::_scrCreateMood_02_systemData = VELMAR_SEED("MOOD", 2, "warm");
const QString DBStructure::_scrCreateMood_03_systemData = VELMAR_SEED("MOOD", 3, "calm");
const QString DBStructure::_scrCreateMood_04_systemData = VELMAR_SEED("MOOD", 4, "rich");
const QString DBStructure::_scrCreateMood_05_systemData = VELMAR_SEED("MOOD", 5, "offwhite");
const QString DBStructure::_scrCreateMood_06_systemData = VELMAR_SEED("MOOD", 6, "neutral");

const QString DBStructure::_scrCreateScheme_01_systemData = VELMAR_SEED("SCHEME", 1, "harmonic");
const QString DBStructure::_scrCreateScheme_02_systemData = VELMAR_SEED("SCHEME", 2, "contrast");
const QString DBStructure::_scrCreateScheme_03_systemData = VELMAR_SEED("SCHEME", 3, "widecontrast");
const QString DBStructure::_scrCreateScheme_04_systemData = VELMAR_SEED("SCHEME", 4, "dynamic");
const QString DBStructure::_scrCreateScheme_05_systemData = VELMAR_SEED("SCHEME", 5, "dramatic");
const QString DBStructure::_scrCreateScheme_06_systemData = VELMAR_SEED("SCHEME", 6, "neutral");
const QString DBStructure::_scrCreateScheme_07_systemData = VELMAR_SEED("SCHEME", 7, "tonalneutral");
const QString DBStructure::_scrCreateScheme_08_systemData = VELMAR_SEED("SCHEME", 8, "complementaryneutral");

#undef VELMAR_SEED
#undef VELMAR_NAMES_AND_EXTRAS
#undef VELMAR_COLLECTION_KEY
#undef VELMAR_SET_NULL
#undef VELMAR_CASCADE
#undef VELMAR_PRIMARY_KEY

namespace {

void writeErrorLine(QTextStream *log, const QSqlError &error)
{
    if (log && error.isValid())
        *log << error.nativeErrorCode() << " : " << error.text() << Qt::endl;
}

} // namespace

void DBStructure::Prepare()
{
    if (_tableNamesInCreationOrder.isEmpty()) {
        _tableNamesInCreationOrder << TABLE_GLOBALSETTING << TABLE_COLLECTION << TABLE_MOOD << TABLE_SCHEME
                                   << TABLE_SETTING << TABLE_LOCALE << TABLE_THEME << TABLE_PAGE << TABLE_ROW
                                   << TABLE_ROW_NAME << TABLE_PAGE_SCHEME << TABLE_PRODUCT_GROUP << TABLE_PRODUCT
                                   << TABLE_PRODUCT_PRODUCT_GROUP_MAP << TABLE_ROW_PRODUCT_MAP
                                   << TABLE_ROW_PRODUCT_GROUP_MAP << TABLE_HUECAST_GROUP << TABLE_HUECAST_ENTRY
                                   << TABLE_TEXTURE << TABLE_TEXTURE_MAP;
    }
    if (_tableCreationScripts.isEmpty()) {
        _tableCreationScripts.insert(TABLE_GLOBALSETTING, {_scrCreateGlobalSetting});
        _tableCreationScripts.insert(TABLE_COLLECTION, {_scrCreateCollection_01, _scrCreateCollection_02,
                                                        _scrCreateCollection_03, _scrCreateCollection_04});
        _tableCreationScripts.insert(TABLE_MOOD, {_scrCreateMood_01});
        _tableCreationScripts.insert(TABLE_SCHEME, {_scrCreateScheme_01});
        _tableCreationScripts.insert(TABLE_SETTING, {_scrCreateSetting_01, _scrCreateSetting_02});
        _tableCreationScripts.insert(TABLE_LOCALE, {_scrCreateLocale});
        _tableCreationScripts.insert(TABLE_THEME, {_scrCreateTheme});
        _tableCreationScripts.insert(TABLE_PAGE, {_scrCreatePage_01, _scrCreatePage_02, _scrCreatePage_03,
                                                  _scrCreateCollectionPageMap_01, _scrCreateCollectionPageMap_02});
        _tableCreationScripts.insert(TABLE_ROW, {_scrCreateRow_01, _scrCreateRow_02, _scrCreateRow_03});
        _tableCreationScripts.insert(TABLE_ROW_NAME, {_scrCreateRowName_01, _scrCreateRowName_02});
        _tableCreationScripts.insert(TABLE_PAGE_SCHEME, {_scrCreatePageScheme_01, _scrCreatePageScheme_02,
                                                         _scrCreatePageScheme_03, _scrCreateRowSchemeMap_01,
                                                         _scrCreateRowSchemeMap_02});
        _tableCreationScripts.insert(TABLE_PRODUCT_GROUP, {_scrCreateProductGroup_01});
        _tableCreationScripts.insert(TABLE_PRODUCT, {_scrCreateProduct_01});
        _tableCreationScripts.insert(TABLE_PRODUCT_PRODUCT_GROUP_MAP, {_scrCreateProductGroupProductMap_01,
                                                                       _scrCreateProductGroupProductMap_02});
        _tableCreationScripts.insert(TABLE_ROW_PRODUCT_MAP, {_scrCreateRowProductMap_01, _scrCreateRowProductMap_02});
        _tableCreationScripts.insert(TABLE_ROW_PRODUCT_GROUP_MAP, {_scrCreateRowProductGroupMap_01,
                                                                   _scrCreateRowProductGroupMap_02});
        _tableCreationScripts.insert(TABLE_HUECAST_GROUP, {_scrCreateHuecastGroup});
        _tableCreationScripts.insert(TABLE_HUECAST_ENTRY, {_scrCreateHuecastEntry_01, _scrCreateHuecastEntry_02});
        _tableCreationScripts.insert(TABLE_TEXTURE, {_scrCreateTextures});
        _tableCreationScripts.insert(TABLE_TEXTURE_MAP, {_scrCreateTextureMap_01, _scrCreateTextureMap_02});
    }
    if (_systemDataScripts.isEmpty()) {
        _systemDataScripts.insert(TABLE_COLLECTION, {_scrCreateCollection_01_systemData});
        _systemDataScripts.insert(TABLE_MOOD, {_scrCreateMood_01_systemData, _scrCreateMood_02_systemData,
                                               _scrCreateMood_03_systemData, _scrCreateMood_04_systemData,
                                               _scrCreateMood_05_systemData, _scrCreateMood_06_systemData});
        _systemDataScripts.insert(TABLE_SCHEME, {_scrCreateScheme_01_systemData, _scrCreateScheme_02_systemData,
                                                 _scrCreateScheme_03_systemData, _scrCreateScheme_04_systemData,
                                                 _scrCreateScheme_05_systemData, _scrCreateScheme_06_systemData,
                                                 _scrCreateScheme_07_systemData, _scrCreateScheme_08_systemData});
    }
    if (_viewNamesInCreationOrder.isEmpty())
        _viewNamesInCreationOrder << VIEW_DIZEVIZ_COLLECTION_IDS_BY_PRIORITY;
    if (_viewCreationScripts.isEmpty())
        _viewCreationScripts.insert(VIEW_DIZEVIZ_COLLECTION_IDS_BY_PRIORITY, {_scrCreateViewDizevizCollectionIdsByPriority});
}

QStringList DBStructure::tableNamesInCreationOrder()
{
    Prepare();
    return _tableNamesInCreationOrder;
}

int DBStructure::HasTable(QSqlDatabase *database, const QString &tableName)
{
    if (!database || !database->isOpen())
        return -1;
    QSqlQuery query(*database);
    query.prepare(QStringLiteral("SELECT NAME FROM sqlite_master WHERE type = 'table' COLLATE NOCASE AND name = :NAME COLLATE NOCASE"));
    query.bindValue(QStringLiteral(":NAME"), tableName);
    if (!query.exec())
        return -7;
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    // A step that failed is no answer that the table is missing.
    if (query.lastError().isValid())
        return -7;
    // The statement matched regardless of case; the answer is case-sensitive.
    return names.contains(tableName) ? 1 : 2;
}

int DBStructure::CheckStructure(QSqlDatabase *database, bool withSystemData, QTextStream *log)
{
    Prepare();
    if (!database || !database->isOpen()) {
        if (log)
            *log << "Database is not opened." << Qt::endl;
        return -1;
    }
    for (const QString &table : qAsConst(_tableNamesInCreationOrder)) {
        const int found = HasTable(database, table);
        if (found < 0 || found == 2)
            return -8;
    }
    if (!withSystemData)
        return 0;

    QSqlQuery query(*database);
    if (!query.exec(QStringLiteral("SELECT ID FROM COLLECTION WHERE UUID = '%1' COLLATE NOCASE")
                        .arg(SystemWideCollectionUuid.toString()))
        || !query.next())
        return -9;
    bool isNumber = false;
    if (query.value(0).toLongLong(&isNumber) != SystemWideCollectionId || !isNumber)
        return -9;

    auto countIsOne = [&query](const QString &statement) {
        bool converted = false;
        return query.exec(statement) && query.next() && query.value(0).toInt(&converted) == 1 && converted;
    };
    for (int mood = 1; mood <= 6; ++mood) {
        if (!countIsOne(QStringLiteral("SELECT COUNT(*) FROM MOOD WHERE ID = %1").arg(mood)))
            return -9;
    }
    for (int scheme = 1; scheme <= 8; ++scheme) {
        if (!countIsOne(QStringLiteral("SELECT COUNT(*) FROM SCHEME WHERE ID = %1").arg(scheme)))
            return -9;
    }
    return 0;
}

int DBStructure::CreateStructure(QSqlDatabase *database, bool withSystemData, QTextStream *log)
{
    Prepare();
    if (!database || !database->isOpen()) {
        if (log)
            *log << "Database is not opened." << Qt::endl;
        return -1;
    }
    const int hasCollection = HasTable(database, TABLE_COLLECTION);
    if (hasCollection < 0)
        return hasCollection;
    if (hasCollection == 1)
        return 0;

    QSqlQuery query(*database);
    if (!query.exec(QStringLiteral("SAVEPOINT CREATOR"))) {
        writeErrorLine(log, query.lastError());
        return -7;
    }

    // A savepoint that is only rolled back stays open as a transaction and
    // keeps the file locked; release it as well, so the file is left as it was.
    auto abandon = [&query]() {
        query.exec(QStringLiteral("ROLLBACK TO SAVEPOINT CREATOR"));
        query.exec(QStringLiteral("RELEASE SAVEPOINT CREATOR"));
        return -7;
    };
    auto run = [&query, log](const QString &statement) {
        if (query.exec(statement))
            return true;
        if (log) {
            *log << statement << Qt::endl;
            writeErrorLine(log, query.lastError());
        }
        return false;
    };

    for (const QString &table : qAsConst(_tableNamesInCreationOrder)) {
        for (const QString &statement : _tableCreationScripts.value(table)) {
            if (!run(statement))
                return abandon();
        }
        if (withSystemData) {
            for (const QString &statement : _systemDataScripts.value(table)) {
                if (!run(statement))
                    return abandon();
            }
        }
    }
    for (const QString &view : qAsConst(_viewNamesInCreationOrder)) {
        for (const QString &statement : _viewCreationScripts.value(view)) {
            if (!run(statement))
                return abandon();
        }
    }

    if (!query.exec(QStringLiteral("RELEASE SAVEPOINT CREATOR"))) {
        writeErrorLine(log, query.lastError());
        return abandon();
    }
    return 0;
}

// The texture, trend-colour and product queries. Placings and products are
// found by card or chip id alone; textures and trend groups belong to the
// collection or to the system-wide one (id 0).

const QString DBStructure::SelectTextureMapForPage = QStringLiteral(
    "SELECT     TM.TEXTURE_ID,     TM.PAGE_ID,     TM.ALPHA,     TM.NAME FROM     TEXTURE_MAP TM     "
    "JOIN TEXTURE T ON T.ID = TM.TEXTURE_ID WHERE     TM.PAGE_ID = :PAGE_ID");
const QString DBStructure::SelectTexturesOfCollection = QStringLiteral(
    "SELECT     * FROM     TEXTURE T WHERE     T.COLLECTION_ID in (0, %1)");
const QString DBStructure::SelectHuecastGroupsOfCollection = QStringLiteral(
    "SELECT     * FROM     HUECAST_GROUP G WHERE     G.COLLECTION_ID IN (0, %1)");
const QString DBStructure::SelectHuecastEntriesOfGroup = QStringLiteral(
    "SELECT     * FROM     HUECAST_ENTRY E WHERE     E.HUECAST_GROUP_ID = %1 ORDER BY     E.\"ORDER\"");
const QString DBStructure::SelectProductGroupsOfRow = QStringLiteral(
    "SELECT    PG.NAME FROM     ROW_PRODUCT_GROUP_MAP M     JOIN PRODUCT_GROUP PG ON PG.ID = M.PRODUCT_GROUP_ID "
    "WHERE     M.ROW_ID = :ROW_ID");
const QString DBStructure::SelectProductsOfRow = QStringLiteral(
    "SELECT    PR.NAME FROM     ROW_PRODUCT_MAP M     JOIN PRODUCT PR ON PR.ID = M.PRODUCT_ID "
    "WHERE     M.ROW_ID = :ROW_ID");

} // namespace Velmar

// Scheme matches.

namespace Velmar {

// A proposed chip: the proposal's place on its band stands in for the row
// index, and the collection id is pasted as a constant column.
#define VELMAR_PROPOSED_CHIP_COLUMNS                                                              \
    "%1 AS COLLECTION_ID, R.ID, R.PAGE_ID, M.ROW_ORDER AS ROW_INDEX, R.CODE, R.SEGMENT, "          \
    "R.RED, R.GREEN, R.BLUE, R.L, R.A, R.B, R.NEUTRAL, R.WHITE, R.MOOD, "                         \
    "R.NAME0, R.NAME1, R.NAME2, R.NAME3, R.NAME4, R.NAME5, R.NAME6, R.NAME7, R.NAME8, R.NAME9, "  \
    "R.EXTRA0, R.EXTRA1, R.EXTRA2, R.EXTRA3, R.EXTRA4, R.EXTRA5, R.EXTRA6, R.EXTRA7, R.EXTRA8, R.EXTRA9 "

const QString DBStructure::_scrSelectSchemeMatchesForColorToColor = QStringLiteral(
    "SELECT " VELMAR_PROPOSED_CHIP_COLUMNS
    "FROM ROW_SCHEME_MAP M JOIN \"ROW\" R ON M.SCHEME_ROW_ID = R.ID "
    "WHERE M.COLLECTION_ID = %1 AND M.ROW_ID = %2 AND M.SCHEME_ID = %3 "
    "ORDER BY M.PAGE_ORDER ASC, M.ROW_ORDER ASC");

// Three bands: the first wide contrast, the contrast, the second wide
// contrast; anything else after them.
const QString DBStructure::_scrSelectSarnexSchemeMatchesForColor = QStringLiteral(
    "SELECT " VELMAR_PROPOSED_CHIP_COLUMNS ", "
    "CASE WHEN M.SCHEME_ID = 3 AND M.PAGE_ORDER = 0 THEN -1 "
    "WHEN M.SCHEME_ID = 2 AND M.PAGE_ORDER = 0 THEN 0 "
    "WHEN M.SCHEME_ID = 3 AND M.PAGE_ORDER = 1 THEN 1 "
    "ELSE 100 END AS MY_ORDER "
    "FROM ROW_SCHEME_MAP M JOIN \"ROW\" R ON M.SCHEME_ROW_ID = R.ID "
    "WHERE M.COLLECTION_ID = %1 AND M.ROW_ID = %2 AND M.SCHEME_ID IN (2, 3) "
    "ORDER BY MY_ORDER ASC, M.ROW_ORDER ASC");

// Both cards must belong to the collection: a file may hold several
// collections whose cards share page indexes.
const QString DBStructure::_scrSelectSchemeMatchesForCardToCard = QStringLiteral(
    "SELECT     TP.PAGE_INDEX FROM     PAGE_SCHEME PS     JOIN PAGE SP ON PS.PAGE_ID = SP.ID     "
    "JOIN PAGE TP ON PS.SCHEME_PAGE_ID = TP.ID     JOIN COLLECTION_PAGE_MAP SCMAP ON SP.ID = SCMAP.PAGE_ID     "
    "JOIN COLLECTION_PAGE_MAP TCMAP ON TP.ID = TCMAP.PAGE_ID WHERE     (PS.SCHEME_ID = %3) AND     "
    "(SP.PAGE_INDEX = %2 AND SCMAP.COLLECTION_ID = %1) AND     (TCMAP.COLLECTION_ID = %1) ");

const QString DBStructure::_scrCountComplementaryNeutralCardToCard = QStringLiteral(
    "SELECT COUNT(*) FROM PAGE_SCHEME PS JOIN COLLECTION_PAGE_MAP TCMAP ON PS.SCHEME_PAGE_ID = TCMAP.PAGE_ID "
    "WHERE PS.SCHEME_ID = 8 AND TCMAP.COLLECTION_ID = %1 AND PS.PAGE_ID = ("
    "SELECT P.ID FROM PAGE P JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
    "WHERE CMAP.COLLECTION_ID = %1 AND P.PAGE_INDEX = %2 LIMIT 1)");

#undef VELMAR_PROPOSED_CHIP_COLUMNS

// The columns of a single chip's look-up by id.
const QString DBStructure::_scrSelectChipsByIds =
    QStringLiteral("SELECT R.*, %1 AS COLLECTION_ID FROM \"ROW\" R WHERE R.ID IN (%2)");

} // namespace Velmar
