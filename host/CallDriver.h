#ifndef HUEFORM_CALLDRIVER_H
#define HUEFORM_CALLDRIVER_H

#include <QObject>
#include <QPointer>
#include <QStringList>

class QTimer;
class QWidget;

// Watches and drives the plug-in's windows from outside. The plug-in builds
// its own application object in every call; Qt runs the routine registered
// here when it does, and that routine hooks an event filter onto the new
// object (to report the windows shown) and arms a timer that plays the
// actions given on the command line against the plug-in's window: the
// active modal widget, else the last window shown.
//
// Actions: "close", "click:<button text>", "invoke:<slot>",
// "key:<key name>", "screenshot:<file>".
class CallDriver : public QObject
{
    Q_OBJECT

public:
    // Registers with Qt; the actions are played in every call, from the
    // first, each delayMs after the window appears or the previous one ran.
    static void install(const QStringList &actions, int delayMs);
    // Whether an action could not be played.
    static bool actionFailed() { return s_actionFailed; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void tick();

private:
    explicit CallDriver(QObject *application);

    static void applicationCreated();
    static void applicationDestroyed();
    QWidget *targetWindow() const;
    bool play(const QString &action, QWidget *window);

    static QStringList s_actions;
    static int s_delayMs;
    static bool s_actionFailed;

    QTimer *m_timer = nullptr;
    QPointer<QWidget> m_lastShown;
    int m_next = 0;
    qint64 m_readySince = -1;
};

#endif // HUEFORM_CALLDRIVER_H
