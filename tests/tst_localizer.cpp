// Texts of the user interface by key, from the collection shown.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "services/Localizer.h"
#include "services/LocalizerKeys.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace Velmar;

namespace {

const QUuid english(QStringLiteral("{a1000000-0000-4000-8000-000000000001}"));
const QUuid french(QStringLiteral("{a1000000-0000-4000-8000-000000000002}"));
const QUuid silent(QStringLiteral("{a1000000-0000-4000-8000-000000000003}"));
const QUuid notInstalled(QStringLiteral("{a1000000-0000-4000-8000-00000000000f}"));

} // namespace

class TestLocalizer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void textByKey_data();
    void textByKey();
    void listOfKeys();
};

void TestLocalizer::initTestCase()
{
    TestEnvironment::isolate();
    static FixtureFolder folder;
    auto writer = folder.createFile(QStringLiteral("texts.db"));
    const qint64 en = writer->addCollection(english, QStringLiteral("EN"), QStringLiteral("English"), 1, true);
    const qint64 fr = writer->addCollection(french, QStringLiteral("FR"), QStringLiteral("Français"), 2, true);
    QVERIFY(writer->addCollection(silent, QStringLiteral("NONE"), QStringLiteral("No texts"), 3, true) >= 0);
    QVERIFY(writer->addText(en, QStringLiteral("Photoshop.SelectColor.Button"), QStringLiteral("Select colour")));
    QVERIFY(writer->addText(fr, LocalizerKeys::KeyOfPhotoshopSelectcolorButton, QStringLiteral("Choisir la couleur")));
    QVERIFY(writer->addText(en, LocalizerKeys::KeyOfMoodFilterAllMoods, QStringLiteral("All moods")));
    QVERIFY(writer->addText(fr, LocalizerKeys::KeyOfMoodFilterAllMoods, QStringLiteral("Toutes les ambiances")));
    QVERIFY(writer->isOk());
    writer.reset();
    DBManager::s_installed_collections.clear();
    folder.activate();
}

void TestLocalizer::textByKey_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("stored in other case") << english << LocalizerKeys::KeyOfPhotoshopSelectcolorButton << "Select colour";
    QTest::newRow("asked in other case") << french << "MOOD.FILTER.ALL.MOODS" << "Toutes les ambiances";
    QTest::newRow("each collection its own") << french << LocalizerKeys::KeyOfPhotoshopSelectcolorButton
                                             << "Choisir la couleur";
    QTest::newRow("missing gives the key") << english << LocalizerKeys::KeyOfPhotoshopCreateswatchButton
                                           << "photoshop.createswatch.button";
    QTest::newRow("no texts at all") << silent << LocalizerKeys::KeyOfPhotoshopSelectcolorButton
                                     << "photoshop.selectcolor.button";
    QTest::newRow("not installed") << notInstalled << LocalizerKeys::KeyOfMoodFilterAllMoods << "mood.filter.all.moods";
}

void TestLocalizer::textByKey()
{
    QFETCH(QUuid, collection);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    QCOMPARE(Localizer::getTextByKey(collection, key), expected);
}

void TestLocalizer::listOfKeys()
{
    const QList<QString> keys = LocalizerKeys::AllKeys();
    QCOMPARE(keys.size(), 97);
    QCOMPARE(QSet<QString>(keys.cbegin(), keys.cend()).size(), 97);
    QCOMPARE(keys.first(), QStringLiteral("license.copyright"));
    QCOMPARE(keys.at(95), QStringLiteral("common.confirmation.dialog.caption"));
    QCOMPARE(keys.last(), QStringLiteral("common.mainwindow.caption"));
    for (const QString &left : {LocalizerKeys::KeyOfAboutBoxCaption, LocalizerKeys::KeyOfAboutBoxMainText,
                                LocalizerKeys::KeyOfAboutBoxCopyrightText, LocalizerKeys::KeyOfAboutBoxVersion,
                                LocalizerKeys::KeyOfAboutBoxQtLicenseButton, LocalizerKeys::KeyOfAboutBoxCloseButton,
                                LocalizerKeys::KeyOf3DSMaxSelectColorButton, LocalizerKeys::KeyOfDontShowMto})
        QVERIFY2(!keys.contains(left), qPrintable(left));
    // Keys are dotted lower case, as the collection files store them.
    const QRegularExpression dotted(QStringLiteral("^[a-z0-9]+(\\.[a-z0-9]+)*$"));
    for (const QString &key : keys)
        QVERIFY2(dotted.match(key).hasMatch(), qPrintable(key));
}

QTEST_GUILESS_MAIN(TestLocalizer)
#include "tst_localizer.moc"
