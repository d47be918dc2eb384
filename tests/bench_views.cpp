// Times what the views do while the user waits: building and painting them
// on the demo collection. Prints the median time per call of each
// measurement; run by hand (see Benchmark.h).
//
//   bench_views [measurement-name ...]   only the named measurements

#include "Benchmark.h"
#include "DemoCollection.h"
#include "TestEnvironment.h"

#include "DemoSchemes.h"

#include "services/Global.h"
#include "services/Settings.h"
#include "services/TavoCustomStyle.h"
#include "views/ColorSchemerSarnexeWidget.h"
#include "views/ColorSchemerWidget.h"
#include "views/SearchWidget.h"
#include "views/TabBarWidget.h"

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


// The schemers compute on paint, from the browsing state of the settings.
void addSchemeMeasurements(QVector<Benchmark::Measurement> &measurements)
{
    using namespace Velmar;
    auto showChip = [](const QUuid &collection, int page, int row, SchemeKind kind) {
        Settings::setUuidOfLastUsedCollection(collection);
        Settings::setPageIndex(collection, page);
        Settings::setRowIndex(collection, row);
        Settings::setSchemeKind(collection, kind);
    };
    measurements.append({QStringLiteral("Colour schemer: chips of a chip, 21 proposals in 3 bands"), QStringLiteral("none set"), 1,
                         [] {
                             static ColorSchemerWidget *schemer = [] {
                                 auto *w = new ColorSchemerWidget;
                                 w->resize(565, 226);
                                 w->doResize(w->rect());
                                 return w;
                             }();
                             static int row = 1;
                             row = row % 7 + 1; // another chip each call, so it computes
                             const ColorSchemerWidget::SourceItemT source{DemoCollection::InteriorDeckUuid, SchemeDynamic,
                                                                          SchemeTonalNeutral, 4, row};
                             ColorSchemerWidget::SourceItemT computed;
                             schemer->calculateColorToColorColorEntries(source, computed);
                             Benchmark::sink = Benchmark::sink + schemer->chips().size();
                         }});
    measurements.append({QStringLiteral("Colour schemer: cards of a card, card to card"), QStringLiteral("none set"), 1, [] {
                             static ColorSchemerWidget *schemer = [] {
                                 auto *w = new ColorSchemerWidget;
                                 w->resize(565, 226);
                                 w->doResize(w->rect());
                                 return w;
                             }();
                             static int page = 1;
                             page = page % 8 + 1;
                             const ColorSchemerWidget::SourceItemT source{DemoCollection::CardDeckUuid, SchemeHarmonic,
                                                                          SchemeTonalNeutral, page, 1};
                             ColorSchemerWidget::SourceItemT computed;
                             schemer->calculateCardToCardColorEntries(source, computed);
                             Benchmark::sink = Benchmark::sink + schemer->chips().size();
                         }});
    measurements.append({QStringLiteral("Colour schemer: paint, chips already computed"), QStringLiteral("none set"), 5,
                         [showChip] {
                             static ColorSchemerWidget *schemer = [showChip] {
                                 showChip(DemoCollection::InteriorDeckUuid, 4, 3, SchemeDynamic);
                                 auto *w = new ColorSchemerWidget;
                                 w->resize(565, 226);
                                 return w;
                             }();
                             static QImage image(565, 226, QImage::Format_ARGB32_Premultiplied);
                             schemer->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(100, 150);
                         }});
    measurements.append({QStringLiteral("Sarnex schemer: paint (queries its three bands)"), QStringLiteral("none set"), 5,
                         [showChip] {
                             static ColorSchemerSarnexeWidget *schemer = [showChip] {
                                 showChip(DemoSchemes::SarnexDeckUuid, 2, 4, SchemeNone);
                                 auto *w = new ColorSchemerSarnexeWidget;
                                 w->resize(565, 226);
                                 return w;
                             }();
                             static QImage image(565, 226, QImage::Format_ARGB32_Premultiplied);
                             schemer->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(100, 120);
                         }});
    measurements.append({QStringLiteral("Search field: prepare for a collection (suggestions, completer)"),
                         QStringLiteral("none set"), 1, [showChip] {
                             static SearchWidget *search = [showChip] {
                                 showChip(DemoCollection::InteriorDeckUuid, 1, 1, SchemeHarmonic);
                                 return new SearchWidget;
                             }();
                             search->prepareForCollection(DemoCollection::InteriorDeckUuid);
                             Benchmark::sink = Benchmark::sink + search->width();
                         }});
    measurements.append({QStringLiteral("Tab bar: paint"), QStringLiteral("none set"), 20, [] {
                             static TabBarWidget *bar = [] {
                                 auto *w = new TabBarWidget;
                                 w->resize(565, 30);
                                 return w;
                             }();
                             static QImage image(565, 30, QImage::Format_ARGB32_Premultiplied);
                             bar->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(10, 10);
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
    addSchemeMeasurements(measurements);

    Benchmark::run(measurements, app.arguments().mid(1));
    return 0;
}
