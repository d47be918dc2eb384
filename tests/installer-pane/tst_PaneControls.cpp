#include <QtTest>
class tst_PaneControls : public QObject { Q_OBJECT };
QTEST_MAIN(tst_PaneControls)
#include "tst_PaneControls.moc"
