#pragma once
// Texts and layout of the map view's numeric read-outs, without widgets.

#include <QString>

#include <array>

namespace Readout {

//! A metre value as shown: fixed, two decimals (0.5 → "0.50"); a value that rounds to zero
//! never shows a minus sign.
QString metres(double dValue);
//! A whole number as shown (amplitudes in dB, position numbers).
QString whole(int iValue);
//! Report text of one read-out: "<name>, <unit> = " and the value with two decimals.
QString reportText(const QString& strName, const QString& strUnit, double dValue);
//! Digits a seven-segment display needs for a text (the point takes a place of its own):
//! never fewer than iMinimum, so a long value is never cut to its last digits.
int digitsFor(const QString& strText, int iMinimum);

//! Places of the four read-outs X, Y, Z, A of a group, left to right.
struct Slots
{
    std::array<int, 4> x{};
    std::array<int, 4> width{};
};

//! Cursor group: X and Y share one width range (minXY…maxXY), Z and A the other.
//! Wide enough: every read-out at its maximum with three equal gaps; otherwise gaps of 10
//! and a quarter of the spare width added to each minimum. Narrower than the minimum, the
//! minimum widths are kept and the right end is cut off.
Slots standardLayout(int iWidth, int iMinXY, int iMaxXY, int iMinZA, int iMaxZA);
//! Measuring group: X, Y and Z share one width range, A has its own and takes the rest.
Slots differenceLayout(int iWidth, int iMinXYZ, int iMaxXYZ, int iMinA, int iMaxA);

} // namespace Readout
