#include "widgets/controlmath.h"

#include <QtGlobal>

#include <climits>
#include <cmath>

namespace ControlMath {

int roundHalfUp(double x)
{
    if (std::isnan(x))
        return 0;
    const double r = std::floor(x + 0.5);
    if (r >= double(INT_MAX))
        return INT_MAX;
    if (r <= double(INT_MIN))
        return INT_MIN;
    return int(r);
}

QString counterText(int iValue, double dMultiplier, bool bPrecision)
{
    const double shown = iValue * dMultiplier;
    if (bPrecision)
        return QString::number(shown, 'f', 2);
    // Rounded as a double so that large products do not overflow an int.
    const double rounded = std::floor(shown + 0.5);
    return QString::number(rounded == 0.0 ? 0.0 : rounded, 'f', 0);
}

std::optional<int> counterValueFromText(const QString& strText, double dMultiplier)
{
    bool ok = false;
    const double typed = strText.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(typed) || dMultiplier == 0.0)
        return std::nullopt;
    const double r = std::floor(typed / dMultiplier + 0.5);
    if (!std::isfinite(r) || r > double(INT_MAX) || r < double(INT_MIN))
        return std::nullopt;
    return int(r);
}

int steppedValue(int iValue, int iStep, int iMin, int iMax)
{
    const qint64 v = qint64(iValue) + iStep;
    return int(qBound(qint64(iMin), v, qint64(iMax)));
}

int SliderGeometry::lastPosition() const
{
    return qMax(1, S - L - 1);
}

int SliderGeometry::positionOf(int iValue, int iMin, int iMax) const
{
    const int P = lastPosition();
    if (iMax <= iMin || iValue <= iMin)
        return 1;
    if (iValue >= iMax)
        return P;
    return 1 + roundHalfUp(double(P - 1) * (double(iValue) - iMin) / (double(iMax) - iMin));
}

int SliderGeometry::valueAt(int iPos, int iMin, int iMax) const
{
    if (iPos <= 1)
        return iMin;
    if (iPos >= S - L + 1 || S - L <= 0)
        return iMax;
    const double v = double(iMin) + std::floor(double(iPos - 1) / (S - L) * (double(iMax) - iMin) + 0.5);
    return int(qBound(double(iMin), v, double(iMax)));
}

int SliderGeometry::clampPosition(int iPos) const
{
    return qBound(1, iPos, lastPosition());
}

int SlidebarGeometry::positionOf(int iValue, bool bUpper) const
{
    if (R <= 0)
        return bUpper ? N : 0;
    return roundHalfUp(double(N) * iValue / R);
}

int SlidebarGeometry::gapPixels(int iGap) const
{
    if (R <= 0)
        return N;
    return roundHalfUp(double(iGap) * N / R);
}

int SlidebarGeometry::valueAt(int iPos) const
{
    if (N == 0)
        return 0;
    return roundHalfUp(double(R) * iPos / N);
}

int slidebarHandleAt(int iCoord, int iLowerPos, int iUpperPos)
{
    const int dLower = std::abs(iCoord - iLowerPos);
    const int dUpper = std::abs(iCoord - iUpperPos);
    const bool nearLower = dLower < 4;
    const bool nearUpper = dUpper < 4;
    if (nearLower && nearUpper) {
        if (dLower != dUpper)
            return dLower < dUpper ? 1 : 2;
        return iCoord > iUpperPos ? 2 : 1;
    }
    if (nearLower)
        return 1;
    if (nearUpper)
        return 2;
    return 0;
}

LimitRange normalizeLimitRange(int iMin, int iMax, int iGap)
{
    LimitRange r{iMin, iMax, qMax(0, iGap)};
    if (qint64(r.min) <= qint64(r.max) - r.gap)
        return r;
    if (r.min <= r.max) {
        r.gap = r.max - r.min;
        return r;
    }
    r.min = r.max;
    r.gap = 0;
    return r;
}

bool limitsFit(int iLower, int iUpper, const LimitRange& range)
{
    return iLower >= range.min && iUpper <= range.max && qint64(iLower) <= qint64(iUpper) - range.gap;
}

} // namespace ControlMath
