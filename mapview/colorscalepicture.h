#pragma once
// The colour scale above the A-scan: the palette strip with the threshold limit over it.
// Geometry and picture without a widget.

#include <QImage>
#include <QString>

namespace ColorScalePicture {

inline constexpr int kStripWidth = 256;
inline constexpr int kHeight = 50;

//! round(percent · (w − 1) / 100), halves upwards; 0 for w < 1.
int limitPosition(int iPercent, int iWidth);
//! round((w − 1) · 0.1): the right end the limit cannot enter.
int rightMargin(int iWidth);
//! round(limit · 100 / (w − 1)); 0 for w ≤ 1.
int percentAt(int iLimit, int iWidth);
//! x within 0 … (w − 1) − margin.
int clampLimit(int x, int iWidth);

//! 256 × 50, 16-bit: column x of rows 1…48 is palette entry x; rows 0 and 49 black.
QImage strip();

//! The w × 50 picture: the strip stretched, black left of the limit, white border lines on top,
//! bottom and right, the limit line with its marker and text (Arial 12 pt, white).
QImage render(const QImage& stripImage, int iWidth, int iLimit, const QString& strText);

} // namespace ColorScalePicture
