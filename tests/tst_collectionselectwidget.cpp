// The collection chooser: where its buttons and list go, what the list
// holds, opening and choosing, and when the Dizeviz button shows.

#include "FixtureFolder.h"
#include "FixtureTheme.h"
#include "TestEnvironment.h"
#include "WidgetProbe.h"

#include "database/DBManager.h"
#include "plugin/CollectionSelectWidget.h"
#include "plugin/DropDownButton.h"
#include "plugin/ImageButton.h"
#include "plugin/MainWidget.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/Theme.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <unistd.h>

using namespace Velmar;

namespace {

// A chooser in a window with room below it for its list, shown.
CollectionSelectWidget *showChooser(QWidget &window)
{
    window.resize(300, 220);
    auto *chooser = new CollectionSelectWidget(&window);
    chooser->move(10, 10);
    window.show();
    return chooser;
}

const QUuid deckA(QStringLiteral("{0c0c0c0a-0000-4000-8000-000000000001}"));
const QUuid deckB(QStringLiteral("{0c0c0c0b-0000-4000-8000-000000000002}"));
const QUuid deckC(QStringLiteral("{0c0c0c0c-0000-4000-8000-000000000003}"));
const QUuid vanishing(QStringLiteral("{0c0c0c0d-0000-4000-8000-000000000004}"));
const QUuid retired(QStringLiteral("{0c0c0c0e-0000-4000-8000-000000000005}"));
const QUuid lonely(QStringLiteral("{0c0c0c0f-0000-4000-8000-000000000006}"));
const QUuid hugeName(QStringLiteral("{0c0c0c10-0000-4000-8000-000000000007}"));
const QUuid headOfHugeName(QStringLiteral("{0c0c0c11-0000-4000-8000-000000000008}"));

// Ten million characters of an ordinary name, and its first ten thousand:
// both far wider than the bar, so both show the same start.
QString hugeNameText()
{
    return QStringLiteral("Harbour Blues ").repeated(10000000 / 14);
}

QString headOfHugeNameText()
{
    return hugeNameText().left(10000);
}

// Counts the events an object is sent after it has stopped being a list,
// that is while its destructors run.
class DyingListLog : public QObject
{
public:
    explicit DyingListLog(QObject *list) { list->installEventFilter(this); }
    QList<QEvent::Type> events;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!qobject_cast<QListWidget *>(watched))
            events << event->type();
        return QObject::eventFilter(watched, event);
    }
};

// The box of the pixels close to the name's colour (51, 51, 51).
QRect textBox(const QImage &image, const QRect &within)
{
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - 51) < 40 && qAbs(c.green() - 51) < 40 && qAbs(c.blue() - 51) < 40)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// Starts the database layer on the folder, with the collection as the current one.
void useFolder(const FixtureFolder &folder, const QUuid &current)
{
    DBManager::s_installed_collections.clear();
    QCOMPARE(Global::InitializePrerequisites(QString(), folder.lookupFolder()), 0);
    Settings::setUuidOfLastUsedCollection(current);
    DBManager::selectedCollectionChanged(current);
}

} // namespace

class TestCollectionSelectWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void buttonLayout_data();
    void buttonLayout();
    void nameAndListPlaces();
    void listHoldsTheInstalledCollectionsInOrder();
    void listBelongsToTheMainWidgetWhenThereIsOne();
    void openingSelectsTheCurrentCollection();
    void choosingReportsOnce();
    void clickWhileOpenClosesWithoutSignal();
    void focusLossAndEscapeClose();
    void dyingListIsLeftAlone_data();
    void dyingListIsLeftAlone();
    void paintsBackgroundArrowAndName();
    void shownNameIsTheNameElided_data();
    void shownNameIsTheNameElided();
    void shownNameOfInvisibleCharactersEndsInAnEllipsis_data();
    void shownNameOfInvisibleCharactersEndsInAnEllipsis();
    void hugeNamePaintsAsItsHead();
    void singleCollectionHasNoDropDown();
    void collectionChangeRelabels();
    void watchFile_data();
    void watchFile();
    void dizevizButtonComesAndGoes();

private:
    FixtureFolder m_decks;
    FixtureFolder m_single;
    FixtureFolder m_names;
    QString m_vanishingFile;
    bool m_otherFolderActive = false;
};

void TestCollectionSelectWidget::initTestCase()
{
    TestEnvironment::isolate();
    {
        auto writer = m_decks.createFile(QStringLiteral("decks.db"));
        QVERIFY(FixtureTheme::write(*writer));
        writer->addCollection(deckC, QStringLiteral("C"), QStringLiteral("Harbour Blues"), 3, true);
        writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Dimora Interiors"), 1, true);
        const qint64 gone = writer->addCollection(retired, QStringLiteral("R"), QStringLiteral("Retired"), 5, false);
        writer->addSetting(gone, QStringLiteral("collection.enabled"), QStringLiteral("0"));
        writer->addCollection(deckB, QStringLiteral("B"), QStringLiteral("Atelier Cards"), 2, true);
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    {
        auto writer = m_decks.createFile(QStringLiteral("vanishing.db"), false);
        writer->addCollection(vanishing, QStringLiteral("V"), QStringLiteral("Vanishing"), 4, true);
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    m_vanishingFile = m_decks.filePath(QStringLiteral("vanishing.db"));
    {
        auto writer = m_single.createFile(QStringLiteral("single.db"));
        QVERIFY(FixtureTheme::write(*writer));
        writer->addCollection(lonely, QStringLiteral("L"), QStringLiteral("Lonely Deck"), 1, true);
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    {
        auto writer = m_names.createFile(QStringLiteral("names.db"));
        QVERIFY(FixtureTheme::write(*writer));
        writer->addCollection(hugeName, QStringLiteral("H"), hugeNameText(), 1, true);
        writer->addCollection(headOfHugeName, QStringLiteral("E"), headOfHugeNameText(), 2, true);
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }

    // Found while its file was there; its file goes before its record is read.
    useFolder(m_decks, deckB);
    QVERIFY(DBManager::GetInstalledCollectionUuidsInOrder().contains(vanishing));
    QVERIFY(QFile::remove(m_vanishingFile));
}

void TestCollectionSelectWidget::init()
{
    // Every text-signature connection must hold.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("connect")));
    Settings::setUuidOfLastUsedCollection(deckB);
}

void TestCollectionSelectWidget::cleanup()
{
    if (m_otherFolderActive) {
        m_otherFolderActive = false;
        useFolder(m_decks, deckB);
    }
}

void TestCollectionSelectWidget::buttonLayout_data()
{
    QTest::addColumn<QSize>("bar");
    QTest::addColumn<QSize>("dropDown");
    QTest::addColumn<QSize>("dizeviz");
    QTest::addColumn<bool>("dizevizShown");
    QTest::addColumn<QPoint>("dropDownAt");
    QTest::addColumn<QPoint>("dizevizAt");

    QTest::newRow("bar alone") << QSize(234, 30) << QSize(20, 20) << QSize(20, 20) << false << QPoint(208, 5) << QPoint();
    // The drop-down button moves 22 pixels to the left for the Dizeviz button.
    QTest::newRow("with the Dizeviz button") << QSize(234, 30) << QSize(20, 20) << QSize(20, 20) << true
                                             << QPoint(186, 5) << QPoint(208, 5);
    QTest::newRow("taller bar") << QSize(234, 40) << QSize(20, 20) << QSize(20, 20) << true << QPoint(181, 10)
                                << QPoint(203, 10);
    // The margin follows the taller button; the smaller one is centred.
    QTest::newRow("smaller drop-down button") << QSize(234, 30) << QSize(16, 16) << QSize(20, 20) << true
                                              << QPoint(190, 7) << QPoint(208, 5);
    QTest::newRow("smaller Dizeviz button") << QSize(234, 30) << QSize(20, 20) << QSize(16, 12) << true
                                            << QPoint(190, 5) << QPoint(212, 9);
}

void TestCollectionSelectWidget::buttonLayout()
{
    QFETCH(QSize, bar);
    QFETCH(QSize, dropDown);
    QFETCH(QSize, dizeviz);
    QFETCH(bool, dizevizShown);
    QFETCH(QPoint, dropDownAt);
    QFETCH(QPoint, dizevizAt);

    const auto layout = CollectionSelectWidget::buttonLayout(bar, dropDown, dizeviz, dizevizShown);
    QCOMPARE(layout.dropDownButton, QRect(dropDownAt, dropDown));
    if (dizevizShown)
        QCOMPARE(layout.dizevizButton, QRect(dizevizAt, dizeviz));
}

void TestCollectionSelectWidget::nameAndListPlaces()
{
    QCOMPARE(CollectionSelectWidget::nameRect(QSize(234, 30), false, 208), QRect(0, 0, 234, 30));
    QCOMPARE(CollectionSelectWidget::nameRect(QSize(234, 30), true, 208), QRect(0, 0, 208, 30));
    QCOMPARE(CollectionSelectWidget::nameRect(QSize(234, 30), true, 186), QRect(0, 0, 186, 30));
    // From the bar's bottom + 1 to its bottom + 128, as wide as the bar.
    QCOMPARE(CollectionSelectWidget::listRect(QRect(10, 12, 234, 30)), QRect(10, 42, 234, 128));
    QCOMPARE(CollectionSelectWidget::listRect(QRect(0, 0, 234, 30)), QRect(0, 30, 234, 128));
}

void TestCollectionSelectWidget::listHoldsTheInstalledCollectionsInOrder()
{
    QWidget window;
    auto *panel = new QWidget(&window);
    panel->setGeometry(20, 8, 300, 100);
    auto *chooser = new CollectionSelectWidget(panel);
    chooser->move(10, 12);

    QCOMPARE(chooser->size(), QSize(234, 30));
    QCOMPARE(chooser->sizeHint(), QSize(234, 30));
    QCOMPARE(chooser->focusPolicy(), Qt::StrongFocus);
    QCOMPARE(chooser->collectionName(), QStringLiteral("Atelier Cards"));

    // The list reaches below the bar, so it belongs to the window, not to the bar's parent.
    QListWidget *list = chooser->listWidget();
    QCOMPARE(list->parentWidget(), &window);
    QVERIFY(list->isHidden());
    QCOMPARE(list->frameShape(), QFrame::NoFrame);
    QVERIFY(list->styleSheet().contains(QStringLiteral("stop:0 rgba(204, 204, 204, 255)")));
    QVERIFY(list->styleSheet().contains(QStringLiteral("stop:1 rgba(238, 238, 238, 255)")));

    // Installed order; the retired deck is not installed and the vanished
    // file's collection cannot be read.
    QStringList names;
    QList<QUuid> uuids;
    for (int i = 0; i < list->count(); ++i) {
        names << list->item(i)->text();
        uuids << QUuid::fromString(list->item(i)->data(Qt::UserRole).toString());
        QCOMPARE(list->item(i)->data(Qt::UserRole).toString(), uuids.last().toString());
        QCOMPARE(list->item(i)->sizeHint(), QSize(0, 28));
    }
    QCOMPARE(names, (QStringList{"Dimora Interiors", "Atelier Cards", "Harbour Blues"}));
    QCOMPARE(uuids, (QList<QUuid>{deckA, deckB, deckC}));

    chooser->dropDownButton()->click();
    QCOMPARE(list->geometry(), QRect(30, 50, 234, 128));

    // The list goes with its bar.
    QPointer<QListWidget> guard(list);
    delete chooser;
    QVERIFY(guard.isNull());
}

void TestCollectionSelectWidget::listBelongsToTheMainWidgetWhenThereIsOne()
{
    MainWidget main(Global::g_mainWidget, nullptr);
    auto *header = new QWidget(&main);
    header->setGeometry(0, 70, 800, 60);
    auto *chooser = new CollectionSelectWidget(header);
    chooser->move(283, 15);
    Global::g_mainWidget = nullptr;

    QCOMPARE(chooser->listWidget()->parentWidget(), &main);
    chooser->dropDownButton()->click();
    QCOMPARE(chooser->listWidget()->geometry(), QRect(283, 115, 234, 128));
}

void TestCollectionSelectWidget::openingSelectsTheCurrentCollection()
{
    QWidget window;
    CollectionSelectWidget *chooser = showChooser(window);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QListWidget *list = chooser->listWidget();
    DropDownButton *dropDown = chooser->dropDownButton();
    QCOMPARE(dropDown->arrowDirection(), DropDownButton::ArrowDirectionDown);
    QTest::mouseClick(dropDown, Qt::LeftButton);
    QVERIFY(list->isVisible());
    QVERIFY(list->hasFocus());
    QCOMPARE(dropDown->arrowDirection(), DropDownButton::ArrowDirectionUp);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("Atelier Cards"));
    QCOMPARE(list->selectedItems().size(), 1);
}

void TestCollectionSelectWidget::choosingReportsOnce()
{
    QWidget window;
    CollectionSelectWidget *chooser = showChooser(window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy chosen(chooser, SIGNAL(collectionSelectedInteractively(QUuid)));
    QListWidget *list = chooser->listWidget();
    const auto clickItem = [list](int row) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    };

    // The current collection: reported as it is, which switches nothing.
    QTest::mouseClick(chooser->dropDownButton(), Qt::LeftButton);
    clickItem(1);
    QVERIFY(list->isHidden());
    QCOMPARE(chooser->dropDownButton()->arrowDirection(), DropDownButton::ArrowDirectionDown);
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.takeFirst().at(0).value<QUuid>(), deckB);

    // Another one by mouse.
    QTest::mouseClick(chooser->dropDownButton(), Qt::LeftButton);
    clickItem(2);
    QVERIFY(list->isHidden());
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.takeFirst().at(0).value<QUuid>(), deckC);

    // By keyboard: one up from the current one, then Return.
    QTest::mouseClick(chooser->dropDownButton(), Qt::LeftButton);
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(list->isHidden());
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.takeFirst().at(0).value<QUuid>(), deckA);

    // A click that both activates and clicks the item is one choice.
    QTest::mouseClick(chooser->dropDownButton(), Qt::LeftButton);
    emit list->itemActivated(list->item(2));
    emit list->itemClicked(list->item(2));
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.takeFirst().at(0).value<QUuid>(), deckC);
}

void TestCollectionSelectWidget::clickWhileOpenClosesWithoutSignal()
{
    QWidget window;
    CollectionSelectWidget *chooser = showChooser(window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy chosen(chooser, SIGNAL(collectionSelectedInteractively(QUuid)));

    QTest::mouseClick(chooser->dropDownButton(), Qt::LeftButton);
    QVERIFY(chooser->listWidget()->isVisible());
    QTest::keyClick(chooser->listWidget(), Qt::Key_Down);
    QTest::mouseClick(chooser->dropDownButton(), Qt::LeftButton);
    QVERIFY(chooser->listWidget()->isHidden());
    QCOMPARE(chooser->dropDownButton()->arrowDirection(), DropDownButton::ArrowDirectionDown);
    QCOMPARE(chosen.size(), 0);
}

void TestCollectionSelectWidget::focusLossAndEscapeClose()
{
    QWidget window;
    window.resize(300, 220);
    auto *chooser = new CollectionSelectWidget(&window);
    chooser->move(10, 10);
    auto *field = new QLineEdit(&window);
    field->setGeometry(10, 180, 200, 24);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy chosen(chooser, SIGNAL(collectionSelectedInteractively(QUuid)));
    QListWidget *list = chooser->listWidget();

    QTest::mouseClick(chooser->dropDownButton(), Qt::LeftButton);
    QVERIFY(list->isVisible());
    field->setFocus(Qt::MouseFocusReason);
    QVERIFY(list->isHidden());
    QCOMPARE(chooser->dropDownButton()->arrowDirection(), DropDownButton::ArrowDirectionDown);

    QTest::mouseClick(chooser->dropDownButton(), Qt::LeftButton);
    QVERIFY(list->isVisible());
    QTest::keyClick(list, Qt::Key_Escape);
    QVERIFY(list->isHidden());
    QVERIFY(window.isVisible());
    QCOMPARE(chosen.size(), 0);
}

void TestCollectionSelectWidget::dyingListIsLeftAlone_data()
{
    QTest::addColumn<bool>("parentFirst");
    QTest::newRow("the chooser goes first") << false;
    // Raised over the open list, the chooser's panel comes after the list
    // among the window's children, so the window destroys the list first.
    QTest::newRow("the list's parent goes first") << true;
}

void TestCollectionSelectWidget::dyingListIsLeftAlone()
{
    QFETCH(bool, parentFirst);
    auto *window = new QWidget;
    window->resize(300, 220);
    auto *panel = new QWidget(window);
    panel->setGeometry(0, 0, 300, 50);
    auto *chooser = new CollectionSelectWidget(panel);
    chooser->move(10, 10);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QListWidget *list = chooser->listWidget();
    QTest::mouseClick(chooser->dropDownButton(), Qt::LeftButton);
    QVERIFY(list->hasFocus());
    if (parentFirst)
        panel->raise();

    // The dying list loses the focus; the chooser must not hide it then.
    const DyingListLog log(list);
    const QPointer<QListWidget> guard(list);
    if (parentFirst)
        delete window;
    else
        delete chooser;
    QVERIFY(guard.isNull());
    QVERIFY(!log.events.contains(QEvent::Hide));
    if (!parentFirst)
        delete window;
}

void TestCollectionSelectWidget::paintsBackgroundArrowAndName()
{
    QWidget window;
    window.resize(300, 220);
    auto *chooser = new CollectionSelectWidget(&window);
    chooser->move(10, 10);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QColor bar = FixtureTheme::colourOf(Theme::KeyOfWidgetBarBackgroundImage);
    QImage image = WidgetProbe::render(*chooser, Qt::transparent);
    QCOMPARE(image.pixel(2, 2), bar.rgb());
    QCOMPARE(image.pixel(232, 28), bar.rgb());
    // The button's own background is the bar's, under the solid arrow image.
    QCOMPARE(image.pixel(218, 15), FixtureTheme::colourOf(Theme::KeyOfDropDownArrowDownImage).rgb());
    QCOMPARE(chooser->dropDownButton()->background().pixel(0, 0), bar.rgb());
    // The name, centred left of the drop-down button.
    const QRect name = textBox(image, QRect(0, 0, 208, 30));
    QVERIFY(!name.isEmpty());
    QVERIFY2(qAbs(name.center().x() - 104) <= 2, qPrintable(QString::number(name.center().x())));
    QVERIFY(qAbs(name.center().y() - 15) <= 3);

    chooser->dropDownButton()->click();
    image = WidgetProbe::render(*chooser, Qt::transparent);
    QCOMPARE(image.pixel(218, 15), FixtureTheme::colourOf(Theme::KeyOfDropDownArrowUpImage).rgb());
}

void TestCollectionSelectWidget::shownNameIsTheNameElided_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    // The name that an elision of the whole text shows the same way.
    QTest::addColumn<QString>("likeName");

    QTest::newRow("short") << "Atelier Cards" << 208 << "Atelier Cards";
    const QString longName = QStringLiteral("Dimora Interiors, the complete collection of cards for walls and wood");
    QTest::newRow("long") << longName << 208 << longName;
    QTest::newRow("long, narrower") << longName << 60 << longName;
    const QString wide = QString(QChar(0x00C6)).repeated(3000) + QStringLiteral(" end");
    QTest::newRow("thousands of wide letters") << wide << 208 << wide;
    const QString emoji = QString::fromUtf8("\xF0\x9F\x8E\xA8 Palette ").repeated(500);
    QTest::newRow("characters beyond 16 bits") << emoji << 208 << emoji;
    QTest::newRow("ten million characters") << hugeNameText() << 208 << headOfHugeNameText();
    QTest::newRow("no room") << longName << 0 << longName;
}

void TestCollectionSelectWidget::shownNameIsTheNameElided()
{
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(QString, likeName);

    const QFontMetrics metrics(Theme::normalFont(Theme::FontSizeLarger));
    QCOMPARE(CollectionSelectWidget::shownName(name, metrics, width),
             metrics.elidedText(likeName, Qt::ElideRight, width));
    // However long the name, elision looks at no more than a long name's worth.
    const QString prefix = CollectionSelectWidget::elisionPrefix(name, width);
    QVERIFY(name.startsWith(prefix));
    QVERIFY2(prefix.size() <= 4096, qPrintable(QString::number(prefix.size())));
}

void TestCollectionSelectWidget::shownNameOfInvisibleCharactersEndsInAnEllipsis_data()
{
    QTest::addColumn<QString>("name");

    // Zero-width spaces: a prefix of them fits whole, and shows a name that goes on.
    const QChar zeroWidth(0x200B);
    QTest::newRow("zero-width spaces") << QStringLiteral("Z") + QString(zeroWidth).repeated(1000000);
    // The prefix would end between the two halves of a character.
    const qsizetype cut = CollectionSelectWidget::elisionPrefix(QString(100000, QLatin1Char('x')), 208).size();
    QTest::newRow("half a character at the cut")
        << QString(zeroWidth).repeated(cut - 1) + QString::fromUtf8("\xF0\x9F\x8E\xA8").repeated(1000);
}

void TestCollectionSelectWidget::shownNameOfInvisibleCharactersEndsInAnEllipsis()
{
    QFETCH(QString, name);

    const QFontMetrics metrics(Theme::normalFont(Theme::FontSizeLarger));
    const QString shown = CollectionSelectWidget::shownName(name, metrics, 208);
    QVERIFY(shown.endsWith(QChar(0x2026)) || shown.endsWith(QStringLiteral("...")));
    QVERIFY(metrics.horizontalAdvance(shown) <= 208);
    QString kept = shown;
    kept.chop(shown.endsWith(QChar(0x2026)) ? 1 : 3);
    QVERIFY(name.startsWith(kept));
    QVERIFY(kept.isEmpty() || !kept.back().isHighSurrogate());
}

void TestCollectionSelectWidget::hugeNamePaintsAsItsHead()
{
    useFolder(m_names, hugeName);
    m_otherFolderActive = true;
    QWidget window;
    window.resize(300, 120);
    auto *huge = new CollectionSelectWidget(&window);
    QCOMPARE(huge->collectionName().size(), hugeNameText().size());
    Settings::setUuidOfLastUsedCollection(headOfHugeName);
    auto *head = new CollectionSelectWidget(&window);
    head->move(0, 60);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QImage shown = WidgetProbe::render(*huge, Qt::transparent);
    QVERIFY(!textBox(shown, QRect(0, 0, 208, 30)).isEmpty());
    QCOMPARE(shown, WidgetProbe::render(*head, Qt::transparent));

    // The list elides its items itself: it gets no more of the name than the bar does.
    const QListWidget *list = huge->listWidget();
    QCOMPARE(list->count(), 2);
    QVERIFY(hugeNameText().startsWith(list->item(0)->text()));
    QVERIFY2(list->item(0)->text().size() <= 4096, qPrintable(QString::number(list->item(0)->text().size())));
    QCOMPARE(list->item(1)->text(), list->item(0)->text());
}

void TestCollectionSelectWidget::singleCollectionHasNoDropDown()
{
    useFolder(m_single, lonely);
    m_otherFolderActive = true;
    {
        QWidget window;
        auto *chooser = new CollectionSelectWidget(&window);
        QVERIFY(chooser->dropDownButton()->isHidden());
        QCOMPARE(chooser->listWidget()->count(), 1);
        QCOMPARE(chooser->collectionName(), QStringLiteral("Lonely Deck"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // Centred over the whole bar, with nothing where the button would be.
        const QImage image = WidgetProbe::render(*chooser, Qt::transparent);
        const QRect name = textBox(image, image.rect());
        QVERIFY(!name.isEmpty());
        QVERIFY2(qAbs(name.center().x() - 117) <= 2, qPrintable(QString::number(name.center().x())));
        QCOMPARE(image.pixel(218, 15), FixtureTheme::colourOf(Theme::KeyOfWidgetBarBackgroundImage).rgb());
    }
}

void TestCollectionSelectWidget::collectionChangeRelabels()
{
    CollectionSelectWidget chooser;
    QCOMPARE(chooser.collectionName(), QStringLiteral("Atelier Cards"));
    QVERIFY(QMetaObject::invokeMethod(&chooser, "selectedCollectionChanged", Q_ARG(QUuid, deckC)));
    QCOMPARE(chooser.collectionName(), QStringLiteral("Harbour Blues"));
    // A collection that cannot be read keeps the name shown.
    chooser.selectedCollectionChanged(vanishing);
    QCOMPARE(chooser.collectionName(), QStringLiteral("Harbour Blues"));
    chooser.selectedCollectionChanged(QUuid());
    QCOMPARE(chooser.collectionName(), QStringLiteral("Harbour Blues"));
}

void TestCollectionSelectWidget::watchFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("shown");

    QTest::newRow("missing") << "missing" << false;
    QTest::newRow("present and writable") << "file" << true;
    // A directory cannot be opened for writing, even by root.
    QTest::newRow("a directory of that name") << "directory" << false;
    QTest::newRow("no file named") << "none" << false;
    if (geteuid() != 0)
        QTest::newRow("read-only file") << "read-only" << false;
}

void TestCollectionSelectWidget::watchFile()
{
    QFETCH(QString, kind);
    QFETCH(bool, shown);

    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("measurement.cxf"));
    if (kind == QLatin1String("file") || kind == QLatin1String("read-only")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<CxF/>");
        file.close();
        if (kind == QLatin1String("read-only"))
            QVERIFY(file.setPermissions(QFileDevice::ReadOwner));
    } else if (kind == QLatin1String("directory")) {
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("measurement.cxf")));
    } else if (kind == QLatin1String("none")) {
        path.clear();
    }
    const QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    QWidget window;
    auto *chooser = new CollectionSelectWidget(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(QMetaObject::invokeMethod(chooser, "dizevizFileChanged", Q_ARG(QString, path)));
    QCoreApplication::sendPostedEvents(chooser, QEvent::Resize);

    ImageButton *button = chooser->dizevizButton();
    QCOMPARE(!button->isHidden(), shown);
    QCOMPARE(button->isPulsating(), shown);
    QCOMPARE(chooser->dizevizFilePath(), shown ? path : QString());
    QCOMPARE(chooser->dropDownButton()->pos(), shown ? QPoint(186, 5) : QPoint(208, 5));
    if (shown)
        QCOMPARE(button->pos(), QPoint(208, 5));
    // Nothing is planted in the device's folder.
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void TestCollectionSelectWidget::dizevizButtonComesAndGoes()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("measurement.cxf"));
    QWidget window;
    auto *chooser = new CollectionSelectWidget(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ImageButton *button = chooser->dizevizButton();

    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    chooser->dizevizFileChanged(path);
    QTRY_COMPARE(chooser->dropDownButton()->pos(), QPoint(186, 5));
    QVERIFY(button->isVisible());
    QVERIFY(button->isPulsating());

    QVERIFY(QFile::remove(path));
    chooser->dizevizFileChanged(path);
    QTRY_COMPARE(chooser->dropDownButton()->pos(), QPoint(208, 5));
    QVERIFY(button->isHidden());
    QVERIFY(!button->isPulsating());
    QVERIFY(!QFile::exists(path));

    // The name makes room for the button: it ends left of the drop-down button.
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    chooser->dizevizFileChanged(path);
    QTRY_COMPARE(chooser->dropDownButton()->pos(), QPoint(186, 5));
    const QRect name = textBox(WidgetProbe::render(*chooser, Qt::transparent), QRect(0, 0, 186, 30));
    QVERIFY2(qAbs(name.center().x() - 93) <= 2, qPrintable(QString::number(name.center().x())));
}

QTEST_MAIN(TestCollectionSelectWidget)
#include "tst_collectionselectwidget.moc"
