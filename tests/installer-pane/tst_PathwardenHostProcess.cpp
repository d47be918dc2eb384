#include "PaneFixture.h"
#include "ProcessRun.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <csignal>

// pathwarden-host as a real process: it loads the Pathwarden bundle of the
// sample package, and the fake system programs on PATH answer the search.
class tst_PathwardenHostProcess : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }

    void listsTheSampleMachinesInstallations();
    void picksARow();
    void reportsNothingFound();
    void showsFolderNamesLiterally();
    void failsWhenTheTargetCannotBeRecorded_data();
    void failsWhenTheTargetCannotBeRecorded();
    void quitsWhileAProgramHangs();
    void failsOnBadArguments_data();
    void failsOnBadArguments();
    void helpAndOptionErrorsNeedNoDisplay_data();
    void helpAndOptionErrorsNeedNoDisplay();
    void saysWhatToDoWithoutAWindowingPlatform_data();
    void saysWhatToDoWithoutAWindowingPlatform();

private:
    using Run = ProcessRun;
    // Runs pathwarden-host; without a display it has no platform plug-in
    // named and no X or Wayland display to connect to.
    static Run run(const QStringList &arguments, const QString &programFolder, bool display = true);
    static QStringList baseArguments(const PaneFixture &fixture);
    // The fixture's package with the built pane bundle as "Built.bundle",
    // the usual rule for "Example.app", and one application in each folder,
    // as the fixture's system_profiler reports them.
    static QStringList makeMachine(PaneFixture &fixture, const QStringList &folders);
};

tst_PathwardenHostProcess::Run tst_PathwardenHostProcess::run(const QStringList &arguments,
                                                              const QString &programFolder, bool display)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", programFolder + ":/usr/bin:/bin");
    if (display) {
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    } else {
        for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "WAYLAND_SOCKET", "XDG_SESSION_TYPE"})
            environment.remove(name);
        environment.insert("XDG_RUNTIME_DIR", "/nonexistent");
    }
    environment.insert("LANG", "C.UTF-8");
    environment.insert("LC_ALL", "C.UTF-8");
    environment.remove("LANGUAGE");
    process.setProcessEnvironment(environment);
    return ProcessRun::of(process, PATHWARDEN_HOST, arguments);
}

QStringList tst_PathwardenHostProcess::baseArguments(const PaneFixture &fixture)
{
    return {"--headless", "--script-folder", fixture.path("scripts"), "--vpd-file", fixture.path("none.vpd"),
            "--system-version-file", fixture.path("none.plist")};
}

QStringList tst_PathwardenHostProcess::makeMachine(PaneFixture &fixture, const QStringList &folders)
{
    QByteArray report = "Applications:\n\n";
    for (const QString &folder : folders) {
        fixture.makeApp(fixture.path(folder), "Example.app", PaneFixture::appInfo("com.example", "2.0"));
        report += "      Location: " + fixture.path(folder).toUtf8() + "/Example.app\n\n";
    }
    fixture.makeProgram("system_profiler", report);
    fixture.makeProgram("lsregister", "");
    fixture.makePackage(PaneFixture::rule("Example\\.app", "CFBundleIdentifier == 'com.example'", "install-target.sh"),
                        PaneFixture::englishStrings());
    QFile::link(PATHWARDEN_SAMPLE_PACKAGE "/Contents/Plugins/Pathwarden.bundle",
                fixture.path("Test.pkg/Contents/Plugins/Built.bundle"));
    return baseArguments(fixture) << "--bundle" << "Built.bundle" << fixture.packagePath();
}

void tst_PathwardenHostProcess::listsTheSampleMachinesInstallations()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    const Run result = run(baseArguments(fixture) << PATHWARDEN_SAMPLE_PACKAGE, PATHWARDEN_SAMPLE_MACHINE "/bin");
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    const QString apps = QDir(PATHWARDEN_SAMPLE_MACHINE).canonicalPath() + "/Applications";
    const QString script = fixture.path("scripts/hueform-target-path.sh");
    // The CS3 copy is too old for the sample rule.
    QCOMPARE(result.output, "page: Target application\n"
                            "pane title: Target application\n"
                            "message: Several copies of the host application were found. "
                            "Choose the one the colour picker is installed for:\n"
                            "row 0 [x] " + apps + "/Adobe Photoshop 2024\n"
                            "row 1 [ ] " + apps + "/Adobe Photoshop 2023\n"
                            "previous: enabled\n"
                            "next: enabled\n"
                            "script: " + script + " (mode 0755)\n"
                            "#!/bin/sh\n"
                            "echo \"" + apps + "/Adobe Photoshop 2024\"\n");
}

void tst_PathwardenHostProcess::picksARow()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    const Run result = run(baseArguments(fixture) << "--pick" << "1" << PATHWARDEN_SAMPLE_PACKAGE,
                           PATHWARDEN_SAMPLE_MACHINE "/bin");
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    const QString apps = QDir(PATHWARDEN_SAMPLE_MACHINE).canonicalPath() + "/Applications";
    QVERIFY(result.output.contains("row 1 [x] " + apps + "/Adobe Photoshop 2023\n"));
    QVERIFY(result.output.endsWith("#!/bin/sh\necho \"" + apps + "/Adobe Photoshop 2023\"\n"));

    const Run missing = run(baseArguments(fixture) << "--pick" << "5" << PATHWARDEN_SAMPLE_PACKAGE,
                            PATHWARDEN_SAMPLE_MACHINE "/bin");
    QCOMPARE(missing.exitCode, 4);
    QVERIFY(missing.output.contains("no row 5 to pick"));
}

void tst_PathwardenHostProcess::reportsNothingFound()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.makeProgram("system_profiler", "Applications:\n");
    fixture.makeProgram("lsregister", "");
    const Run result = run(baseArguments(fixture) << PATHWARDEN_SAMPLE_PACKAGE, fixture.path("bin"));
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QVERIFY(result.output.contains("message: No suitable copy of the host application was found."));
    QVERIFY(result.output.contains("previous: enabled\nnext: disabled\nscript: none\n"));
    QCOMPARE(fixture.ranLog(), (QStringList{"system_profiler SPApplicationsDataType", "lsregister -dump"}));
}

void tst_PathwardenHostProcess::showsFolderNamesLiterally()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    QStringList arguments = makeMachine(fixture, {"R&D One", "R&D Two"});
    const Run result = run(arguments << "--pick" << "1", fixture.path("bin"));
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QVERIFY2(result.output.contains("message: MoreThanOneApp text\n"
                                    "row 0 [ ] " + fixture.path("R&D One") + "\n"
                                    "row 1 [x] " + fixture.path("R&D Two") + "\n"),
             qPrintable(result.output));
    QVERIFY(result.output.endsWith("echo \"" + fixture.path("R&D Two") + "\"\n"));
}

void tst_PathwardenHostProcess::failsWhenTheTargetCannotBeRecorded_data()
{
    QTest::addColumn<QString>("folder"); // the script folder, in the fixture's folder unless absolute
    QTest::addColumn<QStringList>("pick");
    QTest::newRow("a plain file") << "blocker" << QStringList();
    QTest::newRow("a folder below a plain file") << "blocker/scripts" << QStringList();
    QTest::newRow("a missing folder") << "missing" << QStringList();
    QTest::newRow("a folder nobody writes into") << "/proc" << QStringList();
    // Another choice is written to the same place, and fails as well.
    QTest::newRow("the second row picked") << "missing" << QStringList{"--pick", "1"};
}

void tst_PathwardenHostProcess::failsWhenTheTargetCannotBeRecorded()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, pick);
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.writeFile("blocker", "file");
    const QString scriptFolder = QDir::isAbsolutePath(folder) ? folder : fixture.path(folder);
    QStringList arguments = baseArguments(fixture);
    arguments[arguments.indexOf("--script-folder") + 1] = scriptFolder;
    const Run result = run(arguments << pick << PATHWARDEN_SAMPLE_PACKAGE, PATHWARDEN_SAMPLE_MACHINE "/bin");
    // The pane says so and keeps Continue off; a caller that only looks at
    // the status learns it too.
    QVERIFY2(result.exitCode == 6, qPrintable(QString::number(result.exitCode) + ": " + result.output + result.errors));
    QVERIFY2(result.output.contains("message: The folder of the host application could not be recorded for the "
                                    "installation, so the colour picker cannot be installed now. Run this installer "
                                    "again later.\n"
                                    "message: Several copies of the host application were found."),
             qPrintable(result.output));
    QVERIFY2(result.output.endsWith("previous: enabled\nnext: disabled\nscript: not written: " + scriptFolder
                                    + "/hueform-target-path.sh\n"),
             qPrintable(result.output));
}

void tst_PathwardenHostProcess::quitsWhileAProgramHangs()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    QStringList arguments = makeMachine(fixture, {"One"});
    const QString pidFile = fixture.path("hung.pid");
    fixture.makeProgram("system_profiler", "", 0,
                        "echo $$ > '" + pidFile + "'\ntrap '' TERM\nwhile :; do sleep 1; done");
    QElapsedTimer timer;
    timer.start();
    const Run result = run(arguments << "--timeout" << "1", fixture.path("bin"));
    QCOMPARE(result.exitCode, 3);
    QVERIFY(result.output.contains("timed out waiting for the pane"));
    QVERIFY2(timer.elapsed() < 15000, qPrintable(QString::number(timer.elapsed())));
    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const pid_t program = pid_t(file.readAll().trimmed().toInt());
    QVERIFY(program > 0);
    QTRY_COMPARE_WITH_TIMEOUT(::kill(program, 0), -1, 5000);
}

void tst_PathwardenHostProcess::failsOnBadArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("no package") << QStringList{"--headless"} << 2;
    QTest::newRow("not a package") << QStringList{"--headless", "/nonexistent/Package.pkg"} << 1;
    QTest::newRow("other bundle") << QStringList{"--headless", "--bundle", "Other.bundle", PATHWARDEN_SAMPLE_PACKAGE}
                                  << 1;
    QTest::newRow("bad row") << QStringList{"--headless", "--pick", "x", PATHWARDEN_SAMPLE_PACKAGE} << 2;
}

void tst_PathwardenHostProcess::failsOnBadArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    const Run result = run(arguments, fixture.path("bin"));
    QCOMPARE(result.exitCode, exitCode);
}

void tst_PathwardenHostProcess::helpAndOptionErrorsNeedNoDisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("errors");
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage:" << "";
    QTest::newRow("help with a package") << QStringList{"-h", PATHWARDEN_SAMPLE_PACKAGE} << 0 << "--headless" << "";
    // Every argument error has the one status for bad arguments.
    QTest::newRow("unknown option") << QStringList{"--no-such-option", PATHWARDEN_SAMPLE_PACKAGE} << 2 << ""
                                    << "pathwarden-host: Unknown option 'no-such-option'. See --help.\n";
    QTest::newRow("option without its value") << QStringList{PATHWARDEN_SAMPLE_PACKAGE, "--pick"} << 2 << ""
                                              << "Missing value after '--pick'";
    QTest::newRow("no package") << QStringList{} << 2 << "" << "name one package folder\n\nUsage:";
    QTest::newRow("two packages") << QStringList{"a.pkg", "b.pkg"} << 2 << "" << "name one package folder\n\nUsage:";
    QTest::newRow("bad row") << QStringList{"--pick", "x", PATHWARDEN_SAMPLE_PACKAGE} << 2 << ""
                             << "--pick takes a row number";
    // The toolkit's own options are accepted and left to it.
    QTest::newRow("toolkit options") << QStringList{"-style", "fusion", "-reverse", "--platform=offscreen", "--help"}
                                     << 0 << "Usage:" << "";
    QTest::newRow("toolkit option, then an unknown one")
        << QStringList{"-platform", "offscreen", "--no-such-option", PATHWARDEN_SAMPLE_PACKAGE} << 2 << ""
        << "Unknown option 'no-such-option'";
    QTest::newRow("bad timeout") << QStringList{"--headless", "--timeout", "0", PATHWARDEN_SAMPLE_PACKAGE} << 2 << ""
                                 << "--timeout a number of seconds";
    // Its milliseconds would overflow, and the wait have no limit.
    QTest::newRow("a timeout past what the wait counts")
        << QStringList{"--headless", "--timeout", "3000000", PATHWARDEN_SAMPLE_PACKAGE} << 2 << ""
        << "--timeout a number of seconds from 1 to 2147483\n";
}

void tst_PathwardenHostProcess::helpAndOptionErrorsNeedNoDisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, errors);
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    const Run result = run(arguments, fixture.path("bin"), false);
    QVERIFY2(result.exitCode == exitCode, qPrintable(QString::number(result.exitCode) + ": " + result.errors));
    QVERIFY2(result.output.contains(output), qPrintable(result.output));
    QVERIFY2(result.errors.contains(errors), qPrintable(result.errors));
}

void tst_PathwardenHostProcess::saysWhatToDoWithoutAWindowingPlatform_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason"); // empty when the headless run goes through
    QTest::newRow("the window") << QStringList{PATHWARDEN_SAMPLE_PACKAGE}
                                << "there is no display (DISPLAY and WAYLAND_DISPLAY are not set)";
    // The platform of the arguments counts over the headless run's own.
    QTest::newRow("headless, on a platform Qt lacks")
        << QStringList{"-platform", "nosuch", "--headless", PATHWARDEN_SAMPLE_PACKAGE}
        << "Qt has no platform plug-in \"nosuch\" (installed: ";
    QTest::newRow("headless") << QStringList{"--headless", PATHWARDEN_SAMPLE_PACKAGE} << QString();
}

void tst_PathwardenHostProcess::saysWhatToDoWithoutAWindowingPlatform()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    const Run result = run(QStringList{"--script-folder", fixture.path("scripts")} + arguments,
                           PATHWARDEN_SAMPLE_MACHINE "/bin", false);
    if (reason.isEmpty()) {
        QVERIFY2(result.exitCode == 0, qPrintable(QString::number(result.exitCode) + ": " + result.errors));
        QVERIFY2(result.output.contains("next: enabled\n"), qPrintable(result.output));
        return;
    }
    // Said before the application object is built, instead of Qt's abort.
    QVERIFY2(result.exitCode == 5, qPrintable(QString::number(result.exitCode) + ": " + result.errors));
    QCOMPARE(result.output, QString());
    QVERIFY2(result.errors.startsWith("pathwarden-host: no windowing platform for the installer: " + reason),
             qPrintable(result.errors));
    QVERIFY2(result.errors.endsWith("\nRun it on a display, under xvfb-run or with QT_QPA_PLATFORM=offscreen; "
                                    "--headless needs no display unless -platform names one.\n"),
             qPrintable(result.errors));
}

QTEST_GUILESS_MAIN(tst_PathwardenHostProcess)
#include "tst_PathwardenHostProcess.moc"
