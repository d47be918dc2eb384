#ifndef VELMAR_DBMANAGER_H
#define VELMAR_DBMANAGER_H

#include "database/ColorEntry.h"
#include "database/ColorMatchEntry.h"
#include "database/ColorPage.h"
#include "database/Collection.h"
#include "database/HuecastGroup.h"
#include "database/SuggestionList.h"
#include "database/SuggestionSelection.h"
#include "database/Texture.h"
#include "database/TextureMap.h"
#include "inc/VelmarTypes.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QSet>
#include <QSharedPointer>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVariant>
#include <QVector>

#include <vector>

class QSqlError;
class QSqlRecord;

namespace Velmar {

// Every query the plug-in makes on the collection files. Operations return
// 0 on success and a negative status otherwise, with results in
// out-parameters:
//   -1 a query failed or found no row      -2 the collection uuid is null
//   -4 the collection is not installed     -5 the collection file cannot be opened
//   -6 nothing found (search, navigation)  -7 a schema statement failed
//   -8 a table is missing                  -9 the system-wide seed rows are wrong
//  -10 the row index lies outside the card
class DBManager
{
public:
    struct CollectionInfo {
        QUuid uuid;
        qint64 id = 0; // unique only within its file
        int order = 0;
        QString databaseName; // absolute path of the collection file
        QString systemId;
    };

    // Discovery and connections.
    static int GetInstalledCollections(QHash<QUuid, CollectionInfo> &out, bool clearFirst);
    static int EnsureCollectionLoaded(const QUuid &collection);
    static qint64 GetCollectionIdByUuid(const QUuid &collection);
    static int GetCollectionUuidBySystemId(const QString &systemId, QUuid &out);
    // The installed collection that has the id in the given collection file
    // (a CollectionInfo's databaseName); the null uuid when none has. Ids are
    // unique only within one file.
    static QUuid GetCollectionUuidById(const QString &databaseName, qint64 id);
    // The same in the file of an installed collection. A chip's collection id
    // belongs to the file it was found in: the file of the collection it was
    // asked of, or, for the look-ups across collections (by code, by colour
    // alone, Dizeviz), the file of DBStructure::SystemWideCollectionUuid.
    static QUuid GetCollectionUuidById(const QUuid &sameFileAs, qint64 id);
    static int GetCollectionByUuid(const QUuid &collection, QSharedPointer<DB::Collection> &out);
    // 1 when collections are installed, 2 when none are.
    static int HasInstalledCollections();
    static QList<QUuid> GetInstalledCollectionUuidsInOrder();
    static void selectedCollectionChanged(const QUuid &collection);
    // A number that changes whenever the collection's file may read
    // differently since: a writer committed to it, or it was opened again.
    // 0 when the collection is not loaded. What a view keeps of a collection
    // is read again when it changes.
    static quint64 GetCollectionFileVersion(const QUuid &collection);

    static Mood toMood(int value);
    static bool RowOrder(const DB::ColorEntry &left, const DB::ColorEntry &right);

    // Configuration rows.
    static QVariant GetSettingsEntry(const QUuid &collection, const QString &name, const QVariant &defaultValue);
    static QList<QVariant> GetSettingsEntries(const QUuid &collection, const QString &name,
                                              unsigned long unused = 0, const QVariant &unusedDefault = QVariant());
    static QString GetLocaleEntry(const QUuid &collection, const QString &key);
    static int GetThemeEntry(const QUuid &collection, const QString &key, QByteArray &out);

    // Cards and navigation.
    static QString BuildFindCardByIndexQuery(const QUuid &collection, const QString &selectList, Direction direction,
                                             int pageIndex, Mood mood, bool exterior);
    static QString BuildFindFirstCardInSegmentQuery(const QUuid &collection, const QString &selectList, int segment,
                                                    Mood mood, bool exterior);
    static int FindNextCardByIndex(const QUuid &collection, int pageIndex, Direction direction, Mood mood,
                                   bool exterior, int &outPageIndex);
    static int FindNextCardByIndex(const QUuid &collection, int pageIndex, Direction direction, Mood mood,
                                   bool exterior, DB::ColorPage &out);
    static int FindFirstCardInSegment(const QUuid &collection, int segment, Mood mood, bool exterior,
                                      int &outPageIndex);
    static int FindFirstCardInSegment(const QUuid &collection, int segment, Mood mood, bool exterior,
                                      DB::ColorPage &out);
    static int FindFirstCardInSegmentAndCorrectSegmentIfNecessary(const QUuid &collection, int segment, Mood mood,
                                                                  bool exterior, int &outSegment);
    static int GetValidSegments(const QUuid &collection, QVector<int> &out);
    static bool hasPageWithMood(const QUuid &collection, Mood mood);
    static bool hasPageWithNonExteriorMood(const QUuid &collection, Mood mood);
    static bool hasPageWithExteriorMood(const QUuid &collection, Mood mood);
    static int GetColorPageById(const QUuid &collection, qint64 pageId, bool withoutEntries, DB::ColorPage &out);
    static int GetColorPageByIndex(const QUuid &collection, int pageIndex, DB::ColorPage &out);
    static int GetColorEntryByPageAndRowIndex(const QUuid &collection, int pageIndex, int rowIndex,
                                              DB::ColorEntry &out);

    // Search and colour look-up.
    static int SearchForPhrase(const QUuid &collection, const QString &phrase, int &pageIndex, int &rowIndex,
                               int &segment, Mood &mood, bool &exterior);
    static int GetAvailableSearchSuggestions(const QUuid &collection, QStringList &out);
    static int GetAvailableSearchSuggestions(const QUuid &collection, SuggestionList &out);
    // The suggestions that start with the prefix, case ignored as
    // QString::startsWith ignores it, in the order of the whole list: the
    // field completes from them without the whole list being read. Texts
    // that differ only in case stand in the whole list in an order that
    // only the whole list's sort decides; `firstKnown` tells whether the
    // first one is certain, `orderKnown` whether all are (no two of them
    // are equal but for case). -6 for an empty prefix, which all start with.
    static int GetSearchSuggestionsStartingWith(const QUuid &collection, const QString &prefix, QStringList &out,
                                                bool &firstKnown, bool &orderKnown);
    // Of the suggestions that start with the prefix and stand between
    // `after` and `before` in the whole list (neither included; an empty
    // one is no bound), those that certainly stand first and last, at most
    // `limit` of each: one pass over the collection's names and codes that
    // hands Qt no more than it keeps, for a key to cost what it shows.
    static int GetSearchSuggestionWindow(const QUuid &collection, const QString &prefix, int limit,
                                         const QString &after, const QString &before,
                                         SuggestionSelection::Window &out);
    // The look-ups by code and by colour alone, and the two Dizeviz look-ups,
    // search the enabled collections of the system-wide collection's file; the
    // collection ids they give are ids of that file. A chip that the current
    // collection holds is reported as its chip; others as the file gives them.
    static int GetColorEntryByColorCode(const QString &code, DB::ColorEntry &out, const QUuid &current = QUuid());
    static int GetColorEntryByColor(const QColor &color, DB::ColorEntry &out, const QUuid &current = QUuid());
    static int GetColorEntryByColor(const QUuid &collection, const QColor &color, DB::ColorEntry &out);
    static int GetColorEntryById(const QUuid &collection, qint64 rowId, DB::ColorEntry &out);
    static int GetAllColorMatchEntryFor(const QUuid &collection, QVector<ColorMatchEntry> &out);
    // The three reads above that a big deck makes slow, on a connection of
    // the caller's own to the collection's file, with the collection's id
    // and the search orders given: they read none of DBManager's state, so a
    // worker thread may run them on a connection it opened itself. Run on a
    // thread that is asked to stop (QThread::requestInterruption), they give
    // up within a few hundred rows with -1. The list of match entries
    // answers -1 also when its statement fails.
    static int GetAvailableSearchSuggestions(const QSqlDatabase &file, qint64 collectionId,
                                             const QVector<qint64> &pageSearchOrder,
                                             const QVector<qint64> &rowSearchOrder, QStringList &out);
    static int GetAvailableSearchSuggestions(const QSqlDatabase &file, qint64 collectionId,
                                             const QVector<qint64> &pageSearchOrder,
                                             const QVector<qint64> &rowSearchOrder, SuggestionList &out);
    static int GetColorEntryByColor(const QSqlDatabase &file, qint64 collectionId, const QColor &color,
                                    DB::ColorEntry &out);
    static int GetAllColorMatchEntryFor(const QSqlDatabase &file, qint64 collectionId, QVector<ColorMatchEntry> &out);
    // The chip's lines the collection's tool-tip switches ask for; "" when
    // there is no such chip.
    static QString BuildToolTipForColorEntry(const QUuid &collection, qint64 rowId, bool html);
    static int SearchForDizevizColorEntries(const QString &name, QVector<DB::ColorEntry> &out);
    static int GetCapsurableCollectionIdsInOrder(QVector<qint64> &out);

    // Textures, trend colours and products. Each empties its out-parameter
    // first; 0 also when nothing is found, -1 when the main statement fails.
    // The texture placings of a card, in file order; a placing whose texture
    // is missing is left out.
    static int GetTextureMapForPageById(const QUuid &collection, qint64 pageId, QVector<DB::TextureMap> &out);
    // The collection's textures and the system-wide ones, by id.
    static int GetTexturesForCollection(const QUuid &collection, QHash<qint64, DB::Texture> &out);
    // The collection's trend groups and the system-wide ones, by id, each with
    // its entries ascending by order. A group whose entries cannot be read
    // comes back without entries.
    static int GetHuecastFor(const QUuid &collection, QHash<qint64, DB::HuecastGroup> &out);
    // Names of the product groups and of the products a chip is made in, in
    // file order.
    static int GetProductGroupsFor(const QUuid &collection, qint64 rowId, QVector<QString> &out);
    static int GetProductsFor(const QUuid &collection, qint64 rowId, QVector<QString> &out);

    static QString s_preferredLookupFolder;
    static QHash<QUuid, CollectionInfo> s_installed_collections;
    static QVector<qint64> s_page_name_search_order;
    static QVector<qint64> s_page_name_display_order;
    static QVector<qint64> s_page_extrainfo_display_order;
    static QVector<qint64> s_row_name_search_order;
    static QVector<qint64> s_row_name_display_order;
    static QVector<qint64> s_row_extrainfo_display_order;

    // Scheme matches: the chips a scheme kind proposes for a chip, given by
    // page index and row index; the powder-coating proposals (wide contrast,
    // contrast, wide contrast); and the cards a scheme links to a card.
    // 0 also when there is nothing to propose; -10 for a row index outside
    // the card.
    static int FindSchemeMatchesForColorToColor(const QUuid &collection, MoodMode moodMode, SchemeKind kind,
                                                int pageIndex, int rowIndex, std::vector<DB::ColorEntry> &out);
    static int FindSarnexSchemeMatchesForColor(const QUuid &collection, int pageIndex, int rowIndex,
                                               std::vector<DB::ColorEntry> &out);
    static int FindSchemeMatchesForCardToCard(const QUuid &collection, int pageIndex, SchemeKind kind,
                                              QList<DB::ColorPage> &out);
    static bool HasComplementaryNeutralCardToCard(const QUuid &collection, int pageIndex);

    // Several chips of one collection by id in one query (My palette reads
    // all its cells at once): each chip as GetColorEntryById gives it, keyed
    // by id; an id that names no chip is left out. 0 also when none is
    // found, -1 when the statement fails.
    static int GetColorEntriesByIds(const QUuid &collection, const QVector<qint64> &rowIds,
                                    QHash<qint64, DB::ColorEntry> &out);

private:
    DBManager() = default;

    // The connection of the collection's file, opened again when it was
    // closed or when the file it reads as immutable changed.
    static QSqlDatabase connectionFor(const QUuid &collection);
    static QString connectionNameFor(const QString &databaseName);
    // One debug line of the error number and text, when there is an error.
    static void logSqlError(const QSqlError &error);
    // The first row of the statement on the connection: true when there is
    // one; a failed statement is logged.
    static bool firstRowLogged(const QSqlDatabase &database, const QString &statement, const QVariantMap &values,
                               QSqlRecord &row);
    // The first column of the first row of a configuration look-up of the
    // collection (its id pasted for %1) by the key, bound; false when there
    // is none, a failed statement logged.
    static bool configurationValue(const QUuid &collection, const QString &statement, const QString &key,
                                   QVariant &value);

    // Whether every card of the collection is its own, none lent to it by
    // another collection of its file; asked of the file once per selection.
    static bool ownsAllItsCards(const QUuid &collection);
    // The card's row in `out`; -6 when no card passes.
    static int findNextCard(const QUuid &collection, int pageIndex, Direction direction, Mood mood, bool exterior,
                            const QString &selectList, QSqlRecord &out);
    static int findFirstCardInSegment(const QUuid &collection, int segment, Mood mood, bool exterior,
                                      const QString &selectList, QSqlRecord &out);
    // The card's chips, sorted by row index; none when they could not be
    // read whole.
    static void loadEntries(const QSqlDatabase &database, const QString &statement, DB::ColorPage &page);
    static bool countIsNotZero(const QUuid &collection, const QString &statement);
    // Whether the long reads should give up: their thread was asked to stop.
    static bool stopRequested();
    static bool distinctCodesInIndexOrder(const QSqlDatabase &file, const QString &statement,
                                          const QVariantMap &values, QVector<QVariant> &out);
    // The suggestions in their order, or with a prefix those that start
    // with it.
    static int readSuggestions(const QSqlDatabase &file, qint64 collectionId, const QVector<qint64> &pageSearchOrder,
                               const QVector<qint64> &rowSearchOrder, const QString &prefix, SuggestionList &out);
    // The texts of those suggestions selected, and the suggestions made of
    // numbers and blobs, within the selection's bounds.
    static int selectSuggestions(const QSqlDatabase &file, qint64 collectionId, const QVector<qint64> &pageSearchOrder,
                                 const QVector<qint64> &rowSearchOrder, const QString &prefix,
                                 SuggestionSelection &texts, QStringList &others);
    static int findChipInEnabledCollections(const QString &condition, const QVariantMap &values, const QUuid &current,
                                            DB::ColorEntry &out);
    static int findSourceChip(const QUuid &collection, int pageIndex, int rowIndex, DB::ColorEntry &out);
    static int collectProposedChips(const QUuid &collection, const QString &statement, std::vector<DB::ColorEntry> &out);

    // What ownsAllItsCards found, by connection and collection id, until the
    // selected collection changes or the installed list is rebuilt; asked
    // again when the file changed since.
    struct Ownership {
        quint64 generation = 0;
        bool owns = false;
    };
    static QHash<QString, Ownership> s_owns_all_its_cards;
    // Collections asked for and found in no file of the lookup folder named
    // beside them: looked for once, not on every look-up, until the selected
    // collection changes (each picker call starts with that) or the installed
    // list is rebuilt.
    static QSet<QUuid> s_uninstalled_collections;
    static QString s_uninstalled_lookup_folder;
};

} // namespace Velmar

#endif // VELMAR_DBMANAGER_H
