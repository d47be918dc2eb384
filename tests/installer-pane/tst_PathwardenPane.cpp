#include "BusyIndicator.h"
#include "InstallerHost.h"
#include "InstallerWindow.h"
#include "PaneFixture.h"
#include "PathwardenPane.h"
#include "RadioColumn.h"
#include "SystemLog.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/stat.h>

// The pane end to end in the stand-in installer, over a fixture machine with
// fake system programs: what it shows, its buttons, and the script it writes.
class tst_PathwardenPane : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }
    void init();
    void cleanup();

    void oneInstallationIsRecordedAndSkippedOnReturn();
    void severalInstallationsAreListed();
    void noInstallationKeepsNextOff();
    void missingTextsShowTheirKeys_data();
    void missingTextsShowTheirKeys();
    void missingRuleFindsNothing();
    void refusedScriptNameKeepsNextOff_data();
    void refusedScriptNameKeepsNextOff();
    void unrecordedTargetIsExplained_data();
    void unrecordedTargetIsExplained();
    void unwritableScriptFolderKeepsNextOffUntilAWriteSucceeds();
    void unrecordedSingleInstallationIsNotSkipped();
    void ruleWithoutScriptNameOnlyChecks();
    void longFolderNamesStayOnScreen_data();
    void longFolderNamesStayOnScreen();
    void closingThePaneEndsAHungProgram_data();
    void closingThePaneEndsAHungProgram();

private:
    // The fixture's package with the usual rule for "Example.app" from
    // "com.example", and the given script name.
    void makeMachine(const QStringList &folders, const QString &scriptName = QStringLiteral("install-target.sh"));
    // Enters the pane in a new installer and waits for the search.
    void enterPane(bool waitForSearch = true);
    QString message() const;
    RadioColumn *list() const;
    QScrollArea *scroller() const;
    QByteArray script(const QString &name = QStringLiteral("install-target.sh")) const;
    int scriptMode(const QString &name = QStringLiteral("install-target.sh")) const;
    QStringList navigationTail(int count) const;

    std::unique_ptr<PaneFixture> m_fixture;
    std::unique_ptr<InstallerHost> m_host;
    PathwardenPane *m_pane = nullptr;
    QStringList m_log;
};

void tst_PathwardenPane::init()
{
    m_fixture = std::make_unique<PaneFixture>();
    QVERIFY(m_fixture->isValid());
    m_log.clear();
    SystemLog::setSink([this](const QString &message) { m_log.append(message); });
}

void tst_PathwardenPane::cleanup()
{
    m_host.reset();
    m_pane = nullptr;
    m_fixture.reset();
    SystemLog::setSink({});
}

void tst_PathwardenPane::makeMachine(const QStringList &folders, const QString &scriptName)
{
    QByteArray report = "Applications:\n\n";
    for (const QString &folder : folders) {
        m_fixture->makeApp(m_fixture->path(folder), "Example.app", PaneFixture::appInfo("com.example", "2.0"));
        report += "    Example:\n\n      Location: " + m_fixture->path(folder).toUtf8() + "/Example.app\n\n";
    }
    m_fixture->makeProgram("system_profiler", report);
    m_fixture->makeProgram("lsregister", "");
    m_fixture->makePackage(PaneFixture::rule("Example\\.app", "CFBundleIdentifier == 'com.example'", scriptName),
                           PaneFixture::englishStrings());
}

void tst_PathwardenPane::enterPane(bool waitForSearch)
{
    m_host = std::make_unique<InstallerHost>(m_fixture->paths());
    auto pane = std::make_unique<PathwardenPane>(m_host.get(), Bundle::bundleWithPath(m_fixture->pluginBundlePath()));
    m_pane = pane.get();
    m_host->setPane(std::move(pane));
    m_host->start();
    QSignalSpy ended(m_pane, &PathwardenPane::searchEnded);
    QVERIFY(m_host->goNext());
    QCOMPARE(m_host->currentPage(), int(InstallerHost::PanePage));
    if (waitForSearch) {
        QVERIFY(ended.wait(10000));
        QVERIFY(m_pane->isAppChecked());
    }
}

QString tst_PathwardenPane::message() const
{
    return m_pane->contentView()->findChild<QLabel *>("messageText")->text();
}

RadioColumn *tst_PathwardenPane::list() const
{
    return m_pane->contentView()->findChild<RadioColumn *>("radioGroup");
}

QScrollArea *tst_PathwardenPane::scroller() const
{
    return m_pane->contentView()->findChild<QScrollArea *>("scroller");
}

QByteArray tst_PathwardenPane::script(const QString &name) const
{
    QFile file(m_fixture->scriptPath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int tst_PathwardenPane::scriptMode(const QString &name) const
{
    struct stat status;
    if (::stat(QFile::encodeName(m_fixture->scriptPath(name)).constData(), &status) != 0)
        return -1;
    return int(status.st_mode & 07777);
}

QStringList tst_PathwardenPane::navigationTail(int count) const
{
    const QStringList log = m_host->navigationLog();
    return log.mid(log.size() - count);
}

void tst_PathwardenPane::oneInstallationIsRecordedAndSkippedOnReturn()
{
    makeMachine({"Apps/One"});
    enterPane(false);
    // While searching: the spinner turns and the user can go nowhere.
    auto *spinner = m_pane->contentView()->findChild<BusyIndicator *>();
    QVERIFY(spinner->isAnimating());
    QVERIFY(!spinner->isHidden());
    QCOMPARE(message(), QStringLiteral("CheckingForApp text"));
    QCOMPARE(m_host->pageTitle(InstallerHost::PanePage), QStringLiteral("PaneTitle text"));
    QVERIFY(!m_host->isPreviousEnabled());
    QVERIFY(!m_host->isNextEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(m_pane->isAppChecked(), 10000);

    const QString folder = m_fixture->path("Apps/One");
    QCOMPARE(message(), "CheckingForAppSuccess text\nTargetAppPath text " + folder);
    QVERIFY(scroller()->isHidden());
    QVERIFY(!spinner->isAnimating());
    QVERIFY(spinner->isHidden());
    QVERIFY(m_host->isPreviousEnabled());
    QVERIFY(m_host->isNextEnabled());
    QCOMPARE(script(), "#!/bin/sh\necho \"" + folder.toUtf8() + "\"\n");
    QCOMPARE(scriptMode(), 0755);
    // Built by the main thread, not by the search.
    QCOMPARE(list()->cellAt(0)->thread(), QCoreApplication::instance()->thread());

    QVERIFY(m_host->goNext());
    QCOMPARE(m_host->currentPage(), int(InstallerHost::InstallPage));
    QVERIFY(m_host->goPrevious());
    QCOMPARE(m_host->currentPage(), int(InstallerHost::IntroductionPage));
    QCOMPARE(navigationTail(3), (QStringList{"pane will enter backward", "pane skipped backward", "Introduction entered"}));
    QVERIFY(m_host->goNext());
    QCOMPARE(m_host->currentPage(), int(InstallerHost::InstallPage));
    QCOMPARE(navigationTail(2), (QStringList{"pane skipped forward", "Installation entered"}));
    QCOMPARE(m_fixture->ranLog(), (QStringList{"system_profiler SPApplicationsDataType"}));
    QVERIFY(m_log.isEmpty());
}

void tst_PathwardenPane::severalInstallationsAreListed()
{
    makeMachine({"Apps/One", "Apps/Two", "Apps/Three"});
    enterPane();
    const QString third = m_fixture->path("Apps/Three");
    QCOMPARE(message(), QStringLiteral("MoreThanOneApp text"));
    QVERIFY(!scroller()->isHidden());
    RadioColumn *column = list();
    QCOMPARE(column->numberOfRows(), 3);
    QCOMPARE(column->titleOfCell(0), m_fixture->path("Apps/One"));
    QCOMPARE(column->titleOfCell(2), third);
    QCOMPARE(column->tagOfCell(2), 2);
    QCOMPARE(column->selectedRow(), 0);
    // Shown, the list spans the visible width, however it was sized before.
    m_pane->contentView()->resize(500, 300);
    m_pane->contentView()->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_pane->contentView()));
    QCOMPARE(column->cellAt(2)->width(), scroller()->viewport()->width());
    QVERIFY(column->height() >= RadioColumn::heightForRows(3));
    QCOMPARE(column->cellAt(2)->geometry(), RadioColumn::cellRect(2, column->width()));
    QCOMPARE(script(), "#!/bin/sh\necho \"" + m_fixture->path("Apps/One").toUtf8() + "\"\n");
    QVERIFY(m_host->isNextEnabled());

    QTest::mouseClick(column->cellAt(2), Qt::LeftButton, {}, QPoint(8, RadioColumn::CellHeight / 2));
    QCOMPARE(column->selectedRow(), 2);
    QCOMPARE(script(), "#!/bin/sh\necho \"" + third.toUtf8() + "\"\n");
    QCOMPARE(scriptMode(), 0755);
    QVERIFY(m_host->isNextEnabled());

    // Coming back shows the list again, with the last choice standing.
    QVERIFY(m_host->goNext());
    QVERIFY(m_host->goPrevious());
    QCOMPARE(m_host->currentPage(), int(InstallerHost::PanePage));
    QVERIFY(m_host->isNextEnabled());
    QCOMPARE(list()->selectedRow(), 2);
    QCOMPARE(script(), "#!/bin/sh\necho \"" + third.toUtf8() + "\"\n");
}

void tst_PathwardenPane::noInstallationKeepsNextOff()
{
    makeMachine({});
    m_fixture->makeApp(m_fixture->path("Old"), "Example.app", PaneFixture::appInfo("com.other", "2.0"));
    m_fixture->makeProgram("system_profiler", "    Location: " + m_fixture->path("Old").toUtf8() + "/Example.app\n");
    enterPane();
    QCOMPARE(message(), QStringLiteral("CheckingForAppFail text"));
    QVERIFY(m_host->isPreviousEnabled());
    QVERIFY(!m_host->isNextEnabled());
    QVERIFY(scroller()->isHidden());
    QVERIFY(!QFile::exists(m_fixture->scriptPath("install-target.sh")));

    QVERIFY(m_host->goPrevious());
    QVERIFY(m_host->goNext());
    QCOMPARE(m_host->currentPage(), int(InstallerHost::PanePage));
    QVERIFY(!m_host->isNextEnabled());
    QVERIFY(!m_host->goNext());
    QCOMPARE(message(), QStringLiteral("CheckingForAppFail text"));
    // The search ran once: the report named a candidate, so the dump was not
    // needed, and re-entering did not search again.
    QCOMPARE(m_fixture->ranLog(), (QStringList{"system_profiler SPApplicationsDataType"}));
}

void tst_PathwardenPane::missingTextsShowTheirKeys_data()
{
    QTest::addColumn<bool>("tableFile");
    QTest::newRow("empty table") << true;
    QTest::newRow("no table") << false;
}

void tst_PathwardenPane::missingTextsShowTheirKeys()
{
    QFETCH(bool, tableFile);
    makeMachine({});
    m_fixture->writeFile("Test.pkg/Contents/Resources/en.lproj/InstallerStrings.strings", "");
    if (!tableFile)
        QVERIFY(QFile::remove(m_fixture->path("Test.pkg/Contents/Resources/en.lproj/InstallerStrings.strings")));
    enterPane(false);
    QCOMPARE(m_host->pageTitle(InstallerHost::PanePage), QStringLiteral("PANETITLE"));
    QCOMPARE(message(), QStringLiteral("CHECKINGFORAPP"));
    QTRY_VERIFY_WITH_TIMEOUT(m_pane->isAppChecked(), 10000);
    QCOMPARE(message(), QStringLiteral("CHECKINGFORAPPFAIL"));
}

void tst_PathwardenPane::missingRuleFindsNothing()
{
    makeMachine({"Apps/One"});
    QVERIFY(QFile::remove(m_fixture->path("Test.pkg/Contents/Resources/InstallScript.plist")));
    enterPane();
    QCOMPARE(message(), QStringLiteral("CheckingForAppFail text"));
    QVERIFY(!m_host->isNextEnabled());
    QCOMPARE(m_fixture->ranLog(), QStringList());
}

void tst_PathwardenPane::refusedScriptNameKeepsNextOff_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("parent folder") << "../escaped.sh";
    QTest::newRow("empty") << "";
    QTest::newRow("dot dot") << "..";
}

void tst_PathwardenPane::refusedScriptNameKeepsNextOff()
{
    QFETCH(QString, name);
    makeMachine({"Apps/One"}, name);
    enterPane();
    QVERIFY(!m_host->isNextEnabled());
    QCOMPARE(m_log.size(), 1);
    QVERIFY(m_log.first().contains("Refused the script name"));
    QCOMPARE(QDir(m_fixture->paths().scriptFolder).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(!QFile::exists(m_fixture->path("escaped.sh")));
}

void tst_PathwardenPane::unrecordedTargetIsExplained_data()
{
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<QString>("scriptName");
    QTest::addColumn<bool>("folderWritable");
    QTest::newRow("one, script folder not writable") << QStringList{"Apps/One"} << "install-target.sh" << false;
    QTest::newRow("one, script name refused") << QStringList{"Apps/One"} << "../escaped.sh" << true;
    QTest::newRow("two, script folder not writable") << QStringList{"Apps/One", "Apps/Two"} << "install-target.sh"
                                                     << false;
    QTest::newRow("two, script name refused") << QStringList{"Apps/One", "Apps/Two"} << "../escaped.sh" << true;
}

void tst_PathwardenPane::unrecordedTargetIsExplained()
{
    QFETCH(QStringList, folders);
    QFETCH(QString, scriptName);
    QFETCH(bool, folderWritable);
    makeMachine(folders, scriptName);
    if (!folderWritable) {
        // A folder below a file: not writable, even for root.
        m_fixture->writeFile("blocker", "file");
        m_fixture->paths().scriptFolder = m_fixture->path("blocker/scripts");
    }
    enterPane();
    // Not the success line: the user learns why Continue stays off.
    if (folders.size() == 1)
        QCOMPARE(message(), "TargetNotRecorded text\nTargetAppPath text " + m_fixture->path(folders.first()));
    else
        QCOMPARE(message(), QStringLiteral("TargetNotRecorded text\nMoreThanOneApp text"));
    QVERIFY(!m_host->isNextEnabled());
    QVERIFY(m_host->isPreviousEnabled());
    QCOMPARE(scroller()->isHidden(), folders.size() == 1);
    QCOMPARE(m_log.size(), 1);

    // Entering again keeps both the text and Continue off.
    QVERIFY(m_host->goPrevious());
    QVERIFY(m_host->goNext());
    QCOMPARE(m_host->currentPage(), int(InstallerHost::PanePage));
    QVERIFY(!m_host->isNextEnabled());
    QVERIFY(message().startsWith("TargetNotRecorded text\n"));
}

void tst_PathwardenPane::unwritableScriptFolderKeepsNextOffUntilAWriteSucceeds()
{
    makeMachine({"Apps/One", "Apps/Two"});
    // A folder below a file: not writable, even for root.
    m_fixture->writeFile("blocker", "file");
    m_fixture->paths().scriptFolder = m_fixture->path("blocker/scripts");
    enterPane();
    QCOMPARE(message(), QStringLiteral("TargetNotRecorded text\nMoreThanOneApp text"));
    QVERIFY(!m_host->isNextEnabled());
    QCOMPARE(m_log.size(), 1);
    QVERIFY(m_log.first().contains(m_fixture->path("blocker/scripts")));

    // Re-entering does not turn Next on by itself.
    QVERIFY(m_host->goPrevious());
    QVERIFY(m_host->goNext());
    QVERIFY(!m_host->isNextEnabled());

    QVERIFY(QFile::remove(m_fixture->path("blocker")));
    QVERIFY(QDir().mkpath(m_fixture->path("blocker/scripts")));
    QTest::mouseClick(list()->cellAt(1), Qt::LeftButton, {}, QPoint(8, RadioColumn::CellHeight / 2));
    QVERIFY(m_host->isNextEnabled());
    QCOMPARE(message(), QStringLiteral("MoreThanOneApp text"));
    QCOMPARE(script(), "#!/bin/sh\necho \"" + m_fixture->path("Apps/Two").toUtf8() + "\"\n");
}

void tst_PathwardenPane::unrecordedSingleInstallationIsNotSkipped()
{
    makeMachine({"Apps/One"});
    m_fixture->writeFile("blocker", "file");
    m_fixture->paths().scriptFolder = m_fixture->path("blocker/scripts");
    enterPane();
    QVERIFY(!m_host->isNextEnabled());
    QVERIFY(m_host->goPrevious());
    QVERIFY(m_host->goNext());
    QCOMPARE(m_host->currentPage(), int(InstallerHost::PanePage));
    QVERIFY(!m_host->isNextEnabled());
}

void tst_PathwardenPane::ruleWithoutScriptNameOnlyChecks()
{
    makeMachine({"Apps/One"}, QString());
    enterPane();
    QCOMPARE(message(), "CheckingForAppSuccess text\nTargetAppPath text " + m_fixture->path("Apps/One"));
    QVERIFY(m_host->isNextEnabled());
    QCOMPARE(list()->numberOfRows(), 0);
    QCOMPARE(QDir(m_fixture->paths().scriptFolder).entryList(QDir::Files | QDir::Hidden), QStringList());
    QVERIFY(m_log.isEmpty());
}

void tst_PathwardenPane::longFolderNamesStayOnScreen_data()
{
    QTest::addColumn<QStringList>("folders");
    // Each below the 255 bytes a folder name may have.
    const QString words = QStringLiteral("Long Folder Name ").repeated(14).trimmed();
    const QString unbroken = QString(250, QLatin1Char('x'));
    QTest::newRow("one, long with blanks") << QStringList{"Apps/" + words};
    QTest::newRow("one, long without blanks") << QStringList{"Apps/" + unbroken};
    QTest::newRow("one, long path of short folders") << QStringList{"Apps" + QStringLiteral("/abc").repeated(60)};
    QTest::newRow("three, long without blanks")
        << QStringList{"Apps/" + unbroken + "/One", "Apps/" + unbroken + "/Two", "Apps/" + unbroken + "/Three"};
}

void tst_PathwardenPane::longFolderNamesStayOnScreen()
{
    QFETCH(QStringList, folders);
    makeMachine(folders);
    enterPane();
    InstallerWindow window(m_host.get());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect screen = window.screen()->availableGeometry();
    QVERIFY2(screen.contains(window.frameGeometry()),
             qPrintable(QStringLiteral("window %1 x %2").arg(window.frameGeometry().width()).arg(window.height())));
    for (const QPushButton *button : {window.backButton(), window.continueButton()}) {
        QVERIFY(button->isVisible());
        QVERIFY(screen.contains(QRect(button->mapToGlobal(QPoint(0, 0)), button->size())));
    }

    // The message wraps within the window and shows every line.
    auto *text = m_pane->contentView()->findChild<QLabel *>("messageText");
    QVERIFY(text->isVisible());
    QVERIFY(QRect(QPoint(0, 0), window.size()).contains(QRect(text->mapTo(&window, QPoint(0, 0)), text->size())));
    QVERIFY2(text->heightForWidth(text->width()) <= text->height(),
             qPrintable(QStringLiteral("%1 needs %2").arg(text->height()).arg(text->heightForWidth(text->width()))));
    if (folders.size() == 1)
        QCOMPARE(message(), "CheckingForAppSuccess text\nTargetAppPath text " + m_fixture->path(folders.first()));

    // Rows too long for the list are shortened in the middle, keeping the
    // ends that tell them apart; the full folder stays in the tool tip.
    RadioColumn *column = list();
    QCOMPARE(column->isVisible(), folders.size() > 1);
    for (int row = 0; row < column->numberOfRows() && column->isVisible(); ++row) {
        QRadioButton *cell = column->cellAt(row);
        QVERIFY2(cell->sizeHint().width() <= cell->width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(cell->sizeHint().width()).arg(cell->width())));
        QCOMPARE(column->titleOfCell(row), m_fixture->path(folders.at(row)));
        QCOMPARE(cell->toolTip(), m_fixture->path(folders.at(row)));
        QVERIFY(cell->text().endsWith(folders.at(row).section('/', -1)));
    }
}

void tst_PathwardenPane::closingThePaneEndsAHungProgram_data()
{
    QTest::addColumn<QString>("behaviour");
    QTest::newRow("ends when asked to") << "while :; do sleep 1; done";
    // Killed once the grace period is over.
    QTest::newRow("ignores the request to end") << "trap '' TERM; while :; do sleep 1; done";
    // Its own child keeps the output open: the whole group goes.
    QTest::newRow("child holds the output") << "sleep 600 & while :; do sleep 1; done";
}

void tst_PathwardenPane::closingThePaneEndsAHungProgram()
{
    QFETCH(QString, behaviour);
    makeMachine({"Apps/One"});
    const QString pidFile = m_fixture->path("hung.pid");
    m_fixture->makeProgram("system_profiler", "", 0, "echo $$ > '" + pidFile + "'\n" + behaviour);
    enterPane(false);
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pidFile).size() > 0, 10000);
    QFile file(pidFile);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const pid_t program = pid_t(file.readAll().trimmed().toInt());
    QVERIFY(program > 0);
    QCOMPARE(::kill(program, 0), 0);

    // The installer quits while the search waits for the program: the pane
    // ends the program and waits for its search thread before it is gone.
    QElapsedTimer timer;
    timer.start();
    m_host.reset();
    m_pane = nullptr;
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    // Ended and reaped by then, with no waiting here.
    QCOMPARE(::kill(program, 0), -1);
    QCOMPARE(errno, ESRCH);
    QTRY_COMPARE_WITH_TIMEOUT(PaneFixture::livingProcessesInGroup(program), 0, 5000);
    QVERIFY2(m_log.join('\n').contains("stopped"), qPrintable(m_log.join('\n')));
}

QTEST_MAIN(tst_PathwardenPane)
#include "tst_PathwardenPane.moc"
