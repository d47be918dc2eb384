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

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>

namespace {

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

bool wantsHeadless(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--headless") == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    // Headless runs need no display at all.
    if (wantsHeadless(argc, argv) && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pathwarden-host"));

    const SystemPaths defaults;
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Runs an installer package's pane in a small installer."));
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
    parser.process(app);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    const QString packagePath = parser.positionalArguments().first();
    SystemPaths paths;
    paths.scriptFolder = parser.value(QStringLiteral("script-folder"));
    paths.vpdFile = parser.value(QStringLiteral("vpd-file"));
    paths.systemVersionFile = parser.value(QStringLiteral("system-version-file"));
    paths.systemProfiler = resolveProgram(parser, QStringLiteral("system-profiler"), defaults.systemProfiler);
    paths.lsregister = resolveProgram(parser, QStringLiteral("lsregister"), defaults.lsregister);

    InstallerHost host(paths);
    QString error;
    const QString bundlePath = packagePath + QStringLiteral("/Contents/Plugins/") + parser.value(QStringLiteral("bundle"));
    std::unique_ptr<InstallerPane> pane = PaneBundleLoader::load(bundlePath, &host, &error);
    if (!pane) {
        std::fprintf(stderr, "pathwarden-host: %s\n", qPrintable(error));
        return 1;
    }
    host.setPane(std::move(pane));

    if (parser.isSet(QStringLiteral("headless"))) {
        bool pickOk = true;
        const int pick = parser.isSet(QStringLiteral("pick")) ? parser.value(QStringLiteral("pick")).toInt(&pickOk) : -1;
        bool timeoutOk = false;
        const int timeout = parser.value(QStringLiteral("timeout")).toInt(&timeoutOk);
        if (!pickOk || pick < -1 || !timeoutOk || timeout <= 0) {
            std::fprintf(stderr, "pathwarden-host: --pick takes a row number, --timeout a number of seconds\n");
            return 2;
        }
        QTextStream out(stdout);
        const HeadlessRun::Status status =
            HeadlessRun::run(host, pick, timeout, scriptPathFor(packagePath, paths.scriptFolder), out);
        out.flush();
        return int(status);
    }

    host.start();
    InstallerWindow window(&host);
    window.show();
    return app.exec();
}
