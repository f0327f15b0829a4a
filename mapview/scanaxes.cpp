#include "mapview/scanaxes.h"

#include "map/mapdata.h"

namespace AxisGeometry {

namespace {

//! The value of axis a among the three; all three are cheap to ask.
template <typename T>
T pick(Axis a, T x, T y, T z)
{
    return a == Axis::X ? x : a == Axis::Y ? y : z;
}

double metresPerPoint(const MapViewGeometry& g, Axis a)
{
    return pick(a, g.cellX() / 1000.0, g.cellY() / 1000.0, MapViewGeometry::kDepthPoint);
}

} // namespace

int points(const MapViewGeometry& g, Axis a)
{
    return pick(a, g.pointsX(), g.pointsY(), g.pointsZ());
}

int imageSize(const MapViewGeometry& g, Axis a)
{
    return pick(a, g.imageWidth(), g.imageHeight(), g.imageDepth());
}

int frameSize(const MapViewGeometry& g, Axis a)
{
    return a == Axis::X ? g.frameWidth() : g.frameHeight();
}

int offset(const MapViewGeometry& g, Axis a)
{
    return pick(a, g.offsetX(), g.offsetY(), g.offsetZ());
}

void setOffset(MapViewGeometry& g, Axis a, int iOffset)
{
    switch (a) {
    case Axis::X: g.setOffsetX(iOffset); break;
    case Axis::Y: g.setOffsetY(iOffset); break;
    case Axis::Z: g.setOffsetZ(iOffset); break;
    }
}

int maxOffset(const MapViewGeometry& g, Axis a)
{
    return pick(a, g.maxOffsetX(), g.maxOffsetY(), g.maxOffsetZ());
}

int index(const MapViewGeometry& g, Axis a, int iPixel)
{
    return MapViewGeometry::indexFromPixel(iPixel, imageSize(g, a), points(g, a));
}

int pixel(const MapViewGeometry& g, Axis a, int iIndex)
{
    return MapViewGeometry::pixelFromIndex(iIndex, points(g, a), imageSize(g, a));
}

double metres(const MapViewGeometry& g, Axis a, int iPixel)
{
    return pick(a, g.metresX(iPixel), g.metresY(iPixel), g.metresZ(iPixel));
}

MapAxisScale scale(const MapViewGeometry& g, Axis a)
{
    return pick(a, g.scaleX(), g.scaleY(), g.scaleZ());
}

MapBand band(const MapViewGeometry& g, Axis a)
{
    return pick(a, g.bandX(), g.bandY(), g.bandZ());
}

int minimumEdge(const MapViewGeometry& g, Axis a)
{
    const int n = points(g, a);
    return n > 0 ? MapViewGeometry::roundHalfAway(2.0 * imageSize(g, a) / n) : 0;
}

double bandStart(const MapViewGeometry& g, Axis a, const MapBand& b)
{
    return b.first * metresPerPoint(g, a);
}

double bandLength(const MapViewGeometry& g, Axis a, const MapBand& b)
{
    return (b.last - b.first) * metresPerPoint(g, a);
}

MapRange layerLimits(const MapData& data, Axis a)
{
    return pick(a, data.range0(), data.range1(), data.range2());
}

void setLayerLimits(MapData& data, Axis a, int iFirst, int iLast)
{
    switch (a) {
    case Axis::X: data.setRange0(iFirst, iLast); break;
    case Axis::Y: data.setRange1(iFirst, iLast); break;
    case Axis::Z: data.setRange2(iFirst, iLast); break;
    }
}

MapPlane slicePlane(const MapData& data, Axis a, int i)
{
    // Only the one plane asked for is copied out of the volume.
    switch (a) {
    case Axis::X: return data.sliceD(i);
    case Axis::Y: return data.sliceB(i);
    case Axis::Z: break;
    }
    return data.sliceC(i);
}

const MapPlane& projection(const MapData& data, Axis a)
{
    return *pick(a, &data.projectionD(), &data.projectionB(), &data.projectionC());
}

} // namespace AxisGeometry
