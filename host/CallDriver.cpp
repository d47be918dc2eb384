#include "CallDriver.h"

#include "HostOutput.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLibraryInfo>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>

QStringList CallDriver::s_actions;
int CallDriver::s_delayMs = 100;
bool CallDriver::s_actionFailed = false;

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
        const Qt::WindowType type = widget->windowType();
        if (widget->isWindow() && type != Qt::ToolTip && type != Qt::Popup) {
            m_lastShown = widget;
            HostOutput::line(QStringLiteral("shown: %1 \"%2\" %3x%4")
                                 .arg(QString::fromLatin1(widget->metaObject()->className()), widget->windowTitle())
                                 .arg(widget->width())
                                 .arg(widget->height()));
        }
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
    if (m_readySince < 0)
        m_readySince = now;
    if (now - m_readySince < s_delayMs)
        return;
    const QString action = s_actions.at(m_next++);
    m_readySince = now;
    if (play(action, window)) {
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
        const QKeySequence sequence = QKeySequence::fromString(argument);
        if (sequence.isEmpty())
            return false;
        const QKeyCombination combination = sequence[0];
        QWidget *receiver = window->focusWidget() ? window->focusWidget() : window;
        QKeyEvent press(QEvent::KeyPress, combination.key(), combination.keyboardModifiers());
        QKeyEvent release(QEvent::KeyRelease, combination.key(), combination.keyboardModifiers());
        QCoreApplication::sendEvent(receiver, &press);
        QCoreApplication::sendEvent(receiver, &release);
        return true;
    }
    if (action.startsWith(QLatin1String("screenshot:")))
        return window->grab().save(argument);
    return false;
}
