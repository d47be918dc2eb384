#include "BusyIndicator.h"
#include "RadioColumn.h"
#include "TestEnvironment.h"

#include <QAccessible>
#include <QImage>
#include <QRadioButton>
#include <QtTest>

// The pane's controls: the radio column's geometry and selection, and the
// busy indicator's painting.
class tst_PaneControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }

    void columnGeometry_data();
    void columnGeometry();
    void columnSelection();
    void titlesShowLiterally_data();
    void titlesShowLiterally();
    void busyIndicatorPaintsOnlyWhileAnimating();
    void busyIndicatorFadesBehindItsStep();
};

void tst_PaneControls::columnGeometry_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("height");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 1 << RadioColumn::CellHeight;
    QTest::newRow("three") << 3 << 2 * RadioColumn::IntercellSpacing + 3 * RadioColumn::CellHeight;
}

void tst_PaneControls::columnGeometry()
{
    QFETCH(int, rows);
    QFETCH(int, height);
    QCOMPARE(RadioColumn::heightForRows(rows), height);
    if (rows > 0)
        QCOMPARE(RadioColumn::cellRect(rows - 1, 300).bottom() + 1, height);
    QCOMPARE(RadioColumn::cellRect(rows, 300).width(), 300);
}

void tst_PaneControls::columnSelection()
{
    RadioColumn column;
    QSignalSpy activated(&column, &RadioColumn::activated);
    for (int i = 0; i < 3; ++i) {
        column.addRow();
        column.setCell(i, QStringLiteral("/Folder %1").arg(i), 10 + i);
    }
    column.resize(300, RadioColumn::heightForRows(3));
    column.show();
    QVERIFY(QTest::qWaitForWindowExposed(&column));
    QCOMPARE(column.numberOfRows(), 3);
    QCOMPARE(column.titleOfCell(2), QStringLiteral("/Folder 2"));
    QCOMPARE(column.tagOfCell(1), 11);
    QCOMPARE(column.selectedTag(), -1);
    QCOMPARE(column.cellAt(2)->geometry(), RadioColumn::cellRect(2, 300));

    column.selectCell(0);
    QCOMPARE(column.selectedRow(), 0);
    QCOMPARE(activated.size(), 0);

    // On the indicator: a radio button takes clicks on its indicator and text only.
    QTest::mouseClick(column.cellAt(2), Qt::LeftButton, {}, QPoint(8, RadioColumn::CellHeight / 2));
    QCOMPARE(activated.size(), 1);
    QCOMPARE(column.selectedRow(), 2);
    QCOMPARE(column.selectedTag(), 12);
    QVERIFY(!column.cellAt(0)->isChecked());
}

void tst_PaneControls::titlesShowLiterally_data()
{
    QTest::addColumn<QString>("title");
    QTest::newRow("inner ampersand") << "/Applications/R&D";
    QTest::newRow("two ampersands") << "/Tools/A && B";
    QTest::newRow("leading ampersand") << "&Lead";
    QTest::newRow("trailing ampersand") << "/Trail&";
    QTest::newRow("none") << "/Applications/Plain";
}

void tst_PaneControls::titlesShowLiterally()
{
    QFETCH(QString, title);
    RadioColumn column;
    column.addRow();
    column.setCell(0, title, 7);
    column.resize(400, RadioColumn::heightForRows(1));
    QCOMPARE(column.titleOfCell(0), title);
    QRadioButton *cell = column.cellAt(0);
    // What is shown, as assistive technology reads it: no character taken
    // as a shortcut marker, and no shortcut made of one.
    QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(cell);
    QVERIFY(shown);
    QCOMPARE(shown->text(QAccessible::Name), title);
    QVERIFY(cell->shortcut().isEmpty());
    QCOMPARE(cell->toolTip(), title);
}

void tst_PaneControls::busyIndicatorPaintsOnlyWhileAnimating()
{
    BusyIndicator indicator;
    indicator.resize(32, 32);
    auto paintedPixels = [&indicator] {
        QImage image(indicator.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        indicator.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        int painted = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                painted += qAlpha(image.pixel(x, y)) > 0;
        }
        return painted;
    };
    QCOMPARE(paintedPixels(), 0);
    indicator.startAnimation();
    QVERIFY(indicator.isAnimating());
    QVERIFY(paintedPixels() > 50);
    QTRY_VERIFY(indicator.step() > 0);
    indicator.stopAnimation();
    QCOMPARE(paintedPixels(), 0);
}

void tst_PaneControls::busyIndicatorFadesBehindItsStep()
{
    QCOMPARE(BusyIndicator::spokeOpacity(3, 3), 1.0);
    QVERIFY(BusyIndicator::spokeOpacity(2, 3) > BusyIndicator::spokeOpacity(1, 3));
    QVERIFY(BusyIndicator::spokeOpacity(4, 3) < BusyIndicator::spokeOpacity(1, 3));
    const QLineF top = BusyIndicator::spoke(0, QRectF(0, 0, 40, 40));
    QVERIFY(top.p1().y() > top.p2().y());
    QCOMPARE(top.p1().x(), 20.0);
}

QTEST_MAIN(tst_PaneControls)
#include "tst_PaneControls.moc"
