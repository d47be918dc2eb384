#include "DemoMaterials.h"

#include "CollectionWriter.h"
#include "DemoCollection.h"
#include "DemoTheme.h"
#include "MaterialsWriter.h"

#include "database/DBStructure.h"

#include <QHash>
#include <QPainter>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QtMath>

#include <algorithm>

namespace {

const QSize textureSize(148, 96);

int clampChannel(double value)
{
    return std::clamp(int(value), 0, 255);
}

QRgb grey(double value)
{
    const int v = clampChannel(value);
    return qRgb(v, v, v);
}

// Fine woven threads: light warp and weft with a slub now and then.
QImage linen()
{
    QImage image(textureSize, QImage::Format_RGB32);
    QRandomGenerator random(11);
    QVector<double> warp(image.width()), weft(image.height());
    for (double &v : warp)
        v = random.bounded(14.0);
    for (double &v : weft)
        v = random.bounded(14.0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool over = ((x / 2) + (y / 2)) % 2 == 0;
            const double thread = over ? warp[x] : weft[y];
            image.setPixel(x, y, grey(246 - thread - ((x + y) % 2) * 6 - random.bounded(5.0)));
        }
    }
    return image;
}

// Bricks in stretcher bond with pale mortar joints.
QImage brick()
{
    QImage image(textureSize, QImage::Format_RGB32);
    QRandomGenerator random(23);
    const int course = 16;
    const int length = 37;
    QHash<int, double> shade;
    for (int y = 0; y < image.height(); ++y) {
        const int row = y / course;
        const int offset = row % 2 ? length / 2 : 0;
        for (int x = 0; x < image.width(); ++x) {
            const int column = (x + offset) / length;
            const bool joint = y % course >= course - 2 || (x + offset) % length >= length - 2;
            const int key = row * 100 + column;
            if (!shade.contains(key))
                shade.insert(key, 200 + random.bounded(30.0));
            const double value = joint ? 248 - random.bounded(6.0) : shade.value(key) - random.bounded(12.0);
            image.setPixel(x, y, grey(value));
        }
    }
    return image;
}

// Smooth trowelled plaster: soft, large swirls.
QImage plaster()
{
    QImage image(textureSize, QImage::Format_RGB32);
    QRandomGenerator random(5);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double swirl = std::sin(x * 0.07 + std::sin(y * 0.05) * 2.2) * std::cos(y * 0.09 - x * 0.02);
            image.setPixel(x, y, grey(236 + swirl * 10 - random.bounded(4.0)));
        }
    }
    return image;
}

// Boards of oak with wavy grain running along them.
QImage oak()
{
    QImage image(textureSize, QImage::Format_RGB32);
    QRandomGenerator random(31);
    const int board = 24;
    for (int y = 0; y < image.height(); ++y) {
        const int index = y / board;
        const double phase = index * 1.7;
        for (int x = 0; x < image.width(); ++x) {
            if (y % board == board - 1) {
                image.setPixel(x, y, grey(170));
                continue;
            }
            const double wave = std::sin((y % board) * 0.55 + std::sin(x * 0.045 + phase) * 2.4 + phase);
            const double ring = std::pow(std::abs(wave), 6.0);
            image.setPixel(x, y, grey(238 - ring * 40 - random.bounded(6.0) - index % 2 * 6));
        }
    }
    return image;
}

// Cast concrete: fine grain with a few pores.
QImage concrete()
{
    QImage image(textureSize, QImage::Format_RGB32);
    QRandomGenerator random(47);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const double cloud = std::sin(x * 0.11 + y * 0.03) * std::sin(y * 0.13 - x * 0.05) * 8;
            image.setPixel(x, y, grey(226 + cloud - random.bounded(16.0)));
        }
    }
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        const double r = 0.6 + random.bounded(1.4);
        painter.setBrush(QColor(150 + random.bounded(40), 150 + random.bounded(40), 150 + random.bounded(40)));
        painter.drawEllipse(QPointF(random.bounded(148.0), random.bounded(96.0)), r, r);
    }
    return image;
}

// Herringbone parquet: short blocks at right angles.
QImage herringbone()
{
    QImage image(textureSize, QImage::Format_RGB32);
    QRandomGenerator random(59);
    const int width = 8;
    const int length = 32;
    QHash<qint64, double> shade;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            // Two families of blocks along the diagonals, alternating in strips.
            const int u = x + y;
            const int v = x - y + 1000;
            const bool first = (u / length + v / width) % 2 == 0;
            const int along = first ? u : v;
            const int across = first ? v : u;
            const bool seam = along % length == 0 || across % width == 0;
            const qint64 key = (qint64(along / length) << 32) ^ (across / width) ^ (first ? 1 << 30 : 0);
            if (!shade.contains(key))
                shade.insert(key, 214 + random.bounded(28.0));
            image.setPixel(x, y, grey(seam ? 176 : shade.value(key) - random.bounded(6.0)));
        }
    }
    return image;
}

struct TextureSpec {
    const char *name;
    bool systemWide;
    double baseAlpha;
};

const TextureSpec textures[] = {
    {"Linen", true, 0.6},    {"Brick", true, 0.8},     {"Plaster", true, 1.0},
    {"Oak", false, 0.5},     {"Concrete", false, 0.7}, {"Herringbone", false, 0.5},
};

struct Placing {
    const char *texture;
    double alpha;
    const char *name;
};

// What lies on a card, by the card's place in a cycle of eight; the
// seventh card of each cycle has no texture.
const QList<QList<Placing>> placingCycle{
    {{"Linen", 0.55, "Linen curtains"}, {"Plaster", 0.8, "Smooth plaster"}, {"Oak", 0.45, "Oak floorboards"}},
    {{"Brick", 0.7, "Painted brick"}, {"Concrete", 0.5, "Polished concrete"}},
    {{"Herringbone", 0.5, "Parquet floor"}, {"Linen", 0.65, "Linen blinds"}, {"Plaster", 0.9, "Lime plaster"},
     {"Brick", 0.6, "Garden wall"}, {"Oak", 0.35, "Oak panelling"}},
    {{"Plaster", 0.75, "Ceiling"}, {"Herringbone", 0.4, "Hallway floor"}, {"Concrete", 0.6, "Kitchen worktop"}},
    {{"Oak", 0.5, "Oak table"}, {"Linen", 0.5, "Linen throw"}},
    {{"Brick", 0.85, "Fireplace"}, {"Plaster", 0.7, "Textured wall"}, {"Concrete", 0.45, "Bathroom floor"},
     {"Linen", 0.6, "Headboard"}},
    {},
    {{"Concrete", 0.55, "Loft wall"}, {"Oak", 0.6, "Window frame"}, {"Herringbone", 0.55, "Dining floor"}},
};

struct TrendEntry {
    const char *name;
    const char *code;
};

struct TrendGroup {
    QUuid deck; // null: system-wide
    const char *name;
    bool open;
    int order;
    QList<TrendEntry> entries;
};

const QList<TrendGroup> trendGroups{
    {DemoCollection::InteriorDeckUuid, "Spring 2025", true, 1,
     {{"Sea glass", "DI-1402"}, {"Apricot", "DI-0403"}, {"Sage", "DI-1003"}, {"Blush", "DI-2302"},
      {"Lagoon", "DI-1404"}, {"Pollen", "DI-0702"}, {"Lilac", "DI-1902"}, {"Fern", "DI-0903"}}},
    {DemoCollection::InteriorDeckUuid, "Autumn/Winter 2025", false, 2,
     {{"Rust", "DI-0306"}, {"Ink", "DI-1807"}, {"Moss", "DI-0806"}, {"Claret", "DI-2406"}, {"Ochre", "DI-0605"},
      {"Slate", "DI-1606"}}},
    {DemoCollection::InteriorDeckUuid, "Next season", false, 3, {}},
    {QUuid(), "Timeless neutrals", false, 4,
     {{"Chalk", "DI-0501"}, {"Pebble", "DI-1203"}, {"Stone", "DI-1103"}, {"Graphite", "DI-1207"}}},
    {DemoCollection::CardDeckUuid, "Atelier picks", true, 1,
     {{"Poppy", "AC-102"}, {"Citrine", "AC-303"}, {"Meadow", "AC-404"}, {"Harbour", "AC-502"}, {"Heather", "AC-603"}}},
};

const char *const productNames[] = {"Matt emulsion",  "Silk emulsion", "Ceiling white",    "Kitchen & bath",
                                    "Eggshell",       "Satinwood",     "High gloss",       "Floor paint",
                                    "Masonry paint",  "Exterior wood", "Primer undercoat", "Metal paint"};
const char *const groupNames[] = {"Walls and ceilings", "Kitchens and bathrooms", "Wood and metal",
                                  "Floors", "Exterior", "Trade range"};
// Products by group, as indexes of the two lists above.
const QList<QList<int>> productsOfGroup{{0, 1, 2}, {3}, {4, 5, 6, 11}, {7}, {8, 9}, {10}};

struct Chip {
    qint64 id = -1;
    int pageIndex = 0;
    int rowIndex = 0;
    bool exterior = false;
    bool isMto = false;
    QColor colour;
};

// The chips of a collection by code.
QHash<QString, Chip> chipsOf(CollectionWriter &writer, qint64 collection)
{
    QHash<QString, Chip> chips;
    QSqlQuery query(writer.database());
    query.exec(QStringLiteral("SELECT R.ID, R.CODE, P.PAGE_INDEX, R.ROW_INDEX, P.EXTERIOR, R.IS_MTO, R.RED, R.GREEN, "
                              "R.BLUE FROM \"ROW\" R JOIN PAGE P ON P.ID = R.PAGE_ID WHERE R.COLLECTION_ID = %1")
                   .arg(collection));
    while (query.next()) {
        Chip chip;
        chip.id = query.value(0).toLongLong();
        chip.pageIndex = query.value(2).toInt();
        chip.rowIndex = query.value(3).toInt();
        chip.exterior = query.value(4).toInt() != 0;
        chip.isMto = query.value(5).toInt() != 0;
        chip.colour = QColor(query.value(6).toInt(), query.value(7).toInt(), query.value(8).toInt());
        chips.insert(query.value(1).toString(), chip);
    }
    return chips;
}

QHash<int, qint64> cardsOf(CollectionWriter &writer, qint64 collection)
{
    QHash<int, qint64> cards;
    QSqlQuery query(writer.database());
    query.exec(QStringLiteral("SELECT ID, PAGE_INDEX FROM PAGE WHERE COLLECTION_ID = %1").arg(collection));
    while (query.next())
        cards.insert(query.value(1).toInt(), query.value(0).toLongLong());
    return cards;
}

bool writeTextures(CollectionWriter &writer, qint64 interior)
{
    QHash<QString, qint64> ids;
    for (const TextureSpec &spec : textures) {
        const QString name = QLatin1String(spec.name);
        const qint64 id = MaterialsWriter::addTexture(
            writer, spec.systemWide ? Velmar::DBStructure::SystemWideCollectionId : interior, name,
            DemoTheme::png(DemoMaterials::drawTexture(name)), spec.baseAlpha);
        if (id < 0)
            return false;
        ids.insert(name, id);
    }
    const QHash<int, qint64> cards = cardsOf(writer, interior);
    for (auto card = cards.cbegin(); card != cards.cend(); ++card) {
        for (const Placing &placing : placingCycle.at((card.key() - 1) % placingCycle.size())) {
            if (!MaterialsWriter::placeTexture(writer, ids.value(QLatin1String(placing.texture)), card.value(),
                                               placing.alpha, QLatin1String(placing.name)))
                return false;
        }
    }
    return true;
}

bool writeTrends(CollectionWriter &writer, const QHash<QUuid, qint64> &decks)
{
    const QHash<QString, Chip> interiorChips = chipsOf(writer, decks.value(DemoCollection::InteriorDeckUuid));
    const QHash<QString, Chip> cardChips = chipsOf(writer, decks.value(DemoCollection::CardDeckUuid));
    for (const TrendGroup &group : trendGroups) {
        const qint64 owner = group.deck.isNull() ? Velmar::DBStructure::SystemWideCollectionId : decks.value(group.deck);
        const qint64 groupId =
            MaterialsWriter::addHuecastGroup(writer, owner, QLatin1String(group.name), group.open, group.order);
        if (groupId < 0)
            return false;
        int order = 0;
        for (const TrendEntry &entry : group.entries) {
            const QString code = QLatin1String(entry.code);
            const Chip chip = code.startsWith(QLatin1String("AC-")) ? cardChips.value(code) : interiorChips.value(code);
            if (chip.id < 0)
                return false;
            const qint64 entryId = MaterialsWriter::addHuecastEntry(writer, owner, groupId, QLatin1String(entry.name),
                                                                    code, chip.colour, ++order);
            if (entryId < 0 || !MaterialsWriter::setHuecastEntryRow(writer, entryId, chip.id))
                return false;
        }
    }
    return true;
}

// The groups a chip is made in: walls for the lighter chips, wood and metal
// for all, floors and the trade range for the deeper ones, exterior on
// exterior cards; a made-to-order colour only in the trade range.
QList<int> groupsFor(const Chip &chip)
{
    if (chip.isMto)
        return {5};
    QList<int> groups;
    if (chip.rowIndex <= 4)
        groups << 0;
    if (chip.rowIndex <= 2)
        groups << 1;
    groups << 2;
    if (chip.rowIndex >= 4)
        groups << 3;
    if (chip.exterior)
        groups << 4;
    if (chip.rowIndex >= 4)
        groups << 5;
    return groups;
}

bool writeProducts(CollectionWriter &writer, const QHash<QUuid, qint64> &decks)
{
    QList<qint64> products;
    QList<qint64> groups;
    for (const char *name : productNames)
        products << MaterialsWriter::addProduct(writer, QLatin1String(name));
    for (const char *name : groupNames)
        groups << MaterialsWriter::addProductGroup(writer, QLatin1String(name));
    for (int g = 0; g < productsOfGroup.size(); ++g) {
        for (int p : productsOfGroup.at(g)) {
            if (!writer.exec(QStringLiteral("INSERT INTO PRODUCT_PRODUCT_GROUP_MAP (PRODUCT_GROUP_ID, PRODUCT_ID) "
                                            "VALUES (:G, :P)"),
                             {{QStringLiteral(":G"), groups.at(g)}, {QStringLiteral(":P"), products.at(p)}}))
                return false;
        }
    }
    for (const QUuid &deck : {DemoCollection::InteriorDeckUuid, DemoCollection::CardDeckUuid}) {
        const qint64 collection = decks.value(deck);
        const QHash<QString, Chip> chips = chipsOf(writer, collection);
        for (const Chip &chip : chips) {
            // The last two interior cards are new colours, not yet in any range.
            if (deck == DemoCollection::InteriorDeckUuid && chip.pageIndex >= 23)
                continue;
            for (int g : groupsFor(chip)) {
                if (!MaterialsWriter::linkProductGroup(writer, collection, chip.id, groups.at(g)))
                    return false;
                for (int p : productsOfGroup.at(g)) {
                    // Ceiling white only in the palest colour.
                    if (p == 2 && chip.rowIndex != 1)
                        continue;
                    if (!MaterialsWriter::linkProduct(writer, collection, chip.id, products.at(p)))
                        return false;
                }
            }
        }
    }
    return true;
}

} // namespace

QImage DemoMaterials::drawTexture(const QString &name)
{
    static const QHash<QString, QImage (*)()> painters{
        {QStringLiteral("Linen"), linen},     {QStringLiteral("Brick"), brick},
        {QStringLiteral("Plaster"), plaster}, {QStringLiteral("Oak"), oak},
        {QStringLiteral("Concrete"), concrete}, {QStringLiteral("Herringbone"), herringbone},
    };
    const auto painter = painters.constFind(name);
    return painter == painters.constEnd() ? QImage() : (*painter)();
}

bool DemoMaterials::write(CollectionWriter &writer)
{
    QHash<QUuid, qint64> decks;
    for (const QUuid &deck : {DemoCollection::InteriorDeckUuid, DemoCollection::CardDeckUuid}) {
        const qint64 id = writer.collectionId(deck);
        if (id < 0)
            return false;
        decks.insert(deck, id);
    }
    // Some two thousand rows: one transaction instead of a sync for each.
    QSqlDatabase database = writer.database();
    if (!database.transaction())
        return false;
    // The card deck lists the products themselves; the interior deck their groups.
    const bool written =
        writeTextures(writer, decks.value(DemoCollection::InteriorDeckUuid)) && writeTrends(writer, decks)
        && writeProducts(writer, decks)
        && writer.exec(QStringLiteral("UPDATE SETTING SET VALUE = 'Products' WHERE COLLECTION_ID = :C "
                                      "AND NAME = 'product.groups.mode'"),
                       {{QStringLiteral(":C"), decks.value(DemoCollection::CardDeckUuid)}});
    if (!written) {
        database.rollback();
        return false;
    }
    return database.commit();
}
