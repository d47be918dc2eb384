#include "services/ColorManager.h"

#include <QColor>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Velmar {

namespace {

constexpr double kEpsilon = 216.0 / 24389.0;
constexpr double kKappa = 24389.0 / 27.0;
constexpr double kPi = 3.14159265358979323846;

double degrees(double value)
{
    return value * kPi / 180.0;
}

double linearFromCompanded(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double compandedFromLinear(double v)
{
    return v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055;
}

ColorXYZ xyzFromLinear(double r, double g, double b)
{
    return ColorXYZ{0.4124 * r + 0.3576 * g + 0.1805 * b,
                    0.2126 * r + 0.7152 * g + 0.0722 * b,
                    0.0193 * r + 0.1192 * g + 0.9505 * b};
}

double labF(double t)
{
    return t > kEpsilon ? std::cbrt(t) : (kKappa * t + 16.0) / 116.0;
}

double pow7(double x)
{
    const double x2 = x * x;
    return x2 * x2 * x2 * x;
}

double hueAngle(double b, double a)
{
    const double h = std::atan2(b, a);
    return h < 0.0 ? h + 2.0 * kPi : h;
}

// The lightness term of CIEDE2000, |dL'| / S_L. It is a lower bound of the
// whole difference: the rotation term is at most 2 sin(60 deg) times the
// product of the chroma and hue terms, so it never outweighs their squares.
double weightedLightnessDifference(double L1, double L2)
{
    const double meanL = (L1 + L2) / 2.0;
    const double l50 = (meanL - 50.0) * (meanL - 50.0);
    const double sl = 1.0 + 0.015 * l50 / std::sqrt(20.0 + l50);
    return std::fabs(L2 - L1) / sl;
}

} // namespace

void ColorManager::GetXYZFromLab(const ColorLAB &lab, ColorXYZ &out, const ColorXYZ &white)
{
    const double fy = (lab.L + 16.0) / 116.0;
    const double fx = fy + lab.a / 500.0;
    const double fz = fy - lab.b / 200.0;
    const double fx3 = fx * fx * fx;
    const double fz3 = fz * fz * fz;
    const double xr = fx3 > kEpsilon ? fx3 : (116.0 * fx - 16.0) / kKappa;
    const double yr = lab.L > 8.0 ? fy * fy * fy : lab.L / kKappa;
    const double zr = fz3 > kEpsilon ? fz3 : (116.0 * fz - 16.0) / kKappa;
    out = ColorXYZ{xr * white.X, yr * white.Y, zr * white.Z};
}

void ColorManager::GetLabFromXYZ(const ColorXYZ &xyz, ColorLAB &out, const ColorXYZ &white)
{
    const double fx = labF(xyz.X / white.X);
    const double fy = labF(xyz.Y / white.Y);
    const double fz = labF(xyz.Z / white.Z);
    out = ColorLAB{116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

void ColorManager::CieMonRGB2CieXYZ(const ColorRGB &rgb, ColorXYZ &out)
{
    out = xyzFromLinear(linearFromCompanded(rgb.r), linearFromCompanded(rgb.g), linearFromCompanded(rgb.b));
}

void ColorManager::CieXYZ2CieMonRGB(const ColorXYZ &xyz, ColorRGB &out)
{
    const double r = 3.2406254773200533 * xyz.X - 1.5372079722103185 * xyz.Y - 0.4986285986982479 * xyz.Z;
    const double g = -0.9689307147293194 * xyz.X + 1.8757560608852413 * xyz.Y + 0.04151752384295394 * xyz.Z;
    const double b = 0.05571012044551061 * xyz.X - 0.2040210505984867 * xyz.Y + 1.0569959422543882 * xyz.Z;
    out = ColorRGB{compandedFromLinear(r), compandedFromLinear(g), compandedFromLinear(b)};
}

ColorLAB ColorManager::fromRgb(const QColor &color)
{
    const ColorXYZ xyz = xyzFromLinear(linearFromCompanded(color.redF()), linearFromCompanded(color.greenF()),
                                       linearFromCompanded(color.blueF()));
    ColorLAB lab;
    GetLabFromXYZ(xyz, lab, _refWhiteD65_10);
    return lab;
}

double ColorManager::DeltaEpsilonByCIE2000(const ColorLAB &first, const ColorLAB &second)
{
    const double pow25To7 = 6103515625.0;

    const double c1 = std::sqrt(first.a * first.a + first.b * first.b);
    const double c2 = std::sqrt(second.a * second.a + second.b * second.b);
    const double meanC7 = pow7((c1 + c2) / 2.0);
    const double g = 0.5 * (1.0 - std::sqrt(meanC7 / (meanC7 + pow25To7)));
    const double a1 = (1.0 + g) * first.a;
    const double a2 = (1.0 + g) * second.a;
    const double c1p = std::sqrt(a1 * a1 + first.b * first.b);
    const double c2p = std::sqrt(a2 * a2 + second.b * second.b);
    const double h1p = hueAngle(first.b, a1);
    const double h2p = hueAngle(second.b, a2);

    const double deltaLp = second.L - first.L;
    const double deltaCp = c2p - c1p;
    const double chromaProduct = c1p * c2p;
    // Hue differences and means are taken the short way round the circle;
    // a colour without chroma has no hue to contribute.
    double deltahp = 0.0;
    double meanHp = h1p + h2p;
    if (chromaProduct != 0.0) {
        deltahp = h2p - h1p;
        if (deltahp > kPi)
            deltahp -= 2.0 * kPi;
        else if (deltahp < -kPi)
            deltahp += 2.0 * kPi;
        if (std::fabs(h1p - h2p) <= kPi)
            meanHp = (h1p + h2p) / 2.0;
        else if (h1p + h2p < 2.0 * kPi)
            meanHp = (h1p + h2p + 2.0 * kPi) / 2.0;
        else
            meanHp = (h1p + h2p - 2.0 * kPi) / 2.0;
    }
    const double deltaHp = 2.0 * std::sqrt(chromaProduct) * std::sin(deltahp / 2.0);

    const double meanLp = (first.L + second.L) / 2.0;
    const double meanCp = (c1p + c2p) / 2.0;
    const double t = 1.0 - 0.17 * std::cos(meanHp - degrees(30.0)) + 0.24 * std::cos(2.0 * meanHp)
        + 0.32 * std::cos(3.0 * meanHp + degrees(6.0)) - 0.20 * std::cos(4.0 * meanHp - degrees(63.0));
    const double hueOffset = (meanHp - degrees(275.0)) / degrees(25.0);
    const double deltaTheta = degrees(30.0) * std::exp(-hueOffset * hueOffset);
    const double meanCp7 = pow7(meanCp);
    const double rc = 2.0 * std::sqrt(meanCp7 / (meanCp7 + pow25To7));
    const double l50 = (meanLp - 50.0) * (meanLp - 50.0);
    const double sl = 1.0 + 0.015 * l50 / std::sqrt(20.0 + l50);
    const double sc = 1.0 + 0.045 * meanCp;
    const double sh = 1.0 + 0.015 * meanCp * t;
    const double rt = -std::sin(2.0 * deltaTheta) * rc;

    const double lightness = deltaLp / sl;
    const double chroma = deltaCp / sc;
    const double hue = deltaHp / sh;
    return std::sqrt(lightness * lightness + chroma * chroma + hue * hue + rt * chroma * hue);
}

double ColorManager::seedBound(const ColorLAB &target, const QVector<ColorMatchEntry> &candidates, int maxCount)
{
    // The candidates nearest by the plain L*a*b* distance, a few times as
    // many as asked for, kept in a heap whose top is the farthest of them.
    const int seeds = 4 * maxCount;
    QVector<QPair<double, int>> nearest;
    nearest.reserve(seeds + 1);
    for (int i = 0; i < candidates.size(); ++i) {
        const ColorMatchEntry &candidate = candidates.at(i);
        const double dL = candidate.L - target.L;
        const double da = candidate.a - target.a;
        const double db = candidate.b - target.b;
        const double squared = dL * dL + da * da + db * db;
        if (std::isnan(squared) || (nearest.size() == seeds && !(squared < nearest.constFirst().first)))
            continue;
        nearest.append(qMakePair(squared, i));
        std::push_heap(nearest.begin(), nearest.end());
        if (nearest.size() > seeds) {
            std::pop_heap(nearest.begin(), nearest.end());
            nearest.removeLast();
        }
    }
    QVector<double> distances;
    for (const auto &seed : qAsConst(nearest)) {
        const ColorMatchEntry &candidate = candidates.at(seed.second);
        const double distance = DeltaEpsilonByCIE2000(target, ColorLAB{candidate.L, candidate.a, candidate.b});
        if (!std::isnan(distance))
            distances.append(distance);
    }
    if (distances.size() < maxCount)
        return std::numeric_limits<double>::infinity();
    std::nth_element(distances.begin(), distances.begin() + (maxCount - 1), distances.end());
    return distances.at(maxCount - 1);
}

void ColorManager::MatchColor(const ColorLAB &target, const QVector<ColorMatchEntry> &candidates,
                              QVector<QPair<double, qint64>> &out, int maxCount)
{
    out.clear();
    if (maxCount <= 0)
        return;
    // The maxCount nearest of all candidates are at most as far as the
    // maxCount nearest of any of them: of the seeds, that distance is known
    // before the scan, so that the shortcut below skips from the start.
    const double bound = candidates.size() > 8 * maxCount ? seedBound(target, candidates, maxCount)
                                                          : std::numeric_limits<double>::infinity();
    for (const ColorMatchEntry &candidate : candidates) {
        // A candidate whose weighted lightness difference alone exceeds the
        // bound, or once the list is full the last kept distance, could only
        // go behind them, so its full distance is not needed. The margin
        // covers rounding, which keeps the result identical to a full scan.
        const double lightness = weightedLightnessDifference(target.L, candidate.L);
        if (lightness > bound * (1.0 + 1e-9)
            || (out.size() == maxCount && lightness > out.constLast().first * (1.0 + 1e-9)))
            continue;
        const double distance = DeltaEpsilonByCIE2000(target, ColorLAB{candidate.L, candidate.a, candidate.b});
        // A colour without a usable L*a*b* has no distance to rank by.
        if (std::isnan(distance))
            continue;
        int i = 0;
        while (i < out.size() && !(out.at(i).first > distance))
            ++i;
        if (i < maxCount) {
            out.insert(i, qMakePair(distance, candidate.rowId));
            if (out.size() > maxCount)
                out.removeLast();
        }
    }
}

} // namespace Velmar
