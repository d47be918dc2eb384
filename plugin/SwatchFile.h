#ifndef VELMAR_SWATCHFILE_H
#define VELMAR_SWATCHFILE_H

#include <QByteArray>
#include <QColor>
#include <QMap>
#include <QString>

namespace Velmar {

// A colour swatch file for the host: version 2 records of 16-bit RGB
// colours with UTF-16 names, big-endian, ordered by the colours' ARGB value.
class SwatchFile
{
public:
    // Takes a colour under that name unless it is invalid, transparent or
    // already taken (the first name of a colour stays). Gives whether it was
    // taken.
    bool add(const QColor &colour, const QString &name);
    bool isEmpty() const { return m_colours.isEmpty(); }
    int count() const { return m_colours.size(); }

    // The name written for a colour: its own, or "RGB(r,g,b)" when empty.
    static QString recordName(const QColor &colour, const QString &name);

    QByteArray encode() const;
    // True once every byte is in the file; an existing file is left as it
    // was otherwise (see FileReplacer).
    bool write(const QString &fileName) const;

private:
    QMap<QRgb, QString> m_colours;
};

} // namespace Velmar

#endif // VELMAR_SWATCHFILE_H
