#include "NTSynchronousTask.h"
#include "TargetScript.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

// The script handed to the package's scripts, which run as root: its exact
// text, that the shell prints any folder back unchanged, and how it is
// written.
class tst_TargetScript : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }

    void writesExactText_data();
    void writesExactText();
    void shellPrintsTheFolderExactly_data();
    void shellPrintsTheFolderExactly();
    void refusesUnprintableFolders_data();
    void refusesUnprintableFolders();
    void refusesScriptNamesOutsideTheFolder_data();
    void refusesScriptNamesOutsideTheFolder();
    void writesAtomicallyWithMode0755();
    void unwritableFolderFails();

private:
    static int modeOf(const QString &path);
};

int tst_TargetScript::modeOf(const QString &path)
{
    struct stat status;
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0)
        return -1;
    return int(status.st_mode & 07777);
}

void tst_TargetScript::writesExactText_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("plain folder") << "/Applications/Example" << QByteArray("#!/bin/sh\necho \"/Applications/Example\"\n");
    QTest::newRow("spaces and non-ASCII")
        << QString::fromUtf8("/Applications/Caf\xc3\xa9 Folder")
        << QByteArray("#!/bin/sh\necho \"/Applications/Caf\xc3\xa9 Folder\"\n");
    QTest::newRow("quote") << "/A \"q\"" << QByteArray("#!/bin/sh\nprintf '%s\\n' '/A \"q\"'\n");
    QTest::newRow("apostrophe in a plain folder") << "/It's" << QByteArray("#!/bin/sh\necho \"/It's\"\n");
    QTest::newRow("apostrophe in another folder") << "/It's $x" << QByteArray("#!/bin/sh\nprintf '%s\\n' '/It'\\''s $x'\n");
    QTest::newRow("relative") << "Applications" << QByteArray("#!/bin/sh\nprintf '%s\\n' 'Applications'\n");
    QTest::newRow("tab") << "/A\tB" << QByteArray("#!/bin/sh\nprintf '%s\\n' '/A\tB'\n");
}

void tst_TargetScript::writesExactText()
{
    QFETCH(QString, folder);
    QFETCH(QByteArray, text);
    QCOMPARE(TargetScript::scriptText(folder), text);
}

void tst_TargetScript::shellPrintsTheFolderExactly_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("double quote") << "/Applications/A \"quoted\" name";
    QTest::newRow("command substitution") << "/Applications/$(touch pwned)";
    QTest::newRow("variable") << "/Applications/$HOME";
    QTest::newRow("backquote") << "/Applications/`touch pwned`";
    QTest::newRow("backslash c") << "/Applications/stop\\c here";
    QTest::newRow("backslash n") << "/Applications/a\\nb";
    QTest::newRow("apostrophe") << "/Applications/Designer's copy";
    QTest::newRow("apostrophes and more") << "/A/'; touch pwned; echo '";
    QTest::newRow("spaces") << "/Applications/Two  spaces ";
    QTest::newRow("leading dash") << "-n";
    QTest::newRow("percent") << "/Applications/100% %s";
    QTest::newRow("tab and escape") << "/A\tB\x1b[31m";
}

void tst_TargetScript::shellPrintsTheFolderExactly()
{
    QFETCH(QString, folder);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY2(TargetScript::write(dir.path(), "target.sh", folder, &error), qPrintable(error));
    std::optional<QByteArray> output;
    QCOMPARE(NTSynchronousTask::task("/bin/sh", dir.path(), {dir.filePath("target.sh")}, std::nullopt, &output), 0);
    QCOMPARE(*output, folder.toUtf8() + '\n');
    QVERIFY(!QFile::exists(dir.filePath("pwned")));
}

void tst_TargetScript::refusesUnprintableFolders_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("line feed") << "/Applications/a\nrm -rf /";
    QTest::newRow("carriage return") << "/Applications/a\rb";
    QTest::newRow("nul") << QString("/Applications/a") + QChar(0) + "b";
}

void tst_TargetScript::refusesUnprintableFolders()
{
    QFETCH(QString, folder);
    QCOMPARE(TargetScript::scriptText(folder), QByteArray());
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QString error;
    QVERIFY(!TargetScript::write(dir.path(), "target.sh", folder, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

void tst_TargetScript::refusesScriptNamesOutsideTheFolder_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("empty") << "";
    QTest::newRow("dot") << ".";
    QTest::newRow("dot dot") << "..";
    QTest::newRow("parent") << "../escaped.sh";
    QTest::newRow("subfolder") << "sub/target.sh";
    QTest::newRow("absolute") << "/escaped.sh";
    QTest::newRow("nul") << QString("a") + QChar(0) + "b";
}

void tst_TargetScript::refusesScriptNamesOutsideTheFolder()
{
    QFETCH(QString, name);
    QVERIFY(!TargetScript::isValidScriptName(name));
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath("scripts/sub"));
    QString error;
    QVERIFY(!TargetScript::write(dir.filePath("scripts"), name, "/Applications/Example", &error));
    QVERIFY(error.contains("Refused the script name"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(QDir(dir.filePath("scripts")).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(QDir(dir.filePath("scripts/sub")).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void tst_TargetScript::writesAtomicallyWithMode0755()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString script = dir.filePath("target.sh");
    // A link planted where the script goes is replaced, never written through.
    QFile victim(dir.filePath("victim"));
    QVERIFY(victim.open(QIODevice::WriteOnly));
    victim.write("keep");
    victim.close();
    QVERIFY(QFile::link(dir.filePath("victim"), script));

    const mode_t previous = ::umask(077);
    QString error;
    const bool first = TargetScript::write(dir.path(), "target.sh", "/Applications/One", &error);
    const bool second = TargetScript::write(dir.path(), "target.sh", "/Applications/Two", &error);
    ::umask(previous);
    QVERIFY2(first && second, qPrintable(error));

    QCOMPARE(modeOf(script), 0755);
    QFile written(script);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray("#!/bin/sh\necho \"/Applications/Two\"\n"));
    QFile kept(dir.filePath("victim"));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("keep"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), (QStringList{"target.sh", "victim"}));
}

void tst_TargetScript::unwritableFolderFails()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A folder below a file cannot be written, even by root.
    QFile file(dir.filePath("file"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QString error;
    QVERIFY(!TargetScript::write(dir.filePath("file/scripts"), "target.sh", "/Applications/Example", &error));
    QVERIFY(error.contains(dir.filePath("file/scripts")));
    QVERIFY(!TargetScript::write(dir.filePath("missing"), "target.sh", "/Applications/Example", &error));
}

QTEST_GUILESS_MAIN(tst_TargetScript)
#include "tst_TargetScript.moc"
