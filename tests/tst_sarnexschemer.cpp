// The Sarnex schemer: three columns from the width, three bands for a chip
// with three proposals and none for one with two, captions, tool tips and
// dragging a band's colour out.

#include "DemoSchemes.h"
#include "FixtureFolder.h"
#include "FixtureTheme.h"
#include "TestEnvironment.h"
#include "WidgetProbe.h"

#include "database/DBManager.h"
#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "views/ColorSchemerSarnexeWidget.h"

#include <QMimeData>
#include <QToolTip>
#include <QtTest>

using namespace Velmar;

namespace {

const QUuid powderDeck(QStringLiteral("{5a7e0000-0000-0000-0000-000000000001}"));

} // namespace

class TestSarnexSchemer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layout_data();
    void layout();
    void threeProposalsFillTheBands();
    void twoProposalsLeaveTheBandsEmpty();
    void captionsStayThreeAfterResizesAndSwitches();
    void toolTips();
    void dragABandOut();

private:
    void select(int row);

    FixtureFolder m_folder;
    QHash<QString, qint64> m_chips;
    QHash<QString, QColor> m_colours;
    int m_drags = 0;
    int m_dragSource = 0;
    qint64 m_draggedEntry = -1;
};

void TestSarnexSchemer::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("powder.db"));
    QVERIFY(FixtureTheme::write(*writer));
    const qint64 deck = writer->addCollection(powderDeck, QStringLiteral("PW"), QStringLiteral("Powder"), 1, true);
    writer->addSetting(deck, QStringLiteral("card.type"), QStringLiteral("sarnex"));
    writer->addSetting(deck, QStringLiteral("color.tooltip.show.row.code"), QStringLiteral("1"));
    writer->addText(deck, QStringLiteral("harmonizer.palette.scheme.wide.contrast"), QStringLiteral("Wide contrast"));
    writer->addText(deck, QStringLiteral("harmonizer.palette.scheme.contrast"), QStringLiteral("Contrast"));
    writer->addText(deck, QStringLiteral("tiptext.harmonizer.palette.scheme.contrast"), QStringLiteral("The opposite\ncolour"));

    CollectionWriter::Card card;
    const qint64 page = writer->addCard(deck, card);
    const QStringList codes{"S1", "S2", "W1", "C1", "W2", "X1"};
    for (int i = 0; i < codes.size(); ++i) {
        CollectionWriter::Chip chip;
        chip.rowIndex = i + 1;
        chip.code = codes.at(i);
        const QColor colour = QColor::fromHsv(i * 60, 180, 200);
        chip.red = colour.red();
        chip.green = colour.green();
        chip.blue = colour.blue();
        m_chips.insert(codes.at(i), writer->addChip(deck, page, chip));
        m_colours.insert(codes.at(i), colour);
    }
    auto propose = [&](const char *from, int kind, const char *to, int pageOrder) {
        QVERIFY(DemoSchemes::addRowScheme(*writer, deck, m_chips.value(QLatin1String(from)), kind,
                                          m_chips.value(QLatin1String(to)), pageOrder, 1));
    };
    // S1 has its three, stored out of band order; S2 only two.
    propose("S1", SchemeWideContrast, "W2", 1);
    propose("S1", SchemeContrast, "C1", 0);
    propose("S1", SchemeWideContrast, "W1", 0);
    propose("S2", SchemeWideContrast, "W1", 0);
    propose("S2", SchemeContrast, "C1", 0);
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();
    QCOMPARE(Global::InitializePrerequisites(QString(), m_folder.lookupFolder()), 0);
    Settings::setUuidOfLastUsedCollection(powderDeck);
    Settings::setPageIndex(powderDeck, 1);
}

void TestSarnexSchemer::init()
{
    m_drags = 0;
    DragDropHelper::s_dragStarter = [this](QWidget *, QMimeData *data, const QPixmap &, Qt::DropActions) {
        ++m_drags;
        m_dragSource = DragDropHelper::extractDragSource(data);
        QUuid collection;
        DB::ColorEntry entry;
        DragDropHelper::extractColorEntry(data, collection, entry);
        m_draggedEntry = entry.id;
        delete data;
        return Qt::CopyAction;
    };
    select(1);
}

void TestSarnexSchemer::cleanup()
{
    DragDropHelper::s_dragStarter = &DragDropHelper::execDrag;
}

void TestSarnexSchemer::select(int row)
{
    if (Settings::rowIndex(powderDeck) != row)
        Settings::setRowIndex(powderDeck, row);
}

void TestSarnexSchemer::layout_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("fontHeight");
    QTest::addColumn<QList<int>>("lefts");
    QTest::addColumn<int>("columnWidth");
    QTest::addColumn<int>("captionTop");
    QTest::addColumn<int>("bandTop");
    QTest::addColumn<int>("bandHeight");

    // 632 wide: columns of 200 at 12, 216 and 420, bands 100 high.
    // d = (225 - 47 - 45 - 100) / 2 = 16, so the captions start at 28.
    QTest::newRow("632 wide") << QRect(0, 0, 632, 226) << 15 << QList<int>{12, 216, 420} << 200 << 28 << 69 << 100;
    // 565 wide: 533 / 3 = 177 and 533 / 6 = 88; d = (225 - 47 - 51 - 88) / 2 = 19.
    QTest::newRow("the picker's page") << QRect(0, 0, 565, 226) << 17 << QList<int>{12, 193, 374} << 177 << 31 << 76
                                       << 88;
}

void TestSarnexSchemer::layout()
{
    QFETCH(QRect, rect);
    QFETCH(int, fontHeight);
    QFETCH(QList<int>, lefts);
    QFETCH(int, columnWidth);
    QFETCH(int, captionTop);
    QFETCH(int, bandTop);
    QFETCH(int, bandHeight);
    const ColorSchemerSarnexeWidget::Layout layout = ColorSchemerSarnexeWidget::layoutFor(rect, fontHeight);
    for (int k = 0; k < 3; ++k) {
        QCOMPARE(layout.captions[k], QRect(lefts.at(k), captionTop, columnWidth, fontHeight + 6));
        QCOMPARE(layout.bands[k], QRect(lefts.at(k), bandTop, columnWidth, bandHeight));
        // A gap of a line and 5 pixels between caption and band.
        QCOMPARE(layout.bands[k].top() - layout.captions[k].bottom() - 1, fontHeight + 5);
    }
}

void TestSarnexSchemer::threeProposalsFillTheBands()
{
    ColorSchemerSarnexeWidget schemer;
    schemer.resize(565, 226);
    const QImage image = WidgetProbe::render(schemer, Qt::black);
    const QVector<QPair<QRect, DB::ColorEntry>> chips = schemer.chips();
    QCOMPARE(chips.size(), 3);
    // Wide contrast 1, contrast, wide contrast 2, from left to right.
    const QStringList codes{"W1", "C1", "W2"};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(chips.at(i).second.code, codes.at(i));
        QCOMPARE(image.pixel(chips.at(i).first.center()), m_colours.value(codes.at(i)).rgb());
        QCOMPARE(image.pixel(chips.at(i).first.left() - 1, chips.at(i).first.center().y()), qRgb(64, 64, 64));
        QVERIFY(schemer.chipToolTips().at(i).contains(codes.at(i)));
    }
    const QVector<QPair<QRect, QString>> captions = schemer.captions();
    QCOMPARE(captions.size(), 3);
    QCOMPARE(captions.at(0).second, QStringLiteral("Wide contrast 1"));
    QCOMPARE(captions.at(1).second, QStringLiteral("Contrast"));
    QCOMPARE(captions.at(2).second, QStringLiteral("Wide contrast 2"));
    QCOMPARE(image.pixel(captions.at(0).first.topLeft() + QPoint(1, 1)), qRgb(99, 99, 99));
}

void TestSarnexSchemer::twoProposalsLeaveTheBandsEmpty()
{
    select(2);
    ColorSchemerSarnexeWidget schemer;
    schemer.resize(565, 226);
    const QImage image = WidgetProbe::render(schemer, Qt::black);
    QVERIFY(schemer.chips().isEmpty());
    QVERIFY(schemer.chipToolTips().isEmpty());
    const QVector<QPair<QRect, QString>> captions = schemer.captions();
    QCOMPARE(captions.size(), 3);
    QCOMPARE(image.pixel(captions.at(2).first.topLeft() + QPoint(1, 1)), qRgb(99, 99, 99));
    QCOMPARE(image.pixel(ColorSchemerSarnexeWidget::layoutFor(schemer.rect(), QFontMetrics(schemer.font()).height())
                             .bands[1]
                             .center()),
             qRgb(0, 0, 0));
    // Nothing to drag either.
    QTest::mousePress(&schemer, Qt::LeftButton, Qt::NoModifier, QPoint(280, 120));
    WidgetProbe::mouseMove(schemer, QPoint(300, 120), Qt::LeftButton);
    QCOMPARE(m_drags, 0);
}

void TestSarnexSchemer::captionsStayThreeAfterResizesAndSwitches()
{
    ColorSchemerSarnexeWidget schemer;
    for (int width : {400, 632, 565}) {
        schemer.resize(width, 226);
        WidgetProbe::render(schemer, Qt::black);
    }
    schemer.selectedCollectionChanged(powderDeck);
    QCOMPARE(schemer.captions().size(), 3);
    QCOMPARE(schemer.captions().at(2).first.right(), 12 + 2 * (177 + 4) + 176);
}

void TestSarnexSchemer::toolTips()
{
    ColorSchemerSarnexeWidget schemer;
    schemer.resize(565, 226);
    schemer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&schemer));
    WidgetProbe::render(schemer, Qt::black);
    const QVector<QPair<QRect, QString>> captions = schemer.captions();
    WidgetProbe::mouseMove(schemer, captions.at(1).first.center(), Qt::NoButton);
    QCOMPARE(QToolTip::text(), QStringLiteral("<span style=\"font-size: 12px;\">The opposite<br/>colour</span>"));
    // A missing text shows its key.
    WidgetProbe::mouseMove(schemer, captions.at(2).first.center(), Qt::NoButton);
    QCOMPARE(QToolTip::text(),
             QStringLiteral("<span style=\"font-size: 12px;\">tiptext.harmonizer.palette.scheme.wide.contrast</span>"));
    WidgetProbe::mouseMove(schemer, schemer.chips().at(2).first.center(), Qt::NoButton);
    QCOMPARE(QToolTip::text(), schemer.chipToolTips().at(2));
}

void TestSarnexSchemer::dragABandOut()
{
    ColorSchemerSarnexeWidget schemer;
    schemer.resize(565, 226);
    schemer.show();
    QVERIFY(QTest::qWaitForWindowExposed(&schemer));
    WidgetProbe::render(schemer, Qt::black);
    const QRect band = schemer.chips().at(1).first;
    const int distance = QApplication::startDragDistance();

    QTest::mousePress(&schemer, Qt::LeftButton, Qt::NoModifier, band.center());
    QCOMPARE(schemer.dragStart(), schemer.mapToGlobal(band.center()));
    WidgetProbe::mouseMove(schemer, band.center() + QPoint(distance, 0), Qt::LeftButton);
    QCOMPARE(m_drags, 0);
    WidgetProbe::mouseMove(schemer, band.center() + QPoint(distance + 1, 0), Qt::LeftButton);
    QCOMPARE(m_drags, 1);
    // Source 2, as the colour schemer's chips.
    QCOMPARE(m_dragSource, int(DragSourceColorSchemer));
    QCOMPARE(m_draggedEntry, m_chips.value(QStringLiteral("C1")));
    // The drag took the release: no second drag without a new press.
    WidgetProbe::mouseMove(schemer, band.center() + QPoint(distance + 8, 0), Qt::LeftButton);
    QCOMPARE(m_drags, 1);
    QTest::mousePress(&schemer, Qt::LeftButton, Qt::NoModifier, band.center());
    QTest::mouseRelease(&schemer, Qt::LeftButton, Qt::NoModifier, band.center());
    QVERIFY(schemer.dragStart().isNull());
}

QTEST_MAIN(TestSarnexSchemer)
#include "tst_sarnexschemer.moc"
