#ifndef VELMAR_APPLICATIONSKELETON_H
#define VELMAR_APPLICATIONSKELETON_H

#include <QApplication>

namespace Velmar {

// The application object of one host call. Event delivery never lets an
// exception run back into the host's own code: it is logged and the event
// counts as not handled.
class ApplicationSkeleton : public QApplication
{
    Q_OBJECT

public:
    // version is the Qt version the caller was built against (QT_VERSION).
    ApplicationSkeleton(int &argc, char **argv, int version);

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace Velmar

#endif // VELMAR_APPLICATIONSKELETON_H
