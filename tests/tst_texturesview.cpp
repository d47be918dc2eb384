// The textures page: the tint, the tiles, what a paint shows, and the main
// background under the content whatever part of it is repainted.

#include "DemoTheme.h"
#include "FixtureFolder.h"
#include "FixtureTheme.h"
#include "MaterialsWriter.h"
#include "PaintCounter.h"
#include "TestEnvironment.h"

#include "database/DBStructure.h"
#include "plugin/MainWidget.h"
#include "services/Global.h"
#include "services/Settings.h"
#include "services/TavoCustomStyle.h"
#include "services/Theme.h"
#include "views/TexturesViewport.h"
#include "views/TexturesWidget.h"

#include <QScrollBar>
#include <QtTest>

#include <algorithm>

using namespace Velmar;

namespace {

const QUuid textureDeck(QStringLiteral("{00008000-0000-0000-0000-000000000001}"));
const QUuid otherDeck(QStringLiteral("{00008000-0000-0000-0000-000000000002}"));

using Rects = QList<QRect>;

const QColor stoneColour(200, 160, 120);
const QColor chipOne(30, 60, 90);
const QColor chipTwo(240, 120, 60);

// A background whose every pixel tells where it lies: red and green the low
// bits of x and y, blue their high bits.
QImage positionImage(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, qRgb(x & 255, y & 255, ((x >> 8) << 4) | (y >> 8)));
    }
    return image;
}

QRgb backgroundAt(const QPoint &main)
{
    return qRgb(main.x() & 255, main.y() & 255, ((main.x() >> 8) << 4) | (main.y() >> 8));
}

QImage solid(const QSize &size, const QColor &colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// The tiles sorted by their place, top to bottom, left to right.
QList<QPair<QRect, DB::TextureMap>> tilesInPlaceOrder(const TexturesViewport &viewport)
{
    QList<QPair<QRect, DB::TextureMap>> tiles;
    for (auto it = viewport.tiles().cbegin(); it != viewport.tiles().cend(); ++it)
        tiles.append({it.key(), it.value()});
    std::sort(tiles.begin(), tiles.end(), [](const auto &a, const auto &b) {
        return a.first.top() != b.first.top() ? a.first.top() < b.first.top() : a.first.left() < b.first.left();
    });
    return tiles;
}

QRgb tinted(const QColor &pixel, const QColor &tint, double alpha)
{
    return qRgb(TexturesViewport::tintChannel(pixel.red(), tint.red(), alpha),
                TexturesViewport::tintChannel(pixel.green(), tint.green(), alpha),
                TexturesViewport::tintChannel(pixel.blue(), tint.blue(), alpha));
}

} // namespace

// Sends the signals the main widget sends.
class PageNotifier : public QObject
{
    Q_OBJECT

signals:
    void selectedCollectionChanged(QUuid collectionId);
    void selectedPageChanged();
    void selectedRowChanged();
};

class tst_TexturesView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void tint_data();
    void tint();
    void tintedTextureIsCroppedAndOpaque();
    void tileLayout_data();
    void tileLayout();

    void pageIsBuiltAsAScrollArea();
    void tilesOfTheSelectedCard();
    void paintTintsWithTheSelectedChip_data();
    void paintTintsWithTheSelectedChip();
    void backgroundSliceStaysAtTheCorner();
    void slotsFollowTheSelection();

private:
    FixtureFolder m_folder;
    qint64 m_stone = -1;
    qint64 m_foreign = -1;
};

void tst_TexturesView::initTestCase()
{
    TestEnvironment::isolate();
    const qint64 system = DBStructure::SystemWideCollectionId;
    auto writer = m_folder.createFile(QStringLiteral("textures.db"));
    QVERIFY(FixtureTheme::write(*writer));
    QVERIFY(writer->exec(QStringLiteral("UPDATE THEME SET ITEM_DATA = :DATA WHERE ITEM_KEY = :KEY"),
                         {{QStringLiteral(":DATA"), DemoTheme::png(positionImage(QSize(800, 600)))},
                          {QStringLiteral(":KEY"), Theme::KeyOfWidgetMainBackgroundImage}}));
    const qint64 deck = writer->addCollection(textureDeck, QStringLiteral("T"), QStringLiteral("Textures"), 1, true);
    const qint64 other = writer->addCollection(otherDeck, QStringLiteral("O"), QStringLiteral("Other"), 2, true);
    QVERIFY(writer->addText(deck, QStringLiteral("textures.select.message"), QStringLiteral("Pick a texture")));

    CollectionWriter::Card card;
    card.segment = 3;
    const qint64 first = writer->addCard(deck, card);
    for (int row = 1; row <= 2; ++row) {
        CollectionWriter::Chip chip;
        chip.rowIndex = row;
        chip.code = QStringLiteral("T-%1").arg(row);
        const QColor colour = row == 1 ? chipOne : chipTwo;
        chip.red = colour.red();
        chip.green = colour.green();
        chip.blue = colour.blue();
        writer->addChip(deck, first, chip);
    }
    card.pageIndex = 2;
    writer->addCard(deck, card);

    // A solid texture of the tile size, a larger system-wide one, and one of
    // another collection that this deck's card names all the same.
    m_stone = MaterialsWriter::addTexture(*writer, deck, QStringLiteral("Stone"),
                                          DemoTheme::solidPng(QSize(148, 96), stoneColour));
    const qint64 plaster = MaterialsWriter::addTexture(*writer, system, QStringLiteral("Plaster"),
                                                       DemoTheme::solidPng(QSize(300, 200), Qt::white), 0.2);
    m_foreign = MaterialsWriter::addTexture(*writer, other, QStringLiteral("Foreign"),
                                            DemoTheme::solidPng(QSize(148, 96), Qt::green));
    QVERIFY(MaterialsWriter::placeTexture(*writer, m_stone, first, 0.5, QStringLiteral("Stone wall")));
    QVERIFY(MaterialsWriter::placeTexture(*writer, plaster, first, 1.0, QStringLiteral("Plaster")));
    QVERIFY(MaterialsWriter::placeTexture(*writer, m_foreign, first, 1.0, QStringLiteral("Not ours")));
    QVERIFY(MaterialsWriter::placeTexture(*writer, m_stone + 1000, first, 1.0, QStringLiteral("Gone")));
    QVERIFY(MaterialsWriter::placeTexture(*writer, m_stone, first + 50, 1.0, QStringLiteral("Elsewhere")));
    // A fourth tile that goes to a second line.
    const qint64 copy = MaterialsWriter::addTexture(*writer, deck, QStringLiteral("Stone copy"),
                                                    DemoTheme::solidPng(QSize(148, 96), stoneColour));
    QVERIFY(MaterialsWriter::placeTexture(*writer, copy, first, 0.25, QStringLiteral("Second line")));
    // A texture smaller than its tile: the rest of the tile shows the page.
    const qint64 pebble = MaterialsWriter::addTexture(*writer, deck, QStringLiteral("Pebble"),
                                                      DemoTheme::solidPng(QSize(60, 40), stoneColour));
    QVERIFY(MaterialsWriter::placeTexture(*writer, pebble, first, 1.0, QStringLiteral("Small")));
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();
    QCOMPARE(Global::InitializePrerequisites(QString(), m_folder.lookupFolder()), 0);
}

void tst_TexturesView::init()
{
    Settings::setUuidOfLastUsedCollection(textureDeck);
    Settings::setPageIndex(textureDeck, 1);
    Settings::setRowIndex(textureDeck, 1);
    Global::g_mainWidget = nullptr;
}

void tst_TexturesView::tint_data()
{
    QTest::addColumn<int>("p");
    QTest::addColumn<int>("t");
    QTest::addColumn<double>("alpha");
    QTest::addColumn<int>("out");

    QTest::newRow("white tint, alpha 1: unchanged but for the shift") << 255 << 255 << 1.0 << 254;
    QTest::newRow("alpha 0: the channel squared") << 200 << 17 << 0.0 << (200 * 200 >> 8);
    QTest::newRow("half and half") << 100 << 200 << 0.5 << (100 * 150 >> 8);
    QTest::newRow("the mix truncates") << 101 << 0 << 0.5 << (101 * 50 >> 8);
    QTest::newRow("black tint, alpha 1") << 180 << 0 << 1.0 << 0;
    // Outside 0..1 the mix is clamped, where wrapping gave 126 * 128 >> 8.
    QTest::newRow("alpha 2 clamps high") << 128 << 255 << 2.0 << (128 * 255 >> 8);
    QTest::newRow("alpha -1 clamps high") << 200 << 0 << -1.0 << (200 * 255 >> 8);
    QTest::newRow("alpha -1 clamps low") << 100 << 255 << -1.0 << 0;
    QTest::newRow("not a number") << 100 << 255 << qQNaN() << 0;
}

void tst_TexturesView::tint()
{
    QFETCH(int, p);
    QFETCH(int, t);
    QFETCH(double, alpha);
    QFETCH(int, out);
    QCOMPARE(TexturesViewport::tintChannel(p, t, alpha), out);
}

void tst_TexturesView::tintedTextureIsCroppedAndOpaque()
{
    QImage texture(200, 120, QImage::Format_ARGB32);
    texture.fill(QColor(10, 200, 90, 40));
    texture.setPixel(147, 95, qRgba(255, 255, 255, 255));
    texture.setPixel(148, 96, qRgba(0, 0, 0, 255));
    const QColor tint(90, 180, 30);
    const QImage out = TexturesViewport::tintedTexture(texture, tint, 0.6, QSize(148, 96));
    QCOMPARE(out.size(), QSize(148, 96));
    QCOMPARE(out.format(), QImage::Format_ARGB32);
    QCOMPARE(out.pixel(0, 0), tinted(QColor(10, 200, 90), tint, 0.6));
    QCOMPARE(out.pixel(147, 95), tinted(Qt::white, tint, 0.6));
    // A smaller texture keeps its own size; other formats are read as ARGB32.
    const QImage small = TexturesViewport::tintedTexture(solid(QSize(20, 10), Qt::gray).convertToFormat(
                                                             QImage::Format_RGB888),
                                                         tint, 1.0, QSize(148, 96));
    QCOMPARE(small.size(), QSize(20, 10));
    QCOMPARE(small.pixel(19, 9), tinted(Qt::gray, tint, 1.0));
    QVERIFY(TexturesViewport::tintedTexture(QImage(), tint, 1.0, QSize(148, 96)).isNull());
}

void tst_TexturesView::tileLayout_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QSize>("tile");
    QTest::addColumn<int>("count");
    QTest::addColumn<Rects>("tiles");
    QTest::addColumn<int>("height");

    // Title 20 high, names 15: the first line at y 28, a line step of
    // 96 + 15 + 16 = 127.
    const QSize tile(148, 96);
    QTest::newRow("no placing: the empty first line")
        << 500 << tile << 0 << Rects() << 96 + 20 + 7 + 15 + 16;
    QTest::newRow("500 wide: gap 28, the fourth starts a line")
        << 500 << tile << 4 << Rects{{0, 28, 148, 96}, {176, 28, 148, 96}, {352, 28, 148, 96}, {0, 155, 148, 96}}
        << 155 + 95 + 15 + 16;
    QTest::newRow("exactly three tiles wide")
        << 444 << tile << 3 << Rects{{0, 28, 148, 96}, {148, 28, 148, 96}, {296, 28, 148, 96}} << 28 + 95 + 15 + 16;
    QTest::newRow("odd spare width truncates the gap")
        << 449 << tile << 3 << Rects{{0, 28, 148, 96}, {150, 28, 148, 96}, {300, 28, 148, 96}} << 28 + 95 + 15 + 16;
    QTest::newRow("narrower than three: tiles abut, never overlap")
        << 300 << tile << 3 << Rects{{0, 28, 148, 96}, {148, 28, 148, 96}, {0, 155, 148, 96}} << 155 + 95 + 15 + 16;
    QTest::newRow("a small tile size") << 330 << QSize(100, 50) << 2 << Rects{{0, 28, 100, 50}, {115, 28, 100, 50}}
                                      << 28 + 49 + 15 + 16;
}

void tst_TexturesView::tileLayout()
{
    QFETCH(int, width);
    QFETCH(QSize, tile);
    QFETCH(int, count);
    QFETCH(Rects, tiles);
    QFETCH(int, height);

    int contentHeight = -1;
    QCOMPARE(TexturesViewport::tileRects(width, tile, 20, 15, count, &contentHeight).toList(), tiles);
    QCOMPARE(contentHeight, height);
}

void tst_TexturesView::pageIsBuiltAsAScrollArea()
{
    TexturesWidget page;
    QCOMPARE(page.objectName(), QStringLiteral("TexturesWidget"));
    QCOMPARE(page.texturesViewport()->objectName(), QStringLiteral("TexturesViewport"));
    QCOMPARE(page.widget(), page.texturesViewport());
    QCOMPARE(page.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(page.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(page.frameStyle(), 0);
    QCOMPARE(page.focusPolicy(), Qt::StrongFocus);
    QVERIFY(page.hasMouseTracking());
    QVERIFY(page.texturesViewport()->hasMouseTracking());
    QVERIFY(!page.texturesViewport()->autoFillBackground());
    auto *style = qobject_cast<TavoCustomStyle *>(page.verticalScrollBar()->style());
    QVERIFY(style);
    QCOMPARE(style->parent(), &page);
    page.resize(400, 226);
    page.show();
    QCOMPARE(page.viewport()->geometry().topLeft(), QPoint(16, 16));
    QCOMPARE(page.maximumViewportSize(), QSize(400 - 32 - 12, 226 - 32));
    // The collection's textures and the system-wide one are loaded at once.
    QCOMPARE(page.texturesViewport()->textures().size(), 4);
    QVERIFY(!page.texturesViewport()->textures().contains(m_foreign));
}

void tst_TexturesView::tilesOfTheSelectedCard()
{
    TexturesWidget page;
    TexturesViewport *viewport = page.texturesViewport();
    viewport->resize(500, 10);
    viewport->recalculateLayout();
    const auto tiles = tilesInPlaceOrder(*viewport);
    QStringList names;
    for (const auto &tile : tiles)
        names << tile.second.name;
    // File order, three to a line; the placing of a missing texture is gone.
    QCOMPARE(names, (QStringList{"Stone wall", "Plaster", "Not ours", "Second line", "Small"}));
    QCOMPARE(tiles.at(1).first.left(), 176);
    QCOMPARE(tiles.at(3).first.left(), 0);
    QVERIFY(tiles.at(3).first.top() > tiles.at(0).first.bottom());
    QCOMPARE(tiles.at(4).first.top(), tiles.at(3).first.top());
    QCOMPARE(viewport->height(), tiles.at(3).first.bottom() + QFontMetrics(Theme::italicFont()).height() + 16);
    // Without the main widget there is no background slice.
    QVERIFY(viewport->backgroundSlice().isNull());
}

void tst_TexturesView::paintTintsWithTheSelectedChip_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QColor>("tint");

    QTest::newRow("first chip") << 1 << chipOne;
    QTest::newRow("second chip") << 2 << chipTwo;
    QTest::newRow("no chip selected: red") << 0 << QColor(255, 0, 0);
    QTest::newRow("row past the card: red") << 3 << QColor(255, 0, 0);
}

void tst_TexturesView::paintTintsWithTheSelectedChip()
{
    QFETCH(int, row);
    QFETCH(QColor, tint);

    Settings::setRowIndex(textureDeck, row);
    QCOMPARE(TexturesViewport::currentTint(), tint);
    TexturesWidget page;
    TexturesViewport *viewport = page.texturesViewport();
    viewport->resize(500, 10);
    viewport->recalculateLayout();
    QImage image(viewport->size(), QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    viewport->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);

    const auto tiles = tilesInPlaceOrder(*viewport);
    const QRect stone = tiles.at(0).first;
    QCOMPARE(image.pixel(stone.center()), tinted(stoneColour, tint, 0.5));
    // The placing's alpha counts, not the texture's base alpha of 0.2.
    QCOMPARE(image.pixel(tiles.at(1).first.center()), tinted(Qt::white, tint, 1.0));
    QCOMPARE(image.pixel(tiles.at(3).first.center()), tinted(stoneColour, tint, 0.25));
    // Frames: the dark outline on the tile's edge.
    QCOMPARE(image.pixel(stone.left(), stone.center().y()), qRgb(96, 96, 96));
    QCOMPARE(image.pixel(stone.right(), stone.bottom()), qRgb(96, 96, 96));
    // A small texture covers the top-left of its tile; the frames are the tile's.
    const QRect small = tiles.at(4).first;
    QCOMPARE(image.pixel(small.topLeft() + QPoint(30, 20)), tinted(stoneColour, tint, 1.0));
    QCOMPARE(image.pixel(small.center() + QPoint(20, 20)), QColor(Qt::magenta).rgb());
    QCOMPARE(image.pixel(small.right(), small.center().y()), qRgb(96, 96, 96));
    QCOMPARE(image.pixel(small.left(), small.top()), qRgb(96, 96, 96));
    // A texture of another collection is not drawn: the page shows through.
    const QRect foreign = tiles.at(2).first;
    QCOMPARE(image.pixel(foreign.center()), QColor(Qt::magenta).rgb());
    QCOMPARE(image.pixel(foreign.topLeft()), QColor(Qt::magenta).rgb());
    // The title in white at the top-left (magenta has no green).
    bool title = false;
    for (int y = 0; y < 20 && !title; ++y) {
        for (int x = 0; x < 60 && !title; ++x)
            title = qGreen(image.pixel(x, y)) > 200;
    }
    QVERIFY(title);

    // The same page after another chip was chosen: the new tint at once.
    const int otherRow = row == 1 ? 2 : 1;
    Settings::setRowIndex(textureDeck, otherRow);
    page.selectedRowChanged();
    viewport->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    QCOMPARE(image.pixel(stone.center()), tinted(stoneColour, otherRow == 1 ? chipOne : chipTwo, 0.5));
}

void tst_TexturesView::backgroundSliceStaysAtTheCorner()
{
    MainWidget *main = new MainWidget(Global::g_mainWidget);
    auto *page = new TexturesWidget(main);
    page->setGeometry(231, 101, 568, 226);
    page->doResize(QRect(0, 0, page->width(), page->height()));
    TexturesViewport *viewport = page->texturesViewport();
    // The content starts inside the page's margins of 16.
    const QPoint corner(231 + 16, 101 + 16);
    QCOMPARE(viewport->backgroundSlice().size(), viewport->size());
    QCOMPARE(viewport->backgroundSlice().pixel(0, 0), backgroundAt(corner));
    QCOMPARE(viewport->backgroundSlice().pixel(300, 150), backgroundAt(corner + QPoint(300, 150)));

    // A repaint of a part of the content away from the title and tiles.
    const QRect part(470, 180, 30, 20);
    QImage image(viewport->size(), QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    viewport->render(&image, part.topLeft(), QRegion(part), QWidget::DrawChildren);
    for (const QPoint &p : {part.topLeft(), part.center(), part.bottomRight()})
        QCOMPARE(image.pixel(p), backgroundAt(corner + p));
    QCOMPARE(image.pixel(part.topLeft() - QPoint(1, 1)), QColor(Qt::magenta).rgb());

    delete main;
    Global::g_mainWidget = nullptr;
}

void tst_TexturesView::slotsFollowTheSelection()
{
    TexturesWidget page;
    page.resize(548, 226);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    TexturesViewport *viewport = page.texturesViewport();
    QCOMPARE(viewport->tiles().size(), 5);

    PageNotifier notifier;
    QVERIFY(QObject::connect(&notifier, SIGNAL(selectedCollectionChanged(QUuid)), &page,
                             SLOT(selectedCollectionChanged(QUuid))));
    QVERIFY(QObject::connect(&notifier, SIGNAL(selectedPageChanged()), &page, SLOT(selectedPageChanged())));
    QVERIFY(QObject::connect(&notifier, SIGNAL(selectedRowChanged()), &page, SLOT(selectedRowChanged())));

    // A card without placings: no tiles, and the content keeps the page's size.
    Settings::setPageIndex(textureDeck, 2);
    emit notifier.selectedPageChanged();
    QVERIFY(viewport->tiles().isEmpty());
    QCOMPARE(viewport->size(), page.maximumViewportSize());

    // A new row only repaints.
    PaintCounter counter(viewport);
    QCoreApplication::processEvents();
    counter.count = 0;
    Settings::setPageIndex(textureDeck, 1);
    emit notifier.selectedRowChanged();
    QTRY_VERIFY(counter.count > 0);
    QVERIFY(viewport->tiles().isEmpty());

    // Another collection: its own textures and the card stored for it.
    Settings::setUuidOfLastUsedCollection(otherDeck);
    emit notifier.selectedCollectionChanged(otherDeck);
    QCOMPARE(viewport->textures().size(), 2);
    QVERIFY(viewport->textures().contains(m_foreign));
    QVERIFY(viewport->tiles().isEmpty());
}

QTEST_MAIN(tst_TexturesView)
#include "tst_texturesview.moc"
