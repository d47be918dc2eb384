// The plug-in's only entry. The host calls it on its main thread for every
// selector; each call builds its own application object and leaves nothing
// of it behind but the service caches.

#include "platform/picker/PickerHostInterface.h"
#include "plugin/AboutBox.h"
#include "plugin/AddOnMainWindow.h"
#include "plugin/ApplicationSkeleton.h"
#include "plugin/HostColor.h"
#include "plugin/HostQueries.h"
#include "plugin/SwatchFolder.h"
#include "services/FileManager.h"
#include "services/Global.h"
#include "services/Settings.h"

#include <QColor>
#include <QLibraryInfo>
#include <QString>

#include <memory>

using namespace Velmar;

namespace {

// What the picker dialog starts from.
struct PickStart {
    QColor colour;
    QString swatchFolder;
    QString title;
};

PickStart pickStartFrom(const PickerHost::PickerParameters &block)
{
    PickStart start;
    start.colour = HostColor::fromHost(block.sourceSpace, block.components);
    const qint64 major = SwatchFolder::majorVersion(HostQueries::hostVersion(block.propertySuite));
    start.swatchFolder = SwatchFolder::choose(SwatchFolder::dataLocation(), major);
    start.title = HostQueries::promptTitle(block.prompt);
    return start;
}

void runAboutCall()
{
    std::unique_ptr<AboutBox> box(Global::aboutBox(nullptr, QString()));
    box->setVisible(true);
    // The loop ends when the box, the last window, closes.
    QApplication::exec();
}

void runPickCall(PickerHost::PickerParameters *block)
{
    // Without a block there is nothing to start from or to answer into.
    if (!block)
        return;
    const PickStart start = pickStartFrom(*block);
    AddOnMainWindow dialog(start.colour, start.swatchFolder, nullptr);
    // An empty prompt keeps the collection's caption.
    if (!start.title.isEmpty())
        dialog.setWindowTitle(start.title);
    dialog.setVisible(true);
    // The loop ends when the dialog, the last window, closes.
    QApplication::exec();
    // Cancelled, or nothing the host could take: the block stays as it came.
    const QColor chosen = dialog.resultColor();
    if (dialog.result() == QDialog::Accepted && HostColor::isUsable(chosen))
        HostColor::writeBack(chosen, *block);
}

void runCall(int16_t selector, void *parameterBlock)
{
    QCoreApplication::setAttribute(Qt::AA_PluginApplication, true);
    Settings::setHostApplicationKey(QStringLiteral("Photoshop"));

    int argc = 0;
    ApplicationSkeleton application(argc, nullptr, QT_VERSION);
    // Only Qt's own plug-in folder: the SQLite driver and the image readers
    // are plug-ins there, and the host's folder stays out.
    QCoreApplication::setLibraryPaths({QLibraryInfo::path(QLibraryInfo::PluginsPath)});

    const QString pluginPath = HostQueries::pluginFilePath(selector, parameterBlock);
    if (Global::InitializePrerequisites(pluginPath, FileManager::getPluginAppDataPath()) < 0)
        return;

    switch (selector) {
    case PickerHost::SelectorAbout:
        runAboutCall();
        break;
    case PickerHost::SelectorPick:
        runPickCall(static_cast<PickerHost::PickerParameters *>(parameterBlock));
        break;
    default:
        break;
    }
}

} // namespace

extern "C" Q_DECL_EXPORT void PluginMain(int16_t selector, void *parameterBlock, intptr_t *data, int16_t *result)
{
    Q_UNUSED(data)
    // The host relies on 0 on every path, cancels and failed starts included.
    if (result)
        *result = 0;
    // Nothing may unwind into the host's C code.
    try {
        runCall(selector, parameterBlock);
    } catch (...) {
    }
}
