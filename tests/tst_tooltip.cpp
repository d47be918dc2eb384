// The tool tip of a chip: the lines its collection's switches ask for, in
// plain text or HTML.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "services/CollectionSettings.h"

#include <QTest>

using namespace Velmar;

namespace {

const QUuid talkative(QStringLiteral("{0000000a-0000-0000-0000-000000000001}"));
const QUuid quiet(QStringLiteral("{0000000b-0000-0000-0000-000000000002}"));
const QUuid reaching(QStringLiteral("{0000000c-0000-0000-0000-000000000003}"));

} // namespace

class TestToolTip : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void toolTip_data();
    void toolTip();

private:
    FixtureFolder m_folder;
    qint64 m_chip = -1;
    qint64 m_quietChip = -1;
    qint64 m_reachingChip = -1;
};

void TestToolTip::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("deck.db"));
    const qint64 a = writer->addCollection(talkative, QStringLiteral("T"), QStringLiteral("Dimora Interiors"), 1, true);
    const qint64 b = writer->addCollection(quiet, QStringLiteral("Q"), QStringLiteral("Quiet"), 2, true);
    const QStringList switches{QStringLiteral("color.tooltip.show.collection.name"), QStringLiteral("color.tooltip.show.page.name"),
                               QStringLiteral("color.tooltip.show.row.code"), QStringLiteral("color.tooltip.show.row.name"),
                               QStringLiteral("color.tooltip.show.row.auxiliary.info"), QStringLiteral("color.tooltip.show.page.index"),
                               QStringLiteral("color.tooltip.show.row.row.index")};
    for (const QString &name : switches) {
        writer->addSetting(a, name, QStringLiteral("1"));
        writer->addSetting(b, name, QStringLiteral("0"));
    }
    // Card names second language first; a chip name column that is empty
    // and one that does not exist leave no line.
    writer->addSettings(a, QStringLiteral("page.name.display.order"), {QStringLiteral("1"), QStringLiteral("0")});
    writer->addSettings(a, QStringLiteral("row.name.display.order"), {QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("42")});
    writer->addSettings(a, QStringLiteral("row.extra.display.order"), {QStringLiteral("0")});

    CollectionWriter::Card card;
    card.pageIndex = 7;
    card.names = QStringList{QStringLiteral("Coral Family"), QStringLiteral("Famille corail")};
    const qint64 page = writer->addCard(a, card);
    CollectionWriter::Chip chip;
    chip.rowIndex = 3;
    chip.code = QStringLiteral("DI-0703");
    chip.names = QStringList{QStringLiteral("Crème brûlée"), QStringLiteral("Crème"), QString()};
    chip.extras = QStringList{QStringLiteral("LRV 82")};
    m_chip = writer->addChip(a, page, chip);
    const qint64 quietPage = writer->addCard(b, card);
    m_quietChip = writer->addChip(b, quietPage, chip);
    // Orders that name the column just past the last of the ten names.
    const qint64 c = writer->addCollection(reaching, QStringLiteral("R"), QStringLiteral("Reaching"), 3, true);
    writer->addSetting(c, QStringLiteral("color.tooltip.show.page.name"), QStringLiteral("1"));
    writer->addSetting(c, QStringLiteral("color.tooltip.show.row.name"), QStringLiteral("1"));
    writer->addSettings(c, QStringLiteral("page.name.display.order"), {QStringLiteral("10"), QStringLiteral("0")});
    writer->addSettings(c, QStringLiteral("row.name.display.order"), {QStringLiteral("10"), QStringLiteral("1")});
    m_reachingChip = writer->addChip(c, writer->addCard(c, card), chip);
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();
    DBManager::s_installed_collections.clear();
    m_folder.activate();
}

void TestToolTip::toolTip_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<bool>("unknownChip");
    QTest::addColumn<bool>("html");
    QTest::addColumn<QString>("expected");
    QTest::newRow("every line, plain") << talkative << false << false
                                       << "Dimora Interiors\nFamille corail\nCoral Family\nDI-0703\nCrème brûlée\nLRV 82\n7\n3";
    QTest::newRow("every line, HTML")
        << talkative << false << true
        << "<div style=\"margin:2px;\">Dimora Interiors<br/>Famille corail<br/>Coral Family<br/>DI-0703<br/>Crème brûlée"
           "<br/><span style=\"font-style:italic;\">LRV 82</span><br/>7<br/>3</div>";
    QTest::newRow("switches off, plain") << quiet << false << false << "";
    QTest::newRow("switches off, HTML") << quiet << false << true << "<div style=\"margin:2px;\"></div>";
    QTest::newRow("no such chip, plain") << talkative << true << false << "";
    QTest::newRow("no such chip, HTML") << talkative << true << true << "";
    QTest::newRow("column past the last name") << reaching << false << false << "Coral Family\nCrème";
}

void TestToolTip::toolTip()
{
    QFETCH(QUuid, collection);
    QFETCH(bool, unknownChip);
    QFETCH(bool, html);
    QFETCH(QString, expected);
    // The display columns are those of the selected collection.
    DBManager::selectedCollectionChanged(collection);
    const qint64 chip = unknownChip ? 9999
        : collection == quiet       ? m_quietChip
        : collection == reaching    ? m_reachingChip
                                    : m_chip;
    QCOMPARE(DBManager::BuildToolTipForColorEntry(collection, chip, html), expected);
}

QTEST_GUILESS_MAIN(TestToolTip)
#include "tst_tooltip.moc"
