#ifndef HUEFORM_DEMOSCHEMES_H
#define HUEFORM_DEMOSCHEMES_H

#include <QUuid>

class CollectionWriter;

// The colour schemes of the demo collection: the proposals of every scheme
// kind for each chip of the interior deck, the card-to-card proposals of the
// card deck (with two neutral cards for its neutral schemes), and a
// powder-coating deck of card type "sarnex" whose chips each have their
// wide-contrast and contrast proposals.
class DemoSchemes
{
public:
    static const QUuid SarnexDeckUuid;

    // One ROW_SCHEME_MAP row: for the chip rowId, scheme kind proposes
    // schemeRowId at band (or card) pageOrder, position rowOrder.
    static bool addRowScheme(CollectionWriter &writer, qint64 collectionId, qint64 rowId, int kind, qint64 schemeRowId,
                             int pageOrder, int rowOrder);
    // One PAGE_SCHEME row: for the card pageId, scheme kind proposes the
    // card schemePageId.
    static bool addPageScheme(CollectionWriter &writer, qint64 collectionId, qint64 pageId, qint64 schemePageId,
                              int kind, int order);

    // Called once the demo decks and their settings and texts are written.
    static bool write(CollectionWriter &writer);

private:
    DemoSchemes() = default;
};

#endif // HUEFORM_DEMOSCHEMES_H
