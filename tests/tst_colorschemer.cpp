// The colour schemer: chip area and bands as pure arithmetic, buttons and
// their hit shapes, both modes on a fixture with known proposals, the
// neutral sub-kind, chords, tool tips, and dragging a chip out.

#include "DemoSchemes.h"
#include "FixtureFolder.h"
#include "FixtureTheme.h"
#include "TestEnvironment.h"
#include "WidgetProbe.h"

#include "database/DBManager.h"
#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/Theme.h"
#include "views/ColorSchemerWidget.h"

#include <QAction>
#include <QMimeData>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest>

using namespace Velmar;

namespace {

const QUuid colourDeck(QStringLiteral("{c5c00000-0000-0000-0000-000000000001}"));
const QUuid cardDeck(QStringLiteral("{c5c00000-0000-0000-0000-000000000002}"));
const QUuid plainDeck(QStringLiteral("{c5c00000-0000-0000-0000-000000000003}"));

void sendPress(QWidget &widget, const QPoint &position)
{
    QMouseEvent press(QEvent::MouseButtonPress, position, widget.mapToGlobal(position), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
}

// The chips of the table by their place, top to bottom, left to right.
QList<QRect> chipRectsInOrder(const ColorSchemerWidget &schemer)
{
    QList<QRect> rects = schemer.chips().keys();
    std::sort(rects.begin(), rects.end(), [](const QRect &a, const QRect &b) {
        return a.top() != b.top() ? a.top() < b.top() : a.left() < b.left();
    });
    return rects;
}

struct CapturedDrag {
    int count = 0;
    int source = 0;
    QUuid collection;
    qint64 entryId = -1;
};

} // namespace

class TestColorSchemer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void chipArea_data();
    void chipArea();
    void colourToColourBands_data();
    void colourToColourBands();
    void cardToCardBands_data();
    void cardToCardBands();
    void buttonsAndCaptions();
    void colourToColourChips();
    void noKindChosenShowsNoChips();
    void moreGroupsThanBandsStayInTheArea();
    void pressSelectsAKind();
    void neutralInColourToColourMode();
    void cardToCardChips();
    void missingComplementaryCardFallsBackToTonal();
    void neutralSubKindToggle();
    void chordsAndTheirKinds();
    void toolTips();
    void aCollectionWithoutSchemerShowsTheNearestColour();
    void dragArmsOnlyOutsideTheButtons();

private:
    void showScheme(const QUuid &collection, int page, int row, SchemeKind kind, SchemeKind subKind = SchemeTonalNeutral);

    FixtureFolder m_folder;
    QHash<QString, qint64> m_chips;
    QHash<QString, QColor> m_colours;
    CapturedDrag m_drag;
};

void TestColorSchemer::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("schemer.db"));
    QVERIFY(FixtureTheme::write(*writer));
    const qint64 cc = writer->addCollection(colourDeck, QStringLiteral("CC"), QStringLiteral("Colours"), 1, true);
    const qint64 kd = writer->addCollection(cardDeck, QStringLiteral("KD"), QStringLiteral("Cards"), 2, true);
    const qint64 ns = writer->addCollection(plainDeck, QStringLiteral("NS"), QStringLiteral("Plain"), 3, true);

    auto settings = [&](qint64 collection, const char *mode, const char *chips, const QStringList &schemes, bool schemer) {
        writer->addSetting(collection, QStringLiteral("has.color.schemes.page"), schemer ? QStringLiteral("1") : QStringLiteral("0"));
        writer->addSetting(collection, QStringLiteral("mode.card"), QLatin1String(mode));
        writer->addSetting(collection, QStringLiteral("max.chips.on.a.page"), QLatin1String(chips));
        writer->addSetting(collection, QStringLiteral("color.tooltip.show.row.code"), QStringLiteral("1"));
        writer->addSettings(collection, QStringLiteral("schemes"), schemes);
    };
    settings(cc, "ModeColorToColor", "3", {QStringLiteral("harmonic"), QStringLiteral("contrast"), QStringLiteral("neutral")}, true);
    settings(kd, "ModeCardToCard", "4", {QStringLiteral("harmonic"), QStringLiteral("neutral")}, true);
    settings(ns, "ModeColorToColor", "3", {QStringLiteral("contrast")}, false);
    for (qint64 collection : {cc, kd, ns}) {
        writer->addText(collection, QStringLiteral("harmonizer.palette.scheme.harmonic"), QStringLiteral("Harmonic"));
        writer->addText(collection, QStringLiteral("harmonizer.palette.scheme.contrast"), QStringLiteral("Contrast"));
        writer->addText(collection, QStringLiteral("harmonizer.palette.scheme.tonal.neutral"), QStringLiteral("Tonal neutral"));
        writer->addText(collection, QStringLiteral("harmonizer.palette.scheme.complementary.neutral"),
                        QStringLiteral("Complementary neutral"));
        writer->addText(collection, QStringLiteral("tiptext.harmonizer.palette.scheme.harmonic"),
                        QStringLiteral("Neighbours\nof the colour"));
    }

    int shade = 0;
    auto card = [&](qint64 collection, int index, int segment) {
        CollectionWriter::Card spec;
        spec.pageIndex = index;
        spec.segment = segment;
        return writer->addCard(collection, spec);
    };
    auto chip = [&](qint64 collection, qint64 page, int row, const QString &code, int segment, const QColor &colour,
                    int mood = 1) {
        CollectionWriter::Chip spec;
        spec.rowIndex = row;
        spec.code = code;
        spec.segment = segment;
        spec.red = colour.red();
        spec.green = colour.green();
        spec.blue = colour.blue();
        spec.mood = mood;
        const qint64 id = writer->addChip(collection, page, spec);
        m_chips.insert(code, id);
        m_colours.insert(code, colour);
        return id;
    };
    auto next = [&shade]() {
        shade += 1;
        return QColor::fromHsv((shade * 47) % 360, 160, 100 + (shade * 13) % 120);
    };

    // The colour deck: card 1 holds the sources, cards 2 to 5 the proposals.
    const qint64 source = card(cc, 1, 1);
    const qint64 r1 = chip(cc, source, 1, QStringLiteral("R1"), 1, QColor(200, 60, 50), 4);
    const qint64 r2 = chip(cc, source, 2, QStringLiteral("R2"), 1, QColor(60, 200, 50));
    const struct {
        int page;
        int segment;
        const char *prefix;
        int count;
    } groups[] = {{2, 3, "H", 3}, {3, 5, "I", 3}, {4, 7, "C", 3}, {5, 9, "N", 7}};
    for (const auto &group : groups) {
        const qint64 page = card(cc, group.page, group.segment);
        for (int row = 1; row <= group.count; ++row)
            chip(cc, page, row, QStringLiteral("%1%2").arg(QLatin1String(group.prefix)).arg(row), group.segment, next());
    }
    auto propose = [&](qint64 from, int kind, const QStringList &codes) {
        for (int i = 0; i < codes.size(); ++i)
            QVERIFY(DemoSchemes::addRowScheme(*writer, cc, from, kind, m_chips.value(codes.at(i)), i / 3, i % 3 + 1));
    };
    propose(r1, SchemeHarmonic, {"H1", "H2", "H3", "I1", "I2", "I3"});
    propose(r1, SchemeContrast, {"C1", "C2", "C3"});
    propose(r1, SchemeTonalNeutral, {"N1", "N2", "N3", "N4", "N5", "N6", "N7"});
    propose(r1, SchemeComplementaryNeutral, {"C3", "C2", "C1"});
    // Four groups: one more than the area holds.
    propose(r2, SchemeHarmonic, {"H1", "H2", "H3", "I1", "I2", "I3", "C1", "C2", "C3", "N1", "N2", "N3"});

    // The card deck: proposals are whole cards.
    QHash<int, qint64> cards;
    const int entries[] = {3, 4, 2, 3, 3};
    for (int index = 1; index <= 5; ++index) {
        cards.insert(index, card(kd, index, index * 2));
        for (int row = 1; row <= entries[index - 1]; ++row)
            chip(kd, cards.value(index), row, QStringLiteral("K%1%2").arg(index).arg(row), index * 2, next());
    }
    auto link = [&](int from, int to, int kind, int order) {
        QVERIFY(DemoSchemes::addPageScheme(*writer, kd, cards.value(from), cards.value(to), kind, order));
    };
    link(1, 2, SchemeHarmonic, 0);
    link(1, 3, SchemeHarmonic, 1);
    link(1, 4, SchemeTonalNeutral, 0);
    link(2, 4, SchemeTonalNeutral, 0);
    link(2, 5, SchemeComplementaryNeutral, 0);

    // A deck without a schemer of its own, its chip close to R1.
    chip(ns, card(ns, 1, 1), 1, QStringLiteral("P1"), 1, QColor(201, 62, 50));
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();
    QCOMPARE(Global::InitializePrerequisites(QString(), m_folder.lookupFolder()), 0);
}

void TestColorSchemer::init()
{
    m_drag = CapturedDrag();
    DragDropHelper::s_dragStarter = [this](QWidget *, QMimeData *data, const QPixmap &, Qt::DropActions) {
        ++m_drag.count;
        m_drag.source = DragDropHelper::extractDragSource(data);
        DB::ColorEntry entry;
        DragDropHelper::extractColorEntry(data, m_drag.collection, entry);
        m_drag.entryId = entry.id;
        delete data;
        return Qt::CopyAction;
    };
    showScheme(colourDeck, 1, 1, SchemeHarmonic);
}

void TestColorSchemer::cleanup()
{
    DragDropHelper::s_dragStarter = &DragDropHelper::execDrag;
}

void TestColorSchemer::showScheme(const QUuid &collection, int page, int row, SchemeKind kind, SchemeKind subKind)
{
    // Each write saves the settings file, so only what changes is written.
    if (Settings::uuidOfLastUsedCollection() != collection)
        Settings::setUuidOfLastUsedCollection(collection);
    if (Settings::pageIndex(collection) != page)
        Settings::setPageIndex(collection, page);
    if (Settings::rowIndex(collection) != row)
        Settings::setRowIndex(collection, row);
    if (Settings::schemeKind(collection) != kind)
        Settings::setSchemeKind(collection, kind);
    if (Settings::schemeNeutralSubKind(collection) != subKind)
        Settings::setSchemeNeutralSubKind(collection, subKind);
}

void TestColorSchemer::chipArea_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("captionBottom");
    QTest::addColumn<QRect>("area");

    // 300 rows available: 100 high after shrinking alternately from both ends.
    QTest::newRow("tall") << QRect(0, 0, 565, 400) << 52 << QRect(QPoint(24, 168), QPoint(540, 267));
    QTest::newRow("already a multiple of 3") << QRect(0, 0, 565, 200) << 52 << QRect(QPoint(24, 68), QPoint(540, 167));
    QTest::newRow("small") << QRect(0, 0, 400, 180) << 60 << QRect(QPoint(24, 76), QPoint(375, 148));
    QTest::newRow("page of the picker") << QRect(0, 0, 565, 226) << 69 << QRect(QPoint(24, 89), QPoint(540, 188));
}

void TestColorSchemer::chipArea()
{
    QFETCH(QRect, rect);
    QFETCH(int, captionBottom);
    const QRect area = ColorSchemerWidget::chipAreaFor(rect, captionBottom);
    QTEST(area, "area");
    QCOMPARE(area.height() % 3, 1);
    QVERIFY(area.height() <= 100);
}

void TestColorSchemer::colourToColourBands_data()
{
    QTest::addColumn<QVector<int>>("segments");
    QTest::addColumn<int>("perGroup");
    QTest::addColumn<QVector<QRect>>("rects");

    // Area 100 high: bands of 33, chips 32 high; 3 chips of 171 across 516.
    auto chip = [](int position, int y) { return QRect(25 + position * 172, y, 171, 32); };
    QTest::newRow("one group, centred") << QVector<int>{3, 3, 3} << 3
                                        << QVector<QRect>{chip(0, 114), chip(1, 114), chip(2, 114)};
    QTest::newRow("two segments: half a band down")
        << QVector<int>{3, 3, 3, 5, 5, 5} << 3
        << QVector<QRect>{chip(0, 97), chip(1, 97), chip(2, 97), chip(0, 130), chip(1, 130), chip(2, 130)};
    QTest::newRow("one segment, more than a band holds")
        << QVector<int>{3, 3, 3, 3, 3, 3} << 3
        << QVector<QRect>{chip(0, 97), chip(1, 97), chip(2, 97), chip(0, 130), chip(1, 130), chip(2, 130)};
    QTest::newRow("four groups: the fourth is left out")
        << QVector<int>{1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4} << 3
        << QVector<QRect>{chip(0, 81), chip(1, 81), chip(2, 81), chip(0, 114), chip(1, 114), chip(2, 114),
                          chip(0, 147), chip(1, 147), chip(2, 147), QRect(), QRect(), QRect()};
    QTest::newRow("more segments than groups: never past the area")
        << QVector<int>{1, 2, 3, 4, 5, 6} << 3
        << QVector<QRect>{chip(0, 97), chip(0, 130), QRect(), QRect(), QRect(), QRect()};
    QTest::newRow("seven for groups of three") << QVector<int>(7, 1) << 3 << QVector<QRect>(7);
    QTest::newRow("no chips per group") << QVector<int>{1, 1} << 0 << QVector<QRect>(2);
    QTest::newRow("no proposal") << QVector<int>() << 3 << QVector<QRect>();
}

void TestColorSchemer::colourToColourBands()
{
    QFETCH(QVector<int>, segments);
    QFETCH(int, perGroup);
    const QRect area(QPoint(24, 80), QPoint(540, 179));
    QTEST(ColorSchemerWidget::colorToColorChipRects(area, segments, perGroup), "rects");
}

void TestColorSchemer::cardToCardBands_data()
{
    QTest::addColumn<QVector<int>>("entries");
    QTest::addColumn<QVector<QVector<QRect>>>("rects");

    // The fullest card sets the width: 516 / 4 - 1 = 128.
    auto chip = [](int position, int y) { return QRect(25 + position * 129, y, 128, 32); };
    QTest::newRow("two cards") << QVector<int>{4, 2}
                               << QVector<QVector<QRect>>{{chip(0, 97), chip(1, 97), chip(2, 97), chip(3, 97)},
                                                          {chip(0, 130), chip(1, 130)}};
    QTest::newRow("four cards: the fourth is left out")
        << QVector<int>{1, 1, 1, 4}
        << QVector<QVector<QRect>>{{chip(0, 81)}, {chip(0, 114)}, {chip(0, 147)}, {QRect(), QRect(), QRect(), QRect()}};
    QTest::newRow("cards without chips") << QVector<int>{0, 0} << QVector<QVector<QRect>>{{}, {}};
    QTest::newRow("no card") << QVector<int>() << QVector<QVector<QRect>>();
}

void TestColorSchemer::cardToCardBands()
{
    QFETCH(QVector<int>, entries);
    const QRect area(QPoint(24, 80), QPoint(540, 179));
    QTEST(ColorSchemerWidget::cardToCardChipRects(area, entries), "rects");
}

void TestColorSchemer::buttonsAndCaptions()
{
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    WidgetProbe::render(schemer, Qt::black); // delivers the resize
    QCOMPARE(schemer.schemesOrder(), (QVector<SchemeKind>{SchemeHarmonic, SchemeContrast, SchemeNeutral}));
    // Three buttons of 44 with gaps of 40, centred in 565.
    QCOMPARE(ColorSchemerWidget::firstButtonLeft(565, 3, 44), 176);
    QCOMPARE(schemer.buttonRect(SchemeHarmonic), QRect(176, 8, 44, 44));
    QCOMPARE(schemer.buttonRect(SchemeContrast), QRect(260, 8, 44, 44));
    QCOMPARE(schemer.buttonRect(SchemeNeutral), QRect(344, 8, 44, 44));
    // The hit shape is the ellipse inside the button, 6 pixels in.
    QVERIFY(schemer.hitShape(SchemeHarmonic).contains(QPointF(198, 30)));
    QVERIFY(!schemer.hitShape(SchemeHarmonic).contains(QPointF(177, 9)));
    QVERIFY(!schemer.hitShape(SchemeHarmonic).contains(QPointF(198, 12)));

    const QFontMetrics metrics(schemer.font());
    const QSize harmonic = metrics.size(0, QStringLiteral("Harmonic"));
    const int half = (harmonic.width() + 4) / 2;
    const QRect caption = schemer.captionRect(SchemeHarmonic);
    QCOMPARE(caption.left(), 198 - half);
    QCOMPARE(caption.right(), 198 + half - 1);
    QCOMPARE(caption.top(), 53);
    // The neutral button's caption leaves room for the marker; its two kinds share a place.
    const int tonalHalf = (metrics.size(0, QStringLiteral("Tonal neutral")).width() + 4) / 2;
    QCOMPARE(schemer.captionRect(SchemeNeutral).right(), 366 + tonalHalf - 1 + 9 + 4);
    QCOMPARE(schemer.captionRect(SchemeTonalNeutral), schemer.captionRect(SchemeComplementaryNeutral));
    const int sharedHalf = (metrics.size(0, QStringLiteral("Complementary neutral")).width() + 4) / 2;
    QCOMPARE(schemer.captionRect(SchemeComplementaryNeutral).left(), 366 - sharedHalf);
    // Every caption has the height of the tallest.
    QCOMPARE(schemer.captionRect(SchemeContrast).height(), schemer.captionRect(SchemeTonalNeutral).height());
    QCOMPARE(schemer.chipArea(), ColorSchemerWidget::chipAreaFor(QRect(0, 0, 565, 226), caption.bottom()));
    QCOMPARE(schemer.caption(SchemeComplementaryNeutral), QStringLiteral("Complementary neutral"));
}

void TestColorSchemer::colourToColourChips()
{
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    const QImage image = WidgetProbe::render(schemer, Qt::black);
    const QList<QRect> rects = chipRectsInOrder(schemer);
    const QStringList codes{"H1", "H2", "H3", "I1", "I2", "I3"};
    QCOMPARE(rects.size(), codes.size());
    QCOMPARE(rects, ColorSchemerWidget::colorToColorChipRects(schemer.chipArea(), {3, 3, 3, 5, 5, 5}, 3).toList());
    for (int i = 0; i < rects.size(); ++i) {
        const ColorSchemerWidget::Chip chip = schemer.chips().value(rects.at(i));
        QCOMPARE(chip.index.collection, colourDeck);
        QCOMPARE(chip.index.entryId, m_chips.value(codes.at(i)));
        QVERIFY(chip.index.pageId > 0);
        QCOMPARE(chip.colour.rgb(), m_colours.value(codes.at(i)).rgb());
        QVERIFY(chip.toolTip.contains(codes.at(i)));
        QCOMPARE(image.pixel(rects.at(i).center()), m_colours.value(codes.at(i)).rgb());
    }
    // The selected kind shows its selected image, the others their normal ones.
    QCOMPARE(image.pixel(198, 30), FixtureTheme::colourOf(Theme::KeyOfSchemeHarmonisingSelectedImage).rgb());
    QCOMPARE(image.pixel(282, 30), FixtureTheme::colourOf(Theme::KeyOfSchemeContrastingNormalImage).rgb());
    QCOMPARE(image.pixel(366, 30), FixtureTheme::colourOf(Theme::KeyOfSchemeNeutralNormalImage).rgb());
    // The outline of the chips sits one pixel around them.
    const QRect first = rects.first();
    QCOMPARE(image.pixel(first.left() - 1, first.center().y()), qRgb(64, 64, 64));

    // Resized, the chips follow the new area.
    schemer.resize(420, 200);
    WidgetProbe::render(schemer, Qt::black);
    QCOMPARE(schemer.chips().size(), 6);
    for (const QRect &rect : schemer.chips().keys())
        QVERIFY(schemer.chipArea().contains(rect));
}

void TestColorSchemer::noKindChosenShowsNoChips()
{
    showScheme(colourDeck, 1, 1, SchemeNone);
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    const QImage image = WidgetProbe::render(schemer, Qt::black);
    QVERIFY(schemer.chips().isEmpty());
    QCOMPARE(image.pixel(198, 30), FixtureTheme::colourOf(Theme::KeyOfSchemeHarmonisingNormalImage).rgb());
    QCOMPARE(image.pixel(schemer.chipArea().center()), qRgb(0, 0, 0));

    // Seven tonal proposals do not fill groups of three: nothing either.
    showScheme(colourDeck, 1, 1, SchemeNeutral, SchemeTonalNeutral);
    WidgetProbe::render(schemer, Qt::black);
    QVERIFY(schemer.chips().isEmpty());
}

void TestColorSchemer::moreGroupsThanBandsStayInTheArea()
{
    showScheme(colourDeck, 1, 2, SchemeHarmonic);
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    WidgetProbe::render(schemer, Qt::black);
    QCOMPARE(schemer.chips().size(), 9);
    for (const QRect &rect : schemer.chips().keys())
        QVERIFY(schemer.chipArea().contains(rect));
}

void TestColorSchemer::pressSelectsAKind()
{
    showScheme(colourDeck, 1, 1, SchemeContrast);
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    WidgetProbe::render(schemer, Qt::black);
    QSignalSpy kinds(&schemer, SIGNAL(schemeKindChangedInteractively(SchemeKind)));
    QSignalSpy subKinds(&schemer, SIGNAL(schemeNeutralSubKindChangedInteractively(SchemeKind)));
    QVERIFY(kinds.isValid() && subKinds.isValid());
    QTest::mousePress(&schemer, Qt::LeftButton, Qt::NoModifier, QPoint(198, 30));
    QCOMPARE(kinds.count(), 1);
    QCOMPARE(kinds.takeFirst().at(0).value<SchemeKind>(), SchemeHarmonic);
    // The caption is part of the button.
    QTest::mousePress(&schemer, Qt::LeftButton, Qt::NoModifier, schemer.captionRect(SchemeNeutral).center());
    QCOMPARE(kinds.takeFirst().at(0).value<SchemeKind>(), SchemeNeutral);
    // The selected kind, a corner outside the ellipse, another button: nothing.
    QTest::mousePress(&schemer, Qt::LeftButton, Qt::NoModifier, QPoint(282, 30));
    QTest::mousePress(&schemer, Qt::LeftButton, Qt::NoModifier, QPoint(177, 9));
    QTest::mousePress(&schemer, Qt::RightButton, Qt::NoModifier, QPoint(198, 30));
    QCOMPARE(kinds.count(), 0);
    QCOMPARE(subKinds.count(), 0);
}

void TestColorSchemer::neutralInColourToColourMode()
{
    showScheme(colourDeck, 1, 1, SchemeNeutral, SchemeTonalNeutral);
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    schemer.show();
    WidgetProbe::render(schemer, Qt::black);
    QVERIFY(!schemer.complementaryAvailable());
    QSignalSpy subKinds(&schemer, SIGNAL(schemeNeutralSubKindChangedInteractively(SchemeKind)));
    QTest::mousePress(&schemer, Qt::LeftButton, Qt::NoModifier, QPoint(366, 30));
    QCOMPARE(subKinds.count(), 0);
    // The chord asks for tonal all the same.
    schemer.switchToNthScheme(3);
    QCOMPARE(subKinds.count(), 1);
    QCOMPARE(subKinds.at(0).at(0).value<SchemeKind>(), SchemeTonalNeutral);
}

void TestColorSchemer::cardToCardChips()
{
    showScheme(cardDeck, 1, 3, SchemeHarmonic);
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    const QImage image = WidgetProbe::render(schemer, Qt::black);
    const QList<QRect> rects = chipRectsInOrder(schemer);
    QList<QRect> expected;
    for (const QVector<QRect> &band : ColorSchemerWidget::cardToCardChipRects(schemer.chipArea(), {4, 2}))
        expected += band.toList();
    QCOMPARE(rects, expected);
    const QStringList codes{"K21", "K22", "K23", "K24", "K31", "K32"};
    for (int i = 0; i < rects.size(); ++i) {
        QCOMPARE(schemer.chips().value(rects.at(i)).index.entryId, m_chips.value(codes.at(i)));
        QCOMPARE(image.pixel(rects.at(i).center()), m_colours.value(codes.at(i)).rgb());
    }
}

void TestColorSchemer::missingComplementaryCardFallsBackToTonal()
{
    showScheme(cardDeck, 1, 1, SchemeNeutral, SchemeComplementaryNeutral);
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    const QImage image = WidgetProbe::render(schemer, Qt::black);
    QVERIFY(!schemer.complementaryAvailable());
    QCOMPARE(Settings::schemeNeutralSubKind(cardDeck), SchemeTonalNeutral);
    // The tonal card is shown, and no marker beside the caption.
    QCOMPARE(schemer.chips().size(), 3);
    const QRect caption = schemer.captionRect(SchemeTonalNeutral);
    QVERIFY(image.pixel(caption.right() - 4, caption.center().y())
            != FixtureTheme::colourOf(Theme::KeyOfComplementaryNeutralMarkerSelectedImage).rgb());
}

void TestColorSchemer::neutralSubKindToggle()
{
    showScheme(cardDeck, 2, 1, SchemeNeutral, SchemeTonalNeutral);
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    QImage image = WidgetProbe::render(schemer, Qt::black);
    QVERIFY(schemer.complementaryAvailable());
    const QRect caption = schemer.captionRect(SchemeTonalNeutral);
    const QPoint marker(caption.right() - 4, caption.top() + (caption.height() - 9) / 2 + 4);
    QCOMPARE(image.pixel(marker), FixtureTheme::colourOf(Theme::KeyOfComplementaryNeutralMarkerSelectedImage).rgb());

    QSignalSpy subKinds(&schemer, SIGNAL(schemeNeutralSubKindChangedInteractively(SchemeKind)));
    const QPoint neutral = schemer.buttonRect(SchemeNeutral).center();
    QTest::mousePress(&schemer, Qt::LeftButton, Qt::NoModifier, neutral);
    QCOMPARE(subKinds.takeFirst().at(0).value<SchemeKind>(), SchemeComplementaryNeutral);

    Settings::setSchemeNeutralSubKind(cardDeck, SchemeComplementaryNeutral);
    WidgetProbe::render(schemer, Qt::black);
    QCOMPARE(schemer.chips().size(), 3); // card 5
    QTest::mousePress(&schemer, Qt::LeftButton, Qt::NoModifier, neutral);
    QCOMPARE(subKinds.takeFirst().at(0).value<SchemeKind>(), SchemeTonalNeutral);

    // Not selected: the marker shows in its normal image.
    Settings::setSchemeKind(cardDeck, SchemeHarmonic);
    image = WidgetProbe::render(schemer, Qt::black);
    QCOMPARE(image.pixel(marker), FixtureTheme::colourOf(Theme::KeyOfComplementaryNeutralMarkerNormalImage).rgb());
}

void TestColorSchemer::chordsAndTheirKinds()
{
    showScheme(cardDeck, 2, 1, SchemeNeutral, SchemeTonalNeutral);
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    const QList<QAction *> actions = schemer.actions();
    QCOMPARE(actions.size(), 9);
    QCOMPARE(actions.first()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S, Qt::CTRL | Qt::Key_1));
    QCOMPARE(actions.last()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S, Qt::CTRL | Qt::Key_9));
    QSignalSpy kinds(&schemer, SIGNAL(schemeKindChangedInteractively(SchemeKind)));
    QSignalSpy subKinds(&schemer, SIGNAL(schemeNeutralSubKindChangedInteractively(SchemeKind)));

    actions.first()->trigger(); // hidden: nothing
    QCOMPARE(kinds.count(), 0);

    schemer.show();
    QVERIFY(QTest::qWaitForWindowActive(&schemer));
    WidgetProbe::render(schemer, Qt::black);
    QTest::keySequence(&schemer, QKeySequence(Qt::CTRL | Qt::Key_S, Qt::CTRL | Qt::Key_1));
    QCOMPARE(kinds.count(), 1);
    QCOMPARE(kinds.takeFirst().at(0).value<SchemeKind>(), SchemeHarmonic);
    // The neutral group again, with a complementary card: complementary.
    QTest::keySequence(&schemer, QKeySequence(Qt::CTRL | Qt::Key_S, Qt::CTRL | Qt::Key_2));
    QCOMPARE(subKinds.count(), 1);
    QCOMPARE(subKinds.takeFirst().at(0).value<SchemeKind>(), SchemeComplementaryNeutral);
    // Past the kinds offered: nothing.
    QTest::keySequence(&schemer, QKeySequence(Qt::CTRL | Qt::Key_S, Qt::CTRL | Qt::Key_3));
    QCOMPARE(kinds.count() + subKinds.count(), 0);
}

void TestColorSchemer::toolTips()
{
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    schemer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&schemer));
    WidgetProbe::render(schemer, Qt::black);
    WidgetProbe::mouseMove(schemer, QPoint(198, 30), Qt::NoButton);
    QCOMPARE(schemer.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(QToolTip::text(), QStringLiteral("<span style=\"font-size: 12px;\">Neighbours<br/>of the colour</span>"));
    // No text for the tonal tip: its key, as every missing text.
    WidgetProbe::mouseMove(schemer, QPoint(366, 30), Qt::NoButton);
    QCOMPARE(QToolTip::text(),
             QStringLiteral("<span style=\"font-size: 12px;\">tiptext.harmonizer.palette.scheme.tonal.neutral</span>"));
    const QRect chip = chipRectsInOrder(schemer).first();
    WidgetProbe::mouseMove(schemer, chip.center(), Qt::NoButton);
    QCOMPARE(schemer.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(QToolTip::text(), schemer.chips().value(chip).toolTip);
    QTRY_VERIFY(QToolTip::isVisible());
    WidgetProbe::mouseMove(schemer, QPoint(5, 5), Qt::NoButton);
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TestColorSchemer::aCollectionWithoutSchemerShowsTheNearestColour()
{
    showScheme(plainDeck, 1, 1, SchemeContrast);
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    QCOMPARE(schemer.schemerCollection(), colourDeck);
    // Buttons and captions follow the collection shown.
    QCOMPARE(schemer.schemesOrder(), QVector<SchemeKind>{SchemeContrast});
    QVERIFY(schemer.buttonRect(SchemeHarmonic).isNull());
    WidgetProbe::render(schemer, Qt::black);
    // R1 of the colour deck is nearest to the plain deck's chip: its contrast proposals.
    const QList<QRect> rects = chipRectsInOrder(schemer);
    QCOMPARE(rects.size(), 3);
    for (int i = 0; i < 3; ++i) {
        const ColorSchemerWidget::Chip chip = schemer.chips().value(rects.at(i));
        QCOMPARE(chip.index.collection, colourDeck);
        QCOMPARE(chip.index.entryId, m_chips.value(QStringLiteral("C%1").arg(i + 1)));
    }
}

void TestColorSchemer::dragArmsOnlyOutsideTheButtons()
{
    ColorSchemerWidget schemer;
    schemer.resize(565, 226);
    schemer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&schemer));
    WidgetProbe::render(schemer, Qt::black);
    const QRect chip = chipRectsInOrder(schemer).at(1);
    const int distance = QApplication::startDragDistance();

    // No press yet: a move with the button held starts nothing.
    WidgetProbe::mouseMove(schemer, chip.center(), Qt::LeftButton);
    QCOMPARE(m_drag.count, 0);

    // A press on a button disarms an earlier one whose release never came:
    // moving onto a chip with the button held starts nothing.
    sendPress(schemer, chip.center());
    QVERIFY(!schemer.dragStart().isNull());
    sendPress(schemer, QPoint(198, 30));
    QVERIFY(schemer.dragStart().isNull());
    WidgetProbe::mouseMove(schemer, chip.center() + QPoint(20, 0), Qt::LeftButton);
    QCOMPARE(m_drag.count, 0);
    QTest::mouseRelease(&schemer, Qt::LeftButton, Qt::NoModifier, chip.center());

    // A press on a chip arms it; exactly the start distance does not drag yet.
    const QPoint start = chip.center() - QPoint(distance, 0);
    QTest::mousePress(&schemer, Qt::LeftButton, Qt::NoModifier, start);
    QCOMPARE(schemer.dragStart(), schemer.mapToGlobal(start));
    WidgetProbe::mouseMove(schemer, chip.center(), Qt::LeftButton);
    QCOMPARE(m_drag.count, 0);
    WidgetProbe::mouseMove(schemer, chip.center() + QPoint(1, 0), Qt::LeftButton);
    QCOMPARE(m_drag.count, 1);
    QCOMPARE(m_drag.source, int(DragSourceColorSchemer));
    QCOMPARE(m_drag.collection, colourDeck);
    QCOMPARE(m_drag.entryId, m_chips.value(QStringLiteral("H2")));
    // The drag took the release: its start is gone, and no second drag follows.
    QVERIFY(schemer.dragStart().isNull());
    WidgetProbe::mouseMove(schemer, chip.center() + QPoint(8, 0), Qt::LeftButton);
    QCOMPARE(m_drag.count, 1);

    // A release disarms too.
    QTest::mousePress(&schemer, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseRelease(&schemer, Qt::LeftButton, Qt::NoModifier, start);
    QVERIFY(schemer.dragStart().isNull());
}

QTEST_MAIN(TestColorSchemer)
#include "tst_colorschemer.moc"
