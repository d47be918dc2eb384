#include "Benchmark.h"

#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <limits>

volatile double Benchmark::sink = 0.0;
std::function<qint64()> Benchmark::s_failureCounter;

void Benchmark::setFailureCounter(const std::function<qint64()> &counter)
{
    s_failureCounter = counter;
}

bool Benchmark::failed(double nanoseconds)
{
    return std::isnan(nanoseconds);
}

double Benchmark::medianNanosecondsPerCall(const Measurement &m)
{
    return medianNanosecondsPerCall(m, [] {});
}

double Benchmark::medianNanosecondsPerCall(const Measurement &m, const std::function<void()> &beforeEachSample)
{
    const qint64 failuresBefore = s_failureCounter ? s_failureCounter() : 0;
    beforeEachSample();
    for (int i = 0; i < m.callsPerSample; ++i) // warm caches and branch predictors
        m.call();
    QVector<double> samples;
    QElapsedTimer total;
    total.start();
    while (samples.size() < 15 || (total.elapsed() < 250 && samples.size() < 100000)) {
        beforeEachSample();
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < m.callsPerSample; ++i)
            m.call();
        samples.append(double(timer.nsecsElapsed()) / m.callsPerSample);
    }
    if (s_failureCounter && s_failureCounter() != failuresBefore)
        return std::numeric_limits<double>::quiet_NaN();
    std::sort(samples.begin(), samples.end());
    return samples.at(samples.size() / 2);
}

QString Benchmark::formatDuration(double nanoseconds)
{
    if (failed(nanoseconds))
        return QStringLiteral("failed");
    if (nanoseconds < 10000.0)
        return QStringLiteral("%1 ns").arg(nanoseconds, 0, 'f', 1);
    if (nanoseconds < 10000000.0)
        return QStringLiteral("%1 ms").arg(nanoseconds / 1e6, 0, 'f', 3);
    return QStringLiteral("%1 s").arg(nanoseconds / 1e9, 0, 'f', 3);
}

bool Benchmark::takesAll(const QString &program, const QVector<Measurement> &measurements, const QStringList &wanted,
                         const QStringList &otherNames)
{
    QStringList names;
    for (const Measurement &m : measurements)
        names.append(m.name);
    names += otherNames;
    QStringList unknown;
    for (const QString &name : wanted) {
        if (!names.contains(name))
            unknown.append(name);
    }
    if (unknown.isEmpty())
        return true;
    QTextStream err(stderr);
    for (const QString &name : qAsConst(unknown))
        err << program << ": no measurement is named \"" << name << "\"\n";
    err << "usage: " << program << " [measurement name ...]\nThe names:\n";
    for (const QString &name : qAsConst(names))
        err << "  " << name << "\n";
    return false;
}

void Benchmark::run(const QVector<Measurement> &measurements, const QStringList &wanted)
{
    QTextStream out(stdout);
    for (const Measurement &m : measurements) {
        if (!wanted.isEmpty() && !wanted.contains(m.name))
            continue;
        const double ns = medianNanosecondsPerCall(m);
        if (failed(ns))
            out << m.name << ": failed (target " << m.target << ")\n";
        else
            out << m.name << ": " << formatDuration(ns) << " per call (median; target " << m.target << ")\n";
        out.flush();
    }
}
