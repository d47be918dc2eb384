#ifndef VELMAR_COLORXYZ_H
#define VELMAR_COLORXYZ_H

namespace Velmar {

// A CIE XYZ colour on a 0..1 scale: Y of the reference white is 1.0.
struct ColorXYZ {
    double X = 0.0;
    double Y = 0.0;
    double Z = 0.0;
};

} // namespace Velmar

#endif // VELMAR_COLORXYZ_H
