#ifndef VELMAR_INTERFACEIDLEGATE_H
#define VELMAR_INTERFACEIDLEGATE_H

#include <QObject>

class QThread;

namespace Velmar {

// Lets the threads that work ahead for the interface run while the
// interface thread has nothing to do, and only then, without any lower
// priority of the system's: such a thread runs at the interface's own
// priority, so no other program can starve it while the interface waits for
// it or for its end, and it gives the core back at its next stop check
// once the interface has an event to handle.
//
// A thread takes part by calling yieldsToInterface() on itself; its stop
// checks go through stopRequested(), which waits while the interface is
// busy, unless the interface waits for that very thread, and ends the wait
// at once when the thread is asked to stop through stop(). Nothing waits
// until the interface thread is watched (watchInterface()), nor once its
// application is gone.
class InterfaceIdleGate : public QObject
{
    Q_OBJECT

public:
    // On the interface thread, once its application exists: from then on,
    // busy from each event it handles until its event loop is about to
    // block again. Once for each application; more calls do nothing.
    static void watchInterface();

    // The calling thread yields to the interface from now on.
    static void yieldsToInterface();
    // On a thread that yields, waits while the interface is busy, unless
    // the interface waits for this thread; then, on any thread, whether the
    // thread was asked to stop.
    static bool stopRequested();

    // The interface waits for the thread, which then runs whatever the
    // interface does; null once it waits no longer.
    static void interfaceWaitsFor(QThread *thread);
    // Asks the thread to stop, and ends its wait at once.
    static void stop(QThread *thread);
    // On the interface thread, around a wait for a file's lock, which a
    // paused thread may hold: the threads run meanwhile. Elsewhere nothing.
    static void interfaceWaitsForLock(bool waits);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void interfaceAboutToBlock();
    void interfaceAwake();

private:
    explicit InterfaceIdleGate(QObject *application);
    ~InterfaceIdleGate() override;

    static void setInterfaceBusy(bool busy);
};

} // namespace Velmar

#endif // VELMAR_INTERFACEIDLEGATE_H
