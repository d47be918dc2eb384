#include "plugin/HostColor.h"

#include "services/ColorManager.h"

#include <algorithm>

namespace Velmar {

namespace {

// Channels outside 0..1 would give an extended-RGB colour.
double clampUnit(double value)
{
    return std::clamp(value, 0.0, 1.0);
}

} // namespace

QColor HostColor::fromHost(int16_t space, const uint16_t components[4])
{
    QColor colour;
    switch (space) {
    case PickerHost::SpaceRgb:
        colour.setRgb(components[0] / 257, components[1] / 257, components[2] / 257, 255);
        break;
    case PickerHost::SpaceHsb:
        colour.setHsvF(components[0] / 65535.0, components[1] / 65535.0, components[2] / 65535.0, 1.0);
        break;
    case PickerHost::SpaceCmyk:
        colour.setCmykF(1.0 - components[0] / 65535.0, 1.0 - components[1] / 65535.0, 1.0 - components[2] / 65535.0,
                        1.0 - components[3] / 65535.0, 1.0);
        break;
    case PickerHost::SpaceLab: {
        // a and b are signed words in hundredths.
        const ColorLAB lab{components[0] / 100.0, static_cast<int16_t>(components[1]) / 100.0,
                           static_cast<int16_t>(components[2]) / 100.0};
        ColorXYZ xyz;
        ColorManager::GetXYZFromLab(lab, xyz, ColorManager::_refWhiteD65_10);
        ColorRGB rgb;
        ColorManager::CieXYZ2CieMonRGB(xyz, rgb);
        colour.setRgbF(clampUnit(rgb.r), clampUnit(rgb.g), clampUnit(rgb.b), 1.0);
        break;
    }
    case PickerHost::SpaceGray: {
        const double value = clampUnit(1.0 - components[0] / 10000.0);
        colour.setRgbF(value, value, value, 1.0);
        break;
    }
    default:
        break;
    }
    if (colour.isValid() && colour.spec() != QColor::Rgb)
        colour = colour.toRgb();
    return colour;
}

bool HostColor::isUsable(const QColor &colour)
{
    return colour.isValid() && colour != QColor(Qt::transparent);
}

bool HostColor::startsNearestPick(const QColor &colour)
{
    return isUsable(colour);
}

void HostColor::writeBack(const QColor &colour, PickerHost::PickerParameters &block)
{
    const QColor rgb = colour.toRgb();
    block.resultSpace = PickerHost::SpaceRgb;
    block.components[0] = static_cast<uint16_t>(rgb.red() * 257);
    block.components[1] = static_cast<uint16_t>(rgb.green() * 257);
    block.components[2] = static_cast<uint16_t>(rgb.blue() * 257);
    block.components[3] = 0;
}

} // namespace Velmar
