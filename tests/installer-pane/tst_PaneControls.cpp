#include "BusyIndicator.h"
#include "RadioColumn.h"
#include "TestEnvironment.h"
#include "WrappingLabel.h"

#include <QAccessible>
#include <QApplication>
#include <QFontMetrics>
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
    void labelWraps_data();
    void labelWraps();
    void labelAsksForLittleWidth();
    void labelTooLowEndsInAnEllipsis();
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

void tst_PaneControls::labelWraps_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("expected");
    const QFontMetrics metrics(QApplication::font());
    QTest::newRow("fits") << "one two three" << 1000 << QStringList{"one two three"};
    QTest::newRow("line feeds") << "one\ntwo" << 1000 << QStringList{"one", "two"};
    QTest::newRow("at blanks") << "alpha beta gamma" << metrics.horizontalAdvance("alpha beta ") + 1
                               << QStringList{"alpha beta", "gamma"};
    // No blank to break at: broken where the line is full.
    QTest::newRow("inside a long word") << QString(60, 'x') << metrics.horizontalAdvance(QString(20, 'x')) + 1
                                        << QStringList{QString(20, 'x'), QString(20, 'x'), QString(20, 'x')};
    QTest::newRow("long word after a blank") << "Folder: " + QString(30, 'x')
                                             << metrics.horizontalAdvance(QString(20, 'x')) + 1
                                             << QStringList{"Folder:", QString(20, 'x'), QString(10, 'x')};
}

void tst_PaneControls::labelWraps()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QStringList, expected);
    QCOMPARE(WrappingLabel::wrappedLines(text, QApplication::font(), width), expected);
}

void tst_PaneControls::labelAsksForLittleWidth()
{
    WrappingLabel label;
    const QString folder = "/Applications/" + QString(300, 'x');
    label.setText("Folder: " + folder);
    const QFontMetrics metrics(label.font());
    // However long the word, no more than a short line...
    QVERIFY(label.minimumSizeHint().width() <= metrics.averageCharWidth() * WrappingLabel::MinimumCharacters);
    QVERIFY(label.sizeHint().width() <= metrics.averageCharWidth() * WrappingLabel::PreferredCharacters);
    // ...and the height that its lines take at a width.
    const int lines = int(WrappingLabel::wrappedLines(label.text(), label.font(), 200).size());
    QVERIFY(lines > 5);
    QVERIFY(label.heightForWidth(200) >= lines * metrics.height());
    QVERIFY(label.heightForWidth(400) < label.heightForWidth(200));
    QCOMPARE(label.text(), "Folder: " + folder);
}

void tst_PaneControls::labelTooLowEndsInAnEllipsis()
{
    WrappingLabel label;
    label.setText(QString(200, 'x'));
    const int width = 200;
    const int lineHeight = QFontMetrics(label.font()).height();
    auto render = [&label](int height) {
        label.resize(width, height);
        QImage image(label.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        label.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    };
    QVERIFY(label.heightForWidth(width) > 3 * lineHeight);
    const QImage whole = render(label.heightForWidth(width));
    const QImage low = render(2 * lineHeight);
    // The first line as always; the second cut short, ending in "…".
    QCOMPARE(low.copy(0, 0, width, lineHeight), whole.copy(0, 0, width, lineHeight));
    QVERIFY(low.copy(0, lineHeight, width, lineHeight) != whole.copy(0, lineHeight, width, lineHeight));
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
