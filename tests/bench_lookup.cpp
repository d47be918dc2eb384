// Times the look-ups the picker makes while the user waits: nearest-colour
// matching and the colour distance it rests on, the database look-ups of a
// generated collection of 5,000 chips, and My palette's look-ups of a
// collection that is not installed among eight files. Prints the median time
// per call of each measurement; not run by CTest, since timings depend on the
// machine and its load.
//
//   bench_lookup [measurement-name ...]   only the named measurements (an
//                                         unknown name lists them all)

#include "Benchmark.h"
#include "CollectionWriter.h"

#include "database/DBManager.h"
#include "services/ColorManager.h"

#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVector>

#include <algorithm>
#include <functional>

using Velmar::ColorLAB;
using Velmar::ColorManager;
using Velmar::ColorMatchEntry;
using Velmar::DBManager;

namespace {

using Measurement = Benchmark::Measurement;

// The chips of a generated deck of 5,000 colours spread over the sRGB cube,
// in the L*a*b* the collection files hold for them.
QVector<ColorMatchEntry> generatedCandidates(int count)
{
    QRandomGenerator random(5000);
    QVector<ColorMatchEntry> candidates;
    candidates.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QColor color(random.bounded(256), random.bounded(256), random.bounded(256));
        const ColorLAB lab = ColorManager::fromRgb(color);
        candidates.append(ColorMatchEntry{lab.L, lab.a, lab.b, qint64(i + 1)});
    }
    return candidates;
}

// A deck of off-whites, all within a few units of lightness of each other:
// the hardest case for matching, which cannot rule candidates out by
// lightness alone.
QVector<ColorMatchEntry> generatedOffWhites(int count)
{
    QRandomGenerator random(5001);
    QVector<ColorMatchEntry> candidates;
    candidates.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QColor color(225 + random.bounded(31), 225 + random.bounded(31), 215 + random.bounded(41));
        const ColorLAB lab = ColorManager::fromRgb(color);
        candidates.append(ColorMatchEntry{lab.L, lab.a, lab.b, qint64(i + 1)});
    }
    return candidates;
}

void addColourMeasurements(QVector<Measurement> &measurements)
{
    static const QVector<ColorMatchEntry> candidates = generatedCandidates(5000);
    static const QVector<ColorMatchEntry> offWhites = generatedOffWhites(5000);
    static const ColorLAB target = ColorManager::fromRgb(QColor(180, 120, 90));
    static const ColorLAB offWhiteTarget = ColorManager::fromRgb(QColor(240, 236, 228));

    measurements.append({QStringLiteral("MatchColor, 5000 candidates, 1 result"), QStringLiteral("< 0.5 ms"), 1, [] {
                             QVector<QPair<double, qint64>> out;
                             ColorManager::MatchColor(target, candidates, out, 1);
                             Benchmark::sink = Benchmark::sink + out.constFirst().first;
                         }});
    measurements.append({QStringLiteral("MatchColor, 5000 candidates, 6 results"), QStringLiteral("< 0.5 ms"), 1, [] {
                             QVector<QPair<double, qint64>> out;
                             ColorManager::MatchColor(target, candidates, out, 6);
                             Benchmark::sink = Benchmark::sink + out.constLast().first;
                         }});
    measurements.append({QStringLiteral("MatchColor, 5000 off-whites, 6 results"), QStringLiteral("< 0.5 ms"), 1, [] {
                             QVector<QPair<double, qint64>> out;
                             ColorManager::MatchColor(offWhiteTarget, offWhites, out, 6);
                             Benchmark::sink = Benchmark::sink + out.constLast().first;
                         }});
    measurements.append({QStringLiteral("DeltaEpsilonByCIE2000"), QStringLiteral("< 200 ns"), 5000, [] {
                             // Walks the deck, so that each call gets another pair.
                             static int next = 0;
                             const ColorMatchEntry &c = candidates.at(next);
                             next = (next + 1) % candidates.size();
                             Benchmark::sink = Benchmark::sink + ColorManager::DeltaEpsilonByCIE2000(target, ColorLAB{c.L, c.a, c.b});
                         }});
}

// A collection of 714 cards of 7 chips (4,998 chips) with two name columns
// searched, written once into a temporary lookup folder.
const QUuid benchmarkDeck(QStringLiteral("{0be5c4a1-0000-4000-8000-000000005000}"));

bool writeGeneratedCollection(const QString &lookupFolder)
{
    CollectionWriter writer(lookupFolder + QStringLiteral("/Contents/Resources/generated.db"));
    writer.exec(QStringLiteral("BEGIN"));
    const qint64 collection = writer.addCollection(benchmarkDeck, QStringLiteral("BENCH"), QStringLiteral("Generated"), 1, true);
    writer.addSettings(collection, QStringLiteral("page.name.search.order"), {QStringLiteral("0"), QStringLiteral("1")});
    writer.addSettings(collection, QStringLiteral("row.name.search.order"), {QStringLiteral("0"), QStringLiteral("1")});
    QRandomGenerator random(714);
    int chipNumber = 0;
    for (int page = 1; page <= 714; ++page) {
        CollectionWriter::Card card;
        card.pageIndex = page;
        card.segment = (page - 1) % 12 + 1;
        card.mood = (page - 1) % 6 + 1;
        card.names = QStringList{QStringLiteral("Card %1").arg(page), QStringLiteral("Carte %1").arg(page)};
        const qint64 pageId = writer.addCard(collection, card);
        for (int row = 1; row <= 7; ++row) {
            ++chipNumber;
            const QColor colour(random.bounded(256), random.bounded(256), random.bounded(256));
            const ColorLAB lab = ColorManager::fromRgb(colour);
            CollectionWriter::Chip chip;
            chip.rowIndex = row;
            chip.code = QStringLiteral("GN-%1").arg(chipNumber, 5, 10, QLatin1Char('0'));
            chip.names = QStringList{QStringLiteral("Generated %1").arg(chipNumber), QStringLiteral("Généré %1").arg(chipNumber)};
            chip.segment = card.segment;
            chip.red = colour.red();
            chip.green = colour.green();
            chip.blue = colour.blue();
            chip.L = lab.L;
            chip.a = lab.a;
            chip.b = lab.b;
            writer.addChip(collection, pageId, chip);
        }
    }
    writer.exec(QStringLiteral("COMMIT"));
    return writer.isOk();
}

// Written on first use, so that the colour measurements run before any
// database work has touched the processor's state.
const QUuid &generatedDeck()
{
    static QTemporaryDir lookupFolder;
    static const bool written = [] {
        if (!writeGeneratedCollection(lookupFolder.path())) {
            QTextStream(stderr) << "bench_lookup: the generated collection could not be written\n";
            return false;
        }
        DBManager::s_preferredLookupFolder = lookupFolder.path();
        DBManager::HasInstalledCollections();
        DBManager::selectedCollectionChanged(benchmarkDeck);
        return true;
    }();
    Q_UNUSED(written)
    return benchmarkDeck;
}

void addDatabaseMeasurements(QVector<Measurement> &measurements)
{
    measurements.append({QStringLiteral("GetAllColorMatchEntryFor, 4998 chips"), QStringLiteral("none set"), 1, [] {
                             QVector<ColorMatchEntry> candidates;
                             DBManager::GetAllColorMatchEntryFor(generatedDeck(), candidates);
                             Benchmark::sink = Benchmark::sink + candidates.size();
                         }});
    // As the search field sends it: upper-cased, so every accented letter
    // of the stored names differs from the phrase.
    measurements.append({QStringLiteral("SearchForPhrase, a name near the end"), QStringLiteral("< 2 ms"), 1, [] {
                             int page = 0, row = 0, segment = 0;
                             Velmar::Mood mood = Velmar::MoodNone;
                             bool exterior = false;
                             DBManager::SearchForPhrase(generatedDeck(), QStringLiteral("GÉNÉRÉ 4990"), page, row, segment,
                                                        mood, exterior);
                             Benchmark::sink = Benchmark::sink + row;
                         }});
    measurements.append({QStringLiteral("GetAvailableSearchSuggestions"), QStringLiteral("none set"), 1, [] {
                             QStringList suggestions;
                             DBManager::GetAvailableSearchSuggestions(generatedDeck(), suggestions);
                             Benchmark::sink = Benchmark::sink + suggestions.size();
                         }});
}

// Eight collection files of one deck each, the first with the system-wide
// collection, in a lookup folder of their own.
const QUuid firstOfEightDecks(QStringLiteral("{0be5c4a1-0000-4000-8000-000000000801}"));
const QUuid uninstalledDeck(QStringLiteral("{0be5c4a1-0000-4000-8000-0000000008ff}"));

const QString &eightFilesFolder()
{
    static QTemporaryDir lookupFolder;
    static const bool written = [] {
        for (int file = 1; file <= 8; ++file) {
            CollectionWriter writer(lookupFolder.path() + QStringLiteral("/Contents/Resources/deck-%1.db").arg(file), file == 1);
            const QUuid uuid(QStringLiteral("{0be5c4a1-0000-4000-8000-00000000080%1}").arg(file));
            const qint64 collection = writer.addCollection(uuid, QStringLiteral("DECK%1").arg(file),
                                                           QStringLiteral("Deck %1").arg(file), file, true);
            CollectionWriter::Chip chip;
            chip.code = QStringLiteral("D%1-1").arg(file);
            writer.addChip(collection, writer.addCard(collection, CollectionWriter::Card()), chip);
            if (!writer.isOk()) {
                QTextStream(stderr) << "bench_lookup: the eight collection files could not be written\n";
                return false;
            }
        }
        return true;
    }();
    Q_UNUSED(written)
    static const QString path = lookupFolder.path();
    return path;
}

// What My palette does for its 24 cells on a paint when the chips in them
// come from a collection that is not installed (a palette from another
// machine).
void lookUpTwentyFourCellsOfAnUninstalledCollection()
{
    for (int cell = 0; cell < 24; ++cell) {
        Velmar::DB::ColorEntry entry;
        DBManager::GetColorEntryById(uninstalledDeck, cell + 1, entry);
        Benchmark::sink = Benchmark::sink + entry.id;
    }
}

void addUninstalledCollectionMeasurements(QVector<Measurement> &measurements)
{
    // Within a picker call the collection is looked for in the files once;
    // every paint after that is answered from memory.
    measurements.append({QStringLiteral("24 cells of an uninstalled collection over 8 files, a paint"),
                         QStringLiteral("< 5 ms"), 1, [] {
                             DBManager::s_preferredLookupFolder = eightFilesFolder();
                             lookUpTwentyFourCellsOfAnUninstalledCollection();
                         }});
    // A picker call starts by selecting the last collection, which forgets
    // what was missing; its first paint then reads all eight files once.
    measurements.append({QStringLiteral("24 cells of an uninstalled collection over 8 files, first paint of a call"),
                         QStringLiteral("none set"), 1, [] {
                             DBManager::s_preferredLookupFolder = eightFilesFolder();
                             DBManager::selectedCollectionChanged(firstOfEightDecks);
                             lookUpTwentyFourCellsOfAnUninstalledCollection();
                         }});
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList wanted = app.arguments().mid(1);

    // Each group of look-ups adds its measurements here.
    QVector<Measurement> measurements;
    addColourMeasurements(measurements);
    addDatabaseMeasurements(measurements);
    addUninstalledCollectionMeasurements(measurements);

    if (!Benchmark::takesAll(QStringLiteral("bench_lookup"), measurements, wanted))
        return 2;
    Benchmark::run(measurements, wanted);
    return 0;
}
