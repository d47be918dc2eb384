// The entry of the Pathwarden pane bundle: the installer resolves it by name
// after loading the bundle's library.

#include "Bundle.h"
#include "PaneBundleLoader.h"
#include "PathwardenPane.h"

extern "C" Q_DECL_EXPORT InstallerPane *InstallerPaneBundleCreatePane(InstallerHost *host, const char *bundlePathUtf8)
{
    return new PathwardenPane(host, Bundle::bundleWithPath(QString::fromUtf8(bundlePathUtf8)));
}
