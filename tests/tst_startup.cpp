// The start-up check of a picker call, the application icon and the
// folders the collections are looked for in.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "services/FileManager.h"
#include "services/Global.h"
#include "services/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QTemporaryDir>
#include <QTest>

using namespace Velmar;

namespace {

const QUuid firstDeck(QStringLiteral("{8d000000-0000-4000-8000-000000000001}"));
const QUuid secondDeck(QStringLiteral("{8d000000-0000-4000-8000-000000000002}"));
const QString modulePath = QStringLiteral("/Applications/Host/Plug-ins/zumo.photoshop.addon");

// Restores an environment variable when the test that changed it ends.
class EnvironmentGuard
{
public:
    explicit EnvironmentGuard(const char *name)
        : m_name(name)
        , m_value(qgetenv(name))
    {
    }
    ~EnvironmentGuard()
    {
        qputenv(m_name, m_value);
    }

private:
    const char *m_name;
    QByteArray m_value;
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void newHostProcessOpensOnTheFirstCollection();
    void sameHostProcessKeepsTheUsersChoice();
    void iconHasFourSizes();
    void housekeepingRemovesApplicationFonts();
    void lookupFolderBelowTheMachineFolder_data();
    void lookupFolderBelowTheMachineFolder();
    void machineFolderIsTheFirstSharedDataFolder();
    void machineFolderThatCannotBeMadeIsEmpty();
    void machineFolderLiesOutsideTheHome_data();
    void machineFolderLiesOutsideTheHome();
    void signalTypesAreKnownByTheirSpelledNames();

private:
    FixtureFolder m_folder;
};

void TestStartup::initTestCase()
{
    TestEnvironment::isolate();
    Settings::setHostApplicationKey(QStringLiteral("Photoshop"));
    auto writer = m_folder.createFile(QStringLiteral("decks.db"));
    // Stored out of order: the installed order decides which comes first.
    const qint64 second = writer->addCollection(secondDeck, QStringLiteral("SECOND"), QStringLiteral("Second"), 2, true);
    const qint64 first = writer->addCollection(firstDeck, QStringLiteral("FIRST"), QStringLiteral("First"), 1, true);
    QVERIFY(writer->addSettings(first, QStringLiteral("page.name.display.order"), {QStringLiteral("1"), QStringLiteral("0")}));
    QVERIFY(writer->addSettings(second, QStringLiteral("page.name.display.order"), {QStringLiteral("2")}));
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
}

void TestStartup::newHostProcessOpensOnTheFirstCollection()
{
    const qint64 pid = QCoreApplication::applicationPid();
    Settings::setHostApplicationPid(pid + 1);
    Settings::setUuidOfLastUsedCollection(secondDeck);

    QCOMPARE(Global::InitializePrerequisites(modulePath, m_folder.lookupFolder()), 0);
    QCOMPARE(Global::g_modulePath, modulePath);
    QCOMPARE(DBManager::s_preferredLookupFolder, m_folder.lookupFolder());
    QCOMPARE(Settings::hostApplicationPid(), pid);
    QCOMPARE(Settings::uuidOfLastUsedCollection(), firstDeck);
    // The database layer was told which collection is selected.
    QCOMPARE(DBManager::s_page_name_display_order, (QVector<qint64>{1, 0}));
}

void TestStartup::sameHostProcessKeepsTheUsersChoice()
{
    QCOMPARE(Global::InitializePrerequisites(modulePath, m_folder.lookupFolder()), 0);
    Settings::setUuidOfLastUsedCollection(secondDeck);
    // A later picker call in the same host process, as a new load reads it.
    Settings::s_lastUsedCollection = QUuid();
    QCOMPARE(Global::InitializePrerequisites(modulePath, m_folder.lookupFolder()), 0);
    QCOMPARE(Settings::uuidOfLastUsedCollection(), secondDeck);
    QCOMPARE(Settings::hostApplicationPid(), QCoreApplication::applicationPid());
    QCOMPARE(DBManager::s_page_name_display_order, (QVector<qint64>{2}));
}

void TestStartup::iconHasFourSizes()
{
    const QIcon icon = Global::getIcon();
    QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(16, 16), QSize(32, 32), QSize(48, 48), QSize(64, 64)}));
    for (const QSize &size : icon.availableSizes()) {
        const QImage image = icon.pixmap(size).toImage();
        QCOMPARE(image.size(), size);
        // Drawn, not empty: the fan's centre is opaque, the corner clear.
        QCOMPARE(qAlpha(image.pixel(size.width() / 2, size.height() / 2)), 255);
        QCOMPARE(qAlpha(image.pixel(size.width() - 1, 0)), 0);
    }
}

void TestStartup::housekeepingRemovesApplicationFonts()
{
    QFile fontFile(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    if (!fontFile.open(QIODevice::ReadOnly))
        QSKIP("the DejaVu fonts are not installed");
    const int id = QFontDatabase::addApplicationFontFromData(fontFile.readAll());
    QVERIFY(id >= 0);
    QVERIFY(!QFontDatabase::applicationFontFamilies(id).isEmpty());
    QVERIFY(Global::Housekeepeing());
    QVERIFY(QFontDatabase::applicationFontFamilies(id).isEmpty());
}

void TestStartup::lookupFolderBelowTheMachineFolder_data()
{
    QTest::addColumn<QString>("machineFolder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("machine folder") << "/Library/Application Support"
                                    << "/Library/Application Support/Tavo Rindel/Hueform/SQLite";
    QTest::newRow("none") << "" << "/Tavo Rindel/Hueform/SQLite";
    QTest::newRow("folder holding %2") << "/srv/50%2 off" << "/srv/50%2 off/Tavo Rindel/Hueform/SQLite";
    QTest::newRow("folder holding %1") << "/srv/%1" << "/srv/%1/Tavo Rindel/Hueform/SQLite";
}

void TestStartup::lookupFolderBelowTheMachineFolder()
{
    QFETCH(QString, machineFolder);
    QFETCH(QString, expected);
    QCOMPARE(FileManager::pluginAppDataPathIn(machineFolder), expected);
}

void TestStartup::machineFolderIsTheFirstSharedDataFolder()
{
    EnvironmentGuard guard("XDG_DATA_DIRS");
    QTemporaryDir dir;
    const QString user = qEnvironmentVariable("XDG_DATA_HOME");
    const QString shared = dir.filePath(QStringLiteral("machine/share"));
    const QString other = dir.filePath(QStringLiteral("other/share"));
    // The user's own folder is skipped even when it is listed again.
    qputenv("XDG_DATA_DIRS", QStringLiteral("%1:%2:%3").arg(user, shared, other).toUtf8());
    QVERIFY(!QFileInfo::exists(shared));

    QCOMPARE(FileManager::getSystemAppDataPath(), shared);
    QVERIFY(QFileInfo(shared).isDir());
    QVERIFY(!QFileInfo::exists(other));
    QCOMPARE(FileManager::getPluginAppDataPath(), shared + QStringLiteral("/Tavo Rindel/Hueform/SQLite"));
}

void TestStartup::machineFolderThatCannotBeMadeIsEmpty()
{
    EnvironmentGuard guard("XDG_DATA_DIRS");
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("a-file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_DATA_DIRS", dir.filePath(QStringLiteral("a-file/share")).toUtf8());
    QCOMPARE(FileManager::getSystemAppDataPath(), QString());
    QCOMPARE(FileManager::getPluginAppDataPath(), QStringLiteral("/Tavo Rindel/Hueform/SQLite"));
}

void TestStartup::machineFolderLiesOutsideTheHome_data()
{
    // In both columns "~" stands for the home, "/" at the start for a
    // temporary folder; the home is "/home/u" in it.
    QTest::addColumn<QString>("dataDirs");
    QTest::addColumn<QString>("expected"); // empty: no machine folder

    QTest::newRow("a per-user package folder first")
        << "~/.local/share/flatpak/exports/share:/usr/local/share:/usr/share" << "/usr/local/share";
    QTest::newRow("the home itself") << "~:/usr/share" << "/usr/share";
    QTest::newRow("a home whose name begins the same") << "/home/u2/share:/usr/share" << "/home/u2/share";
    QTest::newRow("the folder holding the homes") << "/home:/usr/share" << "/home";
    QTest::newRow("into the home through a link") << "/link-to-home/share:/usr/share" << "/usr/share";
    QTest::newRow("one that cannot be made, then one that can") << "/a-file/share:/usr/share" << "/usr/share";
    QTest::newRow("only folders in the home") << "~/.local/share/flatpak/exports/share:~/share" << "";
}

void TestStartup::machineFolderLiesOutsideTheHome()
{
    QFETCH(QString, dataDirs);
    QFETCH(QString, expected);
    EnvironmentGuard dataDirsGuard("XDG_DATA_DIRS");
    EnvironmentGuard homeGuard("HOME");
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral("home/u"));
    QVERIFY(QDir().mkpath(home));
    QVERIFY(QFile::link(home, dir.filePath(QStringLiteral("link-to-home"))));
    QFile blocker(dir.filePath(QStringLiteral("a-file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto place = [&](QString paths) {
        QStringList placed;
        for (const QString &path : paths.split(QLatin1Char(':'), Qt::SkipEmptyParts))
            placed << (path.startsWith(QLatin1Char('~')) ? home + path.mid(1) : dir.path() + path);
        return placed;
    };
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_DATA_DIRS", place(dataDirs).join(QLatin1Char(':')).toUtf8());

    QCOMPARE(FileManager::getSystemAppDataPath(), expected.isEmpty() ? QString() : place(expected).value(0));
    // Nothing was made in the home.
    QCOMPARE(QDir(home).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

// Queued connections and signal spies find the types of the views' signals
// by the names the signatures spell.
void TestStartup::signalTypesAreKnownByTheirSpelledNames()
{
    Global::registerMetaTypes();
    for (const char *name : {"Mood", "Direction", "SchemeKind", "TabBarPage", "PaletteFileFormat", "DB::ColorEntry"})
        QVERIFY2(QMetaType::fromName(name).isValid(), name);
    QCOMPARE(QMetaType::fromName("DB::ColorEntry"), QMetaType::fromType<DB::ColorEntry>());
    QCOMPARE(QMetaType::fromName("Mood"), QMetaType::fromType<Mood>());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
