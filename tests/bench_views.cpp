// Times what the views do while the user waits: building and painting them
// on the demo collection. Prints the median time per call of each
// measurement; run by hand (see Benchmark.h).
//
//   bench_views [measurement-name ...]   only the named measurements

#include "Benchmark.h"
#include "DemoCollection.h"
#include "TestEnvironment.h"

#include "plugin/CollectionSelectWidget.h"
#include "plugin/CxfReader.h"
#include "plugin/DizevizLookup.h"
#include "services/Global.h"
#include "services/TavoCustomStyle.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// The demo collection in a temporary lookup folder, started as the plug-in
// starts it.
bool startOnDemoCollection(const QString &lookupFolder)
{
    QString error;
    if (!DemoCollection::write(lookupFolder, &error)) {
        QTextStream(stderr) << "bench_views: the demo collection could not be written: " << error << "\n";
        return false;
    }
    return Velmar::Global::InitializePrerequisites(QString(), lookupFolder) == 0;
}

void addStyleMeasurements(QVector<Benchmark::Measurement> &measurements)
{
    measurements.append({QStringLiteral("Paint a 12 by 400 scroll bar in the custom style"), QStringLiteral("none set"), 20, [] {
                             static QScrollBar *bar = [] {
                                 auto *b = new QScrollBar(Qt::Vertical);
                                 auto *style = new Velmar::TavoCustomStyle;
                                 style->setParent(b);
                                 b->setStyle(style);
                                 b->setRange(0, 600);
                                 b->setPageStep(400);
                                 b->resize(12, 400);
                                 return b;
                             }();
                             QImage image(bar->size(), QImage::Format_ARGB32_Premultiplied);
                             bar->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(6, 10);
                         }});
}

// The chooser is built once per picker call and painted with the header;
// a press of its Dizeviz button reads the file and searches every linked deck.
void addCollectionChooserMeasurements(QVector<Benchmark::Measurement> &measurements)
{
    measurements.append({QStringLiteral("Build the collection chooser with its list"), QStringLiteral("none set"), 5, [] {
                             QWidget window;
                             auto *chooser = new Velmar::CollectionSelectWidget(&window);
                             Benchmark::sink = Benchmark::sink + chooser->width();
                         }});
    measurements.append({QStringLiteral("Paint the collection chooser"), QStringLiteral("none set"), 20, [] {
                             static Velmar::CollectionSelectWidget *chooser = new Velmar::CollectionSelectWidget;
                             QImage image(chooser->size(), QImage::Format_ARGB32_Premultiplied);
                             chooser->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(100, 15);
                         }});
    static const QByteArray sample = [] {
        QFile file(QStringLiteral(HUEFORM_SAMPLE_CXF));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    measurements.append({QStringLiteral("Read the object names of the sample CxF3 file"), QStringLiteral("none set"), 20, [] {
                             QStringList names;
                             Velmar::CxfReader::objectNames(sample, names);
                             Benchmark::sink = Benchmark::sink + names.size();
                         }});
    measurements.append({QStringLiteral("Find the Dizeviz offer for the sample's eight names"), QStringLiteral("none set"), 2, [] {
                             QStringList names;
                             Velmar::CxfReader::objectNames(sample, names);
                             Benchmark::sink = Benchmark::sink + Velmar::DizevizLookup::offerFor(names).size();
                         }});
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TestEnvironment::isolate();
    QApplication app(argc, argv);
    QTemporaryDir lookupFolder;
    if (!startOnDemoCollection(lookupFolder.path()))
        return 1;

    // Each group of views adds its measurements here.
    QVector<Benchmark::Measurement> measurements;
    addStyleMeasurements(measurements);
    addCollectionChooserMeasurements(measurements);

    Benchmark::run(measurements, app.arguments().mid(1));
    return 0;
}
