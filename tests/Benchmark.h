#ifndef HUEFORM_BENCHMARK_H
#define HUEFORM_BENCHMARK_H

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// Timing of calls the user waits for: each measurement is run in samples
// for about a quarter of a second and reported as the median per call.
// Benchmarks are run by hand, not by CTest, since timings depend on the
// machine and its load.
class Benchmark
{
public:
    struct Measurement {
        QString name;
        QString target;     // what this machine should reach, for the reader
        int callsPerSample; // calls timed together, so that short calls are measurable
        std::function<void()> call;
    };

    // Not a number when the measured work reported a failure (see
    // setFailureCounter): a figure of failed work would mislead.
    static double medianNanosecondsPerCall(const Measurement &m);
    // The same with work that must precede every sample, such as switching
    // back before a switch is timed, run outside the timing.
    static double medianNanosecondsPerCall(const Measurement &m, const std::function<void()> &beforeEachSample);
    // "failed" for a measurement that gave no figure.
    static QString formatDuration(double nanoseconds);
    static bool failed(double nanoseconds);
    // How many failures the measured code has reported so far, for example
    // through Qt's messages; a measurement during which the count grows
    // gives no figure. None is counted unless set.
    static void setFailureCounter(const std::function<qint64()> &counter);
    // Runs the measurements whose names are wanted (all when none are) and
    // prints one line each to standard output.
    static void run(const QVector<Measurement> &measurements, const QStringList &wanted);
    // Whether each wanted name is a measurement's or one of the other names
    // the program takes. If one is not, prints which, the program's usage and
    // every name it takes to standard error, so that a mistyped name or an
    // option does not pass for a run of nothing.
    static bool takesAll(const QString &program, const QVector<Measurement> &measurements, const QStringList &wanted,
                         const QStringList &otherNames = {});

    // Keeps the compiler from dropping the work whose result nobody reads.
    static volatile double sink;

private:
    Benchmark() = default;
    static std::function<qint64()> s_failureCounter;
};

#endif // HUEFORM_BENCHMARK_H
