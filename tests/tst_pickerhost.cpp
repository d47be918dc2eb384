// The built plug-in end to end: the stand-in host loads the plug-in folder
// from the build tree in a process of its own and calls PluginMain as the
// image editor would, with the demo collection installed where the plug-in
// looks for collections.

#include "DemoCollection.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class tst_PickerHost : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void pluginFolderExportsOnlyTheEntry();
    void otherSelectorsDoNothing();
    void aboutBoxShowsAndCloses_data();
    void aboutBoxShowsAndCloses();
    void pickCallLeavesTheBlockAndMakesTheSwatchFolder_data();
    void pickCallLeavesTheBlockAndMakesTheSwatchFolder();
    void noCollectionReturnsPromptly_data();
    void noCollectionReturnsPromptly();
    void suitesBalancedOverSeveralCalls();
    void failureSwitches_data();
    void failureSwitches();
    void watchdogEndsAHang();

private:
    struct Run {
        int exitCode = -1;
        QString output;
        QString errors;
        qint64 milliseconds = 0;
    };
    Run run(const QStringList &arguments, bool withCollection = true);
    QString dataHome() const { return m_home->path() + QStringLiteral("/data"); }

    QTemporaryDir m_machine;
    QTemporaryDir m_emptyMachine;
    std::unique_ptr<QTemporaryDir> m_home;
};

void tst_PickerHost::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_machine.isValid() && m_emptyMachine.isValid());
    // The machine-wide folder the plug-in scans: the first XDG data folder.
    QString error;
    QVERIFY2(DemoCollection::write(m_machine.filePath(QStringLiteral("Tavo Rindel/Hueform/SQLite")), &error),
             qPrintable(error));
}

void tst_PickerHost::init()
{
    // Each test its own settings and data folder.
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
}

tst_PickerHost::Run tst_PickerHost::run(const QStringList &arguments, bool withCollection)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), m_home->path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->path() + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome());
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), m_home->path() + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), withCollection ? m_machine.path() : m_emptyMachine.path());
    environment.remove(QStringLiteral("QT_PLUGIN_PATH"));
    process.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    process.start(QStringLiteral(PICKER_HOST), arguments);
    Run result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.milliseconds = clock.elapsed();
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    result.errors = QString::fromUtf8(process.readAllStandardError());
    return result;
}

void tst_PickerHost::pluginFolderExportsOnlyTheEntry()
{
    const QDir folder(QStringLiteral(HUEFORM_PLUGIN_FOLDER));
    QCOMPARE(folder.dirName(), QStringLiteral("zumo.photoshop.addon"));
    QVERIFY(QFileInfo(folder.filePath(QStringLiteral("Contents/Resources/help/main.html"))).isFile());
    const QString library = folder.filePath(QStringLiteral("zumo.photoshop.addon.so"));
    QVERIFY(QFileInfo(library).isFile());

    QProcess nm;
    nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"), library});
    QVERIFY(nm.waitForFinished(30000));
    QCOMPARE(nm.exitCode(), 0);
    QStringList symbols;
    const QStringList lines = QString::fromUtf8(nm.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines)
        symbols << line.section(QLatin1Char(' '), 1);
    QCOMPARE(symbols, QStringList{QStringLiteral("T PluginMain")});
}

void tst_PickerHost::otherSelectorsDoNothing()
{
    const Run result = run({QStringLiteral("--selector"), QStringLiteral("2"), QStringLiteral("--c"),
                            QStringLiteral("1,2,3,4")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    // The common start runs (the host's result word was -1 before), nothing shows.
    QCOMPARE(result.output, QStringLiteral("application object built, plug-in attribute on\n"
                                           "library paths at exit: %1\n"
                                           "call 1: result 0, space 0, components 1,2,3,4\n"
                                           "suites: acquired 0, released 0\n")
                                .arg(QLibraryInfo::path(QLibraryInfo::PluginsPath)));
}

void tst_PickerHost::aboutBoxShowsAndCloses_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("close button") << "click:Close";
    QTest::newRow("Return") << "key:Return";
    QTest::newRow("window closed") << "close";
}

void tst_PickerHost::aboutBoxShowsAndCloses()
{
    QFETCH(QString, action);
    const Run result = run({QStringLiteral("--selector"), QStringLiteral("0"), QStringLiteral("--act"), action,
                            QStringLiteral("--act-delay"), QStringLiteral("20")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    // The texts of the demo collection reached the box: the database driver
    // was found among Qt's own plug-ins.
    QCOMPARE(result.output, QStringLiteral("application object built, plug-in attribute on\n"
                                           "shown: Velmar::AboutBox \"About the colour picker\" 680x480\n"
                                           "action: %1\n"
                                           "library paths at exit: %2\n"
                                           "call 1: result 0, space 0, components 0,0,0,0\n"
                                           "suites: acquired 1, released 1\n")
                                .arg(action, QLibraryInfo::path(QLibraryInfo::PluginsPath)));
}

void tst_PickerHost::pickCallLeavesTheBlockAndMakesTheSwatchFolder_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("folder");
    QTest::newRow("version 13") << QStringList{"--host-version", "13"} << "Adobe/Adobe Photoshop CS6/Presets/Color Swatches";
    QTest::newRow("version 9") << QStringList{"--host-version", "9"} << "Adobe/Adobe Photoshop CS2/Presets/Color Swatches";
    QTest::newRow("version 14") << QStringList{"--host-version", "14"} << QString();
    QTest::newRow("no property suite") << QStringList{"--host-version", "13", "--no-property-procs"} << QString();
}

void tst_PickerHost::pickCallLeavesTheBlockAndMakesTheSwatchFolder()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, folder);
    const Run result = run(arguments + QStringList{"--space", "3", "--c", "5000,65336,200,0", "--prompt", "Pick"});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QVERIFY2(result.output.contains(QStringLiteral("call 1: result 0, space 0, components 5000,65336,200,0\n")),
             qPrintable(result.output));
    QVERIFY(!result.output.contains(QStringLiteral("shown:")));
    const QString adobe = dataHome() + QStringLiteral("/Adobe");
    if (folder.isEmpty())
        QVERIFY(!QFileInfo::exists(adobe));
    else
        QVERIFY(QFileInfo(dataHome() + QLatin1Char('/') + folder).isDir());
}

void tst_PickerHost::noCollectionReturnsPromptly_data()
{
    QTest::addColumn<QString>("selector");
    QTest::newRow("about") << "0";
    QTest::newRow("pick") << "1";
}

void tst_PickerHost::noCollectionReturnsPromptly()
{
    QFETCH(QString, selector);
    const Run result = run({QStringLiteral("--selector"), selector, QStringLiteral("--c"), QStringLiteral("9,8,7,6"),
                            QStringLiteral("--watchdog"), QStringLiteral("10")},
                           false);
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QVERIFY(!result.output.contains(QStringLiteral("shown:")));
    QVERIFY2(result.output.contains(QStringLiteral("call 1: result 0, space 0, components 9,8,7,6\n"
                                                   "suites: acquired 1, released 1\n")),
             qPrintable(result.output));
    // Nothing was made for a call that did not start.
    QVERIFY(!QFileInfo::exists(dataHome() + QStringLiteral("/Adobe")));
    QVERIFY2(result.milliseconds < 5000, qPrintable(QString::number(result.milliseconds)));
}

void tst_PickerHost::suitesBalancedOverSeveralCalls()
{
    const Run result = run({QStringLiteral("--calls"), QStringLiteral("3"), QStringLiteral("--c"),
                            QStringLiteral("52428,26214,13107,0")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QCOMPARE(result.output.count(QStringLiteral("application object built")), 3);
    for (int call = 1; call <= 3; ++call) {
        QVERIFY(result.output.contains(
            QStringLiteral("call %1: result 0, space 0, components 52428,26214,13107,0\nsuites: acquired %1, released %1\n")
                .arg(call)));
    }
}

void tst_PickerHost::failureSwitches_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("acquired");
    QTest::newRow("no basic suite") << "--no-basic-suite" << 0;
    QTest::newRow("acquire fails") << "--acquire-fails" << 0;
    QTest::newRow("file specification fails") << "--file-spec-fails" << 1;
    QTest::newRow("no property procs") << "--no-property-procs" << 1;
}

void tst_PickerHost::failureSwitches()
{
    QFETCH(QString, failure);
    QFETCH(int, acquired);
    const QString suites = QStringLiteral("suites: acquired %1, released %1\n").arg(acquired);
    // The about box still opens: the plug-in's path only serves the help link.
    const Run about = run({failure, QStringLiteral("--selector"), QStringLiteral("0"), QStringLiteral("--act"),
                           QStringLiteral("click:Close"), QStringLiteral("--act-delay"), QStringLiteral("10")});
    QVERIFY2(about.exitCode == 0, qPrintable(about.output + about.errors));
    QVERIFY(about.output.contains(QStringLiteral("shown: Velmar::AboutBox")));
    QVERIFY2(about.output.endsWith(QStringLiteral("call 1: result 0, space 0, components 0,0,0,0\n") + suites),
             qPrintable(about.output));

    const Run pick = run({failure, QStringLiteral("--c"), QStringLiteral("1,2,3,4")});
    QVERIFY2(pick.exitCode == 0, qPrintable(pick.output + pick.errors));
    QVERIFY2(pick.output.endsWith(QStringLiteral("call 1: result 0, space 0, components 1,2,3,4\n") + suites),
             qPrintable(pick.output));
}

void tst_PickerHost::watchdogEndsAHang()
{
    // An about box nobody closes.
    const Run result = run({QStringLiteral("--selector"), QStringLiteral("0"), QStringLiteral("--watchdog"),
                            QStringLiteral("1")});
    QCOMPARE(result.exitCode, 3);
    QVERIFY(result.output.contains(QStringLiteral("shown: Velmar::AboutBox")));
    QVERIFY(result.output.endsWith(QStringLiteral("watchdog: the plug-in did not return in time\n")));
    QVERIFY(!result.output.contains(QStringLiteral("call 1:")));
}

QTEST_GUILESS_MAIN(tst_PickerHost)
#include "tst_pickerhost.moc"
