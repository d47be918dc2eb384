#ifndef HUEFORM_PALETTEFIXTURE_H
#define HUEFORM_PALETTEFIXTURE_H

#include "database/ItemIndex.h"

#include <QColor>
#include <QHash>
#include <QPoint>
#include <QString>
#include <QUuid>

class FixtureFolder;

// Two collection files for the palette tests, each with a collection whose
// numeric id is 1: "Galleria Interiors" (two cards, chip names shown in their
// second language first) and "Nordic Paints" in a file of its own. Both carry
// the fixture theme; Galleria has the palette's texts.
class PaletteFixture
{
public:
    struct Chip {
        QUuid collection;
        qint64 id = -1;
        qint64 pageId = -1;
        int pageIndex = 0;
        int rowIndex = 0;
        QString code;
        QColor colour;
        QString entryName; // as My palette shows it
    };

    static const QUuid Galleria;
    static const QUuid Nordic;

    // Writes both files into the folder and starts the services on it, with
    // Galleria as the last used collection.
    static bool start(const FixtureFolder &folder, QString *error);

    static Chip chip(const QString &code);
    static Velmar::DB::ItemIndex index(const QString &code);
    // Puts the chip into a cell through the settings, as a drop would.
    static void store(const QPoint &cell, const QString &code);
    // Empties every cell, its selection and the description in the settings.
    static void clearSettings();

private:
    PaletteFixture() = default;
    static QHash<QString, Chip> s_chips;
};

#endif // HUEFORM_PALETTEFIXTURE_H
