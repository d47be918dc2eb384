// tools/run-picker.sh on Qt's offscreen platform, on the build tree: what
// it leaves outside its run folder. The runs it makes for the README's
// examples are the run_picker_* entries of CTest.

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

    void temporaryFilesStayInTheRunFolder();

private:
    struct Run {
        int exitCode = -1; // -1 also when the script crashed or hung
        QString output;
        QString errors;
    };
    // Runs the script in the test's folder, whose "system-tmp" is the
    // temporary folder it is given; the environment adds to the test's.
    Run run(const QStringList &arguments, const QProcessEnvironment &added = {}) const;
    QString path(const QString &relative) const { return m_folder->filePath(relative); }
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

tst_RunPicker::Run tst_RunPicker::run(const QStringList &arguments, const QProcessEnvironment &added) const
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), path(QStringLiteral("system-tmp")));
    environment.insert(added);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(m_folder->path());
    process.start(QStringLiteral("sh"), QStringList{QStringLiteral(RUN_PICKER), QStringLiteral("--offscreen")} + arguments);
    Run result;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAllStandardOutput());
    result.errors = QString::fromUtf8(process.readAllStandardError());
    return result;
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

void tst_RunPicker::temporaryFilesStayInTheRunFolder()
{
    const QString runFolder = path(QStringLiteral("run"));
    // 740,584 lies on "About these colours" at the picker's foot: the link
    // writes the deck's text into a temporary page for the browser.
    const Run result = run({QStringLiteral(HUEFORM_BUILD_DIR), runFolder, QStringLiteral("--"), QStringLiteral("--space"),
                            QStringLiteral("5"), QStringLiteral("--act"), QStringLiteral("press:740,584"),
                            QStringLiteral("--act"), QStringLiteral("close")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.output + result.errors));
    QCOMPARE(entriesBelow(path(QStringLiteral("system-tmp"))), QStringList());
    const QStringList pages = QDir(runFolder + QStringLiteral("/tmp")).entryList({QStringLiteral("qt_temp_*.html")}, QDir::Files);
    QVERIFY2(pages.size() == 1, qPrintable(pages.join(QLatin1Char(' '))));
}

QTEST_GUILESS_MAIN(tst_RunPicker)
#include "tst_runpicker.moc"
