// What a benchmark prints when the measured work reports a failure through
// Qt's messages: no figure for that measurement, the message listed once
// after the table with its count; the messages of normal work are dropped.

#include "Benchmark.h"
#include "PluginMessages.h"

#include <QRegularExpression>
#include <QtTest>

#include <thread>

class tst_Benchmark : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void failureReportsLeaveNoFigure_data();
    void failureReportsLeaveNoFigure();
};

void tst_Benchmark::initTestCase()
{
    static const QRegularExpression normal(QStringLiteral("^RGB\\(\\d+,\\d+,\\d+\\)$"));
    PluginMessages::install([](const QString &message) { return normal.match(message).hasMatch(); });
    Benchmark::setFailureCounter(&PluginMessages::failureCount);
}

void tst_Benchmark::failureReportsLeaveNoFigure_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("fromAnotherThread");
    QTest::addColumn<bool>("failed");
    QTest::newRow("normal work") << "RGB(255,0,0)" << false << false;
    QTest::newRow("a failure reported") << "Could not open \"deck.db\"" << false << true;
    // As the reads ahead report theirs.
    QTest::newRow("a failure reported from another thread") << "1 : no such table" << true << true;
}

void tst_Benchmark::failureReportsLeaveNoFigure()
{
    QFETCH(QString, message);
    QFETCH(bool, fromAnotherThread);
    QFETCH(bool, failed);
    const qint64 before = PluginMessages::failureCount();
    int calls = 0;
    // Reported once, in the middle of the samples.
    const double figure = Benchmark::medianNanosecondsPerCall({QString(), QString(), 1, [&] {
                                                                   if (++calls != 5)
                                                                       return;
                                                                   if (fromAnotherThread)
                                                                       std::thread([&] { qDebug().noquote() << message; }).join();
                                                                   else
                                                                       qDebug().noquote() << message;
                                                               }});
    QCOMPARE(Benchmark::failed(figure), failed);
    QCOMPARE(Benchmark::formatDuration(figure) == QLatin1String("failed"), failed);
    QCOMPARE(PluginMessages::failureCount() - before, qint64(failed ? 1 : 0));

    QString listed;
    QTextStream out(&listed);
    PluginMessages::printFailures(out);
    QCOMPARE(listed.contains(QStringLiteral("  1 x ") + message + QLatin1Char('\n')), failed);
    QVERIFY(!listed.contains(QStringLiteral("RGB(")));
}

QTEST_GUILESS_MAIN(tst_Benchmark)
#include "tst_benchmark.moc"
