#ifndef HUEFORM_BROWSINGFIXTURE_H
#define HUEFORM_BROWSINGFIXTURE_H

#include "FixtureFolder.h"

#include <QColor>
#include <QUuid>

// Collections for the browsing views' tests, written into a temporary
// lookup folder with the solid-colour theme of FixtureTheme:
//  - Deck (normal, exterior filter, 12 segments clockwise from 0 degrees):
//    card 1 segment 1 fresh, card 2 segment 3 warm with a black chip and a
//    chip without a code, card 3 segment 5 calm and exterior;
//  - Single (normal, no exterior filter): one card of four chips;
//  - Sarnex (card type "sarnex"): two cards, each with a made-to-order chip,
//    and its own made-to-order mark;
//  - Plain: no settings at all (card type 0);
//  - Other, in a second file whose collection has Deck's numeric id;
//  - Wide (normal, 1000000000 segments clockwise from 0 degrees): cards
//    without chips in segments 1 (fresh), 3 (warm), 5 (calm) and 999999999
//    (fresh).
class BrowsingFixture
{
public:
    static const QUuid Deck;
    static const QUuid Single;
    static const QUuid Sarnex;
    static const QUuid Plain;
    static const QUuid Other;
    static const QUuid Wide;
    static constexpr int WideSegmentCount = 1000000000;
    static constexpr int WideLastSegment = 999999999;

    // The colour of chip `row` (1-based) of card `page` of a collection.
    static QColor chipColour(const QUuid &collection, int page, int row);
    static QString chipCode(const QUuid &collection, int page, int row);
    static QColor mtoMarkColour();

    // Writes the files and starts the services on them. False on failure.
    bool write();
    // Makes the collection the current one, on card `page`, row `row`, with
    // the mood filter, exterior filter and show-MTO flag given.
    static void browse(const QUuid &collection, int page = 1, int row = 1, int mood = 7, bool exterior = false,
                       bool showMto = false);

    QString error() const { return m_error; }

private:
    FixtureFolder m_folder;
    QString m_error;
};

#endif // HUEFORM_BROWSINGFIXTURE_H
