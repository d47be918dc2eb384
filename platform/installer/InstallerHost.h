#ifndef PATHWARDEN_INSTALLERHOST_H
#define PATHWARDEN_INSTALLERHOST_H

#include "InstallerPane.h"
#include "SystemPaths.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <memory>

class QWidget;

// A small installer: a page before the pane, the package's pane, and a page
// after it, with the Previous and Next buttons' states. A pane's request to
// move on made inside willEnterPane is carried out after that returns. It
// keeps a log of every step, for tests and the driver program.
class InstallerHost : public QObject
{
    Q_OBJECT

public:
    enum Page { IntroductionPage = 0, PanePage = 1, InstallPage = 2 };

    explicit InstallerHost(const SystemPaths &paths = SystemPaths(), QObject *parent = nullptr);
    ~InstallerHost() override;

    SystemPaths systemPaths() const;
    // Takes the pane over; set it before start().
    void setPane(std::unique_ptr<InstallerPane> pane);
    InstallerPane *pane() const;

    // Shows the first page.
    void start();
    int currentPage() const;
    QString pageTitle(int page) const;
    QWidget *pageContentView(int page) const;

    bool isPreviousEnabled() const;
    bool isNextEnabled() const;
    // The user's Continue and Back; false when the button is disabled.
    bool goNext();
    bool goPrevious();

    QStringList navigationLog() const;

    // For panes.
    void setPreviousEnabled(bool enabled);
    void setNextEnabled(bool enabled);
    bool paneAsksToGo(InstallerPane *pane, InstallerPane::Direction direction);

signals:
    void pageChanged(int page);
    void buttonsChanged();

private:
    void enterPage(int page, InstallerPane::Direction direction);
    void record(const QString &step);
    static QString directionName(InstallerPane::Direction direction);

    SystemPaths m_paths;
    std::unique_ptr<InstallerPane> m_pane;
    QPointer<QWidget> m_introduction;
    QPointer<QWidget> m_install;
    int m_current = -1;
    bool m_previousEnabled = false;
    bool m_nextEnabled = false;
    bool m_insideWillEnter = false;
    bool m_gotoPending = false;
    InstallerPane::Direction m_pendingDirection = InstallerPane::Forward;
    QStringList m_log;
};

#endif // PATHWARDEN_INSTALLERHOST_H
