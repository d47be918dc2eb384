// The CxF3 reader on its own: which Object names it takes from a file's
// bytes, and which files it refuses.

#include "TestEnvironment.h"

#include "plugin/CxfReader.h"

#include <libxml/encoding.h>

#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

using namespace Velmar;

namespace {

const QByteArray core = "http://colorexchangeformat.com/CxF3-core";

// A CxF3 document whose root binds the core namespace to the cc prefix.
QByteArray prefixed(const QByteArray &objects, const QByteArray &doctype = QByteArray())
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + doctype + "<cc:CxF xmlns:cc=\"" + core
        + "\">\n <cc:FileInformation><cc:Creator>tests</cc:Creator></cc:FileInformation>\n"
          " <cc:Resources><cc:ObjectCollection>\n"
        + objects + " </cc:ObjectCollection></cc:Resources>\n</cc:CxF>\n";
}

QByteArray object(const QByteArray &name, const QByteArray &prefix = "cc:")
{
    return "  <" + prefix + "Object ObjectType=\"Standard\" Name=\"" + name + "\" Id=\"1\"/>\n";
}

} // namespace

class TestCxfReader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void objectNames_data();
    void objectNames();
    void externalEntityIsNeverRead();
    void libxml2StateOfOthersSurvivesARead();
};

void TestCxfReader::initTestCase()
{
    TestEnvironment::isolate();
}

void TestCxfReader::objectNames_data()
{
    QTest::addColumn<QByteArray>("cxf");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("prefixed, in document order, non-ASCII intact")
        << prefixed(object("DI-0304") + object("Crème brûlée") + object("Zartes Grün") + object("東雲色"))
        << 0 << QStringList{"DI-0304", "Crème brûlée", "Zartes Grün", "東雲色"};
    QTest::newRow("another prefix for the core namespace")
        << QByteArray("<x:CxF xmlns:x=\"" + core + "\"><x:Object Name=\"Pale Coral\"/></x:CxF>") << 0
        << QStringList{"Pale Coral"};
    QTest::newRow("core namespace as the default")
        << QByteArray("<CxF xmlns=\"" + core + "\"><Resources><Object Name=\"DI-0501\"/><Object Name=\"Mint\"/>"
                      "</Resources></CxF>")
        << 0 << QStringList{"DI-0501", "Mint"};
    QTest::newRow("prefix cc bound to another namespace")
        << QByteArray("<cc:CxF xmlns:cc=\"http://example.com/not-cxf\"><cc:Object Name=\"DI-0304\"/></cc:CxF>") << 0
        << QStringList();
    QTest::newRow("no namespace") << QByteArray("<CxF><Object Name=\"DI-0304\"/></CxF>") << 0 << QStringList();
    QTest::newRow("objects of another namespace among core ones")
        << prefixed(object("DI-0101") + "  <o:Object xmlns:o=\"http://example.com/other\" Name=\"Other\"/>\n"
                    + "  <cc:Sample Name=\"Not an object\"/>\n" + object("DI-0102"))
        << 0 << QStringList{"DI-0101", "DI-0102"};
    QTest::newRow("empty and missing names are skipped")
        << prefixed(object("") + "  <cc:Object Id=\"2\"/>\n" + object("DI-0707")) << 0 << QStringList{"DI-0707"};
    QTest::newRow("the same name twice stays twice")
        << prefixed(object("DI-0304") + object("DI-0304")) << 0 << QStringList{"DI-0304", "DI-0304"};
    QTest::newRow("references in a name give its whole value")
        << prefixed(object("Rose &amp; Thorn") + object("Sea &mist;") + object("&#x43;rème"),
                    "<!DOCTYPE cc:CxF [<!ENTITY mist \"Mist\">]>\n")
        << 0 << QStringList{"Rose & Thorn", "Sea Mist", "Crème"};
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF" + prefixed(object("DI-0101"))) << 0
                                     << QStringList{"DI-0101"};
    QTest::newRow("no objects") << prefixed(QByteArray()) << 0 << QStringList();
    QTest::newRow("not well-formed") << QByteArray("<cc:CxF xmlns:cc=\"" + core + "\"><cc:Object Name=\"DI-0304\">")
                                     << -1 << QStringList();
    QTest::newRow("unclosed attribute") << prefixed("  <cc:Object Name=\"DI-0304/>\n") << -1 << QStringList();
    QTest::newRow("empty file") << QByteArray() << -1 << QStringList();
    QTest::newRow("not XML") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << -1 << QStringList();
    QTest::newRow("entity expansion bomb")
        << prefixed(object("&h;"), "<!DOCTYPE cc:CxF [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
                                   "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\"><!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
                                   "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\"><!ENTITY f \"&e;&e;&e;&e;&e;&e;&e;&e;&e;&e;\">"
                                   "<!ENTITY g \"&f;&f;&f;&f;&f;&f;&f;&f;&f;&f;\"><!ENTITY h \"&g;&g;&g;&g;&g;&g;&g;&g;&g;&g;\">]>\n")
        << -1 << QStringList();
}

void TestCxfReader::objectNames()
{
    QFETCH(QByteArray, cxf);
    QFETCH(int, status);
    QFETCH(QStringList, names);

    QStringList read{QStringLiteral("left over")};
    QCOMPARE(CxfReader::objectNames(cxf, read), status);
    QCOMPARE(read, names);
}

void TestCxfReader::externalEntityIsNeverRead()
{
    QTemporaryDir dir;
    const QString secretPath = dir.filePath(QStringLiteral("secret.txt"));
    QFile secret(secretPath);
    QVERIFY(secret.open(QIODevice::WriteOnly));
    secret.write("LEAKED");
    secret.close();
    const QByteArray url = QUrl::fromLocalFile(secretPath).toEncoded();
    const QByteArray doctype = "<!DOCTYPE cc:CxF [<!ENTITY secret SYSTEM \"" + url + "\">]>\n";

    // In a name the reference fails the whole parse.
    QStringList names;
    QCOMPARE(CxfReader::objectNames(prefixed(object("&secret;"), doctype), names), -1);
    QVERIFY(names.isEmpty());

    // In element content it stays an unexpanded reference; the names around it are read.
    const QByteArray inContent = prefixed(object("DI-0101") + "  <cc:Object Name=\"DI-0102\">&secret;</cc:Object>\n", doctype);
    QCOMPARE(CxfReader::objectNames(inContent, names), 0);
    QCOMPARE(names, (QStringList{"DI-0101", "DI-0102"}));
    QCOMPARE(CxfReader::ParseOptions, 0x10900);
}

// The host may use libxml2 too: a read must leave the library's global state
// as it was, as a clean-up after the read would not (it drops every encoding
// handler registered by others).
void TestCxfReader::libxml2StateOfOthersSurvivesARead()
{
    xmlCharEncodingHandlerPtr own = xmlNewCharEncodingHandler("X-HUEFORM-TEST", nullptr, nullptr);
    QVERIFY(own);
    QCOMPARE(xmlFindCharEncodingHandler("X-HUEFORM-TEST"), own);

    QStringList names;
    QCOMPARE(CxfReader::objectNames(prefixed(object("DI-0101")), names), 0);
    QCOMPARE(CxfReader::objectNames(QByteArray("<broken"), names), -1);
    QCOMPARE(xmlFindCharEncodingHandler("X-HUEFORM-TEST"), own);
}

QTEST_GUILESS_MAIN(TestCxfReader)
#include "tst_cxfreader.moc"
