// The factories of the about box and of the one main widget.

#include "TestEnvironment.h"

#include "plugin/AboutBox.h"
#include "plugin/MainWidget.h"
#include "services/Global.h"

#include <QChildEvent>
#include <QPointer>
#include <QtTest>

#include <memory>

using namespace Velmar;

namespace {

// Sees every child being added to a main widget and notes whether the
// global pointed at that widget at the time.
class ChildWatcher : public QObject
{
public:
    int children = 0;
    int childrenWhileUnpublished = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ChildAdded && qobject_cast<MainWidget *>(watched)) {
            ++children;
            if (Global::g_mainWidget != watched)
                ++childrenWhileUnpublished;
        }
        return false;
    }
};

} // namespace

class tst_WidgetFactories : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }
    void aboutBoxIgnoresTheEngine();
    void mainWidgetIsPublishedBeforeItsChildren();
    void globalsForgetADestroyedWidget();
};

void tst_WidgetFactories::aboutBoxIgnoresTheEngine()
{
    QWidget parent;
    std::unique_ptr<AboutBox> box(Global::aboutBox(&parent, QStringLiteral("Engine 2.0")));
    QVERIFY(box);
    QCOMPARE(box->engine(), QString());
    QCOMPARE(box->parentWidget(), &parent);
    std::unique_ptr<AboutBox> alone(Global::aboutBox(nullptr, QString()));
    QVERIFY(!alone->parent());
}

void tst_WidgetFactories::mainWidgetIsPublishedBeforeItsChildren()
{
    ChildWatcher watcher;
    qApp->installEventFilter(&watcher);
    QWidget dialog;
    QWidget hostWindow;
    MainWidget *widget = Global::createMainWidget(&dialog, &hostWindow);
    qApp->removeEventFilter(&watcher);

    QVERIFY(widget);
    QCOMPARE(widget->parentWidget(), &dialog);
    QCOMPARE(Global::g_mainWidget, widget);
    QCOMPARE(Global::g_hostWindowWidget, &hostWindow);
    QVERIFY(watcher.children > 0);
    QCOMPARE(watcher.childrenWhileUnpublished, 0);
}

void tst_WidgetFactories::globalsForgetADestroyedWidget()
{
    auto dialog = std::make_unique<QWidget>();
    MainWidget *first = Global::createMainWidget(dialog.get(), dialog.get());
    QCOMPARE(Global::g_mainWidget, first);
    QCOMPARE(Global::g_hostWindowWidget, dialog.get());
    dialog.reset();
    QCOMPARE(Global::g_mainWidget, nullptr);
    QCOMPARE(Global::g_hostWindowWidget, nullptr);

    // A widget that is no longer the published one leaves the global alone.
    QWidget secondDialog;
    auto *older = Global::createMainWidget(&secondDialog, &secondDialog);
    auto *newer = Global::createMainWidget(&secondDialog, &secondDialog);
    delete older;
    QCOMPARE(Global::g_mainWidget, newer);
}

QTEST_MAIN(tst_WidgetFactories)
#include "tst_widgetfactories.moc"
