#include <QtTest>
class tst_TargetScript : public QObject { Q_OBJECT };
QTEST_MAIN(tst_TargetScript)
#include "tst_TargetScript.moc"
