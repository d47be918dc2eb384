// What the plug-in asks of the host: its own file through the plug-ins
// suite, the host's version and the prompt. Fake suites answer in-process;
// every missing record, missing routine and failed status must give "not
// known", and every acquired suite must be released.

#include "TestEnvironment.h"

#include "platform/picker/FileReferencePath.h"
#include "plugin/HostQueries.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

using namespace PickerHost;
using namespace Velmar;

namespace {

// One fake host; its routines read the current test's set-up.
struct FakeHost {
    enum class Reference { Path, FailsWithPath, Nothing, Unterminated };
    bool acquireFails = false;
    bool nullSuite = false;
    bool nullRoutine = false;
    Reference reference = Reference::Path;
    QByteArray path;
    int acquired = 0;
    int released = 0;
    PluginRef askedFor = nullptr;

    Status propertyStatus = NoError;
    intptr_t version = 0;
    bool complexAsked = false;
};
FakeHost host;

Status getReference(PluginRef plugin, FileReference *reference)
{
    host.askedFor = plugin;
    switch (host.reference) {
    case FakeHost::Reference::Path:
    case FakeHost::Reference::FailsWithPath:
        std::memcpy(reference->bytes, host.path.constData(), host.path.size() + 1);
        return host.reference == FakeHost::Reference::Path ? NoError : -43;
    case FakeHost::Reference::Nothing:
        return NoError;
    case FakeHost::Reference::Unterminated:
        std::memset(reference->bytes, 'x', sizeof reference->bytes);
        return NoError;
    }
    return -1;
}

PluginsSuite pluginsSuite{{}, &getReference};
PluginsSuite pluginsSuiteWithoutRoutine{{}, nullptr};

Status acquire(const char *name, int32_t version, const void **suite)
{
    if (host.acquireFails || std::strcmp(name, "SP Plug-ins Suite") != 0 || version != 5)
        return -1;
    ++host.acquired;
    *suite = host.nullSuite ? nullptr : host.nullRoutine ? &pluginsSuiteWithoutRoutine : &pluginsSuite;
    return NoError;
}

Status release(const char *name, int32_t version)
{
    if (std::strcmp(name, "SP Plug-ins Suite") == 0 && version == 5)
        ++host.released;
    return NoError;
}

Status getProperty(uint32_t signature, uint32_t key, int32_t index, intptr_t *value, ComplexProperty *complex)
{
    host.complexAsked = complex != nullptr;
    if (signature != 0x3842494D || key != 0x76657273 || index != 0)
        return -1;
    // Written whole, as the host does, even when it fails.
    *value = host.version;
    return host.propertyStatus;
}

PluginHandle *const ThisPlugin = reinterpret_cast<PluginHandle *>(0x1234);

} // namespace

class tst_HostQueries : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { host = FakeHost(); host.path = m_pluginFolder.toUtf8(); }

    void fourCharacterCodes();
    void fileReferencePath_data();
    void fileReferencePath();
    void pluginFileIsCanonical();
    void pluginFileUnknown_data();
    void pluginFileUnknown();
    void pluginFileBySelector();
    void hostVersion();
    void hostVersionUnknown();
    void promptTitle();

private:
    QTemporaryDir m_dir;
    QString m_pluginFolder;
};

void tst_HostQueries::initTestCase()
{
    TestEnvironment::isolate();
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("plug-ins/zumo.photoshop.addon")));
    m_pluginFolder = QDir(m_dir.path()).canonicalPath() + QStringLiteral("/plug-ins/zumo.photoshop.addon");
}

void tst_HostQueries::fourCharacterCodes()
{
    QCOMPARE(HostSignature, 0x3842494Du);
    QCOMPARE(HostVersionKey, 0x76657273u);
}

void tst_HostQueries::fileReferencePath_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<int>("bufferSize");
    QTest::addColumn<int>("status");
    QTest::newRow("fits") << QByteArray("/a/b") << 1024 << int(NoError);
    QTest::newRow("fits exactly with its zero") << QByteArray("/a/b") << 5 << int(NoError);
    QTest::newRow("one byte short") << QByteArray("/a/b") << 4 << int(PathBufferTooSmall);
    QTest::newRow("empty reference") << QByteArray() << 1024 << int(FileReferenceInvalid);
    QTest::newRow("UTF-8 kept") << QByteArray("/Pl\xc3\xbcg-ins/x") << 1024 << int(NoError);
}

void tst_HostQueries::fileReferencePath()
{
    QFETCH(QByteArray, path);
    QFETCH(int, bufferSize);
    QFETCH(int, status);
    FileReference reference;
    std::memset(&reference, 0, sizeof reference);
    std::memcpy(reference.bytes, path.constData(), path.size());
    QByteArray buffer(bufferSize, '#');
    QCOMPARE(PickerHost::fileReferencePath(reference, reinterpret_cast<uint8_t *>(buffer.data()), bufferSize), status);
    QCOMPARE(QByteArray(buffer.constData()), status == NoError ? path : QByteArray());

    // A reference with no terminator anywhere is no path.
    std::memset(reference.bytes, 'x', sizeof reference.bytes);
    QCOMPARE(PickerHost::fileReferencePath(reference, reinterpret_cast<uint8_t *>(buffer.data()), bufferSize),
             FileReferenceInvalid);
}

void tst_HostQueries::pluginFileIsCanonical()
{
    // A path with "." and ".." comes back canonical.
    host.path = (m_dir.path() + QStringLiteral("/plug-ins/./x/../zumo.photoshop.addon")).toUtf8();
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("plug-ins/x")));
    const BasicSuite basic{&acquire, &release};
    QCOMPARE(HostQueries::pluginFilePath(&basic, ThisPlugin), m_pluginFolder);
    QCOMPARE(host.askedFor, ThisPlugin);
    QCOMPARE(host.acquired, 1);
    QCOMPARE(host.released, 1);
}

void tst_HostQueries::pluginFileUnknown_data()
{
    QTest::addColumn<QString>("setUp");
    QTest::addColumn<int>("acquired");
    QTest::newRow("no basic suite") << "no basic suite" << 0;
    QTest::newRow("no acquire routine") << "no acquire routine" << 0;
    QTest::newRow("acquire fails") << "acquire fails" << 0;
    QTest::newRow("acquired suite is null") << "null suite" << 1;
    QTest::newRow("no file routine") << "null routine" << 1;
    QTest::newRow("file routine fails, path left behind") << "fails with path" << 1;
    QTest::newRow("file routine fills nothing") << "nothing" << 1;
    QTest::newRow("reference without terminator") << "unterminated" << 1;
    QTest::newRow("file does not exist") << "missing file" << 1;
}

void tst_HostQueries::pluginFileUnknown()
{
    QFETCH(QString, setUp);
    QFETCH(int, acquired);
    BasicSuite basic{&acquire, &release};
    const BasicSuite *suite = &basic;
    if (setUp == QLatin1String("no basic suite"))
        suite = nullptr;
    else if (setUp == QLatin1String("no acquire routine"))
        basic.acquireSuite = nullptr;
    host.acquireFails = setUp == QLatin1String("acquire fails");
    host.nullSuite = setUp == QLatin1String("null suite");
    host.nullRoutine = setUp == QLatin1String("null routine");
    if (setUp == QLatin1String("fails with path"))
        host.reference = FakeHost::Reference::FailsWithPath;
    else if (setUp == QLatin1String("nothing"))
        host.reference = FakeHost::Reference::Nothing;
    else if (setUp == QLatin1String("unterminated"))
        host.reference = FakeHost::Reference::Unterminated;
    else if (setUp == QLatin1String("missing file"))
        host.path = (m_dir.path() + QStringLiteral("/gone/zumo.photoshop.addon")).toUtf8();

    QCOMPARE(HostQueries::pluginFilePath(suite, ThisPlugin), QString());
    QCOMPARE(host.acquired, acquired);
    QCOMPARE(host.released, host.acquired);
}

void tst_HostQueries::pluginFileBySelector()
{
    BasicSuite basic{&acquire, &release};
    AboutRecord about{&basic, ThisPlugin};
    PickerParameters block{};
    block.basicSuite = &basic;
    block.plugin = ThisPlugin;
    QCOMPARE(HostQueries::pluginFilePath(SelectorAbout, &about), m_pluginFolder);
    QCOMPARE(HostQueries::pluginFilePath(SelectorPick, &block), m_pluginFolder);
    QCOMPARE(host.acquired, 2);
    // Other selectors and absent blocks ask nothing.
    QCOMPARE(HostQueries::pluginFilePath(2, &block), QString());
    QCOMPARE(HostQueries::pluginFilePath(SelectorPick, nullptr), QString());
    QCOMPARE(HostQueries::pluginFilePath(SelectorAbout, nullptr), QString());
    QCOMPARE(host.acquired, 2);
    QCOMPARE(host.released, 2);
}

void tst_HostQueries::hostVersion()
{
    PropertySuite properties{2, &getProperty, nullptr};
    host.version = 0x000D0000;
    QCOMPARE(HostQueries::hostVersion(&properties), intptr_t(0x000D0000));
    QVERIFY(!host.complexAsked);
    // The whole pointer-sized word arrives.
    host.version = intptr_t(0x7FFF000D0000);
    QCOMPARE(HostQueries::hostVersion(&properties), intptr_t(0x7FFF000D0000));
}

void tst_HostQueries::hostVersionUnknown()
{
    host.version = 0x000D0000;
    QCOMPARE(HostQueries::hostVersion(nullptr), intptr_t(0));
    const PropertySuite withoutRoutine{2, nullptr, nullptr};
    QCOMPARE(HostQueries::hostVersion(&withoutRoutine), intptr_t(0));
    // A failing routine's answer is not taken.
    const PropertySuite properties{2, &getProperty, nullptr};
    host.propertyStatus = -1;
    QCOMPARE(HostQueries::hostVersion(&properties), intptr_t(0));
}

void tst_HostQueries::promptTitle()
{
    QCOMPARE(HostQueries::promptTitle(nullptr), QString());
    QCOMPARE(HostQueries::promptTitle(""), QString());
    QCOMPARE(HostQueries::promptTitle("Select foreground color:"), QStringLiteral("Select foreground color:"));
}

QTEST_GUILESS_MAIN(tst_HostQueries)
#include "tst_hostqueries.moc"
