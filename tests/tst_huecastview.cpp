// The trend-colour page: the layout of a group, which groups are shown, the
// open states, painting, repainting after a toggle, and dragging a colour out.

#include "FixtureFolder.h"
#include "FixtureTheme.h"
#include "MaterialsWriter.h"
#include "PaintCounter.h"
#include "TestEnvironment.h"

#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/TavoCustomStyle.h"
#include "services/Theme.h"
#include "views/HuecastViewport.h"
#include "views/HuecastWidget.h"

#include <QMimeData>
#include <QScopeGuard>
#include <QScrollBar>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace Velmar;

namespace {

const QUuid trendDeck(QStringLiteral("{00004000-0000-0000-0000-000000000001}"));
const QUuid plainDeck(QStringLiteral("{00004000-0000-0000-0000-000000000002}"));

using Cells = QVector<HuecastViewport::Cell>;
using Rects = QList<QRect>;

// Cells whose two names have the given sizes.
Cells cells(const QList<QSize> &name1, const QList<QSize> &name2)
{
    Cells result;
    for (int i = 0; i < name1.size(); ++i)
        result.append({i + 1, name1.at(i), name2.value(i, name1.at(i))});
    return result;
}

// The chip rectangles in entry order.
Rects chipsInEntryOrder(const QHash<QRect, qint64> &chips)
{
    QList<QPair<qint64, QRect>> byEntry;
    for (auto it = chips.cbegin(); it != chips.cend(); ++it)
        byEntry.append({it.value(), it.key()});
    std::sort(byEntry.begin(), byEntry.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    Rects rects;
    for (const auto &entry : byEntry)
        rects.append(entry.second);
    return rects;
}

QRect areaOf(const HuecastViewport &viewport, qint64 groupId)
{
    for (auto it = viewport.groupAreas().cbegin(); it != viewport.groupAreas().cend(); ++it) {
        if (it.value() == groupId)
            return it.key();
    }
    return QRect();
}

// Where the group shows the entry's chip; empty when it shows none.
QRect chipOf(const HuecastViewport &viewport, qint64 groupId, qint64 entryId)
{
    const QHash<QRect, qint64> chips = viewport.chipPlaces(groupId);
    for (auto it = chips.cbegin(); it != chips.cend(); ++it) {
        if (it.value() == entryId)
            return it.key();
    }
    return QRect();
}

void sendMouse(QWidget *widget, QEvent::Type type, const QPoint &position, Qt::MouseButton button,
               Qt::MouseButtons buttons, const QPoint &globalOffset = QPoint(1000, 1000))
{
    QMouseEvent event(type, QPointF(position), QPointF(position + globalOffset), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace

// Sends the collection signal the main widget sends.
class CollectionNotifier : public QObject
{
    Q_OBJECT

signals:
    void selectedCollectionChanged(QUuid collectionId);
};

class tst_HuecastView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void layoutOfAGroup_data();
    void layoutOfAGroup();
    void groupsShownInOrder_data();
    void groupsShownInOrder();
    void dragText_data();
    void dragText();

    void pageIsBuiltAsAScrollArea();
    void groupsOfTheCollectionWithTheirOpenStates();
    void withoutGroupsTheContentHasNoHeight();
    void toggleStoresTheStateAndRepaints();
    void paintsArrowsNamesAndChips();
    void chipDraggedOutCarriesColourAndNames();
    void noDragWithoutANewPressOnAChip_data();
    void noDragWithoutANewPressOnAChip();
    void collectionSlotReloads();

private:
    FixtureFolder m_folder;
    qint64 m_coastal = -1;
    qint64 m_urban = -1;
    qint64 m_empty = -1;
    qint64 m_twinLow = -1;
    qint64 m_twinHigh = -1;
    qint64 m_sand = -1;
};

void tst_HuecastView::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("trends.db"));
    QVERIFY(FixtureTheme::write(*writer));
    const qint64 deck = writer->addCollection(trendDeck, QStringLiteral("T"), QStringLiteral("Trends"), 1, true);
    writer->addCollection(plainDeck, QStringLiteral("P"), QStringLiteral("Plain"), 2, true);
    m_coastal = MaterialsWriter::addHuecastGroup(*writer, deck, QStringLiteral("Coastal"), true, 1);
    m_urban = MaterialsWriter::addHuecastGroup(*writer, deck, QStringLiteral("Urban"), false, 2);
    m_empty = MaterialsWriter::addHuecastGroup(*writer, deck, QStringLiteral("Empty"), true, 3);
    m_twinLow = MaterialsWriter::addHuecastGroup(*writer, deck, QStringLiteral("Twin low"), true, 4);
    m_twinHigh = MaterialsWriter::addHuecastGroup(*writer, deck, QStringLiteral("Twin high"), true, 4);
    const struct {
        const char *name1;
        const char *name2;
        QColor colour;
    } coastal[] = {{"Sand", "Dune", QColor(214, 196, 160)}, {"Surf", "", QColor(120, 170, 190)},
                   {"", "Kelp", QColor(70, 96, 60)},        {"Drift", "Wood", QColor(150, 130, 110)}};
    for (int i = 0; i < 4; ++i) {
        const qint64 id = MaterialsWriter::addHuecastEntry(*writer, deck, m_coastal, QLatin1String(coastal[i].name1),
                                                           QLatin1String(coastal[i].name2), coastal[i].colour, i + 1);
        if (i == 0)
            m_sand = id;
    }
    MaterialsWriter::addHuecastEntry(*writer, deck, m_urban, QStringLiteral("Concrete"), QStringLiteral("Grey"),
                                     QColor(128, 128, 124), 1);
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();
    QCOMPARE(Global::InitializePrerequisites(QString(), m_folder.lookupFolder()), 0);
}

void tst_HuecastView::init()
{
    Settings::setUuidOfLastUsedCollection(trendDeck);
}

void tst_HuecastView::layoutOfAGroup_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QSize>("chip");
    QTest::addColumn<bool>("open");
    QTest::addColumn<Cells>("cells");
    QTest::addColumn<Rects>("chips");
    QTest::addColumn<int>("areaBottom");

    // Header 16 high from y 20: chips start at 35 + 10 = 45. Edges are
    // inclusive: a cell is the chip, 4 free rows, then both names, and the
    // next cell starts 5 pixels right of its last column.
    const QSize name(40, 15);
    const QList<QSize> six(6, name);
    QTest::newRow("five 64-pixel chips to a 400-pixel line")
        << 400 << QSize(64, 48) << true << cells(six, {})
        << Rects{{0, 45, 64, 48}, {68, 45, 64, 48}, {136, 45, 64, 48}, {204, 45, 64, 48}, {272, 45, 64, 48},
                 {0, 45 + 82 + 10, 64, 48}}
        << 45 + 82 + 10 + 82;
    QTest::newRow("a long name widens its cell")
        << 400 << QSize(64, 48) << true << cells({name, QSize(150, 15), name}, {name, name, QSize(90, 15)})
        << Rects{{0, 45, 64, 48}, {68, 45, 64, 48}, {222, 45, 64, 48}} << 45 + 82;
    QTest::newRow("the tallest cell sets the line")
        << 200 << QSize(40, 30) << true << cells({QSize(30, 15), QSize(30, 40), QSize(30, 15), QSize(30, 15)}, QList<QSize>(4, QSize(30, 15)))
        << Rects{{0, 45, 40, 30}, {44, 45, 40, 30}, {88, 45, 40, 30}, {132, 45, 40, 30}} << 45 + 30 + 4 + 40 + 15;
    QTest::newRow("the line height starts again on a new line")
        << 100 << QSize(40, 30) << true << cells({QSize(30, 40), QSize(30, 15), QSize(30, 15)}, QList<QSize>(3, QSize(30, 15)))
        << Rects{{0, 45, 40, 30}, {44, 45, 40, 30}, {0, 45 + 89 + 10, 40, 30}} << 45 + 89 + 10 + 64;
    QTest::newRow("a cell wider than the page starts a line of its own")
        << 50 << QSize(64, 48) << true << cells({name}, {}) << Rects{{0, 45 + 48 + 10, 64, 48}}
        << 45 + 48 + 10 + 82;
    QTest::newRow("open without entries: one chip line") << 400 << QSize(64, 48) << true << Cells() << Rects()
                                                        << 45 + 48;
    QTest::newRow("closed: the header alone") << 400 << QSize(64, 48) << false << cells(six, {}) << Rects() << 35;
}

void tst_HuecastView::layoutOfAGroup()
{
    QFETCH(int, width);
    QFETCH(QSize, chip);
    QFETCH(bool, open);
    QFETCH(Cells, cells);
    QFETCH(Rects, chips);
    QFETCH(int, areaBottom);

    const HuecastViewport::GroupLayout layout = HuecastViewport::layoutGroup(20, width, chip, 16, open, cells);
    QCOMPARE(chipsInEntryOrder(layout.chips), chips);
    QCOMPARE(layout.area.topLeft(), QPoint(0, 20));
    QCOMPARE(layout.area.width(), width);
    QCOMPARE(layout.area.bottom(), areaBottom);
}

void tst_HuecastView::groupsShownInOrder_data()
{
    QTest::addColumn<QList<QPoint>>("groups"); // (id, order) in insertion order
    QTest::addColumn<QList<qint64>>("shown");

    QTest::newRow("ascending by order") << QList<QPoint>{{7, 3}, {2, 1}, {9, -4}} << QList<qint64>{9, 2, 7};
    QTest::newRow("equal orders: the higher id") << QList<QPoint>{{4, 1}, {11, 1}, {6, 2}} << QList<qint64>{11, 6};
    QTest::newRow("equal orders, other way in") << QList<QPoint>{{11, 1}, {4, 1}, {6, 2}} << QList<qint64>{11, 6};
    QTest::newRow("none") << QList<QPoint>{} << QList<qint64>{};
}

void tst_HuecastView::groupsShownInOrder()
{
    QFETCH(QList<QPoint>, groups);
    QFETCH(QList<qint64>, shown);

    // Several hashes of the same groups, so their iteration orders differ.
    for (int round = 0; round < 8; ++round) {
        QHash<qint64, DB::HuecastGroup> hash;
        hash.reserve(round * 16);
        for (const QPoint &g : groups) {
            DB::HuecastGroup group;
            group.id = g.x();
            group.order = g.y();
            hash.insert(group.id, group);
        }
        QCOMPARE(HuecastViewport::groupOrderOf(hash), shown);
    }
}

void tst_HuecastView::dragText_data()
{
    QTest::addColumn<QString>("name1");
    QTest::addColumn<QString>("name2");
    QTest::addColumn<QString>("text");

    QTest::newRow("both names") << "Sand" << "Dune" << "Coastal\nSand\nDune";
    QTest::newRow("first name only") << "Surf" << "" << "Coastal\nSurf";
    QTest::newRow("second name only") << "" << "Kelp" << "Coastal\nKelp";
    QTest::newRow("no names: the group's name") << "" << "" << "Coastal";
}

void tst_HuecastView::dragText()
{
    QFETCH(QString, name1);
    QFETCH(QString, name2);
    QFETCH(QString, text);
    QCOMPARE(HuecastViewport::dragTextFor(QStringLiteral("Coastal"), name1, name2), text);
}

void tst_HuecastView::pageIsBuiltAsAScrollArea()
{
    HuecastWidget page;
    QCOMPARE(page.objectName(), QStringLiteral("HuecastWidget"));
    QCOMPARE(page.huecastViewport()->objectName(), QStringLiteral("HuecastViewport"));
    QCOMPARE(page.widget(), page.huecastViewport());
    QCOMPARE(page.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(page.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    // Margins of 10 around the scrolled area; the 12-pixel bar on the right.
    page.resize(300, 200);
    page.show();
    QCOMPARE(page.viewport()->geometry().topLeft(), QPoint(10, 10));
    QCOMPARE(page.maximumViewportSize(), QSize(300 - 20 - 12, 200 - 20));
    QCOMPARE(page.frameStyle(), 0);
    QCOMPARE(page.focusPolicy(), Qt::StrongFocus);
    QVERIFY(page.hasMouseTracking());
    QVERIFY(page.huecastViewport()->hasMouseTracking());
    QVERIFY(!page.huecastViewport()->autoFillBackground());
    auto *style = qobject_cast<TavoCustomStyle *>(page.verticalScrollBar()->style());
    QVERIFY(style);
    QCOMPARE(style->parent(), &page);
    QCOMPARE(page.font(), Theme::normalFont(Theme::FontSizeNormal));

}

void tst_HuecastView::groupsOfTheCollectionWithTheirOpenStates()
{
    Settings::setHuecastGroupOpen(trendDeck, m_urban, true);
    Settings::setHuecastGroupOpen(trendDeck, m_coastal, false);
    HuecastWidget page;
    HuecastViewport *viewport = page.huecastViewport();
    // Of the twins with equal order, the one with the higher id.
    QCOMPARE(viewport->groupOrder(), (QList<qint64>{m_coastal, m_urban, m_empty, m_twinHigh}));
    // Stored states win over the default-open flags; unstored ones follow them.
    QVERIFY(!viewport->isGroupOpen(m_coastal));
    QVERIFY(viewport->isGroupOpen(m_urban));
    QVERIFY(viewport->isGroupOpen(m_empty));
    QVERIFY(viewport->isGroupOpen(m_twinHigh));
    Settings::setHuecastGroupOpen(trendDeck, m_urban, false);
    Settings::setHuecastGroupOpen(trendDeck, m_coastal, true);
}

void tst_HuecastView::withoutGroupsTheContentHasNoHeight()
{
    Settings::setUuidOfLastUsedCollection(plainDeck);
    HuecastWidget page;
    HuecastViewport *viewport = page.huecastViewport();
    viewport->resize(300, 50);
    viewport->recalculateLayout();
    QVERIFY(viewport->groupAreas().isEmpty());
    QCOMPARE(viewport->height(), 0);

    // One closed group: down to its header's last row.
    Settings::setUuidOfLastUsedCollection(trendDeck);
    page.selectedCollectionChanged(trendDeck);
    viewport->resize(300, 50);
    viewport->recalculateLayout();
    const QRect last = areaOf(*viewport, m_twinHigh);
    QCOMPARE(viewport->height(), last.bottom() + 1);
}

void tst_HuecastView::toggleStoresTheStateAndRepaints()
{
    HuecastWidget page;
    page.resize(520, 600); // taller than the content
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    HuecastViewport *viewport = page.huecastViewport();
    QVERIFY(!viewport->isGroupOpen(m_urban));
    const QRect urban = areaOf(*viewport, m_urban);
    QVERIFY(urban.isValid());
    QVERIFY(viewport->height() > urban.bottom() + 100);

    PaintCounter counter(viewport);
    QCoreApplication::processEvents();
    counter.count = 0;
    const int heightBefore = viewport->height();
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, urban.topLeft() + QPoint(3, 3));
    QVERIFY(viewport->isGroupOpen(m_urban));
    // The content is still shorter than the page: nothing was resized.
    QCOMPARE(viewport->height(), heightBefore);
    QTRY_VERIFY(counter.count > 0);
    QVERIFY(areaOf(*viewport, m_urban).height() > urban.height());

    // Stored for this collection, not for another.
    QVERIFY(Settings::huecastGroupOpen(trendDeck, m_urban, false));
    QVERIFY(!Settings::huecastGroupOpen(plainDeck, m_urban, false));

    // The name beside the arrow does not toggle.
    const QRect opened = areaOf(*viewport, m_urban);
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, QPoint(60, opened.top() + 4));
    QVERIFY(viewport->isGroupOpen(m_urban));
    // The arrow closes it again.
    counter.count = 0;
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, opened.topLeft() + QPoint(8, 8));
    QVERIFY(!viewport->isGroupOpen(m_urban));
    QVERIFY(!Settings::huecastGroupOpen(trendDeck, m_urban, true));
    QTRY_VERIFY(counter.count > 0);
}

void tst_HuecastView::paintsArrowsNamesAndChips()
{
    HuecastWidget page;
    HuecastViewport *viewport = page.huecastViewport();
    viewport->resize(400, 10);
    viewport->recalculateLayout();
    QImage image(viewport->size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    viewport->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);

    const QRect coastal = areaOf(*viewport, m_coastal);
    const QRect urban = areaOf(*viewport, m_urban);
    QCOMPARE(image.pixel(coastal.topLeft() + QPoint(8, 8)),
             FixtureTheme::colourOf(Theme::KeyOfHuecastGroupOpenImage).rgb());
    QCOMPARE(image.pixel(urban.topLeft() + QPoint(8, 8)),
             FixtureTheme::colourOf(Theme::KeyOfHuecastGroupClosedImage).rgb());

    // The group's name in white, right of the arrow.
    bool white = false;
    for (int x = coastal.left() + 24; x < coastal.left() + 90 && !white; ++x) {
        for (int y = coastal.top(); y < coastal.top() + 16 && !white; ++y)
            white = qGray(image.pixel(x, y)) > 200;
    }
    QVERIFY(white);

    const QRect sand = chipOf(*viewport, m_coastal, m_sand);
    QCOMPARE(sand.size(), QSize(64, 48));
    QCOMPARE(image.pixelColor(sand.center()), QColor(214, 196, 160));
    QCOMPARE(image.pixelColor(sand.left(), sand.center().y()), QColor(64, 64, 64));
    QCOMPARE(image.pixelColor(sand.right(), sand.bottom()), QColor(64, 64, 64));
    // Inside the dark outline a faint light line: a little lighter than the chip.
    const QColor inner = image.pixelColor(sand.left() + 1, sand.center().y());
    QVERIFY(inner.red() > 214 && inner.red() < 230);
    // Outside the chip the page shows through.
    QCOMPARE(image.pixelColor(sand.right() + 2, sand.center().y()), QColor(Qt::black));
    // The first name under the chip.
    bool nameInk = false;
    for (int y = sand.bottom() + 5; y < sand.bottom() + 20 && !nameInk; ++y) {
        for (int x = sand.left(); x < sand.left() + 30 && !nameInk; ++x)
            nameInk = qGray(image.pixel(x, y)) > 150;
    }
    QVERIFY(nameInk);
}

void tst_HuecastView::chipDraggedOutCarriesColourAndNames()
{
    struct Drag {
        QWidget *source = nullptr;
        std::unique_ptr<QMimeData> data;
        QSize pixmap;
        Qt::DropActions actions;
    };
    QList<std::shared_ptr<Drag>> drags;
    const auto startDrag = DragDropHelper::s_dragStarter;
    DragDropHelper::s_dragStarter = [&drags](QWidget *source, QMimeData *data, const QPixmap &pixmap,
                                             Qt::DropActions actions) {
        auto drag = std::make_shared<Drag>();
        drag->source = source;
        drag->data.reset(data);
        drag->pixmap = pixmap.size();
        drag->actions = actions;
        drags.append(drag);
        return Qt::CopyAction;
    };

    HuecastWidget page;
    HuecastViewport *viewport = page.huecastViewport();
    viewport->resize(400, 10);
    viewport->recalculateLayout();
    const QRect sand = chipOf(*viewport, m_coastal, m_sand);
    const QPoint start = sand.center();
    const int far = QApplication::startDragDistance() + 1;

    // Hovering: the pointing hand on chips and arrows, the arrow elsewhere.
    sendMouse(viewport, QEvent::MouseMove, start, Qt::NoButton, Qt::NoButton);
    QCOMPARE(viewport->cursor().shape(), Qt::PointingHandCursor);
    sendMouse(viewport, QEvent::MouseMove, QPoint(120, 4), Qt::NoButton, Qt::NoButton);
    QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor);
    sendMouse(viewport, QEvent::MouseMove, QPoint(4, 4), Qt::NoButton, Qt::NoButton);
    QCOMPARE(viewport->cursor().shape(), Qt::PointingHandCursor);

    // Pressed and released without moving far enough: no drag.
    sendMouse(viewport, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(viewport->dragColor(), QColor(214, 196, 160));
    QCOMPARE(viewport->dragText(), QStringLiteral("Coastal\nSand\nDune"));
    sendMouse(viewport, QEvent::MouseMove, start + QPoint(1, 0), Qt::NoButton, Qt::LeftButton);
    sendMouse(viewport, QEvent::MouseButtonRelease, start + QPoint(1, 0), Qt::LeftButton, Qt::NoButton);
    QVERIFY(drags.isEmpty());
    QCOMPARE(viewport->dragColor().alpha(), 0);
    QVERIFY(viewport->dragText().isEmpty());
    // After the release a move with the button held does not drag either.
    sendMouse(viewport, QEvent::MouseMove, start + QPoint(far, far), Qt::NoButton, Qt::LeftButton);
    QVERIFY(drags.isEmpty());

    // Pressed and moved far: one drag of the trend colour.
    sendMouse(viewport, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    sendMouse(viewport, QEvent::MouseMove, start + QPoint(far, 0), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(drags.size(), 1);
    const Drag &drag = *drags.first();
    QCOMPARE(drag.source, viewport);
    QCOMPARE(drag.actions, Qt::DropActions(Qt::CopyAction));
    QCOMPARE(drag.pixmap, QSize(128, 64));
    QCOMPARE(DragDropHelper::extractDragSource(drag.data.get()), 4);
    QColor colour;
    QCOMPARE(DragDropHelper::extractColor(drag.data.get(), colour), 0);
    QCOMPARE(colour, QColor(214, 196, 160));
    QString name1, name2;
    QCOMPARE(DragDropHelper::extractColorNames(drag.data.get(), name1, name2), 0);
    QCOMPARE(name1, QStringLiteral("Sand"));
    QCOMPARE(name2, QStringLiteral("Dune"));

    // A press on the header, not on a chip, arms nothing.
    sendMouse(viewport, QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    sendMouse(viewport, QEvent::MouseButtonPress, QPoint(120, 4), Qt::LeftButton, Qt::LeftButton);
    sendMouse(viewport, QEvent::MouseMove, QPoint(120 + far, 4), Qt::NoButton, Qt::LeftButton);
    QCOMPARE(drags.size(), 1);
    DragDropHelper::s_dragStarter = startDrag;
}

void tst_HuecastView::noDragWithoutANewPressOnAChip_data()
{
    QTest::addColumn<bool>("dragFirst");
    // Where a second press goes, with no release after the first; empty for
    // no second press.
    QTest::addColumn<QString>("secondPress");

    QTest::newRow("after a drag, moving on") << true << QString();
    QTest::newRow("after a drag, beside the chips") << true << "beside the chips";
    QTest::newRow("after a drag, on the group's name") << true << "on the group's name";
    QTest::newRow("after a press on a chip, beside the chips") << false << "beside the chips";
    QTest::newRow("after a press on a chip, on the group's name") << false << "on the group's name";
    QTest::newRow("after a press on a chip, between the groups") << false << "between the groups";
}

void tst_HuecastView::noDragWithoutANewPressOnAChip()
{
    QFETCH(bool, dragFirst);
    QFETCH(QString, secondPress);

    // Like the platform's own drag, this one takes the release with it: the
    // view never gets one.
    int drags = 0;
    const auto startDrag = DragDropHelper::s_dragStarter;
    const auto restore = qScopeGuard([startDrag] { DragDropHelper::s_dragStarter = startDrag; });
    DragDropHelper::s_dragStarter = [&drags](QWidget *, QMimeData *data, const QPixmap &, Qt::DropActions) {
        ++drags;
        delete data;
        return Qt::CopyAction;
    };

    HuecastWidget page;
    HuecastViewport *viewport = page.huecastViewport();
    viewport->resize(400, 10);
    viewport->recalculateLayout();
    const QRect sand = chipOf(*viewport, m_coastal, m_sand);
    const QRect coastal = areaOf(*viewport, m_coastal);
    const QHash<QString, QPoint> places{
        {QStringLiteral("beside the chips"), QPoint(coastal.right() - 10, sand.center().y())},
        {QStringLiteral("on the group's name"), QPoint(120, 4)},
        {QStringLiteral("between the groups"), QPoint(120, coastal.bottom() + 5)},
    };
    const QPoint start = sand.center();
    const QPoint far(QApplication::startDragDistance() + 1, 0);

    sendMouse(viewport, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    if (dragFirst) {
        sendMouse(viewport, QEvent::MouseMove, start + far, Qt::NoButton, Qt::LeftButton);
        QCOMPARE(drags, 1);
    }
    QPoint at = start + far;
    if (!secondPress.isEmpty()) {
        at = places.value(secondPress);
        sendMouse(viewport, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    }
    sendMouse(viewport, QEvent::MouseMove, at + far + far, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(drags, dragFirst ? 1 : 0);
    QCOMPARE(viewport->dragColor().alpha(), 0);

    // A new press on a chip arms it again.
    sendMouse(viewport, QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    sendMouse(viewport, QEvent::MouseMove, start + far, Qt::NoButton, Qt::LeftButton);
    QCOMPARE(drags, dragFirst ? 2 : 1);
}

void tst_HuecastView::collectionSlotReloads()
{
    HuecastWidget page;
    page.resize(400, 600); // taller than the content
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(page.huecastViewport()->groupOrder().size(), 4);
    const QSize contentSize = page.huecastViewport()->size();
    // Connected by its text signature, as the main widget does.
    CollectionNotifier notifier;
    QVERIFY(QObject::connect(&notifier, SIGNAL(selectedCollectionChanged(QUuid)), &page,
                             SLOT(selectedCollectionChanged(QUuid))));
    PaintCounter counter(page.huecastViewport());
    QTest::qWait(50); // paints of the shown page are over
    counter.count = 0;
    Settings::setUuidOfLastUsedCollection(plainDeck);
    emit notifier.selectedCollectionChanged(plainDeck);
    QVERIFY(page.huecastViewport()->groupOrder().isEmpty());
    QVERIFY(page.huecastViewport()->groupAreas().isEmpty());
    // Both contents are shorter than the page: no resize, a repaint all the same.
    QCOMPARE(page.huecastViewport()->size(), contentSize);
    QTRY_VERIFY(counter.count > 0);
    page.prepareForCollection(trendDeck);
    QCOMPARE(page.huecastViewport()->groupOrder().size(), 4);
}

QTEST_MAIN(tst_HuecastView)
#include "tst_huecastview.moc"
