#include "DemoSchemes.h"

#include "CollectionWriter.h"
#include "DemoCollection.h"
#include "DemoTheme.h"

#include <QColor>
#include <QHash>
#include <QPair>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cmath>

const QUuid DemoSchemes::SarnexDeckUuid(0x5a1c0d3e, 0x7b42, 0x4c1e, 0x9a, 0x10, 0x3f, 0x6d, 0x2b, 0x81, 0x04, 0x04);

namespace {

enum Kind { Harmonic = 1, Contrast = 2, WideContrast = 3, Dynamic = 4, Dramatic = 5, TonalNeutral = 7,
            ComplementaryNeutral = 8 };

const int chipsPerInteriorCard = 7;

struct DeckChip {
    qint64 id = -1;
    qint64 pageId = -1;
    int segment = 0;
    int mood = 0;
    bool neutral = false;
    bool white = false;
};

// The chips of a collection by (page index, row index).
QHash<QPair<int, int>, DeckChip> chipsOf(CollectionWriter &writer, qint64 collectionId)
{
    QHash<QPair<int, int>, DeckChip> chips;
    QSqlQuery query(writer.database());
    query.prepare(QStringLiteral("SELECT R.ID, R.PAGE_ID, P.PAGE_INDEX, R.ROW_INDEX, R.SEGMENT, R.MOOD, R.NEUTRAL, R.WHITE "
                                 "FROM \"ROW\" R JOIN PAGE P ON R.PAGE_ID = P.ID "
                                 "JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = :ID"));
    query.bindValue(QStringLiteral(":ID"), collectionId);
    if (!query.exec())
        return chips;
    while (query.next()) {
        DeckChip chip;
        chip.id = query.value(0).toLongLong();
        chip.pageId = query.value(1).toLongLong();
        chip.segment = query.value(4).toInt();
        chip.mood = query.value(5).toInt();
        chip.neutral = query.value(6).toInt() != 0;
        chip.white = query.value(7).toInt() != 0;
        chips.insert({query.value(2).toInt(), query.value(3).toInt()}, chip);
    }
    return chips;
}

// Card ids and segments of a collection by page index.
QHash<int, QPair<qint64, int>> cardsOf(CollectionWriter &writer, qint64 collectionId)
{
    QHash<int, QPair<qint64, int>> cards;
    QSqlQuery query(writer.database());
    query.prepare(QStringLiteral("SELECT P.PAGE_INDEX, P.ID, P.SEGMENT FROM PAGE P "
                                 "JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = :ID"));
    query.bindValue(QStringLiteral(":ID"), collectionId);
    if (!query.exec())
        return cards;
    while (query.next())
        cards.insert(query.value(0).toInt(), {query.value(1).toLongLong(), query.value(2).toInt()});
    return cards;
}

// --- The interior deck: twelve segments of two cards, seven chips each.
// Segments 3, 6, 9 and 12 hold the offwhite and neutral cards.

int wrapSegment(int segment)
{
    return ((segment - 1) % 12 + 12) % 12 + 1;
}

bool isGreySegment(int segment)
{
    return segment % 3 == 0;
}

// The segment at that offset round the wheel, stepping past a grey one.
int colourfulSegment(int from, int offset)
{
    const int segment = wrapSegment(from + offset);
    return isGreySegment(segment) ? wrapSegment(segment + (offset < 0 ? -1 : 1)) : segment;
}

int greySegmentNear(int segment)
{
    int best = 3;
    int bestDistance = 99;
    for (int grey : {3, 6, 9, 12}) {
        const int d = qAbs(grey - segment);
        const int distance = qMin(d, 12 - d);
        if (distance < bestDistance) {
            best = grey;
            bestDistance = distance;
        }
    }
    return best;
}

class InteriorProposals
{
public:
    InteriorProposals(CollectionWriter &writer, qint64 collectionId)
        : m_writer(writer)
        , m_collection(collectionId)
        , m_chips(chipsOf(writer, collectionId))
    {
    }

    bool write()
    {
        if (m_chips.size() != 24 * chipsPerInteriorCard)
            return false;
        for (auto it = m_chips.constBegin(); it != m_chips.constEnd(); ++it) {
            const DeckChip &chip = it.value();
            const int s = chip.segment;
            bool ok = groups(chip, Harmonic, {colourfulSegment(s, -1), colourfulSegment(s, 1)})
                && groups(chip, Contrast, {colourfulSegment(s, 6)})
                && groups(chip, WideContrast, {colourfulSegment(s, 5), colourfulSegment(s, 7)})
                && groups(chip, Dynamic, {colourfulSegment(s, 3), colourfulSegment(s, 6), colourfulSegment(s, 9)})
                && wholeSegment(chip, TonalNeutral, greySegmentNear(s));
            if (ok && (chip.neutral || chip.white))
                ok = groups(chip, Dramatic, {colourfulSegment(s, 5), colourfulSegment(s, 7)});
            if (ok && chip.mood == 4)
                ok = groups(chip, ComplementaryNeutral, {greySegmentNear(wrapSegment(s + 6))});
            if (!ok)
                return false;
        }
        return true;
    }

private:
    // One band per segment: seven chips from light to deep, taken in turn
    // from the segment's two cards.
    bool groups(const DeckChip &source, int kind, const QList<int> &segments)
    {
        for (int band = 0; band < segments.size(); ++band) {
            const int segment = segments.at(band);
            for (int row = 1; row <= chipsPerInteriorCard; ++row) {
                const int page = row % 2 == 1 ? 2 * segment - 1 : 2 * segment;
                if (!propose(source, kind, page, row, band, row))
                    return false;
            }
        }
        return true;
    }

    // Both cards of one segment: fourteen chips, two bands of one segment.
    bool wholeSegment(const DeckChip &source, int kind, int segment)
    {
        for (int card = 0; card < 2; ++card) {
            for (int row = 1; row <= chipsPerInteriorCard; ++row) {
                if (!propose(source, kind, 2 * segment - 1 + card, row, card, row))
                    return false;
            }
        }
        return true;
    }

    bool propose(const DeckChip &source, int kind, int page, int row, int pageOrder, int rowOrder)
    {
        const DeckChip target = m_chips.value({page, row});
        return target.id >= 0
            && DemoSchemes::addRowScheme(m_writer, m_collection, source.id, kind, target.id, pageOrder, rowOrder);
    }

    CollectionWriter &m_writer;
    qint64 m_collection;
    QHash<QPair<int, int>, DeckChip> m_chips;
};

// --- The card deck: eight colourful cards, and two neutral ones added here
// for its neutral schemes.

int segmentDistance(int a, int b)
{
    const int d = qAbs(a - b);
    return qMin(d, 12 - d);
}

bool writeNeutralCards(CollectionWriter &writer, qint64 collection)
{
    const struct {
        int pageIndex;
        int segment;
        const char *english;
        const char *french;
        double hue;
    } cards[] = {{9, 4, "Greige", "Grège", 40.0}, {10, 10, "Stone", "Pierre", 215.0}};
    const double lightness[5] = {0.82, 0.72, 0.62, 0.50, 0.40};
    for (const auto &spec : cards) {
        CollectionWriter::Card card;
        card.pageIndex = spec.pageIndex;
        card.segment = spec.segment;
        card.name = QStringLiteral("Atelier %1").arg(QString::fromUtf8(spec.english));
        // The third name is the short label the card roller shows.
        card.names = QStringList{card.name, QStringLiteral("Atelier %1").arg(QString::fromUtf8(spec.french)),
                                 QStringLiteral("AC-%1").arg(spec.pageIndex)};
        card.mood = 6;
        const qint64 pageId = writer.addCard(collection, card);
        if (pageId < 0)
            return false;
        for (int row = 1; row <= 5; ++row) {
            const QColor colour = QColor::fromHslF(spec.hue / 360.0, 0.10, lightness[row - 1]);
            CollectionWriter::Chip chip = DemoCollection::makeChip(
                QStringLiteral("AC-%1%2").arg(spec.pageIndex).arg(row, 2, 10, QLatin1Char('0')), row, spec.segment,
                colour, QStringLiteral("%1 %2").arg(card.name).arg(row),
                QStringLiteral("%1 %2").arg(card.names.at(1)).arg(row));
            chip.mood = 6;
            chip.neutral = true;
            if (writer.addChip(collection, pageId, chip) < 0)
                return false;
        }
    }
    return true;
}

bool writeCardProposals(CollectionWriter &writer, qint64 collection)
{
    const QHash<int, QPair<qint64, int>> cards = cardsOf(writer, collection);
    if (cards.size() != 10)
        return false;
    const QList<int> colourful{1, 2, 3, 4, 5, 6, 7, 8};
    const QList<int> neutral{9, 10};
    // The cards of a list by their distance round the wheel from a card.
    auto byDistance = [&cards](int from, QList<int> candidates) {
        candidates.removeAll(from);
        std::stable_sort(candidates.begin(), candidates.end(), [&cards, from](int left, int right) {
            return segmentDistance(cards.value(left).second, cards.value(from).second)
                < segmentDistance(cards.value(right).second, cards.value(from).second);
        });
        return candidates;
    };
    auto propose = [&](int from, int kind, const QList<int> &targets) {
        for (int i = 0; i < targets.size(); ++i) {
            if (!DemoSchemes::addPageScheme(writer, collection, cards.value(from).first, cards.value(targets.at(i)).first,
                                            kind, i))
                return false;
        }
        return true;
    };
    for (int card = 1; card <= 10; ++card) {
        const QList<int> near = byDistance(card, colourful);
        const QList<int> neutrals = byDistance(card, neutral);
        bool ok = propose(card, Harmonic, near.mid(0, 2)) && propose(card, Contrast, {near.at(near.size() - 1), near.at(near.size() - 2)})
            && propose(card, TonalNeutral, neutrals);
        // Only the first four colourful cards have a complementary neutral.
        if (ok && card <= 4)
            ok = propose(card, ComplementaryNeutral, {neutrals.last()});
        if (!ok)
            return false;
    }
    return true;
}

// --- The powder-coating deck: six cards of six chips, each chip with its
// two wide contrasts and its contrast.

struct SarnexFamily {
    const char *card;
    double hue;
    double saturation;
    int segment;
    int mood;
    const char *names[6];
};

const SarnexFamily sarnexFamilies[6] = {
    {"Reds", 4.0, 0.62, 1, 2, {"Kiln Red", "Poppy Field", "Brick Dust", "Claret", "Cinder Rose", "Garnet"}},
    {"Ambers", 36.0, 0.70, 2, 2, {"Amber Glow", "Marigold", "Saffron Dust", "Rust Ochre", "Honey Gold", "Copper Sand"}},
    {"Greens", 125.0, 0.42, 5, 1, {"Fern Green", "Moss", "Sage Leaf", "Pine", "Reed", "Olive Grove"}},
    {"Blues", 212.0, 0.55, 8, 3, {"Harbour Blue", "Cobalt", "Steel Blue", "Night Sky", "Glacier", "Lagoon"}},
    {"Violets", 282.0, 0.38, 10, 4, {"Heather", "Plum", "Lilac Ash", "Aubergine", "Orchid", "Mulberry"}},
    {"Greys", 40.0, 0.05, 12, 6, {"Anthracite", "Silver Fog", "Pebble", "Graphite", "Chalk", "Slate"}},
};

const double sarnexLightness[6] = {0.42, 0.52, 0.62, 0.30, 0.74, 0.36};

QColor sarnexColour(int card, int row)
{
    const SarnexFamily &family = sarnexFamilies[card - 1];
    return QColor::fromHslF(family.hue / 360.0, family.saturation, sarnexLightness[row - 1]);
}

bool isSarnexMto(int card, int row)
{
    return (row == 6 && card % 2 == 0) || (card == 5 && row == 5);
}

qint64 writeSarnexDeck(CollectionWriter &writer)
{
    const qint64 collection = writer.addCollection(DemoSchemes::SarnexDeckUuid, QStringLiteral("DEMO-SARNEX"),
                                                   QStringLiteral("Sarnex Powder Coats"), 4, true);
    if (collection < 0)
        return -1;
    for (int card = 1; card <= 6; ++card) {
        const SarnexFamily &family = sarnexFamilies[card - 1];
        CollectionWriter::Card spec;
        spec.pageIndex = card;
        spec.segment = family.segment;
        spec.name = QStringLiteral("Sarnex %1").arg(QLatin1String(family.card));
        spec.names = QStringList{spec.name, spec.name, QStringLiteral("SX-%1").arg(card)};
        spec.mood = family.mood;
        const qint64 pageId = writer.addCard(collection, spec);
        if (pageId < 0)
            return -1;
        for (int row = 1; row <= 6; ++row) {
            const QString name = QString::fromUtf8(family.names[row - 1]);
            CollectionWriter::Chip chip =
                DemoCollection::makeChip(QStringLiteral("SX-%1%2").arg(card).arg(row, 2, 10, QLatin1Char('0')), row,
                                         family.segment, sarnexColour(card, row), name, name);
            chip.extras = QStringList{row % 2 ? QStringLiteral("Satin finish") : QStringLiteral("Matt finish")};
            chip.mood = family.mood;
            chip.neutral = family.mood == 6;
            chip.isMto = isSarnexMto(card, row);
            if (writer.addChip(collection, pageId, chip) < 0)
                return -1;
        }
    }
    return collection;
}

// The colourful card whose hue lies nearest to the hue given, other than the
// cards excluded.
int sarnexCardNearestHue(double hue, const QList<int> &excluded)
{
    int best = -1;
    double bestDistance = 1000.0;
    for (int card = 1; card <= 5; ++card) {
        if (excluded.contains(card))
            continue;
        double d = std::fmod(std::fabs(sarnexFamilies[card - 1].hue - hue), 360.0);
        d = qMin(d, 360.0 - d);
        if (d < bestDistance) {
            best = card;
            bestDistance = d;
        }
    }
    return best;
}

bool writeSarnexProposals(CollectionWriter &writer, qint64 collection)
{
    const QHash<QPair<int, int>, DeckChip> chips = chipsOf(writer, collection);
    for (int card = 1; card <= 6; ++card) {
        const double hue = sarnexFamilies[card - 1].hue;
        for (int row = 1; row <= 6; ++row) {
            const qint64 source = chips.value({card, row}).id;
            const int contrast = sarnexCardNearestHue(hue + 180.0, {card});
            const int wide1 = sarnexCardNearestHue(hue + 150.0, {card, contrast});
            const int wide2 = sarnexCardNearestHue(hue + 210.0, {card, contrast, wide1});
            // Lighter and deeper partners in turn, so the bands differ in depth.
            const int partnerRow = row % 6 + 1;
            bool ok = DemoSchemes::addRowScheme(writer, collection, source, WideContrast, chips.value({wide1, row}).id, 0, 1)
                && DemoSchemes::addRowScheme(writer, collection, source, Contrast, chips.value({contrast, partnerRow}).id, 0, 1);
            // One chip has only two proposals: its bands stay empty.
            if (ok && !(card == 1 && row == 3))
                ok = DemoSchemes::addRowScheme(writer, collection, source, WideContrast, chips.value({wide2, row}).id, 1, 1);
            if (!ok)
                return false;
        }
    }
    return true;
}

// Settings and texts as the interior deck's, with its own name and type.
bool writeSarnexConfiguration(CollectionWriter &writer, qint64 collection, qint64 interior)
{
    const QString name = QStringLiteral("Sarnex Powder Coats");
    const QStringList own{QStringLiteral("collection.enabled"), QStringLiteral("collection.name"),
                          QStringLiteral("card.type"), QStringLiteral("has.textures.page"),
                          QStringLiteral("max.chips.on.a.page")};
    QVariantMap ids{{QStringLiteral(":NEW"), collection}, {QStringLiteral(":FROM"), interior}};
    QStringList quoted;
    for (const QString &key : own)
        quoted << QStringLiteral("'%1'").arg(key);
    QList<QColor> colours;
    for (int card = 1; card <= 6; ++card)
        colours.append(sarnexColour(card, 2));
    bool ok = writer.exec(QStringLiteral("INSERT INTO SETTING (COLLECTION_ID, NAME, VALUE, VALUE_INDEX) "
                                         "SELECT :NEW, NAME, VALUE, VALUE_INDEX FROM SETTING "
                                         "WHERE COLLECTION_ID = :FROM AND NAME NOT IN (%1)")
                              .arg(quoted.join(QLatin1Char(','))),
                          ids)
        && writer.addSetting(collection, QStringLiteral("collection.name"), name)
        && writer.addSetting(collection, QStringLiteral("card.type"), QStringLiteral("sarnex"))
        && writer.addSetting(collection, QStringLiteral("has.textures.page"), QStringLiteral("0"))
        && writer.addSetting(collection, QStringLiteral("max.chips.on.a.page"), QStringLiteral("6"))
        && writer.exec(QStringLiteral("INSERT INTO LOCALE (COLLECTION_ID, LOCALE, ITEM_ID, \"KEY\", STRING) "
                                      "SELECT :NEW, LOCALE, ITEM_ID, \"KEY\", STRING FROM LOCALE WHERE COLLECTION_ID = :FROM"),
                       ids)
        && writer.exec(QStringLiteral("UPDATE LOCALE SET STRING = :NAME WHERE COLLECTION_ID = :NEW "
                                      "AND \"KEY\" = 'color.palette.caption'"),
                       {{QStringLiteral(":NAME"), name}, {QStringLiteral(":NEW"), collection}})
        // Its band captions add a number, on one line.
        && writer.exec(QStringLiteral("UPDATE LOCALE SET STRING = 'Wide contrast' WHERE COLLECTION_ID = :NEW "
                                      "AND \"KEY\" = 'harmonizer.palette.scheme.wide.contrast'"),
                       {{QStringLiteral(":NEW"), collection}})
        && writer.exec(QStringLiteral("UPDATE LOCALE SET STRING = :TEXT WHERE COLLECTION_ID = :NEW "
                                      "AND \"KEY\" = 'aboutbox.copyright'"),
                       {{QStringLiteral(":TEXT"), QStringLiteral("Demo collection: %1").arg(name)},
                        {QStringLiteral(":NEW"), collection}});
    for (const DemoTheme::Item &item : DemoTheme::collectionItems(colours)) {
        if (!ok)
            break;
        ok = writer.addThemeItem(collection, item.first, item.second);
    }
    return ok;
}

} // namespace

bool DemoSchemes::addRowScheme(CollectionWriter &writer, qint64 collectionId, qint64 rowId, int kind,
                               qint64 schemeRowId, int pageOrder, int rowOrder)
{
    return writer.exec(QStringLiteral("INSERT INTO ROW_SCHEME_MAP (COLLECTION_ID, ROW_ID, SCHEME_ID, SCHEME_ROW_ID, "
                                      "PAGE_ORDER, ROW_ORDER) VALUES (:COLLECTION_ID, :ROW_ID, :SCHEME_ID, "
                                      ":SCHEME_ROW_ID, :PAGE_ORDER, :ROW_ORDER)"),
                       {{QStringLiteral(":COLLECTION_ID"), collectionId},
                        {QStringLiteral(":ROW_ID"), rowId},
                        {QStringLiteral(":SCHEME_ID"), kind},
                        {QStringLiteral(":SCHEME_ROW_ID"), schemeRowId},
                        {QStringLiteral(":PAGE_ORDER"), pageOrder},
                        {QStringLiteral(":ROW_ORDER"), rowOrder}});
}

bool DemoSchemes::addPageScheme(CollectionWriter &writer, qint64 collectionId, qint64 pageId, qint64 schemePageId,
                                int kind, int order)
{
    return writer.exec(QStringLiteral("INSERT INTO PAGE_SCHEME (COLLECTION_ID, PAGE_ID, SCHEME_PAGE_ID, SCHEME_ID, "
                                      "\"ORDER\") VALUES (:COLLECTION_ID, :PAGE_ID, :SCHEME_PAGE_ID, :SCHEME_ID, :ORDER)"),
                       {{QStringLiteral(":COLLECTION_ID"), collectionId},
                        {QStringLiteral(":PAGE_ID"), pageId},
                        {QStringLiteral(":SCHEME_PAGE_ID"), schemePageId},
                        {QStringLiteral(":SCHEME_ID"), kind},
                        {QStringLiteral(":ORDER"), order}});
}

bool DemoSchemes::write(CollectionWriter &writer)
{
    const qint64 interior = writer.collectionId(DemoCollection::InteriorDeckUuid);
    const qint64 cards = writer.collectionId(DemoCollection::CardDeckUuid);
    if (interior < 0 || cards < 0)
        return false;
    // Some thirteen thousand proposals: one transaction, not one per row.
    QSqlDatabase database = writer.database();
    if (!database.transaction())
        return false;
    const qint64 sarnex = writeSarnexDeck(writer);
    const bool written = InteriorProposals(writer, interior).write() && writeNeutralCards(writer, cards)
        && writeCardProposals(writer, cards) && sarnex >= 0 && writeSarnexProposals(writer, sarnex)
        && writeSarnexConfiguration(writer, sarnex, interior);
    if (!written) {
        database.rollback();
        return false;
    }
    return database.commit();
}
