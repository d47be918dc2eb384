#include "services/Global.h"

#include "database/ColorEntry.h"
#include "database/DBManager.h"
#include "inc/VelmarTypes.h"
#include "services/Settings.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QSqlDatabase>

#include <libxml/xmlversion.h>

// The icons live in the core library, which is linked statically: its
// resources are registered by hand. The macro must stand outside a namespace.
static void registerCompiledInResources()
{
    static bool registered = false;
    if (registered)
        return;
    Q_INIT_RESOURCE(velmar_ui);
    registered = true;
}

namespace Velmar {

MainWidget *Global::g_mainWidget = nullptr;
QWidget *Global::g_hostWindowWidget = nullptr;
QString Global::g_modulePath;

int Global::InitializePrerequisites(const QString &modulePath, const QString &preferredLookupFolder)
{
    registerCompiledInResources();
    registerMetaTypes();
    g_modulePath = modulePath;
    DBManager::s_preferredLookupFolder = preferredLookupFolder;

    if (!QSqlDatabase::drivers().contains(QStringLiteral("QSQLITE")))
        return -1;

    const int installed = DBManager::HasInstalledCollections();
    if (installed < 0)
        return installed;
    if (installed == 2)
        return -3;
    const QList<QUuid> collections = DBManager::GetInstalledCollectionUuidsInOrder();
    if (collections.isEmpty())
        return -3;

    // A new host process opens on the first collection; later calls in the
    // same process reopen on the one the user chose last.
    const qint64 pid = QCoreApplication::applicationPid();
    if (Settings::hostApplicationPid() != pid) {
        Settings::setUuidOfLastUsedCollection(collections.first());
        Settings::setHostApplicationPid(pid);
    }
    DBManager::selectedCollectionChanged(Settings::uuidOfLastUsedCollection());

    // A mismatch is reported by the library itself and does not stop the start.
    xmlCheckVersion(20900);
    return 0;
}

QIcon Global::getIcon()
{
    registerCompiledInResources();
    QIcon icon(QStringLiteral(":/image/ui/icon_16.png"));
    for (const char *name : {"icon_32.png", "icon_48.png", "icon_64.png"})
        icon.addFile(QStringLiteral(":/image/ui/") + QLatin1String(name), QSize(), QIcon::Normal, QIcon::Off);
    return icon;
}

bool Global::Housekeepeing()
{
    return QFontDatabase::removeAllApplicationFonts();
}

void Global::initiateSoftwareUpdateCheck()
{
}

void Global::registerMetaTypes()
{
    static const bool registered = [] {
        qRegisterMetaType<Mood>("Mood");
        qRegisterMetaType<Direction>("Direction");
        qRegisterMetaType<SchemeKind>("SchemeKind");
        qRegisterMetaType<TabBarPage>("TabBarPage");
        qRegisterMetaType<PaletteFileFormat>("PaletteFileFormat");
        qRegisterMetaType<DB::ColorEntry>("DB::ColorEntry");
        qRegisterMetaType<DB::ColorEntry>("ColorEntry");
        return true;
    }();
    Q_UNUSED(registered)
}

} // namespace Velmar
