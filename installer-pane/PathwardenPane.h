#ifndef PATHWARDEN_PATHWARDENPANE_H
#define PATHWARDEN_PATHWARDENPANE_H

#include "Bundle.h"
#include "InstallationSearchResult.h"
#include "InstallerPane.h"
#include "SystemPaths.h"
#include "TaskStopper.h"

#include <QStringList>

#include <thread>

class BusyIndicator;
class QScrollArea;
class RadioColumn;
class WrappingLabel;

// The installer pane that finds the host application's installations by
// the package's rule, lets the user choose one when there are several, and
// writes the script that tells the package's scripts the chosen folder.
// The search runs once, on a thread of the pane's own, the first time the
// pane is entered; everything it shows is set on the main thread. Closing
// the pane stops the search, ending any program it waits for, and waits
// for its thread.
class PathwardenPane : public InstallerPane
{
    Q_OBJECT

public:
    PathwardenPane(InstallerHost *host, const Bundle &pluginBundle);
    ~PathwardenPane() override;

    QString title() const override;
    void willEnterPane(Direction direction) override;
    void didEnterPane(Direction direction) override;
    void didExitPane(Direction direction) override;

    bool isAppChecked() const;
    QStringList foundAppPaths() const;
    Bundle packageBundle() const;

public slots:
    // The radio cells' action: writes the script for the selected cell.
    void targetSelected();
    // Writes the script for installation index; false when there is no
    // such installation or the script could not be written.
    bool processSelectedTarget(qint64 index);

signals:
    // The search has ended and its outcome is shown.
    void searchEnded();

private:
    void awakeFromNib();
    void buildControls();
    void checkForApplication(const Bundle &package, const SystemPaths &paths);
    void checkForApplicationEnded(const InstallationSearchResult &result);
    void fillList();
    // The message for what the search found and whether the script was
    // written.
    void showOutcome();
    bool mayGoOn() const;
    QString localized(const QString &key) const;

    QWidget *m_controlContainerView = nullptr;
    BusyIndicator *m_progressIndicator = nullptr;
    WrappingLabel *m_messageText = nullptr;
    QScrollArea *m_scroller = nullptr;
    QWidget *m_scrollerView = nullptr;
    RadioColumn *m_radioGroup = nullptr;
    Bundle m_pluginBundle;
    Bundle m_packageBundle;
    bool m_isSnow = false;
    bool m_isLion = false;
    bool m_isMouLion = false;
    bool m_isMaverick = false;
    bool m_appChecked = false;
    QStringList m_foundAppPaths;
    qint64 m_choosenAppIndex = -1;
    QString m_shellScriptName;
    // Whether the script on disk names the installation selected now.
    bool m_targetRecorded = false;
    TaskStopper m_searchStopper;
    // Joined by the destructor alone.
    std::thread m_searchThread;
};

#endif // PATHWARDEN_PATHWARDENPANE_H
