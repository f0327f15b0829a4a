#include "widgets/scalemath.h"

#include "widgets/controlmath.h"

#include <cmath>

namespace ScaleMath {

namespace {
// More ticks than this in one run would be several per pixel on any screen.
constexpr double kMaxTicksPerRun = 4096.0;
// Slack for values reached by adding a step that cannot be represented exactly (0.1 x 3).
constexpr double kStepSlack = 1e-9;
} // namespace

int Map::pixel(double dValue) const
{
    return ControlMath::roundHalfUp((dValue - start) * factor + startPixel);
}

Map makeMap(double dStart, double dSpan, int p1, int p2, int iDirection)
{
    Map map;
    map.start = dStart;
    map.startPixel = iDirection == 1 ? p1 : p2;
    if (p2 < p1 || !(dSpan > 0.0) || !std::isfinite(dSpan) || !std::isfinite(dStart))
        return map;
    map.factor = double(p2 - p1) * (iDirection == 1 ? 1 : -1) / dSpan;
    map.valid = std::isfinite(map.factor);
    return map;
}

QList<Tick> ticks(const Map& map, double dStart, double dSpan, double dOrigin, double dStep,
                  int p1, int p2)
{
    QList<Tick> result;
    if (!map.valid || !(dStep > 0.0) || !std::isfinite(dStep) || !std::isfinite(dOrigin))
        return result;
    const double end = dStart + dSpan;
    // Index intervals of both runs: k >= 0 upwards, k >= 1 downwards (value origin - k x step).
    const double runs[2][2] = {
        {std::max(0.0, std::ceil((dStart - dOrigin) / dStep - kStepSlack)),
         std::floor((end - dOrigin) / dStep + kStepSlack)},
        {std::max(1.0, std::ceil((dOrigin - end) / dStep - kStepSlack)),
         std::floor((dOrigin - dStart) / dStep + kStepSlack)},
    };
    for (int run = 0; run < 2; ++run) {
        const double kFirst = runs[run][0];
        const double kLast = runs[run][1];
        if (!(kLast >= kFirst))
            continue;
        const double count = kLast - kFirst + 1.0;
        const double every = std::ceil(count / kMaxTicksPerRun);
        const double first = std::ceil(kFirst / every) * every;
        const double sign = run == 0 ? 1.0 : -1.0;
        for (int i = 0; i < int(kMaxTicksPerRun); ++i) {
            const double k = first + i * every;
            if (k > kLast)
                break;
            const double v = dOrigin + sign * k * dStep;
            const int p = map.pixel(v);
            if (p >= p1 && p <= p2)
                result.append({v, p});
        }
    }
    return result;
}

QString label(double dValue, double dStep)
{
    if (std::abs(dValue) < std::abs(dStep) * 1e-6 || dValue == 0.0)
        dValue = 0.0;
    return QString::number(dValue, 'g', 6);
}

int verticalLabelOffset(int iAlignment, int iFontHeight)
{
    switch (iAlignment) {
    case 0:
        return -2;
    case 2:
        return int(0.6 * iFontHeight + 2.0);
    default:
        return int(std::ceil(0.5 * 0.6 * iFontHeight)) + 1;
    }
}

QList<int> horizontalLabelStarts(int p, int h, int iLeft, int iRight)
{
    QList<int> starts;
    if (p + h <= iRight && p - h >= iLeft)
        starts.append(p - h);
    if (p + h > iRight && p <= iRight)
        starts.append(p - 2 * h);
    if (p - h < iLeft && p >= iLeft)
        starts.append(p);
    return starts;
}

QList<int> verticalLabelBaselines(int p, int o, int H, int iTop, int iBottom)
{
    QList<int> baselines;
    if (p + o <= iBottom && p - H + o >= iTop)
        baselines.append(p + o);
    if (p + o > iBottom && p - H / 2 + o <= iBottom)
        baselines.append(p - H / 2 + o);
    if (p - H + o < iTop && p - H / 2 + o >= iTop)
        baselines.append(p + H / 2 + o);
    return baselines;
}

} // namespace ScaleMath
