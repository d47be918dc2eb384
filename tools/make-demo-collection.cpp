// Writes the demo collection into a lookup folder:
//   make-demo-collection <lookup folder> [<settings folder>]
// The collection file lands in <lookup folder>/Contents/Resources/demo.db.
// With a settings folder, the picker's per-user settings in that folder get
// a demo My palette too (see DemoPalette), as the host's picker reads them.

#include "DemoCollection.h"
#include "DemoPalette.h"

#include "services/Global.h"
#include "services/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QTextStream>

#include <algorithm>

int main(int argc, char *argv[])
{
    // No argument is an option: "--help" is never taken for a folder. Read
    // before the application object, which takes Qt's own options away.
    const bool option = std::any_of(argv + 1, argv + argc, [](const char *argument) { return argument[0] == '-'; });
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList arguments = app.arguments();
    if (option || (arguments.size() != 2 && arguments.size() != 3)) {
        err << "usage: make-demo-collection <lookup folder> [<settings folder>]" << Qt::endl;
        return 2;
    }
    QString error;
    if (!DemoCollection::write(arguments.at(1), &error)) {
        err << "make-demo-collection: " << error << Qt::endl;
        return 1;
    }
    QTextStream(stdout) << DemoCollection::filePath(arguments.at(1)) << Qt::endl;
    if (arguments.size() == 2)
        return 0;

    // The store the picker uses inside the host, in the folder given.
    const QString settingsFolder = QDir(arguments.at(2)).absolutePath();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder);
    Velmar::Settings::setHostApplicationKey(QStringLiteral("Photoshop"));
    if (Velmar::Global::InitializePrerequisites(QString(), QDir(arguments.at(1)).absolutePath()) != 0
        || !DemoPalette::store(&error)) {
        err << "make-demo-collection: the demo palette could not be stored: " << error << Qt::endl;
        return 1;
    }
    QTextStream(stdout) << QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavo Rindel"),
                                     Velmar::Settings::hostApplicationKey())
                               .fileName()
                        << Qt::endl;
    return 0;
}
