// The search field and its roll buttons: upper-casing, Return and Escape,
// the bar's geometry and paint, held roll buttons, the completer of each
// collection, and a search through the field for accented names.

#include "FixtureFolder.h"
#include "FixtureTheme.h"
#include "TestEnvironment.h"
#include "WidgetProbe.h"

#include "database/DBManager.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/Theme.h"
#include "views/RollButton.h"
#include "views/SearchWidget.h"
#include "views/SuggestionModel.h"

#include <QCompleter>
#include <QSharedPointer>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QStringListModel>
#include <QtTest>

using namespace Velmar;

namespace {

const QUuid withNames(QStringLiteral("{5ea4c100-0000-0000-0000-000000000001}"));
const QUuid withoutNames(QStringLiteral("{5ea4c100-0000-0000-0000-000000000002}"));

// Types the text key by key, accented letters too (QTest::keyClicks takes
// ASCII only).
void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        const auto key = Qt::Key(c.isLetter() ? c.toUpper().unicode() : c.unicode());
        QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
    }
}

} // namespace

class TestSearchWidget : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void typingIsUpperCased_data();
    void typingIsUpperCased();
    void returnSendsThePhraseAndClears_data();
    void returnSendsThePhraseAndClears();
    void escapeClearsWithoutSending();
    void emptyUnfocusedFieldIsItalic();
    void layout_data();
    void layout();
    void barIsLaidOutFromItsImages();
    void paint();
    void heldRollButtonKeepsRolling();
    void completerFollowsTheCollection();
    void offeredSuggestionsSpareTheRead();
    void missingImagesGiveSmallPlaceholders();
    void searchThroughTheField_data();
    void searchThroughTheField();

private:
    void use(const FixtureFolder &folder, const QUuid &collection);

    FixtureFolder m_themed;
    FixtureFolder m_bare;
};

void TestSearchWidget::initTestCase()
{
    TestEnvironment::isolate();
    {
        auto writer = m_themed.createFile(QStringLiteral("search.db"));
        QVERIFY(FixtureTheme::write(*writer));
        const qint64 names = writer->addCollection(withNames, QStringLiteral("N"), QStringLiteral("Names"), 1, true);
        const qint64 none = writer->addCollection(withoutNames, QStringLiteral("E"), QStringLiteral("Empty"), 2, true);
        writer->addSettings(names, QStringLiteral("page.name.search.order"), {QStringLiteral("0")});
        writer->addSettings(names, QStringLiteral("row.name.search.order"), {QStringLiteral("0")});
        writer->addText(names, QStringLiteral("color.palette.enter.search.text"), QStringLiteral("CODE OR NAME"));

        CollectionWriter::Card coral;
        coral.pageIndex = 1;
        coral.names = QStringList{QStringLiteral("Coral Family")};
        const qint64 coralId = writer->addCard(names, coral);
        CollectionWriter::Card dessert;
        dessert.pageIndex = 2;
        dessert.segment = 3;
        dessert.names = QStringList{QStringLiteral("Crème Brûlée")};
        const qint64 dessertId = writer->addCard(names, dessert);
        auto chip = [&](qint64 page, int row, const QString &code, const QString &name) {
            CollectionWriter::Chip spec;
            spec.rowIndex = row;
            spec.code = code;
            spec.names = QStringList{name};
            writer->addChip(names, page, spec);
        };
        chip(coralId, 1, QStringLiteral("A-0101"), QStringLiteral("Pale Coral"));
        chip(coralId, 2, QStringLiteral("A-0102"), QStringLiteral("Deep Coral"));
        chip(dessertId, 1, QStringLiteral("A-0201"), QStringLiteral("Vanilla"));
        chip(dessertId, 2, QStringLiteral("A-0202"), QStringLiteral("Île Blanche"));
        // Equal to another name but for case: only the whole list's sort
        // puts the two in order.
        chip(dessertId, 3, QStringLiteral("A-0203"), QStringLiteral("VANILLA"));
        Q_UNUSED(none)
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    {
        // No theme at all: every image is a placeholder.
        auto writer = m_bare.createFile(QStringLiteral("bare.db"));
        writer->addCollection(withNames, QStringLiteral("N"), QStringLiteral("Names"), 1, true);
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    use(m_themed, withNames);
}

void TestSearchWidget::init()
{
    use(m_themed, withNames);
}

void TestSearchWidget::use(const FixtureFolder &folder, const QUuid &collection)
{
    DBManager::s_installed_collections.clear();
    QCOMPARE(Global::InitializePrerequisites(QString(), folder.lookupFolder()), 0);
    Settings::setUuidOfLastUsedCollection(collection);
    DBManager::selectedCollectionChanged(collection);
}

void TestSearchWidget::typingIsUpperCased_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letters and digits") << "abc 12" << "ABC 12";
    QTest::newRow("accented letters") << "zoé île ça" << "ZOÉ ÎLE ÇA";
    QTest::newRow("already capitals") << "XY-9" << "XY-9";
}

void TestSearchWidget::typingIsUpperCased()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    SearchWidget bar;
    typeText(bar.textField(), typed);
    QCOMPARE(bar.textField()->text(), shown);
}

void TestSearchWidget::returnSendsThePhraseAndClears_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("phrase");
    QTest::newRow("a code and a number") << "abc 12" << "ABC 12";
    QTest::newRow("blanks around") << "  a-0101  " << "A-0101";
    QTest::newRow("blanks only") << "   " << "";
    QTest::newRow("nothing") << "" << "";
}

void TestSearchWidget::returnSendsThePhraseAndClears()
{
    QFETCH(QString, typed);
    QFETCH(QString, phrase);
    SearchWidget bar;
    bar.show();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    bar.textField()->setFocus();
    QSignalSpy spy(&bar, SIGNAL(searchForPhrase(QString)));
    QVERIFY(spy.isValid());
    typeText(bar.textField(), typed);
    QTest::keyClick(bar.textField(), Qt::Key_Return);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), phrase);
    QVERIFY(bar.textField()->text().isEmpty());
    QVERIFY(bar.hasFocus());
}

void TestSearchWidget::escapeClearsWithoutSending()
{
    SearchWidget bar;
    bar.show();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    bar.textField()->setFocus();
    QVERIFY(bar.textField()->hasFocus());
    QSignalSpy spy(&bar, SIGNAL(searchForPhrase(QString)));
    typeText(bar.textField(), QStringLiteral("a-01"));
    QTest::keyClick(bar.textField(), Qt::Key_Escape);
    QVERIFY(bar.textField()->text().isEmpty());
    QCOMPARE(spy.count(), 0);
    QVERIFY(!bar.textField()->hasFocus());
    QVERIFY(bar.hasFocus());
}

void TestSearchWidget::emptyUnfocusedFieldIsItalic()
{
    SearchWidget bar;
    QLineEdit *field = bar.textField();
    QVERIFY(field->font().italic());
    bar.show();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    field->setFocus();
    QVERIFY(!field->font().italic());
    typeText(field, QStringLiteral("x"));
    bar.setFocus();
    QVERIFY(!field->font().italic()); // a typed text stays upright
    field->setFocus();
    field->clear();
    bar.setFocus();
    QVERIFY(field->font().italic());
    QCOMPARE(field->font(), Theme::italicFont(Theme::FontSizeNormal));
}

void TestSearchWidget::layout_data()
{
    QTest::addColumn<QSize>("glass");
    QTest::addColumn<QSize>("button");
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<QRect>("glassRect");
    QTest::addColumn<QRect>("backward");
    QTest::addColumn<QRect>("forward");
    QTest::addColumn<QRect>("field");

    // Buttons flush right, x 178-193 and 194-209; the field ends 15 before them.
    QTest::newRow("16 by 20 roll images") << QSize(16, 16) << QSize(16, 20) << 15 << QRect(7, 5, 16, 16)
                                          << QRect(178, 3, 16, 20) << QRect(194, 3, 16, 20)
                                          << QRect(QPoint(24, 5), QPoint(163, 19));
    QTest::newRow("wider glass, square buttons") << QSize(20, 12) << QSize(12, 12) << 16 << QRect(7, 7, 20, 12)
                                                 << QRect(186, 7, 12, 12) << QRect(198, 7, 12, 12)
                                                 << QRect(QPoint(28, 5), QPoint(171, 20));
}

void TestSearchWidget::layout()
{
    QFETCH(QSize, glass);
    QFETCH(QSize, button);
    QFETCH(int, textHeight);
    const SearchWidget::Layout layout = SearchWidget::layoutFor(SearchWidget::s_fixedSize, glass, button, textHeight);
    QTEST(layout.glass, "glassRect");
    QTEST(layout.backward, "backward");
    QTEST(layout.forward, "forward");
    QTEST(layout.field, "field");
}

void TestSearchWidget::barIsLaidOutFromItsImages()
{
    SearchWidget bar;
    QCOMPARE(bar.size(), QSize(210, 26));
    QCOMPARE(bar.sizeHint(), QSize(210, 26));
    QCOMPARE(bar.forwardButton()->geometry(), QRect(194, 3, 16, 20));
    QCOMPARE(bar.backwardButton()->geometry(), QRect(178, 3, 16, 20));
    QCOMPARE(bar.forwardButton()->direction(), DirectionForward);
    QCOMPARE(bar.backwardButton()->direction(), DirectionBackward);
    QCOMPARE(bar.glassRect(), QRect(7, 5, 16, 16));
    QCOMPARE(bar.textField()->geometry().left(), 24);
    QCOMPARE(bar.textField()->geometry().right(), 163);
    QCOMPARE(bar.textField()->placeholderText(), QStringLiteral("CODE OR NAME"));
    QVERIFY(!bar.textField()->hasFrame());
}

void TestSearchWidget::paint()
{
    SearchWidget bar;
    QImage backdrop(800, 600, QImage::Format_ARGB32);
    backdrop.fill(QColor(90, 120, 150));
    bar.setBackgroundImage(backdrop.copy(12, 540, 210, 26));
    const QImage image = WidgetProbe::render(bar, Qt::white);
    const QRect glass = bar.glassRect();
    QCOMPARE(image.pixel(glass.center()), FixtureTheme::colourOf(Theme::KeyOfSearchWidgetMagnifyingGlassImage).rgb());
    QCOMPARE(image.pixel(201, 13), FixtureTheme::colourOf(Theme::KeyOfRollForwardNormalImage).rgb());
    QCOMPARE(image.pixel(185, 13), FixtureTheme::colourOf(Theme::KeyOfRollBackwardNormalImage).rgb());
    // The field shows the backdrop, and the frame closes 7 pixels after it,
    // with nothing drawn between frame and buttons.
    QCOMPARE(image.pixel(100, 13), qRgb(90, 120, 150));
    QVERIFY(qGray(image.pixel(169, 13)) < 100);
    QVERIFY(qGray(image.pixel(170, 13)) < 250);
    for (int x = 172; x < 178; ++x)
        QCOMPARE(image.pixel(x, 13), qRgb(255, 255, 255));

    bar.forwardButton()->setDown(true);
    QCOMPARE(WidgetProbe::render(bar, Qt::white).pixel(201, 13), FixtureTheme::colourOf(Theme::KeyOfRollForwardDownImage).rgb());
}

void TestSearchWidget::heldRollButtonKeepsRolling()
{
    SearchWidget bar;
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy spy(&bar, SIGNAL(roll(Direction)));
    QVERIFY(spy.isValid());
    RollButton *forward = bar.forwardButton();
    QVERIFY(forward->autoRepeat());
    forward->setAutoRepeatDelay(20);
    forward->setAutoRepeatInterval(20);
    QTest::mousePress(forward, Qt::LeftButton);
    QTRY_VERIFY(spy.count() >= 3);
    QTest::mouseRelease(forward, Qt::LeftButton);
    const int released = spy.count();
    QTest::qWait(100);
    QVERIFY(spy.count() <= released + 1);
    for (const QList<QVariant> &arguments : qAsConst(spy))
        QCOMPARE(arguments.at(0).value<Direction>(), DirectionForward);

    spy.clear();
    QTest::mouseClick(bar.backwardButton(), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).value<Direction>(), DirectionBackward);
}

// What the field shows once the text is typed key by key into an empty
// field: the text and the completion selected after it.
QString completed(SearchWidget &bar, const QString &typed)
{
    bar.textField()->clear();
    typeText(bar.textField(), typed);
    return bar.textField()->text() + QLatin1Char('|') + bar.textField()->selectedText();
}

void TestSearchWidget::completerFollowsTheCollection()
{
    // The completer comes once the field is used, with the focus or the
    // first key typed into it, and completes from the collection's names
    // and codes (the line edit takes a completion while it has the focus).
    SearchWidget bar;
    QSignalSpy started(&bar, SIGNAL(searchStarted(QUuid)));
    QTest::keyClick(bar.textField(), Qt::Key_A);
    QVERIFY(bar.textField()->completer());
    QCOMPARE(started.count(), 1);
    bar.selectedCollectionChanged(withNames);
    QCOMPARE(bar.textField()->completer(), nullptr);
    bar.show();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    bar.textField()->setFocus();
    QPointer<QCompleter> first = bar.textField()->completer();
    QVERIFY(first);
    QCOMPARE(first->completionMode(), QCompleter::InlineCompletion);
    QCOMPARE(first->caseSensitivity(), Qt::CaseInsensitive);
    QCOMPARE(started.count(), 2);
    QCOMPARE(started.at(1).at(0).toUuid(), withNames);
    QCOMPARE(completed(bar, QStringLiteral("cr")), QStringLiteral("CRÈME BRÛLÉE|ÈME BRÛLÉE"));
    QCOMPARE(completed(bar, QStringLiteral("a-02")), QStringLiteral("A-0201|01"));
    QCOMPARE(started.count(), 2);

    // A collection without names or codes offers nothing of the one before.
    Settings::setUuidOfLastUsedCollection(withoutNames);
    bar.selectedCollectionChanged(withoutNames);
    QCOMPARE(bar.textField()->completer(), nullptr);
    QVERIFY(first.isNull());
    QCOMPARE(completed(bar, QStringLiteral("a")), QStringLiteral("A|"));
    QCOMPARE(started.count(), 3);
    // Its missing placeholder text shows the key.
    QCOMPARE(bar.textField()->placeholderText(), QStringLiteral("color.palette.enter.search.text"));

    // Switching back and forth keeps one completer, not one per switch.
    Settings::setUuidOfLastUsedCollection(withNames);
    bar.selectedCollectionChanged(withNames);
    QTest::keyClick(bar.textField(), Qt::Key_A);
    QPointer<QCompleter> second = bar.textField()->completer();
    QVERIFY(second);
    bar.selectedCollectionChanged(withNames);
    QVERIFY(second.isNull());
    QTest::keyClick(bar.textField(), Qt::Key_A);
    QVERIFY(bar.textField()->completer());
    QCOMPARE(bar.textField()->findChildren<QCompleter *>().size(), 1);
}

// Offers the same list each time the field asks for its suggestions.
class SuggestionOffer : public QObject
{
    Q_OBJECT

public:
    SuggestionOffer(SearchWidget *bar, const QStringList &suggestions)
        : m_bar(bar)
        , m_suggestions(QSharedPointer<const SuggestionList>::create(suggestions))
    {
    }
    int asked = 0;

public slots:
    void offer(QUuid collection)
    {
        ++asked;
        m_bar->offerSuggestions(collection, m_suggestions);
    }

private:
    SearchWidget *m_bar;
    QSharedPointer<const SuggestionList> m_suggestions;
};

void TestSearchWidget::offeredSuggestionsSpareTheRead()
{
    const QStringList offered{QStringLiteral("A-0101"), QStringLiteral("Offered only")};
    const auto offeredList = QSharedPointer<const SuggestionList>::create(offered);

    SearchWidget bar;
    QSignalSpy wanted(&bar, SIGNAL(suggestionsWanted(QUuid)));
    // Nothing is awaited before the field is used, and an offer then is
    // not taken.
    QVERIFY(!bar.awaitsSuggestions(withNames));
    bar.offerSuggestions(withNames, offeredList);
    QCOMPARE(bar.textField()->completer(), nullptr);
    bar.show();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    bar.textField()->setFocus();

    // Used: the field completes each text from what starts with it, until
    // the whole list is offered for its collection.
    QCOMPARE(completed(bar, QStringLiteral("o")), QStringLiteral("O|"));
    QVERIFY(bar.awaitsSuggestions(withNames));
    QVERIFY(!bar.awaitsSuggestions(withoutNames));
    bar.offerSuggestions(withoutNames, QSharedPointer<const SuggestionList>::create(QStringList{QStringLiteral("Other")}));
    QVERIFY(bar.awaitsSuggestions(withNames));
    bar.offerSuggestions(withNames, offeredList);
    QVERIFY(!bar.awaitsSuggestions(withNames));
    QCOMPARE(completed(bar, QStringLiteral("o")), QStringLiteral("OFFERED ONLY|FFERED ONLY"));
    QCOMPARE(bar.suggestions()->collection(), withNames);
    QVERIFY(bar.suggestions()->hasWholeList());
    QCOMPARE(wanted.count(), 0);

    // A text that names differing only in case start with needs the whole
    // list at once: what a receiver offers then is taken instead of the
    // field's own read, once.
    SuggestionOffer receiver(&bar, {QStringLiteral("Offered only"), QStringLiteral("Vanilla pod")});
    QVERIFY(connect(&bar, SIGNAL(suggestionsWanted(QUuid)), &receiver, SLOT(offer(QUuid))));
    bar.selectedCollectionChanged(withNames);
    QCOMPARE(completed(bar, QStringLiteral("va")), QStringLiteral("VANILLA POD|NILLA POD"));
    QCOMPARE(receiver.asked, 1);
    QCOMPARE(wanted.count(), 1);
    QCOMPARE(wanted.at(0).at(0).toUuid(), withNames);
    QVERIFY(bar.suggestions()->hasWholeList());

    // Nothing offered: the field reads the whole list itself.
    QVERIFY(disconnect(&bar, SIGNAL(suggestionsWanted(QUuid)), &receiver, SLOT(offer(QUuid))));
    bar.selectedCollectionChanged(withNames);
    QCOMPARE(completed(bar, QStringLiteral("p")), QStringLiteral("PALE CORAL|ALE CORAL"));
    QVERIFY(!bar.suggestions()->hasWholeList());
    QCOMPARE(completed(bar, QStringLiteral("v")), QStringLiteral("VANILLA|ANILLA"));
    QVERIFY(bar.suggestions()->hasWholeList());
    QCOMPARE(bar.suggestions()->rowCount(), 2);
    QCOMPARE(wanted.count(), 2);
}

void TestSearchWidget::missingImagesGiveSmallPlaceholders()
{
    use(m_bare, withNames);
    SearchWidget bar;
    // Not the 100 by 30 of a fresh button: the bar keeps room for the field.
    QCOMPARE(bar.forwardButton()->size(), RollButton::s_imageRequestSize);
    QCOMPARE(bar.backwardButton()->size(), RollButton::s_imageRequestSize);
    QCOMPARE(bar.forwardButton()->normalImage().size(), RollButton::s_imageRequestSize);
    QCOMPARE(bar.glassRect().size(), SearchWidget::s_glassRequestSize);
    QCOMPARE(bar.textField()->geometry().right(), 163);
    QVERIFY(bar.textField()->width() > 100);
    // The placeholder's red outline shows where the image is missing.
    const QImage image = WidgetProbe::render(bar, Qt::white);
    QCOMPARE(image.pixel(195, 4), qRgb(255, 0, 0));
}

void TestSearchWidget::searchThroughTheField_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sent");
    QTest::addColumn<int>("pageIndex");
    QTest::addColumn<int>("rowIndex");

    QTest::newRow("card name, typed in lower case") << "crème brûlée" << "CRÈME BRÛLÉE" << 2 << -1;
    QTest::newRow("card name, suggestion accepted") << "crè" << "CRÈME BRÛLÉE" << 2 << -1;
    QTest::newRow("the first letter typed is completed") << "c" << "CORAL FAMILY" << 1 << -1;
    QTest::newRow("chip name, typed in lower case") << "île blanche" << "ÎLE BLANCHE" << 2 << 2;
    QTest::newRow("ascii chip name") << "pale coral" << "PALE CORAL" << 1 << 1;
    QTest::newRow("ascii card name") << "coral family" << "CORAL FAMILY" << 1 << -1;
    QTest::newRow("code") << "a-0102" << "A-0102" << 1 << 2;
}

void TestSearchWidget::searchThroughTheField()
{
    QFETCH(QString, typed);
    QFETCH(int, pageIndex);
    QFETCH(int, rowIndex);
    SearchWidget bar;
    bar.show();
    QVERIFY(QTest::qWaitForWindowActive(&bar));
    bar.textField()->setFocus();
    QSignalSpy spy(&bar, SIGNAL(searchForPhrase(QString)));
    typeText(bar.textField(), typed);
    QTest::keyClick(bar.textField(), Qt::Key_Return);
    QCOMPARE(spy.count(), 1);
    const QString phrase = spy.at(0).at(0).toString();
    QTEST(phrase, "sent");

    int page = 0, row = 0, segment = 0;
    Mood mood = MoodNone;
    bool exterior = false;
    const int status = DBManager::SearchForPhrase(withNames, phrase, page, row, segment, mood, exterior);
    // The field sends capitals, accented letters too: the look-up must fold
    // them back to the small letters the names are written in.
    QCOMPARE(status, 0);
    QCOMPARE(page, pageIndex);
    QCOMPARE(row, rowIndex);
}

QTEST_MAIN(TestSearchWidget)
#include "tst_searchwidget.moc"
