// The Dizeviz link past the file's bytes: which chips a measurement offers,
// the dialog that offers them, and the chooser's button that reads the file
// and reports the chip the user takes.

#include "DemoCollection.h"
#include "FixtureFolder.h"
#include "FixtureTheme.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "plugin/CollectionSelectWidget.h"
#include "plugin/DizevizLookup.h"
#include "plugin/DizevizSelectDialog.h"
#include "plugin/ImageButton.h"
#include "plugin/TaskButton.h"
#include "services/CollectionSettings.h"
#include "services/Global.h"
#include "services/Settings.h"

#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace Velmar;

namespace {

const QUuid deckA(QStringLiteral("{d1e2e1a0-0000-4000-8000-00000000000a}"));
const QUuid deckB(QStringLiteral("{d1e2e1b0-0000-4000-8000-00000000000b}"));
const QUuid deckC(QStringLiteral("{d1e2e1c0-0000-4000-8000-00000000000c}"));

QByteArray cxf(const QStringList &names)
{
    QByteArray objects;
    for (const QString &name : names)
        objects += "<cc:Object ObjectType=\"Target\" Name=\"" + name.toHtmlEscaped().toUtf8() + "\"/>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><cc:CxF xmlns:cc=\"http://colorexchangeformat.com/CxF3-core\">"
           "<cc:Resources><cc:ObjectCollection>"
        + objects + "</cc:ObjectCollection></cc:Resources></cc:CxF>";
}

QStringList codesOf(const QVector<DB::ColorEntry> &entries)
{
    QStringList codes;
    for (const DB::ColorEntry &entry : entries)
        codes << entry.code;
    return codes;
}

// The whole text of each item; the box may show it shortened.
QStringList itemsOf(const DizevizSelectDialog &dialog)
{
    QStringList items;
    for (int i = 0; i < dialog.comboBox()->count(); ++i)
        items << dialog.comboBox()->itemData(i, Qt::ToolTipRole).toString();
    return items;
}

// What the chooser showed when its Dizeviz button was pressed.
struct Shown {
    bool dialog = false;
    Qt::WindowModality modality = Qt::NonModal;
    QStringList items;
};

// Presses the Dizeviz button; a dialog it shows is handed to the action,
// which must close it.
Shown pressDizevizButton(CollectionSelectWidget &chooser, const std::function<void(DizevizSelectDialog &)> &action)
{
    Shown shown;
    QTimer::singleShot(0, &chooser, [&] {
        auto *dialog = chooser.findChild<DizevizSelectDialog *>();
        if (!dialog)
            return;
        shown.dialog = true;
        shown.modality = dialog->windowModality();
        shown.items = itemsOf(*dialog);
        action(*dialog);
    });
    chooser.dizevizButton()->click();
    // A timer that no dialog took fires here.
    QCoreApplication::processEvents();
    return shown;
}

} // namespace

class TestDizeviz : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void offer_data();
    void offer();
    void chipCollectionIsResolvedInTheSearchedFile();
    void watchedFilePath();
    void dialogWithOneCollection();
    void dialogWithTwoCollections();
    void dialogSelectsTheEntryItsItemWasBuiltFrom();
    void dialogWithoutEntries();
    void dialogLayout_data();
    void dialogLayout();
    void dialogPaintsGreyPanelAndSwatch();
    void acceptReportsTheNamedCollection();
    void rejectChangesNothing();
    void nothingOffered_data();
    void nothingOffered();
    void demoSampleIsOffered();

private:
    CollectionSelectWidget *shownChooser(QWidget &window, const QByteArray &contents);

    FixtureFolder m_folder;
    QTemporaryDir m_deviceFolder;
    qint64 m_idA = -1;
    qint64 m_idB = -1;
};

void TestDizeviz::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("decks.db"));
    QVERIFY(FixtureTheme::write(*writer));
    m_idA = writer->addCollection(deckA, QStringLiteral("A"), QStringLiteral("Dimora Interiors"), 1, true);
    m_idB = writer->addCollection(deckB, QStringLiteral("B"), QStringLiteral("Atelier Cards"), 2, true);
    const qint64 idC = writer->addCollection(deckC, QStringLiteral("C"), QStringLiteral("Harbour Blues"), 3, true);

    const auto chip = [&](qint64 collection, qint64 card, int row, const QString &code, const QStringList &names,
                          const QColor &colour) {
        CollectionWriter::Chip values;
        values.rowIndex = row;
        values.code = code;
        values.names = names;
        values.red = colour.red();
        values.green = colour.green();
        values.blue = colour.blue();
        values.L = 80;
        writer->addChip(collection, card, values);
    };
    CollectionWriter::Card card;
    card.name = QStringLiteral("Greys");
    const qint64 cardA = writer->addCard(m_idA, card);
    chip(m_idA, cardA, 1, QStringLiteral("DA-01"), {QStringLiteral("Sea Mist"), QStringLiteral("Brume marine")}, QColor(190, 210, 215));
    chip(m_idA, cardA, 2, QStringLiteral("DA-02"), {QStringLiteral("Crème brûlée"), QStringLiteral("Crème brûlée")}, QColor(240, 225, 190));
    const qint64 cardB = writer->addCard(m_idB, card);
    chip(m_idB, cardB, 1, QStringLiteral("DB-01"), {QStringLiteral("Sea Mist")}, QColor(180, 200, 210));
    const qint64 cardC = writer->addCard(idC, card);
    chip(idC, cardC, 1, QStringLiteral("DC-01"), {QStringLiteral("Sea Mist")}, QColor(170, 190, 200));

    // B is searched before A; C has a priority but is not linked.
    writer->addSetting(m_idA, QStringLiteral("dizeviz.enabled"), QStringLiteral("1"));
    writer->addSetting(m_idA, QStringLiteral("dizeviz.priority"), QStringLiteral("2"));
    writer->addSetting(m_idA, QStringLiteral("dizeviz.folder.to.watch.macos"), QStringLiteral("/srv/device out"));
    writer->addSetting(m_idA, QStringLiteral("dizeviz.filename.to.watch"), QStringLiteral("measure.cxf"));
    writer->addSetting(m_idB, QStringLiteral("dizeviz.enabled"), QStringLiteral("1"));
    // A second priority row must not offer B's chips twice.
    writer->addSettings(m_idB, QStringLiteral("dizeviz.priority"), {QStringLiteral("1"), QStringLiteral("3")});
    writer->addSetting(idC, QStringLiteral("dizeviz.enabled"), QStringLiteral("0"));
    writer->addSetting(idC, QStringLiteral("dizeviz.priority"), QStringLiteral("0"));
    writer->addSetting(idC, QStringLiteral("dizeviz.folder.to.watch.macos"), QStringLiteral("/srv/harbour"));
    writer->addSetting(idC, QStringLiteral("dizeviz.filename.to.watch"), QStringLiteral("measure.cxf"));
    writer->addSettings(m_idA, QStringLiteral("row.name.search.order"), {QStringLiteral("0"), QStringLiteral("1")});
    writer->addText(m_idA, QStringLiteral("dizeviz.dialog.caption"), QStringLiteral("Measured colours"));
    writer->addText(m_idA, QStringLiteral("dizeviz.dialog.todo"), QStringLiteral("Choose one of the measured colours"));
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();

    // Collection ids count within their file: each of these files has a
    // collection with A's id, and none of them was searched.
    for (int i = 1; i <= 4; ++i) {
        auto other = m_folder.createFile(QStringLiteral("other-%1.db").arg(i), false);
        const QUuid uuid(QStringLiteral("{d1e2e1f0-0000-4000-8000-00000000000%1}").arg(i));
        QCOMPARE(other->addCollection(uuid, QStringLiteral("O%1").arg(i), QStringLiteral("Other %1").arg(i), 10 + i, true),
                 m_idA);
        QVERIFY2(other->isOk(), qPrintable(other->lastError()));
    }

    QCOMPARE(Global::InitializePrerequisites(QString(), m_folder.lookupFolder()), 0);
}

void TestDizeviz::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("connect")));
    Settings::setUuidOfLastUsedCollection(deckA);
    DBManager::selectedCollectionChanged(deckA);
    CollectionSettings::selectedCollectionChanged(deckA);
}

void TestDizeviz::offer_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("codes");

    // By priority: B first; C is not linked.
    QTest::newRow("one name in three collections") << QStringList{"Sea Mist"} << QStringList{"DB-01", "DA-01"};
    QTest::newRow("each collection in the order found")
        << QStringList{"DA-02", "Sea Mist"} << QStringList{"DB-01", "DA-02", "DA-01"};
    QTest::newRow("a chip named twice is offered once")
        << QStringList{"Sea Mist", "DA-01", "sea mist", "Brume marine"} << QStringList{"DB-01", "DA-01"};
    QTest::newRow("non-ASCII name") << QStringList{"Crème brûlée"} << QStringList{"DA-02"};
    QTest::newRow("only in a collection that is not linked") << QStringList{"DC-01"} << QStringList();
    QTest::newRow("no chip of that name") << QStringList{"Board 8"} << QStringList();
    QTest::newRow("no names") << QStringList() << QStringList();
}

void TestDizeviz::offer()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, codes);
    QCOMPARE(codesOf(DizevizLookup::offerFor(names)), codes);
}

void TestDizeviz::chipCollectionIsResolvedInTheSearchedFile()
{
    const QVector<DB::ColorEntry> offer = DizevizLookup::offerFor({QStringLiteral("Sea Mist")});
    QCOMPARE(offer.size(), 2);
    QCOMPARE(offer.at(1).collectionId, m_idA);
    QCOMPARE(DizevizLookup::collectionUuidOf(offer.at(0)), deckB);
    QCOMPARE(DizevizLookup::collectionUuidOf(offer.at(1)), deckA);
    QCOMPARE(DizevizLookup::collectionNameOf(offer.at(1)), QStringLiteral("Dimora Interiors"));

    DB::ColorEntry unknown = offer.at(1);
    unknown.collectionId = 99;
    QVERIFY(DizevizLookup::collectionUuidOf(unknown).isNull());
    QCOMPARE(DizevizLookup::collectionNameOf(unknown), QString());
}

void TestDizeviz::watchedFilePath()
{
    // A folder path used as it stands, spaces and all.
    QCOMPARE(DizevizLookup::watchedFilePath(deckA), QStringLiteral("/srv/device out/measure.cxf"));
    // Linked but with no folder or file named; not linked.
    QCOMPARE(DizevizLookup::watchedFilePath(deckB), QString());
    QCOMPARE(DizevizLookup::watchedFilePath(deckC), QString());
}

void TestDizeviz::dialogWithOneCollection()
{
    DizevizSelectDialog dialog(DizevizLookup::offerFor({QStringLiteral("DA-01"), QStringLiteral("DA-02")}));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Measured colours"));
    QCOMPARE(dialog.captionLabel()->text(), QStringLiteral("Choose one of the measured colours"));
    QCOMPARE(dialog.size(), QSize(320, 200));
    QVERIFY(!dialog.offersSeveralCollections());
    QCOMPARE(itemsOf(dialog), (QStringList{"DA-01", "DA-02"}));
    QVERIFY(!dialog.comboBox()->isEditable());
    QVERIFY(dialog.okButton()->isEnabled());
    QVERIFY(dialog.okButton()->isDefault());
    QCOMPARE(dialog.okButton()->text(), QStringLiteral("OK"));
    QCOMPARE(dialog.selectedEntry().code, QStringLiteral("DA-01"));
    QCOMPARE(dialog.swatch()->styleSheet(), QStringLiteral("background-color: rgba(190, 210, 215, 255);"));

    dialog.comboBox()->setCurrentIndex(1);
    QCOMPARE(dialog.selectedEntry().code, QStringLiteral("DA-02"));
    QCOMPARE(dialog.swatch()->styleSheet(), QStringLiteral("background-color: rgba(240, 225, 190, 255);"));

    QSignalSpy accepted(&dialog, SIGNAL(accepted()));
    dialog.okButton()->click();
    QCOMPARE(accepted.size(), 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestDizeviz::dialogWithTwoCollections()
{
    DizevizSelectDialog dialog(DizevizLookup::offerFor({QStringLiteral("Sea Mist"), QStringLiteral("DA-02")}));
    QVERIFY(dialog.offersSeveralCollections());
    QCOMPARE(itemsOf(dialog),
             (QStringList{"DB-01 (Atelier Cards)", "DA-01 (Dimora Interiors)", "DA-02 (Dimora Interiors)"}));
    dialog.comboBox()->setCurrentIndex(1);
    QCOMPARE(dialog.selectedEntry().code, QStringLiteral("DA-01"));
    QCOMPARE(DizevizLookup::collectionUuidOf(dialog.selectedEntry()), deckA);

    // In the box a name too long for it is shortened; the code stays whole.
    QCOMPARE(dialog.comboBox()->itemText(0), QStringLiteral("DB-01 (Atelier Cards)"));
    const QString shown = dialog.comboBox()->itemText(1);
    QVERIFY2(shown.startsWith(QStringLiteral("DA-01 (Dimora")) && shown.endsWith(QStringLiteral("\u2026)")),
             qPrintable(shown));
    QVERIFY(QFontMetrics(dialog.comboBox()->font()).horizontalAdvance(shown) < dialog.comboBox()->width() - 20);
}

// A chip offered under two collections has one item, named after the first;
// choosing it must switch to that same collection.
void TestDizeviz::dialogSelectsTheEntryItsItemWasBuiltFrom()
{
    const DB::ColorEntry inB = DizevizLookup::offerFor({QStringLiteral("DB-01")}).value(0);
    QCOMPARE(inB.code, QStringLiteral("DB-01"));
    DB::ColorEntry inA = inB;
    inA.collectionId = m_idA;

    DizevizSelectDialog first({inB, inA});
    QCOMPARE(itemsOf(first), QStringList{"DB-01 (Atelier Cards)"});
    QCOMPARE(DizevizLookup::collectionUuidOf(first.selectedEntry()), deckB);

    DizevizSelectDialog second({inA, inB});
    QCOMPARE(itemsOf(second), QStringList{"DB-01 (Dimora Interiors)"});
    QCOMPARE(DizevizLookup::collectionUuidOf(second.selectedEntry()), deckA);
}

void TestDizeviz::dialogWithoutEntries()
{
    DizevizSelectDialog dialog({});
    QCOMPARE(dialog.comboBox()->count(), 0);
    QVERIFY(!dialog.okButton()->isEnabled());
    QCOMPARE(dialog.selectedEntry().id, qint64(-1));
    QCOMPARE(dialog.swatch()->styleSheet(), QStringLiteral("background-color: rgba(0, 0, 0, 0);"));
}

void TestDizeviz::dialogLayout_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("fontHeight");
    QTest::addColumn<int>("comboHeight");
    QTest::addColumn<QRect>("combo");
    QTest::addColumn<QRect>("ok");
    QTest::addColumn<QRect>("swatch");
    QTest::addColumn<QRect>("caption");

    QTest::newRow("320 by 200") << QSize(320, 200) << 15 << 26 << QRect(48, 20, 224, 28) << QRect(120, 143, 80, 22)
                                << QRect(48, 59, 224, 73) << QRect(-1, 177, 322, 24);
    QTest::newRow("larger font") << QSize(320, 200) << 19 << 30 << QRect(48, 20, 224, 32) << QRect(120, 139, 80, 22)
                                 << QRect(48, 63, 224, 65) << QRect(-1, 173, 322, 28);
}

void TestDizeviz::dialogLayout()
{
    QFETCH(QSize, size);
    QFETCH(int, fontHeight);
    QFETCH(int, comboHeight);
    QFETCH(QRect, combo);
    QFETCH(QRect, ok);
    QFETCH(QRect, swatch);
    QFETCH(QRect, caption);

    const auto layout = DizevizSelectDialog::layoutFor(size, fontHeight, comboHeight);
    QCOMPARE(layout.background, QRect(QPoint(0, 0), size));
    QCOMPARE(layout.comboBox, combo);
    QCOMPARE(layout.okButton, ok);
    QCOMPARE(layout.swatch, swatch);
    QCOMPARE(layout.captionLabel, caption);
}

void TestDizeviz::dialogPaintsGreyPanelAndSwatch()
{
    DizevizSelectDialog dialog(DizevizLookup::offerFor({QStringLiteral("DA-02")}));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto layout =
        DizevizSelectDialog::layoutFor(dialog.size(), dialog.fontMetrics().height(), dialog.comboBox()->sizeHint().height());
    QCOMPARE(dialog.comboBox()->geometry(), layout.comboBox);
    QCOMPARE(dialog.swatch()->geometry(), layout.swatch);
    QCOMPARE(dialog.okButton()->geometry(), layout.okButton);
    QCOMPARE(dialog.captionLabel()->geometry(), layout.captionLabel);

    const QImage image = dialog.grab().toImage();
    QCOMPARE(image.pixel(4, 4), qRgb(123, 123, 123));
    QCOMPARE(image.pixel(layout.swatch.center()), qRgb(240, 225, 190));
    // Each child lies over the grey panel.
    QVERIFY(image.pixel(layout.okButton.center()) != qRgb(123, 123, 123));
}

CollectionSelectWidget *TestDizeviz::shownChooser(QWidget &window, const QByteArray &contents)
{
    const QString path = m_deviceFolder.filePath(QStringLiteral("measure.cxf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return nullptr;
    file.write(contents);
    file.close();
    auto *chooser = new CollectionSelectWidget(&window);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return nullptr;
    chooser->dizevizFileChanged(path);
    return chooser;
}

void TestDizeviz::acceptReportsTheNamedCollection()
{
    QWidget window;
    CollectionSelectWidget *chooser = shownChooser(window, cxf({QStringLiteral("Sea Mist")}));
    QVERIFY(chooser);
    QVERIFY(chooser->dizevizButton()->isPulsating());
    QSignalSpy chosen(chooser, SIGNAL(dizevizItemSelectedInteractively(QUuid, DB::ColorEntry)));

    const Shown shown = pressDizevizButton(*chooser, [](DizevizSelectDialog &dialog) {
        dialog.comboBox()->setCurrentIndex(1);
        dialog.okButton()->click();
    });
    QVERIFY(shown.dialog);
    QCOMPARE(shown.modality, Qt::WindowModal);
    QCOMPARE(shown.items, (QStringList{"DB-01 (Atelier Cards)", "DA-01 (Dimora Interiors)"}));
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).value<QUuid>(), deckA);
    QCOMPARE(chosen.at(0).at(1).value<DB::ColorEntry>().code, QStringLiteral("DA-01"));
    QVERIFY(!chooser->dizevizButton()->isPulsating());
    QVERIFY(chooser->findChild<DizevizSelectDialog *>() == nullptr);
}

void TestDizeviz::rejectChangesNothing()
{
    QWidget window;
    const QByteArray contents = cxf({QStringLiteral("Sea Mist")});
    CollectionSelectWidget *chooser = shownChooser(window, contents);
    QVERIFY(chooser);
    QSignalSpy chosen(chooser, SIGNAL(dizevizItemSelectedInteractively(QUuid, DB::ColorEntry)));
    QSignalSpy switched(chooser, SIGNAL(collectionSelectedInteractively(QUuid)));

    const Shown shown = pressDizevizButton(*chooser, [](DizevizSelectDialog &dialog) {
        dialog.comboBox()->setCurrentIndex(1);
        dialog.reject();
    });
    QVERIFY(shown.dialog);
    QCOMPARE(chosen.size(), 0);
    QCOMPARE(switched.size(), 0);
    QCOMPARE(Settings::uuidOfLastUsedCollection(), deckA);
    QVERIFY(!chooser->dizevizButton()->isPulsating());
    QFile file(chooser->dizevizFilePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), contents);
}

void TestDizeviz::nothingOffered_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("removeFirst");

    QTest::newRow("no chip of that name") << cxf({QStringLiteral("Board 8")}) << false;
    QTest::newRow("only in a collection that is not linked") << cxf({QStringLiteral("DC-01")}) << false;
    QTest::newRow("not well-formed") << QByteArray("<cc:CxF xmlns:cc=\"http://colorexchangeformat.com/CxF3-core\">") << false;
    QTest::newRow("no objects of the core namespace")
        << QByteArray("<CxF><Object Name=\"Sea Mist\"/></CxF>") << false;
    QTest::newRow("file gone since it was found") << cxf({QStringLiteral("Sea Mist")}) << true;
}

void TestDizeviz::nothingOffered()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, removeFirst);

    QWidget window;
    CollectionSelectWidget *chooser = shownChooser(window, contents);
    QVERIFY(chooser);
    QVERIFY(!chooser->dizevizButton()->isHidden());
    if (removeFirst)
        QVERIFY(QFile::remove(chooser->dizevizFilePath()));
    QSignalSpy chosen(chooser, SIGNAL(dizevizItemSelectedInteractively(QUuid, DB::ColorEntry)));

    const Shown shown = pressDizevizButton(*chooser, [](DizevizSelectDialog &dialog) { dialog.reject(); });
    QVERIFY(!shown.dialog);
    QCOMPARE(chosen.size(), 0);
    QVERIFY(!chooser->dizevizButton()->isPulsating());
    // Read, never written: a vanished file is not made again.
    QCOMPARE(QFile::exists(chooser->dizevizFilePath()), !removeFirst);
}

// The shipped sample file, copied to where the demo's interior deck looks.
void TestDizeviz::demoSampleIsOffered()
{
    QTemporaryDir demo;
    QVERIFY(DemoCollection::write(demo.path()));
    DBManager::s_installed_collections.clear();
    QCOMPARE(Global::InitializePrerequisites(QString(), demo.path()), 0);
    const QUuid interior = DemoCollection::InteriorDeckUuid;
    Settings::setUuidOfLastUsedCollection(interior);
    DBManager::selectedCollectionChanged(interior);
    CollectionSettings::selectedCollectionChanged(interior);

    // On Linux the folder setting is a plain path, used as given.
    QCOMPARE(DizevizLookup::watchedFilePath(interior), QStringLiteral("/tmp/hueform-dizeviz/measurement.cxf"));
    QCOMPARE(DizevizLookup::watchedFilePath(DemoCollection::CardDeckUuid), QString());

    QFile sample(QStringLiteral(HUEFORM_SAMPLE_CXF));
    QVERIFY(sample.open(QIODevice::ReadOnly));
    QWidget window;
    CollectionSelectWidget *chooser = shownChooser(window, sample.readAll());
    QVERIFY(chooser);
    QVERIFY(chooser->dizevizButton()->isPulsating());
    QSignalSpy chosen(chooser, SIGNAL(dizevizItemSelectedInteractively(QUuid, DB::ColorEntry)));

    const Shown shown = pressDizevizButton(*chooser, [](DizevizSelectDialog &dialog) { dialog.okButton()->click(); });
    QCOMPARE(shown.items, (QStringList{"DI-0304", "DI-0202", "DI-0501", "DI-1205", "DI-L'AUBE"}));
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(chosen.at(0).at(0).value<QUuid>(), interior);
    QCOMPARE(chosen.at(0).at(1).value<DB::ColorEntry>().code, QStringLiteral("DI-0304"));
}

QTEST_MAIN(TestDizeviz)
#include "tst_dizeviz.moc"
