#include "plugin/ApplicationSkeleton.h"

#include <QDebug>
#include <QPointer>

namespace Velmar {

ApplicationSkeleton::ApplicationSkeleton(int &argc, char **argv, int version)
    : QApplication(argc, argv, version)
{
}

bool ApplicationSkeleton::notify(QObject *receiver, QEvent *event)
{
    // The handler that threw may have deleted the receiver.
    const QPointer<QObject> guard(receiver);
    const int type = event ? int(event->type()) : 0;
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        qDebug() << "Application caught an exception from" << (guard ? guard->objectName() : QString())
                 << "from event type" << type;
    }
    return false;
}

} // namespace Velmar
