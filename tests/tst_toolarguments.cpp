// The tools and benchmarks run by hand refuse what they do not take: an
// option is never taken for a folder to write into, and a measurement name
// that a benchmark does not have lists the ones it has instead of running
// nothing.

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class tst_ToolArguments : public QObject
{
    Q_OBJECT

private slots:
    void refusedWithTheUsage_data();
    void refusedWithTheUsage();
};

void tst_ToolArguments::refusedWithTheUsage_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("listed"); // a name the refusal lists; none when empty
    QTest::newRow("make-demo-collection --help") << MAKE_DEMO_COLLECTION << QStringList{"--help"} << QString();
    QTest::newRow("make-demo-collection, an option for the settings folder")
        << MAKE_DEMO_COLLECTION << QStringList{"demo", "-s"} << QString();
    QTest::newRow("make-generated-collection --help 10")
        << MAKE_GENERATED_COLLECTION << QStringList{"--help", "10"} << QString();
    QTest::newRow("render-views --help out") << RENDER_VIEWS << QStringList{"--help", "out"} << QString();
    QTest::newRow("render-views, an option for the output folder")
        << RENDER_VIEWS << QStringList{"demo", "--out"} << QString();
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
    QProcess process;
    process.setWorkingDirectory(folder.path());
    process.start(program, arguments);
    QVERIFY(process.waitForFinished(60000));
    const QString output = QString::fromUtf8(process.readAllStandardOutput());
    const QString errors = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY2(process.exitCode() == 2, qPrintable(output + errors));
    QVERIFY2(errors.contains(QStringLiteral("usage: ") + QFileInfo(program).fileName() + QLatin1Char(' ')), qPrintable(errors));
    QVERIFY2(output.isEmpty(), qPrintable(output));
    if (!listed.isEmpty())
        QVERIFY2(errors.contains(QStringLiteral("\n  %1\n").arg(listed)), qPrintable(errors));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

QTEST_GUILESS_MAIN(tst_ToolArguments)
#include "tst_toolarguments.moc"
