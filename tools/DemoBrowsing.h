#ifndef HUEFORM_DEMOBROWSING_H
#define HUEFORM_DEMOBROWSING_H

#include <QColor>
#include <QImage>
#include <QList>

class CollectionWriter;

// What the colour wheel, the mood strip and the card roller need from the
// demo beyond the decks themselves: a wheel image in the decks' colours
// with red at the top, the settings that turn the pointer to match it, and
// short card labels that fit above the roller's cards.
class DemoBrowsing
{
public:
    // Runs after the decks and their settings are written.
    static bool write(CollectionWriter &writer);

    // The wheel for segments laid out clockwise from firstAngleDegrees (0
    // pointing right, counter-clockwise positive), one colour per segment,
    // at the wheel widget's 122 by 122 pixels.
    static QImage wheelImage(const QList<QColor> &segmentColours, double firstAngleDegrees);

private:
    DemoBrowsing() = default;
};

#endif // HUEFORM_DEMOBROWSING_H
