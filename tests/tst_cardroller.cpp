// The card roller: where the three cards and their chips go, what a paint
// leaves for the mouse (also after a failed load and on a one-card deck),
// presses, the mouse wheel, dragging a chip out and dropping colours in.

#include "BrowsingFixture.h"
#include "TestEnvironment.h"
#include "WidgetProbe.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"
#include "plugin/MainWidget.h"
#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "views/CardRollerWidget.h"

#include <QMimeData>
#include <QToolTip>
#include <QtTest>

using namespace Velmar;

namespace {

const QRgb background = qRgb(1, 2, 3);

void hover(QWidget &widget, const QPoint &at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
}

void moveWithLeftButton(QWidget &widget, const QPoint &at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
}

void turnWheel(QWidget &widget, const QPoint &angleDelta)
{
    const QPointF at(widget.width() / 2.0, widget.height() / 2.0);
    QWheelEvent wheel(at, widget.mapToGlobal(at), QPoint(), angleDelta, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&widget, &wheel);
}

// Drops the data at the middle of the widget; true when the drop was accepted.
bool drop(QWidget &widget, QMimeData *data, bool *enterAccepted = nullptr, bool *moveAccepted = nullptr)
{
    const QPoint at(widget.width() / 2, widget.height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &enter);
    if (enterAccepted)
        *enterAccepted = enter.isAccepted();
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
    if (moveAccepted)
        *moveAccepted = move.isAccepted();
    QDropEvent dropped(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &dropped);
    return dropped.isAccepted();
}

// Two steps of green off: no chip has it exactly, but it is near one.
QColor nudged(const QColor &colour)
{
    return QColor(colour.red(), colour.green() > 127 ? colour.green() - 2 : colour.green() + 2, colour.blue());
}

DB::ColorEntry chipOf(const QUuid &collection, int page, int row)
{
    DB::ColorEntry entry;
    DBManager::GetColorEntryByPageAndRowIndex(collection, page, row, entry);
    return entry;
}

} // namespace

// Stands in for the main widget: records the roller's signals in order and,
// when asked, switches the collection as the main widget would.
class Receiver : public QObject
{
    Q_OBJECT

public:
    QStringList log;
    bool switchCollections = false;

public slots:
    void rollCards(Direction dir) { log << QStringLiteral("roll %1").arg(int(dir)); }
    void pageChangedInteractively(int page) { log << QStringLiteral("page %1").arg(page); }
    void rowChangedInteractively(int row) { log << QStringLiteral("row %1").arg(row); }
    void collectionChangedInteractively(QUuid collection)
    {
        log << QStringLiteral("collection %1").arg(collection.toString());
        if (switchCollections)
            Settings::setUuidOfLastUsedCollection(collection);
    }
};

// Stands in for the main widget's fan-out of a collection change.
class CollectionSource : public QObject
{
    Q_OBJECT

signals:
    void selectedCollectionChanged(QUuid collection);
};

class tst_CardRoller : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void cardGeometry_data();
    void cardGeometry();
    void chipGeometry_data();
    void chipGeometry();

    void signalsConnectByTheirSignatures();
    void paintsThreeCardsAndTheSelection();
    void pressOnAChip_data();
    void pressOnAChip();
    void oneCardDeckShowsTheMiddleCardOnly();
    void failedLoadForgetsEveryChip();
    void hiddenMadeToOrderChips();
    void hoverShowsTheChipsToolTip();
    void wheel_data();
    void wheel();
    void dragsTheChipUnderTheCursor();
    void dragsAreAcceptedFromOtherViewsOnly();
    void drops_data();
    void drops();
    void droppedChipOfAnotherCollection();
    void nearestMatchUsesTheMainWidgetsTable();
    void collectionIdsRepeatAcrossFiles();
    void aColourOfAChipTheCurrentDeckSharesStaysInIt();

private:
    BrowsingFixture m_fixture;
    Receiver *m_receiver = nullptr;
    CardRollerWidget *m_roller = nullptr;
};

void tst_CardRoller::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY2(m_fixture.write(), qPrintable(m_fixture.error()));
}

void tst_CardRoller::init()
{
    BrowsingFixture::browse(BrowsingFixture::Deck, 2, 3);
    m_roller = new CardRollerWidget;
    m_roller->resize(214, 200);
    m_receiver = new Receiver;
    QVERIFY(QObject::connect(m_roller, SIGNAL(roll(Direction)), m_receiver, SLOT(rollCards(Direction))));
    QVERIFY(QObject::connect(m_roller, SIGNAL(pageChangedInteractively(int)), m_receiver,
                             SLOT(pageChangedInteractively(int))));
    QVERIFY(QObject::connect(m_roller, SIGNAL(rowChangedInteractively(int)), m_receiver,
                             SLOT(rowChangedInteractively(int))));
    QVERIFY(QObject::connect(m_roller, SIGNAL(collectionSelectedInteractively(QUuid)), m_receiver,
                             SLOT(collectionChangedInteractively(QUuid))));
}

void tst_CardRoller::cleanup()
{
    delete m_roller;
    delete m_receiver;
    m_roller = nullptr;
    m_receiver = nullptr;
    DragDropHelper::s_dragStarter = &DragDropHelper::execDrag;
}

void tst_CardRoller::cardGeometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<QRect>("left");
    QTest::addColumn<QRect>("middle");
    QTest::addColumn<QRect>("right");

    // w4 = 50: side cards 50 wide, 4-pixel gaps, 2-pixel margins.
    QTest::newRow("214 wide") << QSize(214, 120) << 16 << QRect(QPoint(2, 18), QPoint(51, 117))
                              << QRect(QPoint(56, 18), QPoint(157, 117)) << QRect(QPoint(162, 18), QPoint(211, 117));
    // w4 = 51 with a remainder of 3, which the middle card takes.
    QTest::newRow("221 wide") << QSize(221, 60) << 10 << QRect(QPoint(2, 12), QPoint(52, 57))
                              << QRect(QPoint(57, 12), QPoint(163, 57)) << QRect(QPoint(168, 12), QPoint(218, 57));
}

void tst_CardRoller::cardGeometry()
{
    QFETCH(QSize, size);
    QFETCH(int, textHeight);
    QFETCH(QRect, left);
    QFETCH(QRect, middle);
    QFETCH(QRect, right);

    QCOMPARE(CardRollerWidget::cardRect(CardRollerWidget::LeftPage, size, textHeight), left);
    QCOMPARE(CardRollerWidget::cardRect(CardRollerWidget::MiddlePage, size, textHeight), middle);
    QCOMPARE(CardRollerWidget::cardRect(CardRollerWidget::RightPage, size, textHeight), right);
    QCOMPARE(CardRollerWidget::nameRect(CardRollerWidget::MiddlePage, size, textHeight),
             QRect(QPoint(middle.left(), 0), QPoint(middle.right(), textHeight + 1)));
    QCOMPARE(CardRollerWidget::dropArea(size, textHeight), QRect(QPoint(left.left(), left.top()), right.bottomRight()));
}

void tst_CardRoller::chipGeometry_data()
{
    QTest::addColumn<QRect>("card");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("tops");
    QTest::addColumn<QList<int>>("bottoms");

    // Card from y 10 to 110 (101 high): chips 19 high, 1 apart; the last
    // one reaches down to the row above the frame.
    QTest::newRow("five chips") << QRect(0, 10, 40, 101) << 5 << QList<int>{11, 31, 51, 71, 91}
                                << QList<int>{29, 49, 69, 89, 109};
    QTest::newRow("one chip") << QRect(0, 10, 40, 101) << 1 << QList<int>{11} << QList<int>{109};
    QTest::newRow("no chip") << QRect(0, 10, 40, 101) << 0 << QList<int>{} << QList<int>{};
    // Eight pixel rows inside the frame, twelve chips: one row each, every
    // other row, and those that do not fit are left out.
    QTest::newRow("more chips than rows") << QRect(0, 0, 40, 10) << 12
                                          << QList<int>{1, 3, 5, 7, -1, -1, -1, -1, -1, -1, -1, -1}
                                          << QList<int>{1, 3, 5, 7, -1, -1, -1, -1, -1, -1, -1, -1};
}

void tst_CardRoller::chipGeometry()
{
    QFETCH(QRect, card);
    QFETCH(int, count);
    QFETCH(QList<int>, tops);
    QFETCH(QList<int>, bottoms);

    const QVector<QRect> chips = CardRollerWidget::chipRects(card, count);
    QCOMPARE(chips.size(), count);
    for (int i = 0; i < count; ++i) {
        if (tops.at(i) < 0) {
            QVERIFY(chips.at(i).isNull());
            continue;
        }
        QCOMPARE(chips.at(i).top(), tops.at(i));
        QCOMPARE(chips.at(i).bottom(), bottoms.at(i));
        QCOMPARE(chips.at(i).left(), card.left() + 1);
        QCOMPARE(chips.at(i).right(), card.right() - 1);
        QVERIFY(card.adjusted(1, 1, -1, -1).contains(chips.at(i)));
    }
}

void tst_CardRoller::signalsConnectByTheirSignatures()
{
    // init() connected all four by their text signatures; a queued
    // connection also needs the Direction type under its signature's name.
    Receiver queued;
    QVERIFY(QObject::connect(m_roller, SIGNAL(roll(Direction)), &queued, SLOT(rollCards(Direction)),
                             Qt::QueuedConnection));
    turnWheel(*m_roller, QPoint(0, -120));
    QCOMPARE(m_receiver->log, QStringList{QStringLiteral("roll 0")});
    QTRY_COMPARE(queued.log, QStringList{QStringLiteral("roll 0")});

    CollectionSource source;
    QVERIFY(QObject::connect(&source, SIGNAL(selectedCollectionChanged(QUuid)), m_roller,
                             SLOT(selectedCollectionChanged(QUuid))));
}

void tst_CardRoller::paintsThreeCardsAndTheSelection()
{
    const QImage image = WidgetProbe::render(*m_roller, QColor(background));
    using P = CardRollerWidget;
    QCOMPARE(m_roller->card(P::LeftPage).pageIndex, 1);
    QCOMPARE(m_roller->card(P::MiddlePage).pageIndex, 2);
    QCOMPARE(m_roller->card(P::RightPage).pageIndex, 3);

    // Each chip in its own colour, at the rectangle the mouse will use.
    for (P::ColorPagePos pos : {P::LeftPage, P::MiddlePage, P::RightPage}) {
        const DB::ColorPage &card = m_roller->card(pos);
        const QVector<QRect> &chips = m_roller->chipRectsOf(pos);
        QCOMPARE(chips.size(), card.entries.size());
        for (int i = 0; i < chips.size(); ++i) {
            const QColor expected = BrowsingFixture::chipColour(BrowsingFixture::Deck, card.pageIndex, i + 1);
            QCOMPARE(QColor(image.pixel(chips.at(i).center())), expected);
        }
        // The frame on the card's own border pixels.
        const QRect frame = m_roller->cardRectOf(pos);
        QCOMPARE(image.pixel(frame.left(), chips.at(0).center().y()), qRgb(64, 64, 64));
    }

    // The stored row 3 of the middle card carries the white frame just outside it.
    const QRect selected = m_roller->selectedChipRect();
    QCOMPARE(selected, m_roller->chipRectsOf(P::MiddlePage).at(2));
    const QRgb ring = image.pixel(selected.center().x(), selected.top() - 1);
    QVERIFY2(qRed(ring) > 200 && qGreen(ring) > 200 && qBlue(ring) > 200, qPrintable(QString::number(ring, 16)));
    // Between two chips of a card that are not selected: the dark separator.
    const QRect second = m_roller->chipRectsOf(P::LeftPage).at(1);
    QCOMPARE(image.pixel(second.center().x(), second.bottom() + 1), qRgb(64, 64, 64));
}

void tst_CardRoller::pressOnAChip_data()
{
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("chip");
    QTest::addColumn<QStringList>("expected");

    // The stored row is 3.
    QTest::newRow("left card rolls back, then the row") << 0 << 0 << QStringList{"roll 1", "row 1"};
    QTest::newRow("right card rolls on, then the row") << 2 << 1 << QStringList{"roll 0", "row 2"};
    QTest::newRow("side card at the stored row only rolls") << 2 << 2 << QStringList{"roll 0"};
    QTest::newRow("middle card picks the row") << 1 << 4 << QStringList{"row 5"};
    QTest::newRow("the selected row again") << 1 << 2 << QStringList{};
}

void tst_CardRoller::pressOnAChip()
{
    QFETCH(int, pos);
    QFETCH(int, chip);
    QFETCH(QStringList, expected);

    WidgetProbe::render(*m_roller, QColor(background));
    const QRect rect = m_roller->chipRectsOf(CardRollerWidget::ColorPagePos(pos)).at(chip);
    QTest::mousePress(m_roller, Qt::LeftButton, Qt::NoModifier, rect.center());
    QCOMPARE(m_receiver->log, expected);

    // Frames and the space above the cards hit nothing; nor does the right button.
    m_receiver->log.clear();
    const QRect card = m_roller->cardRectOf(CardRollerWidget::ColorPagePos(pos));
    QTest::mousePress(m_roller, Qt::LeftButton, Qt::NoModifier, QPoint(card.left(), rect.center().y()));
    QTest::mousePress(m_roller, Qt::LeftButton, Qt::NoModifier, QPoint(card.center().x(), 2));
    QTest::mousePress(m_roller, Qt::RightButton, Qt::NoModifier, rect.center());
    QCOMPARE(m_receiver->log, QStringList());
}

void tst_CardRoller::oneCardDeckShowsTheMiddleCardOnly()
{
    BrowsingFixture::browse(BrowsingFixture::Single, 1, 1);
    const QImage image = WidgetProbe::render(*m_roller, QColor(background));
    using P = CardRollerWidget;

    // The only card is drawn in the middle; the sides are frames and hit nothing.
    QCOMPARE(m_roller->chipRectsOf(P::MiddlePage).size(), 4);
    const QRect chip = m_roller->chipRectsOf(P::MiddlePage).at(3);
    QCOMPARE(QColor(image.pixel(chip.center())), BrowsingFixture::chipColour(BrowsingFixture::Single, 1, 4));
    for (P::ColorPagePos side : {P::LeftPage, P::RightPage}) {
        QVERIFY(m_roller->chipRectsOf(side).isEmpty());
        const QRect card = m_roller->cardRectOf(side);
        QCOMPARE(image.pixel(card.center()), background);
        QCOMPARE(image.pixel(card.left(), card.center().y()), qRgb(64, 64, 64));
        QTest::mousePress(m_roller, Qt::LeftButton, Qt::NoModifier, card.center());
    }
    QCOMPARE(m_receiver->log, QStringList());

    // A row of the current card can always be picked.
    QTest::mousePress(m_roller, Qt::LeftButton, Qt::NoModifier, chip.center());
    QCOMPARE(m_receiver->log, QStringList{QStringLiteral("row 4")});

    // A filter that leaves one card of a bigger deck: the same.
    BrowsingFixture::browse(BrowsingFixture::Deck, 1, 1, MoodFresh);
    WidgetProbe::render(*m_roller, QColor(background));
    QCOMPARE(m_roller->card(P::MiddlePage).pageIndex, 1);
    QVERIFY(m_roller->chipRectsOf(P::LeftPage).isEmpty());
    QVERIFY(m_roller->chipRectsOf(P::RightPage).isEmpty());
    QCOMPARE(m_roller->chipRectsOf(P::MiddlePage).size(), 5);
}

void tst_CardRoller::failedLoadForgetsEveryChip()
{
    WidgetProbe::render(*m_roller, QColor(background));
    const QRect middleChip = m_roller->chipRectsOf(CardRollerWidget::MiddlePage).at(0);
    const QRect leftChip = m_roller->chipRectsOf(CardRollerWidget::LeftPage).at(0);
    QVERIFY(!m_roller->selectedChipRect().isNull());

    // The stored card no longer exists: frames only, and nothing to hit.
    Settings::setPageIndex(BrowsingFixture::Deck, 42);
    const QImage image = WidgetProbe::render(*m_roller, QColor(background));
    for (int pos = 0; pos < 3; ++pos)
        QVERIFY(m_roller->chipRectsOf(CardRollerWidget::ColorPagePos(pos)).isEmpty());
    QVERIFY(m_roller->selectedChipRect().isNull());
    QCOMPARE(image.pixel(middleChip.center()), background);

    int drags = 0;
    DragDropHelper::s_dragStarter = [&drags](QWidget *, QMimeData *data, const QPixmap &, Qt::DropActions) {
        delete data;
        ++drags;
        return Qt::CopyAction;
    };
    QTest::mousePress(m_roller, Qt::LeftButton, Qt::NoModifier, middleChip.center());
    moveWithLeftButton(*m_roller, middleChip.center() + QPoint(0, 30));
    QTest::mouseRelease(m_roller, Qt::LeftButton, Qt::NoModifier, middleChip.center() + QPoint(0, 30));
    QTest::mousePress(m_roller, Qt::LeftButton, Qt::NoModifier, leftChip.center());
    hover(*m_roller, leftChip.center());
    QCOMPARE(m_receiver->log, QStringList());
    QCOMPARE(drags, 0);
    QVERIFY(!QToolTip::isVisible());
}

void tst_CardRoller::hiddenMadeToOrderChips()
{
    // Sarnex deck, card 1, with made-to-order colours hidden: chip 2 is one.
    BrowsingFixture::browse(BrowsingFixture::Sarnex, 1, 1, MoodAll, false, false);
    m_roller->selectedCollectionChanged(BrowsingFixture::Sarnex);
    QImage image = WidgetProbe::render(*m_roller, QColor(background));
    const QRect mto = m_roller->chipRectsOf(CardRollerWidget::MiddlePage).at(1);
    QCOMPARE(QColor(image.pixel(mto.center())), BrowsingFixture::mtoMarkColour());

    hover(*m_roller, mto.center());
    QTRY_VERIFY(!QToolTip::isVisible());
    QTest::mousePress(m_roller, Qt::LeftButton, Qt::NoModifier, mto.center());
    QCOMPARE(m_receiver->log, QStringList());
    // On a side card it still rolls (card 2 is all made to order).
    const QRect side = m_roller->chipRectsOf(CardRollerWidget::RightPage).at(0);
    QTest::mousePress(m_roller, Qt::LeftButton, Qt::NoModifier, side.center());
    QCOMPARE(m_receiver->log, QStringList{QStringLiteral("roll 0")});

    // Shown again: the chip's own colour, and it can be picked.
    m_receiver->log.clear();
    Settings::setShowMto(BrowsingFixture::Sarnex, true);
    image = WidgetProbe::render(*m_roller, QColor(background));
    QCOMPARE(QColor(image.pixel(mto.center())), BrowsingFixture::chipColour(BrowsingFixture::Sarnex, 1, 2));
    QTest::mousePress(m_roller, Qt::LeftButton, Qt::NoModifier, mto.center());
    QCOMPARE(m_receiver->log, QStringList{QStringLiteral("row 2")});
}

void tst_CardRoller::hoverShowsTheChipsToolTip()
{
    WidgetProbe::render(*m_roller, QColor(background));
    const QRect chip = m_roller->chipRectsOf(CardRollerWidget::MiddlePage).at(0);
    hover(*m_roller, chip.center());
    QVERIFY(QToolTip::isVisible());
    QVERIFY2(QToolTip::text().contains(QStringLiteral("D-21")), qPrintable(QToolTip::text()));
    hover(*m_roller, QPoint(chip.center().x(), 1));
    QTRY_VERIFY(!QToolTip::isVisible());
}

void tst_CardRoller::wheel_data()
{
    QTest::addColumn<QPoint>("angleDelta");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("towards the user rolls forward") << QPoint(0, -120) << QStringList{"roll 0"};
    QTest::newRow("away rolls backward") << QPoint(0, 120) << QStringList{"roll 1"};
    QTest::newRow("a small trackpad step") << QPoint(0, -8) << QStringList{"roll 0"};
    // Horizontal scrolls and trackpad phases carry no vertical turn.
    QTest::newRow("horizontal scroll") << QPoint(120, 0) << QStringList{};
    QTest::newRow("no turn at all") << QPoint(0, 0) << QStringList{};
}

void tst_CardRoller::wheel()
{
    QFETCH(QPoint, angleDelta);
    QFETCH(QStringList, expected);
    turnWheel(*m_roller, angleDelta);
    QCOMPARE(m_receiver->log, expected);
}

void tst_CardRoller::dragsTheChipUnderTheCursor()
{
    struct Drag {
        QWidget *source = nullptr;
        QUuid collection;
        DB::ColorEntry entry;
        int from = 0;
        QColor colour;
        Qt::DropActions actions;
    };
    QList<Drag> drags;
    DragDropHelper::s_dragStarter = [&drags](QWidget *source, QMimeData *data, const QPixmap &pixmap,
                                             Qt::DropActions actions) {
        Drag drag;
        drag.source = source;
        drag.from = DragDropHelper::extractDragSource(data);
        DragDropHelper::extractColorEntry(data, drag.collection, drag.entry);
        drag.colour = pixmap.toImage().pixelColor(0, 0);
        drag.actions = actions;
        drags.append(drag);
        delete data;
        return Qt::CopyAction;
    };

    WidgetProbe::render(*m_roller, QColor(background));
    const QVector<QRect> chips = m_roller->chipRectsOf(CardRollerWidget::MiddlePage);
    const QPoint start = chips.at(0).center();
    QTest::mousePress(m_roller, Qt::LeftButton, Qt::NoModifier, start);
    // Within the drag distance nothing starts.
    moveWithLeftButton(*m_roller, start + QPoint(1, 0));
    QCOMPARE(drags.size(), 0);
    // Further on, the chip under the cursor goes, not the one pressed.
    moveWithLeftButton(*m_roller, chips.at(3).center());
    QCOMPARE(drags.size(), 1);
    const Drag &drag = drags.first();
    QCOMPARE(drag.source, m_roller);
    QCOMPARE(drag.from, int(DragSourceCardRoller));
    QCOMPARE(drag.collection, BrowsingFixture::Deck);
    QCOMPARE(drag.entry.code, BrowsingFixture::chipCode(BrowsingFixture::Deck, 2, 4));
    QCOMPARE(drag.entry.id, chipOf(BrowsingFixture::Deck, 2, 4).id);
    const QColor chipColour = BrowsingFixture::chipColour(BrowsingFixture::Deck, 2, 4);
    QVERIFY(qAbs(drag.colour.red() - chipColour.red()) <= 1 && qAbs(drag.colour.green() - chipColour.green()) <= 1
            && qAbs(drag.colour.blue() - chipColour.blue()) <= 1);
    QCOMPARE(drag.actions, Qt::DropActions(Qt::CopyAction));

    // Side cards are not dragged from.
    QTest::mouseRelease(m_roller, Qt::LeftButton, Qt::NoModifier, chips.at(3).center());
    const QPoint side = m_roller->chipRectsOf(CardRollerWidget::RightPage).at(0).center();
    QTest::mousePress(m_roller, Qt::LeftButton, Qt::NoModifier, side);
    moveWithLeftButton(*m_roller, side + QPoint(0, 40));
    QCOMPARE(drags.size(), 1);
    QCOMPARE(m_receiver->log, (QStringList{QStringLiteral("row 1"), QStringLiteral("roll 0"), QStringLiteral("row 1")}));
}

void tst_CardRoller::dragsAreAcceptedFromOtherViewsOnly()
{
    WidgetProbe::render(*m_roller, QColor(background));
    // The chip of the stored card and row: a drop of it changes nothing.
    const DB::ColorEntry chip = chipOf(BrowsingFixture::Deck, 2, 3);
    const struct {
        int from;
        bool accepted;
    } sources[] = {{1, false}, {2, true}, {3, true}, {4, true}};
    for (const auto &source : sources) {
        std::unique_ptr<QMimeData> data(DragDropHelper::buildMimeData(
            DragDropHelper::buildColorChipData(source.from, BrowsingFixture::Deck, chip)));
        bool enter = false;
        bool move = false;
        drop(*m_roller, data.get(), &enter, &move);
        QCOMPARE(enter, source.accepted);
        QCOMPARE(move, source.accepted);
    }
    // Above the cards, over the names, a drag is not taken.
    std::unique_ptr<QMimeData> data(
        DragDropHelper::buildMimeData(DragDropHelper::buildColorChipData(2, BrowsingFixture::Deck, chip)));
    QDragMoveEvent move(QPoint(m_roller->width() / 2, 1), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_roller, &move);
    QVERIFY(!move.isAccepted());

    // Text from another program is left alone.
    QMimeData text;
    text.setText(QStringLiteral("D-11"));
    bool enter = true;
    QVERIFY(!drop(*m_roller, &text, &enter));
    QVERIFY(!enter);
    QCOMPARE(m_receiver->log, QStringList());
}

void tst_CardRoller::drops_data()
{
    QTest::addColumn<QString>("payload");
    QTest::addColumn<QStringList>("expected");

    const QColor far(12, 250, 140);
    const DB::ColorEntry onCard3 = chipOf(BrowsingFixture::Deck, 3, 2);
    const QColor near = nudged(BrowsingFixture::chipColour(BrowsingFixture::Deck, 1, 4));
    DB::ColorEntry missing = onCard3;
    missing.id = 987654;

    // The stored state is card 2, row 3 of the deck.
    QTest::newRow("chip of the current collection")
        << DragDropHelper::buildColorChipData(3, BrowsingFixture::Deck, onCard3) << QStringList{"page 3", "row 2"};
    QTest::newRow("chip on the current card")
        << DragDropHelper::buildColorChipData(2, BrowsingFixture::Deck, chipOf(BrowsingFixture::Deck, 2, 5))
        << QStringList{"row 5"};
    QTest::newRow("chip at the stored card and row")
        << DragDropHelper::buildColorChipData(3, BrowsingFixture::Deck, chipOf(BrowsingFixture::Deck, 2, 3))
        << QStringList{};
    // Not found: never taken for a colour (the deck holds a black chip).
    QTest::newRow("chip that no longer exists")
        << DragDropHelper::buildColorChipData(3, BrowsingFixture::Deck, missing) << QStringList{};
    QTest::newRow("chip payload from the trend colours")
        << DragDropHelper::buildColorChipData(4, BrowsingFixture::Deck, missing) << QStringList{};
    QTest::newRow("trend colour named as a code")
        << DragDropHelper::buildColorData(4, far, QStringLiteral("D-14"), QString()) << QStringList{"page 1", "row 4"};
    QTest::newRow("trend colour with its code second")
        << DragDropHelper::buildColorData(4, far, QStringLiteral("no such code"), QStringLiteral("d-12"))
        << QStringList{"page 1", "row 2"};
    QTest::newRow("colour of a chip")
        << DragDropHelper::buildColorData(4, BrowsingFixture::chipColour(BrowsingFixture::Deck, 3, 1), QString(),
                                          QString())
        << QStringList{"page 3", "row 1"};
    // Near enough to a chip of the current collection, with no main widget.
    QTest::newRow("colour near a chip") << DragDropHelper::buildColorData(4, near, QString(), QString())
                                        << QStringList{"page 1", "row 4"};
    // Far from every chip; and the chip without a code is not found by an
    // empty name.
    QTest::newRow("colour near no chip") << DragDropHelper::buildColorData(4, far, QString(), QString())
                                         << QStringList{};
    QTest::newRow("colour payload from My palette")
        << DragDropHelper::buildColorData(3, BrowsingFixture::chipColour(BrowsingFixture::Deck, 2, 5), QString(),
                                          QString())
        << QStringList{"row 5"};
}

void tst_CardRoller::drops()
{
    QFETCH(QString, payload);
    QFETCH(QStringList, expected);

    std::unique_ptr<QMimeData> data(DragDropHelper::buildMimeData(payload));
    QVERIFY(drop(*m_roller, data.get()));
    QCOMPARE(m_receiver->log, expected);
}

void tst_CardRoller::droppedChipOfAnotherCollection()
{
    const DB::ColorEntry chip = chipOf(BrowsingFixture::Single, 1, 3);
    const QString payload = DragDropHelper::buildColorChipData(2, BrowsingFixture::Single, chip);
    const QString switched = QStringLiteral("collection %1").arg(BrowsingFixture::Single.toString());

    // The main widget refuses the switch: nothing follows.
    std::unique_ptr<QMimeData> data(DragDropHelper::buildMimeData(payload));
    drop(*m_roller, data.get());
    QCOMPARE(m_receiver->log, QStringList{switched});

    // It switches: then the card and the row of the chip there.
    m_receiver->log.clear();
    m_receiver->switchCollections = true;
    Settings::setPageIndex(BrowsingFixture::Single, 1);
    Settings::setRowIndex(BrowsingFixture::Single, 1);
    drop(*m_roller, data.get());
    QCOMPARE(m_receiver->log, (QStringList{switched, QStringLiteral("row 3")}));
}

void tst_CardRoller::nearestMatchUsesTheMainWidgetsTable()
{
    const QColor near = nudged(BrowsingFixture::chipColour(BrowsingFixture::Deck, 3, 2));
    std::unique_ptr<QMimeData> data(DragDropHelper::buildMimeData(DragDropHelper::buildColorData(4, near, {}, {})));

    // Without a main widget the roller loads the deck's candidates itself.
    drop(*m_roller, data.get());
    QCOMPARE(m_receiver->log, (QStringList{QStringLiteral("page 3"), QStringLiteral("row 2")}));

    // With one, its table is searched: here one built for another
    // collection, so nothing near enough is found.
    m_receiver->log.clear();
    BrowsingFixture::browse(BrowsingFixture::Single, 1, 1);
    MainWidget *instance = nullptr;
    {
        MainWidget main(instance, nullptr);
        QCOMPARE(main.matchTable().size(), 4);
        BrowsingFixture::browse(BrowsingFixture::Deck, 2, 3);
        Global::g_mainWidget = &main;
        drop(*m_roller, data.get());
        Global::g_mainWidget = nullptr;
    }
    QCOMPARE(m_receiver->log, QStringList());
}

void tst_CardRoller::collectionIdsRepeatAcrossFiles()
{
    // The deck and Other are both collection 1 of their files. A colour
    // found by its code is the deck's, also while Other is the current one.
    BrowsingFixture::browse(BrowsingFixture::Other, 1, 1);

    std::unique_ptr<QMimeData> data(DragDropHelper::buildMimeData(
        DragDropHelper::buildColorData(4, Qt::white, QStringLiteral("D-31"), QString())));
    m_receiver->switchCollections = true;
    drop(*m_roller, data.get());
    QCOMPARE(m_receiver->log, (QStringList{QStringLiteral("collection %1").arg(BrowsingFixture::Deck.toString()),
                                           QStringLiteral("page 3"), QStringLiteral("row 1")}));
}

void tst_CardRoller::aColourOfAChipTheCurrentDeckSharesStaysInIt()
{
    // Deck X owns a card and lends it to deck Y. A colour without names is
    // looked for across the file's collections; where the current deck holds
    // the chip, the drop stays in it.
    struct BackToTheFixture {
        const QString folder = DBManager::s_preferredLookupFolder;
        ~BackToTheFixture()
        {
            DBManager::s_installed_collections.clear();
            DBManager::s_preferredLookupFolder = folder;
            BrowsingFixture::browse(BrowsingFixture::Deck, 2, 3);
        }
    } backToTheFixture;
    const QUuid owner(QStringLiteral("{0000000a-5a5a-4000-8000-000000000001}"));
    const QUuid borrower(QStringLiteral("{0000000b-5a5a-4000-8000-000000000002}"));
    const QColor colour(40, 90, 160);
    FixtureFolder folder;
    {
        auto writer = folder.createFile(QStringLiteral("shared.db"));
        const qint64 x = writer->addCollection(owner, QStringLiteral("X"), QStringLiteral("Deck X"), 1, true);
        const qint64 y = writer->addCollection(borrower, QStringLiteral("Y"), QStringLiteral("Deck Y"), 2, true);
        CollectionWriter::Card card;
        card.pageIndex = 4;
        const qint64 page = writer->addCard(x, card);
        for (int row = 1; row <= 2; ++row) {
            CollectionWriter::Chip chip;
            chip.rowIndex = row;
            chip.code = QStringLiteral("X-4-%1").arg(row);
            chip.red = row == 2 ? colour.red() : 1;
            chip.green = row == 2 ? colour.green() : 2;
            chip.blue = row == 2 ? colour.blue() : 3;
            writer->addChip(x, page, chip);
        }
        QVERIFY(writer->mapCard(y, page));
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    DBManager::s_installed_collections.clear();
    folder.activate();
    BrowsingFixture::browse(borrower, 1, 1);
    DB::ColorEntry asTheFileGivesIt;
    QCOMPARE(DBManager::GetColorEntryByColor(colour, asTheFileGivesIt), 0);
    QCOMPARE(DBManager::GetCollectionUuidById(DBStructure::SystemWideCollectionUuid, asTheFileGivesIt.collectionId), owner);

    std::unique_ptr<QMimeData> data(DragDropHelper::buildMimeData(DragDropHelper::buildColorData(4, colour, {}, {})));
    drop(*m_roller, data.get());
    QCOMPARE(m_receiver->log, (QStringList{QStringLiteral("page 4"), QStringLiteral("row 2")}));
}

QTEST_MAIN(tst_CardRoller)
#include "tst_cardroller.moc"
