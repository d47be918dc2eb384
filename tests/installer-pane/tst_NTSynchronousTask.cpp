#include "NTSynchronousTask.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

// The runner over small /bin/sh programs: what comes back, and that the
// status is the program's own.
class tst_NTSynchronousTask : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }

    void runsPrograms_data();
    void runsPrograms();
    void missingProgramGivesNoOutput();
    void missingWorkingDirectoryIsALaunchFailure();
    void largeInputAndOutputFlowTogether();
};

void tst_NTSynchronousTask::runsPrograms_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<bool>("hasInput");
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("output");

    const QByteArray none;
    const QByteArray big(4 * 1024 * 1024, 'x');
    QTest::newRow("standard error only") << "echo oops >&2" << false << none << 0 << QByteArray("oops\n");
    QTest::newRow("both streams in order") << "echo one; echo two >&2; echo three" << false << none << 0
                                           << QByteArray("one\ntwo\nthree\n");
    QTest::newRow("failure with output") << "echo partial; exit 1" << false << none << 1 << QByteArray("partial\n");
    QTest::newRow("silent success") << "exit 0" << false << none << 0 << QByteArray("");
    QTest::newRow("input echoed back") << "cat" << true << QByteArray("hello\nworld") << 0
                                       << QByteArray("hello\nworld");
    // Standard input is closed at once, so a program that reads it ends.
    QTest::newRow("no input given to cat") << "cat; echo done" << false << none << 0 << QByteArray("done\n");
    QTest::newRow("killed by a signal") << "echo before; kill -9 $$" << false << none << 9 << QByteArray("before\n");
    // The output ends long before the program does; the status is still its own.
    QTest::newRow("failure after closing output") << "echo bye; exec >&- 2>&-; sleep 0.3; exit 7" << false << none
                                                  << 7 << QByteArray("bye\n");
    // A program that stops reading its input must not take the caller down.
    QTest::newRow("exits early on large input") << "head -c 5" << true << big << 0 << QByteArray("xxxxx");
    QTest::newRow("ignores large input") << "exit 3" << true << big << 3 << QByteArray("");
}

void tst_NTSynchronousTask::runsPrograms()
{
    QFETCH(QString, script);
    QFETCH(bool, hasInput);
    QFETCH(QByteArray, input);
    QFETCH(int, status);
    QFETCH(QByteArray, output);

    const std::optional<QByteArray> given = hasInput ? std::optional<QByteArray>(input) : std::nullopt;
    std::optional<QByteArray> printed;
    QCOMPARE(NTSynchronousTask::task(QStringLiteral("/bin/sh"), QString(), {QStringLiteral("-c"), script}, given,
                                     &printed),
             status);
    QVERIFY(printed.has_value());
    QCOMPARE(*printed, output);

    const std::optional<QByteArray> onSuccess =
        NTSynchronousTask::task(QStringLiteral("/bin/sh"), QString(), {QStringLiteral("-c"), script}, given);
    QCOMPARE(onSuccess.has_value(), status == 0);
    if (onSuccess)
        QCOMPARE(*onSuccess, output);
}

void tst_NTSynchronousTask::missingProgramGivesNoOutput()
{
    QElapsedTimer timer;
    timer.start();
    std::optional<QByteArray> printed = QByteArray("stale");
    QCOMPARE(NTSynchronousTask::task(QStringLiteral("/nonexistent/tool"), QString(), {}, std::nullopt, &printed),
             NTSynchronousTask::LaunchFailedStatus);
    QVERIFY(!printed.has_value());
    QVERIFY(!NTSynchronousTask::task(QStringLiteral("/nonexistent/tool"), QString(), {}, std::nullopt).has_value());
    QVERIFY(timer.elapsed() < 1000);
}

void tst_NTSynchronousTask::missingWorkingDirectoryIsALaunchFailure()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    std::optional<QByteArray> printed;
    QCOMPARE(NTSynchronousTask::task(QStringLiteral("/bin/pwd"), dir.path(), {}, std::nullopt, &printed), 0);
    QCOMPARE(*printed, QDir(dir.path()).canonicalPath().toUtf8() + '\n');

    QCOMPARE(NTSynchronousTask::task(QStringLiteral("/bin/pwd"), dir.filePath(QStringLiteral("missing")), {},
                                     std::nullopt, &printed),
             NTSynchronousTask::LaunchFailedStatus);
    QVERIFY(!printed.has_value());
}

void tst_NTSynchronousTask::largeInputAndOutputFlowTogether()
{
    // Far more than a pipe holds, both ways at once: written first and read
    // after, it would deadlock.
    QByteArray input(4 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < input.size(); ++i)
        input[i] = char(i * 7 % 251);
    const std::optional<QByteArray> echoed =
        NTSynchronousTask::task(QStringLiteral("/bin/cat"), QString(), {}, input);
    QVERIFY(echoed.has_value());
    QCOMPARE(echoed->size(), input.size());
    QVERIFY(*echoed == input);

    const std::optional<QByteArray> mebibyte = NTSynchronousTask::task(
        QStringLiteral("/bin/sh"), QString(), {QStringLiteral("-c"), QStringLiteral("head -c 1048576 /dev/zero")},
        std::nullopt);
    QVERIFY(mebibyte.has_value());
    QCOMPARE(mebibyte->size(), qsizetype(1048576));
}

QTEST_GUILESS_MAIN(tst_NTSynchronousTask)
#include "tst_NTSynchronousTask.moc"
