// Loads an installer package's pane bundle into the stand-in installer.
//
//   pathwarden-host [options] PACKAGE
//
// With --headless it enters the pane, waits for it, optionally picks a row
// and prints what the pane shows; otherwise it opens the installer window.

#include "Bundle.h"
#include "HeadlessRun.h"
#include "InstallerHost.h"
#include "InstallerWindow.h"
#include "PaneBundleLoader.h"
#include "PropertyList.h"
#include "SystemPaths.h"
#include "WindowingPlatform.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

namespace {

// The statuses of a headless run's end are HeadlessRun's.
enum ExitCode { CannotLoad = 1, BadArguments = 2, NoDisplay = 5 };

// What the command line asks for.
struct Options
{
    QString packagePath;
    QString bundleName;
    SystemPaths paths;
    bool headless = false;
    int pick = -1;
    int timeout = 120;
};

// The program given on the command line; else the system's own when it is
// there; else the one of that name on PATH.
QString resolveProgram(const QCommandLineParser &parser, const QString &option, const QString &systemPath)
{
    if (parser.isSet(option))
        return parser.value(option);
    if (QFileInfo(systemPath).isExecutable())
        return systemPath;
    return QStandardPaths::findExecutable(QFileInfo(systemPath).fileName());
}

// The script the package's rule asks for, to show it after the run.
QString scriptPathFor(const QString &packagePath, const QString &scriptFolder)
{
    const Bundle package = Bundle::bundleWithPath(packagePath);
    const QVariantMap rule = PropertyList::fromFile(package.pathForResource(QStringLiteral("InstallScript"),
                                                                            QStringLiteral("plist")))
                                 .toMap()
                                 .value(QStringLiteral("Application Rule"))
                                 .toMap();
    const QString name = rule.value(QStringLiteral("Target Path Shell Script Name")).toString();
    if (name.isEmpty() || name.contains(QLatin1Char('/')))
        return QString();
    return scriptFolder + QLatin1Char('/') + name;
}

// The arguments without the options that the toolkit takes for itself when
// the application object is built (a platform, a style, ...): accepted
// here, and left in argv for it.
QStringList withoutToolkitOptions(const QStringList &arguments)
{
    static const QStringList withValue = {
        QStringLiteral("platform"),        QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
        QStringLiteral("plugin"),          QStringLiteral("qwindowgeometry"),    QStringLiteral("qwindowicon"),
        QStringLiteral("qwindowtitle"),    QStringLiteral("display"),            QStringLiteral("style"),
        QStringLiteral("stylesheet"),      QStringLiteral("session"),
    };
    static const QStringList flags = {QStringLiteral("reverse"), QStringLiteral("widgetcount")};
    QStringList kept = arguments.mid(0, 1);
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--")) {
            kept += arguments.mid(i);
            break;
        }
        if (!argument.startsWith(QLatin1Char('-'))) {
            kept.append(argument);
            continue;
        }
        QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const bool valueAttached = name.contains(QLatin1Char('='));
        name = name.section(QLatin1Char('='), 0, 0);
        if (withValue.contains(name)) {
            if (!valueAttached)
                ++i;
            continue;
        }
        if (!flags.contains(name))
            kept.append(argument);
    }
    return kept;
}

// Reads the command line under a core application, which needs no display:
// help, a version request and option errors end the program here.
Options parseOptions(int &argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pathwarden-host"));

    const SystemPaths defaults;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Runs an installer package's pane in a small installer.\n"
                       "Exit status: 0 when the installer ran (headless: the pane settled, and when it found the "
                       "application it recorded the folder chosen), 1 when the package's pane cannot be loaded, "
                       "2 for bad arguments, 3 when a headless run timed out waiting for the pane, 4 when --pick "
                       "names no row of the pane's list, 5 when no windowing platform can be had (no display), "
                       "6 when the pane found the application but could not write the script for it.\n"
                       "The installer window needs a display: run it on one, under xvfb-run or with "
                       "QT_QPA_PLATFORM=offscreen; --headless needs none."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("package"), QStringLiteral("The installer package folder."));
    parser.addOptions({
        {QStringLiteral("headless"), QStringLiteral("Enter the pane without a window and print what it shows.")},
        {QStringLiteral("pick"), QStringLiteral("Headless: click row <row> of the pane's list (from 0)."),
         QStringLiteral("row")},
        {QStringLiteral("timeout"), QStringLiteral("Headless: seconds to wait for the pane (default 120)."),
         QStringLiteral("seconds"), QStringLiteral("120")},
        {QStringLiteral("bundle"), QStringLiteral("The pane bundle in Contents/Plugins (default Pathwarden.bundle)."),
         QStringLiteral("name"), QStringLiteral("Pathwarden.bundle")},
        {QStringLiteral("script-folder"), QStringLiteral("Where the pane writes its script (default /tmp)."),
         QStringLiteral("folder"), defaults.scriptFolder},
        {QStringLiteral("vpd-file"), QStringLiteral("The VPD file to read."), QStringLiteral("file"), defaults.vpdFile},
        {QStringLiteral("system-version-file"), QStringLiteral("The system version file to read."),
         QStringLiteral("file"), defaults.systemVersionFile},
        {QStringLiteral("system-profiler"), QStringLiteral("The system_profiler program (default: on PATH)."),
         QStringLiteral("program")},
        {QStringLiteral("lsregister"), QStringLiteral("The lsregister program (default: on PATH)."),
         QStringLiteral("program")},
    });
    // Every argument error ends the program with the same status; the help
    // is then shown by the parser's own processing.
    const QStringList arguments = withoutToolkitOptions(QCoreApplication::arguments());
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "pathwarden-host: %s See --help.\n", qPrintable(parser.errorText()));
        std::exit(BadArguments);
    }
    parser.process(arguments);
    if (parser.positionalArguments().size() != 1) {
        std::fprintf(stderr, "pathwarden-host: name one package folder\n\n%s", qPrintable(parser.helpText()));
        std::exit(BadArguments);
    }

    Options options;
    options.packagePath = parser.positionalArguments().first();
    options.bundleName = parser.value(QStringLiteral("bundle"));
    options.headless = parser.isSet(QStringLiteral("headless"));
    options.paths.scriptFolder = parser.value(QStringLiteral("script-folder"));
    options.paths.vpdFile = parser.value(QStringLiteral("vpd-file"));
    options.paths.systemVersionFile = parser.value(QStringLiteral("system-version-file"));
    options.paths.systemProfiler = resolveProgram(parser, QStringLiteral("system-profiler"), defaults.systemProfiler);
    options.paths.lsregister = resolveProgram(parser, QStringLiteral("lsregister"), defaults.lsregister);
    bool pickOk = true;
    if (parser.isSet(QStringLiteral("pick")))
        options.pick = parser.value(QStringLiteral("pick")).toInt(&pickOk);
    bool timeoutOk = false;
    options.timeout = parser.value(QStringLiteral("timeout")).toInt(&timeoutOk);
    if (!pickOk || options.pick < -1 || !timeoutOk || options.timeout <= 0
        || options.timeout > HeadlessRun::MaxTimeoutSeconds) {
        std::fprintf(stderr, "pathwarden-host: --pick takes a row number, --timeout a number of seconds from 1 to %d\n",
                     HeadlessRun::MaxTimeoutSeconds);
        std::exit(BadArguments);
    }
    return options;
}

} // namespace

int main(int argc, char **argv)
{
    const Options options = parseOptions(argc, argv);
    // Headless runs need no display at all.
    if (options.headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt chooses the platform in the application object's constructor, and
    // aborts when it can have none: a -platform of the arguments counts too.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString noPlatform = WindowingPlatform::unavailableReason(arguments);
    if (!noPlatform.isEmpty()) {
        std::fprintf(stderr,
                     "pathwarden-host: no windowing platform for the installer: %s.\n"
                     "Run it on a display, under xvfb-run or with QT_QPA_PLATFORM=offscreen; --headless needs no "
                     "display unless -platform names one.\n",
                     qPrintable(noPlatform));
        return NoDisplay;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pathwarden-host"));

    InstallerHost host(options.paths);
    QString error;
    const QString bundlePath = options.packagePath + QStringLiteral("/Contents/Plugins/") + options.bundleName;
    std::unique_ptr<InstallerPane> pane = PaneBundleLoader::load(bundlePath, &host, &error);
    if (!pane) {
        std::fprintf(stderr, "pathwarden-host: %s\n", qPrintable(error));
        return CannotLoad;
    }
    host.setPane(std::move(pane));

    if (options.headless) {
        QTextStream out(stdout);
        const HeadlessRun::Status status = HeadlessRun::run(
            host, options.pick, options.timeout, scriptPathFor(options.packagePath, options.paths.scriptFolder), out);
        out.flush();
        return int(status);
    }

    host.start();
    InstallerWindow window(&host);
    window.show();
    return app.exec();
}
