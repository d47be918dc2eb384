#ifndef VELMAR_HOSTCOLOR_H
#define VELMAR_HOSTCOLOR_H

#include "platform/picker/PickerHostInterface.h"

#include <QColor>

namespace Velmar {

// The host's colour in and out of the picker: its five colour spaces turned
// into an RGB colour, and the chosen colour written back as 16-bit RGB.
class HostColor
{
public:
    // RGB, HSB, CMYK, Lab or Gray components as the host gives them; an
    // unknown space gives an invalid colour.
    static QColor fromHost(int16_t space, const uint16_t components[4]);
    // A colour the host can take: neither invalid (it would arrive as
    // black) nor transparent.
    static bool isUsable(const QColor &colour);
    // Whether the picker should look for the chip nearest to the host's
    // colour: not for an invalid colour, nor for transparent.
    static bool startsNearestPick(const QColor &colour);
    // RGB space, each 8-bit channel times 257, and 0.
    static void writeBack(const QColor &colour, PickerHost::PickerParameters &block);

private:
    HostColor() = default;
};

} // namespace Velmar

#endif // VELMAR_HOSTCOLOR_H
