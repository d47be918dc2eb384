#include "NTSynchronousTask.h"
#include "PaneFixture.h"
#include "TaskStopper.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <csignal>
#include <memory>
#include <thread>

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
    void stopperEndsTheProgram_data();
    void stopperEndsTheProgram();
    void stopKeepsWhatWasPrintedBefore();
    void stoppedStopperStartsNothing();
    void outputIsCapped_data();
    void outputIsCapped();
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

void tst_NTSynchronousTask::stopperEndsTheProgram_data()
{
    // What the program sets up before it tells its id and waits for ever:
    // only then is it asked to stop.
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<bool>("tidies");
    QTest::addColumn<bool>("killed");
    QTest::newRow("ends when asked to") << "" << false << false;
    // Asked first, so it can tidy up; its own status 0 is no success.
    QTest::newRow("tidies up when asked to") << "trap 'echo tidied > \"$TIDY\"; exit 0' TERM;" << true << false;
    QTest::newRow("ignores the request") << "trap '' TERM;" << false << true;
    QTest::newRow("child holds the output") << "sleep 600 &" << false << false;
    // Past the end of its output, waiting for it to exit.
    QTest::newRow("closed its output") << "exec >/dev/null 2>&1;" << false << false;
}

void tst_NTSynchronousTask::stopperEndsTheProgram()
{
    QFETCH(QString, setUp);
    QFETCH(bool, tidies);
    QFETCH(bool, killed);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString pidFile = dir.filePath("pid");
    const QString tidyFile = dir.filePath("tidied");
    qputenv("TIDY", QFile::encodeName(tidyFile));
    // The shell waits for its sleep through the wait builtin, which a trap
    // interrupts at once: a sleep in the foreground that the request met
    // between its fork and its exec would hold the trap back for a second,
    // past the grace the runner gives.
    const QString script =
        "echo started; " + setUp + " echo $$ > '" + pidFile + "'; while :; do sleep 1 & wait $!; done";

    TaskStopper stopper;
    int status = 0;
    std::optional<QByteArray> printed;
    std::thread runner([&] {
        status = NTSynchronousTask::task(QStringLiteral("/bin/sh"), QString(), {QStringLiteral("-c"), script},
                                         std::nullopt, &printed, &stopper);
    });
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pidFile).size() > 0, 10000);
    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const pid_t program = pid_t(file.readAll().trimmed().toInt());
    QVERIFY(program > 0);

    QElapsedTimer timer;
    timer.start();
    stopper.stop();
    runner.join();
    const qint64 took = timer.elapsed();
    QCOMPARE(status, NTSynchronousTask::StoppedStatus);
    QVERIFY(printed.has_value());
    QVERIFY(printed->startsWith("started\n"));
    // Reaped by the time the run returns, along with all it started.
    QCOMPARE(::kill(program, 0), -1);
    QTRY_COMPARE_WITH_TIMEOUT(PaneFixture::livingProcessesInGroup(program), 0, 5000);
    QCOMPARE(QFile::exists(tidyFile), tidies);
    if (killed)
        QVERIFY2(took >= NTSynchronousTask::TerminateGraceMs, qPrintable(QString::number(took)));
    QVERIFY2(took < NTSynchronousTask::TerminateGraceMs + 3000, qPrintable(QString::number(took)));
    qunsetenv("TIDY");
}

void tst_NTSynchronousTask::stopKeepsWhatWasPrintedBefore()
{
    // The runner turns its thread's event loop after a second of waiting;
    // a call queued there lets the program print and stops it while the
    // runner does not read, so that the stop and the output wait together.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString goFile = dir.filePath("go");
    const QString pidFile = dir.filePath("pid");
    const QString script = "while [ ! -e '" + goFile + "' ]; do sleep 0.05; done; echo started; echo $$ > '"
        + pidFile + "'; while :; do sleep 1; done";

    TaskStopper stopper;
    int status = 0;
    std::optional<QByteArray> printed;
    std::unique_ptr<QThread> runner(QThread::create([&] {
        status = NTSynchronousTask::task(QStringLiteral("/bin/sh"), QString(), {QStringLiteral("-c"), script},
                                         std::nullopt, &printed, &stopper);
    }));
    QObject onTheRunner;
    onTheRunner.moveToThread(runner.get());
    bool printedBeforeTheStop = false;
    QMetaObject::invokeMethod(
        &onTheRunner,
        [&] {
            QFile go(goFile);
            go.open(QIODevice::WriteOnly);
            go.close();
            QElapsedTimer waited;
            waited.start();
            while (QFileInfo(pidFile).size() == 0 && waited.elapsed() < 10000)
                QThread::msleep(10);
            printedBeforeTheStop = QFileInfo(pidFile).size() > 0;
            stopper.stop();
        },
        Qt::QueuedConnection);
    runner->start();
    QVERIFY(runner->wait(20000));
    QVERIFY(printedBeforeTheStop);
    QCOMPARE(status, NTSynchronousTask::StoppedStatus);
    QVERIFY(printed.has_value());
    QCOMPARE(*printed, QByteArray("started\n"));
}

void tst_NTSynchronousTask::stoppedStopperStartsNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    TaskStopper stopper;
    stopper.stop();
    stopper.stop();
    QVERIFY(stopper.isStopped());
    const QString marker = dir.filePath("ran");
    std::optional<QByteArray> printed = QByteArray("stale");
    QCOMPARE(NTSynchronousTask::task(QStringLiteral("/bin/sh"), QString(),
                                     {QStringLiteral("-c"), "touch '" + marker + "'"}, std::nullopt, &printed,
                                     &stopper),
             NTSynchronousTask::StoppedStatus);
    QVERIFY(!printed.has_value());
    QVERIFY(!QFile::exists(marker));
}

void tst_NTSynchronousTask::outputIsCapped_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("size");
    const int limit = 1024 * 1024;
    QTest::newRow("exactly the limit") << "head -c 1048576 /dev/zero" << 0 << limit;
    QTest::newRow("one byte over") << "head -c 1048577 /dev/zero" << NTSynchronousTask::OutputTooLargeStatus
                                   << limit;
    QTest::newRow("without end") << "yes" << NTSynchronousTask::OutputTooLargeStatus << limit;
    QTest::newRow("without end, ignoring the request to end")
        << "trap '' TERM; yes" << NTSynchronousTask::OutputTooLargeStatus << limit;
}

void tst_NTSynchronousTask::outputIsCapped()
{
    QFETCH(QString, script);
    QFETCH(int, status);
    QFETCH(int, size);
    QElapsedTimer timer;
    timer.start();
    std::optional<QByteArray> printed;
    QCOMPARE(NTSynchronousTask::task(QStringLiteral("/bin/sh"), QString(), {QStringLiteral("-c"), script},
                                     std::nullopt, &printed, nullptr, 1024 * 1024),
             status);
    QVERIFY(printed.has_value());
    QCOMPARE(printed->size(), qsizetype(size));
    QCOMPARE(NTSynchronousTask::task(QStringLiteral("/bin/sh"), QString(), {QStringLiteral("-c"), script},
                                     std::nullopt, nullptr, 1024 * 1024)
                 .has_value(),
             status == 0);
    QVERIFY2(timer.elapsed() < 2 * NTSynchronousTask::TerminateGraceMs + 3000, qPrintable(QString::number(timer.elapsed())));
}

QTEST_GUILESS_MAIN(tst_NTSynchronousTask)
#include "tst_NTSynchronousTask.moc"
