#pragma once

#include <QList>
#include <QString>

//! Arithmetic of the axis rulers: value to pixel, tick runs, label texts and label placement.
//! Plain functions, so the ruler's geometry can be checked without painting anything.
namespace ScaleMath {

//! Value to pixel along a ruler: p(v) = round((v - start) x f + s), halves upwards.
struct Map
{
    double start = 0.0; //!< value at the start pixel
    double factor = 0.0; //!< pixels per value unit, negative when values grow from the far edge
    int startPixel = 0; //!< pixel of the start value (near edge, or far edge for direction -1)
    bool valid = false; //!< false for a non-positive span or an empty pixel interval

    int pixel(double dValue) const;
};

//! The map of a ruler whose values start..start + span run over pixels p1..p2; direction 1
//! puts the start at p1, -1 at p2.
Map makeMap(double dStart, double dSpan, int p1, int p2, int iDirection);

struct Tick
{
    double value = 0.0;
    int pixel = 0;
};

//! Ticks at origin + k x step that fall inside start..start + span and pixels p1..p2: first the
//! run upwards from the origin (k = 0, 1, ...), then the run downwards (k = -1, -2, ...).
//! Ticks far denser than pixels are thinned to every m-th, so no range can stall painting.
QList<Tick> ticks(const Map& map, double dStart, double dSpan, double dOrigin, double dStep,
                  int p1, int p2);

//! Label of a tick value: up to 6 significant digits, the shorter of fixed and exponent form.
//! Values that are zero up to the rounding of repeated steps print as "0".
QString label(double dValue, double dStep);

//! Baseline offset of a vertical ruler's label from its tick, by label alignment:
//! 0 above the tick, 1 centred on it, 2 hanging below it.
int verticalLabelOffset(int iAlignment, int iFontHeight);

//! Left edges at which a horizontal label of half width h at tick pixel p is drawn within the
//! allowed interval [left, right]: centred, ending at p near the right limit, starting at p
//! near the left limit. Each test is independent; none may pass.
QList<int> horizontalLabelStarts(int p, int h, int iLeft, int iRight);

//! Baselines at which a vertical label at tick pixel p (offset o, label height H) is drawn
//! within the allowed interval [top, bottom]; each test is independent; none may pass.
QList<int> verticalLabelBaselines(int p, int o, int H, int iTop, int iBottom);

} // namespace ScaleMath
