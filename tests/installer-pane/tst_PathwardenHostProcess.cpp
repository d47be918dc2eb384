#include <QtTest>
class tst_PathwardenHostProcess : public QObject { Q_OBJECT };
QTEST_MAIN(tst_PathwardenHostProcess)
#include "tst_PathwardenHostProcess.moc"
