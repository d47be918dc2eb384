#ifndef PATHWARDEN_INSTALLERPANE_H
#define PATHWARDEN_INSTALLERPANE_H

#include <QObject>
#include <QPointer>
#include <QString>

class InstallerHost;
class QWidget;

// The base of a pane that an installer package brings: the installer shows
// its content view between its own pages, calls the entry and exit hooks
// with the direction of travel, and lets the pane set the Previous and
// Next buttons or move on by itself.
class InstallerPane : public QObject
{
    Q_OBJECT

public:
    enum Direction { Forward = 0, Backward = 1 };
    Q_ENUM(Direction)

    explicit InstallerPane(InstallerHost *host);
    ~InstallerPane() override;

    InstallerHost *host() const;
    // Whether the installer shows this pane now.
    bool isCurrentPane() const;
    // The pane's controls; the pane owns it until a window takes it in.
    QWidget *contentView() const;

    virtual QString title() const;
    virtual void willEnterPane(Direction direction);
    virtual void didEnterPane(Direction direction);
    virtual void didExitPane(Direction direction);

    void setPreviousEnabled(bool enabled);
    void setNextEnabled(bool enabled);
    // Moves on as if the user had pressed the button; asked for inside
    // willEnterPane, the pane is skipped once that returns.
    bool gotoNextPane();
    bool gotoPreviousPane();

private:
    InstallerHost *m_host;
    QPointer<QWidget> m_contentView;
};

#endif // PATHWARDEN_INSTALLERPANE_H
