// The about box: texts of the last used collection, its layout at the fixed
// size, where it goes on the screen, and how it closes.

#include "DemoTheme.h"
#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "plugin/AboutBox.h"
#include "services/Global.h"
#include "services/Settings.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

using namespace Velmar;

namespace {

const QColor LogoColour(40, 160, 90);

QLabel *labelWithText(const QWidget &box, const QString &text)
{
    for (QLabel *label : box.findChildren<QLabel *>()) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

QPushButton *buttonWithText(const QWidget &box, const QString &text)
{
    for (QPushButton *button : box.findChildren<QPushButton *>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

} // namespace

class tst_AboutBox : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void textsOfTheLastUsedCollection();
    void layoutAtTheFixedSize();
    void paintsLogoOverTheBackdrop();
    void placedOnTheParentsScreen();
    void returnAccepts();
    void buttonsAreConnected();

private:
    FixtureFolder m_fixture;
};

void tst_AboutBox::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_fixture.isValid());
    auto writer = m_fixture.createFile(QStringLiteral("deck.db"));
    QVERIFY(writer->isOk());
    const qint64 deck = writer->addCollection(QUuid::createUuid(), QStringLiteral("D"), QStringLiteral("Deck"), 1, true);
    // No "aboutbox.version": the line starts with the key.
    const QList<QPair<QString, QString>> texts{
        {"aboutbox.caption", "About the deck"},
        {"aboutbox.main", "Deck picker"},
        {"aboutbox.copyright", "Copyright the deck makers"},
        {"aboutbox.qt.license.button", "Toolkit licence"},
        {"aboutbox.close.button", "Close"},
        {"license.copyright", "<p>Licensed to <b>you</b>.</p>"},
    };
    for (const auto &text : texts)
        QVERIFY(writer->addText(deck, text.first, text.second));
    QVERIFY(writer->addThemeItem(deck, QStringLiteral("image.about.logo"), DemoTheme::solidPng(QSize(128, 64), LogoColour)));
    writer.reset();
    QCOMPARE(Global::InitializePrerequisites(QString(), m_fixture.lookupFolder()), 0);
}

void tst_AboutBox::textsOfTheLastUsedCollection()
{
    AboutBox box(nullptr, QString());
    QCOMPARE(box.windowTitle(), QStringLiteral("About the deck"));
    QVERIFY(!box.windowIcon().isNull());
    QVERIFY(labelWithText(box, QStringLiteral("Deck picker")));
    QVERIFY(labelWithText(box, QStringLiteral("Copyright the deck makers")));
    QVERIFY(labelWithText(box, QStringLiteral("aboutbox.version 4.0.0 (64bit)")));
    QVERIFY(buttonWithText(box, QStringLiteral("Toolkit licence")));
    QTextEdit *licence = box.findChild<QTextEdit *>();
    QVERIFY(licence);
    QVERIFY(licence->isReadOnly());
    QCOMPARE(licence->toPlainText(), QStringLiteral("Licensed to you."));

    QCOMPARE(box.windowModality(), Qt::ApplicationModal);
    const Qt::WindowFlags flags = box.windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowContextHelpButtonHint));
    QVERIFY(!box.isSizeGripEnabled());
}

void tst_AboutBox::layoutAtTheFixedSize()
{
    AboutBox box(nullptr, QString());
    QCOMPARE(box.size(), QSize(680, 480));
    QCOMPARE(box.minimumSize(), box.maximumSize());

    QLabel *logo = box.findChildren<QLabel *>().first();
    QCOMPARE(logo->geometry(), QRect(16, 16, 128, 48));
    QLabel *main = labelWithText(box, QStringLiteral("Deck picker"));
    QLabel *copyright = labelWithText(box, QStringLiteral("Copyright the deck makers"));
    QLabel *version = labelWithText(box, QStringLiteral("aboutbox.version 4.0.0 (64bit)"));
    QCOMPARE(main->pos(), QPoint(160, 16));
    QCOMPARE(copyright->pos(), QPoint(160, main->height() + 20));
    QCOMPARE(version->pos(), QPoint(160, main->height() + copyright->height() + 24));
    // One line each, as wide as the text; the heading is bold and larger.
    QCOMPARE(main->height(), QFontMetrics(main->font()).height());
    QCOMPARE(main->width(), QFontMetrics(main->font()).horizontalAdvance(main->text()));
    QVERIFY(main->font().bold());
    QCOMPARE(main->font().pointSize(), box.font().pointSize() + 2);
    QCOMPARE(version->font().pointSize(), box.font().pointSize() - 2);

    QPushButton *qtLicence = buttonWithText(box, QStringLiteral("Toolkit licence"));
    QPushButton *close = buttonWithText(box, QStringLiteral("Close"));
    QCOMPARE(qtLicence->width(), close->width());
    QCOMPARE(qtLicence->width(), std::max(qtLicence->sizeHint().width(), close->sizeHint().width()) + 6);
    QCOMPARE(qtLicence->pos(), QPoint(160, 480 - 16 - qtLicence->height()));
    QCOMPARE(close->geometry().right(), 680 - 17);
    QCOMPARE(close->y(), qtLicence->y());

    QTextEdit *licence = box.findChild<QTextEdit *>();
    QCOMPARE(licence->geometry(), QRect(QPoint(160, version->geometry().bottom() + 4),
                                        QPoint(680 - 17, 480 - 33 - qtLicence->height())));
    // 16 pixels above the buttons.
    QCOMPARE(qtLicence->y() - licence->geometry().bottom() - 1, 16);
}

void tst_AboutBox::paintsLogoOverTheBackdrop()
{
    AboutBox box(nullptr, QString());
    QImage image(box.size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    box.render(&image);
    // The middle 48 rows of the 64-row logo, at (16, 16).
    QCOMPARE(QColor(image.pixel(16 + 64, 16 + 24)), LogoColour);
    QCOMPARE(QColor(image.pixel(16, 16)), LogoColour);
    // The gradient's light top-left corner, and darker further down.
    const QColor topLeft(image.pixel(2, 2));
    QVERIFY2(qAbs(topLeft.red() - 238) <= 2 && topLeft.red() == topLeft.blue(), qPrintable(topLeft.name()));
    QVERIFY(QColor(image.pixel(2, 470)).red() < topLeft.red());
}

void tst_AboutBox::placedOnTheParentsScreen()
{
    // Centred across, a third of the way down, on that screen.
    QCOMPARE(AboutBox::positionOnScreen(QRect(0, 0, 1920, 1080)), QPoint(620, 360));
    QCOMPARE(AboutBox::positionOnScreen(QRect(1920, 200, 1280, 1024)), QPoint(1920 + 300, 200 + 341));

    QWidget parent;
    AboutBox box(&parent, QString());
    QScreen *screen = parent.screen();
    QVERIFY(screen);
    QCOMPARE(box.pos(), AboutBox::positionOnScreen(screen->geometry()));
    AboutBox alone(nullptr, QString());
    QCOMPARE(alone.pos(), AboutBox::positionOnScreen(QGuiApplication::primaryScreen()->geometry()));
}

void tst_AboutBox::returnAccepts()
{
    AboutBox box(nullptr, QString());
    QSignalSpy accepted(&box, SIGNAL(accepted()));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus && box.isAncestorOf(focus) ? focus : &box, Qt::Key_Return);
    QCOMPARE(accepted.count(), 1);
    QCOMPARE(box.result(), int(QDialog::Accepted));
    QVERIFY(!box.isVisible());
}

void tst_AboutBox::buttonsAreConnected()
{
    AboutBox box(nullptr, QString());
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    // The toolkit's own about box opens modally over it; close it from a timer.
    QString seen;
    QTimer::singleShot(50, [&seen] {
        if (auto *message = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            seen = message->windowTitle();
            message->close();
        }
    });
    buttonWithText(box, QStringLiteral("Toolkit licence"))->click();
    QCOMPARE(seen, QStringLiteral("About Qt"));
    QVERIFY(box.isVisible());

    QSignalSpy accepted(&box, SIGNAL(accepted()));
    buttonWithText(box, QStringLiteral("Close"))->click();
    QCOMPARE(accepted.count(), 1);
}

QTEST_MAIN(tst_AboutBox)
#include "tst_aboutbox.moc"
