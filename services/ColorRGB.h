#ifndef VELMAR_COLORRGB_H
#define VELMAR_COLORRGB_H

namespace Velmar {

// An sRGB colour on 0..1 when in gamut. Conversions never clamp, so values
// below 0 or above 1 pass through and the caller decides what to do with them.
struct ColorRGB {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
};

} // namespace Velmar

#endif // VELMAR_COLORRGB_H
