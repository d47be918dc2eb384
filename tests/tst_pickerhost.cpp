// The built plug-in end to end: the stand-in host loads the plug-in folder
// from the build tree in a process of its own and calls PluginMain as the
// image editor would, with the demo collection installed where the plug-in
// looks for collections. The picker dialog's own calls are in
// tst_pickerhostdialog.

#include "PickerHostRunner.h"
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
    void helpNamesEveryAction();
    void badArgumentsAreRefused_data();
    void badArgumentsAreRefused();
    void saysWhatToDoWithoutAWindowingPlatform_data();
    void saysWhatToDoWithoutAWindowingPlatform();
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
    void actionsNotPlayedFailTheRun_data();
    void actionsNotPlayedFailTheRun();
    void actionsThatCannotBePlayedFailTheRun_data();
    void actionsThatCannotBePlayedFailTheRun();
    void watchdogEndsAHang();

private:
    using Run = PickerHostRunner::Result;
    Run run(const QStringList &arguments, bool withCollection = true) const
    {
        return m_host.run(arguments, withCollection);
    }
    QString dataHome() const { return m_host.dataHome(); }

    PickerHostRunner m_host;
};

void tst_PickerHost::initTestCase()
{
    TestEnvironment::isolate();
    QString error;
    QVERIFY2(m_host.setUp(&error), qPrintable(error));
}

void tst_PickerHost::init()
{
    // Each test its own settings and data folder.
    QVERIFY(m_host.newHome());
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

void tst_PickerHost::helpNamesEveryAction()
{
    const Run result = run({QStringLiteral("--help")});
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.output.startsWith(QStringLiteral("Usage: picker-host [options] plug-in\n")), qPrintable(result.output));
    // Folded as the parser folds the help: one line of words.
    const QString help = result.output.simplified();
    for (const char *action : {"close (", "click:<text> (", "invoke:<slot> (", "key:<key> (", "type:<text> (",
                               "screenshot:<file> (", "await:<class or title> (", "press:<x>,<y> (", "buttons ("}) {
        QVERIFY2(help.contains(QLatin1String(action)), action);
    }
}

void tst_PickerHost::badArgumentsAreRefused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no calls") << QStringList{"--calls", "0", "--act", "close"};
    QTest::newRow("more calls than the host makes") << QStringList{"--calls", "1001", "--act", "close"};
    QTest::newRow("no time for the watchdog") << QStringList{"--watchdog", "0", "--act", "close"};
    QTest::newRow("five components") << QStringList{"--c", "1,2,3,4,5", "--act", "close"};
}

void tst_PickerHost::badArgumentsAreRefused()
{
    QFETCH(QStringList, arguments);
    const Run result = run(arguments);
    QVERIFY2(result.exitCode == 2, qPrintable(result.output + result.errors));
    QVERIFY2(result.errors.startsWith(QStringLiteral("picker-host: ")), qPrintable(result.errors));
    // Refused before the plug-in was called.
    QCOMPARE(result.output, QString());
}

void tst_PickerHost::saysWhatToDoWithoutAWindowingPlatform_data()
{
    using Environment = PickerHostRunner::Environment;
    QTest::addColumn<Environment>("environment");
    QTest::addColumn<QString>("reason"); // empty when the picker opens
    // No display of either kind, nor a Wayland socket where one is looked
    // for; the host's options are those the README's users give.
    const Environment noDisplay{{"QT_QPA_PLATFORM", QString()}, {"DISPLAY", QString()},
                                {"WAYLAND_DISPLAY", QString()}, {"WAYLAND_SOCKET", QString()},
                                {"XDG_SESSION_TYPE", QString()}, {"XDG_RUNTIME_DIR", QStringLiteral("/nonexistent")}};
    const auto with = [noDisplay](const QString &platform) {
        Environment environment = noDisplay;
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        return environment;
    };
    QTest::newRow("no display") << noDisplay << "there is no display (DISPLAY and WAYLAND_DISPLAY are not set)";
    QTest::newRow("a platform Qt lacks") << with("nosuch") << "Qt has no platform plug-in \"nosuch\" (installed: ";
    QTest::newRow("X without a display") << with("xcb") << "the platform \"xcb\" needs an X display";
    // Qt tries the platforms named in turn: one that can be had is enough.
    QTest::newRow("a platform Qt lacks, then offscreen") << with("nosuch;offscreen") << QString();
}

void tst_PickerHost::saysWhatToDoWithoutAWindowingPlatform()
{
    QFETCH(PickerHostRunner::Environment, environment);
    QFETCH(QString, reason);
    const Run result = m_host.run({"--space", "5", "--act", "close"}, true, {}, environment);
    if (reason.isEmpty()) {
        QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
        QVERIFY2(result.output.contains(QStringLiteral("shown: AddOnMainWindow")), qPrintable(result.output));
        return;
    }
    // Refused before the plug-in was called, instead of Qt's abort in it.
    QVERIFY2(result.exitCode == 5, qPrintable(QString::number(result.exitCode) + ": " + result.errors));
    QCOMPARE(result.output, QString());
    QVERIFY2(result.errors.startsWith(QStringLiteral("picker-host: no windowing platform for the plug-in's windows: ")
                                      + reason),
             qPrintable(result.errors));
    QVERIFY2(result.errors.endsWith(QStringLiteral("\nRun it on a display, under xvfb-run, with QT_QPA_PLATFORM=offscreen, "
                                                   "or through tools/run-picker.sh --offscreen.\n")),
             qPrintable(result.errors));
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
    // A grey in Lab: the picker offers the nearest chips, and both windows are closed.
    const Run result = run(arguments
                           + QStringList{"--space", "3", "--c", "5000,65336,200,0", "--prompt", "Pick", "--act",
                                         "await:Velmar::SelectNearestColorDialog", "--act", "close", "--act",
                                         "await:AddOnMainWindow", "--act", "close", "--act-delay", "20"});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QVERIFY2(result.output.contains(QStringLiteral("call 1: result 0, space 0, components 5000,65336,200,0\n")),
             qPrintable(result.output));
    QVERIFY(result.output.contains(QStringLiteral("shown: AddOnMainWindow \"Pick\" 800x600\n")));
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
                            QStringLiteral("52428,26214,13107,0"), QStringLiteral("--act"),
                            QStringLiteral("await:Velmar::SelectNearestColorDialog"), QStringLiteral("--act"),
                            QStringLiteral("close"), QStringLiteral("--act"), QStringLiteral("await:AddOnMainWindow"),
                            QStringLiteral("--act"), QStringLiteral("close"), QStringLiteral("--act-delay"),
                            QStringLiteral("20")});
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
    QTest::newRow("plug-in file look-up fails") << "--file-spec-fails" << 1;
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

    const Run pick = run({failure, QStringLiteral("--space"), QStringLiteral("5"), QStringLiteral("--c"),
                          QStringLiteral("1,2,3,4"), QStringLiteral("--act"), QStringLiteral("close")});
    QVERIFY2(pick.exitCode == 0, qPrintable(pick.output + pick.errors));
    QVERIFY(pick.output.contains(QStringLiteral("shown: AddOnMainWindow")));
    QVERIFY2(pick.output.endsWith(QStringLiteral("call 1: result 0, space 0, components 1,2,3,4\n") + suites),
             qPrintable(pick.output));
}

void tst_PickerHost::actionsNotPlayedFailTheRun_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("withCollection");
    QTest::addColumn<QStringList>("notPlayed");
    // The screenshot's file name is filled in by the test.
    QTest::newRow("the first action closes the about box")
        << QStringList{"--selector", "0", "--act", "click:Close", "--act", "click:Close", "--act", "screenshot:"} << true
        << QStringList{"click:Close", "screenshot:"};
    QTest::newRow("no collection, no window") << QStringList{"--act", "buttons", "--act", "screenshot:"} << false
                                              << QStringList{"buttons", "screenshot:"};
    QTest::newRow("a selector that shows nothing") << QStringList{"--selector", "2", "--act", "close"} << true
                                                   << QStringList{"close"};
    QTest::newRow("after a failed action")
        << QStringList{"--selector", "0", "--act", "click:No such button", "--act", "screenshot:"} << true
        << QStringList{"screenshot:"};
}

void tst_PickerHost::actionsNotPlayedFailTheRun()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, withCollection);
    QFETCH(QStringList, notPlayed);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString screenshot = folder.filePath(QStringLiteral("picture.png"));
    for (QStringList *list : {&arguments, &notPlayed})
        list->replaceInStrings(QRegularExpression(QStringLiteral("^screenshot:$")), QStringLiteral("screenshot:") + screenshot);

    const Run result = run(arguments + QStringList{"--act-delay", "20", "--watchdog", "20"}, withCollection);
    QVERIFY2(result.exitCode == 4, qPrintable(result.output + result.errors));
    // Each named when its call returns, in the order given.
    QString lines;
    for (const QString &action : qAsConst(notPlayed))
        lines += QStringLiteral("action not played: %1\n").arg(action);
    QVERIFY2(result.output.contains(lines + QStringLiteral("call 1: result 0")), qPrintable(result.output));
    QCOMPARE(result.output.count(QStringLiteral("action not played: ")), notPlayed.size());
    QVERIFY(!QFileInfo::exists(screenshot));
}

void tst_PickerHost::actionsThatCannotBePlayedFailTheRun_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("a key name nobody knows") << "key:Retrun";
    QTest::newRow("a known modifier on an unknown key") << "key:Ctrl+Retrun";
    QTest::newRow("two keys, of which one would be pressed") << "key:Return, Escape";
    QTest::newRow("no key") << "key:";
    QTest::newRow("an action word nobody knows") << "shut";
}

void tst_PickerHost::actionsThatCannotBePlayedFailTheRun()
{
    QFETCH(QString, action);
    // The about box, whose Return would close it as the action after it does.
    const Run result = run({"--selector", "0", "--act", action, "--act", "close", "--act-delay", "20", "--watchdog", "20"});
    QVERIFY2(result.exitCode == 4, qPrintable(result.output + result.errors));
    QVERIFY2(result.output.contains(QStringLiteral("shown: Velmar::AboutBox \"About the colour picker\" 680x480\n"
                                                   "action failed: %1\n")
                                        .arg(action)),
             qPrintable(result.output));
    // The failure closed the box: nothing after it was played.
    QVERIFY2(result.output.contains(QStringLiteral("action not played: close\ncall 1: result 0")), qPrintable(result.output));
    QVERIFY(!result.output.contains(QStringLiteral("action: ")));
}

void tst_PickerHost::watchdogEndsAHang()
{
    // An about box nobody closes. The watchdog leaves time for the box to
    // show on a slow build too (a sanitized one takes about a second).
    const Run result = run({QStringLiteral("--selector"), QStringLiteral("0"), QStringLiteral("--watchdog"),
                            QStringLiteral("5")});
    QCOMPARE(result.exitCode, 3);
    QVERIFY(result.output.contains(QStringLiteral("shown: Velmar::AboutBox")));
    QVERIFY(result.output.endsWith(QStringLiteral("watchdog: the plug-in did not return in time\n")));
    QVERIFY(!result.output.contains(QStringLiteral("call 1:")));
}

QTEST_GUILESS_MAIN(tst_PickerHost)
#include "tst_pickerhost.moc"
