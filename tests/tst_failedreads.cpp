// A read of a collection file that fails part-way, as a disk error or a
// file changing under the reader makes it fail: every look-up that walks
// rows answers as it does for a failed statement, or with the whole answer,
// and never with part of the rows. Each look-up is run on a connection
// opened afresh with the n-th read of the file failed, for reads spread over
// all those it makes.

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
#include <QSqlQuery>
#include <QTest>

#include <atomic>
#include <cstring>
#include <functional>

using namespace Velmar;

namespace {

const int chips = 2100;
// Beyond the generated cards.
const int bigCard = 5000;

// The reads of files below the prefix are counted; the one numbered
// `failing` fails.
QByteArray s_prefix;
std::atomic<int> s_reads{0};
std::atomic<int> s_failing{0};

bool countReads(const char *path)
{
    if (std::strncmp(path, s_prefix.constData(), size_t(s_prefix.size())) != 0)
        return true;
    return ++s_reads != s_failing.load();
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

    void aReadFailedPartWayGivesNoPartOfTheRows_data();
    void aReadFailedPartWayGivesNoPartOfTheRows();

private:
    QUuid deck() const { return GeneratedCollection::bigDeckUuid(chips); }
    QString file() const { return QFileInfo(m_folder.filePath(QStringLiteral("generated.db"))).absoluteFilePath(); }

    FixtureFolder m_folder;
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
        for (int texture = 0; texture < 12; ++texture) {
            QByteArray image(6000, Qt::Uninitialized);
            for (int i = 0; i < image.size(); ++i)
                image[i] = char((i * 31 + texture * 7) % 251);
            MaterialsWriter::addTexture(*writer, id, QStringLiteral("Texture %1").arg(texture), image);
        }
        for (int group = 0; group < 3; ++group) {
            const qint64 groupId =
                MaterialsWriter::addHuecastGroup(*writer, id, QStringLiteral("Trend %1").arg(group), true, group);
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
        const qint64 pageId = writer->addCard(id, card);
        for (int row = 1; row <= 250; ++row) {
            CollectionWriter::Chip chip;
            chip.rowIndex = row;
            chip.code = QStringLiteral("BIG-%1").arg(row);
            chip.names = QStringList{QStringLiteral("Chip %1 of a card with many chips and long names").arg(row)};
            chip.segment = 3;
            writer->addChip(id, pageId, chip);
        }
        writer->exec(QStringLiteral("COMMIT"));
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
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

QTEST_GUILESS_MAIN(TestFailedReads)
#include "tst_failedreads.moc"
