#ifndef HUEFORM_DEMOPALETTE_H
#define HUEFORM_DEMOPALETTE_H

#include <QColor>
#include <QString>

// A My palette for trying the picker: the six chips of the first installed
// collection nearest to a terracotta (the colour the README's run command
// hands the picker), the nearest of them selected, under a note. Stored in
// the per-user settings of the running services, so start them first.
class DemoPalette
{
public:
    // The terracotta, 16-bit 52428, 26214, 13107 in the host's RGB.
    static QColor nearColour() { return QColor(204, 102, 51); }
    static QString note() { return QStringLiteral("Terracotta study"); }

    // Replaces every cell, the selection and the note. Gives false and the
    // reason when the collection has no chips to offer or the settings file
    // could not be written.
    static bool store(QString *error = nullptr);

private:
    DemoPalette() = default;
};

#endif // HUEFORM_DEMOPALETTE_H
