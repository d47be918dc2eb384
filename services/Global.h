#ifndef VELMAR_GLOBAL_H
#define VELMAR_GLOBAL_H

#include <QIcon>
#include <QString>

class QWidget;

namespace Velmar {

class AboutBox;
class MainWidget;

// What every picker call needs before any window exists: the start-up check,
// the application icon, and the globals that outlive one call.
class Global
{
public:
    // 0 ready, -1 no SQLite driver, -3 no installed collection; a negative
    // status of the collection scan is handed on unchanged.
    static int InitializePrerequisites(const QString &modulePath, const QString &preferredLookupFolder);
    static QIcon getIcon();
    // Removes every application font registered with the font database.
    static bool Housekeepeing();
    static void initiateSoftwareUpdateCheck();
    // Makes the enums and records of the views' signals known to the
    // meta-object system under the names the signatures spell (Mood,
    // Direction, DB::ColorEntry ...). Cheap after the first call.
    static void registerMetaTypes();

    // The two top-level contents of a host call; defined with the widgets
    // (GlobalFactories.cpp), as the core library has none.
    // A new about box, owned by the caller; its engine text is always empty.
    static AboutBox *aboutBox(QWidget *parent, const QString &engine);
    // The one main widget, owned by parent; published in g_mainWidget before
    // its first child exists, with hostWindow in g_hostWindowWidget.
    static MainWidget *createMainWidget(QWidget *parent, QWidget *hostWindow);

    // The one main widget of the running picker call; null until it is built.
    static MainWidget *g_mainWidget;
    // The host window given when the main widget was built; stored only.
    static QWidget *g_hostWindowWidget;
    // The plug-in file given to InitializePrerequisites.
    static QString g_modulePath;

private:
    Global() = default;
};

} // namespace Velmar

#endif // VELMAR_GLOBAL_H
