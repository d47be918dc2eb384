// Times what the views do while the user waits: building and painting them
// on the demo collection. Prints the median time per call of each
// measurement; run by hand (see Benchmark.h).
//
//   bench_views [measurement-name ...]   only the named measurements

#include "Benchmark.h"
#include "DemoCollection.h"
#include "TestEnvironment.h"

#include "services/Global.h"
#include "services/Settings.h"
#include "services/TavoCustomStyle.h"
#include "views/TexturesViewport.h"
#include "views/TexturesWidget.h"

#include <QApplication>
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

// The textures page as the picker shows it: the demo's first card with its
// three tiles at the default size, tinted with a chip of that card.
void addMaterialMeasurements(QVector<Benchmark::Measurement> &measurements)
{
    measurements.append({QStringLiteral("Paint the textures page with three tiles, tint included"),
                         QStringLiteral("under 4 ms"), 5, [] {
                             static Velmar::TexturesWidget *page = [] {
                                 const QUuid deck = Velmar::Settings::uuidOfLastUsedCollection();
                                 Velmar::Settings::setPageIndex(deck, 1);
                                 Velmar::Settings::setRowIndex(deck, 4);
                                 auto *p = new Velmar::TexturesWidget;
                                 p->resize(568, 226);
                                 p->doResize(QRect(0, 0, 568, 226));
                                 return p;
                             }();
                             static QImage image(page->size(), QImage::Format_ARGB32_Premultiplied);
                             page->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(100, 100)
                                 + page->texturesViewport()->tiles().size();
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
    addMaterialMeasurements(measurements);

    Benchmark::run(measurements, app.arguments().mid(1));
    return 0;
}
