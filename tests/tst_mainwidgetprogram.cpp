// The picker's main widget as one program on the demo collection, driven
// like a user drives it: the wheel, a mood, a card, a search typed into the
// field, a collection chosen in the chooser's list and a chip dragged into
// My palette. After each step the stored state and the pixels on screen.

#include "DemoCollection.h"
#include "MainWidgetFixture.h"

#include "database/DBManager.h"
#include "plugin/CollectionSelectWidget.h"
#include "plugin/DropDownButton.h"
#include "plugin/MainWidget.h"
#include "plugin/MyPaletteWidget.h"
#include "plugin/TaskButton.h"
#include "services/DragDropHelper.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/Theme.h"
#include "views/CardRollerWidget.h"
#include "views/ColorWheelWidget.h"
#include "views/MoodSelectWidget.h"
#include "views/SearchWidget.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace Velmar;

namespace {

const QUuid interior = DemoCollection::InteriorDeckUuid;
const QUuid cards = DemoCollection::CardDeckUuid;

QImage render(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    widget.render(&image);
    return image;
}

QColor chipColour(const QUuid &collection, int page, int row)
{
    DB::ColorEntry entry;
    if (DBManager::GetColorEntryByPageAndRowIndex(collection, page, row, entry) != 0)
        return QColor();
    return QColor(entry.red, entry.green, entry.blue);
}

void sendMove(QWidget *widget, const QPoint &at, Qt::MouseButtons buttons)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

} // namespace

class TestMainWidgetProgram : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void aUserPicksAColour();

private:
    // The pixel at the centre of a chip of the roller's middle card, in the
    // main widget's picture.
    QRgb middleChipPixel(const QImage &picture, int row) const;
    void checkMiddleCard(int page, int row);

    QTemporaryDir m_lookupFolder;
    QWidget m_window;
    MainWidget *m_main = nullptr;
};

void TestMainWidgetProgram::initTestCase()
{
    MainWidgetFixture::isolate();
    QString error;
    QVERIFY2(DemoCollection::write(m_lookupFolder.path(), &error), qPrintable(error));
    QCOMPARE(Global::InitializePrerequisites(QString(), m_lookupFolder.path()), 0);
    QCOMPARE(Settings::uuidOfLastUsedCollection(), interior);
    DragDropHelper::s_dragStarter = nullptr;

    // As the picker dialog holds it.
    m_window.resize(MainWidget::s_fixedSize);
    m_main = Global::createMainWidget(&m_window, &m_window);
    m_window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_window));
}

void TestMainWidgetProgram::cleanupTestCase()
{
    DragDropHelper::s_dragStarter = DragDropHelper::execDrag;
}

QRgb TestMainWidgetProgram::middleChipPixel(const QImage &picture, int row) const
{
    const CardRollerWidget *roller = m_main->cardRoller();
    const QRect chip = roller->chipRectsOf(CardRollerWidget::MiddlePage).value(row - 1);
    return picture.pixel(roller->mapTo(m_main, chip.center()));
}

void TestMainWidgetProgram::checkMiddleCard(int page, int row)
{
    const QImage picture = render(*m_main);
    QCOMPARE(m_main->cardRoller()->card(CardRollerWidget::MiddlePage).pageIndex, page);
    QCOMPARE(middleChipPixel(picture, 1), chipColour(Settings::uuidOfLastUsedCollection(), page, 1).rgb());
    QCOMPARE(middleChipPixel(picture, row), chipColour(Settings::uuidOfLastUsedCollection(), page, row).rgb());
}

void TestMainWidgetProgram::aUserPicksAColour()
{
    // The demo's interior deck: two cards a segment, moods fresh, warm, calm,
    // rich, offwhite, neutral in turn; all moods leave offwhite and neutral out.
    checkMiddleCard(1, 1);

    // 1. The wheel: a click on segment 4 goes to its first card, page 7.
    ColorWheelWidget *wheel = m_main->colorWheel();
    QPoint onSegment;
    for (int degrees = 0; degrees < 360 && onSegment.isNull(); degrees += 5) {
        const QPointF point(60 + 40 * std::cos(qDegreesToRadians(double(degrees))),
                            61 - 40 * std::sin(qDegreesToRadians(double(degrees))));
        if (ColorWheelWidget::segmentAt(point, QPointF(60, 61), 57, wheel->segmentIntervals()) == 4)
            onSegment = point.toPoint();
    }
    QVERIFY(!onSegment.isNull());
    QTest::mouseClick(wheel, Qt::LeftButton, Qt::NoModifier, onSegment);
    QCOMPARE(Settings::segmentIndex(interior), 4);
    QCOMPARE(Settings::pageIndex(interior), 7);
    checkMiddleCard(7, 1);

    // 2. A mood: calm. The first calm card from segment 4 on is page 9, on segment 5.
    MoodSelectWidget *moods = m_main->moodStrip();
    QTest::mouseClick(moods, Qt::LeftButton, Qt::NoModifier,
                      moods->currentLayout().moods[MoodSelectWidget::CalmButton].center());
    QCOMPARE(Settings::moodFilter(interior), MoodCalm);
    QCOMPARE(Settings::pageIndex(interior), 9);
    QCOMPARE(Settings::segmentIndex(interior), 5);
    checkMiddleCard(9, 1);

    // 3. A card: the third chip of the next calm card, on the roller's right.
    CardRollerWidget *roller = m_main->cardRoller();
    render(*m_main);
    QCOMPARE(roller->card(CardRollerWidget::RightPage).pageIndex, 15);
    const QRect third = roller->chipRectsOf(CardRollerWidget::RightPage).value(2);
    QTest::mouseClick(roller, Qt::LeftButton, Qt::NoModifier, third.center());
    QCOMPARE(Settings::pageIndex(interior), 15);
    QCOMPARE(Settings::rowIndex(interior), 3);
    QCOMPARE(Settings::segmentIndex(interior), 8);
    checkMiddleCard(15, 3);
    // The selected chip is framed.
    QCOMPARE(roller->selectedChipRect().center(), roller->chipRectsOf(CardRollerWidget::MiddlePage).value(2).center());

    // 4. A search: a warm chip's code, typed and sent with Return. The calm
    // filter opens to all moods and the wheel follows the card.
    QLineEdit *field = m_main->searchField()->textField();
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("di-0204"));
    QCOMPARE(field->text().left(7), QStringLiteral("DI-0204"));
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(Settings::pageIndex(interior), 2);
    QCOMPARE(Settings::rowIndex(interior), 4);
    QCOMPARE(Settings::segmentIndex(interior), 1);
    QCOMPARE(Settings::moodFilter(interior), MoodAll);
    checkMiddleCard(2, 4);

    // 5. Another collection, chosen in the chooser's list.
    CollectionSelectWidget *chooser = m_main->collectionChooser();
    QTest::mouseClick(chooser->dropDownButton(), Qt::LeftButton);
    QListWidget *list = chooser->listWidget();
    QTRY_VERIFY(list->isVisible());
    QListWidgetItem *item = list->findItems(QStringLiteral("Atelier Cards"), Qt::MatchExactly).value(0);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(item).center());
    QTRY_COMPARE(Settings::uuidOfLastUsedCollection(), cards);
    QCOMPARE(chooser->collectionName(), QStringLiteral("Atelier Cards"));
    QVERIFY(!list->isVisible());
    // Its own banner in the header: where it is opaque and differs from the
    // interior deck's.
    const QImage banner = Theme::getImageByKey(cards, Theme::KeyOfHeaderImage, QSize(800, 70));
    const QImage before = Theme::getImageByKey(interior, Theme::KeyOfHeaderImage, QSize(800, 70));
    const QPoint origin((800 - banner.width()) / 2, (70 - banner.height()) / 2);
    QPoint differing(-1, -1);
    for (int y = 0; y < banner.height() && differing.x() < 0; y += 3) {
        for (int x = 0; x < banner.width() && differing.x() < 0; x += 3) {
            if (qAlpha(banner.pixel(x, y)) == 255 && banner.pixel(x, y) != before.pixel(x, y))
                differing = QPoint(x, y);
        }
    }
    QVERIFY(differing.x() >= 0);
    QCOMPARE(render(*m_main).pixel(origin + differing), banner.pixel(differing));
    // The interior deck keeps its place.
    QCOMPARE(Settings::pageIndex(interior), 2);
    checkMiddleCard(Settings::pageIndex(cards), Settings::rowIndex(cards));

    // 6. A drag of the roller's second chip into My palette's third row.
    QMimeData *dragged = nullptr;
    DragDropHelper::s_dragStarter = [&dragged](QWidget *, QMimeData *data, const QPixmap &, Qt::DropActions) {
        dragged = data;
        return Qt::CopyAction;
    };
    render(*m_main);
    const int page = Settings::pageIndex(cards);
    const QPoint start = roller->chipRectsOf(CardRollerWidget::MiddlePage).value(1).center();
    QTest::mousePress(roller, Qt::LeftButton, Qt::NoModifier, start);
    sendMove(roller, start + QPoint(0, QApplication::startDragDistance() + 2), Qt::LeftButton);
    QTest::mouseRelease(roller, Qt::LeftButton, Qt::NoModifier, start);
    QVERIFY(dragged);
    std::unique_ptr<QMimeData> payload(dragged);
    MyPaletteWidget *palette = m_main->myPalette();
    const QPoint target = palette->cellAt(QPoint(4, 2)).rect().center();
    QDragEnterEvent enter(target, Qt::CopyAction, payload.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(palette, &enter);
    QDragMoveEvent move(target, Qt::CopyAction, payload.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(palette, &move);
    QDropEvent drop(QPointF(target), Qt::CopyAction, payload.get(), Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(palette, &drop);

    DB::ColorEntry chip;
    QCOMPARE(DBManager::GetColorEntryByPageAndRowIndex(cards, page, 2, chip), 0);
    QCOMPARE(Settings::myPaletteEntry(QPoint(4, 2)).entryId, chip.id);
    QCOMPARE(Settings::myPaletteEntry(QPoint(4, 2)).collection, cards);
    QCOMPARE(render(*m_main).pixel(palette->mapTo(m_main, target)), QColor(chip.red, chip.green, chip.blue).rgb());
    // With a chip in it, the palette can be saved.
    QVERIFY(m_main->taskButton(1)->isEnabled());
}

QTEST_MAIN(TestMainWidgetProgram)
#include "tst_mainwidgetprogram.moc"
