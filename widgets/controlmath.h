#pragma once

#include <QString>

#include <optional>

//! Arithmetic of the counters, sliders and slide bars, kept apart from the widgets so that it
//! can be checked without a window. All rounding is to the nearest integer with halves upwards.
namespace ControlMath {

//! Nearest integer, halves upwards (2.5 -> 3, -2.5 -> -2); saturates at the int range, NaN -> 0.
int roundHalfUp(double x);

//! The text a counter shows for a value: value x multiplier with two decimals (precision on)
//! or rounded to a whole number (precision off).
QString counterText(int iValue, double dMultiplier, bool bPrecision);

//! The value typed into a counter: the decimal number divided by the multiplier and rounded;
//! nothing when the text is not a number or the result does not fit an int.
std::optional<int> counterValueFromText(const QString& strText, double dMultiplier);

//! Adds a step without overflowing and limits the result to [iMin, iMax].
int steppedValue(int iValue, int iStep, int iMin, int iMax);

//! Handle geometry of a single-handle slider: S is the bar's length in pixels minus one
//! (the image's width or height - 1), L the handle length.
struct SliderGeometry
{
    int S = 0; //!< image width - 1 (horizontal) or height - 1 (vertical)
    int L = 30; //!< handle length in pixels

    //! Last handle position P = S - L - 1 (never below the first position, 1).
    int lastPosition() const;
    //! Handle position of a value within [iMin, iMax].
    int positionOf(int iValue, int iMin, int iMax) const;
    //! Value of a handle position (which may lie beyond either end).
    int valueAt(int iPos, int iMin, int iMax) const;
    //! The handle position clamped to [1, P].
    int clampPosition(int iPos) const;
};

//! Geometry of a two-handle slide bar: N pixels long, values 0..R.
struct SlidebarGeometry
{
    int N = 0; //!< bar length in pixels (width - 1 or height - 1)
    int R = 0; //!< value range

    //! Pixel of a limit value; with R = 0 the lower limit sits at 0 and the upper at N.
    int positionOf(int iValue, bool bUpper) const;
    //! The minimal gap G converted to pixels (N when R is 0).
    int gapPixels(int iGap) const;
    //! Value of a pixel position (0 when the bar has no length).
    int valueAt(int iPos) const;
};

//! Which slide-bar limit a cursor coordinate grabs: 0 none, 1 lower, 2 upper. A limit line is
//! within reach at a distance below 4 pixels; when both are, the nearer one wins, and on a tie
//! the cursor's side decides so that stacked limits can still be pulled apart.
int slidebarHandleAt(int iCoord, int iLowerPos, int iUpperPos);

//! Range of a two-limit control after the rules for an impossible gap: a gap larger than the
//! range shrinks to the range, a minimum above the maximum collapses onto the maximum.
struct LimitRange
{
    int min = 0;
    int max = 0;
    int gap = 0;
};
LimitRange normalizeLimitRange(int iMin, int iMax, int iGap);

//! True when lower and upper limits lie inside the range and keep the gap.
bool limitsFit(int iLower, int iUpper, const LimitRange& range);

} // namespace ControlMath
