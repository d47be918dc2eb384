// My palette: cells and selection through the settings, clicks, drops in
// and drags out, the eraser and the trash, the buttons' states, geometry and
// what it paints.

#include "FixtureFolder.h"
#include "FixtureTheme.h"
#include "PaletteFixture.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "plugin/ImageButton.h"
#include "plugin/MainWidget.h"
#include "plugin/MyPaletteWidget.h"
#include "plugin/TaskButton.h"
#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>

namespace Velmar {

// Connects to My palette the way the main widget does, by text signatures.
class PaletteOwner : public QObject
{
    Q_OBJECT

public:
    int changed = 0;
    int selectionChanged = 0;
    int zoomed = 0;

signals:
    void savePaletteTo(PaletteFileFormat fileFormat, QString path);
    void loadPaletteFrom(PaletteFileFormat expectedFileFormat, QString path);
    void selectedCollectionChanged(QUuid collectionId);

public slots:
    void onMyPaletteChanged() { ++changed; }
    void onMyPaletteSelectionChanged() { ++selectionChanged; }
    void zoomMyPaletteClicked() { ++zoomed; }
};

} // namespace Velmar

using namespace Velmar;

Q_DECLARE_METATYPE(QList<QPoint>)

namespace {

const QSize paletteSize(564, 210);

QPoint centreOf(const MyPaletteWidget &palette, const QPoint &coord)
{
    return palette.cellAt(coord).rect().center();
}

QString codeAt(const MyPaletteWidget &palette, const QPoint &coord)
{
    return palette.myPaletteColorCodeAtCoord(coord);
}

QList<QPoint> storedSelection()
{
    QList<QPoint> selected;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 6; ++column) {
            if (Settings::myPaletteEntryState(QPoint(column, row)))
                selected << QPoint(column, row);
        }
    }
    return selected;
}

QList<QPoint> selectionOf(const MyPaletteWidget &palette)
{
    QList<QPoint> selected;
    for (unsigned short i = 0; i < palette.myPaletteSelectedCount(); ++i)
        selected << palette.myPaletteSelectedItemCoordsAt(i);
    return selected;
}

QList<QPoint> sorted(QList<QPoint> points)
{
    std::sort(points.begin(), points.end(), [](const QPoint &a, const QPoint &b) {
        return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x();
    });
    return points;
}

QMimeData *chipDrag(int from, const QString &code)
{
    const PaletteFixture::Chip chip = PaletteFixture::chip(code);
    DB::ColorEntry entry;
    entry.id = chip.id;
    return DragDropHelper::buildMimeData(DragDropHelper::buildColorChipData(from, chip.collection, entry));
}

struct DropResult {
    bool enterAccepted = false;
    bool moveAccepted = false;
    QPoint targetWhileMoving;
};

DropResult dragAndDrop(MyPaletteWidget &palette, QMimeData *data, const QPoint &position)
{
    DropResult result;
    QDragEnterEvent enter(position, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&palette, &enter);
    result.enterAccepted = enter.isAccepted();
    QDragMoveEvent move(position, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&palette, &move);
    result.moveAccepted = move.isAccepted();
    result.targetWhileMoving = palette.dropTarget();
    QDropEvent drop(QPointF(position), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&palette, &drop);
    return result;
}

QImage render(QWidget &widget, const QRegion &region = QRegion())
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    // The region's top-left corner goes to the offset: keep widget coordinates.
    widget.render(&image, region.boundingRect().topLeft(), region, QWidget::DrawChildren);
    return image;
}

void sendMove(QWidget &widget, const QPoint &position, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(position), QPointF(widget.mapToGlobal(position)), Qt::NoButton,
                     buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &move);
}

} // namespace

class TestMyPalette : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void geometry_data();
    void geometry();
    void widgetFollowsTheLayout();
    void cellsComeFromTheSettings();
    void entryNameFollowsTheDisplayOrder();
    void queriesByCoordinate();
    void selection_data();
    void selection();
    void dropOnASelectedCellFillsTheSelection();
    void refusedDrags_data();
    void refusedDrags();
    void dragLeaveForgetsTheTarget();
    void dragOut();
    void hoverShowsTheChipsToolTip();
    void eraserKeepsTheSelection();
    void trashAsksAndKeepsSelectionAndDescription();
    void buttonStatesFollowThePalette();
    void zoomAndGridButtons();
    void description();
    void connectionsByTextSignature();
    void paints();
    void paintsEveryRectangleOfTheRegion();

private:
    FixtureFolder m_folder;
};

void TestMyPalette::initTestCase()
{
    TestEnvironment::isolate();
    QString error;
    QVERIFY2(PaletteFixture::start(m_folder, &error), qPrintable(error));
}

void TestMyPalette::init()
{
    PaletteFixture::clearSettings();
}

void TestMyPalette::cleanup()
{
    DragDropHelper::s_dragStarter = nullptr;
    Global::g_mainWidget = nullptr;
}

void TestMyPalette::geometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("gridButton");
    QTest::addColumn<QRect>("zoomButton");
    QTest::addColumn<QRect>("description");
    QTest::addColumn<QRect>("firstCell");
    QTest::addColumn<QRect>("lastCell");
    QTest::addColumn<QRect>("gridArea");

    // Bar 30 high, four 18 by 18 buttons, a 17 pixel description line.
    QTest::newRow("in the main widget") << QSize(564, 210) << QRect(516, 6, 18, 18) << QRect(450, 6, 18, 18)
                                        << QRect(12, 193, 540, 17) << QRect(12, 43, 90, 34)
                                        << QRect(462, 145, 90, 34) << QRect(12, 43, 541, 137);
    // (100 - 24) mod 6 = 4: two pixels more on the left.
    QTest::newRow("100 wide") << QSize(100, 200) << QRect(52, 6, 18, 18) << QRect(-14, 6, 18, 18)
                              << QRect(12, 183, 76, 17) << QRect(14, 42, 12, 32) << QRect(74, 138, 12, 32)
                              << QRect(14, 42, 73, 129);
    QTest::newRow("too small for cells") << QSize(20, 40) << QRect(-28, 6, 18, 18) << QRect(-94, 6, 18, 18)
                                         << QRect(12, 23, -4, 17) << QRect(12, 42, 0, 0) << QRect(12, 42, 0, 0)
                                         << QRect();
}

void TestMyPalette::geometry()
{
    QFETCH(QSize, size);
    QFETCH(QRect, gridButton);
    QFETCH(QRect, zoomButton);
    QFETCH(QRect, description);
    QFETCH(QRect, firstCell);
    QFETCH(QRect, lastCell);
    QFETCH(QRect, gridArea);
    const int widths[4] = {18, 18, 18, 18};
    const MyPaletteWidget::Geometry g = MyPaletteWidget::geometryFor(size, 30, widths, 18, 17);
    QCOMPARE(g.bar, QRect(0, 0, size.width(), 30));
    QCOMPARE(g.gridButton, gridButton);
    QCOMPARE(g.trashButton, gridButton.translated(-22, 0));
    QCOMPARE(g.eraserButton, gridButton.translated(-44, 0));
    QCOMPARE(g.zoomButton, zoomButton);
    QCOMPARE(g.description, description);
    QCOMPARE(g.cells[0][0], firstCell);
    QCOMPARE(g.cells[3][5], lastCell);
    // The cells touch.
    QCOMPARE(g.cells[1][2].topLeft(), QPoint(firstCell.x() + 2 * firstCell.width(), firstCell.y() + firstCell.height()));
    QCOMPARE(g.gridArea, gridArea);
}

void TestMyPalette::widgetFollowsTheLayout()
{
    MyPaletteWidget palette;
    palette.resize(paletteSize);
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));
    // The fixture's buttons are 16 pixel images in 18 pixel buttons.
    const int widths[4] = {18, 18, 18, 18};
    const int fh = QFontMetrics(palette.font()).height();
    const MyPaletteWidget::Geometry g = MyPaletteWidget::geometryFor(paletteSize, 30, widths, 18, fh);
    QCOMPARE(palette.zoomButton()->geometry(), g.zoomButton);
    QCOMPARE(palette.eraserButton()->geometry(), g.eraserButton);
    QCOMPARE(palette.trashButton()->geometry(), g.trashButton);
    QCOMPARE(palette.gridButton()->geometry(), g.gridButton);
    QCOMPARE(palette.descriptionField()->geometry(), g.description);
    QCOMPARE(palette.cellAt(QPoint(0, 0)).rect(), g.cells[0][0]);
    QCOMPARE(palette.cellAt(QPoint(5, 3)).rect(), g.cells[3][5]);
    QCOMPARE(palette.gridArea(), g.gridArea);
    QCOMPARE(palette.pointToCoord(g.cells[2][4].topLeft()), QPoint(4, 2));
    QCOMPARE(palette.pointToCoord(g.cells[2][4].bottomRight()), QPoint(4, 2));
    QCOMPARE(palette.pointToCoord(QPoint(5, 5)), QPoint(-1, -1));
}

void TestMyPalette::cellsComeFromTheSettings()
{
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    PaletteFixture::store(QPoint(5, 2), QStringLiteral("NP-0101"));
    // A reference to a chip that is gone, and one to a collection that is not installed.
    DB::ItemIndex gone = PaletteFixture::index(QStringLiteral("GB-0101"));
    gone.entryId = 99999;
    Settings::setMyPaletteEntry(QPoint(3, 3), gone);
    DB::ItemIndex elsewhere = PaletteFixture::index(QStringLiteral("GB-0102"));
    elsewhere.collection = QUuid::createUuid();
    Settings::setMyPaletteEntry(QPoint(4, 3), elsewhere);
    Settings::setMyPaletteEntryState(QPoint(3, 3), true);
    Settings::setMyPaletteEntryState(QPoint(0, 0), true);

    MyPaletteWidget palette;
    const MyPaletteWidget::ColorEntry first = palette.cellAt(QPoint(0, 0));
    QVERIFY(first.isFilled());
    QCOMPARE(first.color(), PaletteFixture::chip(QStringLiteral("GB-0101")).colour);
    QCOMPARE(first.color().alpha(), 255);
    QCOMPARE(first.text(), QStringLiteral("GB-0101 - Bleu brume"));
    QCOMPARE(first.itemIndex().toString(), PaletteFixture::index(QStringLiteral("GB-0101")).toString());
    QCOMPARE(codeAt(palette, QPoint(5, 2)), QStringLiteral("NP-0101"));

    for (const QPoint &lost : {QPoint(3, 3), QPoint(4, 3)}) {
        QVERIFY(!palette.cellAt(lost).isFilled());
        QCOMPARE(palette.myPaletteColorAtCoord(lost), QColor(Qt::transparent));
        QCOMPARE(palette.myPaletteNameAtCoord(lost), QString());
    }
    // The keys of the lost chips stay.
    QCOMPARE(Settings::myPaletteEntry(QPoint(3, 3)).entryId, qint64(99999));
    QCOMPARE(Settings::myPaletteEntry(QPoint(4, 3)).collection, elsewhere.collection);
    // The selection comes back in row order, empty cells too.
    QCOMPARE(selectionOf(palette), (QList<QPoint>{QPoint(0, 0), QPoint(3, 3)}));

    // A collection change reloads the same cells.
    Settings::setMyPaletteEntry(QPoint(0, 0), DB::ItemIndex());
    PaletteFixture::store(QPoint(1, 1), QStringLiteral("GB-0303"));
    palette.selectedCollectionChanged(PaletteFixture::Nordic);
    QVERIFY(!palette.cellAt(QPoint(0, 0)).isFilled());
    QCOMPARE(codeAt(palette, QPoint(1, 1)), QStringLiteral("GB-0303"));
    QCOMPARE(codeAt(palette, QPoint(5, 2)), QStringLiteral("NP-0101"));
}

void TestMyPalette::entryNameFollowsTheDisplayOrder()
{
    DB::ColorEntry named;
    DB::ColorEntry unnamed;
    QCOMPARE(DBManager::GetColorEntryById(PaletteFixture::Galleria, PaletteFixture::chip(QStringLiteral("GB-0102")).id, named), 0);
    QCOMPARE(DBManager::GetColorEntryById(PaletteFixture::Galleria, PaletteFixture::chip(QStringLiteral("GB-0304")).id, unnamed), 0);

    const QVector<qint64> saved = DBManager::s_row_name_display_order;
    QCOMPARE(saved, (QVector<qint64>{1, 0}));
    QCOMPARE(MyPaletteWidget::ColorEntry::buildEntryName(named), QStringLiteral("GB-0102 - Bleu du port"));
    QCOMPARE(MyPaletteWidget::ColorEntry::buildEntryName(unnamed), QStringLiteral("GB-0304"));
    DBManager::s_row_name_display_order = {0};
    QCOMPARE(MyPaletteWidget::ColorEntry::buildEntryName(named), QStringLiteral("GB-0102 - Harbour Blue"));
    DBManager::s_row_name_display_order.clear();
    QCOMPARE(MyPaletteWidget::ColorEntry::buildEntryName(named), QStringLiteral("GB-0102"));
    DBManager::s_row_name_display_order = saved;
}

void TestMyPalette::queriesByCoordinate()
{
    PaletteFixture::store(QPoint(5, 3), QStringLiteral("GB-0302"));
    Settings::setMyPaletteEntryState(QPoint(2, 0), true);
    MyPaletteWidget palette;
    QCOMPARE(palette.myPaletteRowCount(), 4);
    QCOMPARE(palette.myPaletteColumnCount(), 6);
    QVERIFY(!palette.myPaletteIsEmpty());
    QCOMPARE(palette.myPaletteColorAtCoord(QPoint(5, 3)), PaletteFixture::chip(QStringLiteral("GB-0302")).colour);
    QCOMPARE(palette.myPaletteColorAtCoord(QPoint(3, 5)), QColor(Qt::transparent));
    QCOMPARE(palette.myPaletteNameAtCoord(QPoint(5, 3)), QStringLiteral("GB-0302 - Terre cuite"));
    QCOMPARE(palette.myPaletteNameAtCoord(QPoint(6, 0)), QString());
    QCOMPARE(palette.myPaletteColorCodeAtCoord(QPoint(5, 3)), QStringLiteral("GB-0302"));
    QCOMPARE(palette.myPaletteColorCodeAtCoord(QPoint(0, 0)), QString());
    const QString tip = palette.myPaletteTooltipAtCoord(QPoint(5, 3));
    QVERIFY(tip.contains(QStringLiteral("GB-0302")));
    QCOMPARE(tip, DBManager::BuildToolTipForColorEntry(PaletteFixture::Galleria, PaletteFixture::chip(QStringLiteral("GB-0302")).id, false));
    QCOMPARE(palette.myPaletteTooltipAtCoord(QPoint(-1, 0)), QString());
    QCOMPARE(palette.myPaletteSelectedCount(), 1);
    QCOMPARE(palette.myPaletteSelectedItemCoordsAt(0), QPoint(2, 0));
    QCOMPARE(palette.myPaletteSelectedItemCoordsAt(1), QPoint(-1, -1));
}

void TestMyPalette::selection_data()
{
    QTest::addColumn<QList<QPoint>>("before");
    QTest::addColumn<QPoint>("clicked"); // (-1, -1): the bar above the grid
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QList<QPoint>>("after");
    QTest::addColumn<int>("emitted");

    const int none = Qt::NoModifier;
    const int control = Qt::ControlModifier;
    const QList<QPoint> two{QPoint(1, 0), QPoint(2, 0)};
    QTest::newRow("click on a filled cell") << two << QPoint(0, 0) << none << QList<QPoint>{QPoint(0, 0)} << 1;
    QTest::newRow("click on an empty cell") << two << QPoint(4, 2) << none << QList<QPoint>{QPoint(4, 2)} << 1;
    QTest::newRow("click on the one selected cell") << QList<QPoint>{QPoint(0, 0)} << QPoint(0, 0) << none
                                                    << QList<QPoint>{QPoint(0, 0)} << 1;
    QTest::newRow("control-click adds") << two << QPoint(0, 0) << control
                                        << QList<QPoint>{QPoint(1, 0), QPoint(2, 0), QPoint(0, 0)} << 1;
    QTest::newRow("control-click removes") << two << QPoint(1, 0) << control << QList<QPoint>{QPoint(2, 0)} << 1;
    QTest::newRow("shift-click changes nothing") << two << QPoint(0, 0) << int(Qt::ShiftModifier) << two << 1;
    QTest::newRow("option-click changes nothing") << two << QPoint(0, 0) << int(Qt::AltModifier) << two << 1;
    QTest::newRow("control-shift-click changes nothing") << two << QPoint(0, 0)
                                                         << int(Qt::ControlModifier | Qt::ShiftModifier) << two << 1;
    QTest::newRow("click outside the grid") << two << QPoint(-1, -1) << none << two << 0;
}

void TestMyPalette::selection()
{
    QFETCH(QList<QPoint>, before);
    QFETCH(QPoint, clicked);
    QFETCH(int, modifiers);
    QFETCH(QList<QPoint>, after);
    QFETCH(int, emitted);

    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    for (const QPoint &coord : before)
        Settings::setMyPaletteEntryState(coord, true);
    MyPaletteWidget palette;
    palette.resize(paletteSize);
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));
    QCOMPARE(selectionOf(palette), before);

    QSignalSpy selectionChanged(&palette, SIGNAL(myPaletteSelectionChanged()));
    QSignalSpy changed(&palette, SIGNAL(myPaletteChanged()));
    const QPoint position = clicked == QPoint(-1, -1) ? QPoint(5, 5) : centreOf(palette, clicked);
    QTest::mouseClick(&palette, Qt::LeftButton, Qt::KeyboardModifiers(modifiers), position);
    QCOMPARE(selectionOf(palette), after);
    QCOMPARE(storedSelection(), sorted(after));
    QCOMPARE(selectionChanged.count(), emitted);
    QCOMPARE(changed.count(), 0);
    // Selecting never changes the cells.
    QCOMPARE(codeAt(palette, QPoint(0, 0)), QStringLiteral("GB-0101"));
}

void TestMyPalette::dropOnASelectedCellFillsTheSelection()
{
    PaletteFixture::store(QPoint(2, 1), QStringLiteral("GB-0101"));
    const QList<QPoint> selected{QPoint(0, 0), QPoint(2, 1), QPoint(4, 3)};
    for (const QPoint &coord : selected)
        Settings::setMyPaletteEntryState(coord, true);
    MyPaletteWidget palette;
    palette.resize(paletteSize);
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));
    QSignalSpy changed(&palette, SIGNAL(myPaletteChanged()));

    std::unique_ptr<QMimeData> roller(chipDrag(DragSourceCardRoller, QStringLiteral("GB-0301")));
    const DropResult first = dragAndDrop(palette, roller.get(), centreOf(palette, QPoint(2, 1)));
    QVERIFY(first.enterAccepted);
    QVERIFY(first.moveAccepted);
    QCOMPARE(first.targetWhileMoving, QPoint(2, 1));
    QCOMPARE(palette.dropTarget(), QPoint(-1, -1));
    QCOMPARE(changed.count(), 1);
    for (const QPoint &coord : selected) {
        QCOMPARE(codeAt(palette, coord), QStringLiteral("GB-0301"));
        QCOMPARE(Settings::myPaletteEntry(coord).toString(), PaletteFixture::index(QStringLiteral("GB-0301")).toString());
    }
    QCOMPARE(palette.cellAt(QPoint(4, 3)).text(), QStringLiteral("GB-0301 - Abricot"));
    QCOMPARE(selectionOf(palette), selected);

    // On a cell outside the selection only that cell changes; a schemer drags too.
    std::unique_ptr<QMimeData> schemer(chipDrag(DragSourceColorSchemer, QStringLiteral("NP-0101")));
    dragAndDrop(palette, schemer.get(), centreOf(palette, QPoint(5, 0)));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(codeAt(palette, QPoint(5, 0)), QStringLiteral("NP-0101"));
    QCOMPARE(Settings::myPaletteEntry(QPoint(5, 0)).collection, PaletteFixture::Nordic);
    for (const QPoint &coord : selected)
        QCOMPARE(codeAt(palette, coord), QStringLiteral("GB-0301"));
    QCOMPARE(selectionOf(palette), selected);
}

void TestMyPalette::refusedDrags_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("from My palette itself") << "palette";
    QTest::newRow("trend colour") << "colour";
    QTest::newRow("text from another program") << "text";
    QTest::newRow("our type, not JSON") << "garbage";
    QTest::newRow("roller chip that no longer exists") << "gone";
}

void TestMyPalette::refusedDrags()
{
    QFETCH(QString, kind);
    PaletteFixture::store(QPoint(1, 1), QStringLiteral("GB-0101"));
    MyPaletteWidget palette;
    palette.resize(paletteSize);
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));
    QSignalSpy changed(&palette, SIGNAL(myPaletteChanged()));

    std::unique_ptr<QMimeData> data;
    if (kind == QLatin1String("palette")) {
        data.reset(chipDrag(DragSourceMyPalette, QStringLiteral("GB-0302")));
    } else if (kind == QLatin1String("colour")) {
        data.reset(DragDropHelper::buildMimeData(
            DragDropHelper::buildColorData(DragSourceHuecast, QColor(200, 10, 10), QStringLiteral("Red"), QString())));
    } else if (kind == QLatin1String("text")) {
        data.reset(new QMimeData);
        data->setText(QStringLiteral("GB-0302"));
    } else if (kind == QLatin1String("garbage")) {
        data.reset(new QMimeData);
        data->setData(DragDropHelper::MimeType, "{ \"from\" : 1, ");
    } else {
        DB::ColorEntry missing;
        missing.id = 99999;
        data.reset(DragDropHelper::buildMimeData(
            DragDropHelper::buildColorChipData(DragSourceCardRoller, PaletteFixture::Galleria, missing)));
    }
    const DropResult result = dragAndDrop(palette, data.get(), centreOf(palette, QPoint(1, 1)));
    if (kind != QLatin1String("gone")) {
        QVERIFY(!result.enterAccepted);
        QVERIFY(!result.moveAccepted);
        QCOMPARE(result.targetWhileMoving, QPoint(-1, -1));
    }
    QCOMPARE(palette.dropTarget(), QPoint(-1, -1));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(codeAt(palette, QPoint(1, 1)), QStringLiteral("GB-0101"));
    QCOMPARE(Settings::myPaletteEntry(QPoint(1, 1)).toString(), PaletteFixture::index(QStringLiteral("GB-0101")).toString());
}

void TestMyPalette::dragLeaveForgetsTheTarget()
{
    MyPaletteWidget palette;
    palette.resize(paletteSize);
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));
    std::unique_ptr<QMimeData> data(chipDrag(DragSourceCardRoller, QStringLiteral("GB-0101")));
    const QPoint position = centreOf(palette, QPoint(3, 2));
    QDragEnterEvent enter(position, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&palette, &enter);
    QDragMoveEvent move(position, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&palette, &move);
    QCOMPARE(palette.dropTarget(), QPoint(3, 2));
    // Over the bar: no target, and the move is refused.
    QDragMoveEvent above(QPoint(5, 5), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&palette, &above);
    QVERIFY(!above.isAccepted());
    QCOMPARE(palette.dropTarget(), QPoint(-1, -1));
    QCoreApplication::sendEvent(&palette, &move);
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(&palette, &leave);
    QCOMPARE(palette.dropTarget(), QPoint(-1, -1));
    // A drop after the leave has no target and changes nothing.
    QDropEvent drop(QPointF(position), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&palette, &drop);
    QVERIFY(palette.myPaletteIsEmpty());
}

void TestMyPalette::dragOut()
{
    PaletteFixture::store(QPoint(2, 2), QStringLiteral("GB-0303"));
    MyPaletteWidget palette;
    palette.resize(paletteSize);
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));

    int drags = 0;
    int from = 0;
    qint64 entryId = 0;
    QUuid collection;
    QSize pixmapSize;
    Qt::DropActions actions;
    QWidget *source = nullptr;
    DragDropHelper::s_dragStarter = [&](QWidget *s, QMimeData *data, const QPixmap &pixmap, Qt::DropActions a) {
        ++drags;
        source = s;
        from = DragDropHelper::extractDragSource(data);
        DB::ColorEntry entry;
        DragDropHelper::extractColorEntry(data, collection, entry);
        entryId = entry.id;
        pixmapSize = pixmap.size();
        actions = a;
        delete data;
        return Qt::CopyAction;
    };

    const QPoint start = centreOf(palette, QPoint(2, 2));
    const int far = QApplication::startDragDistance() + 1;
    // A short move is no drag.
    QTest::mousePress(&palette, Qt::LeftButton, Qt::NoModifier, start);
    sendMove(palette, start + QPoint(QApplication::startDragDistance(), 0), Qt::LeftButton);
    QCOMPARE(drags, 0);
    sendMove(palette, start + QPoint(far, 0), Qt::LeftButton);
    QCOMPARE(drags, 1);
    QCOMPARE(source, &palette);
    QCOMPARE(from, int(DragSourceMyPalette));
    QCOMPARE(collection, PaletteFixture::Galleria);
    QCOMPARE(entryId, PaletteFixture::chip(QStringLiteral("GB-0303")).id);
    QCOMPARE(pixmapSize, QSize(128, 64));
    QCOMPARE(actions, Qt::DropActions(Qt::CopyAction));
    // The chip stays in its cell.
    QCOMPARE(codeAt(palette, QPoint(2, 2)), QStringLiteral("GB-0303"));
    QTest::mouseRelease(&palette, Qt::LeftButton, Qt::NoModifier, start + QPoint(far, 0));

    // From an empty cell nothing is dragged.
    const QPoint empty = centreOf(palette, QPoint(0, 0));
    QTest::mousePress(&palette, Qt::LeftButton, Qt::NoModifier, empty);
    sendMove(palette, empty + QPoint(far, 0), Qt::LeftButton);
    QTest::mouseRelease(&palette, Qt::LeftButton, Qt::NoModifier, empty + QPoint(far, 0));
    QCOMPARE(drags, 1);
}

void TestMyPalette::hoverShowsTheChipsToolTip()
{
    PaletteFixture::store(QPoint(1, 0), QStringLiteral("GB-0102"));
    MyPaletteWidget palette;
    palette.resize(paletteSize);
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));
    sendMove(palette, centreOf(palette, QPoint(1, 0)), Qt::NoButton);
    QVERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(),
             DBManager::BuildToolTipForColorEntry(PaletteFixture::Galleria, PaletteFixture::chip(QStringLiteral("GB-0102")).id, true));
    QVERIFY(QToolTip::text().contains(QStringLiteral("GB-0102")));
    sendMove(palette, centreOf(palette, QPoint(2, 0)), Qt::NoButton);
    QTRY_VERIFY(!QToolTip::isVisible());
}

void TestMyPalette::eraserKeepsTheSelection()
{
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    PaletteFixture::store(QPoint(1, 0), QStringLiteral("GB-0102"));
    Settings::setMyPaletteEntryState(QPoint(0, 0), true);
    Settings::setMyPaletteEntryState(QPoint(2, 0), true);
    MyPaletteWidget palette;
    QVERIFY(palette.eraserButton()->isEnabled());
    QSignalSpy changed(&palette, SIGNAL(myPaletteChanged()));
    palette.eraserButton()->click();
    QCOMPARE(changed.count(), 1);
    QVERIFY(!palette.cellAt(QPoint(0, 0)).isFilled());
    QCOMPARE(Settings::myPaletteEntry(QPoint(0, 0)).entryId, qint64(-1));
    QCOMPARE(codeAt(palette, QPoint(1, 0)), QStringLiteral("GB-0102"));
    QCOMPARE(selectionOf(palette), (QList<QPoint>{QPoint(0, 0), QPoint(2, 0)}));
    QCOMPARE(storedSelection(), (QList<QPoint>{QPoint(0, 0), QPoint(2, 0)}));
    // Nothing selected is filled any more.
    QVERIFY(!palette.eraserButton()->isEnabled());
}

void TestMyPalette::trashAsksAndKeepsSelectionAndDescription()
{
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    PaletteFixture::store(QPoint(4, 1), QStringLiteral("NP-0101"));
    Settings::setMyPaletteEntryState(QPoint(4, 1), true);
    Settings::setMyPaletteDescription(QStringLiteral("Keep me"));
    MyPaletteWidget palette;
    palette.resize(paletteSize);
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));
    QSignalSpy changed(&palette, SIGNAL(myPaletteChanged()));
    QSignalSpy selectionChanged(&palette, SIGNAL(myPaletteSelectionChanged()));

    QVERIFY(!palette.clearQuestion());
    palette.trashButton()->click();
    QMessageBox *question = palette.clearQuestion();
    QVERIFY(question);
    QTRY_VERIFY(question->isVisible());
    QCOMPARE(question->windowTitle(), QStringLiteral("Please confirm"));
    QCOMPARE(question->text(), QStringLiteral("Remove every colour from the palette?"));
    QCOMPARE(question->iconPixmap().size(), QSize(48, 48));
    QCOMPARE(question->windowModality(), Qt::WindowModal);
    QCOMPARE(question->defaultButton(), question->button(QMessageBox::Yes));

    question->button(QMessageBox::No)->click();
    QTRY_VERIFY(!question->isVisible());
    QCOMPARE(codeAt(palette, QPoint(0, 0)), QStringLiteral("GB-0101"));
    palette.trashButton()->click();
    QCOMPARE(palette.clearQuestion(), question);
    QTRY_VERIFY(question->isVisible());
    QTest::keyClick(question, Qt::Key_Escape);
    QTRY_VERIFY(!question->isVisible());
    QCOMPARE(codeAt(palette, QPoint(0, 0)), QStringLiteral("GB-0101"));
    QCOMPARE(changed.count(), 0);

    palette.trashButton()->click();
    QTRY_VERIFY(question->isVisible());
    question->button(QMessageBox::Yes)->click();
    QTRY_VERIFY(palette.myPaletteIsEmpty());
    QCOMPARE(changed.count(), 1);
    QCOMPARE(selectionChanged.count(), 1);
    QCOMPARE(Settings::myPaletteEntry(QPoint(0, 0)).entryId, qint64(-1));
    QCOMPARE(Settings::myPaletteEntry(QPoint(4, 1)).entryId, qint64(-1));
    QCOMPARE(selectionOf(palette), QList<QPoint>{QPoint(4, 1)});
    QVERIFY(Settings::myPaletteEntryState(QPoint(4, 1)));
    QCOMPARE(palette.myPaletteNote(), QStringLiteral("Keep me"));
    QCOMPARE(Settings::myPaletteDescription(), QStringLiteral("Keep me"));
    QVERIFY(!palette.trashButton()->isEnabled());
}

void TestMyPalette::buttonStatesFollowThePalette()
{
    MainWidget main(Global::g_mainWidget);
    QCOMPARE(Global::g_mainWidget, &main);
    auto *palette = new MyPaletteWidget(&main);
    palette->setGeometry(236, 327, paletteSize.width(), paletteSize.height());
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    TaskButton *save = main.taskButton(1);
    TaskButton *load = main.taskButton(2);
    QVERIFY(!save->isEnabled());
    QVERIFY(load->isEnabled());
    QVERIFY(!palette->zoomButton()->isEnabled());
    QVERIFY(!palette->trashButton()->isEnabled());
    QVERIFY(!palette->eraserButton()->isEnabled());
    QVERIFY(palette->gridButton()->isEnabled());

    std::unique_ptr<QMimeData> data(chipDrag(DragSourceCardRoller, QStringLiteral("GB-0101")));
    dragAndDrop(*palette, data.get(), centreOf(*palette, QPoint(3, 1)));
    QVERIFY(save->isEnabled());
    QVERIFY(palette->zoomButton()->isEnabled());
    QVERIFY(palette->trashButton()->isEnabled());
    QVERIFY(!palette->eraserButton()->isEnabled());

    QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, centreOf(*palette, QPoint(3, 1)));
    QVERIFY(palette->eraserButton()->isEnabled());
    palette->eraserButton()->click();
    QVERIFY(!save->isEnabled());
    QVERIFY(load->isEnabled());
    QVERIFY(!palette->zoomButton()->isEnabled());
    QVERIFY(!palette->eraserButton()->isEnabled());
}

void TestMyPalette::zoomAndGridButtons()
{
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    MyPaletteWidget palette;
    QSignalSpy zoom(&palette, SIGNAL(zoomMyPaletteClicked()));
    palette.zoomButton()->click();
    QCOMPARE(zoom.count(), 1);

    QVERIFY(palette.gridButton()->isCheckable());
    QVERIFY(palette.gridButton()->isChecked());
    palette.gridButton()->click();
    QVERIFY(!Settings::myPaletteGridState());
    MyPaletteWidget again;
    QVERIFY(!again.gridButton()->isChecked());
    palette.gridButton()->click();
    QVERIFY(Settings::myPaletteGridState());
}

void TestMyPalette::description()
{
    Settings::setMyPaletteDescription(QStringLiteral("Kitchen"));
    {
        MyPaletteWidget palette;
        QCOMPARE(palette.myPaletteNote(), QStringLiteral("Kitchen"));
    }
    Settings::setMyPaletteDescription(QString());
    MyPaletteWidget palette;
    palette.resize(paletteSize);
    palette.show();
    QVERIFY(QTest::qWaitForWindowExposed(&palette));
    QLineEdit *field = palette.descriptionField();
    QCOMPARE(field->placeholderText(), QStringLiteral("Describe this palette"));
    QVERIFY(!field->hasFrame());
    // Empty and unfocused: the placeholder shows in italics.
    QTRY_VERIFY(field->font().italic());
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(field, &in);
    QVERIFY(!field->font().italic());

    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("Blue room"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(Settings::myPaletteDescription(), QStringLiteral("Blue room"));
    QCOMPARE(palette.myPaletteNote(), QStringLiteral("Blue room"));
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(field, &out);
    QVERIFY(!field->font().italic());
    // White text on the main background.
    QCOMPARE(field->palette().color(QPalette::Text), QColor(255, 255, 255));
    QCOMPARE(field->palette().brush(QPalette::Base).style(), Qt::TexturePattern);
}

void TestMyPalette::connectionsByTextSignature()
{
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    MyPaletteWidget palette;
    PaletteOwner owner;
    QVERIFY(QObject::connect(&owner, SIGNAL(savePaletteTo(PaletteFileFormat,QString)), &palette,
                             SLOT(savePaletteTo(PaletteFileFormat,QString))));
    QVERIFY(QObject::connect(&owner, SIGNAL(loadPaletteFrom(PaletteFileFormat,QString)), &palette,
                             SLOT(loadPaletteFrom(PaletteFileFormat,QString))));
    QVERIFY(QObject::connect(&owner, SIGNAL(selectedCollectionChanged(QUuid)), &palette,
                             SLOT(selectedCollectionChanged(QUuid))));
    QVERIFY(QObject::connect(&palette, SIGNAL(myPaletteChanged()), &owner, SLOT(onMyPaletteChanged())));
    QVERIFY(QObject::connect(&palette, SIGNAL(myPaletteSelectionChanged()), &owner, SLOT(onMyPaletteSelectionChanged())));
    QVERIFY(QObject::connect(&palette, SIGNAL(zoomMyPaletteClicked()), &owner, SLOT(zoomMyPaletteClicked())));

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("wired.palette"));
    emit owner.savePaletteTo(PaletteFileFormatXml, path);
    QVERIFY(QFile::exists(path));
    palette.clearPalette(true, false);
    emit owner.loadPaletteFrom(PaletteFileFormatXml, path);
    QCOMPARE(owner.changed, 1);
    QCOMPARE(codeAt(palette, QPoint(0, 0)), QStringLiteral("GB-0101"));
    Settings::setMyPaletteEntryState(QPoint(5, 0), true);
    emit owner.selectedCollectionChanged(PaletteFixture::Galleria);
    QCOMPARE(palette.myPaletteSelectedCount(), 1);
    palette.zoomButton()->click();
    QCOMPARE(owner.zoomed, 1);
}

void TestMyPalette::paints()
{
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0102"));
    Settings::setMyPaletteEntryState(QPoint(1, 1), true);
    MyPaletteWidget palette;
    palette.resize(paletteSize);
    QImage image = render(palette);

    const QColor bar = FixtureTheme::colourOf(Theme::KeyOfWidgetBarBackgroundImage);
    QCOMPARE(image.pixel(2, 2), bar.rgb());
    QCOMPARE(image.pixel(paletteSize.width() - 1, 29), bar.rgb());
    QCOMPARE(image.pixelColor(2, 30).alpha(), 0);

    const QRect chip = palette.cellAt(QPoint(0, 0)).rect();
    QCOMPARE(image.pixelColor(chip.center()), PaletteFixture::chip(QStringLiteral("GB-0102")).colour);
    // The grid: a dark line on the edge of an empty cell, nothing inside it.
    const QRect empty = palette.cellAt(QPoint(4, 2)).rect();
    QCOMPARE(image.pixelColor(empty.left() + 5, empty.top()), QColor(64, 64, 64));
    QCOMPARE(image.pixelColor(empty.center()).alpha(), 0);
    // The selected cell wears a light frame over the grid line.
    const QRect selected = palette.cellAt(QPoint(1, 1)).rect();
    QVERIFY(qGray(image.pixel(selected.left(), selected.center().y())) > 200);
    QCOMPARE(image.pixelColor(selected.center()).alpha(), 0);

    // Without the grid, empty cells show no outline at all.
    palette.gridButton()->click();
    image = render(palette);
    QCOMPARE(image.pixelColor(empty.left() + 5, empty.top()).alpha(), 0);
    QCOMPARE(image.pixelColor(chip.center()), PaletteFixture::chip(QStringLiteral("GB-0102")).colour);
}

void TestMyPalette::paintsEveryRectangleOfTheRegion()
{
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    PaletteFixture::store(QPoint(5, 3), QStringLiteral("GB-0303"));
    MyPaletteWidget palette;
    palette.resize(paletteSize);
    render(palette);
    const QRect first = palette.cellAt(QPoint(0, 0)).rect();
    const QRect last = palette.cellAt(QPoint(5, 3)).rect();
    // Two updates merged into one paint: the bar's right end and the last cell.
    const QRegion region = QRegion(QRect(paletteSize.width() - 40, 0, 40, 30)) + QRegion(last) + QRegion(first);
    QCOMPARE(region.rectCount(), 3);
    const QImage image = render(palette, region);
    QCOMPARE(image.pixel(paletteSize.width() - 2, 2), FixtureTheme::colourOf(Theme::KeyOfWidgetBarBackgroundImage).rgb());
    QCOMPARE(image.pixelColor(first.center()), PaletteFixture::chip(QStringLiteral("GB-0101")).colour);
    QCOMPARE(image.pixelColor(last.center()), PaletteFixture::chip(QStringLiteral("GB-0303")).colour);
}

QTEST_MAIN(TestMyPalette)
#include "tst_mypalette.moc"
