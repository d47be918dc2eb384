// Each picker call builds its own application object, and the toolkit
// empties its connection registry when one is destroyed. The installed
// collections outlive the calls; their connections must be made again.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QTest>

#include <memory>

using namespace Velmar;

class TestConnectionLifetime : public QObject
{
    Q_OBJECT

private slots:
    void queriesWorkAgainAfterTheApplicationIsRebuilt();
};

void TestConnectionLifetime::queriesWorkAgainAfterTheApplicationIsRebuilt()
{
    TestEnvironment::isolate();
    FixtureFolder folder;
    const QUuid uuid(QStringLiteral("{0000000a-0000-0000-0000-000000000001}"));
    int argc = 1;
    char name[] = "tst_connectionlifetime";
    char *argv[] = {name, nullptr};

    for (int call = 0; call < 3; ++call) {
        auto app = std::make_unique<QCoreApplication>(argc, argv);
        if (call == 0) {
            auto writer = folder.createFile(QStringLiteral("deck.db"));
            writer->addCollection(uuid, QStringLiteral("A"), QStringLiteral("Deck A"), 1, true);
            QVERIFY(writer->isOk());
            folder.activate();
            QCOMPARE(DBManager::HasInstalledCollections(), 1);
        }
        QSharedPointer<DB::Collection> collection;
        QCOMPARE(DBManager::GetCollectionByUuid(uuid, collection), 0);
        QCOMPARE(collection->name, QStringLiteral("Deck A"));
        app.reset();
    }
}

QTEST_APPLESS_MAIN(TestConnectionLifetime)
#include "tst_connectionlifetime.moc"
