#include <QtTest>
class tst_PathwardenPane : public QObject { Q_OBJECT };
QTEST_MAIN(tst_PathwardenPane)
#include "tst_PathwardenPane.moc"
