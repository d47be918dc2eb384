#ifndef HUEFORM_WINDOWINGPLATFORM_H
#define HUEFORM_WINDOWINGPLATFORM_H

#include <QString>
#include <QStringList>

// Whether an application object can have a windowing platform. Qt chooses
// one inside the application object's constructor and ends the program
// (abort) when none of the platforms asked for can be had; the stand-in
// hosts look the same way first, so that they can say what to do instead.
// Only what is sure to fail is reported: a platform plug-in that is there
// and needs no display is left to Qt.
class WindowingPlatform
{
public:
    // Why no platform can be had by an application object built with these
    // arguments (argv, the program first): the platforms asked for by
    // -platform, else QT_QPA_PLATFORM, else the session's X or Wayland
    // display; each must have its plug-in (in -platformpluginpath, else
    // QT_QPA_PLATFORM_PLUGIN_PATH, or the plug-in folders) and, for X and
    // Wayland, a display to connect to. Empty when one of them can be had.
    static QString unavailableReason(const QStringList &arguments);

private:
    WindowingPlatform() = default;
    // The platforms that the installed plug-ins provide, in lower case.
    static QStringList installedPlatforms(const QString &platformPluginPath);
    static bool hasXDisplay(const QStringList &arguments);
    static bool hasWaylandDisplay();
};

#endif // HUEFORM_WINDOWINGPLATFORM_H
