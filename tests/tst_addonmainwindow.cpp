// The picker dialog on the demo collection: its two task buttons and their
// states, the colour it accepts with, the nearest-colour pick after the first
// show, and the swatch file with its dialog and alert.

#include "DemoCollection.h"
#include "FileSizeLimit.h"
#include "FixtureFolder.h"
#include "PaintCounter.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "database/ItemIndex.h"
#include "plugin/AddOnMainWindow.h"
#include "plugin/ImageButton.h"
#include "plugin/MainWidget.h"
#include "plugin/MyPaletteWidget.h"
#include "plugin/SwatchFile.h"
#include "plugin/TaskButton.h"
#include "services/CollectionSettings.h"
#include "services/Global.h"
#include "services/Settings.h"

#include <QDeadlineTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace Velmar;

namespace {

const QUuid Interior = DemoCollection::InteriorDeckUuid;

DB::ColorEntry chip(int page, int row)
{
    DB::ColorEntry entry;
    if (DBManager::GetColorEntryByPageAndRowIndex(Interior, page, row, entry) != 0)
        qFatal("the demo collection has no chip %d/%d", page, row);
    return entry;
}

QColor colourOf(const DB::ColorEntry &entry)
{
    return QColor(entry.red, entry.green, entry.blue);
}

// Puts a chip into a cell as a drop would; a null entry empties the cell.
void storeCell(const QPoint &cell, const DB::ColorEntry *entry)
{
    DB::ItemIndex index;
    if (entry) {
        index.collection = Interior;
        index.pageId = entry->pageId;
        index.entryId = entry->id;
    }
    Settings::setMyPaletteEntry(cell, index);
}

// Every cell, the selection and the note, in one go.
void clearPalette()
{
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tavo Rindel"),
                    Settings::hostApplicationKey());
    store.remove(QStringLiteral("MyPalette"));
}

// Counts the times the swatch alert shows.
class AlertWatch : public QObject
{
public:
    explicit AlertWatch(int &shows)
        : m_shows(shows)
    {
        qApp->installEventFilter(this);
    }
    ~AlertWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QMessageBox *>(watched))
            ++m_shows;
        return QObject::eventFilter(watched, event);
    }

private:
    int &m_shows;
};

} // namespace

class tst_AddOnMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void buildsTheTaskRow();
    void collectionChangeRelabels();
    void buttonStates_data();
    void buttonStates();
    void buttonsFollowThePalette();
    void selectColor_data();
    void selectColor();
    void nearestPickAfterTheFirstShow_data();
    void nearestPickAfterTheFirstShow();
    void settlesAfterTheFirstFrame();
    void proposedSwatchFileName_data();
    void proposedSwatchFileName();
    void swatchDialogOffersTheNote();
    void swatchFileHoldsEachColourOnce();
    void swatchRoundsThatWriteNothing_data();
    void swatchRoundsThatWriteNothing();
    void cancelTwiceThenAcceptWritesOnce();
    void failedWriteKeepsTheFileAndSaysNothing();

private:
    std::unique_ptr<AddOnMainWindow> makeDialog(const QColor &colour = QColor(Qt::transparent));
    MyPaletteWidget *palette() const { return m_dialog->mainWidget()->myPalette(); }
    TaskButton *selectButton() const { return m_dialog->mainWidget()->taskButton(m_dialog->selectButtonId()); }
    TaskButton *swatchButton() const { return m_dialog->mainWidget()->taskButton(m_dialog->swatchButtonId()); }
    // Opens the swatch file dialog through its button, as the user does.
    QFileDialog *openSwatchDialog();
    bool slotStillConnected() const;
    int alertShows() const { return m_alertShows; }

    FixtureFolder m_folder;
    QTemporaryDir m_dizevizFolder;
    std::unique_ptr<QTemporaryDir> m_swatches;
    std::unique_ptr<AddOnMainWindow> m_dialog;
    int m_alertShows = 0;
    std::unique_ptr<QObject> m_alertWatch;
};

void tst_AddOnMainWindow::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_folder.isValid());
    QString error;
    // The demo decks watch a folder of the machine's, where the README's
    // Dizeviz steps leave a measurement that lights the Dizeviz button, which
    // then pulses; the picker under test watches an empty folder instead.
    QVERIFY(m_dizevizFolder.isValid());
    QVERIFY2(DemoCollection::write(m_folder.lookupFolder(), &error, m_dizevizFolder.path()), qPrintable(error));
    QCOMPARE(Global::InitializePrerequisites(QString(), m_folder.lookupFolder()), 0);
}

void tst_AddOnMainWindow::init()
{
    clearPalette();
    Settings::setUuidOfLastUsedCollection(Interior);
    DBManager::selectedCollectionChanged(Interior);
    CollectionSettings::selectedCollectionChanged(Interior);
    Settings::setPageIndex(Interior, 1);
    Settings::setRowIndex(Interior, 1);
    m_swatches = std::make_unique<QTemporaryDir>();
    QVERIFY(m_swatches->isValid());
    m_alertShows = 0;
    m_alertWatch = std::make_unique<AlertWatch>(m_alertShows);
}

void tst_AddOnMainWindow::cleanup()
{
    m_dialog.reset();
    m_alertWatch.reset();
    QCOMPARE(Global::g_mainWidget, nullptr);
}

std::unique_ptr<AddOnMainWindow> tst_AddOnMainWindow::makeDialog(const QColor &colour)
{
    return std::make_unique<AddOnMainWindow>(colour, m_swatches->path(), nullptr);
}

QFileDialog *tst_AddOnMainWindow::openSwatchDialog()
{
    swatchButton()->click();
    return m_dialog->swatchFileDialog();
}

bool tst_AddOnMainWindow::slotStillConnected() const
{
    // Disconnecting tells whether there was a connection; there is none after.
    return QObject::disconnect(m_dialog->swatchFileDialog(), SIGNAL(finished(int)), m_dialog.get(),
                               SLOT(onSwatchDialogFinished(int)));
}

void tst_AddOnMainWindow::buildsTheTaskRow()
{
    m_dialog = makeDialog();
    QCOMPARE(m_dialog->size(), QSize(800, 600));
    QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
    QCOMPARE(m_dialog->windowModality(), Qt::ApplicationModal);
    QCOMPARE(m_dialog->mainWidget()->parentWidget(), m_dialog.get());
    QCOMPARE(Global::g_mainWidget, m_dialog->mainWidget());
    QCOMPARE(Global::g_hostWindowWidget, m_dialog.get());
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Dimora Interiors"));

    // Save, load, select colour, create swatch, help.
    QCOMPARE(int(m_dialog->selectButtonId()), 1000);
    QCOMPARE(int(m_dialog->swatchButtonId()), 1001);
    QCOMPARE(m_dialog->mainWidget()->taskButtonOrder(), (QList<unsigned short>{1, 2, 1000, 1001, 3}));
    QCOMPARE(selectButton()->text(), QStringLiteral("Select colour"));
    QCOMPARE(swatchButton()->text(), QStringLiteral("Swatch file"));
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    QVERIFY(selectButton()->isVisible() && swatchButton()->isVisible());
    // One row, left to right in that order, inside the dialog.
    const QList<unsigned short> order = m_dialog->mainWidget()->taskButtonOrder();
    for (int i = 1; i < order.size(); ++i) {
        const QRect left = m_dialog->mainWidget()->taskButton(order.at(i - 1))->geometry();
        const QRect right = m_dialog->mainWidget()->taskButton(order.at(i))->geometry();
        QVERIFY2(left.right() < right.left(), qPrintable(QString::number(i)));
        QCOMPARE(left.center().y(), right.center().y());
    }
    QVERIFY(m_dialog->rect().contains(m_dialog->mainWidget()->taskButton(3)->geometry()));
}

void tst_AddOnMainWindow::collectionChangeRelabels()
{
    m_dialog = makeDialog();
    m_dialog->setWindowTitle(QStringLiteral("The host's prompt"));
    // As the chooser reports a choice.
    QVERIFY(QMetaObject::invokeMethod(m_dialog->mainWidget(), "collectionChangedInteractively",
                                      Q_ARG(QUuid, DemoCollection::CardDeckUuid)));
    QCOMPARE(m_dialog->windowTitle(), QStringLiteral("Atelier Cards"));
    QCOMPARE(selectButton()->text(), QStringLiteral("Select colour"));
    QCOMPARE(swatchButton()->text(), QStringLiteral("Swatch file"));
}

void tst_AddOnMainWindow::buttonStates_data()
{
    QTest::addColumn<QList<QPoint>>("filled");
    QTest::addColumn<QList<QPoint>>("selected");
    QTest::addColumn<bool>("selectOn");
    QTest::addColumn<bool>("swatchOn");
    const QPoint a(0, 0);
    const QPoint b(3, 2);
    const QPoint empty(5, 3);
    QTest::newRow("empty palette") << QList<QPoint>{} << QList<QPoint>{} << false << false;
    QTest::newRow("empty palette, a cell selected") << QList<QPoint>{} << QList<QPoint>{empty} << false << false;
    QTest::newRow("filled, nothing selected") << QList<QPoint>{a, b} << QList<QPoint>{} << false << true;
    QTest::newRow("one filled cell selected") << QList<QPoint>{a, b} << QList<QPoint>{b} << true << true;
    QTest::newRow("one empty cell selected") << QList<QPoint>{a, b} << QList<QPoint>{empty} << false << true;
    QTest::newRow("two filled cells selected") << QList<QPoint>{a, b} << QList<QPoint>{a, b} << false << true;
    QTest::newRow("a filled and an empty cell selected") << QList<QPoint>{a} << QList<QPoint>{a, empty} << false << true;
}

void tst_AddOnMainWindow::buttonStates()
{
    QFETCH(QList<QPoint>, filled);
    QFETCH(QList<QPoint>, selected);
    QFETCH(bool, selectOn);
    QFETCH(bool, swatchOn);
    const DB::ColorEntry entry = chip(2, 3);
    for (const QPoint &cell : filled)
        storeCell(cell, &entry);
    for (const QPoint &cell : selected)
        Settings::setMyPaletteEntryState(cell, true);

    m_dialog = makeDialog();
    QCOMPARE(int(palette()->myPaletteSelectedCount()), int(selected.size()));
    QCOMPARE(selectButton()->isEnabled(), selectOn);
    QCOMPARE(swatchButton()->isEnabled(), swatchOn);
}

void tst_AddOnMainWindow::buttonsFollowThePalette()
{
    const DB::ColorEntry first = chip(3, 2);
    const DB::ColorEntry second = chip(4, 5);
    storeCell(QPoint(0, 0), &first);
    storeCell(QPoint(1, 0), &second);
    m_dialog = makeDialog();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    QVERIFY(!selectButton()->isEnabled());
    QVERIFY(swatchButton()->isEnabled());

    auto centre = [this](int column, int row) { return palette()->cellAt(QPoint(column, row)).rect().center(); };
    // Through the palette's own signals, which the dialog listens to.
    QTest::mouseClick(palette(), Qt::LeftButton, Qt::NoModifier, centre(0, 0));
    QVERIFY(selectButton()->isEnabled());
    QTest::mouseClick(palette(), Qt::LeftButton, Qt::ControlModifier, centre(1, 0));
    QVERIFY(!selectButton()->isEnabled());
    QTest::mouseClick(palette(), Qt::LeftButton, Qt::NoModifier, centre(1, 0));
    QVERIFY(selectButton()->isEnabled());
    QTest::mouseClick(palette(), Qt::LeftButton, Qt::NoModifier, centre(4, 2));
    QVERIFY(!selectButton()->isEnabled());

    // Emptying the palette through its trash button and the question it asks.
    palette()->trashButton()->click();
    QMessageBox *question = palette()->clearQuestion();
    QVERIFY(question && question->isVisible());
    question->button(QMessageBox::Yes)->click();
    QVERIFY(palette()->myPaletteIsEmpty());
    QVERIFY(!swatchButton()->isEnabled());
}

void tst_AddOnMainWindow::selectColor_data()
{
    QTest::addColumn<QColor>("hostColour");
    QTest::addColumn<bool>("oneSelected");
    QTest::addColumn<int>("result");
    QTest::addColumn<QColor>("resultColour");
    const QColor host(18, 52, 86);
    const QColor selectedColour = colourOf(chip(5, 6));
    QTest::newRow("the selected cell's colour") << host << true << int(QDialog::Accepted) << selectedColour;
    QTest::newRow("also for a transparent host colour")
        << QColor(Qt::transparent) << true << int(QDialog::Accepted) << selectedColour;
    // Only reachable by calling the slot: the button is off without one cell.
    QTest::newRow("nothing selected gives the host's colour") << host << false << int(QDialog::Accepted) << host;
    QTest::newRow("nothing selected, transparent")
        << QColor(Qt::transparent) << false << int(QDialog::Rejected) << QColor(Qt::transparent);
    // Black would reach the host otherwise.
    QTest::newRow("nothing selected, no host colour") << QColor() << false << int(QDialog::Rejected) << QColor();
}

void tst_AddOnMainWindow::selectColor()
{
    QFETCH(QColor, hostColour);
    QFETCH(bool, oneSelected);
    QFETCH(int, result);
    QFETCH(QColor, resultColour);
    const DB::ColorEntry entry = chip(5, 6);
    storeCell(QPoint(2, 1), &entry);
    Settings::setMyPaletteEntryState(QPoint(2, 1), oneSelected);
    m_dialog = makeDialog(hostColour);
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    QSignalSpy finished(m_dialog.get(), SIGNAL(finished(int)));

    if (oneSelected) {
        QVERIFY(selectButton()->isEnabled());
        selectButton()->click();
    } else {
        QVERIFY(!selectButton()->isEnabled());
        QVERIFY(QMetaObject::invokeMethod(m_dialog.get(), "selectColor"));
    }
    QCOMPARE(finished.count(), 1);
    QCOMPARE(m_dialog->result(), result);
    QCOMPARE(m_dialog->resultColor(), resultColour);
    QVERIFY(!m_dialog->isVisible());
}

void tst_AddOnMainWindow::nearestPickAfterTheFirstShow_data()
{
    QTest::addColumn<QColor>("hostColour");
    QTest::addColumn<bool>("picks");
    QTest::newRow("a chip's colour") << colourOf(chip(5, 4)) << true;
    QTest::newRow("transparent") << QColor(Qt::transparent) << false;
    // An unknown source space: no colour, not black.
    QTest::newRow("invalid") << QColor() << false;
}

void tst_AddOnMainWindow::nearestPickAfterTheFirstShow()
{
    QFETCH(QColor, hostColour);
    QFETCH(bool, picks);
    m_dialog = makeDialog(hostColour);
    // Nothing happens before the dialog shows.
    QTest::qWait(120);
    QVERIFY(!m_dialog->picked());

    QElapsedTimer clock;
    clock.start();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    if (picks) {
        QTRY_VERIFY(m_dialog->picked());
        QVERIFY2(clock.elapsed() >= 100, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(Settings::pageIndex(Interior), 5);
        QCOMPARE(Settings::rowIndex(Interior), 4);
    } else {
        QVERIFY(m_dialog->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
        QTest::qWait(150);
        QVERIFY(!m_dialog->picked());
        QCOMPARE(Settings::pageIndex(Interior), 1);
        QCOMPARE(Settings::rowIndex(Interior), 1);
    }

    // Shown again: no second pick, even after the user moved on.
    Settings::setPageIndex(Interior, 2);
    m_dialog->hide();
    m_dialog->show();
    QVERIFY(m_dialog->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly).isEmpty());
    QTest::qWait(120);
    QCOMPARE(Settings::pageIndex(Interior), 2);
}

void tst_AddOnMainWindow::settlesAfterTheFirstFrame()
{
    const DB::ColorEntry entry = chip(1, 2);
    storeCell(QPoint(0, 0), &entry);
    m_dialog = makeDialog();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    // The first frame is followed by the last of the start-up (My palette
    // lays its labels out once shown), later on a slower build. Settled is
    // a whole window without a paint; a picker that keeps repainting itself,
    // and so a processor busy, never gets there.
    PaintCounter paints(qApp);
    QDeadlineTimer deadline(5000);
    do {
        paints.count = 0;
        QTest::qWait(200);
    } while (paints.count > 0 && !deadline.hasExpired());
    QCOMPARE(paints.count, 0);
}

void tst_AddOnMainWindow::proposedSwatchFileName_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("no note") << QString() << "Swatch.aco";
    QTest::newRow("blanks only") << " \t " << "Swatch.aco";
    QTest::newRow("blanks around a word") << "  Terracotta  " << "Terracotta.aco";
    QTest::newRow("blanks inside stay") << "\tWarm walls, north room\n" << "Warm walls, north room.aco";
}

void tst_AddOnMainWindow::proposedSwatchFileName()
{
    QFETCH(QString, note);
    QFETCH(QString, fileName);
    QCOMPARE(AddOnMainWindow::proposedSwatchFileName(note), fileName);
}

void tst_AddOnMainWindow::swatchDialogOffersTheNote()
{
    const DB::ColorEntry entry = chip(1, 2);
    storeCell(QPoint(0, 0), &entry);
    Settings::setMyPaletteDescription(QStringLiteral("  Terracotta study "));
    m_dialog = makeDialog();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    QVERIFY(!m_dialog->swatchFileDialog());

    QFileDialog *files = openSwatchDialog();
    QVERIFY(files);
    QVERIFY(files->isVisible());
    QCOMPARE(files->parentWidget(), m_dialog.get());
    QCOMPARE(files->windowModality(), Qt::WindowModal);
    QCOMPARE(files->windowTitle(), QStringLiteral("Save swatches"));
    QCOMPARE(files->nameFilters(), QStringList{QStringLiteral("Swatch files (*.aco)")});
    QCOMPARE(files->acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(!files->testOption(QFileDialog::DontConfirmOverwrite));
    QCOMPARE(QDir(files->directory()).canonicalPath(), QDir(m_swatches->path()).canonicalPath());
    QCOMPARE(files->selectedFiles(), QStringList{QDir(m_swatches->path()).filePath(QStringLiteral("Terracotta study.aco"))});
    files->reject();

    // The same dialog the next time, on the note as it is then.
    palette()->descriptionField()->setText(QString());
    QCOMPARE(openSwatchDialog(), files);
    QCOMPARE(QFileInfo(files->selectedFiles().value(0)).fileName(), QStringLiteral("Swatch.aco"));
    // A name typed without the extension gets it.
    auto *nameField = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(nameField);
    nameField->setText(QStringLiteral("Warm walls"));
    QCOMPARE(QFileInfo(files->selectedFiles().value(0)).fileName(), QStringLiteral("Warm walls.aco"));
    files->reject();
}

void tst_AddOnMainWindow::swatchFileHoldsEachColourOnce()
{
    const DB::ColorEntry red = chip(1, 5);
    const DB::ColorEntry other = chip(7, 2);
    // The same colour in a later cell (row 1) and an earlier one (row 0, right).
    storeCell(QPoint(0, 1), &red);
    storeCell(QPoint(5, 0), &red);
    storeCell(QPoint(2, 3), &other);
    Settings::setMyPaletteDescription(QStringLiteral("Two colours"));
    m_dialog = makeDialog();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));

    QFileDialog *files = openSwatchDialog();
    static_cast<QDialog *>(files)->done(QDialog::Accepted);
    QVERIFY(!slotStillConnected());

    const QString path = QDir(m_swatches->path()).filePath(QStringLiteral("Two colours.aco"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // One record each, named by the chip's plain tool tip.
    SwatchFile expected;
    expected.add(colourOf(red), DBManager::BuildToolTipForColorEntry(Interior, red.id, false));
    expected.add(colourOf(other), DBManager::BuildToolTipForColorEntry(Interior, other.id, false));
    QCOMPARE(expected.count(), 2);
    QVERIFY(!DBManager::BuildToolTipForColorEntry(Interior, red.id, false).isEmpty());
    QCOMPARE(file.readAll(), expected.encode());

    // Told once the file is there, in a box over the picker that does not block.
    QMessageBox *alert = m_dialog->swatchAlert();
    QVERIFY(alert);
    QTRY_COMPARE(alertShows(), 1);
    QVERIFY(alert->isVisible());
    QCOMPARE(alert->parentWidget(), m_dialog.get());
    QCOMPARE(alert->windowModality(), Qt::WindowModal);
    QCOMPARE(alert->icon(), QMessageBox::Information);
    QCOMPARE(alert->windowTitle(), QStringLiteral("Swatches saved"));
    QCOMPARE(alert->text(), QStringLiteral("The palette was saved as a swatch file."));
    QCOMPARE(alert->standardButtons(), QMessageBox::Ok);
    alert->accept();
    QVERIFY(m_dialog->isVisible());
}

void tst_AddOnMainWindow::swatchRoundsThatWriteNothing_data()
{
    QTest::addColumn<bool>("filled");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("button");
    QTest::newRow("cancelled") << true << "Chosen.aco" << int(QDialog::Rejected);
    // The dialog then reports its folder, or nothing at all.
    QTest::newRow("accepted without a file") << true << QString() << int(QDialog::Accepted);
    QTest::newRow("nothing to write") << false << "Chosen.aco" << int(QDialog::Accepted);
}

void tst_AddOnMainWindow::swatchRoundsThatWriteNothing()
{
    QFETCH(bool, filled);
    QFETCH(QString, chosen);
    QFETCH(int, button);
    const DB::ColorEntry entry = chip(2, 2);
    if (filled)
        storeCell(QPoint(1, 1), &entry);
    m_dialog = makeDialog();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));

    // The button is off on an empty palette; the slot still must not write.
    QVERIFY(QMetaObject::invokeMethod(m_dialog.get(), "createSwatch"));
    QFileDialog *files = m_dialog->swatchFileDialog();
    QVERIFY(files && files->isVisible());
    // Typed over the proposed name, or emptied.
    auto *nameField = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(nameField);
    nameField->setText(chosen);
    static_cast<QDialog *>(files)->done(button);

    QVERIFY(!slotStillConnected());
    QCOMPARE(QDir(m_swatches->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    QVERIFY(!m_dialog->swatchAlert());
    QTest::qWait(20);
    QCOMPARE(alertShows(), 0);
    QVERIFY(m_dialog->isVisible());
}

void tst_AddOnMainWindow::cancelTwiceThenAcceptWritesOnce()
{
    const DB::ColorEntry entry = chip(6, 1);
    storeCell(QPoint(4, 0), &entry);
    m_dialog = makeDialog();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));

    for (int round = 0; round < 2; ++round) {
        QFileDialog *files = openSwatchDialog();
        QVERIFY(files->isVisible());
        files->reject();
        QVERIFY2(!slotStillConnected(), qPrintable(QString::number(round)));
    }
    QFileDialog *files = openSwatchDialog();
    const QString path = QDir(m_swatches->path()).filePath(QStringLiteral("Swatch.aco"));
    QCOMPARE(files->selectedFiles(), QStringList{path});
    // Each slot run would write and open the alert once more; one round ran.
    QSignalSpy finished(files, SIGNAL(finished(int)));
    static_cast<QDialog *>(files)->done(QDialog::Accepted);
    QCOMPARE(finished.count(), 1);
    QVERIFY(QFileInfo(path).isFile());
    QTRY_COMPARE(alertShows(), 1);
    QVERIFY(!slotStillConnected());
    QTest::qWait(20);
    QCOMPARE(alertShows(), 1);
}

void tst_AddOnMainWindow::failedWriteKeepsTheFileAndSaysNothing()
{
    for (int column = 0; column < 6; ++column) {
        const DB::ColorEntry entry = chip(column + 1, 3);
        storeCell(QPoint(column, 2), &entry);
    }
    const QString path = QDir(m_swatches->path()).filePath(QStringLiteral("Swatch.aco"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the swatches of last week");
    }
    m_dialog = makeDialog();
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));

    QFileDialog *files = nullptr;
    {
        // Files may not grow past 64 bytes for a moment, as on a full disk.
        const FileSizeLimit limit(64);
        files = openSwatchDialog();
        QCOMPARE(files->selectedFiles(), QStringList{path});
        static_cast<QDialog *>(files)->done(QDialog::Accepted);
    }

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("the swatches of last week"));
    file.close();
    QCOMPARE(QDir(m_swatches->path()).entryList(QDir::Files), QStringList{QStringLiteral("Swatch.aco")});
    QVERIFY(!m_dialog->swatchAlert());
    QTest::qWait(20);
    QCOMPARE(alertShows(), 0);

    // The next try, with room, replaces the file and says so.
    files = openSwatchDialog();
    static_cast<QDialog *>(files)->done(QDialog::Accepted);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QCOMPARE(written.left(4), QByteArray("\x00\x02\x00\x06", 4));
    QTRY_COMPARE(alertShows(), 1);
}

QTEST_MAIN(tst_AddOnMainWindow)
#include "tst_addonmainwindow.moc"
