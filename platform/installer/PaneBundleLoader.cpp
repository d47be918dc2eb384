#include "PaneBundleLoader.h"

#include "Bundle.h"
#include "InstallerPane.h"

#include <QFileInfo>
#include <QLibrary>

const char *const PaneBundleLoader::FactorySymbol = "InstallerPaneBundleCreatePane";

std::unique_ptr<InstallerPane> PaneBundleLoader::load(const QString &bundlePath, InstallerHost *host, QString *error)
{
    auto failed = [error](const QString &message) {
        if (error)
            *error = message;
        return std::unique_ptr<InstallerPane>();
    };
    const Bundle bundle = Bundle::bundleWithPath(bundlePath);
    if (!bundle.isValid())
        return failed(QStringLiteral("no bundle at %1").arg(bundlePath));
    const QString executable = bundle.infoDictionary().value(QStringLiteral("CFBundleExecutable")).toString();
    if (executable.isEmpty() || executable.contains(QLatin1Char('/')))
        return failed(QStringLiteral("%1 names no executable").arg(bundlePath));
    const QString libraryPath = bundle.bundlePath() + QStringLiteral("/Contents/MacOS/") + executable;
    if (!QFileInfo(libraryPath).isFile())
        return failed(QStringLiteral("no executable at %1").arg(libraryPath));

    QLibrary library(libraryPath);
    if (!library.load())
        return failed(library.errorString());
    auto factory = reinterpret_cast<Factory>(library.resolve(FactorySymbol));
    if (!factory)
        return failed(QStringLiteral("%1 exports no %2").arg(libraryPath, QString::fromLatin1(FactorySymbol)));
    std::unique_ptr<InstallerPane> pane(factory(host, bundle.bundlePath().toUtf8().constData()));
    if (!pane)
        return failed(QStringLiteral("%1 made no pane").arg(libraryPath));
    if (error)
        error->clear();
    return pane;
}
