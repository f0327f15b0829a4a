#pragma once
// The map's 256-colour palette: black through blue, cyan and green to yellow and red,
// shared by the scan images, the colour scale and the clipboard pictures.

#include <QColor>
#include <QList>
#include <QRgb>

#include <array>

namespace MapPalette {

inline constexpr int kSize = 256;
inline constexpr int kStops = 9;

//! The 256 opaque colours, built once from the nine stops by piecewise-linear interpolation
//! (32 entries per segment; the first entry of a segment is its stop, the last stop is never
//! reached: entry 255 is (255, 7, 0)).
const std::array<QRgb, kSize>& colours();
//! Colour of an entry; indices outside 0…255 are clamped.
QRgb colour(int iIndex);
//! The same colours as 16-bit 5-6-5 pixels, as they land in the scan images.
const std::array<quint16, kSize>& colours565();
//! The colours as an 8-bit image colour table.
QList<QRgb> colourTable();
//! The stop colours the table is built from.
const std::array<QRgb, kStops>& stops();

//! 5-6-5 pixel of an opaque colour, as Qt stores it in Format_RGB16 images.
inline quint16 toRgb565(QRgb c)
{
    return quint16(((qRed(c) >> 3) << 11) | ((qGreen(c) >> 2) << 5) | (qBlue(c) >> 3));
}

} // namespace MapPalette
