// Draws every view of the picker on a collection, one PNG per view, so that
// their look can be checked by eye. Runs offscreen and never touches the
// user's settings.
//
//   render-views <collection-folder> <output-folder>
//
// <collection-folder> is the lookup folder whose Contents/Resources holds
// the collection files (the folder given to make-demo-collection).

#include "PictureSink.h"
#include "Pictures.h"

#include "services/Global.h"

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

int main(int argc, char *argv[])
{
    // Read before the application object, which would take Qt's own
    // options (a style, a platform) out of the arguments for itself. No
    // argument is an option: "--help" is never taken for a folder.
    const bool option = std::any_of(argv + 1, argv + argc, [](const char *argument) { return argument[0] == '-'; });
    if (option || argc != 3) {
        QTextStream(stderr) << "usage: render-views <collection-folder> <output-folder>\n";
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The browsing state the pictures set up goes to a settings store of its own.
    QTemporaryDir settingsFolder;
    qputenv("XDG_CONFIG_HOME", settingsFolder.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", settingsFolder.path().toUtf8());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());

    QApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    const QString outputFolder = args.at(2);
    if (!QDir().mkpath(outputFolder)) {
        err << "render-views: cannot make " << outputFolder << "\n";
        return 1;
    }
    const int status = Velmar::Global::InitializePrerequisites(QString(), QDir(args.at(1)).absolutePath());
    if (status != 0) {
        err << "render-views: no collection could be started from " << args.at(1) << " (status " << status << ")\n";
        return 1;
    }

    PictureSink sink(outputFolder);
    drawButtonPictures(sink);
    drawAboutBoxPictures(sink);
    drawCollectionChooserPictures(sink);
    drawBrowsingPictures(sink);
    drawPalettePictures(sink);
    drawSchemePictures(sink);
    drawMaterialPictures(sink);
    drawMainWidgetPictures(sink);
    drawPickerPictures(sink);

    QTextStream out(stdout);
    for (const QString &path : sink.written())
        out << path << "\n";
    for (const QString &name : sink.failed())
        err << "render-views: " << name << " could not be written\n";
    return sink.failed().isEmpty() ? 0 : 1;
}
