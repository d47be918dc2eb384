#include "DemoCollection.h"

#include "CollectionWriter.h"
#include "DemoBrowsing.h"
#include "DemoDizeviz.h"
#include "DemoMaterials.h"
#include "DemoSchemes.h"
#include "DemoTheme.h"

#include "database/DBStructure.h"

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
            CollectionWriter::Chip chip = DemoCollection::makeChip(code, row, segment, colour, english, french);
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
            const CollectionWriter::Chip chip = DemoCollection::makeChip(code, row, segment, colour, english, french);
            if (writer.addChip(collection, pageId, chip) < 0)
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
            const CollectionWriter::Chip chip = DemoCollection::makeChip(code, row, card.segment, colour, code, code);
            if (writer.addChip(collection, pageId, chip) < 0)
                return false;
        }
    }
    return true;
}


// What the services read from the demo: the settings of each collection, the
// texts of the user interface and the theme.

struct DeckConfiguration {
    const char *cardMode;
    const char *maxChips;
    const char *exteriorFilter;
    const char *texturesPage;
    QStringList schemes;
    const char *showPageIndex;
};

QList<QColor> interiorColours()
{
    QList<QColor> colours;
    for (int page = 1; page <= 24; ++page)
        colours.append(chipColour((page - 1) * 15.0, 0.55, 1));
    return colours;
}

QList<QColor> cardDeckColours()
{
    QList<QColor> colours;
    for (int segment : {1, 3, 5, 7, 9, 11, 2, 6})
        colours.append(chipColour((segment - 1) * 30.0 + 5.0, 0.5, 1));
    return colours;
}

bool writeDeckSettings(CollectionWriter &writer, qint64 collection, const QString &name,
                       const DeckConfiguration &deck)
{
    const QList<QPair<const char *, QString>> settings{
        {"collection.name", name},
        {"num.of.segments", QStringLiteral("12")},
        {"first.segment.angle", QStringLiteral("0")},
        {"segment.increment.orientation", QStringLiteral("CW")},
        {"card.type", QStringLiteral("normal")},
        {"mode.card", QLatin1String(deck.cardMode)},
        {"mode.mood", QStringLiteral("MoodModeNormal")},
        {"mood.visible", QStringLiteral("1")},
        {"has.exterior.filter", QLatin1String(deck.exteriorFilter)},
        {"max.chips.on.a.page", QLatin1String(deck.maxChips)},
        {"has.color.schemes.page", QStringLiteral("1")},
        {"has.textures.page", QLatin1String(deck.texturesPage)},
        {"has.product.groups.page", QStringLiteral("1")},
        {"has.huecast.page", QStringLiteral("1")},
        {"product.groups.mode", QStringLiteral("GroupsWithProductTooltip")},
        {"texture.size", QStringLiteral("148,96")},
        {"widget.huecast.chip.width", QStringLiteral("80")},
        {"widget.huecast.chip.height", QStringLiteral("48")},
        {"cie2000.delta.intervals", QStringLiteral("1,2.5,5,10")},
        {"save.palette.text.format", QStringLiteral("1")},
        {"must.fill", QStringLiteral("1")},
        {"dizeviz.enabled", QStringLiteral("0")},
        {"color.tooltip.show.row.code", QStringLiteral("1")},
        {"color.tooltip.show.row.name", QStringLiteral("1")},
        {"color.tooltip.show.row.additional.names", QStringLiteral("1")},
        {"color.tooltip.show.row.auxiliary.info", QStringLiteral("1")},
        {"color.tooltip.show.row.row.index", QStringLiteral("0")},
        {"color.tooltip.show.row.segment", QStringLiteral("0")},
        {"color.tooltip.show.page.name", QStringLiteral("1")},
        {"color.tooltip.show.page.index", QLatin1String(deck.showPageIndex)},
        {"color.tooltip.show.page.segment", QStringLiteral("0")},
        {"color.tooltip.show.collection.name", QStringLiteral("1")},
    };
    for (const auto &setting : settings) {
        if (!writer.addSetting(collection, QLatin1String(setting.first), setting.second))
            return false;
    }
    const QList<QPair<const char *, QStringList>> lists{
        {"tab.bar.page", {QStringLiteral("PageOfColorSchemes"), QStringLiteral("PageOfHuecast"),
                          QStringLiteral("PageOfTextures"), QStringLiteral("PageOfProducts")}},
        {"schemes", deck.schemes},
        // Names and extra texts: the English name first, the French one searched too.
        {"page.name.search.order", {QStringLiteral("0"), QStringLiteral("1")}},
        {"page.name.display.order", {QStringLiteral("0")}},
        {"page.extra.display.order", {QStringLiteral("0")}},
        {"row.name.search.order", {QStringLiteral("0"), QStringLiteral("1")}},
        {"row.name.display.order", {QStringLiteral("0")}},
        {"row.extra.display.order", {QStringLiteral("0")}},
    };
    for (const auto &list : lists) {
        if (!writer.addSettings(collection, QLatin1String(list.first), list.second))
            return false;
    }
    return true;
}

// English texts for every key the plug-in reads.
bool writeTexts(CollectionWriter &writer, qint64 collection, const QString &name)
{
    const QList<QPair<const char *, QString>> texts{
        {"common.filedialog.palettefile.savedialogcaption", QStringLiteral("Save palette")},
        {"common.filedialog.palettefile.opendialogcaption", QStringLiteral("Open palette")},
        {"common.filedialog.palettefile.defaultfilename", QStringLiteral("My palette.palette")},
        {"common.filedialog.textfile.filtername", QStringLiteral("Text files")},
        {"common.filedialog.palettefile.filtername", QStringLiteral("Palette files")},
        {"common.confirmation.dialog.caption", QStringLiteral("Please confirm")},
        {"license.copyright", QStringLiteral("<p>The demo collections are made up for trying the picker. "
                                             "Their colours, names and images may be used freely.</p>")},
        {"motto", QStringLiteral("<p>Find the colour, then find the next one.</p>")},
        {"textures.select.message", QStringLiteral("Textures in the selected colour")},
        {"tab.bar.color.schemes.caption", QStringLiteral("Schemes")},
        {"tab.bar.products.caption", QStringLiteral("Products")},
        {"tab.bar.huecast.caption", QStringLiteral("Trends")},
        {"tab.bar.textures.caption", QStringLiteral("Textures")},
        {"photoshop.swatchalert.text", QStringLiteral("The palette was saved as a swatch file.")},
        {"photoshop.swatchalert.caption", QStringLiteral("Swatches saved")},
        {"photoshop.swatchdialog.caption", QStringLiteral("Save swatches")},
        {"photoshop.swatchdialog.filtername", QStringLiteral("Swatch files")},
        {"photoshop.selectcolor.button", QStringLiteral("Select colour")},
        {"photoshop.createswatch.button", QStringLiteral("Swatch file")},
        {"tiptext.harmonizer.palette.scheme.complementary.neutral", QStringLiteral("Neutrals opposite the colour")},
        {"tiptext.harmonizer.palette.scheme.tonal.neutral", QStringLiteral("Neutrals of the same tone")},
        {"tiptext.harmonizer.palette.scheme.dramatic", QStringLiteral("Strong opposites")},
        {"tiptext.harmonizer.palette.scheme.dynamic", QStringLiteral("Four colours around the wheel")},
        {"tiptext.harmonizer.palette.scheme.wide.contrast", QStringLiteral("The two neighbours of the opposite")},
        {"tiptext.harmonizer.palette.scheme.contrast", QStringLiteral("The opposite colour")},
        {"tiptext.harmonizer.palette.scheme.harmonic", QStringLiteral("Neighbouring colours")},
        {"tiptext.mood.neutral.button", QStringLiteral("Neutral colours")},
        {"tiptext.mood.offwhite.button", QStringLiteral("Off-white colours")},
        {"tiptext.mood.rich.button", QStringLiteral("Rich colours")},
        {"tiptext.mood.warm.button", QStringLiteral("Warm colours")},
        {"tiptext.mood.calm.button", QStringLiteral("Calm colours")},
        {"tiptext.mood.fresh.button", QStringLiteral("Fresh colours")},
        {"colormatcher.dialog.caption", QStringLiteral("Nearest colours")},
        // Shared by the Dizeviz and the nearest-colour dialogs.
        {"dizeviz.dialog.todo", QStringLiteral("Choose one of these colours")},
        {"dizeviz.dialog.caption", QStringLiteral("Measured colours")},
        {"mypalette.note.instructions", QStringLiteral("Describe this palette")},
        {"mypalette.clearpalettebutton.question", QStringLiteral("Remove every colour from the palette?")},
        {"mypalette.palette.save", QStringLiteral("Save")},
        {"mypalette.palette.load", QStringLiteral("Open")},
        {"harmonizer.drag.drop.message", QStringLiteral("Drag a chip into your palette")},
        {"harmonizer.palette.scheme.complementary.neutral", QStringLiteral("Complementary\nneutral")},
        {"harmonizer.palette.scheme.tonal.neutral", QStringLiteral("Tonal\nneutral")},
        {"harmonizer.palette.scheme.dramatic", QStringLiteral("Dramatic")},
        {"harmonizer.palette.scheme.dynamic", QStringLiteral("Dynamic")},
        {"harmonizer.palette.scheme.wide.contrast", QStringLiteral("Wide\ncontrast")},
        {"harmonizer.palette.scheme.contrast", QStringLiteral("Contrast")},
        {"harmonizer.palette.scheme.harmonic", QStringLiteral("Harmonic")},
        {"mood.filter.exterior.colors", QStringLiteral("Exterior colours")},
        {"mood.filter.all.moods", QStringLiteral("All moods")},
        {"do.not.show.mto", QStringLiteral("Hide made to order")},
        {"color.palette.enter.search.text", QStringLiteral("CODE OR NAME")},
        {"color.palette.copyright", QStringLiteral("About these colours")},
        {"color.palette.motto", QStringLiteral("Find the colour")},
        {"color.palette.caption", name},
        {"aboutbox.caption", QStringLiteral("About the colour picker")},
        {"aboutbox.main", QStringLiteral("Hueform colour picker")},
        {"aboutbox.copyright", QStringLiteral("Demo collection: %1").arg(name)},
        {"aboutbox.version", QStringLiteral("Version")},
        {"aboutbox.qt.license.button", QStringLiteral("Toolkit licence")},
        {"aboutbox.close.button", QStringLiteral("Close")},
    };
    for (const auto &text : texts) {
        if (!writer.addText(collection, QLatin1String(text.first), text.second, QStringLiteral("en")))
            return false;
    }
    return true;
}

bool writeThemeItems(CollectionWriter &writer, qint64 collection, const QList<DemoTheme::Item> &items)
{
    for (const DemoTheme::Item &item : items) {
        if (!writer.addThemeItem(collection, item.first, item.second))
            return false;
    }
    return true;
}

bool writeSystemWideConfiguration(CollectionWriter &writer)
{
    const qint64 system = Velmar::DBStructure::SystemWideCollectionId;
    return writer.addSetting(system, QStringLiteral("has.textures.page"), QStringLiteral("1"))
        && writer.addSetting(system, QStringLiteral("texture.size"), QStringLiteral("148,96"))
        && writeThemeItems(writer, system, DemoTheme::systemWideItems(interiorColours()));
}

bool writeInteriorConfiguration(CollectionWriter &writer)
{
    const qint64 collection = writer.collectionId(DemoCollection::InteriorDeckUuid);
    return collection >= 0
        && DemoCollection::writeDeckConfiguration(writer, collection, QStringLiteral("Dimora Interiors"), interiorColours());
}

bool writeCardDeckConfiguration(CollectionWriter &writer)
{
    const qint64 collection = writer.collectionId(DemoCollection::CardDeckUuid);
    const QString name = QStringLiteral("Atelier Cards");
    const DeckConfiguration deck{"ModeCardToCard", "5", "0", "0",
                                 {QStringLiteral("harmonic"), QStringLiteral("contrast"), QStringLiteral("neutral")},
                                 "1"};
    return collection >= 0 && writeDeckSettings(writer, collection, name, deck) && writeTexts(writer, collection, name)
        && writeThemeItems(writer, collection, DemoTheme::collectionItems(cardDeckColours()));
}

} // namespace

QString DemoCollection::filePath(const QString &lookupFolder)
{
    return QDir(lookupFolder).filePath(QStringLiteral("Contents/Resources/demo.db"));
}

bool DemoCollection::write(const QString &lookupFolder, QString *error, const QString &dizevizFolder)
{
    const QString path = filePath(lookupFolder);
    QFile::remove(path);
    CollectionWriter writer(path);
    const bool written = writer.isOk() && writeInteriorDeck(writer) && writeCardDeck(writer) && writeRetiredDeck(writer)
        && writeSystemWideConfiguration(writer) && writeInteriorConfiguration(writer)
        && writeCardDeckConfiguration(writer) && DemoDizeviz::write(writer, dizevizFolder) && DemoBrowsing::write(writer)
        && DemoSchemes::write(writer)
        && DemoMaterials::write(writer);
    if (!written && error)
        *error = writer.lastError();
    return written;
}

bool DemoCollection::writeDeckConfiguration(CollectionWriter &writer, qint64 collection, const QString &name,
                                            const QList<QColor> &colours)
{
    const DeckConfiguration deck{"ModeColorToColor", "7", "1", "1",
                                 {QStringLiteral("harmonic"), QStringLiteral("contrast"), QStringLiteral("wide contrast"),
                                  QStringLiteral("dynamic"), QStringLiteral("dramatic"), QStringLiteral("neutral")},
                                 "0"};
    return writeDeckSettings(writer, collection, name, deck) && writeTexts(writer, collection, name)
        && writeThemeItems(writer, collection, DemoTheme::collectionItems(colours));
}

CollectionWriter::Chip DemoCollection::makeChip(const QString &code, int rowIndex, int segment, const QColor &colour,
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
