// The products page: the selected chip's code and the products or product
// groups it is made in, by the collection's mode, in columns that scroll
// sideways on the plug-in's own bar.

#include "FixtureFolder.h"
#include "FixtureTheme.h"
#include "MaterialsWriter.h"
#include "TestEnvironment.h"

#include "services/Global.h"
#include "services/Settings.h"
#include "services/TavoCustomStyle.h"
#include "services/Theme.h"
#include "views/ProductsWidget.h"

#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QtTest>

using namespace Velmar;

namespace {

const QUuid groupsDeck(QStringLiteral("{00002000-0000-0000-0000-000000000001}"));
const QUuid productsDeck(QStringLiteral("{00002000-0000-0000-0000-000000000002}"));

QStringList itemsOf(const QListWidget *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

} // namespace

// Sends the collection signal the main widget sends.
class CollectionNotifier : public QObject
{
    Q_OBJECT

signals:
    void selectedCollectionChanged(QUuid collectionId);
};

class tst_ProductsView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void layout_data();
    void layout();
    void refresh_data();
    void refresh();
    void pageIsBuiltWithCaptionAndList();
    void showingAndTheCollectionSlotRefresh();
    void manyNamesScrollSideways();

private:
    FixtureFolder m_folder;
};

void tst_ProductsView::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("products.db"));
    QVERIFY(FixtureTheme::write(*writer));
    // Groups mode by default (no setting); products mode by name.
    const qint64 groups = writer->addCollection(groupsDeck, QStringLiteral("G"), QStringLiteral("Groups"), 1, true);
    const qint64 products = writer->addCollection(productsDeck, QStringLiteral("P"), QStringLiteral("Products"), 2, true);
    QVERIFY(writer->addSetting(products, QStringLiteral("product.groups.mode"), QStringLiteral("products")));

    const qint64 matt = MaterialsWriter::addProduct(*writer, QStringLiteral("Matt emulsion"));
    const qint64 gloss = MaterialsWriter::addProduct(*writer, QStringLiteral("High gloss"));
    const qint64 walls = MaterialsWriter::addProductGroup(*writer, QStringLiteral("Walls and ceilings"));
    const qint64 wood = MaterialsWriter::addProductGroup(*writer, QStringLiteral("Wood and metal"));
    for (qint64 deck : {groups, products}) {
        CollectionWriter::Card card;
        const qint64 page = writer->addCard(deck, card);
        // Chip 1 has products and groups, chip 2 only products, chip 3 neither,
        // chip 4 sixty products.
        for (int row = 1; row <= 4; ++row) {
            CollectionWriter::Chip chip;
            chip.rowIndex = row;
            chip.code = QStringLiteral("%1-%2").arg(deck == groups ? QLatin1Char('G') : QLatin1Char('P')).arg(row);
            const qint64 id = writer->addChip(deck, page, chip);
            if (row == 1) {
                MaterialsWriter::linkProduct(*writer, deck, id, gloss);
                MaterialsWriter::linkProduct(*writer, deck, id, matt);
                MaterialsWriter::linkProductGroup(*writer, deck, id, wood);
                MaterialsWriter::linkProductGroup(*writer, deck, id, walls);
            } else if (row == 2) {
                MaterialsWriter::linkProduct(*writer, deck, id, matt);
            } else if (row == 4) {
                for (int i = 1; i <= 60; ++i) {
                    MaterialsWriter::linkProduct(*writer, deck, id,
                                                 MaterialsWriter::addProduct(*writer, QStringLiteral("Product %1").arg(i)));
                }
            }
        }
    }
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();
    QCOMPARE(Global::InitializePrerequisites(QString(), m_folder.lookupFolder()), 0);
}

void tst_ProductsView::layout_data()
{
    QTest::addColumn<QRect>("rect");
    QTest::addColumn<int>("lineHeight");
    QTest::addColumn<QRect>("caption");
    QTest::addColumn<QRect>("list");

    QTest::newRow("the page") << QRect(0, 0, 568, 226) << 22 << QRect(8, 8, 552, 22) << QRect(8, 37, 552, 181);
    QTest::newRow("moved rectangle") << QRect(10, 20, 100, 100) << 10 << QRect(18, 28, 84, 10)
                                     << QRect(18, 45, 84, 67);
}

void tst_ProductsView::layout()
{
    QFETCH(QRect, rect);
    QFETCH(int, lineHeight);
    QFETCH(QRect, caption);
    QFETCH(QRect, list);
    QCOMPARE(ProductsWidget::captionRect(rect, lineHeight), caption);
    QCOMPARE(ProductsWidget::listRect(rect, lineHeight), list);
}

void tst_ProductsView::refresh_data()
{
    QTest::addColumn<QUuid>("collection");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("no chip selected") << groupsDeck << 0 << " " << QStringList();
    QTest::newRow("row past the card") << groupsDeck << 5 << " " << QStringList();
    QTest::newRow("groups mode: the chip's groups")
        << groupsDeck << 1 << "G-1" << QStringList{"Wood and metal", "Walls and ceilings"};
    QTest::newRow("groups mode: a chip with products only") << groupsDeck << 2 << "G-2" << QStringList();
    QTest::newRow("products mode: the chip's products")
        << productsDeck << 1 << "P-1" << QStringList{"High gloss", "Matt emulsion"};
    QTest::newRow("products mode: one product") << productsDeck << 2 << "P-2" << QStringList{"Matt emulsion"};
    QTest::newRow("a chip with neither") << productsDeck << 3 << "P-3" << QStringList();
}

void tst_ProductsView::refresh()
{
    QFETCH(QUuid, collection);
    QFETCH(int, row);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);

    Settings::setUuidOfLastUsedCollection(collection);
    Settings::setPageIndex(collection, 1);
    ProductsWidget page;
    // Whatever the page showed before goes.
    page.list()->addItem(QStringLiteral("left over"));
    page.caption()->setText(QStringLiteral("OLD"));
    Settings::setRowIndex(collection, row);
    page.selectedColorChanged();
    QCOMPARE(page.caption()->text(), caption);
    QCOMPARE(itemsOf(page.list()), items);
    QVERIFY(page.updatesEnabled());
}

void tst_ProductsView::pageIsBuiltWithCaptionAndList()
{
    ProductsWidget page;
    QCOMPARE(page.objectName(), QStringLiteral("ProductsWidget"));
    QCOMPARE(page.focusPolicy(), Qt::StrongFocus);
    QVERIFY(page.hasMouseTracking());
    QCOMPARE(page.caption()->parent(), &page);
    QCOMPARE(page.list()->parent(), &page);
    QCOMPARE(page.list()->frameShape(), QFrame::NoFrame);
    QCOMPARE(page.list()->focusPolicy(), Qt::NoFocus);
    QCOMPARE(page.list()->viewMode(), QListView::ListMode);
    QCOMPARE(page.list()->flow(), QListView::TopToBottom);
    QVERIFY(page.list()->isWrapping());
    QCOMPARE(page.list()->selectionMode(), QAbstractItemView::NoSelection);
    QCOMPARE(page.font(), Theme::normalFont(Theme::FontSizeLargest));
    QCOMPARE(page.palette().color(QPalette::Inactive, QPalette::WindowText), QColor(228, 228, 228));
    auto *style = qobject_cast<TavoCustomStyle *>(page.list()->horizontalScrollBar()->style());
    QVERIFY(style);
    QCOMPARE(style->parent(), &page);

    page.resize(568, 226);
    page.show();
    const int line = QFontMetrics(page.font()).size(0, QStringLiteral("Ág")).height();
    QCOMPARE(page.caption()->geometry(), ProductsWidget::captionRect(page.rect(), line));
    QCOMPARE(page.list()->geometry(), ProductsWidget::listRect(page.rect(), line));
    QCOMPARE(page.list()->palette().color(QPalette::Active, QPalette::Text), QColor(189, 189, 189));
    // The main background under the list.
    const QImage base = page.list()->palette().brush(QPalette::Disabled, QPalette::Base).textureImage();
    QCOMPARE(base.size(), page.list()->size());
    QCOMPARE(base.pixel(0, 0), FixtureTheme::colourOf(Theme::KeyOfWidgetMainBackgroundImage).rgb());
}

void tst_ProductsView::showingAndTheCollectionSlotRefresh()
{
    Settings::setUuidOfLastUsedCollection(productsDeck);
    Settings::setPageIndex(productsDeck, 1);
    Settings::setRowIndex(productsDeck, 2);
    ProductsWidget page;
    QCOMPARE(page.list()->count(), 0);
    page.show();
    QCOMPARE(page.caption()->text(), QStringLiteral("P-2"));

    CollectionNotifier notifier;
    QVERIFY(QObject::connect(&notifier, SIGNAL(selectedCollectionChanged(QUuid)), &page,
                             SLOT(selectedCollectionChanged(QUuid))));
    Settings::setUuidOfLastUsedCollection(groupsDeck);
    Settings::setPageIndex(groupsDeck, 1);
    Settings::setRowIndex(groupsDeck, 1);
    emit notifier.selectedCollectionChanged(groupsDeck);
    QCOMPARE(page.caption()->text(), QStringLiteral("G-1"));
    QCOMPARE(page.list()->count(), 2);
}

void tst_ProductsView::manyNamesScrollSideways()
{
    Settings::setUuidOfLastUsedCollection(productsDeck);
    Settings::setPageIndex(productsDeck, 1);
    Settings::setRowIndex(productsDeck, 4);
    ProductsWidget page;
    page.resize(568, 226);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    QCOMPARE(page.list()->count(), 60);
    QScrollBar *bar = page.list()->horizontalScrollBar();
    QTRY_VERIFY(bar->isVisible());
    QVERIFY(bar->maximum() > 0);
    QVERIFY(!page.list()->verticalScrollBar()->isVisible());
    QCOMPARE(bar->height(), 12);

    // Drawn by the custom style: a grey track and a lighter handle at the start.
    QImage image(bar->size(), QImage::Format_ARGB32);
    image.fill(Qt::black);
    bar->render(&image);
    const QRgb handle = image.pixel(20, 6);
    const QRgb track = image.pixel(bar->width() - 3, 6);
    QVERIFY(qRed(handle) >= 192 && qRed(handle) <= 208);
    QVERIFY(qRed(track) >= 144 && qRed(track) <= 152);
}

QTEST_MAIN(tst_ProductsView)
#include "tst_productsview.moc"
