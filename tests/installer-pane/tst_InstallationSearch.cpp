#include "Bundle.h"
#include "InstallationSearch.h"
#include "InstallerException.h"
#include "PaneFixture.h"
#include "SystemLog.h"
#include "TaskStopper.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

using Candidates = QList<InstallationCandidate>;
Q_DECLARE_METATYPE(Candidates)

namespace QTest {
template<>
char *toString(const InstallationCandidate &candidate)
{
    return qstrdup(qPrintable(candidate.folder + QStringLiteral(" | ") + candidate.bundleName));
}
} // namespace QTest

// The installation search: its parsers over fixture text, the filter over
// fixture bundles, and whole searches over fake system programs.
class tst_InstallationSearch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void packsVersions_data();
    void packsVersions();
    void readsSystemProfilerLocations_data();
    void readsSystemProfilerLocations();
    void readsLsregisterRecords();
    void readsVpdLines();
    void walksFoldersInNameOrder();
    void decodesUtf8();

    void filtersCandidates();
    void malformedPredicateRemovesEveryCandidate();
    void anyFailureOfACheckDropsTheCandidate_data();
    void anyFailureOfACheckDropsTheCandidate();
    void failureEscapingTheFilterLeavesNoCandidates();

    void vpdFileComesFirst();
    void startsWithSystemProfilerWithoutVpdRule();
    void fallsBackToLsregister();
    void failingOrSilentProgramsGiveNothing();
    void badPatternSkipsOnlyItsSource();
    void missingOrBrokenRuleGivesNothing_data();
    void missingOrBrokenRuleGivesNothing();
    void stoppedSearchRunsNothing();
    void plantedFilesNeitherBlockNorPass_data();
    void plantedFilesNeitherBlockNorPass();

private:
    QStringList m_log;
};

void tst_InstallationSearch::initTestCase()
{
    TestEnvironment::isolate();
}

void tst_InstallationSearch::init()
{
    m_log.clear();
    SystemLog::setSink([this](const QString &message) { m_log.append(message); });
}

void tst_InstallationSearch::cleanup()
{
    SystemLog::setSink({});
}

void tst_InstallationSearch::packsVersions_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<quint64>("packed");
    QTest::newRow("13.1.2") << "13.1.2" << quint64(3659178992336896ull);
    QTest::newRow("1") << "1" << (quint64(1) << 48);
    QTest::newRow("four parts") << "1.2.3.4" << ((quint64(1) << 48) | (quint64(2) << 32) | (quint64(3) << 16) | 4);
    QTest::newRow("parts beyond the fourth dropped") << "13.1.2.5.9" << (quint64(3659178992336896ull) | 5);
    QTest::newRow("65536 carries into the part before") << "1.65536" << (quint64(2) << 48);
    QTest::newRow("65535 is the largest part") << "0.0.0.65535" << quint64(65535);
    QTest::newRow("not a number counts 0") << "abc.2" << (quint64(2) << 32);
    QTest::newRow("mixed part counts 0") << "13.1b2" << (quint64(13) << 48);
    QTest::newRow("empty") << "" << quint64(0);
    QTest::newRow("empty parts") << "1..2" << ((quint64(1) << 48) | (quint64(2) << 16));
}

void tst_InstallationSearch::packsVersions()
{
    QFETCH(QString, version);
    QFETCH(quint64, packed);
    QCOMPARE(InstallationSearch::packedVersion(version), packed);
}

void tst_InstallationSearch::readsSystemProfilerLocations_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<Candidates>("expected");
    QTest::newRow("four blanks") << "    Location: /Applications/Example Folder/Example.app"
                                 << Candidates{{"/Applications/Example Folder", "Example.app"}};
    QTest::newRow("deepest folder") << "Location:   /a/b/c/Example.app"
                                    << Candidates{{"/a/b/c", "Example.app"}};
    // The "?" after the bundle pattern lets the last character go.
    QTest::newRow("optional last character") << "  Location: /Apps/Example.ap" << Candidates{{"/Apps", "Example.ap"}};
    QTest::newRow("other application") << "  Location: /Apps/Other.app" << Candidates{};
    QTest::newRow("text after the bundle") << "  Location: /Apps/Example.app/Contents" << Candidates{};
    QTest::newRow("no blank after the colon") << "  Location:/Apps/Example.app" << Candidates{};
    QTest::newRow("other key") << "  Path: /Apps/Example.app" << Candidates{};
}

void tst_InstallationSearch::readsSystemProfilerLocations()
{
    QFETCH(QString, line);
    QFETCH(Candidates, expected);
    const QStringList lines{QStringLiteral("Applications:"), QString(), line, QStringLiteral("      Kind: Intel")};
    QCOMPARE(InstallationSearch::systemProfilerCandidates(lines, QStringLiteral("Example\\.app")), expected);
}

void tst_InstallationSearch::readsLsregisterRecords()
{
    const QByteArray dump = "Checking data integrity......done.\n"
                            "Status: Database is seeded.\n"
                            "--------------------------------------------------------------------------------\n"
                            "bundle\tid:            2140\n"
                            "\tpath:          /Applications/One/Example.app\n"
                            "\tname:          Example\n"
                            "--------------------------------------------------------------------------------\n"
                            "\tpath:          /Applications/Early/Example.app\n"
                            "bundle id: 2141\n"
                            "    path: /Applications/Two/Example.app/\n"
                            "    path: /Applications/Two/Other.app\n"
                            "------------------------------------------------------------\n"
                            "\tpath:          /Applications/AfterSeparator/Example.app\n"
                            "claim\tid:            3000\n"
                            "\tpath:          /Applications/Claim/Example.app\n";
    const Candidates found =
        InstallationSearch::lsregisterCandidates(InstallationSearch::textLines(dump), QStringLiteral("Example\\.app"));
    QCOMPARE(found, (Candidates{{"/Applications/One", "Example.app"}, {"/Applications/Two", "Example.app"}}));
}

void tst_InstallationSearch::readsVpdLines()
{
    const QStringList lines{QStringLiteral("Photoshop|13.0|/Applications/One|x"), QStringLiteral("Other|1|/B|x"),
                            QStringLiteral("Photoshop|12.0|/Applications/Two|x"), QStringLiteral("Photoshop||")};
    QCOMPARE(InstallationSearch::vpdFolders(lines, QStringLiteral("^Photoshop\\|[^|]*\\|(/[^|]+)\\|")),
             (QStringList{"/Applications/One", "/Applications/Two"}));
    QVERIFY_THROWS_EXCEPTION(InstallerException, InstallationSearch::vpdFolders(lines, QStringLiteral("(")));
}

void tst_InstallationSearch::walksFoldersInNameOrder()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    const QString top = fixture.path("Install");
    fixture.makeApp(top + "/b", "Example.app", {});
    fixture.makeApp(top + "/a/deeper", "Example.app", {});
    fixture.makeApp(top + "/c", "Example.app", {});
    QCOMPARE(InstallationSearch::firstBundleBelow(top, "Example\\.app"), QStringLiteral("a/deeper/Example.app"));
    QCOMPARE(InstallationSearch::firstBundleBelow(top, "^c/"), QStringLiteral("c/Example.app"));
    QCOMPARE(InstallationSearch::firstBundleBelow(top, "Missing\\.app"), QString());
    QCOMPARE(InstallationSearch::firstBundleBelow(fixture.path("nowhere"), "Example\\.app"), QString());

    // A link is listed but not followed, so a loop cannot trap the walk.
    const QString looped = fixture.path("Looped");
    QVERIFY(QDir().mkpath(looped));
    QVERIFY(QFile::link(looped, looped + "/self"));
    QCOMPARE(InstallationSearch::firstBundleBelow(looped, "Example\\.app"), QString());
}

void tst_InstallationSearch::decodesUtf8()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    const QString accented = fixture.path(QString::fromUtf8("Programme/Caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac"));
    const QString plain = fixture.path("Programme/Plain");
    fixture.makeApp(accented, "Example.app", PaneFixture::appInfo("com.example", "2.0"));
    fixture.makeApp(plain, "Example.app", PaneFixture::appInfo("com.example", "2.0"));
    fixture.makeProgram("system_profiler", "    Location: " + accented.toUtf8() + "/Example.app\n"
                                           "    Location: " + plain.toUtf8() + "/Example.app\n");
    fixture.makePackage(PaneFixture::rule("Example\\.app", "CFBundleIdentifier == 'com.example'", "t.sh"),
                        PaneFixture::englishStrings());

    // One application with a name outside ASCII keeps the whole source.
    const InstallationSearchResult result =
        InstallationSearch::run(Bundle::bundleWithPath(fixture.packagePath()), fixture.paths());
    QCOMPARE(result.candidates, (Candidates{{accented, "Example.app"}, {plain, "Example.app"}}));
    QVERIFY(m_log.isEmpty());
}

void tst_InstallationSearch::filtersCandidates()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.makeApp(fixture.path("V5"), "Example 5.app", PaneFixture::appInfo("com.example", "40.0.0.1"));
    fixture.makeApp(fixture.path("V6"), "Example 6.app", PaneFixture::appInfo("com.example", "41.0"));
    fixture.makeApp(fixture.path("Old"), "Example.app", PaneFixture::appInfo("com.example", "40.0.0.0"));
    fixture.makeApp(fixture.path("Other"), "Example.app", PaneFixture::appInfo("com.other", "20.0"));
    fixture.makeApp(fixture.path("Build"), "Example.app",
                    {{"CFBundleIdentifier", "com.example"}, {"CFBundleVersion", "13.1.2"}});
    const Candidates candidates{{fixture.path("V5"), "Example 5.app"}, {fixture.path("Missing"), "Example.app"},
                                {fixture.path("V6"), "Example 6.app"}, {fixture.path("Old"), "Example.app"},
                                {fixture.path("Other"), "Example.app"}, {fixture.path("V5"), "Example 6.app"}};
    // 40.0.0.1 packs above 2^53: only an exact integer comparison tells it
    // from 40.0.0.0.
    const QString predicate = "CFBundleIdentifier == 'com.example' AND CFBundleShortVersionString >= 11258999068426241";
    QCOMPARE(InstallationSearch::filter(candidates, predicate),
             (Candidates{{fixture.path("V5"), "Example 5.app"}, {fixture.path("V6"), "Example 6.app"}}));
    QVERIFY(InstallationSearch::satisfiesRule({fixture.path("Build"), "Example.app"},
                                              "CFBundleVersion == 3659178992336896"));
    QVERIFY(m_log.isEmpty());
}

void tst_InstallationSearch::malformedPredicateRemovesEveryCandidate()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.makeApp(fixture.path("A"), "Example.app", PaneFixture::appInfo("com.example", "1"));
    fixture.makeApp(fixture.path("B"), "Example.app", PaneFixture::appInfo("com.example", "1"));
    const Candidates candidates{{fixture.path("A"), "Example.app"}, {fixture.path("B"), "Example.app"}};
    QCOMPARE(InstallationSearch::filter(candidates, "CFBundleIdentifier =="), Candidates());
    QCOMPARE(m_log.size(), 2);
    QVERIFY(m_log.first().contains("Unable to parse the format string"));
    m_log.clear();
    QCOMPARE(InstallationSearch::filter(candidates, "CFBundleIdentifier > 3"), Candidates());
    QCOMPARE(m_log.size(), 2);
}

void tst_InstallationSearch::anyFailureOfACheckDropsTheCandidate_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("logged");
    QTest::newRow("installer exception") << "installer" << "NSInvalidArgumentException: no such key";
    QTest::newRow("standard exception") << "runtime" << "out of patience";
    QTest::newRow("out of memory") << "memory" << "bad_alloc";
    QTest::newRow("anything else") << "other" << "unknown exception";
}

void tst_InstallationSearch::anyFailureOfACheckDropsTheCandidate()
{
    QFETCH(QString, failure);
    QFETCH(QString, logged);
    const Candidates candidates{{"/A", "Example.app"}, {"/B", "Example.app"}, {"/C", "Example.app"}};
    const auto check = [&](const InstallationCandidate &candidate) {
        if (candidate.folder != "/B")
            return true;
        if (failure == "installer")
            throw InstallerException("NSInvalidArgumentException", "no such key");
        if (failure == "runtime")
            throw std::runtime_error("out of patience");
        if (failure == "memory")
            throw std::bad_alloc();
        throw 42;
    };
    QCOMPARE(InstallationSearch::filter(candidates, check),
             (Candidates{{"/A", "Example.app"}, {"/C", "Example.app"}}));
    QCOMPARE(m_log.size(), 1);
    QVERIFY2(m_log.first().contains(logged), qPrintable(m_log.first()));
}

void tst_InstallationSearch::failureEscapingTheFilterLeavesNoCandidates()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.makeApp(fixture.path("A"), "Example.app", PaneFixture::appInfo("com.example", "1"));
    fixture.makeApp(fixture.path("B"), "Example.app", PaneFixture::appInfo("com.example", "1"));
    fixture.makeProgram("system_profiler", "    Location: " + fixture.path("A").toUtf8() + "/Example.app\n"
                                           "    Location: " + fixture.path("B").toUtf8() + "/Example.app\n");
    // Every check raises; the first attempt to log that fails as well, so
    // the failure leaves the filter step altogether.
    fixture.makePackage(PaneFixture::rule("Example\\.app", "CFBundleIdentifier > 3", "t.sh"),
                        PaneFixture::englishStrings());
    bool failed = false;
    SystemLog::setSink([&](const QString &message) {
        if (!failed) {
            failed = true;
            throw std::runtime_error("the log is full");
        }
        m_log.append(message);
    });
    const InstallationSearchResult result =
        InstallationSearch::run(Bundle::bundleWithPath(fixture.packagePath()), fixture.paths());
    QVERIFY(failed);
    QCOMPARE(result.candidates, Candidates());
    QCOMPARE(m_log.size(), 1);
    QVERIFY2(m_log.first().contains("the log is full"), qPrintable(m_log.first()));
}

void tst_InstallationSearch::vpdFileComesFirst()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.makeApp(fixture.path("One/Sub"), "Example.app", PaneFixture::appInfo("com.example", "2"));
    fixture.makeApp(fixture.path("Two"), "Example.app", PaneFixture::appInfo("com.example", "2"));
    fixture.writeFile("vpd.properties", "Example|" + fixture.path("One").toUtf8() + "|1\n"
                                        "Unrelated|/nowhere|1\n"
                                        "Example|" + fixture.path("Empty").toUtf8() + "|1\n"
                                        "Example|" + fixture.path("Two").toUtf8() + "|1\n");
    fixture.makeProgram("system_profiler", "    Location: /elsewhere/Example.app\n");
    fixture.makeProgram("lsregister", "");
    fixture.makePackage(PaneFixture::rule("Example\\.app", "CFBundleIdentifier == 'com.example'", "t.sh",
                                          "^Example\\|([^|]+)\\|"),
                        PaneFixture::englishStrings());
    const InstallationSearchResult result =
        InstallationSearch::run(Bundle::bundleWithPath(fixture.packagePath()), fixture.paths());
    QCOMPARE(result.candidates,
             (Candidates{{fixture.path("One"), "Sub/Example.app"}, {fixture.path("Two"), "Example.app"}}));
    QCOMPARE(result.rule.scriptName, QStringLiteral("t.sh"));
    QCOMPARE(fixture.ranLog(), QStringList());
}

void tst_InstallationSearch::startsWithSystemProfilerWithoutVpdRule()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.makeApp(fixture.path("Apps"), "Example.app", PaneFixture::appInfo("com.example", "2"));
    fixture.writeFile("vpd.properties", "Example|" + fixture.path("Apps").toUtf8() + "|1\n");
    fixture.makeProgram("system_profiler", "    Location: " + fixture.path("Apps").toUtf8() + "/Example.app\n");
    fixture.makeProgram("lsregister", "");
    fixture.makePackage(PaneFixture::rule("Example\\.app", "TRUEPREDICATE", "t.sh"), PaneFixture::englishStrings());
    const InstallationSearchResult result =
        InstallationSearch::run(Bundle::bundleWithPath(fixture.packagePath()), fixture.paths());
    QCOMPARE(result.candidates, (Candidates{{fixture.path("Apps"), "Example.app"}}));
    QCOMPARE(fixture.ranLog(), (QStringList{"system_profiler SPApplicationsDataType"}));
}

void tst_InstallationSearch::fallsBackToLsregister()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.makeApp(fixture.path("Apps"), "Example.app", PaneFixture::appInfo("com.example", "2"));
    fixture.makeProgram("system_profiler", "Applications:\n");
    fixture.makeProgram("lsregister", "bundle id: 1\n\tpath: " + fixture.path("Apps").toUtf8() + "/Example.app\n"
                                      "bundle id: 2\n\tpath: " + fixture.path("Gone").toUtf8() + "/Example.app\n");
    fixture.makePackage(PaneFixture::rule("Example\\.app", "TRUEPREDICATE", "t.sh"), PaneFixture::englishStrings());
    const InstallationSearchResult result =
        InstallationSearch::run(Bundle::bundleWithPath(fixture.packagePath()), fixture.paths());
    QCOMPARE(result.candidates, (Candidates{{fixture.path("Apps"), "Example.app"}}));
    QCOMPARE(fixture.ranLog(), (QStringList{"system_profiler SPApplicationsDataType", "lsregister -dump"}));
}

void tst_InstallationSearch::failingOrSilentProgramsGiveNothing()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.makeApp(fixture.path("Apps"), "Example.app", PaneFixture::appInfo("com.example", "2"));
    const QByteArray location = "    Location: " + fixture.path("Apps").toUtf8() + "/Example.app\n";
    // A report that ends in failure is not used, however much it printed.
    fixture.makeProgram("system_profiler", location, 1);
    fixture.makeProgram("lsregister", "");
    fixture.makePackage(PaneFixture::rule("Example\\.app", "TRUEPREDICATE", "t.sh"), PaneFixture::englishStrings());
    const Bundle package = Bundle::bundleWithPath(fixture.packagePath());
    QCOMPARE(InstallationSearch::run(package, fixture.paths()).candidates, Candidates());

    // Programs that are not there at all.
    SystemPaths missing = fixture.paths();
    missing.systemProfiler = fixture.path("bin/none");
    missing.lsregister = QString();
    QCOMPARE(InstallationSearch::run(package, missing).candidates, Candidates());
    QVERIFY(m_log.isEmpty());
}

void tst_InstallationSearch::badPatternSkipsOnlyItsSource()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.makeApp(fixture.path("Apps"), "Example.app", PaneFixture::appInfo("com.example", "2"));
    fixture.writeFile("vpd.properties", "Example|" + fixture.path("Apps").toUtf8() + "|1\n");
    fixture.makeProgram("system_profiler", "    Location: " + fixture.path("Apps").toUtf8() + "/Example.app\n");
    fixture.makePackage(PaneFixture::rule("Example\\.app", "TRUEPREDICATE", "t.sh", "(unclosed"),
                        PaneFixture::englishStrings());
    const InstallationSearchResult result =
        InstallationSearch::run(Bundle::bundleWithPath(fixture.packagePath()), fixture.paths());
    QCOMPARE(result.candidates, (Candidates{{fixture.path("Apps"), "Example.app"}}));
    QCOMPARE(m_log.size(), 1);
    QVERIFY(m_log.first().contains("(unclosed"));
}

void tst_InstallationSearch::missingOrBrokenRuleGivesNothing_data()
{
    QTest::addColumn<QByteArray>("ruleFile");
    QTest::newRow("no rule file") << QByteArray();
    QTest::newRow("not a property list") << QByteArray("garbage");
    QTest::newRow("no Application Rule") << PaneFixture::plistXml(QVariantMap{{"Other", "x"}});
    QTest::newRow("rule is not a dictionary") << PaneFixture::plistXml(QVariantMap{{"Application Rule", "x"}});
}

void tst_InstallationSearch::missingOrBrokenRuleGivesNothing()
{
    QFETCH(QByteArray, ruleFile);
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.makeApp(fixture.path("Apps"), "Example.app", {});
    fixture.makeProgram("system_profiler", "    Location: " + fixture.path("Apps").toUtf8() + "/Example.app\n");
    fixture.makePackage(QVariant(), PaneFixture::englishStrings());
    if (!ruleFile.isNull())
        fixture.writeFile("Test.pkg/Contents/Resources/InstallScript.plist", ruleFile);
    const InstallationSearchResult result =
        InstallationSearch::run(Bundle::bundleWithPath(fixture.packagePath()), fixture.paths());
    QVERIFY(!result.rule.isValid);
    QCOMPARE(result.candidates, Candidates());
    QCOMPARE(fixture.ranLog(), QStringList());
}

void tst_InstallationSearch::stoppedSearchRunsNothing()
{
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.makeApp(fixture.path("Apps"), "Example.app", PaneFixture::appInfo("com.example", "2"));
    fixture.writeFile("vpd.properties", "Example|" + fixture.path("Apps").toUtf8() + "|1\n");
    fixture.makeProgram("system_profiler", "    Location: " + fixture.path("Apps").toUtf8() + "/Example.app\n");
    fixture.makePackage(PaneFixture::rule("Example\\.app", "TRUEPREDICATE", "t.sh", "^Example\\|([^|]+)\\|"),
                        PaneFixture::englishStrings());
    TaskStopper stopper;
    stopper.stop();
    const InstallationSearchResult result =
        InstallationSearch::run(Bundle::bundleWithPath(fixture.packagePath()), fixture.paths(), &stopper);
    QCOMPARE(result.candidates, Candidates());
    QCOMPARE(fixture.ranLog(), QStringList());
    QCOMPARE(m_log, QStringList{"The installation search was stopped"});
}

void tst_InstallationSearch::plantedFilesNeitherBlockNorPass_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"fifo", "link to /dev/zero", "too large"}) {
        QTest::addRow("VPD file, %s", kind) << "vpd.properties" << kind;
        QTest::addRow("Info.plist, %s", kind) << "Planted/Example.app/Contents/Info.plist" << kind;
    }
}

void tst_InstallationSearch::plantedFilesNeitherBlockNorPass()
{
    QFETCH(QString, file);
    QFETCH(QString, kind);
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    fixture.makeApp(fixture.path("Good"), "Example.app", PaneFixture::appInfo("com.example", "2"));
    QDir().mkpath(fixture.path("Planted/Example.app/Contents"));
    if (!file.startsWith("Planted"))
        fixture.makeApp(fixture.path("Planted"), "Example.app", PaneFixture::appInfo("com.other", "2"));
    QVERIFY(fixture.plant(file, kind, PaneFixture::plistXml(QVariantMap{{"CFBundleName", "Planted"}})));
    fixture.makeProgram("system_profiler", "    Location: " + fixture.path("Good").toUtf8() + "/Example.app\n"
                                           "    Location: " + fixture.path("Planted").toUtf8() + "/Example.app\n");
    // Passed by any Info.plist that names no other application, even an
    // empty one: a bundle whose Info.plist cannot be read must not pass.
    fixture.makePackage(PaneFixture::rule("Example\\.app", "CFBundleIdentifier != 'com.other'", "t.sh",
                                          "^Example\\|([^|]+)\\|"),
                        PaneFixture::englishStrings());

    QElapsedTimer timer;
    timer.start();
    const InstallationSearchResult result =
        InstallationSearch::run(Bundle::bundleWithPath(fixture.packagePath()), fixture.paths());
    QCOMPARE(result.candidates, (Candidates{{fixture.path("Good"), "Example.app"}}));
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(fixture.ranLog(), (QStringList{"system_profiler SPApplicationsDataType"}));
    if (file.startsWith("Planted")) {
        QCOMPARE(m_log.size(), 1);
        QVERIFY2(m_log.first().contains(fixture.path("Planted")), qPrintable(m_log.first()));
    }
}

QTEST_GUILESS_MAIN(tst_InstallationSearch)
#include "tst_InstallationSearch.moc"
