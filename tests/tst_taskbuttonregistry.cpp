// The main widget's row of task buttons: which button an id gets, where it
// goes in the row, and the hidden button for ids nobody registered.

#include "TestEnvironment.h"

#include "plugin/AboutButton.h"
#include "plugin/HelpButton.h"
#include "plugin/MainWidget.h"
#include "services/Global.h"

#include <QtTest>

using namespace Velmar;

class tst_TaskButtonRegistry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }
    void instanceIsSetBeforeChildrenExist();
    void rowOrderAndIds();
    void unregisteredIdsGiveTheHiddenButton();
};

void tst_TaskButtonRegistry::instanceIsSetBeforeChildrenExist()
{
    // The task buttons are the first children: the instance must already
    // be the widget when they are made.
    MainWidget *instance = nullptr;
    MainWidget widget(instance, nullptr);
    QCOMPARE(instance, &widget);
    QCOMPARE(widget.size(), QSize(800, 600));
    QCOMPARE(widget.sizeHint(), QSize(800, 600));
}

void tst_TaskButtonRegistry::rowOrderAndIds()
{
    MainWidget *instance = nullptr;
    MainWidget widget(instance, nullptr);
    QCOMPARE(widget.taskButtonOrder(), (QList<unsigned short>{1, 2, 3}));
    QVERIFY(qobject_cast<HelpButton *>(widget.taskButton(3)));

    // The picker dialog adds its two buttons after the load button.
    QCOMPARE(widget.registerTaskButton(2), (unsigned short)1000);
    QCOMPARE(widget.registerTaskButton(1000), (unsigned short)1001);
    QCOMPARE(widget.taskButtonOrder(), (QList<unsigned short>{1, 2, 1000, 1001, 3}));

    // An unknown after-id appends; the about button is id 4 at the end.
    QCOMPARE(widget.registerTaskButton(77, 500), (unsigned short)77);
    QCOMPARE(widget.registerAboutTaskButton(), (unsigned short)4);
    QVERIFY(qobject_cast<AboutButton *>(widget.taskButton(4)));
    QCOMPARE(widget.taskButtonOrder(), (QList<unsigned short>{1, 2, 1000, 1001, 3, 77, 4}));
    QCOMPARE(widget.registerTaskButton(-1), (unsigned short)1002);

    // Registering an id twice keeps the first button and its place.
    TaskButton *first = widget.taskButton(1000);
    QCOMPARE(widget.registerTaskButton(1000, 1), (unsigned short)1000);
    QCOMPARE(widget.taskButton(1000), first);
    QCOMPARE(widget.taskButtonOrder().count(1000), 1);
}

void tst_TaskButtonRegistry::unregisteredIdsGiveTheHiddenButton()
{
    MainWidget *instance = nullptr;
    MainWidget widget(instance, nullptr);
    TaskButton *fallback = widget.taskButton(77);
    QVERIFY(fallback);
    QVERIFY(fallback->isHidden());
    QCOMPARE(widget.taskButton(1234), fallback);
    QVERIFY(widget.taskButton(1) != fallback);
}

QTEST_MAIN(tst_TaskButtonRegistry)
#include "tst_taskbuttonregistry.moc"
