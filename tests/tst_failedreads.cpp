// A read of a collection file that fails part-way, as a disk error or a
// file changing under the reader makes it fail: every look-up that walks
// rows answers as it does for a failed statement, or with the whole answer,
// and never with part of the rows. Each look-up is run on a connection
// opened afresh with the n-th read of the file failed, for reads spread over
// all those it makes. A read failed just after the file was changed as a
// commit changes it makes the look-up run again from nothing on what the
// file holds then, and answer as it does for that state of the file.

#include "FileBytes.h"
#include "FixtureFolder.h"
#include "GeneratedCollection.h"
#include "MaterialsWriter.h"
#include "TestEnvironment.h"

#include "database/CollectionFileConnection.h"
#include "database/DBManager.h"
#include "database/GuardedVfs.h"

#include <QColor>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <functional>

using namespace Velmar;

namespace {

const int chips = 2100;
// Beyond the generated cards.
const int bigCard = 5000;

// The collection file's bytes as a commit leaves them, written over the file
// in place: the pages that differ, then the length, through a descriptor
// kept open for the whole test, as closing one would drop the locks of the
// connection that reads the file.
class FileVersions
{
public:
    bool open(const QString &file)
    {
        m_descriptor = ::open(QFile::encodeName(file).constData(), O_WRONLY | O_CLOEXEC);
        m_onDisk = FileBytes::read(file);
        return m_descriptor >= 0 && !m_onDisk.isEmpty();
    }
    void close()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
        m_descriptor = -1;
    }
    const QByteArray &onDisk() const { return m_onDisk; }

    bool write(const QByteArray &bytes)
    {
        const quint16 field = qFromBigEndian<quint16>(bytes.constData() + 16);
        const qsizetype pageSize = field == 1 ? 65536 : field;
        for (qsizetype at = 0; at < bytes.size(); at += pageSize) {
            const QByteArray page = bytes.mid(at, pageSize);
            if (page == m_onDisk.mid(at, pageSize))
                continue;
            if (::pwrite(m_descriptor, page.constData(), size_t(page.size()), off_t(at)) != ssize_t(page.size()))
                return false;
        }
        if (bytes.size() != m_onDisk.size() && ::ftruncate(m_descriptor, off_t(bytes.size())) != 0)
            return false;
        m_onDisk = bytes;
        return true;
    }

private:
    int m_descriptor = -1;
    QByteArray m_onDisk;
};

// The reads of files below the prefix are counted; the one numbered
// `failing` fails, after the file was given the committed bytes when there
// are any.
QByteArray s_prefix;
std::atomic<int> s_reads{0};
std::atomic<int> s_failing{0};
FileVersions s_file;
const QByteArray *s_committed = nullptr;

bool countReads(const char *path)
{
    if (std::strncmp(path, s_prefix.constData(), size_t(s_prefix.size())) != 0)
        return true;
    if (++s_reads != s_failing.load())
        return true;
    if (s_committed)
        s_file.write(*s_committed);
    return false;
}

// The file's bytes after the statements ran on a copy of it in one
// transaction, as a writer in the rollback mode commits them.
QByteArray committed(const QByteArray &before, const QStringList &statements)
{
    QTemporaryDir workshop;
    const QString copy = workshop.filePath(QStringLiteral("copy.db"));
    if (!FileBytes::write(copy, before))
        return QByteArray();
    bool done = true;
    {
        QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("committer"));
        writer.setDatabaseName(copy);
        done = writer.open();
        QSqlQuery query(writer);
        for (const QString &statement : QStringList{QStringLiteral("BEGIN")} + statements + QStringList{QStringLiteral("COMMIT")}) {
            if (done && !query.exec(statement)) {
                qWarning("%s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
                done = false;
            }
        }
        query.finish();
        writer.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("committer"));
    return done ? FileBytes::read(copy) : QByteArray();
}

// What a look-up answered, as one comparable text.
using LookUp = std::function<QString()>;

QString digest(const QStringList &lines)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(lines.join(QLatin1Char('\n')).toUtf8(), QCryptographicHash::Sha1).toHex().left(12));
}

QString answer(int status, const QStringList &lines)
{
    return QStringLiteral("%1: %2 %3").arg(status).arg(lines.size()).arg(lines.isEmpty() ? QString() : digest(lines));
}

QStringList describe(const QVector<ColorMatchEntry> &table)
{
    QStringList lines;
    for (const ColorMatchEntry &entry : table)
        lines << QStringLiteral("%1 %2 %3 %4").arg(entry.rowId).arg(entry.L).arg(entry.a).arg(entry.b);
    return lines;
}

QStringList describe(const DB::ColorPage &card)
{
    QStringList lines;
    for (const DB::ColorEntry &chip : card.entries)
        lines << QStringLiteral("%1 %2 %3").arg(chip.id).arg(chip.code, chip.names.join(QLatin1Char('/')));
    return lines;
}

QStringList describe(const QVector<int> &values)
{
    QStringList lines;
    for (int value : values)
        lines << QString::number(value);
    return lines;
}

QStringList describe(const std::vector<DB::ColorEntry> &chips)
{
    QStringList lines;
    for (const DB::ColorEntry &chip : chips)
        lines << QStringLiteral("%1 %2 %3 %4").arg(chip.id).arg(chip.rowIndex).arg(chip.code, chip.names.join(QLatin1Char('/')));
    return lines;
}

QStringList describe(const QVector<DB::ColorEntry> &chips)
{
    return describe(std::vector<DB::ColorEntry>(chips.begin(), chips.end()));
}

QStringList describe(const QList<DB::ColorPage> &cards)
{
    QStringList lines;
    for (const DB::ColorPage &card : cards)
        lines << QString::number(card.pageIndex) + QLatin1Char(' ') + describe(card).join(QLatin1Char(','));
    return lines;
}

QStringList describe(const QVector<DB::TextureMap> &placings)
{
    QStringList lines;
    for (const DB::TextureMap &placing : placings)
        lines << QStringLiteral("%1 %2 %3 %4").arg(placing.textureId).arg(placing.pageId).arg(placing.alpha).arg(placing.name);
    return lines;
}

QStringList describe(const QHash<qint64, DB::HuecastGroup> &groups)
{
    QStringList lines;
    for (auto group = groups.constBegin(); group != groups.constEnd(); ++group) {
        QStringList entries;
        for (const DB::HuecastEntry &entry : group->entries)
            entries << QStringLiteral("%1 %2").arg(entry.id).arg(entry.name1);
        lines << QStringLiteral("%1 %2: %3").arg(group.key()).arg(group->name, entries.join(QLatin1Char(',')));
    }
    lines.sort();
    return lines;
}

QStringList describe(const SuggestionSelection::Window &window)
{
    QStringList lines = window.first;
    if (!window.last.isEmpty())
        lines << QStringLiteral("...") << window.last;
    return lines;
}

QStringList describeOrders()
{
    QStringList lines;
    for (const QVector<qint64> *list :
         {&DBManager::s_page_name_search_order, &DBManager::s_page_name_display_order,
          &DBManager::s_page_extrainfo_display_order, &DBManager::s_row_name_search_order,
          &DBManager::s_row_name_display_order, &DBManager::s_row_extrainfo_display_order}) {
        QStringList values;
        for (qint64 value : *list)
            values << QString::number(value);
        lines << values.join(QLatin1Char(','));
    }
    return lines;
}

} // namespace

class TestFailedReads : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void init();

    void aReadFailedPartWayGivesNoPartOfTheRows_data();
    void aReadFailedPartWayGivesNoPartOfTheRows();
    void aReadMetByACommitRunsTheLookUpAgainWhole_data();
    void aReadMetByACommitRunsTheLookUpAgainWhole();

private:
    QUuid deck() const { return GeneratedCollection::bigDeckUuid(chips); }
    QString file() const { return QFileInfo(m_folder.filePath(QStringLiteral("generated.db"))).absoluteFilePath(); }

    FixtureFolder m_folder;
    // The file as written.
    QByteArray m_written;
    qint64 m_bigCardId = -1;
    qint64 m_bigChipId = -1;
};

void TestFailedReads::initTestCase()
{
    TestEnvironment::isolate();
    {
        auto writer = m_folder.createFile(QStringLiteral("generated.db"));
        QVERIFY2(GeneratedCollection::write(*writer, chips), qPrintable(writer->lastError()));
        // Textures and trend colours over many pages of the file.
        const qint64 id = writer->collectionId(deck());
        writer->exec(QStringLiteral("BEGIN"));
        QVector<qint64> textures;
        for (int texture = 0; texture < 12; ++texture) {
            QByteArray image(6000, Qt::Uninitialized);
            for (int i = 0; i < image.size(); ++i)
                image[i] = char((i * 31 + texture * 7) % 251);
            textures << MaterialsWriter::addTexture(*writer, id, QStringLiteral("Texture %1").arg(texture), image);
        }
        for (int group = 0; group < 3; ++group) {
            // Names long enough that the groups take more than one page.
            const qint64 groupId = MaterialsWriter::addHuecastGroup(
                *writer, id, QStringLiteral("Trend %1 ").arg(group) + QString(1500, QLatin1Char('t')), true, group);
            for (int entry = 0; entry < 400; ++entry)
                MaterialsWriter::addHuecastEntry(*writer, id, groupId,
                                                 QStringLiteral("Trend colour %1 of group %2").arg(entry).arg(group),
                                                 QStringLiteral("Couleur tendance %1").arg(entry),
                                                 QColor(entry % 256, group * 80, 40), entry);
        }
        // A card whose chips fill many pages.
        CollectionWriter::Card card;
        card.pageIndex = bigCard;
        card.segment = 3;
        m_bigCardId = writer->addCard(id, card);
        for (int row = 1; row <= 250; ++row) {
            CollectionWriter::Chip chip;
            chip.rowIndex = row;
            chip.code = QStringLiteral("BIG-%1").arg(row);
            chip.names = QStringList{QStringLiteral("Chip %1 of a card with many chips and long names").arg(row)};
            chip.segment = 3;
            const qint64 chipId = writer->addChip(id, m_bigCardId, chip);
            if (row == 1)
                m_bigChipId = chipId;
        }
        // Every texture placed on the big card, long-named products of its
        // first chip, cards and chips proposed by schemes, and chips
        // all over the deck that share a name for the search of a measured
        // colour: each of these look-ups reads several pages.
        for (const qint64 texture : qAsConst(textures))
            MaterialsWriter::placeTexture(*writer, texture, m_bigCardId, 0.5, QStringLiteral("Placing of %1").arg(texture));
        for (int product = 0; product < 60; ++product) {
            const qint64 productId = MaterialsWriter::addProduct(
                *writer, QStringLiteral("Product %1 ").arg(product) + QString(300, QLatin1Char('p')));
            MaterialsWriter::linkProduct(*writer, id, m_bigChipId, productId);
        }
        const QVariantMap ids{{QStringLiteral(":ID"), id},
                              {QStringLiteral(":CARD"), m_bigCardId},
                              {QStringLiteral(":CHIP"), m_bigChipId}};
        // For the deck's first card, which the statement meets before it
        // has read the cards it proposes.
        writer->exec(QStringLiteral("INSERT INTO PAGE_SCHEME (COLLECTION_ID, PAGE_ID, SCHEME_PAGE_ID, SCHEME_ID, \"ORDER\") "
                                    "SELECT :ID, P.ID, M.PAGE_ID, 1, M.PAGE_ID FROM PAGE P, COLLECTION_PAGE_MAP M "
                                    "WHERE P.PAGE_INDEX = 1 AND M.COLLECTION_ID = :ID AND M.PAGE_ID % 15 = 0"),
                     ids);
        writer->exec(QStringLiteral("INSERT INTO ROW_SCHEME_MAP (COLLECTION_ID, ROW_ID, SCHEME_ID, SCHEME_ROW_ID, "
                                    "PAGE_ORDER, ROW_ORDER) SELECT :ID, :CHIP, 1, R.ID, 0, R.ID FROM \"ROW\" R "
                                    "WHERE R.COLLECTION_ID = :ID AND R.ID % 50 = 7"),
                     ids);
        writer->exec(QStringLiteral("UPDATE SETTING SET VALUE = '1' WHERE COLLECTION_ID = :ID AND NAME = 'dizeviz.enabled'"),
                     ids);
        writer->addSetting(id, QStringLiteral("dizeviz.priority"), QStringLiteral("1"));
        writer->exec(QStringLiteral("UPDATE \"ROW\" SET NAME0 = 'Twin' WHERE COLLECTION_ID = :ID AND ID % 70 = 5"), ids);
        // The small deck's "collection.enabled" on a page of its own, read
        // by the folder scan after the big deck was found.
        writer->addSetting(id, QStringLiteral("padding"), QString(3000, QLatin1Char('x')));
        const qint64 small = writer->collectionId(GeneratedCollection::smallDeckUuid(chips));
        writer->exec(QStringLiteral("DELETE FROM SETTING WHERE COLLECTION_ID = %1 AND NAME = 'collection.enabled'").arg(small));
        writer->addSetting(small, QStringLiteral("collection.enabled"), QStringLiteral("1"));
        writer->exec(QStringLiteral("COMMIT"));
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    QVERIFY(s_file.open(file()));
    m_written = s_file.onDisk();
    s_prefix = QFile::encodeName(m_folder.collectionFolder());
    GuardedVfs::setReadHook(countReads);
    DBManager::s_installed_collections.clear();
    m_folder.activate();
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    DBManager::selectedCollectionChanged(deck());
    QVERIFY(!DBManager::s_row_name_search_order.isEmpty());
}

void TestFailedReads::cleanupTestCase()
{
    GuardedVfs::setReadHook(nullptr);
    s_file.close();
}

void TestFailedReads::init()
{
    // The file as written, and what the deck's selection reads of it.
    s_committed = nullptr;
    QVERIFY(s_file.write(m_written));
    DBManager::selectedCollectionChanged(deck());
}

void TestFailedReads::aReadFailedPartWayGivesNoPartOfTheRows_data()
{
    QTest::addColumn<LookUp>("lookUp");
    QTest::addColumn<QStringList>("failed"); // what it answers for a failed statement

    const QUuid deck = this->deck();
    const QString file = this->file();
    QTest::newRow("colour-match table") << LookUp([deck] {
        QVector<ColorMatchEntry> table;
        const int status = DBManager::GetAllColorMatchEntryFor(deck, table);
        return answer(status, describe(table));
    }) << QStringList{QStringLiteral("0: 0 ")};
    QTest::newRow("colour-match table on a connection of its own") << LookUp([deck, file] {
        int status = 0;
        QVector<ColorMatchEntry> table;
        {
            QSqlDatabase own = CollectionFileConnection::add(QStringLiteral("own"), file);
            status = CollectionFileConnection::open(own)
                ? DBManager::GetAllColorMatchEntryFor(own, DBManager::GetCollectionIdByUuid(deck), table)
                : -5;
        }
        CollectionFileConnection::remove(QStringLiteral("own"));
        return answer(status, describe(table));
    }) << QStringList{QStringLiteral("-1: 0 "), QStringLiteral("-5: 0 ")};
    QTest::newRow("search suggestions") << LookUp([deck] {
        QStringList suggestions;
        const int status = DBManager::GetAvailableSearchSuggestions(deck, suggestions);
        return answer(status, suggestions);
    }) << QStringList{QStringLiteral("-1: 0 ")};
    QTest::newRow("search suggestions of codes alone") << LookUp([deck] {
        const QVector<qint64> pageOrder = DBManager::s_page_name_search_order;
        const QVector<qint64> rowOrder = DBManager::s_row_name_search_order;
        DBManager::s_page_name_search_order.clear();
        DBManager::s_row_name_search_order.clear();
        QStringList suggestions;
        const int status = DBManager::GetAvailableSearchSuggestions(deck, suggestions);
        DBManager::s_page_name_search_order = pageOrder;
        DBManager::s_row_name_search_order = rowOrder;
        return answer(status, suggestions);
    }) << QStringList{QStringLiteral("-1: 0 ")};
    // The first and last of the suggestions a text starts, in one pass, and
    // those of a text between them: all of them, or none.
    QTest::newRow("suggestions a text starts, first and last") << LookUp([deck] {
        SuggestionSelection::Window window;
        const int status =
            DBManager::GetSearchSuggestionWindow(deck, QStringLiteral("g"), 32, QString(), QString(), window);
        return answer(status, describe(window));
    }) << QStringList{QStringLiteral("-1: 0 ")};
    QTest::newRow("suggestions a text starts, between two of them") << LookUp([deck] {
        SuggestionSelection::Window window;
        const int status = DBManager::GetSearchSuggestionWindow(deck, QStringLiteral("g"), 32, QStringLiteral("GA-0100"),
                                                                QStringLiteral("GA-1000"), window);
        return answer(status, describe(window));
    }) << QStringList{QStringLiteral("-1: 0 ")};
    QTest::newRow("segments of the wheel") << LookUp([deck] {
        QVector<int> segments;
        const int status = DBManager::GetValidSegments(deck, segments);
        return answer(status, describe(segments));
    }) << QStringList{QStringLiteral("-1: 0 ")};
    QTest::newRow("a card with its chips") << LookUp([deck] {
        DB::ColorPage card;
        const int status = DBManager::GetColorPageByIndex(deck, bigCard, card);
        return answer(status, describe(card));
    }) << QStringList{QStringLiteral("-1: 0 "), QStringLiteral("0: 0 ")};
    QTest::newRow("chips by ids") << LookUp([deck] {
        QVector<qint64> ids;
        for (qint64 id = 1; id <= chips; id += 3)
            ids.append(id);
        QHash<qint64, DB::ColorEntry> found;
        const int status = DBManager::GetColorEntriesByIds(deck, ids, found);
        QStringList lines;
        for (qint64 id : qAsConst(ids)) {
            if (found.contains(id))
                lines << found.value(id).code;
        }
        return answer(status, lines);
    }) << QStringList{QStringLiteral("-1: 0 ")};
    QTest::newRow("textures") << LookUp([deck] {
        QHash<qint64, DB::Texture> textures;
        const int status = DBManager::GetTexturesForCollection(deck, textures);
        QStringList lines;
        for (auto it = textures.constBegin(); it != textures.constEnd(); ++it)
            lines << QStringLiteral("%1 %2").arg(it.key()).arg(it->name);
        lines.sort();
        return answer(status, lines);
    }) << QStringList{QStringLiteral("-1: 0 ")};
    // A group whose entries failed comes without any.
    QTest::newRow("trend colours") << LookUp([deck] {
        QHash<qint64, DB::HuecastGroup> groups;
        const int status = DBManager::GetHuecastFor(deck, groups);
        QStringList lines;
        for (auto it = groups.constBegin(); it != groups.constEnd(); ++it)
            lines << QStringLiteral("%1 %2").arg(it.key()).arg(it->entries.size() == 0 || it->entries.size() == 400);
        lines.sort();
        return answer(status, lines);
    }) << QStringList{QStringLiteral("-1: 0 ")};
    QTest::newRow("setting values") << LookUp([deck] {
        const QList<QVariant> values = DBManager::GetSettingsEntries(deck, QStringLiteral("row.name.search.order"));
        QStringList lines;
        for (const QVariant &value : values)
            lines << value.toString();
        return answer(0, lines);
    }) << QStringList{QStringLiteral("0: 0 ")};
    QTest::newRow("search and display orders") << LookUp([deck] {
        DBManager::selectedCollectionChanged(deck);
        QStringList lines = describeOrders();
        // Each list is read by a statement of its own.
        for (QString &line : lines)
            line = line.isEmpty() ? QStringLiteral("none") : line;
        return lines.join(QLatin1Char('|'));
    }) << QStringList();
    QTest::newRow("collections of the folder") << LookUp([] {
        QHash<QUuid, DBManager::CollectionInfo> found;
        DBManager::GetInstalledCollections(found, true);
        QStringList lines;
        for (const QUuid &uuid : found.keys())
            lines << uuid.toString();
        lines.sort();
        return answer(0, lines);
    }) << QStringList{QStringLiteral("0: 0 ")};
}

void TestFailedReads::aReadFailedPartWayGivesNoPartOfTheRows()
{
    QFETCH(LookUp, lookUp);
    QFETCH(QStringList, failed);
    const QString file = this->file();
    const auto runFailing = [&](int read) {
        // A connection with nothing read yet, so that each run reads alike.
        QSqlDatabase::database(file, false).close();
        s_reads = 0;
        s_failing = read;
        const QString answered = lookUp();
        const int reads = s_reads;
        s_failing = 0;
        return qMakePair(answered, reads);
    };
    const auto [whole, reads] = runFailing(0);
    QVERIFY2(reads > 4, qPrintable(QStringLiteral("%1 reads").arg(reads)));
    QVERIFY(!failed.contains(whole));

    const bool eachListApart = failed.isEmpty();
    const QStringList wholeLists = whole.split(QLatin1Char('|'));
    int failures = 0;
    // Every read of a short look-up, some forty spread over a long one.
    const int step = qMax(1, reads / 40);
    for (int read = 1; read <= reads; read += step) {
        const QString answered = runFailing(read).first;
        if (answered == whole)
            continue;
        ++failures;
        if (eachListApart) {
            const QStringList lists = answered.split(QLatin1Char('|'));
            QCOMPARE(lists.size(), wholeLists.size());
            for (int i = 0; i < lists.size(); ++i)
                QVERIFY2(lists.at(i) == wholeLists.at(i) || lists.at(i) == QStringLiteral("none"),
                         qPrintable(QStringLiteral("read %1: %2").arg(read).arg(answered)));
        } else {
            QVERIFY2(failed.contains(answered), qPrintable(QStringLiteral("read %1 failed: %2 instead of %3 or %4")
                                                               .arg(read)
                                                               .arg(answered, whole, failed.join(QStringLiteral(" or ")))));
        }
    }
    // The failed reads reached the look-up.
    QVERIFY(failures > 0);
}

void TestFailedReads::aReadMetByACommitRunsTheLookUpAgainWhole_data()
{
    QTest::addColumn<LookUp>("lookUp");
    QTest::addColumn<QStringList>("commit"); // what another program commits meanwhile

    const QUuid deck = this->deck();
    const QString file = this->file();
    const qint64 bigCardId = m_bigCardId;
    const qint64 bigChipId = m_bigChipId;
    const QString ofTheDeck = QStringLiteral(" AND COLLECTION_ID = %1").arg(DBManager::GetCollectionIdByUuid(deck));
    const LookUp matchTable([deck] {
        QVector<ColorMatchEntry> table;
        const int status = DBManager::GetAllColorMatchEntryFor(deck, table);
        return answer(status, describe(table));
    });
    const QStringList newLightness{QStringLiteral("UPDATE \"ROW\" SET L = L + 1 WHERE ID % 40 = 3")};
    QTest::newRow("colour-match table") << matchTable << newLightness;
    QTest::newRow("colour-match table on a connection of its own") << LookUp([deck, file] {
        int status = 0;
        QVector<ColorMatchEntry> table;
        {
            QSqlDatabase own = CollectionFileConnection::add(QStringLiteral("own"), file);
            status = CollectionFileConnection::open(own)
                ? DBManager::GetAllColorMatchEntryFor(own, DBManager::GetCollectionIdByUuid(deck), table)
                : -5;
        }
        CollectionFileConnection::remove(QStringLiteral("own"));
        return answer(status, describe(table));
    }) << newLightness;

    // Cards and chips are read by statements of their own: a commit that
    // renames only one kind of them leaves nothing mixed.
    const QStringList chipsRenamed{
        QStringLiteral("UPDATE \"ROW\" SET NAME0 = 'Misty renamed ' || ID, CODE = CODE || '-R' WHERE ID % 9 = 4")};
    const QStringList cardsRenamed{QStringLiteral("UPDATE PAGE SET NAME0 = 'Misty card ' || ID WHERE ID % 5 = 2")};
    const LookUp wholeList([deck] {
        QStringList suggestions;
        const int status = DBManager::GetAvailableSearchSuggestions(deck, suggestions);
        return answer(status, suggestions);
    });
    const LookUp startingWith([deck] {
        QStringList suggestions;
        bool firstKnown = false;
        bool orderKnown = false;
        const int status =
            DBManager::GetSearchSuggestionsStartingWith(deck, QStringLiteral("Misty"), suggestions, firstKnown, orderKnown);
        return answer(status, suggestions) + QStringLiteral(" %1 %2").arg(firstKnown).arg(orderKnown);
    });
    QTest::newRow("search suggestions, chips renamed") << wholeList << chipsRenamed;
    QTest::newRow("search suggestions, cards renamed") << wholeList << cardsRenamed;
    QTest::newRow("suggestions starting with a text, chips renamed") << startingWith << chipsRenamed;
    QTest::newRow("suggestions starting with a text, cards renamed") << startingWith << cardsRenamed;
    QTest::newRow("search suggestions of codes alone") << LookUp([deck] {
        const QVector<qint64> pageOrder = DBManager::s_page_name_search_order;
        const QVector<qint64> rowOrder = DBManager::s_row_name_search_order;
        DBManager::s_page_name_search_order.clear();
        DBManager::s_row_name_search_order.clear();
        QStringList suggestions;
        const int status = DBManager::GetAvailableSearchSuggestions(deck, suggestions);
        DBManager::s_page_name_search_order = pageOrder;
        DBManager::s_row_name_search_order = rowOrder;
        return answer(status, suggestions);
    }) << QStringList{QStringLiteral("UPDATE \"ROW\" SET CODE = CODE || '-R' WHERE ID % 9 = 4")};
    QTest::newRow("segments of the wheel") << LookUp([deck] {
        QVector<int> segments;
        const int status = DBManager::GetValidSegments(deck, segments);
        return answer(status, describe(segments));
    }) << QStringList{QStringLiteral("UPDATE PAGE SET SEGMENT = 13 WHERE ID % 7 = 1")};
    QTest::newRow("a card with its chips") << LookUp([deck] {
        DB::ColorPage card;
        const int status = DBManager::GetColorPageByIndex(deck, bigCard, card);
        return answer(status, describe(card));
    }) << QStringList{QStringLiteral("UPDATE \"ROW\" SET NAME0 = NAME0 || ' renamed' WHERE PAGE_ID = %1 AND ROW_INDEX % 10 = 0")
                          .arg(bigCardId)};
    // Kept by id: only a row the commit removed could stay.
    QTest::newRow("chips by ids") << LookUp([deck] {
        QVector<qint64> ids;
        for (qint64 id = 1; id <= chips; id += 9)
            ids.append(id);
        QHash<qint64, DB::ColorEntry> found;
        const int status = DBManager::GetColorEntriesByIds(deck, ids, found);
        QStringList lines;
        for (qint64 id : qAsConst(ids)) {
            if (found.contains(id))
                lines << found.value(id).code;
        }
        return answer(status, lines);
    }) << QStringList{QStringLiteral("DELETE FROM \"ROW\" WHERE ID % 90 = 1"),
                      QStringLiteral("UPDATE \"ROW\" SET CODE = CODE || '-R' WHERE ID % 90 = 37")};
    QTest::newRow("textures") << LookUp([deck] {
        QHash<qint64, DB::Texture> textures;
        const int status = DBManager::GetTexturesForCollection(deck, textures);
        QStringList lines;
        for (auto it = textures.constBegin(); it != textures.constEnd(); ++it)
            lines << QStringLiteral("%1 %2").arg(it.key()).arg(it->name);
        lines.sort();
        return answer(status, lines);
    }) << QStringList{QStringLiteral("DELETE FROM TEXTURE WHERE NAME IN ('Texture 2', 'Texture 9')"),
                      QStringLiteral("UPDATE TEXTURE SET NAME = 'Texture 5, renamed' WHERE NAME = 'Texture 5'")};
    QTest::newRow("textures placed on a card") << LookUp([deck, bigCardId] {
        QVector<DB::TextureMap> placings;
        const int status = DBManager::GetTextureMapForPageById(deck, bigCardId, placings);
        return answer(status, describe(placings));
    }) << QStringList{QStringLiteral("DELETE FROM TEXTURE_MAP WHERE TEXTURE_ID % 4 = 1"),
                      QStringLiteral("UPDATE TEXTURE_MAP SET ALPHA = 0.25 WHERE TEXTURE_ID % 4 = 2")};
    // The groups and the colours of each group are read by statements of
    // their own.
    const LookUp trendColours([deck] {
        QHash<qint64, DB::HuecastGroup> groups;
        const int status = DBManager::GetHuecastFor(deck, groups);
        return answer(status, describe(groups));
    });
    QTest::newRow("trend colours, a group removed and one renamed")
        << trendColours
        << QStringList{QStringLiteral("DELETE FROM HUECAST_GROUP WHERE NAME LIKE 'Trend 1 %'"),
                       QStringLiteral("UPDATE HUECAST_GROUP SET NAME = 'Trend 0, renamed' WHERE NAME LIKE 'Trend 0 %'")};
    QTest::newRow("trend colours of a group renamed")
        << trendColours
        << QStringList{QStringLiteral("UPDATE HUECAST_ENTRY SET NAME_1 = NAME_1 || ' renamed' WHERE ID % 10 = 0 AND "
                                      "HUECAST_GROUP_ID IN (SELECT ID FROM HUECAST_GROUP WHERE NAME LIKE 'Trend 2 %')")};
    QTest::newRow("products of a chip") << LookUp([deck, bigChipId] {
        QVector<QString> products;
        const int status = DBManager::GetProductsFor(deck, bigChipId, products);
        return answer(status, QStringList(products.begin(), products.end()));
    }) << QStringList{QStringLiteral("UPDATE PRODUCT SET NAME = 'Renamed ' || NAME WHERE ID % 7 = 0"),
                      QStringLiteral("DELETE FROM ROW_PRODUCT_MAP WHERE PRODUCT_ID % 7 = 3")};
    QTest::newRow("chips a scheme proposes for a chip") << LookUp([deck] {
        std::vector<DB::ColorEntry> proposed;
        const int status =
            DBManager::FindSchemeMatchesForColorToColor(deck, MoodModeNormal, SchemeHarmonic, bigCard, 1, proposed);
        return answer(status, describe(proposed));
    }) << QStringList{QStringLiteral("DELETE FROM ROW_SCHEME_MAP WHERE SCHEME_ROW_ID % 100 = 7"),
                      QStringLiteral("UPDATE \"ROW\" SET NAME0 = NAME0 || ' renamed' WHERE ID % 100 = 57")};
    QTest::newRow("cards a scheme proposes for a card") << LookUp([deck] {
        QList<DB::ColorPage> cards;
        const int status = DBManager::FindSchemeMatchesForCardToCard(deck, 1, SchemeHarmonic, cards);
        return answer(status, describe(cards));
    }) << QStringList{QStringLiteral("DELETE FROM PAGE_SCHEME WHERE SCHEME_PAGE_ID % 30 = 15")};
    QTest::newRow("chips of a measured colour's name") << LookUp([] {
        QVector<DB::ColorEntry> found;
        const int status = DBManager::SearchForDizevizColorEntries(QStringLiteral("Twin"), found);
        return answer(status, describe(found));
    }) << QStringList{QStringLiteral("UPDATE \"ROW\" SET NAME0 = 'Twin' WHERE ID % 70 = 40"),
                      QStringLiteral("UPDATE \"ROW\" SET NAME0 = 'Not a twin' WHERE ID % 140 = 5")};
    QTest::newRow("collections of a measured colour's search") << LookUp([] {
        QVector<qint64> ids;
        const int status = DBManager::GetCapsurableCollectionIdsInOrder(ids);
        QStringList lines;
        for (qint64 id : qAsConst(ids))
            lines << QString::number(id);
        return answer(status, lines);
    }) << QStringList{QStringLiteral("UPDATE SETTING SET VALUE = '1' WHERE NAME = 'dizeviz.enabled'"),
                      QStringLiteral("INSERT INTO SETTING (COLLECTION_ID, NAME, VALUE, VALUE_INDEX) "
                                     "SELECT ID, 'dizeviz.priority', '0', 0 FROM COLLECTION WHERE SYSTEMID LIKE '%SMALL'")};
    const QStringList longerOrders{QStringLiteral("INSERT INTO SETTING (COLLECTION_ID, NAME, VALUE, VALUE_INDEX) "
                                                  "SELECT COLLECTION_ID, NAME, '2', 7 FROM SETTING "
                                                  "WHERE NAME LIKE '%.order' AND VALUE_INDEX = 0")
                                   + ofTheDeck};
    QTest::newRow("setting values") << LookUp([deck] {
        const QList<QVariant> values = DBManager::GetSettingsEntries(deck, QStringLiteral("row.name.search.order"));
        QStringList lines;
        for (const QVariant &value : values)
            lines << value.toString();
        return answer(0, lines);
    }) << longerOrders;
    QTest::newRow("search and display orders") << LookUp([deck] {
        DBManager::selectedCollectionChanged(deck);
        return describeOrders().join(QLatin1Char('|'));
    }) << longerOrders;
    QTest::newRow("collections of the folder") << LookUp([] {
        QHash<QUuid, DBManager::CollectionInfo> found;
        DBManager::GetInstalledCollections(found, true);
        QStringList lines;
        for (const DBManager::CollectionInfo &collection : qAsConst(found))
            lines << QStringLiteral("%1 %2").arg(collection.uuid.toString()).arg(collection.order);
        lines.sort();
        return answer(0, lines);
    }) << QStringList{QStringLiteral("UPDATE COLLECTION SET \"ORDER\" = 42 WHERE SYSTEMID = 'GENERATED-%1'").arg(chips),
                      QStringLiteral("UPDATE SETTING SET VALUE = '0' WHERE NAME = 'collection.enabled' AND COLLECTION_ID = "
                                     "(SELECT ID FROM COLLECTION WHERE SYSTEMID = 'GENERATED-%1-SMALL')")
                          .arg(chips)};
    // Its connection opened anew, as at the first use of the deck.
    QTest::newRow("a deck opened for the first time") << LookUp([deck, file] {
        CollectionFileConnection::remove(file);
        QSharedPointer<DB::Collection> collection;
        const int status = DBManager::GetCollectionByUuid(deck, collection);
        return answer(status, collection ? QStringList{collection->name} : QStringList());
    }) << QStringList{QStringLiteral("UPDATE COLLECTION SET NAME = 'Renamed' WHERE SYSTEMID = 'GENERATED-%1'").arg(chips)};
}

void TestFailedReads::aReadMetByACommitRunsTheLookUpAgainWhole()
{
    QFETCH(LookUp, lookUp);
    QFETCH(QStringList, commit);
    const QString file = this->file();
    const QByteArray after = committed(m_written, commit);
    QVERIFY(!after.isEmpty());
    // As each state of the file answers it, read whole.
    const auto answerOf = [&](const QByteArray &bytes) {
        s_file.write(bytes);
        QSqlDatabase::database(file, false).close();
        s_reads = 0;
        const QString answered = lookUp();
        return qMakePair(answered, int(s_reads));
    };
    const auto [before, reads] = answerOf(m_written);
    const QString committedAnswer = answerOf(after).first;
    QVERIFY2(committedAnswer != before, "the commit changes the answer");

    // Every read of a short look-up; of a long one, every read of its first
    // statement and a dozen spread over the rest. At the read, the file
    // committed to and the read failed.
    int runsAgain = 0;
    const int step = qMax(1, reads / 12);
    for (int read = 1; read <= reads; read += read < 12 ? 1 : step) {
        s_file.write(m_written);
        QSqlDatabase::database(file, false).close();
        s_reads = 0;
        s_failing = read;
        s_committed = &after;
        const QString answered = lookUp();
        s_failing = 0;
        s_committed = nullptr;
        // A look-up of several statements may have read those before the
        // commit whole; a statement met by it gives the committed rows alone.
        // The search and display orders are read list by list.
        const QStringList parts = answered.split(QLatin1Char('|'));
        const QStringList partsBefore = before.split(QLatin1Char('|'));
        const QStringList partsCommitted = committedAnswer.split(QLatin1Char('|'));
        QCOMPARE(parts.size(), partsBefore.size());
        for (int i = 0; i < parts.size(); ++i)
            QVERIFY2(parts.at(i) == partsBefore.at(i) || parts.at(i) == partsCommitted.at(i),
                     qPrintable(QStringLiteral("read %1 of %2: %3 instead of %4 or %5")
                                    .arg(read)
                                    .arg(reads)
                                    .arg(answered, before, committedAnswer)));
        if (answered == committedAnswer)
            ++runsAgain;
    }
    QVERIFY(runsAgain > 0);
}

QTEST_GUILESS_MAIN(TestFailedReads)
#include "tst_failedreads.moc"
