// The drag-and-drop payload between the views: chips and bare colours out,
// and back in, with foreign drags left alone.

#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "services/DragDropHelper.h"

#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace Velmar;

namespace {

const QUuid deck(QStringLiteral("{00000000-0000-0000-0000-000000000001}"));

std::unique_ptr<QMimeData> ourData(const QByteArray &bytes)
{
    auto data = std::make_unique<QMimeData>();
    data->setData(DragDropHelper::MimeType, bytes);
    return data;
}

} // namespace

class TestDragDrop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void chipPayloadText();
    void chipRoundTrip();
    void colourRoundTrip_data();
    void colourRoundTrip();
    void dragSource_data();
    void dragSource();
    void foreignDataChangesNothing_data();
    void foreignDataChangesNothing();
    void dragImage();

private:
    FixtureFolder m_folder;
    DB::ColorEntry m_chip;
};

void TestDragDrop::initTestCase()
{
    TestEnvironment::isolate();
    {
        auto writer = m_folder.createFile(QStringLiteral("deck.db"));
        const qint64 collection = writer->addCollection(deck, QStringLiteral("D"), QStringLiteral("Deck"), 1, true);
        CollectionWriter::Card card;
        const qint64 page = writer->addCard(collection, card);
        CollectionWriter::Chip chip;
        chip.code = QStringLiteral("DI-0101");
        chip.names = QStringList{QStringLiteral("Crème brûlée")};
        chip.red = 240;
        chip.green = 225;
        chip.blue = 190;
        writer->addChip(collection, page, chip);
        QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    }
    DBManager::s_installed_collections.clear();
    m_folder.activate();
    QCOMPARE(DBManager::GetColorEntryByColorCode(QStringLiteral("DI-0101"), m_chip), 0);
}

void TestDragDrop::chipPayloadText()
{
    DB::ColorEntry entry;
    entry.id = 42;
    QCOMPARE(DragDropHelper::buildColorChipData(DragSourceCardRoller, deck, entry),
             QStringLiteral("{ \"collectuionUuid\" : \"{00000000-0000-0000-0000-000000000001}\", "
                            "\"colorId\" : 42, \"from\" : 1 }"));
}

void TestDragDrop::chipRoundTrip()
{
    const std::unique_ptr<QMimeData> data(
        DragDropHelper::buildMimeData(DragDropHelper::buildColorChipData(DragSourceColorSchemer, deck, m_chip)));
    QCOMPARE(data->formats(), QStringList{DragDropHelper::MimeType});
    QVERIFY(DragDropHelper::validDragSource(data.get()));
    QCOMPARE(DragDropHelper::extractDragSource(data.get()), 2);

    QUuid collection;
    DB::ColorEntry entry;
    QCOMPARE(DragDropHelper::extractColorEntry(data.get(), collection, entry), 0);
    QCOMPARE(collection, deck);
    QCOMPARE(entry.id, m_chip.id);
    QCOMPARE(entry.code, QStringLiteral("DI-0101"));
    QCOMPARE(entry.name(0), QStringLiteral("Crème brûlée"));

    // A chip that is gone: the look-up's status.
    DB::ColorEntry missing;
    missing.id = 9999;
    const std::unique_ptr<QMimeData> stale(
        DragDropHelper::buildMimeData(DragDropHelper::buildColorChipData(DragSourceMyPalette, deck, missing)));
    QCOMPARE(DragDropHelper::extractColorEntry(stale.get(), collection, entry), -1);
}

void TestDragDrop::colourRoundTrip_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QString>("name1");
    QTest::addColumn<QString>("name2");
    QTest::newRow("plain") << QColor(12, 34, 56) << "Dusk" << "Crépuscule";
    QTest::newRow("white, high bit of every channel") << QColor(255, 255, 255) << "Blanc cassé" << "Ünïcødé ✓";
    QTest::newRow("translucent colour arrives opaque") << QColor(200, 10, 10, 40) << "" << "";
    QTest::newRow("clear colour arrives opaque") << QColor(0, 128, 255, 0) << "Clear" << "";
}

void TestDragDrop::colourRoundTrip()
{
    QFETCH(QColor, colour);
    QFETCH(QString, name1);
    QFETCH(QString, name2);
    const QString payload = DragDropHelper::buildColorData(DragSourceHuecast, colour, name1, name2);
    // The colour travels as the unsigned 0xFFRRGGBB.
    QVERIFY2(payload.contains(QStringLiteral("\"colorRgb\" : %1").arg(colour.rgb())), qPrintable(payload));
    const std::unique_ptr<QMimeData> data(DragDropHelper::buildMimeData(payload));
    QColor read;
    QString first, second;
    QCOMPARE(DragDropHelper::extractColor(data.get(), read), 0);
    QCOMPARE(DragDropHelper::extractColorNames(data.get(), first, second), 0);
    QCOMPARE(read, QColor(colour.red(), colour.green(), colour.blue()));
    QCOMPARE(read.alpha(), 255);
    QCOMPARE(first, name1);
    QCOMPARE(second, name2);
    QCOMPARE(DragDropHelper::extractDragSource(data.get()), 4);

    // Another program may send the colour with its own alpha byte; it
    // arrives opaque all the same.
    QString foreign = payload;
    foreign.replace(QStringLiteral("\"colorRgb\" : %1").arg(colour.rgb()),
                    QStringLiteral("\"colorRgb\" : %1").arg(colour.rgba()));
    const std::unique_ptr<QMimeData> foreignData(DragDropHelper::buildMimeData(foreign));
    QCOMPARE(DragDropHelper::extractColor(foreignData.get(), read), 0);
    QCOMPARE(read, QColor(colour.red(), colour.green(), colour.blue()));
}

void TestDragDrop::dragSource_data()
{
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<int>("source");
    QTest::newRow("1") << QByteArray("{ \"from\" : 1 }") << 1;
    QTest::newRow("4") << QByteArray("{ \"from\" : 4 }") << 4;
    QTest::newRow("0") << QByteArray("{ \"from\" : 0 }") << 0;
    QTest::newRow("5") << QByteArray("{ \"from\" : 5 }") << 0;
    QTest::newRow("negative") << QByteArray("{ \"from\" : -2 }") << 0;
    QTest::newRow("absent") << QByteArray("{ \"colorId\" : 3 }") << 0;
    QTest::newRow("text after a zero byte") << QByteArray("{ \"from\" : 3 }\0garbage", 22) << 3;
}

void TestDragDrop::dragSource()
{
    QFETCH(QByteArray, payload);
    QFETCH(int, source);
    QCOMPARE(DragDropHelper::extractDragSource(ourData(payload).get()), source);
}

void TestDragDrop::foreignDataChangesNothing_data()
{
    QTest::addColumn<bool>("ours");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("text from another program") << false << QByteArray("DI-0101");
    QTest::newRow("not JSON") << true << QByteArray("DI-0101");
    QTest::newRow("empty") << true << QByteArray();
    QTest::newRow("JSON that is not an object") << true << QByteArray("[ 1, 2 ]");
    QTest::newRow("a number") << true << QByteArray("42");
    QTest::newRow("unclosed string") << true << QByteArray("{ \"collectuionUuid\" : \"{0000");
    QTest::newRow("deeply nested") << true << QByteArray(100000, '[');
    QTest::newRow("invalid UTF-8") << true << QByteArray("\xff\xfe\x00\x7b", 4);
}

void TestDragDrop::foreignDataChangesNothing()
{
    QFETCH(bool, ours);
    QFETCH(QByteArray, bytes);
    QMimeData data;
    if (ours) {
        data.setData(DragDropHelper::MimeType, bytes);
    } else {
        data.setText(QString::fromUtf8(bytes));
        data.setUrls({QUrl::fromLocalFile(QStringLiteral("/some/file.png"))});
    }
    QCOMPARE(DragDropHelper::validDragSource(&data), ours);
    QCOMPARE(DragDropHelper::extractDragSource(&data), 0);

    QUuid collection = deck;
    DB::ColorEntry entry = m_chip;
    QCOMPARE(DragDropHelper::extractColorEntry(&data, collection, entry), -1);
    QCOMPARE(collection, deck);
    QCOMPARE(entry.id, m_chip.id);
    QCOMPARE(entry.code, m_chip.code);
    QColor colour(1, 2, 3);
    QCOMPARE(DragDropHelper::extractColor(&data, colour), -1);
    QCOMPARE(colour, QColor(1, 2, 3));
    QString first = QStringLiteral("kept"), second = QStringLiteral("kept");
    QCOMPARE(DragDropHelper::extractColorNames(&data, first, second), -1);
    QCOMPARE(first, QStringLiteral("kept"));
    QVERIFY(!DragDropHelper::validDragSource(nullptr));
}

void TestDragDrop::dragImage()
{
    const QImage image = DragDropHelper::buildDragPixmap(QColor(200, 40, 10), QStringLiteral("DI-0101")).toImage();
    QCOMPARE(image.size(), QSize(128, 64));
    const QColor topLeft = image.pixelColor(0, 0);
    // Sampled at the pixel's centre, just past the first stop.
    QVERIFY(topLeft.alpha() >= 253);
    QVERIFY(qAbs(topLeft.red() - 200) <= 1);
    QVERIFY(qAbs(topLeft.green() - 40) <= 1);
    // Beyond the last stop of the slanted gradient.
    QCOMPARE(image.pixelColor(127, 63).alpha(), 160);
    // The middle stop: 0.65 of the way along the axis from (0, 0) to (16, 63).
    QVERIFY(qAbs(image.pixelColor(0, 44).alpha() - 208) <= 3);
    // The code is written in black at the right, vertically centred.
    bool darkAtRight = false;
    for (int x = 64; x < 126 && !darkAtRight; ++x)
        darkAtRight = image.pixelColor(x, 32).red() < 100 && image.pixelColor(x, 32).alpha() == 255;
    QVERIFY(darkAtRight);
    QVERIFY(qAbs(image.pixelColor(10, 32).red() - 200) <= 1);
}

QTEST_MAIN(TestDragDrop)
#include "tst_dragdrop.moc"
