#include "GeneratedCollection.h"

#include "CollectionWriter.h"
#include "DemoCollection.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStringList>

namespace {

struct Word {
    const char *english;
    const char *french;
};

// Few enough words that names repeat, as they do in real decks.
const Word adjectives[] = {
    {"Misty", "brumeux"},  {"Soft", "doux"},       {"Deep", "profond"},  {"Pale", "pâle"},     {"Warm", "chaud"},
    {"Quiet", "calme"},    {"Old", "ancien"},      {"Bright", "vif"},    {"Dusky", "sombre"},  {"Golden", "doré"},
    {"Silver", "argenté"}, {"Faded", "fané"},      {"Smoky", "fumé"},    {"Frosted", "givré"}, {"Sunny", "ensoleillé"},
    {"Velvet", "velouté"}, {"Rustic", "rustique"}, {"Wild", "sauvage"},  {"Cool", "frais"},    {"Dry", "sec"},
};

const Word nouns[] = {
    {"Harbour", "Port"},  {"Stone", "Pierre"},   {"Moss", "Mousse"},   {"Clay", "Argile"},    {"Meadow", "Prairie"},
    {"Ember", "Braise"},  {"Linen", "Lin"},      {"Dune", "Dune"},     {"Orchard", "Verger"}, {"Pebble", "Galet"},
    {"Slate", "Ardoise"}, {"Fern", "Fougère"},   {"Honey", "Miel"},    {"Plum", "Prune"},     {"Tide", "Marée"},
    {"Cedar", "Cèdre"},   {"Velvet", "Velours"}, {"Shell", "Coquille"}, {"Cocoa", "Cacao"},   {"Lagoon", "Lagon"},
};

const int adjectiveCount = int(sizeof(adjectives) / sizeof(adjectives[0]));
const int nounCount = int(sizeof(nouns) / sizeof(nouns[0]));

// Two to four words: one or two adjectives, one or two nouns; the French
// name puts the nouns first.
QPair<QString, QString> nameOfWords(QRandomGenerator &random)
{
    const int words = 2 + int(random.bounded(3));
    const int adjectiveWords = words == 2 ? 1 : 1 + int(random.bounded(2));
    const int nounWords = words - adjectiveWords;
    QStringList english;
    QStringList frenchAdjectives;
    for (int i = 0; i < adjectiveWords; ++i) {
        const Word &word = adjectives[random.bounded(adjectiveCount)];
        english << QString::fromUtf8(word.english);
        frenchAdjectives << QString::fromUtf8(word.french);
    }
    QStringList frenchNouns;
    for (int i = 0; i < nounWords; ++i) {
        const Word &word = nouns[random.bounded(nounCount)];
        english << QString::fromUtf8(word.english);
        frenchNouns << QString::fromUtf8(word.french);
    }
    return {english.join(QLatin1Char(' ')), (frenchNouns + frenchAdjectives).join(QLatin1Char(' '))};
}

// Codes "GA-0001" to "GA-9999", then "GB-0000" and on.
QString codeOf(const QString &firstLetter, int number)
{
    const QChar second(QLatin1Char('A').unicode() + (number / 10000) % 26);
    return QStringLiteral("%1%2-%3").arg(firstLetter).arg(second).arg(number % 10000, 4, 10, QLatin1Char('0'));
}

QList<QColor> bannerColours()
{
    QList<QColor> colours;
    for (int i = 0; i < 24; ++i)
        colours.append(QColor::fromHslF(i / 24.0, 0.5, 0.55));
    return colours;
}

// A deck of cards of seven chips (the last one may hold fewer), the cards
// over the twelve wheel segments in hue order, with every mood and some
// exterior cards. Some chips are stored from the last row up, some share
// a name but for its case, some lack their second name or have an empty
// one, and some repeat another chip's code in lower case.
bool writeDeck(CollectionWriter &writer, const QUuid &uuid, const QString &systemId, const QString &name, int order,
               int chips, const QString &codeLetter)
{
    const qint64 collection = writer.addCollection(uuid, systemId, name, order, true);
    if (collection < 0 || !DemoCollection::writeDeckConfiguration(writer, collection, name, bannerColours()))
        return false;
    QRandomGenerator random(quint32(chips) * 7919u + quint32(order));
    const int cards = (chips + 6) / 7;
    int chipNumber = 0;
    QString previousCode;
    for (int card = 1; card <= cards; ++card) {
        CollectionWriter::Card spec;
        // Gaps in the page indexes, as decks have where cards were withdrawn.
        spec.pageIndex = card + (card - 1) / 5;
        spec.segment = 1 + (card - 1) * 12 / cards;
        spec.name = QStringLiteral("%1 card %2").arg(name).arg(spec.pageIndex);
        const QPair<QString, QString> family = nameOfWords(random);
        spec.names = QStringList{family.first, family.second};
        spec.extras = QStringList{QStringLiteral("Card %1 of %2").arg(card).arg(cards)};
        spec.mood = 1 + int(random.bounded(6));
        spec.exterior = random.bounded(5) == 0;
        const qint64 pageId = writer.addCard(collection, spec);
        if (pageId < 0)
            return false;

        const int rows = qMin(7, chips - chipNumber);
        const bool fromTheLastRow = card % 4 == 0;
        for (int i = 0; i < rows; ++i) {
            const int row = fromTheLastRow ? rows - i : i + 1;
            ++chipNumber;
            const double hue = ((spec.segment - 1) * 30.0 + random.bounded(30.0)) / 360.0;
            const QColor colour = QColor::fromHslF(hue, 0.2 + random.bounded(0.6), 0.9 - row * 0.09);
            QPair<QString, QString> names = nameOfWords(random);
            if (chipNumber % 89 == 0)
                names.first = names.first.toUpper();
            QString code = codeOf(codeLetter, chipNumber);
            if (chipNumber % 101 == 0 && !previousCode.isEmpty())
                code = previousCode.toLower();
            previousCode = code;
            CollectionWriter::Chip chip = DemoCollection::makeChip(code, row, spec.segment, colour, names.first, names.second);
            if (chipNumber % 61 == 0)
                chip.names = QStringList{names.first};
            else if (chipNumber % 53 == 0)
                chip.names = QStringList{names.first, QString()};
            chip.extras = QStringList{QStringLiteral("LRV %1").arg(qRound(colour.lightnessF() * 100))};
            chip.mood = spec.mood;
            chip.isMto = row == 7 && card % 3 == 0;
            if (writer.addChip(collection, pageId, chip) < 0)
                return false;
        }
    }
    return true;
}

} // namespace

QUuid GeneratedCollection::bigDeckUuid(int chips)
{
    return QUuid(0x6e0c2a71, 0x22b4, 0x4f10, 0x8c, 0x01, uchar(chips >> 24), uchar(chips >> 16), uchar(chips >> 8),
                 uchar(chips), 0x00, 0x01);
}

QUuid GeneratedCollection::smallDeckUuid(int chips)
{
    return QUuid(0x6e0c2a71, 0x22b4, 0x4f10, 0x8c, 0x01, uchar(chips >> 24), uchar(chips >> 16), uchar(chips >> 8),
                 uchar(chips), 0x00, 0x02);
}

QString GeneratedCollection::filePath(const QString &lookupFolder, int chips)
{
    return QDir(lookupFolder).filePath(QStringLiteral("Contents/Resources/generated-%1.db").arg(chips));
}

bool GeneratedCollection::write(CollectionWriter &writer, int chips)
{
    if (chips < 1 || chips > MaxChips)
        return false;
    // One transaction: a file of 100,000 chips is written in seconds.
    return writer.exec(QStringLiteral("BEGIN"))
        && writeDeck(writer, bigDeckUuid(chips), QStringLiteral("GENERATED-%1").arg(chips),
                     QStringLiteral("Generated %1").arg(chips), -1, chips, QStringLiteral("G"))
        && writeDeck(writer, smallDeckUuid(chips), QStringLiteral("GENERATED-%1-SMALL").arg(chips), QStringLiteral("Small Beside"), 9,
                     SmallDeckChips, QStringLiteral("S"))
        && writer.exec(QStringLiteral("COMMIT"));
}

bool GeneratedCollection::writeBesideDemo(const QString &lookupFolder, int chips, QString *error)
{
    if (chips < 1 || chips > MaxChips) {
        if (error)
            *error = QStringLiteral("a generated deck holds 1 to %1 chips, not %2").arg(MaxChips).arg(chips);
        return false;
    }
    if (!DemoCollection::write(lookupFolder, error))
        return false;
    const QString path = filePath(lookupFolder, chips);
    QFile::remove(path);
    // The system-wide collection is the demo file's.
    CollectionWriter writer(path, false);
    const bool written = writer.isOk() && write(writer, chips);
    if (!written && error)
        *error = writer.lastError();
    return written;
}
