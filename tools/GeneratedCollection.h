#ifndef HUEFORM_GENERATEDCOLLECTION_H
#define HUEFORM_GENERATEDCOLLECTION_H

#include <QString>
#include <QUuid>

class CollectionWriter;

// Large collections for the benchmarks and for the tests that hold results
// on them: a big deck of any number of chips, seven to a card, with names of
// two to four words in English and French and codes like "GA-1234", and a
// deck of 70 chips beside it in the same file. The same chip count always
// gives the same file.
class GeneratedCollection
{
public:
    static const int SmallDeckChips = 70;
    // The codes "GA-0001" to "GZ-9999" and "GA-0000" last: a bigger deck
    // would repeat them.
    static const int MaxChips = 26 * 10000;

    // The decks of a chip count have uuids of their own, so that files of
    // several counts can be installed side by side.
    static QUuid bigDeckUuid(int chips);
    static QUuid smallDeckUuid(int chips);

    // "<lookup folder>/Contents/Resources/generated-<chips>.db"
    static QString filePath(const QString &lookupFolder, int chips);

    // Both decks with their settings, texts and images, into the writer's
    // file, the big deck of 1 to MaxChips chips (false for any other). The
    // big deck comes first in the chooser, before the demo decks (the
    // system-wide collection holds order 0).
    static bool write(CollectionWriter &writer, int chips);

    // The demo collection (for the system-wide theme) and beside it a file
    // of both generated decks, in the lookup folder. Gives false and the
    // reason on failure, and for a chip count write() does not take.
    static bool writeBesideDemo(const QString &lookupFolder, int chips, QString *error = nullptr);

private:
    GeneratedCollection() = default;
};

#endif // HUEFORM_GENERATEDCOLLECTION_H
