#include "DemoCollection.h"

#include "CollectionWriter.h"

#include "services/ColorManager.h"

#include <QColor>
#include <QDir>
#include <QFile>

const QUuid DemoCollection::InteriorDeckUuid(0x5a1c0d3e, 0x7b42, 0x4c1e, 0x9a, 0x10, 0x3f, 0x6d, 0x2b, 0x81, 0x04, 0x01);
const QUuid DemoCollection::CardDeckUuid(0x5a1c0d3e, 0x7b42, 0x4c1e, 0x9a, 0x10, 0x3f, 0x6d, 0x2b, 0x81, 0x04, 0x02);
const QUuid DemoCollection::RetiredDeckUuid(0x5a1c0d3e, 0x7b42, 0x4c1e, 0x9a, 0x10, 0x3f, 0x6d, 0x2b, 0x81, 0x04, 0x03);

namespace {

struct Hue {
    const char *english;
    const char *french;
};

// One hue every 15 degrees, two cards to each of the 12 wheel segments.
const Hue hues[24] = {
    {"Red", "Rouge"},         {"Coral", "Corail"},        {"Vermilion", "Vermillon"}, {"Tangerine", "Mandarine"},
    {"Amber", "Ambre"},       {"Saffron", "Safran"},      {"Lemon", "Citron"},        {"Chartreuse", "Chartreuse"},
    {"Fern", "Fougère"},      {"Green", "Vert"},          {"Jade", "Jade"},           {"Mint", "Menthe"},
    {"Teal", "Sarcelle"},     {"Lagoon", "Lagon"},        {"Azure", "Azur"},          {"Cornflower", "Bleuet"},
    {"Blue", "Bleu"},         {"Indigo", "Indigo"},       {"Violet", "Violette"},     {"Iris", "Iris"},
    {"Orchid", "Orchidée"},   {"Plum", "Prune"},          {"Rose", "Rose"},           {"Raspberry", "Framboise"},
};

struct Step {
    const char *english;
    const char *french;
    double lightness;
};

// Seven chips a card, from the lightest to the deepest.
const Step steps[7] = {
    {"Whisper", "murmure", 0.92}, {"Pale", "pâle", 0.82}, {"Soft", "doux", 0.72}, {"Clear", "clair", 0.62},
    {"Deep", "profond", 0.50},    {"Rich", "riche", 0.40}, {"Dark", "sombre", 0.30},
};

const char *const moodNames[7] = {"", "fresh", "warm", "calm", "rich", "offwhite", "neutral"};

bool isExteriorCard(int pageIndex)
{
    return pageIndex == 4 || pageIndex == 11 || pageIndex == 18 || pageIndex == 23;
}

QColor chipColour(double hueDegrees, double lightness, int mood)
{
    // Offwhite and neutral cards carry greyed colours.
    const double saturation = (mood == 5 || mood == 6) ? 0.12 : 0.55;
    return QColor::fromHslF(hueDegrees / 360.0, saturation, lightness);
}

CollectionWriter::Chip makeChip(const QString &code, int rowIndex, int segment, const QColor &colour,
                                const QString &english, const QString &french)
{
    CollectionWriter::Chip chip;
    chip.rowIndex = rowIndex;
    chip.code = code;
    chip.names = QStringList{english, french};
    chip.segment = segment;
    chip.red = colour.red();
    chip.green = colour.green();
    chip.blue = colour.blue();
    // From the stored 8-bit channels, not the finer colour they were cut from.
    const Velmar::ColorLAB lab = Velmar::ColorManager::fromRgb(QColor(chip.red, chip.green, chip.blue));
    chip.L = lab.L;
    chip.a = lab.a;
    chip.b = lab.b;
    return chip;
}

bool writeInteriorDeck(CollectionWriter &writer)
{
    const qint64 collection = writer.addCollection(DemoCollection::InteriorDeckUuid, QStringLiteral("DEMO-INTERIOR"),
                                                   QStringLiteral("Dimora Interiors"), 1, true);
    if (collection < 0)
        return false;
    for (int page = 1; page <= 24; ++page) {
        const Hue &hue = hues[page - 1];
        const int segment = (page - 1) / 2 + 1;
        const int mood = (page - 1) % 6 + 1;
        CollectionWriter::Card card;
        card.pageIndex = page;
        card.segment = segment;
        card.name = QStringLiteral("%1 %2").arg(QString::fromUtf8(hue.english), QString::fromUtf8(moodNames[mood]));
        card.names = QStringList{QStringLiteral("%1 Family").arg(QString::fromUtf8(hue.english)),
                                 QStringLiteral("Famille %1").arg(QString::fromUtf8(hue.french))};
        card.extras = QStringList{QStringLiteral("Card %1 of 24").arg(page)};
        card.exterior = isExteriorCard(page);
        card.mood = mood;
        const qint64 pageId = writer.addCard(collection, card);
        if (pageId < 0)
            return false;

        // Stored from the darkest chip up, as real files often are: the
        // queries must hand them back in row order.
        for (int row = 7; row >= 1; --row) {
            const Step &step = steps[row - 1];
            const QColor colour = chipColour((page - 1) * 15.0, step.lightness, mood);
            QString code = QStringLiteral("DI-%1%2").arg(page, 2, 10, QLatin1Char('0')).arg(row, 2, 10, QLatin1Char('0'));
            QString english = QStringLiteral("%1 %2").arg(QString::fromUtf8(step.english), QString::fromUtf8(hue.english));
            QString french = QStringLiteral("%1 %2").arg(QString::fromUtf8(hue.french), QString::fromUtf8(step.french));
            if (page == 5 && row == 1)
                english = french = QStringLiteral("Crème brûlée");
            if (page == 9 && row == 4)
                code = QStringLiteral("DI-L'AUBE");
            CollectionWriter::Chip chip = makeChip(code, row, segment, colour, english, french);
            chip.extras = QStringList{QStringLiteral("LRV %1").arg(qRound(step.lightness * 100))};
            chip.mood = mood;
            chip.neutral = mood == 6;
            chip.white = mood == 5 && row == 1;
            chip.isMto = row == 7 && page % 3 == 0;
            if (writer.addChip(collection, pageId, chip) < 0)
                return false;
        }
    }
    return true;
}

bool writeCardDeck(CollectionWriter &writer)
{
    const qint64 collection = writer.addCollection(DemoCollection::CardDeckUuid, QStringLiteral("DEMO-CARDS"),
                                                   QStringLiteral("Atelier Cards"), 2, true);
    if (collection < 0)
        return false;
    const int segments[8] = {1, 3, 5, 7, 9, 11, 2, 6};
    for (int page = 1; page <= 8; ++page) {
        const int segment = segments[page - 1];
        const Hue &hue = hues[(segment - 1) * 2];
        CollectionWriter::Card card;
        card.pageIndex = page;
        card.segment = segment;
        card.name = QStringLiteral("Atelier %1").arg(QString::fromUtf8(hue.english));
        card.names = QStringList{card.name, QStringLiteral("Atelier %1").arg(QString::fromUtf8(hue.french))};
        card.mood = (page - 1) % 4 + 1;
        const qint64 pageId = writer.addCard(collection, card);
        if (pageId < 0)
            return false;
        for (int row = 1; row <= 5; ++row) {
            const Step &step = steps[row];
            const QColor colour = chipColour((segment - 1) * 30.0 + 5.0, step.lightness, card.mood);
            const QString code = QStringLiteral("AC-%1%2").arg(page).arg(row, 2, 10, QLatin1Char('0'));
            const QString english = QStringLiteral("Atelier %1 %2").arg(QString::fromUtf8(hue.english)).arg(row);
            const QString french = QStringLiteral("Atelier %1 %2").arg(QString::fromUtf8(hue.french)).arg(row);
            if (writer.addChip(collection, pageId, makeChip(code, row, segment, colour, english, french)) < 0)
                return false;
        }
    }
    return true;
}

bool writeRetiredDeck(CollectionWriter &writer)
{
    // Not enabled: it lies in the file but is never installed.
    const qint64 collection = writer.addCollection(DemoCollection::RetiredDeckUuid, QStringLiteral("DEMO-RETIRED"),
                                                   QStringLiteral("Retired Deck"), 3, false);
    if (collection < 0 || !writer.addSetting(collection, QStringLiteral("collection.enabled"), QStringLiteral("0")))
        return false;
    for (int page = 1; page <= 3; ++page) {
        CollectionWriter::Card card;
        card.pageIndex = page;
        card.segment = page * 4;
        card.name = QStringLiteral("Retired %1").arg(page);
        const qint64 pageId = writer.addCard(collection, card);
        if (pageId < 0)
            return false;
        for (int row = 1; row <= 3; ++row) {
            const QColor colour = chipColour(page * 110.0, steps[row * 2 - 1].lightness, 1);
            const QString code = QStringLiteral("RD-%1%2").arg(page).arg(row);
            if (writer.addChip(collection, pageId, makeChip(code, row, card.segment, colour, code, code)) < 0)
                return false;
        }
    }
    return true;
}

} // namespace

QString DemoCollection::filePath(const QString &lookupFolder)
{
    return QDir(lookupFolder).filePath(QStringLiteral("Contents/Resources/demo.db"));
}

bool DemoCollection::write(const QString &lookupFolder, QString *error)
{
    const QString path = filePath(lookupFolder);
    QFile::remove(path);
    CollectionWriter writer(path);
    const bool written = writer.isOk() && writeInteriorDeck(writer) && writeCardDeck(writer) && writeRetiredDeck(writer);
    if (!written && error)
        *error = writer.lastError();
    return written;
}
