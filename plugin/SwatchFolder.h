#ifndef VELMAR_SWATCHFOLDER_H
#define VELMAR_SWATCHFOLDER_H

#include <QString>
#include <QtGlobal>

#include <cstdint>

namespace Velmar {

// The folder in which the picker offers to write swatch files: the host's
// swatch presets folder below the user's data folder, chosen by the host's
// major version.
class SwatchFolder
{
public:
    // The major version held in the upper half of the host's version word.
    static qint64 majorVersion(intptr_t versionProperty);
    // The presets sub-path of the host with that major version, ending in
    // "/"; empty for versions without one.
    static QString subPathFor(qint64 majorVersion);
    // The user's data folder, root of the host's presets.
    static QString dataLocation();
    // The sub-path below dataLocation, created when missing; dataLocation
    // itself when there is no sub-path or it cannot be made. Empty only when
    // dataLocation is.
    static QString choose(const QString &dataLocation, qint64 majorVersion);

private:
    SwatchFolder() = default;
};

} // namespace Velmar

#endif // VELMAR_SWATCHFOLDER_H
