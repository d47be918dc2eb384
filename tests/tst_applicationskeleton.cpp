// The application object of a host call: an exception thrown while an event
// is delivered is logged and the event counts as not handled; delivery then
// goes on.

#include "TestEnvironment.h"

#include "plugin/ApplicationSkeleton.h"

#include <QtTest>

#include <stdexcept>

using namespace Velmar;

namespace {

const QEvent::Type Boom = QEvent::Type(QEvent::User + 7);

class Thrower : public QObject
{
public:
    int handled = 0;
    bool deleteSelf = false;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == Boom) {
            if (deleteSelf)
                delete this;
            throw std::runtime_error("boom");
        }
        if (event->type() == QEvent::User) {
            ++handled;
            return true;
        }
        return QObject::event(event);
    }
};

} // namespace

class tst_ApplicationSkeleton : public QObject
{
    Q_OBJECT

private slots:
    void isAQApplication();
    void exceptionIsLoggedAndDeliveryGoesOn();
    void receiverDeletedByTheThrowingHandler();
    void postedEventThatThrows();
};

void tst_ApplicationSkeleton::isAQApplication()
{
    QVERIFY(qobject_cast<ApplicationSkeleton *>(QCoreApplication::instance()));
    QVERIFY(qobject_cast<QApplication *>(QCoreApplication::instance()));
}

void tst_ApplicationSkeleton::exceptionIsLoggedAndDeliveryGoesOn()
{
    Thrower thrower;
    thrower.setObjectName(QStringLiteral("chip roller"));
    QTest::ignoreMessage(QtDebugMsg,
                         qPrintable(QStringLiteral("Application caught an exception from \"chip roller\" from event type %1")
                                        .arg(int(Boom))));
    QEvent boom(Boom);
    QCOMPARE(QCoreApplication::sendEvent(&thrower, &boom), false);

    QEvent ordinary(QEvent::User);
    QCOMPARE(QCoreApplication::sendEvent(&thrower, &ordinary), true);
    QCOMPARE(thrower.handled, 1);
}

void tst_ApplicationSkeleton::receiverDeletedByTheThrowingHandler()
{
    auto *thrower = new Thrower;
    thrower->setObjectName(QStringLiteral("gone"));
    thrower->deleteSelf = true;
    QTest::ignoreMessage(QtDebugMsg,
                         qPrintable(QStringLiteral("Application caught an exception from \"\" from event type %1")
                                        .arg(int(Boom))));
    QEvent boom(Boom);
    QCOMPARE(QCoreApplication::sendEvent(thrower, &boom), false);
}

void tst_ApplicationSkeleton::postedEventThatThrows()
{
    Thrower thrower;
    thrower.setObjectName(QStringLiteral("posted"));
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("^Application caught an exception from \"posted\"")));
    QCoreApplication::postEvent(&thrower, new QEvent(Boom));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&thrower);
    QCOMPARE(thrower.handled, 1);
}

// The object is built as the host entry builds it: no arguments, and the
// Qt version as the third argument.
int main(int, char **)
{
    TestEnvironment::isolate();
    QCoreApplication::setAttribute(Qt::AA_PluginApplication, true);
    int argc = 0;
    ApplicationSkeleton application(argc, nullptr, QT_VERSION);
    tst_ApplicationSkeleton test;
    // No command line reaches the object; the test runner gets its own.
    char name[] = "tst_applicationskeleton";
    char *arguments[] = {name, nullptr};
    return QTest::qExec(&test, 1, arguments);
}

#include "tst_applicationskeleton.moc"
