#include "InstallerHost.h"
#include "InstallerPane.h"
#include "InstallerWindow.h"
#include "PaneBundleLoader.h"
#include "PathwardenConstants.h"
#include "StringsTable.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A pane that records its hooks and can ask to move on while being entered.
class RecordingPane : public InstallerPane
{
public:
    using InstallerPane::InstallerPane;

    QStringList calls;
    int skipOnEntry = -1;
    bool nextOnEntry = true;

    QString title() const override { return QStringLiteral("Recording"); }

    void willEnterPane(Direction direction) override
    {
        calls << QStringLiteral("will enter %1").arg(direction);
        if (!nextOnEntry)
            setNextEnabled(false);
        if (skipOnEntry == Forward)
            gotoNextPane();
        else if (skipOnEntry == Backward)
            gotoPreviousPane();
        // Still inside willEnterPane: the installer has not moved yet.
        calls << QStringLiteral("will enter returns on page %1").arg(host()->currentPage());
    }
    void didEnterPane(Direction direction) override { calls << QStringLiteral("did enter %1").arg(direction); }
    void didExitPane(Direction direction) override { calls << QStringLiteral("did exit %1").arg(direction); }
};

} // namespace

// The stand-in installer: page order, button states, skipping from inside
// willEnterPane, loading a pane bundle, and its window.
class tst_InstallerHost : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }

    void walksThePages();
    void carriesOutASkipAfterWillEnterReturns_data();
    void carriesOutASkipAfterWillEnterReturns();
    void refusesDisabledButtons();
    void paneMovesOnByItself();
    void loadsTheSamplePaneBundle();
    void sampleTablesHoldEveryMessage_data();
    void sampleTablesHoldEveryMessage();
    void reportsBrokenBundles();
    void windowFollowsTheButtons();

private:
    static RecordingPane *addPane(InstallerHost &host);
};

RecordingPane *tst_InstallerHost::addPane(InstallerHost &host)
{
    auto pane = std::make_unique<RecordingPane>(&host);
    RecordingPane *raw = pane.get();
    host.setPane(std::move(pane));
    return raw;
}

void tst_InstallerHost::walksThePages()
{
    InstallerHost host;
    RecordingPane *pane = addPane(host);
    QSignalSpy pages(&host, &InstallerHost::pageChanged);
    host.start();
    QCOMPARE(host.currentPage(), int(InstallerHost::IntroductionPage));
    QVERIFY(!host.isPreviousEnabled());
    QVERIFY(host.isNextEnabled());

    QVERIFY(host.goNext());
    QCOMPARE(host.currentPage(), int(InstallerHost::PanePage));
    QCOMPARE(host.pageTitle(InstallerHost::PanePage), QStringLiteral("Recording"));
    QCOMPARE(host.pageContentView(InstallerHost::PanePage), pane->contentView());
    QVERIFY(pane->isCurrentPane());
    QVERIFY(host.goNext());
    QCOMPARE(host.currentPage(), int(InstallerHost::InstallPage));
    QVERIFY(!host.isNextEnabled());
    QVERIFY(!host.goNext());
    QVERIFY(host.goPrevious());
    QVERIFY(host.goPrevious());

    QCOMPARE(pane->calls, (QStringList{"will enter 0", "will enter returns on page 1", "did enter 0", "did exit 0",
                                      "will enter 1", "will enter returns on page 1", "did enter 1", "did exit 1"}));
    QCOMPARE(host.navigationLog(),
             (QStringList{"Introduction entered", "pane will enter forward", "pane entered forward",
                          "pane exited forward", "Installation entered", "pane will enter backward",
                          "pane entered backward", "pane exited backward", "Introduction entered"}));
    QCOMPARE(pages.size(), 5);
}

void tst_InstallerHost::carriesOutASkipAfterWillEnterReturns_data()
{
    QTest::addColumn<int>("enterFrom");
    QTest::addColumn<int>("skip");
    QTest::addColumn<int>("landsOn");
    QTest::newRow("forward") << int(InstallerHost::IntroductionPage) << int(InstallerPane::Forward)
                             << int(InstallerHost::InstallPage);
    QTest::newRow("backward") << int(InstallerHost::InstallPage) << int(InstallerPane::Backward)
                              << int(InstallerHost::IntroductionPage);
    QTest::newRow("back while going forward") << int(InstallerHost::IntroductionPage) << int(InstallerPane::Backward)
                                              << int(InstallerHost::IntroductionPage);
}

void tst_InstallerHost::carriesOutASkipAfterWillEnterReturns()
{
    QFETCH(int, enterFrom);
    QFETCH(int, skip);
    QFETCH(int, landsOn);
    InstallerHost host;
    RecordingPane *pane = addPane(host);
    host.start();
    if (enterFrom == InstallerHost::InstallPage) {
        host.goNext();
        host.goNext();
    }
    pane->calls.clear();
    pane->skipOnEntry = skip;
    QVERIFY(enterFrom == InstallerHost::IntroductionPage ? host.goNext() : host.goPrevious());
    QCOMPARE(host.currentPage(), landsOn);
    // Entered but never shown: no didEnter, and so no didExit either.
    QCOMPARE(pane->calls.size(), 2);
    QVERIFY(pane->calls.at(1).endsWith("on page 1"));
    QCOMPARE(host.navigationLog().mid(host.navigationLog().size() - 2).first(),
             QStringLiteral("pane skipped ") + (skip == InstallerPane::Forward ? "forward" : "backward"));
}

void tst_InstallerHost::refusesDisabledButtons()
{
    InstallerHost host;
    RecordingPane *pane = addPane(host);
    pane->nextOnEntry = false;
    host.start();
    QVERIFY(!host.goPrevious());
    QVERIFY(host.goNext());
    QVERIFY(!host.isNextEnabled());
    QVERIFY(!host.goNext());
    QCOMPARE(host.currentPage(), int(InstallerHost::PanePage));
    // Each entry starts with the buttons on; the pane turns Next off again.
    QVERIFY(host.goPrevious());
    QVERIFY(host.isNextEnabled());
}

void tst_InstallerHost::paneMovesOnByItself()
{
    InstallerHost host;
    RecordingPane *pane = addPane(host);
    QVERIFY(!pane->gotoNextPane());
    host.start();
    QVERIFY(!pane->gotoNextPane());
    host.goNext();
    QVERIFY(pane->gotoNextPane());
    QCOMPARE(host.currentPage(), int(InstallerHost::InstallPage));
    QCOMPARE(pane->calls.last(), QStringLiteral("did exit 0"));
    QVERIFY(!pane->isCurrentPane());
}

void tst_InstallerHost::loadsTheSamplePaneBundle()
{
    InstallerHost host;
    QString error;
    std::unique_ptr<InstallerPane> pane =
        PaneBundleLoader::load(PATHWARDEN_SAMPLE_PACKAGE "/Contents/Plugins/Pathwarden.bundle", &host, &error);
    QVERIFY2(pane, qPrintable(error));
    QCOMPARE(pane->host(), &host);
    QCOMPARE(QString::fromLatin1(pane->metaObject()->className()), QStringLiteral("PathwardenPane"));
    QCOMPARE(pane->title(), QStringLiteral("Target application"));
}

void tst_InstallerHost::sampleTablesHoldEveryMessage_data()
{
    QTest::addColumn<QString>("key");
    for (const QString &key : {PWTMsgKeyPanelTitle, PWTMsgKeyLookingForApp, PWTMsgKeySuccess, PWTMsgKeyFoundAppPath,
                               PWTMsgKeyFailure, PWTMsgMoreThanOneAppFound, PWTMsgKeyTargetNotRecorded})
        QTest::newRow(qPrintable(key)) << key;
}

void tst_InstallerHost::sampleTablesHoldEveryMessage()
{
    QFETCH(QString, key);
    const QString resources = PATHWARDEN_SAMPLE_PACKAGE "/Contents/Resources/";
    QString error;
    const QHash<QString, QString> english =
        StringsTable::fromFile(resources + "en.lproj/" + PWTLocalizedStringsTableName + ".strings", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QHash<QString, QString> german =
        StringsTable::fromFile(resources + "de.lproj/" + PWTLocalizedStringsTableName + ".strings", &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!english.value(key).isEmpty());
    QVERIFY(!german.value(key).isEmpty());
    QVERIFY(english.value(key) != german.value(key));
}

void tst_InstallerHost::reportsBrokenBundles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    auto write = [&](const QString &relative, const QByteArray &bytes) {
        QDir().mkpath(QFileInfo(dir.filePath(relative)).path());
        QFile file(dir.filePath(relative));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    const QByteArray info = "<plist><dict><key>CFBundleExecutable</key><string>Pane</string></dict></plist>";
    write("NoInfo.bundle/Contents/MacOS/Pane", "x");
    write("NoLibrary.bundle/Contents/Info.plist", info);
    write("NotALibrary.bundle/Contents/Info.plist", info);
    write("NotALibrary.bundle/Contents/MacOS/Pane", "not a shared library");
    write("Escaping.bundle/Contents/Info.plist",
          "<plist><dict><key>CFBundleExecutable</key><string>../../x</string></dict></plist>");

    InstallerHost host;
    for (const char *name : {"Missing.bundle", "NoInfo.bundle", "NoLibrary.bundle", "NotALibrary.bundle",
                                "Escaping.bundle"}) {
        QString error;
        QVERIFY(!PaneBundleLoader::load(dir.filePath(name), &host, &error));
        QVERIFY2(!error.isEmpty(), qPrintable(name));
    }
}

void tst_InstallerHost::windowFollowsTheButtons()
{
    InstallerHost host;
    RecordingPane *pane = addPane(host);
    pane->nextOnEntry = false;
    host.start();
    {
        InstallerWindow window(&host);
        QVERIFY(!window.backButton()->isEnabled());
        QVERIFY(window.continueButton()->isEnabled());
        QTest::mouseClick(window.continueButton(), Qt::LeftButton);
        QCOMPARE(host.currentPage(), int(InstallerHost::PanePage));
        QVERIFY(window.backButton()->isEnabled());
        QVERIFY(!window.continueButton()->isEnabled());
        QCOMPARE(pane->contentView()->parentWidget()->window(), &window);
    }
    // The window gives the pages' views back when it goes.
    QVERIFY(pane->contentView());
    QCOMPARE(pane->contentView()->parentWidget(), nullptr);
}

QTEST_MAIN(tst_InstallerHost)
#include "tst_InstallerHost.moc"
