// The main widget as a whole: what it builds and in which state, where it
// puts everything, what it paints, its connections, the header link, and
// that it leaves no pointer to itself behind.

#include "FixtureTheme.h"
#include "MainWidgetFixture.h"
#include "WidgetProbe.h"

#include "plugin/CollectionSelectWidget.h"
#include "plugin/MainWidget.h"
#include "plugin/MyPaletteFullWidget.h"
#include "plugin/MyPaletteWidget.h"
#include "plugin/TaskButton.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/Theme.h"
#include "views/CardRollerWidget.h"
#include "views/ColorSchemerSarnexeWidget.h"
#include "views/ColorSchemerWidget.h"
#include "views/ColorWheelWidget.h"
#include "views/HuecastWidget.h"
#include "views/MoodSelectWidget.h"
#include "views/ProductsWidget.h"
#include "views/SearchWidget.h"
#include "views/TabBarWidget.h"
#include "views/TexturesWidget.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaMethod>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace Velmar;

namespace {

void sendMouseMove(QWidget *widget, const QPoint &at)
{
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
}

// Warnings of QObject::connect seen while it is installed.
QStringList g_connectWarnings;
QtMessageHandler g_previousHandler = nullptr;

void recordConnectWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && (message.contains(QLatin1String("QObject::connect")) || message.contains(QLatin1String("connection failed"))))
        g_connectWarnings.append(message);
    if (g_previousHandler)
        g_previousHandler(type, context, message);
}

} // namespace

// Takes the addresses the widget opens instead of a browser.
class UrlRecorder : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class TestMainWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase() { QDesktopServices::unsetUrlHandler(QStringLiteral("https")); }

    void instanceIsPublishedBeforeTheChildren();
    void childrenAndTheirStartingState();
    void destroyedWidgetIsNoLongerPublished();
    void everyConnectionIsMadeAndItsTypesAreKnown();
    void layoutFor_data();
    void layoutFor();
    void childrenAreWhereTheLayoutPutsThem_data();
    void childrenAreWhereTheLayoutPutsThem();
    void paintsBackgroundBannerAndLine();
    void headerLinkCursorAndClick_data();
    void headerLinkCursorAndClick();
    void firstTabPageAndSchemeAreStored();
    void editBoxFocusIsReported();

private:
    MainWidgetFixture m_fixture;
    UrlRecorder m_urls;
};

void TestMainWidget::initTestCase()
{
    MainWidgetFixture::isolate();
    QVERIFY2(m_fixture.write(), qPrintable(m_fixture.error()));
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_urls, "open");
}

void TestMainWidget::init()
{
    MainWidgetFixture::browse(MainWidgetFixture::Alpha);
    m_urls.urls.clear();
}

void TestMainWidget::cleanup()
{
    QCOMPARE(Global::g_mainWidget, nullptr);
}

void TestMainWidget::instanceIsPublishedBeforeTheChildren()
{
    // The chooser hangs its list on the published main widget while it is
    // being built; had the pointer come later, the list would sit elsewhere.
    QWidget dialog;
    MainWidget *main = Global::createMainWidget(&dialog, &dialog);
    QCOMPARE(Global::g_mainWidget, main);
    QCOMPARE(main->parentWidget(), &dialog);
    QCOMPARE(main->collectionChooser()->listWidget()->parentWidget(), main);
    delete main;
}

void TestMainWidget::childrenAndTheirStartingState()
{
    std::unique_ptr<MainWidget> main(new MainWidget(Global::g_mainWidget, nullptr));
    QCOMPARE(main->objectName(), QStringLiteral("MainWidget"));
    QCOMPARE(main->size(), QSize(800, 600));
    QCOMPARE(main->focusPolicy(), Qt::StrongFocus);
    QVERIFY(main->hasMouseTracking());

    // Stacked in the order they were made: later ones lie above earlier ones.
    const QList<QWidget *> order{main->collectionChooser(), main->colorWheel(),    main->moodStrip(),
                                 main->searchField(),       main->cardRoller(),    main->tabBar(),
                                 main->colorSchemer(),      main->sarnexSchemer(), main->huecast(),
                                 main->textures(),          main->products(),      main->myPalette(),
                                 main->myPaletteFull()};
    const QObjectList children = main->children();
    int last = -1;
    for (QWidget *child : order) {
        QVERIFY(child);
        QCOMPARE(child->parent(), main.get());
        const int at = int(children.indexOf(child));
        QVERIFY2(at > last, child->metaObject()->className());
        last = at;
    }

    // Alpha is a normal deck on the colour-schemes page.
    QVERIFY(!main->colorSchemer()->isHidden());
    for (QWidget *page : {static_cast<QWidget *>(main->sarnexSchemer()), static_cast<QWidget *>(main->huecast()),
                          static_cast<QWidget *>(main->textures()), static_cast<QWidget *>(main->products())})
        QVERIFY(page->isHidden());
    QVERIFY(main->myPaletteFull()->isHidden());
    QVERIFY(!main->moodStrip()->isHidden());
    QVERIFY(main->taskButton(999)->isHidden());
    QCOMPARE(main->taskButtonOrder(), (QList<unsigned short>{1, 2, 3}));
    QCOMPARE(main->taskButton(1)->text(), QStringLiteral("Save"));
    QCOMPARE(main->taskButton(2)->text(), QStringLiteral("Open"));

    // The link labels open nothing themselves.
    for (QLabel *label : {main->copyrightLabel(), main->mottoLabel()}) {
        QVERIFY(!label->openExternalLinks());
        QCOMPARE(label->textInteractionFlags(), Qt::LinksAccessibleByMouse);
        QCOMPARE(label->font().pointSize(), Theme::normalFont(Theme::FontSizeSmaller).pointSize());
    }
    QCOMPARE(main->mottoLabel()->text(),
             QStringLiteral("<a href=\"links/motto\"><span style=\"text-decoration: none; color: #ffffff;\">Our motto</span></a>"));
    QCOMPARE(main->paletteFilter(), QStringLiteral("Palette files (*.palette)"));
    QCOMPARE(main->textFilter(), QStringLiteral("Text files (*.txt)"));
    QCOMPARE(main->paletteFileDialog()->parent(), main.get());
    QCOMPARE(main->matchTable().size(), 24);
}

void TestMainWidget::destroyedWidgetIsNoLongerPublished()
{
    // Built directly, not through the factory that also watches it.
    auto *main = new MainWidget(Global::g_mainWidget, nullptr);
    QCOMPARE(Global::g_mainWidget, main);
    main->show();
    delete main;
    QCOMPARE(Global::g_mainWidget, nullptr);

    // A second widget does not clear the pointer to a newer one.
    MainWidget *older = nullptr;
    auto *first = new MainWidget(older, nullptr);
    auto *second = new MainWidget(Global::g_mainWidget, nullptr);
    QCOMPARE(older, first);
    delete first;
    QCOMPARE(Global::g_mainWidget, second);
    delete second;
    QCOMPARE(Global::g_mainWidget, nullptr);
}

void TestMainWidget::everyConnectionIsMadeAndItsTypesAreKnown()
{
    g_connectWarnings.clear();
    g_previousHandler = qInstallMessageHandler(recordConnectWarnings);
    std::unique_ptr<MainWidget> main(new MainWidget(Global::g_mainWidget, nullptr));
    qInstallMessageHandler(g_previousHandler);
    QVERIFY2(g_connectWarnings.isEmpty(), qPrintable(g_connectWarnings.join(QLatin1Char('\n'))));
    QVERIFY2(main->failedConnections().isEmpty(), qPrintable(main->failedConnections().join(QLatin1Char('\n'))));
    // Three task buttons, the 37 connections of the wiring table, and the
    // search field's start and its request for the whole list of suggestions.
    QCOMPARE(main->connectionCount(), 42);

    // Every type in a signature of the main widget and of the views it
    // listens to is known by the name the signature spells, so that queued
    // connections and signal spies work.
    const QList<const QMetaObject *> classes{
        &MainWidget::staticMetaObject,        &CollectionSelectWidget::staticMetaObject,
        &ColorWheelWidget::staticMetaObject,  &MoodSelectWidget::staticMetaObject,
        &CardRollerWidget::staticMetaObject,  &SearchWidget::staticMetaObject,
        &TabBarWidget::staticMetaObject,      &ColorSchemerWidget::staticMetaObject,
        &ColorSchemerSarnexeWidget::staticMetaObject, &HuecastWidget::staticMetaObject,
        &TexturesWidget::staticMetaObject,    &ProductsWidget::staticMetaObject,
        &MyPaletteWidget::staticMetaObject,   &MyPaletteFullWidget::staticMetaObject};
    for (const QMetaObject *meta : classes) {
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QMetaMethod method = meta->method(i);
            for (const QByteArray &type : method.parameterTypes()) {
                if (type.endsWith('*')) // widgets, handed over directly
                    continue;
                QVERIFY2(QMetaType::fromName(type).isValid(),
                         qPrintable(QStringLiteral("%1::%2: %3")
                                        .arg(QLatin1String(meta->className()), QLatin1String(method.methodSignature()),
                                             QLatin1String(type))));
            }
        }
    }

    // A queued request arrives like a direct one.
    QVERIFY(QMetaObject::invokeMethod(main.get(), "moodFilterChangedInteractively", Qt::QueuedConnection,
                                      Q_ARG(Mood, MoodCalm)));
    QTRY_COMPARE(Settings::moodFilter(MainWidgetFixture::Alpha), MoodCalm);
}

void TestMainWidget::layoutFor_data()
{
    QTest::addColumn<bool>("moodVisible");
    QTest::addColumn<QRect>("roller");
    // Chooser 234 x 30, wheel 122 x 122, mood strip 200 x 90, search 210 x 26,
    // motto 60 x 15, copyright 110 x 15, line height 15.
    // Wheel (56, 110)-(177, 231); mood strip (17, 241)-(216, 330);
    // search at y = 600 - 13 - 15 - 26 = 546.
    QTest::newRow("mood strip shown") << true << QRect(QPoint(12, 336), QPoint(221, 539));
    QTest::newRow("mood strip hidden") << false << QRect(QPoint(12, 237), QPoint(221, 539));
}

void TestMainWidget::layoutFor()
{
    QFETCH(bool, moodVisible);
    QFETCH(QRect, roller);
    MainWidget::LayoutInput input;
    input.size = QSize(800, 600);
    input.moodVisible = moodVisible;
    input.chooser = QSize(234, 30);
    input.wheel = QSize(122, 122);
    input.moodStrip = QSize(200, 90);
    input.search = QSize(210, 26);
    input.motto = QSize(60, 15);
    input.copyright = QSize(110, 15);
    input.lineHeight = 15;
    const MainWidget::Layout layout = MainWidget::layoutFor(input);

    QCOMPARE(layout.header, QRect(0, 0, 800, 70));
    QCOMPARE(layout.zoomedPalette, QRect(0, 0, 800, 600));
    QCOMPARE(layout.motto, QRect(12, 576, 61, 17));
    QCOMPARE(layout.copyright, QRect(676, 576, 111, 17));
    QCOMPARE(layout.copyright.right(), 786);
    QCOMPARE(layout.chooser, QRect(0, 71, 234, 30));
    QCOMPARE(layout.wheel, QRect(56, 110, 122, 122));
    QCOMPARE(layout.moodStrip, QRect(17, 241, 200, 90));
    QCOMPARE(layout.search, QRect(12, 546, 210, 26));
    QCOMPARE(layout.cardRoller, roller);
    QCOMPARE(layout.tabBar, QRect(QPoint(234, 71), QPoint(799, 100)));
    // Moved right by one and down by the bar's height, 226 high.
    QCOMPARE(layout.schemer, QRect(235, 101, 566, 226));
    QCOMPARE(layout.myPalette, QRect(QPoint(235, 327), QPoint(800, 539)));
}

void TestMainWidget::childrenAreWhereTheLayoutPutsThem_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<bool>("moodVisible");
    QTest::newRow("Alpha, mood strip shown") << MainWidgetFixture::Alpha << true;
    QTest::newRow("Bravo, mood strip hidden") << MainWidgetFixture::Bravo << false;
}

void TestMainWidget::childrenAreWhereTheLayoutPutsThem()
{
    QFETCH(QUuid, collection);
    QFETCH(bool, moodVisible);
    MainWidgetFixture::browse(collection);
    std::unique_ptr<MainWidget> main(new MainWidget(Global::g_mainWidget, nullptr));
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));

    const QRect chooser = main->collectionChooser()->geometry();
    const QRect wheel = main->colorWheel()->geometry();
    const QRect mood = main->moodStrip()->geometry();
    const QRect search = main->searchField()->geometry();
    const QRect roller = main->cardRoller()->geometry();
    QCOMPARE(main->moodStrip()->isVisible(), moodVisible);
    QCOMPARE(chooser.topLeft(), QPoint(0, 71));
    QCOMPARE(wheel.top(), chooser.bottom() + 10);
    QCOMPARE(wheel.left(), (chooser.width() - wheel.width()) / 2);
    QCOMPARE(mood.top(), wheel.bottom() + 10);
    QCOMPARE(mood.size(), main->moodStrip()->sizeHint());
    QCOMPARE(roller.top(), (moodVisible ? mood.bottom() : wheel.bottom()) + 6);
    QCOMPARE(roller.left(), search.left());
    QCOMPARE(roller.right(), search.right());
    QCOMPARE(roller.bottom(), search.top() - 7);
    const int lineHeight = QFontMetrics(main->copyrightLabel()->font()).height();
    QCOMPARE(search.topLeft(), QPoint(12, 600 - 13 - lineHeight - search.height()));
    QCOMPARE(main->tabBar()->geometry(), QRect(QPoint(chooser.right() + 1, 71), QPoint(799, chooser.bottom())));
    QCOMPARE(main->colorSchemer()->geometry(), QRect(chooser.right() + 2, chooser.bottom() + 1, 800 - chooser.width(), 226));
    for (QWidget *page : {static_cast<QWidget *>(main->sarnexSchemer()), static_cast<QWidget *>(main->huecast()),
                          static_cast<QWidget *>(main->textures()), static_cast<QWidget *>(main->products())})
        QCOMPARE(page->geometry(), main->colorSchemer()->geometry());
    const QRect palette = main->myPalette()->geometry();
    QCOMPARE(palette.top(), main->colorSchemer()->geometry().bottom() + 1);
    QCOMPARE(palette.bottom(), roller.bottom());
    QCOMPARE(main->myPaletteFull()->geometry(), QRect(0, 0, 800, 600));
    QCOMPARE(main->mottoLabel()->geometry().left(), 12);
    QCOMPARE(main->mottoLabel()->geometry().bottom(), 592);
    QCOMPARE(main->copyrightLabel()->geometry().right(), 786);
    QCOMPARE(main->copyrightLabel()->geometry().bottom(), 592);
    // The label is as wide as the words it shows, not as its markup.
    const QString shown = collection == MainWidgetFixture::Alpha ? QStringLiteral("About Alpha")
                                                                 : QStringLiteral("About Bravo");
    QCOMPARE(main->copyrightLabel()->width(),
             QFontMetrics(main->copyrightLabel()->font()).size(Qt::TextSingleLine, shown).width() + 1);

    // The task row shares the search field's height, inside My palette.
    const QRect save = main->taskButton(1)->geometry();
    const QRect help = main->taskButton(3)->geometry();
    QCOMPARE(save.left(), palette.left() + 12);
    QCOMPARE(save.top(), search.top() + 2);
    QCOMPARE(save.height(), 22);
    QCOMPARE(help.size(), QSize(20, 20));
    QCOMPARE(help.top(), save.top() + 1);
}

void TestMainWidget::paintsBackgroundBannerAndLine()
{
    std::unique_ptr<MainWidget> main(new MainWidget(Global::g_mainWidget, nullptr));
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    const QImage image = WidgetProbe::render(*main, Qt::black);
    const QRgb background = FixtureTheme::colourOf(Theme::KeyOfWidgetMainBackgroundImage).rgb();
    const QRgb banner = MainWidgetFixture::bannerColour().rgb();
    // The 400 by 50 banner centred in the 70-pixel band: (200, 10)-(599, 59).
    QCOMPARE(image.pixel(200, 10), banner);
    QCOMPARE(image.pixel(599, 59), banner);
    QCOMPARE(image.pixel(199, 35), background);
    QCOMPARE(image.pixel(400, 60), background);
    // The grey line between the chooser's column and the pages.
    const int x = main->collectionChooser()->geometry().right() + 1;
    QCOMPARE(image.pixel(x, 450), qRgb(188, 188, 188));
    QCOMPARE(image.pixel(x, 599), qRgb(188, 188, 188));
    QCOMPARE(image.pixel(x - 1, 450), background);
}

void TestMainWidget::headerLinkCursorAndClick_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<bool>("linked");
    QTest::newRow("Alpha has a header link") << MainWidgetFixture::Alpha << true;
    QTest::newRow("Bravo has none and no banner") << MainWidgetFixture::Bravo << false;
}

void TestMainWidget::headerLinkCursorAndClick()
{
    QFETCH(QUuid, collection);
    QFETCH(bool, linked);
    MainWidgetFixture::browse(collection);
    std::unique_ptr<MainWidget> main(new MainWidget(Global::g_mainWidget, nullptr));
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    QCOMPARE(main->headerLink(), linked ? MainWidgetFixture::headerLink() : QString());
    if (!linked) // the placeholder of a missing banner, at the band's size
        QCOMPARE(main->headerImage().size(), QSize(800, 70));

    sendMouseMove(main.get(), QPoint(400, 30));
    QCOMPARE(main->cursor().shape(), linked ? Qt::PointingHandCursor : Qt::ArrowCursor);
    sendMouseMove(main.get(), QPoint(400, 70));
    QCOMPARE(main->cursor().shape(), Qt::ArrowCursor);

    QTest::mouseClick(main.get(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 30));
    QCOMPARE(m_urls.urls, linked ? QList<QUrl>{QUrl(MainWidgetFixture::headerLink())} : QList<QUrl>());
    QTest::mouseClick(main.get(), Qt::LeftButton, Qt::NoModifier, QPoint(400, 75));
    QCOMPARE(m_urls.urls.size(), linked ? 1 : 0);
}

void TestMainWidget::firstTabPageAndSchemeAreStored()
{
    // Nothing stored yet: the first page of the order that the collection
    // offers, and the first scheme of its order; none when it has no order.
    for (const QUuid &collection : {MainWidgetFixture::Alpha, MainWidgetFixture::Bravo}) {
        MainWidgetFixture::browse(collection);
        QCOMPARE(Settings::tabPage(collection), TabBarPageNone);
        MainWidget main(Global::g_mainWidget, nullptr);
        QCOMPARE(Settings::tabPage(collection), TabBarPageColorSchemes);
        QCOMPARE(Settings::schemeKind(collection),
                 collection == MainWidgetFixture::Alpha ? SchemeContrast : SchemeNone);
    }
    // A stored choice stays.
    MainWidgetFixture::browse(MainWidgetFixture::Alpha);
    Settings::setTabPage(MainWidgetFixture::Alpha, TabBarPageTextures);
    Settings::setSchemeKind(MainWidgetFixture::Alpha, SchemeHarmonic);
    MainWidget main(Global::g_mainWidget, nullptr);
    QCOMPARE(Settings::tabPage(MainWidgetFixture::Alpha), TabBarPageTextures);
    QCOMPARE(Settings::schemeKind(MainWidgetFixture::Alpha), SchemeHarmonic);
}

void TestMainWidget::editBoxFocusIsReported()
{
    std::unique_ptr<MainWidget> main(new MainWidget(Global::g_mainWidget, nullptr));
    main->show();
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    main->activateWindow();
    QSignalSpy got(main.get(), SIGNAL(anEditBoxGotFocus()));
    QSignalSpy lost(main.get(), SIGNAL(anEditBoxLostFocus()));
    main->searchField()->textField()->setFocus();
    QTRY_COMPARE(got.count(), 1);
    main->myPalette()->descriptionField()->setFocus();
    QTRY_COMPARE(got.count(), 2);
    main->cardRoller()->setFocus();
    QTRY_COMPARE(lost.count(), 1);
    QCOMPARE(got.count(), 2);
}

QTEST_MAIN(TestMainWidget)
#include "tst_mainwidget.moc"
