// tools/run-picker.sh on Qt's offscreen platform, on the build tree: which
// run folders it takes and what it leaves outside them. The runs it makes
// for the README's examples are the run_picker_* entries of CTest.

#include "ProcessRun.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class tst_RunPicker : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void refusesWhatItDoesNotTake_data();
    void refusesWhatItDoesNotTake();
    void refusesAFolderItDidNotMake_data();
    void refusesAFolderItDidNotMake();
    void takesAFolderItMadeOrAnEmptyOne_data();
    void takesAFolderItMadeOrAnEmptyOne();
    void collectionFolderGivenRelative_data();
    void collectionFolderGivenRelative();
    void temporaryFilesStayInTheRunFolder();

private:
    // Runs the script in the test's folder, whose "system-tmp" is the
    // temporary folder it is given; the environment adds to the test's.
    ProcessRun run(const QStringList &arguments, const QProcessEnvironment &added = {}) const;
    // The about box, shown and closed: the shortest run that loads the
    // picker.
    ProcessRun aboutBoxRun(const QString &runFolder) const;
    QString path(const QString &relative) const { return m_folder->filePath(relative); }
    static bool writeFile(const QString &path, const QByteArray &bytes);
    // Every file and folder below the folder, hidden ones too, by its path
    // from there.
    static QStringList entriesBelow(const QString &folder);

    std::unique_ptr<QTemporaryDir> m_folder;
};

void tst_RunPicker::initTestCase()
{
    TestEnvironment::isolate();
}

void tst_RunPicker::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    QVERIFY(QDir().mkpath(path(QStringLiteral("system-tmp"))));
}

ProcessRun tst_RunPicker::run(const QStringList &arguments, const QProcessEnvironment &added) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), path(QStringLiteral("system-tmp")));
    environment.insert(added);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_folder->path());
    return ProcessRun::of(process, QStringLiteral("sh"),
                          QStringList{QStringLiteral(RUN_PICKER), QStringLiteral("--offscreen")} + arguments, 120000);
}

ProcessRun tst_RunPicker::aboutBoxRun(const QString &runFolder) const
{
    return run(QStringList{HUEFORM_BUILD_DIR, runFolder, "--", "--selector", "0", "--act", "click:Close"});
}

bool tst_RunPicker::writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList tst_RunPicker::entriesBelow(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(folder).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

void tst_RunPicker::refusesWhatItDoesNotTake_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("errors"); // what the refusal says
    const QString project = QDir::cleanPath(QStringLiteral(RUN_PICKER "/../.."));
    const QString usage = QStringLiteral("usage: %1 [--headless|--offscreen]").arg(QStringLiteral(RUN_PICKER));
    QTest::newRow("a build folder that is not there")
        << QStringList{"nosuch-build"}
        << QStringList{RUN_PICKER ": there is no build folder nosuch-build.",
                       "  cmake -S " + project + " -B nosuch-build && cmake --build nosuch-build",
                       "or run " + project + "/build.sh run, which builds " + project + "/build and opens the picker on it."};
    QTest::newRow("a folder that is not built")
        << QStringList{"system-tmp"}
        << QStringList{RUN_PICKER ": system-tmp holds no host/picker-host and tools/make-demo-collection: it is no build "
                                  "folder, or it is not built yet.",
                       "  cmake -S " + project + " -B system-tmp && cmake --build system-tmp"};
    // The host's options after the run folder without "--" are not taken
    // for nothing: the host would run without them until its watchdog.
    QTest::newRow("host options after the run folder without --")
        << QStringList{HUEFORM_BUILD_DIR, "run", "--space", "5", "--act", "close"}
        << QStringList{RUN_PICKER ": --space follows the run folder: the host's options go after --", usage};
    QTest::newRow("an option it does not know") << QStringList{"--window", HUEFORM_BUILD_DIR} << QStringList{usage};
    QTest::newRow("a collection folder not given") << QStringList{"--collection"} << QStringList{usage};
}

void tst_RunPicker::refusesWhatItDoesNotTake()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, errors);
    const ProcessRun result = run(arguments);
    QVERIFY2(result.exitCode == 2, qPrintable(result.output + result.errors));
    for (const QString &line : qAsConst(errors))
        QVERIFY2(result.errors.contains(line), qPrintable(line + QStringLiteral("\nnot in:\n") + result.errors));
    // Nothing was run, and no run folder made.
    QCOMPARE(result.output, QString());
    QVERIFY(!QFileInfo::exists(path(QStringLiteral("run"))));
}

void tst_RunPicker::refusesAFolderItDidNotMake_data()
{
    QTest::addColumn<QStringList>("files");
    // Where the script writes its own folders anew, and beside them.
    QTest::newRow("notes in a data folder") << QStringList{"data/notes.txt"};
    QTest::newRow("notes beside the folders it writes") << QStringList{"notes.txt"};
}

void tst_RunPicker::refusesAFolderItDidNotMake()
{
    QFETCH(QStringList, files);
    const QString mine = path(QStringLiteral("mine"));
    for (const QString &file : qAsConst(files))
        QVERIFY(writeFile(mine + QLatin1Char('/') + file, "the user's own\n"));

    const QStringList before = entriesBelow(mine);

    const ProcessRun result = aboutBoxRun(mine);
    QVERIFY2(result.exitCode == 2, qPrintable(result.output + result.errors));
    QVERIFY2(result.errors.contains(QStringLiteral("was not made by this script")), qPrintable(result.errors));
    QVERIFY2(!result.output.contains(QStringLiteral("shown:")), qPrintable(result.output));
    // Nothing taken, nothing added.
    QCOMPARE(entriesBelow(mine), before);
    for (const QString &file : qAsConst(files)) {
        QFile kept(mine + QLatin1Char('/') + file);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("the user's own\n"));
    }
}

void tst_RunPicker::takesAFolderItMadeOrAnEmptyOne_data()
{
    QTest::addColumn<bool>("madeBefore");
    QTest::newRow("an empty folder") << false;
    QTest::newRow("a folder an earlier run made") << true;
}

void tst_RunPicker::takesAFolderItMadeOrAnEmptyOne()
{
    QFETCH(bool, madeBefore);
    const QString runFolder = path(QStringLiteral("run"));
    QVERIFY(QDir().mkpath(runFolder));
    if (madeBefore) {
        const ProcessRun first = aboutBoxRun(runFolder);
        QVERIFY2(first.exitCode == 0, qPrintable(first.output + first.errors));
        // What the picker wrote there is written anew by the next run.
        QVERIFY(writeFile(runFolder + QStringLiteral("/data/left over.txt"), "from the run before\n"));
    }

    const ProcessRun result = aboutBoxRun(runFolder);
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QVERIFY2(result.output.contains(QStringLiteral("shown: Velmar::AboutBox")), qPrintable(result.output));
    QVERIFY(QFileInfo(runFolder + QStringLiteral("/.run-picker-folder")).isFile());
    QVERIFY(!QFileInfo::exists(runFolder + QStringLiteral("/data/left over.txt")));
}

void tst_RunPicker::collectionFolderGivenRelative_data()
{
    QTest::addColumn<bool>("cdpath");
    QTest::newRow("from the working folder") << false;
    // As a user's shell may export it, with a folder of the same name there.
    QTest::newRow("with a CDPATH naming a folder that holds another") << true;
}

void tst_RunPicker::collectionFolderGivenRelative()
{
    QFETCH(bool, cdpath);
    QProcess writer;
    writer.setWorkingDirectory(m_folder->path());
    const ProcessRun written = ProcessRun::of(writer, MAKE_GENERATED_COLLECTION, {"generated", "50"});
    QVERIFY2(written.exitCode == 0, qPrintable(written.errors));
    QProcessEnvironment added;
    if (cdpath) {
        QVERIFY(QDir().mkpath(path(QStringLiteral("elsewhere/generated"))));
        added.insert(QStringLiteral("CDPATH"), path(QStringLiteral("elsewhere")));
    }

    // The run folder relative too.
    const ProcessRun result = run(
        QStringList{"--collection", "generated", HUEFORM_BUILD_DIR, "run", "--", "--space", "5", "--act", "close"}, added);
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    // The generated deck comes first in the chooser, so the picker opens on it.
    QVERIFY2(result.output.contains(QStringLiteral("shown: AddOnMainWindow \"Generated 50\" 800x600\n")),
             qPrintable(result.output));
    QCOMPARE(QFileInfo(path(QStringLiteral("run/machine/Tavo Rindel/Hueform/SQLite"))).canonicalFilePath(),
             QFileInfo(path(QStringLiteral("generated"))).canonicalFilePath());
}

void tst_RunPicker::temporaryFilesStayInTheRunFolder()
{
    const QString runFolder = path(QStringLiteral("run"));
    // 740,584 lies on "About these colours" at the picker's foot: the link
    // writes the deck's text into a temporary page for the browser.
    const ProcessRun result =
        run(QStringList{HUEFORM_BUILD_DIR, runFolder, "--", "--space", "5", "--act", "press:740,584", "--act", "close"});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QCOMPARE(entriesBelow(path(QStringLiteral("system-tmp"))), QStringList());
    const QStringList pages = QDir(runFolder + QStringLiteral("/tmp")).entryList({"qt_temp_*.html"}, QDir::Files);
    QVERIFY2(pages.size() == 1, qPrintable(pages.join(QLatin1Char(' '))));
}

QTEST_GUILESS_MAIN(tst_RunPicker)
#include "tst_runpicker.moc"
