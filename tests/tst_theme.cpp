// Theme images, colours and fonts by key, with their fallbacks.

#include "DemoTheme.h"
#include "FixtureFolder.h"
#include "TestEnvironment.h"

#include "database/DBManager.h"
#include "database/DBStructure.h"
#include "services/Theme.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTest>

#include <memory>

using namespace Velmar;

Q_DECLARE_METATYPE(Theme::FontFace)

namespace {

const QUuid deck(QStringLiteral("{b2000000-0000-4000-8000-000000000001}"));

bool isInstalled(const QString &family)
{
    for (const QString &installed : QFontDatabase::families()) {
        if (installed.compare(family, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

class TestTheme : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void colours_data();
    void colours();
    void placeholder_data();
    void placeholder();
    void emptyPlaceholderIsNull_data();
    void emptyPlaceholderIsNull();
    void imagesComeAtTheirOwnSize();
    void fontListEntries_data();
    void fontListEntries();
    void preferredFamily_data();
    void preferredFamily();
    void uninstalledFamiliesFallBackOnce();
    void fontVariants();

private:
    // A lookup folder whose system-wide collection holds these theme items.
    void useSystemTheme(const QList<QPair<QString, QByteArray>> &items);

    FixtureFolder m_folder;
    std::unique_ptr<FixtureFolder> m_fontFolder;
};

void TestTheme::initTestCase()
{
    TestEnvironment::isolate();
    auto writer = m_folder.createFile(QStringLiteral("theme.db"));
    const qint64 d = writer->addCollection(deck, QStringLiteral("D"), QStringLiteral("Deck"), 1, true);
    const QList<QPair<QString, QByteArray>> colours{
        {"three parts", "12,34,56"},
        {"four parts", "12,34,56,128"},
        {"two parts", "12,34"},
        {"five parts", "1,2,3,4,5"},
        {"above 255", "256,0,0"},
        {"below 0", "-1,0,0"},
        {"not a number", "12,x,56"},
        {"empty parts dropped", "12,,34,,56"},
        {"text after a nul", QByteArray("12,34,56\0,99,garbage", 20)},
        {"nul first", QByteArray("\0" "12,34,56", 9)},
    };
    for (const auto &item : colours)
        QVERIFY(writer->addThemeItem(d, QStringLiteral("color.") + item.first, item.second));
    QVERIFY(writer->exec(QStringLiteral("INSERT INTO THEME (COLLECTION_ID, ITEM_KEY, ITEM_DATA) "
                                        "VALUES (:C, 'color.stored as text', '12,34,56')"),
                         {{QStringLiteral(":C"), d}}));
    QVERIFY(writer->addThemeItem(DBStructure::SystemWideCollectionId, QStringLiteral("color.system"), "1,2,3"));

    QVERIFY(writer->addThemeItem(d, Theme::KeyOfMtoImage, DemoTheme::solidPng(QSize(96, 50), QColor(10, 200, 30))));
    QVERIFY(writer->addThemeItem(DBStructure::SystemWideCollectionId, Theme::KeyOfMtoImage, DemoTheme::solidPng(QSize(23, 21), Qt::blue)));
    QVERIFY(writer->addThemeItem(d, QStringLiteral("image.corrupt"), "not an image at all"));
    QVERIFY2(writer->isOk(), qPrintable(writer->lastError()));
    writer.reset();
    DBManager::s_installed_collections.clear();
    m_folder.activate();
}

void TestTheme::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral("Point size")));
}

void TestTheme::useSystemTheme(const QList<QPair<QString, QByteArray>> &items)
{
    m_fontFolder = std::make_unique<FixtureFolder>();
    auto writer = m_fontFolder->createFile(QStringLiteral("fonts.db"));
    for (const auto &item : items)
        QVERIFY(writer->addThemeItem(DBStructure::SystemWideCollectionId, item.first, item.second));
    QVERIFY(writer->isOk());
    writer.reset();
    DBManager::s_installed_collections.clear();
    m_fontFolder->activate();
}

void TestTheme::colours_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QColor>("expected");
    const QColor fallback(7, 7, 7, 7);
    QTest::newRow("three parts") << "three parts" << QColor(12, 34, 56, 255);
    QTest::newRow("four parts") << "four parts" << QColor(12, 34, 56, 128);
    QTest::newRow("two parts") << "two parts" << fallback;
    QTest::newRow("five parts") << "five parts" << fallback;
    QTest::newRow("above 255") << "above 255" << fallback;
    QTest::newRow("below 0") << "below 0" << fallback;
    QTest::newRow("not a number") << "not a number" << fallback;
    QTest::newRow("empty parts dropped") << "empty parts dropped" << QColor(12, 34, 56);
    QTest::newRow("text after a nul") << "text after a nul" << QColor(12, 34, 56);
    QTest::newRow("nul first") << "nul first" << fallback;
    QTest::newRow("stored as text") << "stored as text" << fallback;
    QTest::newRow("missing") << "missing" << fallback;
}

void TestTheme::colours()
{
    QFETCH(QString, key);
    QFETCH(QColor, expected);
    const QColor colour = Theme::getColorByKey(deck, QStringLiteral("color.") + key, QColor(7, 7, 7, 7));
    QCOMPARE(colour.rgba(), expected.rgba());
    QCOMPARE(Theme::getColorByKey(QStringLiteral("color.system"), Qt::black), QColor(1, 2, 3));
}

void TestTheme::placeholder_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("40 by 20") << QSize(40, 20);
    QTest::newRow("44 by 44") << QSize(44, 44);
    QTest::newRow("4 by 4") << QSize(4, 4);
    QTest::newRow("3 by 3") << QSize(3, 3);
    QTest::newRow("3 by 8") << QSize(3, 8);
    QTest::newRow("2 by 7") << QSize(2, 7);
    QTest::newRow("1 by 1") << QSize(1, 1);
}

void TestTheme::placeholder()
{
    QFETCH(QSize, size);
    for (const QString &key : {QStringLiteral("image.missing"), QStringLiteral("image.corrupt")}) {
        const QImage image = Theme::getImageByKey(deck, key, size);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.format(), QImage::Format_ARGB32);
        const int right = size.width() - 2;
        const int bottom = size.height() - 2;
        for (int y = 0; y < size.height(); ++y) {
            for (int x = 0; x < size.width(); ++x) {
                const bool inside = x >= 1 && x <= right && y >= 1 && y <= bottom;
                const bool outline = inside && (x == 1 || x == right || y == 1 || y == bottom);
                const QRgb expected = outline ? qRgb(255, 0, 0) : qRgb(255, 255, 255);
                QVERIFY2(image.pixel(x, y) == expected, qPrintable(QStringLiteral("%1 at (%2, %3)").arg(key).arg(x).arg(y)));
            }
        }
    }
}

void TestTheme::emptyPlaceholderIsNull_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("invalid") << QSize();
    QTest::newRow("0 by 0") << QSize(0, 0);
    QTest::newRow("0 wide") << QSize(0, 12);
    QTest::newRow("negative") << QSize(20, -3);
}

void TestTheme::emptyPlaceholderIsNull()
{
    QFETCH(QSize, size);
    QVERIFY(Theme::getImageByKey(deck, QStringLiteral("image.missing"), size).isNull());
}

void TestTheme::imagesComeAtTheirOwnSize()
{
    const QImage own = Theme::getImageByKey(deck, Theme::KeyOfMtoImage, QSize(10, 10));
    QCOMPARE(own.size(), QSize(96, 50));
    QCOMPARE(own.pixelColor(48, 25), QColor(10, 200, 30));
    // The short form reads the system-wide collection's item.
    const QImage shared = Theme::getImageByKey(Theme::KeyOfMtoImage, QSize(44, 44));
    QCOMPARE(shared.size(), QSize(23, 21));
    QCOMPARE(shared.pixelColor(0, 0), QColor(Qt::blue));
    // Keys match without regard to case.
    QCOMPARE(Theme::getImageByKey(deck, QStringLiteral("IMAGE.MTO"), QSize(1, 1)).size(), QSize(96, 50));
}

void TestTheme::fontListEntries_data()
{
    using Faces = QList<Theme::FontFace>;
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<Faces>("expected");
    const Faces builtIn{{"Myriad Pro", 12}, {"Arial", 10}};
    QTest::newRow("one entry") << QByteArray("DejaVu Sans,12") << Faces{{"DejaVu Sans", 12}};
    QTest::newRow("two entries, empty ones dropped") << QByteArray("A,10;;B,9;") << Faces{{"A", 10}, {"B", 9}};
    QTest::newRow("family kept as written") << QByteArray(" Spaced ,10") << Faces{{" Spaced ", 10}};
    QTest::newRow("bad entries skipped") << QByteArray("Foo;A,10,3;Bar,x;Baz,0;C,8") << Faces{{"C", 8}};
    QTest::newRow("repeated family") << QByteArray("Arial,10;Arial,11") << builtIn;
    QTest::newRow("nothing valid") << QByteArray("Foo;Bar,x;Baz,0") << builtIn;
    QTest::newRow("negative size") << QByteArray("A,-2") << builtIn;
    QTest::newRow("empty") << QByteArray() << builtIn;
    QTest::newRow("utf-8") << QByteArray("Crème Sans,11") << Faces{{QStringLiteral("Crème Sans"), 11}};
}

void TestTheme::fontListEntries()
{
    QFETCH(QByteArray, list);
    QFETCH(QList<Theme::FontFace>, expected);
    const QList<Theme::FontFace> faces = Theme::fontFacesFromList(list);
    QCOMPARE(faces.size(), expected.size());
    for (int i = 0; i < faces.size(); ++i) {
        QCOMPARE(faces.at(i).family, expected.at(i).family);
        QCOMPARE(faces.at(i).pointSize, expected.at(i).pointSize);
    }
}

void TestTheme::preferredFamily_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<int>("baseSize");
    QTest::newRow("the list") << "list.of.preferred.font.faces" << QByteArray("DejaVu Sans,12") << 12;
    QTest::newRow("the older key") << "list.of.preferred.font.faces.macos" << QByteArray("DejaVu Sans,13") << 13;
    QTest::newRow("first installed, in any case")
        << "list.of.preferred.font.faces" << QByteArray("No Such Family,20;dejavu sans,9") << 9;
    QTest::newRow("size 1") << "list.of.preferred.font.faces" << QByteArray("DejaVu Sans,1") << 1;
}

void TestTheme::preferredFamily()
{
    QFETCH(QString, key);
    QFETCH(QByteArray, list);
    QFETCH(int, baseSize);
    if (!isInstalled(QStringLiteral("DejaVu Sans")))
        QSKIP("DejaVu Sans is not installed");
    useSystemTheme({{key, list}});
    Theme::selectedCollectionChanged(QUuid());

    QCOMPARE(Theme::preferredFontFamily(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(Theme::s_preferredFontBaseSize, baseSize);
    QCOMPARE(Theme::normalFont(Theme::FontSizeNormal).pointSize(), baseSize);
    QCOMPARE(Theme::normalFont(Theme::FontSizeLargest).pointSize(), baseSize + 2);
    // Never a point size of 0 or less, however small the base.
    QCOMPARE(Theme::normalFont(Theme::FontSizeSmallest).pointSize(), std::max(1, baseSize - 2));
    QCOMPARE(Theme::boldFont(Theme::FontSizeSmaller).family(), QStringLiteral("DejaVu Sans"));
}

void TestTheme::uninstalledFamiliesFallBackOnce()
{
    if (isInstalled(QStringLiteral("Myriad Pro")) || isInstalled(QStringLiteral("Arial")))
        QSKIP("a built-in family is installed here");
    // No list at all: the built-in pair, of which neither is installed.
    useSystemTheme({});
    Theme::selectedCollectionChanged(QUuid());
    const QString family = Theme::preferredFontFamily();
    QCOMPARE(family, QGuiApplication::font().family());
    QVERIFY(!family.isEmpty());
    QCOMPARE(Theme::s_preferredFontBaseSize, 12);
    QCOMPARE(Theme::normalFont(Theme::FontSizeSmallest).pointSize(), 10);

    // The answer is kept: a theme that now names an installed family is not
    // read again until the choice is forgotten.
    useSystemTheme({{Theme::KeyOfPreferredFontFaces, "DejaVu Sans,14"}});
    QCOMPARE(Theme::preferredFontFamily(), family);
    QCOMPARE(Theme::normalFont().pointSize(), 12);
    Theme::selectedCollectionChanged(QUuid());
    if (isInstalled(QStringLiteral("DejaVu Sans"))) {
        QCOMPARE(Theme::preferredFontFamily(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(Theme::normalFont().pointSize(), 14);
    }
}

void TestTheme::fontVariants()
{
    useSystemTheme({{Theme::KeyOfPreferredFontFaces, "DejaVu Sans,12"}});
    Theme::selectedCollectionChanged(QUuid());
    QCOMPARE(Theme::normalFont(7), Theme::normalFont(2));
    QCOMPARE(Theme::normalFont(-1), Theme::normalFont(Theme::FontSizeNormal));

    struct Variant {
        QFont font;
        QFont::Weight weight;
        bool italic;
    };
    const Variant variants[] = {
        {Theme::normalFont(), QFont::Normal, false},       {Theme::italicFont(), QFont::Normal, true},
        {Theme::semiBoldFont(), QFont::DemiBold, false},   {Theme::semiBoldItalicFont(), QFont::DemiBold, true},
        {Theme::boldFont(), QFont::Bold, false},           {Theme::boldItalicFont(), QFont::Bold, true},
    };
    for (const Variant &variant : variants) {
        QCOMPARE(variant.font.weight(), variant.weight);
        QCOMPARE(variant.font.italic(), variant.italic);
        QCOMPARE(variant.font.letterSpacingType(), QFont::PercentageSpacing);
        QCOMPARE(variant.font.letterSpacing(), 100.0);
        QCOMPARE(variant.font.stretch(), 100);
        QCOMPARE(variant.font.styleStrategy(), QFont::PreferAntialias);
    }

    // Fonts are built once per set of parameters.
    const int cached = Theme::g_fontCache.size();
    QCOMPARE(Theme::getFont(QStringLiteral("DejaVu Sans"), 10, 50, false, 100, 100),
             Theme::getFont(QStringLiteral("DejaVu Sans"), 10, 50, false, 100, 100));
    QVERIFY(Theme::g_fontCache.contains(QStringLiteral("DejaVu Sans,10,50,0,100,100")));
    QVERIFY(Theme::g_fontCache.size() <= cached + 1);
}

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"
