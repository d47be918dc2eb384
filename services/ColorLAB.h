#ifndef VELMAR_COLORLAB_H
#define VELMAR_COLORLAB_H

namespace Velmar {

// A CIE L*a*b* colour against the D65 white; L runs from 0 to 100.
struct ColorLAB {
    double L = 0.0;
    double a = 0.0;
    double b = 0.0;
};

} // namespace Velmar

#endif // VELMAR_COLORLAB_H
