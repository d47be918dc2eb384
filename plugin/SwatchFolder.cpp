#include "plugin/SwatchFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace Velmar {

qint64 SwatchFolder::majorVersion(intptr_t versionProperty)
{
    return static_cast<qint64>(versionProperty) >> 16;
}

QString SwatchFolder::subPathFor(qint64 majorVersion)
{
    switch (majorVersion) {
    case 9:
        return QStringLiteral("Adobe/Adobe Photoshop CS2/Presets/Color Swatches/");
    case 10:
        return QStringLiteral("Adobe/Adobe Photoshop CS3/Presets/Color Swatches/");
    case 11:
        return QStringLiteral("Adobe/Adobe Photoshop CS4/Presets/Color Swatches/");
    case 12:
        return QStringLiteral("Adobe/Adobe Photoshop CS5/Presets/Color Swatches/");
    case 13:
        return QStringLiteral("Adobe/Adobe Photoshop CS6/Presets/Color Swatches/");
    default:
        return QString();
    }
}

QString SwatchFolder::dataLocation()
{
    // The user's data folder itself, not a folder named after the
    // application: the presets belong to the host.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString SwatchFolder::choose(const QString &dataLocation, qint64 majorVersion)
{
    // An empty location would be the host's working folder.
    if (dataLocation.isEmpty())
        return QString();
    QDir folder(dataLocation);
    const QString subPath = subPathFor(majorVersion);
    if (!subPath.isEmpty()) {
        if (!folder.exists(subPath))
            folder.mkpath(subPath);
        if (folder.exists(subPath))
            folder.cd(subPath);
    }
    return folder.path();
}

} // namespace Velmar
