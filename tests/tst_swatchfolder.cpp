// The folder the picker offers for swatch files, by the host's version,
// below the user's data folder.

#include "TestEnvironment.h"

#include "plugin/SwatchFolder.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Velmar;

class tst_SwatchFolder : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }
    void majorVersion_data();
    void majorVersion();
    void folderByVersion_data();
    void folderByVersion();
    void folderThatCannotBeMadeGivesTheBase();
    void dataLocationIsTheUsersDataFolder();
};

void tst_SwatchFolder::majorVersion_data()
{
    QTest::addColumn<qint64>("property");
    QTest::addColumn<qint64>("major");
    QTest::newRow("13.0") << qint64(0x000D0000) << qint64(13);
    QTest::newRow("13.0.1, low half ignored") << qint64(0x000D0001) << qint64(13);
    QTest::newRow("zero") << qint64(0) << qint64(0);
    QTest::newRow("negative shifts arithmetically") << qint64(-65536) << qint64(-1);
    // A pointer-sized answer keeps its upper bits: not version 13.
    QTest::newRow("upper bits") << (qint64(1) << 40 | 0x000D0000) << ((qint64(1) << 24) | 13);
}

void tst_SwatchFolder::majorVersion()
{
    QFETCH(qint64, property);
    QFETCH(qint64, major);
    QCOMPARE(SwatchFolder::majorVersion(static_cast<intptr_t>(property)), major);
}

void tst_SwatchFolder::folderByVersion_data()
{
    QTest::addColumn<qint64>("major");
    QTest::addColumn<QString>("subPath");
    QTest::newRow("8") << qint64(8) << QString();
    QTest::newRow("9") << qint64(9) << "Adobe/Adobe Photoshop CS2/Presets/Color Swatches";
    QTest::newRow("10") << qint64(10) << "Adobe/Adobe Photoshop CS3/Presets/Color Swatches";
    QTest::newRow("11") << qint64(11) << "Adobe/Adobe Photoshop CS4/Presets/Color Swatches";
    QTest::newRow("12") << qint64(12) << "Adobe/Adobe Photoshop CS5/Presets/Color Swatches";
    QTest::newRow("13") << qint64(13) << "Adobe/Adobe Photoshop CS6/Presets/Color Swatches";
    QTest::newRow("14") << qint64(14) << QString();
    QTest::newRow("0") << qint64(0) << QString();
}

void tst_SwatchFolder::folderByVersion()
{
    QFETCH(qint64, major);
    QFETCH(QString, subPath);
    QTemporaryDir data;
    QVERIFY(data.isValid());

    QCOMPARE(SwatchFolder::subPathFor(major), subPath.isEmpty() ? QString() : subPath + QLatin1Char('/'));
    const QString folder = SwatchFolder::choose(data.path(), major);
    if (subPath.isEmpty()) {
        QCOMPARE(folder, data.path());
        // Nothing was made below the data folder.
        QVERIFY(QDir(data.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    } else {
        QCOMPARE(folder, data.filePath(subPath));
        QVERIFY(QFileInfo(folder).isDir());
        // A second call finds the folder there.
        QCOMPARE(SwatchFolder::choose(data.path(), major), folder);
    }
}

void tst_SwatchFolder::folderThatCannotBeMadeGivesTheBase()
{
    QTemporaryDir data;
    QVERIFY(data.isValid());
    // A file where the vendor folder would go.
    QFile blocker(data.filePath(QStringLiteral("Adobe")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QCOMPARE(SwatchFolder::choose(data.path(), 12), data.path());
    QVERIFY(QFileInfo(blocker.fileName()).isFile());

    // No data folder at all: no folder, rather than the working folder.
    QCOMPARE(SwatchFolder::choose(QString(), 13), QString());
}

void tst_SwatchFolder::dataLocationIsTheUsersDataFolder()
{
    const QString expected = TestEnvironment::root() + QStringLiteral("/data");
    QCOMPARE(SwatchFolder::dataLocation(), expected);
    QCOMPARE(SwatchFolder::choose(SwatchFolder::dataLocation(), 13),
             expected + QStringLiteral("/Adobe/Adobe Photoshop CS6/Presets/Color Swatches"));
}

QTEST_GUILESS_MAIN(tst_SwatchFolder)
#include "tst_swatchfolder.moc"
