#include <QtTest>
class tst_InstallationSearch : public QObject { Q_OBJECT };
QTEST_MAIN(tst_InstallationSearch)
#include "tst_InstallationSearch.moc"
