#pragma once

// Drawing vocabulary shared by every icon: the palette, the stroke width and a few shape
// builders. Icons are drawn on a 64-unit square that is scaled to the final pixel size, so a
// 4-unit stroke is 2 px at 32 px and stroke centres on even units fall on pixel edges.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace Forge {

// Limited palette: slate ink for outlines, light paper fills, steel blue for the body of
// things, one amber accent for what matters (gate, marker, status).
inline const QColor kInk{0x2b, 0x3a, 0x4a};
inline const QColor kPaper{0xf5, 0xf8, 0xfb};
inline const QColor kSteel{0x4a, 0x88, 0xd0};
inline const QColor kSteelLight{0xbf, 0xd5, 0xee};
inline const QColor kSteelDark{0x2f, 0x66, 0xa8};
inline const QColor kAccent{0xf2, 0x96, 0x2f};
inline const QColor kAccentLight{0xf9, 0xc0, 0x6e};
inline const QColor kAccentDark{0xd0, 0x74, 0x18};
inline const QColor kMuted{0xa3, 0xad, 0xb8};
inline const QColor kMutedLight{0xdd, 0xe2, 0xe7};

inline constexpr double kStroke = 4.0;   // outline width in design units
inline constexpr double kUnits = 64.0;   // side of the design square

using DrawFn = std::function<void(QPainter&)>;

/// Transparent ARGB image of side `px`, with `draw` painting on a square of `units` units.
QImage render(int px, double units, const DrawFn& draw);

QPen inkPen(double width = kStroke, const QColor& colour = kInk);

/// Fills `shape` and outlines it with ink (round joins).
void outlined(QPainter& p, const QPainterPath& shape, const QColor& fill,
              const QColor& line = kInk, double width = kStroke);

/// Stroke line `centre` of width `width` as a closed shape, for filling and outlining.
QPainterPath tube(const QPainterPath& centre, double width,
                  Qt::PenCapStyle cap = Qt::RoundCap, Qt::PenJoinStyle join = Qt::RoundJoin);

/// Thick arrow along `centre`: a tube ending in a triangular head that continues the path's
/// direction at its end.
QPainterPath arrowShape(const QPainterPath& centre, double width, double headLength,
                        double headWidth);

/// Polyline through y = f(x) for x in [x0, x1].
QPainterPath curve(const std::function<double(double)>& f, double x0, double x1, int steps = 96);

QPainterPath roundedRect(const QRectF& r, double radius);
QPainterPath circle(QPointF c, double r);

} // namespace Forge
