#ifndef VELMAR_COLORMANAGER_H
#define VELMAR_COLORMANAGER_H

#include "database/ColorMatchEntry.h"
#include "services/ColorLAB.h"
#include "services/ColorRGB.h"
#include "services/ColorXYZ.h"

#include <QPair>
#include <QVector>
#include <QtGlobal>

class QColor;

namespace Velmar {

// Colour arithmetic of the picker: sRGB, XYZ and L*a*b* conversions, the
// CIEDE2000 difference (kL = kC = kH = 1) and nearest-colour matching.
class ColorManager
{
public:
    // The D65 white of the 2 degree observer, whatever the name says.
    static constexpr ColorXYZ _refWhiteD65_10{0.95047, 1.0, 1.08883};

    static void GetXYZFromLab(const ColorLAB &lab, ColorXYZ &out, const ColorXYZ &white);
    static void GetLabFromXYZ(const ColorXYZ &xyz, ColorLAB &out, const ColorXYZ &white);
    // sRGB on 0..1 to XYZ, not divided by any white.
    static void CieMonRGB2CieXYZ(const ColorRGB &rgb, ColorXYZ &out);
    // XYZ to sRGB on 0..1, unclamped.
    static void CieXYZ2CieMonRGB(const ColorXYZ &xyz, ColorRGB &out);
    static ColorLAB fromRgb(const QColor &color);

    // The first colour is the reference, the second the sample; the result
    // does not depend on the order.
    static double DeltaEpsilonByCIE2000(const ColorLAB &first, const ColorLAB &second);

    // Fills out with the (distance, row id) pairs of the at most maxCount
    // candidates nearest to target, ascending; equal distances keep the
    // candidates' order.
    static void MatchColor(const ColorLAB &target, const QVector<ColorMatchEntry> &candidates,
                           QVector<QPair<double, qint64>> &out, int maxCount);

private:
    ColorManager() = default;

    // A distance that the maxCount nearest candidates do not exceed: the
    // maxCount-th smallest of the distances of the candidates nearest by
    // the plain L*a*b* distance; infinite when too few of them have one.
    static double seedBound(const ColorLAB &target, const QVector<ColorMatchEntry> &candidates, int maxCount);
};

} // namespace Velmar

#endif // VELMAR_COLORMANAGER_H
