#include "services/ColorManager.h"

#include "TestEnvironment.h"

#include <QColor>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <limits>

using Velmar::ColorLAB;
using Velmar::ColorManager;
using Velmar::ColorMatchEntry;
using Velmar::ColorRGB;
using Velmar::ColorXYZ;

Q_DECLARE_METATYPE(ColorLAB)
Q_DECLARE_METATYPE(ColorRGB)

namespace {

ColorMatchEntry entry(double L, double a, double b, qint64 rowId)
{
    return ColorMatchEntry{L, a, b, rowId};
}

// The straightforward reading of nearest-colour matching: every distance
// there is, a stable sort, the first maxCount.
QVector<QPair<double, qint64>> referenceMatch(const ColorLAB &target, const QVector<ColorMatchEntry> &candidates,
                                              int maxCount)
{
    QVector<QPair<double, qint64>> all;
    for (const ColorMatchEntry &c : candidates) {
        const double distance = ColorManager::DeltaEpsilonByCIE2000(target, ColorLAB{c.L, c.a, c.b});
        if (!std::isnan(distance))
            all.append(qMakePair(distance, c.rowId));
    }
    std::stable_sort(all.begin(), all.end(), [](const auto &l, const auto &r) { return l.first < r.first; });
    return all.mid(0, qMax(0, maxCount));
}

} // namespace

class TestColorManager : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void deltaE2000_data();
    void deltaE2000();

    void fromRgb_data();
    void fromRgb();

    void labToRgb_data();
    void labToRgb();
    void labXyzRoundTrip();

    void matchColor_data();
    void matchColor();
    void matchColorAgreesWithFullSort_data();
    void matchColorAgreesWithFullSort();
    void nearGreysMatchAsAFullScan();
};

void TestColorManager::initTestCase()
{
    TestEnvironment::isolate();
}

void TestColorManager::deltaE2000_data()
{
    QTest::addColumn<ColorLAB>("first");
    QTest::addColumn<ColorLAB>("second");
    QTest::addColumn<double>("expected");

    // Sharma, Wu and Dalal (2005), Table 1: supplementary test data of the
    // CIEDE2000 colour-difference formula, kL = kC = kH = 1, four decimals.
    struct Pair {
        double L1, a1, b1, L2, a2, b2, dE;
    };
    static const Pair pairs[] = {
        {50.0000, 2.6772, -79.7751, 50.0000, 0.0000, -82.7485, 2.0425},
        {50.0000, 3.1571, -77.2803, 50.0000, 0.0000, -82.7485, 2.8615},
        {50.0000, 2.8361, -74.0200, 50.0000, 0.0000, -82.7485, 3.4412},
        {50.0000, -1.3802, -84.2814, 50.0000, 0.0000, -82.7485, 1.0000},
        {50.0000, -1.1848, -84.8006, 50.0000, 0.0000, -82.7485, 1.0000},
        {50.0000, -0.9009, -85.5211, 50.0000, 0.0000, -82.7485, 1.0000},
        {50.0000, 0.0000, 0.0000, 50.0000, -1.0000, 2.0000, 2.3669},
        {50.0000, -1.0000, 2.0000, 50.0000, 0.0000, 0.0000, 2.3669},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0009, 7.1792},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0010, 7.1792},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0011, 7.2195},
        {50.0000, 2.4900, -0.0010, 50.0000, -2.4900, 0.0012, 7.2195},
        {50.0000, -0.0010, 2.4900, 50.0000, 0.0009, -2.4900, 4.8045},
        {50.0000, -0.0010, 2.4900, 50.0000, 0.0010, -2.4900, 4.8045},
        {50.0000, -0.0010, 2.4900, 50.0000, 0.0011, -2.4900, 4.7461},
        {50.0000, 2.5000, 0.0000, 50.0000, 0.0000, -2.5000, 4.3065},
        {50.0000, 2.5000, 0.0000, 73.0000, 25.0000, -18.0000, 27.1492},
        {50.0000, 2.5000, 0.0000, 61.0000, -5.0000, 29.0000, 22.8977},
        {50.0000, 2.5000, 0.0000, 56.0000, -27.0000, -3.0000, 31.9030},
        {50.0000, 2.5000, 0.0000, 58.0000, 24.0000, 15.0000, 19.4535},
        {50.0000, 2.5000, 0.0000, 50.0000, 3.1736, 0.5854, 1.0000},
        {50.0000, 2.5000, 0.0000, 50.0000, 3.2972, 0.0000, 1.0000},
        {50.0000, 2.5000, 0.0000, 50.0000, 1.8634, 0.5757, 1.0000},
        {50.0000, 2.5000, 0.0000, 50.0000, 3.2592, 0.3350, 1.0000},
        {60.2574, -34.0099, 36.2677, 60.4626, -34.1751, 39.4387, 1.2644},
        {63.0109, -31.0961, -5.8663, 62.8187, -29.7946, -4.0864, 1.2630},
        {61.2901, 3.7196, -5.3901, 61.4292, 2.2480, -4.9620, 1.8731},
        {35.0831, -44.1164, 3.7933, 35.0232, -40.0716, 1.5901, 1.8645},
        {22.7233, 20.0904, -46.6940, 23.0331, 14.9730, -42.5619, 2.0373},
        {36.4612, 47.8580, 18.3852, 36.2715, 50.5065, 21.2231, 1.4146},
        {90.8027, -2.0831, 1.4410, 91.1528, -1.6435, 0.0447, 1.4441},
        {90.9257, -0.5406, -0.9208, 88.6381, -0.8985, -0.7239, 1.5381},
        {6.7747, -0.2908, -2.4247, 5.8714, -0.0985, -2.2286, 0.6377},
        {2.0776, 0.0795, -1.1350, 0.9033, -0.0636, -0.5514, 0.9082},
    };
    int number = 0;
    for (const Pair &p : pairs) {
        ++number;
        QTest::addRow("Sharma pair %d", number)
            << ColorLAB{p.L1, p.a1, p.b1} << ColorLAB{p.L2, p.a2, p.b2} << p.dE;
    }
}

void TestColorManager::deltaE2000()
{
    QFETCH(ColorLAB, first);
    QFETCH(ColorLAB, second);
    QFETCH(double, expected);

    const double forward = ColorManager::DeltaEpsilonByCIE2000(first, second);
    const double backward = ColorManager::DeltaEpsilonByCIE2000(second, first);
    // The published values are rounded to four decimals.
    QVERIFY2(std::fabs(forward - expected) < 1e-4, qPrintable(QString::number(forward, 'f', 6)));
    QVERIFY2(std::fabs(forward - backward) < 1e-12, qPrintable(QString::number(backward, 'f', 12)));
    QCOMPARE(ColorManager::DeltaEpsilonByCIE2000(first, first), 0.0);
    QCOMPARE(ColorManager::DeltaEpsilonByCIE2000(second, second), 0.0);
}

void TestColorManager::fromRgb_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<ColorLAB>("expected");

    // Computed apart, at 40 digits, from the companding, the four-decimal
    // matrix and the L*a*b* function against the D65 white. White keeps a
    // small a and b because the matrix rows are rounded.
    QTest::newRow("white") << QColor(255, 255, 255) << ColorLAB{100.0, 0.0052604999583, -0.0104081845253};
    QTest::newRow("black") << QColor(0, 0, 0) << ColorLAB{0.0, 0.0, 0.0};
    QTest::newRow("red") << QColor(255, 0, 0) << ColorLAB{53.2328817858, 80.1093095298, 67.2200683103};
    QTest::newRow("green") << QColor(0, 255, 0) << ColorLAB{87.7370334735, -86.1846364976, 83.1811647478};
    QTest::newRow("blue") << QColor(0, 0, 255) << ColorLAB{32.3025866672, 79.1966617893, -107.863681045};
    QTest::newRow("mid grey") << QColor(128, 128, 128) << ColorLAB{53.5850134522, 0.00315562034796, -0.00624356603625};
    // Linear branches of both the companding and the L*a*b* function.
    QTest::newRow("near black") << QColor(3, 2, 1) << ColorLAB{0.586843742061, 0.122489579311, 0.470501761216};
}

void TestColorManager::fromRgb()
{
    QFETCH(QColor, color);
    QFETCH(ColorLAB, expected);

    const ColorLAB lab = ColorManager::fromRgb(color);
    QVERIFY2(std::fabs(lab.L - expected.L) < 1e-4, qPrintable(QString::number(lab.L, 'g', 12)));
    QVERIFY2(std::fabs(lab.a - expected.a) < 1e-4, qPrintable(QString::number(lab.a, 'g', 12)));
    QVERIFY2(std::fabs(lab.b - expected.b) < 1e-4, qPrintable(QString::number(lab.b, 'g', 12)));

    // The public steps give the same colour as the direct path.
    ColorXYZ xyz;
    ColorManager::CieMonRGB2CieXYZ(ColorRGB{color.redF(), color.greenF(), color.blueF()}, xyz);
    ColorLAB viaSteps;
    ColorManager::GetLabFromXYZ(xyz, viaSteps, ColorManager::_refWhiteD65_10);
    QVERIFY(std::fabs(viaSteps.L - lab.L) < 1e-12);
    QVERIFY(std::fabs(viaSteps.a - lab.a) < 1e-12);
    QVERIFY(std::fabs(viaSteps.b - lab.b) < 1e-12);
}

void TestColorManager::labToRgb_data()
{
    QTest::addColumn<ColorLAB>("lab");
    QTest::addColumn<ColorRGB>("expected");

    // Computed apart, at 40 digits, through the inverse L*a*b* function and
    // the full-precision inverse matrix; nothing is clamped.
    QTest::newRow("white") << ColorLAB{100, 0, 0} << ColorRGB{0.999994526331, 1.00000967514, 0.999920272679};
    QTest::newRow("black") << ColorLAB{0, 0, 0} << ColorRGB{0.0, 0.0, 0.0};
    QTest::newRow("mid grey") << ColorLAB{50, 0, 0} << ColorRGB{0.466323904479, 0.46633139024, 0.466287212152};
    QTest::newRow("red") << ColorLAB{53.233, 80.109, 67.220} << ColorRGB{1.00000012914, 1.83707433015e-5, 1.72619362865e-6};
    QTest::newRow("green below zero") << ColorLAB{50, 80, 0} << ColorRGB{0.911320239634, -0.0377910835531, 0.478766729132};
    QTest::newRow("L at most 8") << ColorLAB{5, 0, 0} << ColorRGB{0.0660296505103, 0.0660313883916, 0.0660211320836};
    QTest::newRow("linear z, blue below zero") << ColorLAB{30, -20, 90} << ColorRGB{0.265025808953, 0.301763011213, -0.498807578512};
}

void TestColorManager::labToRgb()
{
    QFETCH(ColorLAB, lab);
    QFETCH(ColorRGB, expected);

    ColorXYZ xyz;
    ColorManager::GetXYZFromLab(lab, xyz, ColorManager::_refWhiteD65_10);
    ColorRGB rgb;
    ColorManager::CieXYZ2CieMonRGB(xyz, rgb);
    QVERIFY2(std::fabs(rgb.r - expected.r) < 1e-4, qPrintable(QString::number(rgb.r, 'g', 12)));
    QVERIFY2(std::fabs(rgb.g - expected.g) < 1e-4, qPrintable(QString::number(rgb.g, 'g', 12)));
    QVERIFY2(std::fabs(rgb.b - expected.b) < 1e-4, qPrintable(QString::number(rgb.b, 'g', 12)));
}

void TestColorManager::labXyzRoundTrip()
{
    // Both directions switch to their linear pieces at the same point, so a
    // colour survives the round trip on either side of it.
    const ColorLAB labs[] = {{100, 0, 0}, {50, 80, -60}, {8.5, 3, -2}, {7.9, 3, -2}, {2, -1, 1}, {30, -20, 90}};
    for (const ColorLAB &lab : labs) {
        ColorXYZ xyz;
        ColorManager::GetXYZFromLab(lab, xyz, ColorManager::_refWhiteD65_10);
        ColorLAB back;
        ColorManager::GetLabFromXYZ(xyz, back, ColorManager::_refWhiteD65_10);
        QVERIFY2(std::fabs(back.L - lab.L) < 1e-9 && std::fabs(back.a - lab.a) < 1e-9
                     && std::fabs(back.b - lab.b) < 1e-9,
                 qPrintable(QStringLiteral("%1 %2 %3").arg(back.L).arg(back.a).arg(back.b)));
    }
}

void TestColorManager::matchColor_data()
{
    QTest::addColumn<QVector<ColorMatchEntry>>("candidates");
    QTest::addColumn<int>("maxCount");
    QTest::addColumn<QList<qint64>>("expectedIds");

    // The target is L* 50, a* 0, b* 0; candidates differ in lightness.
    const QVector<ColorMatchEntry> three{entry(60, 0, 0, 1), entry(52, 0, 0, 2), entry(75, 0, 0, 3)};

    QTest::newRow("no candidates") << QVector<ColorMatchEntry>{} << 6 << QList<qint64>{};
    QTest::newRow("max count 0") << three << 0 << QList<qint64>{};
    QTest::newRow("negative max count") << three << -1 << QList<qint64>{};
    QTest::newRow("fewer than asked, sorted") << three << 6 << QList<qint64>{2, 1, 3};
    QTest::newRow("nearest only") << three << 1 << QList<qint64>{2};
    QTest::newRow("nearer candidate pushes out the last")
        << QVector<ColorMatchEntry>{entry(60, 0, 0, 1), entry(75, 0, 0, 2), entry(51, 0, 0, 3)} << 2
        << QList<qint64>{3, 1};
    QTest::newRow("equal distances in candidate order")
        << QVector<ColorMatchEntry>{entry(60, 0, 0, 7), entry(40, 0, 0, 5), entry(60, 0, 0, 9), entry(51, 0, 0, 1)}
        << 6 << QList<qint64>{1, 7, 5, 9};
    QTest::newRow("a tie at the last place stays out")
        << QVector<ColorMatchEntry>{entry(60, 0, 0, 7), entry(51, 0, 0, 1), entry(60, 0, 0, 9)} << 2
        << QList<qint64>{1, 7};
    // Without chroma the whole difference is the lightness term, so this
    // candidate sits just inside the shortcut that skips far candidates.
    QTest::newRow("nearer by lightness alone replaces the last")
        << QVector<ColorMatchEntry>{entry(60, 0, 0, 1), entry(59.99, 0, 0, 2)} << 1 << QList<qint64>{2};
    // A NaN distance compares neither less nor greater, so it would stick
    // at the front and break the order of everything behind it.
    QTest::newRow("a candidate without a usable colour is passed over")
        << QVector<ColorMatchEntry>{entry(std::numeric_limits<double>::quiet_NaN(), 0, 0, 1), entry(60, 0, 0, 2),
                                    entry(52, 0, 0, 3)}
        << 6 << QList<qint64>{3, 2};
    QTest::newRow("the target itself at distance 0")
        << QVector<ColorMatchEntry>{entry(60, 0, 0, 1), entry(50, 0, 0, 2)} << 1 << QList<qint64>{2};
}

void TestColorManager::matchColor()
{
    QFETCH(QVector<ColorMatchEntry>, candidates);
    QFETCH(int, maxCount);
    QFETCH(QList<qint64>, expectedIds);

    const ColorLAB target{50, 0, 0};
    // Left-overs of an earlier call never survive.
    QVector<QPair<double, qint64>> out{qMakePair(0.0, qint64(99))};
    ColorManager::MatchColor(target, candidates, out, maxCount);

    QList<qint64> ids;
    for (const auto &pair : out)
        ids.append(pair.second);
    QCOMPARE(ids, expectedIds);
    for (const auto &pair : out) {
        const auto it = std::find_if(candidates.cbegin(), candidates.cend(),
                                     [&pair](const ColorMatchEntry &c) { return c.rowId == pair.second; });
        QCOMPARE(pair.first, ColorManager::DeltaEpsilonByCIE2000(target, ColorLAB{it->L, it->a, it->b}));
    }
}

void TestColorManager::matchColorAgreesWithFullSort_data()
{
    QTest::addColumn<int>("maxCount");
    QTest::newRow("1") << 1;
    QTest::newRow("6") << 6;
    QTest::newRow("40") << 40;
    QTest::newRow("more than there are") << 5000;
}

void TestColorManager::matchColorAgreesWithFullSort()
{
    QFETCH(int, maxCount);

    // A deck of colours close to each other, every fifth one a repeat of an
    // earlier chip, so that many distances nearly tie and some tie exactly,
    // and a few without a usable colour.
    QRandomGenerator random(20240611);
    QVector<ColorMatchEntry> candidates;
    for (qint64 id = 1; id <= 3000; ++id) {
        if (id % 97 == 0) {
            candidates.append(entry(id % 2 ? std::numeric_limits<double>::quiet_NaN() : 50.0,
                                    id % 2 ? 0.0 : std::numeric_limits<double>::quiet_NaN(), 0.0, id));
            continue;
        }
        if (id % 5 == 0) {
            ColorMatchEntry repeat = candidates.at(random.bounded(int(candidates.size())));
            repeat.rowId = id;
            candidates.append(repeat);
            continue;
        }
        const QColor color(random.bounded(64) * 4, random.bounded(64) * 4, random.bounded(64) * 4);
        const ColorLAB lab = ColorManager::fromRgb(color);
        candidates.append(entry(lab.L, lab.a, lab.b, id));
    }
    // Some near many chips, one on a chip that is repeated, some far from all.
    const ColorMatchEntry &repeated = candidates.at(4);
    const ColorLAB targets[] = {ColorManager::fromRgb(QColor(72, 144, 36)), ColorLAB{50, 0, 0},
                                ColorLAB{97, -3, 12}, ColorLAB{3, 1, -1}, ColorLAB{60, 90, -90},
                                ColorLAB{repeated.L, repeated.a, repeated.b}, ColorManager::fromRgb(QColor(255, 0, 0)),
                                ColorManager::fromRgb(QColor(0, 0, 255))};
    for (const ColorLAB &target : targets) {
        QVector<QPair<double, qint64>> out;
        ColorManager::MatchColor(target, candidates, out, maxCount);
        QCOMPARE(out, referenceMatch(target, candidates, maxCount));
    }
}

void TestColorManager::nearGreysMatchAsAFullScan()
{
    // Near the grey axis CIEDE2000 weighs a difference of chroma up to half
    // as much again as the plain L*a*b* distance, and one of lightness less:
    // a shortcut that took the one for the other would drop a nearer chip.
    // Decks of greys and near greys, some with many chips a step of chroma
    // or of lightness from the target, each held against a full scan.
    QRandomGenerator random(20240917);
    for (int deck = 0; deck < 400; ++deck) {
        const double spread = deck % 2 == 0 ? 3.0 : 12.0;
        const ColorLAB target{20.0 + random.bounded(70.0), random.bounded(4.0) - 2.0, random.bounded(4.0) - 2.0};
        QVector<ColorMatchEntry> candidates;
        const int size = 60 + int(random.bounded(240));
        for (qint64 id = 1; id <= size; ++id) {
            const double chroma = random.bounded(spread);
            const double hue = random.bounded(2.0 * 3.14159265358979);
            const double lightness = deck % 3 == 0 ? random.bounded(spread) - spread / 2 : random.bounded(2.0) - 1.0;
            candidates.append(entry(target.L + lightness, target.a / 2 + chroma * std::cos(hue),
                                    target.b / 2 + chroma * std::sin(hue), id));
        }
        for (const int maxCount : {1, 6}) {
            QVector<QPair<double, qint64>> out;
            ColorManager::MatchColor(target, candidates, out, maxCount);
            const auto expected = referenceMatch(target, candidates, maxCount);
            if (out != expected) {
                QStringList got;
                QStringList wanted;
                for (const auto &pair : qAsConst(out))
                    got << QString::number(pair.second);
                for (const auto &pair : expected)
                    wanted << QString::number(pair.second);
                QFAIL(qPrintable(QStringLiteral("deck %1, %2 nearest: %3 instead of %4")
                                     .arg(deck)
                                     .arg(maxCount)
                                     .arg(got.join(QLatin1Char(',')), wanted.join(QLatin1Char(',')))));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestColorManager)
#include "tst_colormanager.moc"
