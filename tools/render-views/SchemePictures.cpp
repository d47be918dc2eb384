#include "PictureSink.h"
#include "Pictures.h"

#include "DemoCollection.h"
#include "DemoSchemes.h"

#include "services/Settings.h"
#include "services/Theme.h"
#include "views/ColorSchemerSarnexeWidget.h"
#include "views/ColorSchemerWidget.h"
#include "views/SearchWidget.h"
#include "views/TabBarWidget.h"

#include <QLabel>
#include <QLineEdit>

using namespace Velmar;

namespace {

// Where the main widget puts the views in its 800 by 600 window.
const QRect searchPlace(12, 543, 210, 26);
const QRect tabBarPlace(235, 71, 565, 30);
const QRect schemerPlace(236, 101, 565, 226);

// A stand-in for the main widget: the part of its background behind the view.
QLabel *backdropFor(const QRect &place, int margin)
{
    const QImage background = Theme::getImageByKey(Theme::KeyOfWidgetMainBackgroundImage, QSize(800, 600));
    auto *backdrop = new QLabel;
    backdrop->setPixmap(QPixmap::fromImage(background.copy(place.adjusted(-margin, -margin, margin, margin))));
    backdrop->resize(place.size() + QSize(2 * margin, 2 * margin));
    return backdrop;
}

void showChip(const QUuid &collection, int page, int row, SchemeKind kind)
{
    Settings::setUuidOfLastUsedCollection(collection);
    Settings::setPageIndex(collection, page);
    Settings::setRowIndex(collection, row);
    Settings::setSchemeKind(collection, kind);
    Settings::setSchemeNeutralSubKind(collection, SchemeTonalNeutral);
    Settings::setTabPage(collection, TabBarPageColorSchemes);
}

void drawSearchField(PictureSink &sink)
{
    showChip(DemoCollection::InteriorDeckUuid, 5, 1, SchemeHarmonic);
    const int margin = 8;
    QLabel *backdrop = backdropFor(searchPlace, margin);
    auto *search = new SearchWidget(backdrop);
    search->move(margin, margin);
    const QImage background = Theme::getImageByKey(Theme::KeyOfWidgetMainBackgroundImage, QSize(800, 600));
    search->setBackgroundImage(background.copy(searchPlace));
    search->textField()->setFocus();
    search->textField()->setText(QStringLiteral("CRÈME BRÛLÉE"));
    sink.save(QStringLiteral("search-field"), backdrop);

    // Empty and unfocused: the placeholder in italics.
    auto *idle = new SearchWidget(backdrop);
    idle->move(margin, margin);
    idle->setBackgroundImage(background.copy(searchPlace));
    idle->show();
    idle->setFocus();
    search->hide();
    sink.save(QStringLiteral("search-field-empty"), backdrop);
    delete backdrop;
}

void drawTabBar(PictureSink &sink)
{
    showChip(DemoCollection::InteriorDeckUuid, 5, 1, SchemeHarmonic);
    QLabel *backdrop = backdropFor(tabBarPlace, 0);
    auto *bar = new TabBarWidget(backdrop);
    bar->resize(tabBarPlace.size());
    sink.save(QStringLiteral("tab-bar"), backdrop);
    delete backdrop;
}

void drawSchemer(PictureSink &sink, const QString &name, const QUuid &collection, int page, int row, SchemeKind kind)
{
    showChip(collection, page, row, kind);
    QLabel *backdrop = backdropFor(schemerPlace, 0);
    auto *schemer = new ColorSchemerWidget(backdrop);
    schemer->resize(schemerPlace.size());
    sink.save(name, backdrop);
    delete backdrop;
}

void drawSarnexSchemer(PictureSink &sink, const QString &name, int row)
{
    showChip(DemoSchemes::SarnexDeckUuid, 1, row, SchemeNone);
    QLabel *backdrop = backdropFor(schemerPlace, 0);
    auto *schemer = new ColorSchemerSarnexeWidget(backdrop);
    schemer->resize(schemerPlace.size());
    sink.save(name, backdrop);
    delete backdrop;
}

} // namespace

// The search field, the tab bar and the two schemers on the demo decks,
// each for a chip of the card roller.
void drawSchemePictures(PictureSink &sink)
{
    drawSearchField(sink);
    drawTabBar(sink);
    // The rich coral card's third chip: four colours round the wheel in three bands.
    drawSchemer(sink, QStringLiteral("color-schemer-colour-to-colour"), DemoCollection::InteriorDeckUuid, 4, 3,
                SchemeDynamic);
    // Neutrals of one segment: fourteen proposals in two bands.
    drawSchemer(sink, QStringLiteral("color-schemer-tonal-neutral"), DemoCollection::InteriorDeckUuid, 7, 2,
                SchemeNeutral);
    drawSchemer(sink, QStringLiteral("color-schemer-card-to-card"), DemoCollection::CardDeckUuid, 1, 1, SchemeHarmonic);
    drawSarnexSchemer(sink, QStringLiteral("sarnex-schemer"), 1);
    drawSarnexSchemer(sink, QStringLiteral("sarnex-schemer-two-proposals"), 3);
}
