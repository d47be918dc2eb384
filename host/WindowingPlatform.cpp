#include "WindowingPlatform.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>

namespace {

// The interface every platform plug-in declares, before its version.
const char PlatformInterface[] = "org.qt-project.Qt.QPA.QPlatformIntegrationFactoryInterface";

// The value Qt takes for one of its own options: the argument after the
// last -name or --name.
QString toolkitOption(const QStringList &arguments, const QString &name)
{
    QString value;
    for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
        QString argument = arguments.at(i);
        if (argument.startsWith(QLatin1String("--")))
            argument.remove(0, 1);
        if (argument == QLatin1Char('-') + name)
            value = arguments.at(++i);
    }
    return value;
}

} // namespace

QString WindowingPlatform::unavailableReason(const QStringList &arguments)
{
    QString asked = toolkitOption(arguments, QStringLiteral("platform"));
    if (asked.isEmpty())
        asked = qEnvironmentVariable("QT_QPA_PLATFORM");
    QString pluginPath = toolkitOption(arguments, QStringLiteral("platformpluginpath"));
    if (pluginPath.isEmpty())
        pluginPath = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH");
    const QStringList installed = installedPlatforms(pluginPath);

    QStringList names;
    if (!asked.isEmpty()) {
        // Tried in order, each with its arguments after a colon.
        for (const QString &entry : asked.split(QLatin1Char(';'), Qt::SkipEmptyParts))
            names << entry.section(QLatin1Char(':'), 0, 0).toLower();
        if (names.isEmpty())
            return QStringLiteral("no platform is named in \"%1\"").arg(asked);
    } else {
        // Without a request Qt takes the session's display, X or Wayland.
        if (hasXDisplay(arguments))
            names << QStringLiteral("xcb");
        if (hasWaylandDisplay())
            names << QStringLiteral("wayland");
        if (names.isEmpty())
            return QStringLiteral("there is no display (DISPLAY and WAYLAND_DISPLAY are not set)");
    }

    QStringList reasons;
    for (const QString &name : qAsConst(names)) {
        if (!installed.contains(name))
            reasons << QStringLiteral("Qt has no platform plug-in \"%1\" (installed: %2)")
                           .arg(name, installed.isEmpty() ? QStringLiteral("none") : installed.join(QLatin1String(", ")));
        else if (name == QLatin1String("xcb") && !hasXDisplay(arguments))
            reasons << QStringLiteral("the platform \"xcb\" needs an X display, and DISPLAY is not set");
        else if (name.startsWith(QLatin1String("wayland")) && !hasWaylandDisplay())
            reasons << QStringLiteral("the platform \"%1\" needs a Wayland display, and there is none").arg(name);
        else
            return QString();
    }
    return reasons.join(QLatin1String("; "));
}

QStringList WindowingPlatform::installedPlatforms(const QString &platformPluginPath)
{
    // Where Qt looks: the folder named for platform plug-ins, then the
    // platforms folder of each plug-in folder, the program's own included.
    QStringList folders;
    if (!platformPluginPath.isEmpty())
        folders << platformPluginPath;
    QStringList pluginFolders = qEnvironmentVariable("QT_PLUGIN_PATH").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    pluginFolders << QLibraryInfo::path(QLibraryInfo::PluginsPath)
                  << QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    for (const QString &folder : qAsConst(pluginFolders))
        folders << folder + QStringLiteral("/platforms");

    QStringList platforms;
    const auto take = [&platforms](const QJsonObject &metaData) {
        if (!metaData.value(QLatin1String("IID")).toString().startsWith(QLatin1String(PlatformInterface)))
            return;
        const QJsonArray keys = metaData.value(QLatin1String("MetaData")).toObject().value(QLatin1String("Keys")).toArray();
        for (const QJsonValue &key : keys)
            platforms << key.toString().toLower();
    };
    // A Qt built with its plug-ins inside has them here.
    const QList<QStaticPlugin> linkedIn = QPluginLoader::staticPlugins();
    for (const QStaticPlugin &plugin : linkedIn)
        take(plugin.metaData());
    for (const QString &folder : qAsConst(folders)) {
        const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files);
        // Read from each file's metadata; nothing is loaded.
        for (const QFileInfo &file : files)
            take(QPluginLoader(file.absoluteFilePath()).metaData());
    }
    platforms.removeDuplicates();
    platforms.sort();
    return platforms;
}

bool WindowingPlatform::hasXDisplay(const QStringList &arguments)
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !toolkitOption(arguments, QStringLiteral("display")).isEmpty();
}

bool WindowingPlatform::hasWaylandDisplay()
{
    if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET"))
        return true;
    // As the Wayland client library looks for it: a socket in the runtime
    // folder, "wayland-0" unless named.
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty())
        display = QStringLiteral("wayland-0");
    if (QDir::isAbsolutePath(display))
        return QFileInfo::exists(display);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo::exists(runtime + QLatin1Char('/') + display);
}
