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
// "key:<key name>" (one key with its modifiers, e.g. "Ctrl+Return"),
// "type:<text>" (the text typed into the window's focus widget, one key
// per character), "screenshot:<file>",
// "await:<class name or title>" (waits until that window is the one
// driven), "press:<x>,<y>" (a left click at the window's own coordinates,
// given to the widget there) and "buttons" (prints the window's labelled
// buttons, left to right and top to bottom, each "on" or "off").
//
// Each action is played from an event of its own on the event loop, after
// the previous one has started. An action that opens a dialog with exec()
// is thus still running while the next ones drive that dialog; its "action:"
// line follows theirs, once the dialog has closed.
//
// An action the call never reached, because no window showed or an earlier
// action closed the last one, is printed as not played when the call returns
// and counts as failed.
//
// With timing on, it also prints when each call's first window has painted
// its first frame, and the resident memory then, when each action started
// and how long it took, and at the end the process's processor time and
// peak resident memory.
class CallDriver : public QObject
{
    Q_OBJECT

public:
    // Registers with Qt; the actions are played in every call, from the
    // first, each delayMs after the window appears or the previous one ran.
    static void install(const QStringList &actions, int delayMs);
    // Whether an action could not be played, or a call returned before it.
    static bool actionFailed() { return s_actionFailed; }

    // Timing lines are printed against the resident memory the host had
    // before it loaded the plug-in (KiB).
    static void setTiming(bool on, qint64 baselineKiB);
    // The host is about to call the plug-in for the call'th time.
    static void callStarting(int call);
    // The call has returned: the actions it did not reach are printed.
    static void callReturned();
    // With timing on, prints the process's processor time and peak
    // resident memory.
    static void processEnding();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void tick();

private:
    void playQueued(int index, QPointer<QWidget> window);
    explicit CallDriver(QObject *application);

    static void applicationCreated();
    static void applicationDestroyed();
    QWidget *targetWindow() const;
    bool play(const QString &action, QWidget *window);
    void firstFramePainted();
    // One format for both events: bench_picker reads it.
    static void timingLine(const QString &event);

    static QStringList s_actions;
    // How many of the actions the current call has started.
    static int s_started;
    static int s_delayMs;
    static bool s_actionFailed;
    static bool s_timing;
    static qint64 s_baselineKiB;
    static int s_call;
    static qint64 s_callStartNs;
    static bool s_framePainted;

    QTimer *m_timer = nullptr;
    QPointer<QWidget> m_lastShown;
    int m_next = 0;
    qint64 m_readySince = -1;
    // An action is waiting for its event.
    bool m_queued = false;
};

#endif // HUEFORM_CALLDRIVER_H
