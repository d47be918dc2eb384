// Times a pick call as the host makes it: picker-host loads the plug-in
// folder, calls PluginMain with selector 1 on the demo collection, and tells
// when the picker has painted its first frame and how much resident memory
// the plug-in has added to the host process by then. Each run makes two
// calls in one process; the runs are separate processes, so every first call
// is a cold one. Run by hand, like the other benchmarks; it needs no display.
//
//   bench_picker [runs]   (default 11)

#include "DemoCollection.h"

#include <QCoreApplication>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int runs = app.arguments().size() > 1 ? app.arguments().at(1).toInt() : 11;
    if (runs < 1) {
        err << "usage: bench_picker [runs]\n";
        return 2;
    }

    // The machine-wide collection folder and a home of the bench's own.
    QTemporaryDir machine;
    QTemporaryDir home;
    QString error;
    if (!machine.isValid() || !home.isValid()
        || !DemoCollection::write(machine.filePath(QStringLiteral("Tavo Rindel/Hueform/SQLite")), &error)) {
        err << "bench_picker: the demo collection could not be written: " << error << "\n";
        return 1;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), machine.path());
    environment.remove(QStringLiteral("QT_PLUGIN_PATH"));

    // "timing: call 1 first frame after 151.0 ms, resident 27.0 MiB above ..."
    const QRegularExpression line(
        QStringLiteral("^timing: call (\\d) (first frame|returned) after ([0-9.]+) ms, resident ([0-9.]+) MiB"),
        QRegularExpression::MultilineOption);
    QHash<QString, QVector<double>> milliseconds;
    QHash<QString, QVector<double>> mebibytes;
    for (int run = 0; run < runs; ++run) {
        QProcess host;
        host.setProcessEnvironment(environment);
        // No colour to match: the picker only opens, and is closed once it
        // has surely painted.
        host.start(QStringLiteral(PICKER_HOST),
                   {QStringLiteral("--calls"), QStringLiteral("2"), QStringLiteral("--space"), QStringLiteral("5"),
                    QStringLiteral("--act"), QStringLiteral("close"), QStringLiteral("--act-delay"),
                    QStringLiteral("300"), QStringLiteral("--timing")});
        if (!host.waitForFinished(60000) || host.exitCode() != 0) {
            err << "bench_picker: picker-host failed: " << host.readAllStandardError() << "\n";
            return 1;
        }
        const QString output = QString::fromUtf8(host.readAllStandardOutput());
        auto matches = line.globalMatch(output);
        while (matches.hasNext()) {
            const QRegularExpressionMatch match = matches.next();
            const QString key = match.captured(1) + QLatin1Char(' ') + match.captured(2);
            milliseconds[key].append(match.captured(3).toDouble());
            mebibytes[key].append(match.captured(4).toDouble());
        }
    }
    if (milliseconds.value(QStringLiteral("1 first frame")).size() != runs
        || milliseconds.value(QStringLiteral("2 first frame")).size() != runs) {
        err << "bench_picker: a call painted no frame\n";
        return 1;
    }

    auto report = [&](const QString &name, const QString &target, double value, const QString &unit) {
        out << name << ": " << QString::number(value, 'f', 1) << " " << unit << " (median of " << runs
            << " runs; target " << target << ")\n";
    };
    const QString first = QStringLiteral("1 first frame");
    const QString second = QStringLiteral("2 first frame");
    out << "PluginMain selector 1 through picker-host, demo collection, offscreen:\n";
    report(QStringLiteral("  to the first painted frame, first call in the process"), QStringLiteral("under 150 ms"),
           median(milliseconds.value(first)), QStringLiteral("ms"));
    report(QStringLiteral("  to the first painted frame, second call in the same process"),
           QStringLiteral("under 150 ms"), median(milliseconds.value(second)), QStringLiteral("ms"));
    report(QStringLiteral("  resident memory added at the first frame, first call"), QStringLiteral("under 40 MB"),
           median(mebibytes.value(first)), QStringLiteral("MiB"));
    report(QStringLiteral("  resident memory added at the first frame, second call"), QStringLiteral("under 40 MB"),
           median(mebibytes.value(second)), QStringLiteral("MiB"));
    report(QStringLiteral("  resident memory added after the first call returned"), QStringLiteral("none set"),
           median(mebibytes.value(QStringLiteral("1 returned"))), QStringLiteral("MiB"));
    report(QStringLiteral("  resident memory added after the second call returned"), QStringLiteral("none set"),
           median(mebibytes.value(QStringLiteral("2 returned"))), QStringLiteral("MiB"));
    return 0;
}
