// The host's colour into the picker and the chosen colour back: the five
// source spaces with their clamps, unknown spaces, and the 16-bit answer.

#include "plugin/HostColor.h"
#include "services/ColorManager.h"

#include <QtTest>

#include <array>

using namespace Velmar;

using Components = std::array<uint16_t, 4>;
Q_DECLARE_METATYPE(Components)

class tst_HostColor : public QObject
{
    Q_OBJECT

private slots:
    void fromHost_data();
    void fromHost();
    void labReadsSignedAAndB();
    void writeBack_data();
    void writeBack();
    void nearestPickOnlyForARealColour_data();
    void nearestPickOnlyForARealColour();
};

void tst_HostColor::fromHost_data()
{
    QTest::addColumn<int>("space");
    QTest::addColumn<Components>("components");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("RGB, integer division") << 0 << Components{65535, 32768, 0, 0} << QColor(255, 127, 0);
    QTest::newRow("RGB, 256 is still 0") << 0 << Components{256, 257, 514, 999} << QColor(0, 1, 2);
    QTest::newRow("HSB red") << 1 << Components{0, 65535, 65535, 0} << QColor(255, 0, 0);
    QTest::newRow("HSB green at a third") << 1 << Components{21845, 65535, 65535, 0} << QColor(0, 255, 0);
    QTest::newRow("HSB full circle is red") << 1 << Components{65535, 65535, 65535, 0} << QColor(255, 0, 0);
    QTest::newRow("HSB no saturation") << 1 << Components{12345, 0, 65535, 0} << QColor(255, 255, 255);
    QTest::newRow("CMYK all 65535 is no ink") << 2 << Components{65535, 65535, 65535, 65535} << QColor(255, 255, 255);
    QTest::newRow("CMYK full cyan") << 2 << Components{0, 65535, 65535, 65535} << QColor(0, 255, 255);
    QTest::newRow("CMYK full black") << 2 << Components{65535, 65535, 65535, 0} << QColor(0, 0, 0);
    QTest::newRow("Lab white") << 3 << Components{10000, 0, 0, 0} << QColor(255, 255, 255);
    QTest::newRow("Lab black") << 3 << Components{0, 0, 0, 0} << QColor(0, 0, 0);
    QTest::newRow("Lab above white clamps") << 3 << Components{65535, 0, 0, 0} << QColor(255, 255, 255);
    // L 50, a 127: red above 1 and green below 0 before clamping.
    QTest::newRow("Lab out of gamut clamps") << 3 << Components{5000, 12700, 0, 0} << QColor(255, 0, 125);
    QTest::newRow("Gray 0 is white") << 4 << Components{0, 0, 0, 0} << QColor(255, 255, 255);
    QTest::newRow("Gray half") << 4 << Components{5000, 0, 0, 0} << QColor(128, 128, 128);
    QTest::newRow("Gray 10000 is black") << 4 << Components{10000, 0, 0, 0} << QColor(0, 0, 0);
    QTest::newRow("Gray above 10000 clamps to black") << 4 << Components{12000, 0, 0, 0} << QColor(0, 0, 0);
    QTest::newRow("Gray at 65535 clamps to black") << 4 << Components{65535, 0, 0, 0} << QColor(0, 0, 0);
    QTest::newRow("space 5") << 5 << Components{65535, 0, 0, 0} << QColor();
    QTest::newRow("space -1") << -1 << Components{65535, 0, 0, 0} << QColor();
}

void tst_HostColor::fromHost()
{
    QFETCH(int, space);
    QFETCH(Components, components);
    QFETCH(QColor, expected);

    const QColor colour = HostColor::fromHost(static_cast<int16_t>(space), components.data());
    QCOMPARE(colour.isValid(), expected.isValid());
    if (!expected.isValid())
        return;
    // Plain 8-bit RGB whatever the source, never extended RGB.
    QCOMPARE(colour.spec(), QColor::Rgb);
    QCOMPARE(colour.alpha(), 255);
    if (QTest::currentDataTag() == QByteArrayLiteral("Lab out of gamut clamps")) {
        QCOMPARE(colour.red(), 255);
        QCOMPARE(colour.green(), 0);
        QVERIFY2(qAbs(colour.blue() - expected.blue()) <= 2, qPrintable(colour.name()));
        return;
    }
    QCOMPARE(colour.name(), expected.name());
}

void tst_HostColor::labReadsSignedAAndB()
{
    // The word 65336 is -200 as a signed word: a = b = -2.00.
    const Components components{5000, 65336, 65336, 0};
    const QColor colour = HostColor::fromHost(3, components.data());

    ColorXYZ xyz;
    ColorManager::GetXYZFromLab(ColorLAB{50.0, -2.0, -2.0}, xyz, ColorManager::_refWhiteD65_10);
    ColorRGB rgb;
    ColorManager::CieXYZ2CieMonRGB(xyz, rgb);
    QColor expected;
    expected.setRgbF(rgb.r, rgb.g, rgb.b);
    QCOMPARE(colour.name(), expected.name());
    // A slightly cool middle grey, nowhere near the clamped colour of +653.36.
    QVERIFY(colour.blue() > colour.red());
    QVERIFY(qAbs(colour.red() - 115) < 6);
}

void tst_HostColor::writeBack_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<Components>("expected");
    QTest::newRow("orange") << QColor(255, 127, 0) << Components{65535, 32639, 0, 0};
    QTest::newRow("black") << QColor(0, 0, 0) << Components{0, 0, 0, 0};
    QTest::newRow("from HSV") << QColor::fromHsv(240, 255, 255) << Components{0, 0, 65535, 0};
    QTest::newRow("alpha is dropped") << QColor(1, 2, 3, 4) << Components{257, 514, 771, 0};
}

void tst_HostColor::writeBack()
{
    QFETCH(QColor, colour);
    QFETCH(Components, expected);

    PickerHost::PickerParameters block{};
    block.sourceSpace = PickerHost::SpaceLab;
    block.resultSpace = PickerHost::SpaceCmyk;
    block.components[3] = 4711;
    HostColor::writeBack(colour, block);
    QCOMPARE(block.resultSpace, int16_t(PickerHost::SpaceRgb));
    QCOMPARE(block.sourceSpace, int16_t(PickerHost::SpaceLab));
    const Components written{block.components[0], block.components[1], block.components[2], block.components[3]};
    QCOMPARE(written, expected);
}

void tst_HostColor::nearestPickOnlyForARealColour_data()
{
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<bool>("picks");
    const Components unknownSpace{0, 0, 0, 0};
    QTest::newRow("unknown space") << HostColor::fromHost(7, unknownSpace.data()) << false;
    QTest::newRow("transparent") << QColor(Qt::transparent) << false;
    QTest::newRow("black") << QColor(Qt::black) << true;
    QTest::newRow("white") << QColor(Qt::white) << true;
    QTest::newRow("clear red is not transparent") << QColor(255, 0, 0, 0) << true;
}

void tst_HostColor::nearestPickOnlyForARealColour()
{
    QFETCH(QColor, colour);
    QFETCH(bool, picks);
    QCOMPARE(HostColor::startsNearestPick(colour), picks);
}

QTEST_GUILESS_MAIN(tst_HostColor)
#include "tst_hostcolor.moc"
