#include "map/depthconversion.h"

#include <cmath>
#include <limits>

double sampleToDepth(const ConfigSettings& settings, double n)
{
    const double S = settings.iSamplesPer10us;
    const double v = settings.iVelocity;
    if (S <= 0 || v <= 0)
        return 0.0;
    double depth = n * 10.0 / S * v / 1000.0;
    if (settings.eTestingMethod == ConfigSettings::Reflection)
        depth /= 2.0;
    return depth / 1000.0;
}

int depthToSample(const ConfigSettings& settings, double d)
{
    const double S = settings.iSamplesPer10us;
    const double v = settings.iVelocity;
    if (S <= 0 || v <= 0 || std::isnan(d))
        return 0;
    double x = d * 1000.0 / v * 1000.0;
    if (settings.eTestingMethod == ConfigSettings::Reflection)
        x *= 2.0;
    x = std::floor(x * S / 10.0 + 0.5);
    if (x >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (x <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(x);
}
