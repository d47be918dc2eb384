// The picker dialog end to end: the stand-in host calls PluginMain with the
// pick selector, drives the picker from outside with its --act actions, and
// prints what came back into the host's block. What the user kept in My
// palette is written into the settings the plug-in reads, as an earlier
// session would have left them, and where the picker went is read back from
// them.

#include "DemoCollection.h"
#include "DemoDizeviz.h"
#include "FileSizeLimit.h"
#include "PickerHostRunner.h"
#include "ReadOnlyFolder.h"
#include "TestEnvironment.h"
#include "WithoutPermissionOverride.h"

#include "database/ColorPage.h"
#include "database/DBManager.h"
#include "database/ItemIndex.h"
#include "services/Global.h"
#include "services/Settings.h"

#include <QColor>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPoint>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

// A cell of My palette holding the chip on that card and row of the demo's
// interior deck; page 0 leaves it empty.
struct Cell {
    QPoint place;
    int page = 0;
    int row = 0;
    bool selected = false;
};
Q_DECLARE_METATYPE(QList<Cell>)

class tst_PickerHostDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void cancelLeavesTheBlock_data();
    void cancelLeavesTheBlock();
    void selectWritesTheBlock_data();
    void selectWritesTheBlock();
    void twoPickCallsInOneProcess();
    void buttonStates_data();
    void buttonStates();
    void swatchFileThroughTheDialogs_data();
    void swatchFileThroughTheDialogs();
    void paletteSavedOverAnExistingFile_data();
    void paletteSavedOverAnExistingFile();
    void phraseTypedMovesTheRoller_data();
    void phraseTypedMovesTheRoller();
    void dizevizChoiceMovesThePicker();

private:
    using Run = PickerHostRunner::Result;
    Run run(const QStringList &arguments) const { return m_host.run(arguments); }
    QString dataHome() const { return m_host.dataHome(); }
    // Leaves My palette with these cells and the note in the settings the
    // plug-in will read inside the host.
    void storePalette(const QList<Cell> &cells, const QString &note = QString());
    // Runs work on the settings the plug-in reads and writes inside the host
    // of this test.
    void inHostSettings(const std::function<void()> &work) const;
    // Where the interior deck stands, as "segment S, card C, chip R".
    QString browsingState() const;
    static QString browsingStateOf(int page, int row);
    static QColor chipColour(int page, int row);
    // The 16-bit RGB components of a colour, as the host holds them.
    static QString hostComponents(const QColor &colour);

    PickerHostRunner m_host;
};

void tst_PickerHostDialog::initTestCase()
{
    TestEnvironment::isolate();
    QString error;
    QVERIFY2(m_host.setUp(&error), qPrintable(error));
    // Here only to find the chips the palettes hold.
    QCOMPARE(Velmar::Global::InitializePrerequisites(QString(), m_host.lookupFolder()), 0);
}

void tst_PickerHostDialog::init()
{
    QVERIFY(m_host.newHome());
}

void tst_PickerHostDialog::inHostSettings(const std::function<void()> &work) const
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_host.configHome());
    Velmar::Settings::setHostApplicationKey(QStringLiteral("Photoshop"));
    work();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, TestEnvironment::root() + QStringLiteral("/config"));
}

void tst_PickerHostDialog::storePalette(const QList<Cell> &cells, const QString &note)
{
    using namespace Velmar;
    QList<QPair<QPoint, DB::ItemIndex>> filled;
    for (const Cell &cell : cells) {
        // A cell without a page stays empty (and may still be selected).
        if (cell.page > 0) {
            DB::ColorEntry entry;
            QCOMPARE(DBManager::GetColorEntryByPageAndRowIndex(DemoCollection::InteriorDeckUuid, cell.page, cell.row,
                                                               entry),
                     0);
            DB::ItemIndex index;
            index.collection = DemoCollection::InteriorDeckUuid;
            index.pageId = entry.pageId;
            index.entryId = entry.id;
            filled.append({cell.place, index});
        }
    }
    inHostSettings([&] {
        for (const auto &cell : qAsConst(filled))
            Settings::setMyPaletteEntry(cell.first, cell.second);
        for (const Cell &cell : cells)
            Settings::setMyPaletteEntryState(cell.place, cell.selected);
        Settings::setMyPaletteDescription(note);
    });
    QVERIFY(QFileInfo::exists(m_host.configHome() + QStringLiteral("/Tavo Rindel/hueform.photoshop.conf")));
}

QString tst_PickerHostDialog::browsingState() const
{
    using Velmar::Settings;
    const QUuid deck = DemoCollection::InteriorDeckUuid;
    QString state;
    inHostSettings([&] {
        state = QStringLiteral("segment %1, card %2, chip %3")
                    .arg(Settings::segmentIndex(deck))
                    .arg(Settings::pageIndex(deck))
                    .arg(Settings::rowIndex(deck));
    });
    return state;
}

QString tst_PickerHostDialog::browsingStateOf(int page, int row)
{
    Velmar::DB::ColorEntry entry;
    Velmar::DB::ColorPage card;
    if (Velmar::DBManager::GetColorEntryByPageAndRowIndex(DemoCollection::InteriorDeckUuid, page, row, entry) != 0
        || Velmar::DBManager::GetColorPageById(DemoCollection::InteriorDeckUuid, entry.pageId, true, card) != 0)
        return QString();
    return QStringLiteral("segment %1, card %2, chip %3").arg(card.segment).arg(page).arg(row);
}

QColor tst_PickerHostDialog::chipColour(int page, int row)
{
    Velmar::DB::ColorEntry entry;
    if (Velmar::DBManager::GetColorEntryByPageAndRowIndex(DemoCollection::InteriorDeckUuid, page, row, entry) != 0)
        return QColor();
    return QColor(entry.red, entry.green, entry.blue);
}

QString tst_PickerHostDialog::hostComponents(const QColor &colour)
{
    return QStringLiteral("%1,%2,%3,0").arg(colour.red() * 257).arg(colour.green() * 257).arg(colour.blue() * 257);
}

void tst_PickerHostDialog::cancelLeavesTheBlock_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("picks");
    // A terracotta no chip matches exactly: the pick offers the nearest chips.
    const QStringList colour{"--c", "52428,26214,13107,0"};
    const QStringList closeBoth{"--act", "await:Velmar::SelectNearestColorDialog", "--act", "close", "--act",
                                "await:AddOnMainWindow", "--act", "close", "--act-delay", "20"};
    const QStringList escapeBoth{"--act", "await:Velmar::SelectNearestColorDialog", "--act", "key:Escape", "--act",
                                 "await:AddOnMainWindow", "--act", "key:Escape", "--act-delay", "20"};
    QTest::newRow("closed, with a prompt") << colour + QStringList{"--prompt", "Pick the wall colour"} + closeBoth
                                           << "Pick the wall colour" << true;
    QTest::newRow("Escape, empty prompt") << colour + QStringList{"--prompt", ""} + escapeBoth << "Dimora Interiors"
                                          << true;
    QTest::newRow("closed, no prompt") << colour + closeBoth << "Dimora Interiors" << true;
    // An unknown colour space: no colour, so nothing is matched (not black).
    // Closed late enough for a pick to have shown its choice.
    QTest::newRow("unknown space") << QStringList{"--space", "5"} + colour
            + QStringList{"--act", "close", "--act-delay", "300"}
                                   << "Dimora Interiors" << false;
}

void tst_PickerHostDialog::cancelLeavesTheBlock()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, title);
    QFETCH(bool, picks);
    const Run result = run(arguments + QStringList{"--result-space", "7"});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QVERIFY2(result.output.contains(QStringLiteral("shown: AddOnMainWindow \"%1\" 800x600\n").arg(title)),
             qPrintable(result.output));
    QVERIFY2(result.output.contains(QStringLiteral("call 1: result 0, space 7, components 52428,26214,13107,0\n")),
             qPrintable(result.output));
    QCOMPARE(result.output.contains(QStringLiteral("shown: Velmar::SelectNearestColorDialog")), picks);
    // The pick writes one line of its own.
    QCOMPARE(result.errors.contains(QStringLiteral("RGB(204,102,51)")), picks);
}

void tst_PickerHostDialog::selectWritesTheBlock_data()
{
    QTest::addColumn<QStringList>("hostColour");
    QTest::newRow("RGB") << QStringList{"--space", "0", "--c", hostComponents(chipColour(2, 6))};
    QTest::newRow("no colour") << QStringList{"--space", "5", "--c", "1,2,3,4"};
}

void tst_PickerHostDialog::selectWritesTheBlock()
{
    QFETCH(QStringList, hostColour);
    storePalette({{QPoint(0, 0), 3, 3, false}, {QPoint(4, 2), 7, 5, true}});
    const Run result = run(hostColour
                           + QStringList{"--result-space", "3", "--act", "click:Select colour", "--act-delay", "20"});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QVERIFY2(result.output.contains(QStringLiteral("action: click:Select colour\n")), qPrintable(result.output));
    QVERIFY2(result.output.contains(
                 QStringLiteral("call 1: result 0, space 0, components %1\n").arg(hostComponents(chipColour(7, 5)))),
             qPrintable(result.output));
}

void tst_PickerHostDialog::twoPickCallsInOneProcess()
{
    storePalette({{QPoint(2, 1), 9, 2, true}});
    const QColor host = chipColour(11, 1);
    const QString selected = hostComponents(chipColour(9, 2));
    // Each call starts afresh on the host's colour, picks the chip nearest to
    // it and takes the colour selected in My palette.
    const Run result = run({QStringLiteral("--calls"), QStringLiteral("2"), QStringLiteral("--c"), hostComponents(host),
                            QStringLiteral("--act"), QStringLiteral("click:Select colour"), QStringLiteral("--act-delay"),
                            QStringLiteral("150")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QCOMPARE(result.output.count(QStringLiteral("application object built")), 2);
    QCOMPARE(result.output.count(QStringLiteral("shown: AddOnMainWindow \"Dimora Interiors\" 800x600\n")), 2);
    QVERIFY2(result.output.contains(QStringLiteral("call 1: result 0, space 0, components %1\nsuites: acquired 1, released 1\n")
                                        .arg(selected)),
             qPrintable(result.output));
    QVERIFY2(result.output.contains(QStringLiteral("call 2: result 0, space 0, components %1\nsuites: acquired 2, released 2\n")
                                        .arg(selected)),
             qPrintable(result.output));
    // The nearest-colour pick ran in both calls.
    const QString pickLine = QStringLiteral("RGB(%1,%2,%3)").arg(host.red()).arg(host.green()).arg(host.blue());
    QCOMPARE(result.errors.count(pickLine), 2);
}

void tst_PickerHostDialog::buttonStates_data()
{
    QTest::addColumn<QList<Cell>>("cells");
    QTest::addColumn<QString>("states");
    QTest::newRow("empty palette") << QList<Cell>{} << "Select colour off, Swatch file off";
    QTest::newRow("empty palette, an empty cell selected")
        << QList<Cell>{{QPoint(1, 1), 0, 0, true}} << "Select colour off, Swatch file off";
    QTest::newRow("filled, nothing selected") << QList<Cell>{{QPoint(0, 0), 1, 1, false}}
                                              << "Select colour off, Swatch file on";
    QTest::newRow("one filled cell selected") << QList<Cell>{{QPoint(0, 0), 1, 1, false}, {QPoint(5, 3), 2, 2, true}}
                                              << "Select colour on, Swatch file on";
    QTest::newRow("one empty cell selected") << QList<Cell>{{QPoint(0, 0), 1, 1, false}, {QPoint(5, 3), 0, 0, true}}
                                             << "Select colour off, Swatch file on";
    QTest::newRow("two filled cells selected") << QList<Cell>{{QPoint(0, 0), 1, 1, true}, {QPoint(5, 3), 2, 2, true}}
                                               << "Select colour off, Swatch file on";
}

void tst_PickerHostDialog::buttonStates()
{
    QFETCH(QList<Cell>, cells);
    QFETCH(QString, states);
    storePalette(cells);
    const Run result = run({QStringLiteral("--space"), QStringLiteral("5"), QStringLiteral("--act"),
                            QStringLiteral("buttons"), QStringLiteral("--act"), QStringLiteral("close"),
                            QStringLiteral("--act-delay"), QStringLiteral("20")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    // The row as it reads: save, load, the picker's two, help.
    const QRegularExpression row(QStringLiteral("^buttons: Save o[nf]+, Open on, (.*), \\? on$"),
                                 QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = row.match(result.output);
    QVERIFY2(match.hasMatch(), qPrintable(result.output));
    QCOMPARE(match.captured(1), states);
}

void tst_PickerHostDialog::swatchFileThroughTheDialogs_data()
{
    QTest::addColumn<QString>("note");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("note") << "  Terracotta study " << "Terracotta study.aco";
    QTest::newRow("no note") << QString() << "Swatch.aco";
    // A note read from someone else's palette file names no other folder
    // and no hidden file.
    QTest::newRow("a path") << "../../../../../escaped" << "escaped.aco";
    QTest::newRow("a hidden name") << " .hidden" << "hidden.aco";
    QTest::newRow("dots only") << ".." << "Swatch.aco";
}

void tst_PickerHostDialog::swatchFileThroughTheDialogs()
{
    QFETCH(QString, note);
    QFETCH(QString, fileName);
    // Three colours, one of them twice.
    storePalette({{QPoint(0, 0), 4, 4, false}, {QPoint(1, 0), 8, 2, false}, {QPoint(0, 3), 4, 4, false},
                  {QPoint(5, 3), 12, 6, false}},
                 note);
    // Cancelled twice, then accepted with the name offered; the alert is
    // answered, then the picker closed.
    const QString create = QStringLiteral("click:Swatch file");
    const Run result = run({"--space", "5", "--c", "1,2,3,4", "--act", create, "--act", "await:QFileDialog", "--act",
                            "invoke:reject", "--act", create, "--act", "await:QFileDialog", "--act", "invoke:reject",
                            "--act", create, "--act", "await:QFileDialog", "--act", "invoke:accept", "--act",
                            "await:QMessageBox", "--act", "click:OK", "--act", "close", "--act-delay", "30"});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QCOMPARE(result.output.count(QStringLiteral("shown: QFileDialog \"Save swatches\"")), 3);
    // Written once, and said once.
    QCOMPARE(result.output.count(QStringLiteral("shown: QMessageBox \"Swatches saved\"")), 1);
    QVERIFY2(result.output.contains(QStringLiteral("action: click:OK\naction: close\n")), qPrintable(result.output));
    QVERIFY(result.output.contains(QStringLiteral("call 1: result 0, space 0, components 1,2,3,4\n")));

    // In the host's swatch presets folder (host version 13).
    const QDir folder(dataHome() + QStringLiteral("/Adobe/Adobe Photoshop CS6/Presets/Color Swatches"));
    QCOMPARE(folder.entryList(QDir::Files), QStringList{fileName});
    QDirIterator written(m_host.home(), {QStringLiteral("*.aco")}, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    QVERIFY(written.hasNext());
    QCOMPARE(written.next(), folder.filePath(fileName));
    QVERIFY2(!written.hasNext(), qPrintable(written.next()));
    QFile file(folder.filePath(fileName));
    QVERIFY(file.open(QIODevice::ReadOnly));
    // Version 2, three records.
    QCOMPARE(file.read(4), QByteArray("\x00\x02\x00\x03", 4));
}

void tst_PickerHostDialog::paletteSavedOverAnExistingFile_data()
{
    QTest::addColumn<bool>("readOnlyFolder");
    QTest::addColumn<bool>("diskFull");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("writable folder") << false << false << true;
    // The user's own file in a shared folder they cannot write: in place.
    QTest::newRow("read-only folder") << true << false << true;
    QTest::newRow("full disk") << false << true << false;
    QTest::newRow("read-only folder, full disk") << true << true << false;
}

void tst_PickerHostDialog::paletteSavedOverAnExistingFile()
{
    QFETCH(bool, readOnlyFolder);
    QFETCH(bool, diskFull);
    QFETCH(bool, replaced);
    ReadOnlyFolder folder;
    QVERIFY(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("Walls.palette"));
    // Shorter than the size the full disk leaves, so that only the new file
    // runs out of room.
    const QByteArray old("an earlier palette\n");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                      | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther));
    // Saved there last, so the save dialog proposes it.
    storePalette({{QPoint(0, 0), 6, 3, false}, {QPoint(3, 1), 10, 5, false}});
    inHostSettings([&path] { Velmar::Settings::setMyPaletteLastPath(path); });

    const PickerHostRunner::ChildSetUp asTheUser = [readOnlyFolder, diskFull] {
        if (readOnlyFolder)
            WithoutPermissionOverride::dropForGood();
        if (diskFull)
            FileSizeLimit::applyForGood(100);
    };
    if (readOnlyFolder) {
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                                                 | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther);
        if (m_host.childCanWriteInto(folder.path(), asTheUser))
            QSKIP("The host can write into a folder of mode 0555 here; the test would prove nothing.");
    }
    // The overwrite question is opened by the file dialog's accept() and
    // answered while that still runs.
    const Run result = m_host.run({"--space", "5", "--act", "click:Save", "--act", "await:QFileDialog", "--act",
                                   "invoke:accept", "--act", "await:QMessageBox", "--act", "click:Yes", "--act",
                                   "await:AddOnMainWindow", "--act", "close", "--act-delay", "30", "--watchdog", "20"},
                                  true, asTheUser);
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QVERIFY2(result.output.contains(QStringLiteral("shown: QMessageBox \"Save palette\"")), qPrintable(result.output));
    QVERIFY2(result.output.contains(QStringLiteral("action: click:Yes\naction: invoke:accept\n")),
             qPrintable(result.output));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    if (replaced) {
        QVERIFY2(bytes.startsWith("\xef\xbb\xbf<?xml") && bytes.contains("color-code=\"DI-0603\"")
                     && bytes.contains("color-code=\"DI-1005\""),
                 bytes.constData());
    } else {
        QCOMPARE(bytes, old);
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("Walls.palette")});
}

void tst_PickerHostDialog::phraseTypedMovesTheRoller_data()
{
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("moves");
    QTest::newRow("a code") << "DI-0304" << 3 << 4 << true;
    QTest::newRow("a name, typed in lower case") << QString::fromUtf8("cr\xc3\xa8me br\xc3\xbbl\xc3\xa9\x65") << 5 << 1
                                                 << true;
    // One key of two code units: kept whole, it leaves a phrase no chip
    // has; split in two, the field drops both halves and finds DI-0304.
    QTest::newRow("a code and a character beyond the first plane")
        << QStringLiteral("DI-0304") + QString::fromUcs4(U"\U0001F600") << 3 << 4 << false;
}

void tst_PickerHostDialog::phraseTypedMovesTheRoller()
{
    QFETCH(QString, phrase);
    QFETCH(int, page);
    QFETCH(int, row);
    QFETCH(bool, moves);
    const QString before = browsingState();
    QVERIFY(before != browsingStateOf(page, row));
    // A click into the search field at the picker's bottom left gives it the
    // focus the text is typed into.
    const Run result = run({"--space", "5", "--act", "press:60,557", "--act", "type:" + phrase, "--act", "key:Return",
                            "--act", "close", "--act-delay", "30", "--watchdog", "20"});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QCOMPARE(browsingState(), moves ? browsingStateOf(page, row) : before);
}

void tst_PickerHostDialog::dizevizChoiceMovesThePicker()
{
    // The measurement lies in the watched folder when the picker opens.
    const QString measurement = QDir(m_host.dizevizFolder()).filePath(DemoDizeviz::WatchFileName);
    QFile::remove(measurement);
    QVERIFY(QFile::copy(QStringLiteral(HUEFORM_SAMPLE_CXF), measurement));
    // The chooser's Dizeviz button, at the right end of the bar under the
    // header; the offer opens with exec() from its click, and its second
    // chip is taken.
    const Run result = run({"--space", "5", "--act", "press:218,86", "--act", "await:Velmar::DizevizSelectDialog",
                            "--act", "key:Down", "--act", "click:OK", "--act", "await:AddOnMainWindow", "--act", "close",
                            "--act-delay", "30", "--watchdog", "20"});
    QFile::remove(measurement);
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QVERIFY2(result.output.contains(QStringLiteral("shown: Velmar::DizevizSelectDialog \"Measured colours\" 320x200\n")),
             qPrintable(result.output));
    // The sample names DI-0304 first and DI-0202 second.
    QCOMPARE(browsingState(), browsingStateOf(2, 2));
}

QTEST_GUILESS_MAIN(tst_PickerHostDialog)
#include "tst_pickerhostdialog.moc"
