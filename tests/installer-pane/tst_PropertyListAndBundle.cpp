#include "Bundle.h"
#include "PaneFixture.h"
#include "PropertyList.h"
#include "StringsTable.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Property lists, strings tables and bundle look-ups: what a package and an
// application bundle bring, read without trusting them.
class tst_PropertyListAndBundle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { TestEnvironment::isolate(); }

    void readsEveryValueType();
    void refusesBrokenPropertyLists_data();
    void refusesBrokenPropertyLists();
    void doesNotExpandExternalEntities();
    void refusesEntityDeclarations_data();
    void refusesEntityDeclarations();

    void parsesStringsTables_data();
    void parsesStringsTables();
    void refusesBrokenStringsTables_data();
    void refusesBrokenStringsTables();

    void findsResourcesAndTexts();
    void readsOnlyRegularFiles_data();
    void readsOnlyRegularFiles();
    void invalidBundle();

private:
    static void write(const QString &file, const QByteArray &bytes);
};

void tst_PropertyListAndBundle::write(const QString &file, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes);
}

void tst_PropertyListAndBundle::readsEveryValueType()
{
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist SYSTEM "http://plist.example.invalid/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
    <key>Text</key>         <string>Caf&#233; &amp; more</string>
    <key>Empty</key>        <string></string>
    <key>Integer</key>      <integer>-42</integer>
    <key>Huge</key>         <integer>18446744073709551615</integer>
    <key>Real</key>         <real>2.5</real>
    <key>Yes</key>          <true/>
    <key>No</key>           <false/>
    <key>Data</key>         <data>aGVsbG8=</data>
    <key>Date</key>         <date>2013-10-22T08:00:00Z</date>
    <key>List</key>         <array><string>a</string><integer>1</integer></array>
    <key>Nested</key>       <dict><key>Inner</key><string>x</string></dict>
</dict>
</plist>)";
    QString error;
    const QVariantMap map = PropertyList::fromXml(xml, &error).toMap();
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QCOMPARE(map.value("Text").toString(), QString::fromUtf8("Caf\xc3\xa9 & more"));
    QCOMPARE(map.value("Empty").typeId(), QMetaType::QString);
    QCOMPARE(map.value("Integer").toLongLong(), -42);
    QCOMPARE(map.value("Huge").typeId(), QMetaType::ULongLong);
    QCOMPARE(map.value("Huge").toULongLong(), std::numeric_limits<quint64>::max());
    QCOMPARE(map.value("Real").toDouble(), 2.5);
    QCOMPARE(map.value("Yes").typeId(), QMetaType::Bool);
    QCOMPARE(map.value("Yes").toBool(), true);
    QCOMPARE(map.value("No").toBool(), false);
    QCOMPARE(map.value("Data").toByteArray(), QByteArray("hello"));
    QCOMPARE(map.value("Date").toDateTime(), QDateTime(QDate(2013, 10, 22), QTime(8, 0), Qt::UTC));
    QCOMPARE(map.value("List").toList(), (QVariantList{QStringLiteral("a"), qint64(1)}));
    QCOMPARE(map.value("Nested").toMap().value("Inner").toString(), QStringLiteral("x"));
}

void tst_PropertyListAndBundle::refusesBrokenPropertyLists_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("not xml") << QByteArray("\"key\" = \"value\";");
    QTest::newRow("truncated") << QByteArray("<plist><dict><key>a</key><string>b</string>");
    QTest::newRow("other root") << QByteArray("<dict><key>a</key><string>b</string></dict>");
    QTest::newRow("empty plist") << QByteArray("<plist version=\"1.0\"></plist>");
    QTest::newRow("key without value") << QByteArray("<plist><dict><key>a</key></dict></plist>");
    QTest::newRow("value without key") << QByteArray("<plist><dict><string>b</string></dict></plist>");
    QTest::newRow("bad integer") << QByteArray("<plist><integer>12x</integer></plist>");
    QTest::newRow("unknown element") << QByteArray("<plist><dict><key>a</key><blob/></dict></plist>");
    QByteArray deep = "<plist>";
    for (int i = 0; i < 1000; ++i)
        deep += "<array>";
    QTest::newRow("nesting too deep") << deep + "</plist>";
}

void tst_PropertyListAndBundle::refusesBrokenPropertyLists()
{
    QFETCH(QByteArray, xml);
    QString error;
    QVERIFY(!PropertyList::fromXml(xml, &error).isValid());
    QVERIFY(!error.isEmpty());
}

void tst_PropertyListAndBundle::doesNotExpandExternalEntities()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    write(dir.filePath("secret.txt"), "SECRET");
    const QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE plist [<!ENTITY leak SYSTEM \"file://"
                           + dir.filePath("secret.txt").toUtf8()
                           + "\">]>\n<plist><dict><key>a</key><string>&leak;</string></dict></plist>";
    const QVariant value = PropertyList::fromXml(xml);
    QVERIFY(!value.toMap().value("a").toString().contains("SECRET"));
}

void tst_PropertyListAndBundle::refusesEntityDeclarations_data()
{
    QTest::addColumn<QByteArray>("xml");
    const QByteArray body = "<plist><dict><key>a</key><string>&e;</string></dict></plist>";
    QTest::newRow("internal entity") << "<!DOCTYPE plist [<!ENTITY e \"x\">]>" + body;
    QTest::newRow("declared but not used")
        << QByteArray("<!DOCTYPE plist [<!ENTITY e \"x\">]><plist><string>y</string></plist>");
    QTest::newRow("parameter entity") << "<!DOCTYPE plist [<!ENTITY % p \"<!ENTITY e 'x'>\"> %p;]>" + body;
    QTest::newRow("external entity") << "<!DOCTYPE plist [<!ENTITY e SYSTEM \"file:///etc/hostname\">]>" + body;

    // Ten levels of ten references each: 10^10 copies once expanded.
    QByteArray laughs = "<?xml version=\"1.0\"?>\n<!DOCTYPE plist [\n<!ENTITY l0 \"lol\">\n";
    for (int level = 1; level <= 10; ++level) {
        laughs += "<!ENTITY l" + QByteArray::number(level) + " \"";
        for (int i = 0; i < 10; ++i)
            laughs += "&l" + QByteArray::number(level - 1) + ";";
        laughs += "\">\n";
    }
    laughs += "]>\n<plist><string>&l10;</string></plist>";
    QTest::newRow("billion laughs") << laughs;
    // One level only, but wide: a 100 kB entity used 10,000 times is a
    // 130 kB file that expands to 1 GB.
    QByteArray wide = "<!DOCTYPE plist [<!ENTITY e \"" + QByteArray(100000, 'x') + "\">]><plist><string>";
    for (int i = 0; i < 10000; ++i)
        wide += "&e;";
    QTest::newRow("one wide entity used often") << wide + "</string></plist>";
}

void tst_PropertyListAndBundle::refusesEntityDeclarations()
{
    QFETCH(QByteArray, xml);
    QElapsedTimer timer;
    timer.start();
    QString error;
    QVERIFY(!PropertyList::fromXml(xml, &error).isValid());
    QVERIFY2(error.contains("entit"), qPrintable(error));
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));

    // The same through a file and as a strings table in XML form.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    write(dir.filePath("Info.plist"), xml);
    QVERIFY(!PropertyList::fromFile(dir.filePath("Info.plist")).isValid());
    QVERIFY(StringsTable::parse(xml).isEmpty());
}

void tst_PropertyListAndBundle::parsesStringsTables_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QVariantMap>("expected");

    QTest::newRow("plain") << QByteArray("\"PaneTitle\" = \"Choose\";\n\"Other\"=\"Two\";")
                           << QVariantMap{{"PaneTitle", "Choose"}, {"Other", "Two"}};
    QTest::newRow("comments") << QByteArray("/* a\n comment */\n// line\n\"A\" = \"1\"; // after\n")
                              << QVariantMap{{"A", "1"}};
    QTest::newRow("escapes") << QByteArray(R"("A" = "line\nnext \"q\" \\ \U00e9";)")
                             << QVariantMap{{"A", QString::fromUtf8("line\nnext \"q\" \\ \xc3\xa9")}};
    QTest::newRow("utf-8 with bom") << QByteArray("\xEF\xBB\xBF\"A\" = \"Caf\xC3\xA9\";")
                                    << QVariantMap{{"A", QString::fromUtf8("Caf\xc3\xa9")}};
    QTest::newRow("utf-16 little endian")
        << QByteArray("\xFF\xFE\"\0A\0\"\0=\0\"\0\xE9\0\"\0;\0", 18) << QVariantMap{{"A", QString::fromUtf8("\xc3\xa9")}};
    QTest::newRow("bare words and a lone key") << QByteArray("Key = value.1;\n\"Alone\";")
                                               << QVariantMap{{"Key", "value.1"}, {"Alone", "Alone"}};
    QTest::newRow("xml form") << QByteArray("<plist><dict><key>A</key><string>1</string>"
                                            "<key>N</key><integer>2</integer></dict></plist>")
                              << QVariantMap{{"A", "1"}};
    QTest::newRow("empty") << QByteArray("") << QVariantMap();
}

void tst_PropertyListAndBundle::parsesStringsTables()
{
    QFETCH(QByteArray, data);
    QFETCH(QVariantMap, expected);
    QString error;
    const QHash<QString, QString> table = StringsTable::parse(data, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVariantMap actual;
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        actual.insert(it.key(), it.value());
    QCOMPARE(actual, expected);
}

void tst_PropertyListAndBundle::refusesBrokenStringsTables_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::newRow("missing semicolon") << QByteArray("\"A\" = \"1\"\n\"B\" = \"2\";");
    QTest::newRow("unterminated string") << QByteArray("\"A\" = \"1;");
    QTest::newRow("missing value") << QByteArray("\"A\" = ;");
    QTest::newRow("bad escape") << QByteArray("\"A\" = \"\\uZZ\";");
    QTest::newRow("stray character") << QByteArray("\"A\" = \"1\"; @");
}

void tst_PropertyListAndBundle::refusesBrokenStringsTables()
{
    QFETCH(QByteArray, data);
    QString error;
    QVERIFY(StringsTable::parse(data, &error).isEmpty());
    QVERIFY(!error.isEmpty());
}

void tst_PropertyListAndBundle::findsResourcesAndTexts()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString root = dir.filePath("Pkg.pkg");
    write(root + "/Contents/Info.plist", "<plist><dict><key>CFBundleDevelopmentRegion</key><string>de</string>"
                                         "<key>CFBundleVersion</key><string>7</string></dict></plist>");
    write(root + "/Contents/Resources/InstallScript.plist", "<plist><dict/></plist>");
    write(root + "/Contents/Resources/de.lproj/InstallerStrings.strings", "\"PaneTitle\" = \"Ziel\";");
    write(root + "/Contents/Resources/en.lproj/InstallerStrings.strings", "\"PaneTitle\" = \"Target\";");
    write(root + "/Contents/Resources/en.lproj/Only.txt", "en");
    write(root + "/Contents/Resources/Broken.strings", "\"PaneTitle\" = ");

    const Bundle bundle = Bundle::bundleWithPath(root + "/./");
    QVERIFY(bundle.isValid());
    QCOMPARE(bundle.bundlePath(), root);
    QCOMPARE(bundle.infoDictionary().value("CFBundleVersion").toString(), QStringLiteral("7"));
    QCOMPARE(bundle.localizations(), (QStringList{"de", "en"}));
    QCOMPARE(bundle.pathForResource("InstallScript", "plist"), root + "/Contents/Resources/InstallScript.plist");
    QCOMPARE(bundle.pathForResource("Only", "txt"), root + "/Contents/Resources/en.lproj/Only.txt");
    QCOMPARE(bundle.pathForResource("Missing", "plist"), QString());

    // Under the C locale the development region comes first.
    QCOMPARE(bundle.localizedString("PaneTitle", "PANETITLE", "InstallerStrings"), QStringLiteral("Ziel"));
    QCOMPARE(bundle.localizedString("Other", "OTHER", "InstallerStrings"), QStringLiteral("OTHER"));
    QCOMPARE(bundle.localizedString("Other", QString(), "InstallerStrings"), QStringLiteral("Other"));
    QCOMPARE(bundle.localizedString("PaneTitle", "PANETITLE", "NoSuchTable"), QStringLiteral("PANETITLE"));
    QCOMPARE(bundle.localizedString("PaneTitle", "PANETITLE", "Broken"), QStringLiteral("PANETITLE"));
}

void tst_PropertyListAndBundle::readsOnlyRegularFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("readable");
    QTest::newRow("regular file") << "regular file" << true;
    QTest::newRow("link to a regular file") << "link to a regular file" << true;
    // Opening a pipe nobody writes to would block for good, reading
    // /dev/zero would never end.
    QTest::newRow("fifo") << "fifo" << false;
    QTest::newRow("link to a fifo") << "link to a fifo" << false;
    QTest::newRow("link to /dev/zero") << "link to /dev/zero" << false;
    QTest::newRow("folder") << "folder" << false;
    QTest::newRow("too large") << "too large" << false;
}

void tst_PropertyListAndBundle::readsOnlyRegularFiles()
{
    QFETCH(QString, kind);
    QFETCH(bool, readable);
    PaneFixture fixture;
    QVERIFY(fixture.isValid());
    const QByteArray table = "<plist><dict><key>PaneTitle</key><string>Ziel</string></dict></plist>";
    QVERIFY(fixture.plant("App.app/Contents/Info.plist", kind, table));
    const QString file = fixture.path("App.app/Contents/Info.plist");

    QElapsedTimer timer;
    timer.start();
    QString error;
    const QVariant value = PropertyList::fromFile(file, &error);
    QCOMPARE(value.isValid(), readable);
    QCOMPARE(error.isEmpty(), readable);
    QCOMPARE(StringsTable::fromFile(file, &error).value("PaneTitle"), readable ? QString("Ziel") : QString());
    QCOMPARE(error.isEmpty(), readable);
    const Bundle bundle = Bundle::bundleWithPath(fixture.path("App.app"));
    QCOMPARE(bundle.infoDictionary().value("PaneTitle").toString(), readable ? QString("Ziel") : QString());
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
}

void tst_PropertyListAndBundle::invalidBundle()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    write(dir.filePath("file.app"), "not a folder");
    for (const QString &path : {dir.filePath("missing.app"), dir.filePath("file.app"), QString()}) {
        const Bundle bundle = Bundle::bundleWithPath(path);
        QVERIFY(!bundle.isValid());
        QVERIFY(bundle.infoDictionary().isEmpty());
        QCOMPARE(bundle.pathForResource("InstallScript", "plist"), QString());
        QCOMPARE(bundle.localizedString("PaneTitle", "PANETITLE", "InstallerStrings"), QStringLiteral("PANETITLE"));
    }
    // A folder without Info.plist is a bundle with an empty dictionary.
    QVERIFY(QDir(dir.path()).mkpath("Bare.app"));
    const Bundle bare = Bundle::bundleWithPath(dir.filePath("Bare.app"));
    QVERIFY(bare.isValid());
    QVERIFY(bare.infoDictionary().isEmpty());
}

QTEST_GUILESS_MAIN(tst_PropertyListAndBundle)
#include "tst_PropertyListAndBundle.moc"
