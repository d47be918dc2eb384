// The tools and benchmarks run by hand refuse what they do not take: an
// option is never taken for a folder to write into, and a measurement name
// that a benchmark does not have lists the ones it has instead of running
// nothing. A tool that could not write what it was asked to fails and does
// not print a path for it. A benchmark that writes large files refuses to
// start without the room for them, and leaves nothing behind when stopped.

#include "ProcessRun.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

class tst_ToolArguments : public QObject
{
    Q_OBJECT

private slots:
    void refusedWithTheUsage_data();
    void refusedWithTheUsage();
    void failsWhenItCannotWrite_data();
    void failsWhenItCannotWrite();
    void aLargeBenchmarkLeavesNothingBehind_data();
    void aLargeBenchmarkLeavesNothingBehind();

private:
    // Runs the tool in that folder, where whatever it writes lands.
    static ProcessRun run(const QString &program, const QStringList &arguments, const QString &folder)
    {
        QProcess process;
        process.setWorkingDirectory(folder);
        return ProcessRun::of(process, program, arguments);
    }
};

void tst_ToolArguments::refusedWithTheUsage_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("listed"); // a line the refusal holds below the usage; none when empty
    QTest::newRow("make-demo-collection --help") << MAKE_DEMO_COLLECTION << QStringList{"--help"} << QString();
    QTest::newRow("make-demo-collection, an option for the settings folder")
        << MAKE_DEMO_COLLECTION << QStringList{"demo", "-s"} << QString();
    QTest::newRow("make-generated-collection --help 10")
        << MAKE_GENERATED_COLLECTION << QStringList{"--help", "10"} << QString();
    const QString chipCounts = QStringLiteral("<chips>: a whole number from 1 to 260000");
    QTest::newRow("make-generated-collection, a count that is no number")
        << MAKE_GENERATED_COLLECTION << QStringList{"gz", "lots"} << chipCounts;
    QTest::newRow("make-generated-collection, no chips") << MAKE_GENERATED_COLLECTION << QStringList{"gz", "0"} << chipCounts;
    QTest::newRow("make-generated-collection, one chip past its largest deck")
        << MAKE_GENERATED_COLLECTION << QStringList{"big", "260001"} << chipCounts;
    QTest::newRow("make-generated-collection, the largest int")
        << MAKE_GENERATED_COLLECTION << QStringList{"big", "2147483647"} << chipCounts;
    QTest::newRow("render-views --help out") << RENDER_VIEWS << QStringList{"--help", "out"} << QString();
    QTest::newRow("render-views, an option for the output folder")
        << RENDER_VIEWS << QStringList{"demo", "--out"} << QString();
    // Qt's own options too, which the application object would take.
    QTest::newRow("render-views, a style") << RENDER_VIEWS << QStringList{"-style", "fusion", "demo", "out"} << QString();
    QTest::newRow("render-views, a platform nobody has")
        << RENDER_VIEWS << QStringList{"-platform", "nosuch", "demo", "out"} << QString();
    const QString debugger = QStringLiteral("-qmljsdebugger=port:4000");
    QTest::newRow("make-demo-collection, Qt's debugger") << MAKE_DEMO_COLLECTION << QStringList{debugger, "demo"} << QString();
    QTest::newRow("make-generated-collection, Qt's debugger")
        << MAKE_GENERATED_COLLECTION << QStringList{debugger, "gz", "10"} << QString();
    QTest::newRow("make-icons, Qt's debugger") << MAKE_ICONS << QStringList{debugger, "icons"} << QString();
    QTest::newRow("make-icons --help") << MAKE_ICONS << QStringList{"--help"} << QString();
    QTest::newRow("bench_lookup --help") << BENCH_LOOKUP << QStringList{"--help"} << "DeltaEpsilonByCIE2000";
    QTest::newRow("bench_lookup, a known name and a mistyped one")
        << BENCH_LOOKUP << QStringList{"DeltaEpsilonByCIE2000", "DeltaEpsilonByCIE200"} << "DeltaEpsilonByCIE2000";
    QTest::newRow("bench_views nosuch") << BENCH_VIEWS << QStringList{"nosuch"} << "generated";
}

void tst_ToolArguments::refusedWithTheUsage()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, listed);
    // Whatever a tool would write lands here, where the test can see it.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const ProcessRun result = run(program, arguments, folder.path());
    QVERIFY2(result.exitCode == 2, qPrintable(result.output + result.errors));
    QVERIFY2(result.errors.contains(QStringLiteral("usage: ") + QFileInfo(program).fileName() + QLatin1Char(' ')),
             qPrintable(result.errors));
    QVERIFY2(result.output.isEmpty(), qPrintable(result.output));
    if (!listed.isEmpty())
        QVERIFY2(result.errors.contains(QStringLiteral("\n  %1\n").arg(listed)), qPrintable(result.errors));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

void tst_ToolArguments::failsWhenItCannotWrite_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("error");
    // "afile" is a file where the tool wants a folder.
    QTest::newRow("make-demo-collection, the lookup folder a file")
        << MAKE_DEMO_COLLECTION << QStringList{"afile"} << "make-demo-collection: ";
    QTest::newRow("make-demo-collection, the settings folder a file")
        << MAKE_DEMO_COLLECTION << QStringList{"demo", "afile"}
        << "make-demo-collection: the demo palette could not be stored: ";
    QTest::newRow("make-generated-collection, the lookup folder a file")
        << MAKE_GENERATED_COLLECTION << QStringList{"afile", "10"} << "make-generated-collection: ";
}

void tst_ToolArguments::failsWhenItCannotWrite()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, error);
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QFile file(folder.filePath(QStringLiteral("afile")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const ProcessRun result = run(program, arguments, folder.path());
    QVERIFY2(result.exitCode == 1, qPrintable(result.output + result.errors));
    QVERIFY2(result.errors.startsWith(error), qPrintable(result.errors));
    QVERIFY2(!result.output.contains(QStringLiteral("afile")), qPrintable(result.output));
}

void tst_ToolArguments::aLargeBenchmarkLeavesNothingBehind_data()
{
    QTest::addColumn<QString>("log"); // megabytes
    QTest::addColumn<int>("stoppedBy"); // a signal sent once it writes; none for 0
    // Far more than any temporary folder holds: refused before anything is
    // written, with the room it needs and the room there is.
    QTest::newRow("a log with no room for it") << "2000000000" << 0;
    QTest::newRow("stopped by SIGINT") << "20" << int(SIGINT);
    QTest::newRow("stopped by SIGTERM") << "20" << int(SIGTERM);
}

void tst_ToolArguments::aLargeBenchmarkLeavesNothingBehind()
{
    QFETCH(QString, log);
    QFETCH(int, stoppedBy);
    // Its temporary folder.
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const auto left = [&folder] {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    };
    QProcess bench;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), folder.path());
    bench.setProcessEnvironment(environment);
    if (stoppedBy == 0) {
        const ProcessRun result = ProcessRun::of(bench, BENCH_COLLECTIONFILES, {log});
        QVERIFY2(result.exitCode == 3, qPrintable(result.output + result.errors));
        QVERIFY2(result.errors.contains(QRegularExpression(QStringLiteral("needs about \\d+ MB in .*, which has \\d+ MB free"))),
                 qPrintable(result.errors));
        QCOMPARE(left(), QStringList());
        return;
    }
    bench.start(BENCH_COLLECTIONFILES, {log});
    QVERIFY(bench.waitForStarted());
    // Once its folder holds a deck.
    QElapsedTimer waited;
    waited.start();
    while (left().isEmpty() || QDir(folder.filePath(left().constFirst())).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty()) {
        QVERIFY2(waited.elapsed() < 30000 && bench.state() == QProcess::Running, "the benchmark writes its files");
        QTest::qWait(20);
    }
    ::kill(pid_t(bench.processId()), stoppedBy);
    QVERIFY(bench.waitForFinished(30000));
    QCOMPARE(bench.exitStatus(), QProcess::CrashExit);
    QCOMPARE(left(), QStringList());
}

QTEST_GUILESS_MAIN(tst_ToolArguments)
#include "tst_toolarguments.moc"
