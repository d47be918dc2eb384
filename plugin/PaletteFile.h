#ifndef VELMAR_PALETTEFILE_H
#define VELMAR_PALETTEFILE_H

#include "database/ColorEntry.h"
#include "database/ItemIndex.h"

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QVector>

namespace Velmar {

// The files of My palette: the XML palette file (written as version "3.0",
// read in versions 3 and 2) and the text export, a list of codes for people.
// Files hold references to chips (collection, card index, chip index, code),
// so a palette loads again on another machine with the same collections.
class PaletteFile
{
public:
    // A filled cell of the palette, as My palette keeps it.
    struct Cell {
        QPoint coord; // x the column, y the row
        DB::ItemIndex index;
    };

    // A chip of a loaded file, found in an installed collection.
    struct Chip {
        QPoint coord;
        DB::ItemIndex index;
        DB::ColorEntry entry;
    };

    // What a loadable file holds; a description element that is missing or
    // empty gives an empty text.
    struct Contents {
        QString description;
        QVector<Chip> chips; // in document order; a later chip for a cell wins
    };

    // Palette files are a few kilobytes; anything much larger is not read at
    // all, so a wrong file picked in the dialog cannot fill the host's memory.
    static const qint64 s_maximumFileSize;

    // The XML document of the cells and the description, as UTF-8 without the
    // byte-order mark. Cells whose chip or card cannot be read are left out.
    static QByteArray buildXml(const QVector<Cell> &cells, const QString &description);
    // One line per cell that can be read: "<collection name> : <code>", or
    // the code alone when the collection's record cannot be read. Empty
    // when no cell can be read.
    static QString buildTextExport(const QVector<Cell> &cells);
    // Writes the text as UTF-8 with a byte-order mark; a failed write leaves
    // the old file whole (see FileReplacer).
    static bool writeText(const QString &path, const QString &text);

    // Reads a whole palette document. False when it does not parse, has no
    // version it knows or a system that does not fit it: the palette then
    // stays as it is. Chips that cannot be found are left out.
    static bool parse(const QByteArray &bytes, Contents &out);

    // The major version of a "version" text: the text split at ".", empty
    // parts dropped, must have two parts whose second reads as 0 (a part that
    // is no number counts as 0). 0 when it does not fit.
    static int majorVersion(const QString &versionText);
    // The text without the characters XML 1.0 does not allow (control
    // characters other than tab, line feed and carriage return, unpaired
    // surrogates, U+FFFE and U+FFFF), so that what is written loads again.
    static QString xmlSafe(const QString &text);

private:
    PaletteFile() = default;
};

} // namespace Velmar

#endif // VELMAR_PALETTEFILE_H
