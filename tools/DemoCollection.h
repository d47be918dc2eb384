#ifndef HUEFORM_DEMOCOLLECTION_H
#define HUEFORM_DEMOCOLLECTION_H

#include "CollectionWriter.h"
#include "DemoDizeviz.h"

#include <QList>
#include <QString>
#include <QUuid>

class QColor;

// Writes the demo collection file "<lookup folder>/Contents/Resources/demo.db":
// the system-wide collection, an interior colour-to-colour deck, a
// card-to-card deck and a deck that is not enabled, with the settings,
// English texts and theme images that the services read.
class DemoCollection
{
public:
    static const QUuid InteriorDeckUuid;
    static const QUuid CardDeckUuid;
    static const QUuid RetiredDeckUuid;

    static QString filePath(const QString &lookupFolder);
    // Replaces any earlier demo file. Gives false and the reason on failure.
    // The interior deck watches dizevizFolder for measurements; tests give
    // one of their own, which nothing else on the machine writes into.
    static bool write(const QString &lookupFolder, QString *error = nullptr,
                      const QString &dizevizFolder = DemoDizeviz::WatchFolder);

    // The settings, English texts and banner, made-to-order mark and about
    // logo of the interior deck, for another colour-to-colour deck of that
    // name drawn on the given colours.
    static bool writeDeckConfiguration(CollectionWriter &writer, qint64 collection, const QString &name,
                                       const QList<QColor> &colours);

    // A demo chip: English and French names, its Lab from the stored
    // 8-bit channels.
    static CollectionWriter::Chip makeChip(const QString &code, int rowIndex, int segment, const QColor &colour,
                                           const QString &english, const QString &french);

private:
    DemoCollection() = default;
};

#endif // HUEFORM_DEMOCOLLECTION_H
