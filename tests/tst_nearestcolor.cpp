// The nearest-colour pick: the exact look-up within the tolerance, the
// choice between taking a chip and offering several, the dialog that offers
// them, and what a pick stores.

#include "MainWidgetFixture.h"
#include "PaintCounter.h"

#include "database/DBManager.h"
#include "plugin/MainWidget.h"
#include "plugin/SelectNearestColorDialog.h"
#include "services/ColorManager.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "views/ColorWheelWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace Velmar;

namespace {

struct Pick {
    int page = 1;
    int row = 1;
    int segment = 1;

    bool operator==(const Pick &other) const
    {
        return page == other.page && row == other.row && segment == other.segment;
    }
    static Pick of(const QUuid &collection)
    {
        return {Settings::pageIndex(collection), Settings::rowIndex(collection), Settings::segmentIndex(collection)};
    }
};

QColor offset(const QColor &colour, int red, int green, int blue)
{
    return QColor(colour.red() + red, colour.green() + green, colour.blue() + blue);
}

QImage render(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    widget.render(&image);
    return image;
}

// Debug lines seen while it is installed.
QStringList g_debugLines;
QtMessageHandler g_previousHandler = nullptr;

void recordDebugLines(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg)
        g_debugLines.append(message);
    else if (g_previousHandler)
        g_previousHandler(type, context, message);
}

} // namespace

Q_DECLARE_METATYPE(Pick)

namespace QTest {
template <>
char *toString(const Pick &pick)
{
    return qstrdup(qPrintable(QStringLiteral("page %1, row %2, segment %3").arg(pick.page).arg(pick.row).arg(pick.segment)));
}
} // namespace QTest

// Waits for the dialog a pick opens, notes what it offers and answers it.
class DialogDriver : public QObject
{
    Q_OBJECT

public:
    enum Answer { ClickChip, PressEscape, RightClickChip };

    explicit DialogDriver(Answer answer, int chip = 0)
        : m_answer(answer)
        , m_chip(chip)
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, &DialogDriver::poll);
        m_timer.start();
    }

    bool seen = false;
    QVector<qint64> offered;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget *parent = nullptr;
    QString title;
    QString caption;

private slots:
    void poll()
    {
        auto *dialog = qobject_cast<SelectNearestColorDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        m_timer.stop();
        seen = true;
        for (const DB::ColorEntry &entry : dialog->candidates())
            offered.append(entry.id);
        modality = dialog->windowModality();
        parent = dialog->parentWidget();
        title = dialog->windowTitle();
        caption = dialog->captionLabel()->text();
        const QPoint chip = dialog->chipRectOf(offered.value(m_chip)).center();
        switch (m_answer) {
        case ClickChip:
            QTest::mouseClick(dialog, Qt::LeftButton, Qt::NoModifier, chip);
            break;
        case RightClickChip:
            // Neither a right click nor a click beside the chips chooses.
            QTest::mouseClick(dialog, Qt::RightButton, Qt::NoModifier, chip);
            QTest::mouseClick(dialog, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
            if (dialog->isVisible())
                dialog->reject();
            break;
        case PressEscape:
            QTest::keyClick(dialog, Qt::Key_Escape);
            break;
        }
    }

private:
    Answer m_answer;
    int m_chip;
    QTimer m_timer;
};

class TestNearestColor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void exactLookUpTakesTheClosestChip_data();
    void exactLookUpTakesTheClosestChip();
    void pickWithoutAChoice_data();
    void pickWithoutAChoice();
    void severalCandidatesAreOffered_data();
    void severalCandidatesAreOffered();
    void noColourIsNoPick_data();
    void noColourIsNoPick();
    void theWheelFollowsAPickOnAnotherSegment();
    void noDialogWhenNoCandidateLoads();
    void dialogLayout_data();
    void dialogLayout();
    void dialogPaintsChipsAndFrames();
    void dialogCursor();

private:
    void makeMainWidget();

    MainWidgetFixture m_fixture;
    std::unique_ptr<MainWidget> m_main;
};

void TestNearestColor::initTestCase()
{
    MainWidgetFixture::isolate();
    QVERIFY2(m_fixture.write(), qPrintable(m_fixture.error()));
}

void TestNearestColor::init()
{
    MainWidgetFixture::browse(MainWidgetFixture::Alpha);
}

void TestNearestColor::cleanup()
{
    m_main.reset();
}

void TestNearestColor::makeMainWidget()
{
    m_main.reset(new MainWidget(Global::g_mainWidget, nullptr));
}

void TestNearestColor::exactLookUpTakesTheClosestChip_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("row");
    // Card 6 of Alpha: chip 1 is (102, 100, 100), chip 2 (100, 100, 100),
    // stored in that order.
    QTest::newRow("identical to the chip stored second") << QColor(100, 100, 100) << 2;
    QTest::newRow("identical to the chip stored first") << QColor(102, 100, 100) << 1;
    QTest::newRow("nearer the second") << QColor(100, 101, 99) << 2;
    QTest::newRow("nearer the first") << QColor(103, 101, 100) << 1;
    QTest::newRow("as near to both: the first stored") << QColor(101, 100, 100) << 1;
    QTest::newRow("beyond the tolerance of both") << QColor(97, 100, 100) << 0;
}

void TestNearestColor::exactLookUpTakesTheClosestChip()
{
    QFETCH(QColor, colour);
    QFETCH(int, row);
    DB::ColorEntry entry;
    QCOMPARE(DBManager::GetColorEntryByColor(MainWidgetFixture::Alpha, colour, entry), row > 0 ? 0 : -1);
    if (row > 0)
        QCOMPARE(entry.code, MainWidgetFixture::chipCode(MainWidgetFixture::Alpha, 6, row));
}

void TestNearestColor::pickWithoutAChoice_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<Pick>("before");
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<Pick>("after");
    const QColor a12 = MainWidgetFixture::chipColour(MainWidgetFixture::Alpha, 1, 2);
    const QColor a13 = MainWidgetFixture::chipColour(MainWidgetFixture::Alpha, 1, 3);
    const QColor a54 = MainWidgetFixture::chipColour(MainWidgetFixture::Alpha, 5, 4);
    const QColor b11 = MainWidgetFixture::chipColour(MainWidgetFixture::Bravo, 1, 1);
    QTest::newRow("within the tolerance of a chip on another card")
        << MainWidgetFixture::Alpha << Pick{1, 1, 1} << offset(a54, 2, -1, 0) << Pick{5, 4, 9};
    QTest::newRow("a chip on the current card changes only the row")
        << MainWidgetFixture::Alpha << Pick{1, 1, 1} << offset(a13, 0, 2, -2) << Pick{1, 3, 1};
    QTest::newRow("the current chip changes nothing")
        << MainWidgetFixture::Alpha << Pick{1, 2, 1} << a12 << Pick{1, 2, 1};
    // Its Lab is the ghost colour's, its RGB far from it: only matching finds it.
    QTest::newRow("nearest below the threshold, among six")
        << MainWidgetFixture::Alpha << Pick{1, 1, 1} << MainWidgetFixture::ghostColour() << Pick{6, 3, 11};
    QTest::newRow("the only candidate, well away")
        << MainWidgetFixture::Bravo << Pick{1, 5, 2} << offset(b11, 12, 12, 12) << Pick{1, 1, 2};
    QTest::newRow("no candidate at all") << MainWidgetFixture::Plain << Pick{1, 1, 1} << QColor(40, 50, 60)
                                         << Pick{1, 1, 1};
}

void TestNearestColor::pickWithoutAChoice()
{
    QFETCH(QUuid, collection);
    QFETCH(Pick, before);
    QFETCH(QColor, colour);
    QFETCH(Pick, after);
    MainWidgetFixture::browse(collection, before.page, before.row, before.segment);
    makeMainWidget();
    DialogDriver driver(DialogDriver::PressEscape);
    m_main->pickNearestColor(colour);
    QVERIFY(!driver.seen);
    QCOMPARE(Pick::of(collection), after);
}

void TestNearestColor::severalCandidatesAreOffered_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("chip");
    QTest::newRow("a click on the nearest") << int(DialogDriver::ClickChip) << 0;
    QTest::newRow("a click on the fifth") << int(DialogDriver::ClickChip) << 4;
    QTest::newRow("Escape") << int(DialogDriver::PressEscape) << 0;
    QTest::newRow("a right click and a click beside the chips") << int(DialogDriver::RightClickChip) << 0;
}

void TestNearestColor::severalCandidatesAreOffered()
{
    QFETCH(int, answer);
    QFETCH(int, chip);
    MainWidgetFixture::browse(MainWidgetFixture::Alpha, 2, 4, 3);
    makeMainWidget();
    // Grey: near the greys of card 6, within the tolerance of none.
    const QColor grey(118, 118, 118);
    QVector<QPair<double, qint64>> matches;
    ColorManager::MatchColor(ColorManager::fromRgb(grey), m_main->matchTable(), matches, 6);
    QCOMPARE(matches.size(), 6);
    QVERIFY(matches.first().first >= 0.01);

    DialogDriver driver(DialogDriver::Answer(answer), chip);
    m_main->pickNearestColor(grey);
    QVERIFY(driver.seen);
    // The six nearest, nearest first, in a window-modal dialog over the main widget.
    QVector<qint64> nearest;
    for (const auto &match : qAsConst(matches))
        nearest.append(match.second);
    QCOMPARE(driver.offered, nearest);
    QCOMPARE(driver.modality, Qt::WindowModal);
    QCOMPARE(driver.parent, m_main.get());
    QCOMPARE(driver.title, QStringLiteral("Nearest colours"));
    QCOMPARE(driver.caption, QStringLiteral("Choose one of these colours"));

    if (answer != DialogDriver::ClickChip) {
        QCOMPARE(Pick::of(MainWidgetFixture::Alpha), (Pick{2, 4, 3}));
        return;
    }
    DB::ColorEntry chosen;
    QCOMPARE(DBManager::GetColorEntryById(MainWidgetFixture::Alpha, nearest.at(chip), chosen), 0);
    DB::ColorPage card;
    QCOMPARE(DBManager::GetColorPageById(MainWidgetFixture::Alpha, chosen.pageId, true, card), 0);
    QCOMPARE(Pick::of(MainWidgetFixture::Alpha), (Pick{card.pageIndex, chosen.rowIndex, card.segment}));
}

void TestNearestColor::noColourIsNoPick_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::newRow("invalid") << QColor();
    QTest::newRow("transparent") << QColor(Qt::transparent);
}

void TestNearestColor::noColourIsNoPick()
{
    QFETCH(QColor, colour);
    MainWidgetFixture::browse(MainWidgetFixture::Alpha, 3, 2, 5);
    makeMainWidget();
    DialogDriver driver(DialogDriver::PressEscape);
    g_debugLines.clear();
    g_previousHandler = qInstallMessageHandler(recordDebugLines);
    m_main->pickNearestColor(colour);
    qInstallMessageHandler(g_previousHandler);
    QVERIFY(!driver.seen);
    QVERIFY2(g_debugLines.isEmpty(), qPrintable(g_debugLines.join(QLatin1Char('\n'))));
    QCOMPARE(Pick::of(MainWidgetFixture::Alpha), (Pick{3, 2, 5}));

    // A real colour writes its line first.
    g_previousHandler = qInstallMessageHandler(recordDebugLines);
    m_main->pickNearestColor(MainWidgetFixture::chipColour(MainWidgetFixture::Alpha, 3, 4));
    qInstallMessageHandler(g_previousHandler);
    const QColor chip = MainWidgetFixture::chipColour(MainWidgetFixture::Alpha, 3, 4);
    QVERIFY(g_debugLines.contains(QStringLiteral("RGB(%1,%2,%3)").arg(chip.red()).arg(chip.green()).arg(chip.blue())));
    QCOMPARE(Pick::of(MainWidgetFixture::Alpha), (Pick{3, 4, 5}));
}

void TestNearestColor::theWheelFollowsAPickOnAnotherSegment()
{
    makeMainWidget();
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
    QCoreApplication::processEvents();
    PaintCounter counter(m_main->colorWheel());
    m_main->pickNearestColor(MainWidgetFixture::chipColour(MainWidgetFixture::Alpha, 4, 2));
    // Card 4 lies on segment 7: the stored segment follows it, and the wheel
    // shows it at once.
    QCOMPARE(Pick::of(MainWidgetFixture::Alpha), (Pick{4, 2, 7}));
    QTRY_VERIFY(counter.count > 0);
}

void TestNearestColor::noDialogWhenNoCandidateLoads()
{
    MainWidgetFixture::browse(MainWidgetFixture::Scratch);
    makeMainWidget();
    QCOMPARE(m_main->matchTable().size(), 4);
    {
        // The chips go after the colour table was read.
        QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("scratch-writer"));
        writer.setDatabaseName(m_fixture.scratchFile());
        QVERIFY(writer.open());
        QSqlQuery query(writer);
        QVERIFY(query.exec(QStringLiteral("DELETE FROM \"ROW\"")));
        writer.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("scratch-writer"));
    DialogDriver driver(DialogDriver::PressEscape);
    m_main->pickNearestColor(QColor(128, 128, 128));
    QVERIFY(!driver.seen);
    QCOMPARE(Pick::of(MainWidgetFixture::Scratch), (Pick{1, 1, 1}));
}

void TestNearestColor::dialogLayout_data()
{
    QTest::addColumn<int>("candidates");
    QTest::addColumn<QVector<QRect>>("chips");
    // 320 by 200 with a 15-pixel line: columns of (320 - 80) / 3 = 80,
    // rows of (200 - 15 - 48) / 2 = 68.
    const QVector<QRect> top{QRect(32, 16, 80, 68), QRect(120, 16, 80, 68), QRect(208, 16, 80, 68)};
    const QVector<QRect> bottom{QRect(32, 92, 80, 68), QRect(120, 92, 80, 68), QRect(208, 92, 80, 68)};
    QTest::newRow("three: the top row, the bottom row empty") << 3 << top;
    QTest::newRow("four") << 4 << (top + bottom.mid(0, 1));
    QTest::newRow("six") << 6 << (top + bottom);
    QTest::newRow("more than six") << 9 << (top + bottom);
    QTest::newRow("none") << 0 << QVector<QRect>();
}

void TestNearestColor::dialogLayout()
{
    QFETCH(int, candidates);
    QFETCH(QVector<QRect>, chips);
    const SelectNearestColorDialog::Layout layout = SelectNearestColorDialog::layoutFor(QSize(320, 200), 15, candidates);
    QCOMPARE(layout.chips, chips);
    QCOMPARE(layout.checkBoxBottom, 176);
    QCOMPARE(layout.captionLabel, QRect(QPoint(-1, 177), QPoint(320, 200)));
}

void TestNearestColor::dialogPaintsChipsAndFrames()
{
    QVector<DB::ColorEntry> candidates;
    for (int row = 1; row <= 3; ++row) {
        DB::ColorEntry entry;
        QCOMPARE(DBManager::GetColorEntryByPageAndRowIndex(MainWidgetFixture::Alpha, 2, row, entry), 0);
        candidates.append(entry);
    }
    const QColor host(200, 30, 90);
    SelectNearestColorDialog dialog(host, candidates);
    QCOMPARE(dialog.size(), QSize(320, 200));
    QVERIFY(dialog.framedChipsCheckBox()->isChecked());
    QVERIFY(dialog.framedChipsCheckBox()->text().isEmpty());
    const QRect first = dialog.chipRectOf(candidates.first().id);
    const QRect third = dialog.chipRectOf(candidates.last().id);
    QCOMPARE(first.topLeft(), QPoint(32, 16));
    QCOMPARE(third.left(), 208);

    QImage image = render(dialog);
    const QRgb chip = MainWidgetFixture::chipColour(MainWidgetFixture::Alpha, 2, 1).rgb();
    QCOMPARE(image.pixel(first.center()), chip);
    QCOMPARE(image.pixel(third.center()), MainWidgetFixture::chipColour(MainWidgetFixture::Alpha, 2, 3).rgb());
    QCOMPARE(image.pixel(10, 10), host.rgb());
    // The bottom row stays empty: the host's colour shows there.
    QCOMPARE(image.pixel(first.center() + QPoint(0, 76)), host.rgb());
    QCOMPARE(image.pixel(first.topLeft()), qRgb(64, 64, 64));
    QCOMPARE(image.pixel(first.center().x(), first.bottom()), qRgb(64, 64, 64));

    // Without frames the chip's own colour reaches its edge at once.
    dialog.framedChipsCheckBox()->setChecked(false);
    image = render(dialog);
    QCOMPARE(image.pixel(first.topLeft()), chip);
    QCOMPARE(image.pixel(first.center().x(), first.bottom()), chip);
    QCOMPARE(image.pixel(first.left() - 1, first.center().y()), host.rgb());
}

void TestNearestColor::dialogCursor()
{
    DB::ColorEntry entry;
    QCOMPARE(DBManager::GetColorEntryByPageAndRowIndex(MainWidgetFixture::Alpha, 1, 1, entry), 0);
    SelectNearestColorDialog dialog(QColor(1, 2, 3), {entry});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint over = dialog.chipRectOf(entry.id).center();
    QMouseEvent onChip(QEvent::MouseMove, over, dialog.mapToGlobal(over), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &onChip);
    QCOMPARE(dialog.cursor().shape(), Qt::PointingHandCursor);
    QMouseEvent beside(QEvent::MouseMove, QPoint(5, 5), dialog.mapToGlobal(QPoint(5, 5)), Qt::NoButton, Qt::NoButton,
                       Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &beside);
    QCOMPARE(dialog.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(dialog.selectedEntry().id, qint64(-1));
    QTest::mouseClick(&dialog, Qt::LeftButton, Qt::NoModifier, over);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedEntry().id, entry.id);
}

QTEST_MAIN(TestNearestColor)
#include "tst_nearestcolor.moc"
