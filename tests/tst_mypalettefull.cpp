// The zoomed palette: geometry, the grey slider and its stored level, the
// press that shows one chip large, and what it paints.

#include "FixtureFolder.h"
#include "FixtureTheme.h"
#include "PaletteFixture.h"
#include "TestEnvironment.h"

#include "plugin/ImageButton.h"
#include "plugin/MyPaletteFullWidget.h"
#include "services/Settings.h"
#include "services/TavoCustomStyle.h"
#include "services/Theme.h"

#include <QSettings>
#include <QSignalSpy>
#include <QSlider>
#include <QtTest>

using namespace Velmar;

namespace {

const QSize fullSize(800, 600);

QImage render(QWidget &widget, const QRegion &region = QRegion())
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    // The region's top-left corner goes to the offset: keep widget coordinates.
    widget.render(&image, region.boundingRect().topLeft(), region, QWidget::DrawChildren);
    return image;
}

QPoint centreOfCell(const MyPaletteFullWidget &full, const QPoint &coord)
{
    return QPoint(full.gridArea().x() + coord.x() * full.cellWidth() + full.cellWidth() / 2,
                  full.gridArea().y() + coord.y() * full.cellHeight() + full.cellHeight() / 2);
}

} // namespace

class Listener : public QObject
{
    Q_OBJECT

public:
    int back = 0;

public slots:
    void unzoomMyPaletteClicked() { ++back; }
};

class TestMyPaletteFull : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void geometry_data();
    void geometry();
    void cellAt_data();
    void cellAt();
    void widgetFollowsTheLayout();
    void sliderStart_data();
    void sliderStart();
    void sliderStoresTheGrey();
    void press_data();
    void press();
    void narrowWidgetHasNoCellsToPress();
    void backButtonReturnsToTheGrid();
    void paints();
    void showsWhatThePaletteHoldsNow();

private:
    FixtureFolder m_folder;
};

void TestMyPaletteFull::initTestCase()
{
    TestEnvironment::isolate();
    QString error;
    QVERIFY2(PaletteFixture::start(m_folder, &error), qPrintable(error));
}

void TestMyPaletteFull::init()
{
    PaletteFixture::clearSettings();
    Settings::setMyPaletteFullBackgroundGray(176);
}

void TestMyPaletteFull::geometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("lightMark");
    QTest::addColumn<QRect>("darkMark");
    QTest::addColumn<QRect>("slider");
    QTest::addColumn<int>("cellWidth");
    QTest::addColumn<int>("cellHeight");
    QTest::addColumn<QRect>("gridArea");

    // A 30 pixel bar, an 18 pixel back button, a 7 pixel slider.
    QTest::newRow("800 by 600") << QSize(800, 600) << QRect(600, 9, 12, 12) << QRect(755, 9, 12, 12)
                                << QRect(620, 11, 128, 7) << 112 << 62 << QRect(64, 190, 672, 248);
    QTest::newRow("640 by 480") << QSize(640, 480) << QRect(440, 9, 12, 12) << QRect(595, 9, 12, 12)
                                << QRect(460, 11, 128, 7) << 85 << 47 << QRect(64, 160, 510, 188);
}

void TestMyPaletteFull::geometry()
{
    QFETCH(QSize, size);
    QFETCH(QRect, lightMark);
    QFETCH(QRect, darkMark);
    QFETCH(QRect, slider);
    QFETCH(int, cellWidth);
    QFETCH(int, cellHeight);
    QFETCH(QRect, gridArea);
    const MyPaletteFullWidget::Geometry g = MyPaletteFullWidget::geometryFor(size, 30, QSize(18, 18), 7);
    QCOMPARE(g.bar, QRect(0, 0, size.width(), 30));
    QCOMPARE(g.backButton, QPoint(6, 6));
    QCOMPARE(g.lightMark, lightMark);
    QCOMPARE(g.darkMark, darkMark);
    QCOMPARE(g.slider, slider);
    // The slider starts r pixels right of the light mark.
    QCOMPARE(g.slider.left() - g.lightMark.right() - 1, 9 - 1);
    QCOMPARE(g.cellWidth, cellWidth);
    QCOMPARE(g.cellHeight, cellHeight);
    QCOMPARE(g.gridArea, gridArea);
}

void TestMyPaletteFull::cellAt_data()
{
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QRect>("grid");
    QTest::addColumn<int>("cellWidth");
    QTest::addColumn<int>("cellHeight");
    QTest::addColumn<QPoint>("cell");
    const QRect grid(64, 190, 672, 248);
    QTest::newRow("top-left corner") << QPoint(64, 190) << grid << 112 << 62 << QPoint(0, 0);
    QTest::newRow("bottom-right corner") << QPoint(735, 437) << grid << 112 << 62 << QPoint(5, 3);
    QTest::newRow("second column, third row") << QPoint(176, 314) << grid << 112 << 62 << QPoint(1, 2);
    QTest::newRow("left of the grid") << QPoint(63, 200) << grid << 112 << 62 << QPoint(-1, -1);
    QTest::newRow("right of the grid") << QPoint(736, 200) << grid << 112 << 62 << QPoint(-1, -1);
    QTest::newRow("no cell width") << QPoint(64, 190) << QRect(64, 190, 1, 1) << 0 << 0 << QPoint(-1, -1);
    QTest::newRow("negative cell width") << QPoint(60, 190) << QRect(64, 190, -24, -8) << -4 << -2 << QPoint(-1, -1);
    QTest::newRow("width but no height") << QPoint(65, 190) << QRect(64, 190, 6, 4) << 1 << 0 << QPoint(-1, -1);
}

void TestMyPaletteFull::cellAt()
{
    QFETCH(QPoint, position);
    QFETCH(QRect, grid);
    QFETCH(int, cellWidth);
    QFETCH(int, cellHeight);
    QFETCH(QPoint, cell);
    QCOMPARE(MyPaletteFullWidget::cellAt(position, grid, cellWidth, cellHeight), cell);
}

void TestMyPaletteFull::widgetFollowsTheLayout()
{
    MyPaletteFullWidget full;
    full.resize(fullSize);
    full.show();
    QVERIFY(QTest::qWaitForWindowExposed(&full));
    const int m = full.slider()->minimumSizeHint().height();
    const MyPaletteFullWidget::Geometry g = MyPaletteFullWidget::geometryFor(fullSize, 30, full.backButton()->size(), m);
    QCOMPARE(full.backButton()->size(), QSize(18, 18));
    QCOMPARE(full.backButton()->pos(), QPoint(6, 6));
    QCOMPARE(full.slider()->geometry(), QRect(620, (30 - m) / 2, 128, m));
    QCOMPARE(full.lightMark(), QRect(600, 9, 12, 12));
    QCOMPARE(full.darkMark(), QRect(755, 9, 12, 12));
    QCOMPARE(full.gridArea(), QRect(64, 190, 672, 248));
    QCOMPARE(full.cellWidth(), 112);
    QCOMPARE(full.cellHeight(), 62);
    QCOMPARE(full.gridArea(), g.gridArea);
}

void TestMyPaletteFull::sliderStart_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("value");
    QTest::newRow("nothing stored") << QVariant() << 176;
    QTest::newRow("40") << QVariant(40) << 40;
    QTest::newRow("0") << QVariant(0) << 0;
    QTest::newRow("255") << QVariant(255) << 255;
    QTest::newRow("300") << QVariant(300) << 176;
    QTest::newRow("-5") << QVariant(-5) << 176;
}

void TestMyPaletteFull::sliderStart()
{
    QFETCH(QVariant, stored);
    QFETCH(int, value);
    {
        QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavo Rindel"),
                        Settings::hostApplicationKey());
        store.beginGroup(QStringLiteral("MyPalette"));
        if (stored.isValid())
            store.setValue(QStringLiteral("MyPaletteFullBackgroundColor"), stored);
        else
            store.remove(QStringLiteral("MyPaletteFullBackgroundColor"));
    }
    MyPaletteFullWidget full;
    QSlider *slider = full.slider();
    QCOMPARE(slider->value(), value);
    QCOMPARE(slider->orientation(), Qt::Horizontal);
    QCOMPARE(slider->minimum(), 0);
    QCOMPARE(slider->maximum(), 255);
    QVERIFY(slider->invertedAppearance());
    QCOMPARE(slider->pageStep(), 10);
    QCOMPARE(slider->style(), full.sliderStyle());
    QCOMPARE(full.sliderStyle()->parent(), &full);
    QCOMPARE(full.sliderStyle()->groove.size(), QSize(21, 7));
    QCOMPARE(full.sliderStyle()->thumb.size(), QSize(21, 7));
    // Building the view writes nothing: an odd stored level stays as it was.
    if (stored.isValid())
        QCOMPARE(Settings::myPaletteFullBackgroundGray(), stored.toInt());
}

void TestMyPaletteFull::sliderStoresTheGrey()
{
    MyPaletteFullWidget full;
    full.resize(fullSize);
    full.slider()->setValue(90);
    QCOMPARE(Settings::myPaletteFullBackgroundGray(), 90);
    QCOMPARE(render(full).pixelColor(20, 100), QColor(90, 90, 90));
    // Page steps move by 10; the light end is at the left.
    full.slider()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(Settings::myPaletteFullBackgroundGray(), 100);
    MyPaletteFullWidget again;
    QCOMPARE(again.slider()->value(), 100);
}

void TestMyPaletteFull::press_data()
{
    QTest::addColumn<bool>("swatchFirst");
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("shows");

    QTest::newRow("filled cell") << false << "filled" << int(Qt::LeftButton) << true;
    QTest::newRow("filled cell, right button") << false << "filled" << int(Qt::RightButton) << true;
    QTest::newRow("empty cell") << false << "empty" << int(Qt::LeftButton) << false;
    QTest::newRow("grey margin") << false << "margin" << int(Qt::LeftButton) << false;
    QTest::newRow("bar") << false << "bar" << int(Qt::LeftButton) << false;
    QTest::newRow("swatch shown, filled cell") << true << "filled" << int(Qt::LeftButton) << false;
    QTest::newRow("swatch shown, empty cell") << true << "empty" << int(Qt::LeftButton) << false;
    QTest::newRow("swatch shown, margin") << true << "margin" << int(Qt::RightButton) << false;
    QTest::newRow("swatch shown, bar") << true << "bar" << int(Qt::LeftButton) << false;
}

void TestMyPaletteFull::press()
{
    QFETCH(bool, swatchFirst);
    QFETCH(QString, where);
    QFETCH(int, button);
    QFETCH(bool, shows);

    PaletteFixture::store(QPoint(2, 1), QStringLiteral("GB-0302"));
    PaletteFixture::store(QPoint(5, 3), QStringLiteral("NP-0101"));
    MyPaletteFullWidget full;
    full.resize(fullSize);
    full.show();
    QVERIFY(QTest::qWaitForWindowExposed(&full));
    if (swatchFirst) {
        QTest::mouseClick(&full, Qt::LeftButton, Qt::NoModifier, centreOfCell(full, QPoint(5, 3)));
        QCOMPARE(full.swatchColor(), PaletteFixture::chip(QStringLiteral("NP-0101")).colour);
    }
    QPoint position;
    if (where == QLatin1String("filled"))
        position = centreOfCell(full, QPoint(2, 1));
    else if (where == QLatin1String("empty"))
        position = centreOfCell(full, QPoint(0, 0));
    else if (where == QLatin1String("margin"))
        position = QPoint(30, 300);
    else
        position = QPoint(300, 10);
    QTest::mouseClick(&full, Qt::MouseButton(button), Qt::NoModifier, position);
    QCOMPARE(full.swatchColor(), shows ? PaletteFixture::chip(QStringLiteral("GB-0302")).colour : QColor(Qt::transparent));
    // The view changes nothing in the palette.
    QCOMPARE(Settings::myPaletteEntry(QPoint(2, 1)).toString(), PaletteFixture::index(QStringLiteral("GB-0302")).toString());
}

void TestMyPaletteFull::narrowWidgetHasNoCellsToPress()
{
    PaletteFixture::store(QPoint(0, 0), QStringLiteral("GB-0101"));
    for (const int width : {100, 128, 129, 130}) {
        MyPaletteFullWidget full;
        full.resize(width, 300);
        full.show();
        QVERIFY(QTest::qWaitForWindowExposed(&full));
        QVERIFY(full.cellWidth() <= 0 || full.cellHeight() <= 0);
        for (const QPoint &position : {QPoint(64, 150), QPoint(63, 160), QPoint(65, 168), QPoint(width - 1, 299)})
            QTest::mouseClick(&full, Qt::LeftButton, Qt::NoModifier, position);
        QCOMPARE(full.swatchColor(), QColor(Qt::transparent));
        render(full);
    }
}

void TestMyPaletteFull::backButtonReturnsToTheGrid()
{
    PaletteFixture::store(QPoint(2, 1), QStringLiteral("GB-0302"));
    MyPaletteFullWidget full;
    full.resize(fullSize);
    full.show();
    QVERIFY(QTest::qWaitForWindowExposed(&full));
    Listener listener;
    QVERIFY(QObject::connect(&full, SIGNAL(backButtonClicked()), &listener, SLOT(unzoomMyPaletteClicked())));
    QTest::mouseClick(&full, Qt::LeftButton, Qt::NoModifier, centreOfCell(full, QPoint(2, 1)));
    QVERIFY(full.swatchColor() != QColor(Qt::transparent));
    QTest::mouseClick(full.backButton(), Qt::LeftButton);
    QCOMPARE(listener.back, 1);
    QCOMPARE(full.swatchColor(), QColor(Qt::transparent));
}

void TestMyPaletteFull::paints()
{
    PaletteFixture::store(QPoint(2, 1), QStringLiteral("GB-0302"));
    MyPaletteFullWidget full;
    full.resize(fullSize);
    QImage image = render(full);

    QCOMPARE(image.pixelColor(20, 100), QColor(176, 176, 176));
    QCOMPARE(image.pixel(300, 2), FixtureTheme::colourOf(Theme::KeyOfWidgetBarBackgroundImage).rgb());
    QCOMPARE(image.pixelColor(full.lightMark().center()), QColor(255, 255, 255));
    QCOMPARE(image.pixelColor(full.darkMark().center()), QColor(0, 0, 0));
    QCOMPARE(image.pixelColor(full.darkMark().topLeft()), QColor(176, 176, 176));
    QCOMPARE(image.pixelColor(centreOfCell(full, QPoint(2, 1))), PaletteFixture::chip(QStringLiteral("GB-0302")).colour);
    QCOMPARE(image.pixelColor(centreOfCell(full, QPoint(0, 0))), QColor(255, 255, 255));
    // A cell edge inside the grid.
    const QPoint edge(full.gridArea().x() + full.cellWidth(), full.gridArea().y() + 10);
    QCOMPARE(image.pixelColor(edge), QColor(176, 176, 176));

    // A chip shown large covers the whole grid, its lines too.
    QTest::mouseClick(&full, Qt::LeftButton, Qt::NoModifier, centreOfCell(full, QPoint(2, 1)));
    image = render(full);
    const QColor chip = PaletteFixture::chip(QStringLiteral("GB-0302")).colour;
    QCOMPARE(image.pixelColor(edge), chip);
    QCOMPARE(image.pixelColor(full.gridArea().topLeft()), chip);
    QCOMPARE(image.pixelColor(full.gridArea().bottomRight()), chip);
    QCOMPARE(image.pixelColor(full.gridArea().bottomRight() + QPoint(2, 2)), QColor(176, 176, 176));

    // Two merged updates: the bar's right end and a cell.
    QTest::mouseClick(&full, Qt::LeftButton, Qt::NoModifier, centreOfCell(full, QPoint(2, 1)));
    const QRect cell(centreOfCell(full, QPoint(0, 0)) - QPoint(5, 5), QSize(10, 10));
    image = render(full, QRegion(QRect(760, 0, 40, 30)) + QRegion(cell));
    QCOMPARE(image.pixel(798, 28), FixtureTheme::colourOf(Theme::KeyOfWidgetBarBackgroundImage).rgb());
    QCOMPARE(image.pixelColor(cell.center()), QColor(255, 255, 255));
}

void TestMyPaletteFull::showsWhatThePaletteHoldsNow()
{
    MyPaletteFullWidget full;
    full.resize(fullSize);
    QCOMPARE(render(full).pixelColor(centreOfCell(full, QPoint(4, 3))), QColor(255, 255, 255));
    // Dropped into My palette while the view was hidden.
    PaletteFixture::store(QPoint(4, 3), QStringLiteral("GB-0101"));
    full.selectedCollectionChanged(PaletteFixture::Galleria);
    QCOMPARE(render(full).pixelColor(centreOfCell(full, QPoint(4, 3))), PaletteFixture::chip(QStringLiteral("GB-0101")).colour);
}

QTEST_MAIN(TestMyPaletteFull)
#include "tst_mypalettefull.moc"
