#include <QtTest>
class tst_InstallerHost : public QObject { Q_OBJECT };
QTEST_MAIN(tst_InstallerHost)
#include "tst_InstallerHost.moc"
