// The task, help, about and image buttons: what they paint in each state,
// and that a state never overwrites the colours it returns to.

#include "TestEnvironment.h"
#include "WidgetProbe.h"

#include "plugin/AboutButton.h"
#include "plugin/HelpButton.h"
#include "plugin/ImageButton.h"
#include "plugin/TaskButton.h"
#include "services/TavoCustomStyle.h"

#include <QImage>
#include <QPointer>
#include <QtTest>

using namespace Velmar;

namespace {

QImage solid(const QSize &size, const QColor &colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// The bounding box of the pixels darker than the face, that is the text.
QRect inkBox(const QImage &image, int threshold)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 255 && qGray(p) < threshold)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

class tst_Buttons : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void taskButtonFaces();
    void disablingNeverOverwritesTheTextColour();
    void disabledTaskButtonShowsTheForbiddenCursor();
    void pressedTextMovesRightAndDown();
    void onlyTaskButtonsShowAFocusRing();
    void roundButtons();
    void imageButtonStates();
    void imageButtonWithoutImage();
    void checkedImageButtonShowsAPlate();
    void imageButtonOwnsItsStyle();
    void pulseRunsOnlyWhileShown();
};

void tst_Buttons::initTestCase()
{
    TestEnvironment::isolate();
}

void tst_Buttons::taskButtonFaces()
{
    TaskButton button;
    button.resize(120, 24);
    // Left edge, clear of text and of the rounded corners.
    QImage image = WidgetProbe::render(button, Qt::transparent);
    const QRgb enabled = image.pixel(3, 12);
    QVERIFY(qGray(enabled) > 210 && qGray(enabled) < 232); // between the top and bottom greys
    QVERIFY(qGray(image.pixel(3, 2)) > qGray(image.pixel(3, 21))); // lighter at the top
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0); // rounded corner

    button.setEnabled(false);
    image = WidgetProbe::render(button, Qt::transparent);
    const QColor flat = QColor(204, 204, 204).darker(120);
    QCOMPARE(image.pixel(3, 2), flat.rgb());
    QCOMPARE(image.pixel(3, 21), flat.rgb());
}

void tst_Buttons::disablingNeverOverwritesTheTextColour()
{
    TaskButton button;
    button.setText(QStringLiteral("MMMM"));
    button.resize(120, 24);
    const QColor original = button.textColor();
    const QRect enabledInk = inkBox(WidgetProbe::render(button, Qt::transparent), 120);
    QVERIFY(!enabledInk.isEmpty());

    button.setEnabled(false);
    // Light grey text on the darker face: nothing dark remains.
    QVERIFY(inkBox(WidgetProbe::render(button, Qt::transparent), 120).isEmpty());
    button.setEnabled(true);
    QCOMPARE(button.textColor(), original);
    QCOMPARE(inkBox(WidgetProbe::render(button, Qt::transparent), 120), enabledInk);
    QCOMPARE(TaskButton::greyValue(QColor(238, 238, 238)), 238);
    QCOMPARE(TaskButton::greyValue(QColor(0, 129, 183)), 93);
}

void tst_Buttons::disabledTaskButtonShowsTheForbiddenCursor()
{
    TaskButton button;
    button.resize(120, 24);
    button.setEnabled(false);
    QCOMPARE(button.cursor().shape(), Qt::ForbiddenCursor);
    button.setEnabled(true);
    QCOMPARE(button.cursor().shape(), Qt::ArrowCursor);
}

void tst_Buttons::pressedTextMovesRightAndDown()
{
    TaskButton button;
    button.setText(QStringLiteral("MMMM"));
    button.resize(120, 24);
    const QRect up = inkBox(WidgetProbe::render(button, Qt::transparent), 120);
    button.setDown(true);
    const QRect down = inkBox(WidgetProbe::render(button, Qt::transparent), 120);
    // The text box starts 2 pixels further in, so the centred text moves by half of that.
    QCOMPARE(down.topLeft() - up.topLeft(), QPoint(1, 1));

    HelpButton help;
    help.resize(24, 24);
    const QRect helpUp = inkBox(WidgetProbe::render(help, Qt::transparent), 140);
    help.setDown(true);
    QCOMPARE(inkBox(WidgetProbe::render(help, Qt::transparent), 140).topLeft() - helpUp.topLeft(), QPoint(1, 1));
}

void tst_Buttons::onlyTaskButtonsShowAFocusRing()
{
    QWidget window;
    auto *task = new TaskButton(&window);
    task->setGeometry(0, 0, 120, 24);
    auto *help = new HelpButton(&window);
    help->setGeometry(130, 0, 24, 24);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    help->setFocus();
    const QRgb before = WidgetProbe::render(*task, Qt::transparent).pixel(3, 12);
    task->setFocus();
    QVERIFY(task->hasFocus());
    const QRgb ring = WidgetProbe::render(*task, Qt::transparent).pixel(3, 12);
    QVERIFY(qBlue(ring) > qRed(ring) + 10);
    QVERIFY(ring != before);

    const QImage helpBefore = WidgetProbe::render(*help, Qt::transparent);
    help->setFocus();
    QVERIFY(help->hasFocus());
    QCOMPARE(WidgetProbe::render(*help, Qt::transparent), helpBefore);
    QVERIFY(qBlue(WidgetProbe::render(*task, Qt::transparent).pixel(3, 12)) < qRed(WidgetProbe::render(*task, Qt::transparent).pixel(3, 12)) + 10);
}

void tst_Buttons::roundButtons()
{
    HelpButton help;
    AboutButton about;
    QCOMPARE(help.text(), QStringLiteral("?"));
    QCOMPARE(about.text(), QString(QChar(0x2026)));
    QCOMPARE(help.textColor(), QColor(0, 129, 183));
    QCOMPARE(help.font().weight(), QFont::Bold);

    help.resize(24, 24);
    QImage image = WidgetProbe::render(help, Qt::transparent);
    QCOMPARE(qAlpha(image.pixel(1, 1)), 0); // outside the circle
    QCOMPARE(qAlpha(image.pixel(12, 2)), 255);
    // The text is blue while enabled and a light grey (255 - 93) when not.
    const QRect ink = inkBox(image, 140);
    QVERIFY(!ink.isEmpty());
    help.setEnabled(false);
    image = WidgetProbe::render(help, Qt::transparent);
    QVERIFY(inkBox(image, 140).isEmpty());
    QCOMPARE(image.pixel(3, 12), QColor(204, 204, 204).rgb());
    help.setEnabled(true);
    QCOMPARE(help.textColor(), QColor(0, 129, 183));

    // The about button's ellipsis is centred in a box 8 pixels shorter, so
    // it sits 4 pixels higher than the same text in the help button's box.
    about.resize(24, 24);
    help.setText(about.text());
    const QRect dots = inkBox(WidgetProbe::render(about, Qt::transparent), 140);
    QVERIFY(!dots.isEmpty());
    QCOMPARE(inkBox(WidgetProbe::render(help, Qt::transparent), 140).top() - dots.top(), 4);
}

void tst_Buttons::imageButtonStates()
{
    ImageButton button(solid(QSize(10, 10), Qt::red), solid(QSize(10, 10), Qt::blue));
    button.resize(24, 24);
    QImage image = WidgetProbe::render(button, Qt::transparent);
    QCOMPARE(image.pixel(7, 7), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(16, 16), qRgb(255, 0, 0));
    QCOMPARE(qAlpha(image.pixel(17, 17)), 0);

    button.setDown(true);
    image = WidgetProbe::render(button, Qt::transparent);
    QCOMPARE(qAlpha(image.pixel(7, 7)), 0);
    QCOMPARE(image.pixel(8, 8), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(17, 17), qRgb(0, 0, 255));

    button.setDown(false);
    button.setEnabled(false);
    image = WidgetProbe::render(button, Qt::transparent);
    QVERIFY(qAbs(qAlpha(image.pixel(12, 12)) - 128) <= 1);
    QCOMPARE(button.disabledImage().size(), QSize(10, 10));
}

void tst_Buttons::imageButtonWithoutImage()
{
    ImageButton button(QImage(), solid(QSize(10, 10), Qt::blue));
    button.resize(24, 24);
    QVERIFY(button.normalImage().isNull());
    QVERIFY(button.disabledImage().isNull());
    QCOMPARE(WidgetProbe::render(button, Qt::transparent), solid(QSize(24, 24), Qt::transparent));
    button.setEnabled(false);
    QCOMPARE(WidgetProbe::render(button, Qt::transparent), solid(QSize(24, 24), Qt::transparent));
}

void tst_Buttons::checkedImageButtonShowsAPlate()
{
    ImageButton button(solid(QSize(10, 10), Qt::red), QImage());
    button.resize(24, 24);
    button.setCheckable(true);
    QCOMPARE(qAlpha(WidgetProbe::render(button, Qt::transparent).pixel(2, 12)), 0);
    button.setChecked(true);
    const QRgb plate = WidgetProbe::render(button, Qt::transparent).pixel(2, 12);
    QVERIFY(qAlpha(plate) >= 190 && qAlpha(plate) <= 225);
    QCOMPARE(WidgetProbe::render(button, Qt::transparent).pixel(12, 12), qRgb(255, 0, 0));
}

void tst_Buttons::imageButtonOwnsItsStyle()
{
    QPointer<QStyle> style;
    {
        ImageButton button{QImage(), QImage()};
        style = button.style();
        QVERIFY(qobject_cast<TavoCustomStyle *>(style.data()));
        QCOMPARE(style->parent(), &button);
        QCOMPARE(button.cursor().shape(), Qt::PointingHandCursor);
    }
    QVERIFY(style.isNull());
}

void tst_Buttons::pulseRunsOnlyWhileShown()
{
    QWidget window;
    auto *button = new ImageButton(solid(QSize(10, 10), Qt::red), QImage(), &window);
    button->setGeometry(0, 0, 24, 24);
    button->startPulsating();
    QVERIFY(!button->isPulsating()); // not shown yet
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(button->isPulsating());

    button->hide();
    QVERIFY(!button->isPulsating());
    QVERIFY(!button->graphicsEffect());
    button->show();
    QVERIFY(button->isPulsating());
    window.hide();
    QVERIFY(!button->isPulsating());
    window.show();
    QVERIFY(button->isPulsating());

    button->stopPulsating();
    QVERIFY(!button->isPulsating());
    QVERIFY(!button->graphicsEffect());
    button->hide();
    button->show();
    QVERIFY(!button->isPulsating());

    // Destroyed while pulsing: the animations go with it.
    button->startPulsating();
    QVERIFY(button->isPulsating());
    delete button;
    QTest::qWait(50);
}

QTEST_MAIN(tst_Buttons)
#include "tst_buttons.moc"
