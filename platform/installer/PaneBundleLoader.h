#ifndef PATHWARDEN_PANEBUNDLELOADER_H
#define PATHWARDEN_PANEBUNDLELOADER_H

#include <QString>

#include <memory>

class InstallerHost;
class InstallerPane;

// What a pane bundle's library defines: it makes the bundle's pane for host,
// the bundle being the folder at bundlePathUtf8.
extern "C" InstallerPane *InstallerPaneBundleCreatePane(InstallerHost *host, const char *bundlePathUtf8);

// Loads a pane bundle as the installer does: the shared library named by
// CFBundleExecutable in "Contents/MacOS", whose exported factory makes the
// pane. The library stays loaded for the life of the process.
class PaneBundleLoader
{
public:
    // The function every pane bundle exports under FactorySymbol.
    using Factory = InstallerPane *(*)(InstallerHost *host, const char *bundlePathUtf8);
    static const char *const FactorySymbol;

    // The pane, or null with *error set.
    static std::unique_ptr<InstallerPane> load(const QString &bundlePath, InstallerHost *host, QString *error);

private:
    PaneBundleLoader() = default;
};

#endif // PATHWARDEN_PANEBUNDLELOADER_H
