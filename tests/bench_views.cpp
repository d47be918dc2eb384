// Times what the views do while the user waits: building and painting them
// on the demo collection, then the main widget on generated decks of 5,000,
// 30,000 and 100,000 chips. Prints the median time per call of each
// measurement; run by hand (see Benchmark.h).
//
//   bench_views [measurement-name ...]   only the named measurements
//   bench_views generated                only the generated decks
//   bench_views typing                   only typing into the search field
//                                        of the generated decks

#include "Benchmark.h"
#include "DemoCollection.h"
#include "DemoSchemes.h"
#include "GeneratedCollection.h"
#include "PluginMessages.h"
#include "ReferenceStatements.h"
#include "TestEnvironment.h"
#include "WidgetProbe.h"

#include "plugin/AddOnMainWindow.h"
#include "plugin/CollectionReadAhead.h"
#include "plugin/CollectionSelectWidget.h"
#include "plugin/CxfReader.h"
#include "plugin/DizevizLookup.h"
#include "plugin/MainWidget.h"
#include "database/DBManager.h"
#include "plugin/MyPaletteFullWidget.h"
#include "plugin/MyPaletteWidget.h"
#include "plugin/SelectNearestColorDialog.h"
#include "services/CollectionSettings.h"
#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/TavoCustomStyle.h"
#include "views/CardRollerWidget.h"
#include "views/ColorSchemerSarnexeWidget.h"
#include "views/ColorSchemerWidget.h"
#include "views/ColorWheelWidget.h"
#include "views/SearchWidget.h"
#include "views/TabBarWidget.h"
#include "views/TexturesViewport.h"
#include "views/TexturesWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

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

// What the search field does with the first key typed after a collection
// is shown: it reads the suggestions and builds its completer.
void typeFirstKey(Velmar::SearchWidget *search)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(search->textField(), &press);
    search->textField()->clear();
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

// The card roller and the colour wheel on the demo's interior deck, at the
// sizes they have in the picker.
void addBrowsingMeasurements(QVector<Benchmark::Measurement> &measurements)
{
    using namespace Velmar;
    // What the roller does when the deck has rolled: read the browsing state,
    // load its three cards and paint them. The same card every time, as the
    // loads cost the same for every card of the deck.
    measurements.append({QStringLiteral("Card roll as the roller sees it (three card loads and the paint)"),
                         QStringLiteral("under 8 ms"), 1, [] {
                             static CardRollerWidget *roller = [] {
                                 auto *r = new CardRollerWidget;
                                 r->resize(210, 220);
                                 return r;
                             }();
                             static QImage image(roller->size(), QImage::Format_ARGB32_Premultiplied);
                             roller->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(100, 100);
                         }});
    // The same with the main widget's part of a roll before it: the next
    // card looked up and written to the settings store.
    measurements.append({QStringLiteral("Card roll with the next card found and stored first"),
                         QStringLiteral("none set"), 1, [] {
                             static CardRollerWidget *roller = [] {
                                 auto *r = new CardRollerWidget;
                                 r->resize(210, 220);
                                 return r;
                             }();
                             static QImage image(roller->size(), QImage::Format_ARGB32_Premultiplied);
                             const QUuid deck = Settings::uuidOfLastUsedCollection();
                             int next = 1;
                             DBManager::FindNextCardByIndex(deck, Settings::pageIndex(deck), DirectionForward,
                                                            Settings::moodFilter(deck), Settings::exteriorFilter(deck),
                                                            next);
                             Settings::setPageIndex(deck, next);
                             roller->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(100, 100);
                         }});
    measurements.append({QStringLiteral("Paint the colour wheel"), QStringLiteral("none set"), 10, [] {
                             static ColorWheelWidget *wheel = new ColorWheelWidget;
                             static QImage image(wheel->size(), QImage::Format_ARGB32_Premultiplied);
                             wheel->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(60, 61);
                         }});
}

// My palette with twelve chips of the first collection, as the user sees it
// after a few drops.
void fillPaletteForMeasurements()
{
    const QUuid collection = Velmar::DBManager::GetInstalledCollectionUuidsInOrder().value(0);
    for (int i = 0; i < 12; ++i) {
        Velmar::DB::ColorEntry entry;
        if (Velmar::DBManager::GetColorEntryByPageAndRowIndex(collection, i + 1, i % 7 + 1, entry) != 0)
            continue;
        Velmar::DB::ItemIndex index;
        index.collection = collection;
        index.pageId = entry.pageId;
        index.entryId = entry.id;
        Velmar::Settings::setMyPaletteEntry(QPoint(i % 6, i / 6), index);
    }
}

void addPaletteMeasurements(QVector<Benchmark::Measurement> &measurements)
{
    fillPaletteForMeasurements();
    measurements.append({QStringLiteral("Reload My palette from the settings (12 chips)"), QStringLiteral("none set"), 1, [] {
                             static Velmar::MyPaletteWidget *palette = new Velmar::MyPaletteWidget;
                             palette->selectedCollectionChanged(Velmar::Settings::uuidOfLastUsedCollection());
                             Benchmark::sink = Benchmark::sink + palette->myPaletteSelectedCount();
                         }});
    measurements.append({QStringLiteral("Paint My palette at 564 by 210 (12 chips)"), QStringLiteral("none set"), 1, [] {
                             static Velmar::MyPaletteWidget *palette = [] {
                                 auto *p = new Velmar::MyPaletteWidget;
                                 p->resize(564, 210);
                                 return p;
                             }();
                             QImage image(palette->size(), QImage::Format_ARGB32_Premultiplied);
                             palette->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(50, 50);
                         }});
    measurements.append({QStringLiteral("Paint the zoomed palette at 800 by 600 (12 chips)"), QStringLiteral("none set"), 1, [] {
                             static Velmar::MyPaletteFullWidget *full = [] {
                                 auto *f = new Velmar::MyPaletteFullWidget;
                                 f->resize(800, 600);
                                 return f;
                             }();
                             QImage image(full->size(), QImage::Format_ARGB32_Premultiplied);
                             full->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(100, 220);
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
    measurements.append({QStringLiteral("Search field: prepare for a collection, first key typed (suggestions, completer)"),
                         QStringLiteral("none set"), 1, [showChip] {
                             static SearchWidget *search = [showChip] {
                                 showChip(DemoCollection::InteriorDeckUuid, 1, 1, SchemeHarmonic);
                                 return new SearchWidget;
                             }();
                             search->prepareForCollection(DemoCollection::InteriorDeckUuid);
                             typeFirstKey(search);
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

// The textures page as the picker shows it: the demo's first card with its
// three tiles at the default size, tinted with a chip of that card.
void addMaterialMeasurements(QVector<Benchmark::Measurement> &measurements)
{
    measurements.append({QStringLiteral("Paint the textures page with three tiles, tint included"),
                         QStringLiteral("under 4 ms"), 5, [] {
                             // Other measurements may have selected another deck.
                             const QUuid deck = DemoCollection::InteriorDeckUuid;
                             if (Velmar::Settings::uuidOfLastUsedCollection() != deck)
                                 Velmar::Settings::setUuidOfLastUsedCollection(deck);
                             static Velmar::TexturesWidget *page = [deck] {
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

// The whole main widget on the demo collection, as the picker dialog holds
// it: built up to its first painted frame, switched to the other deck and
// repainted, and rolled through its own slot.
void addMainWidgetMeasurements(QVector<Benchmark::Measurement> &measurements)
{
    using namespace Velmar;
    // Widgets built by the construction measurement stay until the end, so
    // that their destruction is not timed with the next construction.
    static QWidget *built = new QWidget;
    const auto prepareInteriorDeck = [] {
        const QUuid deck = DemoCollection::InteriorDeckUuid;
        Settings::setUuidOfLastUsedCollection(deck);
        DBManager::selectedCollectionChanged(deck);
        Settings::setTabPage(deck, TabBarPageColorSchemes);
        Settings::setPageIndex(deck, 5);
        Settings::setRowIndex(deck, 3);
    };
    measurements.append({QStringLiteral("Build the main widget and paint its first frame"), QStringLiteral("under 150 ms"), 1,
                         [prepareInteriorDeck] {
                             if (Settings::uuidOfLastUsedCollection() != DemoCollection::InteriorDeckUuid)
                                 prepareInteriorDeck();
                             QWidget *window = new QWidget(built);
                             MainWidget *main = Global::createMainWidget(window, window);
                             QImage image(main->size(), QImage::Format_ARGB32_Premultiplied);
                             main->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(400, 300);
                         }});
    // One widget for the switch and the roll, shown as in the picker.
    static MainWidget *shown = nullptr;
    const auto shownMainWidget = [prepareInteriorDeck] {
        if (!shown) {
            prepareInteriorDeck();
            shown = Global::createMainWidget(nullptr, nullptr);
            shown->show();
            QApplication::processEvents();
        }
        return shown;
    };
    measurements.append({QStringLiteral("Switch the main widget to the other deck and repaint it"), QStringLiteral("under 50 ms"), 1,
                         [shownMainWidget] {
                             MainWidget *main = shownMainWidget();
                             const QUuid next = Settings::uuidOfLastUsedCollection() == DemoCollection::InteriorDeckUuid
                                 ? DemoCollection::CardDeckUuid
                                 : DemoCollection::InteriorDeckUuid;
                             QMetaObject::invokeMethod(main, "collectionChangedInteractively", Q_ARG(QUuid, next));
                             static QImage image(main->size(), QImage::Format_ARGB32_Premultiplied);
                             main->render(&image);
                             Benchmark::sink = Benchmark::sink + image.pixel(400, 300);
                         }});
    // A roll in the main widget's slot: the next card found and stored, the
    // views that show it marked for repainting.
    measurements.append({QStringLiteral("Roll through the main widget's slot"), QStringLiteral("under 8 ms"), 1,
                         [shownMainWidget] {
                             MainWidget *main = shownMainWidget();
                             QMetaObject::invokeMethod(main, "rollCards", Q_ARG(Direction, DirectionForward));
                             Benchmark::sink = Benchmark::sink + main->cardRoller()->width();
                         }});
    // The same with the repaints the user then sees: roller and schemes page.
    measurements.append({QStringLiteral("Roll through the main widget's slot, roller and schemes repainted"),
                         QStringLiteral("none set"), 1, [shownMainWidget] {
                             MainWidget *main = shownMainWidget();
                             QMetaObject::invokeMethod(main, "rollCards", Q_ARG(Direction, DirectionForward));
                             static QImage roller(main->cardRoller()->size(), QImage::Format_ARGB32_Premultiplied);
                             main->cardRoller()->render(&roller);
                             static QImage schemes(main->colorSchemer()->size(), QImage::Format_ARGB32_Premultiplied);
                             main->colorSchemer()->render(&schemes);
                             Benchmark::sink = Benchmark::sink + roller.pixel(100, 100) + schemes.pixel(100, 100);
                         }});
}

// What the user waits for on a big deck, and on the small deck beside it in
// the same file.
struct GeneratedDeckFigures {
    int chips = 0;
    double firstFrame = 0.0; // nanoseconds
    double switchToBigDeck = 0.0;
    double switchToSmallDeck = 0.0;
    double switchToSmallDeckAfterKey = 0.0;
    double roll = 0.0;
    double rollWhileReading = 0.0;
    // The first key typed into the search field: at once after a switch,
    // and 500 ms after the first frame or after a switch; beside it the
    // field on its own, which reads the suggestions on the key as before.
    double firstKeyAtOnce = 0.0;
    double firstKeyOnTheKey = 0.0;
    double firstKeyAfterFirstFrame = 0.0;
    double firstKeyAfterSwitch = 0.0;
    // A trend colour dropped on the roller 500 ms after a switch, and at
    // once, with the colour-match table read on the drop.
    double trendDropAfterSwitch = 0.0;
    double trendDropAtOnce = 0.0;
    // The nearest chips offered after the picker's wait, and as the pick
    // looks them up on the spot.
    double offerAfterTheWait = 0.0;
    double offerOnTheSpot = 0.0;
    // The database calls under them, beside the statements they replaced.
    double suggestions = 0.0;
    double suggestionsBefore = 0.0;
    double nextCard = 0.0;
    double nextCardBefore = 0.0;
};

// The colour the picker is opened on: a red no generated chip comes near,
// so that the pick offers its six nearest.
const QColor s_hostColour(255, 0, 0);
// How long the user looks before the first key or drop, after the first
// frame or a switch.
const int s_lookingMs = 500;

// Lets the event loop run, as the user looks at the picker.
void idle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Until the main widget's reads ahead for its collection, if it started
// any once the collection painted, have ended.
void idleUntilReadAhead(Velmar::MainWidget *main)
{
    idle(20);
    const auto reading = [main] {
        return (main->readAhead() && !main->readAhead()->isFinished())
            || (main->suggestionReader() && !main->suggestionReader()->isFinished());
    };
    for (int i = 0; i < 3000 && reading(); ++i)
        idle(5);
}

// No figure without a sample.
double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? std::numeric_limits<double>::quiet_NaN() : values.at(values.size() / 2);
}

// The figure of a phase timed outside Benchmark, or none when the plug-in
// reported a failure meanwhile.
double unlessFailed(const std::function<double()> &phase)
{
    const qint64 failuresBefore = PluginMessages::failureCount();
    const double figure = phase();
    return PluginMessages::failureCount() == failuresBefore ? figure : std::numeric_limits<double>::quiet_NaN();
}

// Notes when the picker dialog's wait ends (the timer of the pick fires)
// and when the nearest chips are offered, and declines the offer. The
// timer may fire a little before its interval is over: the offer is timed
// from the moment it did, not from when it was due.
class OfferWatch : public QObject
{
public:
    QElapsedTimer clock;
    QWidget *picker = nullptr;
    qint64 waitEnded = -1;
    qint64 offered = -1;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer && offered < 0 && watched->parent() == picker
            && qobject_cast<QTimer *>(watched)) {
            waitEnded = clock.nsecsElapsed();
        } else if (event->type() == QEvent::Show && offered < 0
                   && qobject_cast<Velmar::SelectNearestColorDialog *>(watched)) {
            offered = clock.nsecsElapsed();
            QTimer::singleShot(0, static_cast<QDialog *>(watched), &QDialog::reject);
        }
        return false;
    }
};

// The picker dialog opened on the host's colour: how long after its wait
// the nearest chips are offered.
double offerAfterTheWait()
{
    QVector<double> samples;
    for (int sample = 0; sample < 9; ++sample) {
        OfferWatch watch;
        AddOnMainWindow picker(s_hostColour, QString());
        watch.picker = &picker;
        qApp->installEventFilter(&watch);
        watch.clock.start();
        picker.show();
        for (int i = 0; i < 400 && watch.offered < 0; ++i)
            idle(5);
        qApp->removeEventFilter(&watch);
        if (watch.waitEnded >= 0 && watch.offered >= 0)
            samples.append(double(watch.offered - watch.waitEnded));
        picker.hide();
        idleUntilReadAhead(picker.mainWidget());
    }
    return median(samples);
}

// The same pick on a main widget that has read nothing ahead: from the call
// to the offer.
double offerOnTheSpot()
{
    QVector<double> samples;
    for (int sample = 0; sample < 9; ++sample) {
        std::unique_ptr<Velmar::MainWidget> main(Velmar::Global::createMainWidget(nullptr, nullptr));
        OfferWatch watch;
        qApp->installEventFilter(&watch);
        watch.clock.start();
        main->pickNearestColor(s_hostColour);
        qApp->removeEventFilter(&watch);
        if (watch.offered >= 0)
            samples.append(double(watch.offered));
    }
    return median(samples);
}

// A trend colour without names dropped on the roller.
void dropTrendColour(Velmar::MainWidget *main, const QColor &colour)
{
    using namespace Velmar;
    std::unique_ptr<QMimeData> data(
        DragDropHelper::buildMimeData(DragDropHelper::buildColorData(DragSourceHuecast, colour, QString(), QString())));
    WidgetProbe::drop(*main->cardRoller(), data.get());
}

// The database calls on the big deck, and the statements they replaced on a
// connection of the bench's own to the same file.
void measureDatabaseCalls(const QString &filePath, const QUuid &deck, int pageIndex, GeneratedDeckFigures &figures)
{
    using namespace Velmar;
    const QString name = QStringLiteral("reference %1").arg(filePath);
    {
        QSqlDatabase file = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        file.setDatabaseName(filePath);
        file.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!file.open())
            return;
        const qint64 id = DBManager::GetCollectionIdByUuid(deck);
        const QVector<qint64> pageOrder = DBManager::s_page_name_search_order;
        const QVector<qint64> rowOrder = DBManager::s_row_name_search_order;
        figures.suggestions = Benchmark::medianNanosecondsPerCall({QString(), QString(), 1, [deck] {
                                                                       QStringList list;
                                                                       DBManager::GetAvailableSearchSuggestions(deck, list);
                                                                       Benchmark::sink = Benchmark::sink + list.size();
                                                                   }});
        figures.suggestionsBefore =
            Benchmark::medianNanosecondsPerCall({QString(), QString(), 1, [file, id, pageOrder, rowOrder] {
                                                     const QStringList list =
                                                         ReferenceStatements::suggestions(file, id, pageOrder, rowOrder);
                                                     Benchmark::sink = Benchmark::sink + list.size();
                                                 }});
        figures.nextCard = Benchmark::medianNanosecondsPerCall({QString(), QString(), 1, [deck, pageIndex] {
                                                                    DB::ColorPage card;
                                                                    DBManager::FindNextCardByIndex(deck, pageIndex, DirectionForward,
                                                                                                   MoodAll, false, card);
                                                                    Benchmark::sink = Benchmark::sink + card.id;
                                                                }});
        figures.nextCardBefore = Benchmark::medianNanosecondsPerCall({QString(), QString(), 1, [file, id, pageIndex] {
                                                                          DB::ColorPage card;
                                                                          ReferenceStatements::nextCard(file, id, pageIndex,
                                                                                                        DirectionForward, MoodAll,
                                                                                                        false, card);
                                                                          Benchmark::sink = Benchmark::sink + card.id;
                                                                      }});
        file.close();
    }
    QSqlDatabase::removeDatabase(name);
}

void selectDeck(const QUuid &deck)
{
    Velmar::Settings::setUuidOfLastUsedCollection(deck);
    Velmar::DBManager::selectedCollectionChanged(deck);
    Velmar::CollectionSettings::selectedCollectionChanged(deck);
}

// Makes the folder the one the plug-in takes its collections from, as in a
// new host process: the decks of the folder before are let go of, so that
// nothing looks for them again.
bool useLookupFolder(const QString &folder)
{
    using namespace Velmar;
    DBManager::s_preferredLookupFolder = folder;
    DBManager::GetInstalledCollections(DBManager::s_installed_collections, true);
    return Global::InitializePrerequisites(QString(), folder) == 0;
}

// The generated file beside the demo collection in a lookup folder of its
// own, started as the plug-in starts; the big deck shows the schemes of
// its middle card. The folder must outlast every later use of the plug-in.
bool measureGeneratedDeck(int chips, const QString &lookupFolder, GeneratedDeckFigures &figures)
{
    using namespace Velmar;
    QString error;
    if (!GeneratedCollection::writeBesideDemo(lookupFolder, chips, &error) || !useLookupFolder(lookupFolder)) {
        QTextStream(stderr) << "bench_views: the generated collection of " << chips << " chips failed: " << error << "\n";
        return false;
    }
    const QUuid big = GeneratedCollection::bigDeckUuid(chips);
    const QUuid small = GeneratedCollection::smallDeckUuid(chips);
    selectDeck(big);
    Settings::setTabPage(big, TabBarPageColorSchemes);
    DB::ColorPage middle;
    const int middleIndex = (chips / 7 / 2) * 6 / 5;
    DBManager::FindNextCardByIndex(big, middleIndex, DirectionForward, MoodAll, false, middle);
    const auto browseMiddle = [big, &middle] {
        Settings::setPageIndex(big, middle.pageIndex);
        Settings::setRowIndex(big, 3);
    };
    browseMiddle();
    figures.chips = chips;
    measureDatabaseCalls(GeneratedCollection::filePath(lookupFolder, chips), big, middle.pageIndex, figures);

    // Each sample builds a new widget; the one before goes outside the timing.
    std::unique_ptr<QWidget> window;
    figures.firstFrame = Benchmark::medianNanosecondsPerCall(
        {QString(), QString(), 1,
         [&window] {
             window.reset(new QWidget);
             MainWidget *main = Global::createMainWidget(window.get(), window.get());
             QImage image(main->size(), QImage::Format_ARGB32_Premultiplied);
             main->render(&image);
             Benchmark::sink = Benchmark::sink + image.pixel(400, 300);
         }},
        [&window, big] {
            window.reset();
            selectDeck(big);
        });
    window.reset();

    // A fresh widget shown, the user looking at it before the first key.
    std::unique_ptr<MainWidget> looked;
    figures.firstKeyAfterFirstFrame = Benchmark::medianNanosecondsPerCall(
        {QString(), QString(), 1, [&looked] { typeFirstKey(looked->searchField()); }},
        [&looked, big] {
            looked.reset();
            selectDeck(big);
            looked.reset(Global::createMainWidget(nullptr, nullptr));
            looked->show();
            idle(s_lookingMs);
        });
    looked.reset();

    figures.offerAfterTheWait = unlessFailed(offerAfterTheWait);
    figures.offerOnTheSpot = unlessFailed(offerOnTheSpot);

    selectDeck(big);
    std::unique_ptr<MainWidget> main(Global::createMainWidget(nullptr, nullptr));
    main->show();
    QApplication::processEvents();
    idleUntilReadAhead(main.get());
    const auto switchTo = [&main](const QUuid &deck) {
        QMetaObject::invokeMethod(main.get(), "collectionChangedInteractively", Q_ARG(QUuid, deck));
    };
    QImage image(main->size(), QImage::Format_ARGB32_Premultiplied);
    const auto switchAndRepaint = [&main, &image, switchTo](const QUuid &deck) {
        return Benchmark::Measurement{QString(), QString(), 1, [&main, &image, switchTo, deck] {
                                          switchTo(deck);
                                          main->render(&image);
                                          Benchmark::sink = Benchmark::sink + image.pixel(400, 300);
                                      }};
    };
    // Shown and painted, as the user sees the deck switched to.
    const auto switchShown = [&main, &image, switchTo](const QUuid &deck) {
        switchTo(deck);
        main->render(&image);
    };
    // The switches go on before the widget reads ahead: each paint starts
    // its reads only once the event loop runs again.
    figures.switchToBigDeck = Benchmark::medianNanosecondsPerCall(switchAndRepaint(big), [switchTo, small] { switchTo(small); });
    figures.switchToSmallDeck = Benchmark::medianNanosecondsPerCall(switchAndRepaint(small), [switchTo, big] { switchTo(big); });
    figures.switchToSmallDeckAfterKey =
        Benchmark::medianNanosecondsPerCall(switchAndRepaint(small), [&main, switchShown, big] {
            switchShown(big);
            idleUntilReadAhead(main.get());
            typeFirstKey(main->searchField());
        });

    // Back on the big deck from the small one, whose reads are done, and
    // the user looking at it for the time given, as the next sample starts.
    const auto backToTheBigDeck = [&main, switchShown, small, big](int lookingMs) {
        return [&main, switchShown, small, big, lookingMs] {
            switchShown(small);
            idle(20);
            idleUntilReadAhead(main.get());
            // The drops move the roller's row back to the chip dropped.
            Settings::setRowIndex(big, 1);
            switchShown(big);
            if (lookingMs > 0)
                idle(lookingMs);
        };
    };
    SearchWidget *search = main->searchField();
    figures.firstKeyAtOnce = Benchmark::medianNanosecondsPerCall(
        {QString(), QString(), 1, [search] { typeFirstKey(search); }}, backToTheBigDeck(0));
    figures.firstKeyAfterSwitch = Benchmark::medianNanosecondsPerCall(
        {QString(), QString(), 1, [search] { typeFirstKey(search); }}, backToTheBigDeck(s_lookingMs));
    {
        // The field on its own reads the suggestions on the first key, as
        // the field of the main widget did before it read ahead.
        SearchWidget alone;
        figures.firstKeyOnTheKey = Benchmark::medianNanosecondsPerCall(
            {QString(), QString(), 1, [&alone] { typeFirstKey(&alone); }},
            [&alone, big] { alone.prepareForCollection(big); });
    }

    DB::ColorEntry chip;
    DBManager::GetColorEntryByPageAndRowIndex(big, middle.pageIndex, 3, chip);
    const QColor nearChip(chip.red, chip.green > 127 ? chip.green - 2 : chip.green + 2, chip.blue);
    const Benchmark::Measurement drop{QString(), QString(), 1,
                                      [&main, nearChip] { dropTrendColour(main.get(), nearChip); }};
    // Trend colours are dragged from their page, which the deck shows.
    Settings::setTabPage(big, TabBarPageHuecast);
    figures.trendDropAfterSwitch = Benchmark::medianNanosecondsPerCall(drop, backToTheBigDeck(s_lookingMs));
    figures.trendDropAtOnce = Benchmark::medianNanosecondsPerCall(drop, backToTheBigDeck(0));
    Settings::setTabPage(big, TabBarPageColorSchemes);
    browseMiddle();

    switchShown(big);
    idleUntilReadAhead(main.get());
    QImage roller(main->cardRoller()->size(), QImage::Format_ARGB32_Premultiplied);
    figures.roll = Benchmark::medianNanosecondsPerCall({QString(), QString(), 1, [&main, &roller] {
                                                            QMetaObject::invokeMethod(main.get(), "rollCards",
                                                                                      Q_ARG(Direction, DirectionForward));
                                                            main->cardRoller()->render(&roller);
                                                            Benchmark::sink = Benchmark::sink + roller.pixel(100, 100);
                                                        }});
    // The same while the whole list of suggestions is read, right after the
    // first key.
    figures.rollWhileReading =
        Benchmark::medianNanosecondsPerCall({QString(), QString(), 1, [&main, &roller] {
                                                 QMetaObject::invokeMethod(main.get(), "rollCards",
                                                                           Q_ARG(Direction, DirectionForward));
                                                 main->cardRoller()->render(&roller);
                                                 Benchmark::sink = Benchmark::sink + roller.pixel(100, 100);
                                             }},
                                            [&main, switchShown, small, big] {
                                                switchShown(small);
                                                idleUntilReadAhead(main.get());
                                                switchShown(big);
                                                idleUntilReadAhead(main.get());
                                                typeFirstKey(main->searchField());
                                            });
    return true;
}

// A window with a label and a line edit, built and painted: what any Qt
// window costs on this machine at this load.
double bareWindowFloor()
{
    std::unique_ptr<QWidget> window;
    return Benchmark::medianNanosecondsPerCall({QString(), QString(), 1,
                                                [&window] {
                                                    window.reset(new QWidget);
                                                    window->resize(800, 600);
                                                    auto *layout = new QVBoxLayout(window.get());
                                                    layout->addWidget(new QLabel(QStringLiteral("Colour")));
                                                    layout->addWidget(new QLineEdit);
                                                    QImage image(window->size(), QImage::Format_ARGB32_Premultiplied);
                                                    window->render(&image);
                                                    Benchmark::sink = Benchmark::sink + image.pixel(400, 300);
                                                }},
                                               [&window] { window.reset(); });
}

// The main widget on generated decks of 5,000, 30,000 and 100,000 chips,
// each figure beside its target; the roll is held against the smallest
// deck's, measured in the same run.
void runGeneratedDeckMeasurements()
{
    QTextStream out(stdout);
    const double floor = bareWindowFloor();
    QVector<GeneratedDeckFigures> decks;
    // Every deck's folder stays until the run ends: the plug-in keeps what
    // it opened there.
    std::vector<std::unique_ptr<QTemporaryDir>> folders;
    for (int chips : {5000, 30000, 100000}) {
        folders.push_back(std::make_unique<QTemporaryDir>());
        GeneratedDeckFigures figures;
        if (!folders.back()->isValid() || !measureGeneratedDeck(chips, folders.back()->path(), figures))
            return;
        decks.append(figures);
    }
    const auto ms = [](double nanoseconds) {
        return Benchmark::failed(nanoseconds) ? QStringLiteral("failed")
                                              : QString::number(nanoseconds / 1e6, 'f', 1) + QStringLiteral(" ms");
    };
    // How many times the first takes the second, or the failure of either.
    const auto times = [](double first, double second, int decimals) {
        return Benchmark::failed(first) || Benchmark::failed(second) ? QStringLiteral("failed")
                                                                     : QString::number(first / second, 'f', decimals);
    };
    out << "Generated decks, each file beside the demo collection (medians; a window with a label and a line edit, "
           "built and painted: "
        << ms(floor) << "):\n";
    const QHash<int, QString> firstFrameTargets{{30000, QStringLiteral("under 150 ms, through the host")},
                                                {100000, QStringLiteral("under 400 ms, through the host")}};
    const QHash<int, QString> switchTargets{{5000, QStringLiteral("under 25 ms")}, {30000, QStringLiteral("under 100 ms")}};
    for (const GeneratedDeckFigures &deck : qAsConst(decks)) {
        out << "  " << deck.chips << " chips:\n";
        out << "    main widget built to its first frame: " << ms(deck.firstFrame) << " (target "
            << firstFrameTargets.value(deck.chips, QStringLiteral("none set")) << ")\n";
        out << "    switch to the big deck and repaint: " << ms(deck.switchToBigDeck) << " (target "
            << switchTargets.value(deck.chips, QStringLiteral("none set")) << ")\n";
        out << "    switch to the 70-chip deck beside it and repaint: " << ms(deck.switchToSmallDeck)
            << " (target under 15 ms)\n";
        out << "    the same after a key typed on the big deck: " << ms(deck.switchToSmallDeckAfterKey)
            << " (target under 15 ms, flat in the deck left)\n";
        out << "    first key typed " << s_lookingMs << " ms after the first frame: " << ms(deck.firstKeyAfterFirstFrame)
            << " (target under 30 ms)\n";
        out << "    first key typed " << s_lookingMs << " ms after a switch to the deck: " << ms(deck.firstKeyAfterSwitch)
            << " (target under 30 ms)\n";
        out << "    first key typed at once after the switch (suggestions read, completer built): "
            << ms(deck.firstKeyAtOnce) << " (target no longer than reading them on the key as before: "
            << ms(deck.firstKeyOnTheKey) << ")\n";
        out << "    the nearest chips offered after the picker's 100 ms wait, host colour " << s_hostColour.name()
            << ": " << ms(deck.offerAfterTheWait) << " (target under 30 ms; looked up on the spot: "
            << ms(deck.offerOnTheSpot) << ")\n";
        out << "    first trend colour dropped on the roller " << s_lookingMs
            << " ms after a switch to the deck's trend colours: " << ms(deck.trendDropAfterSwitch) << " (target under 30 ms; at once, the table read on the drop: "
            << ms(deck.trendDropAtOnce) << ")\n";
        out << "    suggestions read: " << ms(deck.suggestions) << "; by the statement they replaced: "
            << ms(deck.suggestionsBefore) << " (" << times(deck.suggestionsBefore, deck.suggestions, 1)
            << " times as fast; target none set)\n";
        out << "    next card found with its chips: " << Benchmark::formatDuration(deck.nextCard)
            << "; by the statements they replaced: " << Benchmark::formatDuration(deck.nextCardBefore) << " ("
            << times(deck.nextCardBefore, deck.nextCard, 1) << " times as fast; target none set)\n";
        out << "    rollCards and the roller repainted: " << ms(deck.roll) << ", "
            << times(deck.roll, decks.constFirst().roll, 2) << "x the " << decks.constFirst().chips
            << "-chip deck's (target within 1.30x)\n";
        out << "    the same while the whole list of suggestions is read after a key: " << ms(deck.rollWhileReading)
            << " (target within 5 ms of the roll above)\n";
    }
    out.flush();
}

// Typing into the search field of a main widget on the big deck: each
// letter at once after the first frame and some time after pressing into
// the field, and Ctrl+Down right after the first letter, each the median of
// a few fresh widgets.
struct TypingFigures {
    int chips = 0;
    // Per letter: at once after the first frame, then after each wait.
    QVector<QVector<double>> keys;
    QVector<double> downAfterKey;
};

const QVector<QChar> s_typedLetters{QLatin1Char('G'), QLatin1Char('S'), QLatin1Char('A'), QLatin1Char('Z')};
const QVector<int> s_typingWaitsMs{0, 100, 200, 300, 500};

// Nanoseconds the field takes to answer the key event.
double timedKey(QLineEdit *field, int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QElapsedTimer clock;
    clock.start();
    QCoreApplication::sendEvent(field, &press);
    return double(clock.nsecsElapsed());
}

// The folder stays until the phase ends: the plug-in still holds its file
// after the measurements.
bool measureTyping(const QTemporaryDir &folder, int chips, TypingFigures &figures)
{
    using namespace Velmar;
    QString error;
    if (!GeneratedCollection::writeBesideDemo(folder.path(), chips, &error) || !useLookupFolder(folder.path())) {
        QTextStream(stderr) << "bench_views: the generated collection of " << chips << " chips failed: " << error << "\n";
        return false;
    }
    const QUuid big = GeneratedCollection::bigDeckUuid(chips);
    figures.chips = chips;
    const int samples = 5;
    for (const QChar letter : s_typedLetters) {
        QVector<double> perWait;
        QVector<double> downs;
        for (int wait : s_typingWaitsMs) {
            QVector<double> keys;
            for (int sample = 0; sample < samples; ++sample) {
                selectDeck(big);
                std::unique_ptr<MainWidget> main(Global::createMainWidget(nullptr, nullptr));
                main->show();
                main->activateWindow();
                QApplication::setActiveWindow(main.get());
                QApplication::processEvents();
                // Pressed into: the field takes the focus, and the whole
                // list starts to be read once the event loop runs.
                QLineEdit *field = main->searchField()->textField();
                field->setFocus(Qt::MouseFocusReason);
                if (wait > 0)
                    idle(wait);
                keys.append(timedKey(field, letter.unicode(), Qt::NoModifier, QString(letter).toLower()));
                if (wait == 0)
                    downs.append(timedKey(field, Qt::Key_Down, Qt::ControlModifier, QString()));
                // Closing waits for the reads under way; not timed.
                main.reset();
            }
            perWait.append(median(keys));
        }
        figures.keys.append(perWait);
        figures.downAfterKey.append(median(downs));
    }
    return true;
}

void runTypingMeasurements()
{
    QTextStream out(stdout);
    const auto ms = [](double nanoseconds) { return QString::number(nanoseconds / 1e6, 'f', 1) + QStringLiteral(" ms"); };
    out << "Typing into the search field of the big deck, a fresh main widget each time (medians of 5):\n";
    std::vector<std::unique_ptr<QTemporaryDir>> folders;
    for (int chips : {5000, 30000, 100000}) {
        TypingFigures figures;
        folders.push_back(std::make_unique<QTemporaryDir>());
        if (!measureTyping(*folders.back(), chips, figures))
            return;
        out << "  " << chips << " chips:\n";
        for (int i = 0; i < s_typedLetters.size(); ++i) {
            out << "    " << s_typedLetters.at(i) << " typed at once after the first frame: " << ms(figures.keys.at(i).at(0))
                << " (target under 30 ms); Ctrl+Down right after it: " << ms(figures.downAfterKey.at(i))
                << " (target under 30 ms)\n";
            out << "      the same key typed";
            for (int w = 1; w < s_typingWaitsMs.size(); ++w)
                out << (w > 1 ? "," : "") << " " << s_typingWaitsMs.at(w) << " ms after pressing into the field: "
                    << ms(figures.keys.at(i).at(w));
            out << " (target under 30 ms each)\n";
        }
        out.flush();
    }
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
    // The pick reports the colour it starts from; any other message of the
    // plug-in reports a failure, and the measurement it came in shows none.
    static const QRegularExpression pickReport(QStringLiteral("^RGB\\(\\d+,\\d+,\\d+\\)$"));
    PluginMessages::install([](const QString &message) { return pickReport.match(message).hasMatch(); });
    Benchmark::setFailureCounter(&PluginMessages::failureCount);

    // Each group of views adds its measurements here.
    QVector<Benchmark::Measurement> measurements;
    addStyleMeasurements(measurements);
    addCollectionChooserMeasurements(measurements);
    addBrowsingMeasurements(measurements);
    addPaletteMeasurements(measurements);
    addSchemeMeasurements(measurements);
    addMaterialMeasurements(measurements);
    addMainWidgetMeasurements(measurements);

    const QStringList wanted = app.arguments().mid(1);
    if (!Benchmark::takesAll(QStringLiteral("bench_views"), measurements, wanted,
                             {QStringLiteral("generated"), QStringLiteral("typing")}))
        return 2;
    Benchmark::run(measurements, wanted);
    // Writing the generated files takes a while: only when all are wanted
    // or "generated" is named.
    if (wanted.isEmpty() || wanted.contains(QStringLiteral("generated")))
        runGeneratedDeckMeasurements();
    if (wanted.isEmpty() || wanted.contains(QStringLiteral("typing")))
        runTypingMeasurements();
    // A run in which something failed is no run to compare against.
    QTextStream err(stderr);
    PluginMessages::printFailures(err);
    return PluginMessages::failureCount() == 0 ? 0 : 1;
}
