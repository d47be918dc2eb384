#include "database/InterfaceIdleGate.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QWaitCondition>

#include <atomic>

namespace Velmar {

namespace {

struct Waits {
    QMutex lock;
    QWaitCondition changed;
    // The thread the interface waits for; guarded by the lock.
    QThread *awaited = nullptr;
};

Waits &waits()
{
    static Waits shared;
    return shared;
}

// Read at every stop check without the lock; made false under it, so that
// no thread sleeps through the interface falling idle.
std::atomic<bool> s_interfaceBusy{false};

// The watcher of the current application; touched on its thread only.
InterfaceIdleGate *s_watcher = nullptr;
// That thread, for the other threads to tell it.
std::atomic<QThread *> s_interfaceThread{nullptr};

thread_local bool t_yields = false;

} // namespace

InterfaceIdleGate::InterfaceIdleGate(QObject *application)
    : QObject(application)
{
}

InterfaceIdleGate::~InterfaceIdleGate()
{
    // With its application gone, no event loop tells the interface idle.
    if (s_watcher == this) {
        s_watcher = nullptr;
        s_interfaceThread = nullptr;
    }
    setInterfaceBusy(false);
}

void InterfaceIdleGate::watchInterface()
{
    QCoreApplication *application = QCoreApplication::instance();
    if (s_watcher || !application || QThread::currentThread() != application->thread())
        return;
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(application->thread());
    if (!dispatcher)
        return;
    auto *watcher = new InterfaceIdleGate(application);
    // The dispatchers say when they are about to block, and wake, but handle
    // the events they wake for before they say so (glib), or after it has
    // been said for the wait (unix): each event handled marks the interface
    // busy too, until it is about to block again.
    if (!connect(dispatcher, SIGNAL(aboutToBlock()), watcher, SLOT(interfaceAboutToBlock()), Qt::DirectConnection)
        || !connect(dispatcher, SIGNAL(awake()), watcher, SLOT(interfaceAwake()), Qt::DirectConnection)) {
        qWarning("InterfaceIdleGate: the event dispatcher cannot be watched");
        delete watcher;
        return;
    }
    application->installEventFilter(watcher);
    s_watcher = watcher;
    s_interfaceThread = application->thread();
    setInterfaceBusy(true);
}

bool InterfaceIdleGate::eventFilter(QObject *watched, QEvent *event)
{
    if (!s_interfaceBusy.load(std::memory_order_relaxed))
        setInterfaceBusy(true);
    return QObject::eventFilter(watched, event);
}

void InterfaceIdleGate::interfaceAboutToBlock()
{
    setInterfaceBusy(false);
}

void InterfaceIdleGate::interfaceAwake()
{
    setInterfaceBusy(true);
}

void InterfaceIdleGate::setInterfaceBusy(bool busy)
{
    if (busy) {
        // Nobody waits for the interface to be busy.
        s_interfaceBusy.store(true, std::memory_order_relaxed);
        return;
    }
    if (!s_interfaceBusy.load(std::memory_order_relaxed))
        return;
    QMutexLocker locker(&waits().lock);
    s_interfaceBusy.store(false, std::memory_order_relaxed);
    waits().changed.wakeAll();
}

void InterfaceIdleGate::yieldsToInterface()
{
    t_yields = true;
}

bool InterfaceIdleGate::stopRequested()
{
    QThread *const self = QThread::currentThread();
    if (t_yields && s_interfaceBusy.load(std::memory_order_relaxed)) {
        QMutexLocker locker(&waits().lock);
        while (s_interfaceBusy.load(std::memory_order_relaxed) && waits().awaited != self
               && !self->isInterruptionRequested())
            waits().changed.wait(&waits().lock);
    }
    return self->isInterruptionRequested();
}

void InterfaceIdleGate::interfaceWaitsFor(QThread *thread)
{
    QMutexLocker locker(&waits().lock);
    waits().awaited = thread;
    waits().changed.wakeAll();
}

void InterfaceIdleGate::interfaceWaitsForLock(bool waits)
{
    if (QThread::currentThread() == s_interfaceThread.load())
        setInterfaceBusy(!waits);
}

void InterfaceIdleGate::stop(QThread *thread)
{
    thread->requestInterruption();
    QMutexLocker locker(&waits().lock);
    waits().changed.wakeAll();
}

} // namespace Velmar
