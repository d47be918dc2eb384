#ifndef HUEFORM_FIXTURETHEME_H
#define HUEFORM_FIXTURETHEME_H

#include <QColor>
#include <QSize>
#include <QString>

class CollectionWriter;

// A theme for view tests: every image a view paints, at the size the views
// ask for, each filled with a solid colour of its own, so that a pixel of a
// rendered view tells which image lies there. Also the text colour and the
// font list "DejaVu Sans,12".
class FixtureTheme
{
public:
    // Into the system-wide collection of the file.
    static bool write(CollectionWriter &writer);
    // The colour and size of an image key's solid image.
    static QColor colourOf(const QString &key);
    static QSize sizeOf(const QString &key);

private:
    FixtureTheme() = default;
};

#endif // HUEFORM_FIXTURETHEME_H
