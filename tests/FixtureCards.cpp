#include "FixtureCards.h"

#include "DemoCollection.h"

bool FixtureCards::write(CollectionWriter &writer, qint64 collection, const QString &prefix, const QList<Card> &cards,
                         const Chips &chips)
{
    for (const Card &spec : cards) {
        CollectionWriter::Card card;
        card.pageIndex = spec.page;
        card.segment = spec.segment;
        card.mood = spec.mood;
        card.exterior = spec.exterior;
        card.name = QStringLiteral("%1 card %2").arg(prefix).arg(spec.page);
        card.names = QStringList{card.name};
        const qint64 page = writer.addCard(collection, card);
        if (page < 0)
            return false;
        for (int row = 1; row <= spec.chips; ++row) {
            const QString code = chips.code(spec.page, row);
            const QString name = QStringLiteral("Chip %1").arg(code);
            CollectionWriter::Chip chip =
                DemoCollection::makeChip(code, row, spec.segment, chips.colour(spec.page, row), name, QString());
            chip.names = QStringList{name};
            chip.mood = spec.mood;
            if (chips.finish)
                chips.finish(spec.page, row, chip);
            if (writer.addChip(collection, page, chip) < 0)
                return false;
        }
    }
    return true;
}
