#ifndef HUEFORM_FIXTURECARDS_H
#define HUEFORM_FIXTURECARDS_H

#include "CollectionWriter.h"

#include <QColor>
#include <QList>
#include <QString>

#include <functional>

// The cards of a fixture's deck: card `page` is named "<prefix> card <page>"
// and holds chips 1 to `chips`, each named "Chip <code>", on the card's
// segment and mood, with the code and colour the fixture gives.
class FixtureCards
{
public:
    struct Card {
        int page;
        int segment;
        int mood;
        bool exterior;
        int chips;
    };

    struct Chips {
        std::function<QString(int page, int row)> code;
        std::function<QColor(int page, int row)> colour;
        // What the fixture sets beyond that on some chips; may be empty.
        std::function<void(int page, int row, CollectionWriter::Chip &chip)> finish;
    };

    // False when a card or chip could not be written.
    static bool write(CollectionWriter &writer, qint64 collection, const QString &prefix, const QList<Card> &cards,
                      const Chips &chips);

private:
    FixtureCards() = default;
};

#endif // HUEFORM_FIXTURECARDS_H
