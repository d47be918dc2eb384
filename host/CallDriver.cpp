#include "CallDriver.h"

#include "HostOutput.h"
#include "ResidentMemory.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDateTime>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QMetaObject>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

#include <algorithm>

#include <sys/resource.h>

QStringList CallDriver::s_actions;
int CallDriver::s_started = 0;
int CallDriver::s_delayMs = 100;
bool CallDriver::s_actionFailed = false;
bool CallDriver::s_timing = false;
qint64 CallDriver::s_baselineKiB = 0;
int CallDriver::s_call = 0;
qint64 CallDriver::s_callStartNs = 0;
bool CallDriver::s_framePainted = false;

namespace {

// One clock for the whole run of the host.
const QElapsedTimer &hostClock()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer started;
        started.start();
        return started;
    }();
    return clock;
}

QString sinceCallStart(qint64 startNs)
{
    return QString::number(double(hostClock().nsecsElapsed() - startNs) / 1e6, 'f', 1);
}

QString residentAbove(qint64 baselineKiB)
{
    const qint64 now = ResidentMemory::kibibytes();
    if (now < 0 || baselineKiB < 0)
        return QStringLiteral("unknown");
    return QString::number(double(now - baselineKiB) / 1024.0, 'f', 1);
}

// What a real click does before the press arrives (Qt does it for events
// from the window system only): the first enabled widget from the one
// clicked up to its window that takes the focus by clicking gets it, unless
// a widget on the way has it already.
void giveClickFocus(QWidget *clicked, const QWidget *window)
{
    for (QWidget *widget = clicked; widget; widget = widget->parentWidget()) {
        QWidget *focus = widget->focusProxy() ? widget->focusProxy() : widget;
        if (widget->isEnabled() && (focus->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus) {
            focus->setFocus(Qt::MouseFocusReason);
            return;
        }
        if (widget == window || widget->isWindow() || focus->hasFocus())
            return;
    }
}

// The key code a keyboard gives with a character: letters have the code of
// their capital, characters beyond the first plane none.
int keyOf(const QString &character)
{
    if (character.size() != 1)
        return Qt::Key_unknown;
    const QChar c = character.at(0);
    return c.isLetter() ? c.toUpper().unicode() : c.unicode();
}

bool isOrdinaryWindow(const QWidget *widget)
{
    const Qt::WindowType type = widget->windowType();
    return widget->isWindow() && type != Qt::ToolTip && type != Qt::Popup;
}

} // namespace

void CallDriver::install(const QStringList &actions, int delayMs)
{
    s_actions = actions;
    s_delayMs = delayMs;
    qAddPreRoutine(&CallDriver::applicationCreated);
}

CallDriver::CallDriver(QObject *application)
    : QObject(application)
{
    application->installEventFilter(this);
    m_timer = new QTimer(this);
    m_timer->setInterval(10);
    connect(m_timer, &QTimer::timeout, this, &CallDriver::tick);
    m_timer->start();
}

void CallDriver::setTiming(bool on, qint64 baselineKiB)
{
    s_timing = on;
    s_baselineKiB = baselineKiB;
    hostClock();
}

void CallDriver::callStarting(int call)
{
    s_call = call;
    s_started = 0;
    s_framePainted = false;
    s_callStartNs = hostClock().nsecsElapsed();
}

void CallDriver::callReturned()
{
    if (s_timing)
        timingLine(QStringLiteral("returned"));
    // A run that passed over an action must not pass for one that played it.
    for (int i = s_started; i < s_actions.size(); ++i) {
        s_actionFailed = true;
        HostOutput::line(QStringLiteral("action not played: %1").arg(s_actions.at(i)));
    }
}

void CallDriver::processEnding()
{
    if (!s_timing)
        return;
    // The whole process's processor time and its peak resident memory, as
    // the kernel counts them.
    rusage usage {};
    if (::getrusage(RUSAGE_SELF, &usage) != 0)
        return;
    const double cpuMs = (double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
                          + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3);
    HostOutput::line(QStringLiteral("timing: process processor time %1 ms, peak resident %2 MiB")
                         .arg(QString::number(cpuMs, 'f', 1), QString::number(double(usage.ru_maxrss) / 1024.0, 'f', 1)));
}

void CallDriver::firstFramePainted()
{
    timingLine(QStringLiteral("first frame"));
}

void CallDriver::timingLine(const QString &event)
{
    HostOutput::line(QStringLiteral("timing: call %1 %2 after %3 ms, resident %4 MiB above the host before loading")
                         .arg(s_call)
                         .arg(event, sinceCallStart(s_callStartNs), residentAbove(s_baselineKiB)));
}

void CallDriver::applicationCreated()
{
    QCoreApplication *application = QCoreApplication::instance();
    HostOutput::line(QStringLiteral("application object built, plug-in attribute %1")
                         .arg(QCoreApplication::testAttribute(Qt::AA_PluginApplication) ? QStringLiteral("on")
                                                                                       : QStringLiteral("off")));
    // Owned by the application object, so it goes with it.
    new CallDriver(application);
    // Post routines run once and are forgotten: register for this object.
    qAddPostRoutine(&CallDriver::applicationDestroyed);
}

void CallDriver::applicationDestroyed()
{
    HostOutput::line(QStringLiteral("library paths at exit: %1").arg(QCoreApplication::libraryPaths().join(QLatin1Char(':'))));
}

bool CallDriver::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (isOrdinaryWindow(widget)) {
            m_lastShown = widget;
            HostOutput::line(QStringLiteral("shown: %1 \"%2\" %3x%4")
                                 .arg(QString::fromLatin1(widget->metaObject()->className()), widget->windowTitle())
                                 .arg(widget->width())
                                 .arg(widget->height()));
        }
    } else if (event->type() == QEvent::Paint && s_timing && !s_framePainted && watched->isWidgetType()
               && isOrdinaryWindow(static_cast<QWidget *>(watched))) {
        // The whole window is painted and flushed within the event that
        // paints it first; a zero timer runs once that is done.
        s_framePainted = true;
        QTimer::singleShot(0, this, &CallDriver::firstFramePainted);
    }
    return QObject::eventFilter(watched, event);
}

QWidget *CallDriver::targetWindow() const
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (m_lastShown && m_lastShown->isVisible())
        return m_lastShown;
    return nullptr;
}

void CallDriver::tick()
{
    // One action at a time: the next is due once the last one has started.
    if (m_queued)
        return;
    if (m_next >= s_actions.size()) {
        m_timer->stop();
        return;
    }
    QWidget *window = targetWindow();
    if (!window) {
        m_readySince = -1;
        return;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const QString action = s_actions.at(m_next);
    // Waiting for a window takes no delay of its own; the next action's
    // delay counts from the moment it is there.
    if (action.startsWith(QLatin1String("await:"))) {
        const QString awaited = action.section(QLatin1Char(':'), 1);
        if (QLatin1String(window->metaObject()->className()) != awaited && window->windowTitle() != awaited)
            return;
        s_started = ++m_next;
        m_readySince = now;
        HostOutput::line(QStringLiteral("action: %1").arg(action));
        return;
    }
    if (m_readySince < 0)
        m_readySince = now;
    if (now - m_readySince < s_delayMs)
        return;
    const int index = m_next++;
    m_readySince = now;
    // Played from an event of its own, not from this timer's: an action that
    // opens a dialog with exec() returns only when the dialog closes, and
    // the timer, whose own event would still be running, would not fire
    // again inside the dialog's loop to play the actions meant for it.
    m_queued = true;
    QTimer::singleShot(0, this, [this, index, target = QPointer<QWidget>(window)] { playQueued(index, target); });
}

void CallDriver::playQueued(int index, QPointer<QWidget> window)
{
    m_queued = false;
    s_started = index + 1;
    const QString action = s_actions.at(index);
    const qint64 startedNs = hostClock().nsecsElapsed();
    const bool played = window && play(action, window);
    if (s_timing) {
        // How long the plug-in took to take the action in, for the benchmarks.
        HostOutput::line(QStringLiteral("timing: call %1 action %2 started after %3 ms, took %4 ms")
                             .arg(s_call)
                             .arg(index + 1)
                             .arg(QString::number(double(startedNs - s_callStartNs) / 1e6, 'f', 1),
                                  QString::number(double(hostClock().nsecsElapsed() - startedNs) / 1e6, 'f', 2)));
    }
    if (played) {
        HostOutput::line(QStringLiteral("action: %1").arg(action));
        return;
    }
    s_actionFailed = true;
    HostOutput::line(QStringLiteral("action failed: %1").arg(action));
    // Nothing else would end the call: close what is open.
    m_next = s_actions.size();
    QApplication::closeAllWindows();
}

bool CallDriver::play(const QString &action, QWidget *window)
{
    const QString argument = action.section(QLatin1Char(':'), 1);
    if (action == QLatin1String("close")) {
        window->close();
        return true;
    }
    if (action.startsWith(QLatin1String("click:"))) {
        for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
            if (button->text().remove(QLatin1Char('&')) == argument && button->isVisible() && button->isEnabled()) {
                button->click();
                return true;
            }
        }
        return false;
    }
    if (action.startsWith(QLatin1String("invoke:")))
        return QMetaObject::invokeMethod(window, argument.toLatin1().constData());
    if (action.startsWith(QLatin1String("key:"))) {
        // A name the sequence does not know reads as an unknown key, and a
        // second key would never be pressed: neither is played.
        const QKeySequence sequence = QKeySequence::fromString(argument);
        if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown)
            return false;
        const QKeyCombination combination = sequence[0];
        QWidget *receiver = window->focusWidget() ? window->focusWidget() : window;
        QKeyEvent press(QEvent::KeyPress, combination.key(), combination.keyboardModifiers());
        QKeyEvent release(QEvent::KeyRelease, combination.key(), combination.keyboardModifiers());
        QCoreApplication::sendEvent(receiver, &press);
        QCoreApplication::sendEvent(receiver, &release);
        return true;
    }
    if (action.startsWith(QLatin1String("type:"))) {
        // The whole rest of the action, colons included, one key per
        // character (a surrogate pair is one), as a keyboard sends them.
        if (argument.isEmpty())
            return false;
        QPointer<QWidget> receiver = window->focusWidget() ? window->focusWidget() : window;
        for (int i = 0; i < argument.size() && receiver; ++i) {
            const int length = argument.at(i).isHighSurrogate() && i + 1 < argument.size() ? 2 : 1;
            const QString character = argument.mid(i, length);
            i += length - 1;
            const int key = keyOf(character);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, character);
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, character);
            QCoreApplication::sendEvent(receiver, &press);
            if (receiver)
                QCoreApplication::sendEvent(receiver, &release);
        }
        return true;
    }
    if (action.startsWith(QLatin1String("screenshot:")))
        return window->grab().save(argument);
    if (action.startsWith(QLatin1String("press:"))) {
        const QStringList xy = argument.split(QLatin1Char(','));
        bool xOk = false;
        bool yOk = false;
        const QPoint point(xy.value(0).toInt(&xOk), xy.value(1).toInt(&yOk));
        if (xy.size() != 2 || !xOk || !yOk || !window->rect().contains(point))
            return false;
        QPointer<QWidget> receiver = window->childAt(point);
        if (!receiver)
            receiver = window;
        giveClickFocus(receiver, window);
        const QPointF local = receiver->mapFrom(window, point);
        const QPointF global = window->mapToGlobal(QPointF(point));
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        // Through notify, so that a press a child ignores reaches its parents;
        // the press may have closed what it went to.
        QCoreApplication::sendEvent(receiver, &press);
        if (receiver)
            QCoreApplication::sendEvent(receiver, &release);
        return true;
    }
    if (action.startsWith(QLatin1String("drag:")) || action.startsWith(QLatin1String("drop:"))) {
        // "<class>:<MIME type>:<data in hex>": a drag of that data over the
        // middle of the first visible widget of that class, entering it, or
        // moved on it and dropped. Taken from the end: a class name may hold
        // colons.
        const QString className = action.section(QLatin1Char(':'), 1, -3);
        const QString type = action.section(QLatin1Char(':'), -2, -2);
        const QByteArray bytes = QByteArray::fromHex(action.section(QLatin1Char(':'), -1).toLatin1());
        QWidget *target = nullptr;
        for (QWidget *child : window->findChildren<QWidget *>()) {
            if (QLatin1String(child->metaObject()->className()) == className && child->isVisible()) {
                target = child;
                break;
            }
        }
        if (!target || type.isEmpty() || bytes.isEmpty())
            return false;
        QMimeData data;
        data.setData(type, bytes);
        const QPoint middle = target->rect().center();
        if (action.startsWith(QLatin1String("drag:"))) {
            QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &enter);
        }
        QDragMoveEvent move(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        if (action.startsWith(QLatin1String("drop:"))) {
            QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(target, &drop);
        }
        return true;
    }
    if (action == QLatin1String("buttons")) {
        QList<QAbstractButton *> buttons;
        for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
            if (button->isVisible() && !button->text().isEmpty())
                buttons << button;
        }
        auto place = [window](const QAbstractButton *button) { return button->mapTo(window, QPoint(0, 0)); };
        std::stable_sort(buttons.begin(), buttons.end(), [&place](const QAbstractButton *a, const QAbstractButton *b) {
            const QPoint pa = place(a);
            const QPoint pb = place(b);
            return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
        });
        QStringList states;
        for (const QAbstractButton *button : qAsConst(buttons)) {
            states << QStringLiteral("%1 %2").arg(button->text().remove(QLatin1Char('&')),
                                                  button->isEnabled() ? QStringLiteral("on") : QStringLiteral("off"));
        }
        HostOutput::line(QStringLiteral("buttons: %1").arg(states.join(QStringLiteral(", "))));
        return true;
    }
    return false;
}
