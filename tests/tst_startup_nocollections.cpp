// The start-up check when no collection is installed. The table of
// installed collections lives for the whole process, so this case runs in
// a process of its own.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "services/Global.h"
#include "services/Settings.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Velmar;

namespace {

const QUuid chosen(QStringLiteral("{9e000000-0000-4000-8000-000000000001}"));

} // namespace

class TestStartupNoCollections : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void noCollectionFileGivesMinus3();
    void onlyTheSystemWideCollectionGivesMinus3();

private:
    void verifySettingsUntouched();
};

void TestStartupNoCollections::initTestCase()
{
    TestEnvironment::isolate();
    Settings::setHostApplicationKey(QStringLiteral("Photoshop"));
    Settings::setHostApplicationPid(1);
    Settings::setUuidOfLastUsedCollection(chosen);
}

void TestStartupNoCollections::verifySettingsUntouched()
{
    Settings::s_lastUsedCollection = QUuid();
    QCOMPARE(Settings::uuidOfLastUsedCollection(), chosen);
    QCOMPARE(Settings::hostApplicationPid(), qint64(1));
}

void TestStartupNoCollections::noCollectionFileGivesMinus3()
{
    QTemporaryDir empty;
    QCOMPARE(Global::InitializePrerequisites(QStringLiteral("/plug-in"), empty.path()), -3);
    QCOMPARE(Global::g_modulePath, QStringLiteral("/plug-in"));
    QCOMPARE(DBManager::s_preferredLookupFolder, empty.path());
    verifySettingsUntouched();
}

void TestStartupNoCollections::onlyTheSystemWideCollectionGivesMinus3()
{
    FixtureFolder folder;
    {
        auto writer = folder.createFile(QStringLiteral("retired.db"));
        QVERIFY(writer->addCollection(chosen, QStringLiteral("OFF"), QStringLiteral("Switched off"), 1, false) >= 0);
        QVERIFY(writer->isOk());
    }
    QCOMPARE(Global::InitializePrerequisites(QStringLiteral("/plug-in"), folder.lookupFolder()), -3);
    QCOMPARE(DBManager::HasInstalledCollections(), 1);
    verifySettingsUntouched();
}

QTEST_GUILESS_MAIN(TestStartupNoCollections)
#include "tst_startup_nocollections.moc"
