// Times the look-ups the picker makes while the user waits: nearest-colour
// matching and the colour distance it rests on. Prints the median time per
// call of each measurement; not run by CTest, since timings depend on the
// machine and its load.
//
//   bench_lookup [measurement-name ...]   only the named measurements

#include "services/ColorManager.h"

#include <QColor>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <QTextStream>
#include <QVector>

#include <algorithm>
#include <functional>

using Velmar::ColorLAB;
using Velmar::ColorManager;
using Velmar::ColorMatchEntry;

namespace {

// Keeps the compiler from dropping the work whose result nobody reads.
volatile double g_sink = 0.0;

struct Measurement {
    QString name;
    QString target;     // what this machine should reach, for the reader
    int callsPerSample; // calls timed together, so that short calls are measurable
    std::function<void()> call;
};

// Runs the call in samples of callsPerSample calls for about a quarter of a
// second (at least 15 samples) and returns the median per call.
double medianNanosecondsPerCall(const Measurement &m)
{
    for (int i = 0; i < m.callsPerSample; ++i) // warm caches and branch predictors
        m.call();
    QVector<double> samples;
    QElapsedTimer total;
    total.start();
    while (samples.size() < 15 || (total.elapsed() < 250 && samples.size() < 100000)) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < m.callsPerSample; ++i)
            m.call();
        samples.append(double(timer.nsecsElapsed()) / m.callsPerSample);
    }
    std::sort(samples.begin(), samples.end());
    return samples.at(samples.size() / 2);
}

QString formatDuration(double nanoseconds)
{
    if (nanoseconds < 10000.0)
        return QStringLiteral("%1 ns").arg(nanoseconds, 0, 'f', 1);
    if (nanoseconds < 10000000.0)
        return QStringLiteral("%1 ms").arg(nanoseconds / 1e6, 0, 'f', 3);
    return QStringLiteral("%1 s").arg(nanoseconds / 1e9, 0, 'f', 3);
}

// The chips of a generated deck of 5,000 colours spread over the sRGB cube,
// in the L*a*b* the collection files hold for them.
QVector<ColorMatchEntry> generatedCandidates(int count)
{
    QRandomGenerator random(5000);
    QVector<ColorMatchEntry> candidates;
    candidates.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QColor color(random.bounded(256), random.bounded(256), random.bounded(256));
        const ColorLAB lab = ColorManager::fromRgb(color);
        candidates.append(ColorMatchEntry{lab.L, lab.a, lab.b, qint64(i + 1)});
    }
    return candidates;
}

// A deck of off-whites, all within a few units of lightness of each other:
// the hardest case for matching, which cannot rule candidates out by
// lightness alone.
QVector<ColorMatchEntry> generatedOffWhites(int count)
{
    QRandomGenerator random(5001);
    QVector<ColorMatchEntry> candidates;
    candidates.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QColor color(225 + random.bounded(31), 225 + random.bounded(31), 215 + random.bounded(41));
        const ColorLAB lab = ColorManager::fromRgb(color);
        candidates.append(ColorMatchEntry{lab.L, lab.a, lab.b, qint64(i + 1)});
    }
    return candidates;
}

void addColourMeasurements(QVector<Measurement> &measurements)
{
    static const QVector<ColorMatchEntry> candidates = generatedCandidates(5000);
    static const QVector<ColorMatchEntry> offWhites = generatedOffWhites(5000);
    static const ColorLAB target = ColorManager::fromRgb(QColor(180, 120, 90));
    static const ColorLAB offWhiteTarget = ColorManager::fromRgb(QColor(240, 236, 228));

    measurements.append({QStringLiteral("MatchColor, 5000 candidates, 1 result"), QStringLiteral("< 0.5 ms"), 1, [] {
                             QVector<QPair<double, qint64>> out;
                             ColorManager::MatchColor(target, candidates, out, 1);
                             g_sink = g_sink + out.constFirst().first;
                         }});
    measurements.append({QStringLiteral("MatchColor, 5000 candidates, 6 results"), QStringLiteral("< 0.5 ms"), 1, [] {
                             QVector<QPair<double, qint64>> out;
                             ColorManager::MatchColor(target, candidates, out, 6);
                             g_sink = g_sink + out.constLast().first;
                         }});
    measurements.append({QStringLiteral("MatchColor, 5000 off-whites, 6 results"), QStringLiteral("< 0.5 ms"), 1, [] {
                             QVector<QPair<double, qint64>> out;
                             ColorManager::MatchColor(offWhiteTarget, offWhites, out, 6);
                             g_sink = g_sink + out.constLast().first;
                         }});
    measurements.append({QStringLiteral("DeltaEpsilonByCIE2000"), QStringLiteral("< 200 ns"), 5000, [] {
                             // Walks the deck, so that each call gets another pair.
                             static int next = 0;
                             const ColorMatchEntry &c = candidates.at(next);
                             next = (next + 1) % candidates.size();
                             g_sink = g_sink + ColorManager::DeltaEpsilonByCIE2000(target, ColorLAB{c.L, c.a, c.b});
                         }});
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList wanted = app.arguments().mid(1);

    // Each group of look-ups adds its measurements here.
    QVector<Measurement> measurements;
    addColourMeasurements(measurements);

    QTextStream out(stdout);
    for (const Measurement &m : measurements) {
        if (!wanted.isEmpty() && !wanted.contains(m.name))
            continue;
        const double ns = medianNanosecondsPerCall(m);
        out << m.name << ": " << formatDuration(ns) << " per call (median; target " << m.target << ")\n";
        out.flush();
    }
    return 0;
}
