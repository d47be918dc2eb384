#ifndef HUEFORM_DEMOCOLLECTION_H
#define HUEFORM_DEMOCOLLECTION_H

#include <QString>
#include <QUuid>

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
    static bool write(const QString &lookupFolder, QString *error = nullptr);

private:
    DemoCollection() = default;
};

#endif // HUEFORM_DEMOCOLLECTION_H
